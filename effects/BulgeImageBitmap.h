#pragma once

#include <cstdint>

namespace zorbel {

// Bulge: the centre swells towards the viewer (each pixel reads from radius r * r).
// Reads src and writes every pixel of dst (width * 4 bytes per row, no padding), with bilinear
// sampling; src and dst must be distinct. Writes nothing when a pointer is null or a side is
// below 2.
void bulgeImageBitmap(const std::uint8_t* src, std::uint8_t* dst, int width, int height);

// The new radius for the radius r of an output pixel (normalised polar frame about the centre).
float bulgeRadius(float r);

} // namespace zorbel
