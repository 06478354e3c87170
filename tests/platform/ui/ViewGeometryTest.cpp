#include <cmath>
#include <memory>
#include <numbers>

#include <gtest/gtest.h>

#include "platform/ui/Application.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"

using namespace platform;

namespace {

void expectPoint(Point actual, float x, float y) {
    EXPECT_NEAR(actual.x, x, 1e-3f);
    EXPECT_NEAR(actual.y, y, 1e-3f);
}

void expectRect(const Rect& r, float x, float y, float w, float h) {
    EXPECT_NEAR(r.minX(), x, 1e-3f);
    EXPECT_NEAR(r.minY(), y, 1e-3f);
    EXPECT_NEAR(r.width(), w, 1e-3f);
    EXPECT_NEAR(r.height(), h, 1e-3f);
}

} // namespace

TEST(ViewGeometry, FrameSetsCenterAndBoundsSize) {
    View v(Rect(10, 20, 100, 50));
    expectPoint(v.center(), 60, 45);
    expectRect(v.bounds(), 0, 0, 100, 50);
    v.setCenter(Point{0, 0});
    expectRect(v.frame(), -50, -25, 100, 50);
}

TEST(ViewGeometry, TransformTurnsAboutTheCentreAndFrameIsItsBoundingBox) {
    View v(Rect(0, 0, 100, 50));
    v.setTransform(AffineTransform::makeRotation(float(std::numbers::pi / 2)));
    // A quarter turn about (50, 25): the 100 x 50 box becomes 50 x 100.
    expectRect(v.frame(), 25, -25, 50, 100);
    // Setting the frame under a turn keeps the turn and swaps the size back.
    v.setFrame(Rect(0, 0, 50, 100));
    expectRect(v.bounds(), 0, 0, 100, 50);
    expectPoint(v.center(), 25, 50);
}

TEST(ViewGeometry, FrameUnderATranslatingTransformKeepsTheBoxWhereAsked) {
    View v(Rect(0, 0, 320, 480));
    // The landscape counter-turn of the toolbar controller: a quarter turn
    // back with an offset of (-10, 10).
    const float a = 500, b = 480;
    const AffineTransform t = AffineTransform::makeTranslation(-a / 2, -b / 2)
                                  .rotated(-1.5707964f)
                                  .translated(-a / 2, b / 2);
    v.setTransform(t);
    v.setFrame(Rect(0, -20, 480, 320));
    v.setBounds(Rect(0, 0, 320, 480));
    expectRect(v.frame(), 0, -20, 480, 320);
}

TEST(ViewGeometry, PointConversionGoesThroughTransformsAndBoundsOrigins) {
    auto root = std::make_shared<View>(Rect(0, 0, 320, 480));
    auto parent = std::make_shared<View>(Rect(100, 100, 100, 100));
    auto child = std::make_shared<View>(Rect(10, 10, 20, 20));
    root->addSubview(parent);
    parent->addSubview(child);
    expectPoint(child->convertPointToView(Point{0, 0}, nullptr), 110, 110);
    expectPoint(child->convertPointToView(Point{0, 0}, parent.get()), 10, 10);
    parent->setBounds(Rect(5, 5, 100, 100)); // scrolled content
    expectPoint(child->convertPointToView(Point{0, 0}, nullptr), 105, 105);
    parent->setTransform(AffineTransform::makeScale(2, 2));
    // Scaled by 2 about the centre (150, 150): (105 - 150) * 2 + 150 = 60.
    expectPoint(child->convertPointToView(Point{0, 0}, nullptr), 60, 60);
    expectPoint(child->convertPointFromView(Point{60, 60}, nullptr), 0, 0);
}

TEST(ViewHitTest, FindsTheFrontmostViewThroughTransforms) {
    auto root = std::make_shared<View>(Rect(0, 0, 320, 480));
    auto back = std::make_shared<View>(Rect(0, 0, 200, 200));
    auto front = std::make_shared<View>(Rect(50, 50, 100, 100));
    root->addSubview(back);
    root->addSubview(front);
    EXPECT_EQ(root->hitTest(Point{60, 60}, nullptr), front.get());
    EXPECT_EQ(root->hitTest(Point{10, 10}, nullptr), back.get());
    EXPECT_EQ(root->hitTest(Point{300, 400}, nullptr), root.get());
    // Turned by 45 degrees about its centre (100, 100): its corner near
    // (50, 50) moves away, so (55, 55) falls to the view behind.
    front->setTransform(AffineTransform::makeRotation(float(std::numbers::pi / 4)));
    EXPECT_EQ(root->hitTest(Point{55, 55}, nullptr), back.get());
    EXPECT_EQ(root->hitTest(Point{100, 35}, nullptr), front.get());
}

TEST(ViewHitTest, SkipsHiddenTransparentAndNonInteractiveViews) {
    auto root = std::make_shared<View>(Rect(0, 0, 100, 100));
    auto a = std::make_shared<View>(Rect(0, 0, 100, 100));
    auto inner = std::make_shared<View>(Rect(0, 0, 50, 50));
    root->addSubview(a);
    a->addSubview(inner);
    EXPECT_EQ(root->hitTest(Point{10, 10}, nullptr), inner.get());
    a->setHidden(true);
    EXPECT_EQ(root->hitTest(Point{10, 10}, nullptr), root.get());
    a->setHidden(false);
    a->setAlpha(0.005f);
    EXPECT_EQ(root->hitTest(Point{10, 10}, nullptr), root.get());
    a->setAlpha(1);
    a->setUserInteractionEnabled(false);
    EXPECT_EQ(root->hitTest(Point{10, 10}, nullptr), root.get());
}

