#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/View.h"

namespace platform {

class ActionSheet;
class Button;
class Toolbar;

class ActionSheetDelegate {
public:
    virtual ~ActionSheetDelegate() = default;
    // The button at `index` was tapped; the sheet is dismissing.
    virtual void actionSheetClickedButtonAtIndex(ActionSheet& sheet, int index) = 0;
    virtual void actionSheetDidDismissWithButtonIndex(ActionSheet&, int) {}
};

// A choice that slides up from the bottom of the window over a dimmed screen:
// an optional title, then the buttons. Button indexes: the destructive button
// (if any) is 0, the other buttons follow in order, the cancel button (if any)
// is last. Tapping a button tells the delegate its index and slides the sheet
// away. The window keeps the sheet while it shows.
class ActionSheet : public View {
public:
    ActionSheet(const std::string& title, ActionSheetDelegate* delegate,
                const std::string& cancelButtonTitle, const std::string& destructiveButtonTitle,
                const std::vector<std::string>& otherButtonTitles);
    std::string className() const override { return "ActionSheet"; }

    const std::string& title() const { return title_; }
    ActionSheetDelegate* delegate() const { return delegate_; }
    void setDelegate(ActionSheetDelegate* delegate) { delegate_ = delegate; }
    int numberOfButtons() const { return int(titles_.size()); }
    std::string buttonTitleAtIndex(int index) const;
    int cancelButtonIndex() const { return cancelIndex_; }
    int destructiveButtonIndex() const { return destructiveIndex_; }
    int firstOtherButtonIndex() const { return firstOtherIndex_; }
    bool isVisible() const { return visible_; }

    // Shows the sheet in the toolbar's window (above the toolbar's place).
    void showFromToolbar(Toolbar& toolbar);
    void showInView(View& view);
    // As if the button at `index` had been tapped (also for a cancel key).
    void dismissWithClickedButtonIndex(int index, bool animated);

    static constexpr double kSlideDuration = 0.3;

    void layoutSubviews() override;
    void drawRect(Context& context, const Rect& dirty) override;
    // Escape cancels.
    void keyEscape() override;

private:
    void build();
    Rect panelFrame(bool shown) const;

    std::string title_;
    ActionSheetDelegate* delegate_;
    std::vector<std::string> titles_;
    int cancelIndex_ = -1;
    int destructiveIndex_ = -1;
    int firstOtherIndex_ = -1;
    bool visible_ = false;
    std::shared_ptr<View> panel_;
    std::vector<std::shared_ptr<Button>> buttons_;
};

} // namespace platform
