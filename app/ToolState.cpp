#include "app/ToolState.h"

#include "app/CanvoAppDelegate.h" // the tool identifiers

namespace zorbel {

bool ToolState::isPaintStyleTool(int tool) {
    switch (tool) {
    case PaintBrushTool:
    case EraserTool:
    case CloneTool:
    case EyeDropperTool:
    case ColorBrushTool:
        return true;
    default:
        return false;
    }
}

bool ToolState::isInteractiveEffect(int tool) {
    return tool == TwirlTool || tool == BrightnessTool || tool == ContrastTool;
}

void ToolState::applyFilterTool() {
    if (isInteractiveEffect(selectedFilterTool_))
        filterTool_ = selectedFilterTool_;
}

} // namespace zorbel
