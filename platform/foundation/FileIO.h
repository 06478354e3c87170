#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>
#include <vector>

#include "platform/foundation/Result.h"

namespace platform {

// Writes `bytes` to a temporary file in the same folder, flushes it to disk and
// renames it over `path`, so a reader sees the old file or the new one, never
// a part. On failure the old file is untouched and the temporary file removed.
Status writeFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);
Status writeFileAtomically(const std::filesystem::path& path, std::string_view text);

// The whole file; fails when it is missing, unreadable, not a regular file or
// larger than maxBytes (checked before anything is allocated).
Result<std::vector<std::uint8_t>> readFile(const std::filesystem::path& path,
                                           std::size_t maxBytes = 256u << 20);

bool fileExists(const std::filesystem::path& path); // a regular file (or a link to one)
// Succeeds when the file is gone afterwards (also when it never existed).
Status removeFile(const std::filesystem::path& path);

} // namespace platform
