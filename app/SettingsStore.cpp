#include "app/SettingsStore.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <type_traits>
#include <variant>

#include "platform/foundation/Log.h"
#include "platform/foundation/UserDefaults.h"

namespace zorbel {

namespace {

using platform::Color;
using platform::UserDefaults;

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

// A stored value as the person would have typed it into the file.
std::string describe(const std::optional<UserDefaults::Value>& value) {
    if (!value)
        return "nothing";
    return std::visit(
        [](const auto& v) -> std::string {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, bool>)
                return v ? "true" : "false";
            else if constexpr (std::is_same_v<T, std::string>)
                return "\"" + v + "\"";
            else if constexpr (std::is_same_v<T, double>) {
                char text[32];
                const auto end = std::to_chars(text, text + sizeof text, v).ptr;
                return std::string(text, end);
            } else
                return std::to_string(v);
        },
        *value);
}

} // namespace

int SettingsStore::truncateToInt(double value) {
    if (std::isnan(value))
        return 0;
    if (value >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (value <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return int(value);
}

void SettingsStore::registerDefaults() {
    const Settings d;
    std::map<std::string, UserDefaults::Value> table = {
        {"BrushSize", floatNumber(d.brushSize)},
        {"BrushIndex", intNumber(int(d.brushIndex))},
        {"redColor", floatNumber(d.color.red())},
        {"greenColor", floatNumber(d.color.green())},
        {"blueColor", floatNumber(d.color.blue())},
        {"alphaColor", floatNumber(d.color.alpha())},
        {"FingerX", floatNumber(d.fingerOffset.x)},
        {"FingerY", floatNumber(d.fingerOffset.y)},
        {"ShakeCheck", boolNumber(d.askOnShake)},
        {"SmartFlag", boolNumber(d.smartShapesEnabled)},
        {"CropFlag", boolNumber(d.useCropImage)},
        {"DirtyFlag", boolNumber(d.dirtyFlag)},
        {"DocumentOrientation", intNumber(d.documentOrientation)},
        {"ColorBrushIndex", intNumber(d.colorBrushIndex)},
        {"OverlayIndex", intNumber(d.overlayIndex)},
        {"ToolID", intNumber(int(d.selectedTool))},
        {"CursorDisplay", boolNumber(d.cursorDisplayFlag)},
        {"PaintBrushAlpha", floatNumber(d.paintBrushAlpha)},
        {"PaintBrushBlendMode", intNumber(d.paintBrushBlendMode)},
        {"SmoothFlag", boolNumber(d.smoothPaintBrushFlag)},
        {"SmoothAmount", floatNumber(d.smoothPaintBrushAmount)},
    };
    for (int n = 1; n <= Settings::kPaletteSize; ++n) {
        const Color& colour = d.colorSelectionArray[std::size_t(n - 1)];
        table[paletteKey("Red", n)] = floatNumber(colour.red());
        table[paletteKey("Green", n)] = floatNumber(colour.green());
        table[paletteKey("Blue", n)] = floatNumber(colour.blue());
    }
    defaults_.registerDefaults(table);
}

Settings SettingsStore::load() {
    registerDefaults();
    const UserDefaults& d = defaults_;
    const auto readInt = [&d](const char* key) {
        return truncateToInt(double(d.integerForKey(key)));
    };
    Settings s;

    s.brushSize = d.floatForKey("BrushSize");
    s.color = Color::rgb(d.floatForKey("redColor"), d.floatForKey("greenColor"),
                         d.floatForKey("blueColor"), d.floatForKey("alphaColor"));
    s.fingerOffset = {d.floatForKey("FingerX"), d.floatForKey("FingerY")};

    s.smartShapesEnabled = d.boolForKey("SmartFlag");
    s.askOnShake = d.boolForKey("ShakeCheck");
    s.brushIndex = d.integerForKey("BrushIndex");
    s.useCropImage = d.boolForKey("CropFlag");
    s.dirtyFlag = d.boolForKey("DirtyFlag");
    // Any other number makes every picture output fail, so a damaged value
    // would silently cost every later painting.
    const long orientation = d.integerForKey("DocumentOrientation");
    if (orientation == 1 || orientation == 3)
        s.documentOrientation = int(orientation);
    else
        platform::log("Settings: \"DocumentOrientation\" is " +
                      describe(d.objectForKey("DocumentOrientation")) +
                      ", neither 1 nor 3: ignored");
    s.colorBrushIndex = readInt("ColorBrushIndex");
    s.overlayIndex = readInt("OverlayIndex");
    s.selectedTool = Tool(readInt("ToolID"));
    s.cursorDisplayFlag = d.boolForKey("CursorDisplay");
    s.paintBrushAlpha = d.floatForKey("PaintBrushAlpha");
    s.paintBrushBlendMode = readInt("PaintBrushBlendMode");
    s.smoothPaintBrushFlag = d.boolForKey("SmoothFlag");
    s.smoothPaintBrushAmount = d.floatForKey("SmoothAmount");

    s.colorSelectionArray.clear();
    for (int n = 1; n <= Settings::kPaletteSize; ++n)
        s.colorSelectionArray.push_back(Color::rgb(d.floatForKey(paletteKey("Red", n)),
                                                   d.floatForKey(paletteKey("Green", n)),
                                                   d.floatForKey(paletteKey("Blue", n)), 1.0f));
    return s;
}

void SettingsStore::save(const Settings& s) {
    UserDefaults& d = defaults_;
    float rgba[4];
    UIColorToRGB(s.color, rgba);
    d.setFloat(rgba[0], "redColor");
    d.setFloat(rgba[1], "greenColor");
    d.setFloat(rgba[2], "blueColor");
    d.setFloat(rgba[3], "alphaColor");

    d.setInteger(long(truncateToInt(double(s.brushIndex))), "BrushIndex");
    d.setBool(s.smartShapesEnabled, "SmartFlag");
    d.setBool(s.askOnShake, "ShakeCheck");

    d.setFloat(s.fingerOffset.x, "FingerX");
    d.setFloat(s.fingerOffset.y, "FingerY");

    d.setBool(s.useCropImage, "CropFlag");
    d.setBool(s.dirtyFlag, "DirtyFlag");
    d.setInteger(s.documentOrientation, "DocumentOrientation");
    d.setInteger(s.colorBrushIndex, "ColorBrushIndex");
    d.setInteger(s.overlayIndex, "OverlayIndex");
    d.setInteger(int(s.selectedTool), "ToolID");
    d.setBool(s.cursorDisplayFlag, "CursorDisplay");
    d.setFloat(s.paintBrushAlpha, "PaintBrushAlpha");
    d.setInteger(s.paintBrushBlendMode, "PaintBrushBlendMode");
    d.setBool(s.smoothPaintBrushFlag, "SmoothFlag");
    d.setFloat(s.smoothPaintBrushAmount, "SmoothAmount");

    // The colour picker hands back a list of its own; one that lost colours
    // must not take the stored ones with it.
    const auto& palette = s.colorSelectionArray;
    for (int n = 1; n <= Settings::kPaletteSize && std::size_t(n) <= palette.size(); ++n) {
        UIColorToRGB(palette[std::size_t(n - 1)], rgba);
        d.setFloat(rgba[0], paletteKey("Red", n));
        d.setFloat(rgba[1], paletteKey("Green", n));
        d.setFloat(rgba[2], paletteKey("Blue", n));
    }
}

long SettingsStore::validateIndex(long index, long count) {
    if (index < 0 || index > count - 1)
        index = count - 1;
    if (index < 0)
        index = 0;
    return index;
}

void SettingsStore::UIColorToRGB(const Color& color, float rgba[4]) {
    const auto c = color.components();
    if (c.size() == 2) {
        rgba[0] = rgba[1] = rgba[2] = c[0];
        rgba[3] = c[1];
        return;
    }
    for (std::size_t i = 0; i < 4; ++i)
        rgba[i] = i < c.size() ? c[i] : 1.0f;
}

} // namespace zorbel
