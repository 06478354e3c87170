#pragma once

#include <string>

#include "platform/graphics/Color.h"
#include "platform/ui/View.h"

namespace zorbel {

// A small colour square (the toolbar's first colour slot before a colour is
// set): 27 x 27 points of its button colour, blue until told otherwise.
class ColorButtonView : public platform::View {
public:
    static constexpr float kSide = 27;

    ColorButtonView();
    explicit ColorButtonView(const platform::Rect& frame);
    std::string className() const override { return "ColorButtonView"; }

    const platform::Color& buttonColor() const { return buttonColor_; }
    void setColor(const platform::Color& color);

    void drawRect(platform::Context& context, const platform::Rect& dirty) override;

private:
    platform::Color buttonColor_ = platform::Color::blueColor();
};

} // namespace zorbel
