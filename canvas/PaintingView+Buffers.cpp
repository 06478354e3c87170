// The canvas memory: creation, flush to file and reload of the buffers, and
// the copies between them that make undo and erase-to-original work.

#include "canvas/PaintingView.h"
#include "platform/foundation/Log.h"

namespace zorbel {

using platform::log;

void PaintingView::recreateOffscreenBuffer() {
    if (offscreen_.recreate() != CanvasBuffer::Made::Yes)
        log(" ++++++++++++++++ Out of Memory! recreateOffscreenBuffer 1");
}

void PaintingView::recreateUndoBuffer() {
    if (undo_.recreate() != CanvasBuffer::Made::Yes)
        log(" ++++++++++++++++ Out of Memory! recreateUndoBuffer 2");
}

void PaintingView::recreateOrgImageBuffer() {
    if (original_.recreate() != CanvasBuffer::Made::Yes)
        log(" ++++++++++++++++ Out of Memory! recreateOrgImageBuffer 1");
}

void PaintingView::recreatePaintLayer() {
    renderer_.releaseLayer();
    reloadOffscreenBufferIfNecessary();
    if (!offscreen_.isResident())
        return;
    if (!renderer_.recreateLayer(*offscreen_.context(),
                                 {float(kCanvasWidth), float(kCanvasHeight)}))
        log(" ++++++++++++++++ Out of Memory! recreatePaintLayer 1");
}

// A buffer whose file cannot be written stays resident: nothing is lost.
void PaintingView::flushOffscreenBuffer() {
    if (!offscreen_.flush(documents_))
        log("Problem saving temp image");
}

void PaintingView::flushUndoBuffer() {
    if (!undo_.isResident())
        return;
    if (!undo_.flush(documents_)) {
        log("problem saving undo file");
        return;
    }
    undoImageHasBeenSaved_ = true;
}

void PaintingView::flushUndoBufferNoSave() {
    undoImageHasBeenSaved_ = false;
    undo_.release();
}

void PaintingView::flushOrgImageBuffer() {
    if (!original_.flush(documents_))
        log("Problem in flushOrgImageBuffer with writeOrgImageOut");
}

void PaintingView::flushPaintLayer() {
    renderer_.releaseLayer();
}

void PaintingView::reloadOffscreenBufferIfNecessary() {
    if (offscreen_.isResident())
        return;
    log("Needed to reloadOffscreenBuffer");
    recreateOffscreenBuffer();
    readRawImageOffscreen(DocumentFolder::kTempImageFile);
}

void PaintingView::reloadUndoBufferIfNecessary() {
    if (undo_.isResident())
        return;
    recreateUndoBuffer();
    if (undoImageHasBeenSaved_)
        readRawImageNamed(DocumentFolder::kUndoFile, undo_.context());
}

// The original comes back from the picture kept in memory, not from its file.
void PaintingView::reloadOrgImageBufferIfNecessary() {
    if (original_.isResident())
        return;
    log("Needed to reloadOrgImageBuffer");
    recreateOrgImageBuffer();
    reloadOrgImageInfoBuffer(original_.context());
}

void PaintingView::reloadPaintLayerIfNecessary() {
    if (!renderer_.layer())
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

void PaintingView::copyToUndoBuffer() {
    rawcopyToUndoBuffer();
    setNeedsDisplay();
}

// The undo picture is replaced whole: one that waits in its file is not
// read back first (the first stroke after a launch would wait for it).
void PaintingView::rawcopyToUndoBuffer() {
    reloadOffscreenBufferIfNecessary();
    if (!undo_.isResident())
        recreateUndoBuffer();
    undo_.copyFrom(offscreen_);
}

void PaintingView::copyFromUndoBuffer() {
    reloadOffscreenAndUndoIfNecessary();
    offscreen_.copyFrom(undo_);
    setNeedsDisplay();
}

void PaintingView::copyToOrgImageBuffer() {
    rawcopyToOrgImageBuffer();
    setNeedsDisplay();
}

void PaintingView::rawcopyToOrgImageBuffer() {
    reloadOffscreenBufferIfNecessary();
    if (!original_.isResident())
        recreateOrgImageBuffer();
    original_.copyFrom(offscreen_);
}

void PaintingView::copyFromOrgImageBuffer() {
    rawcopFromOrgImageBuffer();
    setNeedsDisplay();
}

void PaintingView::rawcopFromOrgImageBuffer() {
    reloadOffscreenBufferIfNecessary();
    reloadOrgImageBufferIfNecessary();
    offscreen_.copyFrom(original_);
}

// Each picture is drawn over the other at full opacity. When both are opaque
// that is an exchange, done by exchanging the buffers themselves.
void PaintingView::switchUndoBuffer() {
    reloadUndoBufferIfNecessary();
    reloadOffscreenBufferIfNecessary();
    if (!offscreen_.isResident() || !undo_.isResident())
        return;
    if (offscreen_.isOpaque() && undo_.isOpaque()) {
        offscreen_.exchange(undo_);
    } else {
        auto offscreenPicture = offscreen_.context()->makeImage();
        auto undoPicture = undo_.context()->makeImage();
        for (auto [target, picture] : {std::pair{undo_.context(), offscreenPicture.get()},
                                       std::pair{offscreen_.context(), undoPicture.get()}}) {
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
