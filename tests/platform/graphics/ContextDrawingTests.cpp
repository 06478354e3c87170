#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <tuple>
#include <vector>

#include "platform/graphics/Context.h"
#include "platform/graphics/FastPaths.h"
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

namespace {

ImageRef solidImage(int w, int h, Px p) {
    std::vector<std::uint8_t> px;
    for (int i = 0; i < w * h; ++i)
        px.insert(px.end(), {p.a, p.r, p.g, p.b});
    return *Image::create(w, h, std::move(px));
}

std::unique_ptr<Context> filled(int w, int h, Px p, YAxis axis = YAxis::Up) {
    auto c = Context::createBitmap(w, h, nullptr, axis);
    for (int i = 0; i < w * h; ++i)
        std::memcpy(c->data() + i * 4, &p, 4);
    return c;
}

int roundDiv255(double v) {
    return int(std::floor(v / 255.0 + 0.5));
}

} // namespace

// Source over: d = s + d * (1 - sa), and the context alpha scales the source first.
TEST(ContextDrawing, NormalCompositingFollowsSourceOver) {
    auto c = filled(1, 1, {255, 255, 255, 255});
    c->drawImage(Rect(0, 0, 1, 1), *solidImage(1, 1, {128, 128, 0, 0}));
    EXPECT_EQ(at(*c, 0, 0), (Px{255, 255, 127, 127}));

    auto d = filled(1, 1, {200, 100, 50, 20});
    d->setAlpha(0.5f); // 128 of 255
    d->drawImage(Rect(0, 0, 1, 1), *solidImage(1, 1, {255, 200, 60, 0}));
    const int a = 128, sr = roundDiv255(200.0 * a), sg = roundDiv255(60.0 * a);
    EXPECT_EQ(at(*d, 0, 0), (Px{std::uint8_t(a + roundDiv255(200.0 * (255 - a))),
                                std::uint8_t(sr + roundDiv255(100.0 * (255 - a))),
                                std::uint8_t(sg + roundDiv255(50.0 * (255 - a))),
                                std::uint8_t(roundDiv255(20.0 * (255 - a)))}));
}

// The separable blend modes on opaque pixels, channel by channel.
TEST(ContextDrawing, BlendModesFollowTheirFormulas) {
    const int dv[3] = {200, 100, 30}, sv[3] = {128, 250, 10};
    struct Mode {
        BlendMode mode;
        int (*f)(int d, int s);
    };
    const Mode modes[] = {
        {BlendMode::Multiply, [](int d, int s) { return roundDiv255(double(d) * s); }},
        {BlendMode::Screen,
         [](int d, int s) { return roundDiv255(255.0 * (d + s) - double(d) * s); }},
        {BlendMode::Overlay,
         [](int d, int s) {
             return 2 * d < 255 ? roundDiv255(2.0 * s * d)
                                : roundDiv255(255.0 * 255 - 2.0 * (255 - d) * (255 - s));
         }},
        {BlendMode::Darken, [](int d, int s) { return std::min(d, s); }},
        {BlendMode::Lighten, [](int d, int s) { return std::max(d, s); }},
    };
    for (const Mode& m : modes) {
        for (bool fast : {true, false}) {
            detail::setFastPathsEnabled(fast);
            auto c =
                filled(1, 1, {255, std::uint8_t(dv[0]), std::uint8_t(dv[1]), std::uint8_t(dv[2])});
            c->setBlendMode(m.mode);
            c->drawImage(Rect(0, 0, 1, 1), *solidImage(1, 1,
                                                       {255, std::uint8_t(sv[0]),
                                                        std::uint8_t(sv[1]), std::uint8_t(sv[2])}));
            const Px got = at(*c, 0, 0);
            EXPECT_EQ(got.a, 255);
            EXPECT_EQ(got.r, m.f(dv[0], sv[0])) << int(m.mode);
            EXPECT_EQ(got.g, m.f(dv[1], sv[1])) << int(m.mode);
            EXPECT_EQ(got.b, m.f(dv[2], sv[2])) << int(m.mode);
        }
    }
    detail::setFastPathsEnabled(true);
}

