#include "app/CanvoViewController.h"

#include "app/CanvoAppDelegate.h"
#include "app/NewMasterViewController.h"
#include "canvas/DocumentFolder.h"
#include "canvas/PaintingView.h"
#include "layers/LayerStack.h"
#include "layers/TouchImageView.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/ResourceBundle.h"
#include "platform/imagepicker/ImagePickerController.h"
#include "platform/ui/Window.h"

namespace zorbel {

CanvoViewController::CanvoViewController() : platform::ViewController(kInterfaceName) {
    setTitle("Zorbel");
}

CanvoViewController::~CanvoViewController() = default;

void CanvoViewController::viewDidLoad() {
    platform::View* tagged = view()->viewWithTag(kPaintViewTag);
    auto canvas =
        tagged ? std::dynamic_pointer_cast<PaintingView>(tagged->shared_from_this()) : nullptr;
    if (!canvas) {
        std::string line = "CanvoViewController: no canvas with tag 100 in ";
        line += kInterfaceName;
        platform::log(line);
    }
    paintView_ = std::move(canvas);
}

void CanvoViewController::didReceiveMemoryWarning() {
    platform::ViewController::didReceiveMemoryWarning();
    platform::log("******* didReceiveMemoryWarning CanvoViewController");
}

bool CanvoViewController::shouldAutorotateToInterfaceOrientation(int orientation) {
    return orientation == platform::InterfaceOrientationPortrait;
}

// --- Forwarded to the canvas -----------------------------------------------------

void CanvoViewController::setBrushSize(int size) {
    if (paintView_)
        paintView_->setBrushSize(size);
}

void CanvoViewController::setBrushImage(platform::ImageRef image) {
    if (paintView_)
        paintView_->createBrushLayerFromImage(std::move(image));
}

void CanvoViewController::setColorBrushImage(platform::ImageRef image) {
    if (paintView_)
        paintView_->createColorBrushLayerFromImage(std::move(image));
}

void CanvoViewController::setColor(const platform::Color& color) {
    if (paintView_)
        paintView_->setColor(color);
}

platform::Point CanvoViewController::fingerOffset() const {
    return paintView_ ? paintView_->touchState().fingerOffset : platform::Point{};
}

void CanvoViewController::refreshDrawing() {
    if (paintView_)
        paintView_->refreshDrawing();
}

void CanvoViewController::refreshFromOrgImage() {
    if (paintView_)
        paintView_->eraseImageToOriginal();
}

void CanvoViewController::switchUndoBuffer() {
    if (paintView_)
        paintView_->switchUndoBuffer();
}

platform::ImageRef CanvoViewController::getImageToSave() {
    if (!paintView_ || !myDelegate_)
        return nullptr;
    return paintView_->getImageToSave(DocumentOrientation(myDelegate_->documentOrientation()));
}

platform::ImageRef CanvoViewController::getFlattenedImageToSave() {
    if (!paintView_ || !myDelegate_)
        return nullptr;
    return paintView_->getFlattenedImageToSave(
        DocumentOrientation(myDelegate_->documentOrientation()));
}

void CanvoViewController::doHorzMirror() {
    if (!paintView_)
        return;
    const bool landscape =
        myDelegate_ && platform::isLandscape(myDelegate_->getCurrentOrientation());
    paintView_->applyHorzMirror(landscape);
}

void CanvoViewController::doSqueeze() {
    if (paintView_)
        paintView_->applySqueeze2();
}

void CanvoViewController::doTwirl() {
    if (paintView_)
        paintView_->setUpTwirlAdjustment();
}

void CanvoViewController::doLightTunnel() {
    if (paintView_)
        paintView_->applyLightTunnel();
}

void CanvoViewController::doBulge() {
    if (paintView_)
        paintView_->applyBulge();
}

void CanvoViewController::doDent() {
    if (paintView_)
        paintView_->applyDent();
}

void CanvoViewController::doFisheye() {
    if (paintView_)
        paintView_->applyFisheye();
}

void CanvoViewController::doGrayScale() {
    if (paintView_)
        paintView_->applyGrayScale();
}

void CanvoViewController::doSepia() {
    if (paintView_)
        paintView_->applySepiaToColor();
}

// --- Forwarded to the application delegate ---------------------------------------

void CanvoViewController::startPainting() {
    if (myDelegate_)
        myDelegate_->startPainting();
}

void CanvoViewController::endPainting() {
    if (myDelegate_)
        myDelegate_->endPainting();
}

bool CanvoViewController::smartShapesEnabled() const {
    return myDelegate_ && myDelegate_->smartShapesEnabled();
}

void CanvoViewController::restoreToolsbar() {
    if (myDelegate_ && myDelegate_->newMasterViewController())
        myDelegate_->newMasterViewController()->showAllToolsIfNecessary();
}

// --- Own -------------------------------------------------------------------------

void CanvoViewController::setFingerOffset(platform::Point offset) {
    if (!paintView_)
        return;
    paintView_->touchState().fingerOffset = offset;
    // |trunc(v)| <= 10 exactly when -11 < v < 11: (10.9, -10.9) still counts
    // as small. Compared as floats, so no value can overflow a conversion.
    const auto truncatesSmall = [](float v) { return v > -11.0f && v < 11.0f; };
    const bool small = truncatesSmall(offset.x) && truncatesSmall(offset.y);
    paintView_->touchState().showCursor = !small;
}

void CanvoViewController::setBGImage(platform::ImageRef image) {
    if (myDelegate_)
        myDelegate_->setDirtyFlag(false);
    if (!paintView_)
        return;
    paintView_->setBGImage(std::move(image));
    paintView_->setOrgUIImage(paintView_->bgUIImage());
    paintView_->rawcopyToOrgImageBuffer();
}

void CanvoViewController::saveImage(platform::ImageRef image) {
    setBGImage(std::move(image));
}

void CanvoViewController::flattenImage() {
    if (!paintView_ || paintView_->subviews().empty())
        return;
    platform::ImageRef flattened = getFlattenedImageToSave();
    if (!flattened) {
        // The layers stay rather than vanish without reaching the picture.
        platform::log("flattenImage: the picture with its layers could not be made");
        return;
    }
    paintView_->setBGImage(std::move(flattened));
    LayerStack::removeAllSubviews(*paintView_, myDelegate_);
    if (myDelegate_)
        myDelegate_->setDirtyFlag(true);
}

bool CanvoViewController::writeFlattenedImageOut(const std::string& fileName) {
    if (!paintView_)
        return false;
    platform::ImageRef picture = getFlattenedImageToSave();
    if (!picture)
        return false;
    auto png = picture->pngData(DocumentFolder::kPngCompressionLevel);
    if (!png) {
        platform::log("Could not encode " + fileName + ": " + png.error());
        return false;
    }
    return paintView_->writeApplicationData(*png, fileName);
}

platform::Rect CanvoViewController::overlayFrameForPictureSize(platform::Size pictureSize) {
    return platform::Rect(0, 0, kOverlayLayerWidth,
                          TouchImageView::kPictureWidth * pictureSize.height / pictureSize.width);
}

void CanvoViewController::AddShape(const std::string& imageName) {
    // Only a plain resource name: the name may have come from a stored index
    // or another screen, and must not make the app read files elsewhere.
    platform::ImageRef picture;
    if (platform::ResourceBundle::isSafeName(imageName))
        picture = platform::Image::named(imageName);
    if (!picture || !(picture->size().width > 0) || !(picture->size().height > 0)) {
        platform::log("Overlay image not found");
        platform::log(imageName);
        return;
    }
    auto layer = std::make_shared<TouchImageView>(overlayFrameForPictureSize(picture->size()));
    layer->setImage(std::move(picture));
    layer->setCenter(kNewOverlayCenter);
    layer->setOrgImageFilename(imageName);
    if (myDelegate_ && myDelegate_->documentOrientation() == 3)
        layer->setLandscapeRotation();
    if (myDelegate_) {
        myDelegate_->setLastMovedTouchImageView(layer);
        // A new picture on the painting is a change worth saving, even
        // before it is moved.
        myDelegate_->setDirtyFlag(true);
    }
    view()->addSubview(std::move(layer));
}

// --- Scroll-view callbacks ----------------------------------------------------------

platform::View* CanvoViewController::viewForZoomingInScrollView(platform::ScrollView&) {
    if (myDelegate_)
        myDelegate_->hideBottomTools();
    return view().get();
}

void CanvoViewController::scrollViewDidEndDragging(platform::ScrollView&, bool) {
    scrollingEnded();
}

void CanvoViewController::scrollViewDidEndDecelerating(platform::ScrollView&) {
    scrollingEnded();
}

void CanvoViewController::scrollViewDidEndScrollingAnimation(platform::ScrollView&) {
    scrollingEnded();
}

void CanvoViewController::scrollViewDidEndZooming(platform::ScrollView&, platform::View*, float) {
    scrollingEnded();
}

void CanvoViewController::scrollingEnded() {
    if (myDelegate_)
        myDelegate_->showBottomTools();
    if (paintView_)
        paintView_->setNeedsDisplay();
}

// --- The controller's own photo picker ---------------------------------------------

void CanvoViewController::DoPick() {
    (void)startImagePickerFromViewController(this, this);
}

bool CanvoViewController::startImagePickerFromViewController(
    platform::ViewController* controller, platform::ImagePickerControllerDelegate* delegate) {
    using platform::ImagePickerSourceType;
    if (!platform::ImagePickerController::isSourceTypeAvailable(
            ImagePickerSourceType::PhotoLibrary) ||
        !controller || !delegate)
        return false;
    auto picker = std::make_shared<platform::ImagePickerController>();
    picker->setSourceType(ImagePickerSourceType::PhotoLibrary);
    picker->setDelegate(delegate);
    picker->setAllowsImageEditing(true);
    controller->presentModalViewController(std::move(picker), true);
    return true;
}

void CanvoViewController::dismissPicker(platform::ImagePickerController& picker) {
    if (platform::ViewController* parent = picker.parentViewController())
        parent->dismissModalViewControllerAnimated(true);
    restoreToolsbar();
}

void CanvoViewController::imagePickerControllerDidFinishPickingImage(
    platform::ImagePickerController& picker, platform::ImageRef image,
    const platform::ImagePickerEditingInfo&) {
    if (image)
        saveImage(std::move(image));
    dismissPicker(picker);
}

void CanvoViewController::imagePickerControllerDidCancel(platform::ImagePickerController& picker) {
    dismissPicker(picker);
}

} // namespace zorbel
