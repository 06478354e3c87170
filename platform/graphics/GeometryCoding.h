#pragma once

#include <string_view>

#include "platform/foundation/KeyedArchiver.h"
#include "platform/foundation/KeyedUnarchiver.h"
#include "platform/graphics/AffineTransform.h"
#include "platform/graphics/Color.h"
#include "platform/graphics/Point.h"
#include "platform/graphics/Rect.h"

namespace platform {

// Geometry and colours in a keyed archive (encodeCGRect:forKey: and its
// kin). Rectangles are [x, y, width, height], points [x, y], colours
// [grey, alpha] or [red, green, blue, alpha], all as lists of floats; a
// transform is its text, "[a, b, c, d, tx, ty]" (AffineTransform::toString),
// stored as a string.
//
// Every coordinate, size and transform entry must be finite and no larger in
// size than maxArchivedCoordinate, and every colour component within 0 ... 1;
// anything else marks the archiver failed (it is not written) or the
// unarchiver failed (decode returns the zero rectangle or point, black, or the
// identity).

inline constexpr float maxArchivedCoordinate = 1.0e6f;

void encodeRect(KeyedArchiver& coder, const Rect& rect, std::string_view key);
void encodePoint(KeyedArchiver& coder, Point point, std::string_view key);
void encodeColor(KeyedArchiver& coder, const Color& color, std::string_view key);
void encodeTransform(KeyedArchiver& coder, const AffineTransform& transform, std::string_view key);

[[nodiscard]] Rect decodeRect(KeyedUnarchiver& coder, std::string_view key);
[[nodiscard]] Point decodePoint(KeyedUnarchiver& coder, std::string_view key);
[[nodiscard]] Color decodeColor(KeyedUnarchiver& coder, std::string_view key);
[[nodiscard]] AffineTransform decodeTransform(KeyedUnarchiver& coder, std::string_view key);

} // namespace platform
