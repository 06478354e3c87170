#include "platform/ui/PowerSupply.h"

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

namespace platform {

namespace fs = std::filesystem;

namespace {

// The first line of a small text file of the power supply class.
std::optional<std::string> firstLine(const fs::path& file) {
    std::error_code ec;
    // Attribute files are regular; anything else (a FIFO planted in a test
    // root) would block the read.
    if (!fs::is_regular_file(file, ec))
        return std::nullopt;
    std::ifstream in(file);
    std::string line;
    if (!in || !std::getline(in, line))
        return std::nullopt;
    return line;
}

} // namespace

std::optional<int> batteryPercent(const fs::path& root) {
    std::error_code ec;
    std::vector<fs::path> supplies;
    for (fs::directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec))
        supplies.push_back(it->path());
    // The same battery every time, whatever order the folder lists them in.
    std::sort(supplies.begin(), supplies.end());
    for (const fs::path& supply : supplies) {
        if (firstLine(supply / "type") != "Battery")
            continue;
        const auto capacity = firstLine(supply / "capacity");
        if (!capacity)
            continue;
        try {
            std::size_t used = 0;
            const int percent = std::stoi(*capacity, &used);
            if (used == capacity->size() && percent >= 0 && percent <= 100)
                return percent;
        } catch (...) {
        }
    }
    return std::nullopt;
}

} // namespace platform
