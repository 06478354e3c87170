#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "platform/graphics/Context.h"
#include "platform/graphics/FastPaths.h"
#include "platform/graphics/Layer.h"

using namespace platform;

namespace {

// Valid premultiplied pixels, with transparent and opaque ones common as in
// brush stamps and pictures.
void fillRandom(std::uint8_t* p, std::size_t pixels, std::mt19937& rng) {
    std::uniform_int_distribution<int> byte(0, 255), kind(0, 5);
    for (std::size_t i = 0; i < pixels; ++i, p += 4) {
        const int k = kind(rng);
        const int a = k == 0 ? 0 : k == 1 ? 255 : byte(rng);
        p[0] = std::uint8_t(a);
        for (int c = 1; c < 4; ++c)
            p[c] = std::uint8_t(a == 0 ? 0 : byte(rng) % (a + 1));
    }
}

struct FastPathsOff {
    FastPathsOff() { detail::setFastPathsEnabled(false); }
    ~FastPathsOff() { detail::setFastPathsEnabled(true); }
};

const BlendMode kModes[] = {BlendMode::Normal,  BlendMode::Multiply, BlendMode::Screen,
                            BlendMode::Overlay, BlendMode::Darken,   BlendMode::Lighten,
                            BlendMode::Copy};

// Runs `draw` on two copies of the same destination, once through the fast
// paths and once through pixman alone, and compares the bytes.
template <class Draw>
void expectSameAsPixman(int w, int h, YAxis axis, std::mt19937& rng, Draw draw,
                        const std::string& what) {
    std::vector<std::uint8_t> start(std::size_t(w) * h * 4);
    fillRandom(start.data(), std::size_t(w) * h, rng);
    std::vector<std::uint8_t> fast = start, slow = start;
    auto cf = Context::createBitmap(w, h, fast.data(), axis);
    auto cs = Context::createBitmap(w, h, slow.data(), axis);
    draw(*cf);
    {
        FastPathsOff off;
        draw(*cs);
    }
    ASSERT_EQ(0, std::memcmp(fast.data(), slow.data(), fast.size())) << what;
}

// A picture of random valid pixels.
ImageRef randomPicture(int w, int h, std::mt19937& rng) {
    std::vector<std::uint8_t> px(std::size_t(w) * h * 4);
    fillRandom(px.data(), std::size_t(w) * h, rng);
    return *Image::create(w, h, std::move(px));
}

// A picture drawn as a pinched and turned layer is: about its centre at
// `at`, turned, scaled (mirrored across its vertical axis), at an alpha and
// a blend mode, and maybe clipped.
struct LayerPlacement {
    Point at;
    float turn = 0;
    float sx = 1, sy = 1;
    float alpha = 1;
    BlendMode mode = BlendMode::Normal;
    bool clip = false;
    bool mirror = false;

    void draw(Context& c, const Image& img) const {
        GStateGuard g(c);
        c.setAlpha(alpha);
        c.setBlendMode(mode);
        if (clip)
            c.clipToRect(Rect(9, 4, 41, 33));
        c.translateCTM(at.x, at.y);
        c.rotateCTM(turn);
        c.scaleCTM(mirror ? -sx : sx, sy);
        const float w = float(img.width()), h = float(img.height());
        c.drawImage(Rect(-w / 2, -h / 2, w, h), img);
    }
};

// A placement at `turn` with the round's variations: scaled from `scale`
// (unevenly every third round), placed from `pos`, at a random alpha except
// every third round, in a random blend mode every other round when
// `modeIndex` is given, clipped every fifth round and mirrored every seventh.
LayerPlacement randomPlacement(int round, float turn, std::mt19937& rng,
                               std::uniform_real_distribution<float>& scale,
                               std::uniform_real_distribution<float>& pos,
                               std::uniform_int_distribution<int>* modeIndex = nullptr) {
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    LayerPlacement place;
    place.turn = turn;
    place.sx = scale(rng);
    place.sy = round % 3 ? place.sx : scale(rng);
    place.at = Point{pos(rng), pos(rng)};
    place.alpha = round % 3 == 0 ? 1.0f : unit(rng);
    if (modeIndex)
        place.mode = round % 2 ? BlendMode::Normal : kModes[(*modeIndex)(rng)];
    place.clip = round % 5 == 0;
    place.mirror = round % 7 == 0;
    return place;
}

} // namespace

// The stamp kernels (whole and fractional positions, every alpha and blend
// mode, partly outside the bitmap and the clip) give pixman's bytes exactly,
// with and without the AVX2 versions.
class FastPathsBothWidths : public testing::TestWithParam<bool> {
protected:
    void SetUp() override { detail::setWideKernelsEnabled(GetParam()); }
    void TearDown() override { detail::setWideKernelsEnabled(true); }
};

