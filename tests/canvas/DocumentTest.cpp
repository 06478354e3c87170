#include "CanvasTestSupport.h"

#include <cmath>

namespace zorbel::testing {
namespace {

using platform::Rect;
using platform::Size;
using Target = DocumentPictures::FitTarget;

constexpr Pixel kRed{255, 255, 0, 0};
constexpr Pixel kBlue{255, 0, 0, 255};

bool isRed(ARGBColorBytes p) {
    return p == ARGBColorBytes{255, 255, 0, 0};
}
bool isBlue(ARGBColorBytes p) {
    return p == ARGBColorBytes{255, 0, 0, 255};
}
bool isClear(ARGBColorBytes p) {
    return p == ARGBColorBytes{0, 0, 0, 0};
}

TEST(FitRuleTest, PlacesPicturesAsTheExamplesSay) {
    // Taller than wide: full height, centred across.
    auto fit = DocumentPictures::fitRule({300, 600}, false, Target::OffscreenBuffer);
    EXPECT_FALSE(fit.turned);
    EXPECT_EQ(fit.screenRect, Rect(40, 0, 240, 480));
    // Wider than tall but cropped: full width, centred down.
    fit = DocumentPictures::fitRule({400, 300}, true, Target::OffscreenBuffer);
    EXPECT_FALSE(fit.turned);
    EXPECT_EQ(fit.screenRect, Rect(0, 120, 320, 240));
    // Wider than tall, not cropped: turned, the 360-point side across.
    fit = DocumentPictures::fitRule({480, 360}, false, Target::OriginalBuffer);
    EXPECT_TRUE(fit.turned);
    EXPECT_EQ(fit.screenRect, Rect(0, 0, 360, 480));
    fit = DocumentPictures::fitRule({480, 360}, false, Target::OffscreenBuffer);
    EXPECT_EQ(fit.screenRect, Rect(-20, 0, 360, 480));
    // A short side under 320 is centred in both buffers.
    fit = DocumentPictures::fitRule({480, 240}, false, Target::OriginalBuffer);
    EXPECT_EQ(fit.screenRect, Rect(40, 0, 240, 480));
    // Wider than the canvas at full height: cut on the right.
    fit = DocumentPictures::fitRule({360, 480}, false, Target::OffscreenBuffer);
    EXPECT_EQ(fit.screenRect, Rect(0, 0, 360, 480));
    // A square is drawn across the full width, centred down.
    fit = DocumentPictures::fitRule({100, 100}, false, Target::OffscreenBuffer);
    EXPECT_EQ(fit.screenRect, Rect(0, 80, 320, 320));
}

TEST(ScaleAndRotateTest, ReducesTheLongSideTo480) {
    auto photo = solidPicture(1600, 1200, kRed);
    auto upright = PaintingView::scaleAndRotateImage(photo);
    ASSERT_TRUE(upright);
    EXPECT_EQ(upright->width(), 480);
    EXPECT_EQ(upright->height(), 360);
    auto small = PaintingView::scaleAndRotateImage(solidPicture(300, 200, kRed));
    EXPECT_EQ(small->width(), 300);
    EXPECT_EQ(small->height(), 200);
    EXPECT_EQ(PaintingView::scaleAndRotateImage(nullptr), nullptr);
}

TEST(ScaleAndRotateTest, AppliesTheStoredOrientation) {
    // Stored 4 x 2, top row red, bottom row blue; "right" means the picture
    // is seen turned a quarter clockwise: the stored top row on the right.
    auto stored = [](int orientation) {
        std::vector<std::uint8_t> bytes;
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 4; ++x) {
                const Pixel p = y == 0 ? kRed : kBlue;
                bytes.insert(bytes.end(), {p.a, p.r, p.g, p.b});
            }
        return platform::Image::create(4, 2, bytes, orientation).value();
    };
    auto pixel = [](const platform::Image& image, int x, int y) {
        const std::uint8_t* p = image.data() + (std::size_t(y) * image.width() + x) * 4;
        return ARGBColorBytes{p[0], p[1], p[2], p[3]};
    };
    auto right = PaintingView::scaleAndRotateImage(stored(3));
    ASSERT_TRUE(right);
    ASSERT_EQ(right->width(), 2);
    ASSERT_EQ(right->height(), 4);
    EXPECT_EQ(right->orientation(), 0);
    for (int y = 0; y < 4; ++y) {
        EXPECT_TRUE(isRed(pixel(*right, 1, y))) << y;
        EXPECT_TRUE(isBlue(pixel(*right, 0, y))) << y;
    }
    auto down = PaintingView::scaleAndRotateImage(stored(1));
    ASSERT_EQ(down->width(), 4);
    EXPECT_TRUE(isBlue(pixel(*down, 0, 0)));
    EXPECT_TRUE(isRed(pixel(*down, 3, 1)));
    auto up = PaintingView::scaleAndRotateImage(stored(0));
    EXPECT_TRUE(isRed(pixel(*up, 2, 0)));
    EXPECT_TRUE(isBlue(pixel(*up, 2, 1)));
}

TEST(ScaleAndRotateTest, EveryOrientationMovesEachPixelWhereTheTableSays) {
    // A 5 x 3 picture of distinct pixels, unreduced: each seen pixel is the
    // stored one the orientation table names, exactly.
    const int w = 5, h = 3;
    for (int o = 0; o < 8; ++o) {
        std::vector<std::uint8_t> bytes;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                bytes.insert(bytes.end(), {255, std::uint8_t(x * 40), std::uint8_t(y * 80), 7});
        auto seen =
            PaintingView::scaleAndRotateImage(platform::Image::create(w, h, bytes, o).value());
        ASSERT_TRUE(seen) << o;
        const auto orientation = platform::PictureOrientation(o);
        ASSERT_EQ(seen->size(), platform::seenSize(orientation, Size(w, h))) << o;
        for (int y = 0; y < seen->height(); ++y)
            for (int x = 0; x < seen->width(); ++x) {
                const auto at = platform::storedPixelForSeen(orientation, w, h, x, y);
                const std::uint8_t* p = seen->data() + (std::size_t(y) * seen->width() + x) * 4;
                EXPECT_EQ(p[1], at.x * 40) << o << " " << x << "," << y;
                EXPECT_EQ(p[2], at.y * 80) << o << " " << x << "," << y;
            }
    }
}

// The reduction as it was made before it drew into the picture's own memory:
// into a bitmap of its own, then copied out.
platform::ImageRef reducedThroughABitmap(const platform::ImageRef& image) {
    const float W = float(image->width()), H = float(image->height());
    const float ratio = W / H;
    float boundsWidth = ratio > 1 ? 480 : 480 * ratio;
    float boundsHeight = ratio > 1 ? 480 / ratio : 480;
    const float s = boundsWidth / W;
    const auto orientation = image->pictureOrientation();
    if (platform::turnsAQuarter(orientation))
        std::swap(boundsWidth, boundsHeight);
    auto surface = platform::Context::createBitmap(int(std::ceil(boundsWidth - 0.001f)),
                                                   int(std::ceil(boundsHeight - 0.001f)), nullptr,
                                                   platform::YAxis::Down);
    surface->scaleCTM(s, s);
    surface->concatCTM(platform::storedToSeen(orientation, W, H));
    surface->translateCTM(0, H);
    surface->scaleCTM(1, -1);
    surface->drawImage(Rect(0, 0, W, H), *image);
    return surface->makeImage();
}

// A photo reduced for the canvas, upright or turned by any orientation, at
// sizes a JPEG decodes to and odd ones: seeded random pixels, some
// translucent, come out byte for byte as the reduction through a bitmap of
// its own made them.
TEST(ScaleAndRotateTest, ReducedPicturesKeepEveryPixel) {
    const int sizes[][2] = {{1000, 750}, {750, 1000}, {975, 732}, {733, 517}, {481, 3}};
    std::uint32_t seed = 7;
    for (const auto& size : sizes) {
        const int w = size[0], h = size[1];
        std::vector<std::uint8_t> bytes(std::size_t(w) * 4 * std::size_t(h));
        for (std::size_t i = 0; i < bytes.size(); i += 4) {
            seed = seed * 1103515245u + 12345u;
            const std::uint8_t alpha = (seed >> 28) == 0 ? std::uint8_t(seed >> 8) : 255;
            bytes[i] = alpha;
            for (std::size_t c = 1; c < 4; ++c) {
                seed = seed * 1103515245u + 12345u;
                bytes[i + c] = std::uint8_t((seed >> 16) % (unsigned(alpha) + 1));
            }
        }
        for (const int o : {0, 1, 3, 4, 6}) {
            auto stored = platform::Image::create(w, h, bytes, o).value();
            auto reduced = PaintingView::scaleAndRotateImage(stored);
            auto expected = reducedThroughABitmap(stored);
            ASSERT_TRUE(reduced && expected);
            ASSERT_EQ(reduced->size(), expected->size()) << w << " x " << h << ", " << o;
            EXPECT_EQ(reduced->orientation(), 0);
            EXPECT_TRUE(std::ranges::equal(reduced->bytes(), expected->bytes()))
                << w << " x " << h << ", orientation " << o;
        }
    }
}

using DocumentTest = CanvasTest;

TEST_F(DocumentTest, UprightPictureIsDrawnWhereTheFitRuleSays) {
    auto view = makeCanvas();
    view->setOrgImage(solidPicture(300, 600, kRed));
    auto org = [&](int x, int y) {
        const std::uint8_t* p =
            view->orgImageBitmapData() + (std::size_t(479 - y) * 320 + std::size_t(x)) * 4;
        return ARGBColorBytes{p[0], p[1], p[2], p[3]};
    };
    EXPECT_TRUE(isClear(org(39, 240)));
    EXPECT_TRUE(isRed(org(40, 0)));
    EXPECT_TRUE(isRed(org(279, 479)));
    EXPECT_TRUE(isClear(org(280, 240)));
}

TEST_F(DocumentTest, LandscapePictureIsTurnedAndComesBackUpright) {
    // 480 x 360, its top 20 rows red, the rest blue, left column green.
    auto landscape = makePicture(480, 360, [](int x, int y) {
        if (y < 20)
            return kRed;
        return x == 0 ? Pixel{255, 0, 255, 0} : kBlue;
    });
    auto view = makeCanvas();
    view->setBGImage(landscape);
    EXPECT_EQ(delegate_.documentOrientation(), 3);
    // The picture's top edge runs down the right side, cut 20 points past
    // it; its left column lies along the top.
    EXPECT_TRUE(isBlue(screenPixel(*view, 319, 100)));
    EXPECT_EQ(screenPixel(*view, 100, 0), (ARGBColorBytes{255, 0, 255, 0}));
    EXPECT_TRUE(isBlue(screenPixel(*view, 0, 479)));

    // Saving turns it back: rows 20..339 of the picture, exactly.
    auto saved = view->getImageToSave(DocumentOrientation::Turned);
    ASSERT_TRUE(saved);
    ASSERT_EQ(saved->width(), 480);
    ASSERT_EQ(saved->height(), 320);
    for (int y : {0, 1, 150, 319})
        for (int x : {0, 1, 240, 479}) {
            const std::uint8_t* p = saved->data() + (std::size_t(y) * 480 + x) * 4;
            const std::uint8_t* q = landscape->data() + (std::size_t(y + 20) * 480 + x) * 4;
            EXPECT_EQ(std::vector<std::uint8_t>(p, p + 4), std::vector<std::uint8_t>(q, q + 4))
                << x << "," << y;
        }
    EXPECT_EQ(view->getImageToSave(DocumentOrientation(2)), nullptr);
}

TEST_F(DocumentTest, CroppedLandscapePictureStaysUpright) {
    delegate_.setWasCropped(true);
    auto view = makeCanvas();
    view->setBGImage(solidPicture(400, 300, kRed));
    EXPECT_EQ(delegate_.documentOrientation(), 1);
    EXPECT_TRUE(isClear(screenPixel(*view, 160, 119)));
    EXPECT_TRUE(isRed(screenPixel(*view, 160, 120)));
    EXPECT_TRUE(isRed(screenPixel(*view, 0, 359)));
    EXPECT_TRUE(isClear(screenPixel(*view, 160, 360)));
    // setBGImage leaves the new picture in the undo buffer too.
    EXPECT_EQ(bytesOf(view->undoBitmapData(), 614400),
              bytesOf(view->offscreenBitmapData(), 614400));
}

TEST_F(DocumentTest, ThePaintingIsSavedUprightAsSeen) {
    auto view = makeCanvas();
    view->offscreenPaintContext()->setFillColor(platform::Color::rgb(1, 0, 0));
    view->offscreenPaintContext()->fillRect(Rect(0, 0, 320, 1)); // top screen row
    auto saved = view->getImageToSave(DocumentOrientation::Upright);
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->width(), 320);
    EXPECT_EQ(saved->height(), 480);
    EXPECT_EQ(saved->data()[1], 255); // first row red
    EXPECT_EQ(saved->data()[2], 0);
    EXPECT_EQ(saved->data()[320 * 4 + 2], 255); // second row white
}

TEST_F(DocumentTest, PrintOrientationLogsItsLine) {
    PaintingView::printOrientation(3);
    EXPECT_TRUE(logHas("UIImageOrientationRight - 90 deg CW"));
}

} // namespace
} // namespace zorbel::testing
