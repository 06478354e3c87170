#include "app/ButtonWithTitle.h"

#include "platform/ui/Button.h"

namespace zorbel {

std::shared_ptr<platform::Button> buttonWithTitle(const std::string& title, const void* target,
                                                  platform::Action action,
                                                  const std::string& selector,
                                                  const platform::Rect& frame,
                                                  platform::ImageRef image,
                                                  platform::ImageRef imagePressed,
                                                  bool darkTextColor) {
    auto button = std::make_shared<platform::Button>(platform::ButtonType::Custom, frame);
    button->setContentVerticalAlignment(platform::ContentVerticalAlignment::Center);
    button->setContentHorizontalAlignment(platform::ContentHorizontalAlignment::Center);
    button->setTitle(title);
    button->setTitleColor(darkTextColor ? platform::Color::black() : platform::Color::white());
    button->setBackgroundImage(platform::StretchableImage::make(std::move(image), 12, 0));
    button->setBackgroundImage(platform::StretchableImage::make(std::move(imagePressed), 12, 0),
                               platform::ControlStateHighlighted);
    button->addTarget(target, std::move(action), platform::ControlEventTouchUpInside, selector);
    button->setBackgroundColor(platform::Color::clear());
    return button;
}

} // namespace zorbel
