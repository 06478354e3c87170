// Brushes: the start brush, brush and colour-brush pictures turned into the
// stamp, and its tint while the paint brush is the tool.

#include "canvas/PaintingView.h"
#include "platform/foundation/Log.h"

namespace zorbel {

using platform::ImageRef;
using platform::log;

void PaintingView::createBrushLayer() {
    ImageRef picture = platform::Image::named("particlewithalpha.png");
    if (!picture) {
        log("Standard Brush not found");
        return;
    }
    brush_.buildStart(*picture, host().paintingViewTool() == Tool::PaintBrushTool);
}

void PaintingView::createBrushLayerFromImage(ImageRef image) {
    brush_.setPicture(std::move(image));
    if (!brush_.picture())
        return;
    brush_.build(*brush_.picture(),
                 host().paintingViewDocumentOrientation() == DocumentOrientation::Turned,
                 "createBrushLayerFromImage");
    setBrushToCurrentColor();
}

void PaintingView::reloadBrushLayer() {
    if (!brush_.picture())
        return;
    brush_.build(*brush_.picture(),
                 host().paintingViewDocumentOrientation() == DocumentOrientation::Turned,
                 "reloadBrushLayer");
    setBrushToCurrentColor();
}

void PaintingView::createColorBrushLayerFromImage(ImageRef image) {
    brush_.setColorPicture(std::move(image));
    if (!brush_.colorPicture())
        return;
    brush_.buildColorBrush(*brush_.colorPicture(),
                           host().paintingViewDocumentOrientation() == DocumentOrientation::Turned);
}

void PaintingView::reloadColorBrush() {
    if (!brush_.colorPicture()) {
        brush_.setColorPicture(brush_.picture());
        if (!brush_.colorPicture())
            log("No brush image");
    }
    createColorBrushLayerFromImage(brush_.colorPicture());
}

void PaintingView::setBrushToCurrentColor() {
    const auto components = currentColor_.components();
    if (components.size() == 2)
        setBrushColorRed(components[0], components[0], components[0]);
    else
        setBrushColorRed(components[0], components[1], components[2]);
}

void PaintingView::setBrushColorRed(float red, float green, float blue) {
    if (host().paintingViewTool() != Tool::PaintBrushTool)
        return;
    brush_.tint(red, green, blue);
}

void PaintingView::setColor(const platform::Color& color) {
    currentColor_ = color;
    setBrushToCurrentColor();
}

void PaintingView::setBrushSize(int size) {
    brush_.setSize(float(size));
}

} // namespace zorbel
