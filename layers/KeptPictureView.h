#pragma once

#include <string>

#include "platform/graphics/AffineTransform.h"
#include "platform/graphics/Image.h"
#include "platform/ui/View.h"

namespace zorbel {

// A picture layer's picture as the layer shows it: drawn once through the
// turn, mirror and scale it is shown with (`kept`), and carrying the inverse
// of that as its own transform, so that inside the layer it stands exactly
// where the plain picture would. Composing a layer that is not being moved
// then copies pixels instead of resampling the picture through its
// transform. Takes no touches.
class KeptPictureView : public platform::View {
public:
    KeptPictureView();
    std::string className() const override { return "KeptPictureView"; }

    // Shows `image` filling `rect` (in the superview's bounds), drawn through
    // the linear transform `kept` (its offsets are ignored; a singular one is
    // taken as the identity).
    void showPicture(platform::ImageRef image, const platform::Rect& rect,
                     const platform::AffineTransform& kept);
    const platform::AffineTransform& kept() const { return kept_; }
    const platform::ImageRef& image() const { return image_; }

    void drawRect(platform::Context& context, const platform::Rect& dirty) override;

private:
    platform::ImageRef image_;
    platform::Size pictureSize_{};
    platform::AffineTransform kept_;
};

} // namespace zorbel
