#include "platform/ui/Window.h"

#include <algorithm>
#include <cmath>

#include "platform/ui/Application.h"
#include "platform/ui/RunLoop.h"
#include "platform/ui/StatusBar.h"
#include "platform/ui/Timer.h"
#include "platform/ui/ViewController.h"

namespace platform {

namespace {

constexpr Size kPortrait{320, 480};
constexpr std::size_t kMaxDamageRects = 8;

float distance(Point a, Point b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

AffineTransform presentedToSuperview(const View::Presentation& p) {
    return AffineTransform::makeTranslation(-p.bounds.midX(), -p.bounds.midY())
        .concat(p.transform)
        .concat(AffineTransform::makeTranslation(p.center.x, p.center.y));
}

} // namespace

Window::Window() : View(Rect(0, 0, kPortrait.width, kPortrait.height)) {
    statusBar_ = std::make_shared<StatusBar>(*this);
    statusBar_->hostWindow_ = this;
    statusBar_->startClock();
    statusBar_->layoutForWindowWidth(kPortrait.width);
    statusBar_->setStyle(Application::shared().statusBarStyle());
    statusBar_->setBarHidden(Application::shared().isStatusBarHidden(), false);
}

Window::~Window() {
    if (Application::shared().keyWindow() == this)
        Application::shared().setKeyWindow(nullptr);
    touches_.clear();
    statusBar_->hostWindow_ = nullptr;
}

void Window::makeKeyAndVisible() {
    Application::shared().setKeyWindow(this);
    setHidden(false);
    statusBar_->setStyle(Application::shared().statusBarStyle());
    statusBar_->setBarHidden(Application::shared().isStatusBarHidden(), false);
    damage_.clear();
    lastFramebuffer_ = nullptr; // compose everything next time
    setNeedsRender();
}

bool Window::isKeyWindow() const {
    return Application::shared().keyWindow() == this;
}

// --- Orientation ---

ViewController* Window::frontmostViewController() const {
    const auto& subs = subviews();
    for (auto it = subs.rbegin(); it != subs.rend(); ++it) {
        ViewController* c = (*it)->viewController();
        if (!c)
            continue;
        // A presented screen's view is a window subview too: start from the
        // bottom of its chain, then follow the presentations up.
        while (c->parentViewController() && c->parentViewController()->modalViewController() == c)
            c = c->parentViewController();
        while (c->modalViewController())
            c = c->modalViewController();
        return c;
    }
    return nullptr;
}

std::vector<ViewController*> Window::rotationChain() const {
    std::vector<ViewController*> chain;
    ViewController* c = frontmostViewController();
    for (; c; c = c->parentViewController())
        chain.insert(chain.begin(), c);
    return chain;
}

void Window::setDeviceOrientation(int orientation) {
    if (orientation < 1 || orientation > 4)
        return;
    deviceOrientation_ = orientation;
    if (orientation == interfaceOrientation_)
        return;
    ViewController* top = frontmostViewController();
    if (!top || !top->shouldAutorotateToInterfaceOrientation(orientation))
        return;
    const int from = interfaceOrientation_;
    std::vector<std::weak_ptr<ViewController>> chain;
    for (ViewController* c : rotationChain())
        chain.push_back(c->weak_from_this());
    for (auto& weak : chain)
        if (auto c = weak.lock())
            c->willRotateToInterfaceOrientation(orientation, kRotationDuration);
    applyOrientation(orientation);
    Timer::scheduledTimer(kRotationDuration, [chain, from](Timer&) {
        for (auto& weak : chain)
            if (auto c = weak.lock())
                c->didRotateFromInterfaceOrientation(from);
    });
}

void Window::applyOrientation(int orientation) {
    interfaceOrientation_ = orientation;
    const Size s = isLandscape(orientation) ? Size{kPortrait.height, kPortrait.width} : kPortrait;
    setFrame(Rect(0, 0, s.width, s.height));
    statusBar_->layoutForWindowWidth(s.width);
    lastFramebuffer_ = nullptr;
    setNeedsRender();
    if (sizeChanged_)
        sizeChanged_(s);
}

// --- Touches ---

View* Window::hitTest(Point p, const Event* event) {
    if (statusBar_->coversPoint(p))
        return statusBar_.get();
    return View::hitTest(p, event);
}

Event Window::currentEvent() const {
    TouchSet all;
    for (const auto& [finger, touch] : touches_)
        all.add(touch);
    return Event(std::move(all), RunLoop::main().now());
}

void Window::deliver(const std::shared_ptr<Touch>& touch, TouchPhase phase) {
    std::shared_ptr<View> view = touch->lockView();
    if (!view)
        return;
    for (auto& [finger, other] : touches_)
        if (other != touch && other->phase() != TouchPhase::Ended &&
            other->phase() != TouchPhase::Cancelled)
            other->setPhase(TouchPhase::Stationary);
    Event event = currentEvent();
    TouchSet set;
    set.add(touch);
    switch (phase) {
    case TouchPhase::Began:
        view->touchesBegan(set, event);
        break;
    case TouchPhase::Moved:
    case TouchPhase::Stationary:
        view->touchesMoved(set, event);
        break;
    case TouchPhase::Ended:
        view->touchesEnded(set, event);
        break;
    case TouchPhase::Cancelled:
        view->touchesCancelled(set, event);
        break;
    }
}

void Window::touchDown(int finger, Point p, int tapCount) {
    if (touches_.count(finger))
        touchCancel(finger, touches_[finger]->locationInWindow());
    const double now = RunLoop::main().now();
    View* hit = hitTest(p, nullptr);
    if (tapCount <= 0) {
        const bool repeat = now - lastTap_.time <= kTapInterval + 1e-9 &&
                            distance(p, lastTap_.point) <= kTapDistance && lastTap_.count > 0;
        tapCount = repeat ? lastTap_.count + 1 : 1;
    }
    auto touch = std::make_shared<Touch>(finger, hit, this, p, now, tapCount);
    touches_[finger] = touch;
    downPoints_[touch.get()] = p;
    // Which touches reach the view: a view without multiple touch gets only
    // its first finger; an exclusive view's touch keeps all others away.
    bool deliverable = hit != nullptr;
    if (hit) {
        for (const auto& [f, other] : touches_) {
            if (other == touch)
                continue;
            View* otherView = other->view();
            if (!otherView)
                continue;
            if (otherView == hit && !hit->isMultipleTouchEnabled())
                deliverable = false;
            if (otherView != hit && (otherView->isExclusiveTouch() || hit->isExclusiveTouch()))
                deliverable = false;
        }
    }
    if (!deliverable)
        touch->detachView();
    deliver(touch, TouchPhase::Began);
}

void Window::touchMove(int finger, Point p) {
    auto it = touches_.find(finger);
    if (it == touches_.end())
        return;
    auto touch = it->second;
    touch->update(TouchPhase::Moved, p, RunLoop::main().now());
    deliver(touch, TouchPhase::Moved);
}

void Window::touchUp(int finger, Point p) {
    endTouch(finger, p, TouchPhase::Ended);
}

void Window::touchCancel(int finger, Point p) {
    endTouch(finger, p, TouchPhase::Cancelled);
}

void Window::endTouch(int finger, Point p, TouchPhase phase) {
    auto it = touches_.find(finger);
    if (it == touches_.end())
        return;
    auto touch = it->second;
    const double now = RunLoop::main().now();
    touch->update(phase, p, now);
    const Point down = downPoints_[touch.get()];
    if (phase == TouchPhase::Ended && distance(down, p) <= kTapDistance)
        lastTap_ = TapRecord{now, p, touch->tapCount()};
    else
        lastTap_ = TapRecord{};
    deliver(touch, phase);
    // The handler may have ended more touches (cancelAllTouches): look again.
    auto again = touches_.find(finger);
    if (again != touches_.end() && again->second == touch)
        touches_.erase(again);
    downPoints_.erase(touch.get());
}

bool Window::scrollWheel(Point p, float dx, float dy) {
    // Up to the window's own views: the window is a view too, and offering
    // the wheel to itself would come straight back here.
    for (View* v = hitTest(p, nullptr); v && v != this; v = v->superview())
        if (v->scrollWheel(v->convertPointFromView(p, nullptr), dx, dy))
            return true;
    return false;
}

void Window::pointerMoved(Point p) {
    View* taker = nullptr;
    for (View* v = hitTest(p, nullptr); v && v != this; v = v->superview())
        if (v->pointerHovered(v->convertPointFromView(p, nullptr))) {
            taker = v;
            break;
        }
    const std::shared_ptr<View> before = hovered_.lock();
    if (before && before.get() != taker)
        before->pointerLeft();
    hovered_ = taker ? taker->weak_from_this() : std::weak_ptr<View>();
}

void Window::pointerLeftWindow() {
    if (const std::shared_ptr<View> before = hovered_.lock())
        before->pointerLeft();
    hovered_.reset();
}

void Window::cancelAllTouches() {
    std::vector<std::pair<int, Point>> fingers;
    for (const auto& [finger, touch] : touches_)
        fingers.emplace_back(finger, touch->locationInWindow());
    for (auto [finger, p] : fingers)
        touchCancel(finger, p);
}

void Window::forgetTouchesOf(View* view) {
    // Touches stay with a removed view while it lives (it still gets its
    // phases), as long as something else keeps it; nothing to do here.
    (void)view;
}

// --- Keyboard ---

bool Window::setFirstResponder(View* view) {
    if (view == firstResponder_)
        return true;
    if (firstResponder_) {
        if (!firstResponder_->canResignFirstResponder())
            return false;
        View* old = firstResponder_;
        firstResponder_ = nullptr;
        old->didResignFirstResponder();
    }
    firstResponder_ = view;
    if (view)
        view->didBecomeFirstResponder();
    return true;
}

void Window::insertText(const std::string& utf8) {
    if (firstResponder_)
        firstResponder_->insertText(utf8);
}

void Window::key(Key key) {
    if (!firstResponder_)
        return;
    switch (key) {
    case Key::Return:
        firstResponder_->keyReturn();
        break;
    case Key::Backspace:
        firstResponder_->deleteBackward();
        break;
    case Key::Escape:
        firstResponder_->keyEscape();
        break;
    case Key::Left:
    case Key::Down:
        firstResponder_->keyArrow(-1);
        break;
    case Key::Right:
    case Key::Up:
        firstResponder_->keyArrow(1);
        break;
    }
}

// --- Views leaving ---

void Window::viewWillLeaveWindow(View* view) {
    if (firstResponder_ && firstResponder_->isDescendantOfView(view)) {
        View* old = firstResponder_;
        firstResponder_ = nullptr;
        old->didResignFirstResponder();
    }
    forgetTouchesOf(view);
    // What it showed must be composed away.
    struct Walk {
        static void run(Window& w, View& v) {
            w.addDamage(v.lastShownRect_);
            v.lastShownRect_ = Rect::null();
            for (auto& sub : v.subviews())
                run(w, *sub);
        }
    };
    Walk::run(*this, *view);
    setNeedsRender();
}

void Window::viewBecameHidden(View* view) {
    if (firstResponder_ && firstResponder_->isDescendantOfView(view)) {
        View* old = firstResponder_;
        firstResponder_ = nullptr;
        old->didResignFirstResponder();
    }
}

// --- Drawing ---

void Window::setScale(float scale) {
    scale = std::max(1.0f, std::round(scale));
    if (scale == scale_)
        return;
    scale_ = scale;
    lastFramebuffer_ = nullptr;
    setNeedsRender();
}

void Window::addDamage(const Rect& r) {
    if (r.isNull() || r.isEmpty())
        return;
    Rect add = r;
    // Merge with whatever it touches, repeatedly, so the list stays disjoint.
    for (bool merged = true; merged;) {
        merged = false;
        for (auto it = damage_.begin(); it != damage_.end(); ++it) {
            if (it->intersects(add)) {
                add = add.unionWith(*it);
                damage_.erase(it);
                merged = true;
                break;
            }
        }
    }
    damage_.push_back(add);
    if (damage_.size() > kMaxDamageRects) {
        Rect all = Rect::null();
        for (const Rect& d : damage_)
            all = all.unionWith(d);
        damage_.assign(1, all);
    }
}

void Window::viewDidDraw(View* view, const Rect& area) {
    // Where the view is shown now (presentation values all the way up).
    AffineTransform t = AffineTransform::identity();
    for (const View* v = view; v && v != this; v = v->superview()) {
        if (!v->superview() && v != statusBar_.get())
            return; // not in this window
        t = t.concat(presentedToSuperview(v->presentation()));
    }
    addDamage(t.apply(area));
}

void Window::collectDamage(View& view, const AffineTransform& toWindow, bool ancestorChanged,
                           bool visible) {
    const View::Presentation p = view.presentation();
    visible = visible && !view.isHidden() && p.alpha > 0;
    const bool changed = ancestorChanged || view.compositeDirty_;
    if (visible && view.needsDisplay())
        view.displayIfNeeded(); // reports its own damage through viewDidDraw
    const Rect shown = visible ? toWindow.apply(p.bounds) : Rect::null();
    if (changed) {
        addDamage(view.lastShownRect_);
        addDamage(shown);
    }
    view.lastShownRect_ = shown;
    view.compositeDirty_ = false;
    for (auto& sub : std::vector<std::shared_ptr<View>>(view.subviews()))
        collectDamage(*sub, presentedToSuperview(sub->presentation()).concat(toWindow), changed,
                      visible);
}

void Window::compose(Context& framebuffer, const Rect& area, float scale) {
    GStateGuard guard(framebuffer);
    const Rect pixels = AffineTransform::makeScale(scale, scale).apply(area).integral();
    framebuffer.clipToRect(pixels);
    framebuffer.setFillColor(kBackground);
    framebuffer.fillRect(pixels);
    framebuffer.scaleCTM(scale, scale);
    renderTree(framebuffer, 1.0f, true);
    {
        GStateGuard bar(framebuffer);
        statusBar_->renderTree(framebuffer, 1.0f, false);
    }
}

Rect Window::render(Context& framebuffer) {
    layoutIfNeeded();
    statusBar_->layoutIfNeeded();
    const Size fbSize{float(framebuffer.width()), float(framebuffer.height())};
    const bool fresh = lastFramebuffer_ != &framebuffer || !(lastFramebufferSize_ == fbSize);
    collectDamage(*this, AffineTransform::identity(), false, true);
    collectDamage(*statusBar_, presentedToSuperview(statusBar_->presentation()), false, true);
    const Rect whole = bounds();
    if (fresh) {
        damage_.assign(1, whole);
        lastFramebuffer_ = &framebuffer;
        lastFramebufferSize_ = fbSize;
    }
    Rect changed = Rect::null();
    for (const Rect& d : damage_) {
        const Rect area = d.intersection(whole);
        if (area.isNull() || area.isEmpty())
            continue;
        const Rect snapped = area.integral();
        compose(framebuffer, snapped, scale_);
        changed = changed.unionWith(snapped);
    }
    damage_.clear();
    needsRender_ = false;
    return changed;
}

ImageRef Window::snapshot() {
    layoutIfNeeded();
    statusBar_->layoutIfNeeded();
    const Size s = size();
    auto fb = Context::createBitmap(int(s.width * scale_), int(s.height * scale_), nullptr,
                                    YAxis::Down);
    if (!fb)
        return nullptr;
    compose(*fb, bounds(), scale_);
    return fb->makeImage();
}

} // namespace platform
