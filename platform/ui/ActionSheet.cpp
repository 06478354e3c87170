#include "platform/ui/ActionSheet.h"

#include <cmath>

#include "platform/ui/Button+Style.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/Toolbar.h"
#include "platform/ui/Window.h"

namespace platform {

namespace {

constexpr float kMargin = 8;
constexpr float kButtonHeight = 57;
constexpr float kTitleHeight = 44;
constexpr float kGroupGap = 8;
constexpr float kRadius = 13;

// The rounded group the sheet's buttons sit on (drawn behind them).
class SheetPanel : public View {
public:
    SheetPanel(std::string title, int groupEnd) : title_(std::move(title)), groupEnd_(groupEnd) {
        setOpaque(false);
        setContentMode(ContentMode::Redraw);
    }
    std::string className() const override { return "ActionSheetPanel"; }
    float groupHeight = 0;
    void drawRect(Context& c, const Rect&) override {
        const Rect b = bounds();
        const Rect group(b.minX(), b.minY(), b.width(), groupHeight);
        style::fillRoundedRect(c, group, kRadius, style::kSheetBackground);
        if (groupHeight < b.height() - 1) {
            const Rect cancel(b.minX(), groupHeight + kGroupGap, b.width(),
                              b.height() - groupHeight - kGroupGap);
            style::fillRoundedRect(c, cancel, kRadius, Color::white());
        }
        float y = 0;
        if (!title_.empty()) {
            static const FontRef font = Font::systemFontOfSize(13);
            c.setFillColor(style::kSecondaryLabel);
            font->drawInRectCentered(c, Rect(16, 0, b.width() - 32, kTitleHeight), title_);
            y = kTitleHeight;
        }
        for (int i = 0; i < groupEnd_; ++i) {
            if (y > 0)
                style::hairline(c, {b.minX(), y}, {b.maxX(), y}, style::kSeparator);
            y += kButtonHeight;
        }
    }

private:
    std::string title_;
    int groupEnd_;
};

} // namespace

ActionSheet::ActionSheet(const std::string& title, ActionSheetDelegate* delegate,
                         const std::string& cancelButtonTitle,
                         const std::string& destructiveButtonTitle,
                         const std::vector<std::string>& otherButtonTitles)
    : View(Rect(0, 0, 320, 480)), title_(title), delegate_(delegate) {
    if (!destructiveButtonTitle.empty()) {
        destructiveIndex_ = 0;
        titles_.push_back(destructiveButtonTitle);
    }
    if (!otherButtonTitles.empty())
        firstOtherIndex_ = int(titles_.size());
    for (const std::string& t : otherButtonTitles)
        titles_.push_back(t);
    if (!cancelButtonTitle.empty()) {
        cancelIndex_ = int(titles_.size());
        titles_.push_back(cancelButtonTitle);
    }
    setOpaque(false);
    setAutoresizingMask(AutoresizingFlexibleWidth | AutoresizingFlexibleHeight);
}

std::string ActionSheet::buttonTitleAtIndex(int index) const {
    return index >= 0 && index < numberOfButtons() ? titles_[std::size_t(index)] : std::string();
}

void ActionSheet::build() {
    const int grouped = cancelIndex_ >= 0 ? numberOfButtons() - 1 : numberOfButtons();
    auto panel = std::make_shared<SheetPanel>(title_, grouped);
    panel_ = panel;
    addSubview(panel_);
    buttons_.clear();
    float y = title_.empty() ? 0 : kTitleHeight;
    const float width = bounds().width() - 2 * kMargin;
    for (int i = 0; i < numberOfButtons(); ++i) {
        auto b = std::make_shared<Button>(ButtonType::Custom);
        b->setTitle(titles_[std::size_t(i)]);
        const bool cancel = i == cancelIndex_;
        b->setTitleColor(i == destructiveIndex_ ? style::kDestructive : style::kTint);
        b->setFont(cancel ? Font::boldSystemFontOfSize(20) : Font::systemFontOfSize(20));
        if (cancel)
            y += kGroupGap;
        else
            panel->groupHeight = y + kButtonHeight;
        b->setFrame(Rect(0, y, width, kButtonHeight));
        y += kButtonHeight;
        std::weak_ptr<View> weak = weak_from_this();
        b->addTarget(
            this,
            [weak, i](ActionSender*) {
                if (auto self = std::static_pointer_cast<ActionSheet>(weak.lock()))
                    self->dismissWithClickedButtonIndex(i, true);
            },
            ControlEventTouchUpInside);
        panel_->addSubview(b);
        buttons_.push_back(b);
    }
    if (cancelIndex_ < 0)
        panel->groupHeight = y;
    panel_->setFrame(Rect(kMargin, 0, width, y));
}

Rect ActionSheet::panelFrame(bool shown) const {
    const Rect b = bounds();
    const float h = panel_ ? panel_->bounds().height() : 0;
    return Rect(kMargin, shown ? b.maxY() - h - kMargin : b.maxY(), b.width() - 2 * kMargin, h);
}

void ActionSheet::showFromToolbar(Toolbar& toolbar) {
    if (Window* w = toolbar.window())
        showInView(*w);
    else
        showInView(toolbar);
}

void ActionSheet::showInView(View& view) {
    if (visible_)
        return;
    Window* w = view.window();
    View& host = w ? static_cast<View&>(*w) : view;
    setFrame(host.bounds());
    if (!panel_)
        build();
    host.addSubview(shared_from_this());
    visible_ = true;
    setBackgroundColor(Color::clear());
    panel_->setFrame(panelFrame(false));
    View::animate(kSlideDuration, [this] { panel_->setFrame(panelFrame(true)); });
    setBackgroundColor(style::kDimming);
}

void ActionSheet::dismissWithClickedButtonIndex(int index, bool animated) {
    if (!visible_)
        return;
    visible_ = false;
    auto keep = std::static_pointer_cast<ActionSheet>(shared_from_this());
    if (delegate_)
        delegate_->actionSheetClickedButtonAtIndex(*this, index);
    auto finish = [keep, index](bool) {
        keep->removeFromSuperview();
        if (keep->delegate_)
            keep->delegate_->actionSheetDidDismissWithButtonIndex(*keep, index);
    };
    if (!animated) {
        finish(true);
        return;
    }
    View::animate(
        kSlideDuration,
        [keep] {
            keep->panel_->setFrame(keep->panelFrame(false));
            keep->setAlpha(0);
        },
        finish);
}

void ActionSheet::layoutSubviews() {
    if (panel_ && visible_)
        panel_->setFrame(panelFrame(true));
}

void ActionSheet::drawRect(Context&, const Rect&) {}

void ActionSheet::keyEscape() {
    dismissWithClickedButtonIndex(cancelIndex_, true);
}

} // namespace platform
