// Modules are found in lib/zorbel/ beside the program's folder, or only in
// ZORBEL_MODULE_DIR when that is set; what cannot be loaded comes back as a
// failure carrying the loader's own words, never a crash.

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <dlfcn.h>
#include <gtest/gtest.h>

#include "platform/foundation/LoadableModule.h"

using platform::LoadableModule;
namespace fs = std::filesystem;

namespace {

class LoadableModuleTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::path(std::getenv("ZORBEL_TEST_TMP") ? std::getenv("ZORBEL_TEST_TMP")
                                                         : ZORBEL_BINARY_DIR "/test-tmp") /
               ("modules-" + std::string(::testing::UnitTest::GetInstance()
                                             ->current_test_info()
                                             ->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        setenv("ZORBEL_MODULE_DIR", dir_.c_str(), 1);
    }
    void TearDown() override {
        unsetenv("ZORBEL_MODULE_DIR");
        fs::remove_all(dir_);
    }
    fs::path dir_;
};

TEST_F(LoadableModuleTest, FoundBesideTheProgramsFolderUnlessTheTestFolderIsSet) {
    ASSERT_EQ(LoadableModule::searchDirectories(), std::vector<fs::path>{dir_});
    unsetenv("ZORBEL_MODULE_DIR");
    const fs::path exe = fs::read_symlink("/proc/self/exe");
    // bin/zorbel and lib/zorbel/ in a prefix; tests/ and lib/zorbel/ in the build folder.
    EXPECT_EQ(LoadableModule::searchDirectories(),
              std::vector<fs::path>{exe.parent_path().parent_path() / "lib" / "zorbel"});
}

TEST_F(LoadableModuleTest, MissingModuleNamesTheFolderLookedIn) {
    auto entry = LoadableModule::entryPoint("libzorbel-nothing.so", "zorbel_nothing");
    ASSERT_FALSE(entry.ok());
    EXPECT_EQ(entry.error(), "libzorbel-nothing.so is not in " + dir_.string());
}

TEST_F(LoadableModuleTest, DamagedModuleGivesTheLoadersReason) {
    std::ofstream(dir_ / "libzorbel-damaged.so") << std::string(4096, 'x');
    auto entry = LoadableModule::entryPoint("libzorbel-damaged.so", "zorbel_damaged");
    ASSERT_FALSE(entry.ok());
    EXPECT_NE(entry.error().find((dir_ / "libzorbel-damaged.so").string()), std::string::npos)
        << entry.error();
    EXPECT_NE(entry.error().find("invalid ELF header"), std::string::npos) << entry.error();
}

TEST_F(LoadableModuleTest, LibraryWithoutTheEntryGivesTheLoadersReasonAndOneWithItTheAddress) {
    // A real shared object: the maths library this program already uses.
    Dl_info info{};
    double (*cosine)(double) = &std::cos;
    ASSERT_NE(dladdr(reinterpret_cast<void*>(cosine), &info), 0);
    fs::copy_file(info.dli_fname, dir_ / "libzorbel-maths.so");
    auto missing = LoadableModule::entryPoint("libzorbel-maths.so", "zorbel_maths_module");
    ASSERT_FALSE(missing.ok());
    EXPECT_NE(missing.error().find("undefined symbol: zorbel_maths_module"), std::string::npos)
        << missing.error();
    // The same module, opened once, answers its entries.
    auto found = LoadableModule::entryPoint("libzorbel-maths.so", "cos");
    ASSERT_TRUE(found.ok()) << found.error();
    EXPECT_EQ(reinterpret_cast<double (*)(double)>(found.value())(0.0), 1.0);
}

// A module once opened is kept by its place: the same name asked for from
// another folder is that folder's, or missing there.
TEST_F(LoadableModuleTest, TheSameNameInAnotherFolderIsNotTheModuleOpenedBefore) {
    Dl_info info{};
    double (*cosine)(double) = &std::cos;
    ASSERT_NE(dladdr(reinterpret_cast<void*>(cosine), &info), 0);
    fs::copy_file(info.dli_fname, dir_ / "libzorbel-kept.so");
    ASSERT_TRUE(LoadableModule::entryPoint("libzorbel-kept.so", "cos").ok());
    const fs::path other = dir_ / "other";
    fs::create_directories(other);
    setenv("ZORBEL_MODULE_DIR", other.c_str(), 1);
    auto missing = LoadableModule::entryPoint("libzorbel-kept.so", "cos");
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.error(), "libzorbel-kept.so is not in " + other.string());
    std::ofstream(other / "libzorbel-kept.so") << std::string(4096, 'x');
    auto damaged = LoadableModule::entryPoint("libzorbel-kept.so", "cos");
    ASSERT_FALSE(damaged.ok());
    EXPECT_NE(damaged.error().find("invalid ELF header"), std::string::npos) << damaged.error();
    // Back in the first folder: the module opened there.
    setenv("ZORBEL_MODULE_DIR", dir_.c_str(), 1);
    EXPECT_TRUE(LoadableModule::entryPoint("libzorbel-kept.so", "cos").ok());
}

} // namespace
