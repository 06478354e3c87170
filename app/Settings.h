#pragma once

#include <vector>

#include "canvas/Tool.h"
#include "platform/graphics/Color.h"
#include "platform/graphics/Point.h"

namespace zorbel {

// Every user choice that survives a restart, one field per stored key (the
// twelve palette colours take three keys each: 57 keys in all). A value made
// with no arguments holds the registered defaults, what a first launch reads.
// SettingsStore reads and writes it; the application delegate holds it while
// the application runs.
struct Settings {
    static constexpr int kPaletteSize = 12;
    // The registered palette: white, three greys, black, red, orange, yellow,
    // green, cyan, blue, magenta.
    static std::vector<platform::Color> defaultPalette();

    // "BrushSize": read at launch, never written.
    float brushSize = 16;
    // "redColor", "greenColor", "blueColor", "alphaColor": opaque black.
    platform::Color color = platform::Color::rgb(0, 0, 0, 1);
    platform::Point fingerOffset{0, 0}; // "FingerX", "FingerY"
    bool askOnShake = true;             // "ShakeCheck"
    bool smartShapesEnabled = false;    // "SmartFlag"
    bool useCropImage = false;          // "CropFlag"
    bool dirtyFlag = false;             // "DirtyFlag"
    long brushIndex = 5;                // "BrushIndex": "brushhard32.png"
    int documentOrientation = 1;        // "DocumentOrientation": 1 or 3
    int colorBrushIndex = 1;            // "ColorBrushIndex"
    int overlayIndex = 1;               // "OverlayIndex"
    Tool selectedTool = Tool::PaintBrushTool;               // "ToolID": the paint brush
    bool cursorDisplayFlag = true;      // "CursorDisplay"
    float paintBrushAlpha = 1;          // "PaintBrushAlpha"
    int paintBrushBlendMode = 0;        // "PaintBrushBlendMode": normal
    bool smoothPaintBrushFlag = false;  // "SmoothFlag"
    float smoothPaintBrushAmount = 20;  // "SmoothAmount"
    // "Red1", "Green1", "Blue1" ... "Blue12"; the palette keeps no alpha.
    std::vector<platform::Color> colorSelectionArray = defaultPalette();

    bool operator==(const Settings&) const = default;
};

} // namespace zorbel
