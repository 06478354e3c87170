#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "platform/graphics/Point.h"
#include "platform/graphics/Rect.h"
#include "platform/graphics/Size.h"

namespace platform {

class Context;
class Font;
using FontRef = std::shared_ptr<const Font>;

// A typeface at a point size. Faces come from the installed fonts through
// fontconfig; the phone font names the app uses ("Helvetica-Bold",
// "MarkerFelt-Thin", "Zapfino", ...) resolve through an alias table to a close
// free face, matched by family, weight and slant. Text is UTF-8, one line.
class Font {
public:
    // The font for a name: an alias ("Georgia-Bold"), or an installed family
    // with an optional style after a dash ("DejaVuSans-BoldOblique",
    // "Liberation Serif"). Null when no installed face has that family.
    static FontRef fontWithName(std::string_view name, float size);
    static FontRef systemFontOfSize(float size);
    static FontRef boldSystemFontOfSize(float size);
    // Opens the faces of interface text, at the sizes the controls ask for,
    // ahead of their first use (fontconfig reads its whole configuration at
    // the first query, and each face is a file to open and parse): for a
    // thread of its own at launch.
    static void warmUpInterfaceFaces();
    // Lets go of the fonts nobody else holds (their faces and the font files
    // they map); they are opened again when next asked for. Returns how many
    // went. Thread-safe.
    static std::size_t purgeUnusedFonts();

    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    const std::string& fontName() const;   // as asked for
    const std::string& familyName() const; // of the face found
    const std::string& styleName() const;  // of the face found ("Bold Italic")
    float pointSize() const;
    FontRef fontWithSize(float size) const;

    float ascender() const;  // above the baseline, in points (positive)
    float descender() const; // below the baseline, in points (negative)
    float lineHeight() const { return ascender() - descender(); }

    // Advance width of the text with kerning, by the line height (ascender plus
    // descender); both rounded up to whole points.
    Size sizeOfString(std::string_view text) const;
    // Width without rounding, for layout that centres text.
    float widthOfString(std::string_view text) const;
    // Draws the text in the context's fill colour with the top-left corner of
    // its line box at p (the baseline lies ascender() below p). Glyphs are
    // rendered at the context's device scale so they stay sharp when zoomed.
    // Answers the size sizeOfString gives.
    Size drawAtPoint(Context& c, Point p, std::string_view text) const;
    // Draws the text centred in r (both ways), shortened with an ellipsis
    // when it does not fit r's width.
    void drawInRectCentered(Context& c, const Rect& r, std::string_view text) const;
    // The text itself when it fits the width, otherwise its longest start
    // followed by "…" that does.
    std::string truncatedToWidth(std::string_view text, float width) const;

    struct Impl;

private:
    explicit Font(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

} // namespace platform
