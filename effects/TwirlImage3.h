#pragma once

#include <cstdint>

namespace zorbel {

// Twirl: turns the picture about its centre by 2 * amount radians there, the turn fading out
// smoothly towards radius 0.5 of the frame. amount is the slider value, -2 ... 2.
// Only the central rectangle (the middle half of the columns and of the rows) of dst is written;
// the rest keeps what dst held, so start dst as a copy of src. interpolate picks bilinear
// sampling (the final render) over the nearest pixel (the fast preview). src and dst must be
// distinct. Writes nothing when a pointer is null or a side is below 2.
void twirlImage3(const std::uint8_t* src, std::uint8_t* dst, int width, int height, float amount,
                 bool interpolate);

// The turned angle for an output pixel at angle a and radius r.
float twirlAngle(float a, float r, float amount);

} // namespace zorbel
