#pragma once

#include <array>
#include <cstdint>

namespace zorbel {

// A colour table: entry g (4 bytes at 4 * g) holds in bytes 1, 2, 3 the red, green and blue that
// replace grey level g. Byte 0 of an entry is never used.
using ColorLUT = std::array<std::uint8_t, 1024>;

// Fills the table with three linear ramps, red from r0 towards r1, green from g0 towards g1,
// blue from b0 towards b1, in 256 steps of 1/256 of the span (so the end value itself is not
// reached), each value truncated and held at 255.
void createLUT(ColorLUT& table, float r0, float r1, float g0, float g1, float b0, float b1);

// The sepia table: red 0 -> 255, green 0 -> 210, blue 0 -> 170. White maps to (254, 209, 169).
void createSepiaLUT(ColorLUT& table);

// Replaces red, green and blue of every pixel by the table's entry for its grey level
// (grayLevel); alpha is kept. Writes nothing when a pointer is null.
void grayLUTImageBitmap(const std::uint8_t* src, std::uint8_t* dst, int width, int height,
                        const ColorLUT& table);

} // namespace zorbel
