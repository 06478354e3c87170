#include "app/SettingsViewController.h"

#include "app/ButtonWithTitle.h"
#include "app/CanvoAppDelegate.h"
#include "app/FingerOffsetViewController.h"
#include "platform/foundation/Log.h"
#include "platform/ui/Button.h"
#include "platform/ui/Slider.h"
#include "platform/ui/Switch.h"
#include "platform/ui/Window.h"

namespace zorbel {

using platform::ActionSender;

SettingsViewController::SettingsViewController(bool askOnShake, bool geometrics,
                                               platform::Point fingerOffset,
                                               std::string interfaceName)
    : platform::ViewController(std::move(interfaceName)), askOnShakeFlag_(askOnShake),
      geometricsFlag_(geometrics), myFingerOffset_(fingerOffset) {
    if (CanvoAppDelegate* d = CanvoAppDelegate::shared()) {
        cropFlag_ = d->useCropImage();
        cursorFlag_ = d->cursorDisplayFlag();
        smoothFlag_ = d->smoothPaintBrushFlag();
        smoothValue_ = d->smoothPaintBrushAmount();
    }
    registerOutlet("askOnShakeSwitch", askOnShakeSwitch_);
    registerOutlet("geometricsSwitch", geometricsSwitch_);
    registerOutlet("cropSwitch", cropSwitch_);
    registerOutlet("cursorSwitch", cursorSwitch_);
    registerOutlet("smoothSwitch", smoothSwitch_);
    registerOutlet("smoothSlider", smoothSlider_);
    registerAction("askOnShakeAction:", [this](ActionSender* s) { askOnShakeAction(s); });
    registerAction("geometricsAction:", [this](ActionSender* s) { geometricsAction(s); });
    registerAction("cropAction:", [this](ActionSender* s) { cropAction(s); });
    registerAction("cursorAction:", [this](ActionSender* s) { cursorAction(s); });
    registerAction("smoothSwitchAction:", [this](ActionSender* s) { smoothSwitchAction(s); });
    registerAction("smoothSliderAction:", [this](ActionSender* s) { smoothSliderAction(s); });
    registerAction("goBackAction:", [this](ActionSender* s) { goBackAction(s); });
    registerAction("setFingerOffsetAction:", [this](ActionSender* s) { setFingerOffsetAction(s); });
}

SettingsViewController::~SettingsViewController() = default;

void SettingsViewController::viewDidLoad() {
    const std::pair<const std::shared_ptr<platform::Switch>*, bool> switches[] = {
        {&askOnShakeSwitch_, askOnShakeFlag_}, {&geometricsSwitch_, geometricsFlag_},
        {&cropSwitch_, cropFlag_},             {&cursorSwitch_, cursorFlag_},
        {&smoothSwitch_, smoothFlag_},
    };
    for (const auto& [control, on] : switches)
        if (*control)
            (*control)->setOn(on, false);
    if (smoothSlider_)
        smoothSlider_->setValue(smoothValue_);
    fingerOffsetButton_ = createFingerOffsetButton();
    view()->addSubview(fingerOffsetButton_);
}

void SettingsViewController::didReceiveMemoryWarning() {
    platform::ViewController::didReceiveMemoryWarning();
    platform::log("******* didReceiveMemoryWarning SettingsVC");
}

void SettingsViewController::didRotateFromInterfaceOrientation(int) {
    if (fingerOffsetButton_)
        fingerOffsetButton_->removeFromSuperview();
    fingerOffsetButton_ = createFingerOffsetButton();
    view()->addSubview(fingerOffsetButton_);
}

std::shared_ptr<platform::Button> SettingsViewController::createFingerOffsetButton() {
    CanvoAppDelegate* d = CanvoAppDelegate::shared();
    const bool landscape = d && platform::isLandscape(d->getCurrentOrientation());
    return buttonWithTitle(
        "Set Finger Offset", this, [this](ActionSender* s) { setFingerOffsetAction(s); },
        "setFingerOffsetAction:",
        landscape ? kFingerOffsetButtonLandscape : kFingerOffsetButtonPortrait,
        platform::Image::named("whiteButton.png"), platform::Image::named("blueButton.png"), true);
}

bool SettingsViewController::switchIsOn(ActionSender* sender, bool otherwise) {
    auto* control = dynamic_cast<platform::Switch*>(sender);
    return control ? control->isOn() : otherwise;
}

void SettingsViewController::askOnShakeAction(ActionSender* sender) {
    askOnShakeFlag_ = switchIsOn(sender, askOnShakeFlag_);
}

void SettingsViewController::geometricsAction(ActionSender* sender) {
    geometricsFlag_ = switchIsOn(sender, geometricsFlag_);
}

void SettingsViewController::cropAction(ActionSender* sender) {
    cropFlag_ = switchIsOn(sender, cropFlag_);
}

void SettingsViewController::cursorAction(ActionSender* sender) {
    cursorFlag_ = switchIsOn(sender, cursorFlag_);
}

void SettingsViewController::smoothSwitchAction(ActionSender* sender) {
    smoothFlag_ = switchIsOn(sender, smoothFlag_);
}

void SettingsViewController::smoothSliderAction(ActionSender* sender) {
    if (auto* slider = dynamic_cast<platform::Slider*>(sender))
        smoothValue_ = slider->value();
}

void SettingsViewController::goBackAction(ActionSender*) {
    if (closing_)
        return;
    closing_ = true;
    if (CanvoAppDelegate* d = CanvoAppDelegate::shared()) {
        d->setSmartShapesEnabled(geometricsFlag_);
        d->setAskOnShake(askOnShakeFlag_);
        d->setUseCropImage(cropFlag_);
        d->setCursorDisplayFlag(cursorFlag_);
        d->setSmoothPaintBrushFlag(smoothFlag_);
        d->setSmoothPaintBrushAmount(smoothValue_);
    }
    dismissModalViewControllerAnimated(true);
}

void SettingsViewController::setFingerOffsetAction(ActionSender*) {
    if (closing_)
        return;
    // The offset this screen opened with, even after a Done in between.
    presentModalViewController(std::make_shared<FingerOffsetViewController>(myFingerOffset_), true);
}

} // namespace zorbel
