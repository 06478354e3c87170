// Pictures in and out of the canvas: the Documents files of the buffers, the
// fit rule that places a picture on the canvas, and the painting as a file.

#include <cmath>
#include <cstring>
#include <vector>

#include "canvas/PaintingView.h"
#include "platform/foundation/FileIO.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Paths.h"
#include "platform/ui/GraphicsContext.h"

namespace zorbel {

using platform::AffineTransform;
using platform::Context;
using platform::Image;
using platform::ImageRef;
using platform::log;
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

// The picture in the canvas memory order (rows bottom-up) as an upright
// picture: the rows reversed. Drawing the snapshot flipped into a fresh
// transparent bitmap gives these same bytes.
ImageRef uprightPictureOfBuffer(const Context& context) {
    const int width = context.width();
    const int height = context.height();
    const std::size_t rowBytes = context.bytesPerRow();
    std::vector<std::uint8_t> pixels(rowBytes * std::size_t(height));
    for (int row = 0; row < height; ++row)
        std::memcpy(pixels.data() + rowBytes * std::size_t(row),
                    context.data() + rowBytes * std::size_t(height - 1 - row), rowBytes);
    auto picture = Image::create(width, height, std::move(pixels));
    return picture ? picture.value() : nullptr;
}

} // namespace

// --- Files ------------------------------------------------------------------

bool PaintingView::writeApplicationData(std::span<const std::uint8_t> data,
                                        std::string_view fileName) {
    const auto directory = platform::Paths::documentsDirectory();
    if (directory.empty())
        return false;
    const auto path = directory / std::string(fileName);
    if (platform::writeFileAtomically(path, data))
        return true;
    // One more try, as a passing failure (a full disk being cleared) may clear.
    auto again = platform::writeFileAtomically(path, data);
    if (!again)
        log("Could not write " + std::string(fileName) + ": " + again.error());
    return again.ok();
}

ImageRef PaintingView::getRawImageToSaveFromBuffer(const Context* context) {
    if (!context)
        return nullptr;
    return uprightPictureOfBuffer(*context);
}

ImageRef PaintingView::getRawImageToSave() {
    reloadOffscreenBufferIfNecessary();
    return getRawImageToSaveFromBuffer(offscreenPaintContext_.get());
}

bool PaintingView::writeOnlyRawImageNamed(std::string_view fileName, const Context* context) {
    if (!context) {
        log("writeOnlyRawImageNamed image is nil");
        return false;
    }
    // Encoded straight from the buffer, last memory row first: the picture
    // upright as on screen, without an intermediate copy.
    auto png = Image::encodePng(context->data(), context->width(), context->height(),
                                context->bytesPerRow(), true, kFlushPngCompressionLevel);
    if (!png) {
        log("Could not encode " + std::string(fileName) + ": " + png.error());
        return false;
    }
    return writeApplicationData(*png, fileName);
}

bool PaintingView::writeOnlyRawImageOut(std::string_view fileName) {
    reloadOffscreenBufferIfNecessary();
    return writeOnlyRawImageNamed(fileName, offscreenPaintContext_.get());
}

bool PaintingView::writeOrgImageOut(std::string_view fileName) {
    return writeOnlyRawImageNamed(fileName, orgImageOffscreenContext_.get());
}

bool PaintingView::writeUndoImageOut(std::string_view fileName) {
    const bool written = writeOnlyRawImageNamed(fileName, undoLayerContext_.get());
    // Only a written file is worth reading back.
    if (written)
        undoImageHasBeenSaved_ = true;
    return written;
}

ImageRef PaintingView::loadDocumentImage(std::string_view fileName, std::string* whyUnusable) {
    const auto path = platform::Paths::documentsDirectory() / std::string(fileName);
    if (!platform::fileExists(path))
        return nullptr;
    auto picture = Image::load(path);
    if (!picture) {
        if (whyUnusable)
            *whyUnusable =
                std::string(fileName) + " is damaged and was not used: " + picture.error();
        return nullptr;
    }
    return picture.value();
}

void PaintingView::readRawImageNamed(std::string_view fileName, Context* context) {
    std::string why;
    auto picture = loadDocumentImage(fileName, &why);
    if (!picture) {
        log("Raw Named Image not found!");
        log(fileName);
        if (!why.empty())
            log(why);
        return;
    }
    if (!context)
        return;
    drawPictureFlipped(*context, *picture);
}

