#include "app/SavedNoteView.h"

#include "platform/graphics/Context.h"
#include "platform/graphics/Path.h"
#include "platform/ui/Font.h"
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
    std::weak_ptr<View> weak = note;
    View::animate(
        kFadeDuration, [&note] { note->setAlpha(0); },
        [weak](bool) {
            if (auto faded = weak.lock())
                faded->removeFromSuperview();
        },
        kShownDuration);
    return note;
}

} // namespace zorbel
