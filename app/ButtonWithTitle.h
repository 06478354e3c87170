#pragma once

#include <memory>
#include <string>

#include "platform/graphics/Image.h"
#include "platform/graphics/Rect.h"
#include "platform/ui/Action.h"

namespace platform {
class Button;
}

namespace zorbel {

// The plain choice button of the new-document and settings screens: the
// title centred, black when `darkTextColor` is asked for and white otherwise,
// over a background picture and a pressed one, each stretched from their
// middle column (left cap 12, top cap 0); `action` (named `selector`) is sent
// to `target` on touch up inside.
std::shared_ptr<platform::Button> buttonWithTitle(const std::string& title, const void* target,
                                                  platform::Action action,
                                                  const std::string& selector,
                                                  const platform::Rect& frame,
                                                  platform::ImageRef image,
                                                  platform::ImageRef imagePressed,
                                                  bool darkTextColor);

} // namespace zorbel
