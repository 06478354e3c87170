#pragma once

#include <cstdint>
#include <memory>

#include "platform/graphics/BlendMode.h"
#include "platform/graphics/Context.h"
#include "platform/graphics/Layer.h"
#include "platform/graphics/Rect.h"

namespace zorbel {

// The stroke in progress: its opacity, blend mode and stamp spacing, and the
// stroke layer. Stamps of an opaque, normal stroke go straight into the
// painting; any other stroke is stamped at full strength into the stroke
// layer, shown over the painting at its opacity and blend mode while the
// finger moves and merged into it once, so that it has one opacity however
// often its stamps overlap.
class StrokeRenderer {
public:
    float brushAlpha() const { return brushAlpha_; }
    void setBrushAlpha(float alpha) { brushAlpha_ = alpha; }
    platform::BlendMode brushBlendMode() const { return brushBlendMode_; }
    void setBrushBlendMode(platform::BlendMode mode) { brushBlendMode_ = mode; }
    // Points between stamps along a segment.
    float brushPixelStep() const { return brushPixelStep_; }
    void setBrushPixelStep(float step) { brushPixelStep_ = step; }

    // True when stamps go into the stroke layer (opacity below 1 or a blend mode).
    bool strokeGoesToPaintLayer() const;

    // The stroke layer: made compatible with the painting's context, of the
    // canvas size, clear. False when it could not be made.
    bool recreateLayer(platform::Context& painting, platform::Size size);
    void releaseLayer() { layer_.reset(); }
    platform::Layer* layer() const { return layer_.get(); }
    // Alpha 1, all transparent; nothing without a layer.
    void clearLayer(const platform::Rect& bounds);

    // One stamp of a stroke centred at (x, y) into `target`.
    void stamp(platform::Context& target, const platform::Layer& stamp, float x, float y);
    // The stamps placed so far: what the strokes have cost.
    std::uint64_t stampsPlaced() const { return stampsPlaced_; }
    // Draws `layer` centred at (x, y).
    static void drawCentred(platform::Context& target, const platform::Layer& layer, float x,
                            float y);
    // The stroke layer into the painting once, at the stroke's opacity and
    // blend mode (when it was used), then cleared.
    void merge(platform::Context& painting, const platform::Rect& bounds);
    // The stroke layer shown over what `screen` holds, when it is used.
    void show(platform::Context& screen, const platform::Rect& bounds) const;

private:
    std::unique_ptr<platform::Layer> layer_;
    float brushAlpha_ = 1;
    platform::BlendMode brushBlendMode_ = platform::BlendMode::Normal;
    float brushPixelStep_ = 1;
    std::uint64_t stampsPlaced_ = 0;
};

} // namespace zorbel
