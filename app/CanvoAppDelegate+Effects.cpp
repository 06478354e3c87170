// The effect pipeline: one-shot effects on a short-lived worker thread behind
// the activity indicator, and the slider panel of the interactive ones.
//
// Threads: the worker reads the undo buffer (the snapshot) and writes a
// buffer of its own (EffectWorker). Nothing else touches the undo buffer while
// the indicator spins: every path that could (canvas touches, undo, save,
// add, tool selection, shakes) asks tooBusyForUserInteraction first, a memory
// warning waits for the completion, and termination waits for the worker.
// The display reads only the painting, which changes on the main thread.

#include <array>
#include <cstring>
#include <string>

#include "app/AppPickerHost.h"
#include "app/CanvoAppDelegate.h"
#include "app/CanvoViewController.h"
#include "app/EffectProgressView.h"
#include "app/EffectWorker.h"
#include "app/NewMasterViewController.h"
#include "canvas/PaintingView.h"
#include "effects/EffectRegistry.h"
#include "pickers/ScreenSlidersViewController.h"
#include "platform/foundation/Log.h"
#include "platform/ui/Slider.h"
#include "platform/ui/Window.h"

namespace zorbel {

// What the delegate keeps for the effects.
struct EffectState {
    explicit EffectState(CanvoAppDelegate& app) : host(app) {}

    // The one-shot effect in flight.
    struct Run {
        std::shared_ptr<EffectWorker> worker;
        bool workDone = false;
        bool indicatorDrawn = false;
    };