void PaintingView::readRawImageOffscreen(std::string_view fileName) {
    std::string why;
    auto picture = loadDocumentImage(fileName, &why);
    if (!picture) {
        log("Raw Image not found!");
        log(fileName);
        if (!why.empty())
            log(why);
        return;
    }
    if (!offscreenPaintContext_)
        return;
    drawPictureFlipped(*offscreenPaintContext_, *picture);
}

void PaintingView::drawPictureFlipped(Context& context, const Image& picture) {
    const float width = float(picture.width());
    const float height = float(picture.height());
    platform::GStateGuard guard(context);
    context.setBlendMode(platform::BlendMode::Normal);
    context.translateCTM(0, height);
    context.scaleCTM(1, -1);
    context.drawImage(Rect(0, 0, width, height), picture);
}

// --- Pictures ---------------------------------------------------------------

void PaintingView::setOrgImage(ImageRef image) {
    orgUIImage_ = scaleAndRotateImage(image);
    if (!orgImageOffscreenContext_)
        recreateOrgImageBuffer();
    reloadOrgImageInfoBuffer(orgImageOffscreenContext_.get());
}

void PaintingView::reloadOrgImageInfoBuffer(Context* context) {
    if (!orgUIImage_) {
        log("reloadOrgImageInfoBuffer no orgImage");
        orgUIImage_ = bgUIImage_;
    }
    if (!context)
        return;
    context->setAlpha(1);
    platform::GStateGuard guard(*context);
    context->clearRect(bufferRect_);
    if (orgUIImage_)
        drawPictureByFitRule(*context, *orgUIImage_, host().paintingViewWasCropped(),
                             FitTarget::OriginalBuffer);
}

void PaintingView::setBGImage(ImageRef image) {
    bgUIImage_ = scaleAndRotateImage(image);
    refreshDrawing();
    rawcopyToUndoBuffer();
}

void PaintingView::refreshDrawing() {
    reloadOffscreenBufferIfNecessary();
    setLastTimeCursorUsed(false); // the cursor cycle starts again
    clearPaintLayer();
    if (!offscreenPaintContext_)
        return;
    Context& context = *offscreenPaintContext_;
    context.setAlpha(1);
    {
        platform::GStateGuard guard(context);
        context.clearRect(bufferRect_);
        if (bgUIImage_) {
            PaintingViewDelegate& delegate = host();
            const Fit fit =
                drawPictureByFitRule(context, *bgUIImage_, delegate.paintingViewWasCropped(),
                                     FitTarget::OffscreenBuffer);
            delegate.paintingViewDocumentOrientationChanged(
                fit.turned ? DocumentOrientation::Turned : DocumentOrientation::Upright);
        }
    }
    setNeedsDisplay();
}

