#pragma once

namespace platform {

// A position in points; 32-bit floats as in every drawing call.
struct Point {
    float x = 0;
    float y = 0;

    friend bool operator==(const Point&, const Point&) = default;
};

} // namespace platform
