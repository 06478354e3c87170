#pragma once

#include <memory>

#include "platform/graphics/Size.h"

namespace platform {

class Context;

// An offscreen drawing surface, drawn into through its own context and later
// composited with Context::drawLayerAtPoint / drawLayerInRect, which apply the
// destination's alpha and blend mode. Starts transparent.
class Layer {
public:
    // Compatible with `context`: same pixel format and drawing model (y-up).
    // The size is rounded to whole pixels; null for a side under half a pixel
    // or over 16384.
    static std::unique_ptr<Layer> create(const Context& compatibleWith, Size size);

    Size size() const;
    Context& context() { return *context_; }
    const Context& context() const { return *context_; }

    explicit Layer(std::unique_ptr<Context> context);
    ~Layer();

private:
    std::unique_ptr<Context> context_;
};

} // namespace platform
