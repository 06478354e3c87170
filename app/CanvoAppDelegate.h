#pragma once

#include <array>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/foundation/Result.h"
#include "platform/graphics/Color.h"
#include "platform/graphics/Image.h"
#include "platform/graphics/Point.h"
#include "platform/graphics/Rect.h"
#include "platform/ui/Accelerometer.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Application.h"

namespace platform {
class ActivityIndicatorView;
class UserDefaults;
class NavigationBar;
class TabBarItem;
class Timer;
class Toolbar;
class View;
class ViewController;
class Window;
} // namespace platform

namespace zorbel {

class CanvoViewController;
class NewMasterViewController;
class PaintingView;
class ScreenSlidersViewController;
class TextLayerView;
class TouchImageView;

// Tool identifiers, one numbering for selectedTool, selectedFilterTool and filterTool.
enum ToolIdentifier : int {
    NoTool = 0,
    PaintBrushTool = 1,
    EraserTool = 2,
    CloneTool = 3,
    ShapeTool = 4,
    TextTool = 5,
    EyeDropperTool = 6,
    HorizontalMirrorTool = 9,
    VerticalMirrorTool = 10,
    SqueezeTool = 11,
    TwirlTool = 12,
    LightTunnelTool = 13,
    BulgeTool = 14,
    DentTool = 15,
    FisheyeTool = 16,
    GrayScaleTool = 17,
    SepiaTool = 18,
    ColorBrushTool = 19,
    BrightnessTool = 20,
    ContrastTool = 21,
};

// The one application-wide object: what the user is doing (tool, brush,
// settings) and the links between the screens. Everything reaches it as the
// shared application's delegate. Main thread only.
//
// Its implementation is split by concern: CanvoAppDelegate.cpp (links and
// presentation), +Lifecycle (launch, termination, memory warning), +Settings
// (the settings store), +Tools (tool state and the paint timer), +Shake
// (shake to erase), +Catalogues (the picture name lists).
class CanvoAppDelegate : public platform::ApplicationDelegate,
                         public platform::AccelerometerDelegate,
                         public platform::AlertViewDelegate {
public:
    // The interface file of the window.
    static constexpr const char* kMainInterfaceName = "MainWindow";
    // Seconds between a stroke's end and the toolbars' return.
    static constexpr double kPaintInterval = 1.75;
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
    // Writes the painting, the original and the undo picture, then the settings.
    void applicationWillTerminate() override;
    // Logs, has the canvas give up its large buffers, and tells the user.
    void applicationDidReceiveMemoryWarning() override;
    // The painting, the original and the undo picture into the Documents folder.
    void writeDocumentPictures(PaintingView& canvas);

    // --- Settings store -------------------------------------------------------
    // The settings read at start-up that are applied later in the launch.
    struct LoadedSettings {
        platform::Color color;
        platform::Point fingerOffset;
        long brushIndex = 0;
    };
    // Registers every key (57) with its default.
    static void registerDefaults(platform::UserDefaults& defaults);
    // Registers, applies a non-zero "BrushSize", stores the other settings in
    // their properties and builds the palette.
    LoadedSettings loadSettings(platform::UserDefaults& defaults);
    // Writes every setting but "BrushSize" (which is never written).
    void saveSettings(platform::UserDefaults& defaults);
    // An index outside 0..count-1 becomes count-1, and 0 if that is negative.
    static long validateIndex(long index, long count);
    // Red, green, blue, alpha of a colour; a grey gives its grey three times.
    static void UIColorToRGB(const platform::Color& color, float rgba[4]);
    // The canvas's paint colour (opaque black without a canvas).
    platform::Color getSelectedColor() const;

    // --- Picture name lists ---------------------------------------------------
    // The standard brushes, in the order of the stored "BrushIndex".
    static const std::vector<std::string>& brushFileNames();
    // The colour brushes (43), in the order of "ColorBrushIndex".
    std::vector<std::string> initColorBrushNames() const;
    // The overlay pictures (78) of the shape picker.
    std::vector<std::string> initShapeNames() const;

    // --- Tool state -----------------------------------------------------------
    // Prepares the canvas and the tool button for selectedTool.
    void applyTool();
    // Arms the interactive effect in selectedFilterTool (12, 20 or 21).
    void applyFilterTool();
    // Tools that paint on the canvas: 1, 2, 3, 6 and 19.
    bool paintStyleTool() const;
    void setToolImage(platform::ImageRef image);
    // Badge text, then the canvas brush size.
    void setBrushSize(int size);
    void setBrushImage(platform::ImageRef image);
    void setColorBrushImage(platform::ImageRef image);
    // The canvas paint colour and the toolbar's colour square.
    void setColor(const platform::Color& color);
    void setBrushAlpha(float alpha) { paintBrushAlpha_ = alpha; }
    float brushAlpha() const { return paintBrushAlpha_; }
    void setBlendMode(int mode) { paintBrushBlendMode_ = mode; }
    int blendMode() const { return paintBrushBlendMode_; }
    void setFingerOffset(platform::Point offset);
    platform::Point fingerOffset() const;
    // The brush-size badge of the brush item ("%d" of the last size set).
    const std::string& brushSizeBadge() const { return brushSizeBadge_; }

    // A finger stroke begins (toolbars hide) / ends (the paint timer starts).
    void startPainting();
    void endPainting();
    // Every stroke end schedules its own one-shot timer; none is kept, so none
    // is ever cancelled: each shows the toolbars when it fires unless a stroke
    // is in progress or present mode is on.
    void startPaintTimer();
    void stopPaintTimer();
    void setMyPaintTimer(platform::Timer* timer);
    void setPaintTimerInterval(double seconds);
    void paintTimerDone();

    // Shake to erase (samples every 0.04 seconds).
    void accelerometerDidAccelerate(platform::Accelerometer& accelerometer,
                                    const platform::Acceleration& acceleration) override;

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
    // it is written in the background and imageDidFinishSaving is called on
    // the main thread.
    void saveCurrentImageToAlbum();
    // The album's answer. A failure is logged, the picture counts as unsaved
    // again (so Save can be tried again and a new document asks first), and
    // the person is told with an alert.
    static void imageDidFinishSaving(const platform::Result<std::filesystem::path>& saved);
    // Waits for album writes still under way and takes their answers, so
    // that ending the application neither cuts a picture off nor stores a
    // failed save as saved.
    static void finishAlbumSaves();
    void restorePaintBrushTool() {}
    // True while a one-shot effect runs (its progress indicator spins).
    bool tooBusyForUserInteraction() const;

    // --- Presentation (the canvas's gestures) ---------------------------------
    bool inPresentMode() const;
    // Present mode off and the toolbars shown.
    void resetPresentMode();
    void presentColorSelection();
    void presentToolSelection();
    void presentBrushSelection();
    // 1 portrait, 3 landscape.
    int getCurrentOrientation() const;
    void hideBottomTools();
    void showBottomTools();
    // Fades the tab bar back in after five seconds.
    void redisplayMyTabBar();

    std::shared_ptr<platform::Window> window() const { return window_; }
    void setWindow(std::shared_ptr<platform::Window> w) { window_ = std::move(w); }
    std::shared_ptr<CanvoViewController> canvoViewController() const {
        return canvoViewController_;
    }
    void setCanvoViewController(std::shared_ptr<CanvoViewController> c) {
        canvoViewController_ = std::move(c);
    }
    std::shared_ptr<platform::View> myTabBar() const { return myTabBar_; }
    void setMyTabBar(std::shared_ptr<platform::View> t) { myTabBar_ = std::move(t); }
    std::shared_ptr<platform::View> myColorSelection() const { return myColorSelection_; }
    void setMyColorSelection(std::shared_ptr<platform::View> v) {
        myColorSelection_ = std::move(v);
    }
    std::shared_ptr<platform::ViewController> myColorSelectionViewControl() const {
        return myColorSelectionViewControl_;
    }
    void setMyColorSelectionViewControl(std::shared_ptr<platform::ViewController> c) {
        myColorSelectionViewControl_ = std::move(c);
    }
    bool colorShowing() const { return colorShowing_; }
    void setColorShowing(bool v) { colorShowing_ = v; }
    bool brushShowing() const { return brushShowing_; }
    void setBrushShowing(bool v) { brushShowing_ = v; }
    std::shared_ptr<platform::TabBarItem> brushTabBarItem() const { return brushTabBarItem_; }
    void setBrushTabBarItem(std::shared_ptr<platform::TabBarItem> i) {
        brushTabBarItem_ = std::move(i);
    }
    std::shared_ptr<platform::TabBarItem> heartTabBarItem() const { return heartTabBarItem_; }
    void setHeartTabBarItem(std::shared_ptr<platform::TabBarItem> i) {
        heartTabBarItem_ = std::move(i);
    }
    std::shared_ptr<platform::TabBarItem> colorTabBarItem() const { return colorTabBarItem_; }
    void setColorTabBarItem(std::shared_ptr<platform::TabBarItem> i) {
        colorTabBarItem_ = std::move(i);
    }
    const std::string& myFilename() const { return myFilename_; }
    void setMyFilename(std::string name) { myFilename_ = std::move(name); }
    std::shared_ptr<platform::ViewController> myNewDocViewController() const {
        return myNewDocViewController_;
    }
    void setMyNewDocViewController(std::shared_ptr<platform::ViewController> c) {
        myNewDocViewController_ = std::move(c);
    }
    bool smartShapesEnabled() const { return smartShapesEnabled_; }
    void setSmartShapesEnabled(bool v) { smartShapesEnabled_ = v; }
    std::shared_ptr<platform::Toolbar> bottomToolbar() const { return bottomToolbar_; }
    void setBottomToolbar(std::shared_ptr<platform::Toolbar> t) { bottomToolbar_ = std::move(t); }
    std::shared_ptr<platform::Toolbar> topToolbar() const { return topToolbar_; }
    void setTopToolbar(std::shared_ptr<platform::Toolbar> t) { topToolbar_ = std::move(t); }
    std::shared_ptr<platform::NavigationBar> navigationBar() const { return navigationBar_; }
    void setNavigationBar(std::shared_ptr<platform::NavigationBar> n) {
        navigationBar_ = std::move(n);
    }
    std::shared_ptr<NewMasterViewController> newMasterViewController() const {
        return newMasterViewController_;
    }
    void setNewMasterViewController(std::shared_ptr<NewMasterViewController> c) {
        newMasterViewController_ = std::move(c);
    }
    // Low-pass filtered acceleration x, y, z in g.
    const std::array<double, 3>& myAccelerometer() const { return myAccelerometer_; }
    void setMyAccelerometer(const std::array<double, 3>& a) { myAccelerometer_ = a; }
    double lastTime() const { return lastTime_; }
    void setLastTime(double t) { lastTime_ = t; }
    // Not owned; the setter keeps nothing.
    platform::Timer* paintTimer() const { return paintTimer_; }
    void setPaintTimer(platform::Timer*) {}
    double paintInterval() const { return paintInterval_; }
    void setPaintInterval(double seconds) { paintInterval_ = seconds; }
    platform::ImageRef currentBrushImage() const { return currentBrushImage_; }
    void setCurrentBrushImage(platform::ImageRef i) { currentBrushImage_ = std::move(i); }
    bool dirtyFlag() const { return dirtyFlag_; }
    void setDirtyFlag(bool v) { dirtyFlag_ = v; }
    long brushIndex() const { return brushIndex_; }
    void setBrushIndex(long i) { brushIndex_ = i; }
    bool askOnShake() const { return askOnShake_; }
    void setAskOnShake(bool v) { askOnShake_ = v; }
    bool shaken() const { return shaken_; }
    void setShaken(bool v) { shaken_ = v; }
    // 1 upright, 3 turned (a landscape picture shown a quarter turn clockwise).
    int documentOrientation() const { return documentOrientation_; }
    void setDocumentOrientation(int o) { documentOrientation_ = o; }
    platform::Rect originalDocumentRect() const { return originalDocumentRect_; }
    void setOriginalDocumentRect(const platform::Rect& r) { originalDocumentRect_ = r; }
    bool useCropImage() const { return useCropImage_; }
    void setUseCropImage(bool v) { useCropImage_ = v; }
    bool wasCropped() const { return wasCropped_; }
    void setWasCropped(bool v) { wasCropped_ = v; }
    bool wasFromCamera() const { return wasFromCamera_; }
    void setWasFromCamera(bool v) { wasFromCamera_ = v; }
    int selectedTool() const { return selectedTool_; }
    void setSelectedTool(int t) { selectedTool_ = t; }
    int selectedFilterTool() const { return selectedFilterTool_; }
    void setSelectedFilterTool(int t) { selectedFilterTool_ = t; }
    int filterTool() const { return filterTool_; }
    void setFilterTool(int t) { filterTool_ = t; }
    std::shared_ptr<TextLayerView> textLayerView() const { return textLayerView_; }
    void setTextLayerView(std::shared_ptr<TextLayerView> v) { textLayerView_ = std::move(v); }
    std::shared_ptr<platform::ActivityIndicatorView> progressView() const { return progressView_; }
    void setProgressView(std::shared_ptr<platform::ActivityIndicatorView> v) {
        progressView_ = std::move(v);
    }
    std::shared_ptr<ScreenSlidersViewController> screenSlidersViewController() const {
        return screenSlidersViewController_;
    }
    void setScreenSlidersViewController(std::shared_ptr<ScreenSlidersViewController> c) {
        screenSlidersViewController_ = std::move(c);
    }
    std::shared_ptr<TextLayerView> lastMovedTextLayer() const { return lastMovedTextLayer_; }
    void setLastMovedTextLayer(std::shared_ptr<TextLayerView> v) {
        lastMovedTextLayer_ = std::move(v);
    }
    bool paintingFlag() const { return paintingFlag_; }
    void setPaintingFlag(bool v) { paintingFlag_ = v; }
    std::shared_ptr<TouchImageView> lastMovedTouchImageView() const {
        return lastMovedTouchImageView_;
    }
    void setLastMovedTouchImageView(std::shared_ptr<TouchImageView> v) {
        lastMovedTouchImageView_ = std::move(v);
    }
    int colorBrushIndex() const { return colorBrushIndex_; }
    void setColorBrushIndex(int i) { colorBrushIndex_ = i; }
    bool cursorDisplayFlag() const { return cursorDisplayFlag_; }
    void setCursorDisplayFlag(bool v) { cursorDisplayFlag_ = v; }
    int overlayIndex() const { return overlayIndex_; }
    void setOverlayIndex(int i) { overlayIndex_ = i; }
    float paintBrushAlpha() const { return paintBrushAlpha_; }
    void setPaintBrushAlpha(float a) { paintBrushAlpha_ = a; }
    int paintBrushBlendMode() const { return paintBrushBlendMode_; }
    void setPaintBrushBlendMode(int m) { paintBrushBlendMode_ = m; }
    // The twelve palette colours.
    const std::vector<platform::Color>& colorSelectionArray() const { return colorSelectionArray_; }
    std::vector<platform::Color>& colorSelectionArray() { return colorSelectionArray_; }
    void setColorSelectionArray(std::vector<platform::Color> colors) {
        colorSelectionArray_ = std::move(colors);
    }
    bool smoothPaintBrushFlag() const { return smoothPaintBrushFlag_; }
    void setSmoothPaintBrushFlag(bool v) { smoothPaintBrushFlag_ = v; }
    float smoothPaintBrushAmount() const { return smoothPaintBrushAmount_; }
    void setSmoothPaintBrushAmount(float v) { smoothPaintBrushAmount_ = v; }

private:
    std::shared_ptr<platform::Window> window_;
    std::shared_ptr<CanvoViewController> canvoViewController_;
    std::shared_ptr<platform::View> myTabBar_;
    std::shared_ptr<platform::View> myColorSelection_;
    std::shared_ptr<platform::ViewController> myColorSelectionViewControl_;
    bool colorShowing_ = false;
    bool brushShowing_ = false;
    std::shared_ptr<platform::TabBarItem> brushTabBarItem_;
    std::shared_ptr<platform::TabBarItem> heartTabBarItem_;
    std::shared_ptr<platform::TabBarItem> colorTabBarItem_;
    std::string myFilename_;
    std::shared_ptr<platform::ViewController> myNewDocViewController_;
    bool smartShapesEnabled_ = false;
    std::shared_ptr<platform::Toolbar> bottomToolbar_;
    std::shared_ptr<platform::Toolbar> topToolbar_;
    std::shared_ptr<platform::NavigationBar> navigationBar_;
    std::shared_ptr<NewMasterViewController> newMasterViewController_;
    std::array<double, 3> myAccelerometer_{};
    double lastTime_ = 0;
    platform::Timer* paintTimer_ = nullptr;
    double paintInterval_ = 0;
    platform::ImageRef currentBrushImage_;
    bool dirtyFlag_ = false;
    long brushIndex_ = 0;
    bool askOnShake_ = false;
    bool shaken_ = false;
    int documentOrientation_ = 0;
    platform::Rect originalDocumentRect_;
    bool useCropImage_ = false;
    bool wasCropped_ = false;
    bool wasFromCamera_ = false;
    int selectedTool_ = 0;
    int selectedFilterTool_ = 0;
    int filterTool_ = 0;
    std::shared_ptr<TextLayerView> textLayerView_;
    std::shared_ptr<platform::ActivityIndicatorView> progressView_;
    std::shared_ptr<ScreenSlidersViewController> screenSlidersViewController_;
    std::shared_ptr<TextLayerView> lastMovedTextLayer_;
    bool paintingFlag_ = false;
    std::shared_ptr<TouchImageView> lastMovedTouchImageView_;
    int colorBrushIndex_ = 0;
    bool cursorDisplayFlag_ = false;
    int overlayIndex_ = 0;
    float paintBrushAlpha_ = 0;
    int paintBrushBlendMode_ = 0;
    std::vector<platform::Color> colorSelectionArray_;
    bool smoothPaintBrushFlag_ = false;
    float smoothPaintBrushAmount_ = 0;

    std::string brushSizeBadge_;
    // Timers scheduled by this delegate hold a weak reference to it, so one
    // that fires after the delegate is gone does nothing.
    std::shared_ptr<CanvoAppDelegate*> alive_;
};

} // namespace zorbel
