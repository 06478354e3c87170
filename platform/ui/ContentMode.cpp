#include "platform/ui/ContentMode.h"

#include <algorithm>

namespace platform {

Rect rectForContentMode(ContentMode mode, Size content, const Rect& bounds) {
    const float bw = bounds.width(), bh = bounds.height();
    const float cw = content.width, ch = content.height;
    const float x0 = bounds.minX(), y0 = bounds.minY();
    switch (mode) {
    case ContentMode::ScaleToFill:
    case ContentMode::Redraw:
        return Rect(x0, y0, bw, bh);
    case ContentMode::ScaleAspectFit:
    case ContentMode::ScaleAspectFill: {
        if (cw <= 0 || ch <= 0)
            return Rect(x0, y0, bw, bh);
        const float sx = bw / cw, sy = bh / ch;
        const float s = mode == ContentMode::ScaleAspectFit ? std::min(sx, sy) : std::max(sx, sy);
        const float w = cw * s, h = ch * s;
        return Rect(x0 + (bw - w) / 2, y0 + (bh - h) / 2, w, h);
    }
    case ContentMode::Center:
        return Rect(x0 + (bw - cw) / 2, y0 + (bh - ch) / 2, cw, ch);
    case ContentMode::Top:
        return Rect(x0 + (bw - cw) / 2, y0, cw, ch);
    case ContentMode::Bottom:
        return Rect(x0 + (bw - cw) / 2, y0 + bh - ch, cw, ch);
    case ContentMode::Left:
        return Rect(x0, y0 + (bh - ch) / 2, cw, ch);
    case ContentMode::Right:
        return Rect(x0 + bw - cw, y0 + (bh - ch) / 2, cw, ch);
    case ContentMode::TopLeft:
        return Rect(x0, y0, cw, ch);
    case ContentMode::TopRight:
        return Rect(x0 + bw - cw, y0, cw, ch);
    case ContentMode::BottomLeft:
        return Rect(x0, y0 + bh - ch, cw, ch);
    case ContentMode::BottomRight:
        return Rect(x0 + bw - cw, y0 + bh - ch, cw, ch);
    }
    return Rect(x0, y0, bw, bh);
}

} // namespace platform
