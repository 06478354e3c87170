// Turning a picture upright by walking its pixels: a quarter turn through the
// general transform reads every pixel through a sampler and wrote a photo in
// some 20 ms; here each seen pixel is one load and one store.
#include <algorithm>
#include <cstddef>
#include <cstring>

#include "platform/graphics/Image.h"

namespace platform {

namespace {

// A quarter turn reads the stored picture down its columns. Square tiles keep
// the stored rows a tile reads in the cache while the tile's seen rows are
// written: 32 rows of 32 pixels are 4 KB on either side.
constexpr int kTile = 32;

inline void copyPixel(std::uint8_t* to, const std::uint8_t* from) {
    std::memcpy(to, from, 4);
}

} // namespace

std::shared_ptr<const Image> Image::upright(const std::shared_ptr<const Image>& image) {
    if (!image || image->pictureOrientation() == PictureOrientation::Up)
        return image;
    const PictureOrientation orientation = image->pictureOrientation();
    const int width = image->width(), height = image->height();
    const bool quarter = turnsAQuarter(orientation);
    const int seenWidth = quarter ? height : width;
    const int seenHeight = quarter ? width : height;
    ImagePixels pixels = ImagePixels::allocate(std::size_t(width) * 4 * std::size_t(height));
    if (!pixels)
        return nullptr;

    // The map from seen to stored pixels is linear: where the seen picture's
    // first pixel comes from, and how far in stored pixels one step right and
    // one step down go.
    const PixelPosition origin = storedPixelForSeen(orientation, width, height, 0, 0);
    const PixelPosition right = storedPixelForSeen(orientation, width, height, 1, 0);
    const PixelPosition down = storedPixelForSeen(orientation, width, height, 0, 1);
    const std::ptrdiff_t stepX =
        (std::ptrdiff_t(right.y) - origin.y) * width + (std::ptrdiff_t(right.x) - origin.x);
    const std::ptrdiff_t stepY =
        (std::ptrdiff_t(down.y) - origin.y) * width + (std::ptrdiff_t(down.x) - origin.x);
    const std::uint8_t* first =
        image->data() + (std::ptrdiff_t(origin.y) * width + origin.x) * 4;
    std::uint8_t* out = pixels.data();
    const std::size_t seenRowBytes = std::size_t(seenWidth) * 4;

    if (stepX == 1) { // mirrored top to bottom: whole rows
        for (int y = 0; y < seenHeight; ++y)
            std::memcpy(out + std::size_t(y) * seenRowBytes, first + y * stepY * 4, seenRowBytes);
    } else if (stepX == -1) { // mirrored left to right, or half a turn: rows backwards
        for (int y = 0; y < seenHeight; ++y) {
            const std::uint8_t* from = first + y * stepY * 4;
            std::uint8_t* to = out + std::size_t(y) * seenRowBytes;
            for (int x = 0; x < seenWidth; ++x)
                copyPixel(to + std::size_t(x) * 4, from - std::ptrdiff_t(x) * 4);
        }
    } else {
        for (int tileY = 0; tileY < seenHeight; tileY += kTile) {
            const int endY = std::min(tileY + kTile, seenHeight);
            for (int tileX = 0; tileX < seenWidth; tileX += kTile) {
                const int endX = std::min(tileX + kTile, seenWidth);
                for (int y = tileY; y < endY; ++y) {
                    const std::uint8_t* from = first + (y * stepY + tileX * stepX) * 4;
                    std::uint8_t* to = out + std::size_t(y) * seenRowBytes + std::size_t(tileX) * 4;
                    for (int x = tileX; x < endX; ++x, from += stepX * 4, to += 4)
                        copyPixel(to, from);
                }
            }
        }
    }
    auto turned = std::make_shared<Image>(seenWidth, seenHeight, std::move(pixels), 0);
    // Turning keeps every alpha byte: what is known of the picture holds.
    turned->opaque_.store(image->opaque_.load(std::memory_order_relaxed), std::memory_order_relaxed);
    return turned;
}

} // namespace platform
