#include "platform/ui/Animation.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/ui/RunLoop.h"

namespace platform {

namespace {

float lerp(float a, float b, double t) {
    return float(a + (b - a) * t);
}

struct Decomposed {
    double angle, sx, sy, shear, tx, ty;
};

// M = rotation(angle) * [sx, shear*sy; 0, sy] (columns a,b and c,d).
Decomposed decompose(const AffineTransform& m) {
    Decomposed d{};
    d.sx = std::hypot(m.a, m.b);
    d.angle = std::atan2(m.b, m.a);
    const double ca = std::cos(d.angle), sa = std::sin(d.angle);
    if (d.sx > 0) {
        // Rotate (c, d) back by the angle.
        const double c2 = ca * m.c + sa * m.d;
        const double d2 = -sa * m.c + ca * m.d;
        d.sy = d2;
        d.shear = d2 != 0 ? c2 / d2 : 0;
    } else {
        d.sy = std::hypot(m.c, m.d);
        d.shear = 0;
    }
    d.tx = m.tx;
    d.ty = m.ty;
    return d;
}

AffineTransform recompose(const Decomposed& d) {
    const double ca = std::cos(d.angle), sa = std::sin(d.angle);
    const double c2 = d.shear * d.sy, d2 = d.sy;
    AffineTransform m;
    m.a = float(ca * d.sx);
    m.b = float(sa * d.sx);
    m.c = float(ca * c2 - sa * d2);
    m.d = float(sa * c2 + ca * d2);
    m.tx = float(d.tx);
    m.ty = float(d.ty);
    return m;
}

} // namespace

Animator& Animator::shared() {
    static Animator animator;
    return animator;
}

Animator::Animator() {
    RunLoop::main().setFrameHook(this);
}

Animator::~Animator() {
    // The run loop outlives every static; it must not step an animator that is gone.
    if (RunLoop::main().frameHook() == this)
        RunLoop::main().setFrameHook(nullptr);
}

double Animator::ease(AnimationCurve curve, double t) {
    t = std::clamp(t, 0.0, 1.0);
    switch (curve) {
    case AnimationCurve::Linear:
        return t;
    case AnimationCurve::EaseIn:
        return t * t;
    case AnimationCurve::EaseOut:
        return 1 - (1 - t) * (1 - t);
    case AnimationCurve::EaseInOut:
        return t * t * (3 - 2 * t);
    }
    return t;
}

AffineTransform Animator::interpolate(const AffineTransform& from, const AffineTransform& to,
                                      double t) {
    if (t <= 0)
        return from;
    if (t >= 1)
        return to;
    Decomposed a = decompose(from), b = decompose(to);
    double delta = b.angle - a.angle;
    while (delta > std::numbers::pi)
        delta -= 2 * std::numbers::pi;
    while (delta < -std::numbers::pi)
        delta += 2 * std::numbers::pi;
    Decomposed r;
    r.angle = a.angle + delta * t;
    r.sx = a.sx + (b.sx - a.sx) * t;
    r.sy = a.sy + (b.sy - a.sy) * t;
    r.shear = a.shear + (b.shear - a.shear) * t;
    r.tx = a.tx + (b.tx - a.tx) * t;
    r.ty = a.ty + (b.ty - a.ty) * t;
    return recompose(r);
}

void Animator::begin(const std::string& name, void* context) {
    Block b;
    b.name = name;
    b.context = context;
    // A nested block starts from its parent's settings.
    if (!open_.empty()) {
        b.duration = open_.back().duration;
        b.delay = open_.back().delay;
        b.curve = open_.back().curve;
    }
    open_.push_back(std::move(b));
}

void Animator::setDuration(double seconds) {
    if (!open_.empty())
        open_.back().duration = std::max(0.0, seconds);
}

void Animator::setDelay(double seconds) {
    if (!open_.empty())
        open_.back().delay = std::max(0.0, seconds);
}

void Animator::setCurve(AnimationCurve curve) {
    if (!open_.empty())
        open_.back().curve = curve;
}

void Animator::setDidStop(std::function<void(const std::string&, bool, void*)> callback) {
    if (!open_.empty())
        open_.back().didStop = std::move(callback);
}

void Animator::commit() {
    if (open_.empty())
        return;
    Block b = std::move(open_.back());
    open_.pop_back();
    if (!b.group) {
        // Nothing changed: the block still ends, on the next turn of the loop.
        if (b.didStop) {
            auto didStop = std::move(b.didStop);
            std::string name = b.name;
            void* context = b.context;
            RunLoop::main().performOnMainThread(
                [didStop, name, context] { didStop(name, true, context); });
        }
        return;
    }
    b.group->running -= 1; // the hold taken in viewChanged
    if (b.group->running == 0) {
        // Every change of the block was instant (zero duration): report on
        // the next turn of the loop, as if it had run.
        auto group = b.group;
        RunLoop::main().performOnMainThread([group] {
            if (group->didStop)
                group->didStop(group->name, group->finished, group->context);
        });
    }
}

void Animator::viewChanged(View& view, const View::Presentation& before, unsigned properties) {
    // Any running animation loses the properties set now.
    for (auto& r : records_) {
        if (r.raw != &view || r.view.expired() || !(r.properties & properties))
            continue;
        r.properties &= ~properties;
    }
    std::vector<Record> ended;
    for (auto it = records_.begin(); it != records_.end();) {
        if (it->properties == 0) {
            ended.push_back(std::move(*it));
            it = records_.erase(it);
        } else {
            ++it;
        }
    }
    for (auto& r : ended)
        finishRecord(r, false, /*deferred=*/true);

    const double now = RunLoop::main().now();
    if (isRecording()) {
        Block& b = open_.back();
        if (!b.group) {
            b.group = std::make_shared<Group>();
            b.group->name = b.name;
            b.group->context = b.context;
            b.group->didStop = b.didStop;
            b.group->running = 1; // held until commit
        } else if (b.didStop) {
            b.group->didStop = b.didStop;
        }
        if (b.duration > 0 || b.delay > 0) {
            Record r;
            r.view = view.weak_from_this();
            r.raw = &view;
            r.from = before;
            r.to = View::Presentation{view.center(), view.bounds(), view.transform(), view.alpha()};
            r.properties = properties;
            r.start = now + b.delay;
            r.duration = b.duration;
            r.curve = b.curve;
            r.group = b.group;
            b.group->running += 1;
            records_.push_back(std::move(r));
        }
    }
    applyShown(view, now);
}

void Animator::applyShown(View& view, double now) {
    bool any = false;
    View::Presentation shown{view.center(), view.bounds(), view.transform(), view.alpha()};
    for (const auto& r : records_) {
        if (r.raw != &view || r.view.expired())
            continue;
        any = true;
        const double t = r.duration <= 0
                             ? (now >= r.start ? 1.0 : 0.0)
                             : ease(r.curve, std::clamp((now - r.start) / r.duration, 0.0, 1.0));
        if (r.properties & Center)
            shown.center = Point{lerp(r.from.center.x, r.to.center.x, t),
                                 lerp(r.from.center.y, r.to.center.y, t)};
        if (r.properties & Bounds)
            shown.bounds = Rect(lerp(r.from.bounds.minX(), r.to.bounds.minX(), t),
                                lerp(r.from.bounds.minY(), r.to.bounds.minY(), t),
                                lerp(r.from.bounds.width(), r.to.bounds.width(), t),
                                lerp(r.from.bounds.height(), r.to.bounds.height(), t));
        if (r.properties & Transform)
            shown.transform = interpolate(r.from.transform, r.to.transform, t);
        if (r.properties & Alpha)
            shown.alpha = lerp(r.from.alpha, r.to.alpha, t);
    }
    if (any)
        view.setPresentation(shown);
    else
        view.clearPresentation();
}

void Animator::finishRecord(Record& record, bool finished, bool deferred) {
    auto group = record.group;
    if (!finished)
        group->finished = false;
    group->running -= 1;
    if (group->running != 0 || !group->didStop)
        return;
    if (deferred)
        RunLoop::main().performOnMainThread(
            [group] { group->didStop(group->name, group->finished, group->context); });
    else
        group->didStop(group->name, group->finished, group->context);
}

void Animator::step(double now) {
    // Views that went away take their animations with them (as finished).
    std::vector<Record> ended;
    std::vector<View*> touched;
    for (auto it = records_.begin(); it != records_.end();) {
        auto view = it->view.lock();
        const bool done = !view || now >= it->start + it->duration;
        if (view)
            touched.push_back(it->raw);
        if (done) {
            ended.push_back(std::move(*it));
            it = records_.erase(it);
        } else {
            ++it;
        }
    }
    for (View* v : touched) {
        // Still alive: every touched view had a live shared_ptr above, and
        // nothing ran since. Recompute what it shows.
        applyShown(*v, now);
    }
    for (auto& r : ended)
        finishRecord(r, true, /*deferred=*/false);
}

std::optional<double> Animator::nextEventTime() const {
    std::optional<double> next;
    const double now = RunLoop::main().now();
    for (const auto& r : records_) {
        for (double t : {r.start, r.start + r.duration})
            if (t > now && (!next || t < *next))
                next = t;
    }
    return next;
}

void Animator::reset() {
    for (auto& r : records_)
        if (auto v = r.view.lock())
            v->clearPresentation();
    records_.clear();
    open_.clear();
    enabled_ = true;
}

} // namespace platform
