#include "pickers/ToolViewController.h"

#include <algorithm>
#include <array>
#include <string>

#include "platform/foundation/Log.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Window.h"

namespace zorbel {

namespace {

using Step = ToolViewController::Step;

// One row per control of "ToolSelection". The second column is the stored
// tool number recorded in toolSelected: sepia, grey scale, contrast and
// brightness leave it as it was.
constexpr std::array<ToolViewController::Action, 23> kActions{{
    {"setPaintBrush:", 1, Step::Tool, Tool::PaintBrushTool, std::nullopt},
    {"setEraserTool:", 2, Step::Tool, Tool::EraserTool, std::nullopt},
    {"setCloneTool:", 3, Step::Tool, Tool::CloneTool, std::nullopt},
    {"setShapeTool:", 4, Step::Tool, Tool::ShapeTool, std::nullopt},
    {"setTextTool:", 5, Step::Tool, Tool::TextTool, std::nullopt},
    {"setEyeDropper:", 6, Step::Tool, Tool::EyeDropperTool, std::nullopt},
    {"setColorBrushTool:", 19, Step::Tool, Tool::ColorBrushTool, std::nullopt},
    {"setHorizontalMirrorTool:", 9, Step::OneShot, Tool::NoTool, OneShotEffect::HorizontalMirror},
    {"setVerticalMirrorTool:", 10, Step::ReapplyTool, Tool::NoTool, std::nullopt},
    {"setSqueezeTool:", 11, Step::OneShot, Tool::NoTool, OneShotEffect::Squeeze},
    {"setTwirlTool:", 12, Step::InteractiveFirst, Tool::TwirlTool, std::nullopt},
    {"setLightTunnelTool:", 13, Step::OneShot, Tool::NoTool, OneShotEffect::LightTunnel},
    {"setBulgeTool:", 14, Step::OneShot, Tool::NoTool, OneShotEffect::Bulge},
    {"setDentTool:", 15, Step::OneShot, Tool::NoTool, OneShotEffect::Dent},
    {"setFisheyeTool:", 16, Step::OneShot, Tool::NoTool, OneShotEffect::Fisheye},
    {"setSepiaTool:", 0, Step::OneShot, Tool::SepiaTool, OneShotEffect::Sepia},
    {"setGrayScaleTool:", 0, Step::OneShot, Tool::GrayScaleTool, OneShotEffect::GrayScale},
    {"setContrastTool:", 0, Step::InteractiveFirst, Tool::ContrastTool, std::nullopt},
    {"setBrightnessTool:", 0, Step::InteractiveLater, Tool::BrightnessTool, std::nullopt},
    {"flattenImageAction:", 0, Step::Flatten, Tool::NoTool, std::nullopt},
    {"flipOverlayAction:", 0, Step::FlipOverlay, Tool::NoTool, std::nullopt},
    {"deleteOverlayAction:", 0, Step::DeleteLayer, Tool::NoTool, std::nullopt},
    {"cancel:", 0, Step::Cancel, Tool::NoTool, std::nullopt},
}};

// Tags 1-7 the tools, 100 the effects heading, 101-111 the effects, 200 the
// layers heading, 201-203 the layer actions.
constexpr std::array<ToolViewController::Placement, 23> kPlacements{{
    {1, {12, 52}, platform::Point{12, 52}},       {2, {106, 52}, platform::Point{106, 52}},
    {3, {202, 52}, platform::Point{202, 52}},     {4, {12, 92}, platform::Point{300, 52}},
    {5, {153, 92}, platform::Point{12, 92}},      {6, {12, 132}, platform::Point{106, 92}},
    {7, {106, 132}, platform::Point{202, 92}},    {100, {111, 172}, platform::Point{200, 132}},
    {101, {12, 212}, platform::Point{12, 172}},   {102, {111, 212}, platform::Point{106, 172}},
    {103, {217, 212}, platform::Point{202, 172}}, {104, {12, 252}, platform::Point{300, 172}},
    {105, {111, 252}, platform::Point{400, 172}}, {106, {217, 252}, platform::Point{12, 212}},
    {107, {217, 292}, platform::Point{106, 212}}, {108, {12, 292}, platform::Point{202, 212}},
    {109, {111, 292}, platform::Point{300, 212}}, {110, {111, 332}, platform::Point{400, 212}},
    {111, {12, 332}, platform::Point{12, 252}},   {200, {116, 372}, std::nullopt},
    {201, {12, 412}, platform::Point{202, 252}},  {202, {114, 412}, platform::Point{300, 252}},
    {203, {217, 412}, platform::Point{400, 252}},
}};


} // namespace

std::span<const ToolViewController::Action> ToolViewController::actions() {
    return kActions;
}

std::span<const ToolViewController::Placement> ToolViewController::placements() {
    return kPlacements;
}

ToolViewController::ToolViewController(PickerHost& host)
    : DocumentOrientedViewController(host, kInterfaceName, "ToolViewController") {
    for (const Action& action : kActions)
        registerAction(std::string(action.name),
                       [this, &action](platform::ActionSender*) { run(action); });
}

ToolViewController::~ToolViewController() = default;

bool ToolViewController::perform(std::string_view name) {
    const auto* action = actionNamed(name);
    if (!action)
        return false;
    (*action)(nullptr);
    return true;
}

void ToolViewController::dismiss() {
    dismissModalViewControllerAnimated(true);
}

void ToolViewController::run(const Action& action) {
    // Dismissal may release the picker when it is not animated; the host
    // outlives it, so everything after it goes through a copy.
    PickerHost& host = this->host();
    if (action.toolSelected != 0)
        toolSelected_ = action.toolSelected;
    switch (action.step) {
    case Step::Tool:
        dismiss();
        host.setSelectedTool(action.tool);
        host.applyTool();
        break;
    case Step::ReapplyTool:
        dismiss();
        host.applyTool();
        break;
    case Step::OneShot:
        dismiss();
        if (action.tool != Tool::NoTool)
            host.setSelectedFilterTool(action.tool);
        host.setUpProgressView();
        host.detachOneShotEffect(*action.effect);
        break;
    case Step::InteractiveFirst:
        host.setSelectedFilterTool(action.tool);
        dismiss();
        host.applyFilterTool();
        break;
    case Step::InteractiveLater:
        dismiss();
        host.setSelectedFilterTool(action.tool);
        host.applyFilterTool();
        break;
    case Step::Flatten:
        dismiss();
        host.flattenImage();
        break;
    case Step::FlipOverlay:
        dismiss();
        if (host.selectedTool() == Tool::ShapeTool && host.hasLastMovedTouchImageView())
            host.flipLastMovedTouchImageView();
        break;
    case Step::DeleteLayer:
        dismiss();
        if (host.selectedTool() == Tool::ShapeTool && host.hasLastMovedTouchImageView())
            host.removeLastMovedTouchImageView();
        if (host.selectedTool() == Tool::TextTool && host.hasLastMovedTextLayer())
            host.removeLastMovedTextLayer();
        break;
    case Step::Cancel:
        dismiss();
        break;
    }
}

// --- Screen -------------------------------------------------------------------------

void ToolViewController::viewDidLoad() {
    adjustViewForOrientation();
}

void ToolViewController::viewDidAppear(bool) {
    if (needsToDisappear_ && parentViewController())
        parentViewController()->dismissModalViewControllerAnimated(false);
}

void ToolViewController::layoutForPortrait() {
    for (const Placement& p : kPlacements)
        setViewTagPosition(p.tag, p.portrait.x, p.portrait.y);
}

void ToolViewController::layoutForLandscape() {
    for (const Placement& p : kPlacements)
        if (p.landscape)
            setViewTagPosition(p.tag, p.landscape->x, p.landscape->y);
}

} // namespace zorbel
