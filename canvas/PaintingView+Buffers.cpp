// The canvas memory: creation, flush to file and reload of the buffers, and
// the copies between them that make undo and erase-to-original work.

#include <cstring>
#include <utility>

#include "canvas/PaintingView.h"
#include "platform/foundation/Log.h"

namespace zorbel {

using platform::Context;
using platform::log;

namespace {

// True when every alpha byte (the first of each pixel) is 255.
bool bufferIsOpaque(const std::uint8_t* data, std::size_t bytes) {
    // Alpha bytes are every fourth byte; AND them eight pixels at a time.
    std::size_t i = 0;
    for (; i + 32 <= bytes; i += 32) {
        std::uint8_t all = data[i] & data[i + 4] & data[i + 8] & data[i + 12] & data[i + 16] &
                           data[i + 20] & data[i + 24] & data[i + 28];
        if (all != 255)
            return false;
    }
    for (; i < bytes; i += 4)
        if (data[i] != 255)
            return false;
    return true;
}

} // namespace

std::uint8_t* PaintingView::allocateBlock(std::size_t bytes) {
    return static_cast<std::uint8_t*>(std::calloc(bytes, 1));
}

std::unique_ptr<Context> PaintingView::makeBufferContext(std::uint8_t* block) {
    if (!block)
        return nullptr;
    return Context::createBitmap(int(bufferRect_.width()), int(bufferRect_.height()), block);
}

void PaintingView::releaseBuffer(std::unique_ptr<Context>& context, ByteBlock& block) {
    context.reset(); // the context draws into the block: it goes first
    block.reset();
}

// Each re-created buffer starts transparent (allocateBlock clears it), so a
// buffer whose file is missing never shows what the memory held before.
void PaintingView::recreateOffscreenBuffer() {
    releaseBuffer(offscreenPaintContext_, offscreenBitmapData_);
    bitmapByteCount_ = std::int32_t(int(bufferRect_.width() * 4) * int(bufferRect_.height()));
    offscreenBitmapData_.reset(allocateBlock(std::size_t(bitmapByteCount_)));
    offscreenPaintContext_ = makeBufferContext(offscreenBitmapData_.get());
    if (!offscreenPaintContext_) {
        log(" ++++++++++++++++ Out of Memory! recreateOffscreenBuffer 1");
        releaseBuffer(offscreenPaintContext_, offscreenBitmapData_);
    }
}

void PaintingView::recreateUndoBuffer() {
    releaseBuffer(undoLayerContext_, undoBitmapData_);
    bitmapByteCount_ = std::int32_t(int(bufferRect_.width() * 4) * int(bufferRect_.height()));
    undoBitmapData_.reset(allocateBlock(std::size_t(bitmapByteCount_)));
    undoLayerContext_ = makeBufferContext(undoBitmapData_.get());
    if (!undoLayerContext_) {
        log(" ++++++++++++++++ Out of Memory! recreateUndoBuffer 2");
        releaseBuffer(undoLayerContext_, undoBitmapData_);
    }
}

void PaintingView::recreateOrgImageBuffer() {
    releaseBuffer(orgImageOffscreenContext_, orgImageBitmapData_);
    bitmapByteCount_ = std::int32_t(int(bufferRect_.width() * 4) * int(bufferRect_.height()));
    orgImageBitmapData_.reset(allocateBlock(std::size_t(bitmapByteCount_)));
    orgImageOffscreenContext_ = makeBufferContext(orgImageBitmapData_.get());
    if (!orgImageOffscreenContext_) {
        log(" ++++++++++++++++ Out of Memory! recreateOrgImageBuffer 1");
        releaseBuffer(orgImageOffscreenContext_, orgImageBitmapData_);
    }
}

void PaintingView::recreatePaintLayer() {
    paintlayer_.reset();
    reloadOffscreenBufferIfNecessary();
    if (!offscreenPaintContext_)
        return;
    paintlayer_ = platform::Layer::create(*offscreenPaintContext_,
                                          {float(kCanvasWidth), float(kCanvasHeight)});
    if (!paintlayer_) {
        log(" ++++++++++++++++ Out of Memory! recreatePaintLayer 1");
        return;
    }
    paintlayer_->context().setAlpha(1);
    paintlayer_->context().clearRect(bufferRect_);
}

// A buffer is released only once its picture is safely in its file: when the
// write fails the buffer stays resident, so the painting is never lost.
void PaintingView::flushOffscreenBuffer() {
    if (!offscreenPaintContext_)
        return;
    if (!writeOnlyRawImageOut(kTempImageFile)) {
        log("Problem saving temp image");
        return;
    }
    releaseBuffer(offscreenPaintContext_, offscreenBitmapData_);
}

void PaintingView::flushUndoBuffer() {
    if (!undoLayerContext_)
        return;
    if (!writeOnlyRawImageNamed(kUndoFile, undoLayerContext_.get())) {
        log("problem saving undo file");
        return;
    }
    undoImageHasBeenSaved_ = true;
    releaseBuffer(undoLayerContext_, undoBitmapData_);
}

void PaintingView::flushUndoBufferNoSave() {
    undoImageHasBeenSaved_ = false;
    releaseBuffer(undoLayerContext_, undoBitmapData_);
}

void PaintingView::flushOrgImageBuffer() {
    if (!orgImageOffscreenContext_)
        return;
    if (!writeOrgImageOut(kOrgImageFile)) {
        log("Problem in flushOrgImageBuffer with writeOrgImageOut");
        return;
    }
    releaseBuffer(orgImageOffscreenContext_, orgImageBitmapData_);
}

void PaintingView::flushPaintLayer() {
    paintlayer_.reset();
}

void PaintingView::reloadOffscreenBufferIfNecessary() {
    if (offscreenPaintContext_)
        return;
    log("Needed to reloadOffscreenBuffer");
    recreateOffscreenBuffer();
    readRawImageOffscreen(kTempImageFile);
}

void PaintingView::reloadUndoBufferIfNecessary() {
    if (undoLayerContext_)
        return;
    recreateUndoBuffer();
    if (undoImageHasBeenSaved_)
        readRawImageNamed(kUndoFile, undoLayerContext_.get());
}

void PaintingView::reloadOrgImageBufferIfNecessary() {
    if (orgImageOffscreenContext_)
        return;
    log("Needed to reloadOrgImageBuffer");
    recreateOrgImageBuffer();
    reloadOrgImageInfoBuffer(orgImageOffscreenContext_.get());
}

void PaintingView::reloadPaintLayerIfNecessary() {
    if (!paintlayer_)
        recreatePaintLayer();
}

void PaintingView::reloadPaintOffscreensIfNecessary() {
    reloadOffscreenBufferIfNecessary();
    reloadUndoBufferIfNecessary();
    reloadPaintLayerIfNecessary();
}

void PaintingView::reloadOffscreenAndUndoIfNecessary() {
    reloadOffscreenBufferIfNecessary();
    reloadUndoBufferIfNecessary();
}

void PaintingView::lowMemoryWarning() {
    log("Paint view lowMemoryWarning");
    flushUndoBuffer();
    flushOrgImageBuffer();
    flushPaintLayer();
    flushOffscreenBuffer();
}

void PaintingView::flushAllBuffers() {
    log("flushAllBuffers");
    flushUndoBuffer();
    flushOrgImageBuffer();
    flushPaintLayer();
    flushOffscreenBuffer();
}

void PaintingView::flushAuxillaryBuffers() {
    log("flushAuxillaryBuffers");
    flushUndoBuffer();
    flushOrgImageBuffer();
    flushPaintLayer();
}

void PaintingView::copyBuffer(const ByteBlock& from, const ByteBlock& to) {
    if (from && to)
        std::memcpy(to.get(), from.get(), std::size_t(bitmapByteCount_));
}

void PaintingView::copyToUndoBuffer() {
    rawcopyToUndoBuffer();
    setNeedsDisplay();
}

void PaintingView::rawcopyToUndoBuffer() {
    reloadOffscreenAndUndoIfNecessary();
    copyBuffer(offscreenBitmapData_, undoBitmapData_);
}

void PaintingView::copyFromUndoBuffer() {
    reloadOffscreenAndUndoIfNecessary();
    copyBuffer(undoBitmapData_, offscreenBitmapData_);
    setNeedsDisplay();
}

void PaintingView::copyToOrgImageBuffer() {
    rawcopyToOrgImageBuffer();
    setNeedsDisplay();
}

void PaintingView::rawcopyToOrgImageBuffer() {
    reloadOffscreenBufferIfNecessary();
    reloadOrgImageBufferIfNecessary();
    copyBuffer(offscreenBitmapData_, orgImageBitmapData_);
}

void PaintingView::copyFromOrgImageBuffer() {
    rawcopFromOrgImageBuffer();
    setNeedsDisplay();
}

void PaintingView::rawcopFromOrgImageBuffer() {
    reloadOffscreenBufferIfNecessary();
    reloadOrgImageBufferIfNecessary();
    copyBuffer(orgImageBitmapData_, offscreenBitmapData_);
}

// Each picture is drawn over the other at full opacity. When both are opaque
// that is an exchange, done by exchanging the buffers themselves.
void PaintingView::switchUndoBuffer() {
    reloadUndoBufferIfNecessary();
    reloadOffscreenBufferIfNecessary();
    if (!offscreenPaintContext_ || !undoLayerContext_)
        return;
    const std::size_t bytes = std::size_t(bitmapByteCount_);
    if (bufferIsOpaque(offscreenBitmapData_.get(), bytes) &&
        bufferIsOpaque(undoBitmapData_.get(), bytes)) {
        std::swap(offscreenPaintContext_, undoLayerContext_);
        std::swap(offscreenBitmapData_, undoBitmapData_);
    } else {
        auto offscreenPicture = offscreenPaintContext_->makeImage();
        auto undoPicture = undoLayerContext_->makeImage();
        for (auto [target, picture] :
             {std::pair{undoLayerContext_.get(), offscreenPicture.get()},
              std::pair{offscreenPaintContext_.get(), undoPicture.get()}}) {
            if (!picture)
                continue;
            platform::GStateGuard guard(*target);
            target->setAlpha(1);
            target->setBlendMode(platform::BlendMode::Normal);
            target->drawImage(bufferRect_, *picture);
        }
    }
    setNeedsDisplay();
}

void PaintingView::eraseImageToOriginal() {
    rawcopyToUndoBuffer();
    copyFromOrgImageBuffer();
}

} // namespace zorbel
