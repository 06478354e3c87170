#include "pickers/RainbowColorView.h"

#include "pickers/ColorSquareView.h"
#include "platform/foundation/Log.h"
#include "platform/ui/Touch.h"

namespace zorbel {

using platform::Point;
using platform::Rect;

// The picture is shown at its own size from the corner: what the finger
// touches is then the pixel that is read.
RainbowColorView::RainbowColorView() {
    setUserInteractionEnabled(true);
    setContentMode(platform::ContentMode::TopLeft);
}

RainbowColorView::RainbowColorView(const Rect& frame) : platform::ImageView(frame) {
    setUserInteractionEnabled(true);
    setContentMode(platform::ContentMode::TopLeft);
}

RainbowColorView::~RainbowColorView() = default;

void RainbowColorView::createOffscreenVersion() {
    offscreenImage_.reset();
    const platform::ImageRef& picture = image();
    if (!picture)
        return;
    const int width = picture->width();
    const int height = picture->height();
    offscreenImage_ =
        platform::Context::createBitmap(width, height, nullptr, platform::YAxis::Down);
    if (!offscreenImage_) {
        platform::log("RainbowColorView: no memory for the picture's copy");
        return;
    }
    // At its own size the picture lands pixel for pixel.
    offscreenImage_->drawImageUpright(Rect(0, 0, float(width), float(height)), *picture);
}

ARGBColorBytes RainbowColorView::getPixelValueAt(int x, int y) const {
    if (!offscreenImage_ || x < 0 || y < 0 || x >= offscreenImage_->width() ||
        y >= offscreenImage_->height())
        return ARGBColorBytes{255, 0, 0, 0};
    const std::uint8_t* p =
        offscreenImage_->data() +
        (std::size_t(x) + std::size_t(y) * std::size_t(offscreenImage_->width())) * 4;
    return ARGBColorBytes{p[0], p[1], p[2], p[3]};
}

platform::Color RainbowColorView::ARGBtoUIColor(const ARGBColorBytes& pixel) {
    return platform::Color::rgb(float(pixel.red) / 255.0f, float(pixel.green) / 255.0f,
                                float(pixel.blue) / 255.0f, 1.0f);
}

void RainbowColorView::touchesBegan(const platform::TouchSet& touches, platform::Event&) {
    const platform::Touch* touch = touches.anyObject();
    if (!touch)
        return;
    if (!offscreenImage_)
        createOffscreenVersion();
    pickAt(touch->locationInView(this));
}

void RainbowColorView::touchesMoved(const platform::TouchSet& touches, platform::Event&) {
    if (const platform::Touch* touch = touches.anyObject())
        pickAt(touch->locationInView(this));
}

void RainbowColorView::pickAt(Point p) {
    const platform::ImageRef& picture = image();
    if (!picture || p.x < 0 || p.y < 0)
        return;
    const int x = int(p.x);
    const int y = int(p.y);
    if (x >= picture->width() || y >= picture->height())
        return;
    const platform::Color color = ARGBtoUIColor(getPixelValueAt(x, y));
    if (colorSquareView_) {
        colorSquareView_->setColor(color);
        colorSquareView_->setNeedsDisplay();
    }
}

} // namespace zorbel
