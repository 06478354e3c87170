#include "platform/foundation/ArchiveFile.h"

#include <exception>
#include <system_error>

#include "platform/foundation/ArchiveLimits.h"
#include "platform/foundation/CodableRegistry.h"
#include "platform/foundation/FileIO.h"
#include "platform/foundation/KeyedArchiver.h"
#include "platform/foundation/KeyedUnarchiver.h"
#include "platform/foundation/Log.h"

namespace platform {

namespace fs = std::filesystem;

ArchiveFile::ArchiveFile(fs::path path) : path_(std::move(path)) {}

bool ArchiveFile::exists() const {
    std::error_code ec;
    return fs::symlink_status(path_, ec).type() != fs::file_type::not_found && !ec;
}

namespace {

Status kept(const fs::path& path) {
    return Status::failure(path.string() + " could not be read and is kept as it is");
}

} // namespace

Status ArchiveFile::writeRootObjects(std::span<const Codable* const> objects) const {
    if (keepFile_)
        return kept(path_);
    std::vector<std::string> leftOut;
    Result<std::string> text = KeyedArchiver::archivedDataWithRootObjects(objects, &leftOut);
    for (const std::string& p : leftOut)
        log("Archive " + path_.string() + ": " + p);
    if (!text)
        return Status::failure(text.error());
    return writeFileAtomically(path_, std::string_view(*text));
}

Status ArchiveFile::remove() const {
    if (keepFile_)
        return kept(path_);
    return removeFile(path_);
}

namespace {

// Reads the root list, or says why the file cannot be read at all.
Result<KeyedUnarchiver> openArchive(const fs::path& path, const CodableRegistry& registry) {
    using R = Result<KeyedUnarchiver>;
    std::error_code ec;
    const fs::file_status st = fs::status(path, ec);
    if (ec && st.type() != fs::file_type::not_found)
        return R::failure(ec.message());
    // A FIFO or device here would block or never end; only a plain file is opened.
    if (st.type() != fs::file_type::regular)
        return R::failure("not a regular file");
    const std::uintmax_t size = fs::file_size(path, ec);
    if (!ec && size > ArchiveLimits::maxArchiveBytes)
        return R::failure("larger than " + std::to_string(ArchiveLimits::maxArchiveBytes >> 20) +
                          " MB (" + std::to_string(size) + " bytes)");
    auto bytes = readFile(path, ArchiveLimits::maxArchiveBytes);
    if (!bytes)
        return R::failure(bytes.error());
    const std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    return KeyedUnarchiver::unarchiverForReadingData(text, registry);
}

} // namespace

ArchiveFile::Contents ArchiveFile::readRootObjects(const CodableRegistry& registry) const {
    Contents contents;
    if (!exists())
        return contents;
    try {
        auto unarchiver = openArchive(path_, registry);
        if (!unarchiver) {
            contents.problems.push_back(unarchiver.error());
        } else {
            contents.objects = unarchiver->decodeObjects(KeyedArchiver::rootKey);
            if (unarchiver->failed())
                contents.problems.push_back(unarchiver->failureReason());
            for (const std::string& p : unarchiver->problems())
                contents.problems.push_back(p);
        }
    } catch (const std::exception& e) {
        contents.objects.clear();
        contents.problems.push_back(std::string("could not be read (") + e.what() + ")");
    }
    if (contents.problems.empty())
        return contents;

    for (const std::string& p : contents.problems)
        log("Archive " + path_.string() + ": " + p);
    // Kept for whoever wants to look at it, and so that the next write, which
    // holds only what was read, does not replace it.
    auto aside = moveAside(path_, kDamagedSuffix);
    const std::string readCount = std::to_string(contents.objects.size()) + " object" +
                                  (contents.objects.size() == 1 ? "" : "s") + " read";
    if (aside) {
        contents.setAsidePath = *aside;
        log("Archive " + path_.string() + " was not read whole (" + readCount + "); moved it to " +
            aside->string());
    } else if (exists()) {
        // What could not be read must not be written over either.
        keepFile_ = true;
        log("Archive " + path_.string() + " was not read whole (" + readCount +
            ") and could not be moved aside (" + aside.error() +
            "), so it is kept and not written in this run");
    }
    return contents;
}

} // namespace platform
