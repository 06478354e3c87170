#include "fuzz/FuzzScratch.h"

#include <cstdlib>
#include <fstream>
#include <system_error>
#include <unistd.h>

namespace fuzz {

std::filesystem::path scratchFolder() {
    namespace fs = std::filesystem;
    static const fs::path folder = [] {
        std::error_code ec;
        const fs::path shm("/dev/shm");
        const fs::path base = fs::is_directory(shm, ec) ? shm : fs::temp_directory_path(ec);
        return base / ("zorbel-fuzz-" + std::to_string(::getpid()));
    }();
    // Gone when the fuzzer or the test ends normally.
    static const bool cleanUp = [] {
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(folder, ignored);
        });
        return true;
    }();
    (void)cleanUp;
    std::error_code ec;
    fs::remove_all(folder, ec);
    fs::create_directories(folder, ec);
    return folder;
}

void writeScratchFile(const std::filesystem::path& path, const std::uint8_t* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
}

} // namespace fuzz
