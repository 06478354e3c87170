#pragma once

#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/foundation/Codable.h"
#include "platform/foundation/Result.h"

namespace platform {

class CodableRegistry;

// A file that keeps an ordered list of coded objects between launches (the
// layer stack, "Layers.archive"): written atomically, removed when there is
// nothing to keep, read at start-up. Keep one ArchiveFile for the life of the
// process: it remembers a file it could neither read whole nor move aside and
// then refuses to write over it or remove it.
class ArchiveFile {
public:
    explicit ArchiveFile(std::filesystem::path path);

    const std::filesystem::path& path() const { return path_; }
    bool exists() const; // anything at the path, a regular file or not

    // archiveRootObject:toFile: written atomically (temporary file, then
    // rename), so a failure leaves the previous file as it was. Objects whose
    // own keys could not be written are left out, each with a log line; an
    // archive that would be refused when read is not written at all.
    [[nodiscard]] Status writeRootObjects(std::span<const Codable* const> objects) const;
    // Succeeds when nothing is at the path afterwards (also when nothing was).
    [[nodiscard]] Status remove() const;
    // True after readRootObjects found a file it could not read whole and
    // could not move aside: writeRootObjects and remove then refuse.
    bool keepsUnreadFile() const { return keepFile_; }

    struct Contents {
        // The objects read, in their order.
        std::vector<std::shared_ptr<Codable>> objects;
        // Why the file, or some of its elements, could not be read; empty
        // when it was read whole (or there was no file).
        std::vector<std::string> problems;
        // Where the file was moved when it was not read whole. Empty with
        // problems means it could not be moved: it is still at path(), and
        // this ArchiveFile will not write over it (keepsUnreadFile()).
        std::filesystem::path setAsidePath;
    };
    // The list of objects; no file means none. A file that cannot be read
    // whole (unreadable, not a regular file, refused by KeyedUnarchiver, or
    // with elements left out) is logged and set aside (setFileAside), so a
    // later write cannot replace it; the objects that could be read are still
    // returned.
    [[nodiscard]] Contents readRootObjects(const CodableRegistry& registry) const;

private:
    std::filesystem::path path_;
    mutable bool keepFile_ = false;
};

} // namespace platform
