#pragma once

#include <string>

#include <memory>

#include "platform/graphics/Image.h"
#include "platform/ui/View.h"

namespace zorbel {
class KeptPictureView;
}

namespace zorbel {

// A picture drawn 300 points wide with its proportions kept, at the top of
// the view and centred across it. Overlay layers are made wider than their
// picture so that they take touches well to either side of it.
//
// The picture is shown by a child view covering only the picture (it takes
// no touches), so composing a layer costs only its picture's area, not the
// transparent width around it. The child keeps the picture drawn as the
// layer's transform shows it (turned, mirrored and scaled, never larger than
// 300 points wide), so a layer that is not being moved is composed by
// copying pixels; while a gesture runs the kept picture is left as it was
// and composing adjusts it by the change since.
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

    // The linear transform the picture is kept drawn through.
    const platform::AffineTransform& keptTransform() const { return kept_; }

    void setTransform(const platform::AffineTransform& transform) override;
    // The picture is drawn by its own child view.
    bool drawsContent() const override { return false; }
    void layoutSubviews() override;

    // Smallest fraction the kept picture is drawn at.
    static constexpr float kMinPictureScale = 1.0f / 16;

protected:
    // True while a gesture changes the transform step by step.
    virtual bool isBeingTransformed() const { return false; }
    // Redraws the kept picture as the current transform shows it.
    void keepPictureAsShown();

private:
    void placePicture();

    platform::ImageRef image_;
    std::shared_ptr<KeptPictureView> pictureView_;
    platform::AffineTransform kept_;
};

} // namespace zorbel
