#include "pickers/ColorChoiceView.h"

#include <algorithm>

#include "pickers/ColorChoiceViewController.h"
#include "platform/graphics/Context.h"
#include "platform/ui/Touch.h"

namespace zorbel {

using platform::Color;
using platform::Point;
using platform::Rect;

ColorChoiceView::ColorChoiceView() = default;

ColorChoiceView::ColorChoiceView(const Rect& frame) : platform::View(frame) {}

void ColorChoiceView::CreateColorArray(const std::vector<Color>& colors) {
    colorArray_ = colors;
    colorIndex_ = 0;
    if (!colorArray_.empty())
        selectedColor_ = colorArray_.front();
    numColorBoxes_ = 6;
    setNeedsDisplay();
}

void ColorChoiceView::setColorArray(std::vector<Color> colors) {
    colorArray_ = std::move(colors);
    setNeedsDisplay();
}

void ColorChoiceView::replaceMainColorArray() {
    if (myDelegate_)
        myDelegate_->replaceMainColorArray(colorArray_);
}

int ColorChoiceView::hitColorIndex(Point p) const {
    // Truncation toward zero puts the margin before the first box in it.
    const int col = int((p.x - kBoxMargin) / kBoxPitch);
    const int row = int((p.y - kBoxMargin) / kBoxPitch);
    if (p.x - kBoxMargin <= -kBoxPitch || p.y - kBoxMargin <= -kBoxPitch)
        return -1;
    const int index = row * numColorBoxes_ + col;
    const int n = int(colorArray_.size());
    const int rows = n / numColorBoxes_;
    if (index > n - 1 || row > rows - 1 || col > numColorBoxes_ - 1)
        return -1;
    return index;
}

Rect ColorChoiceView::selectedBox(int index) const {
    const int col = index % numColorBoxes_;
    const int row = index / numColorBoxes_;
    return Rect(kBoxPitch * float(col) + kBoxMargin, kBoxPitch * float(row) + kBoxMargin, kBoxSize,
                kBoxSize);
}

void ColorChoiceView::setColor(const Color& color, int index) {
    if (index < 0 || std::size_t(index) >= colorArray_.size())
        return;
    colorArray_[std::size_t(index)] = color;
}

// As with the brushes, the choice waits for the finger (touchesBegan): a hit
// test alone must not choose.
platform::View* ColorChoiceView::hitTest(Point p, const platform::Event* event) {
    platform::View* hit = platform::View::hitTest(p, event);
    if (hit != this)
        return hit;
    return hitColorIndex(p) >= 0 ? this : nullptr;
}

void ColorChoiceView::touchesBegan(const platform::TouchSet& touches, platform::Event&) {
    const platform::Touch* touch = touches.anyObject();
    if (!touch)
        return;
    const int index = hitColorIndex(touch->locationInView(this));
    if (index < 0)
        return;
    colorIndex_ = index;
    selectedColor_ = colorArray_[std::size_t(index)];
    if (myDelegate_) {
        auto keepAlive = shared_from_this();
        myDelegate_->colorWasSelected(selectedColor_);
    }
}

void ColorChoiceView::drawRect(platform::Context& context, const Rect&) {
    const Rect f = frame();
    numColorBoxes_ = f.width() > f.height() ? 4 : std::max(1, int(f.width() / kBoxPitch));
    for (std::size_t i = 0; i < colorArray_.size(); ++i) {
        const Rect box = selectedBox(int(i));
        context.setFillColor(colorArray_[i]);
        context.fillRect(box);
        // The frame line runs along the middle of the one-point ring around
        // the box.
        context.setStrokeColor(Color::black());
        context.setLineWidth(1);
        context.strokeRect(box.inset(-0.5f, -0.5f));
    }
}

} // namespace zorbel
