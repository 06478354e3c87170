#include <array>
#include <cstdint>
#include <memory>

#include <gtest/gtest.h>

#include "platform/ui/Animation.h"
#include "platform/ui/Application.h"
#include "platform/ui/GraphicsContext.h"
#include "platform/ui/RunLoop.h"
#include "platform/ui/Window.h"

using namespace platform;

namespace {

using Pixel = std::array<int, 4>; // A, R, G, B

Pixel pixelAt(const Context& c, int x, int y) {
    const std::uint8_t* p = c.data() + (std::size_t(y) * c.width() + std::size_t(x)) * 4;
    return {p[0], p[1], p[2], p[3]};
}

Pixel pixelAt(const Image& img, int x, int y) {
    const std::uint8_t* p = img.data() + (std::size_t(y) * img.width() + std::size_t(x)) * 4;
    return {p[0], p[1], p[2], p[3]};
}

// Paints a red bar over its top 5 rows and counts its draws.
class BarView : public View {
public:
    using View::View;
    int draws = 0;
    Rect lastDirty;
    void drawRect(Context& c, const Rect& dirty) override {
        ++draws;
        lastDirty = dirty;
        c.setFillColor(Color::rgb(1, 0, 0));
        c.fillRect(Rect(0, 0, bounds().width(), 5));
    }
};

class Rendering : public ::testing::Test {
protected:
    void SetUp() override {
        Application::shared().resetForTesting();
        RunLoop::main().reset(ClockMode::Virtual);
        Animator::shared().reset();
        Application::shared().setStatusBarHidden(true);
        window = std::make_shared<Window>();
        window->makeKeyAndVisible();
        fb = Context::createBitmap(320, 480, nullptr, YAxis::Down);
    }
    void TearDown() override { Application::shared().resetForTesting(); }
    std::shared_ptr<Window> window;
    std::unique_ptr<Context> fb;
};

} // namespace

TEST_F(Rendering, DrawRectIsYDownInTheViewsOwnSpace) {
    auto bar = std::make_shared<BarView>(Rect(10, 20, 30, 40));
    bar->setBackgroundColor(Color::rgb(0, 0, 1));
    window->addSubview(bar);
    window->render(*fb);
    EXPECT_EQ(pixelAt(*fb, 10, 20), (Pixel{255, 255, 0, 0}));
    EXPECT_EQ(pixelAt(*fb, 39, 24), (Pixel{255, 255, 0, 0}));
    EXPECT_EQ(pixelAt(*fb, 10, 25), (Pixel{255, 0, 0, 255}));
    EXPECT_EQ(pixelAt(*fb, 9, 20), (Pixel{255, 0, 0, 0})); // the black behind
    EXPECT_EQ(bar->draws, 1);
}

TEST_F(Rendering, MovingFadingAndTurningDoNotRedraw) {
    auto bar = std::make_shared<BarView>(Rect(0, 0, 20, 20));
    window->addSubview(bar);
    window->render(*fb);
    bar->setCenter(Point{100, 100});
    bar->setAlpha(0.5f);
    bar->setTransform(AffineTransform::makeRotation(0.3f));
    const Rect changed = window->render(*fb);
    EXPECT_EQ(bar->draws, 1);
    // What changed is the old place and the new one.
    EXPECT_TRUE(changed.contains(Rect(0, 0, 20, 20)));
    EXPECT_TRUE(changed.contains(Point{100, 100}));
    // Half-transparent red over black.
    const Pixel p = pixelAt(*fb, 100, 92);
    EXPECT_EQ(p[0], 255);
    EXPECT_NEAR(p[1], 128, 2);
}

TEST_F(Rendering, OnlyTheMarkedAreaIsRedrawnAndComposed) {
    auto bar = std::make_shared<BarView>(Rect(100, 100, 100, 100));
    window->addSubview(bar);
    window->render(*fb);
    EXPECT_EQ(window->render(*fb), Rect::null());
    bar->setNeedsDisplayInRect(Rect(10, 20, 5, 6));
    const Rect changed = window->render(*fb);
    EXPECT_EQ(bar->draws, 2);
    EXPECT_EQ(bar->lastDirty, Rect(10, 20, 5, 6));
    EXPECT_EQ(changed, Rect(110, 120, 5, 6));
}

