#pragma once

#include <filesystem>

#include "platform/foundation/Result.h"

namespace platform {

// Moves a file that cannot be used (damaged, foreign, not a regular file) out
// of the way instead of writing over it: renamed to "<name>.damaged", or
// "<name>.damaged-2", "-3", ... when that is taken. An existing file is never
// replaced. The new path, or the reason it could not be moved.
[[nodiscard]] Result<std::filesystem::path> setFileAside(const std::filesystem::path& file);

} // namespace platform
