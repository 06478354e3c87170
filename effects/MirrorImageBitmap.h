#pragma once

#include <cstdint>

namespace zorbel {

// Mirror: with vertical false the right half of every row (columns from width / 2 on) is kept
// and the left half becomes its mirror image; with vertical true the later rows are kept and the
// earlier rows mirror them. Any size works. Writes nothing when a pointer is null.
void mirrorImageBitmap(const std::uint8_t* src, std::uint8_t* dst, int width, int height,
                       bool vertical);

// The source column (or row) of output column (row) k in a buffer of n columns (rows).
int mirrorSourceIndex(int k, int n);

} // namespace zorbel
