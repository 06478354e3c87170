#pragma once

namespace platform {

// Blend modes by the numbers the settings store and the brush picker use.
enum class BlendMode : int {
    Normal = 0,
    Multiply = 1,
    Screen = 2,
    Overlay = 3,
    Darken = 4,
    Lighten = 5,
    Clear = 16, // writes transparent; used to clear a rectangle
    Copy = 17,  // replaces the destination
};

// Any number outside the table above reads as Normal.
BlendMode blendModeFromInt(int value);

} // namespace platform
