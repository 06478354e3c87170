#pragma once

#include <memory>
#include <string>

#include "pickers/DocumentOrientedViewController.h"
#include "pickers/PickerHost.h"
#include "platform/graphics/Image.h"
#include "platform/ui/ViewController.h"

namespace platform {
class Slider;
}

namespace zorbel {

// The on-screen slider panel of the interactive effects (interface
// "ScreenSlider"): a slider (tag 350) with an OK (370) and a Cancel (360)
// button, laid over the picture in place of the toolbars. The slider's
// value-changed action goes to `target`; OK and Cancel fade the panel and
// call their handlers, which close it. Set the fields before the view loads:
// viewDidLoad copies them into the slider.
//
// On the desktop Return is OK and Escape is Cancel while the slider has the
// keyboard focus (the opener gives it the focus).
class ScreenSlidersViewController : public DocumentOrientedViewController {
public:
    static constexpr const char* kInterfaceName = "ScreenSlider";
    static constexpr int kSliderTag = 350;
    static constexpr int kCancelTag = 360;
    static constexpr int kOkTag = 370;
    // Seconds OK and Cancel take to fade the panel.
    static constexpr double kFadeDuration = 0.5;

    // initWithFromDefinedNib. The host must outlive the panel.
    explicit ScreenSlidersViewController(PickerHost& host);
    // initWithNibName:bundle: another interface file.
    ScreenSlidersViewController(PickerHost& host, std::string interfaceName);
    ~ScreenSlidersViewController() override;

    void viewDidLoad() override;

    // The panel's buttons (sender: the button).
    void okButtonAction(platform::ActionSender* sender);
    void cancelButtonAction(platform::ActionSender* sender);
    void sliderMoved(platform::ActionSender*) {}
    // Return is OK and Escape is Cancel (the slider, when focused, hands them on).
    void keyReturn() override;
    void keyEscape() override;

    void layoutForPortrait() override;
    void layoutForLandscape() override;
    void setViewTagWidth(int tag, float width);

    // --- Fields ---------------------------------------------------------------------
    // The slider of the interface file (null before the view loads).
    const std::shared_ptr<platform::Slider>& slider() const { return slider_; }
    platform::Slider* getSlider() const { return slider_.get(); }
    // Not owned: who receives the slider's changes (identity only).
    const void* target() const { return target_; }
    void setTarget(const void* target) { target_ = target; }
    // Sent with the slider on every value change; `name` is its action name
    // ("brightnessSliderAction:"), by which scripts find the slider.
    const platform::Action& action() const { return action_; }
    const std::string& actionName() const { return actionName_; }
    void setAction(platform::Action action, std::string name);
    float minValue() const { return minValue_; }
    void setMinValue(float v) { minValue_ = v; }
    float maxValue() const { return maxValue_; }
    void setMaxValue(float v) { maxValue_ = v; }
    float startValue() const { return startValue_; }
    void setStartValue(float v) { startValue_ = v; }
    const platform::ImageRef& maxImage() const { return maxImage_; }
    void setMaxImage(platform::ImageRef image) { maxImage_ = std::move(image); }
    const platform::ImageRef& minImage() const { return minImage_; }
    void setMinImage(platform::ImageRef image) { minImage_ = std::move(image); }
    const void* okTarget() const { return okTarget_; }
    void setOkTarget(const void* target) { okTarget_ = target; }
    const platform::Action& okAction() const { return okAction_; }
    void setOkAction(platform::Action action) { okAction_ = std::move(action); }
    const void* cancelTarget() const { return cancelTarget_; }
    void setCancelTarget(const void* target) { cancelTarget_ = target; }
    const platform::Action& cancelAction() const { return cancelAction_; }
    void setCancelAction(platform::Action action) { cancelAction_ = std::move(action); }

private:
    void fadeOut();

    std::shared_ptr<platform::Slider> slider_;
    const void* target_ = nullptr;
    platform::Action action_;
    std::string actionName_;
    float minValue_ = 0;
    float maxValue_ = 0;
    float startValue_ = 0;
    platform::ImageRef maxImage_;
    platform::ImageRef minImage_;
    const void* okTarget_ = nullptr;
    platform::Action okAction_;
    const void* cancelTarget_ = nullptr;
    platform::Action cancelAction_;
};

} // namespace zorbel
