// The tool picker hands every choice to its host in the order of its table,
// and lays its controls out by the portrait or the landscape table.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "FakePickerHost.h"
#include "pickers/ToolViewController.h"
#include "platform/foundation/Log.h"
#include "platform/ui/Application.h"

namespace zorbel::testing {
namespace {

using Calls = std::vector<std::string>;

class ToolViewControllerTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::setLogQuiet(true);
        platform::clearLogCapture();
    }
    void TearDown() override { platform::setLogQuiet(false); }

    Calls perform(const std::string& action) {
        auto picker = std::make_shared<ToolViewController>(host);
        host.calls.clear();
        EXPECT_TRUE(picker->perform(action)) << action;
        lastToolSelected = picker->toolSelected();
        return host.calls;
    }

    FakePickerHost host;
    int lastToolSelected = 0;
};

TEST_F(ToolViewControllerTest, PaintingToolsBecomeTheSelectedToolAndAreApplied) {
    const std::pair<const char*, int> tools[] = {{"setPaintBrush:", 1},     {"setEraserTool:", 2},
                                                 {"setCloneTool:", 3},      {"setShapeTool:", 4},
                                                 {"setTextTool:", 5},       {"setEyeDropper:", 6},
                                                 {"setColorBrushTool:", 19}};
    for (const auto& [action, tool] : tools) {
        EXPECT_EQ(perform(action), (Calls{"setSelectedTool " + std::to_string(tool), "applyTool"}))
            << action;
        EXPECT_EQ(lastToolSelected, tool) << action;
    }
}

TEST_F(ToolViewControllerTest, OneShotEffectsPutUpTheIndicatorBeforeTheWorkerStarts) {
    const std::pair<const char*, int> effects[] = {
        {"setHorizontalMirrorTool:", 9}, {"setSqueezeTool:", 11}, {"setLightTunnelTool:", 13},
        {"setBulgeTool:", 14},           {"setDentTool:", 15},    {"setFisheyeTool:", 16}};
    for (const auto& [action, number] : effects) {
        EXPECT_EQ(perform(action), (Calls{"setUpProgressView", "detach " + std::to_string(number)}))
            << action;
        EXPECT_EQ(lastToolSelected, number) << action;
    }
    // Sepia and grey scale are recorded as the filter tool, not in toolSelected.
    EXPECT_EQ(perform("setSepiaTool:"),
              (Calls{"setSelectedFilterTool 18", "setUpProgressView", "detach 18"}));
    EXPECT_EQ(lastToolSelected, 0);
    EXPECT_EQ(perform("setGrayScaleTool:"),
              (Calls{"setSelectedFilterTool 17", "setUpProgressView", "detach 17"}));
    EXPECT_EQ(lastToolSelected, 0);
}

TEST_F(ToolViewControllerTest, InteractiveEffectsAreArmedForTheSliderPanel) {
    EXPECT_EQ(perform("setTwirlTool:"), (Calls{"setSelectedFilterTool 12", "applyFilterTool"}));
    EXPECT_EQ(lastToolSelected, 12);
    EXPECT_EQ(perform("setContrastTool:"), (Calls{"setSelectedFilterTool 21", "applyFilterTool"}));
    EXPECT_EQ(lastToolSelected, 0);
    EXPECT_EQ(perform("setBrightnessTool:"),
              (Calls{"setSelectedFilterTool 20", "applyFilterTool"}));
}

TEST_F(ToolViewControllerTest, VerticalMirrorOnlyAppliesTheCurrentToolAgain) {
    host.selected = Tool::EraserTool;
    EXPECT_EQ(perform("setVerticalMirrorTool:"), (Calls{"applyTool"}));
    EXPECT_EQ(host.selected, Tool::EraserTool);
}

