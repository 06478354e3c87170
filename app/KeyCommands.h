#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "platform/ui/KeyChord.h"

namespace platform {
class View;
} // namespace platform

namespace zorbel {

class CanvoAppDelegate;
class KeyHelpView;

// The keyboard shortcuts of the app: each is one row of a table (the chords,
// how the help shows them, what they do). The window driver hands over every
// chord that no focused field kept.
class KeyCommands {
public:
    // One line of the key help: the keys as people read them, and what they do.
    struct HelpLine {
        std::string_view keys;
        std::string_view what;
    };

    explicit KeyCommands(CanvoAppDelegate& app);
    ~KeyCommands();

    // True when the chord is a shortcut and was taken (a shortcut that
    // cannot act now, e.g. redo without an undo before it, is still taken).
    bool perform(const platform::KeyChord& chord);
    // A stroke began: the next Ctrl+Y has no undo right before it.
    void pictureChanged() { redoAllowed_ = false; }

    // Every key the app knows, the window's own included, in the order the
    // help shows them.
    static std::vector<HelpLine> helpLines();

    bool isHelpShowing() const;
    void showHelp();
    void hideHelp();

private:
    struct Row;
    static const Row kRows[];

    // Something modal is up (a screen, a sheet, an alert, the slider panel):
    // only Escape, Return and the help act then.
    bool somethingModalIsOpen() const;
    void undo();
    void redo();
    void save();
    void newDocument();
    void openPhotoLibrary();
    void tools();
    void brushes();
    void colours();
    void present();
    void erasePicture();
    void escape();
    void defaultButton();
    void toggleHelp();

    CanvoAppDelegate& app_;
    bool redoAllowed_ = false;
    std::shared_ptr<KeyHelpView> help_;
};

} // namespace zorbel