TEST_F(Rendering, AHiddenOrRemovedViewLeavesTheScreen) {
    auto bar = std::make_shared<BarView>(Rect(0, 0, 20, 20));
    window->addSubview(bar);
    window->render(*fb);
    EXPECT_EQ(pixelAt(*fb, 1, 1)[1], 255);
    bar->setHidden(true);
    window->render(*fb);
    EXPECT_EQ(pixelAt(*fb, 1, 1)[1], 0);
    bar->setHidden(false);
    window->render(*fb);
    EXPECT_EQ(pixelAt(*fb, 1, 1)[1], 255);
    bar->removeFromSuperview();
    window->render(*fb);
    EXPECT_EQ(pixelAt(*fb, 1, 1)[1], 0);
}

TEST_F(Rendering, AViewTooLargeForAnyBitmapDrawsNothingAndTheOthersStillDraw) {
    auto huge = std::make_shared<BarView>(Rect(0, 0, 320, 4.5e17f));
    auto bar = std::make_shared<BarView>(Rect(0, 0, 20, 20));
    window->addSubview(huge);
    window->addSubview(bar);
    window->render(*fb);
    EXPECT_EQ(huge->draws, 0);
    EXPECT_EQ(bar->draws, 1);
    EXPECT_EQ(pixelAt(*fb, 1, 1)[1], 255);
    EXPECT_EQ(pixelAt(*fb, 100, 1)[1], 0);
}

TEST_F(Rendering, ClipsToBoundsCutsTheSubviews) {
    auto parent = std::make_shared<View>(Rect(0, 0, 10, 10));
    auto child = std::make_shared<View>(Rect(0, 0, 30, 30));
    child->setBackgroundColor(Color::white());
    parent->addSubview(child);
    window->addSubview(parent);
    window->render(*fb);
    EXPECT_EQ(pixelAt(*fb, 20, 20)[1], 255);
    parent->setClipsToBounds(true);
    window->render(*fb);
    EXPECT_EQ(pixelAt(*fb, 20, 20)[1], 0);
    EXPECT_EQ(pixelAt(*fb, 5, 5)[1], 255);
}

TEST_F(Rendering, RenderInContextDrawsTheTreeWithTransformsAndAlphas) {
    auto root = std::make_shared<View>(Rect(0, 0, 40, 40));
    auto layer = std::make_shared<View>(Rect(10, 10, 10, 10));
    layer->setBackgroundColor(Color::rgb(0, 1, 0));
    layer->setAlpha(0.5f);
    layer->setTransform(AffineTransform::makeScale(2, 2)); // 20 x 20 about (15, 15)
    root->addSubview(layer);
    auto target = Context::createBitmap(40, 40, nullptr, YAxis::Down);
    root->renderInContext(*target);
    EXPECT_EQ(pixelAt(*target, 6, 6), (Pixel{128, 0, 128, 0}));
    EXPECT_EQ(pixelAt(*target, 24, 24), (Pixel{128, 0, 128, 0}));
    EXPECT_EQ(pixelAt(*target, 26, 26), (Pixel{0, 0, 0, 0}));
    // Into a y-up bitmap flipped to y-down, as the canvas flattens: same place.
    auto up = Context::createBitmap(40, 40, nullptr, YAxis::Up);
    up->translateCTM(0, 40);
    up->scaleCTM(1, -1);
    root->renderInContext(*up);
    EXPECT_EQ(pixelAt(*up, 6, 6), (Pixel{128, 0, 128, 0}));
    EXPECT_EQ(pixelAt(*up, 26, 26), (Pixel{0, 0, 0, 0}));
}

