#include "platform/ui/Autoresizing.h"

#include <algorithm>

namespace platform {

Rect autoresizedFrame(unsigned mask, const Rect& frame, Size oldSuper, Size newSuper) {
    const unsigned m = mask;
    const Rect& f = frame;
    // Each axis: the change in the superview's size is shared among the
    // flexible parts in proportion to their present sizes (equally when all
    // of them are zero).
    auto distribute = [](float delta, bool flexA, bool flexSize, bool flexB, float a, float size,
                         float b, float& outA, float& outSize) {
        outA = a;
        outSize = size;
        float total = (flexA ? a : 0) + (flexSize ? size : 0) + (flexB ? b : 0);
        const int count = int(flexA) + int(flexSize) + int(flexB);
        if (count == 0)
            return;
        if (total <= 0) {
            const float share = delta / float(count);
            if (flexA)
                outA += share;
            if (flexSize)
                outSize += share;
            return;
        }
        if (flexA)
            outA += delta * a / total;
        if (flexSize)
            outSize += delta * size / total;
    };
    float x, w, y, h;
    distribute(newSuper.width - oldSuper.width, m & AutoresizingFlexibleLeftMargin,
               m & AutoresizingFlexibleWidth, m & AutoresizingFlexibleRightMargin, f.minX(),
               f.width(), oldSuper.width - f.maxX(), x, w);
    distribute(newSuper.height - oldSuper.height, m & AutoresizingFlexibleTopMargin,
               m & AutoresizingFlexibleHeight, m & AutoresizingFlexibleBottomMargin, f.minY(),
               f.height(), oldSuper.height - f.maxY(), y, h);
    return Rect(x, y, std::max(0.0f, w), std::max(0.0f, h));
}

} // namespace platform
