// The canvas's picture effects: each snapshots or reuses the undo buffer and runs one effect of
// the registry from it into the painting. The pixel work itself lives in effects/.
#include <algorithm>
#include <string>

#include "canvas/PaintingView.h"
#include "effects/EffectRegistry.h"
#include "platform/foundation/Log.h"

namespace zorbel {

namespace {

// The effects take their size from bufferRect, truncated. The buffers hold bitmapByteCount
// bytes; a rectangle that does not fit them would make an effect read and write past their
// end, so it is refused with a log line instead.
bool effectBufferSize(const PaintingView& view, int& width, int& height) {
    const float w = view.bufferRect().size.width;
    const float h = view.bufferRect().size.height;
    if (w >= 1.0f && h >= 1.0f &&
        double(int(std::min(w, 1.0e9f))) * double(int(std::min(h, 1.0e9f))) * 4.0 <=
            double(view.bitmapByteCount())) {
        width = int(w);
        height = int(h);
        return true;
    }
    platform::log("Effect skipped: bufferRect " + std::to_string(w) + " x " + std::to_string(h) +
                  " does not fit the canvas buffers");
    return false;
}

// The effect from the undo buffer into the painting, then a redisplay.
void runFromUndo(PaintingView& view, EffectId id, double amount = 0, bool option = false) {
    int width = 0;
    int height = 0;
    if (effectBufferSize(view, width, height))
        effectFor(id).apply({view.undoBitmapData(), view.offscreenBitmapData(), width, height},
                            amount, option);
    view.setNeedsDisplay();
}

// A one-shot effect: snapshot into the undo buffer, then the effect from it.
void applyOneShotEffect(PaintingView& view, EffectId id, bool option = false) {
    view.copyToUndoBuffer();
    runFromUndo(view, id, 0, option);
}

// The slider updates recompute from the snapshot the set-up took. A memory warning may have
// flushed both buffers since; they come back from their files (the undo file holds the
// snapshot), so the preview goes on from the same picture.
void updateFromSnapshot(PaintingView& view, EffectId id, double amount, bool option = false) {
    view.reloadOffscreenAndUndoIfNecessary();
    runFromUndo(view, id, amount, option);
}

} // namespace

void PaintingView::applyBulge() {
    applyOneShotEffect(*this, EffectId::Bulge);
}

void PaintingView::applyDent() {
    applyOneShotEffect(*this, EffectId::Dent);
}

void PaintingView::applyFisheye() {
    applyOneShotEffect(*this, EffectId::Fisheye);
}

void PaintingView::applyLightTunnel() {
    applyOneShotEffect(*this, EffectId::LightTunnel);
}

void PaintingView::applySqueeze2() {
    applyOneShotEffect(*this, EffectId::Squeeze);
}

void PaintingView::applyGrayScale() {
    applyOneShotEffect(*this, EffectId::GrayScale);
}

void PaintingView::applySepiaToColor() {
    applyOneShotEffect(*this, EffectId::Sepia);
}

void PaintingView::applyHorzMirror(bool vertical) {
    applyOneShotEffect(*this, EffectId::Mirror, vertical);
}

void PaintingView::setUpTwirlAdjustment() {
    rawcopyToUndoBuffer();
}

void PaintingView::updateTwirl2Value(float amount) {
    updateFromSnapshot(*this, EffectId::Twirl, amount);
}

void PaintingView::updateTwirl2ValueInterp(float amount) {
    updateFromSnapshot(*this, EffectId::Twirl, amount, true);
}

void PaintingView::setUpBrightnessAdjustment() {
    rawcopyToUndoBuffer();
}

void PaintingView::setUpContrastAdjustment() {
    rawcopyToUndoBuffer();
}

void PaintingView::updateBrightness(int amount) {
    updateFromSnapshot(*this, EffectId::Brightness, amount);
}

void PaintingView::updateContrast(int amount) {
    updateFromSnapshot(*this, EffectId::Contrast, amount);
}

} // namespace zorbel
