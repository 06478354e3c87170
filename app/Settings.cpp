#include "app/Settings.h"

namespace zorbel {

std::vector<platform::Color> Settings::defaultPalette() {
    using platform::Color;
    return {
        Color::rgb(1.0f, 1.0f, 1.0f),                         // white
        Color::rgb(0.666666687f, 0.666666687f, 0.666666687f), // light grey
        Color::rgb(0.5f, 0.5f, 0.5f),                         // grey
        // The float just below a third (0x3EAAAAAA), not the nearest one.
        Color::rgb(0.333333313f, 0.333333313f, 0.333333313f), // dark grey
        Color::rgb(0.0f, 0.0f, 0.0f),                         // black
        Color::rgb(1.0f, 0.0f, 0.0f),                         // red
        Color::rgb(1.0f, 0.5f, 0.0f),                         // orange
        Color::rgb(1.0f, 1.0f, 0.0f),                         // yellow
        Color::rgb(0.0f, 1.0f, 0.0f),                         // green
        Color::rgb(0.0f, 1.0f, 1.0f),                         // cyan
        Color::rgb(0.0f, 0.0f, 1.0f),                         // blue
        Color::rgb(1.0f, 0.0f, 1.0f),                         // magenta
    };
}

} // namespace zorbel
