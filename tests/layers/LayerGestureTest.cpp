// The one- and two-finger gesture of both layer kinds: the incremental
// transform, how fingers joining and leaving commit it, and where touches go
// when the layer does not take them.

#include <algorithm>
#include <cmath>

#include "LayersTestSupport.h"

namespace zorbel::testing {
namespace {

using platform::AffineTransform;
using platform::Point;
using platform::Rect;

class LayerGestureTest : public LayersTest {
protected:
    // A 200 x 100 picture layer centred at (160, 230).
    std::shared_ptr<TouchImageView> layer() {
        if (!layer_)
            layer_ = addPictureLayer(Rect(60, 180, 200, 100));
        return layer_;
    }
    std::shared_ptr<TouchImageView> layer_;
};

TEST_F(LayerGestureTest, OneFingerDragMovesExactlyWithTheFingerAndKeepsTurnAndScale) {
    auto l = layer();
    const AffineTransform turned = AffineTransform::makeRotation(0.5f).scaled(1.5f, 1.5f);
    l->setOriginalTransform(turned);
    l->setTransform(turned);
    Fingers f(*l);
    f.down(1, {150, 220});
    f.move(1, {180.5f, 240.25f});
    // While moving, the committed transform stays; the shown one follows.
    EXPECT_EQ(l->originalTransform(), turned);
    EXPECT_EQ(l->transform(), turned.concat(AffineTransform::makeTranslation(30.5f, 20.25f)));
    f.up(1, {190.5f, 250.25f});
    EXPECT_EQ(l->originalTransform(),
              turned.concat(AffineTransform::makeTranslation(40.5f, 30.25f)));
    EXPECT_EQ(l->transform(), l->originalTransform());
    EXPECT_EQ(l->gesture().cachedTouchCount(), 0u);
    EXPECT_EQ(delegate.lastImage, l);
}

TEST_F(LayerGestureTest, TwoFingersSpreadToTwiceTheirDistanceDoubleTheLayerWithoutTurning) {
    auto l = layer();
    Fingers f(*l);
    f.down(1, {110, 230});
    f.down(2, {210, 230});
    f.move(1, {60, 230});
    f.move(2, {260, 230});
    expectTransformNear(l->transform(), AffineTransform::makeScale(2, 2));
    EXPECT_EQ(l->frame(), Rect(-40, 130, 400, 200));
    f.up(1);
    f.up(2);
    EXPECT_TRUE(delegate.dirty) << "a second finger marks the document changed";
}

TEST_F(LayerGestureTest, TwoFingersTurnedAQuarterAboutTheCentreTurnTheLayerAQuarter) {
    auto l = layer();
    Fingers f(*l);
    f.down(1, {110, 230});
    f.down(2, {210, 230});
    f.move(1, {160, 180});
    f.move(2, {160, 280});
    expectTransformNear(l->transform(), AffineTransform::makeRotation(LayerGesture::kQuarterTurn));
    f.up(1);
    f.up(2);
    expectTransformNear(l->originalTransform(),
                        AffineTransform::makeRotation(LayerGesture::kQuarterTurn));
}

TEST_F(LayerGestureTest, PinchAwayFromTheCentreFollowsBothFingers) {
    // The transform is applied about the centre: the layer point under each
    // finger must stay under it.
    auto l = layer();
    Fingers f(*l);
    const Point a{100, 200}, b{140, 260};
    const Point inLayerA = l->convertPointFromView(a, nullptr);
    const Point inLayerB = l->convertPointFromView(b, nullptr);
    f.down(1, a);
    f.down(2, b);
    const Point a2{90, 170}, b2{200, 300};
    f.move(1, a2);
    f.move(2, b2);
    const Point nowA = l->convertPointToView(inLayerA, nullptr);
    const Point nowB = l->convertPointToView(inLayerB, nullptr);
    EXPECT_NEAR(nowA.x, a2.x, 1e-3);
    EXPECT_NEAR(nowA.y, a2.y, 1e-3);
    EXPECT_NEAR(nowB.x, b2.x, 1e-3);
    EXPECT_NEAR(nowB.y, b2.y, 1e-3);
}

TEST_F(LayerGestureTest, CoincidentBeginPointsDragLikeTheFirstFingerInAddressOrder) {
    auto l = layer();
    Fingers f(*l);
    const platform::Touch* t1 = f.down(1, {150, 220});
    const platform::Touch* t2 = f.down(2, {150.1f, 220.1f}); // D = 0.02
    f.move(1, {170, 230});
    f.move(2, {100, 100});
    const bool firstIsOne = LayerGesture::compareAddress(t1, t2) < 0;
    const AffineTransform expected = firstIsOne ? AffineTransform::makeTranslation(20, 10)
                                                : AffineTransform::makeTranslation(-50.1f, -120.1f);
    expectTransformNear(l->transform(), expected);
    EXPECT_TRUE(std::isfinite(l->transform().a));
}

TEST_F(LayerGestureTest, OnlyTheFirstTwoFingersInAddressOrderSteer) {
    auto l = layer();
    Fingers f(*l);
    const std::vector<const platform::Touch*> t = {f.down(1, {110, 230}), f.down(2, {210, 230}),
                                                   f.down(3, {160, 260})};
    std::vector<const platform::Touch*> order = t;
    std::sort(order.begin(), order.end(),
              [](auto* a, auto* b) { return LayerGesture::compareAddress(a, b) < 0; });
    auto fingerOf = [&](const platform::Touch* touch) {
        return int(std::find(t.begin(), t.end(), touch) - t.begin()) + 1;
    };
    const AffineTransform before = l->transform();
    // The third finger in address order moves: nothing happens.
    f.move(fingerOf(order[2]), {10, 400});
    EXPECT_EQ(l->transform(), before);
    // The first two spread from the centre: the layer grows.
    const Point b0 = *l->gesture().beginPointForTouch(order[0]);
    const Point b1 = *l->gesture().beginPointForTouch(order[1]);
    const Point c{160, 230};
    f.move(fingerOf(order[0]), {c.x + 2 * (b0.x - c.x), c.y + 2 * (b0.y - c.y)});
    f.move(fingerOf(order[1]), {c.x + 2 * (b1.x - c.x), c.y + 2 * (b1.y - c.y)});
    expectTransformNear(l->transform(), AffineTransform::makeScale(2, 2), 1e-3f);
}

TEST_F(LayerGestureTest, LiftingOneOfTwoFingersCommitsWithoutAJump) {
    auto l = layer();
    Fingers f(*l);
    f.down(1, {110, 230});
    f.down(2, {210, 230});
    f.move(1, {80, 210});
    f.move(2, {250, 260});
    const AffineTransform shown = l->transform();
    f.up(1);
    expectTransformNear(l->transform(), shown);
    expectTransformNear(l->originalTransform(), shown);
    // The remaining finger drags on from where it is.
    f.move(2, {260, 265});
    expectTransformNear(l->transform(), shown.concat(AffineTransform::makeTranslation(10, 5)));
    f.up(2);
    EXPECT_EQ(l->gesture().cachedTouchCount(), 0u);
}

TEST_F(LayerGestureTest, AFingerJoiningFoldsTheMotionSoFarIn) {
    auto l = layer();
    Fingers f(*l);
    f.down(1, {150, 220});
    f.move(1, {170, 220});
    f.down(2, {250, 250});
    // The first finger's drag is committed and both start afresh.
    EXPECT_EQ(l->originalTransform(), AffineTransform::makeTranslation(20, 0));
    EXPECT_EQ(l->transform(), AffineTransform::makeTranslation(20, 0));
}

TEST_F(LayerGestureTest, AFingerWithNoBeginPointIsTakenFromWhereItIsFirstSeen) {
    // A finger whose touch-down went to the canvas (it came down in the
    // corner) and then moved out over the layer.
    auto l = addPictureLayer(Rect(0, 0, 300, 300));
    Fingers f(*l);
    f.down(1, {30, 30});
    EXPECT_EQ(canvas->phases, std::vector<std::string>{"began"});
    EXPECT_EQ(l->gesture().cachedTouchCount(), 0u);
    f.move(1, {100, 100});
    EXPECT_EQ(l->transform(), AffineTransform::identity());
    f.move(1, {110, 105});
    EXPECT_EQ(l->transform(), AffineTransform::makeTranslation(10, 5));
    f.up(1);
    EXPECT_EQ(l->originalTransform(), AffineTransform::makeTranslation(10, 5));
}

TEST_F(LayerGestureTest, NoTouchesGiveTheIdentity) {
    EXPECT_EQ(layer()->incrementalTransformWithTouches({}), AffineTransform::identity());
    const AffineTransform before = layer()->originalTransform();
    layer()->updateOriginalTransformForTouches({});
    EXPECT_EQ(layer()->originalTransform(), before);
}

// --- Routing through the window -------------------------------------------

TEST_F(LayerGestureTest, TheCornerZoneGoesToTheCanvasTouchDownInEveryPhase) {
    auto l = addPictureLayer(Rect(0, 0, 200, 200));
    window->touchDown(1, {30, 40}, 1);
    window->touchMove(1, {50, 50});
    window->touchUp(1, {50, 50});
    EXPECT_EQ(canvas->phases, (std::vector<std::string>{"began", "began", "began"}));
    EXPECT_EQ(l->transform(), AffineTransform::identity());
    // Just outside the zone the layer moves.
    canvas->phases.clear();
    window->touchDown(1, {60, 40}, 1);
    window->touchMove(1, {70, 45});
    window->touchUp(1, {70, 45});
    EXPECT_TRUE(canvas->phases.empty());
    EXPECT_EQ(l->transform(), AffineTransform::makeTranslation(10, 5));
}

TEST_F(LayerGestureTest, UnderAnotherToolALayerPassesWholeStrokesToTheCanvas) {
    auto picture = addPictureLayer(Rect(0, 100, 320, 100));
    delegate.tool = LayersDelegate::kTextTool;
    window->touchDown(1, {100, 150}, 1);
    window->touchMove(1, {120, 160});
    window->touchUp(1, {120, 160});
    EXPECT_EQ(canvas->phases, (std::vector<std::string>{"began", "moved", "ended"}));
    EXPECT_EQ(picture->transform(), AffineTransform::identity());
    EXPECT_EQ(delegate.lastImage, nullptr);

    // A text layer under the shape tool likewise, a cancelled touch ending it.
    canvas->phases.clear();
    auto text = std::make_shared<TextLayerView>(Rect(0, 300, 320, 100));
    canvas->addSubview(text);
    delegate.tool = LayersDelegate::kShapeTool;
    window->touchDown(1, {100, 350}, 1);
    window->touchMove(1, {120, 360});
    window->touchCancel(1, {120, 360});
    EXPECT_EQ(canvas->phases, (std::vector<std::string>{"began", "moved", "ended"}));
    EXPECT_EQ(text->transform(), AffineTransform::identity());
}

TEST_F(LayerGestureTest, TwoFingersThroughTheWindowPinchTheLayer) {
    auto l = layer();
    window->touchDown(1, {110, 230}, 1);
    window->touchDown(2, {210, 230}, 1);
    window->touchMove(1, {60, 230});
    window->touchMove(2, {260, 230});
    window->touchUp(1, {60, 230});
    window->touchUp(2, {260, 230});
    expectTransformNear(l->originalTransform(), AffineTransform::makeScale(2, 2));
    EXPECT_TRUE(canvas->phases.empty());
}

// --- The mouse wheel ---------------------------------------------------------

TEST_F(LayerGestureTest, TheWheelScalesAboutThePointerAndShiftTurnsLikeAPinch) {
    auto l = layer();
    const Point pointer{200, 250};
    const Point underPointer = l->convertPointFromView(pointer, nullptr);
    // Two notches away from the person: 1.1 squared, the pointer's spot kept.
    EXPECT_TRUE(window->scrollWheel(pointer, 0, 2));
    const float s = LayerGesture::kWheelScaleStep * LayerGesture::kWheelScaleStep;
    EXPECT_NEAR(l->originalTransform().a, s, 1e-4f);
    EXPECT_NEAR(l->originalTransform().b, 0, 1e-5f);
    EXPECT_EQ(l->transform(), l->originalTransform());
    const Point back = l->convertPointToView(underPointer, nullptr);
    EXPECT_NEAR(back.x, pointer.x, 1e-3f);
    EXPECT_NEAR(back.y, pointer.y, 1e-3f);
    EXPECT_TRUE(delegate.dirty);
    EXPECT_EQ(delegate.lastImage, l);

    // Shift (sideways) turns by two steps without scaling further; one notch
    // back towards the person undoes one scale step.
    EXPECT_TRUE(window->scrollWheel(pointer, 2, 0));
    EXPECT_TRUE(window->scrollWheel(pointer, 0, -1));
    const AffineTransform& t = l->originalTransform();
    EXPECT_NEAR(std::atan2(t.b, t.a), 2 * LayerGesture::kWheelTurnStep, 1e-4f);
    EXPECT_NEAR(std::sqrt(t.a * t.d - t.b * t.c), LayerGesture::kWheelScaleStep, 1e-4f);
    const Point still = l->convertPointToView(underPointer, nullptr);
    EXPECT_NEAR(still.x, pointer.x, 1e-2f);
    EXPECT_NEAR(still.y, pointer.y, 1e-2f);
    EXPECT_TRUE(canvas->phases.empty());
}

TEST_F(LayerGestureTest, TheWheelLeavesLayersAloneUnderOtherToolsAndDuringAPinch) {
    auto l = layer();
    delegate.tool = 1; // a paint brush: the wheel is not the layer's
    EXPECT_FALSE(window->scrollWheel({160, 230}, 0, 3));
    EXPECT_EQ(l->originalTransform(), AffineTransform::identity());
    EXPECT_FALSE(delegate.dirty);
    EXPECT_EQ(delegate.lastImage, nullptr);
    // Nor over the painting where there is no layer.
    delegate.tool = LayersDelegate::kShapeTool;
    EXPECT_FALSE(window->scrollWheel({20, 420}, 0, 3));
    EXPECT_FALSE(delegate.dirty);

    // Fingers on the layer own its transform until they lift.
    window->touchDown(1, {110, 230}, 1);
    EXPECT_TRUE(window->scrollWheel({160, 230}, 0, 3));
    window->touchUp(1, {110, 230});
    EXPECT_EQ(l->originalTransform(), AffineTransform::identity());
}

TEST_F(LayerGestureTest, TheWheelKeepsALayerBetweenASixteenthAndSixteenTimes) {
    auto l = layer();
    window->scrollWheel({160, 230}, 0, 100);
    EXPECT_NEAR(l->originalTransform().a, LayerGesture::kWheelMaxScale, 1e-2f);
    window->scrollWheel({160, 230}, 0, -300);
    EXPECT_NEAR(l->originalTransform().a, LayerGesture::kWheelMinScale, 1e-4f);
    // Still found under the pointer, and grows again.
    EXPECT_TRUE(window->scrollWheel({160, 230}, 0, 1));
    EXPECT_NEAR(l->originalTransform().a,
                LayerGesture::kWheelMinScale * LayerGesture::kWheelScaleStep, 1e-4f);
}

TEST_F(LayerGestureTest, TheWheelScalesATextLayerUnderTheTextTool) {
    auto text = std::make_shared<TextLayerView>(Rect(60, 180, 200, 100));
    canvas->addSubview(text);
    delegate.tool = LayersDelegate::kShapeTool;
    EXPECT_FALSE(window->scrollWheel({160, 230}, 0, 1)) << "the shape tool owns picture layers";
    delegate.tool = LayersDelegate::kTextTool;
    EXPECT_TRUE(window->scrollWheel({160, 230}, 0, 1));
    expectTransformNear(text->originalTransform(),
                        AffineTransform::makeScale(LayerGesture::kWheelScaleStep,
                                                   LayerGesture::kWheelScaleStep));
    EXPECT_EQ(delegate.lastText, text);
    EXPECT_TRUE(delegate.dirty);
}

// --- Taps -----------------------------------------------------------------

TEST_F(LayerGestureTest, DoubleTapBringsALayerBehindToTheFrontThenResetsIt) {
    auto back = addPictureLayer(Rect(20, 100, 200, 100));
    auto front = addPictureLayer(Rect(120, 100, 200, 100));
    const AffineTransform moved = AffineTransform::makeRotation(0.3f).scaled(2, 2);
    back->setOriginalTransform(moved);
    back->setTransform(moved);
    Fingers f(*back);
    f.down(1, {60, 150}, 1);
    f.up(1);
    f.down(1, {60, 150}, 2);
    f.up(1);
    ASSERT_EQ(canvas->subviews().back(), back);
    EXPECT_EQ(back->transform(), moved) << "bringing to the front keeps the transform";
    f.down(1, {60, 150}, 1);
    f.up(1);
    f.down(1, {60, 150}, 2);
    f.up(1);
    EXPECT_EQ(back->transform(), AffineTransform::identity());
    EXPECT_EQ(back->originalTransform(), AffineTransform::identity());
    (void)front;
}

TEST_F(LayerGestureTest, DoubleTapOnTheFrontLayerInLandscapeResetsToAQuarterTurn) {
    auto l = layer();
    delegate.currentOrientation = 3;
    Fingers f(*l);
    f.down(1, {160, 230}, 2);
    f.up(1);
    const AffineTransform quarter = AffineTransform::makeRotation(1.5707964f);
    EXPECT_EQ(l->transform(), quarter);
    EXPECT_EQ(l->originalTransform(), quarter);
}

TEST_F(LayerGestureTest, TripleTapDeletesAPictureLayerAndClearsTheDelegatesReference) {
    auto l = layer();
    window->touchDown(1, {160, 230}, 1);
    window->touchUp(1, {160, 230});
    EXPECT_EQ(delegate.lastImage, l);
    window->touchDown(1, {160, 230}, 2);
    window->touchUp(1, {160, 230});
    window->touchDown(1, {160, 230}, 3);
    window->touchUp(1, {160, 230});
    EXPECT_EQ(l->superview(), nullptr);
    EXPECT_TRUE(canvas->subviews().empty());
    EXPECT_EQ(delegate.lastImage, nullptr);
}

TEST_F(LayerGestureTest, TripleTapDeletesATextLayerThatNothingElseHolds) {
    delegate.tool = LayersDelegate::kTextTool;
    std::weak_ptr<TextLayerView> weak;
    {
        auto text = std::make_shared<TextLayerView>(Rect(0, 200, 320, 100));
        canvas->addSubview(text);
        weak = text;
    }
    for (int taps = 1; taps <= 3; ++taps) {
        window->touchDown(1, {160, 250}, taps);
        if (taps == 1) {
            EXPECT_EQ(delegate.lastText, weak.lock());
        }
        window->touchUp(1, {160, 250});
    }
    EXPECT_TRUE(canvas->subviews().empty());
    EXPECT_EQ(delegate.lastText, nullptr);
    EXPECT_TRUE(weak.expired()) << "the deleted caption is released";
}

// --- The kept picture -----------------------------------------------------

TEST_F(LayerGestureTest, ThePictureIsRedrawnOnlyWhenAGestureEndsAndNeverLarger) {
    auto l = layer();
    Fingers f(*l);
    f.down(1, {110, 230});
    f.down(2, {210, 230});
    // Turned a quarter and halved: while the fingers move, the kept picture
    // stays as it was.
    f.move(1, {160, 205});
    f.move(2, {160, 255});
    EXPECT_EQ(l->keptTransform(), AffineTransform::identity());
    f.up(1);
    EXPECT_EQ(l->keptTransform(), AffineTransform::identity()) << "one finger still down";
    f.up(2);
    AffineTransform shown = l->transform();
    shown.tx = shown.ty = 0;
    expectTransformNear(l->keptTransform(), shown);
    EXPECT_NEAR(l->keptTransform().b, 0.5f, 1e-4f);

    // Spread to four times: the picture is kept at its drawn size, turned.
    f.down(1, {160, 215});
    f.down(2, {160, 245});
    f.move(1, {160, 170});
    f.move(2, {160, 290});
    f.up(1);
    f.up(2);
    expectTransformNear(l->keptTransform(),
                        AffineTransform::makeRotation(LayerGesture::kQuarterTurn), 1e-3f);
}

// --- Flip and landscape ---------------------------------------------------

TEST_F(LayerGestureTest, FlippingTwiceGivesTheLayerBack) {
    auto l = layer();
    const AffineTransform start = AffineTransform::makeRotation(0.4f).translated(5, 7);
    l->setOriginalTransform(start);
    l->setTransform(start);
    l->flipView();
    expectTransformNear(l->transform(), start.concat(AffineTransform::makeScale(-1, 1)));
    l->flipView();
    EXPECT_EQ(l->transform(), start);
    EXPECT_EQ(l->originalTransform(), start);

    // In landscape the flip mirrors top to bottom (as the turned picture is seen).
    delegate.currentOrientation = 4;
    l->setLandscapeRotation();
    const AffineTransform quarter = l->originalTransform();
    l->flipView();
    expectTransformNear(l->transform(), quarter.concat(AffineTransform::makeScale(1, -1)));
    l->flipView();
    expectTransformNear(l->transform(), quarter, 1e-6f);
}

} // namespace
} // namespace zorbel::testing
