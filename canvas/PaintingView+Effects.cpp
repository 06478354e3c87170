// The canvas's picture effects: each snapshots or reuses the undo buffer and runs one pixel
// function from it into the painting. The pixel work itself lives in effects/.
#include <algorithm>
#include <string>

#include "canvas/PaintingView.h"
#include "effects/BulgeImageBitmap.h"
#include "effects/ContrastLUT.h"
#include "effects/DentImageBitmap.h"
#include "effects/FisheyeImageBitmap.h"
#include "effects/GrayLUTImageBitmap.h"
#include "effects/GrayScaleImageBitmap.h"
#include "effects/LightTunnelImageBitmap.h"
#include "effects/MirrorImageBitmap.h"
#include "effects/SingleChannelLUT.h"
#include "effects/SqueezeImage2.h"
#include "effects/TwirlImage3.h"
#include "platform/foundation/Log.h"

namespace zorbel {

namespace {

using BufferEffect = void (*)(const std::uint8_t* src, std::uint8_t* dst, int width, int height);

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

// A one-shot effect: snapshot into the undo buffer, then the effect from it into the painting.
void applyOneShotEffect(PaintingView& view, BufferEffect effect) {
    view.copyToUndoBuffer();
    int width = 0;
    int height = 0;
    if (effectBufferSize(view, width, height))
        effect(view.undoBitmapData(), view.offscreenBitmapData(), width, height);
    view.setNeedsDisplay();
}

} // namespace

void PaintingView::applyBulge() {
    applyOneShotEffect(*this, bulgeImageBitmap);
}

void PaintingView::applyDent() {
    applyOneShotEffect(*this, dentImageBitmap);
}

void PaintingView::applyFisheye() {
    applyOneShotEffect(*this, fisheyeImageBitmap);
}

void PaintingView::applyLightTunnel() {
    applyOneShotEffect(*this, lightTunnelImageBitmap);
}

void PaintingView::applySqueeze2() {
    applyOneShotEffect(*this, squeezeImage2);
}

void PaintingView::applyGrayScale() {
    applyOneShotEffect(*this, grayScaleImageBitmap);
}

void PaintingView::applySepiaToColor() {
    copyToUndoBuffer();
    int width = 0;
    int height = 0;
    if (effectBufferSize(*this, width, height)) {
        ColorLUT table{};
        createSepiaLUT(table);
        grayLUTImageBitmap(undoBitmapData(), offscreenBitmapData(), width, height, table);
    }
    setNeedsDisplay();
}

void PaintingView::applyHorzMirror(bool vertical) {
    copyToUndoBuffer();
    int width = 0;
    int height = 0;
    if (effectBufferSize(*this, width, height))
        mirrorImageBitmap(undoBitmapData(), offscreenBitmapData(), width, height, vertical);
    setNeedsDisplay();
}

void PaintingView::setUpTwirlAdjustment() {
    rawcopyToUndoBuffer();
}

// The slider updates recompute from the snapshot the set-up took. A memory warning may have
// flushed both buffers since; they come back from their files (the undo file holds the
// snapshot), so the preview goes on from the same picture.
void PaintingView::updateTwirl2Value(float amount) {
    reloadOffscreenAndUndoIfNecessary();
    int width = 0;
    int height = 0;
    if (effectBufferSize(*this, width, height))
        twirlImage3(undoBitmapData(), offscreenBitmapData(), width, height, amount, false);
    setNeedsDisplay();
}

void PaintingView::updateTwirl2ValueInterp(float amount) {
    reloadOffscreenAndUndoIfNecessary();
    int width = 0;
    int height = 0;
    if (effectBufferSize(*this, width, height))
        twirlImage3(undoBitmapData(), offscreenBitmapData(), width, height, amount, true);
    setNeedsDisplay();
}

void PaintingView::setUpBrightnessAdjustment() {
    rawcopyToUndoBuffer();
}

void PaintingView::setUpContrastAdjustment() {
    rawcopyToUndoBuffer();
}

void PaintingView::updateBrightness(int amount) {
    reloadOffscreenAndUndoIfNecessary();
    int width = 0;
    int height = 0;
    if (effectBufferSize(*this, width, height)) {
        SingleChannelLUT table{};
        createBrightnessLUT(table, amount);
        applySingleChannelLUTRaw(undoBitmapData(), offscreenBitmapData(), width, height, table);
    }
    setNeedsDisplay();
}

void PaintingView::updateContrast(int amount) {
    reloadOffscreenAndUndoIfNecessary();
    int width = 0;
    int height = 0;
    if (effectBufferSize(*this, width, height)) {
        SingleChannelLUT table{};
        createIdentityLUT(table);
        createNewContrastLUT(table, amount);
        applySingleChannelLUTRaw(undoBitmapData(), offscreenBitmapData(), width, height, table);
    }
    setNeedsDisplay();
}

} // namespace zorbel
