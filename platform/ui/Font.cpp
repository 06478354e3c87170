#include "platform/ui/Font.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <utility>
#include <vector>

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H
#include FT_OUTLINE_H
#include <harfbuzz/hb.h>

#include "platform/foundation/FileIO.h"
#include "platform/foundation/Log.h"
#include "platform/graphics/Context.h"
#include "platform/ui/FontFaces.h"

namespace platform {

using detail::FaceQuery;
using detail::FoundFace;
using detail::kSystemFamily;
using detail::matchFace;
using detail::queryForName;

namespace {

// ---------------------------------------------------------------------------
// The font libraries, set up once.

std::mutex& libraryMutex() {
    static std::mutex m;
    return m;
}

FT_Library freeType() {
    static FT_Library library = [] {
        FT_Library lib = nullptr;
        if (FT_Init_FreeType(&lib) != 0) {
            log("FreeType could not be initialised; no text can be drawn");
            return FT_Library(nullptr);
        }
        return lib;
    }();
    return library;
}

// One shaped glyph; positions in 1/64 pixel at the size it was shaped at.
struct Glyph {
    unsigned index;
    long advance;
    long xOffset;
    long yOffset;
};

// UTF-8 to code points; a malformed byte becomes U+FFFD.
std::vector<char32_t> decodeUtf8(std::string_view s) {
    std::vector<char32_t> out;
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        int extra = b < 0x80 ? 0 : (b >> 5) == 6 ? 1 : (b >> 4) == 14 ? 2 : (b >> 3) == 30 ? 3 : -1;
        if (extra < 0 || i + std::size_t(extra) >= s.size()) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        char32_t cp = extra == 0 ? b : b & (0x3F >> extra);
        bool ok = true;
        for (int k = 1; k <= extra; ++k) {
            const auto c = static_cast<unsigned char>(s[i + std::size_t(k)]);
            if ((c & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            cp = (cp << 6) | (c & 0x3F);
        }
        if (!ok) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        out.push_back(cp);
        i += std::size_t(extra) + 1;
    }
    return out;
}

// Lengths of the UTF-8 prefixes that end on a character boundary.
std::vector<std::size_t> characterBoundaries(std::string_view s) {
    std::vector<std::size_t> cuts;
    for (std::size_t i = 1; i <= s.size(); ++i)
        if (i == s.size() || (static_cast<unsigned char>(s[i]) & 0xC0) != 0x80)
            cuts.push_back(i);
    return cuts;
}

} // namespace

// ---------------------------------------------------------------------------

struct Font::Impl {
    std::string name;
    std::string family;
    std::string style;
    std::string file;
    int index = 0;
    float size = 0;
    FT_Face face = nullptr;
    hb_blob_t* hbBlob = nullptr;
    hb_face_t* hbFace = nullptr;
    hb_font_t* hbFont = nullptr;
    float ascender = 0;
    float descender = 0;
    long pixelSize26 = -1; // the size FreeType and HarfBuzz are set to, 1/64 px
    mutable std::mutex mutex;

    ~Impl() {
        hb_font_destroy(hbFont);
        hb_face_destroy(hbFace);
        hb_blob_destroy(hbBlob);
        if (face) {
            std::lock_guard lock(libraryMutex());
            FT_Done_Face(face);
        }
    }

    void setPixelSize(long size26) {
        if (size26 == pixelSize26)
            return;
        FT_Set_Char_Size(face, 0, size26, 72, 72);
        if (hbFont)
            hb_font_set_scale(hbFont, int(size26), int(size26));
        pixelSize26 = size26;
    }

