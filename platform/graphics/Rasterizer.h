#pragma once

// Antialiased coverage of polygons, for path filling, stroking and clipping.
// Internal to platform/graphics.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/graphics/Point.h"

namespace platform::detail {

// Coverage bytes (0 transparent .. 255 covered) over a box of the device.
struct CoverageMask {
    int x0 = 0, y0 = 0, width = 0, height = 0;
    std::size_t stride = 0; // a multiple of 4, as pixman wants for a8 images
    std::vector<std::uint8_t> bytes;

    bool empty() const { return width <= 0 || height <= 0; }
    std::uint8_t* row(int y) { return bytes.data() + std::size_t(y - y0) * stride; }
    const std::uint8_t* row(int y) const { return bytes.data() + std::size_t(y - y0) * stride; }
};

// Polygons in device pixels (y down, pixel (x, y) covers [x, x+1] x [y, y+1]),
// each implicitly closed, filled with the nonzero rule by exact area coverage.
// Overlapping polygons of the same orientation add up (to at most full), so a
// stroke built of positively oriented pieces covers its seams exactly.
class Rasterizer {
public:
    // Only the box (x0, y0) .. (x1, y1) is rasterized.
    Rasterizer(int x0, int y0, int x1, int y1);
    void addPolygon(const std::vector<Point>& points);
    // Reverses polygons with negative area before adding them.
    void addPositivePolygon(std::vector<Point> points);
    // The coverage, trimmed to the rows and columns the polygons reached.
    CoverageMask finish();

private:
    void addEdge(float x0, float y0, float x1, float y1);
    void accumulateLine(float x0, float y0, float x1, float y1);
    int bx0_, by0_, w_, h_;
    std::vector<float> acc_; // (w_ + 2) per row
    int minY_, maxY_;        // rows touched, relative to the box
    float minX_, maxX_;
};

} // namespace platform::detail
