#include "canvas/CanvasBuffer.h"

#include <cstring>
#include <utility>
#include <vector>

#include "canvas/DocumentFolder.h"

namespace zorbel {

using platform::Context;

CanvasBuffer::CanvasBuffer(int width, int height, std::string fileName, Allocator allocate)
    : width_(width), height_(height), fileName_(std::move(fileName)),
      allocate_(std::move(allocate)) {}

CanvasBuffer::~CanvasBuffer() {
    release();
}

// Each re-created buffer starts transparent (the allocator clears it), so a
// buffer whose file is missing never shows what the memory held before.
CanvasBuffer::Made CanvasBuffer::recreate() {
    release();
    block_.reset(allocate_(byteCount()));
    if (!block_)
        return Made::NoMemory;
    context_ = Context::createBitmap(width_, height_, block_.get());
    if (!context_) {
        block_.reset();
        return Made::NoContext;
    }
    return Made::Yes;
}

void CanvasBuffer::release() {
    context_.reset(); // the context draws into the block: it goes first
    block_.reset();
}

// Released only once the picture is safely in its file, so that a failed
// write never loses the painting.
bool CanvasBuffer::flush(DocumentFolder& documents) {
    if (!context_)
        return true;
    if (!documents.writeBuffer(fileName_, *context_))
        return false;
    release();
    return true;
}

void CanvasBuffer::copyFrom(const CanvasBuffer& source) {
    if (data() && source.data() && source.byteCount() == byteCount())
        std::memcpy(data(), source.data(), byteCount());
}

void CanvasBuffer::exchange(CanvasBuffer& other) {
    std::swap(block_, other.block_);
    std::swap(context_, other.context_);
}

bool CanvasBuffer::isOpaque() const {
    const std::uint8_t* p = data();
    if (!p)
        return false;
    // Alpha bytes are every fourth byte; AND them eight pixels at a time.
    const std::size_t bytes = byteCount();
    std::size_t i = 0;
    for (; i + 32 <= bytes; i += 32) {
        const std::uint8_t all =
            p[i] & p[i + 4] & p[i + 8] & p[i + 12] & p[i + 16] & p[i + 20] & p[i + 24] & p[i + 28];
        if (all != 255)
            return false;
    }
    for (; i < bytes; i += 4)
        if (p[i] != 255)
            return false;
    return true;
}

void CanvasBuffer::drawUpright(const platform::Image& picture) {
    if (context_)
        drawUpright(*context_, picture);
}

void CanvasBuffer::drawUpright(Context& context, const platform::Image& picture) {
    const float width = float(picture.width());
    const float height = float(picture.height());
    platform::GStateGuard guard(context);
    context.setBlendMode(platform::BlendMode::Normal);
    context.translateCTM(0, height);
    context.scaleCTM(1, -1);
    context.drawImage(platform::Rect(0, 0, width, height), picture);
}

// The rows reversed: the same bytes as drawing a snapshot flipped into a fresh
// transparent bitmap, without the drawing.
platform::ImageRef CanvasBuffer::uprightPictureOf(const Context& bitmap) {
    const int width = bitmap.width();
    const int height = bitmap.height();
    const std::size_t rowBytes = bitmap.bytesPerRow();
    std::vector<std::uint8_t> pixels(rowBytes * std::size_t(height));
    for (int row = 0; row < height; ++row)
        std::memcpy(pixels.data() + rowBytes * std::size_t(row),
                    bitmap.data() + rowBytes * std::size_t(height - 1 - row), rowBytes);
    auto picture = platform::Image::create(width, height, std::move(pixels));
    return picture ? picture.value() : nullptr;
}

platform::ImageRef CanvasBuffer::uprightPicture() const {
    return context_ ? uprightPictureOf(*context_) : nullptr;
}

} // namespace zorbel