    AppPickerHost host;
    std::shared_ptr<Run> run;
    bool memoryWarningPending = false;
};

namespace {

// The indicator: 50 x 50 points in the middle of the 320 x 480 view, kept
// centred by flexible margins on every side.
const platform::Rect kProgressFrame(135, 215, 50, 50);
constexpr unsigned kProgressAutoresizing =
    platform::AutoresizingFlexibleLeftMargin | platform::AutoresizingFlexibleRightMargin |
    platform::AutoresizingFlexibleTopMargin | platform::AutoresizingFlexibleBottomMargin; // 45

// The pixel function of each one-shot effect in the effect registry.
struct OneShotRow {
    OneShotEffect effect;
    EffectId id;
};

constexpr std::array<OneShotRow, 8> kOneShotEffects{{
    {OneShotEffect::HorizontalMirror, EffectId::Mirror},
    {OneShotEffect::Squeeze, EffectId::Squeeze},
    {OneShotEffect::LightTunnel, EffectId::LightTunnel},
    {OneShotEffect::Bulge, EffectId::Bulge},
    {OneShotEffect::Dent, EffectId::Dent},
    {OneShotEffect::Fisheye, EffectId::Fisheye},
    {OneShotEffect::GrayScale, EffectId::GrayScale},
    {OneShotEffect::Sepia, EffectId::Sepia},
}};

const Effect* oneShotEffect(OneShotEffect effect) {
    for (const OneShotRow& row : kOneShotEffects)
        if (row.effect == effect)
            return &effectFor(row.id);
    return nullptr;
}

// The canvas's picture size, when both buffers hold that many pixels.
bool effectSize(const PaintingView& canvas, int& width, int& height) {
    const platform::Rect r = canvas.bufferRect();
    if (!canvas.offscreenBitmapData() || !canvas.undoBitmapData() || r.width() < 1 ||
        r.height() < 1 || r.width() > 8192 || r.height() > 8192)
        return false;
    width = int(r.width());
    height = int(r.height());
    return double(width) * double(height) * 4.0 <= double(canvas.bitmapByteCount());
}

// One row of the slider set-ups; the range and the start are the effect's.
struct SliderSetup {
    EffectId effect;
    const char* minImage; // null: none
    const char* maxImage;
    const char* actionName;
    void (CanvoAppDelegate::*sliderAction)(platform::Slider&);
    void (CanvoAppDelegate::*okAction)(platform::ActionSender*);
    void (PaintingView::*prepare)();
};

const SliderSetup kBrightnessSetup{EffectId::Brightness,
                                   "brightwhite.png",
                                   "brightnessbutton.png",
                                   "brightnessSliderAction:",
                                   &CanvoAppDelegate::brightnessSliderAction,
                                   &CanvoAppDelegate::sliderOkAction,
                                   &PaintingView::setUpBrightnessAdjustment};
const SliderSetup kContrastSetup{EffectId::Contrast,
                                 "graysquarebutton.png",
                                 "contrastbutton.png",
                                 "contrastSliderAction:",
                                 &CanvoAppDelegate::contrastSliderAction,
                                 &CanvoAppDelegate::sliderOkAction,
                                 &PaintingView::setUpContrastAdjustment};
const SliderSetup kTwirlSetup{EffectId::Twirl,
                              nullptr,
                              nullptr,
                              "twirlSliderAction:",
                              &CanvoAppDelegate::twirlSliderAction,
                              &CanvoAppDelegate::sliderTwirlOkAction,
                              &PaintingView::setUpTwirlAdjustment};

platform::ImageRef sliderImage(const char* name) {
    if (!name)
        return nullptr;
    platform::ImageRef image = platform::Image::named(name);
    if (!image)
        platform::log(std::string("Slider image not found: ") + name);
    return image;
}

} // namespace

// --- One-shot effects --------------------------------------------------------------------

PickerHost& CanvoAppDelegate::pickerHost() {
    if (!effects_)
        effects_ = std::make_shared<EffectState>(*this);
    return effects_->host;
}

void CanvoAppDelegate::setUpProgressView() {
    pickerHost(); // the effect state exists from here on
    auto indicator = std::make_shared<EffectProgressView>(kProgressFrame);
    indicator->setAutoresizingMask(kProgressAutoresizing);
    std::weak_ptr<CanvoAppDelegate*> alive = alive_;
    std::weak_ptr<EffectState> state = effects_;
    indicator->setFirstDrawHandler([alive, state] {
        auto self = alive.lock();
        auto effects = state.lock();
        if (!self || !effects || !effects->run)
            return;
        effects->run->indicatorDrawn = true;
        if (effects->run->workDone)
            (*self)->finishOneShotEffect();
    });
    if (progressView_)
        progressView_->removeFromSuperview();
    progressView_ = indicator;
    if (canvoViewController_)
        canvoViewController_->view()->addSubview(indicator);
    startProgressIndicator();
}

void CanvoAppDelegate::startProgressIndicator() {
    if (progressView_)
        progressView_->startAnimating();
}

void CanvoAppDelegate::detachOneShotEffect(OneShotEffect effect) {
    pickerHost();
    if (effects_->run) {
        platform::log("One-shot effect refused: another one is still running");
        return;
    }
    const Effect* row = oneShotEffect(effect);
    auto run = std::make_shared<EffectState::Run>();
    effects_->run = run;
    setDirtyFlag(true);

    // The snapshot, taken here on the main thread (it may reload flushed
    // buffers from their files): the worker reads it, the painting is
    // replaced by the result when the worker is done.
    PaintingView* canvas = getThePaintingView();
    int width = 0;
    int height = 0;
    if (canvas)
        canvas->rawcopyToUndoBuffer();
    if (!row || !canvas || !effectSize(*canvas, width, height)) {
        platform::log("One-shot effect skipped: the canvas buffers are not there");
        run->workDone = true;
        run->indicatorDrawn = true;
        finishOneShotEffect();
        return;
    }
    // The mirror turned with the toolbars mirrors rows instead of columns.
    const bool option = row->option == "vertical" && platform::isLandscape(getCurrentOrientation());
    std::weak_ptr<CanvoAppDelegate*> alive = alive_;
    std::weak_ptr<EffectState> state = effects_;
    run->worker = EffectWorker::start(
        canvas->undoBitmapData(), width, height,
        [row, option](const std::uint8_t* s, std::uint8_t* d, int w, int h) {
            row->apply(EffectBuffers{s, d, w, h}, 0, option);
        },
        [alive, state, run](EffectWorker&) {
            auto self = alive.lock();
            auto effects = state.lock();
            // Termination may have completed this run already.
            if (!self || !effects || effects->run != run)
                return;
            run->workDone = true;
            auto* indicator = dynamic_cast<EffectProgressView*>((*self)->progressView().get());
            if (run->indicatorDrawn || !indicator || !indicator->window())
                (*self)->finishOneShotEffect();
        });
    if (!run->worker) {
        platform::log(" ++++++++++++++++ Out of Memory! detachOneShotEffect 1");
        run->workDone = true;
        run->indicatorDrawn = true;
        finishOneShotEffect();
    }
}

void CanvoAppDelegate::finishOneShotEffect() {
    if (!effects_ || !effects_->run)
        return;
    const std::shared_ptr<EffectState::Run> run = std::move(effects_->run);
    effects_->run.reset();

    // 1. The pixel work is complete; its result becomes the painting.
    if (run->worker) {
        run->worker->waitUntilFinished();
        PaintingView* canvas = getThePaintingView();
        const EffectWorker& worker = *run->worker;
        if (canvas && canvas->offscreenBitmapData() &&
            worker.size() <= std::size_t(canvas->bitmapByteCount())) {
            std::memcpy(canvas->offscreenBitmapData(), worker.result(), worker.size());
            canvas->setNeedsDisplay();
        }
    }


    // 2. The indicator stops and goes; from here on the application is no
    // longer busy.
    if (progressView_) {
        progressView_->stopAnimating();
        progressView_->removeFromSuperview();
        progressView_.reset();
    }

    // 3. A memory warning that came meanwhile.
    if (effects_->memoryWarningPending) {
        effects_->memoryWarningPending = false;
        if (PaintingView* canvas = getThePaintingView())
            canvas->lowMemoryWarning();
    }
}

void CanvoAppDelegate::lowMemoryWarningToCanvas() {
    if (effects_ && effects_->run) {
        effects_->memoryWarningPending = true;
        return;
    }
    if (PaintingView* canvas = getThePaintingView())
        canvas->lowMemoryWarning();
}

// --- Interactive effects -------------------------------------------------------------------

void CanvoAppDelegate::doInteractiveFilter() {
    // A panel already open keeps its snapshot; a second one would take the
    // previewed picture as its snapshot.
    if (screenSlidersViewController_ || tooBusyForUserInteraction())
        return;
    switch (filterTool()) {
    case Tool::BrightnessTool:
        setDirtyFlag(true);
        brightnessSliderSetup();
        break;
    case Tool::ContrastTool:
        setDirtyFlag(true);
        contrastSliderSetup();
        break;
    case Tool::TwirlTool:
        setDirtyFlag(true);
        twirlSliderSetup();
        break;
    default:
        break;
    }
}

namespace {

void openSliderPanel(CanvoAppDelegate& app, const SliderSetup& setup) {
    NewMasterViewController* chrome = app.newMasterViewController().get();
    // 1.
    if (chrome)
        chrome->hideAllTools();
    // 2.-4.
    auto panel = std::make_shared<ScreenSlidersViewController>(app.pickerHost());
    const Effect& effect = effectFor(setup.effect);
    panel->setMinValue(float(effect.minimum));
    panel->setMaxValue(float(effect.maximum));
    panel->setStartValue(float(effect.start));
    panel->setMinImage(sliderImage(setup.minImage));
    panel->setMaxImage(sliderImage(setup.maxImage));
    panel->setTarget(&app);
    const auto sliderAction = setup.sliderAction;
    panel->setAction(
        [&app, sliderAction](platform::ActionSender* sender) {
            if (auto* slider = dynamic_cast<platform::Slider*>(sender))
                (app.*sliderAction)(*slider);
        },
        setup.actionName);
    // 5. The view loads here and takes the values.
    if (chrome)
        chrome->view()->addSubview(panel->view());
    // 6.
    if (PaintingView* canvas = app.getThePaintingView())
        (canvas->*setup.prepare)();
    // 7.
    const auto okAction = setup.okAction;
    panel->setOkTarget(&app);
    panel->setOkAction([&app, okAction](platform::ActionSender* s) { (app.*okAction)(s); });
    panel->setCancelTarget(&app);
    panel->setCancelAction([&app](platform::ActionSender* s) { app.sliderCancelAction(s); });
    // The keys work at once on the desktop: arrows move the slider, Return
    // is OK and Escape is Cancel.
    if (panel->slider())
        panel->slider()->becomeFirstResponder();
    // 8.
    app.setScreenSlidersViewController(std::move(panel));
}

} // namespace

void CanvoAppDelegate::brightnessSliderSetup() {
    openSliderPanel(*this, kBrightnessSetup);
}

void CanvoAppDelegate::contrastSliderSetup() {
    openSliderPanel(*this, kContrastSetup);
}

void CanvoAppDelegate::twirlSliderSetup() {
    openSliderPanel(*this, kTwirlSetup);
}

int CanvoAppDelegate::sliderAmount(float value) {
    // Widened, half added, truncated toward zero: 0.5 gives 1, -0.6 gives 0.
    return int(double(value) + 0.5);
}

void CanvoAppDelegate::brightnessSliderAction(platform::Slider& slider) {
    if (PaintingView* canvas = getThePaintingView())
        canvas->updateBrightness(sliderAmount(slider.value()));
}

void CanvoAppDelegate::contrastSliderAction(platform::Slider& slider) {
    if (PaintingView* canvas = getThePaintingView())
        canvas->updateContrast(sliderAmount(slider.value()));
}

void CanvoAppDelegate::twirlSliderAction(platform::Slider& slider) {
    if (PaintingView* canvas = getThePaintingView())
        canvas->updateTwirl2Value(slider.value());
}

void CanvoAppDelegate::sliderOkAction(platform::ActionSender*) {
    setFilterTool(Tool::NoTool);
    if (screenSlidersViewController_)
        screenSlidersViewController_->view()->removeFromSuperview();
    if (newMasterViewController_)
        newMasterViewController_->showAllToolsIfNecessary();
    screenSlidersViewController_.reset();
}

void CanvoAppDelegate::sliderTwirlOkAction(platform::ActionSender* sender) {
    if (screenSlidersViewController_ && screenSlidersViewController_->getSlider())
        if (PaintingView* canvas = getThePaintingView())
            canvas->updateTwirl2ValueInterp(screenSlidersViewController_->getSlider()->value());
    sliderOkAction(sender);
}

void CanvoAppDelegate::sliderCancelAction(platform::ActionSender*) {
    if (screenSlidersViewController_)
        screenSlidersViewController_->view()->removeFromSuperview();
    setFilterTool(Tool::NoTool);
    if (PaintingView* canvas = getThePaintingView())
        canvas->copyFromUndoBuffer();
    if (newMasterViewController_)
        newMasterViewController_->showAllToolsIfNecessary();
    screenSlidersViewController_.reset();
}

} // namespace zorbel
