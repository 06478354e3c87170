#pragma once

#include <string>
#include <vector>

#include "platform/ui/Font.h"
#include "platform/ui/View.h"

namespace platform {

enum class TextAlignment { Left = 0, Center = 1, Right = 2 };

// Read-only text. One line by default (shortened with an ellipsis when it
// does not fit); with numberOfLines 0 (any) or above 1 the text wraps at
// word boundaries. The lines are centred vertically in the bounds.
class Label : public View {
public:
    Label();
    explicit Label(const Rect& frame);
    std::string className() const override { return "Label"; }

    const std::string& text() const { return text_; }
    void setText(const std::string& text);
    // Never null: a null font gives back the system font of 17 points.
    FontRef font() const { return font_; }
    void setFont(FontRef font);
    Color textColor() const { return textColor_; }
    void setTextColor(const Color& color);
    TextAlignment textAlignment() const { return alignment_; }
    void setTextAlignment(TextAlignment alignment);
    int numberOfLines() const { return numberOfLines_; }
    void setNumberOfLines(int lines);
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled);

    // The lines the text is drawn in at `width`.
    std::vector<std::string> linesForWidth(float width) const;
    Size sizeThatFits(Size size) const override;
    void drawRect(Context& context, const Rect& dirty) override;

    // Word wrapping of `text` in `font` to `width` (also used by alerts).
    static std::vector<std::string> wrap(const Font& font, const std::string& text, float width,
                                         int maxLines);

private:
    std::string text_;
    FontRef font_;
    Color textColor_ = Color::black();
    TextAlignment alignment_ = TextAlignment::Left;
    int numberOfLines_ = 1;
    bool enabled_ = true;
};

} // namespace platform