PaintingView::Fit PaintingView::fitRule(platform::Size pictureSize, bool wasCropped,
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

PaintingView::Fit PaintingView::drawPictureByFitRule(Context& context, const Image& picture,
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

ImageRef PaintingView::scaleAndRotateImage(const ImageRef& image) {
    if (!image)
        return nullptr;
    const int orientation = image->orientation();
    if (orientation < 0 || orientation > 7) {
        log("Invalid image orientation");
        return nullptr;
    }
    const float W = float(image->width());
    const float H = float(image->height());
    float boundsWidth = W;
    float boundsHeight = H;
    if (W > 480 || H > 480) {
        const float ratio = W / H;
        if (ratio > 1) {
            boundsWidth = 480;
            boundsHeight = 480 / ratio;
        } else {
            boundsWidth = 480 * ratio;
            boundsHeight = 480;
        }
    }
    const float s = boundsWidth / W;

    AffineTransform T;
    bool exchanged = false;
    switch (orientation) {
    case 0:
        break;
    case 1:
        T = rotatedQuarters(AffineTransform::makeTranslation(W, H), 2);
        break;
    case 2:
        T = rotatedQuarters(AffineTransform::makeTranslation(0, W), 3);
        exchanged = true;
        break;
    case 3:
        T = rotatedQuarters(AffineTransform::makeTranslation(H, 0), 1);
        exchanged = true;
        break;
    case 4:
        T = AffineTransform::makeTranslation(W, 0).scaled(-1, 1);
        break;
    case 5:
        T = AffineTransform::makeTranslation(0, H).scaled(1, -1);
        break;
    case 6:
        T = rotatedQuarters(AffineTransform::makeTranslation(H, W).scaled(-1, 1), 3);
        exchanged = true;
        break;
    case 7:
        T = rotatedQuarters(AffineTransform::makeScale(-1, 1), 1);
        exchanged = true;
        break;
    }
    if (exchanged)
        std::swap(boundsWidth, boundsHeight);

    // A fraction of a pixel left by the reduction is not worth a column.
    const int surfaceWidth = std::max(1, int(std::ceil(boundsWidth - 0.001f)));
    const int surfaceHeight = std::max(1, int(std::ceil(boundsHeight - 0.001f)));
    auto surface =
        Context::createBitmap(surfaceWidth, surfaceHeight, nullptr, platform::YAxis::Down);
    if (!surface) {
        log(" ++++++++++++++++ Out of Memory! scaleAndRotateImage 1");
        return nullptr;
    }
    if (orientation == 2 || orientation == 3) {
        surface->scaleCTM(-s, s);
        surface->translateCTM(-H, 0);
    } else {
        surface->scaleCTM(s, -s);
        surface->translateCTM(0, -H);
    }
    surface->concatCTM(T);
    surface->drawImage(Rect(0, 0, W, H), *image);
    return surface->makeImage();
}

ImageRef PaintingView::getImageToSave(DocumentOrientation documentOrientation) {
    reloadOffscreenBufferIfNecessary();
    if (!offscreenPaintContext_)
        return nullptr;
    if (documentOrientation == DocumentOrientation::Upright)
        return uprightPictureOfBuffer(*offscreenPaintContext_);
    if (documentOrientation != DocumentOrientation::Turned)
        return nullptr;
    const int W = offscreenPaintContext_->width();
    const int H = offscreenPaintContext_->height();
    auto picture = offscreenPaintContext_->makeImage();
    auto bitmap = Context::createBitmap(H, W, nullptr);
    if (!picture || !bitmap)
        return nullptr;
    // Drawing point (u, v) lands on (v, u): the painting turned a quarter
    // counter-clockwise, the landscape document upright.
    bitmap->concatCTM({0, 1, 1, 0, 0, 0});
    bitmap->drawImage(Rect(0, 0, float(W), float(H)), *picture);
    return bitmap->makeImage();
}

ImageRef PaintingView::viewToImage() {
    // The display draws the painting from the offscreen buffer, so a flushed
    // one must come back first or the picture would be empty.
    reloadOffscreenBufferIfNecessary();
    const platform::Size size = bounds().size;
    if (!platform::beginImageContext(size))
        return nullptr;
    ImageRef picture;
    if (Context* context = platform::currentContext()) {
        renderInContext(*context);
        picture = platform::getImageFromCurrentImageContext();
    }
    platform::endImageContext();
    if (!picture)
        log("viewToImage: the view could not be drawn into a picture");
    return picture;
}

ImageRef PaintingView::getFlattenedImageToSave(DocumentOrientation documentOrientation) {
    if (documentOrientation == DocumentOrientation::Upright)
        return viewToImage();
    if (documentOrientation != DocumentOrientation::Turned) {
        log("Non-standard image orientation!");
        printOrientation(int(documentOrientation));
        return nullptr;
    }
    auto shown = viewToImage();
    auto bitmap = Context::createBitmap(kCanvasHeight, kCanvasWidth, nullptr);
    if (!shown || !bitmap)
        return nullptr;
    // Translate (480, 0), then a quarter turn: the displayed picture turned a
    // quarter counter-clockwise, the landscape document upright.
    bitmap->translateCTM(float(kCanvasHeight), 0);
    bitmap->setCTM(rotatedQuarters(bitmap->ctm(), 1));
    bitmap->drawImage(Rect(0, 0, float(kCanvasWidth), float(kCanvasHeight)), *shown);
    return bitmap->makeImage();
}

bool PaintingView::writeOnlyImageOut(std::string_view fileName) {
    auto picture = getImageToSave(host().paintingViewDocumentOrientation());
    if (!picture)
        return false;
    auto png = picture->pngData(kFlushPngCompressionLevel);
    if (!png) {
        log("Could not encode " + std::string(fileName) + ": " + png.error());
        return false;
    }
    return writeApplicationData(*png, fileName);
}

bool PaintingView::writeImageOut(std::string_view fileName) {
    return writeOnlyImageOut(fileName);
}

void PaintingView::printOrientation(int orientation) {
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
        log(kLines[orientation]);
}

} // namespace zorbel
