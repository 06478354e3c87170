#pragma once

#include <cstddef>
#include <span>

namespace platform {

// A colour in device RGB, or in the grey-and-alpha form. components() is
// (grey, alpha) for the grey form and (red, green, blue, alpha) otherwise.
class Color {
public:
    constexpr Color() : Color(0, 0, 0, 1) {}
    static constexpr Color rgb(float r, float g, float b, float a = 1) { return Color(r, g, b, a); }
    static constexpr Color grey(float white, float a = 1) {
        Color c(white, white, white, a);
        c.count_ = 2;
        c.c_[1] = a;
        return c;
    }
    static constexpr Color black() { return grey(0); }
    static constexpr Color white() { return grey(1); }
    static constexpr Color clear() { return grey(0, 0); }
    // Pure blue (the component accessor blue() takes the short name).
    static constexpr Color blueColor() { return rgb(0, 0, 1); }

    std::span<const float> components() const { return {c_, count_}; }
    std::size_t numberOfComponents() const { return count_; }
    float red() const { return c_[0]; }
    float green() const { return count_ == 2 ? c_[0] : c_[1]; }
    float blue() const { return count_ == 2 ? c_[0] : c_[2]; }
    float alpha() const { return count_ == 2 ? c_[1] : c_[3]; }
    Color withAlpha(float a) const {
        return count_ == 2 ? grey(c_[0], a) : rgb(c_[0], c_[1], c_[2], a);
    }

    friend bool operator==(const Color& l, const Color& r) {
        if (l.count_ != r.count_)
            return false;
        for (std::size_t i = 0; i < l.count_; ++i)
            if (l.c_[i] != r.c_[i])
                return false;
        return true;
    }

private:
    constexpr Color(float r, float g, float b, float a) : c_{r, g, b, a}, count_(4) {}
    float c_[4];
    std::size_t count_;
};

} // namespace platform
