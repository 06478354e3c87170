#pragma once

#include <cstdint>

namespace zorbel {

// Dent: the centre sinks away (pixels inside radius 0.7 read from further out; the rest stays).
// Reads src and writes every pixel of dst (width * 4 bytes per row, no padding), with bilinear
// sampling; src and dst must be distinct. Writes nothing when a pointer is null or a side is
// below 2.
void dentImageBitmap(const std::uint8_t* src, std::uint8_t* dst, int width, int height);

// The new radius for the radius r of an output pixel (normalised polar frame about the centre).
float dentRadius(float r);

} // namespace zorbel
