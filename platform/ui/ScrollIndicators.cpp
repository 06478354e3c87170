#include "platform/ui/ScrollIndicators.h"

#include <algorithm>
#include <utility>

#include "platform/graphics/Color.h"
#include "platform/ui/View.h"

namespace platform {

namespace {

constexpr float kIndicatorThickness = 3;
constexpr float kIndicatorInset = 2;
constexpr float kIndicatorMinimumLength = 20;
constexpr Color kIndicatorColor = Color::grey(0, 0.5f);
constexpr double kIndicatorFadeDelay = 0.2;
constexpr double kIndicatorFadeDuration = 0.3;

} // namespace

void ScrollIndicators::show(bool horizontal, bool vertical) {
    auto show = [this](std::shared_ptr<View>& indicator, bool wanted) {
        if (!wanted) {
            if (indicator)
                indicator->setHidden(true);
            return;
        }
        if (!indicator) {
            indicator = std::make_shared<View>();
            indicator->setBackgroundColor(kIndicatorColor);
            indicator->setUserInteractionEnabled(false);
            host_.addSubview(indicator);
        }
        host_.bringSubviewToFront(indicator.get());
        indicator->setHidden(false);
        indicator->setAlpha(1);
    };
    show(horizontal_, horizontal);
    show(vertical_, vertical);
    shown_ = horizontal || vertical;
}

void ScrollIndicators::hide() {
    if (!shown_)
        return;
    shown_ = false;
    std::weak_ptr<View> h = horizontal_;
    std::weak_ptr<View> v = vertical_;
    View::animate(
        kIndicatorFadeDuration,
        [h, v] {
            if (auto i = h.lock())
                i->setAlpha(0);
            if (auto i = v.lock())
                i->setAlpha(0);
        },
        {}, kIndicatorFadeDelay);
}

void ScrollIndicators::update(const Rect& b, Point max, Size contentSize) {
    if (!horizontal_ && !vertical_)
        return;
    const Point offset = b.origin;
    const bool both =
        horizontal_ && !horizontal_->isHidden() && vertical_ && !vertical_->isHidden();
    const float corner = both ? kIndicatorThickness + kIndicatorInset : 0;
    auto place = [](float offset, float max, float viewLength, float content, float track) {
        float length = content > 0 ? track * viewLength / content : track;
        if (offset < 0)
            length -= -offset;
        else if (offset > max)
            length -= offset - max;
        length = std::clamp(length, std::min(kIndicatorMinimumLength, track), track);
        const float f = max > 0 ? std::clamp(offset / max, 0.0f, 1.0f) : 0.0f;
        return std::pair{(track - length) * f, length};
    };
    if (horizontal_) {
        const float track = b.width() - 2 * kIndicatorInset - corner;
        const auto [at, length] = place(offset.x, max.x, b.width(), contentSize.width, track);
        horizontal_->setFrame(Rect(b.minX() + kIndicatorInset + at,
                                   b.maxY() - kIndicatorInset - kIndicatorThickness, length,
                                   kIndicatorThickness));
    }
    if (vertical_) {
        const float track = b.height() - 2 * kIndicatorInset - corner;
        const auto [at, length] = place(offset.y, max.y, b.height(), contentSize.height, track);
        vertical_->setFrame(Rect(b.maxX() - kIndicatorInset - kIndicatorThickness,
                                 b.minY() + kIndicatorInset + at, kIndicatorThickness, length));
    }
}

} // namespace platform
