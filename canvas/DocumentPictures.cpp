#include "canvas/DocumentPictures.h"

#include <algorithm>
#include <cmath>

#include "platform/foundation/Log.h"
#include "platform/graphics/ImagePixels.h"
#include "platform/graphics/PictureOrientation.h"

namespace zorbel {

using platform::AffineTransform;
using platform::Context;
using platform::Image;
using platform::ImageRef;
using platform::Rect;

namespace {

// Exact quarter turns, so that turned pictures are copied pixel for pixel
// rather than resampled through a rounded sine.
AffineTransform quarterTurn(int quarters) {
    switch (((quarters % 4) + 4) % 4) {
    case 1:
        return {0, 1, -1, 0, 0, 0};
    case 2:
        return {-1, 0, 0, -1, 0, 0};
    case 3:
        return {0, -1, 1, 0, 0, 0};
    default:
        return {};
    }
}

// t.rotated(quarters * pi / 2), exactly.
AffineTransform rotatedQuarters(const AffineTransform& t, int quarters) {
    return quarterTurn(quarters).concat(t);
}

} // namespace

DocumentPictures::Fit DocumentPictures::fitRule(platform::Size pictureSize, bool wasCropped,
                                                FitTarget target) {
    const float W = pictureSize.width;
    const float H = pictureSize.height;
    const float r = H / W;
    const float canvasWidth = float(kCanvasWidth);
    const float canvasHeight = float(kCanvasHeight);
    Fit fit;
    fit.turned = W > H && !wasCropped;
    if (fit.turned) {
        const float s = canvasHeight * r;
        float offset = 0;
        if (target == FitTarget::OriginalBuffer ? s < canvasWidth : s < canvasHeight)
            offset = (canvasWidth - s) / 2;
        fit.screenRect = Rect(offset, 0, s, canvasHeight);
    } else if (r > 1) {
        const float h = canvasHeight;
        const float w = canvasHeight / r;
        fit.screenRect = Rect(w < canvasWidth ? (canvasWidth - w) / 2 : 0, 0, w, h);
    } else {
        const float w = canvasWidth;
        const float h = canvasWidth * r;
        fit.screenRect = Rect(0, h < canvasHeight ? (canvasHeight - h) / 2 : 0, w, h);
    }
    return fit;
}

DocumentPictures::Fit DocumentPictures::drawPictureByFitRule(Context& context, const Image& picture,
                                                             bool wasCropped, FitTarget target) {
    const Fit fit = fitRule(picture.size(), wasCropped, target);
    const Rect& r = fit.screenRect;
    platform::GStateGuard guard(context);
    if (fit.turned) {
        // Drawing point (u, v) lands on buffer point (v, u): the picture's
        // 480-point side runs down the canvas, its top edge along the right.
        context.concatCTM({0, 1, 1, 0, 0, 0});
        context.drawImage(Rect(0, r.minX(), r.height(), r.width()), picture);
    } else {
        context.translateCTM(0, float(kCanvasHeight));
        context.scaleCTM(1, -1);
        context.drawImage(Rect(r.minX(), float(kCanvasHeight) - r.maxY(), r.width(), r.height()),
                          picture);
    }
    return fit;
}

ImageRef DocumentPictures::scaleAndRotateImage(const ImageRef& image) {
    if (!image)
        return nullptr;
    if (!platform::pictureOrientationFromNumber(image->orientation())) {
        platform::log("Invalid image orientation");
        return nullptr;
    }
    const platform::PictureOrientation orientation = image->pictureOrientation();
    const float W = float(image->width());
    const float H = float(image->height());
    // Already upright and small enough: drawing it would copy it pixel for pixel.
    if (orientation == platform::PictureOrientation::Up && W <= kMaxPictureSide &&
        H <= kMaxPictureSide)
        return image;
    float boundsWidth = W;
    float boundsHeight = H;
    if (W > kMaxPictureSide || H > kMaxPictureSide) {
        const float ratio = W / H;
        if (ratio > 1) {
            boundsWidth = kMaxPictureSide;
            boundsHeight = kMaxPictureSide / ratio;
        } else {
            boundsWidth = kMaxPictureSide * ratio;
            boundsHeight = kMaxPictureSide;
        }
    }
    const float s = boundsWidth / W;
    if (platform::turnsAQuarter(orientation))
        std::swap(boundsWidth, boundsHeight);

    // A fraction of a pixel left by the reduction is not worth a column.
    const int surfaceWidth = std::max(1, int(std::ceil(boundsWidth - 0.001f)));
    const int surfaceHeight = std::max(1, int(std::ceil(boundsHeight - 0.001f)));
    // Drawn straight into the new picture's own memory: a bitmap of its own
    // would be faulted in and then copied whole.
    platform::ImagePixels pixels =
        platform::ImagePixels::allocate(std::size_t(surfaceWidth) * 4 * std::size_t(surfaceHeight));
    auto surface = pixels ? Context::createBitmap(surfaceWidth, surfaceHeight, pixels.data(),
                                                  platform::YAxis::Down)
                          : nullptr;
    if (!surface) {
        platform::log(" ++++++++++++++++ Out of Memory! scaleAndRotateImage 1");
        return nullptr;
    }
    // The stored picture, its top row at y = 0 here, turned as it is seen and reduced.
    surface->scaleCTM(s, s);
    surface->concatCTM(platform::storedToSeen(orientation, W, H));
    surface->translateCTM(0, H);
    surface->scaleCTM(1, -1);
    surface->drawImage(Rect(0, 0, W, H), *image);
    surface.reset();
    return std::make_shared<const Image>(surfaceWidth, surfaceHeight, std::move(pixels), 0);
}

ImageRef DocumentPictures::turnedBackPainting(const Context& painting) {
    const int W = painting.width();
    const int H = painting.height();
    auto picture = painting.makeImage();
    auto bitmap = Context::createBitmap(H, W, nullptr);
    if (!picture || !bitmap)
        return nullptr;
    // Drawing point (u, v) lands on (v, u): the painting turned a quarter
    // counter-clockwise, the landscape document upright.
    bitmap->concatCTM({0, 1, 1, 0, 0, 0});
    bitmap->drawImage(Rect(0, 0, float(W), float(H)), *picture);
    return bitmap->makeImage();
}

ImageRef DocumentPictures::turnedBackView(const Image& shown) {
    auto bitmap = Context::createBitmap(kCanvasHeight, kCanvasWidth, nullptr);
    if (!bitmap)
        return nullptr;
    // Translate (480, 0), then a quarter turn: the displayed picture turned a
    // quarter counter-clockwise, the landscape document upright.
    bitmap->translateCTM(float(kCanvasHeight), 0);
    bitmap->setCTM(rotatedQuarters(bitmap->ctm(), 1));
    bitmap->drawImage(Rect(0, 0, float(kCanvasWidth), float(kCanvasHeight)), shown);
    return bitmap->makeImage();
}

void DocumentPictures::printOrientation(int orientation) {
    static constexpr const char* kLines[] = {
        "UIImageOrientationUp - default orientation",
        "UIImageOrientationDown - 180 deg rotation",
        "UIImageOrientationLeft - 90 deg CCW",
        "UIImageOrientationRight - 90 deg CW",
        "UIImageOrientationUpMirrored - // as above but image mirrored along other axis "
        "horizontal flip",
        "UIImageOrientationDownMirrored - horizontal flip",
        "UIImageOrientationLeftMirrored - vertical flip",
        "UIImageOrientationRightMirrored - vertical flip",
    };
    if (orientation >= 0 && orientation < 8)
        platform::log(kLines[orientation]);
}

} // namespace zorbel