INSTANTIATE_TEST_SUITE_P(Widths, FastPathsBothWidths, testing::Values(true, false),
                         [](const testing::TestParamInfo<bool>& info) {
                             return info.param ? std::string("Wide") : std::string("Sse2");
                         });

TEST_P(FastPathsBothWidths, LayerStampsMatchPixman) {
    std::mt19937 rng(20240611);
    std::uniform_real_distribution<float> pos(-12.0f, 60.0f), unit(0.0f, 1.0f);
    std::uniform_int_distribution<int> side(1, 70), modeIndex(0, 6);
    auto base = Context::createBitmap(1, 1, nullptr);
    for (int round = 0; round < 400; ++round) {
        auto layer = Layer::create(*base, {float(side(rng)), float(side(rng))});
        fillRandom(layer->context().data(),
                   std::size_t(layer->context().width()) * layer->context().height(), rng);
        const bool whole = round % 3 == 0;
        Point p{pos(rng), pos(rng)};
        if (whole)
            p = {std::floor(p.x), std::floor(p.y)};
        const float alpha = round % 4 == 0 ? 1.0f : unit(rng);
        const BlendMode mode = round % 2 ? BlendMode::Normal : kModes[modeIndex(rng)];
        const bool clip = round % 5 == 0;
        const YAxis axis = round % 7 == 0 ? YAxis::Down : YAxis::Up;
        expectSameAsPixman(
            40, 36, axis, rng,
            [&](Context& c) {
                GStateGuard g(c);
                c.setAlpha(alpha);
                c.setBlendMode(mode);
                if (clip)
                    c.clipToRect(Rect(5, 3, 20, 25));
                c.drawLayerAtPoint(p, *layer);
            },
            "round " + std::to_string(round));
    }
}

// The display's composites: the canvas picture flipped into a y-down context,
// and the stroke layer over it at an opacity and blend mode.
TEST_P(FastPathsBothWidths, DisplayCompositesMatchPixman) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    auto base = Context::createBitmap(1, 1, nullptr);
    for (int round = 0; round < 30; ++round) {
        auto picture = Layer::create(*base, {32, 48});
        fillRandom(picture->context().data(), 32 * 48, rng);
        const BlendMode mode = kModes[round % 7];
        const float alpha = round < 7 ? 1.0f : unit(rng);
        expectSameAsPixman(
            32, 48, YAxis::Down, rng,
            [&](Context& c) {
                GStateGuard g(c);
                c.clipToRect(Rect(3, 5, 20, 30));
                c.drawContext(Rect(0, 0, 32, 48), picture->context());
                c.setAlpha(alpha);
                c.setBlendMode(mode);
                c.drawLayerInRect(Rect(0, 0, 32, 48), *picture);
            },
            "round " + std::to_string(round));
    }
}

// Stretched pictures (up to twice and down to just over half, flipped or not,
// at an alpha, over or copied, clipped) give pixman's bytes exactly.
TEST_P(FastPathsBothWidths, StretchedDrawsMatchPixman) {
    std::mt19937 rng(4242);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f), scale(0.55f, 3.0f), pos(-20.0f, 30.0f);
    std::uniform_int_distribution<int> side(1, 40);
    for (int round = 0; round < 150; ++round) {
        const int w = side(rng), h = side(rng);
        auto img = randomPicture(w, h, rng);
        const Rect r(pos(rng), pos(rng), float(w) * scale(rng), float(h) * scale(rng));
        const float alpha = round % 3 == 0 ? 1.0f : unit(rng);
        const BlendMode mode = round % 4 == 0 ? BlendMode::Copy : BlendMode::Normal;
        const bool flip = round % 2 == 0;
        const bool clip = round % 5 == 0;
        expectSameAsPixman(
            64, 48, round % 3 ? YAxis::Up : YAxis::Down, rng,
            [&](Context& c) {
                GStateGuard g(c);
                c.setAlpha(alpha);
                c.setBlendMode(mode);
                if (clip)
                    c.clipToRect(Rect(7, 3, 30, 25));
                if (flip) {
                    c.translateCTM(0, 48);
                    c.scaleCTM(1, -1);
                }
                c.drawImage(r, *img);
            },
            "round " + std::to_string(round));
    }
}

// Turned pictures, as pinched and turned layers are drawn (any angle, scaled
// from a little over half to twice, at an alpha, clipped, partly outside the
// destination, mirrored), give pixman's bytes exactly.
TEST(FastPaths, TurnedDrawsMatchPixman) {
    std::mt19937 rng(1207);
    std::uniform_real_distribution<float> angle(-3.2f, 3.2f), scale(0.52f, 2.0f), pos(-20.0f, 70.0f);
    std::uniform_int_distribution<int> side(1, 45);
    for (int round = 0; round < 300; ++round) {
        const int w = side(rng), h = side(rng);
        auto img = randomPicture(w, h, rng);
        const float turn = round % 10 == 0 ? 1.5707964f * float(round % 4) : angle(rng);
        const LayerPlacement place = randomPlacement(round, turn, rng, scale, pos);
        expectSameAsPixman(
            72, 56, round % 2 ? YAxis::Up : YAxis::Down, rng,
            [&](Context& c) { place.draw(c, *img); }, "round " + std::to_string(round));
    }
}