TEST_F(Rendering, ScaledWindowDrawsBackingStoresAtItsScale) {
    window->setScale(2);
    auto bar = std::make_shared<BarView>(Rect(0, 0, 10, 10));
    window->addSubview(bar);
    auto big = Context::createBitmap(640, 960, nullptr, YAxis::Down);
    window->render(*big);
    ASSERT_NE(bar->backingStore(), nullptr);
    EXPECT_EQ(bar->backingStore()->width(), 20);
    EXPECT_EQ(pixelAt(*big, 19, 9)[1], 255);
    EXPECT_EQ(pixelAt(*big, 19, 10)[1], 0);
}

TEST_F(Rendering, SnapshotHasOnePixelPerPointAndTheStatusBar) {
    Application::shared().setStatusBarStyle(StatusBarStyle::BlackTranslucent);
    Application::shared().setStatusBarHidden(false);
    auto back = std::make_shared<View>(Rect(0, 0, 320, 480));
    back->setBackgroundColor(Color::white());
    window->addSubview(back);
    ImageRef shot = window->snapshot();
    ASSERT_NE(shot, nullptr);
    EXPECT_EQ(shot->width(), 320);
    EXPECT_EQ(shot->height(), 480);
    // Half black over white under the bar (away from its marks), white below.
    const Pixel bar = pixelAt(*shot, 100, 2);
    EXPECT_NEAR(bar[1], 128, 2);
    EXPECT_EQ(pixelAt(*shot, 100, 30), (Pixel{255, 255, 255, 255}));
}

TEST_F(Rendering, AnImageSurfaceIsCurrentUntilEnded) {
    EXPECT_EQ(currentContext(), nullptr);
    ASSERT_TRUE(beginImageContext(Size{4, 2}));
    ASSERT_NE(currentContext(), nullptr);
    currentContext()->setFillColor(Color::rgb(0, 0, 1));
    rectFill(Rect(0, 0, 2, 1));
    ImageRef img = getImageFromCurrentImageContext();
    endImageContext();
    EXPECT_EQ(currentContext(), nullptr);
    ASSERT_NE(img, nullptr);
    EXPECT_EQ(pixelAt(*img, 0, 0), (Pixel{255, 0, 0, 255}));
    EXPECT_EQ(pixelAt(*img, 0, 1), (Pixel{0, 0, 0, 0}));
    EXPECT_FALSE(beginImageContext(Size{0, 5}));
}

// A view that says it has nothing of its own to draw (a picture layer whose
// picture is a child view) is never asked to draw and never gets a backing
// store, not even for its first frame; its children and its background
// colour still show.
TEST_F(Rendering, AViewWithNothingOfItsOwnIsNeverDrawn) {
    class Frame : public BarView {
    public:
        using BarView::BarView;
        bool drawsContent() const override { return false; }
    };
    auto frame = std::make_shared<Frame>(Rect(0, 20, 300, 200));
    auto bar = std::make_shared<BarView>(Rect(0, 0, 10, 10));
    frame->addSubview(bar);
    window->addSubview(frame);
    window->render(*fb);
    EXPECT_EQ(frame->draws, 0);
    EXPECT_EQ(frame->backingStore(), nullptr);
    EXPECT_EQ(pixelAt(*fb, 1, 21)[1], 255);
    EXPECT_EQ(pixelAt(*fb, 100, 21), (Pixel{255, 0, 0, 0}));
    frame->setBackgroundColor(Color::white());
    window->render(*fb);
    EXPECT_EQ(pixelAt(*fb, 100, 100), (Pixel{255, 255, 255, 255}));
    frame->setBackgroundColor(std::nullopt);
    window->render(*fb);
    EXPECT_EQ(frame->backingStore(), nullptr);
}

