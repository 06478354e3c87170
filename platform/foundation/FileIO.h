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
// Anything at all at the path (a file, a folder, a FIFO, a dangling link).
bool pathIsTaken(const std::filesystem::path& path);
// Succeeds when the file is gone afterwards (also when it never existed).
Status removeFile(const std::filesystem::path& path);

// The first name beside `file` that nothing has: file + suffix, then
// file + suffix + "-2", "-3" and so on.
std::filesystem::path freeNameBeside(const std::filesystem::path& file, std::string_view suffix);

// Keeps a file that could not be used out of the way of what is written at
// its name later: it is renamed to the first free name of file + ".damaged"
// (numbered when a damaged copy is already there). Where it went, or why it
// could not be moved.
Result<std::filesystem::path> moveAside(const std::filesystem::path& file);

} // namespace platform