TEST_F(ToolViewControllerTest, LayerActionsActOnlyForTheMatchingTool) {
    EXPECT_EQ(perform("flattenImageAction:"), (Calls{"flattenImage"}));
    EXPECT_EQ(perform("cancel:"), Calls{});

    host.overlay = host.caption = true;
    host.selected = Tool::PaintBrushTool; // a painting tool: flip and delete do nothing
    EXPECT_EQ(perform("flipOverlayAction:"), Calls{});
    EXPECT_EQ(perform("deleteOverlayAction:"), Calls{});
    host.selected = Tool::ShapeTool;
    EXPECT_EQ(perform("flipOverlayAction:"), (Calls{"flip"}));
    EXPECT_EQ(perform("deleteOverlayAction:"), (Calls{"removeOverlay"}));
    host.selected = Tool::TextTool; // the text tool deletes the caption and leaves pictures alone
    EXPECT_EQ(perform("flipOverlayAction:"), Calls{});
    EXPECT_EQ(perform("deleteOverlayAction:"), (Calls{"removeCaption"}));
    host.overlay = false;
    host.selected = Tool::ShapeTool;
    EXPECT_EQ(perform("deleteOverlayAction:"), Calls{});
}

TEST_F(ToolViewControllerTest, EveryActionOfTheTableIsWiredInTheInterfaceFile) {
    auto picker = std::make_shared<ToolViewController>(host);
    ASSERT_TRUE(picker->view());
    for (const auto& action : ToolViewController::actions())
        EXPECT_TRUE(picker->hasAction(action.name)) << action.name;
    EXPECT_FALSE(picker->perform("noSuchAction:"));
}

TEST_F(ToolViewControllerTest, ControlsFollowThePortraitAndLandscapeTables) {
    host.current = 3;
    auto picker = std::make_shared<ToolViewController>(host);
    auto& root = *picker->view(); // loads in landscape
    auto origin = [&](int tag) { return root.viewWithTag(tag)->frame().origin; };
    EXPECT_EQ(origin(4), (platform::Point{300, 52}));
    EXPECT_EQ(origin(105), (platform::Point{400, 172}));
    EXPECT_EQ(origin(200), (platform::Point{116, 372})); // the layers heading stays
    EXPECT_EQ(origin(203), (platform::Point{400, 252}));

    picker->didRotateFromInterfaceOrientation(3); // back to portrait
    for (const auto& place : ToolViewController::placements())
        EXPECT_EQ(origin(place.tag), place.portrait) << place.tag;
    const platform::Size size = root.viewWithTag(101)->frame().size;
    picker->didRotateFromInterfaceOrientation(1); // to landscape
    for (const auto& place : ToolViewController::placements())
        EXPECT_EQ(origin(place.tag), place.landscape.value_or(place.portrait)) << place.tag;
    EXPECT_EQ(root.viewWithTag(101)->frame().size, size);

    // Every control stays on the screen it is laid out for.
    for (const auto& place : ToolViewController::placements()) {
        const platform::Rect f = root.viewWithTag(place.tag)->frame();
        if (place.landscape) {
            EXPECT_LE(f.maxX(), 480) << place.tag;
        }
        EXPECT_LE(f.width() + place.portrait.x, 320) << place.tag;
    }
}

TEST_F(ToolViewControllerTest, TurnsOnlyToTheDocumentsOrientation) {
    auto picker = std::make_shared<ToolViewController>(host);
    host.document = 3;
    EXPECT_TRUE(picker->shouldAutorotateToInterfaceOrientation(3));
    EXPECT_FALSE(picker->shouldAutorotateToInterfaceOrientation(1));
    EXPECT_FALSE(picker->shouldAutorotateToInterfaceOrientation(4));
}

TEST_F(ToolViewControllerTest, MemoryWarningIsLogged) {
    auto picker = std::make_shared<ToolViewController>(host);
    platform::Application::shared().receiveMemoryWarning();
    EXPECT_TRUE(platform::logContains("******* didReceiveMemoryWarning ToolViewController"));
}

} // namespace
} // namespace zorbel::testing
