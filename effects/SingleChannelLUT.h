#pragma once

#include <array>
#include <cstdint>

namespace zorbel {

// A single-channel table: entry i is the new value of a colour byte whose value is i; the same
// table serves red, green and blue.
using SingleChannelLUT = std::array<std::uint8_t, 256>;

// Entry i = i.
void createIdentityLUT(SingleChannelLUT& table);

// The brightness table: entry i = i + amount, held to 0 ... 255. The slider gives -255 ... 255.
void createBrightnessLUT(SingleChannelLUT& table, int amount);

// Maps red, green and blue of every pixel through the table; alpha is kept. Writes nothing
// when a pointer is null.
void applySingleChannelLUTRaw(const std::uint8_t* src, std::uint8_t* dst, int width, int height,
                              const SingleChannelLUT& table);

} // namespace zorbel
