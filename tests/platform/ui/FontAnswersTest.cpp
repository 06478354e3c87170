// fontconfig's answers are kept for the next launch, which takes them without
// asking while every file and folder they rest on, and the environment, stand
// as they were; any change and the question is asked again. A kept file that
// cannot be read is set aside and made again.

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/foundation/Log.h"
#include "platform/ui/FontAnswers.h"

using namespace platform;
using namespace platform::detail;
namespace fs = std::filesystem;

namespace {

class FontAnswersTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* tmp = std::getenv("ZORBEL_TEST_TMP");
        dir_ = fs::path(tmp ? tmp : ZORBEL_BINARY_DIR "/test-tmp") /
               ("font-answers-" +
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "fonts");
        std::ofstream(dir_ / "fonts.conf") << "<fontconfig/>";
        file_ = dir_ / "font-answers.json";
        setLogQuiet(true);
        clearLogCapture();
    }
    void TearDown() override {
        setLogQuiet(false);
        fs::remove_all(dir_);
    }

    // A launch: a fresh set of answers over the same file, with an asker that
    // counts its questions and answers "Sans" with a face and anything else
    // with none.
    FontAnswers launch() {
        return FontAnswers(
            file_,
            [this](const FaceQuery& q, bool, FoundFace& out) {
                ++asked_;
                if (q.family != "Sans")
                    return false;
                out = FoundFace{(dir_ / "fonts" / "sans.ttf").string(), q.weight == 200 ? 1 : 0,
                                "Sans", q.weight == 200 ? "Bold" : "Regular"};
                return true;
            },
            [this] {
                return std::vector<fs::path>{dir_ / "fonts.conf", dir_ / "fonts",
                                             dir_ / "user-fonts"};
            });
    }

    // The three questions a launch asks, answered by `answers`.
    void askAll(FontAnswers& answers) {
        FoundFace regular, bold, missing;
        ASSERT_TRUE(answers.match({"Sans", -1, -1}, true, regular));
        ASSERT_TRUE(answers.match({"Sans", 200, -1}, true, bold));
        EXPECT_FALSE(answers.match({"Nowhere", -1, -1}, true, missing));
        EXPECT_EQ(regular.file, (dir_ / "fonts" / "sans.ttf").string());
        EXPECT_EQ(regular.style, "Regular");
        EXPECT_EQ(bold.index, 1);
        EXPECT_EQ(bold.style, "Bold");
        EXPECT_EQ(bold.family, "Sans");
    }

    // One launch more: how many questions it had to ask.
    int askedByNextLaunch() {
        asked_ = 0;
        FontAnswers answers = launch();
        askAll(answers);
        return asked_;
    }

    fs::path dir_, file_;
    int asked_ = 0;
};

TEST_F(FontAnswersTest, ALaunchTakesTheKeptAnswersWhileAllTheyRestOnStandsAsItWas) {
    FontAnswers first = launch();
    askAll(first);
    EXPECT_EQ(asked_, 3);
    askAll(first); // each question asked once
    EXPECT_EQ(asked_, 3);
    ASSERT_TRUE(fs::exists(file_));

    EXPECT_EQ(askedByNextLaunch(), 0);
    EXPECT_EQ(askedByNextLaunch(), 0);
}

TEST_F(FontAnswersTest, AnyChangeToWhatTheyRestOnAndTheQuestionsAreAskedAgain) {
    FontAnswers first = launch();
    askAll(first);
    ASSERT_EQ(askedByNextLaunch(), 0);

    // A setting edited.
    fs::last_write_time(dir_ / "fonts.conf",
                        fs::last_write_time(dir_ / "fonts.conf") + std::chrono::seconds(2));
    EXPECT_EQ(askedByNextLaunch(), 3);
    EXPECT_EQ(askedByNextLaunch(), 0); // kept again with the new times

    // A font installed into a font folder.
    std::ofstream(dir_ / "fonts" / "new.ttf") << "font";
    fs::last_write_time(dir_ / "fonts", fs::last_write_time(dir_ / "fonts") + std::chrono::seconds(2));
    EXPECT_EQ(askedByNextLaunch(), 3);

    // A folder that was not there appears.
    fs::create_directories(dir_ / "user-fonts");
    EXPECT_EQ(askedByNextLaunch(), 3);
    EXPECT_EQ(askedByNextLaunch(), 0);

    // Another language.
    const char* lang = std::getenv("FC_LANG");
    const std::string saved = lang ? lang : "";
    setenv("FC_LANG", "fr", 1);
    EXPECT_EQ(askedByNextLaunch(), 3);
    if (lang)
        setenv("FC_LANG", saved.c_str(), 1);
    else
        unsetenv("FC_LANG");
    EXPECT_EQ(askedByNextLaunch(), 3);
}

TEST_F(FontAnswersTest, AnUnreadableFileIsSetAsideAndMadeAgain) {
    std::ofstream(file_) << "{ not json";
    EXPECT_EQ(askedByNextLaunch(), 3);
    EXPECT_TRUE(logContains("The font answers in " + file_.string() + " could not be read"));
    ASSERT_TRUE(fs::exists(file_.string() + ".damaged"));
    std::ifstream aside(file_.string() + ".damaged");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(aside), {}), "{ not json");
    EXPECT_EQ(askedByNextLaunch(), 0); // made again, and read

    // Valid JSON of another shape is set aside as well.
    std::ofstream(file_, std::ios::trunc) << R"({"format": 99, "answers": []})";
    EXPECT_EQ(askedByNextLaunch(), 3);
    EXPECT_TRUE(fs::exists(file_.string() + ".damaged-2"));
}

TEST_F(FontAnswersTest, AnswersAreGivenWhenTheyCannotBeKeptWithOneLogLine) {
    std::ofstream(dir_ / "blocker") << "a file where the folder would be";
    file_ = dir_ / "blocker" / "font-answers.json";
    FontAnswers answers = launch();
    askAll(answers);
    EXPECT_EQ(asked_, 3);
    int lines = 0;
    for (const std::string& line : logLines())
        lines += line.find("The font answers could not be kept in") != std::string::npos;
    EXPECT_EQ(lines, 1);
}

} // namespace
