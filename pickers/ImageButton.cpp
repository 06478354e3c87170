#include "pickers/ImageButton.h"

namespace zorbel {

ImageButton::ImageButton() : ImageButton(platform::Rect()) {}

ImageButton::ImageButton(const platform::Rect& frame) : platform::ImageView(frame) {
    setUserInteractionEnabled(true);
}

void ImageButton::touchesBegan(const platform::TouchSet&, platform::Event&) {
    if (target_ && action_)
        action_(this);
}

} // namespace zorbel
