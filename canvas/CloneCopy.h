#pragma once

#include "platform/graphics/Context.h"

namespace zorbel {

// Copies a width x height block from `source` at (sourceX, sourceY) onto
// `destination` at (destinationX, destinationY), each pixel weighted by the
// alpha of `brush` at (brushX, brushY) onwards: per colour byte
// dst = (E * src + (255 - E) * dst) / 255, alpha kept. Positions are memory
// columns and rows, truncated; a block reaching outside a bitmap copies nothing.
void copyCloneDirect(const platform::Context* source, const platform::Context* brush,
                     platform::Context* destination, float sourceX, float sourceY,
                     float destinationX, float destinationY, float brushX, float brushY,
                     float width, float height);

} // namespace zorbel
