#include "platform/ui/Font.h"

#include <cmath>

#include <gtest/gtest.h>

#include "platform/graphics/Context.h"

using platform::Font;
using platform::FontRef;

// Every phone font name the app uses finds the free face chosen for it.
TEST(Font, AliasesResolveToTheirFreeFaces) {
    struct Case {
        const char* name;
        const char* family;
        const char* style;
    };
    const Case cases[] = {
        {"ArialRoundedMTBold", "URW Gothic", "Demi"},
        {"Arial", "Liberation Sans", "Regular"},
        {"Courier-Bold", "Nimbus Mono PS", "Bold"},
        {"Georgia-Bold", "C059", "Bold"},
        {"Helvetica-Bold", "Nimbus Sans", "Bold"},
        {"MarkerFelt-Thin", "Comic Neue", "Regular"},
        {"TimesNewRomanPS-BoldMT", "Liberation Serif", "Bold"},
        {"TrebuchetMS-BoldItalic", "Liberation Sans", "Bold Italic"},
        {"AmericanTypewriter-Bold", "Nimbus Mono PS", "Bold"},
        {"Verdana-BoldItalic", "DejaVu Sans", "Bold Oblique"},
        {"Zapfino", "Z003", "Medium Italic"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FontRef f = Font::fontWithName(c.name, 60);
        ASSERT_TRUE(f);
        EXPECT_EQ(f->familyName(), c.family);
        EXPECT_EQ(f->styleName(), c.style);
        EXPECT_EQ(f->fontName(), c.name);
        EXPECT_EQ(f->pointSize(), 60);
    }
}

TEST(Font, InstalledFamiliesAndStylesAreFoundByName) {
    FontRef f = Font::fontWithName("DejaVuSans-Bold", 12);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->familyName(), "DejaVu Sans");
    EXPECT_EQ(f->styleName(), "Bold");
    FontRef bold = Font::boldSystemFontOfSize(16);
    ASSERT_TRUE(bold);
    EXPECT_NE(bold->styleName().find("Bold"), std::string::npos);
}

// A name no installed face carries gives no font (fontconfig's substitute is refused).
TEST(Font, UnknownNamesAndBadSizesGiveNoFont) {
    EXPECT_FALSE(Font::fontWithName("NoSuchTypeface-Bold", 20));
    EXPECT_FALSE(Font::fontWithName("", 20));
    EXPECT_FALSE(Font::fontWithName("Arial", 0));
    EXPECT_FALSE(Font::fontWithName("Arial", NAN));
}

// Every control asks for its font: a name and size already opened is the same
// face, shared, whichever way it is asked for; another size is its own font.
TEST(Font, EachNameAndSizeIsOpenedOnce) {
    FontRef first = Font::fontWithName("Helvetica-Bold", 23);
    ASSERT_TRUE(first);
    EXPECT_EQ(Font::fontWithName("Helvetica-Bold", 23), first);
    EXPECT_EQ(first->fontWithSize(23), first);
    FontRef larger = first->fontWithSize(46);
    ASSERT_TRUE(larger);
    EXPECT_NE(larger, first);
    EXPECT_EQ(larger->pointSize(), 46);
    EXPECT_FLOAT_EQ(larger->ascender(), 2 * first->ascender());
    EXPECT_EQ(Font::fontWithName("Helvetica-Bold", 46), larger);
    EXPECT_EQ(Font::boldSystemFontOfSize(15), Font::boldSystemFontOfSize(15));
    EXPECT_FALSE(Font::fontWithName("NoSuchTypeface-Bold", 23)); // asked twice, still none
}

// A memory warning's purge closes the fonts nobody holds; a font in use stays
// the one shared.
TEST(Font, PurgeClosesOnlyFontsNobodyHolds) {
    FontRef held = Font::fontWithName("Georgia", 31);
    std::weak_ptr<const Font> unheld = Font::fontWithName("Georgia", 33);
    ASSERT_TRUE(held);
    EXPECT_FALSE(unheld.expired()); // kept for the next to ask
    EXPECT_GE(Font::purgeUnusedFonts(), 1u);
    EXPECT_TRUE(unheld.expired());
    EXPECT_EQ(Font::fontWithName("Georgia", 31), held);
    EXPECT_EQ(Font::fontWithName("Georgia", 33)->pointSize(), 33);
}

