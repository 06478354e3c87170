// Paints a few strokes on the canvas with several brushes, opacities and blend
// modes, undoes one, and writes the painting as a PNG.
//
//   canvas-demo [output.png]
//
// The canvas runs in a scratch home folder, so a real document is never touched.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "canvas/PaintingView.h"
#include "canvas/PaintingViewDefaults.h"
#include "platform/foundation/FileIO.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/ResourceBundle.h"
#include "platform/graphics/Image.h"

namespace {

using platform::Color;
using platform::Point;
using zorbel::PaintingView;

platform::ImageRef resource(const char* name) {
    const auto path = platform::ResourceBundle::pathForResource(name, "");
    auto image = path.empty() ? platform::Result<platform::ImageRef>::failure("missing")
                              : platform::Image::load(path);
    if (!image) {
        std::fprintf(stderr, "canvas-demo: resource %s not found\n", name);
        return nullptr;
    }
    return image.value();
}

// The canvas alone, with the tool of the stroke being painted.
class DemoDelegate : public zorbel::PaintingViewDefaults {
public:
    void setSelectedTool(zorbel::Tool tool) { tool_ = tool; }
    zorbel::Tool paintingViewTool() const override { return tool_; }

private:
    zorbel::Tool tool_ = zorbel::Tool::PaintBrushTool;
};

struct Stroke {
    zorbel::Tool tool;
    platform::ImageRef brush;
    Color color;
    float opacity;
    int blendMode;
    std::vector<Point> points;
};

// What a finger does: the undo copy at touch-down, a segment per movement,
// the stroke layer merged once at touch-up.
void paint(PaintingView& view, DemoDelegate& delegate, const Stroke& stroke) {
    delegate.setSelectedTool(stroke.tool);
    if (stroke.tool == zorbel::Tool::ColorBrushTool) {
        view.createColorBrushLayerFromImage(stroke.brush);
    } else {
        view.createBrushLayerFromImage(stroke.brush);
        view.setColor(stroke.color);
    }
    view.strokeRenderer().setBrushAlpha(stroke.opacity);
    view.strokeRenderer().setBrushBlendMode(platform::blendModeFromInt(stroke.blendMode));
    const float width = view.brush().stamp() ? view.brush().stamp()->size().width : 1;
    const float factor = stroke.tool == zorbel::Tool::ColorBrushTool ? 1.0f : 0.15f;
    view.strokeRenderer().setBrushPixelStep(std::max(1.0f, factor * width));
    view.rawcopyToUndoBuffer();
    view.reloadPaintLayerIfNecessary();
    for (std::size_t i = 0; i + 1 < stroke.points.size(); ++i)
        view.renderLineFromPoint(stroke.points[i], stroke.points[i + 1]);
    if (!stroke.points.empty())
        view.drawBrushAt(stroke.points.back().x, stroke.points.back().y);
    view.mergePaintLayer();
}

std::vector<Point> wave(float y, float amplitude, float phase) {
    std::vector<Point> points;
    for (float x = 20; x <= 300; x += 7)
        points.push_back({x, y + amplitude * std::sin(x / 30 + phase)});
    return points;
}

std::vector<Point> loop(Point centre, float rx, float ry, float turns) {
    std::vector<Point> points;
    for (float a = 0; a <= turns * 6.2832f; a += 0.15f)
        points.push_back({centre.x + rx * std::cos(a) + a * 6, centre.y + ry * std::sin(a)});
    return points;
}

} // namespace

std::vector<Stroke> demoStrokes() {
    using zorbel::Tool;
    return {
        {Tool::PaintBrushTool, resource("brushsoft32.png"), Color::rgb(0.1f, 0.3f, 0.9f), 1.0f, 0,
         wave(90, 40, 0)},
        {Tool::PaintBrushTool, resource("brushhard16.png"), Color::rgb(0.9f, 0.1f, 0.1f), 0.5f, 0,
         loop({70, 200}, 45, 45, 3)},
        {Tool::PaintBrushTool, resource("brushhard32.png"), Color::rgb(1.0f, 0.85f, 0.1f), 1.0f, 0,
         wave(300, 25, 1)},
        {Tool::PaintBrushTool, resource("brushsoft64.png"), Color::rgb(0.2f, 0.8f, 0.3f), 0.6f, 1,
         wave(310, 60, 2.5f)},
        {Tool::PaintBrushTool,
         resource("brushstar32.png"),
         Color::rgb(0.6f, 0.1f, 0.7f),
         1.0f,
         0,
         {{40, 420}, {280, 420}}},
        {Tool::ColorBrushTool,
         resource("colorbrushheart64.png"),
         Color::black(),
         1.0f,
         0,
         {{40, 250}, {300, 250}}},
    };
}

// Writes the painting, upright, as a PNG file; false (said on stderr) when it cannot.
bool save(PaintingView& view, const std::filesystem::path& output) {
    auto picture = view.getImageToSave(zorbel::DocumentOrientation::Upright);
    if (!picture) {
        std::fprintf(stderr, "canvas-demo: no picture to save\n");
        return false;
    }
    auto png = picture->pngData();
    if (!png) {
        std::fprintf(stderr, "canvas-demo: %s\n", png.error().c_str());
        return false;
    }
    std::error_code ignored;
    std::filesystem::create_directories(output.parent_path().empty() ? "." : output.parent_path(),
                                        ignored);
    if (auto written = platform::writeFileAtomically(output, *png); !written) {
        std::fprintf(stderr, "canvas-demo: %s\n", written.error().c_str());
        return false;
    }
    return true;
}

int main(int argc, char** argv) {
    const auto home = std::filesystem::temp_directory_path() / "zorbel-canvas-demo";
    std::error_code ignored;
    std::filesystem::remove_all(home, ignored);
    platform::Paths::setHome(home);
    const std::filesystem::path output =
        argc > 1 ? std::filesystem::path(argv[1])
                 : platform::Paths::picturesDirectory() / "canvas-demo.png";

    DemoDelegate delegate;
    auto created = PaintingView::create(&delegate);
    if (!created) {
        std::fprintf(stderr, "canvas-demo: %s\n", created.error().c_str());
        return 1;
    }
    auto view = created.value();
    view->touchState().showCursor = false;

    for (const Stroke& stroke : demoStrokes())
        paint(*view, delegate, stroke);

    // A black scribble across everything, then undone.
    paint(*view, delegate,
          {zorbel::Tool::PaintBrushTool,
           resource("brushhard24.png"),
           Color::black(),
           1.0f,
           0,
           {{10, 10}, {310, 470}, {10, 470}, {310, 10}}});
    view->switchUndoBuffer();

    if (!save(*view, output))
        return 1;
    std::printf("canvas-demo: painting written to %s\n", output.string().c_str());
    return 0;
}