    // Caller holds the mutex and has set the pixel size.
    std::vector<Glyph> shape(std::string_view text) {
        std::vector<Glyph> glyphs;
        if (text.empty())
            return glyphs;
        if (hbFont) {
            hb_buffer_t* buffer = hb_buffer_create();
            hb_buffer_add_utf8(buffer, text.data(), int(text.size()), 0, int(text.size()));
            hb_buffer_guess_segment_properties(buffer);
            hb_shape(hbFont, buffer, nullptr, 0);
            unsigned count = 0;
            const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buffer, &count);
            const hb_glyph_position_t* pos = hb_buffer_get_glyph_positions(buffer, &count);
            glyphs.reserve(count);
            for (unsigned i = 0; i < count; ++i)
                glyphs.push_back(
                    {info[i].codepoint, pos[i].x_advance, pos[i].x_offset, pos[i].y_offset});
            hb_buffer_destroy(buffer);
            return glyphs;
        }
        // A face HarfBuzz cannot read (a Type 1 file): FreeType's advances and
        // its 'kern' pairs.
        unsigned previous = 0;
        for (char32_t cp : decodeUtf8(text)) {
            const unsigned index = FT_Get_Char_Index(face, cp);
            FT_Fixed advance = 0;
            FT_Get_Advance(face, index, FT_LOAD_NO_HINTING, &advance);
            if (previous && index && FT_HAS_KERNING(face)) {
                FT_Vector kern{};
                if (FT_Get_Kerning(face, previous, index, FT_KERNING_UNFITTED, &kern) == 0)
                    glyphs.back().advance += kern.x;
            }
            glyphs.push_back({index, long(advance >> 10), 0, 0});
            previous = index;
        }
        return glyphs;
    }

