#pragma once

#include <memory>
#include <string>

#include "platform/graphics/Image.h"
#include "platform/ui/Action.h"

namespace platform {

class View;

enum class BarButtonItemStyle { Plain = 0, Bordered = 1, Done = 2 };
enum class BarButtonSystemItem { FlexibleSpace = 5, FixedSpace = 6 };

// An item of a Toolbar or NavigationBar: a picture, a title or a custom view,
// with a target and an action called with the item as sender. Flexible and
// fixed spaces only take room. Changing an item updates the bars showing it.
class BarButtonItem : public ActionSender, public std::enable_shared_from_this<BarButtonItem> {
public:
    BarButtonItem() = default;
    static std::shared_ptr<BarButtonItem> withImage(ImageRef image, BarButtonItemStyle style,
                                                    const void* target, Action action,
                                                    const std::string& actionName = {});
    static std::shared_ptr<BarButtonItem> withTitle(const std::string& title,
                                                    BarButtonItemStyle style, const void* target,
                                                    Action action,
                                                    const std::string& actionName = {});
    static std::shared_ptr<BarButtonItem> withCustomView(std::shared_ptr<View> view);
    static std::shared_ptr<BarButtonItem> withSystemItem(BarButtonSystemItem item);

    ImageRef image() const { return image_; }
    void setImage(ImageRef image);
    const std::string& title() const { return title_; }
    void setTitle(const std::string& title);
    const std::shared_ptr<View>& customView() const { return customView_; }
    void setCustomView(std::shared_ptr<View> view);
    BarButtonItemStyle style() const { return style_; }
    void setStyle(BarButtonItemStyle style);
    bool isSpace() const { return space_ != 0; }
    bool isFlexibleSpace() const { return space_ == int(BarButtonSystemItem::FlexibleSpace); }
    // Fixed width in points (0: as wide as its content).
    float width() const { return width_; }
    void setWidth(float width);
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled);
    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }

    const void* target() const { return target_; }
    void setTarget(const void* target) { target_ = target; }
    const Action& action() const { return action_; }
    // `name` ("save:") lets the headless `press` find the item's button.
    void setAction(Action action, const std::string& name = {});
    const std::string& actionName() const { return actionName_; }
    // Calls the action with this item as sender.
    void perform();

    // Bars showing the item rebuild its view when it changes.
    void setChangeHandler(std::function<void()> handler) { changed_ = std::move(handler); }

private:
    void changed();
    ImageRef image_;
    std::string title_;
    std::shared_ptr<View> customView_;
    BarButtonItemStyle style_ = BarButtonItemStyle::Plain;
    int space_ = 0;
    float width_ = 0;
    bool enabled_ = true;
    int tag_ = 0;
    const void* target_ = nullptr;
    Action action_;
    std::string actionName_;
    std::function<void()> changed_;
};

using BarButtonItemRef = std::shared_ptr<BarButtonItem>;

} // namespace platform
