#pragma once

#include "pickers/PickerHost.h"

namespace zorbel {

class CanvoAppDelegate;

// The application's side of the pickers' host interface: everything goes to
// the application delegate it was made for.
class AppPickerHost : public PickerHost {
public:
    explicit AppPickerHost(CanvoAppDelegate& app) : app_(app) {}

    Tool selectedTool() const override;
    void setSelectedTool(Tool tool) override;
    void applyTool() override;
    void setSelectedFilterTool(Tool tool) override;
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

    float brushAlpha() const override;
    void setBrushAlpha(float alpha) override;
    platform::BlendMode blendMode() const override;
    void setBlendMode(platform::BlendMode mode) override;
    void setBrushSize(int size) override;
    void setBrushIndex(long index) override;
    void setBrushImage(platform::ImageRef image) override;
    const std::vector<platform::Color>& colorSelectionArray() const override;
    void setColorSelectionArray(std::vector<platform::Color> colors) override;
    void setColor(const platform::Color& color) override;
    void setOverlayIndex(int index) override;
    void setDirtyFlag(bool dirty) override;
    void AddShape(const std::string& imageName) override;
    void setColorBrushImage(platform::ImageRef image) override;
    void setColorBrushIndex(int index) override;

private:
    CanvoAppDelegate& app_;
};

} // namespace zorbel
