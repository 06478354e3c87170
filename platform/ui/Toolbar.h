#pragma once

#include <vector>

#include "platform/ui/BarButtonItem.h"
#include "platform/ui/View.h"

namespace platform {

enum class BarStyle { Default = 0, Black = 1, BlackTranslucent = 2 };

// A bar of items (44 points high), laid out from left to right: flexible
// spaces share the room left over; without any, the items are spaced evenly
// across the bar. Items with a picture or title become buttons that call the
// item's action; custom views are placed as they are.
class Toolbar : public View {
public:
    static constexpr float kHeight = 44;

    Toolbar();
    explicit Toolbar(const Rect& frame);
    std::string className() const override { return "Toolbar"; }

    const std::vector<BarButtonItemRef>& items() const { return items_; }
    // Animated: the new items fade in (0.25 s) where they differ.
    void setItems(std::vector<BarButtonItemRef> items, bool animated = false);
    BarStyle barStyle() const { return barStyle_; }
    void setBarStyle(BarStyle style);
    bool isTranslucent() const { return barStyle_ == BarStyle::BlackTranslucent; }

    // The view showing an item (after layout), or null.
    View* viewForItem(const BarButtonItem* item) const;

    void layoutSubviews() override;
    void drawRect(Context& context, const Rect& dirty) override;

    // Shared with NavigationBar: a button for an item in the bar's style.
    static std::shared_ptr<View> makeItemView(const BarButtonItemRef& item, BarStyle style);
    // Lays the item views out across `area` as described above.
    static void layoutItems(const std::vector<BarButtonItemRef>& items,
                            const std::vector<std::shared_ptr<View>>& views, const Rect& area);
    static void drawBar(Context& context, const Rect& bounds, BarStyle style, bool hairlineAtTop);

private:
    void rebuild(bool animated);
    std::vector<BarButtonItemRef> items_;
    std::vector<std::shared_ptr<View>> itemViews_;
    BarStyle barStyle_ = BarStyle::Default;
};

} // namespace platform