TEST_F(Rendering, APlainContainerKeepsNoBackingStore) {
    auto container = std::make_shared<View>(Rect(0, 20, 320, 460));
    auto bar = std::make_shared<BarView>(Rect(0, 0, 10, 10));
    container->addSubview(bar);
    window->addSubview(container);
    window->render(*fb);
    EXPECT_EQ(container->backingStore(), nullptr);
    EXPECT_NE(bar->backingStore(), nullptr);
    EXPECT_EQ(pixelAt(*fb, 1, 21)[1], 255);
    // A background alone is laid straight into the framebuffer, under the subviews.
    container->setBackgroundColor(Color::white());
    window->render(*fb);
    EXPECT_EQ(container->backingStore(), nullptr);
    EXPECT_EQ(pixelAt(*fb, 100, 100), (Pixel{255, 255, 255, 255}));
    EXPECT_EQ(pixelAt(*fb, 1, 21)[1], 255);
    container->setBackgroundColor(std::nullopt);
    window->render(*fb);
    EXPECT_EQ(container->backingStore(), nullptr);
    EXPECT_EQ(pixelAt(*fb, 100, 100), (Pixel{255, 0, 0, 0}));
}

// A fade with a delay keeps a just-added view fully shown until the delay ends,
// then fades it over its duration; the model value is the end value at once.
TEST_F(Rendering, ADelayedFadeOfAJustAddedViewShowsItUntilTheDelayEnds) {
    auto bar = std::make_shared<BarView>(Rect(0, 0, 20, 20));
    bar->setBackgroundColor(Color::rgb(0, 0, 1));
    window->addSubview(bar);
    View::beginAnimations("fade");
    View::setAnimationDelay(2);
    View::setAnimationDuration(1);
    View::setAnimationCurve(AnimationCurve::Linear);
    bar->setAlpha(0);
    View::commitAnimations();
    EXPECT_EQ(bar->alpha(), 0);
    window->render(*fb);
    EXPECT_EQ(pixelAt(*fb, 5, 10), (Pixel{255, 0, 0, 255})) << "hidden before the delay ended";
    RunLoop::main().advanceBy(1.5);
    window->render(*fb);
    EXPECT_EQ(pixelAt(*fb, 5, 10), (Pixel{255, 0, 0, 255}));
    RunLoop::main().advanceBy(1.0); // halfway through the fade
    window->render(*fb);
    EXPECT_NEAR(pixelAt(*fb, 5, 10)[3], 128, 2);
    RunLoop::main().advanceBy(1.0);
    window->render(*fb);
    EXPECT_EQ(pixelAt(*fb, 5, 10), (Pixel{255, 0, 0, 0}));
}

// Views of one colour (the window itself, a plain panel) keep no backing store:
// the colour is laid into the framebuffer as shown, faded, moved and recoloured.
TEST_F(Rendering, AColourOnlyViewIsLaidStraightIntoTheFramebuffer) {
    window->setBackgroundColor(Color::rgb(0, 0, 1));
    auto panel = std::make_shared<View>(Rect(100, 100, 50, 50));
    panel->setBackgroundColor(Color::white());
    window->addSubview(panel);
    window->render(*fb);
    EXPECT_EQ(window->backingStore(), nullptr);
    EXPECT_EQ(pixelAt(*fb, 5, 5), (Pixel{255, 0, 0, 255}));
    EXPECT_EQ(pixelAt(*fb, 120, 120), (Pixel{255, 255, 255, 255}));

    panel->setAlpha(0.5f);
    window->render(*fb);
    EXPECT_EQ(panel->backingStore(), nullptr);
    const Pixel half = pixelAt(*fb, 120, 120); // white at half over blue
    EXPECT_NEAR(half[1], 128, 1);
    EXPECT_NEAR(half[2], 128, 1);
    EXPECT_EQ(half[3], 255);

    panel->setAlpha(1);
    panel->setCenter(Point{25, 300});
    panel->setBackgroundColor(Color::rgb(1, 0, 0));
    window->render(*fb);
    EXPECT_EQ(pixelAt(*fb, 120, 120), (Pixel{255, 0, 0, 255})); // uncovered
    EXPECT_EQ(pixelAt(*fb, 25, 300), (Pixel{255, 255, 0, 0}));
}
