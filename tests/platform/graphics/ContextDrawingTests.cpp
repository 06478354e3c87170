#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/graphics/Context.h"
#include "platform/graphics/Layer.h"

using namespace platform;

namespace {

// A pixel as its bytes A, R, G, B.
struct Px {
    std::uint8_t a, r, g, b;
    friend bool operator==(const Px&, const Px&) = default;
};

void PrintTo(const Px& p, std::ostream* os) {
    *os << "(" << int(p.a) << ", " << int(p.r) << ", " << int(p.g) << ", " << int(p.b) << ")";
}

Px at(const Context& c, int x, int memoryRow) {
    const std::uint8_t* p =
        c.data() + std::size_t(memoryRow) * c.bytesPerRow() + std::size_t(x) * 4;
    return {p[0], p[1], p[2], p[3]};
}

Px at(const Image& im, int x, int row) {
    const std::uint8_t* p = im.data() + std::size_t(row) * im.bytesPerRow() + std::size_t(x) * 4;
    return {p[0], p[1], p[2], p[3]};
}

// A picture whose every pixel is distinct: opaque, red = x, green = row.
ImageRef gradient(int w, int h) {
    std::vector<std::uint8_t> px(std::size_t(w) * h * 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint8_t* p = &px[(std::size_t(y) * w + x) * 4];
            p[0] = 255;
            p[1] = std::uint8_t(x * 10);
            p[2] = std::uint8_t(y * 10);
            p[3] = 7;
        }
    return *Image::create(w, h, std::move(px));
}

} // namespace

// An identity draw into a same-size y-up bitmap copies memory rows in order.
TEST(ContextDrawing, IdentityDrawIntoYUpBitmapCopiesRowsInOrder) {
    auto img = gradient(4, 3);
    auto c = Context::createBitmap(4, 3, nullptr);
    ASSERT_TRUE(c);
    c->drawImage(Rect(0, 0, 4, 3), *img);
    EXPECT_EQ(0, std::memcmp(c->data(), img->data(), img->bytes().size()));
}

// The flip "translate by the height, scale y by -1" reverses the rows.
TEST(ContextDrawing, FlippedDrawReversesRows) {
    auto img = gradient(4, 3);
    auto c = Context::createBitmap(4, 3, nullptr);
    c->translateCTM(0, 3);
    c->scaleCTM(1, -1);
    c->drawImage(Rect(0, 0, 4, 3), *img);
    for (int row = 0; row < 3; ++row)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(at(*c, x, row), at(*img, x, 2 - row));
}

// Drawing a y-up bitmap's snapshot into a y-down context turns it upright:
// memory row 0 of the canvas (its bottom screen row) lands at the bottom.
TEST(ContextDrawing, SnapshotIntoYDownContextIsUpright) {
    auto img = gradient(4, 3);
    auto c = Context::createBitmap(4, 3, nullptr, YAxis::Down);
    c->drawImage(Rect(0, 0, 4, 3), *img);
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(at(*c, 1, row), at(*img, 1, 2 - row));
}

// Stamps land where user y-up coordinates say: y = 0 is the last memory row.
TEST(ContextDrawing, LayerAtPointUsesYUpCoordinates) {
    auto c = Context::createBitmap(8, 8, nullptr);
    auto layer = Layer::create(*c, {2, 2});
    layer->context().setFillColor(Color::rgb(1, 0, 0));
    layer->context().fillRect(Rect(0, 0, 2, 2));
    c->drawLayerAtPoint({1, 0}, *layer);
    EXPECT_EQ(at(*c, 1, 7), (Px{255, 255, 0, 0}));
    EXPECT_EQ(at(*c, 2, 6), (Px{255, 255, 0, 0}));
    EXPECT_EQ(at(*c, 1, 5), (Px{0, 0, 0, 0}));
    EXPECT_EQ(at(*c, 0, 7), (Px{0, 0, 0, 0}));
}
