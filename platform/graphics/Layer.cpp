#include "platform/graphics/Layer.h"

#include <cmath>

#include "platform/graphics/Context.h"

namespace platform {

std::unique_ptr<Layer> Layer::create(const Context&, Size size) {
    if (!(size.width >= 0.5f && size.height >= 0.5f) || size.width > 16384 || size.height > 16384)
        return nullptr;
    auto context = Context::createBitmap(int(std::lround(size.width)),
                                         int(std::lround(size.height)), nullptr, YAxis::Up);
    if (!context)
        return nullptr;
    return std::make_unique<Layer>(std::move(context));
}

Layer::Layer(std::unique_ptr<Context> context) : context_(std::move(context)) {}

Layer::~Layer() = default;

Size Layer::size() const {
    return {float(context_->width()), float(context_->height())};
}

} // namespace platform