    float width(std::string_view text) {
        setPixelSize(std::lround(size * 64));
        long total = 0;
        for (const Glyph& g : shape(text))
            total += g.advance;
        return float(total) / 64.0f;
    }
};

namespace {

std::unique_ptr<Font::Impl> openFace(std::string_view name, const FoundFace& found, float size) {
    FT_Library library = freeType();
    if (!library)
        return nullptr;
    // FreeType and HarfBuzz would open a FIFO or a device named like a font
    // and wait on it; only a regular file is read.
    if (!fileExists(found.file)) {
        log("Font file is not a regular file: " + found.file);
        return nullptr;
    }
    auto impl = std::make_unique<Font::Impl>();
    {
        std::lock_guard lock(libraryMutex());
        if (FT_New_Face(library, found.file.c_str(), found.index, &impl->face) != 0) {
            impl->face = nullptr;
            log("Font file could not be read: " + found.file);
            return nullptr;
        }
    }
    impl->name = std::string(name);
    impl->family = found.family;
    impl->style = found.style;
    impl->file = found.file;
    impl->index = found.index;
    impl->size = size;
    const FT_Face face = impl->face;
    if (FT_IS_SCALABLE(face) && face->units_per_EM > 0) {
        impl->ascender = float(face->ascender) * size / float(face->units_per_EM);
        impl->descender = float(face->descender) * size / float(face->units_per_EM);
    } else {
        FT_Set_Char_Size(face, 0, std::lround(size * 64), 72, 72);
        impl->ascender = float(face->size->metrics.ascender) / 64.0f;
        impl->descender = float(face->size->metrics.descender) / 64.0f;
    }
    // HarfBuzz applies the OpenType kerning (GPOS) that FreeType alone ignores.
    impl->hbBlob = hb_blob_create_from_file(found.file.c_str());
    impl->hbFace = hb_face_create(impl->hbBlob, unsigned(found.index));
    if (hb_face_get_glyph_count(impl->hbFace) > 0)
        impl->hbFont = hb_font_create(impl->hbFace);
    impl->setPixelSize(std::lround(size * 64));
    return impl;
}

constexpr float kMinimumSize = 1.0f;
constexpr float kMaximumSize = 1000.0f;

// Every control asks for its font when it is made; opening a face costs a
// fontconfig match, a FreeType face and a HarfBuzz blob, so each (name, size)
// is opened once and then shared (a Font is safe to share: its drawing state
// sits behind its own mutex). A name no face has is remembered too. Fonts
// nothing else holds are let go when the cache grows past its bound.
struct FontCache {
    std::mutex mutex;
    std::map<std::pair<std::string, float>, FontRef, std::less<>> fonts;
};

// One cache for every way a font is asked for (the template below is made
// once per caller).
FontCache& fontCache() {
    static FontCache cache;
    return cache;
}

template <class Open>
FontRef cachedFont(std::string_view name, float size, Open open) {
    constexpr std::size_t kBound = 64;
    FontCache& fc = fontCache();
    auto& cache = fc.fonts;
    std::lock_guard lock(fc.mutex);
    auto key = std::make_pair(std::string(name), size);
    if (auto it = cache.find(key); it != cache.end())
        return it->second;
    if (cache.size() >= kBound)
        std::erase_if(cache, [](const auto& entry) { return entry.second.use_count() <= 1; });
    FontRef font = open();
    if (cache.size() < kBound)
        cache.emplace(std::move(key), font);
    return font;
}

} // namespace

Font::Font(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

std::size_t Font::purgeUnusedFonts() {
    FontCache& fc = fontCache();
    std::lock_guard lock(fc.mutex);
    return std::erase_if(fc.fonts, [](const auto& entry) { return entry.second.use_count() <= 1; });
}

Font::~Font() = default;

FontRef Font::fontWithName(std::string_view name, float size) {
    if (name.empty() || !(size >= kMinimumSize && size <= kMaximumSize))
        return nullptr;
    return cachedFont(name, size, [&]() -> FontRef {
        FoundFace found;
        if (!matchFace(queryForName(name), true, found))
            return nullptr;
        auto impl = openFace(name, found, size);
        if (!impl)
            return nullptr;
        return FontRef(new Font(std::move(impl)));
    });
}

namespace {
FontRef systemFont(float size, bool bold) {
    const std::string style = bold ? "-Bold" : "";
    if (FontRef f = Font::fontWithName(kSystemFamily + style, size))
        return f;
    // Any sans-serif face the machine has will do for interface text.
    FoundFace found;
    const FaceQuery fallback{"sans-serif", bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR,
                             FC_SLANT_ROMAN};
    if (!matchFace(fallback, false, found)) {
        log("No font found for the interface text");
        return nullptr;
    }
    return Font::fontWithName(found.family + style, size);
}
} // namespace

void Font::warmUpInterfaceFaces() {
    // Labels and text fields, then small print; the status bar, badges,
    // buttons and bar buttons.
    for (float size : {17.0f, 13.0f})
        (void)systemFontOfSize(size);
    for (float size : {12.0f, 14.0f, 15.0f, 17.0f})
        (void)boldSystemFontOfSize(size);
}

FontRef Font::systemFontOfSize(float size) {
    return systemFont(size, false);
}

FontRef Font::boldSystemFontOfSize(float size) {
    return systemFont(size, true);
}

const std::string& Font::fontName() const {
    return impl_->name;
}
const std::string& Font::familyName() const {
    return impl_->family;
}
const std::string& Font::styleName() const {
    return impl_->style;
}
float Font::pointSize() const {
    return impl_->size;
}
float Font::ascender() const {
    return impl_->ascender;
}
float Font::descender() const {
    return impl_->descender;
}

FontRef Font::fontWithSize(float size) const {
    if (!(size >= kMinimumSize && size <= kMaximumSize))
        return nullptr;
    // Under its own name: the same face fontWithName finds for it.
    return cachedFont(impl_->name, size, [&]() -> FontRef {
        FoundFace found{impl_->file, impl_->index, impl_->family, impl_->style};
        auto impl = openFace(impl_->name, found, size);
        if (!impl)
            return nullptr;
        return FontRef(new Font(std::move(impl)));
    });
}

float Font::widthOfString(std::string_view text) const {
    std::lock_guard lock(impl_->mutex);
    return impl_->width(text);
}

Size Font::sizeOfString(std::string_view text) const {
    return {std::ceil(widthOfString(text)), std::ceil(lineHeight())};
}

std::string Font::truncatedToWidth(std::string_view text, float width) const {
    if (widthOfString(text) <= width)
        return std::string(text);
    const std::string ellipsis = "\u2026";
    const std::vector<std::size_t> cuts = characterBoundaries(text);
    // The widest prefix that still fits, by bisection over character boundaries.
    std::size_t lo = 0;
    std::size_t hi = cuts.size();
    while (lo < hi) {
        const std::size_t mid = (lo + hi) / 2;
        std::string candidate(text.substr(0, cuts[mid]));
        candidate += ellipsis;
        if (widthOfString(candidate) <= width)
            lo = mid + 1;
        else
            hi = mid;
    }
    if (lo == 0)
        return ellipsis;
    return std::string(text.substr(0, cuts[lo - 1])) + ellipsis;
}

namespace {

// One rendered glyph's coverage, placed in device pixels from the line box's
// top-left corner.
struct PlacedGlyph {
    int left;
    int top;
    int width;
    int rows;
    std::vector<std::uint8_t> pixels;
};

// Renders glyph g with its pen at (x26, y26) in 1/64 device pixels; false
// when it has nothing to show (or FreeType cannot render it).
bool renderGlyph(FT_Face face, const Glyph& g, long x26, long y26, PlacedGlyph& out) {
    if (FT_Load_Glyph(face, g.index, FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_LIGHT) != 0)
        return false;
    FT_GlyphSlot slot = face->glyph;
    const long whole = x26 >> 6;
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE)
        FT_Outline_Translate(&slot->outline, x26 & 63, 0);
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0)
        return false;
    const FT_Bitmap& bm = slot->bitmap;
    if (bm.width == 0 || bm.rows == 0 || bm.pixel_mode != FT_PIXEL_MODE_GRAY)
        return false;
    out = PlacedGlyph{int(whole) + slot->bitmap_left,
                      int((y26 + 32) >> 6) - slot->bitmap_top,
                      int(bm.width),
                      int(bm.rows),
                      {}};
    out.pixels.resize(std::size_t(out.width) * std::size_t(out.rows));
    for (int r = 0; r < out.rows; ++r)
        std::memcpy(&out.pixels[std::size_t(r) * std::size_t(out.width)],
                    bm.buffer + std::ptrdiff_t(r) * bm.pitch, std::size_t(out.width));
    return true;
}

// The glyphs' coverage in one mask of mw x mh pixels whose top-left corner is
// (minX, minY).
std::vector<std::uint8_t> combinedMask(const std::vector<PlacedGlyph>& placed, int minX, int minY,
                                       int mw, int mh) {
    std::vector<std::uint8_t> mask(std::size_t(mw) * std::size_t(mh), 0);
    for (const PlacedGlyph& pl : placed)
        for (int r = 0; r < pl.rows; ++r) {
            std::uint8_t* row = &mask[std::size_t(pl.top - minY + r) * std::size_t(mw) +
                                      std::size_t(pl.left - minX)];
            const std::uint8_t* src = &pl.pixels[std::size_t(r) * std::size_t(pl.width)];
            // Overlapping glyphs (joined script faces) keep the darker coverage.
            for (int x = 0; x < pl.width; ++x)
                row[x] = std::max(row[x], src[x]);
        }
    return mask;
}

} // namespace

