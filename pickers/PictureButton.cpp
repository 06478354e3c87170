#include "pickers/PictureButton.h"

#include "platform/graphics/Context.h"

namespace zorbel {

void PictureButton::setImage(platform::ImageRef image) {
    image_ = std::move(image);
    setNeedsDisplay();
}

void PictureButton::setHighlighted(bool highlighted) {
    if (highlighted != isHighlighted())
        setNeedsDisplay();
    platform::Control::setHighlighted(highlighted);
}

void PictureButton::drawRect(platform::Context& context, const platform::Rect&) {
    if (!image_)
        return;
    platform::GStateGuard guard(context);
    if (isHighlighted())
        context.setAlpha(0.5f);
    context.drawImageUpright(platform::rectForContentMode(contentMode(), image_->size(), bounds()),
                             *image_);
}

} // namespace zorbel
