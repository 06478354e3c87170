#include "platform/ui/ViewController.h"

#include "platform/foundation/Log.h"
#include "platform/ui/Application.h"
#include "platform/ui/InterfaceLoader.h"
#include "platform/ui/StatusBar.h"
#include "platform/ui/Window.h"

namespace platform {

ViewController::ViewController() {
    Application::shared().registerViewController(this);
}

ViewController::ViewController(std::string interfaceName)
    : interfaceName_(std::move(interfaceName)) {
    Application::shared().registerViewController(this);
}

ViewController::~ViewController() {
    Application::shared().unregisterViewController(this);
    if (view_ && view_->viewController() == this)
        view_->setViewController(nullptr);
    if (modal_ && modal_->parent_ == this)
        modal_->parent_ = nullptr;
}

const std::shared_ptr<View>& ViewController::view() {
    if (!view_ && !loading_) {
        loading_ = true;
        loadView();
        if (!view_)
            setView(std::make_shared<View>(Rect(0, 0, 320, 460)));
        loading_ = false;
        viewDidLoad();
    }
    return view_;
}

void ViewController::setView(std::shared_ptr<View> view) {
    if (view_ && view_->viewController() == this)
        view_->setViewController(nullptr);
    view_ = std::move(view);
    if (view_)
        view_->setViewController(this);
}

void ViewController::loadView() {
    if (interfaceName_.empty()) {
        setView(std::make_shared<View>(Rect(0, 0, 320, 460)));
        return;
    }
    auto loaded = InterfaceLoader::load(interfaceName_, this);
    if (!loaded) {
        loadStatus_ = Status::failure(loaded.error());
        log("Interface " + interfaceName_ + " not loaded: " + loaded.error());
        setView(std::make_shared<View>(Rect(0, 0, 320, 460)));
        return;
    }
    loadStatus_ = success();
    setView(loaded.value());
}

void ViewController::keyReturn() {
    if (view_ && view_->superview())
        view_->superview()->keyReturn();
}

void ViewController::keyEscape() {
    if (view_ && view_->superview())
        view_->superview()->keyEscape();
}

bool ViewController::shouldAutorotateToInterfaceOrientation(int orientation) {
    return orientation == InterfaceOrientationPortrait;
}

int ViewController::interfaceOrientation() const {
    if (Window* w = hostWindow())
        return w->interfaceOrientation();
    return InterfaceOrientationPortrait;
}

Window* ViewController::hostWindow() const {
    for (const ViewController* c = this; c; c = c->parent_)
        if (c->view_)
            if (Window* w = c->view_->window())
                return w;
    return Application::shared().keyWindow();
}

void ViewController::presentModalViewController(std::shared_ptr<ViewController> controller,
                                                bool animated) {
    if (!controller || controller.get() == this)
        return;
    if (modal_) {
        log("presentModalViewController: a screen is already presented");
        return;
    }
    Window* window = hostWindow();
    if (!window) {
        log("presentModalViewController: no window to present in");
        return;
    }
    modal_ = controller;
    controller->parent_ = this;
    const std::shared_ptr<View>& view = controller->view();
    const Size size = window->size();
    const bool barShown = !window->statusBar().isBarHidden();
    const float top = controller->wantsFullScreenLayout() || !barShown ? 0 : StatusBar::kHeight;
    const Rect finalFrame(0, top, size.width, size.height - top);
    view->setAutoresizingMask(AutoresizingFlexibleWidth | AutoresizingFlexibleHeight);
    controller->viewWillAppear(animated);
    viewWillDisappear(animated);
    std::weak_ptr<ViewController> presenter = weak_from_this();
    std::weak_ptr<ViewController> presented = controller;
    auto appeared = [presenter, presented, animated](bool) {
        if (auto c = presented.lock())
            c->viewDidAppear(animated);
        if (auto p = presenter.lock())
            p->viewDidDisappear(animated);
    };
    if (!animated) {
        view->setFrame(finalFrame);
        window->addSubview(view);
        appeared(true);
        return;
    }
    view->setFrame(finalFrame.offset(0, size.height - top));
    window->addSubview(view);
    View::animate(
        kModalTransitionDuration, [&] { view->setFrame(finalFrame); }, appeared, 0,
        AnimationCurve::EaseOut);
}

void ViewController::dismissModalViewControllerAnimated(bool animated) {
    if (!modal_) {
        if (parent_ && parent_->modal_.get() == this)
            parent_->dismissModalViewControllerAnimated(animated);
        return;
    }
    std::shared_ptr<ViewController> presented = std::move(modal_);
    modal_.reset();
    finishDismissal(std::move(presented), animated);
}

void ViewController::finishDismissal(std::shared_ptr<ViewController> presented, bool animated) {
    // Screens presented on top of the one going away leave with it, at once.
    if (presented->modal_) {
        auto above = std::move(presented->modal_);
        presented->modal_.reset();
        presented->finishDismissal(std::move(above), false);
    }
    presented->viewWillDisappear(animated);
    viewWillAppear(animated);
    std::weak_ptr<ViewController> presenter = weak_from_this();
    auto done = [presenter, presented, animated](bool) {
        if (presented->view_)
            presented->view_->removeFromSuperview();
        presented->viewDidDisappear(animated);
        if (presented->parent_ && presented->parent_->modal_ != presented)
            presented->parent_ = nullptr;
        if (auto p = presenter.lock())
            p->viewDidAppear(animated);
    };
    View* view = presented->view_.get();
    if (!animated || !view || !view->window()) {
        done(true);
        return;
    }
    const Rect f = view->frame();
    const float height = view->window()->size().height;
    View::animate(
        kModalTransitionDuration, [&] { view->setFrame(f.offset(0, height - f.minY())); }, done, 0,
        AnimationCurve::EaseIn);
}

} // namespace platform
