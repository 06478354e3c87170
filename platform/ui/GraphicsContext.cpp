#include "platform/ui/GraphicsContext.h"

#include <pixman.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/foundation/Log.h"

namespace platform {

namespace {

struct Entry {
    Context* context;
    std::unique_ptr<Context> owned; // image surfaces
};

std::vector<Entry>& stack() {
    static std::vector<Entry> s;
    return s;
}

// User space of `c` to its pixel grid (x right, y down from the first memory row).
AffineTransform userToPixels(const Context& c) {
    AffineTransform t = c.ctm();
    if (c.yAxis() == YAxis::Up)
        t = t.concat(AffineTransform{1, 0, 0, -1, 0, float(c.height())});
    return t;
}

pixman_fixed_t fixed(double v) {
    return pixman_double_to_fixed(v);
}

} // namespace

Context* currentContext() {
    return stack().empty() ? nullptr : stack().back().context;
}

void pushContext(Context& context) {
    stack().push_back(Entry{&context, nullptr});
}

void popContext() {
    if (!stack().empty())
        stack().pop_back();
}

bool beginImageContext(Size size) {
    const int w = int(std::ceil(size.width)), h = int(std::ceil(size.height));
    if (w <= 0 || h <= 0 || w > Image::kMaxDimension || h > Image::kMaxDimension) {
        log("beginImageContext: unusable size");
        return false;
    }
    auto c = Context::createBitmap(w, h, nullptr, YAxis::Down);
    if (!c) {
        log("beginImageContext: out of memory");
        return false;
    }
    Context* raw = c.get();
    stack().push_back(Entry{raw, std::move(c)});
    return true;
}

ImageRef getImageFromCurrentImageContext() {
    if (stack().empty() || !stack().back().owned)
        return nullptr;
    return stack().back().context->makeImage();
}

void endImageContext() {
    if (!stack().empty() && stack().back().owned)
        stack().pop_back();
}

void rectFill(const Rect& rect) {
    if (Context* c = currentContext())
        c->fillRect(rect);
}

void rectFrame(const Rect& rect) {
    Context* c = currentContext();
    if (!c)
        return;
    const Rect r = rect.standardized();
    if (r.width() <= 2 || r.height() <= 2) {
        c->fillRect(r);
        return;
    }
    c->fillRect(Rect(r.minX(), r.minY(), r.width(), 1));
    c->fillRect(Rect(r.minX(), r.maxY() - 1, r.width(), 1));
    c->fillRect(Rect(r.minX(), r.minY() + 1, 1, r.height() - 2));
    c->fillRect(Rect(r.maxX() - 1, r.minY() + 1, 1, r.height() - 2));
}

void drawContextInRect(Context& target, const Context& source, const Rect& rect) {
    const Rect r = rect.standardized();
    if (r.isEmpty() || source.width() <= 0 || source.height() <= 0)
        return;
    const float alpha = std::clamp(target.alpha(), 0.0f, 1.0f);
    if (alpha <= 0)
        return;
    // Source pixels (y down) -> the rectangle in user space -> target pixels.
    AffineTransform srcToRect{r.width() / float(source.width()),   0,        0,
                              r.height() / float(source.height()), r.minX(), r.minY()};
    if (source.yAxis() == YAxis::Up)
        srcToRect = AffineTransform{1, 0, 0, -1, 0, float(source.height())}.concat(srcToRect);
    const AffineTransform toTarget = userToPixels(target);
    const AffineTransform srcToDst = srcToRect.concat(toTarget);
    // Where it lands, clipped to the target's clip and pixels.
    Rect area = srcToDst.apply(Rect(0, 0, float(source.width()), float(source.height())));
    area = area.intersection(toTarget.apply(target.clipBoundingBox()));
    area = area.intersection(Rect(0, 0, float(target.width()), float(target.height())));
    if (area.isNull() || area.isEmpty())
        return;
    if (srcToDst.b == 0 && srcToDst.c == 0) {
        // The box rounded to the nearest pixel edges, so a scaled picture
        // covers exactly the pixels whose centres it covers.
        const float x0 = std::round(area.minX()), y0 = std::round(area.minY());
        area = Rect(x0, y0, std::round(area.maxX()) - x0, std::round(area.maxY()) - y0);
    } else {
        area = area.integral();
    }
    const int x0 = std::max(0, int(area.minX())), y0 = std::max(0, int(area.minY()));
    const int x1 = std::min(target.width(), int(area.maxX()));
    const int y1 = std::min(target.height(), int(area.maxY()));
    if (x1 <= x0 || y1 <= y0)
        return;

    pixman_image_t* src = pixman_image_create_bits(
        PIXMAN_b8g8r8a8, source.width(), source.height(),
        reinterpret_cast<uint32_t*>(const_cast<std::uint8_t*>(source.data())),
        int(source.bytesPerRow()));
    pixman_image_t* dst = pixman_image_create_bits(PIXMAN_b8g8r8a8, target.width(), target.height(),
                                                   reinterpret_cast<uint32_t*>(target.data()),
                                                   int(target.bytesPerRow()));
    if (!src || !dst) {
        if (src)
            pixman_image_unref(src);
        if (dst)
            pixman_image_unref(dst);
        return;
    }
    const AffineTransform inv = srcToDst.inverted();
    const bool aligned = srcToDst.a == 1 && srcToDst.d == 1 && srcToDst.b == 0 && srcToDst.c == 0 &&
                         srcToDst.tx == std::floor(srcToDst.tx) &&
                         srcToDst.ty == std::floor(srcToDst.ty);
    if (aligned) {
        pixman_image_t* mask = nullptr;
        if (alpha < 1) {
            pixman_color_t m{0, 0, 0, uint16_t(std::lround(alpha * 65535))};
            mask = pixman_image_create_solid_fill(&m);
        }
        pixman_image_composite32(PIXMAN_OP_OVER, src, mask, dst, x0 - int(srcToDst.tx),
                                 y0 - int(srcToDst.ty), 0, 0, x0, y0, x1 - x0, y1 - y0);
        if (mask)
            pixman_image_unref(mask);
    } else {
        pixman_transform_t t;
        pixman_transform_init_identity(&t);
        t.matrix[0][0] = fixed(inv.a);
        t.matrix[0][1] = fixed(inv.c);
        t.matrix[0][2] = fixed(inv.tx);
        t.matrix[1][0] = fixed(inv.b);
        t.matrix[1][1] = fixed(inv.d);
        t.matrix[1][2] = fixed(inv.ty);
        pixman_image_set_transform(src, &t);
        pixman_image_set_filter(src, PIXMAN_FILTER_BILINEAR, nullptr, 0);
        // Scaled without a turn, the picture fills whole pixels of its box:
        // sample its edge pixels outwards (PAD) so the border does not fade
        // into transparency, and stay inside the box (area is that box).
        // Turned, the fade gives the edges their antialiasing.
        const bool axisAligned = srcToDst.b == 0 && srcToDst.c == 0;
        pixman_image_set_repeat(src, axisAligned ? PIXMAN_REPEAT_PAD : PIXMAN_REPEAT_NONE);
        pixman_image_t* mask = nullptr;
        if (alpha < 1) {
            pixman_color_t m{0, 0, 0, uint16_t(std::lround(alpha * 65535))};
            mask = pixman_image_create_solid_fill(&m);
        }
        pixman_image_composite32(PIXMAN_OP_OVER, src, mask, dst, x0, y0, 0, 0, x0, y0, x1 - x0,
                                 y1 - y0);
        if (mask)
            pixman_image_unref(mask);
    }
    pixman_image_unref(src);
    pixman_image_unref(dst);
}

} // namespace platform
