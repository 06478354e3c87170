#include "platform/graphics/GeometryCoding.h"

#include <charconv>
#include <cmath>
#include <initializer_list>
#include <optional>
#include <string>
#include <system_error>

namespace platform {

namespace {

std::string quotedKey(std::string_view key) {
    return '"' + std::string(key) + '"';
}

// Beyond this a layer's geometry only overflows the drawing code's integer
// pixel boxes; no gesture a person makes gets near it.
bool usable(float v) {
    return std::isfinite(v) && std::fabs(v) <= maxArchivedCoordinate;
}

bool allUsable(std::initializer_list<float> values) {
    for (float v : values)
        if (!usable(v))
            return false;
    return true;
}

// The transform in AffineTransform::toString's form, "[a, b, c, d, tx, ty]"
// with any spacing; nothing for other text. (fromString would answer the
// identity for damaged text, which must be refused here, not taken.)
std::optional<AffineTransform> parseTransform(std::string_view s) {
    auto skipSpaces = [&s] {
        while (!s.empty() &&
               (s.front() == ' ' || s.front() == '\t' || s.front() == '\n' || s.front() == '\r'))
            s.remove_prefix(1);
    };
    auto expect = [&](char c) {
        skipSpaces();
        if (s.empty() || s.front() != c)
            return false;
        s.remove_prefix(1);
        return true;
    };
    float v[6];
    if (!expect('['))
        return std::nullopt;
    for (int i = 0; i < 6; ++i) {
        if (i && !expect(','))
            return std::nullopt;
        skipSpaces();
        if (!s.empty() && s.front() == '+')
            s.remove_prefix(1);
        const auto res = std::from_chars(s.data(), s.data() + s.size(), v[i]);
        if (res.ec != std::errc() || !std::isfinite(v[i]))
            return std::nullopt;
        s.remove_prefix(std::size_t(res.ptr - s.data()));
    }
    if (!expect(']'))
        return std::nullopt;
    skipSpaces();
    if (!s.empty())
        return std::nullopt;
    return AffineTransform{v[0], v[1], v[2], v[3], v[4], v[5]};
}

bool isComponent(float v) {
    return v >= 0 && v <= 1; // false for NaN
}

// The list under key when it has one of the expected lengths; empty (and the
// coder failed) otherwise.
std::vector<float> decodeList(KeyedUnarchiver& coder, std::string_view key, std::size_t n1,
                              std::size_t n2, const char* what) {
    const bool wasFailed = coder.failed();
    std::vector<float> v = coder.decodeFloats(key);
    if (coder.failed() && !wasFailed)
        return {};
    if (v.size() != n1 && v.size() != n2) {
        coder.failWithReason(quotedKey(key) + " is not " + what);
        return {};
    }
    return v;
}

} // namespace

void encodeRect(KeyedArchiver& coder, const Rect& rect, std::string_view key) {
    if (!allUsable({rect.origin.x, rect.origin.y, rect.size.width, rect.size.height}))
        return coder.failWithReason(quotedKey(key) + " is not a usable rectangle");
    const float v[4] = {rect.origin.x, rect.origin.y, rect.size.width, rect.size.height};
    coder.encodeFloats(v, key);
}

void encodePoint(KeyedArchiver& coder, Point point, std::string_view key) {
    if (!allUsable({point.x, point.y}))
        return coder.failWithReason(quotedKey(key) + " is not a usable point");
    const float v[2] = {point.x, point.y};
    coder.encodeFloats(v, key);
}

void encodeColor(KeyedArchiver& coder, const Color& color, std::string_view key) {
    for (float c : color.components())
        if (!isComponent(c))
            return coder.failWithReason(quotedKey(key) + " is not a usable colour");
    coder.encodeFloats(color.components(), key);
}

void encodeTransform(KeyedArchiver& coder, const AffineTransform& t, std::string_view key) {
    if (!allUsable({t.a, t.b, t.c, t.d, t.tx, t.ty}))
        return coder.failWithReason(quotedKey(key) + " is not a usable transform");
    coder.encodeString(t.toString(), key);
}

Rect decodeRect(KeyedUnarchiver& coder, std::string_view key) {
    const std::vector<float> v = decodeList(coder, key, 4, 4, "a rectangle");
    if (v.empty())
        return Rect::zero();
    if (!allUsable({v[0], v[1], v[2], v[3]})) {
        coder.failWithReason(quotedKey(key) + " is not a usable rectangle");
        return Rect::zero();
    }
    return Rect(v[0], v[1], v[2], v[3]);
}

Point decodePoint(KeyedUnarchiver& coder, std::string_view key) {
    const std::vector<float> v = decodeList(coder, key, 2, 2, "a point");
    if (v.empty())
        return {};
    if (!allUsable({v[0], v[1]})) {
        coder.failWithReason(quotedKey(key) + " is not a usable point");
        return {};
    }
    return {v[0], v[1]};
}

Color decodeColor(KeyedUnarchiver& coder, std::string_view key) {
    const std::vector<float> v = decodeList(coder, key, 2, 4, "a colour");
    if (v.empty())
        return Color::black();
    for (float c : v) {
        if (!isComponent(c)) {
            coder.failWithReason(quotedKey(key) + " is not a usable colour");
            return Color::black();
        }
    }
    return v.size() == 2 ? Color::grey(v[0], v[1]) : Color::rgb(v[0], v[1], v[2], v[3]);
}

AffineTransform decodeTransform(KeyedUnarchiver& coder, std::string_view key) {
    const bool wasFailed = coder.failed();
    const std::string text = coder.decodeString(key);
    if (coder.failed() && !wasFailed)
        return AffineTransform::identity();
    const std::optional<AffineTransform> t = parseTransform(text);
    if (!t || !allUsable({t->a, t->b, t->c, t->d, t->tx, t->ty})) {
        coder.failWithReason(quotedKey(key) + " is not a usable transform");
        return AffineTransform::identity();
    }
    return *t;
}

} // namespace platform
