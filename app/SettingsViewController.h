#pragma once

#include <memory>

#include "platform/graphics/Point.h"
#include "platform/ui/ViewController.h"

namespace platform {
class Button;
class Slider;
class Switch;
} // namespace platform

namespace zorbel {

// The settings screen (interface file "Preferences"): five switches and the
// smoothing slider edit a private copy of the settings taken when the screen
// opens; the back action hands the whole copy to the application delegate
// and closes the screen. There is no cancel. "Set Finger Offset" opens the
// finger-offset screen with the offset the screen opened with.
class SettingsViewController : public platform::ViewController {
public:
    static constexpr const char* kInterfaceName = "Preferences";
    // Where "Set Finger Offset" sits, in portrait and in landscape.
    static constexpr platform::Rect kFingerOffsetButtonPortrait{60, 310, 200, 40};
    static constexpr platform::Rect kFingerOffsetButtonLandscape{275, 55, 185, 40};

    SettingsViewController(bool askOnShake, bool geometrics, platform::Point fingerOffset,
                           std::string interfaceName = kInterfaceName);
    ~SettingsViewController() override;

    void viewDidLoad() override;
    void didReceiveMemoryWarning() override;
    bool shouldAutorotateToInterfaceOrientation(int) override { return false; }
    void didRotateFromInterfaceOrientation(int fromOrientation) override;

    // --- Actions -------------------------------------------------------------
    void askOnShakeAction(platform::ActionSender* sender);
    void geometricsAction(platform::ActionSender* sender);
    void cropAction(platform::ActionSender* sender);
    void cursorAction(platform::ActionSender* sender);
    void smoothSwitchAction(platform::ActionSender* sender);
    void smoothSliderAction(platform::ActionSender* sender);
    void goBackAction(platform::ActionSender* sender);
    void setFingerOffsetAction(platform::ActionSender* sender);

    // "Set Finger Offset", placed for the toolbar's orientation.
    std::shared_ptr<platform::Button> createFingerOffsetButton();

    // --- The private copy --------------------------------------------------------
    bool askOnShakeFlag() const { return askOnShakeFlag_; }
    bool geometricsFlag() const { return geometricsFlag_; }
    bool cropFlag() const { return cropFlag_; }
    bool cursorFlag() const { return cursorFlag_; }
    bool smoothFlag() const { return smoothFlag_; }
    float smoothValue() const { return smoothValue_; }
    platform::Point myFingerOffset() const { return myFingerOffset_; }

    // --- Outlets -------------------------------------------------------------------
    const std::shared_ptr<platform::Switch>& askOnShakeSwitch() const { return askOnShakeSwitch_; }
    const std::shared_ptr<platform::Switch>& geometricsSwitch() const { return geometricsSwitch_; }
    const std::shared_ptr<platform::Switch>& cropSwitch() const { return cropSwitch_; }
    const std::shared_ptr<platform::Switch>& cursorSwitch() const { return cursorSwitch_; }
    const std::shared_ptr<platform::Switch>& smoothSwitch() const { return smoothSwitch_; }
    const std::shared_ptr<platform::Slider>& smoothSlider() const { return smoothSlider_; }
    const std::shared_ptr<platform::Button>& fingerOffsetButton() const {
        return fingerOffsetButton_;
    }

private:
    static bool switchIsOn(platform::ActionSender* sender, bool otherwise);

    std::shared_ptr<platform::Switch> askOnShakeSwitch_;
    std::shared_ptr<platform::Switch> geometricsSwitch_;
    std::shared_ptr<platform::Switch> cropSwitch_;
    std::shared_ptr<platform::Switch> cursorSwitch_;
    std::shared_ptr<platform::Switch> smoothSwitch_;
    std::shared_ptr<platform::Slider> smoothSlider_;
    std::shared_ptr<platform::Button> fingerOffsetButton_;
    bool cropFlag_ = false;
    bool askOnShakeFlag_;
    bool geometricsFlag_;
    platform::Point myFingerOffset_;
    bool cursorFlag_ = false;
    bool smoothFlag_ = false;
    float smoothValue_ = 0;
    bool closing_ = false;
};

} // namespace zorbel
