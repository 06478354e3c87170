#include "canvas/StrokeRenderer.h"

namespace zorbel {

using platform::Context;
using platform::Rect;

bool StrokeRenderer::strokeGoesToPaintLayer() const {
    return brushAlpha_ != 1.0f || brushBlendMode_ != platform::BlendMode::Normal;
}

bool StrokeRenderer::recreateLayer(Context& painting, platform::Size size) {
    layer_ = platform::Layer::create(painting, size);
    if (!layer_)
        return false;
    clearLayer(Rect(0, 0, size.width, size.height));
    return true;
}

void StrokeRenderer::clearLayer(const Rect& bounds) {
    if (!layer_)
        return;
    layer_->context().setAlpha(1);
    layer_->context().clearRect(bounds);
}

void StrokeRenderer::stamp(Context& target, const platform::Layer& stamp, float x, float y) {
    drawCentred(target, stamp, x, y);
    ++stampsPlaced_;
}

void StrokeRenderer::drawCentred(Context& target, const platform::Layer& layer, float x, float y) {
    const platform::Size size = layer.size();
    target.drawLayerAtPoint({x - size.width / 2, y - size.height / 2}, layer);
}

void StrokeRenderer::merge(Context& painting, const Rect& bounds) {
    if (layer_ && strokeGoesToPaintLayer()) {
        platform::GStateGuard guard(painting);
        painting.setAlpha(brushAlpha_);
        painting.setBlendMode(brushBlendMode_);
        painting.drawLayerInRect(bounds, *layer_);
    }
    clearLayer(bounds);
}

void StrokeRenderer::show(Context& screen, const Rect& bounds) const {
    if (!layer_ || !strokeGoesToPaintLayer())
        return;
    // The stroke shows at its opacity however often its stamps overlap.
    screen.setAlpha(brushAlpha_);
    screen.setBlendMode(brushBlendMode_);
    screen.drawLayerInRect(bounds, *layer_);
}

} // namespace zorbel
