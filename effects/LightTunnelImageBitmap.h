#pragma once

#include <cstdint>

namespace zorbel {

// Light tunnel: inside the circle of radius 0.5 the picture stays; outside, every pixel repeats the
// pixel on the circle at its angle, in radial streaks. Reads src and writes every pixel of dst
// (width * 4 bytes per row, no padding), with bilinear sampling; src and dst must be distinct.
// Writes nothing when a pointer is null or a side is below 2.
void lightTunnelImageBitmap(const std::uint8_t* src, std::uint8_t* dst, int width, int height);

// The new radius for the radius r of an output pixel (normalised polar frame about the centre).
float lightTunnelRadius(float r);

} // namespace zorbel
