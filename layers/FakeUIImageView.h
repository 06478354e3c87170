#pragma once

#include <string>

#include "platform/graphics/Image.h"
#include "platform/ui/View.h"

namespace zorbel {

// A picture drawn 300 points wide with its proportions kept, at the top of
// the view and centred across it. Overlay layers are made wider than their
// picture so that they take touches well to either side of it. The scaled
// picture is drawn once into the view's backing store and reused while the
// view moves, turns or scales.
class FakeUIImageView : public platform::View {
public:
    static constexpr float kPictureWidth = 300;

    FakeUIImageView();
    explicit FakeUIImageView(const platform::Rect& frame);
    // A view at (0, 0) of the picture's size showing it.
    explicit FakeUIImageView(platform::ImageRef image);
    std::string className() const override { return "FakeUIImageView"; }

    const platform::ImageRef& image() const { return image_; }
    void setImage(platform::ImageRef image);

    // Where the picture goes in the bounds (null without a picture).
    platform::Rect pictureRect() const;

    void drawRect(platform::Context& context, const platform::Rect& dirty) override;

private:
    platform::ImageRef image_;
};

} // namespace zorbel
