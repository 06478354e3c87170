#pragma once

#include <string>
#include <vector>

#include "canvas/Tool.h"
#include "platform/graphics/BlendMode.h"
#include "platform/graphics/Color.h"
#include "platform/graphics/Image.h"

namespace zorbel {

// The one-shot effects a picker can start: each runs once over the whole
// picture on a short-lived worker thread while the activity indicator spins.
enum class OneShotEffect {
    HorizontalMirror = 9,
    Squeeze = 11,
    LightTunnel = 13,
    Bulge = 14,
    Dent = 15,
    Fisheye = 16,
    GrayScale = 17,
    Sepia = 18,
};

// What every picker asks of the application: the tool picker, the slider
// panel, and the brush, colour, shape and colour-brush pickers. The
// application implements it once and hands it to each picker it makes; the
// pickers never see the application's own classes. It outlives every screen.
class PickerHost {
public:
    virtual ~PickerHost() = default;

    // --- Tool state ----------------------------------------------------------
    virtual Tool selectedTool() const = 0;
    virtual void setSelectedTool(Tool tool) = 0;
    // Prepares the canvas and the tool button for the selected tool.
    virtual void applyTool() = 0;
    virtual void setSelectedFilterTool(Tool tool) = 0;
    // Arms the interactive effect in selectedFilterTool; its slider panel
    // opens when the toolbars come back.
    virtual void applyFilterTool() = 0;

    // --- One-shot effects ----------------------------------------------------
    // The large activity indicator, spinning: from now on the application is
    // too busy for user interaction.
    virtual void setUpProgressView() = 0;
    // Starts the effect on its worker thread and returns at once; the worker's
    // completion stops the indicator on the main thread.
    virtual void detachOneShotEffect(OneShotEffect effect) = 0;

    // --- Layers ----------------------------------------------------------------
    // Every layer merged into the painting.
    virtual void flattenImage() = 0;
    virtual bool hasLastMovedTouchImageView() const = 0;
    virtual void flipLastMovedTouchImageView() = 0;
    // Takes the last moved picture layer off the canvas and forgets it.
    virtual void removeLastMovedTouchImageView() = 0;
    virtual bool hasLastMovedTextLayer() const = 0;
    // Takes the last moved caption off the canvas and forgets it.
    virtual void removeLastMovedTextLayer() = 0;

    // --- Brush -----------------------------------------------------------------
    // Opacity of the paint brush, 0 to 1.
    virtual float brushAlpha() const = 0;
    virtual void setBrushAlpha(float alpha) = 0;
    virtual platform::BlendMode blendMode() const = 0;
    virtual void setBlendMode(platform::BlendMode mode) = 0;
    // Brush size in points; the brush-size badge shows it.
    virtual void setBrushSize(int size) = 0;
    // Index of the brush in the brush table (see BrushTable.h).
    virtual void setBrushIndex(long index) = 0;
    // The canvas builds its brush from the picture.
    virtual void setBrushImage(platform::ImageRef image) = 0;

    // --- Colour ------------------------------------------------------------------
    // The stored palette (twelve colours).
    virtual const std::vector<platform::Color>& colorSelectionArray() const = 0;
    virtual void setColorSelectionArray(std::vector<platform::Color> colors) = 0;
    // The paint colour (and the colour well, and a selected caption's colour).
    virtual void setColor(const platform::Color& color) = 0;

    // --- Overlays and colour brushes -------------------------------------------
    virtual void setOverlayIndex(int index) = 0;
    virtual void setDirtyFlag(bool dirty) = 0;
    // Loads the overlay picture of that catalogue name and adds it to the
    // painting as a new movable layer.
    virtual void AddShape(const std::string& imageName) = 0;
    // The canvas builds its colour brush from the picture (null: no picture).
    virtual void setColorBrushImage(platform::ImageRef image) = 0;
    virtual void setColorBrushIndex(int index) = 0;

    // --- Orientation -------------------------------------------------------------
    // 1 upright, 3 turned: the only interface orientation the pickers allow.
    virtual int documentOrientation() const = 0;
    // The toolbars' orientation: 1 portrait, 3 (or 4) landscape.
    virtual int getCurrentOrientation() const = 0;
};

} // namespace zorbel
