#include "app/KeyHelpView.h"

#include <algorithm>

#include "platform/ui/Font.h"
#include "platform/ui/Label.h"

namespace zorbel {

using platform::Label;
using platform::Rect;

namespace {

constexpr float kMargin = 12;
constexpr float kTitleHeight = 36;
constexpr float kLongestLine = 22;
constexpr float kKeysShare = 0.45f;

std::shared_ptr<Label> makeLabel(const Rect& frame, const std::string& text, float size, bool bold,
                                 platform::TextAlignment alignment) {
    auto label = std::make_shared<Label>(frame);
    label->setText(text);
    label->setFont(bold ? platform::Font::boldSystemFontOfSize(size)
                        : platform::Font::systemFontOfSize(size));
    label->setTextColor(platform::Color::white());
    label->setTextAlignment(alignment);
    label->setUserInteractionEnabled(false);
    return label;
}

} // namespace

KeyHelpView::KeyHelpView(const Rect& frame, const std::vector<KeyCommands::HelpLine>& lines)
    : View(frame) {
    // Opaque: the keys are read over whatever screen is open, often one full
    // of text of its own.
    setBackgroundColor(platform::Color::grey(0.12f, 1.0f));
    const float width = frame.width() - 2 * kMargin;
    addSubview(makeLabel(Rect(kMargin, kMargin, width, kTitleHeight), kTitle, 20, true,
                         platform::TextAlignment::Center));
    // Every line fits on the window, portrait or landscape.
    const float room = frame.height() - 2 * kMargin - kTitleHeight;
    const float step = std::min(kLongestLine, room / float(std::max<std::size_t>(1, lines.size())));
    const float fontSize = std::max(8.0f, step * 0.6f);
    float y = kMargin + kTitleHeight;
    const float keysWidth = width * kKeysShare;
    for (const auto& line : lines) {
        addSubview(makeLabel(Rect(kMargin, y, keysWidth - 6, step), std::string(line.keys),
                             fontSize, true, platform::TextAlignment::Right));
        addSubview(makeLabel(Rect(kMargin + keysWidth + 6, y, width - keysWidth - 6, step),
                             std::string(line.what), fontSize, false,
                             platform::TextAlignment::Left));
        y += step;
    }
}

void KeyHelpView::touchesEnded(const platform::TouchSet&, platform::Event&) {
    // The handler may release this view: keep it until the call is over.
    auto keep = shared_from_this();
    if (dismiss_)
        dismiss_();
}

} // namespace zorbel
