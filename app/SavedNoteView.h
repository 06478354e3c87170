#pragma once

#include <memory>

#include "platform/ui/View.h"

namespace platform {
class Window;
} // namespace platform

namespace zorbel {

// A short note that a save to the album is done, since the save itself is
// silent: a rounded dark label above the toolbar that stays a moment and then
// fades out and leaves. It takes no touches.
class SavedNoteView : public platform::View {
public:
    static constexpr const char* kText = "Saved to Pictures/Zorbel";
    // Fully shown this long, then faded over kFadeDuration.
    static constexpr double kShownDuration = 1.5;
    static constexpr double kFadeDuration = 1.0;

    SavedNoteView();
    std::string className() const override { return "SavedNoteView"; }
    void drawRect(platform::Context& context, const platform::Rect& dirty) override;

    // Shows a new note in the window (one at a time: an earlier one goes).
    static std::shared_ptr<SavedNoteView> showIn(platform::Window& window);
};

} // namespace zorbel
