#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string_view>

#include "pickers/DocumentOrientedViewController.h"
#include "pickers/PickerHost.h"
#include "platform/graphics/Point.h"

namespace platform {
class ActivityIndicatorView;
}

namespace zorbel {

// The tool picker (interface "ToolSelection"): the painting tools, the picture
// effects and three layer actions. Each control sends one action of the table
// in ToolViewController.cpp; every choice is handed to the host and the
// picker dismisses itself. It turns only to the document's orientation and
// lays its controls out again after every turn.
class ToolViewController : public DocumentOrientedViewController {
public:
    static constexpr const char* kInterfaceName = "ToolSelection";

    // What an action does, in the order of the rows of its table.
    enum class Step {
        Tool,             // dismiss; setSelectedTool; applyTool
        ReapplyTool,      // dismiss; applyTool (the selected tool stays)
        OneShot,          // dismiss; [setSelectedFilterTool]; setUpProgressView; worker
        InteractiveFirst, // setSelectedFilterTool; dismiss; applyFilterTool
        InteractiveLater, // dismiss; setSelectedFilterTool; applyFilterTool
        Flatten,          // dismiss; flattenImage
        FlipOverlay,      // dismiss; flip the last moved picture layer (shape tool only)
        DeleteLayer,      // dismiss; delete the last moved picture layer or caption
        Cancel,           // dismiss
    };
    struct Action {
        std::string_view name; // as in the interface file ("setSepiaTool:")
        int toolSelected;      // recorded in toolSelected; 0 leaves it as it was
        Step step;
        Tool tool; // the tool or effect handed to the host (NoTool: none)
        std::optional<OneShotEffect> effect;
    };
    static std::span<const Action> actions();

    // A control's place: frame origin in portrait and, unless it stays put,
    // in landscape.
    struct Placement {
        int tag;
        platform::Point portrait;
        std::optional<platform::Point> landscape;
    };
    static std::span<const Placement> placements();

    // initWithFromDefinedNib. The host must outlive the picker.
    explicit ToolViewController(PickerHost& host);
    ~ToolViewController() override;

    // Runs the action of that name (as its control does); false if unknown.
    bool perform(std::string_view name);

    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;
    void layoutForPortrait() override;
    void layoutForLandscape() override;

    std::int32_t toolSelected() const { return toolSelected_; }
    // Set before the picker appears, it dismisses itself as soon as it shows.
    bool needsToDisappear() const { return needsToDisappear_; }
    void setNeedsToDisappear(bool v) { needsToDisappear_ = v; }

private:
    void run(const Action& action);
    void dismiss();

    std::int32_t toolSelected_ = 0;
    bool needsToDisappear_ = false;
    // Kept for the screen's own use; no action shows it.
    std::shared_ptr<platform::ActivityIndicatorView> progressInd_;
};

} // namespace zorbel
