#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "effects/FitCurves.h"

using namespace zorbel;

namespace {

// Output arrays get a guard zone after the 1000 points the fitter may use.
constexpr int kGuard = 16;
const Point2 kUnwritten{-12345.0, -12345.0};

std::vector<Point2> outputArray() {
    return std::vector<Point2>(kFitCurveMaxPoints + kGuard, kUnwritten);
}

void expectGuardUntouched(const std::vector<Point2>& out) {
    for (int i = kFitCurveMaxPoints; i < kFitCurveMaxPoints + kGuard; ++i)
        EXPECT_EQ(out[std::size_t(i)], kUnwritten) << i;
}

double distanceToCurve(const BezierCurve& curve, const Point2& p) {
    double best = 1e300;
    for (int k = 0; k <= 2000; ++k) {
        Point2 q = BezierII(3, curve.data(), k / 2000.0);
        best = std::min(best, std::hypot(q.x - p.x, q.y - p.y));
    }
    return best;
}

} // namespace

TEST(FitCurves, TwoPointsMakeOneSegmentWithThirdsOfTheChord) {
    std::vector<Point2> d = {{0, 0}, {30, 0}};
    auto out = outputArray();
    EXPECT_EQ(FitCurveList2(d.data(), 2, 20.0, 0, out.data()), 4);
    EXPECT_EQ(out[0], (Point2{0, 0}));
    EXPECT_EQ(out[1], (Point2{10, 0}));
    EXPECT_EQ(out[2], (Point2{20, 0}));
    EXPECT_EQ(out[3], (Point2{30, 0}));
    EXPECT_EQ(out[4], kUnwritten);
}

TEST(FitCurves, StraightLineGivesOneSegmentOnTheLine) {
    std::vector<Point2> d;
    for (int i = 0; i <= 10; ++i)
        d.push_back({3.0 * i, 4.0 * i});
    auto out = outputArray();
    EXPECT_EQ(FitCurveList2(d.data(), int(d.size()), 20.0, 0, out.data()), 4);
    EXPECT_EQ(out[0], d.front());
    EXPECT_EQ(out[3], d.back());
    for (int k = 1; k <= 2; ++k)
        EXPECT_NEAR(out[std::size_t(k)].x * 4.0, out[std::size_t(k)].y * 3.0, 1e-9);
}

TEST(FitCurves, ToleranceIsASquaredDistance) {
    // Three points with horizontal end tangents: the first fit is the straight chord, so the
    // middle point's error is its height squared. 4.4 px (19.36) fits error 20, 4.5 px
    // (20.25) does not and splits there.
    const Vector2 right{1, 0};
    const Vector2 left{-1, 0};
    std::vector<Point2> inside = {{0, 0}, {15, 4.4}, {30, 0}};
    auto out = outputArray();
    EXPECT_EQ(FitCubicList2(inside.data(), 0, 2, right, left, 20.0, 0, out.data()), 4);
    EXPECT_EQ(out[1], (Point2{10, 0}));
    EXPECT_EQ(out[2], (Point2{20, 0}));

    std::vector<Point2> outside = {{0, 0}, {15, 4.5}, {30, 0}};
    out = outputArray();
    EXPECT_EQ(FitCubicList2(outside.data(), 0, 2, right, left, 20.0, 0, out.data()), 8);
    EXPECT_EQ(out[0], outside[0]);
    EXPECT_EQ(out[3], outside[1]);
    EXPECT_EQ(out[4], outside[1]);
    EXPECT_EQ(out[7], outside[2]);
}

TEST(FitCurves, MaxErrorTiesGoToTheLaterPoint) {
    const BezierCurve atOrigin = {};
    std::vector<Point2> d = {{0, 0}, {3, 4}, {4, 3}, {0, 0}};
    std::vector<double> u = {0, 1.0 / 3, 2.0 / 3, 1};
    int split = -1;
    EXPECT_EQ(ComputeMaxError(d.data(), 0, 3, atOrigin, u, &split), 25.0);
    EXPECT_EQ(split, 2);
    std::vector<Point2> e = {{0, 0}, {3, 4}, {1, 1}, {0, 0}};
    EXPECT_EQ(ComputeMaxError(e.data(), 0, 3, atOrigin, u, &split), 25.0);
    EXPECT_EQ(split, 1);
}

