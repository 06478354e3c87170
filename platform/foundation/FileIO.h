#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string_view>
#include <vector>

#include "platform/foundation/Result.h"

namespace platform {

// Writes `bytes` to a temporary file in the same folder, flushes it to disk and
// renames it over `path`, so a reader sees the old file or the new one, never
// a part. On failure the old file is untouched and the temporary file removed.
// A symbolic link is followed: the file it names is replaced and the link
// stays. A path that exists and is not a regular file (a folder, a FIFO, a
// device) is refused and left as it is.
Status writeFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);
Status writeFileAtomically(const std::filesystem::path& path, std::string_view text);

// `bytes` written whole and flushed under a fresh temporary name beside `path`
// (the name removeStaleTemporaries knows); the caller renames or links it into
// place, and removes it when that fails. `path` itself is not looked at.
Result<std::filesystem::path> writeTemporaryFile(const std::filesystem::path& path,
                                                 std::span<const std::uint8_t> bytes);

// Removes from `dir` (not from its subfolders) the temporary files that the
// writes above leave behind when the process is killed in the middle, and logs
// each. Call it only where no other write of the app's can be under way (at
// launch). Answers how many were removed; a missing folder has none.
int removeStaleTemporaries(const std::filesystem::path& dir);

// The whole file; fails when it is missing, unreadable, not a regular file or
// larger than maxBytes (checked before anything is allocated). A FIFO or a
// device is refused at once, never waited on or read from.
Result<std::vector<std::uint8_t>> readFile(const std::filesystem::path& path,
                                           std::size_t maxBytes = 256u << 20);
// The same into memory the caller gives: `place(size)` is asked once, after
// the checks, for room for the file's `size` (> 0) bytes and answers where
// (null: no memory, which fails the read). Answers how many bytes were read,
// fewer when the file shrank meanwhile.
Result<std::size_t> readFileInto(const std::filesystem::path& path, std::size_t maxBytes,
                                 const std::function<std::uint8_t*(std::size_t)>& place);

// What a file that could not be used is set aside as (moveAside's suffix), so
// that what is written at its name later does not replace it.
inline constexpr std::string_view kDamagedSuffix = ".damaged";

// Renames `file` (whatever kind it is) to the first free name of file + suffix,
// file + suffix + "-2", "-3", ..., replacing nothing; answers the new name.
Result<std::filesystem::path> moveAside(const std::filesystem::path& file,
                                        std::string_view suffix);

bool fileExists(const std::filesystem::path& path); // a regular file (or a link to one)
// Anything at all at the path (a file, a folder, a FIFO, a dangling link).
bool pathIsTaken(const std::filesystem::path& path);
// Succeeds when the file is gone afterwards (also when it never existed).
Status removeFile(const std::filesystem::path& path);

// The first name beside `file` that nothing has: file + suffix, then
// file + suffix + "-2", "-3" and so on.
std::filesystem::path freeNameBeside(const std::filesystem::path& file, std::string_view suffix);

} // namespace platform
