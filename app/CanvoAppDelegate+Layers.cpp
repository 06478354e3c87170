// The overlay pictures and captions on the canvas: the layers' host, the
// archive that keeps them between launches, and their touch handling per tool.

#include "app/CanvoAppDelegate.h"
#include "app/CanvoViewController.h"
#include "canvas/PaintingView.h"
#include "layers/LayerStack.h"
#include "layers/TextLayerView.h"
#include "layers/TextSettingsViewController.h"
#include "platform/foundation/ArchiveFile.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Paths.h"

namespace zorbel {

platform::View* CanvoAppDelegate::layersCanvas() const {
    return getThePaintingView();
}

void CanvoAppDelegate::addTextLayer(std::shared_ptr<TextLayerView> layer) {
    if (!layer)
        return;
    settings_.dirtyFlag = true;
    setLastMovedTextLayer(layer);
    if (PaintingView* canvas = getThePaintingView())
        canvas->addSubview(std::move(layer));
}

void CanvoAppDelegate::setOverlayText(const std::string& text) {
    // The entry screen's text would otherwise go nowhere: the caption is made
    // the first time, as the settings screen makes a new one.
    if (!textLayerView_) {
        auto layer = std::make_shared<TextLayerView>();
        layer->setFontName(TextSettingsViewController::kNewCaptionFontName);
        layer->setFontSize(TextSettingsViewController::kNewCaptionFontSize);
        layer->setFont(platform::Font::fontWithName(layer->fontName(), layer->fontSize()));
        textLayerView_ = std::move(layer);
    }
    TextLayerView& layer = *textLayerView_;
    layer.setFontColor(getSelectedColor());
    layer.setTextString(text);
    if (!layer.superview()) {
        // Sized to the new text and back in the middle of the picture.
        platform::FontRef measuring = layer.font();
        if (!measuring)
            measuring = platform::Font::systemFontOfSize(layer.fontSize());
        const platform::Size textSize = measuring->sizeOfString(text);
        layer.setTransform(platform::AffineTransform::identity());
        layer.setOriginalTransform(platform::AffineTransform::identity());
        const platform::Rect frame =
            TextSettingsViewController::captionFrameForTextSize(textSize);
        layer.setFrame(frame);
        layer.setOrgFrameRect(frame);
        layer.setCenter(TextSettingsViewController::kNewCaptionCenter);
        if (documentOrientation() == 3)
            layer.setLandscapeRotation();
        settings_.dirtyFlag = true;
        setLastMovedTextLayer(textLayerView_);
        if (PaintingView* canvas = getThePaintingView())
            canvas->addSubview(textLayerView_);
    }
    layer.setNeedsDisplay();
}

const platform::ArchiveFile& CanvoAppDelegate::layerArchive() {
    if (!layerArchive_)
        layerArchive_ = std::make_unique<platform::ArchiveFile>(
            platform::Paths::documentsDirectory() / LayerStack::kArchiveFileName);
    return *layerArchive_;
}

void CanvoAppDelegate::readLayers() {
    if (PaintingView* canvas = getThePaintingView())
        (void)LayerStack::readLayers(*canvas, layerArchive());
}

bool CanvoAppDelegate::saveLayers() {
    PaintingView* canvas = getThePaintingView();
    return !canvas || LayerStack::saveLayers(*canvas, layerArchive());
}

void CanvoAppDelegate::enableUserInteractionOverlays() {
    if (PaintingView* canvas = getThePaintingView())
        LayerStack::enableUserInteractionOverlays(*canvas);
}

void CanvoAppDelegate::disableUserInteractionOverlays() {
    if (PaintingView* canvas = getThePaintingView())
        LayerStack::disableUserInteractionOverlays(*canvas);
}

void CanvoAppDelegate::enableUserInteractionTextLayers() {
    if (PaintingView* canvas = getThePaintingView())
        LayerStack::enableUserInteractionTextLayers(*canvas);
}

void CanvoAppDelegate::disableUserInteractionTextLayers() {
    if (PaintingView* canvas = getThePaintingView())
        LayerStack::disableUserInteractionTextLayers(*canvas);
}

void CanvoAppDelegate::disableUserInteractionLayers() {
    if (PaintingView* canvas = getThePaintingView())
        LayerStack::disableUserInteractionLayers(*canvas);
}

void CanvoAppDelegate::flattenImage() {
    if (canvoViewController_)
        canvoViewController_->flattenImage();
}

} // namespace zorbel
