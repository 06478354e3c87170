// The battery's charge from a power supply folder laid out as the kernel's.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/ui/PowerSupply.h"

using namespace platform;
namespace fs = std::filesystem;

namespace {

struct PowerSupplyTest : ::testing::Test {
    fs::path root = fs::temp_directory_path() / ("power-" + std::to_string(::getpid()));
    void SetUp() override { fs::create_directories(root); }
    void TearDown() override { fs::remove_all(root); }
    void supply(const std::string& name, const std::string& type, const std::string& capacity) {
        fs::create_directories(root / name);
        std::ofstream(root / name / "type") << type << "\n";
        if (!capacity.empty())
            std::ofstream(root / name / "capacity") << capacity << "\n";
    }
};

TEST_F(PowerSupplyTest, TheBatterysCapacityIsTheCharge) {
    supply("AC", "Mains", "");
    supply("BAT0", "Battery", "57");
    EXPECT_EQ(batteryPercent(root), 57);
}

// A desktop (mains only, or no folder) has no battery to show; a battery with
// a missing, damaged or impossible capacity is passed over.
TEST_F(PowerSupplyTest, NoUsableBatteryIsNoCharge) {
    EXPECT_EQ(batteryPercent(root / "missing"), std::nullopt);
    supply("AC", "Mains", "100");
    EXPECT_EQ(batteryPercent(root), std::nullopt);
    supply("BAT0", "Battery", "");
    supply("BAT1", "Battery", "lots");
    supply("BAT2", "Battery", "250");
    EXPECT_EQ(batteryPercent(root), std::nullopt);
    fs::create_directories(root / "BAT3");
    std::ofstream(root / "BAT3" / "type") << "Battery\n";
    ASSERT_EQ(mkfifo((root / "BAT3" / "capacity").c_str(), 0600), 0);
    EXPECT_EQ(batteryPercent(root), std::nullopt); // and it did not hang
    supply("BAT4", "Battery", "12");
    EXPECT_EQ(batteryPercent(root), 12);
}

} // namespace