// Multiply over a translucent destination keeps the parts outside each other.
TEST(ContextDrawing, MultiplyOnTranslucentPixels) {
    auto c = filled(1, 1, {100, 80, 0, 40});
    c->setBlendMode(BlendMode::Multiply);
    c->drawImage(Rect(0, 0, 1, 1), *solidImage(1, 1, {200, 150, 100, 0}));
    // r = s(1 - da) + d(1 - sa) + s d, all over 255.
    auto f = [](double s, double d, double sa, double da) {
        return (s * (255 - da) + d * (255 - sa) + s * d) / 255.0;
    };
    const Px p = at(*c, 0, 0);
    EXPECT_NEAR(p.a, f(200, 100, 200, 100), 1.0);
    EXPECT_NEAR(p.r, f(150, 80, 200, 100), 1.0);
    EXPECT_NEAR(p.g, f(100, 0, 200, 100), 1.0);
    EXPECT_NEAR(p.b, f(0, 40, 200, 100), 1.0);
}

// A quarter turn copies pixels exactly (no resampling from float noise).
TEST(ContextDrawing, QuarterTurnTransposesExactly) {
    auto img = gradient(2, 3);
    auto c = Context::createBitmap(3, 2, nullptr, YAxis::Down);
    c->translateCTM(3, 0);
    c->rotateCTM(float(M_PI / 2));
    c->drawImage(Rect(0, 0, 2, 3), *img);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(at(*c, x, y), at(*img, y, x)) << x << ", " << y;
}

TEST(ContextDrawing, ClipToRectLimitsDrawingAndRestoreLiftsIt) {
    auto c = Context::createBitmap(6, 6, nullptr, YAxis::Down);
    c->setFillColor(Color::rgb(0, 1, 0));
    {
        GStateGuard g(*c);
        c->clipToRect(Rect(1, 2, 3, 2));
        EXPECT_EQ(c->clipBoundingBox(), Rect(1, 2, 3, 2));
        c->fillRect(Rect(0, 0, 6, 6));
    }
    EXPECT_EQ(at(*c, 1, 2), (Px{255, 0, 255, 0}));
    EXPECT_EQ(at(*c, 3, 3), (Px{255, 0, 255, 0}));
    EXPECT_EQ(at(*c, 0, 2), (Px{0, 0, 0, 0}));
    EXPECT_EQ(at(*c, 4, 3), (Px{0, 0, 0, 0}));
    EXPECT_EQ(at(*c, 1, 4), (Px{0, 0, 0, 0}));
    EXPECT_EQ(c->clipBoundingBox(), Rect(0, 0, 6, 6));
}

// A clip rectangle under a rotation is a soft-edged diamond.
TEST(ContextDrawing, RotatedClipIsAntialiased) {
    auto c = Context::createBitmap(20, 20, nullptr, YAxis::Down);
    c->translateCTM(10, 10);
    c->rotateCTM(float(M_PI / 4));
    c->clipToRect(Rect(-5, -5, 10, 10));
    c->setCTM(AffineTransform::identity());
    c->setFillColor(Color::white());
    c->fillRect(Rect(0, 0, 20, 20));
    EXPECT_EQ(at(*c, 10, 10).a, 255);
    EXPECT_EQ(at(*c, 4, 4).a, 0);
    EXPECT_EQ(at(*c, 15, 15).a, 0);
    int partial = 0;
    for (int x = 0; x < 20; ++x) {
        const int a = at(*c, x, 10).a;
        partial += a > 0 && a < 255;
    }
    EXPECT_EQ(partial, 4); // the slanted edge crosses two pixels of the row at each side
}

TEST(ContextDrawing, ClearRectIgnoresAlphaAndBlendModeButNotTheClip) {
    auto c = filled(4, 1, {255, 10, 20, 30}, YAxis::Down);
    c->setAlpha(0.2f);
    c->setBlendMode(BlendMode::Multiply);
    c->clipToRect(Rect(0, 0, 3, 1));
    c->clearRect(Rect(1, 0, 3, 1));
    EXPECT_EQ(at(*c, 0, 0), (Px{255, 10, 20, 30}));
    EXPECT_EQ(at(*c, 1, 0), (Px{0, 0, 0, 0}));
    EXPECT_EQ(at(*c, 2, 0), (Px{0, 0, 0, 0}));
    EXPECT_EQ(at(*c, 3, 0), (Px{255, 10, 20, 30}));
    // Half a pixel cleared leaves half of it.
    c->clearRect(Rect(0.5f, 0, 0.5f, 1));
    EXPECT_NEAR(at(*c, 0, 0).a, 128, 1);
}

