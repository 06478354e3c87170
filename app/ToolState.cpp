#include "app/ToolState.h"

#include "app/CanvoAppDelegate.h" // the tool identifiers

namespace zorbel {

bool ToolState::isInteractiveEffect(Tool tool) {
    return tool == Tool::TwirlTool || tool == Tool::BrightnessTool || tool == Tool::ContrastTool;
}

void ToolState::applyFilterTool() {
    if (isInteractiveEffect(selectedFilterTool_))
        filterTool_ = selectedFilterTool_;
}

} // namespace zorbel