// A picture drawn again where it was (a layer standing still while another is
// moved) comes from the samples kept at its placement: the same bytes as
// pixman's, turned or reduced to half or less, at any alpha; drawn somewhere
// else, or after its pixels change, it is sampled afresh.
TEST(FastPaths, RepeatedTurnedDrawsMatchPixmanAndFollowTheirPixels) {
    std::mt19937 rng(31);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f), angle(-3.2f, 3.2f),
        scale(0.2f, 1.8f), pos(0.0f, 60.0f);
    for (int round = 0; round < 60; ++round) {
        const int w = 5 + round % 37, h = 3 + round % 29;
        auto source = Context::createBitmap(w, h, nullptr, YAxis::Down);
        std::vector<std::uint8_t> pixels(std::size_t(w) * h * 4);
        fillRandom(pixels.data(), std::size_t(w) * h, rng);
        const float turn = round % 4 == 0 ? 0.0f : angle(rng);
        const float sx = round % 4 == 0 ? 0.3f : scale(rng), sy = round % 3 ? sx : scale(rng);
        const Point at{pos(rng), pos(rng)};
        const Point moved{at.x + 3.5f, at.y - 2.25f};
        const float alpha = round % 3 == 0 ? 1.0f : unit(rng);
        const Color paint = Color::rgb(unit(rng), unit(rng), unit(rng));
        auto drawAt = [&](Context& c, Point p) {
            GStateGuard g(c);
            c.setAlpha(alpha);
            if (round % 5 == 0)
                c.clipToRect(Rect(9 + float(round % 3), 4, 41, 33));
            c.translateCTM(p.x, p.y);
            c.rotateCTM(turn);
            c.scaleCTM(sx, sy);
            c.drawContext(Rect(-float(w) / 2, -float(h) / 2, float(w), float(h)), *source);
        };
        expectSameAsPixman(
            72, 56, round % 2 ? YAxis::Up : YAxis::Down, rng,
            [&](Context& c) {
                std::memcpy(source->data(), pixels.data(), pixels.size());
                for (int i = 0; i < 3; ++i)
                    drawAt(c, at);
                drawAt(c, moved);
                drawAt(c, moved);
                drawAt(c, moved);
                // New pixels, the old placement: drawn as they are now.
                GStateGuard g(*source);
                source->setFillColor(paint);
                source->fillRect(Rect(1, 1, 3, 2));
                drawAt(c, moved);
                drawAt(c, moved);
            },
            "round " + std::to_string(round));
    }
}

// Pictures reduced to half their size or less (a pinched layer, the kept
// picture of a small turned overlay): turned or upright, mirrored, stretched
// unevenly, at an alpha and a blend mode, clipped, partly outside the
// destination, give pixman's bytes exactly, and reach every source pixel they
// cover (no pixel skipped as bilinear sampling would).
TEST(FastPaths, ReducedDrawsMatchPixman) {
    std::mt19937 rng(5150);
    std::uniform_real_distribution<float> angle(-3.2f, 3.2f), scale(0.04f, 0.5f), pos(-10.0f, 60.0f);
    std::uniform_int_distribution<int> side(4, 160), modeIndex(0, 6);
    for (int round = 0; round < 240; ++round) {
        const int w = side(rng), h = side(rng);
        auto img = randomPicture(w, h, rng);
        // Every fourth upright (edges repeated), some a whole quarter turn.
        const float turn = round % 4 == 0   ? 0.0f
                           : round % 9 == 0 ? 1.5707964f * float(round % 4)
                                            : angle(rng);
        const LayerPlacement place = randomPlacement(round, turn, rng, scale, pos, &modeIndex);
        expectSameAsPixman(
            72, 56, round % 2 ? YAxis::Up : YAxis::Down, rng,
            [&](Context& c) { place.draw(c, *img); }, "round " + std::to_string(round));
    }

    // One opaque pixel in a transparent picture reduced to a quarter still
    // shows: an average of the area, not a sample between pixels.
    std::vector<std::uint8_t> dot(40 * 40 * 4, 0);
    for (int c = 0; c < 4; ++c)
        dot[(21 * 40 + 22) * 4 + c] = 255;
    auto dotImage = *Image::create(40, 40, std::move(dot));
    auto target = Context::createBitmap(20, 20, nullptr, YAxis::Down);
    target->translateCTM(10, 10);
    target->rotateCTM(0.3f);
    target->drawImage(Rect(-5, -5, 10, 10), *dotImage);
    int lit = 0;
    for (int i = 0; i < 20 * 20; ++i)
        lit += target->data()[i * 4] != 0;
    EXPECT_GT(lit, 0);
}
