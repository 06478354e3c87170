#pragma once

#include <memory>
#include <string>

#include "platform/graphics/BlendMode.h"
#include "platform/graphics/Image.h"
#include "platform/ui/ViewController.h"

namespace platform {
class Label;
class SegmentedControl;
class Slider;
} // namespace platform

namespace zorbel {

class BrushImageChoiceView;
class PickerHost;

// The brush picker (interface file "BrushImageChoice"): the grid of standard
// brushes (tag 124) and, for the paint brush only, the opacity slider and the
// blend-mode segments. Tapping a brush hands its size, index and picture to
// the delegate and closes the screen as Done does; Done applies the slider
// and the segments (when shown), Cancel only closes.
class BrushChoiceViewController : public platform::ViewController {
public:
    static constexpr const char* kInterfaceName = "BrushImageChoice";
    static constexpr int kBrushViewTag = 124;

    // `showSlider`: offer the opacity and blend mode (the paint brush only).
    BrushChoiceViewController(PickerHost& host, bool showSlider,
                              std::string interfaceName = kInterfaceName);
    ~BrushChoiceViewController() override;

    void viewDidLoad() override;
    void didReceiveMemoryWarning() override;
    bool shouldAutorotateToInterfaceOrientation(int) override { return false; }
    void didRotateFromInterfaceOrientation(int fromOrientation) override;

    void done(platform::ActionSender* sender);
    void cancel(platform::ActionSender* sender);
    // Done, after a brush was tapped.
    void allDone() { done(nullptr); }

    // The blend-mode segments: 0 normal, 1 multiply, 2 screen, 3 darken,
    // 4 lighten, 5 overlay, against the stored mode numbers. Anything else
    // maps to 0 either way.
    static platform::BlendMode buttonToBlendMode(int segment);
    static int blendModeToButtonIndex(platform::BlendMode mode);

    // Calls from the brush view.
    void brushWasSelected(int size);
    void brushIndexWasSelected(int index);
    void brushImageWasSelected(platform::ImageRef image);

    bool showSliderModes() const { return showSliderModes_; }
    void setShowSliderModes(bool show) { showSliderModes_ = show; }
    BrushImageChoiceView* brushView();
    const std::shared_ptr<platform::Slider>& brushOpacitySlider() const { return slider_; }
    const std::shared_ptr<platform::SegmentedControl>& blendModeControl() const {
        return blendModeControl_;
    }
    const std::shared_ptr<platform::Label>& opacityLabel() const { return opacityLabel_; }

    void setupForLandscape();
    void setupForPortrait();

private:
    PickerHost& host_;
    std::shared_ptr<platform::Slider> slider_;
    std::shared_ptr<platform::SegmentedControl> blendModeControl_;
    std::shared_ptr<platform::Label> opacityLabel_;
    bool showSliderModes_;
    // Set once the screen starts closing: a second tap during the slide out
    // must not apply anything again.
    bool closing_ = false;
};

} // namespace zorbel
