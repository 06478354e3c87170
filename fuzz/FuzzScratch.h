#pragma once

#include <filesystem>

namespace fuzz {

// A folder of this process's own for inputs that must be files, emptied on
// each call (in /dev/shm when there is one, so the disk is spared).
std::filesystem::path scratchFolder();

} // namespace fuzz
