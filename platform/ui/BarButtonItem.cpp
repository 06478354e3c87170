#include "platform/ui/BarButtonItem.h"

#include "platform/ui/View.h"

namespace platform {

std::shared_ptr<BarButtonItem> BarButtonItem::withImage(ImageRef image, BarButtonItemStyle style,
                                                        const void* target, Action action,
                                                        const std::string& actionName) {
    auto item = std::make_shared<BarButtonItem>();
    item->image_ = std::move(image);
    item->style_ = style;
    item->target_ = target;
    item->action_ = std::move(action);
    item->actionName_ = actionName;
    return item;
}

std::shared_ptr<BarButtonItem> BarButtonItem::withTitle(const std::string& title,
                                                        BarButtonItemStyle style,
                                                        const void* target, Action action,
                                                        const std::string& actionName) {
    auto item = std::make_shared<BarButtonItem>();
    item->title_ = title;
    item->style_ = style;
    item->target_ = target;
    item->action_ = std::move(action);
    item->actionName_ = actionName;
    return item;
}

std::shared_ptr<BarButtonItem> BarButtonItem::withCustomView(std::shared_ptr<View> view) {
    auto item = std::make_shared<BarButtonItem>();
    item->customView_ = std::move(view);
    return item;
}

std::shared_ptr<BarButtonItem> BarButtonItem::withSystemItem(BarButtonSystemItem system) {
    auto item = std::make_shared<BarButtonItem>();
    item->space_ = int(system);
    return item;
}

void BarButtonItem::changed() {
    if (changed_)
        changed_();
}

void BarButtonItem::setImage(ImageRef image) {
    image_ = std::move(image);
    changed();
}

void BarButtonItem::setTitle(const std::string& title) {
    title_ = title;
    changed();
}

void BarButtonItem::setCustomView(std::shared_ptr<View> view) {
    customView_ = std::move(view);
    changed();
}

void BarButtonItem::setStyle(BarButtonItemStyle style) {
    style_ = style;
    changed();
}

void BarButtonItem::setWidth(float width) {
    width_ = width;
    changed();
}

void BarButtonItem::setEnabled(bool enabled) {
    enabled_ = enabled;
    changed();
}

void BarButtonItem::setAction(Action action, const std::string& name) {
    action_ = std::move(action);
    actionName_ = name;
    changed();
}

void BarButtonItem::perform() {
    if (action_ && enabled_) {
        auto keep = shared_from_this();
        Action a = action_;
        a(this);
    }
}

} // namespace platform
