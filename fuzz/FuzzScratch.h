#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>

namespace fuzz {

// A folder of this process's own for inputs that must be files, emptied on
// each call (in /dev/shm when there is one, so the disk is spared).
std::filesystem::path scratchFolder();

// Writes the fuzzer's bytes to `path` as they are, for readers that take a file.
void writeScratchFile(const std::filesystem::path& path, const std::uint8_t* data, std::size_t size);

} // namespace fuzz
