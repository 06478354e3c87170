// Every picture the app names by resource name is built, at the size the code
// relies on, with the transparency it needs.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/graphics/Image.h"

namespace {

const std::string kResources = ZORBEL_BINARY_DIR "/resources/";

enum class Size {
    Exact,   // exactly w x h
    Across,  // w pixels wide, at most w tall
    AtMost,  // at most w x h
    Overlay, // 600 wide, drawn at the proportions of the thing
    Thumb,   // fits 60 x 60 and touches it on one side
};

enum class Alpha {
    Transparent, // a see-through background around something drawn
    Opaque,      // every pixel fully opaque
    Drawn,       // something drawn; transparency not required
};

struct Rule {
    Size size;
    int w;
    int h;
    Alpha alpha;
};

// The brush table, in the order of the stored brush index.
constexpr std::array<std::string_view, 19> kBrushTable = {
    "brush1.png",       "brush3.png",          "brushhard8.png",   "brushhard16.png",
    "brushhard24.png",  "brushhard32.png",     "brushhard64.png",  "brushsoft8.png",
    "brushsoft16.png",  "brushsoft24.png",     "brushsoft32.png",  "brushsoft64.png",
    "brushspots64.png", "brushstar32.png",     "brushheart32.png", "brushstar64.png",
    "brushheart64.png", "brusharrowright.png", "brusharrowup.png",
};

constexpr std::array<std::string_view, 11> kBackgrounds = {
    "whitevert480.png",          "yellowvert480.png",         "blackvert480.png",
    "liteyellowgridvert480.png", "whiteindexcardvert480.png", "yellowindexcardvert480.png",
    "whitehorz480.png",          "yellowhorz480.png",         "blackhorz480.png",
    "liteyellowgridhorz480.png", "indexcardhorz480.png",
};

// The colour-brush catalogue, index 0 to 42.
constexpr std::array<std::string_view, 43> kColorBrushes = {
    "colorbrshheart32.png",
    "colorbrushheart64.png",
    "colorbrushbutterfly32.png",
    "colorbrushbutterfly64.png",
    "colorbrushstar32.png",
    "colorbrushstar64.png",
    "starsbrush.png",
    "starsbrushcolors.png",
    "colorbrushfish32.png",
    "colorbrushfish64.png",
    "colorbrushpinkflower32.png",
    "colorbrushpinkflower64.png",
    "dogwoodbrush.png",
    "fairyrosebrush.png",
    "bubblebrush.png",
    "bubblesbrush.png",
    "bluebutterflybrush.png",
    "buttefly9brush.png",
    "buttefly3.brush.png",
    "buttefly9.brush.png",
    "butterfly4.brush.png",
    "butterfly10.brush.png",
    "butterflies.brush.png",
    "ladybug.brush.png",
    "coloredjimmies.brush.png",
    "confetti.brush.png",
    "pixiedust2.brush.png",
    "pixiedust1.brush.png",
    "pixiedust3.brush.png",
    "ribbons2a.brush.png",
    "dotsbrush.png",
    "snowflakes.brush.png",
    "snowflake.brush.png",
    "note.brush.png",
    "rainbow1.brush.png",
    "redarrowup.brush.png",
    "redarrowright.brush.png",
    "redarrowdown.brush.png",
    "redarrowleft.brush.png",
    "greenarrowup.brush.png",
    "greenarrowright.brush.png",
    "greenarrowdown.brush.png",
    "greenarrowleft.brush.png",
};

// The overlay-picture catalogue, in the shape picker's order.
constexpr std::array<std::string_view, 78> kOverlays = {
    "shapearrow.png",
    "shapearrowred.overlay.png",
    "shapethoughtbubble.png",
    "shapetalkbubble.png",
    "papercrown.png",
    "pinkhat.png",
    "sombreo2.overlay.png",
    "gradhat2.overlay.png",
    "chefhat.overlay.png",
    "hardhat.overlay.png",
    "tophat.overlay.png",
    "piratehat2.overlay.png",
    "witchhat.overlay.png",
    "wizardshat.overlay.png",
    "parthat.overlay.png",
    "tiara3.overlay.png",
    "crown2.overlay.png",
    "clownwigrainbow4.overlay.png",
    "clownwig4.overlay.png",
    "masksmall.png",
    "glasses4.overlay.png",
    "glassespurple.overlay.png",
    "pirateeyepatch.overlay.png",
    "roseglassestrans.overlay.png",
    "cartooneye2.overlay.png",
    "glassnose2.overlay.png",
    "mustach.overlay.png",
    "trimmedbeard.overlay.png",
    "fullbeard.overlay.png",
    "goteebeard.overlay.png",
    "bikermustache.overlay.png",
    "handlkebarmustache.overlay.png",
    "medal.overlay.png",
    "lei.overlay.png",
    "catmask.png",
    "catears.png",
    "catnose.png",
    "dog1.png",
    "dognose1.overlay.png",
    "dogears1.png",
    "dogfacetop.png",
    "juniormask.png",
    "juniornose.overlay.png",
    "rabbitnose.png",
    "alpacahead.png",
    "alpacanose2.overlay.png",
    "goat2.png",
    "yellowfish.png",
    "babybeluga.png",
    "circle.overlay.png",
    "oval.overlay.png",
    "rectangle.overlay.png",
    "woodsign.overlay.png",
    "exclamationmark.overlay.png",
    "questionamark.overlay.png",
    "rainbow1.overlay.png",
    "lightswordred.overlay.png",
    "lightswordgreen.overlay.png",
    "glint4.overlay.png",
    "balloonface.png",
    "blueballoonribbon.overlay.png",
    "greenballoonribbon.overlay.png",
    "redballoonribbon.overlay.png",
    "balloonribbons4.overlay.png",
    "ribbons2a.overlay.png",
    "bow2.overlay.png",
    "shake.png",
    "strawberry.png",
    "bluebutterfly.overlay.png",
    "buttefly9.png",
    "buttefly3.overlay.png",
    "buttefly9.overlay.png",
    "butterfly4.mod.overlay.png",
    "butterfly10.overlay.png",
    "happybirthdayblue.png",
    "happybirthdayred.png",
    "missyou2.overlay.png",
    "thankyou.overlay.png",
};

// Pictures shown on the tool button for each drawing tool, and while cloning.
constexpr std::array<std::string_view, 8> kToolButtons = {
    "brushbutton.png",  "eraserbutton.png", "clonereadybutton.png", "clonebutton.png",
    "shapesbutton.png", "textbutton.png",   "eyedropper.png",       "stampbutton.png",
};

// The pictures at the two ends of the brightness and contrast sliders.
constexpr std::array<std::string_view, 4> kSliderPictures = {
    "brightwhite.png", "brightnessbutton.png", "graysquarebutton.png", "contrastbutton.png"};

// The toolbar's own buttons and the tool picker's effect and layer entries.
constexpr std::array<std::string_view, 22> kIcons = {
    "toolbaradd.png",     "toolbarsave.png",      "toolbarsettings.png", "toolbarundo.png",
    "toolbarpresent.png", "toolbarbrush.png",     "toolbartext.png",     "effectmirror.png",
    "effectvmirror.png",  "effectsqueeze.png",    "effecttwirl.png",     "effectlighttunnel.png",
    "effectbulge.png",    "effectdent.png",       "effectfisheye.png",   "effectgrayscale.png",
    "effectsepia.png",    "effectbrightness.png", "effectcontrast.png",  "layerflatten.png",
    "layerflip.png",      "layerdelete.png",
};

// The shape picker's thumbnail name: the catalogue name without its last three
// characters, then "thumb", then ".png".
std::string thumbnailName(std::string_view catalogueName) {
    std::string name(catalogueName.substr(0, catalogueName.size() - 3));
    return name + "thumb.png";
}

// The size a brush-table picture must have, from its name.
Rule brushRule(std::string_view name) {
    if (name == "brush1.png")
        return {Size::Exact, 1, 1, Alpha::Drawn};
    if (name == "brush3.png")
        return {Size::Exact, 3, 3, Alpha::Drawn};
    if (name == "brusharrowright.png" || name == "brusharrowup.png")
        return {Size::Exact, 32, 32, Alpha::Transparent};
    // brushhard8 ... brushheart64: the number before ".png" is the size.
    std::size_t end = name.size() - 4, begin = end;
    while (begin > 0 && name[begin - 1] >= '0' && name[begin - 1] <= '9')
        --begin;
    int size = std::stoi(std::string(name.substr(begin, end - begin)));
    return {Size::Exact, size, size, Alpha::Transparent};
}

Rule colorBrushRule(std::string_view name) {
    if (name.ends_with("32.png"))
        return {Size::Across, 32, 32, Alpha::Transparent};
    if (name.ends_with("64.png"))
        return {Size::Across, 64, 64, Alpha::Transparent};
    return {Size::AtMost, 64, 64, Alpha::Transparent};
}

// Loads one picture and says what is wrong with it, or nothing.
std::string check(std::string_view name, const Rule& rule) {
    auto loaded = platform::Image::load(kResources + std::string(name));
    if (!loaded)
        return std::string(name) + ": " + loaded.error();
    const platform::Image& image = **loaded;
    const int w = image.width(), h = image.height();
    const std::string size = std::to_string(w) + " x " + std::to_string(h);
    bool sizeOk = false;
    switch (rule.size) {
    case Size::Exact:
        sizeOk = w == rule.w && h == rule.h;
        break;
    case Size::Across:
        sizeOk = w == rule.w && h >= 1 && h <= rule.h;
        break;
    case Size::AtMost:
        sizeOk = w >= 1 && h >= 1 && w <= rule.w && h <= rule.h;
        break;
    case Size::Overlay:
        sizeOk = w == 600 && h >= 60 && h <= 1800;
        break;
    case Size::Thumb:
        sizeOk = w >= 1 && h >= 1 && w <= 60 && h <= 60 && (w == 60 || h == 60);
        break;
    }
    if (!sizeOk)
        return std::string(name) + ": wrong size " + size;

    std::size_t clear = 0, drawn = 0, pixels = std::size_t(w) * std::size_t(h);
    for (std::size_t i = 0; i < pixels; ++i) {
        std::uint8_t a = image.data()[i * 4];
        clear += a == 0;
        drawn += a != 0;
    }
    switch (rule.alpha) {
    case Alpha::Opaque:
        if (!image.isOpaque())
            return std::string(name) + ": must be fully opaque";
        break;
    case Alpha::Transparent:
        if (clear == 0)
            return std::string(name) + ": has no transparent background";
        [[fallthrough]];
    case Alpha::Drawn:
        if (drawn == 0)
            return std::string(name) + ": is empty (alpha 0 everywhere)";
        break;
    }
    return {};
}

template <class Names, class RuleOf>
void expectAll(const Names& names, RuleOf ruleOf) {
    for (std::string_view name : names) {
        std::string problem = check(name, ruleOf(name));
        EXPECT_TRUE(problem.empty()) << problem;
    }
}

TEST(Pictures, CataloguesHoldTheirCountsOfDistinctNames) {
    std::set<std::string_view> all;
    all.insert(kBrushTable.begin(), kBrushTable.end());
    all.insert(kColorBrushes.begin(), kColorBrushes.end());
    all.insert(kOverlays.begin(), kOverlays.end());
    EXPECT_EQ(all.size(), 19u + 43u + 78u);
}

TEST(Pictures, ThumbnailNameKeepsTheCatalogueNameUpToItsSuffix) {
    EXPECT_EQ(thumbnailName("shapearrow.png"), "shapearrow.thumb.png");
    EXPECT_EQ(thumbnailName("tophat.overlay.png"), "tophat.overlay.thumb.png");
}

TEST(Pictures, BrushTablePicturesAreTheSizesTheirNamesGive) {
    expectAll(kBrushTable, brushRule);
    // The start-up brush before any brush is chosen.
    std::string problem = check("particlewithalpha.png", {Size::Exact, 32, 32, Alpha::Transparent});
    EXPECT_TRUE(problem.empty()) << problem;
}

TEST(Pictures, SoftBrushesFadeAndHardBrushesAreSolidInside) {
    auto alphaAt = [](std::string_view name, int x, int y) {
        auto image = platform::Image::load(kResources + std::string(name));
        EXPECT_TRUE(image.ok()) << name;
        return image ? int((*image)->data()[(std::size_t(y) * (*image)->width() + x) * 4]) : -1;
    };
    EXPECT_EQ(alphaAt("brushhard32.png", 16, 16), 255);
    EXPECT_EQ(alphaAt("brushhard32.png", 0, 0), 0);
    int middle = alphaAt("brushsoft64.png", 32, 32);
    int halfway = alphaAt("brushsoft64.png", 48, 32);
    int rim = alphaAt("brushsoft64.png", 62, 32);
    EXPECT_GT(middle, 230);
    EXPECT_GT(halfway, 40);
    EXPECT_LT(halfway, middle - 60);
    EXPECT_LT(rim, 20);
}

TEST(Pictures, BackgroundSheetsAreOpaquePortraitOrLandscape) {
    expectAll(kBackgrounds, [](std::string_view name) {
        bool portrait = name.find("vert") != std::string_view::npos;
        return Rule{Size::Exact, portrait ? 320 : 480, portrait ? 480 : 320, Alpha::Opaque};
    });
}

TEST(Pictures, ColorBrushesFitTheirPickerCells) {
    expectAll(kColorBrushes, colorBrushRule);
}

TEST(Pictures, OverlaysAreSixHundredWideWithThumbnails) {
    expectAll(kOverlays, [](std::string_view) {
        return Rule{Size::Overlay, 600, 0, Alpha::Transparent};
    });
    std::vector<std::string> thumbs;
    for (std::string_view name : kOverlays)
        thumbs.push_back(thumbnailName(name));
    expectAll(thumbs, [](std::string_view) {
        return Rule{Size::Thumb, 60, 60, Alpha::Transparent};
    });
}

TEST(Pictures, ButtonAndSliderPicturesHaveTheirSizes) {
    expectAll(kToolButtons, [](std::string_view) {
        return Rule{Size::Exact, 30, 30, Alpha::Transparent};
    });
    expectAll(kIcons, [](std::string_view) {
        return Rule{Size::Exact, 30, 30, Alpha::Transparent};
    });
    expectAll(kSliderPictures, [](std::string_view) {
        return Rule{Size::Exact, 24, 24, Alpha::Transparent};
    });
    // Stretchable button backgrounds: 12-point caps around one middle column.
    for (std::string_view name : {"whiteButton.png", "blueButton.png"}) {
        std::string problem = check(name, {Size::Exact, 25, 40, Alpha::Transparent});
        EXPECT_TRUE(problem.empty()) << problem;
    }
}

TEST(Pictures, RainbowIsOpaqueSoPickedColoursAreTrue) {
    // The colour picker reads red, green and blue straight from these pixels.
    std::string problem = check("colorrainbow.png", {Size::Exact, 240, 180, Alpha::Opaque});
    EXPECT_TRUE(problem.empty()) << problem;
    auto image = platform::Image::load(kResources + "colorrainbow.png");
    ASSERT_TRUE(image.ok());
    const std::uint8_t* topLeft = (*image)->data();
    const std::uint8_t* middleLeft = (*image)->data() + (std::size_t(80) * 240) * 4;
    EXPECT_GE(topLeft[1], 250); // white at the top
    EXPECT_GE(topLeft[3], 250);
    EXPECT_GT(middleLeft[1], 230); // full red halfway down the left edge
    EXPECT_LT(middleLeft[2], 20);
    EXPECT_LT(middleLeft[3], 20);
}

TEST(Pictures, ApplicationIconComesInThreeSizes) {
    for (int size : {48, 128, 256}) {
        std::string name = "zorbelicon" + std::to_string(size) + ".png";
        std::string problem = check(name, {Size::Exact, size, size, Alpha::Transparent});
        EXPECT_TRUE(problem.empty()) << problem;
    }
}

} // namespace
