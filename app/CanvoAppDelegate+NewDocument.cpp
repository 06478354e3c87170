// A new document starts without the last one's layers.

#include "app/CanvoAppDelegate.h"
#include "app/CanvoViewController.h"
#include "canvas/PaintingView.h"

namespace zorbel {

void CanvoAppDelegate::removeAllSubviews() {
    // The last moved layers go with the others, or the pickers would act on
    // a layer no longer shown.
    setLastMovedTouchImageView(nullptr);
    setLastMovedTextLayer(nullptr);
    PaintingView* canvas = getThePaintingView();
    if (!canvas)
        return;
    // Every subview of the canvas is a layer; copy the list, as removing
    // changes it.
    const auto layers = canvas->subviews();
    for (const auto& layer : layers)
        layer->removeFromSuperview();
}

} // namespace zorbel
