#include "platform/ui/View.h"

#include <algorithm>
#include <cmath>

#include "platform/ui/Animation.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

namespace platform {

namespace {

Rect centeredRect(Size size) {
    return Rect(-size.width / 2, -size.height / 2, size.width, size.height);
}

AffineTransform linearPart(const AffineTransform& t) {
    AffineTransform l = t;
    l.tx = 0;
    l.ty = 0;
    return l;
}

} // namespace

View::View() = default;

View::View(const Rect& frame) {
    const Rect f = frame.standardized();
    bounds_ = Rect(0, 0, f.width(), f.height());
    center_ = f.center();
    dirty_ = bounds_;
}

View::~View() {
    for (auto& sub : subviews_)
        sub->superview_ = nullptr;
}

// --- Geometry ---

Rect View::frame() const {
    const Rect r = transform_.isIdentity() ? centeredRect(bounds_.size)
                                           : transform_.apply(centeredRect(bounds_.size));
    return r.offset(center_.x, center_.y);
}

void View::setFrame(const Rect& frame) {
    const Rect f = frame.standardized();
    Size size{f.width(), f.height()};
    Point c = f.center();
    if (!transform_.isIdentity()) {
        // The frame is the bounding box of the transformed bounds: undo the
        // transform's own offset and its turn or scale to find centre and size.
        c = Point{c.x - transform_.tx, c.y - transform_.ty};
        const Rect inner = linearPart(transform_).inverted().apply(centeredRect(size));
        size = Size{inner.width(), inner.height()};
    }
    const Presentation before = presentation();
    const Size oldSize = bounds_.size;
    center_ = c;
    bounds_.size = size;
    shownDidChange(before);
    if (!(oldSize == size))
        boundsSizeChanged(oldSize);
}

void View::setBounds(const Rect& bounds) {
    const Rect b = bounds.standardized();
    if (b == bounds_)
        return;
    const Presentation before = presentation();
    const Size oldSize = bounds_.size;
    bounds_ = b;
    shownDidChange(before);
    if (!(oldSize == b.size))
        boundsSizeChanged(oldSize);
}

void View::setCenter(Point center) {
    if (center == center_)
        return;
    const Presentation before = presentation();
    center_ = center;
    shownDidChange(before);
}

void View::setTransform(const AffineTransform& transform) {
    if (transform == transform_)
        return;
    const Presentation before = presentation();
    transform_ = transform;
    shownDidChange(before);
}

void View::setAlpha(float alpha) {
    alpha = std::clamp(alpha, 0.0f, 1.0f);
    if (alpha == alpha_)
        return;
    const Presentation before = presentation();
    alpha_ = alpha;
    shownDidChange(before);
}

void View::shownDidChange(const Presentation& before) {
    const Presentation now{center_, bounds_, transform_, alpha_};
    unsigned props = 0;
    if (!(before.center == now.center))
        props |= Animator::Center;
    if (!(before.bounds == now.bounds))
        props |= Animator::Bounds;
    if (!(before.transform == now.transform))
        props |= Animator::Transform;
    if (before.alpha != now.alpha)
        props |= Animator::Alpha;
    // A value set twice can match what is shown while an animation still runs
    // towards the old model value: the engine must still hear of it.
    if (props == 0 && presentation_)
        props = Animator::Center | Animator::Bounds | Animator::Transform | Animator::Alpha;
    if (props != 0)
        Animator::shared().viewChanged(*this, before, props);
    setNeedsComposite();
}

void View::setHidden(bool hidden) {
    if (hidden == hidden_)
        return;
    hidden_ = hidden;
    setNeedsComposite();
    if (hidden) {
        if (Window* w = window())
            w->viewBecameHidden(this);
    }
}

void View::setBackgroundColor(std::optional<Color> color) {
    if (color == backgroundColor_)
        return;
    backgroundColor_ = color;
    setNeedsDisplay();
}

void View::setClipsToBounds(bool clips) {
    clipsToBounds_ = clips;
    setNeedsComposite();
}

void View::setContentMode(ContentMode mode) {
    contentMode_ = mode;
    setNeedsComposite();
}

void View::boundsSizeChanged(Size oldSize) {
    if (autoresizesSubviews_)
        resizeSubviews(oldSize);
    setNeedsLayout();
    if (contentMode_ == ContentMode::Redraw || !backing_)
        setNeedsDisplay();
}

void View::resizeSubviews(Size oldSize) {
    for (auto& sub : std::vector<std::shared_ptr<View>>(subviews_))
        sub->applyAutoresizing(oldSize, bounds_.size);
}

void View::applyAutoresizing(Size oldSuper, Size newSuper) {
    if (autoresizingMask_ == AutoresizingNone)
        return;
    setFrame(autoresizedFrame(autoresizingMask_, frame(), oldSuper, newSuper));
}

// --- Tree ---

std::size_t View::indexOf(const View* view) const {
    for (std::size_t i = 0; i < subviews_.size(); ++i)
        if (subviews_[i].get() == view)
            return i;
    return subviews_.size();
}

void View::addSubview(std::shared_ptr<View> view) {
    insertSubviewAtIndex(std::move(view), subviews_.size());
}

void View::insertSubviewAtIndex(std::shared_ptr<View> view, std::size_t index) {
    if (!view || view.get() == this || isDescendantOfView(view.get()))
        return;
    Window* oldWindow = view->window();
    if (view->superview_ == this) {
        // Moving within the same parent: keep it alive, reorder.
        const std::size_t at = indexOf(view.get());
        subviews_.erase(subviews_.begin() + std::ptrdiff_t(at));
        index = std::min(index, subviews_.size());
        subviews_.insert(subviews_.begin() + std::ptrdiff_t(index), view);
        view->setNeedsComposite();
        return;
    }
    if (view->superview_)
        view->removeFromSuperview();
    index = std::min(index, subviews_.size());
    subviews_.insert(subviews_.begin() + std::ptrdiff_t(index), view);
    view->setSuperview(this);
    view->setNeedsComposite();
    didAddSubview(view.get());
    if (view->window() != oldWindow)
        view->notifyWindowChanged();
}

void View::insertSubviewAbove(std::shared_ptr<View> view, const View* sibling) {
    const std::size_t at = indexOf(sibling);
    insertSubviewAtIndex(std::move(view), at == subviews_.size() ? at : at + 1);
}

void View::insertSubviewBelow(std::shared_ptr<View> view, const View* sibling) {
    const std::size_t at = indexOf(sibling);
    insertSubviewAtIndex(std::move(view), at == subviews_.size() ? 0 : at);
}

void View::bringSubviewToFront(const View* view) {
    const std::size_t at = indexOf(view);
    if (at >= subviews_.size() || at + 1 == subviews_.size())
        return;
    auto keep = subviews_[at];
    subviews_.erase(subviews_.begin() + std::ptrdiff_t(at));
    subviews_.push_back(keep);
    keep->setNeedsComposite();
}

void View::sendSubviewToBack(const View* view) {
    const std::size_t at = indexOf(view);
    if (at >= subviews_.size() || at == 0)
        return;
    auto keep = subviews_[at];
    subviews_.erase(subviews_.begin() + std::ptrdiff_t(at));
    subviews_.insert(subviews_.begin(), keep);
    keep->setNeedsComposite();
}

void View::exchangeSubviews(std::size_t index1, std::size_t index2) {
    if (index1 >= subviews_.size() || index2 >= subviews_.size() || index1 == index2)
        return;
    std::swap(subviews_[index1], subviews_[index2]);
    subviews_[index1]->setNeedsComposite();
    subviews_[index2]->setNeedsComposite();
}

void View::removeFromSuperview() {
    View* parent = superview_;
    if (!parent)
        return;
    Window* w = window();
    if (w)
        w->viewWillLeaveWindow(this);
    parent->willRemoveSubview(this);
    const std::size_t at = parent->indexOf(this);
    // Keep ourselves alive until the end of this function: the superview's
    // reference may be the last one.
    std::shared_ptr<View> keep = parent->subviews_[at];
    parent->subviews_.erase(parent->subviews_.begin() + std::ptrdiff_t(at));
    setSuperview(nullptr);
    if (w)
        notifyWindowChanged();
}

void View::setSuperview(View* superview) {
    superview_ = superview;
    didMoveToSuperview();
}

void View::notifyWindowChanged() {
    lastShownRect_ = Rect::null();
    compositeDirty_ = true;
    didMoveToWindow();
    for (auto& sub : std::vector<std::shared_ptr<View>>(subviews_))
        sub->notifyWindowChanged();
}

bool View::isDescendantOfView(const View* view) const {
    for (const View* v = this; v; v = v->superview_)
        if (v == view)
            return true;
    return false;
}

View* View::viewWithTag(int tag) {
    if (tag_ == tag)
        return this;
    for (auto& sub : subviews_)
        if (View* found = sub->viewWithTag(tag))
            return found;
    return nullptr;
}

Window* View::window() const {
    const View* root = this;
    while (root->superview_)
        root = root->superview_;
    if (root->hostWindow_)
        return root->hostWindow_;
    return dynamic_cast<Window*>(const_cast<View*>(root));
}

// --- Coordinates ---

AffineTransform View::transformToSuperview() const {
    // Bounds point -> offset from the bounds' middle -> transform -> centre.
    return AffineTransform::makeTranslation(-bounds_.midX(), -bounds_.midY())
        .concat(transform_)
        .concat(AffineTransform::makeTranslation(center_.x, center_.y));
}

AffineTransform View::transformToRoot() const {
    AffineTransform t = AffineTransform::identity();
    for (const View* v = this; v->superview_; v = v->superview_)
        t = t.concat(v->transformToSuperview());
    return t;
}

Point View::convertPointToView(Point p, const View* view) const {
    const Point inRoot = transformToRoot().apply(p);
    return view ? view->transformToRoot().inverted().apply(inRoot) : inRoot;
}

Point View::convertPointFromView(Point p, const View* view) const {
    const Point inRoot = view ? view->transformToRoot().apply(p) : p;
    return transformToRoot().inverted().apply(inRoot);
}

Rect View::convertRectToView(const Rect& r, const View* view) const {
    AffineTransform t = transformToRoot();
    if (view)
        t = t.concat(view->transformToRoot().inverted());
    return t.apply(r);
}

Rect View::convertRectFromView(const Rect& r, const View* view) const {
    AffineTransform t = view ? view->transformToRoot() : AffineTransform::identity();
    t = t.concat(transformToRoot().inverted());
    return t.apply(r);
}

// --- Hit testing ---

bool View::pointInside(Point p, const Event*) const {
    return bounds_.contains(p);
}

View* View::hitTest(Point p, const Event* event) {
    if (hidden_ || !userInteractionEnabled_ || alpha_ < 0.01f)
        return nullptr;
    if (!pointInside(p, event))
        return nullptr;
    for (auto it = subviews_.rbegin(); it != subviews_.rend(); ++it) {
        View* sub = it->get();
        const Point q = sub->transformToSuperview().inverted().apply(p);
        if (View* hit = sub->hitTest(q, event))
            return hit;
    }
    return this;
}

// --- Layout ---

void View::setNeedsLayout() {
    needsLayout_ = true;
    setNeedsComposite();
}

void View::layoutIfNeeded() {
    if (needsLayout_) {
        needsLayout_ = false;
        layoutSubviews();
    }
    for (auto& sub : std::vector<std::shared_ptr<View>>(subviews_))
        sub->layoutIfNeeded();
}

Size View::sizeThatFits(Size) const {
    return bounds_.size;
}

void View::sizeToFit() {
    const Size s = sizeThatFits(bounds_.size);
    const Rect f = frame();
    setFrame(Rect(f.minX(), f.minY(), s.width, s.height));
}

// --- Presentation ---

View::Presentation View::presentation() const {
    if (presentation_)
        return *presentation_;
    return Presentation{center_, bounds_, transform_, alpha_};
}

void View::setPresentation(const Presentation& p) {
    presentation_ = p;
    setNeedsComposite();
}

void View::clearPresentation() {
    if (!presentation_)
        return;
    presentation_.reset();
    setNeedsComposite();
}

// --- Touches ---

void View::touchesBegan(const TouchSet&, Event&) {}
void View::touchesMoved(const TouchSet&, Event&) {}
void View::touchesEnded(const TouchSet&, Event&) {}
void View::touchesCancelled(const TouchSet&, Event&) {}

// --- First responder ---

bool View::becomeFirstResponder() {
    Window* w = window();
    if (!w || !canBecomeFirstResponder())
        return false;
    return w->setFirstResponder(this);
}

bool View::resignFirstResponder() {
    Window* w = window();
    if (!w || w->firstResponder() != this)
        return true;
    return w->setFirstResponder(nullptr);
}

void View::keyReturn() {
    if (viewController_)
        viewController_->keyReturn();
    else if (superview_)
        superview_->keyReturn();
}

void View::keyEscape() {
    if (viewController_)
        viewController_->keyEscape();
    else if (superview_)
        superview_->keyEscape();
}

bool View::isFirstResponder() const {
    Window* w = window();
    return w && w->firstResponder() == this;
}

// --- Animation blocks ---

void View::beginAnimations(const std::string& name, void* context) {
    Animator::shared().begin(name, context);
}
void View::setAnimationDuration(double seconds) {
    Animator::shared().setDuration(seconds);
}
void View::setAnimationDelay(double seconds) {
    Animator::shared().setDelay(seconds);
}
void View::setAnimationCurve(AnimationCurve curve) {
    Animator::shared().setCurve(curve);
}
void View::setAnimationDidStop(
    std::function<void(const std::string& name, bool finished, void* context)> callback) {
    Animator::shared().setDidStop(std::move(callback));
}
void View::commitAnimations() {
    Animator::shared().commit();
}

void View::animate(double duration, const std::function<void()>& changes,
                   std::function<void(bool finished)> completion, double delay,
                   AnimationCurve curve) {
    beginAnimations();
    setAnimationDuration(duration);
    setAnimationDelay(delay);
    setAnimationCurve(curve);
    if (completion)
        setAnimationDidStop([completion = std::move(completion)](const std::string&, bool finished,
                                                                 void*) { completion(finished); });
    if (changes)
        changes();
    commitAnimations();
}

void View::setAnimationsEnabled(bool enabled) {
    Animator::shared().setEnabled(enabled);
}
bool View::areAnimationsEnabled() {
    return Animator::shared().isEnabled();
}

} // namespace platform
