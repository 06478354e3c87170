#include "platform/imagepicker/PhotoLibrary.h"

#include <algorithm>
#include <cstdlib>
#include <set>
#include <system_error>
#include <utility>

#include <sys/stat.h>

#include "platform/foundation/Log.h"
#include "platform/foundation/Paths.h"

namespace platform {

namespace fs = std::filesystem;

namespace {

fs::path absoluteFromEnv(const char* name) {
    const char* v = std::getenv(name);
    if (!v || !*v)
        return {};
    fs::path p(v);
    return p.is_absolute() ? p : fs::path{};
}

} // namespace

std::vector<fs::path> PhotoLibrary::defaultFolders() {
    const fs::path album = Paths::picturesDirectory();
    if (!Paths::home().empty())
        return {album};
    fs::path pictures = absoluteFromEnv("XDG_PICTURES_DIR");
    if (pictures.empty()) {
        const fs::path home = absoluteFromEnv("HOME");
        if (home.empty())
            return {album};
        pictures = home / "Pictures";
    }
    return {pictures, album};
}

bool PhotoLibrary::hasPictureExtension(const fs::path& path) {
    std::string ext = path.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return ext == ".png" || ext == ".jpg" || ext == ".jpeg" || ext == ".jpe";
}

std::vector<PhotoLibrary::Entry> PhotoLibrary::scan(const std::vector<fs::path>& folders) {
    std::vector<Entry> entries;
    // Device and inode of every file taken, so that one file reached through
    // two names shows once.
    std::set<std::pair<dev_t, ino_t>> seen;
    for (const fs::path& folder : folders) {
        std::error_code ec;
        fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec);
        if (ec) {
            if (ec != std::errc::no_such_file_or_directory)
                log("Photo library: cannot list " + folder.string() + ": " + ec.message());
            continue;
        }
        for (const fs::directory_iterator end; it != end; it.increment(ec)) {
            if (ec) {
                log("Photo library: listing " + folder.string() + " stopped: " + ec.message());
                break;
            }
            const fs::path& path = it->path();
            const std::string name = path.filename().string();
            if (name.empty() || name[0] == '.' || !hasPictureExtension(path))
                continue;
            struct stat st {};
            // stat follows a link: what counts is the file it reaches.
            if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
                continue;
            if (!seen.insert({st.st_dev, st.st_ino}).second)
                continue;
            Entry e;
            e.path = path;
            e.modified = std::int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
            e.bytes = std::uintmax_t(st.st_size);
            entries.push_back(std::move(e));
        }
    }
    // Newest first; the name decides between files of the same moment, so
    // the order never depends on the folder's listing order.
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        if (a.modified != b.modified)
            return a.modified > b.modified;
        return a.path < b.path;
    });
    return entries;
}

} // namespace platform
