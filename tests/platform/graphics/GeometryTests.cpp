#include <gtest/gtest.h>

#include <cmath>

#include "platform/graphics/AffineTransform.h"
#include "platform/graphics/BlendMode.h"
#include "platform/graphics/Path.h"
#include "platform/graphics/Rect.h"

using namespace platform;

TEST(Rect, NegativeSizesReadAsTheirStandardizedForm) {
    const Rect r(10, 20, -4, -6);
    EXPECT_EQ(r.minX(), 6);
    EXPECT_EQ(r.maxX(), 10);
    EXPECT_EQ(r.minY(), 14);
    EXPECT_EQ(r.width(), 4);
    EXPECT_EQ(r.standardized(), Rect(6, 14, 4, 6));
    EXPECT_EQ(r.intersection(Rect(0, 0, 100, 100)), Rect(6, 14, 4, 6));
}

// Disjoint rectangles meet in the null rectangle; touching ones in an empty one.
TEST(Rect, IntersectionOfDisjointRectsIsNull) {
    EXPECT_TRUE(Rect(0, 0, 5, 5).intersection(Rect(6, 0, 5, 5)).isNull());
    const Rect touching = Rect(0, 0, 5, 5).intersection(Rect(5, 0, 5, 5));
    EXPECT_FALSE(touching.isNull());
    EXPECT_TRUE(touching.isEmpty());
    EXPECT_FALSE(Rect(0, 0, 5, 5).intersects(Rect(5, 0, 5, 5)));
    EXPECT_TRUE(Rect(0, 0, 5, 5).intersects(Rect(4.5f, 0, 5, 5)));
    EXPECT_TRUE(Rect::null().intersection(Rect(0, 0, 5, 5)).isNull());
}

TEST(Rect, UnionTreatsNullAsIdentity) {
    EXPECT_EQ(Rect::null().unionWith(Rect(1, 2, 3, 4)), Rect(1, 2, 3, 4));
    EXPECT_EQ(Rect(1, 2, 3, 4).unionWith(Rect::null()), Rect(1, 2, 3, 4));
    EXPECT_EQ(Rect(0, 0, 1, 1).unionWith(Rect(5, 5, 1, 1)), Rect(0, 0, 6, 6));
    EXPECT_TRUE(Rect::null().unionWith(Rect::null()).isNull());
}

TEST(Rect, InsetPastZeroGivesNull) {
    EXPECT_EQ(Rect(0, 0, 10, 6).inset(2, 1), Rect(2, 1, 6, 4));
    EXPECT_EQ(Rect(0, 0, 10, 6).inset(-1, -1), Rect(-1, -1, 12, 8));
    EXPECT_TRUE(Rect(0, 0, 10, 6).inset(6, 0).isNull());
    EXPECT_EQ(Rect(0, 0, 10, 6).inset(5, 3), Rect(5, 3, 0, 0));
}

TEST(Rect, ContainsIsHalfOpen) {
    const Rect r(0, 0, 10, 10);
    EXPECT_TRUE(r.contains(Point{0, 0}));
    EXPECT_FALSE(r.contains(Point{10, 5}));
    EXPECT_FALSE(r.contains(Point{5, 10}));
    EXPECT_TRUE(r.contains(Rect(2, 2, 8, 8)));
    EXPECT_FALSE(r.contains(Rect(2, 2, 9, 8)));
    EXPECT_FALSE(Rect::zero().contains(Point{0, 0}));
}

TEST(Rect, IntegralCoversTheRect) {
    EXPECT_EQ(Rect(0.5f, 1.25f, 2, 2).integral(), Rect(0, 1, 3, 3));
    EXPECT_EQ(Rect(-0.5f, -0.5f, 1, 1).integral(), Rect(-1, -1, 2, 2));
    EXPECT_TRUE(Rect::null().integral().isNull());
}

// t.translated(dx, dy) translates first, then applies t (the drawing order).
TEST(AffineTransform, BuildersApplyTheirStepFirst) {
    const auto t = AffineTransform::makeScale(2, 3).translated(1, 1);
    EXPECT_EQ(t.apply(Point{0, 0}), (Point{2, 3}));
    const auto u = AffineTransform::makeTranslation(1, 1).scaled(2, 3);
    EXPECT_EQ(u.apply(Point{0, 0}), (Point{1, 1}));
    EXPECT_EQ(u.apply(Point{1, 1}), (Point{3, 4}));
    const auto r = AffineTransform::makeRotation(float(M_PI / 2));
    const Point p = r.apply(Point{1, 0});
    EXPECT_NEAR(p.x, 0, 1e-6);
    EXPECT_NEAR(p.y, 1, 1e-6);
    // concat: this first, then the other.
    const auto c = AffineTransform::makeTranslation(5, 0).concat(AffineTransform::makeScale(2, 2));
    EXPECT_EQ(c.apply(Point{1, 1}), (Point{12, 2}));
}

