#pragma once

#include <filesystem>
#include <optional>

namespace platform {

// The charge of the machine's battery, from the kernel's power supply class:
// the first supply of type "Battery" with a readable "capacity" (0 to 100).
// Nothing on a machine without one (most desktops).
std::optional<int> batteryPercent(const std::filesystem::path& root = "/sys/class/power_supply");

} // namespace platform
