#include "pickers/ToolbarColorView.h"

#include "platform/graphics/Context.h"

namespace zorbel {

void ToolbarColorView::setToolbarImage(platform::ImageRef image) {
    toolbarImage_ = std::move(image);
    setNeedsDisplay();
}

void ToolbarColorView::setDisplayColor(std::optional<platform::Color> color) {
    displayColor_ = color;
    setNeedsDisplay();
}

void ToolbarColorView::doAction() {
    if (target_) {
        auto keepAlive = shared_from_this();
        target_(this);
    }
}

bool ToolbarColorView::pointInside(platform::Point p, const platform::Event*) const {
    return bounds().inset(-kTouchMargin, -kTouchMargin).contains(p);
}

// The action waits for the finger rather than the hit test, which is also
// asked when nothing touches.
void ToolbarColorView::touchesBegan(const platform::TouchSet&, platform::Event&) {
    doAction();
}

bool ToolbarColorView::answersToPressName(std::string_view name) const {
    const std::string_view action = kActionName;
    return name == kAccessibilityLabel || name == action ||
           name == action.substr(0, action.size() - 1);
}

void ToolbarColorView::drawRect(platform::Context& context, const platform::Rect&) {
    if (toolbarImage_) {
        const platform::Size size = toolbarImage_->size();
        context.drawImageUpright(platform::Rect(0, 0, size.width, size.height), *toolbarImage_);
    } else if (displayColor_) {
        context.setFillColor(*displayColor_);
        context.fillRect(bounds());
    }
}

} // namespace zorbel
