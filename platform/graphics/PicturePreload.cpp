#include "platform/graphics/PicturePreload.h"

#include <future>
#include <mutex>
#include <system_error>

#include <sys/stat.h>

namespace platform {

namespace {

// What tells one file from another, or from itself changed.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = -1;
    timespec modified{};

    bool operator==(const FileIdentity& o) const {
        return device == o.device && inode == o.inode && size == o.size &&
               modified.tv_sec == o.modified.tv_sec && modified.tv_nsec == o.modified.tv_nsec;
    }
};

std::optional<FileIdentity> identityOf(const std::filesystem::path& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return std::nullopt;
    return FileIdentity{st.st_dev, st.st_ino, st.st_size, st.st_mtim};
}

struct Slot {
    std::mutex mutex;
    std::filesystem::path path;
    std::string purpose;
    std::optional<FileIdentity> identity;
    std::future<PicturePreload::Loaded> result;
};

Slot& slot() {
    static Slot s;
    return s;
}

} // namespace

void PicturePreload::start(const std::filesystem::path& path, std::string purpose,
                           std::function<Loaded()> load) {
    // Taken before reading: a file changed while it is read differs at take.
    std::optional<FileIdentity> identity = identityOf(path);
    std::future<Loaded> result;
    try {
        result = std::async(std::launch::async, std::move(load));
    } catch (const std::system_error&) {
        return;
    }
    std::future<Loaded> dropped;
    Slot& s = slot();
    const std::lock_guard lock(s.mutex);
    dropped = std::move(s.result);
    s.path = path;
    s.purpose = std::move(purpose);
    s.identity = identity;
    s.result = std::move(result);
}

std::optional<PicturePreload::Loaded> PicturePreload::take(const std::filesystem::path& path,
                                                           std::string_view purpose) {
    std::future<Loaded> result;
    std::optional<FileIdentity> identity;
    {
        Slot& s = slot();
        const std::lock_guard lock(s.mutex);
        if (!s.result.valid() || s.path != path || s.purpose != purpose)
            return std::nullopt;
        result = std::move(s.result);
        identity = s.identity;
    }
    Loaded loaded = result.get();
    if (!identity || identityOf(path) != identity)
        return std::nullopt;
    return loaded;
}

} // namespace platform
