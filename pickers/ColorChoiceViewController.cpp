#include "pickers/ColorChoiceViewController.h"

#include "pickers/ColorChoiceView.h"
#include "pickers/ColorSquareView.h"
#include "pickers/PickerHost.h"
#include "pickers/RainbowColorView.h"
#include "platform/foundation/Log.h"
#include "platform/ui/Window.h"

namespace zorbel {

using platform::Point;
using platform::Rect;

namespace {

constexpr Point kLandscapeRainbowOrigin{230, 70};
constexpr Point kLandscapeSwatchOrigin{230, 46};
constexpr float kLandscapeSwatchHeight = 24;
constexpr Point kPortraitRainbowOrigin{40, 230};
constexpr Point kPortraitSwatchOrigin{40, 120};
constexpr float kPortraitSwatchHeight = 70;

} // namespace

ColorChoiceViewController::ColorChoiceViewController(PickerHost& host, const platform::Color& color,
                                                     std::string interfaceName)
    : platform::ViewController(std::move(interfaceName)), host_(host), color_(color) {
    registerAction("done:", [this](platform::ActionSender* s) { done(s); });
    registerAction("cancel:", [this](platform::ActionSender* s) { cancel(s); });
}

ColorChoiceViewController::~ColorChoiceViewController() {
    if (!isViewLoaded())
        return;
    if (auto* p = palette())
        p->setMyDelegate(nullptr);
}

ColorChoiceView* ColorChoiceViewController::palette() {
    return dynamic_cast<ColorChoiceView*>(view()->viewWithTag(kPaletteTag));
}

ColorSquareView* ColorChoiceViewController::swatch() {
    return dynamic_cast<ColorSquareView*>(view()->viewWithTag(kSwatchTag));
}

RainbowColorView* ColorChoiceViewController::rainbow() {
    return dynamic_cast<RainbowColorView*>(view()->viewWithTag(kRainbowTag));
}

void ColorChoiceViewController::viewDidLoad() {
    ColorChoiceView* p = palette();
    ColorSquareView* s = swatch();
    RainbowColorView* r = rainbow();
    if (!p || !s || !r)
        platform::log("ColorChoiceViewController: the palette, swatch or rainbow is missing");
    if (p) {
        // A copy: editing it leaves the stored palette alone until a choice.
        p->CreateColorArray(host_.colorSelectionArray());
        p->setSelectedColor(color_);
        p->setMyDelegate(this);
    }
    if (s)
        s->setColor(color_);
    if (r && s)
        r->setColorSquareView(std::static_pointer_cast<ColorSquareView>(s->shared_from_this()));
    if (platform::isLandscape(host_.getCurrentOrientation()))
        placeForLandscape();
}

void ColorChoiceViewController::didReceiveMemoryWarning() {
    platform::ViewController::didReceiveMemoryWarning();
    platform::log("******* didReceiveMemoryWarning ColorCHoiceViewController");
}

void ColorChoiceViewController::didRotateFromInterfaceOrientation(int fromOrientation) {
    if (platform::isLandscape(fromOrientation))
        placeForPortrait();
    else
        placeForLandscape();
    if (auto* p = palette())
        p->setNeedsDisplay();
}

void ColorChoiceViewController::placeForLandscape() {
    if (auto* r = rainbow()) {
        Rect f = r->frame();
        f.origin = kLandscapeRainbowOrigin;
        r->setFrame(f);
    }
    if (auto* s = swatch())
        s->setFrame(Rect(kLandscapeSwatchOrigin, {s->frame().width(), kLandscapeSwatchHeight}));
}

void ColorChoiceViewController::placeForPortrait() {
    if (auto* r = rainbow()) {
        Rect f = r->frame();
        f.origin = kPortraitRainbowOrigin;
        r->setFrame(f);
    }
    if (auto* s = swatch())
        s->setFrame(Rect(kPortraitSwatchOrigin, {s->frame().width(), kPortraitSwatchHeight}));
}

void ColorChoiceViewController::colorWasSelected(const platform::Color& color) {
    if (closing_)
        return;
    closing_ = true;
    host_.setColor(color);
    if (auto* p = palette())
        p->replaceMainColorArray();
    dismissModalViewControllerAnimated(true);
}

void ColorChoiceViewController::done(platform::ActionSender*) {
    ColorSquareView* s = swatch();
    colorWasSelected(s && s->color() ? *s->color() : color_);
}

void ColorChoiceViewController::cancel(platform::ActionSender*) {
    if (closing_)
        return;
    closing_ = true;
    dismissModalViewControllerAnimated(true);
}

void ColorChoiceViewController::replaceMainColorArray(const std::vector<platform::Color>& colors) {
    host_.setColorSelectionArray(colors);
}

} // namespace zorbel
