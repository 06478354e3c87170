// The settings store: registered defaults, the load and save orders, index
// validation and the palette, over a store of the test's own.

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <filesystem>
#include <string>
#include <variant>

#include "AppTestSupport.h"
#include "app/SettingsStore.h"

namespace zorbel::testing {
namespace {

using platform::Color;
using platform::UserDefaults;

class SettingsTest : public AppTest {
protected:
    std::filesystem::path storeFile() const { return home_ / "settings.json"; }
};

TEST_F(SettingsTest, EveryKeyIsRegisteredWithItsDefaultAndNumberType) {
    UserDefaults store(storeFile());
    SettingsStore(store).registerDefaults();

    struct Expect {
        const char* key;
        UserDefaults::Value value;
    };
    const Expect singles[] = {
        {"BrushSize", 16.0},
        {"BrushIndex", 5L},
        {"redColor", 0.0},
        {"greenColor", 0.0},
        {"blueColor", 0.0},
        {"alphaColor", 1.0},
        {"FingerX", 0.0},
        {"FingerY", 0.0},
        {"ShakeCheck", true},
        {"SmartFlag", false},
        {"CropFlag", false},
        {"DirtyFlag", false},
        {"DocumentOrientation", 1L},
        {"ColorBrushIndex", 1L},
        {"OverlayIndex", 1L},
        {"ToolID", 1L},
        {"CursorDisplay", true},
        {"PaintBrushAlpha", 1.0},
        {"PaintBrushBlendMode", 0L},
        {"SmoothFlag", false},
        {"SmoothAmount", 20.0},
    };
    int count = 0;
    for (const auto& e : singles) {
        auto v = store.objectForKey(e.key);
        ASSERT_TRUE(v.has_value()) << e.key;
        EXPECT_EQ(v->index(), e.value.index()) << e.key << " has the wrong number type";
        EXPECT_EQ(*v, e.value) << e.key;
        ++count;
    }
    for (int n = 1; n <= 12; ++n)
        for (const char* word : {"Red", "Green", "Blue"}) {
            auto v = store.objectForKey(word + std::to_string(n));
            ASSERT_TRUE(v.has_value()) << word << n;
            EXPECT_TRUE(std::holds_alternative<double>(*v)) << word << n;
            ++count;
        }
    EXPECT_EQ(count, 57);
    // Registration answers for unset keys but writes nothing.
    EXPECT_TRUE(store.synchronize().ok());
    EXPECT_FALSE(std::filesystem::exists(storeFile()));
}

TEST_F(SettingsTest, RegisteredPaletteHoldsTheTwelveColours) {
    UserDefaults store(storeFile());
    SettingsStore(store).registerDefaults();
    // Colour 4 is the float just below a third, not the nearest one.
    EXPECT_EQ(std::bit_cast<std::uint32_t>(store.floatForKey("Red4")), 0x3EAAAAAAu);
    EXPECT_EQ(store.floatForKey("Green2"), 0.666666687f);
    EXPECT_EQ(store.floatForKey("Green7"), 0.5f);
    EXPECT_EQ(store.floatForKey("Red12"), 1.0f);
    EXPECT_EQ(store.floatForKey("Green12"), 0.0f);
    EXPECT_EQ(store.floatForKey("Blue12"), 1.0f);
    EXPECT_EQ(store.floatForKey("Blue11"), 1.0f);
    EXPECT_EQ(store.floatForKey("Red10"), 0.0f);
}

TEST_F(SettingsTest, IndexValidationTakesOutOfRangeToTheLastEntry) {
    EXPECT_EQ(SettingsStore::validateIndex(25, 19), 18);
    EXPECT_EQ(SettingsStore::validateIndex(-3, 19), 18);
    EXPECT_EQ(SettingsStore::validateIndex(19, 19), 18);
    EXPECT_EQ(SettingsStore::validateIndex(0, 19), 0);
    EXPECT_EQ(SettingsStore::validateIndex(18, 19), 18);
    EXPECT_EQ(SettingsStore::validateIndex(50, 43), 42);
    EXPECT_EQ(SettingsStore::validateIndex(-1, 43), 42);
    // An empty list leaves nothing to point at but 0.
    EXPECT_EQ(SettingsStore::validateIndex(4, 0), 0);
}

TEST_F(SettingsTest, ColourSplitsGreyIntoThreeEqualComponents) {
    float rgba[4];
    SettingsStore::UIColorToRGB(Color::grey(0.25f, 0.5f), rgba);
    EXPECT_EQ(rgba[0], 0.25f);
    EXPECT_EQ(rgba[1], 0.25f);
    EXPECT_EQ(rgba[2], 0.25f);
    EXPECT_EQ(rgba[3], 0.5f);
    SettingsStore::UIColorToRGB(Color::rgb(0.1f, 0.2f, 0.3f, 0.4f), rgba);
    EXPECT_EQ(rgba[0], 0.1f);
    EXPECT_EQ(rgba[1], 0.2f);
    EXPECT_EQ(rgba[2], 0.3f);
    EXPECT_EQ(rgba[3], 0.4f);
}

TEST_F(SettingsTest, LoadStoresEverySettingWithoutSideEffects) {
    UserDefaults store(storeFile());
    store.setBool(true, "SmartFlag");
    store.setBool(false, "ShakeCheck");
    store.setInteger(7, "BrushIndex");
    store.setBool(true, "CropFlag");
    store.setBool(true, "DirtyFlag");
    store.setInteger(3, "DocumentOrientation");
    store.setInteger(9, "ColorBrushIndex");
    store.setInteger(12, "OverlayIndex");
    store.setInteger(5, "ToolID");
    store.setBool(false, "CursorDisplay");
    store.setFloat(0.25f, "PaintBrushAlpha");
    store.setInteger(2, "PaintBrushBlendMode");
    store.setBool(true, "SmoothFlag");
    store.setFloat(7.5f, "SmoothAmount");
    store.setFloat(0.5f, "redColor");
    store.setFloat(-40.0f, "FingerY");
    store.setFloat(0.2f, "Green3");

    CanvoAppDelegate delegate; // no screens: nothing to apply the values to
    const long brushIndexBefore = delegate.brushIndex();
    const int orientationBefore = delegate.documentOrientation();
    const auto loaded = delegate.loadSettings(store);
    EXPECT_TRUE(delegate.smartShapesEnabled());
    EXPECT_FALSE(delegate.askOnShake());
    EXPECT_EQ(loaded.brushIndex, 7);
    EXPECT_EQ(delegate.brushIndex(), brushIndexBefore)
        << "the brush index waits for the brush list";
    EXPECT_TRUE(delegate.useCropImage());
    EXPECT_TRUE(delegate.dirtyFlag());
    EXPECT_EQ(loaded.documentOrientation, 3);
    EXPECT_EQ(delegate.documentOrientation(), orientationBefore)
        << "the restored picture decides the orientation";
    EXPECT_EQ(delegate.colorBrushIndex(), 9);
    EXPECT_EQ(delegate.overlayIndex(), 12);
    EXPECT_EQ(int(delegate.selectedTool()), 5);
    EXPECT_FALSE(delegate.cursorDisplayFlag());
    EXPECT_EQ(delegate.paintBrushAlpha(), 0.25f);
    EXPECT_EQ(delegate.blendMode(), platform::BlendMode::Screen);
    EXPECT_TRUE(delegate.smoothPaintBrushFlag());
    EXPECT_EQ(delegate.smoothPaintBrushAmount(), 7.5f);
    EXPECT_EQ(loaded.color, Color::rgb(0.5f, 0, 0, 1));
    EXPECT_EQ(loaded.fingerOffset.x, 0.0f);
    EXPECT_EQ(loaded.fingerOffset.y, -40.0f);
    ASSERT_EQ(delegate.colorSelectionArray().size(), 12u);
    EXPECT_EQ(delegate.colorSelectionArray()[2], Color::rgb(0.5f, 0.2f, 0.5f, 1));
    EXPECT_EQ(delegate.colorSelectionArray()[0], Color::rgb(1, 1, 1, 1));
    // The registered size is applied at every launch.
    EXPECT_EQ(delegate.brushSizeBadge(), "16");
}

TEST_F(SettingsTest, BrushSizeOfZeroIsNotApplied) {
    UserDefaults store(storeFile());
    store.setFloat(0.0f, "BrushSize");
    CanvoAppDelegate delegate;
    delegate.loadSettings(store);
    EXPECT_EQ(delegate.brushSizeBadge(), "");

    UserDefaults other(home_ / "other.json");
    other.setFloat(23.9f, "BrushSize");
    CanvoAppDelegate truncating;
    truncating.loadSettings(other);
    EXPECT_EQ(truncating.brushSizeBadge(), "23");
}

TEST_F(SettingsTest, DamagedNumbersAreReadWithoutOverflow) {
    UserDefaults store(storeFile());
    store.setDouble(1e30, "BrushSize");
    store.setDouble(1e30, "ToolID");
    store.setInteger(-5000000000L, "DocumentOrientation");
    CanvoAppDelegate delegate;
    const auto loaded = delegate.loadSettings(store);
    EXPECT_EQ(delegate.brushSizeBadge(), "2147483647");
    EXPECT_EQ(int(delegate.selectedTool()), 2147483647);
    // An orientation the pictures cannot be written in is not taken.
    EXPECT_EQ(loaded.documentOrientation, 1);
    EXPECT_EQ(delegate.documentOrientation(), 1);
}

TEST_F(SettingsTest, SaveWritesEveryKeyButBrushSize) {
    UserDefaults store(storeFile());
    CanvoAppDelegate delegate;
    delegate.loadSettings(store);
    auto palette = delegate.colorSelectionArray();
    palette[11] = Color::rgb(0.25f, 0.5f, 0.75f, 0.3f);
    delegate.setColorSelectionArray(palette);
    delegate.setOverlayIndex(33);
    delegate.saveSettings(store);
    ASSERT_TRUE(store.synchronize().ok());

    UserDefaults reread(storeFile());
    EXPECT_FALSE(reread.objectForKey("BrushSize").has_value());
    EXPECT_EQ(reread.integerForKey("OverlayIndex"), 33);
    EXPECT_EQ(reread.floatForKey("Red12"), 0.25f);
    EXPECT_EQ(reread.floatForKey("Green12"), 0.5f);
    EXPECT_EQ(reread.floatForKey("Blue12"), 0.75f);
    int written = 0;
    for (const char* key : {"redColor",        "greenColor",      "blueColor",
                            "alphaColor",      "BrushIndex",      "SmartFlag",
                            "ShakeCheck",      "FingerX",         "FingerY",
                            "CropFlag",        "DirtyFlag",       "DocumentOrientation",
                            "ColorBrushIndex", "OverlayIndex",    "ToolID",
                            "CursorDisplay",   "PaintBrushAlpha", "PaintBrushBlendMode",
                            "SmoothFlag",      "SmoothAmount"}) {
        EXPECT_TRUE(reread.objectForKey(key).has_value()) << key;
        ++written;
    }
    for (int n = 1; n <= 12; ++n)
        for (const char* word : {"Red", "Green", "Blue"}) {
            EXPECT_TRUE(reread.objectForKey(word + std::to_string(n)).has_value()) << word << n;
            ++written;
        }
    EXPECT_EQ(written, 56);
    EXPECT_TRUE(std::holds_alternative<bool>(*reread.objectForKey("SmartFlag")));
    EXPECT_TRUE(std::holds_alternative<long>(*reread.objectForKey("ToolID")));
    EXPECT_TRUE(std::holds_alternative<double>(*reread.objectForKey("PaintBrushAlpha")));

    // The palette has no alpha: a translucent colour comes back opaque.
    CanvoAppDelegate next;
    next.loadSettings(reread);
    EXPECT_EQ(next.colorSelectionArray()[11], Color::rgb(0.25f, 0.5f, 0.75f, 1));
}

TEST_F(SettingsTest, ShortPaletteKeepsTheMissingStoredColours) {
    UserDefaults store(storeFile());
    CanvoAppDelegate delegate;
    delegate.loadSettings(store);
    delegate.setColorSelectionArray({Color::rgb(0.5f, 0.5f, 0.5f)});
    delegate.saveSettings(store);
    EXPECT_EQ(store.floatForKey("Red1"), 0.5f);
    // Colour 6 was not in the list: it still answers red.
    EXPECT_EQ(store.floatForKey("Red6"), 1.0f);
    EXPECT_EQ(store.floatForKey("Green6"), 0.0f);
}

// What termination writes is what the next launch reads: every key is written
// under the name, and in the number kind, it is read by.
TEST_F(SettingsTest, SettingsComeBackAsTheyWereSaved) {
    Settings saved;
    saved.brushSize = 40; // never written: the next launch reads the registered 16
    saved.color = Color::rgb(0.25f, 0.5f, 0.75f, 0.5f);
    saved.fingerOffset = {-12.5f, 33};
    saved.askOnShake = false;
    saved.smartShapesEnabled = true;
    saved.useCropImage = true;
    saved.dirtyFlag = true;
    saved.brushIndex = 17;
    saved.documentOrientation = 3;
    saved.colorBrushIndex = 41;
    saved.overlayIndex = 77;
    saved.selectedTool = Tool::ColorBrushTool;
    saved.cursorDisplayFlag = false;
    saved.paintBrushAlpha = 0.375f;
    saved.paintBrushBlendMode = 14;
    saved.smoothPaintBrushFlag = true;
    saved.smoothPaintBrushAmount = 3.5f;
    for (int n = 0; n < Settings::kPaletteSize; ++n)
        saved.colorSelectionArray[std::size_t(n)] =
            Color::rgb(float(n) / 16, float(n + 1) / 16, float(n + 2) / 16);
    {
        UserDefaults store(storeFile());
        SettingsStore(store).save(saved);
        ASSERT_TRUE(store.synchronize().ok());
    }
    UserDefaults reread(storeFile());
    Settings expected = saved;
    expected.brushSize = 16;
    EXPECT_EQ(SettingsStore(reread).load(), expected);

    // Nothing stored: the registered defaults, which are Settings{}.
    UserDefaults empty(home_ / "empty.json");
    EXPECT_EQ(SettingsStore(empty).load(), Settings{});
}

// Pictures can only be written upright (1) or turned (3); any other stored
// orientation is logged with what was found and read as 1.
TEST_F(SettingsTest, DamagedDocumentOrientationIsLoggedAndIgnored) {
    const UserDefaults::Value damaged[] = {2L, 0L, -1L, 99L, std::string("landscape"), 2.5};
    const char* shown[] = {"2", "0", "-1", "99", "\"landscape\"", "2.5"};
    for (std::size_t i = 0; i < std::size(damaged); ++i) {
        platform::clearLogCapture();
        UserDefaults store(home_ / ("damaged" + std::to_string(i) + ".json"));
        store.setObject(damaged[i], "DocumentOrientation");
        EXPECT_EQ(SettingsStore(store).load().documentOrientation, 1) << shown[i];
        EXPECT_TRUE(platform::logContains(std::string("\"DocumentOrientation\" is ") + shown[i] +
                                          ", neither 1 nor 3: ignored"))
            << shown[i];
    }
    for (long good : {1L, 3L}) {
        platform::clearLogCapture();
        UserDefaults store(home_ / ("good" + std::to_string(good) + ".json"));
        store.setInteger(good, "DocumentOrientation");
        EXPECT_EQ(SettingsStore(store).load().documentOrientation, good);
        EXPECT_TRUE(platform::logLines().empty());
    }
}

} // namespace
} // namespace zorbel::testing
