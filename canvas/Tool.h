#pragma once

namespace zorbel {

// The tools and effects by the numbers that are stored ("ToolID") and shared
// by the current tool, the effect last chosen and the effect armed for its
// slider panel. 7 and 8 name nothing.
enum class Tool : int {
    NoTool = 0,
    PaintBrushTool = 1,
    EraserTool = 2,
    CloneTool = 3,
    ShapeTool = 4,
    TextTool = 5,
    EyeDropperTool = 6,
    HorizontalMirrorTool = 9,
    VerticalMirrorTool = 10,
    SqueezeTool = 11,
    TwirlTool = 12,
    LightTunnelTool = 13,
    BulgeTool = 14,
    DentTool = 15,
    FisheyeTool = 16,
    GrayScaleTool = 17,
    SepiaTool = 18,
    ColorBrushTool = 19,
    BrightnessTool = 20,
    ContrastTool = 21,
};

// The tools that paint, erase, clone or stamp on the canvas: 1, 2, 3, 6 and 19.
constexpr bool isPaintStyleTool(Tool tool) {
    switch (tool) {
    case Tool::PaintBrushTool:
    case Tool::EraserTool:
    case Tool::CloneTool:
    case Tool::EyeDropperTool:
    case Tool::ColorBrushTool:
        return true;
    default:
        return false;
    }
}

} // namespace zorbel
