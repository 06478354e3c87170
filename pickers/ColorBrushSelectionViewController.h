#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/ScrollView.h"
#include "platform/ui/ViewController.h"

namespace zorbel {

class PickerHost;

// The colour-brush picker (interface file "ColorBrushSelection"): a
// scrolling grid of the colour-brush pictures themselves, four to a row in
// 64-point buttons. Tapping one selects the colour-brush tool with that
// picture (its width is the brush size) and closes the screen.
class ColorBrushSelectionViewController : public platform::ViewController,
                                          public platform::ScrollViewDelegate {
public:
    static constexpr const char* kInterfaceName = "ColorBrushSelection";
    static constexpr float kButtonSide = 64;
    static constexpr float kRowHeight = 80;
    static constexpr float kBottom = 150;

    // `imageNameArray`: the colour-brush catalogue, picture names with extension.
    ColorBrushSelectionViewController(PickerHost& host, std::vector<std::string> imageNameArray,
                                      std::string interfaceName = kInterfaceName);
    ~ColorBrushSelectionViewController() override;

    void viewDidLoad() override;
    void didReceiveMemoryWarning() override;
    bool shouldAutorotateToInterfaceOrientation(int) override { return false; }

    // The sender is the picture's button; its tag is the catalogue index.
    void buttonPushed(platform::ActionSender* sender);
    void cancel(platform::ActionSender* sender);
    // (n / 4 + 1) rows of 80 points and 150 points below them.
    static float contentHeightForCount(std::size_t count);

    bool scrollViewShouldScrollToTop(platform::ScrollView&) override { return true; }

    const std::vector<std::string>& imageNameArray() const { return imageNameArray_; }
    // The content view with the buttons (tag 200).
    const std::shared_ptr<platform::View>& colorBrushView() const { return colorBrushView_; }
    platform::ScrollView* scrollView();

private:
    PickerHost& host_;
    std::vector<std::string> imageNameArray_;
    std::shared_ptr<platform::View> colorBrushView_;
    bool closing_ = false;
};

} // namespace zorbel
