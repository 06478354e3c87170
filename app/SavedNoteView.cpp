#include "app/SavedNoteView.h"

#include "platform/graphics/Context.h"
#include "platform/graphics/Path.h"
#include "platform/ui/Font.h"
#include "platform/ui/Timer.h"
#include "platform/ui/Window.h"

namespace zorbel {

namespace {

constexpr float kWidth = 220;
constexpr float kHeight = 32;
// Above the bottom toolbar (44 points) with a little room.
constexpr float kAboveBottom = 44 + 16;

} // namespace

SavedNoteView::SavedNoteView() : View(platform::Rect(0, 0, kWidth, kHeight)) {
    setUserInteractionEnabled(false);
    setOpaque(false);
}

void SavedNoteView::drawRect(platform::Context& c, const platform::Rect&) {
    const platform::Rect b = bounds();
    platform::Path box;
    box.addRoundedRect(b, kHeight / 2);
    c.setFillColor(platform::Color::grey(0.1f, 0.85f));
    c.fillPath(box);
    c.setFillColor(platform::Color::white());
    if (auto font = platform::Font::boldSystemFontOfSize(14))
        font->drawInRectCentered(c, b, kText);
}

std::shared_ptr<SavedNoteView> SavedNoteView::showIn(platform::Window& window) {
    for (const auto& v : window.subviews())
        if (dynamic_cast<SavedNoteView*>(v.get())) {
            v->removeFromSuperview();
            break;
        }
    auto note = std::make_shared<SavedNoteView>();
    const platform::Size s = window.size();
    note->setFrame(platform::Rect((s.width - kWidth) / 2, s.height - kAboveBottom - kHeight, kWidth,
                                  kHeight));
    window.addSubview(note);
    // The fade starts from a timer rather than as a delayed animation: a
    // delayed one shows its end value at once on a view that was just added.
    std::weak_ptr<View> weak = note;
    platform::Timer::scheduledTimer(
        kShownDuration,
        [weak](platform::Timer&) {
            auto shown = weak.lock();
            if (!shown)
                return;
            View::animate(
                kFadeDuration, [&shown] { shown->setAlpha(0); },
                [weak](bool) {
                    if (auto faded = weak.lock())
                        faded->removeFromSuperview();
                });
        },
        false);
    return note;
}

} // namespace zorbel
