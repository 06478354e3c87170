#include "platform/ui/Toolbar.h"

#include <algorithm>
#include <cmath>

#include "platform/ui/Button+Style.h"
#include "platform/ui/Button.h"

namespace platform {

namespace {
constexpr float kEdge = 8;
constexpr double kFade = 0.25;
} // namespace

Toolbar::Toolbar() : Toolbar(Rect(0, 0, 320, kHeight)) {}

Toolbar::Toolbar(const Rect& frame) : View(frame) {
    setOpaque(false);
    setContentMode(ContentMode::Redraw);
}

void Toolbar::setBarStyle(BarStyle style) {
    barStyle_ = style;
    rebuild(false);
    setNeedsDisplay();
}

std::shared_ptr<View> Toolbar::makeItemView(const BarButtonItemRef& item, BarStyle style) {
    if (item->customView())
        return item->customView();
    if (item->isSpace())
        return nullptr;
    auto button = std::make_shared<Button>(ButtonType::Custom);
    const bool dark = style != BarStyle::Default;
    const Color ink = dark ? Color::white() : style::kTint;
    button->setTitleColor(ink);
    button->setTitleColor(ink.withAlpha(0.35f), ControlStateDisabled);
    button->setFont(item->style() == BarButtonItemStyle::Done ? Font::boldSystemFontOfSize(17)
                                                              : Font::systemFontOfSize(17));
    if (item->image())
        button->setImage(item->image());
    if (!item->title().empty())
        button->setTitle(item->title());
    button->setAccessibilityLabel(item->title());
    button->setEnabled(item->isEnabled());
    button->setTag(item->tag());
    std::weak_ptr<BarButtonItem> weak = item;
    button->addTarget(
        item.get(),
        [weak](ActionSender*) {
            if (auto it = weak.lock())
                it->perform();
        },
        ControlEventTouchUpInside, item->actionName());
    Size s = button->sizeThatFits({});
    s.width = item->width() > 0 ? item->width() : std::max(s.width + 8, 36.0f);
    s.height = Toolbar::kHeight;
    button->setFrame(Rect(Point{}, s));
    return button;
}

void Toolbar::layoutItems(const std::vector<BarButtonItemRef>& items,
                          const std::vector<std::shared_ptr<View>>& views, const Rect& area) {
    float used = 0;
    int flexible = 0;
    int shown = 0;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i]->isFlexibleSpace())
            ++flexible;
        else if (items[i]->isSpace())
            used += items[i]->width();
        else if (views[i]) {
            used += views[i]->frame().width();
            ++shown;
        }
    }
    const float left = std::max(0.0f, area.width() - used);
    // Without flexible spaces the leftover room goes evenly between the items
    // (and half a share at each end), so the bar looks balanced.
    const float share = flexible > 0 ? left / float(flexible) : shown > 0 ? left / float(shown) : 0;
    float x = area.minX() + (flexible > 0 ? 0 : share / 2);
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i]->isFlexibleSpace()) {
            x += share;
            continue;
        }
        if (items[i]->isSpace()) {
            x += items[i]->width();
            continue;
        }
        if (!views[i])
            continue;
        const Rect f = views[i]->frame();
        views[i]->setFrame(
            Rect(std::round(x), std::round(area.midY() - f.height() / 2), f.width(), f.height()));
        x += f.width() + (flexible > 0 ? 0 : share);
    }
}

void Toolbar::setItems(std::vector<BarButtonItemRef> items, bool animated) {
    items_ = std::move(items);
    rebuild(animated);
}

void Toolbar::rebuild(bool animated) {
    std::vector<std::shared_ptr<View>> old = itemViews_;
    itemViews_.clear();
    for (const auto& item : items_) {
        itemViews_.push_back(item ? makeItemView(item, barStyle_) : nullptr);
        if (item) {
            std::weak_ptr<View> weakBar = weak_from_this();
            item->setChangeHandler([weakBar] {
                if (auto bar = std::static_pointer_cast<Toolbar>(weakBar.lock()))
                    bar->rebuild(false);
            });
        }
    }
    for (const auto& v : old)
        if (v && std::find(itemViews_.begin(), itemViews_.end(), v) == itemViews_.end())
            v->removeFromSuperview();
    for (const auto& v : itemViews_) {
        if (!v)
            continue;
        const bool isNew = std::find(old.begin(), old.end(), v) == old.end();
        addSubview(v);
        if (animated && isNew) {
            v->setAlpha(0);
            View::animate(kFade, [v] { v->setAlpha(1); });
        }
    }
    layoutItems(items_, itemViews_, bounds().inset(kEdge, 0));
}

View* Toolbar::viewForItem(const BarButtonItem* item) const {
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (items_[i].get() == item)
            return itemViews_[i].get();
    return nullptr;
}

void Toolbar::layoutSubviews() {
    layoutItems(items_, itemViews_, bounds().inset(kEdge, 0));
}

void Toolbar::drawBar(Context& context, const Rect& b, BarStyle style, bool hairlineAtTop) {
    GStateGuard g(context);
    switch (style) {
    case BarStyle::Default:
        context.setFillColor(style::kBarLight);
        break;
    case BarStyle::Black:
        context.setFillColor(style::kBarDarkOpaque);
        break;
    case BarStyle::BlackTranslucent:
        context.setFillColor(style::kBarDark);
        break;
    }
    context.fillRect(b);
    const Color line =
        style == BarStyle::Default ? Color::rgb(0.70f, 0.70f, 0.72f) : Color::rgb(1, 1, 1, 0.15f);
    if (hairlineAtTop)
        style::hairline(context, {b.minX(), b.minY()}, {b.maxX(), b.minY()}, line);
    else
        style::hairline(context, {b.minX(), b.maxY() - 0.5f}, {b.maxX(), b.maxY() - 0.5f}, line);
}

void Toolbar::drawRect(Context& context, const Rect&) {
    drawBar(context, bounds(), barStyle_, true);
}

} // namespace platform
