#pragma once

namespace platform {

struct Size {
    float width = 0;
    float height = 0;

    friend bool operator==(const Size&, const Size&) = default;
};

} // namespace platform
