#pragma once

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

// What the pickers ask of the application. The application implements it and
// hands it to each picker it makes; the pickers never see the application's
// own classes. Tool numbers are the shared numbering of selectedTool,
// selectedFilterTool and filterTool (1 paint brush ... 21 contrast).
class PickerHost {
public:
    virtual ~PickerHost() = default;

    // --- Tool state ----------------------------------------------------------
    virtual int selectedTool() const = 0;
    virtual void setSelectedTool(int tool) = 0;
    // Prepares the canvas and the tool button for the selected tool.
    virtual void applyTool() = 0;
    virtual void setSelectedFilterTool(int tool) = 0;
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

    // --- Orientation -------------------------------------------------------------
    // 1 upright, 3 turned: the only interface orientation the pickers allow.
    virtual int documentOrientation() const = 0;
    // The toolbars' orientation: 1 portrait, 3 (or 4) landscape.
    virtual int getCurrentOrientation() const = 0;
};

} // namespace zorbel
