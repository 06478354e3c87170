// Brushes: the brush bitmap built from a brush or colour-brush picture, its
// tint, and the stamp layer that strokes draw again and again.

#include <algorithm>

#include "canvas/PaintingView.h"
#include "platform/foundation/Log.h"

namespace zorbel {

using platform::Context;
using platform::ImageRef;
using platform::log;
using platform::Rect;

// For every pixel with alpha A > 0: R = (A * red + 127) / 255, likewise G and
// B, A unchanged; the picture's own colour is dropped and its alpha alone
// shapes the mark, as a correctly premultiplied pixel of the new colour.
void setBitmapColorPreMult(Context* bitmap, std::uint32_t packedColor) {
    if (!bitmap || !bitmap->data())
        return;
    const unsigned red = (packedColor >> 8) & 0xff;
    const unsigned green = (packedColor >> 16) & 0xff;
    const unsigned blue = (packedColor >> 24) & 0xff;
    std::uint8_t* p = bitmap->data();
    const std::size_t pixels = std::size_t(bitmap->width()) * std::size_t(bitmap->height());
    for (std::size_t i = 0; i < pixels; ++i, p += 4) {
        const unsigned a = p[0];
        if (a == 0)
            continue;
        p[1] = std::uint8_t((a * red + 127) / 255);
        p[2] = std::uint8_t((a * green + 127) / 255);
        p[3] = std::uint8_t((a * blue + 127) / 255);
    }
}

platform::Size PaintingView::stampSize() const {
    return brushLayer_ ? brushLayer_->size() : platform::Size{};
}

// The stamp is a layer holding the brush bitmap's picture at the bitmap's
// size (for a turned document that is the turned, squared picture).
void PaintingView::rebuildStamp() {
    brushLayer_.reset();
    if (!brushContext_)
        return;
    auto picture = brushContext_->makeImage();
    const platform::Size size{float(brushContext_->width()), float(brushContext_->height())};
    brushLayer_ = platform::Layer::create(*brushContext_, size);
    if (!brushLayer_ || !picture)
        return;
    brushLayer_->context().drawImage(Rect(0, 0, size.width, size.height), *picture);
}

bool PaintingView::allocateBrushBitmap(int width, int height, std::string_view noMemoryLine,
                                       std::string_view noContextLine) {
    brushContext_.reset();
    bitmapBrushData_.reset(allocateBlock(std::size_t(width) * 4 * std::size_t(height)));
    if (!bitmapBrushData_) {
        log(noMemoryLine);
        return false;
    }
    brushContext_ = Context::createBitmap(width, height, bitmapBrushData_.get());
    if (!brushContext_) {
        log(noContextLine);
        bitmapBrushData_.reset();
        return false;
    }
    return true;
}

void PaintingView::createBrushLayer() {
    ImageRef picture = loadResourceImage("particlewithalpha.png");
    if (!picture) {
        log("Standard Brush not found");
        return;
    }
    const int width = picture->width();
    const int height = picture->height();
    const bool made =
        allocateBrushBitmap(width, height, " ++++++++++++++++ Out of Memory! createBrushLayer  ",
                            " ++++++++++++++++ brushContext NULL createBrushLayer  ");
    brushSize_ = float(width);
    if (made) {
        platform::GStateGuard guard(*brushContext_);
        brushContext_->translateCTM(0, float(height));
        brushContext_->scaleCTM(1, -1);
        brushContext_->drawImage(Rect(0, 0, float(width), float(height)), *picture);
    }
    if (host().paintingViewTool() == Tool::PaintBrushTool)
        setBitmapColorPreMult(brushContext_.get(), packTintColor(0, 0, 255));
    rebuildStamp();
}

void PaintingView::buildBrushBitmap(const platform::Image& image, std::string_view caller) {
    const bool turned = host().paintingViewDocumentOrientation() == DocumentOrientation::Turned;
    int width = image.width();
    int height = image.height();
    if (turned)
        width = height = std::max(width, height);
    const std::string name(caller);
    const bool made = allocateBrushBitmap(width, height,
                                          " ++++++++++++++++ bitmapBrushData = NULL " + name + "  ",
                                          " ++++++++++++++++ brushContext = NULL " + name + "  ");
    brushSize_ = float(width);
    if (made) {
        // Flipped so that the stamp shows the picture upright; turned a
        // quarter clockwise about the bitmap's centre, like the document.
        const float w = float(width);
        const float h = float(height);
        platform::GStateGuard guard(*brushContext_);
        brushContext_->translateCTM(0, h);
        brushContext_->scaleCTM(1, -1);
        if (turned) {
            brushContext_->translateCTM(w / 2, h / 2);
            brushContext_->concatCTM({0, -1, 1, 0, 0, 0}); // rotation by -pi/2
            brushContext_->translateCTM(-w / 2, -h / 2);
        }
        brushContext_->drawImage(Rect(0, 0, w, h), image);
    }
    rebuildStamp();
    setBrushToCurrentColor();
}

void PaintingView::createBrushLayerFromImage(ImageRef image) {
    brushImage_ = std::move(image);
    if (!brushImage_)
        return;
    buildBrushBitmap(*brushImage_, "createBrushLayerFromImage");
}

void PaintingView::reloadBrushLayer() {
    if (!brushImage_)
        return;
    buildBrushBitmap(*brushImage_, "reloadBrushLayer");
}

void PaintingView::createColorBrushLayerFromImage(ImageRef image) {
    colorBrushImage_ = std::move(image);
    if (!colorBrushImage_)
        return;
    const platform::Image& picture = *colorBrushImage_;
    const bool turned = host().paintingViewDocumentOrientation() == DocumentOrientation::Turned;
    const int pictureWidth = picture.width();
    const int pictureHeight = picture.height();
    const int width = turned ? pictureHeight : pictureWidth;
    const int height = turned ? pictureWidth : pictureHeight;
    const bool made = allocateBrushBitmap(
        width, height, " ++++++++++++++++ Out of Memory! createColorBrushLayerFromImage",
        " ++++++++++++++++ brushContext = NULL! createColorBrushLayerFromImage");
    brushSize_ = float(width);
    if (made) {
        platform::GStateGuard guard(*brushContext_);
        brushContext_->translateCTM(0, float(height));
        brushContext_->scaleCTM(1, -1);
        if (turned) {
            // The picture's own rectangle turned about its centre lands
            // exactly on the exchanged bitmap.
            brushContext_->translateCTM(float(width) / 2, float(height) / 2);
            brushContext_->concatCTM({0, -1, 1, 0, 0, 0}); // rotation by -pi/2
            brushContext_->translateCTM(-float(pictureWidth) / 2, -float(pictureHeight) / 2);
        }
        brushContext_->drawImage(Rect(0, 0, float(pictureWidth), float(pictureHeight)), picture);
    }
    rebuildStamp();
}

void PaintingView::reloadColorBrush() {
    if (!colorBrushImage_) {
        colorBrushImage_ = brushImage_;
        if (!colorBrushImage_)
            log("No brush image");
    }
    createColorBrushLayerFromImage(colorBrushImage_);
}

void PaintingView::setBrushToCurrentColor() {
    const auto components = currentColor_.components();
    if (components.size() == 2)
        setBrushColorRed(components[0], components[0], components[0]);
    else
        setBrushColorRed(components[0], components[1], components[2]);
}

void PaintingView::setBrushColorRed(float red, float green, float blue) {
    if (host().paintingViewTool() != Tool::PaintBrushTool)
        return;
    const auto toByte = [](float v) { return std::uint8_t(std::clamp(v, 0.0f, 1.0f) * 255.0f); };
    setBitmapColorPreMult(brushContext_.get(),
                          packTintColor(toByte(red), toByte(green), toByte(blue)));
    rebuildStamp();
}

void PaintingView::setColor(const platform::Color& color) {
    currentColor_ = color;
    setBrushToCurrentColor();
}

void PaintingView::setBrushSize(int size) {
    brushSize_ = float(size);
}

} // namespace zorbel
