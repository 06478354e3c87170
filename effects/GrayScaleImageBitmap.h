#pragma once

#include <cstdint>

namespace zorbel {

// Grey scale: red, green and blue of every pixel become its grey level (grayLevel); alpha is
// kept. Works on premultiplied pixels as stored. Writes nothing when a pointer is null.
void grayScaleImageBitmap(const std::uint8_t* src, std::uint8_t* dst, int width, int height);

} // namespace zorbel
