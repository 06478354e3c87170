#include "platform/ui/Label.h"

#include <cmath>

namespace platform {

Label::Label() : Label(Rect()) {}

Label::Label(const Rect& frame) : View(frame), font_(Font::systemFontOfSize(17)) {
    setUserInteractionEnabled(false);
    setContentMode(ContentMode::Redraw);
}

void Label::setText(const std::string& text) {
    if (text == text_)
        return;
    text_ = text;
    setNeedsDisplay();
}

void Label::setFont(FontRef font) {
    font_ = font ? std::move(font) : Font::systemFontOfSize(17);
    setNeedsDisplay();
}

void Label::setTextColor(const Color& color) {
    textColor_ = color;
    setNeedsDisplay();
}

void Label::setTextAlignment(TextAlignment alignment) {
    alignment_ = alignment;
    setNeedsDisplay();
}

void Label::setNumberOfLines(int lines) {
    numberOfLines_ = lines < 0 ? 0 : lines;
    setNeedsDisplay();
}

void Label::setEnabled(bool enabled) {
    enabled_ = enabled;
    setNeedsDisplay();
}

std::vector<std::string> Label::wrap(const Font& font, const std::string& text, float width,
                                     int maxLines) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t newline = text.find('\n', start);
        const std::string paragraph =
            text.substr(start, newline == std::string::npos ? std::string::npos : newline - start);
        std::string line;
        std::size_t i = 0;
        while (i <= paragraph.size()) {
            std::size_t space = paragraph.find(' ', i);
            if (space == std::string::npos)
                space = paragraph.size();
            const std::string word = paragraph.substr(i, space - i);
            const std::string candidate = line.empty() ? word : line + " " + word;
            if (!line.empty() && font.widthOfString(candidate) > width) {
                lines.push_back(line);
                line = word;
            } else {
                line = candidate;
            }
            i = space + 1;
        }
        lines.push_back(line);
        if (newline == std::string::npos)
            break;
        start = newline + 1;
    }
    if (maxLines > 0 && int(lines.size()) > maxLines) {
        std::string last = lines[std::size_t(maxLines) - 1];
        for (std::size_t k = std::size_t(maxLines); k < lines.size(); ++k)
            last += " " + lines[k];
        lines.resize(std::size_t(maxLines));
        lines.back() = font.truncatedToWidth(last, width);
    }
    for (std::string& l : lines)
        l = font.truncatedToWidth(l, width);
    return lines;
}

std::vector<std::string> Label::linesForWidth(float width) const {
    if (numberOfLines_ == 1)
        return {font_->truncatedToWidth(text_, width)};
    return wrap(*font_, text_, width, numberOfLines_);
}

Size Label::sizeThatFits(Size size) const {
    const float width = size.width > 0 ? size.width : 1e6f;
    float widest = 0;
    const std::vector<std::string> lines =
        numberOfLines_ == 1 ? std::vector<std::string>{text_} : linesForWidth(width);
    for (const std::string& l : lines)
        widest = std::max(widest, font_->widthOfString(l));
    return {std::ceil(std::min(widest, width)),
            std::ceil(font_->lineHeight() * float(lines.size()))};
}

void Label::drawRect(Context& context, const Rect&) {
    if (text_.empty())
        return;
    const Rect b = bounds();
    const std::vector<std::string> lines = linesForWidth(b.width());
    const float lineHeight = font_->lineHeight();
    float y = b.minY() + std::round((b.height() - lineHeight * float(lines.size())) / 2);
    GStateGuard g(context);
    context.setFillColor(enabled_ ? textColor_ : textColor_.withAlpha(textColor_.alpha() * 0.4f));
    for (const std::string& line : lines) {
        const float w = font_->widthOfString(line);
        float x = b.minX();
        if (alignment_ == TextAlignment::Center)
            x = b.minX() + std::round((b.width() - w) / 2);
        else if (alignment_ == TextAlignment::Right)
            x = b.maxX() - std::ceil(w);
        font_->drawAtPoint(context, {x, y}, line);
        y += lineHeight;
    }
}

} // namespace platform
