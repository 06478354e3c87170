#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/AlbumSaver.h"
#include "canvas/PaintingViewDelegate.h"
#include "canvas/Tool.h"
#include "app/Settings.h"
#include "app/ShakeFilter.h"
#include "app/ToolState.h"
#include "layers/LayersDelegate.h"
#include "platform/graphics/BlendMode.h"
#include "pickers/PickerHost.h"
#include "platform/foundation/Result.h"
#include "platform/graphics/Color.h"
#include "platform/graphics/Image.h"
#include "platform/graphics/Point.h"
#include "platform/ui/Accelerometer.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Application.h"

namespace platform {
class ActionSender;
class ArchiveFile;
class ActivityIndicatorView;
class Slider;
class UserDefaults;
class Window;
} // namespace platform

namespace zorbel {

class CanvoViewController;
class DocumentOpener;
class KeyCommands;
class NewMasterViewController;
class PaintingView;
class ScreenSlidersViewController;
struct EffectState;
class TextLayerView;
class TouchImageView;

// The one application-wide object, which everything reaches as the shared
// application's delegate: it owns the window and the two main screens, holds
// the settings (a Settings, read and written by SettingsStore), the tool
// state (ToolState), shake detection (ShakeFilter) and album saves
// (AlbumSaver), and forwards every change on to the canvas and the toolbars.
// Main thread only.
//
// Its implementation is split by concern: CanvoAppDelegate.cpp (links and
// presentation), +Lifecycle (launch, termination, memory warning), +Settings,
// +Tools (tool state and the paint timer), +Shake, +Album, +Catalogues (the
// picture name lists), +Layers (the overlay and text layers on the canvas).
class CanvoAppDelegate : public platform::ApplicationDelegate,
                         public platform::AccelerometerDelegate,
                         public platform::AlertViewDelegate,
                         public PaintingViewDelegate,
                         public LayersDelegate {
public:
    // The interface file of the window.
    static constexpr const char* kMainInterfaceName = "MainWindow";
    // Seconds between accelerometer samples (25 a second).
    static constexpr double kAccelerometerInterval = 0.04;

    CanvoAppDelegate();
    ~CanvoAppDelegate() override;

    // What the main interface makes, before launch: the delegate, set as the
    // shared application's delegate (so the canvas finds it while it starts),
    // the window (interface "MainWindow"), the main view controller with the
    // canvas (its view is made now, so the painting is restored) and the
    // toolbar controller. The application's view classes are registered first.
    static std::unique_ptr<CanvoAppDelegate> makeFromMainInterface();
    // The app's own classes for interface files (PaintingView, PassThroughView).
    static void registerInterfaceClasses();

    // The delegate of the shared application, or null when it is not a CanvoAppDelegate.
    static CanvoAppDelegate* shared();

    // --- Start-up and shut-down ----------------------------------------------
    // Wires the loaded screens together, restores the settings and the tool,
    // starts the accelerometer.
    void applicationDidFinishLaunching() override;
    // Writes the painting and its layers, the original and the undo picture,
    // then the settings.
    void applicationWillTerminate() override;
    // Logs, has the canvas give up its large buffers, and tells the user.
    void applicationDidReceiveMemoryWarning() override;
    // The painting (with the layer archive), the original and the undo
    // picture into the Documents folder. Each one not written is logged by its
    // file name; true when all three and the layers were written.
    [[nodiscard]] bool writeDocumentPictures(PaintingView& canvas);

    // --- Desktop: keys and files (CanvoAppDelegate+Keys.cpp) -------------------
    // The app's shortcuts (KeyCommands).
    bool performKeyCommand(const platform::KeyChord& chord) override;
    // A picture from the command line or dropped on the window (DocumentOpener).
    void applicationOpenFile(const std::filesystem::path& file) override;
    KeyCommands& keyCommands();
    DocumentOpener& documentOpener();

    // --- Settings store -------------------------------------------------------
    // Registers and reads every setting, applies a non-zero "BrushSize" and
    // makes the others this run's, except two: the brush index waits for the
    // brush list (the launch checks it), and the document orientation stays
    // the one the restored picture gave the canvas. Answers what was read.
    Settings loadSettings(platform::UserDefaults& defaults);
    // Writes settings(), every key but "BrushSize".
    void saveSettings(platform::UserDefaults& defaults);
    // Every setting as it is now; the paint colour and the finger offset
    // live in the canvas and are taken from there.
    Settings settings() const;
    // The canvas's paint colour (opaque black without a canvas).
    platform::Color getSelectedColor() const override;

    // --- Picture name lists ---------------------------------------------------
    // The standard brushes, in the order of the stored "BrushIndex".
    static const std::vector<std::string>& brushFileNames();
    // The colour brushes (43), in the order of "ColorBrushIndex".
    std::vector<std::string> initColorBrushNames() const;
    // The overlay pictures (78) of the shape picker.
    std::vector<std::string> initShapeNames() const;

    // --- Tool state -----------------------------------------------------------
    // Prepares the canvas and the tool button for selectedTool. The canvas
    // buffers the tool paints from are brought back at once (after a memory
    // warning flushed them, the first stroke need not wait) or, at launch,
    // when the first stroke needs them.
    enum class ToolBuffers { ReloadNow, WhenUsed };
    void applyTool(ToolBuffers buffers = ToolBuffers::ReloadNow);
    // Arms the interactive effect in selectedFilterTool (12, 20 or 21).
    void applyFilterTool() { toolState_.applyFilterTool(); }
    // Tools that paint on the canvas: 1, 2, 3, 6 and 19.
    bool paintStyleTool() const { return isPaintStyleTool(settings_.selectedTool); }
    void setToolImage(platform::ImageRef image);
    // Badge text, then the canvas brush size.
    void setBrushSize(int size);
    void setBrushImage(platform::ImageRef image);
    void setColorBrushImage(platform::ImageRef image);
    // The canvas paint colour and the toolbar's colour square.
    void setColor(const platform::Color& color);
    // The stroke opacity and blend mode of the paint brush; the canvas reads
    // them when a stroke begins, also under their settings' names below.
    void setBrushAlpha(float alpha) { settings_.paintBrushAlpha = alpha; }
    float brushAlpha() const { return settings_.paintBrushAlpha; }
    void setBlendMode(platform::BlendMode mode) { settings_.paintBrushBlendMode = int(mode); }
    platform::BlendMode blendMode() const {
        return platform::blendModeFromInt(settings_.paintBrushBlendMode);
    }
    float paintBrushAlpha() const { return settings_.paintBrushAlpha; }
    void setFingerOffset(platform::Point offset);
    platform::Point fingerOffset() const;
    // The brush-size badge of the brush item ("%d" of the last size set).
    const std::string& brushSizeBadge() const { return brushSizeBadge_; }

    // A finger stroke begins (toolbars hide) / ends (the paint timer starts).
    void startPainting();
    void endPainting();
    // Every stroke end schedules its own one-shot timer, and none is ever
    // cancelled: each shows the toolbars when it fires unless a stroke is in
    // progress or present mode is on.
    void startPaintTimer();
    // Only timers scheduled from now on take the new interval.
    void setPaintTimerInterval(double seconds) { toolState_.setPaintInterval(seconds); }
    void paintTimerDone();

    // Shake to erase (samples every 0.04 seconds).
    void accelerometerDidAccelerate(platform::Accelerometer& accelerometer,
                                    const platform::Acceleration& acceleration) override;
    const ShakeFilter& shakeFilter() const { return shakeFilter_; }

    // Not dirty; the painting becomes the original picture again.
    void eraseToOriginal();
    // Not dirty; the painting is redrawn from the background picture.
    void refreshDrawing();
    // The canvas's cursor timing starts again.
    void resetCursorShownCycle();
    PaintingView* getThePaintingView() const;
    // Undo, which is also redo.
    void switchUndoBuffer();
    void setBGImage(platform::ImageRef image);
    // Every overlay and text layer leaves the canvas (a new document).
    void removeAllSubviews();
    // Hands the flattened picture (every layer drawn in) to the photo album;
    // a failed write marks the picture unsaved again (AlbumSaver).
    void saveCurrentImageToAlbum();
    // True while a one-shot effect runs (its progress indicator spins).
    bool tooBusyForUserInteraction() const;

    // --- The canvas's host (CanvoAppDelegate+Canvas.cpp) ----------------------
    bool paintingViewIsBusy() const override;
    Tool paintingViewTool() const override;
    bool paintingViewToolPaints() const override;
    float paintingViewBrushOpacity() const override;
    platform::BlendMode paintingViewBrushBlendMode() const override;
    InterfaceOrientation paintingViewInterfaceOrientation() const override;
    bool paintingViewShowsCursor() const override;
    bool paintingViewIsPainting() const override;
    bool paintingViewSmoothsStrokes() const override;
    float paintingViewSmoothingTolerance() const override;
    bool paintingViewRecognisesShapes() const override;
    bool paintingViewInPresentMode() const override;
    DocumentOrientation paintingViewDocumentOrientation() const override;
    bool paintingViewWasCropped() const override;
    void paintingViewDocumentOrientationChanged(DocumentOrientation orientation) override;
    void paintingViewStrokeBegan() override;
    void paintingViewStrokeEnded() override;
    void paintingViewEndPresentMode() override;
    void paintingViewPresentToolSelection() override;
    void paintingViewPresentColorSelection() override;
    void paintingViewPresentBrushSelection() override;
    void paintingViewCloneIsReady() override;
    // --- Effects (CanvoAppDelegate+Effects.cpp) -------------------------------
    // What the pickers are given to reach the application.
    PickerHost& pickerHost();
    // The large activity indicator in the middle of the main view, spinning:
    // the application is too busy for user interaction until it stops.
    void setUpProgressView();
    void startProgressIndicator();
    // Snapshots the picture into the undo copy and runs the effect on a
    // short-lived worker thread (at most one at a time), dirty. The main
    // thread then, in this order: takes the new picture into the painting,
    // stops and releases the indicator (busy no more). The indicator is drawn
    // in at least one frame before it goes.
    void detachOneShotEffect(OneShotEffect effect);
    // Waits for a running one-shot effect and completes it at once.
    void finishOneShotEffect();
    // The canvas gives up its large buffers now, or, while a one-shot effect
    // runs (its worker reads them), as soon as it has completed.
    void lowMemoryWarningToCanvas();
    // Opens the slider panel of a pending interactive effect (filterTool 20,
    // 21 or 12; dirty). filterTool stays until OK or Cancel.
    void doInteractiveFilter();
    void brightnessSliderSetup();
    void contrastSliderSetup();
    void twirlSliderSetup();
    // The panel's slider changed: the picture is recomputed from the snapshot.
    void brightnessSliderAction(platform::Slider& slider);
    void contrastSliderAction(platform::Slider& slider);
    void twirlSliderAction(platform::Slider& slider);
    // OK keeps the picture (the twirl re-rendered smoothly), Cancel puts the
    // snapshot back; both close the panel and bring the toolbars back.
    void sliderOkAction(platform::ActionSender* sender);
    void sliderTwirlOkAction(platform::ActionSender* sender);
    void sliderCancelAction(platform::ActionSender* sender);
    // A slider value as an effect amount: value + 0.5 truncated toward zero.
    static int sliderAmount(float value);

    // --- Presentation (the canvas's gestures) ---------------------------------
    bool inPresentMode() const;
    // Present mode off and the toolbars shown.
    void resetPresentMode();
    void presentColorSelection();
    void presentToolSelection();
    void presentBrushSelection();
    // 1 portrait, 3 landscape.
    int getCurrentOrientation() const override;
    // The bottom toolbar fades out / back in over half a second, nothing else
    // (the main view controller's scroll callbacks).
    void hideBottomTools();
    void showBottomTools();
    static constexpr double kBottomToolsFadeDuration = 0.5;

    // --- Links ----------------------------------------------------------------
    std::shared_ptr<platform::Window> window() const { return window_; }
    void setWindow(std::shared_ptr<platform::Window> w) { window_ = std::move(w); }
    std::shared_ptr<CanvoViewController> canvoViewController() const {
        return canvoViewController_;
    }
    void setCanvoViewController(std::shared_ptr<CanvoViewController> c) {
        canvoViewController_ = std::move(c);
    }
    std::shared_ptr<NewMasterViewController> newMasterViewController() const {
        return newMasterViewController_;
    }
    void setNewMasterViewController(std::shared_ptr<NewMasterViewController> c) {
        newMasterViewController_ = std::move(c);
    }

    // --- Settings (Settings) --------------------------------------------------
    bool smartShapesEnabled() const { return settings_.smartShapesEnabled; }
    void setSmartShapesEnabled(bool v) { settings_.smartShapesEnabled = v; }
    bool dirtyFlag() const { return settings_.dirtyFlag; }
    void setDirtyFlag(bool v) override { settings_.dirtyFlag = v; }
    long brushIndex() const { return settings_.brushIndex; }
    void setBrushIndex(long i) { settings_.brushIndex = i; }
    bool askOnShake() const { return settings_.askOnShake; }
    void setAskOnShake(bool v) { settings_.askOnShake = v; }
    // 1 upright, 3 turned (a landscape picture shown a quarter turn
    // clockwise). Any other value would keep every picture from being
    // written, so it is logged and refused.
    int documentOrientation() const override { return settings_.documentOrientation; }
    void setDocumentOrientation(int o);
    bool useCropImage() const { return settings_.useCropImage; }
    void setUseCropImage(bool v) { settings_.useCropImage = v; }
    Tool selectedTool() const { return settings_.selectedTool; }
    void setSelectedTool(Tool t) { settings_.selectedTool = t; }
    int colorBrushIndex() const { return settings_.colorBrushIndex; }
    void setColorBrushIndex(int i) { settings_.colorBrushIndex = i; }
    bool cursorDisplayFlag() const { return settings_.cursorDisplayFlag; }
    void setCursorDisplayFlag(bool v) { settings_.cursorDisplayFlag = v; }
    int overlayIndex() const { return settings_.overlayIndex; }
    void setOverlayIndex(int i) { settings_.overlayIndex = i; }
    // The twelve palette colours.
    const std::vector<platform::Color>& colorSelectionArray() const {
        return settings_.colorSelectionArray;
    }
    void setColorSelectionArray(std::vector<platform::Color> colors) {
        settings_.colorSelectionArray = std::move(colors);
    }
    bool smoothPaintBrushFlag() const { return settings_.smoothPaintBrushFlag; }
    void setSmoothPaintBrushFlag(bool v) { settings_.smoothPaintBrushFlag = v; }
    float smoothPaintBrushAmount() const { return settings_.smoothPaintBrushAmount; }
    void setSmoothPaintBrushAmount(float v) { settings_.smoothPaintBrushAmount = v; }

    // --- Tool state (ToolState) -------------------------------------------------
    Tool selectedFilterTool() const { return toolState_.selectedFilterTool(); }
    void setSelectedFilterTool(Tool t) { toolState_.setSelectedFilterTool(t); }
    Tool filterTool() const { return toolState_.filterTool(); }
    void setFilterTool(Tool t) { toolState_.setFilterTool(t); }
    bool paintingFlag() const { return toolState_.paintingFlag(); }
    void setPaintingFlag(bool v) { toolState_.setPaintingFlag(v); }
    bool shaken() const { return toolState_.shaken(); }
    void setShaken(bool v) { toolState_.setShaken(v); }
    double paintInterval() const { return toolState_.paintInterval(); }
    platform::ImageRef currentBrushImage() const { return toolState_.currentBrushImage(); }
    void setCurrentBrushImage(platform::ImageRef i) {
        toolState_.setCurrentBrushImage(std::move(i));
    }

    // --- The picture in hand -----------------------------------------------------
    // The current picture came from the picker's edited (moved and scaled) image.
    // Kept for the picture's origin; nothing decides on it yet.
    bool wasFromCamera() const { return wasFromCamera_; }
    void setWasFromCamera(bool v) { wasFromCamera_ = v; }
    bool wasCropped() const { return wasCropped_; }
    void setWasCropped(bool v) { wasCropped_ = v; }

    // --- Effects and layers --------------------------------------------------------
    // The spinner shown while a one-shot effect runs.
    std::shared_ptr<platform::ActivityIndicatorView> progressView() const { return progressView_; }
    void setProgressView(std::shared_ptr<platform::ActivityIndicatorView> v) {
        progressView_ = std::move(v);
    }
    // The open slider panel, if any. Not owned: whoever presents the panel
    // keeps it; the delegate only needs to know whether one is open.
    std::shared_ptr<ScreenSlidersViewController> screenSlidersViewController() const {
        return screenSlidersViewController_;
    }
    void setScreenSlidersViewController(const std::shared_ptr<ScreenSlidersViewController>& c) {
        screenSlidersViewController_ = c;
    }
    // The layers touched last. Not owned: the canvas holds its layers.
    std::shared_ptr<TextLayerView> lastMovedTextLayer() const override {
        return lastMovedTextLayer_.lock();
    }
    void setLastMovedTextLayer(std::shared_ptr<TextLayerView> v) override {
        lastMovedTextLayer_ = v;
    }
    std::shared_ptr<TouchImageView> lastMovedTouchImageView() const {
        return lastMovedTouchImageView_.lock();
    }
    void setLastMovedTouchImageView(std::shared_ptr<TouchImageView> v) override {
        lastMovedTouchImageView_ = v;
    }

    // --- Layers (CanvoAppDelegate+Layers.cpp) -----------------------------------
    // The tool as the layers see it, and the canvas they pass other tools' touches to.
    int layersSelectedTool() const override { return int(settings_.selectedTool); }
    platform::View* layersCanvas() const override;
    // A new caption: dirty, the last moved text layer, on the canvas in front.
    void addTextLayer(std::shared_ptr<TextLayerView> layer) override;
    // The text entry screen's string into the delegate's own caption, in the
    // paint colour; the caption is made (and put on the canvas) when there is
    // none on it.
    void setOverlayText(const std::string& text) override;
    // The caption the text entry screen writes into (none until text is set).
    std::shared_ptr<TextLayerView> textLayerView() const { return textLayerView_; }
    void setTextLayerView(std::shared_ptr<TextLayerView> v) { textLayerView_ = std::move(v); }
    // "Layers.archive" in the Documents folder, the one handle of this process.
    const platform::ArchiveFile& layerArchive();
    // The layers of the last run, back to front, onto the canvas (start-up);
    // a damaged archive is set aside and the layers read from it are kept.
    void readLayers();
    // The canvas's layers into the archive (none: the archive goes). False,
    // logged, when they could not be kept; the previous file then stays.
    [[nodiscard]] bool saveLayers();
    // Touch handling of the overlay pictures / the captions, per tool.
    void enableUserInteractionOverlays();
    void disableUserInteractionOverlays();
    void enableUserInteractionTextLayers();
    void disableUserInteractionTextLayers();
    void disableUserInteractionLayers();
    // Every layer drawn into the painting (main view controller).
    void flattenImage();

private:
    // applicationDidFinishLaunching's steps, in its order.
    void placeToolbarView();
    void connectCanvas();
    void startShakeDetection();
    void applyLaunchBrush(long savedIndex); // the saved brush, or the first
    void applyLaunchColorBrush();

    std::shared_ptr<platform::Window> window_;
    std::shared_ptr<CanvoViewController> canvoViewController_;
    std::shared_ptr<NewMasterViewController> newMasterViewController_;

    // The colour and finger offset in here are only those read at launch.
    Settings settings_;
    ToolState toolState_;
    ShakeFilter shakeFilter_;
    AlbumSaver albumSaver_;
    bool wasFromCamera_ = false;
    bool wasCropped_ = false;
    std::string brushSizeBadge_;

    std::shared_ptr<platform::ActivityIndicatorView> progressView_;
    std::shared_ptr<ScreenSlidersViewController> screenSlidersViewController_; // the open slider panel (presented here)
    std::weak_ptr<TextLayerView> lastMovedTextLayer_;
    std::weak_ptr<TouchImageView> lastMovedTouchImageView_;
    std::shared_ptr<TextLayerView> textLayerView_;
    std::unique_ptr<platform::ArchiveFile> layerArchive_;

    std::shared_ptr<KeyCommands> keyCommands_;
    std::shared_ptr<DocumentOpener> documentOpener_;

    // The pickers' host, the running one-shot effect (CanvoAppDelegate+Effects.cpp).
    std::shared_ptr<EffectState> effects_;
    // Timers scheduled by this delegate hold a weak reference to it, so one
    // that fires after the delegate is gone does nothing.
    std::shared_ptr<CanvoAppDelegate*> alive_;
};

} // namespace zorbel