TEST(FitCurves, WavyStrokeSplitsIntoSegmentsWithinTolerance) {
    std::vector<Point2> d;
    for (int i = 0; i < 200; ++i)
        d.push_back({i * 1.5, 60.0 * std::sin(i * 0.08)});
    auto out = outputArray();
    int n = FitCurveList2(d.data(), int(d.size()), 4.0, 0, out.data());
    ASSERT_GT(n, 4);
    ASSERT_EQ(n % 4, 0);
    EXPECT_EQ(out[0], d.front());
    EXPECT_EQ(out[std::size_t(n - 1)], d.back());
    std::vector<BezierCurve> curves;
    for (int k = 0; k < n; k += 4) {
        curves.push_back({out[std::size_t(k)], out[std::size_t(k) + 1], out[std::size_t(k) + 2],
                          out[std::size_t(k) + 3]});
        if (k > 0) { // segments join at input points
            EXPECT_EQ(out[std::size_t(k)], out[std::size_t(k) - 1]);
        }
    }
    // Every input point lies near the chain (the tolerance 4 square pixels is 2 pixels).
    for (const Point2& p : d) {
        double best = 1e300;
        for (const auto& c : curves)
            best = std::min(best, distanceToCurve(c, p));
        EXPECT_LT(best, 2.0) << p.x << "," << p.y;
    }
}

TEST(FitCurves, OutputStopsAtAThousandPoints) {
    std::vector<Point2> d = {{0, 0}, {30, 0}};
    auto out = outputArray();
    EXPECT_EQ(FitCurveList2(d.data(), 2, 20.0, 996, out.data()), 1000);
    EXPECT_EQ(out[999], (Point2{30, 0}));
    EXPECT_EQ(FitCurveList2(d.data(), 2, 20.0, 1000, out.data()), 1000);
    // A start that is not a multiple of four must not spill past the end either.
    EXPECT_EQ(FitCurveList2(d.data(), 2, 20.0, 997, out.data()), 997);
    EXPECT_EQ(FitCurveList2(d.data(), 2, 20.0, -3, out.data()), -3);
    expectGuardUntouched(out);

    // A stroke needing many segments, started near the end: one fits, the rest are dropped.
    std::vector<Point2> zigzag;
    for (int i = 0; i < 40; ++i)
        zigzag.push_back({i * 10.0, (i % 2) * 40.0});
    out = outputArray();
    EXPECT_EQ(FitCurveList2(zigzag.data(), int(zigzag.size()), 1.0, 996, out.data()), 1000);
    EXPECT_EQ(out[996], zigzag[0]);
    expectGuardUntouched(out);
}

TEST(FitCurves, CoincidentPointsGiveADegenerateSegment) {
    std::vector<Point2> d(5, Point2{7, 9});
    auto out = outputArray();
    EXPECT_EQ(FitCurveList2(d.data(), 5, 20.0, 0, out.data()), 4);
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(out[std::size_t(k)], (Point2{7, 9}));

    // A finger resting mid-stroke: the still part must not turn into NaN.
    std::vector<Point2> rest = {{0, 0}, {10, 10}, {20, 0}, {20, 0}, {20, 0}, {20, 0}, {30, 10}};
    out = outputArray();
    int n = FitCurveList2(rest.data(), int(rest.size()), 0.5, 0, out.data());
    ASSERT_GT(n, 0);
    for (int k = 0; k < n; ++k)
        EXPECT_TRUE(std::isfinite(out[std::size_t(k)].x) && std::isfinite(out[std::size_t(k)].y));
}

TEST(FitCurves, RefusesInputsBeyondItsTable) {
    std::vector<Point2> d(1001);
    for (std::size_t i = 0; i < d.size(); ++i)
        d[i] = {double(i), double(i % 7)};
    auto out = outputArray();
    EXPECT_EQ(FitCurveList2(d.data(), 1001, 20.0, 0, out.data()), 0);
    EXPECT_EQ(FitCurveList2(d.data(), 1, 20.0, 0, out.data()), 0);
    EXPECT_EQ(FitCubicList2(d.data(), 0, 1000, {1, 0}, {-1, 0}, 20.0, 0, out.data()), 0);
    EXPECT_EQ(out[0], kUnwritten);
    // A thousand points are fine.
    EXPECT_GT(FitCurveList2(d.data(), 1000, 20.0, 0, out.data()), 0);
    expectGuardUntouched(out);
}

TEST(GGVecLib, ScaleSetsALengthAndZeroVectorsStay) {
    Vector2 v{3, 4};
    V2Scale(&v, 10.0);
    EXPECT_EQ(v, (Vector2{6, 8}));
    V2Scale(&v, -5.0);
    EXPECT_EQ(v, (Vector2{-3, -4}));
    Vector2 zero{0, 0};
    V2Scale(&zero, 3.0);
    V2Normalize(&zero);
    EXPECT_EQ(zero, (Vector2{0, 0}));
    Vector2 n{0, -2};
    EXPECT_EQ(*V2Normalize(&n), (Vector2{0, -1}));
}
