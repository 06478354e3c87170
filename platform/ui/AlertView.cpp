#include "platform/ui/AlertView.h"

#include <algorithm>
#include <cmath>

#include "platform/ui/Application.h"
#include "platform/ui/Button+Style.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/Window.h"

namespace platform {

namespace {

constexpr float kWidth = 270;
constexpr float kButtonHeight = 44;
constexpr float kPadding = 16;
constexpr double kFade = 0.2;

class AlertBox : public View {
public:
    AlertBox() {
        setOpaque(false);
        setContentMode(ContentMode::Redraw);
    }
    std::string className() const override { return "AlertBox"; }
    float buttonsTop = 0;
    int buttonCount = 0;
    void drawRect(Context& c, const Rect&) override {
        const Rect b = bounds();
        style::fillRoundedRect(c, b, 13, style::kSheetBackground);
        style::hairline(c, {b.minX(), buttonsTop}, {b.maxX(), buttonsTop}, style::kSeparator);
        if (buttonCount == 2)
            style::hairline(c, {b.midX(), buttonsTop}, {b.midX(), b.maxY()}, style::kSeparator);
        else
            for (int i = 1; i < buttonCount; ++i) {
                const float y = buttonsTop + kButtonHeight * float(i);
                style::hairline(c, {b.minX(), y}, {b.maxX(), y}, style::kSeparator);
            }
    }
};

} // namespace

AlertView::AlertView(const std::string& title, const std::string& message,
                     AlertViewDelegate* delegate, const std::string& cancelButtonTitle,
                     const std::vector<std::string>& otherButtonTitles)
    : View(Rect(0, 0, 320, 480)), title_(title), message_(message), delegate_(delegate) {
    if (!cancelButtonTitle.empty()) {
        cancelIndex_ = 0;
        titles_.push_back(cancelButtonTitle);
    }
    for (const std::string& t : otherButtonTitles)
        titles_.push_back(t);
    setOpaque(false);
    setAutoresizingMask(AutoresizingFlexibleWidth | AutoresizingFlexibleHeight);
}

std::string AlertView::buttonTitleAtIndex(int index) const {
    return index >= 0 && index < numberOfButtons() ? titles_[std::size_t(index)] : std::string();
}

void AlertView::build() {
    auto box = std::make_shared<AlertBox>();
    box_ = box;
    float y = 20;
    const float textWidth = kWidth - 2 * kPadding;
    if (!title_.empty()) {
        auto label = std::make_shared<Label>();
        label->setFont(Font::boldSystemFontOfSize(17));
        label->setTextAlignment(TextAlignment::Center);
        label->setNumberOfLines(0);
        label->setText(title_);
        const Size s = label->sizeThatFits({textWidth, 0});
        label->setFrame(Rect(kPadding, y, textWidth, s.height));
        box_->addSubview(label);
        y += s.height + 4;
    }
    if (!message_.empty()) {
        auto label = std::make_shared<Label>();
        label->setFont(Font::systemFontOfSize(13));
        label->setTextAlignment(TextAlignment::Center);
        label->setNumberOfLines(0);
        label->setText(message_);
        const Size s = label->sizeThatFits({textWidth, 0});
        label->setFrame(Rect(kPadding, y, textWidth, s.height));
        box_->addSubview(label);
        y += s.height;
    }
    y += 20;
    box->buttonsTop = y;
    box->buttonCount = numberOfButtons();
    const bool sideBySide = numberOfButtons() == 2;
    for (int i = 0; i < numberOfButtons(); ++i) {
        auto b = std::make_shared<Button>(ButtonType::Custom);
        b->setTitle(titles_[std::size_t(i)]);
        b->setTitleColor(style::kTint);
        b->setFont(i == cancelIndex_ ? Font::boldSystemFontOfSize(17) : Font::systemFontOfSize(17));
        if (sideBySide)
            b->setFrame(Rect(i == 0 ? 0 : kWidth / 2, y, kWidth / 2, kButtonHeight));
        else
            b->setFrame(Rect(0, y + kButtonHeight * float(i), kWidth, kButtonHeight));
        std::weak_ptr<View> weak = weak_from_this();
        b->addTarget(
            this,
            [weak, i](ActionSender*) {
                if (auto self = std::static_pointer_cast<AlertView>(weak.lock()))
                    self->dismissWithClickedButtonIndex(i, true);
            },
            ControlEventTouchUpInside);
        box_->addSubview(b);
    }
    const float h = y + (sideBySide ? kButtonHeight : kButtonHeight * float(numberOfButtons()));
    box_->setFrame(Rect(0, 0, kWidth, h));
    addSubview(box_);
}

void AlertView::show() {
    if (visible_)
        return;
    Window* w = Application::shared().keyWindow();
    if (!w)
        return;
    setFrame(w->bounds());
    if (!box_)
        build();
    w->addSubview(shared_from_this());
    visible_ = true;
    layoutSubviews();
    setBackgroundColor(style::kDimming);
    setAlpha(0);
    View::animate(kFade, [this] { setAlpha(1); });
}

void AlertView::dismissWithClickedButtonIndex(int index, bool animated) {
    if (!visible_)
        return;
    visible_ = false;
    auto keep = std::static_pointer_cast<AlertView>(shared_from_this());
    if (delegate_)
        delegate_->alertViewClickedButtonAtIndex(*this, index);
    if (!animated) {
        removeFromSuperview();
        return;
    }
    View::animate(
        kFade, [keep] { keep->setAlpha(0); }, [keep](bool) { keep->removeFromSuperview(); });
}

void AlertView::layoutSubviews() {
    if (!box_)
        return;
    const Rect b = bounds();
    const Rect f = box_->frame();
    box_->setFrame(Rect(std::round(b.midX() - f.width() / 2), std::round(b.midY() - f.height() / 2),
                        f.width(), f.height()));
}

void AlertView::keyEscape() {
    if (cancelIndex_ >= 0)
        dismissWithClickedButtonIndex(cancelIndex_, true);
}

void AlertView::keyReturn() {
    if (numberOfButtons() > 0)
        dismissWithClickedButtonIndex(numberOfButtons() - 1, true);
}

} // namespace platform
