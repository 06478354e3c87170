#pragma once

#include "canvas/Orientation.h"
#include "platform/graphics/Context.h"
#include "platform/graphics/Image.h"
#include "platform/graphics/Rect.h"

namespace zorbel {

// The two pictures a document is made from, the background the painting was
// drawn from and the original the eraser brings back, and the rules that put
// a picture on the 320 x 480 canvas and a painting back into a picture.
class DocumentPictures {
public:
    static constexpr int kCanvasWidth = 320;
    static constexpr int kCanvasHeight = 480;
    // A picture's long side after reduction.
    static constexpr float kMaxPictureSide = 480;

    // Where the fit rule puts a W x H picture, in screen points (top-left
    // corner and size; the size is across x then down y as on screen).
    enum class FitTarget { OriginalBuffer, OffscreenBuffer };
    struct Fit {
        bool turned = false;
        platform::Rect screenRect;
    };

    platform::ImageRef background() const { return background_; }
    void setBackground(platform::ImageRef picture) { background_ = std::move(picture); }
    platform::ImageRef original() const { return original_; }
    void setOriginal(platform::ImageRef picture) { original_ = std::move(picture); }

    // A picture wider than high is turned a quarter clockwise unless it was
    // cropped; the turned picture's short side is centred when it is narrower
    // than the canvas (original buffer) or than its own long side (offscreen).
    static Fit fitRule(platform::Size pictureSize, bool wasCropped, FitTarget target);
    // Draws `picture` into a canvas buffer context by the fit rule.
    static Fit drawPictureByFitRule(platform::Context& context, const platform::Image& picture,
                                    bool wasCropped, FitTarget target);
    // Upright copy with the stored orientation applied, the long side at most
    // 480 pixels. Null for a null picture or an unknown orientation.
    static platform::ImageRef scaleAndRotateImage(const platform::ImageRef& image);
    // A painting of the canvas buffers (rows bottom-up) turned back a quarter
    // counter-clockwise: the 480 x 320 landscape document upright.
    static platform::ImageRef turnedBackPainting(const platform::Context& painting);
    // The canvas as shown (an upright 320 x 480 picture) turned back the same way.
    static platform::ImageRef turnedBackView(const platform::Image& shown);
    // Logs the line that names a picture orientation 0 to 7.
    static void printOrientation(int orientation);

private:
    platform::ImageRef background_;
    platform::ImageRef original_;
};

} // namespace zorbel
