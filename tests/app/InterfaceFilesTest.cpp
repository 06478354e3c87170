// The app's interface files load through the real loader once the app's view
// classes are registered, each with the controller that owns it (its actions
// and outlets are checked against that owner). The toolkit's own tests only
// see well-formed trees; an unknown class, action, outlet or picture shows
// here.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "AppTestSupport.h"
#include "app/CleanBackgroundViewController.h"
#include "app/FingerOffsetView.h"
#include "app/FingerOffsetViewController.h"
#include "app/NewImageChoice.h"
#include "app/SettingsViewController.h"
#include "layers/TextInputViewController.h"
#include "layers/TextSettingsViewController.h"
#include "pickers/BrushChoiceViewController.h"
#include "pickers/ColorBrushSelectionViewController.h"
#include "pickers/ColorChoiceViewController.h"
#include "pickers/PickerInterfaceClasses.h"
#include "pickers/ScreenSlidersViewController.h"
#include "pickers/ShapeSelectionViewController.h"
#include "pickers/ToolViewController.h"
#include "platform/ui/InterfaceLoader.h"
#include "platform/ui/NavigationBar.h"

namespace zorbel::testing {
namespace {

using platform::Status;

// How each interface file is loaded in the app: by its owning controller, or
// by the delegate with no owner. A new file needs its line here.
struct InterfaceFile {
    std::string name;
    std::function<Status()> load;
};

Status failure(const std::string& reason) {
    return Status::failure(reason);
}

// A picker's file, loaded by the picker with a fresh application as its host.
template <class Picker, class... Args>
InterfaceFile pickerFile(Args... args) {
    return {Picker::kInterfaceName, [=]() -> Status {
                registerPickerInterfaceClasses();
                CanvoAppDelegate app;
                auto picker = std::make_shared<Picker>(app.pickerHost(), args...);
                (void)picker->view();
                return picker->loadStatus();
            }};
}

std::vector<InterfaceFile> appInterfaceFiles() {
    return {
        {CanvoAppDelegate::kMainInterfaceName,
         []() -> Status {
             auto loaded =
                 platform::InterfaceLoader::load(CanvoAppDelegate::kMainInterfaceName, nullptr);
             if (!loaded)
                 return failure(loaded.error());
             if (!std::dynamic_pointer_cast<platform::Window>(loaded.value()))
                 return failure("the root is not a Window");
             return platform::success();
         }},
        {CanvoViewController::kInterfaceName,
         []() -> Status {
             auto controller = std::make_shared<CanvoViewController>();
             (void)controller->view();
             if (!controller->loadStatus())
                 return controller->loadStatus();
             if (!controller->obtainPaintView())
                 return failure("no canvas with tag 100");
             return platform::success();
         }},
        {NewMasterViewController::kInterfaceName,
         []() -> Status {
             auto controller = std::make_shared<NewMasterViewController>();
             (void)controller->view();
             if (!controller->loadStatus())
                 return controller->loadStatus();
             if (!controller->bottomToolbar() || !controller->navigationBar())
                 return failure("the toolbar or the navigation bar is missing");
             return platform::success();
         }},
        {TextSettingsViewController::kInterfaceName,
         []() -> Status {
             auto controller = std::make_shared<TextSettingsViewController>();
             (void)controller->view();
             if (!controller->loadStatus())
                 return controller->loadStatus();
             if (!controller->textField() || !controller->view()->viewWithTag(100))
                 return failure("the text field or the options (tag 100) are missing");
             for (int tag = 1; tag <= 10; ++tag)
                 if (!controller->view()->viewWithTag(tag))
                     return failure("font button " + std::to_string(tag) + " is missing");
             return platform::success();
         }},
        {TextInputViewController::kInterfaceName,
         []() -> Status {
             auto controller = std::make_shared<TextInputViewController>();
             (void)controller->view();
             if (!controller->loadStatus())
                 return controller->loadStatus();
             if (!controller->textField())
                 return failure("the text field is missing");
             return platform::success();
         }},
        pickerFile<BrushChoiceViewController>(true),
        pickerFile<ColorChoiceViewController>(platform::Color::black()),
        pickerFile<ShapeSelectionViewController>(std::vector<std::string>{"shapearrow.png"}),
        pickerFile<ColorBrushSelectionViewController>(std::vector<std::string>{"starsbrush.png"}),
        {ToolViewController::kInterfaceName,
         []() -> Status {
             CanvoAppDelegate app;
             auto controller = std::make_shared<ToolViewController>(app.pickerHost());
             (void)controller->view();
             if (!controller->loadStatus())
                 return controller->loadStatus();
             for (const auto& place : ToolViewController::placements())
                 if (!controller->view()->viewWithTag(place.tag))
                     return failure("no view with tag " + std::to_string(place.tag));
             return platform::success();
         }},
        {ScreenSlidersViewController::kInterfaceName,
         []() -> Status {
             CanvoAppDelegate app;
             auto controller = std::make_shared<ScreenSlidersViewController>(app.pickerHost());
             (void)controller->view();
             if (!controller->loadStatus())
                 return controller->loadStatus();
             if (!controller->slider())
                 return failure("no slider outlet");
             for (int tag :
                  {ScreenSlidersViewController::kSliderTag, ScreenSlidersViewController::kCancelTag,
                   ScreenSlidersViewController::kOkTag})
                 if (!controller->view()->viewWithTag(tag))
                     return failure("no view with tag " + std::to_string(tag));
             return platform::success();
         }},
        {NewImageChoice::kInterfaceName,
         []() -> Status {
             auto controller = std::make_shared<NewImageChoice>();
             (void)controller->view();
             if (!controller->loadStatus())
                 return controller->loadStatus();
             if (!controller->newButton() || !controller->photoAlbumButton() ||
                 !controller->cameraButton())
                 return failure("the three buttons are missing");
             return platform::success();
         }},
        {CleanBackgroundViewController::kInterfaceName,
         []() -> Status {
             auto choice = std::make_shared<NewImageChoice>();
             auto controller = std::make_shared<CleanBackgroundViewController>(choice.get());
             (void)controller->view();
             if (!controller->loadStatus())
                 return controller->loadStatus();
             platform::View* sheets =
                 controller->view()->viewWithTag(CleanBackgroundViewController::kSheetsViewTag);
             if (!controller->scrollView() || !sheets ||
                 !sheets->isDescendantOfView(controller->scrollView().get()))
                 return failure("no sheets view (tag 500) in the scroll view");
             if (sheets->subviews().size() < CleanBackgroundViewController::sheets().size())
                 return failure("a sheet has no button");
             return platform::success();
         }},
        {SettingsViewController::kInterfaceName,
         []() -> Status {
             auto controller =
                 std::make_shared<SettingsViewController>(true, false, platform::Point{0, 0});
             (void)controller->view();
             if (!controller->loadStatus())
                 return controller->loadStatus();
             if (!controller->askOnShakeSwitch() || !controller->geometricsSwitch() ||
                 !controller->cropSwitch() || !controller->cursorSwitch() ||
                 !controller->smoothSwitch() || !controller->smoothSlider())
                 return failure("a switch or the slider is not connected");
             return platform::success();
         }},
        {FingerOffsetViewController::kInterfaceName,
         []() -> Status {
             auto controller = std::make_shared<FingerOffsetViewController>(platform::Point{0, 0});
             (void)controller->view();
             if (!controller->loadStatus())
                 return controller->loadStatus();
             if (!controller->offsetView())
                 return failure("the view is not a FingerOffsetView");
             return platform::success();
         }},
    };
}

std::vector<std::string> shippedInterfaceFiles() {
    std::vector<std::string> names;
    const std::filesystem::path dir =
        std::filesystem::path(ZORBEL_RESOURCE_BUILD_DIR) / "interfaces";
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        if (entry.path().extension() == ".json")
            names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

class InterfaceFilesTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        CanvoAppDelegate::registerInterfaceClasses();
    }
};

TEST_F(InterfaceFilesTest, EveryShippedFileLoadsWithTheAppsClasses) {
    const auto files = appInterfaceFiles();
    const auto shipped = shippedInterfaceFiles();
    ASSERT_FALSE(shipped.empty());
    for (const std::string& name : shipped) {
        auto it = std::find_if(files.begin(), files.end(),
                               [&](const InterfaceFile& f) { return f.name == name; });
        if (it == files.end()) {
            ADD_FAILURE() << name << ".json: no loader in this test; add its owner";
            continue;
        }
        platform::clearLogCapture();
        const Status loaded = it->load();
        EXPECT_TRUE(loaded.ok()) << name << ": " << loaded.error();
        EXPECT_FALSE(platform::logContains("not loaded")) << name;
    }
}

TEST_F(InterfaceFilesTest, EveryFileTheAppLoadsIsShipped) {
    const auto shipped = shippedInterfaceFiles();
    for (const InterfaceFile& file : appInterfaceFiles())
        EXPECT_TRUE(std::binary_search(shipped.begin(), shipped.end(), file.name)) << file.name;
}

} // namespace
} // namespace zorbel::testing
