#pragma once

#include <map>

#include "platform/graphics/Image.h"
#include "platform/imagepicker/CropGeometry.h"
#include "platform/ui/View.h"

namespace platform {

class Touch;

// The editing square: a picture under a square window that the person moves
// with one finger and scales with two (or the mouse wheel, about the pointer).
// The picture always covers the square; what lies in it is the edited picture.
class ImageEditingView : public View {
public:
    // Each wheel notch scales by this much.
    static constexpr float kWheelZoom = 1.1f;
    // Room kept clear at the top and bottom for the bars.
    static constexpr float kBarHeight = 44;

    ImageEditingView();
    std::string className() const override { return "ImageEditingView"; }

    // An upright picture (orientation 0); the square starts filled by it.
    void setImage(ImageRef image);
    const ImageRef& image() const { return image_; }
    const CropGeometry& geometry() const { return geometry_; }
    void setGeometry(const CropGeometry& geometry);
    // The square: as large as fits between the bars, centred.
    Rect squareRect() const;

    Rect cropRect() const { return geometry_.cropRect(); }
    ImageRef editedImage(int maxSide) const;

    void layoutSubviews() override;
    void drawRect(Context& context, const Rect& dirty) override;
    void touchesBegan(const TouchSet& touches, Event& event) override;
    void touchesMoved(const TouchSet& touches, Event& event) override;
    void touchesEnded(const TouchSet& touches, Event& event) override;
    void touchesCancelled(const TouchSet& touches, Event& event) override;
    bool scrollWheel(Point location, float dx, float dy) override;

private:
    void forget(const TouchSet& touches);

    ImageRef image_;
    CropGeometry geometry_;
    Size laidOutFor_{};
    // Where each finger was at the last event, in this view.
    std::map<const Touch*, Point> fingers_;
};

} // namespace platform
