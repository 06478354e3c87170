#include "canvas/Brush.h"

#include <algorithm>
#include <string>

#include "platform/foundation/Log.h"

namespace zorbel {

using platform::Context;
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

Brush::Brush(Allocator allocate) : allocate_(std::move(allocate)) {}

Brush::~Brush() {
    stamp_.reset();
    context_.reset();
}

platform::Size Brush::stampSize() const {
    return stamp_ ? stamp_->size() : platform::Size{};
}

// The stamp is a layer holding the bitmap's picture at the bitmap's size (for
// a turned document that is the turned, squared picture).
void Brush::rebuildStamp() {
    stamp_.reset();
    if (!context_)
        return;
    auto picture = context_->makeImage();
    const platform::Size size{float(context_->width()), float(context_->height())};
    stamp_ = platform::Layer::create(*context_, size);
    if (!stamp_ || !picture)
        return;
    stamp_->context().drawImage(Rect(0, 0, size.width, size.height), *picture);
}

bool Brush::allocate(int width, int height, std::string_view noMemoryLine,
                     std::string_view noContextLine) {
    context_.reset();
    block_.reset(allocate_(std::size_t(width) * 4 * std::size_t(height)));
    if (!block_) {
        log(noMemoryLine);
        return false;
    }
    context_ = Context::createBitmap(width, height, block_.get());
    if (!context_) {
        log(noContextLine);
        block_.reset();
        return false;
    }
    return true;
}

void Brush::buildStart(const platform::Image& picture, bool tintBlue) {
    const int width = picture.width();
    const int height = picture.height();
    const bool made = allocate(width, height, " ++++++++++++++++ Out of Memory! createBrushLayer  ",
                               " ++++++++++++++++ brushContext NULL createBrushLayer  ");
    size_ = float(width);
    if (made) {
        platform::GStateGuard guard(*context_);
        context_->translateCTM(0, float(height));
        context_->scaleCTM(1, -1);
        context_->drawImage(Rect(0, 0, float(width), float(height)), picture);
    }
    if (tintBlue)
        setBitmapColorPreMult(context_.get(), packTintColor(0, 0, 255));
    rebuildStamp();
}

void Brush::build(const platform::Image& picture, bool turned, std::string_view caller) {
    int width = picture.width();
    int height = picture.height();
    if (turned)
        width = height = std::max(width, height);
    const std::string name(caller);
    const bool made =
        allocate(width, height, " ++++++++++++++++ bitmapBrushData = NULL " + name + "  ",
                 " ++++++++++++++++ brushContext = NULL " + name + "  ");
    size_ = float(width);
    if (made) {
        // Flipped so that the stamp shows the picture upright; turned a
        // quarter clockwise about the bitmap's centre, like the document.
        const float w = float(width);
        const float h = float(height);
        platform::GStateGuard guard(*context_);
        context_->translateCTM(0, h);
        context_->scaleCTM(1, -1);
        if (turned) {
            context_->translateCTM(w / 2, h / 2);
            context_->concatCTM({0, -1, 1, 0, 0, 0}); // rotation by -pi/2
            context_->translateCTM(-w / 2, -h / 2);
        }
        context_->drawImage(Rect(0, 0, w, h), picture);
    }
    rebuildStamp();
}

void Brush::buildColorBrush(const platform::Image& picture, bool turned) {
    const int pictureWidth = picture.width();
    const int pictureHeight = picture.height();
    const int width = turned ? pictureHeight : pictureWidth;
    const int height = turned ? pictureWidth : pictureHeight;
    const bool made =
        allocate(width, height, " ++++++++++++++++ Out of Memory! createColorBrushLayerFromImage",
                 " ++++++++++++++++ brushContext = NULL! createColorBrushLayerFromImage");
    size_ = float(width);
    if (made) {
        platform::GStateGuard guard(*context_);
        context_->translateCTM(0, float(height));
        context_->scaleCTM(1, -1);
        if (turned) {
            // The picture's own rectangle turned about its centre lands
            // exactly on the exchanged bitmap.
            context_->translateCTM(float(width) / 2, float(height) / 2);
            context_->concatCTM({0, -1, 1, 0, 0, 0}); // rotation by -pi/2
            context_->translateCTM(-float(pictureWidth) / 2, -float(pictureHeight) / 2);
        }
        context_->drawImage(Rect(0, 0, float(pictureWidth), float(pictureHeight)), picture);
    }
    rebuildStamp();
}

void Brush::tint(float red, float green, float blue) {
    const auto toByte = [](float v) { return std::uint8_t(std::clamp(v, 0.0f, 1.0f) * 255.0f); };
    setBitmapColorPreMult(context_.get(), packTintColor(toByte(red), toByte(green), toByte(blue)));
    rebuildStamp();
}

} // namespace zorbel