// Fractional edges cover pixels by their area.
TEST(ContextDrawing, FillPathCoversPixelsByArea) {
    auto c = Context::createBitmap(4, 2, nullptr, YAxis::Down);
    c->setFillColor(Color::white());
    c->fillRect(Rect(0, 0, 1.5f, 1));
    EXPECT_EQ(at(*c, 0, 0).a, 255);
    EXPECT_NEAR(at(*c, 1, 0).a, 128, 1);
    EXPECT_EQ(at(*c, 2, 0).a, 0);
    EXPECT_EQ(at(*c, 0, 1).a, 0);
    // A triangle over half of a 2 x 2 square: the diagonal pixels half covered.
    auto t = Context::createBitmap(2, 2, nullptr, YAxis::Down);
    t->setFillColor(Color::white());
    Path p;
    p.moveTo({0, 0});
    p.lineTo({2, 0});
    p.lineTo({0, 2});
    p.close();
    t->fillPath(p);
    EXPECT_EQ(at(*t, 0, 0).a, 255);
    EXPECT_NEAR(at(*t, 1, 0).a, 128, 1);
    EXPECT_NEAR(at(*t, 0, 1).a, 128, 1);
    EXPECT_EQ(at(*t, 1, 1).a, 0);
}

// Stroked segments have butt ends; joints are mitred.
TEST(ContextDrawing, StrokesHaveButtEndsAndMiterJoins) {
    auto c = Context::createBitmap(12, 12, nullptr, YAxis::Down);
    c->setStrokeColor(Color::black());
    c->setLineWidth(2);
    const Point seg[] = {{1, 5}, {9, 5}};
    c->strokeLineSegments(seg);
    for (int x = 1; x < 9; ++x) {
        EXPECT_EQ(at(*c, x, 4).a, 255) << x;
        EXPECT_EQ(at(*c, x, 5).a, 255) << x;
        EXPECT_EQ(at(*c, x, 3).a, 0) << x;
        EXPECT_EQ(at(*c, x, 6).a, 0) << x;
    }
    EXPECT_EQ(at(*c, 0, 5).a, 0);
    EXPECT_EQ(at(*c, 9, 5).a, 0);

    auto l = Context::createBitmap(12, 12, nullptr, YAxis::Down);
    l->setLineWidth(2);
    Path p;
    p.moveTo({2, 2});
    p.lineTo({8, 2});
    p.lineTo({8, 8});
    l->strokePath(p);
    EXPECT_EQ(at(*l, 8, 1).a, 255); // the outer corner of the mitre
    EXPECT_EQ(at(*l, 7, 2).a, 255);
    EXPECT_EQ(at(*l, 9, 0).a, 0);
}

// The cursor's 1-point black line on whole coordinates covers two pixel rows by half.
TEST(ContextDrawing, HairlineOnWholeCoordinatesIsTwoHalfRows) {
    auto c = Context::createBitmap(30, 30, nullptr, YAxis::Down);
    c->setLineWidth(1);
    const Point seg[] = {{5, 15}, {25, 15}};
    c->strokeLineSegments(seg);
    EXPECT_NEAR(at(*c, 10, 14).a, 128, 1);
    EXPECT_NEAR(at(*c, 10, 15).a, 128, 1);
    EXPECT_EQ(at(*c, 10, 13).a, 0);
}

TEST(ContextDrawing, SaveAndRestoreKeepEveryStateField) {
    auto c = Context::createBitmap(8, 8, nullptr);
    c->saveGState();
    c->setAlpha(0.25f);
    c->setBlendMode(BlendMode::Screen);
    c->translateCTM(3, 4);
    c->clipToRect(Rect(0, 0, 2, 2));
    c->setFillColor(Color::rgb(1, 0, 0));
    c->setStrokeColor(Color::grey(0.5f));
    c->setLineWidth(7);
    c->restoreGState();
    EXPECT_EQ(c->alpha(), 1.0f);
    EXPECT_EQ(c->blendMode(), BlendMode::Normal);
    EXPECT_TRUE(c->ctm().isIdentity());
    EXPECT_EQ(c->clipBoundingBox(), Rect(0, 0, 8, 8));
    EXPECT_EQ(c->fillColor(), Color::black());
    EXPECT_EQ(c->strokeColor(), Color::black());
    EXPECT_EQ(c->lineWidth(), 1.0f);
    c->restoreGState(); // unbalanced: ignored
    EXPECT_EQ(c->alpha(), 1.0f);
}

