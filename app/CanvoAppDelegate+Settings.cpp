// The settings store: every user choice that survives a restart, registered
// with its default, read once at launch and written once at termination.

#include <cmath>
#include <cstdint>
#include <limits>
#include <map>
#include <string>

#include "app/CanvoAppDelegate.h"
#include "app/CanvoViewController.h"
#include "canvas/PaintingView.h"
#include "platform/foundation/UserDefaults.h"

namespace zorbel {

namespace {

using platform::Color;
using platform::UserDefaults;

// Stored values are taken as they are; these only keep a damaged file's
// out-of-range numbers from turning into undefined conversions.
int truncateToInt(double value) {
    if (std::isnan(value))
        return 0;
    if (value >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (value <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return int(value);
}

int readInt(const UserDefaults& defaults, const std::string& key) {
    return truncateToInt(double(defaults.integerForKey(key)));
}

struct PaletteEntry {
    float red, green, blue;
};

// The registered palette. Entry 4 is the float just below 1/3 (0x3EAAAAAA).
constexpr PaletteEntry kPalette[12] = {
    {1.0f, 1.0f, 1.0f},                         // white
    {0.666666687f, 0.666666687f, 0.666666687f}, // light grey
    {0.5f, 0.5f, 0.5f},                         // grey
    {0.333333313f, 0.333333313f, 0.333333313f}, // dark grey
    {0.0f, 0.0f, 0.0f},                         // black
    {1.0f, 0.0f, 0.0f},                         // red
    {1.0f, 0.5f, 0.0f},                         // orange
    {1.0f, 1.0f, 0.0f},                         // yellow
    {0.0f, 1.0f, 0.0f},                         // green
    {0.0f, 1.0f, 1.0f},                         // cyan
    {0.0f, 0.0f, 1.0f},                         // blue
    {1.0f, 0.0f, 1.0f},                         // magenta
};

std::string paletteKey(const char* word, int n) {
    return word + std::to_string(n);
}

UserDefaults::Value floatNumber(float v) {
    return double(v);
}
UserDefaults::Value intNumber(int v) {
    return long(v);
}
UserDefaults::Value boolNumber(bool v) {
    return v;
}

} // namespace

void CanvoAppDelegate::registerDefaults(UserDefaults& defaults) {
    std::map<std::string, UserDefaults::Value> table = {
        {"BrushSize", floatNumber(16.0f)},     {"BrushIndex", intNumber(5)},
        {"redColor", floatNumber(0.0f)},       {"greenColor", floatNumber(0.0f)},
        {"blueColor", floatNumber(0.0f)},      {"alphaColor", floatNumber(1.0f)},
        {"FingerX", floatNumber(0.0f)},        {"FingerY", floatNumber(0.0f)},
        {"ShakeCheck", boolNumber(true)},      {"SmartFlag", boolNumber(false)},
        {"CropFlag", boolNumber(false)},       {"DirtyFlag", boolNumber(false)},
        {"DocumentOrientation", intNumber(1)}, {"ColorBrushIndex", intNumber(1)},
        {"OverlayIndex", intNumber(1)},        {"ToolID", intNumber(int(Tool::PaintBrushTool))},
        {"CursorDisplay", boolNumber(true)},   {"PaintBrushAlpha", floatNumber(1.0f)},
        {"PaintBrushBlendMode", intNumber(0)}, {"SmoothFlag", boolNumber(false)},
        {"SmoothAmount", floatNumber(20.0f)},
    };
    for (int n = 1; n <= 12; ++n) {
        const PaletteEntry& entry = kPalette[n - 1];
        table[paletteKey("Red", n)] = floatNumber(entry.red);
        table[paletteKey("Green", n)] = floatNumber(entry.green);
        table[paletteKey("Blue", n)] = floatNumber(entry.blue);
    }
    defaults.registerDefaults(table);
}

CanvoAppDelegate::LoadedSettings CanvoAppDelegate::loadSettings(UserDefaults& defaults) {
    registerDefaults(defaults);
    LoadedSettings loaded;

    // The size is read but never written, so every launch starts at the
    // registered size; a stored 0 leaves the canvas's size alone.
    const float brushSize = defaults.floatForKey("BrushSize");
    if (brushSize != 0.0f && !std::isnan(brushSize))
        setBrushSize(truncateToInt(brushSize));

    loaded.color =
        Color::rgb(defaults.floatForKey("redColor"), defaults.floatForKey("greenColor"),
                   defaults.floatForKey("blueColor"), defaults.floatForKey("alphaColor"));
    loaded.fingerOffset = {defaults.floatForKey("FingerX"), defaults.floatForKey("FingerY")};

    setSmartShapesEnabled(defaults.boolForKey("SmartFlag"));
    setAskOnShake(defaults.boolForKey("ShakeCheck"));
    loaded.brushIndex = defaults.integerForKey("BrushIndex");
    setUseCropImage(defaults.boolForKey("CropFlag"));
    setDirtyFlag(defaults.boolForKey("DirtyFlag"));
    setDocumentOrientation(readInt(defaults, "DocumentOrientation"));
    setColorBrushIndex(readInt(defaults, "ColorBrushIndex"));
    setOverlayIndex(readInt(defaults, "OverlayIndex"));
    setSelectedTool(Tool(readInt(defaults, "ToolID")));
    setCursorDisplayFlag(defaults.boolForKey("CursorDisplay"));
    setPaintBrushAlpha(defaults.floatForKey("PaintBrushAlpha"));
    setPaintBrushBlendMode(readInt(defaults, "PaintBrushBlendMode"));
    setSmoothPaintBrushFlag(defaults.boolForKey("SmoothFlag"));
    setSmoothPaintBrushAmount(defaults.floatForKey("SmoothAmount"));

    std::vector<Color> palette;
    palette.reserve(12);
    for (int n = 1; n <= 12; ++n)
        palette.push_back(Color::rgb(defaults.floatForKey(paletteKey("Red", n)),
                                     defaults.floatForKey(paletteKey("Green", n)),
                                     defaults.floatForKey(paletteKey("Blue", n)), 1.0f));
    setColorSelectionArray(std::move(palette));
    return loaded;
}

void CanvoAppDelegate::saveSettings(UserDefaults& defaults) {
    float rgba[4];
    UIColorToRGB(getSelectedColor(), rgba);
    defaults.setFloat(rgba[0], "redColor");
    defaults.setFloat(rgba[1], "greenColor");
    defaults.setFloat(rgba[2], "blueColor");
    defaults.setFloat(rgba[3], "alphaColor");

    defaults.setInteger(long(truncateToInt(double(brushIndex()))), "BrushIndex");
    defaults.setBool(smartShapesEnabled(), "SmartFlag");
    defaults.setBool(askOnShake(), "ShakeCheck");

    const platform::Point offset = fingerOffset();
    defaults.setFloat(offset.x, "FingerX");
    defaults.setFloat(offset.y, "FingerY");

    defaults.setBool(useCropImage(), "CropFlag");
    defaults.setBool(dirtyFlag(), "DirtyFlag");
    defaults.setInteger(documentOrientation(), "DocumentOrientation");
    defaults.setInteger(colorBrushIndex(), "ColorBrushIndex");
    defaults.setInteger(overlayIndex(), "OverlayIndex");
    defaults.setInteger(int(selectedTool()), "ToolID");
    defaults.setBool(cursorDisplayFlag(), "CursorDisplay");
    defaults.setFloat(paintBrushAlpha(), "PaintBrushAlpha");
    defaults.setInteger(paintBrushBlendMode(), "PaintBrushBlendMode");
    defaults.setBool(smoothPaintBrushFlag(), "SmoothFlag");
    defaults.setFloat(smoothPaintBrushAmount(), "SmoothAmount");

    // The palette keeps twelve colours; a shorter list (a picker's mistake)
    // leaves the missing entries as they were stored.
    const auto& palette = colorSelectionArray();
    for (int n = 1; n <= 12 && std::size_t(n) <= palette.size(); ++n) {
        UIColorToRGB(palette[std::size_t(n - 1)], rgba);
        defaults.setFloat(rgba[0], paletteKey("Red", n));
        defaults.setFloat(rgba[1], paletteKey("Green", n));
        defaults.setFloat(rgba[2], paletteKey("Blue", n));
    }
}

long CanvoAppDelegate::validateIndex(long index, long count) {
    if (index < 0 || index > count - 1)
        index = count - 1;
    if (index < 0)
        index = 0;
    return index;
}

void CanvoAppDelegate::UIColorToRGB(const Color& color, float rgba[4]) {
    const auto c = color.components();
    if (c.size() == 2) {
        rgba[0] = rgba[1] = rgba[2] = c[0];
        rgba[3] = c[1];
        return;
    }
    for (std::size_t i = 0; i < 4; ++i)
        rgba[i] = i < c.size() ? c[i] : 1.0f;
}

Color CanvoAppDelegate::getSelectedColor() const {
    if (const PaintingView* canvas = getThePaintingView())
        return canvas->currentColor();
    return Color::black();
}

} // namespace zorbel
