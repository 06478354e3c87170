#include "pickers/PickerGrid.h"

#include "pickers/PictureButton.h"
#include "platform/foundation/Log.h"
#include "platform/ui/ScrollView.h"

namespace zorbel::PickerGrid {

using platform::Rect;

void configureScrollView(platform::ScrollView& scrollView, platform::ScrollViewDelegate* delegate) {
    scrollView.setCanCancelContentTouches(true);
    scrollView.setClipsToBounds(false);
    scrollView.setDirectionalLockEnabled(true);
    scrollView.setAlwaysBounceHorizontal(false);
    scrollView.setBounces(false);
    scrollView.setDelegate(delegate);
}

void layOutContent(platform::ScrollView& scrollView, platform::View& content, float height,
                   bool landscape) {
    Rect r = content.bounds();
    r.size.height = height;
    if (landscape)
        r.size.width = kLandscapeWidth;
    content.setBounds(r);
    content.setFrame(r);
    if (height > kVisibleHeight) {
        scrollView.setContentSize({kPortraitWidth, height});
        scrollView.setScrollEnabled(true);
    } else {
        scrollView.setContentSize({kPortraitWidth, kVisibleHeight});
        scrollView.setScrollEnabled(false);
    }
    scrollView.scrollRectToVisible(Rect(0, 0, 10, 10), true);
}

std::shared_ptr<PictureButton> makeButton(int index, const std::string& name,
                                          const platform::ImageRef& picture, float side,
                                          float top) {
    const int col = index % kColumns;
    const int row = index / kColumns;
    const platform::Size size = picture ? picture->size() : platform::Size{0, 0};
    const Rect frame(kPitch * float(col) + kLeftMargin + (side - size.width) * 0.5f,
                     kPitch * float(row) + top + (side - size.height) * 0.5f, side, side);
    auto button = std::make_shared<PictureButton>(frame);
    // The frame's offset already centres a picture drawn at its own size from
    // the button's corner; fitting it into the button would move it a second
    // time (a 32-point brush 16 points off its cell). Only a picture larger
    // than the button is fitted.
    const bool fits = size.width <= side && size.height <= side;
    button->setContentMode(fits ? platform::ContentMode::TopLeft
                                : platform::ContentMode::ScaleAspectFit);
    if (picture)
        button->setImage(picture);
    button->setTag(index);
    button->setAccessibilityLabel(name);
    return button;
}

platform::ScrollView* scrollViewIn(platform::View& root) {
    return dynamic_cast<platform::ScrollView*>(root.viewWithTag(kScrollViewTag));
}

std::shared_ptr<platform::View> build(platform::View& root, platform::ScrollViewDelegate* delegate,
                                      std::span<const std::string> names, const Layout& layout,
                                      bool landscape, const void* target, platform::Action pushed,
                                      const std::string& who) {
    platform::ScrollView* scroll = scrollViewIn(root);
    platform::View* content = scroll ? scroll->viewWithTag(kContentViewTag) : nullptr;
    if (!scroll || !content) {
        platform::log(who + ": no scroll view (tag 150) with content (tag 200)");
        return nullptr;
    }
    configureScrollView(*scroll, delegate);
    layOutContent(*scroll, *content, layout.contentHeight, landscape);
    for (std::size_t i = 0; i < names.size(); ++i) {
        auto button = makeButton(int(i), names[i], layout.picture(names[i]), layout.buttonSide,
                                 layout.top);
        button->addTarget(target, pushed, platform::ControlEventTouchUpInside, "buttonPushed:");
        content->addSubview(std::move(button));
    }
    return content->shared_from_this();
}

std::optional<std::size_t> chosenIndex(platform::ActionSender* sender, std::size_t count) {
    auto* button = dynamic_cast<platform::View*>(sender);
    if (!button || button->tag() < 0 || std::size_t(button->tag()) >= count)
        return std::nullopt;
    return std::size_t(button->tag());
}

} // namespace zorbel::PickerGrid