// A stretched picture keeps its edge colours to the edge (no transparent rim)
// and its corners exactly.
TEST(ContextDrawing, ScaledDrawStretchesWithoutSoftEdges) {
    std::vector<std::uint8_t> px = {255, 200, 0, 0,   255, 0,  200, 0,
                                    255, 0,   0, 200, 255, 50, 50,  50};
    auto img = *Image::create(2, 2, px);
    auto c = Context::createBitmap(7, 5, nullptr);
    c->drawImage(Rect(0, 0, 7, 5), *img);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            EXPECT_EQ(at(*c, x, y).a, 255);
    EXPECT_EQ(at(*c, 0, 0), at(*img, 0, 0));
    EXPECT_EQ(at(*c, 6, 4), at(*img, 1, 1));
    // A large reduction averages: a uniform picture stays its colour.
    auto uniform = solidImage(64, 64, {255, 90, 160, 30});
    auto small = Context::createBitmap(4, 4, nullptr);
    small->drawImage(Rect(0, 0, 4, 4), *uniform);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            const Px p = at(*small, x, y);
            EXPECT_EQ(p.a, 255);
            EXPECT_NEAR(p.r, 90, 1);
            EXPECT_NEAR(p.g, 160, 1);
        }
}

// drawImageUpright applies the stored orientation and puts the picture's top
// at the top on screen in both kinds of context.
TEST(ContextDrawing, DrawImageUprightAppliesTheOrientation) {
    std::vector<std::uint8_t> px = {255, 1, 0, 0, 255, 2, 0, 0}; // A B, one row
    for (auto [orientation, top, bottom] : {std::tuple{3, 1, 2}, std::tuple{2, 2, 1}}) {
        auto img = *Image::create(2, 1, px, orientation);
        EXPECT_EQ(img->size(), (Size{1, 2}));
        for (YAxis axis : {YAxis::Down, YAxis::Up}) {
            auto c = Context::createBitmap(1, 2, nullptr, axis);
            c->drawImageUpright(Rect(0, 0, 1, 2), *img);
            EXPECT_EQ(at(*c, 0, 0).r, top) << orientation;
            EXPECT_EQ(at(*c, 0, 1).r, bottom) << orientation;
        }
    }
    auto down = *Image::create(2, 1, px, 1);
    auto c = Context::createBitmap(2, 1, nullptr, YAxis::Down);
    c->drawImageUpright(Rect(0, 0, 2, 1), *down);
    EXPECT_EQ(at(*c, 0, 0).r, 2);
    EXPECT_EQ(at(*c, 1, 0).r, 1);
}

// A glyph mask's first row is at the top of its rectangle on screen.
TEST(ContextDrawing, FillMaskPutsTheFirstRowOnTop) {
    const std::uint8_t mask[] = {255, 0, 0, 0, 128, 0}; // 2 x 2, stride 3
    for (YAxis axis : {YAxis::Down, YAxis::Up}) {
        auto c = Context::createBitmap(4, 4, nullptr, axis);
        c->setFillColor(Color::rgb(1, 0, 0));
        c->fillMask(Rect(1, 1, 2, 2), mask, 2, 2, 3);
        EXPECT_EQ(at(*c, 1, 1), (Px{255, 255, 0, 0}));
        EXPECT_EQ(at(*c, 2, 1), (Px{0, 0, 0, 0}));
        EXPECT_EQ(at(*c, 2, 2), (Px{128, 128, 0, 0}));
        EXPECT_EQ(at(*c, 0, 0), (Px{0, 0, 0, 0}));
    }
}

TEST(ContextDrawing, SnapshotIsACopyAndDrawContextMatchesIt) {
    auto c = filled(3, 2, {255, 1, 2, 3});
    auto snap = c->makeImage();
    c->clearRect(Rect(0, 0, 3, 2));
    EXPECT_EQ(at(*snap, 2, 1), (Px{255, 1, 2, 3}));
    auto a = Context::createBitmap(5, 4, nullptr, YAxis::Down);
    auto b = Context::createBitmap(5, 4, nullptr, YAxis::Down);
    auto src = filled(3, 2, {200, 100, 50, 25});
    a->drawImage(Rect(0.5f, 1, 3, 2), *src->makeImage());
    b->drawContext(Rect(0.5f, 1, 3, 2), *src);
    EXPECT_EQ(0, std::memcmp(a->data(), b->data(), 5 * 4 * 4));
}

