#include "pickers/ToolBarToolView.h"

namespace zorbel {

ToolBarToolView::ToolBarToolView() : ToolBarToolView(platform::Rect()) {}

ToolBarToolView::ToolBarToolView(const platform::Rect& frame) : platform::View(frame) {
    setOpaque(false);
}

void ToolBarToolView::setToolbarImage(platform::ImageRef image) {
    toolbarImage_ = std::move(image);
    setNeedsDisplay();
}

void ToolBarToolView::setDisplayColor(std::optional<platform::Color> color) {
    displayColor_ = color;
    setNeedsDisplay();
}

void ToolBarToolView::doAction() {
    if (target_)
        target_->selectToolAction(this);
}

void ToolBarToolView::drawRect(platform::Context& context, const platform::Rect&) {
    if (toolbarImage_) {
        const platform::Size s = toolbarImage_->size();
        context.drawImageUpright(platform::Rect(0, 0, s.width, s.height), *toolbarImage_);
        return;
    }
    if (displayColor_) {
        context.setFillColor(*displayColor_);
        context.fillRect(bounds());
    }
}

platform::View* ToolBarToolView::hitTest(platform::Point p, const platform::Event*) {
    if (isHidden() || !isUserInteractionEnabled())
        return nullptr;
    const platform::Rect b = bounds();
    const platform::Rect area(b.minX() - kHitSlop, b.minY() - kHitSlop, b.width() + 2 * kHitSlop,
                              b.height() + 2 * kHitSlop);
    if (!area.contains(p))
        return nullptr;
    doAction();
    return this;
}

} // namespace zorbel
