#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string_view>
#include <utility>

#include "platform/graphics/Color.h"
#include "platform/graphics/Context.h"
#include "platform/graphics/Image.h"
#include "platform/graphics/Layer.h"

namespace zorbel {

// Recolours every non-transparent pixel of `bitmap` to the colour packed in
// `packedColor` (red in bits 8-15, green 16-23, blue 24-31), keeping its alpha:
// each colour byte becomes (alpha * colour + 127) / 255. A null bitmap is left alone.
void setBitmapColorPreMult(platform::Context* bitmap, std::uint32_t packedColor);

// Packs three colour bytes the way setBitmapColorPreMult reads them.
constexpr std::uint32_t packTintColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return (std::uint32_t(red) << 8) | (std::uint32_t(green) << 16) | (std::uint32_t(blue) << 24);
}

// The active brush: the brush bitmap built from a brush or colour-brush
// picture (turned with a turned document), its tint, and the stamp, a layer
// holding the bitmap's picture that strokes draw again and again. Failures
// are logged; the build goes on with what it has.
class Brush {
public:
    // Where the bitmap's memory comes from: `bytes` cleared bytes, or null.
    using Allocator = std::function<std::uint8_t*(std::size_t bytes)>;

    explicit Brush(Allocator allocate);
    ~Brush();
    Brush(const Brush&) = delete;
    Brush& operator=(const Brush&) = delete;

    // The start-up brush: the picture flipped into a bitmap of its size, tinted
    // pure blue when `tintBlue`.
    void buildStart(const platform::Image& picture, bool tintBlue);
    // A brush picture: squared and turned clockwise when `turned`. `caller`
    // names the operation in the log lines.
    void build(const platform::Image& picture, bool turned, std::string_view caller);
    // A colour-brush picture: width and height exchanged and turned when `turned`.
    void buildColorBrush(const platform::Image& picture, bool turned);
    // Recolours the bitmap (components 0..1) and rebuilds the stamp.
    void tint(float red, float green, float blue);

    platform::Context* bitmap() const { return context_.get(); }
    platform::Layer* stamp() const { return stamp_.get(); }
    // The stamp's size in points (zero without a stamp).
    platform::Size stampSize() const;
    // The width of the last bitmap built, or the size last set.
    float size() const { return size_; }
    void setSize(float size) { size_ = size; }
    // The brush and colour-brush pictures last chosen, kept to build again
    // from (after a turn of the document, or when the tool changes).
    const platform::ImageRef& picture() const { return picture_; }
    void setPicture(platform::ImageRef picture) { picture_ = std::move(picture); }
    const platform::ImageRef& colorPicture() const { return colorPicture_; }
    void setColorPicture(platform::ImageRef picture) { colorPicture_ = std::move(picture); }

private:
    struct FreeBlock {
        void operator()(std::uint8_t* p) const { std::free(p); }
    };

    // A cleared bitmap of the size; logs the line that fits a failure.
    bool allocate(int width, int height, std::string_view noMemoryLine,
                  std::string_view noContextLine);
    // The stamp from the bitmap's current picture.
    void rebuildStamp();

    Allocator allocate_;
    std::unique_ptr<std::uint8_t[], FreeBlock> block_;
    std::unique_ptr<platform::Context> context_; // draws into block_: released first
    std::unique_ptr<platform::Layer> stamp_;
    float size_ = 0;
    platform::ImageRef picture_;
    platform::ImageRef colorPicture_;
};

} // namespace zorbel
