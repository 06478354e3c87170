#pragma once

#include "canvas/Tool.h"
#include "platform/graphics/Image.h"

namespace zorbel {

// What the person is doing with the tools, beyond what the settings keep:
// the effect last chosen in the tool picker, the interactive effect whose
// slider panel opens next, whether a finger is painting, whether a shake
// erase waits for its answer, and the brush picture last set. (The drawing
// tool itself is stored, "ToolID", and lives with the settings.)
class ToolState {
public:
    // Seconds between a stroke's end and the toolbars' return.
    static constexpr double kPaintInterval = 1.75;

    // The effects that open a slider panel: 12, 20 and 21.
    static bool isInteractiveEffect(Tool tool);

    // The effect last chosen in the tool picker; 0 at start.
    Tool selectedFilterTool() const { return selectedFilterTool_; }
    void setSelectedFilterTool(Tool tool) { selectedFilterTool_ = tool; }
    // The interactive effect whose slider panel opens next, or 0.
    Tool filterTool() const { return filterTool_; }
    void setFilterTool(Tool tool) { filterTool_ = tool; }
    // filterTool takes selectedFilterTool when that is an interactive effect;
    // any other value changes nothing.
    void applyFilterTool();

    // A finger stroke is in progress.
    bool paintingFlag() const { return paintingFlag_; }
    void setPaintingFlag(bool painting) { paintingFlag_ = painting; }
    // A shake erase is under way (its sheet is up): further shakes are ignored.
    bool shaken() const { return shaken_; }
    void setShaken(bool shaken) { shaken_ = shaken; }
    double paintInterval() const { return paintInterval_; }
    void setPaintInterval(double seconds) { paintInterval_ = seconds; }
    platform::ImageRef currentBrushImage() const { return currentBrushImage_; }
    void setCurrentBrushImage(platform::ImageRef image) { currentBrushImage_ = std::move(image); }

private:
    Tool selectedFilterTool_ = Tool::NoTool;
    Tool filterTool_ = Tool::NoTool;
    bool paintingFlag_ = false;
    bool shaken_ = false;
    double paintInterval_ = 0;
    platform::ImageRef currentBrushImage_;
};

} // namespace zorbel
