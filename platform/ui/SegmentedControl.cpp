#include "platform/ui/SegmentedControl.h"

#include <algorithm>
#include <cmath>

#include "platform/ui/Button+Style.h"
#include "platform/ui/Touch.h"

namespace platform {

namespace {
constexpr float kRadius = 5;
} // namespace

SegmentedControl::SegmentedControl() : SegmentedControl(Rect()) {}

SegmentedControl::SegmentedControl(const Rect& frame)
    : Control(frame), tint_(style::kTint), font_(Font::systemFontOfSize(13)) {
    setOpaque(false);
}

SegmentedControl::SegmentedControl(const std::vector<std::string>& titles)
    : SegmentedControl(Rect()) {
    for (const std::string& t : titles)
        segments_.push_back({t, nullptr, true});
    setFrame(Rect(0, 0, std::max(60.0f, 64.0f * float(titles.size())), 29));
}

void SegmentedControl::insertSegmentWithTitle(const std::string& title, int index) {
    index = std::clamp(index, 0, numberOfSegments());
    segments_.insert(segments_.begin() + index, {title, nullptr, true});
    if (selected_ >= index)
        ++selected_;
    setNeedsDisplay();
}

void SegmentedControl::insertSegmentWithImage(ImageRef image, int index) {
    index = std::clamp(index, 0, numberOfSegments());
    segments_.insert(segments_.begin() + index, {{}, std::move(image), true});
    if (selected_ >= index)
        ++selected_;
    setNeedsDisplay();
}

void SegmentedControl::removeSegmentAtIndex(int index) {
    if (index < 0 || index >= numberOfSegments())
        return;
    segments_.erase(segments_.begin() + index);
    if (selected_ == index)
        selected_ = kNoSegment;
    else if (selected_ > index)
        --selected_;
    setNeedsDisplay();
}

void SegmentedControl::removeAllSegments() {
    segments_.clear();
    selected_ = kNoSegment;
    setNeedsDisplay();
}

void SegmentedControl::setTitle(const std::string& title, int segment) {
    if (segment < 0 || segment >= numberOfSegments())
        return;
    segments_[std::size_t(segment)].title = title;
    segments_[std::size_t(segment)].image.reset();
    setNeedsDisplay();
}

std::string SegmentedControl::titleForSegmentAtIndex(int segment) const {
    if (segment < 0 || segment >= numberOfSegments())
        return {};
    return segments_[std::size_t(segment)].title;
}

void SegmentedControl::setImage(ImageRef image, int segment) {
    if (segment < 0 || segment >= numberOfSegments())
        return;
    segments_[std::size_t(segment)].image = std::move(image);
    segments_[std::size_t(segment)].title.clear();
    setNeedsDisplay();
}

ImageRef SegmentedControl::imageForSegmentAtIndex(int segment) const {
    if (segment < 0 || segment >= numberOfSegments())
        return nullptr;
    return segments_[std::size_t(segment)].image;
}

void SegmentedControl::setEnabled(bool enabled, int segment) {
    if (segment < 0 || segment >= numberOfSegments())
        return;
    segments_[std::size_t(segment)].enabled = enabled;
    setNeedsDisplay();
}

bool SegmentedControl::isEnabledForSegmentAtIndex(int segment) const {
    return segment >= 0 && segment < numberOfSegments() && segments_[std::size_t(segment)].enabled;
}

void SegmentedControl::setSelectedSegmentIndex(int index) {
    if (index < 0 || index >= numberOfSegments())
        index = kNoSegment;
    if (index == selected_)
        return;
    selected_ = index;
    setNeedsDisplay();
}

void SegmentedControl::setFont(FontRef font) {
    if (!font)
        return;
    font_ = std::move(font);
    setNeedsDisplay();
}

void SegmentedControl::setTintColor(const Color& color) {
    tint_ = color;
    setNeedsDisplay();
}

void SegmentedControl::setEnabled(bool enabled) {
    Control::setEnabled(enabled);
    setNeedsDisplay();
}

Rect SegmentedControl::rectForSegment(int segment) const {
    const Rect b = bounds();
    const int n = std::max(1, numberOfSegments());
    const float w = b.width() / float(n);
    return Rect(b.minX() + w * float(segment), b.minY(), w, b.height());
}

int SegmentedControl::segmentAtPoint(Point p) const {
    const Rect b = bounds();
    if (segments_.empty() || b.width() <= 0 || p.y < b.minY() - 20 || p.y > b.maxY() + 20)
        return kNoSegment;
    const int i = int(std::floor((p.x - b.minX()) / (b.width() / float(numberOfSegments()))));
    return i >= 0 && i < numberOfSegments() ? i : kNoSegment;
}

std::string SegmentedControl::title() const {
    std::string joined;
    for (const Segment& s : segments_)
        joined += (joined.empty() ? "" : "|") + s.title;
    return joined;
}

bool SegmentedControl::beginTrackingWithTouch(Touch& touch, Event&) {
    pressed_ = segmentAtPoint(touch.locationInView(this));
    if (!isEnabledForSegmentAtIndex(pressed_)) {
        pressed_ = kNoSegment;
        return false;
    }
    if (momentary_) {
        setNeedsDisplay();
        return true;
    }
    // The selection follows the finger at once, as on the phone.
    if (pressed_ != selected_) {
        setSelectedSegmentIndex(pressed_);
        sendActionsForControlEvents(ControlEventValueChanged);
    }
    return true;
}

void SegmentedControl::endTrackingWithTouch(Touch* touch, Event*) {
    if (momentary_ && touch && pressed_ != kNoSegment &&
        segmentAtPoint(touch->locationInView(this)) == pressed_) {
        selected_ = pressed_;
        sendActionsForControlEvents(ControlEventValueChanged);
        selected_ = kNoSegment;
    }
    pressed_ = kNoSegment;
    setNeedsDisplay();
}

void SegmentedControl::cancelTrackingWithEvent(Event*) {
    pressed_ = kNoSegment;
    setNeedsDisplay();
}

Size SegmentedControl::sizeThatFits(Size) const {
    float widest = 40;
    for (const Segment& s : segments_)
        widest = std::max(widest, s.image ? s.image->size().width + 16
                                          : std::ceil(font_->widthOfString(s.title)) + 20);
    return {widest * float(std::max(1, numberOfSegments())), 29};
}

void SegmentedControl::drawRect(Context& context, const Rect&) {
    const Rect b = bounds().inset(0.5f, 0.5f);
    if (b.isNull())
        return;
    GStateGuard g(context);
    if (!isEnabled())
        context.setAlpha(0.45f);
    style::fillRoundedRect(context, b, kRadius, Color::white());
    const int n = numberOfSegments();
    for (int i = 0; i < n; ++i) {
        const Rect r = rectForSegment(i);
        const bool chosen = i == selected_ || (momentary_ && i == pressed_);
        if (chosen || i == pressed_) {
            GStateGuard clip(context);
            context.clipToRect(r);
            style::fillRoundedRect(context, b, kRadius, chosen ? tint_ : tint_.withAlpha(0.15f));
        }
        if (i > 0)
            style::hairline(context, {r.minX(), b.minY()}, {r.minX(), b.maxY()}, tint_);
        const Segment& s = segments_[std::size_t(i)];
        GStateGuard seg(context);
        if (!s.enabled)
            context.setAlpha(0.35f);
        if (s.image) {
            const Size sz = s.image->size();
            const float scale =
                std::min({1.0f, (r.width() - 6) / sz.width, (r.height() - 4) / sz.height});
            const float w = sz.width * scale;
            const float h = sz.height * scale;
            context.drawImageUpright(
                Rect(std::round(r.midX() - w / 2), std::round(r.midY() - h / 2), w, h), *s.image);
        } else if (!s.title.empty()) {
            context.setFillColor(chosen ? Color::white() : tint_);
            font_->drawInRectCentered(context, r.inset(4, 0), s.title);
        }
    }
    style::strokeRoundedRect(context, bounds(), kRadius, tint_, 1);
}

} // namespace platform
