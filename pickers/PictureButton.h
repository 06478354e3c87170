#pragma once

#include <string>

#include "platform/graphics/Image.h"
#include "platform/ui/Control.h"

namespace zorbel {

// A button that is only a picture, laid into its bounds by the content mode
// and faded while the finger is on it. It sends its actions on the usual
// control events (touch-up-inside for a tap). Unlike a titled button it has
// no font to open, so a picker can make a hundred of them at once.
class PictureButton : public platform::Control {
public:
    PictureButton() = default;
    explicit PictureButton(const platform::Rect& frame) : platform::Control(frame) {}
    std::string className() const override { return "PictureButton"; }

    // Null shows nothing (the button still takes taps).
    const platform::ImageRef& image() const { return image_; }
    void setImage(platform::ImageRef image);

    void setHighlighted(bool highlighted) override;
    void drawRect(platform::Context& context, const platform::Rect& dirty) override;

private:
    platform::ImageRef image_;
};

} // namespace zorbel
