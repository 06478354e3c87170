#include "platform/graphics/BlendMode.h"

namespace platform {

BlendMode blendModeFromInt(int value) {
    switch (value) {
    case int(BlendMode::Normal):
    case int(BlendMode::Multiply):
    case int(BlendMode::Screen):
    case int(BlendMode::Overlay):
    case int(BlendMode::Darken):
    case int(BlendMode::Lighten):
    case int(BlendMode::Clear):
    case int(BlendMode::Copy):
        return BlendMode(value);
    default:
        return BlendMode::Normal;
    }
}

} // namespace platform
