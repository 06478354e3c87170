// Start-up and shut-down: the main interface, the launch steps in their order,
// termination and the low-memory warning.

#include <string>
#include <string_view>
#include <system_error>
#include <thread>
#include <vector>

#include "app/CanvoAppDelegate.h"
#include "app/CanvoViewController.h"
#include "app/FingerOffsetView.h"
#include "app/NewMasterViewController.h"
#include "app/PassThroughView.h"
#include "app/SettingsStore.h"
#include "canvas/DocumentFolder.h"
#include "canvas/PaintingView.h"
#include "pickers/PickerInterfaceClasses.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/Accelerometer.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/InterfaceLoader.h"
#include "platform/ui/Window.h"

namespace zorbel {

void CanvoAppDelegate::registerInterfaceClasses() {
    // A canvas that cannot start is not made: with no canvas nothing is
    // written at termination, so the saved painting stays as it was.
    platform::InterfaceLoader::registerClass(
        "PaintingView", [](platform::InterfaceNode&) -> std::shared_ptr<platform::View> {
            auto canvas = PaintingView::create(CanvoAppDelegate::shared());
            if (!canvas) {
                platform::log(canvas.error());
                return nullptr;
            }
            return canvas.value();
        });
    platform::InterfaceLoader::registerPlainClass<PassThroughView>("PassThroughView");
    platform::InterfaceLoader::registerPlainClass<FingerOffsetView>("FingerOffsetView");
    registerPickerInterfaceClasses();
    if (!platform::InterfaceLoader::isRegistered("Window"))
        platform::InterfaceLoader::registerPlainClass<platform::Window>("Window");
}

std::unique_ptr<CanvoAppDelegate> CanvoAppDelegate::makeFromMainInterface() {
    platform::Paths::removeStaleTemporaries(); // of writes a kill cut off, before any is read
    registerInterfaceClasses();
    auto delegate = std::make_unique<CanvoAppDelegate>();
    platform::Application::shared().setDelegate(delegate.get());

    auto loaded = platform::InterfaceLoader::load(kMainInterfaceName, nullptr);
    std::shared_ptr<platform::Window> window;
    if (loaded)
        window = std::dynamic_pointer_cast<platform::Window>(loaded.value());
    if (!window) {
        platform::log(std::string("Main interface not loaded: ") +
                      (loaded ? "its root is not a Window" : loaded.error()));
        window = std::make_shared<platform::Window>();
    }
    delegate->setWindow(window);

    auto canvo = std::make_shared<CanvoViewController>();
    window->addSubview(canvo->view());
    delegate->setCanvoViewController(std::move(canvo));
    delegate->setNewMasterViewController(std::make_shared<NewMasterViewController>());
    return delegate;
}

void CanvoAppDelegate::applicationDidFinishLaunching() {
    placeToolbarView();
    // The settings (a non-zero brush size is applied here).
    const Settings loaded = loadSettings(platform::UserDefaults::standardUserDefaults());
    if (window_)
        window_->makeKeyAndVisible();
    connectCanvas();
    startShakeDetection();
    platform::Application::shared().setStatusBarStyle(platform::StatusBarStyle::BlackTranslucent);
    setPaintTimerInterval(ToolState::kPaintInterval);
    setColor(loaded.color);
    setFingerOffset(loaded.fingerOffset);
    applyLaunchBrush(loaded.brushIndex);
    applyLaunchColorBrush();
    // The tool's button; the painting is there, the undo and original
    // pictures are fetched by the first stroke that needs them.
    applyTool(ToolBuffers::WhenUsed);
    readLayers(); // the layers of the last run, over the restored painting
}

// The chrome over the picture, below the status bar.
void CanvoAppDelegate::placeToolbarView() {
    if (!newMasterViewController_ || !window_)
        return;
    const auto& chrome = newMasterViewController_->view();
    chrome->setAutoresizingMask(platform::AutoresizingFlexibleWidth |
                                platform::AutoresizingFlexibleHeight);
    platform::Rect frame = chrome->frame();
    frame.origin.y = 20;
    chrome->setFrame(frame);
    window_->addSubview(chrome);
}

// The links between canvas, main view controller and delegate.
void CanvoAppDelegate::connectCanvas() {
    if (!canvoViewController_)
        return;
    if (PaintingView* canvas = canvoViewController_->obtainPaintView())
        canvas->setDelegate(this);
    canvoViewController_->setCanvoDelegate(this);
}

void CanvoAppDelegate::startShakeDetection() {
    platform::Accelerometer& accelerometer = platform::Accelerometer::shared();
    accelerometer.setUpdateInterval(kAccelerometerInterval);
    accelerometer.setDelegate(this);
}

void CanvoAppDelegate::applyLaunchBrush(long savedIndex) {
    const auto& brushes = brushFileNames();
    settings_.brushIndex = SettingsStore::validateIndex(savedIndex, long(brushes.size()));
    const std::string& brushName = brushes[std::size_t(settings_.brushIndex)];
    platform::ImageRef brush = platform::Image::named(brushName);
    if (!brush)
        platform::log("Standard Brush not found: " + brushName);
    setBrushImage(brush);
}

void CanvoAppDelegate::applyLaunchColorBrush() {
    const auto colorBrushes = initColorBrushNames();
    settings_.colorBrushIndex =
        int(SettingsStore::validateIndex(settings_.colorBrushIndex, long(colorBrushes.size())));
    const std::string& colorBrushName = colorBrushes[std::size_t(settings_.colorBrushIndex)];
    platform::ImageRef colorBrush = platform::Image::named(colorBrushName);
    if (!colorBrush)
        platform::log("Color Brush not found: " + colorBrushName);
    setColorBrushImage(colorBrush);
}

bool CanvoAppDelegate::writeDocumentPictures(PaintingView& canvas) {
    // Most of the time goes into getting each file onto the disk, so the
    // original and the undo picture are written on two helper threads while
    // this thread writes the painting (and whatever else goes with it). The
    // helpers read only their own buffer's bytes; this thread waits for both
    // before anything else runs.
    // A buffer given up under memory pressure was written when it went, and
    // one not yet fetched since the launch is still in its file.
    bool originalWritten = !canvas.orgImageOffscreenContext();
    bool undoWritten = !canvas.undoLayerContext();
    std::vector<std::thread> helpers;
    const auto writeOriginal = [&] {
        if (!originalWritten)
            originalWritten = canvas.writeOrgImageOut(DocumentFolder::kOrgImageFile);
    };
    const auto writeUndo = [&] {
        if (!undoWritten)
            undoWritten = canvas.writeUndoImageOut(DocumentFolder::kUndoFile);
    };
    bool onHelpers = true;
    try {
        helpers.emplace_back(writeOriginal);
        helpers.emplace_back(writeUndo);
    } catch (const std::system_error&) {
        onHelpers = false; // no threads to be had: one after the other
    }
    const bool paintingWritten = canvas.writeImageOut(DocumentFolder::kDocumentFile);
    // The layers go with the painting they lie on.
    const bool layersSaved = saveLayers();
    for (auto& helper : helpers)
        helper.join();
    if (!onHelpers) {
        if (helpers.empty())
            writeOriginal();
        writeUndo();
    }

    // The writers log why when they know; this says what was lost, also
    // when a picture could not even be made.
    const struct {
        bool written;
        std::string_view file;
    } results[] = {{paintingWritten, DocumentFolder::kDocumentFile},
                   {originalWritten, DocumentFolder::kOrgImageFile},
                   {undoWritten, DocumentFolder::kUndoFile}};
    bool all = true;
    for (const auto& r : results)
        if (!r.written) {
            platform::log("applicationWillTerminate: " + std::string(r.file) +
                          " was NOT written; the copy from the last run (if any) stays");
            all = false;
        }
    if (!all)
        platform::Application::shared().reportTerminationWriteFailure("the document pictures");
    if (!layersSaved) {
        platform::log("applicationWillTerminate: the layers were NOT saved; the archive from the "
                      "last run (if any) stays");
        platform::Application::shared().reportTerminationWriteFailure("the layers");
    }
    return all && layersSaved;
}

void CanvoAppDelegate::applicationWillTerminate() {
    // The pictures first, then the settings; a failure to write a picture
    // does not keep the settings from being saved. The application writes the
    // settings file once this returns.
    albumSaver_.finish();
    finishOneShotEffect();
    if (PaintingView* canvas = getThePaintingView())
        (void)writeDocumentPictures(*canvas);
    saveSettings(platform::UserDefaults::standardUserDefaults());
}

void CanvoAppDelegate::applicationDidReceiveMemoryWarning() {
    platform::log("++++++++++++++++++ applicationDidReceiveMemoryWarning");
    lowMemoryWarningToCanvas();
    auto alert = std::make_shared<platform::AlertView>("Warning", "Low on Memory", this, "Ok",
                                                       std::vector<std::string>{});
    alert->show();
}

} // namespace zorbel
