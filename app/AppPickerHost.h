#pragma once

#include "pickers/PickerHost.h"

namespace zorbel {

class CanvoAppDelegate;

// The application's side of the pickers' host interface: everything goes to
// the application delegate it was made for.
class AppPickerHost : public PickerHost {
public:
    explicit AppPickerHost(CanvoAppDelegate& app) : app_(app) {}

    int selectedTool() const override;
    void setSelectedTool(int tool) override;
    void applyTool() override;
    void setSelectedFilterTool(int tool) override;
    void applyFilterTool() override;
    void setUpProgressView() override;
    void detachOneShotEffect(OneShotEffect effect) override;
    void flattenImage() override;
    bool hasLastMovedTouchImageView() const override;
    void flipLastMovedTouchImageView() override;
    void removeLastMovedTouchImageView() override;
    bool hasLastMovedTextLayer() const override;
    void removeLastMovedTextLayer() override;
    int documentOrientation() const override;
    int getCurrentOrientation() const override;

private:
    CanvoAppDelegate& app_;
};

} // namespace zorbel
