#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/View.h"

namespace platform {

class AlertView;
class Button;

class AlertViewDelegate {
public:
    virtual ~AlertViewDelegate() = default;
    virtual void alertViewClickedButtonAtIndex(AlertView&, int) {}
};

// A message in a box in the middle of the dimmed window, with buttons:
// index 0 is the cancel button (if any), the other buttons follow. A tap on a
// button tells the delegate its index and closes the alert. The window keeps
// the alert while it shows.
class AlertView : public View {
public:
    AlertView(const std::string& title, const std::string& message, AlertViewDelegate* delegate,
              const std::string& cancelButtonTitle,
              const std::vector<std::string>& otherButtonTitles);
    std::string className() const override { return "AlertView"; }

    const std::string& title() const { return title_; }
    const std::string& message() const { return message_; }
    AlertViewDelegate* delegate() const { return delegate_; }
    void setDelegate(AlertViewDelegate* delegate) { delegate_ = delegate; }
    int numberOfButtons() const { return int(titles_.size()); }
    std::string buttonTitleAtIndex(int index) const;
    int cancelButtonIndex() const { return cancelIndex_; }
    bool isVisible() const { return visible_; }

    // Shows the alert over the key window.
    void show();
    void dismissWithClickedButtonIndex(int index, bool animated);

    void layoutSubviews() override;
    void keyEscape() override;
    void keyReturn() override;

private:
    void build();

    std::string title_;
    std::string message_;
    AlertViewDelegate* delegate_;
    std::vector<std::string> titles_;
    int cancelIndex_ = -1;
    bool visible_ = false;
    std::shared_ptr<View> box_;
};

} // namespace platform
