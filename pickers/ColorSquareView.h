#pragma once

#include <optional>
#include <string>

#include "platform/graphics/Color.h"
#include "platform/ui/View.h"

namespace zorbel {

// The colour picker's swatch: shows the colour picked (or the one the screen
// opened with). Dragged from and lifted over a palette box (the sibling view
// tagged 123), it stores its colour in that box.
class ColorSquareView : public platform::View {
public:
    static constexpr int kPaletteTag = 123;

    ColorSquareView() = default;
    explicit ColorSquareView(const platform::Rect& frame) : platform::View(frame) {}
    std::string className() const override { return "ColorSquareView"; }

    // Empty until set: nothing is drawn.
    const std::optional<platform::Color>& color() const { return color_; }
    void setColor(const platform::Color& color);

    void touchesEnded(const platform::TouchSet& touches, platform::Event& event) override;
    void drawRect(platform::Context& context, const platform::Rect& dirty) override;

private:
    std::optional<platform::Color> color_;
};

} // namespace zorbel
