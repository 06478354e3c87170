#include "pickers/BrushImageChoiceView.h"

#include <algorithm>

#include "pickers/BrushChoiceViewController.h"
#include "pickers/BrushTable.h"
#include "platform/foundation/Log.h"
#include "platform/graphics/Context.h"
#include "platform/ui/Touch.h"

namespace zorbel {

using platform::Point;
using platform::Rect;

BrushImageChoiceView::BrushImageChoiceView() {
    setOpaque(false);
}

BrushImageChoiceView::BrushImageChoiceView(const Rect& frame) : platform::View(frame) {
    setOpaque(false);
}

void BrushImageChoiceView::awakeFromNib() {
    brushIndex_ = 0;
    selectedBrushPixelSize_ = kSelectedBrushPixelSize;
    numBrushBoxes_ = 5;
    brushFilenames_ = brushTable();
    brushImages_.clear();
    createBrushImagesFromPNGs();
}

void BrushImageChoiceView::createBrushImagesFromPNGs() {
    for (const std::string& name : brushFilenames_) {
        if (auto image = platform::Image::named(name))
            brushImages_.push_back(std::move(image));
        else
            platform::log("Standard Brush not found");
    }
    setNeedsDisplay();
}

void BrushImageChoiceView::setBrushImages(std::vector<platform::ImageRef> images) {
    brushImages_ = std::move(images);
    setNeedsDisplay();
}

int BrushImageChoiceView::hitBrushIndex(Point p) const {
    if (p.x < 0 || p.y < 0)
        return -1;
    const int row = int(p.y * (1.0f / kCellSize));
    const int col = int(p.x * (1.0f / kCellSize));
    const int index = row * numBrushBoxes_ + col;
    const int n = int(brushImages_.size());
    const int rows = n / numBrushBoxes_ + (n % numBrushBoxes_ != 0 ? 1 : 0);
    if (index > n - 1 || row > rows - 1 || col > numBrushBoxes_ - 1)
        return -1;
    return index;
}

// The choice is made when the finger comes down (touchesBegan), not while
// hit testing: a hit test is also asked when nothing touches (the headless
// driver checks what covers a control), and must not choose a brush then.
platform::View* BrushImageChoiceView::hitTest(Point p, const platform::Event* event) {
    platform::View* hit = platform::View::hitTest(p, event);
    if (hit != this)
        return hit;
    return hitBrushIndex(p) >= 0 ? this : nullptr;
}

void BrushImageChoiceView::touchesBegan(const platform::TouchSet& touches, platform::Event&) {
    const platform::Touch* touch = touches.anyObject();
    if (!touch)
        return;
    const int index = hitBrushIndex(touch->locationInView(this));
    if (index >= 0)
        chooseBrush(index);
}

void BrushImageChoiceView::chooseBrush(int index) {
    brushIndex_ = index;
    if (!myDelegate_)
        return;
    // Closing the screen may release it; stay alive to the end of the call.
    auto keepAlive = shared_from_this();
    BrushChoiceViewController* delegate = myDelegate_;
    delegate->brushWasSelected(selectedBrushPixelSize_);
    delegate->brushIndexWasSelected(index);
    delegate->brushImageWasSelected(brushImages_[std::size_t(index)]);
    delegate->allDone();
}

void BrushImageChoiceView::drawRect(platform::Context& context, const Rect&) {
    // A view narrower than one cell still shows one column rather than none.
    numBrushBoxes_ = std::max(1, int(frame().width() / kCellSize));
    for (std::size_t i = 0; i < brushImages_.size(); ++i) {
        const platform::Image& image = *brushImages_[i];
        const int col = int(i) % numBrushBoxes_;
        const int row = int(i) / numBrushBoxes_;
        const int w = int(image.size().width);
        const int h = int(image.size().height);
        const int x = kCellSize * col + kCellSize / 2 - w / 2;
        const int y = kCellSize * row + kCellSize / 2 - h / 2;
        context.drawImageUpright(Rect(float(x), float(y), float(w), float(h)), image);
    }
}

} // namespace zorbel
