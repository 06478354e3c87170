#include "pickers/ScreenSlidersViewController.h"

#include "platform/foundation/Log.h"
#include "platform/ui/Slider.h"
#include "platform/ui/Window.h"

namespace zorbel {

namespace {

struct PanelLayout {
    platform::Size panel;
    platform::Point slider;
    float sliderWidth;
    platform::Point cancel;
    platform::Point ok;
};

constexpr PanelLayout kPortrait{{320, 480}, {11, 390}, 300, {61, 420}, {196, 420}};
constexpr PanelLayout kLandscape{{480, 320}, {11, 220}, 460, {60, 250}, {360, 250}};

} // namespace

ScreenSlidersViewController::ScreenSlidersViewController(PickerHost& host)
    : ScreenSlidersViewController(host, kInterfaceName) {}

ScreenSlidersViewController::ScreenSlidersViewController(PickerHost& host,
                                                         std::string interfaceName)
    : DocumentOrientedViewController(host, std::move(interfaceName), "ScreenSlidersVC") {
    registerAction("okButtonAction:", [this](platform::ActionSender* s) { okButtonAction(s); });
    registerAction("cancelButtonAction:",
                   [this](platform::ActionSender* s) { cancelButtonAction(s); });
    registerAction("sliderMoved:", [this](platform::ActionSender* s) { sliderMoved(s); });
    registerOutlet("slider", slider_);
}

ScreenSlidersViewController::~ScreenSlidersViewController() = default;

void ScreenSlidersViewController::setAction(platform::Action action, std::string name) {
    action_ = std::move(action);
    actionName_ = std::move(name);
}

void ScreenSlidersViewController::viewDidLoad() {
    view()->setBackgroundColor(platform::Color::clear());
    if (slider_) {
        slider_->setMinimumValue(minValue_);
        slider_->setMaximumValue(maxValue_);
        slider_->setValue(startValue_);
        slider_->setMaximumValueImage(maxImage_);
        slider_->setMinimumValueImage(minImage_);
        if (action_)
            slider_->addTarget(target_, action_, platform::ControlEventValueChanged, actionName_);
    } else {
        platform::log("ScreenSlidersVC: no slider in " + interfaceName());
    }
    view()->setAlpha(1.0f);
    adjustViewForOrientation();
}

// The handlers remove the panel at once, so the fade is not seen to its end.
void ScreenSlidersViewController::fadeOut() {
    platform::View::beginAnimations();
    platform::View::setAnimationDuration(kFadeDuration);
    view()->setAlpha(0);
    platform::View::commitAnimations();
}

// The handler closes the panel and lets it go: it and its action stay alive
// until the handler has returned.
void ScreenSlidersViewController::okButtonAction(platform::ActionSender* sender) {
    const auto keep = shared_from_this();
    fadeOut();
    if (okTarget_ && okAction_) {
        const platform::Action action = okAction_;
        action(sender);
    }
}

void ScreenSlidersViewController::cancelButtonAction(platform::ActionSender* sender) {
    const auto keep = shared_from_this();
    fadeOut();
    if (cancelTarget_ && cancelAction_) {
        const platform::Action action = cancelAction_;
        action(sender);
    }
}

void ScreenSlidersViewController::keyReturn() {
    okButtonAction(view()->viewWithTag(kOkTag));
}

void ScreenSlidersViewController::keyEscape() {
    cancelButtonAction(view()->viewWithTag(kCancelTag));
}

// --- Orientation ---------------------------------------------------------------------

namespace {

void applyLayout(ScreenSlidersViewController& panel, const PanelLayout& layout) {
    platform::View& root = *panel.view();
    platform::Rect frame = root.frame();
    frame.size = layout.panel;
    root.setFrame(frame);
    panel.setViewTagPosition(ScreenSlidersViewController::kSliderTag, layout.slider.x,
                             layout.slider.y);
    panel.setViewTagWidth(ScreenSlidersViewController::kSliderTag, layout.sliderWidth);
    panel.setViewTagPosition(ScreenSlidersViewController::kCancelTag, layout.cancel.x,
                             layout.cancel.y);
    panel.setViewTagPosition(ScreenSlidersViewController::kOkTag, layout.ok.x, layout.ok.y);
}

} // namespace

void ScreenSlidersViewController::layoutForPortrait() {
    applyLayout(*this, kPortrait);
}

void ScreenSlidersViewController::layoutForLandscape() {
    applyLayout(*this, kLandscape);
}

void ScreenSlidersViewController::setViewTagWidth(int tag, float width) {
    platform::View* v = view()->viewWithTag(tag);
    if (!v || v == view().get())
        return;
    platform::Rect frame = v->frame();
    frame.size.width = width;
    v->setFrame(frame);
}

} // namespace zorbel
