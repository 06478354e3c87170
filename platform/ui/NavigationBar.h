#pragma once

#include <string>

#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Toolbar.h"
#include "platform/ui/View.h"

namespace platform {

// The bar at the top of a screen (44 points): a bold centred title with an
// optional item at each end, in the bar styles of Toolbar.
class NavigationBar : public View {
public:
    NavigationBar();
    explicit NavigationBar(const Rect& frame);
    std::string className() const override { return "NavigationBar"; }

    const std::string& title() const { return title_; }
    void setTitle(const std::string& title);
    BarStyle barStyle() const { return barStyle_; }
    void setBarStyle(BarStyle style);
    const BarButtonItemRef& leftItem() const { return left_; }
    const BarButtonItemRef& rightItem() const { return right_; }
    void setLeftItem(BarButtonItemRef item);
    void setRightItem(BarButtonItemRef item);

    void layoutSubviews() override;
    void drawRect(Context& context, const Rect& dirty) override;

private:
    void rebuild();
    std::string title_;
    BarStyle barStyle_ = BarStyle::Default;
    BarButtonItemRef left_;
    BarButtonItemRef right_;
    std::shared_ptr<View> leftView_;
    std::shared_ptr<View> rightView_;
};

} // namespace platform
