#include "platform/foundation/UserDefaults.h"

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include <unistd.h>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "platform/foundation/Log.h"
#include "tests/support/Fifo.h"

namespace fs = std::filesystem;
using platform::UserDefaults;

namespace {

fs::path freshFolder(const std::string& name) {
    const char* tmp = std::getenv("ZORBEL_TEST_TMP");
    fs::path dir = fs::path(tmp ? tmp : "/tmp") / ("userdefaults-" + name);
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

std::string readText(const fs::path& p) {
    std::ifstream in(p);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeText(const fs::path& p, const std::string& text) {
    std::ofstream(p) << text;
}

} // namespace

// A key never set answers its registered default and never reaches the file.
TEST(UserDefaults, RegisteredDefaultsAnswerButAreNotWritten) {
    const fs::path file = freshFolder("registered") / "defaults.json";
    UserDefaults d(file);
    d.registerDefaults({{"BrushSize", 16.0}, {"BrushIndex", 5L}, {"ShakeCheck", true}});
    EXPECT_EQ(d.floatForKey("BrushSize"), 16.0f);
    EXPECT_EQ(d.integerForKey("BrushIndex"), 5);
    EXPECT_TRUE(d.boolForKey("ShakeCheck"));
    EXPECT_EQ(d.floatForKey("Unknown"), 0.0f);
    EXPECT_FALSE(d.objectForKey("Unknown").has_value());

    d.setInteger(7, "ToolID");
    ASSERT_TRUE(d.synchronize());
    const auto json = nlohmann::json::parse(readText(file));
    EXPECT_EQ(json, nlohmann::json({{"ToolID", 7}}));
}

// Written values come back exactly in the next run, floats to the last bit.
TEST(UserDefaults, RoundTripKeepsKindsAndExactFloats) {
    const fs::path file = freshFolder("roundtrip") / "defaults.json";
    const float twoThirds = 0.666666687f;
    {
        UserDefaults d(file);
        d.setFloat(twoThirds, "Red2");
        d.setInteger(-3, "BrushIndex");
        d.setBool(false, "ShakeCheck");
        d.setString("MarkerFelt-Thin", "Font");
        ASSERT_TRUE(d.synchronize());
    }
    UserDefaults d(file);
    d.registerDefaults({{"ShakeCheck", true}, {"Red2", 1.0}});
    EXPECT_EQ(d.floatForKey("Red2"), twoThirds);
    EXPECT_EQ(d.integerForKey("BrushIndex"), -3);
    EXPECT_FALSE(d.boolForKey("ShakeCheck"));
    EXPECT_EQ(d.stringForKey("Font"), "MarkerFelt-Thin");
    EXPECT_TRUE(std::holds_alternative<bool>(*d.objectForKey("ShakeCheck")));
    EXPECT_TRUE(std::holds_alternative<long>(*d.objectForKey("BrushIndex")));
}

// Reads convert like boxed numbers: truncation toward zero, non-zero is true.
TEST(UserDefaults, ReadsConvertBetweenKinds) {
    UserDefaults d(freshFolder("convert") / "defaults.json");
    d.setDouble(-2.7, "F");
    d.setBool(true, "B");
    d.setString("12.5abc", "S");
    EXPECT_EQ(d.integerForKey("F"), -2);
    EXPECT_TRUE(d.boolForKey("F"));
    EXPECT_EQ(d.floatForKey("B"), 1.0f);
    EXPECT_EQ(d.integerForKey("B"), 1);
    EXPECT_EQ(d.floatForKey("S"), 12.5f);
    EXPECT_EQ(d.integerForKey("S"), 12);
}

// Keys set in an earlier run stay in the file when another key is written.
TEST(UserDefaults, EarlierValuesSurviveALaterWrite) {
    const fs::path file = freshFolder("merge") / "defaults.json";
    writeText(file, R"({"DirtyFlag": true, "ToolID": 4})");
    UserDefaults d(file);
    d.setInteger(9, "ToolID");
    ASSERT_TRUE(d.synchronize());
    EXPECT_EQ(nlohmann::json::parse(readText(file)),
              nlohmann::json({{"DirtyFlag", true}, {"ToolID", 9}}));
}

// Nothing changed, nothing written: no file appears for a run that set nothing.
TEST(UserDefaults, SynchronizeWithoutChangesWritesNothing) {
    const fs::path file = freshFolder("nochange") / "defaults.json";
    UserDefaults d(file);
    d.registerDefaults({{"ToolID", 1L}});
    ASSERT_TRUE(d.synchronize());
    EXPECT_FALSE(fs::exists(file));
}

// A damaged file is moved aside untouched, logged, and the defaults answer.
TEST(UserDefaults, DamagedFileIsMovedAsideAndDefaultsAnswer) {
    platform::setLogQuiet(true);
    for (const std::string& damage : {std::string("{\"ToolID\": 4,"), std::string("[1, 2]")}) {
        const fs::path dir = freshFolder("damaged");
        const fs::path file = dir / "defaults.json";
        writeText(file, damage);
        platform::clearLogCapture();
        UserDefaults d(file);
        d.registerDefaults({{"ToolID", 1L}});
        EXPECT_EQ(d.integerForKey("ToolID"), 1);
        EXPECT_FALSE(fs::exists(file));
        EXPECT_EQ(readText(dir / "defaults.json.damaged"), damage);
        EXPECT_TRUE(platform::logContains("is damaged"));
        // A second damaged file does not overwrite the first one kept aside.
        writeText(file, "garbage");
        UserDefaults again(file);
        EXPECT_EQ(readText(dir / "defaults.json.damaged"), damage);
        EXPECT_EQ(readText(dir / "defaults.json.damaged-2"), "garbage");
    }
    platform::setLogQuiet(false);
}

// A file that cannot be read is set aside as a damaged one is, and the next
// write makes a new file: what could not be read is never written over.
TEST(UserDefaults, UnreadableFileIsMovedAsideNotWrittenOver) {
    platform::setLogQuiet(true);
    struct Case {
        const char* what;
        void (*make)(const fs::path& file);
    };
    const Case cases[] = {
        // Sparse: far beyond any size a settings file can have, and costs no disk.
        {"oversized",
         [](const fs::path& f) {
             writeText(f, "{}");
             fs::resize_file(f, 300u << 20);
         }},
        {"folder", [](const fs::path& f) { fs::create_directories(f / "inside"); }},
        {"FIFO", [](const fs::path& f) { ASSERT_TRUE(zorbel::test::makeFifo(f)); }},
        {"permission denied",
         [](const fs::path& f) {
             writeText(f, R"({"ToolID": 4})");
             fs::permissions(f, fs::perms::none);
         }},
    };
    for (const Case& c : cases) {
        const fs::path dir = freshFolder("unreadable");
        const fs::path file = dir / "defaults.json";
        c.make(file);
        if (std::string(c.what) == "permission denied" && ::access(file.c_str(), R_OK) == 0)
            continue; // root reads it anyway
        const fs::file_type kind = fs::symlink_status(file).type();
        const auto size = fs::is_regular_file(file) ? fs::file_size(file) : 0;
        platform::clearLogCapture();
        std::unique_ptr<UserDefaults> d;
        EXPECT_TRUE(zorbel::test::returnsWithoutBlocking(
            file, [&] { d = std::make_unique<UserDefaults>(file); }))
            << c.what;
        d->registerDefaults({{"ToolID", 1L}});
        EXPECT_EQ(d->integerForKey("ToolID"), 1) << c.what;
        EXPECT_TRUE(platform::logContains("could not be read")) << c.what;
        const fs::path aside = dir / "defaults.json.damaged";
        EXPECT_EQ(fs::symlink_status(aside).type(), kind) << c.what;
        if (kind == fs::file_type::regular) {
            EXPECT_EQ(fs::file_size(aside), size) << c.what;
        }
        d->setInteger(7, "ToolID");
        ASSERT_TRUE(d->synchronize()) << c.what;
        EXPECT_EQ(nlohmann::json::parse(readText(file)), nlohmann::json({{"ToolID", 7}}))
            << c.what;
        EXPECT_EQ(fs::symlink_status(aside).type(), kind) << c.what;
    }
    platform::setLogQuiet(false);
}

// When an unreadable file cannot be moved aside either (its folder is
// read-only), it stays as it is and the settings of the run are not written.
TEST(UserDefaults, UnreadableFileThatCannotMoveIsKept) {
    const fs::path dir = freshFolder("kept");
    const fs::path file = dir / "defaults.json";
    writeText(file, R"({"ToolID": 4})");
    fs::permissions(file, fs::perms::none);
    fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
    if (::access(file.c_str(), R_OK) == 0 || ::access(dir.c_str(), W_OK) == 0) {
        fs::permissions(dir, fs::perms::owner_all);
        GTEST_SKIP() << "permissions do not hold for this user (root)";
    }
    platform::setLogQuiet(true);
    platform::clearLogCapture();
    {
        UserDefaults d(file);
        d.setInteger(7, "ToolID");
        EXPECT_FALSE(d.synchronize());
    }
    EXPECT_TRUE(platform::logContains("could not be moved aside"));
    EXPECT_TRUE(platform::logContains("Settings are not written"));
    platform::setLogQuiet(false);
    fs::permissions(dir, fs::perms::owner_all);
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(nlohmann::json::parse(readText(file)), nlohmann::json({{"ToolID", 4}}));
}

// Values of other kinds in a valid file are skipped with a log line.
TEST(UserDefaults, UnsupportedValuesAreSkipped) {
    platform::setLogQuiet(true);
    const fs::path file = freshFolder("unsupported") / "defaults.json";
    writeText(file, R"({"A": [1], "B": null, "C": 2.5})");
    UserDefaults d(file);
    EXPECT_FALSE(d.objectForKey("A").has_value());
    EXPECT_FALSE(d.objectForKey("B").has_value());
    EXPECT_EQ(d.doubleForKey("C"), 2.5);
    platform::setLogQuiet(false);
}

// Removing a set key brings its registered default back.
TEST(UserDefaults, RemovingAKeyRestoresItsDefault) {
    const fs::path file = freshFolder("remove") / "defaults.json";
    UserDefaults d(file);
    d.registerDefaults({{"SmoothAmount", 20.0}});
    d.setFloat(5, "SmoothAmount");
    d.removeObjectForKey("SmoothAmount");
    EXPECT_EQ(d.floatForKey("SmoothAmount"), 20.0f);
}
