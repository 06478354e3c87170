// Every committed fuzz input, replayed through the entry the fuzzer ran it
// with: the crashes found once stay found, under the sanitizers of this build.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include "fuzz/FuzzEntries.h"

namespace fuzz {
// The target's name in the test's listing.
void PrintTo(const Entry& entry, std::ostream* out) {
    *out << entry.name;
}
} // namespace fuzz

namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> bytesOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

class CorpusReplay : public testing::TestWithParam<fuzz::Entry> {};

TEST_P(CorpusReplay, EveryCommittedInputRunsClean) {
    const fuzz::Entry entry = GetParam();
    const fs::path folder = fs::path(ZORBEL_SOURCE_DIR) / "fuzz" / "corpus" / std::string(entry.name);
    ASSERT_TRUE(fs::is_directory(folder)) << folder;
    std::vector<fs::path> files;
    for (const auto& item : fs::directory_iterator(folder))
        if (item.is_regular_file())
            files.push_back(item.path());
    std::sort(files.begin(), files.end());
    ASSERT_GE(files.size(), 3u) << "a target's seed corpus has a few inputs at least";
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.filename().string());
        const std::vector<std::uint8_t> bytes = bytesOf(file);
        EXPECT_EQ(entry.run(bytes.data(), bytes.size()), 0);
    }
    // The empty input is every fuzzer's first.
    EXPECT_EQ(entry.run(nullptr, 0), 0);
}

INSTANTIATE_TEST_SUITE_P(Fuzz, CorpusReplay, testing::ValuesIn(fuzz::entries().begin(),
                                                               fuzz::entries().end()),
                         [](const testing::TestParamInfo<fuzz::Entry>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
