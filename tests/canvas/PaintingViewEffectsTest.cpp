#include <cstring>
#include <random>

#include "CanvasTestSupport.h"
#include "effects/BulgeImageBitmap.h"
#include "effects/ContrastLUT.h"
#include "effects/DentImageBitmap.h"
#include "effects/FisheyeImageBitmap.h"
#include "effects/GrayLUTImageBitmap.h"
#include "effects/GrayScaleImageBitmap.h"
#include "effects/LightTunnelImageBitmap.h"
#include "effects/MirrorImageBitmap.h"
#include "effects/SingleChannelLUT.h"
#include "effects/SqueezeImage2.h"
#include "effects/TwirlImage3.h"

namespace zorbel::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr int kWidth = PaintingView::kCanvasWidth;
constexpr int kHeight = PaintingView::kCanvasHeight;
constexpr std::size_t kBufferBytes = std::size_t(kWidth) * kHeight * 4;

// An opaque picture of seeded random colours, put straight into the painting.
Bytes paintRandomPicture(PaintingView& view, unsigned seed) {
    std::mt19937 random(seed);
    Bytes picture(kBufferBytes);
    for (std::size_t i = 0; i < picture.size(); ++i)
        picture[i] = i % 4 == 0 ? 255 : std::uint8_t(random());
    view.reloadOffscreenBufferIfNecessary();
    std::memcpy(view.offscreenBitmapData(), picture.data(), picture.size());
    return picture;
}

Bytes painting(const PaintingView& view) {
    return bytesOf(view.offscreenBitmapData(), kBufferBytes);
}

Bytes undoPicture(const PaintingView& view) {
    return bytesOf(view.undoBitmapData(), kBufferBytes);
}

// What a pixel function makes of the picture.
Bytes expected(const Bytes& picture,
               const std::function<void(const std::uint8_t*, std::uint8_t*)>& effect,
               bool startFromPicture = false) {
    Bytes out = startFromPicture ? picture : Bytes(picture.size(), 0);
    effect(picture.data(), out.data());
    return out;
}

using PaintingViewEffectsTest = CanvasTest;

} // namespace

TEST_F(PaintingViewEffectsTest, OneShotEffectsRunFromASnapshotKeptForUndo) {
    using Step = void (PaintingView::*)();
    using Function = void (*)(const std::uint8_t*, std::uint8_t*, int, int);
    const std::pair<Step, Function> effects[] = {
        {&PaintingView::applyBulge, bulgeImageBitmap},
        {&PaintingView::applyDent, dentImageBitmap},
        {&PaintingView::applyFisheye, fisheyeImageBitmap},
        {&PaintingView::applyLightTunnel, lightTunnelImageBitmap},
        {&PaintingView::applySqueeze2, squeezeImage2},
        {&PaintingView::applyGrayScale, grayScaleImageBitmap},
    };
    auto view = makeCanvas();
    unsigned seed = 1;
    for (const auto& [step, function] : effects) {
        const Bytes before = paintRandomPicture(*view, seed++);
        ((*view).*step)();
        EXPECT_EQ(undoPicture(*view), before);
        EXPECT_EQ(painting(*view), expected(before, [&](const std::uint8_t* s, std::uint8_t* d) {
                      function(s, d, kWidth, kHeight);
                  }));
    }
}

TEST_F(PaintingViewEffectsTest, SepiaAndMirrorUseTheirTablesAndFlag) {
    auto view = makeCanvas();
    const Bytes before = paintRandomPicture(*view, 7);
    view->applySepiaToColor();
    EXPECT_EQ(undoPicture(*view), before);
    EXPECT_EQ(painting(*view), expected(before, [](const std::uint8_t* s, std::uint8_t* d) {
                  ColorLUT table{};
                  createSepiaLUT(table);
                  grayLUTImageBitmap(s, d, kWidth, kHeight, table);
              }));
    for (bool vertical : {false, true}) {
        const Bytes picture = paintRandomPicture(*view, vertical ? 8 : 9);
        view->applyHorzMirror(vertical);
        EXPECT_EQ(painting(*view), expected(picture, [&](const std::uint8_t* s, std::uint8_t* d) {
                      mirrorImageBitmap(s, d, kWidth, kHeight, vertical);
                  }));
    }
}

