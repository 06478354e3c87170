// Every picture the app names by resource name is built, at the size the code
// relies on, with the transparency it needs.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "app/CanvoAppDelegate.h"
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

// The app's own tables: a name misspelt there is a picture missing here.
// CanvoAppDelegate::brushFileNames() is the brush table in the order of the
// stored brush index; initColorBrushNames() the colour-brush catalogue (index
// 0 to 42); initShapeNames() the overlay catalogue in the shape picker's
// order. The bar buttons' pictures are named by the app's interface files.
// The lists below are pictures the app does not name in a table yet: the tool
// button's pictures (chosen in applyTool, checked there by the app's tests),
// and those of screens still to come.

// The background sheets of the new-document screen.
constexpr std::array<std::string_view, 11> kBackgrounds = {
    "whitevert480.png",          "yellowvert480.png",         "blackvert480.png",
    "liteyellowgridvert480.png", "whiteindexcardvert480.png", "yellowindexcardvert480.png",
    "whitehorz480.png",          "yellowhorz480.png",         "blackhorz480.png",
    "liteyellowgridhorz480.png", "indexcardhorz480.png",
};

// Pictures shown on the tool button for each drawing tool, and while cloning.
constexpr std::array<std::string_view, 8> kToolButtons = {
    "brushbutton.png",  "eraserbutton.png", "clonereadybutton.png", "clonebutton.png",
    "shapesbutton.png", "textbutton.png",   "eyedropper.png",       "stampbutton.png",
};

// The pictures at the two ends of the brightness and contrast sliders.
constexpr std::array<std::string_view, 4> kSliderPictures = {
    "brightwhite.png", "brightnessbutton.png", "graysquarebutton.png", "contrastbutton.png"};

// The tool picker's effect and layer entries.
constexpr std::array<std::string_view, 15> kPickerIcons = {
    "effectmirror.png",      "effectvmirror.png", "effectsqueeze.png",    "effecttwirl.png",
    "effectlighttunnel.png", "effectbulge.png",   "effectdent.png",       "effectfisheye.png",
    "effectgrayscale.png",   "effectsepia.png",   "effectbrightness.png", "effectcontrast.png",
    "layerflatten.png",      "layerflip.png",     "layerdelete.png",
};

const std::vector<std::string>& brushTable() {
    return zorbel::CanvoAppDelegate::brushFileNames();
}

std::vector<std::string> colorBrushCatalogue() {
    return zorbel::CanvoAppDelegate().initColorBrushNames();
}

std::vector<std::string> overlayCatalogue() {
    return zorbel::CanvoAppDelegate().initShapeNames();
}

// Every picture of a toolbar or navigation bar item in the app's interface
// files ("items", "leftItem", "rightItem").
std::vector<std::string> barItemPictures() {
    std::vector<std::string> names;
    const std::filesystem::path dir = kResources + "interfaces";
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        if (entry.path().extension() == ".json")
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    for (const auto& file : files) {
        std::ifstream in(file);
        std::stringstream text;
        text << in.rdbuf();
        const auto doc = nlohmann::json::parse(text.str(), nullptr, false, true);
        EXPECT_FALSE(doc.is_discarded()) << file;
        if (doc.is_discarded())
            continue;
        auto pictureOf = [&names](const nlohmann::json& item) {
            if (item.is_object() && item.contains("image") && item["image"].is_string())
                names.push_back(item["image"].get<std::string>());
        };
        std::vector<const nlohmann::json*> nodes{&doc};
        while (!nodes.empty()) {
            const nlohmann::json& node = *nodes.back();
            nodes.pop_back();
            if (!node.is_object())
                continue;
            if (node.contains("items") && node["items"].is_array())
                for (const auto& item : node["items"])
                    pictureOf(item);
            for (const char* key : {"leftItem", "rightItem"})
                if (node.contains(key))
                    pictureOf(node[key]);
            if (node.contains("subviews") && node["subviews"].is_array())
                for (const auto& sub : node["subviews"])
                    nodes.push_back(&sub);
        }
    }
    return names;
}

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
    const auto colorBrushes = colorBrushCatalogue();
    const auto overlays = overlayCatalogue();
    EXPECT_EQ(brushTable().size(), 19u);
    EXPECT_EQ(colorBrushes.size(), 43u);
    EXPECT_EQ(overlays.size(), 78u);
    std::set<std::string> all;
    all.insert(brushTable().begin(), brushTable().end());
    all.insert(colorBrushes.begin(), colorBrushes.end());
    all.insert(overlays.begin(), overlays.end());
    EXPECT_EQ(all.size(), 19u + 43u + 78u);
}

TEST(Pictures, ThumbnailNameKeepsTheCatalogueNameUpToItsSuffix) {
    EXPECT_EQ(thumbnailName("shapearrow.png"), "shapearrow.thumb.png");
    EXPECT_EQ(thumbnailName("tophat.overlay.png"), "tophat.overlay.thumb.png");
}

TEST(Pictures, BrushTablePicturesAreTheSizesTheirNamesGive) {
    expectAll(brushTable(), brushRule);
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
    expectAll(colorBrushCatalogue(), colorBrushRule);
}

TEST(Pictures, OverlaysAreSixHundredWideWithThumbnails) {
    const auto overlays = overlayCatalogue();
    expectAll(overlays, [](std::string_view) {
        return Rule{Size::Overlay, 600, 0, Alpha::Transparent};
    });
    std::vector<std::string> thumbs;
    for (std::string_view name : overlays)
        thumbs.push_back(thumbnailName(name));
    expectAll(thumbs, [](std::string_view) {
        return Rule{Size::Thumb, 60, 60, Alpha::Transparent};
    });
}

TEST(Pictures, ButtonAndSliderPicturesHaveTheirSizes) {
    expectAll(kToolButtons, [](std::string_view) {
        return Rule{Size::Exact, 30, 30, Alpha::Transparent};
    });
    expectAll(kPickerIcons, [](std::string_view) {
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

TEST(Pictures, BarButtonPicturesOfTheInterfaceFilesHaveTheirSize) {
    const auto names = barItemPictures();
    // The main screen's toolbar and navigation bar at least.
    for (const char* name :
         {"toolbaradd.png", "toolbarsave.png", "toolbarsettings.png", "toolbarundo.png",
          "toolbarpresent.png", "toolbarbrush.png", "toolbartext.png"})
        EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name;
    expectAll(names, [](std::string_view) {
        return Rule{Size::Exact, 30, 30, Alpha::Transparent};
    });
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
