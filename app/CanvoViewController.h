#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/graphics/Color.h"
#include "platform/graphics/Image.h"
#include "platform/graphics/Point.h"
#include "platform/graphics/Rect.h"
#include "platform/imagepicker/ImagePickerControllerDelegate.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/ViewController.h"

namespace zorbel {

class CanvoAppDelegate;
class PaintingView;

// The screen that shows the picture. Its view is the canvas itself (the
// PaintingView with tag 100 of the interface file "CanvoView"), so overlay
// pictures added to this controller's view are subviews of the canvas.
//
// Mostly forwarding: everything that must reach the canvas from outside goes
// through here. What is its own: a new picture becoming the background and the
// original, the placement of new overlay pictures, flattening, and the cursor
// rule of the finger offset.
class CanvoViewController : public platform::ViewController,
                            public platform::ImagePickerControllerDelegate,
                            public platform::ScrollViewDelegate {
public:
    // The interface file of the main screen.
    static constexpr const char* kInterfaceName = "CanvoView";
    // The canvas's tag in it.
    static constexpr int kPaintViewTag = 100;

    CanvoViewController();
    ~CanvoViewController() override;

    void viewDidLoad() override;
    void didReceiveMemoryWarning() override;
    // Portrait only; landscape documents counter-rotate this view instead.
    bool shouldAutorotateToInterfaceOrientation(int orientation) override;

    // --- Links ---------------------------------------------------------------
    PaintingView* obtainPaintView() const { return paintView_.get(); }
    const std::shared_ptr<PaintingView>& paintView() const { return paintView_; }
    void setPaintView(std::shared_ptr<PaintingView> view) { paintView_ = std::move(view); }
    // Not owned.
    void setCanvoDelegate(CanvoAppDelegate* delegate) { myDelegate_ = delegate; }
    CanvoAppDelegate* canvoDelegate() const { return myDelegate_; }

    // --- Forwarded to the canvas ---------------------------------------------
    void setBrushSize(int size);
    void setBrushImage(platform::ImageRef image);
    void setColorBrushImage(platform::ImageRef image);
    void setColor(const platform::Color& color);
    platform::Point fingerOffset() const;
    void refreshDrawing();
    void refreshFromOrgImage();
    void switchUndoBuffer();
    // The painting alone, upright (turned back for a landscape document).
    platform::ImageRef getImageToSave();
    // The picture as shown, every layer drawn in, upright (turned back for a
    // landscape document).
    platform::ImageRef getFlattenedImageToSave();
    // One-shot effects: each snapshots the picture into the undo copy and
    // computes the new picture from it. The mirror flips rows in landscape.
    void doHorzMirror();
    void doSqueeze();
    // The twirl is interactive: this takes the snapshot its slider works from.
    void doTwirl();
    void doLightTunnel();
    void doBulge();
    void doDent();
    void doFisheye();
    void doGrayScale();
    void doSepia();

    // --- Forwarded to the application delegate -------------------------------
    void startPainting();
    void endPainting();
    bool smartShapesEnabled() const;
    // The toolbars back (unless they are showing already).
    void restoreToolsbar();

    // --- Own -----------------------------------------------------------------
    // The canvas takes the offset; the cursor shows when either coordinate,
    // truncated toward zero, lies outside -10..10.
    void setFingerOffset(platform::Point offset);
    // A new picture: not dirty; it becomes the background and the original
    // that the eraser and the shake erase restore. saveImage does the same.
    void setBGImage(platform::ImageRef image);
    void saveImage(platform::ImageRef image);
    // Every layer drawn into the picture, which becomes the background (the
    // original picture stays); dirty. Nothing without layers.
    void flattenImage();
    // The picture as shown, every layer drawn in, as a PNG in the Documents
    // folder. False (logged) when it could not be made or written.
    [[nodiscard]] bool writeFlattenedImageOut(const std::string& fileName);

    // A new overlay picture from the resources (the shape picker's catalogue
    // names): a layer 700 points wide showing the picture 300 points wide,
    // centred at (160, 230), already turned on a landscape document, in front
    // of the others and the last moved one. A name that is not a plain
    // resource name, or a missing picture, logs "Overlay image not found" and
    // the name, and adds nothing.
    void AddShape(const std::string& imageName);
    // The frame AddShape gives a picture of that size, before it is centred.
    static platform::Rect overlayFrameForPictureSize(platform::Size pictureSize);
    static constexpr platform::Point kNewOverlayCenter{160, 230};
    static constexpr float kOverlayLayerWidth = 700;

    // --- The controller's own photo picker ----------------------------------------
    // Opens the photo library with this controller as its delegate.
    void DoPick();
    // NO, showing nothing, when the photo library is not available or an
    // argument is missing; otherwise presents an editing picker and says YES.
    bool startImagePickerFromViewController(platform::ViewController* controller,
                                            platform::ImagePickerControllerDelegate* delegate);
    // A picked picture becomes the new picture (saveImage); either way the
    // picker goes and the toolbars come back.
    void imagePickerControllerDidFinishPickingImage(
        platform::ImagePickerController& picker, platform::ImageRef image,
        const platform::ImagePickerEditingInfo& info) override;
    void imagePickerControllerDidCancel(platform::ImagePickerController& picker) override;

    // --- Scroll-view callbacks ---------------------------------------------------
    // Heard only when an interface places the canvas in a scroll view with
    // this controller as its delegate. A zoom begins: the bottom tools fade
    // out, and this controller's view is the one zoomed.
    platform::View* viewForZoomingInScrollView(platform::ScrollView& scrollView) override;
    // A drag, a coast, a scrolling animation or a zoom ends: the bottom tools
    // fade back in and the canvas is redrawn.
    void scrollViewDidEndDragging(platform::ScrollView& scrollView, bool willDecelerate) override;
    void scrollViewDidEndDecelerating(platform::ScrollView& scrollView) override;
    void scrollViewDidEndScrollingAnimation(platform::ScrollView& scrollView) override;
    void scrollViewDidEndZooming(platform::ScrollView& scrollView, platform::View* view,
                                 float scale) override;

    // --- Plain fields --------------------------------------------------------
    int dialogStyle() const { return dialogStyle_; }
    void setDialogStyle(int style) { dialogStyle_ = style; }
    bool fingerMode() const { return fingerMode_; }
    void setFingerMode(bool mode) { fingerMode_ = mode; }
    const std::vector<std::string>& imageFileNames() const { return imageFileNames_; }
    void setImageFileNames(std::vector<std::string> names) { imageFileNames_ = std::move(names); }

private:
    void dismissPicker(platform::ImagePickerController& picker);
    void scrollingEnded();

    std::shared_ptr<PaintingView> paintView_;
    CanvoAppDelegate* myDelegate_ = nullptr;
    int dialogStyle_ = 0;
    bool fingerMode_ = false;
    std::vector<std::string> imageFileNames_;
};

} // namespace zorbel
