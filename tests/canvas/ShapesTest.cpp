#include <cmath>

#include "TouchTestSupport.h"
#include "effects/FitCurves.h"

namespace zorbel::testing {
namespace {

using platform::Point;
using platform::Rect;

std::vector<std::shared_ptr<PaintPoint>> pointList(const std::vector<Point>& points) {
    std::vector<std::shared_ptr<PaintPoint>> list;
    for (Point p : points)
        list.push_back(std::make_shared<PaintPoint>(p));
    return list;
}

// Points from a to b (a included, b not) every `step` points.
void addEdge(std::vector<Point>& out, Point a, Point b, float step) {
    const float length = std::hypot(b.x - a.x, b.y - a.y);
    const int n = int(std::round(length / step));
    for (int i = 0; i < n; ++i) {
        const float t = float(i) / float(n);
        out.push_back({a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t});
    }
}

// Clockwise round the 100 x 60 box at (100, 100), starting on its top edge
// and ending 5 points before the start. The edges shake by a point.
std::vector<Point> squareCorneredBox() {
    std::vector<Point> points;
    for (float x = 110; x < 200; x += 5)
        points.push_back({x, x == 110 ? 100.0f : 100.0f + float(int(x) % 2)});
    for (float y = 100; y < 160; y += 5)
        points.push_back({200.0f - float(int(y) % 2), y});
    for (float x = 200; x > 100; x -= 5)
        points.push_back({x, 160.0f - float(int(x) % 2)});
    for (float y = 160; y > 100; y -= 5)
        points.push_back({100.0f + float(int(y) % 2), y});
    points.push_back({100, 100});
    points.push_back({105, 100});
    return points;
}

// The same box with corners rounded to a radius of 15, one point every 15
// degrees round each corner.
std::vector<Point> roundCorneredBox() {
    const float r = 15;
    std::vector<Point> points;
    const auto arc = [&](float cx, float cy, int startDegree) {
        for (int d = 0; d < 90; d += 15) {
            const double a = (startDegree + d) * std::numbers::pi / 180;
            points.push_back({cx + r * float(std::cos(a)), cy + r * float(std::sin(a))});
        }
    };
    addEdge(points, {110, 100}, {185, 100}, 5);
    arc(185, 115, 270);
    addEdge(points, {200, 115}, {200, 145}, 5);
    arc(185, 145, 0);
    addEdge(points, {185, 160}, {115, 160}, 5);
    arc(115, 145, 90);
    addEdge(points, {100, 145}, {100, 115}, 5);
    arc(115, 115, 180);
    points.push_back({115, 100});
    return points;
}

class ShapesTest : public TouchCanvasTest {
protected:
    // For drawing calls made directly: opaque stamps into the picture.
    std::shared_ptr<PaintingView> drawingCanvas() {
        auto view = paintCanvas();
        view->strokeRenderer().setBrushAlpha(1);
        view->strokeRenderer().setBrushBlendMode(platform::BlendMode::Normal);
        view->strokeRenderer().setBrushPixelStep(1);
        return view;
    }
    std::shared_ptr<PaintingView> shapeCanvas() {
        auto view = paintCanvas();
        delegate_.setSmartShapesEnabled(true);
        return view;
    }
    // A canvas as shapeCanvas makes it, on which `draw` renders directly.
    template <class F>
    std::vector<std::uint8_t> reference(F&& draw) {
        auto view = drawingCanvas();
        draw(*view);
        return pictureBytes(*view);
    }
};

// --- The tests on point lists --------------------------------------------------------

TEST_F(ShapesTest, StrokeEndingWithinTwentyPointsPerAxisIsClosed) {
    auto view = paintCanvas();
    const struct {
        Point last;
        bool closed;
    } cases[] = {
        {{120, 100}, true}, {{121, 100}, false},     {{100, 121}, false},
        {{80, 80}, true},   {{120.9f, 79.1f}, true}, // differences truncated toward zero
        {{79, 100}, false},
    };
    for (const auto& c : cases) {
        view->touchState().points = pointList({{100, 100}, {150, 150}, c.last});
        EXPECT_EQ(view->wasClosedObjectDrawn(), c.closed) << c.last.x << "," << c.last.y;
    }
    view->touchState().points = {};
    EXPECT_FALSE(view->wasClosedObjectDrawn());
    EXPECT_FALSE(view->wasLineDrawn());
    EXPECT_FALSE(view->wasRectDrawn());
}

TEST_F(ShapesTest, EnclosingRectangleLeavesOutTheFirstPoint) {
    auto view = paintCanvas();
    view->touchState().points = pointList({{100, 100}});
    EXPECT_TRUE(view->getEnclosingRect().isNull());
    view->touchState().points = pointList({{0, 0}, {50, 60}});
    EXPECT_EQ(view->getEnclosingRect(), Rect(50, 60, 0, 0));
    view->touchState().points = pointList({{0, 0}, {50, 60}, {20, 90}, {70, 65}});
    EXPECT_EQ(view->getEnclosingRect(), Rect(20, 60, 50, 30));
}

TEST_F(ShapesTest, BoxesAreToldApartByTheirCorners) {
    auto view = paintCanvas();
    view->touchState().points = pointList(squareCorneredBox());
    EXPECT_TRUE(view->wasClosedObjectDrawn());
    EXPECT_FALSE(view->wasLineDrawn());
    EXPECT_TRUE(view->wasRectDrawn());
    EXPECT_EQ(view->getEnclosingRect(), Rect(100, 100, 100, 60));
    view->touchState().points = pointList(roundCorneredBox());
    EXPECT_TRUE(view->wasClosedObjectDrawn());
    EXPECT_FALSE(view->wasRectDrawn());
    EXPECT_EQ(view->getEnclosingRect(), Rect(100, 100, 100, 60));
}

TEST_F(ShapesTest, LinesAreThinBoxesOrStrokesAlongOneDirection) {
    auto view = paintCanvas();
    std::vector<Point> diagonal;
    for (int i = 0; i <= 20; ++i)
        diagonal.push_back({100.0f + 5 * i, 100.0f + 4 * i + float(i % 3)});
    view->touchState().points = pointList(diagonal);
    EXPECT_TRUE(view->wasLineDrawn());

    // An L: its pairs run along the axes and tell nothing; neither a line
    // nor closed.
    std::vector<Point> corner;
    addEdge(corner, {100, 100}, {200, 100}, 5);
    addEdge(corner, {200, 100}, {200, 200}, 5);
    corner.push_back({200, 200});
    view->touchState().points = pointList(corner);
    EXPECT_FALSE(view->wasLineDrawn());
    EXPECT_FALSE(view->wasClosedObjectDrawn());

    view->touchState().points = pointList({{100, 100}, {110, 130}, {105, 250}}); // 10 wide
    EXPECT_TRUE(view->wasLineDrawn());
    view->touchState().points = pointList({{100, 100}, {110, 110}, {118, 125}}); // too small
    EXPECT_FALSE(view->wasLineDrawn());
}

// --- What the stroke becomes ------------------------------------------------------------

TEST_F(ShapesTest, SquareCorneredBoxBecomesItsOutline) {
    auto view = shapeCanvas();
    Finger(*view).stroke(squareCorneredBox());
    const auto outline = reference([](PaintingView& v) {
        v.renderLineFromPoint({100, 100}, {200, 100});
        v.renderLineFromPoint({200, 100}, {200, 160});
        v.renderLineFromPoint({200, 160}, {100, 160});
        v.renderLineFromPoint({100, 160}, {100, 100});
    });
    EXPECT_EQ(pictureBytes(*view), outline);
    view->switchUndoBuffer();
    EXPECT_FALSE(painted(*view, 150, 100));
}

TEST_F(ShapesTest, RoundCorneredBoxBecomesTheInscribedEllipse) {
    auto view = shapeCanvas();
    Finger(*view).stroke(roundCorneredBox());
    // The ellipse touches the box in the middle of each side...
    EXPECT_TRUE(painted(*view, 150, 100));
    EXPECT_TRUE(painted(*view, 200, 130));
    EXPECT_TRUE(painted(*view, 150, 160));
    EXPECT_TRUE(painted(*view, 100, 130));
    // ...and passes (120, 106) and (180, 154); the freehand edges and
    // corners are gone.
    EXPECT_TRUE(painted(*view, 120, 106));
    EXPECT_TRUE(painted(*view, 180, 154));
    EXPECT_FALSE(painted(*view, 120, 100));
    EXPECT_FALSE(painted(*view, 105, 105));
    EXPECT_FALSE(painted(*view, 195, 155));
    EXPECT_FALSE(painted(*view, 150, 130));
}

TEST_F(ShapesTest, WiggleInAFlatBoxBecomesOneStraightSegment) {
    auto view = shapeCanvas();
    std::vector<Point> wiggle;
    for (int i = 0; i <= 30; ++i)
        wiggle.push_back({50.0f + 5 * i, 200.0f + float((i * 7) % 13)});
    wiggle.back() = {200, 206}; // the box: 150 x 12
    Finger(*view).stroke(wiggle);
    const auto line = reference([](PaintingView& v) {
        v.renderLineFromPoint({50, 200}, {200, 206});
    });
    EXPECT_EQ(pictureBytes(*view), line);
    EXPECT_EQ(delegate_.recognisedShapes(), 1); // the host is told, once
}

TEST_F(ShapesTest, StrokesThatAreNoShapeStayAsDrawn) {
    // A scribble: open, in a box neither thin nor small, and turning away
    // from the direction between its ends (a line's test).
    const std::vector<Point> scribble{{40, 200}, {120, 120}, {200, 200}, {160, 260}, {150, 330}};
    // The pictures as drawn, made while smart shapes are still off (the
    // canvases share one delegate).
    auto freehand = paintCanvas();
    Finger(*freehand).stroke(scribble);
    const std::vector<std::uint8_t> scribbleAsDrawn = pictureBytes(*freehand);
    Finger(*freehand).tap({250, 300});
    const std::vector<std::uint8_t> tapAsDrawn = pictureBytes(*freehand);

    auto shaped = shapeCanvas();
    Finger(*shaped).stroke(scribble);
    EXPECT_EQ(pictureBytes(*shaped), scribbleAsDrawn);
    // The scribble itself is there; the straight line between its ends and
    // the corners of its box, which a recognised shape would draw, are not.
    EXPECT_TRUE(painted(*shaped, 80, 160));
    EXPECT_TRUE(painted(*shaped, 180, 230));
    EXPECT_FALSE(painted(*shaped, 95, 265));
    EXPECT_FALSE(painted(*shaped, 40, 120));
    EXPECT_FALSE(painted(*shaped, 200, 330));
    // A tap has one point and no enclosing rectangle.
    Finger(*shaped).tap({250, 300});
    EXPECT_EQ(pictureBytes(*shaped), tapAsDrawn);
}

// --- Smoothing ----------------------------------------------------------------------------

TEST_F(ShapesTest, BezierPointsFollowTheBernsteinWeights) {
    const std::array<Point, 4> curve{Point{0, 0}, Point{0, 100}, Point{100, 100}, Point{100, 0}};
    EXPECT_EQ(PaintingView::bez_Position_StepBezier(curve, 0), (Point{0, 0}));
    EXPECT_EQ(PaintingView::bez_Position_StepBezier(curve, 0.5f), (Point{50, 75}));
    EXPECT_EQ(PaintingView::bez_Position_StepBezier(curve, 1), (Point{100, 0}));
    EXPECT_TRUE(PaintingView::pnt_closePoint({0, 0}, {3, 4}, 5));
    EXPECT_FALSE(PaintingView::pnt_closePoint({0, 0}, {3, 4}, 4.99f));
}

TEST_F(ShapesTest, CurveIsDrawnInBezierResolutionSegments) {
    // With a step longer than any segment each segment is one stamp, so the
    // row shows one separate mark per segment.
    const auto marks = [this](float resolution) {
        auto view = drawingCanvas();
        view->strokeRenderer().setBrushPixelStep(1000);
        view->setBezierResolution(resolution);
        const Point2 curve[] = {{10, 100}, {110, 100}, {210, 100}, {310, 100}};
        view->drawCurves(curve, 4);
        int count = 0;
        bool inMark = false;
        for (int x = 0; x < 320; ++x) {
            const bool p = painted(*view, x, 100);
            count += p && !inMark;
            inMark = p;
        }
        return count;
    };
    EXPECT_EQ(marks(20), 20);
    EXPECT_EQ(marks(10), 10);
    EXPECT_EQ(marks(0), 20);
    EXPECT_EQ(marks(-3), 20);
}

TEST_F(ShapesTest, DrawCurvesIgnoresAnIncompleteGroup) {
    auto view = drawingCanvas();
    const Point2 points[] = {{10, 100},  {40, 100},  {70, 100}, {100, 100},
                             {100, 200}, {130, 200}, {160, 200}};
    view->drawCurves(points, 7);
    EXPECT_TRUE(painted(*view, 50, 100));
    EXPECT_FALSE(painted(*view, 130, 200));
}

TEST_F(ShapesTest, SmoothedStrokeStaysNearItsPointsAndUndoes) {
    auto view = paintCanvas();
    delegate_.setSmoothPaintBrushFlag(true);
    delegate_.setSmoothPaintBrushAmount(20);
    std::vector<Point> points;
    for (int i = 0; i <= 40; ++i)
        points.push_back({60.0f + 5 * i, 200.0f + 40 * float(std::sin(i / 6.0))});
    Finger(*view).stroke(points);
    int paintedCount = 0;
    for (int y = 100; y < 300; ++y)
        for (int x = 40; x < 280; ++x) {
            if (!painted(*view, x, y))
                continue;
            ++paintedCount;
            double nearest = 1e9;
            for (std::size_t i = 0; i + 1 < points.size(); ++i) {
                // Distance to the polyline's segment i.
                const Point a = points[i], b = points[i + 1];
                const double vx = b.x - a.x, vy = b.y - a.y;
                double t = ((x - a.x) * vx + (y - a.y) * vy) / (vx * vx + vy * vy);
                t = std::clamp(t, 0.0, 1.0);
                nearest = std::min(nearest, std::hypot(a.x + t * vx - x, a.y + t * vy - y));
            }
            // The fit's tolerance is a squared distance: 20, about 4.5 points.
            ASSERT_LT(nearest, std::sqrt(20.0) + 2) << x << "," << y;
        }
    EXPECT_GT(paintedCount, 200);
    view->switchUndoBuffer();
    EXPECT_FALSE(painted(*view, 60, 200));
}

TEST_F(ShapesTest, StrokeOfTwoPointsIsNotSmoothed) {
    auto smoothed = paintCanvas();
    delegate_.setSmoothPaintBrushFlag(true);
    Finger(*smoothed).stroke({{100, 100}, {200, 150}});
    delegate_.setSmoothPaintBrushFlag(false);
    auto freehand = paintCanvas();
    Finger(*freehand).stroke({{100, 100}, {200, 150}});
    EXPECT_EQ(pictureBytes(*smoothed), pictureBytes(*freehand));
}

TEST_F(ShapesTest, PointsBeyondAThousandAreDrawnAsRecorded) {
    auto view = drawingCanvas();
    delegate_.setSmoothPaintBrushAmount(20);
    std::vector<Point> points;
    for (int i = 0; i < 1000; ++i)
        points.push_back({10 + 0.25f * float(i), 100});
    for (int i = 1; i <= 300; ++i)
        points.push_back({260, 100 + float(i)});
    view->touchState().points = pointList(points);
    view->curveFit();
    EXPECT_TRUE(painted(*view, 20, 100));
    EXPECT_TRUE(painted(*view, 200, 100));
    EXPECT_TRUE(painted(*view, 260, 250));
    EXPECT_TRUE(painted(*view, 260, 398));
    EXPECT_FALSE(painted(*view, 230, 250));
}

TEST_F(ShapesTest, PartTheFitterHasNoRoomForIsDrawnAsRecorded) {
    // A fine zigzag at a tiny tolerance needs far more than the 250 curves
    // the output holds.
    auto view = drawingCanvas();
    delegate_.setSmoothPaintBrushAmount(0.01f);
    std::vector<Point> points;
    for (int i = 0; i < 1000; ++i)
        points.push_back({10 + 0.3f * float(i), 100.0f + float((i % 2) * 6)});
    view->touchState().points = pointList(points);
    view->curveFit();
    for (int x : {20, 150, 300}) {
        bool any = false;
        for (int y = 98; y <= 107; ++y)
            any = any || painted(*view, x, y);
        EXPECT_TRUE(any) << x;
    }
}

} // namespace
} // namespace zorbel::testing
