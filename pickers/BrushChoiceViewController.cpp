#include "pickers/BrushChoiceViewController.h"

#include <array>

#include "pickers/BrushImageChoiceView.h"
#include "pickers/PickerHost.h"
#include "platform/foundation/Log.h"
#include "platform/graphics/BlendMode.h"
#include "platform/ui/Label.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/Slider.h"
#include "platform/ui/Window.h"

namespace zorbel {

using platform::BlendMode;
using platform::Rect;

namespace {

// Segment index -> blend mode; blendModeToButtonIndex reads it backwards.
constexpr std::array<BlendMode, 6> kSegmentModes = {
    BlendMode::Normal, BlendMode::Multiply, BlendMode::Screen,
    BlendMode::Darken, BlendMode::Lighten,  BlendMode::Overlay,
};

// Landscape and portrait places (the rest of each frame is the file's).
constexpr float kLandscapeWidth = 480;
constexpr platform::Point kLandscapeSliderOrigin{15, 240};
constexpr float kLandscapeSliderWidth = 450;
constexpr float kLandscapeControlsY = 265;
constexpr platform::Size kPortraitBrushViewSize{320, 300};
constexpr platform::Point kPortraitSliderOrigin{20, 364};
constexpr platform::Point kPortraitLabelOrigin{114, 387};
constexpr platform::Point kPortraitSegmentsOrigin{17, 419};

void moveTo(platform::View& view, platform::Point origin) {
    Rect f = view.frame();
    f.origin = origin;
    view.setFrame(f);
}

} // namespace

BrushChoiceViewController::BrushChoiceViewController(PickerHost& host, bool showSlider,
                                                     std::string interfaceName)
    : platform::ViewController(std::move(interfaceName)), host_(host),
      showSliderModes_(showSlider) {
    registerAction("done:", [this](platform::ActionSender* s) { done(s); });
    registerAction("cancel:", [this](platform::ActionSender* s) { cancel(s); });
    // The controls are read when the screen closes, not as they change.
    registerAction("blendMode:", [](platform::ActionSender*) {});
    registerAction("brushSizeChange:", [](platform::ActionSender*) {});
    registerAction("brushOpacityChange:", [](platform::ActionSender*) {});
    registerOutlet("brushOpacitySlider", slider_);
    registerOutlet("blendModeControl", blendModeControl_);
    registerOutlet("opacityLabel", opacityLabel_);
}

BrushChoiceViewController::~BrushChoiceViewController() {
    if (auto* brushes = isViewLoaded() ? brushView() : nullptr)
        brushes->setMyDelegate(nullptr);
}

BrushImageChoiceView* BrushChoiceViewController::brushView() {
    return dynamic_cast<BrushImageChoiceView*>(view()->viewWithTag(kBrushViewTag));
}

void BrushChoiceViewController::viewDidLoad() {
    if (auto* brushes = brushView())
        brushes->setMyDelegate(this);
    else
        platform::log("BrushChoiceViewController: no brush view with tag 124");
    if (showSliderModes_) {
        if (slider_)
            slider_->setValue(host_.brushAlpha());
        if (blendModeControl_)
            blendModeControl_->setSelectedSegmentIndex(blendModeToButtonIndex(host_.blendMode()));
    }
    const bool hidden = !showSliderModes_;
    if (slider_)
        slider_->setHidden(hidden);
    if (opacityLabel_)
        opacityLabel_->setHidden(hidden);
    if (blendModeControl_)
        blendModeControl_->setHidden(hidden);
    if (platform::isLandscape(host_.getCurrentOrientation()))
        setupForLandscape();
}

void BrushChoiceViewController::didReceiveMemoryWarning() {
    platform::ViewController::didReceiveMemoryWarning();
    platform::log("******* didReceiveMemoryWarning BruchChoiceViewController");
}

void BrushChoiceViewController::done(platform::ActionSender*) {
    if (closing_)
        return;
    closing_ = true;
    if (showSliderModes_) {
        if (slider_)
            host_.setBrushAlpha(slider_->value());
        if (blendModeControl_)
            host_.setBlendMode(buttonToBlendMode(blendModeControl_->selectedSegmentIndex()));
    }
    dismissModalViewControllerAnimated(true);
}

void BrushChoiceViewController::cancel(platform::ActionSender*) {
    if (closing_)
        return;
    closing_ = true;
    dismissModalViewControllerAnimated(true);
}

BlendMode BrushChoiceViewController::buttonToBlendMode(int segment) {
    if (segment < 0 || segment >= int(kSegmentModes.size()))
        return BlendMode::Normal;
    return kSegmentModes[std::size_t(segment)];
}

int BrushChoiceViewController::blendModeToButtonIndex(BlendMode mode) {
    for (std::size_t i = 0; i < kSegmentModes.size(); ++i)
        if (kSegmentModes[i] == mode)
            return int(i);
    return 0;
}

void BrushChoiceViewController::brushWasSelected(int size) {
    if (!closing_)
        host_.setBrushSize(size);
}

void BrushChoiceViewController::brushIndexWasSelected(int index) {
    if (!closing_)
        host_.setBrushIndex(index);
}

void BrushChoiceViewController::brushImageWasSelected(platform::ImageRef image) {
    if (!closing_)
        host_.setBrushImage(std::move(image));
}

void BrushChoiceViewController::setupForLandscape() {
    if (slider_) {
        Rect f = slider_->frame();
        f.origin = kLandscapeSliderOrigin;
        f.size.width = kLandscapeSliderWidth;
        slider_->setFrame(f);
    }
    if (opacityLabel_) {
        moveTo(*opacityLabel_,
               {(kLandscapeWidth - opacityLabel_->frame().width()) * 0.5f, kLandscapeControlsY});
        opacityLabel_->setHidden(true);
    }
    if (blendModeControl_)
        moveTo(*blendModeControl_, {(kLandscapeWidth - blendModeControl_->frame().width()) * 0.5f,
                                    kLandscapeControlsY});
}

void BrushChoiceViewController::setupForPortrait() {
    if (auto* brushes = brushView())
        brushes->setFrame(Rect(brushes->frame().origin, kPortraitBrushViewSize));
    if (slider_)
        moveTo(*slider_, kPortraitSliderOrigin);
    if (opacityLabel_)
        moveTo(*opacityLabel_, kPortraitLabelOrigin);
    if (blendModeControl_)
        moveTo(*blendModeControl_, kPortraitSegmentsOrigin);
}

void BrushChoiceViewController::didRotateFromInterfaceOrientation(int fromOrientation) {
    if (auto* brushes = brushView())
        brushes->setNeedsDisplay();
    if (!showSliderModes_)
        return;
    if (platform::isLandscape(fromOrientation))
        setupForPortrait();
    else
        setupForLandscape();
}

} // namespace zorbel