TEST(ContextDrawing, LayersStartTransparentAndContextsRefuseBadSizes) {
    auto c = Context::createBitmap(2, 2, nullptr);
    auto layer = Layer::create(*c, {5, 3});
    ASSERT_TRUE(layer);
    EXPECT_EQ(layer->size(), (Size{5, 3}));
    for (int i = 0; i < 5 * 3 * 4; ++i)
        ASSERT_EQ(layer->context().data()[i], 0);
    EXPECT_FALSE(Layer::create(*c, {0, 3}));
    EXPECT_FALSE(Context::createBitmap(0, 5, nullptr));
    EXPECT_FALSE(Context::createBitmap(20000, 5, nullptr));
    auto scratch = CreateARGBBitmapContext(*gradient(3, 2));
    ASSERT_TRUE(scratch);
    EXPECT_EQ(scratch->width(), 3);
    EXPECT_EQ(scratch->height(), 2);
    EXPECT_EQ(scratch->yAxis(), YAxis::Up);
    EXPECT_EQ(at(*scratch, 2, 1), (Px{0, 0, 0, 0}));
}

// A context over caller memory draws into that memory.
TEST(ContextDrawing, CallerOwnedMemoryIsDrawnInto) {
    std::vector<std::uint8_t> memory(2 * 2 * 4, 0);
    auto c = Context::createBitmap(2, 2, memory.data());
    c->setFillColor(Color::white());
    c->fillRect(Rect(0, 0, 1, 1)); // user y = 0 is the last memory row
    EXPECT_EQ(memory[2 * 4 + 0], 255);
    EXPECT_EQ(memory[0], 0);
}

// Non-finite and enormous geometry draws nothing (or something sane) and never
// reads or writes outside the bitmap.
TEST(ContextDrawing, HostileGeometryIsHarmless) {
    const float nan = std::nanf(""), inf = INFINITY;
    auto img = gradient(4, 4);
    for (const AffineTransform& t :
         {AffineTransform::identity(), AffineTransform::makeTranslation(1e30f, -1e30f),
          AffineTransform::makeScale(1e-30f, 1e30f), AffineTransform{nan, 0, 0, 1, 0, 0},
          AffineTransform{0, 0, 0, 0, 5, 5},
          AffineTransform::makeRotation(0.3f).scaled(1e20f, 1)}) {
        auto c = Context::createBitmap(16, 16, nullptr, YAxis::Down);
        c->concatCTM(t);
        c->setLineWidth(3);
        for (const Rect& r :
             {Rect(nan, 0, 4, 4), Rect(0, 0, inf, 4), Rect(-1e30f, -1e30f, 2e30f, 2e30f),
              Rect(0, 0, 1e-30f, 4), Rect(2, 2, 4, 4)}) {
            c->fillRect(r);
            c->clearRect(r);
            c->drawImage(r, *img);
            Path p;
            p.addEllipseInRect(r);
            p.moveTo({nan, 1});
            p.curveTo({nan, nan}, {1e30f, 2}, {3, 3});
            p.addArc({1, 1}, inf, 0, 3, false);
            c->fillPath(p);
            c->strokePath(p);
            const std::uint8_t mask[4] = {255, 255, 255, 255};
            c->fillMask(r, mask, 2, 2, 2);
            GStateGuard g(*c);
            c->clipToRect(r);
            c->fillRect(Rect(0, 0, 16, 16));
        }
    }
    SUCCEED();
}

// A context drawn into another keeps its user space: a y-down backing drawn
// into a y-down window at its own size copies its rows in order.
TEST(ContextDrawing, DrawContextKeepsTheSourcesUserSpace) {
    auto backing = Context::createBitmap(3, 2, nullptr, YAxis::Down);
    backing->setFillColor(Color::white());
    backing->fillRect(Rect(0, 0, 3, 1)); // the top row
    auto window = Context::createBitmap(3, 2, nullptr, YAxis::Down);
    window->drawContext(Rect(0, 0, 3, 2), *backing);
    EXPECT_EQ(0, std::memcmp(window->data(), backing->data(), 3 * 2 * 4));
    auto up = Context::createBitmap(3, 2, nullptr, YAxis::Up);
    up->drawContext(Rect(0, 0, 3, 2), *backing);
    // User y 0..1 of the backing is user y 0..1 here: the last memory row.
    EXPECT_EQ(at(*up, 0, 1).a, 255);
    EXPECT_EQ(at(*up, 0, 0).a, 0);
}

