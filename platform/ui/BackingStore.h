#pragma once

#include <memory>

#include "platform/graphics/Context.h"
#include "platform/graphics/Rect.h"
#include "platform/graphics/Size.h"
#include "platform/ui/ContentMode.h"

namespace platform {

// A view's stored drawing: a y-down bitmap of the view's bounds size times
// the window's scale, and the size in points it was drawn for, so that it can
// be laid into other bounds by a content mode without drawing again.
class BackingStore {
public:
    // Pixels wide and high.
    struct PixelSize {
        int width = 0;
        int height = 0;
    };
    // The bitmap size for `size` points at `scale`; 0 x 0 for a size no
    // bitmap can have (a damaged file's frame), as for an empty one.
    static PixelSize pixelSize(Size size, float scale);
    // `dirty` (in bounds coordinates) widened to whole pixels at `scale`, so
    // that no half-covered edge pixel keeps stale drawing; within the bounds.
    static Rect pixelAlignedArea(const Rect& dirty, const Rect& bounds, float scale);

    explicit operator bool() const { return bitmap_ != nullptr; }
    // The bitmap, or null when there is none.
    Context* context() const { return bitmap_.get(); }
    float scale() const { return scale_; }
    // Whether there is a bitmap of this size made for this scale.
    bool fits(PixelSize pixels, float scale) const;
    // A new, transparent bitmap; false (and no bitmap) when it cannot be made.
    bool recreate(PixelSize pixels, float scale);
    void release() { bitmap_.reset(); }

    Size drawnSize() const { return drawnSize_; }
    void setDrawnSize(Size size) { drawnSize_ = size; }

    // Draws the bitmap into `context`, whose user space is the view's shown
    // bounds, laid in by `mode` when their size is not the drawn size.
    void drawInto(Context& context, ContentMode mode, const Rect& shownBounds) const;

private:
    std::unique_ptr<Context> bitmap_;
    Size drawnSize_{};
    float scale_ = 1;
};

} // namespace platform
