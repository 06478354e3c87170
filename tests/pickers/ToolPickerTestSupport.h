#pragma once

#include <string>
#include <vector>

#include "pickers/PickerHost.h"

namespace zorbel::testing {

// A host that writes down what the pickers ask of it, in order.
class RecordingHost : public PickerHost {
public:
    std::vector<std::string> calls;
    int selected = 1;
    int filter = 0;
    int document = 1;
    int current = 1;
    bool overlay = false;
    bool caption = false;

    int selectedTool() const override { return selected; }
    void setSelectedTool(int tool) override {
        selected = tool;
        calls.push_back("setSelectedTool " + std::to_string(tool));
    }
    void applyTool() override { calls.push_back("applyTool"); }
    void setSelectedFilterTool(int tool) override {
        filter = tool;
        calls.push_back("setSelectedFilterTool " + std::to_string(tool));
    }
    void applyFilterTool() override { calls.push_back("applyFilterTool"); }
    void setUpProgressView() override { calls.push_back("setUpProgressView"); }
    void detachOneShotEffect(OneShotEffect effect) override {
        calls.push_back("detach " + std::to_string(int(effect)));
    }
    void flattenImage() override { calls.push_back("flattenImage"); }
    bool hasLastMovedTouchImageView() const override { return overlay; }
    void flipLastMovedTouchImageView() override { calls.push_back("flip"); }
    void removeLastMovedTouchImageView() override { calls.push_back("removeOverlay"); }
    bool hasLastMovedTextLayer() const override { return caption; }
    void removeLastMovedTextLayer() override { calls.push_back("removeCaption"); }
    int documentOrientation() const override { return document; }
    int getCurrentOrientation() const override { return current; }
};

} // namespace zorbel::testing
