#pragma once

#include <string>
#include <utility>
#include <vector>

#include "pickers/PickerHost.h"

namespace zorbel::testing {

// Stands in for the application: keeps the values the pickers read and
// writes down every operation they call, in order ("setBrushSize 5").
class FakePickerHost : public PickerHost {
public:
    std::vector<std::string> calls;
    Tool selected = Tool::PaintBrushTool;
    Tool filter = Tool::NoTool;
    int document = 1;
    int current = 1;
    bool overlay = false;
    bool caption = false;
    float alpha = 1;
    platform::BlendMode mode = platform::BlendMode::Normal;
    std::vector<platform::Color> palette;
    platform::ImageRef brushImage;
    platform::ImageRef colorBrushImage;
    platform::Color color;

    FakePickerHost() {
        for (int i = 0; i < 12; ++i)
            palette.push_back(
                platform::Color::rgb(float(i) / 11.0f, 0.5f, 1.0f - float(i) / 11.0f));
    }

    Tool selectedTool() const override { return selected; }
    void setSelectedTool(Tool tool) override {
        selected = tool;
        note("setSelectedTool", std::to_string(int(tool)));
    }
    void applyTool() override { note("applyTool", ""); }
    void setSelectedFilterTool(Tool tool) override {
        filter = tool;
        note("setSelectedFilterTool", std::to_string(int(tool)));
    }
    void applyFilterTool() override { note("applyFilterTool", ""); }
    void setUpProgressView() override { note("setUpProgressView", ""); }
    void detachOneShotEffect(OneShotEffect effect) override {
        note("detach", std::to_string(int(effect)));
    }
    void flattenImage() override { note("flattenImage", ""); }
    bool hasLastMovedTouchImageView() const override { return overlay; }
    void flipLastMovedTouchImageView() override { note("flip", ""); }
    void removeLastMovedTouchImageView() override { note("removeOverlay", ""); }
    bool hasLastMovedTextLayer() const override { return caption; }
    void removeLastMovedTextLayer() override { note("removeCaption", ""); }

    float brushAlpha() const override { return alpha; }
    void setBrushAlpha(float a) override {
        alpha = a;
        note("setBrushAlpha", std::to_string(a));
    }
    platform::BlendMode blendMode() const override { return mode; }
    void setBlendMode(platform::BlendMode m) override {
        mode = m;
        note("setBlendMode", std::to_string(int(m)));
    }
    void setBrushSize(int size) override { note("setBrushSize", std::to_string(size)); }
    void setBrushIndex(long index) override { note("setBrushIndex", std::to_string(index)); }
    void setBrushImage(platform::ImageRef image) override {
        brushImage = std::move(image);
        note("setBrushImage", brushImage ? "picture" : "none");
    }
    const std::vector<platform::Color>& colorSelectionArray() const override { return palette; }
    void setColorSelectionArray(std::vector<platform::Color> colors) override {
        palette = std::move(colors);
        note("setColorSelectionArray", std::to_string(palette.size()));
    }
    void setColor(const platform::Color& c) override {
        color = c;
        note("setColor", "");
    }
    void setOverlayIndex(int index) override { note("setOverlayIndex", std::to_string(index)); }
    void setDirtyFlag(bool dirty) override { note("setDirtyFlag", dirty ? "YES" : "NO"); }
    void AddShape(const std::string& name) override { note("AddShape", name); }
    void setColorBrushImage(platform::ImageRef image) override {
        colorBrushImage = std::move(image);
        note("setColorBrushImage", colorBrushImage ? "picture" : "none");
    }
    void setColorBrushIndex(int index) override {
        note("setColorBrushIndex", std::to_string(index));
    }
    int documentOrientation() const override { return document; }
    int getCurrentOrientation() const override { return current; }

    bool called(const std::string& name) const {
        for (const auto& c : calls)
            if (c == name || c.rfind(name + " ", 0) == 0)
                return true;
        return false;
    }

private:
    void note(const std::string& name, const std::string& value) {
        calls.push_back(value.empty() ? name : name + " " + value);
    }
};

} // namespace zorbel::testing
