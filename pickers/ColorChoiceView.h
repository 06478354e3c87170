#pragma once

#include <string>
#include <vector>

#include "platform/graphics/Color.h"
#include "platform/graphics/Point.h"
#include "platform/graphics/Rect.h"
#include "platform/ui/View.h"

namespace zorbel {

class ColorChoiceViewController;

// The colour picker's palette: a working copy of the stored colours, each a
// 40-point box with a black frame, 50 points apart. A finger coming down on
// a box chooses its colour at once (and closes the screen); anywhere else
// the palette does not take the touch.
//
// Columns: the frame's width in whole 50-point steps, but 4 whenever the
// frame is wider than tall; recomputed on every redraw. Rows that can be
// chosen: the number of colours divided by the columns, not rounded up, so a
// last row that is not full is drawn but cannot be chosen.
class ColorChoiceView : public platform::View {
public:
    static constexpr float kBoxPitch = 50;
    static constexpr float kBoxMargin = 10;
    static constexpr float kBoxSize = 40;

    ColorChoiceView();
    explicit ColorChoiceView(const platform::Rect& frame);
    std::string className() const override { return "ColorChoiceView"; }

    // The working copy starts as a copy of `colors` (the delegate's palette);
    // colour 0 becomes the selected colour.
    void CreateColorArray(const std::vector<platform::Color>& colors);
    // Hands the delegate a copy of the working palette.
    void replaceMainColorArray();

    // The box under a point (bounds coordinates), or -1. The 10-point margin
    // left of and above the first box counts as column and row 0.
    int hitColorIndex(platform::Point p) const;
    int getColorIndex(platform::Point p) const { return hitColorIndex(p); }
    // The box of an index (whatever the index).
    platform::Rect selectedBox(int index) const;
    // Replaces palette entry `index` (ignored outside the palette).
    void setColor(const platform::Color& color, int index);

    int colorIndex() const { return colorIndex_; }
    void setColorIndex(int index) { colorIndex_ = index; }
    int getColorIndex() const { return colorIndex_; }
    const platform::Color& selectedColor() const { return selectedColor_; }
    void setSelectedColor(const platform::Color& color) { selectedColor_ = color; }
    const platform::Color& getSelectedColor() const { return selectedColor_; }
    const std::vector<platform::Color>& colorArray() const { return colorArray_; }
    void setColorArray(std::vector<platform::Color> colors);
    int numColorBoxes() const { return numColorBoxes_; }
    // Receives the choice; not owned.
    void setMyDelegate(ColorChoiceViewController* delegate) { myDelegate_ = delegate; }
    ColorChoiceViewController* myDelegate() const { return myDelegate_; }

    platform::View* hitTest(platform::Point p, const platform::Event* event) override;
    void touchesBegan(const platform::TouchSet& touches, platform::Event& event) override;
    void drawRect(platform::Context& context, const platform::Rect& dirty) override;

private:
    int colorIndex_ = 0;
    platform::Color selectedColor_;
    std::vector<platform::Color> colorArray_;
    ColorChoiceViewController* myDelegate_ = nullptr;
    int numColorBoxes_ = 6;
};

} // namespace zorbel