// Each of the eight orientations shows the stored pixels turned and mirrored
// as its EXIF counterpart says (seen pixel -> stored pixel below).
TEST(ContextDrawing, EveryOrientationShowsThePictureAsSeen) {
    const int W = 2, H = 3;
    // Opaque pixels numbered 1 to 6 in red, row by row. (Filled in place: GCC
    // 12 at -O2 takes growing the vector here for an overflow.)
    std::vector<std::uint8_t> px(std::size_t(W) * H * 4, 0);
    for (int i = 0; i < W * H; ++i) {
        px[std::size_t(i) * 4] = 255;
        px[std::size_t(i) * 4 + 1] = std::uint8_t(i + 1);
    }
    using Map = std::pair<int, int> (*)(int x, int y);
    const Map stored[8] = {
        [](int x, int y) {
            return std::pair{x, y};
        },
        [](int x, int y) {
            return std::pair{W - 1 - x, H - 1 - y};
        },
        [](int x, int y) {
            return std::pair{W - 1 - y, x};
        },
        [](int x, int y) {
            return std::pair{y, H - 1 - x};
        },
        [](int x, int y) {
            return std::pair{W - 1 - x, y};
        },
        [](int x, int y) {
            return std::pair{x, H - 1 - y};
        },
        [](int x, int y) {
            return std::pair{y, x};
        },
        [](int x, int y) {
            return std::pair{W - 1 - y, H - 1 - x};
        },
    };
    for (int o = 0; o < 8; ++o) {
        auto img = *Image::create(W, H, px, o);
        const int sw = int(img->size().width), sh = int(img->size().height);
        auto c = Context::createBitmap(sw, sh, nullptr, YAxis::Down);
        c->drawImageUpright(Rect(0, 0, float(sw), float(sh)), *img);
        for (int y = 0; y < sh; ++y)
            for (int x = 0; x < sw; ++x) {
                const auto [u, v] = stored[o](x, y);
                EXPECT_EQ(at(*c, x, y).r, u + v * W + 1)
                    << "orientation " << o << " at " << x << ", " << y;
            }
    }
}

// A new bitmap is known to be clear, so clearing it costs nothing; every way of
// writing into it ends that, and memory the caller hands over is never assumed clear.
TEST(ContextDrawing, ClearRectClearsWhateverWroteTheBitmap) {
    const Rect all(0, 0, 2, 2);
    auto drawn = Context::createBitmap(2, 2, nullptr);
    drawn->clearRect(all);
    EXPECT_EQ(at(*drawn, 1, 1), (Px{0, 0, 0, 0}));
    drawn->setFillColor(Color::white());
    drawn->fillRect(all);
    drawn->clearRect(all);
    EXPECT_EQ(at(*drawn, 1, 1), (Px{0, 0, 0, 0}));

    auto written = Context::createBitmap(2, 2, nullptr);
    written->data()[0] = 255;
    written->clearRect(all);
    EXPECT_EQ(written->data()[0], 0);

    auto stamped = Context::createBitmap(2, 2, nullptr);
    stamped->drawContext(all, *filled(2, 2, {255, 1, 2, 3}, YAxis::Up));
    stamped->clearRect(all);
    EXPECT_EQ(at(*stamped, 0, 0), (Px{0, 0, 0, 0}));

    std::vector<std::uint8_t> memory(2 * 2 * 4, 200);
    auto given = Context::createBitmap(2, 2, memory.data());
    given->clearRect(all);
    EXPECT_EQ(memory[0], 0);

    // A clear bitmap laid over a picture leaves it, except where it replaces it.
    auto picture = filled(2, 2, {255, 9, 8, 7}, YAxis::Up);
    auto empty = Context::createBitmap(2, 2, nullptr);
    picture->setBlendMode(BlendMode::Multiply);
    picture->drawContext(all, *empty);
    EXPECT_EQ(at(*picture, 0, 0), (Px{255, 9, 8, 7}));
    picture->setBlendMode(BlendMode::Copy);
    picture->drawContext(all, *empty);
    EXPECT_EQ(at(*picture, 0, 0), (Px{0, 0, 0, 0}));
}
