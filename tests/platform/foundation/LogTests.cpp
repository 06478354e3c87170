#include <gtest/gtest.h>

#include <regex>
#include <thread>

#include "platform/foundation/Log.h"

using namespace platform;

TEST(Log, LinesAreCapturedWithoutThePrefix) {
    clearLogCapture();
    log("Needed to reloadOffscreenBuffer");
    log(" ++++++++++++++++ Out of Memory! recreateUndoBuffer 2");
    const auto lines = logLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "Needed to reloadOffscreenBuffer");
    EXPECT_EQ(lines[1], " ++++++++++++++++ Out of Memory! recreateUndoBuffer 2");
    EXPECT_TRUE(logContains("recreateUndoBuffer"));
    EXPECT_FALSE(logContains("flushAllBuffers"));
    clearLogCapture();
    EXPECT_TRUE(logLines().empty());
}

// Standard error gets "YYYY-MM-DD HH:MM:SS.mmm name[pid] message".
TEST(Log, StandardErrorLineLooksLikeASystemLogLine) {
    setLogQuiet(false);
    testing::internal::CaptureStderr();
    log("Paint view lowMemoryWarning");
    const std::string out = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(std::regex_match(
        out,
        std::regex(
            R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} [^ \[]+\[\d+\] Paint view lowMemoryWarning\n)")))
        << out;
}

TEST(Log, QuietModeStillCaptures) {
    clearLogCapture();
    setLogQuiet(true);
    testing::internal::CaptureStderr();
    log("Raw Named Image not found!");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    setLogQuiet(false);
    EXPECT_TRUE(logContains("Raw Named Image not found!"));
}

// The effect worker logs while the main thread does: no line is lost or torn.
TEST(Log, LinesFromTwoThreadsAllArrive) {
    clearLogCapture();
    setLogQuiet(true);
    auto worker = [](char tag) {
        for (int i = 0; i < 500; ++i)
            log(std::string(40, tag));
    };
    std::thread a(worker, 'a'), b(worker, 'b');
    a.join();
    b.join();
    setLogQuiet(false);
    const auto lines = logLines();
    ASSERT_EQ(lines.size(), 1000u);
    for (const auto& line : lines)
        EXPECT_TRUE(line == std::string(40, 'a') || line == std::string(40, 'b'));
}
