#include <cmath>

#include "TouchTestSupport.h"
#include "canvas/StampPlacement.h"

namespace zorbel::testing {
namespace {

using platform::Point;
using platform::Rect;

TEST(StampPlacementTest, StampsAreEvenlySpacedFromTheFromPoint) {
    const StampPlacement stamps({10, 10}, {30, 10}, 6); // ceil(20 / 6) = 4
    ASSERT_EQ(stamps.count(), 4u);
    EXPECT_EQ(stamps.at(0), (Point{10, 10}));
    EXPECT_EQ(stamps.at(3), (Point{25, 10}));
    EXPECT_EQ(StampPlacement({5, 5}, {5, 5}, 3).count(), 1u);
    EXPECT_EQ(StampPlacement({0, 0}, {100, 0}, 0).count(), StampPlacement::kMaxStamps);
    EXPECT_EQ(StampPlacement({NAN, 0}, {100, 0}, 1).count(), 1u);
}

// The run inside a window is exactly the stamps a visit of every one would
// find inside it, whichever way the segment runs.
TEST(StampPlacementTest, TheRunInsideAWindowIsEveryStampInsideIt) {
    const Rect window(-7, -7, 334, 494);
    const std::pair<Point, Point> segments[] = {
        {{100, 100}, {-500, 300}}, {{300, 50}, {700, 450}},  {{20, 460}, {-30, 500}},
        {{160, -20}, {160, 40}},   {{-50, -50}, {400, 600}}, {{400, 100}, {-100, 200}},
        {{-900, 10}, {-800, 400}}, {{50, 50}, {60, 60}},
    };
    for (const auto& [from, to] : segments) {
        const StampPlacement stamps(from, to, 0.7f);
        StampPlacement::Run visited{stamps.count(), 0};
        for (unsigned i = 0; i < stamps.count(); ++i) {
            const Point p = stamps.at(i);
            if (p.x > window.minX() && p.x < window.maxX() && p.y > window.minY() &&
                p.y < window.maxY()) {
                visited.first = std::min(visited.first, i);
                visited.end = std::max(visited.end, i + 1);
            }
        }
        const StampPlacement::Run run = stamps.inside(window);
        EXPECT_EQ(run.size(), visited.size()) << from.x << "," << from.y;
        if (!visited.empty()) {
            EXPECT_EQ(run.first, visited.first) << from.x << "," << from.y;
            EXPECT_EQ(run.end, visited.end) << from.x << "," << from.y;
        }
    }
}

// The segment from (240, 240) to x = -3e38 has a million stamps; only the
// first can reach the canvas.
TEST(StampPlacementTest, AHugeSegmentPlacesOnlyItsVisibleStamps) {
    const StampPlacement stamps({240, 240}, {-3e38f, 0}, 4.8f);
    EXPECT_EQ(stamps.count(), StampPlacement::kMaxStamps);
    const StampPlacement::Run run = stamps.inside(Rect(-18, -18, 356, 516));
    EXPECT_EQ(run.size(), 1u);
    EXPECT_EQ(run.first, 0u);
    EXPECT_TRUE(StampPlacement({0, 0}, {INFINITY, 0}, 1).inside(Rect(-10, -10, 20, 20)).empty());
}

// The stamps are placed as a visit of every stamp of the segment would place
// them, onto the same pixels, for segments partly off the canvas with each
// tool that stamps.
class OffCanvasTest : public TouchCanvasTest {
protected:
    std::shared_ptr<PaintingView> canvasFor(Tool tool, float alpha) {
        auto view = paintCanvas(9);
        view->createBrushLayerFromImage(squareBrush(9, {255, 200, 30, 90}));
        for (int y = 0; y < 480; y += 20) // something for the eraser and the clone tool to change
            view->drawBrushAt(float(y % 320), float(y));
        view->rawcopyToUndoBuffer();
        delegate_.setSelectedTool(tool);
        view->strokeRenderer().setBrushAlpha(alpha);
        view->strokeRenderer().setBrushBlendMode(platform::BlendMode::Normal);
        view->strokeRenderer().setBrushPixelStep(1.5f);
        view->cloneSetUp().relativeOffset = {30, -40};
        return view;
    }

    // Every stamp of the segment, visited one by one.
    static void stampEveryPoint(PaintingView& view, Point from, Point to, Tool tool) {
        const StampPlacement stamps(from, to, view.strokeRenderer().brushPixelStep());
        for (unsigned i = 0; i < stamps.count(); ++i) {
            const Point p = stamps.at(i);
            if (tool == Tool::EraserTool || tool == Tool::CloneTool)
                view.cloneStepAt(p.x, p.y);
            else
                view.drawBrushAt(p.x, p.y);
        }
    }
};

TEST_F(OffCanvasTest, PartlyVisibleSegmentsPaintTheSamePixels) {
    const std::pair<Point, Point> segments[] = {
        {{100, 100}, {-500, 300}}, {{300, 50}, {700, 450}},   {{20, 460}, {-30, 500}},
        {{160, -20}, {160, 40}},   {{200, 700}, {250, 1000}}, {{-40, 900}, {300, 1200}},
    };
    for (Tool tool : {Tool::PaintBrushTool, Tool::EraserTool, Tool::CloneTool})
        for (float alpha : {1.0f, 0.5f}) {
            auto placed = canvasFor(tool, alpha);
            auto visited = canvasFor(tool, alpha);
            for (const auto& [from, to] : segments) {
                placed->renderLineFromPoint(from, to);
                stampEveryPoint(*visited, from, to, tool);
            }
            placed->mergePaintLayer();
            visited->mergePaintLayer();
            EXPECT_EQ(pictureBytes(*placed), pictureBytes(*visited))
                << int(tool) << " at " << alpha;
            EXPECT_EQ(placed->cloneSetUp().cursorPoint, visited->cloneSetUp().cursorPoint);
            EXPECT_EQ(placed->touchState().lastTimeCursorUsed,
                      visited->touchState().lastTimeCursorUsed);
        }
}

TEST_F(OffCanvasTest, AStrokeFarOffTheCanvasFinishes) {
    auto view = canvasFor(Tool::PaintBrushTool, 1);
    auto reference = canvasFor(Tool::PaintBrushTool, 1);
    const std::uint64_t placedBefore = view->strokeRenderer().stampsPlaced();
    Finger finger(*view);
    finger.down({240, 240});
    finger.move({-3e38f, 0});
    finger.move({-3e38f, 3e38f});
    finger.move({-INFINITY, 0});
    finger.up();
    // The touch-down's stamp and the first movement's from point, both at
    // (240, 240), are all that is placed of the three million stamps.
    EXPECT_EQ(view->strokeRenderer().stampsPlaced() - placedBefore, 2u);
    reference->drawBrushAt(240, 240);
    reference->drawBrushAt(240, 240);
    EXPECT_EQ(pictureBytes(*view), pictureBytes(*reference));
}

} // namespace
} // namespace zorbel::testing
