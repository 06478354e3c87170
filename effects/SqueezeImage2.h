#pragma once

#include <cstdint>

namespace zorbel {

// Squeeze: the picture pulled towards the centre (radius myPow(r, 5/9) * 0.8).
// Reads src and writes every pixel of dst (width * 4 bytes per row, no padding), with bilinear
// sampling; src and dst must be distinct. Writes nothing when a pointer is null or a side is
// below 2.
void squeezeImage2(const std::uint8_t* src, std::uint8_t* dst, int width, int height);

// The new radius for the radius r of an output pixel (normalised polar frame about the centre).
float squeezeRadius(float r);

} // namespace zorbel