TEST(AffineTransform, InverseUndoesAndSingularStaysUnchanged) {
    const AffineTransform t{2, 1, -1, 3, 7, -4};
    const Point p = t.inverted().apply(t.apply(Point{3, 5}));
    EXPECT_NEAR(p.x, 3, 1e-5);
    EXPECT_NEAR(p.y, 5, 1e-5);
    const AffineTransform singular{1, 2, 2, 4, 1, 1};
    EXPECT_EQ(singular.inverted(), singular);
}

TEST(AffineTransform, ApplyToRectGivesTheBoundingBox) {
    const auto t = AffineTransform::makeRotation(float(M_PI / 2));
    const Rect r = t.apply(Rect(0, 0, 4, 2));
    EXPECT_NEAR(r.minX(), -2, 1e-5);
    EXPECT_NEAR(r.maxX(), 0, 1e-5);
    EXPECT_NEAR(r.maxY(), 4, 1e-5);
    EXPECT_TRUE(t.apply(Rect::null()).isNull());
}

TEST(AffineTransform, TextFormRoundTrips) {
    const AffineTransform t{0.5f, -1.5707964f, 3, 1e-7f, -120.25f, 480};
    EXPECT_EQ(AffineTransform::fromString(t.toString()), t);
    EXPECT_EQ(AffineTransform::identity().toString(), "[1, 0, 0, 1, 0, 0]");
    EXPECT_EQ(AffineTransform::fromString(" [ 2 ,0,0, 2, -3.5, 4 ] "),
              (AffineTransform{2, 0, 0, 2, -3.5f, 4}));
}

TEST(AffineTransform, MalformedTextGivesIdentity) {
    for (const char* text :
         {"", "[]", "[1, 2, 3]", "[1, 2, 3, 4, 5, 6, 7]", "1, 0, 0, 1, 0, 0", "[1, 0, 0, 1, 0, 0",
          "[1, 0, 0, 1, 0, 0] x", "[a, 0, 0, 1, 0, 0]", "[nan, 0, 0, 1, 0, 0]",
          "[inf, 0, 0, 1, 0, 0]", "[1e99, 0, 0, 1, 0, 0]", "[1;0;0;1;0;0]"})
        EXPECT_TRUE(AffineTransform::fromString(text).isIdentity()) << text;
}

TEST(BlendMode, UnknownNumbersReadAsNormal) {
    EXPECT_EQ(blendModeFromInt(3), BlendMode::Overlay);
    EXPECT_EQ(blendModeFromInt(5), BlendMode::Lighten);
    EXPECT_EQ(blendModeFromInt(17), BlendMode::Copy);
    EXPECT_EQ(blendModeFromInt(6), BlendMode::Normal);
    EXPECT_EQ(blendModeFromInt(-1), BlendMode::Normal);
}

TEST(Path, RectAndEllipseOutlines) {
    Path p;
    p.addRect(Rect(1, 2, 3, 4));
    ASSERT_EQ(p.subpaths().size(), 1u);
    EXPECT_EQ(p.subpaths()[0].size(), 4u);
    EXPECT_TRUE(p.closed()[0]);
    EXPECT_EQ(p.bounds(), Rect(1, 2, 3, 4));
    Path e;
    e.addEllipseInRect(Rect(0, 0, 100, 50));
    const Rect b = e.bounds();
    EXPECT_NEAR(b.minX(), 0, 1e-3);
    EXPECT_NEAR(b.maxX(), 100, 1e-3);
    EXPECT_NEAR(b.maxY(), 50, 1e-3);
    for (const Point& q : e.subpaths()[0]) {
        const float dx = (q.x - 50) / 50, dy = (q.y - 25) / 25;
        EXPECT_NEAR(dx * dx + dy * dy, 1.0f, 0.01f);
    }
}

// After close, a lineTo starts a new subpath at the closed one's start.
TEST(Path, LineAfterCloseStartsAtTheSubpathStart) {
    Path p;
    p.moveTo({0, 0});
    p.lineTo({10, 0});
    p.lineTo({10, 10});
    p.close();
    p.lineTo({5, 5});
    ASSERT_EQ(p.subpaths().size(), 2u);
    EXPECT_EQ(p.subpaths()[1][0], (Point{0, 0}));
    EXPECT_FALSE(p.closed()[1]);
}

TEST(Path, ArcRunsInTheAskedDirection) {
    Path ccw;
    ccw.addArc({0, 0}, 10, 0, float(M_PI / 2), false);
    EXPECT_NEAR(ccw.subpaths()[0].back().x, 0, 1e-4);
    EXPECT_NEAR(ccw.subpaths()[0].back().y, 10, 1e-4);
    EXPECT_GT(ccw.subpaths()[0][1].y, 0); // through the first quadrant
    Path cw;
    cw.addArc({0, 0}, 10, 0, float(M_PI / 2), true);
    EXPECT_LT(cw.subpaths()[0][1].y, 0); // the long way round
    EXPECT_NEAR(cw.subpaths()[0].back().y, 10, 1e-4);
}
