#pragma once

#include <memory>
#include <string>

#include "canvas/PaintingView.h" // ARGBColorBytes
#include "platform/graphics/Color.h"
#include "platform/graphics/Context.h"
#include "platform/ui/ImageView.h"

namespace zorbel {

class ColorSquareView;

// The colour picker's rainbow: touching or dragging over it gives the swatch
// the colour of the picture's pixel under the finger. The pixels are read
// from a copy of the picture in the canvas pixel format, made at the first
// touch; the finger's point is the pixel's coordinates, so the view shows
// its picture at its own size from its top left corner.
class RainbowColorView : public platform::ImageView {
public:
    RainbowColorView();
    explicit RainbowColorView(const platform::Rect& frame);
    ~RainbowColorView() override;
    std::string className() const override { return "RainbowColorView"; }

    // Receives the colours picked.
    const std::shared_ptr<ColorSquareView>& colorSquareView() const { return colorSquareView_; }
    void setColorSquareView(std::shared_ptr<ColorSquareView> swatch) {
        colorSquareView_ = std::move(swatch);
    }

    // Copies the picture into a bitmap of its size (dropping an earlier copy).
    // Without memory for it no copy is made and picking gives opaque black.
    void createOffscreenVersion();
    bool hasOffscreenVersion() const { return offscreenImage_ != nullptr; }
    // The bytes of the copy's pixel (x, y), in memory order (alpha, red,
    // green, blue, premultiplied); opaque black without a copy or outside it.
    ARGBColorBytes getPixelValueAt(int x, int y) const;
    // Red, green and blue bytes over 255, alpha 1 (the pixel's alpha is
    // ignored, so a partly transparent pixel gives a darker colour).
    static platform::Color ARGBtoUIColor(const ARGBColorBytes& pixel);

    void touchesBegan(const platform::TouchSet& touches, platform::Event& event) override;
    void touchesMoved(const platform::TouchSet& touches, platform::Event& event) override;

private:
    // Picks the pixel under a point in bounds coordinates. A point outside the
    // picture's pixels (a finger dragged past the edge, or a view larger than
    // its picture) is not read at all.
    void pickAt(platform::Point p);

    std::shared_ptr<ColorSquareView> colorSquareView_;
    std::unique_ptr<platform::Context> offscreenImage_; // owns the pixel memory
};

} // namespace zorbel
