// A view's drawing: what needs redisplay, its backing store and the tree
// rendered into a context.

#include <memory>
#include <vector>

#include "platform/ui/GraphicsContext.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"

namespace platform {

void View::setNeedsDisplay() {
    setNeedsDisplayInRect(bounds_);
}

void View::setNeedsDisplayInRect(const Rect& rect) {
    const Rect r = rect.standardized().intersection(bounds_);
    if (r.isNull() || r.isEmpty())
        return;
    dirty_ = dirty_.unionWith(r);
    if (Window* w = window())
        w->setNeedsRender();
}

void View::setNeedsComposite() {
    compositeDirty_ = true;
    if (Window* w = window())
        w->setNeedsRender();
}

void View::drawRect(Context&, const Rect&) {
    drewNothing_ = true;
}

void View::displayIfNeeded() {
    if (!drawsContent())
        drewNothing_ = true;
    Window* w = window();
    const float scale = w ? w->scale() : 1.0f;
    const BackingStore::PixelSize pixels = BackingStore::pixelSize(bounds_.size, scale);
    if (pixels.width <= 0 || pixels.height <= 0 || keepsNoBackingStore()) {
        // Nothing to keep: an empty view, or one that draws nothing of its
        // own (a plain container), whose opaque background colour, if any,
        // is laid straight into the framebuffer: a screen-sized backing store
        // of one colour would cost as much memory, and as much to fill, as
        // the picture it covers. (A translucent colour is kept drawn: laying
        // it again on every frame costs more than laying its drawing.)
        if (w && !dirty_.isNull())
            w->viewDidDraw(this, bounds_);
        backing_.release();
        dirty_ = Rect::null();
        return;
    }
    if (!backing_.fits(pixels, scale)) {
        if (backing_ && contentMode_ != ContentMode::Redraw && backing_.scale() == scale &&
            dirty_.isNull())
            return; // the stored drawing is laid into the new size by the content mode
        dirty_ = bounds_;
        if (!backing_.recreate(pixels, scale))
            return;
    }
    if (dirty_.isNull())
        return;
    const Rect dirty = dirty_;
    dirty_ = Rect::null();
    backing_.setDrawnSize(bounds_.size);
    const Rect area = BackingStore::pixelAlignedArea(dirty, bounds_, scale);
    drawIntoBackingStore(area, scale);
    if (w)
        w->viewDidDraw(this, area);
    if (keepsNoBackingStore())
        backing_.release();
}

bool View::hasBackground() const {
    return backgroundColor_ && backgroundColor_->alpha() > 0;
}

bool View::keepsNoBackingStore() const {
    return drewNothing_ && (!hasBackground() || backgroundColor_->alpha() >= 1.0f);
}

void View::drawIntoBackingStore(const Rect& area, float scale) {
    Context& c = *backing_.context();
    GStateGuard guard(c);
    c.scaleCTM(scale, scale);
    c.translateCTM(-bounds_.minX(), -bounds_.minY());
    c.clipToRect(area);
    c.clearRect(area);
    if (backgroundColor_ && backgroundColor_->alpha() > 0) {
        c.setFillColor(*backgroundColor_);
        c.fillRect(area);
    }
    GStateGuard drawGuard(c);
    CurrentContextScope current(c);
    drewNothing_ = false;
    drawRect(c, area);
}

void View::drawBackingStore(Context& context) {
    if (!backing_)
        return;
    backing_.drawInto(context, contentMode_, presentation().bounds);
}

void View::renderInContext(Context& context) {
    layoutIfNeeded();
    GStateGuard guard(context);
    renderTree(context, 1.0f, /*isRoot=*/true);
}

void View::renderTree(Context& context, float inheritedAlpha, bool isRoot) {
    const Presentation p = presentation();
    if (hidden_ || p.alpha <= 0)
        return;
    GStateGuard guard(context);
    if (!isRoot) {
        context.concatCTM(AffineTransform::makeTranslation(-p.bounds.midX(), -p.bounds.midY())
                              .concat(p.transform)
                              .concat(AffineTransform::makeTranslation(p.center.x, p.center.y)));
    }
    const float alpha = inheritedAlpha * p.alpha;
    displayIfNeeded();
    if (clipsToBounds_)
        context.clipToRect(p.bounds);
    if (backing_) {
        context.setAlpha(alpha);
        drawBackingStore(context);
    } else if (keepsNoBackingStore() && hasBackground()) {
        context.setAlpha(alpha);
        context.setFillColor(*backgroundColor_);
        context.fillRect(p.bounds);
    }
    for (auto& sub : std::vector<std::shared_ptr<View>>(subviews_))
        sub->renderTree(context, alpha, false);
}

} // namespace platform
