// A new document starts without the last one's layers.

#include "app/CanvoAppDelegate.h"
#include "canvas/PaintingView.h"
#include "layers/LayerStack.h"

namespace zorbel {

void CanvoAppDelegate::removeAllSubviews() {
    // The last moved layers go with the others, or the pickers would act on
    // a layer no longer shown.
    setLastMovedTouchImageView(nullptr);
    setLastMovedTextLayer(nullptr);
    if (PaintingView* canvas = getThePaintingView())
        LayerStack::removeAllSubviews(*canvas, this);
}

} // namespace zorbel
