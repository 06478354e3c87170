#include "platform/ui/GraphicsContext.h"

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
    // The graphics layer's own rule (and its fast paths): a y-down source's
    // first row lands at the rectangle's top.
    target.drawContext(rect, source);
}

} // namespace platform