TEST(ViewTree, ViewWithTagFindsItselfFirstThenDescendants) {
    auto root = std::make_shared<View>();
    auto a = std::make_shared<View>();
    auto b = std::make_shared<View>();
    root->setTag(100);
    a->setTag(7);
    b->setTag(7);
    root->addSubview(a);
    a->addSubview(b);
    EXPECT_EQ(root->viewWithTag(100), root.get());
    EXPECT_EQ(root->viewWithTag(7), a.get());
    EXPECT_EQ(b->viewWithTag(7), b.get());
    EXPECT_EQ(root->viewWithTag(3), nullptr);
}

TEST(ViewTree, OrderOperationsMoveSubviews) {
    auto root = std::make_shared<View>();
    auto a = std::make_shared<View>(), b = std::make_shared<View>(), c = std::make_shared<View>();
    root->addSubview(a);
    root->addSubview(b);
    root->insertSubviewAtIndex(c, 0);
    ASSERT_EQ(root->subviews().size(), 3u);
    EXPECT_EQ(root->subviews()[0], c);
    root->bringSubviewToFront(c.get());
    EXPECT_EQ(root->subviews()[2], c);
    root->sendSubviewToBack(b.get());
    EXPECT_EQ(root->subviews()[0], b);
    root->insertSubviewAbove(a, c.get()); // moves a above c
    EXPECT_EQ(root->subviews().back(), a);
    // Adding to another parent moves it there.
    auto other = std::make_shared<View>();
    other->addSubview(a);
    EXPECT_EQ(root->subviews().size(), 2u);
    EXPECT_EQ(a->superview(), other.get());
    a->removeFromSuperview();
    EXPECT_EQ(a->superview(), nullptr);
    EXPECT_TRUE(other->subviews().empty());
    // A view cannot become its own ancestor's parent.
    a->addSubview(b);
    b->addSubview(a);
    EXPECT_EQ(a->superview(), nullptr);
}

TEST(ViewTree, WindowIsFoundFromAnyDescendant) {
    Application::shared().resetForTesting();
    auto window = std::make_shared<Window>();
    auto v = std::make_shared<View>();
    auto w = std::make_shared<View>();
    v->addSubview(w);
    EXPECT_EQ(w->window(), nullptr);
    window->addSubview(v);
    EXPECT_EQ(w->window(), window.get());
}

TEST(Autoresizing, FlexibleWidthAndHeightFollowTheSuperview) {
    auto root = std::make_shared<View>(Rect(0, 0, 320, 480));
    auto toolbarView = std::make_shared<View>(Rect(0, 20, 320, 460));
    toolbarView->setAutoresizingMask(18); // flexible width and height
    root->addSubview(toolbarView);
    root->setFrame(Rect(0, 0, 480, 320));
    expectRect(toolbarView->frame(), 0, 20, 480, 300);
}

TEST(Autoresizing, FlexibleMarginsShareTheChangeByTheirSizes) {
    auto root = std::make_shared<View>(Rect(0, 0, 320, 480));
    // Stuck to the bottom: flexible top margin only.
    auto bottom = std::make_shared<View>(Rect(0, 436, 320, 44));
    bottom->setAutoresizingMask(AutoresizingFlexibleTopMargin | AutoresizingFlexibleWidth);
    // Centred horizontally: both side margins flexible (equal sizes).
    auto centred = std::make_shared<View>(Rect(110, 0, 100, 10));
    centred->setAutoresizingMask(AutoresizingFlexibleLeftMargin | AutoresizingFlexibleRightMargin);
    // Fixed: no mask.
    auto fixed = std::make_shared<View>(Rect(5, 5, 10, 10));
    root->addSubview(bottom);
    root->addSubview(centred);
    root->addSubview(fixed);
    root->setFrame(Rect(0, 0, 480, 320));
    expectRect(bottom->frame(), 0, 276, 480, 44);
    expectRect(centred->frame(), 190, 0, 100, 10);
    expectRect(fixed->frame(), 5, 5, 10, 10);
}

TEST(Autoresizing, NothingMovesWhenTheSuperviewDoesNotResizeSubviews) {
    auto root = std::make_shared<View>(Rect(0, 0, 100, 100));
    auto child = std::make_shared<View>(Rect(0, 0, 100, 100));
    child->setAutoresizingMask(AutoresizingFlexibleWidth);
    root->addSubview(child);
    root->setAutoresizesSubviews(false);
    root->setFrame(Rect(0, 0, 200, 100));
    expectRect(child->frame(), 0, 0, 100, 100);
}

TEST(ContentMode, PlacesContentInBounds) {
    const Rect b(0, 0, 100, 50);
    const Size c{20, 20};
    EXPECT_EQ(rectForContentMode(ContentMode::ScaleToFill, c, b), b);
    EXPECT_EQ(rectForContentMode(ContentMode::ScaleAspectFit, c, b), Rect(25, 0, 50, 50));
    EXPECT_EQ(rectForContentMode(ContentMode::ScaleAspectFill, c, b), Rect(0, -25, 100, 100));
    EXPECT_EQ(rectForContentMode(ContentMode::Center, c, b), Rect(40, 15, 20, 20));
    EXPECT_EQ(rectForContentMode(ContentMode::BottomRight, c, b), Rect(80, 30, 20, 20));
}