TEST(Font, HeightIsAscenderPlusDescenderAndEmptyTextHasNoWidth) {
    FontRef f = Font::fontWithName("Helvetica-Bold", 48);
    ASSERT_TRUE(f);
    EXPECT_GT(f->ascender(), 0);
    EXPECT_LT(f->descender(), 0);
    const platform::Size empty = f->sizeOfString("");
    EXPECT_EQ(empty.width, 0);
    EXPECT_EQ(empty.height, std::ceil(f->ascender() - f->descender()));
    EXPECT_EQ(f->sizeOfString("Hello").height, empty.height);
}

// The OpenType faces carry their kerning in GPOS only; it must still apply.
TEST(Font, KerningTightensPairsInOpenTypeAndTrueTypeFaces) {
    for (const char* name : {"Helvetica-Bold", "Georgia-Bold", "Arial"}) {
        SCOPED_TRACE(name);
        FontRef f = Font::fontWithName(name, 48);
        ASSERT_TRUE(f);
        EXPECT_LT(f->widthOfString("AV"), f->widthOfString("A") + f->widthOfString("V") - 1);
        EXPECT_FLOAT_EQ(f->widthOfString("HH"), 2 * f->widthOfString("H"));
    }
}

TEST(Font, WidthGrowsWithSizeAndRoundsUp) {
    FontRef small = Font::fontWithName("Arial", 10);
    FontRef large = small->fontWithSize(40);
    ASSERT_TRUE(large);
    EXPECT_EQ(large->familyName(), "Liberation Sans");
    EXPECT_NEAR(large->widthOfString("Zorbel"), 4 * small->widthOfString("Zorbel"), 0.5);
    EXPECT_EQ(small->sizeOfString("Zorbel").width, std::ceil(small->widthOfString("Zorbel")));
}

TEST(Font, TruncationKeepsTheLongestStartThatFits) {
    FontRef f = Font::fontWithName("Arial", 20);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->truncatedToWidth("Photo", 500), "Photo");
    const std::string cut = f->truncatedToWidth("Photo Album Pictures", 80);
    EXPECT_LE(f->widthOfString(cut), 80);
    EXPECT_EQ(cut.substr(cut.size() - 3), "\u2026");
    EXPECT_EQ(cut.rfind("Photo", 0), 0u);
}

// Glyphs land inside the measured box, in the fill colour.
TEST(Font, DrawsInTheFillColourInsideTheLineBox) {
    FontRef f = Font::fontWithName("Arial", 20);
    ASSERT_TRUE(f);
    auto c = platform::Context::createBitmap(60, 40, nullptr, platform::YAxis::Down);
    c->setFillColor(platform::Color::rgb(1, 0, 0));
    const platform::Size s = f->drawAtPoint(*c, {10, 5}, "HI");
    int inked = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x) {
            const std::uint8_t* px = c->data() + y * c->bytesPerRow() + x * 4;
            if (px[0] == 0)
                continue;
            ++inked;
            EXPECT_EQ(px[2], 0);     // no green
            EXPECT_EQ(px[1], px[0]); // premultiplied red equals alpha
            EXPECT_GE(x, 10);
            EXPECT_LT(x, 10 + s.width + 1);
            EXPECT_GE(y, 5);
            // Capitals sit on the baseline, above the descender.
            EXPECT_LT(y, 5 + f->ascender() + 1);
        }
    EXPECT_GT(inked, 40);
}

// On a context scaled by 2 the text is rendered at twice the pixels, not stretched.
TEST(Font, DrawingFollowsTheContextScale) {
    FontRef f = Font::fontWithName("Arial", 10);
    ASSERT_TRUE(f);
    auto plain = platform::Context::createBitmap(80, 40, nullptr, platform::YAxis::Down);
    auto doubled = platform::Context::createBitmap(160, 80, nullptr, platform::YAxis::Down);
    doubled->scaleCTM(2, 2);
    plain->setFillColor(platform::Color::black());
    doubled->setFillColor(platform::Color::black());
    f->drawAtPoint(*plain, {2, 2}, "l");
    f->drawAtPoint(*doubled, {2, 2}, "l");
    auto solid = [](const platform::Context& c) {
        int n = 0;
        for (int i = 0; i < c.width() * c.height(); ++i)
            n += c.data()[i * 4] == 255;
        return n;
    };
    // Four times the area of full coverage, within hinting differences.
    EXPECT_GT(solid(*doubled), 3 * solid(*plain));
}