TEST_F(PaintingViewEffectsTest, UndoAfterAnEffectBringsThePictureBack) {
    auto view = makeCanvas();
    const Bytes before = paintRandomPicture(*view, 3);
    view->applyFisheye();
    view->switchUndoBuffer();
    EXPECT_EQ(painting(*view), before);
}

TEST_F(PaintingViewEffectsTest, SliderChangesNeverCompound) {
    // Moving the brightness slider to 100 and back to 0 gives back the picture exactly.
    auto view = makeCanvas();
    const Bytes before = paintRandomPicture(*view, 4);
    view->setUpBrightnessAdjustment();
    view->updateBrightness(100);
    EXPECT_NE(painting(*view), before);
    view->updateBrightness(0);
    EXPECT_EQ(painting(*view), before);

    view->setUpContrastAdjustment();
    view->updateContrast(-37);
    view->updateContrast(-37);
    EXPECT_EQ(painting(*view), expected(before, [](const std::uint8_t* s, std::uint8_t* d) {
                  SingleChannelLUT table{};
                  createIdentityLUT(table);
                  createNewContrastLUT(table, -37);
                  applySingleChannelLUTRaw(s, d, kWidth, kHeight, table);
              }));
    view->updateContrast(0);
    EXPECT_EQ(painting(*view), before);
    EXPECT_EQ(undoPicture(*view), before);
}

TEST_F(PaintingViewEffectsTest, TwirlPreviewsNearestAndFinishesBilinearFromOneSnapshot) {
    auto view = makeCanvas();
    const Bytes before = paintRandomPicture(*view, 5);
    view->setUpTwirlAdjustment();
    view->updateTwirl2Value(0.7f);
    view->updateTwirl2Value(1.6f);
    EXPECT_EQ(painting(*view), expected(
                                   before,
                                   [](const std::uint8_t* s, std::uint8_t* d) {
                                       twirlImage3(s, d, kWidth, kHeight, 1.6f, false);
                                   },
                                   true));
    view->updateTwirl2ValueInterp(1.6f);
    EXPECT_EQ(painting(*view), expected(
                                   before,
                                   [](const std::uint8_t* s, std::uint8_t* d) {
                                       twirlImage3(s, d, kWidth, kHeight, 1.6f, true);
                                   },
                                   true));
    EXPECT_EQ(undoPicture(*view), before);
}

TEST_F(PaintingViewEffectsTest, SliderGoesOnAfterALowMemoryFlush) {
    // The flush writes both buffers to their files; the next slider change reloads them and
    // recomputes from the same snapshot.
    auto view = makeCanvas();
    const Bytes before = paintRandomPicture(*view, 6);
    view->setUpBrightnessAdjustment();
    view->updateBrightness(-60);
    view->lowMemoryWarning();
    ASSERT_EQ(view->undoBitmapData(), nullptr);
    view->updateBrightness(30);
    EXPECT_EQ(painting(*view), expected(before, [](const std::uint8_t* s, std::uint8_t* d) {
                  SingleChannelLUT table{};
                  createBrightnessLUT(table, 30);
                  applySingleChannelLUTRaw(s, d, kWidth, kHeight, table);
              }));
}

TEST_F(PaintingViewEffectsTest, ABufferRectLargerThanTheBuffersIsRefused) {
    auto view = makeCanvas();
    const Bytes before = paintRandomPicture(*view, 2);
    view->setBufferRect(platform::Rect(0, 0, 640, 960));
    view->applyBulge();
    view->updateContrast(50);
    EXPECT_EQ(painting(*view), before);
    EXPECT_TRUE(platform::logContains("does not fit the canvas buffers"));
}

} // namespace zorbel::testing