Size Font::drawAtPoint(Context& c, Point p, std::string_view text) const {
    const Size measured = sizeOfString(text);
    if (text.empty())
        return measured;
    const AffineTransform m = c.ctm();
    // Glyphs are rendered at the device resolution the context maps to.
    const float scale = std::clamp(std::sqrt(std::fabs(m.a * m.d - m.b * m.c)), 0.25f, 16.0f);

    std::vector<PlacedGlyph> placed;
    std::lock_guard lock(impl_->mutex);
    Impl& f = *impl_;
    f.setPixelSize(std::lround(f.size * scale * 64));
    const std::vector<Glyph> glyphs = f.shape(text);
    const long baseline26 = std::lround(f.ascender * scale * 64);
    long pen = 0;
    int minX = 0;
    int minY = 0;
    int maxX = int(std::ceil(measured.width * scale));
    int maxY = int(std::ceil(measured.height * scale));
    for (const Glyph& g : glyphs) {
        const long x26 = pen + g.xOffset;
        const long y26 = baseline26 - g.yOffset;
        pen += g.advance;
        PlacedGlyph pl;
        if (!renderGlyph(f.face, g, x26, y26, pl))
            continue;
        minX = std::min(minX, pl.left);
        minY = std::min(minY, pl.top);
        maxX = std::max(maxX, pl.left + pl.width);
        maxY = std::max(maxY, pl.top + pl.rows);
        placed.push_back(std::move(pl));
    }
    f.setPixelSize(std::lround(f.size * 64));
    if (placed.empty())
        return measured;
    const int mw = maxX - minX;
    const int mh = maxY - minY;
    const std::vector<std::uint8_t> mask = combinedMask(placed, minX, minY, mw, mh);
    const float w = float(mw) / scale;
    const float h = float(mh) / scale;
    const float x = p.x + float(minX) / scale;
    Rect r;
    if (c.yAxis() == YAxis::Down)
        r = Rect(x, p.y + float(minY) / scale, w, h);
    else
        r = Rect(x, p.y - float(minY) / scale - h, w, h);
    c.fillMask(r, mask.data(), mw, mh, mw);
    return measured;
}

void Font::drawInRectCentered(Context& c, const Rect& r, std::string_view text) const {
    const std::string shown = truncatedToWidth(text, r.width());
    const float w = widthOfString(shown);
    const float x = std::round(r.midX() - w / 2);
    const float y = std::round(r.midY() - lineHeight() / 2);
    drawAtPoint(c, {x, y}, shown);
}

} // namespace platform
