#include "canvas/CloneCopy.h"

#include "platform/foundation/Log.h"

namespace zorbel {

using platform::Context;

// Per colour byte: dst = (E * src + (255 - E) * dst) / 255 with E the brush
// pixel's alpha; dst alpha unchanged; E = 0 leaves the pixel alone.
void copyCloneDirect(const Context* source, const Context* brush, Context* destination,
                     float sourceX, float sourceY, float destinationX, float destinationY,
                     float brushX, float brushY, float width, float height) {
    const int sx = int(sourceX), sy = int(sourceY);
    const int dx = int(destinationX), dy = int(destinationY);
    const int bx = int(brushX), by = int(brushY);
    const int w = int(width), h = int(height);
    if (source && destination && source->width() != destination->width())
        platform::log("Size mismatch! in copyCloneDirect");
    if (!source || !brush || !destination || !source->data() || !brush->data() ||
        !destination->data()) {
        platform::log("copyCloneDirect - a bitmap is NULL ");
        return;
    }
    // Every access stays inside its bitmap, whatever the caller computed.
    const auto inside = [w, h](const Context& c, int x, int y) {
        return x >= 0 && y >= 0 && w >= 0 && h >= 0 && x + w <= c.width() && y + h <= c.height();
    };
    if (w <= 0 || h <= 0 || !inside(*source, sx, sy) || !inside(*brush, bx, by) ||
        !inside(*destination, dx, dy))
        return;
    for (int i = 0; i < h; ++i) {
        const std::uint8_t* s = source->data() + (std::size_t(sy + i) * source->width() + sx) * 4;
        const std::uint8_t* b = brush->data() + (std::size_t(by + i) * brush->width() + bx) * 4;
        std::uint8_t* d =
            destination->data() + (std::size_t(dy + i) * destination->width() + dx) * 4;
        for (int j = 0; j < w; ++j, s += 4, b += 4, d += 4) {
            const unsigned e = b[0];
            if (e == 0)
                continue;
            for (int k = 1; k < 4; ++k)
                d[k] = std::uint8_t((e * s[k] + (255 - e) * d[k]) / 255);
        }
    }
}

} // namespace zorbel
