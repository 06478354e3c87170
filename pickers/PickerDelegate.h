#pragma once

#include <string>
#include <vector>

#include "platform/graphics/Color.h"
#include "platform/graphics/Image.h"

namespace zorbel {

// What the brush, colour, shape and colour-brush pickers ask of the
// application: the current brush settings and palette, and the operations
// that make a choice current. The application delegate implements it; a
// picker keeps it as a plain pointer (it outlives every screen) and does
// nothing of its own when it is null.
class PickerDelegate {
public:
    virtual ~PickerDelegate() = default;

    // --- Brush picker ------------------------------------------------------------
    // Opacity of the paint brush, 0 to 1.
    virtual float brushAlpha() const = 0;
    virtual void setBrushAlpha(float alpha) = 0;
    // Blend mode of the paint brush, by its stored number (platform::BlendMode).
    virtual int blendMode() const = 0;
    virtual void setBlendMode(int mode) = 0;
    // Brush size in points; the brush-size badge shows it.
    virtual void setBrushSize(int size) = 0;
    // Index of the brush in the brush table (see BrushTable.h).
    virtual void setBrushIndex(long index) = 0;
    // The canvas builds its brush from the picture.
    virtual void setBrushImage(platform::ImageRef image) = 0;

    // --- Colour picker -------------------------------------------------------------
    // The stored palette (twelve colours).
    virtual const std::vector<platform::Color>& colorSelectionArray() const = 0;
    virtual void setColorSelectionArray(std::vector<platform::Color> colors) = 0;
    // The paint colour (and the colour well, and a selected caption's colour).
    virtual void setColor(const platform::Color& color) = 0;

    // --- Shape picker --------------------------------------------------------------
    virtual void setOverlayIndex(int index) = 0;
    virtual void setDirtyFlag(bool dirty) = 0;
    // The main view controller's AddShape: loads the overlay picture of that
    // catalogue name and adds it to the painting as a new movable layer.
    virtual void AddShape(const std::string& imageName) = 0;

    // --- Colour-brush picker -------------------------------------------------------
    // Tool numbers as stored in "ToolID" (19 is the colour brush).
    virtual void setSelectedTool(int tool) = 0;
    // Prepares the canvas and the tool button for the selected tool.
    virtual void applyTool() = 0;
    // The canvas builds its colour brush from the picture (null: no picture).
    virtual void setColorBrushImage(platform::ImageRef image) = 0;
    virtual void setColorBrushIndex(int index) = 0;

    // --- Every picker --------------------------------------------------------------
    // The toolbar's orientation: 1 portrait, 3 or 4 landscape.
    virtual int getCurrentOrientation() const = 0;
};

} // namespace zorbel
