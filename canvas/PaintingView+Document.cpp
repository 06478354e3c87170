// Pictures in and out of the canvas: the Documents files of the buffers, the
// background and original pictures, and the painting as a file.

#include "canvas/PaintingView.h"
#include "platform/foundation/Log.h"
#include "platform/ui/GraphicsContext.h"

namespace zorbel {

using platform::Context;
using platform::ImageRef;
using platform::log;

bool PaintingView::writeApplicationData(std::span<const std::uint8_t> data,
                                        std::string_view fileName) {
    return documents_.write(data, fileName);
}

ImageRef PaintingView::getRawImageToSaveFromBuffer(const Context* context) {
    return context ? CanvasBuffer::uprightPictureOf(*context) : nullptr;
}

ImageRef PaintingView::getRawImageToSave() {
    reloadOffscreenBufferIfNecessary();
    return offscreen_.uprightPicture();
}

bool PaintingView::writeOnlyRawImageNamed(std::string_view fileName, const Context* context) {
    if (!context) {
        log("writeOnlyRawImageNamed image is nil");
        return false;
    }
    return documents_.writeBuffer(fileName, *context);
}

bool PaintingView::writeOnlyRawImageOut(std::string_view fileName) {
    reloadOffscreenBufferIfNecessary();
    return writeOnlyRawImageNamed(fileName, offscreen_.context());
}

bool PaintingView::writeOrgImageOut(std::string_view fileName) {
    return writeOnlyRawImageNamed(fileName, original_.context());
}

bool PaintingView::writeUndoImageOut(std::string_view fileName) {
    const bool written = writeOnlyRawImageNamed(fileName, undo_.context());
    // Only a written file is worth reading back.
    if (written)
        undoImageHasBeenSaved_ = true;
    return written;
}

void PaintingView::readRawImageNamed(std::string_view fileName, Context* context) {
    std::string why;
    auto picture = documents_.load(fileName, &why);
    if (!picture) {
        log("Raw Named Image not found!");
        log(fileName);
        if (!why.empty())
            log(why);
        return;
    }
    if (context)
        CanvasBuffer::drawUpright(*context, *picture);
}

void PaintingView::readRawImageOffscreen(std::string_view fileName) {
    std::string why;
    auto picture = documents_.load(fileName, &why);
    if (!picture) {
        log("Raw Image not found!");
        log(fileName);
        if (!why.empty())
            log(why);
        return;
    }
    offscreen_.drawUpright(*picture);
}

void PaintingView::setOrgImage(ImageRef image) {
    pictures_.setOriginal(scaleAndRotateImage(image));
    if (!original_.isResident())
        recreateOrgImageBuffer();
    reloadOrgImageInfoBuffer(original_.context());
}

void PaintingView::reloadOrgImageInfoBuffer(Context* context) {
    if (!pictures_.original()) {
        log("reloadOrgImageInfoBuffer no orgImage");
        pictures_.setOriginal(pictures_.background());
    }
    if (!context)
        return;
    context->setAlpha(1);
    platform::GStateGuard guard(*context);
    context->clearRect(bufferRect_);
    if (auto original = pictures_.original())
        DocumentPictures::drawPictureByFitRule(*context, *original, host().paintingViewWasCropped(),
                                               DocumentPictures::FitTarget::OriginalBuffer);
}

void PaintingView::setBGImage(ImageRef image) {
    pictures_.setBackground(scaleAndRotateImage(image));
    refreshDrawing();
    rawcopyToUndoBuffer();
}

void PaintingView::refreshDrawing() {
    reloadOffscreenBufferIfNecessary();
    touch_.lastTimeCursorUsed = false; // the cursor cycle starts again
    clearPaintLayer();
    if (!offscreen_.isResident())
        return;
    Context& context = *offscreen_.context();
    context.setAlpha(1);
    {
        platform::GStateGuard guard(context);
        context.clearRect(bufferRect_);
        if (auto background = pictures_.background()) {
            PaintingViewDelegate& delegate = host();
            const auto fit = DocumentPictures::drawPictureByFitRule(
                context, *background, delegate.paintingViewWasCropped(),
                DocumentPictures::FitTarget::OffscreenBuffer);
            delegate.paintingViewDocumentOrientationChanged(
                fit.turned ? DocumentOrientation::Turned : DocumentOrientation::Upright);
        }
    }
    setNeedsDisplay();
}

ImageRef PaintingView::scaleAndRotateImage(const ImageRef& image) {
    return DocumentPictures::scaleAndRotateImage(image);
}

void PaintingView::printOrientation(int orientation) {
    DocumentPictures::printOrientation(orientation);
}

ImageRef PaintingView::getImageToSave(DocumentOrientation documentOrientation) {
    reloadOffscreenBufferIfNecessary();
    const Context* painting = offscreen_.context();
    if (!painting)
        return nullptr;
    if (documentOrientation == DocumentOrientation::Upright)
        return CanvasBuffer::uprightPictureOf(*painting);
    if (documentOrientation != DocumentOrientation::Turned)
        return nullptr;
    return DocumentPictures::turnedBackPainting(*painting);
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
    return shown ? DocumentPictures::turnedBackView(*shown) : nullptr;
}

bool PaintingView::writeOnlyImageOut(std::string_view fileName) {
    auto picture = getImageToSave(host().paintingViewDocumentOrientation());
    if (!picture)
        return false;
    auto png = picture->pngData(DocumentFolder::kPngCompressionLevel);
    if (!png) {
        log("Could not encode " + std::string(fileName) + ": " + png.error());
        return false;
    }
    return writeApplicationData(*png, fileName);
}

bool PaintingView::writeImageOut(std::string_view fileName) {
    return writeOnlyImageOut(fileName);
}

} // namespace zorbel
