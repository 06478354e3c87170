#include "app/ToolState.h"

#include "app/CanvoAppDelegate.h" // the tool identifiers

namespace zorbel {

bool ToolState::isPaintStyleTool(Tool tool) {
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

bool ToolState::isInteractiveEffect(Tool tool) {
    return tool == Tool::TwirlTool || tool == Tool::BrightnessTool || tool == Tool::ContrastTool;
}

void ToolState::applyFilterTool() {
    if (isInteractiveEffect(selectedFilterTool_))
        filterTool_ = selectedFilterTool_;
}

} // namespace zorbel
