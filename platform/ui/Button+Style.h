#pragma once

// The look shared by the controls and the chrome: colours, metrics and a few
// drawing helpers (rounded rectangles, stretchable pictures, soft shadows).

#include "platform/graphics/Color.h"
#include "platform/graphics/Context.h"
#include "platform/graphics/Image.h"
#include "platform/graphics/Rect.h"

namespace platform::style {

// Colours of a light, flat touch interface.
inline constexpr Color kTint = Color::rgb(0.0f, 0.478f, 1.0f);          // links, selections
inline constexpr Color kDestructive = Color::rgb(1.0f, 0.231f, 0.188f); // red actions
inline constexpr Color kLabel = Color::rgb(0.0f, 0.0f, 0.0f);
inline constexpr Color kSecondaryLabel = Color::rgb(0.56f, 0.56f, 0.58f);
inline constexpr Color kPlaceholder = Color::rgb(0.78f, 0.78f, 0.80f);
inline constexpr Color kSeparator = Color::rgb(0.78f, 0.78f, 0.80f);
inline constexpr Color kTrack = Color::rgb(0.71f, 0.71f, 0.72f);
inline constexpr Color kFieldBorder = Color::rgb(0.80f, 0.80f, 0.82f);
inline constexpr Color kBarLight = Color::rgb(0.97f, 0.97f, 0.97f, 0.96f);
inline constexpr Color kBarDark = Color::rgb(0.08f, 0.08f, 0.09f, 0.86f);
inline constexpr Color kBarDarkOpaque = Color::rgb(0.08f, 0.08f, 0.09f);
inline constexpr Color kSheetBackground = Color::rgb(0.97f, 0.97f, 0.97f, 0.97f);
inline constexpr Color kDimming = Color::rgb(0, 0, 0, 0.4f);
inline constexpr Color kSwitchOn = Color::rgb(0.298f, 0.851f, 0.392f);
inline constexpr Color kKeyboardBackground = Color::rgb(0.82f, 0.84f, 0.86f);
inline constexpr Color kKeyFace = Color::rgb(1, 1, 1);
inline constexpr Color kKeyFaceDark = Color::rgb(0.67f, 0.70f, 0.74f);

void fillRoundedRect(Context& c, const Rect& r, float radius, const Color& color);
// A line of `width` just inside the rectangle's edge.
void strokeRoundedRect(Context& c, const Rect& r, float radius, const Color& color,
                       float width = 1);
void fillEllipse(Context& c, const Rect& r, const Color& color);
// A blurred dark shadow under a rounded shape (a few translucent rings).
void dropShadow(Context& c, const Rect& r, float radius, float offsetY, float alpha);
// A one-pixel line on the device grid (hairlines of bars and separators).
void hairline(Context& c, Point from, Point to, const Color& color);

// Draws `image` into `r` stretched as a stretchable picture: the left
// `leftCap` columns and the columns right of the one after them keep their
// width, that one column stretches; the same for `topCap` rows. A cap of 0
// stretches the whole picture along that axis.
void drawStretchable(Context& c, const Image& image, const Rect& r, int leftCap, int topCap);

} // namespace platform::style
