#include "platform/foundation/FileAside.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <system_error>

#include <fcntl.h>

namespace platform {

namespace fs = std::filesystem;

namespace {

fs::path candidate(const fs::path& file, int n) {
    fs::path aside = file;
    aside += n == 1 ? std::string(".damaged") : ".damaged-" + std::to_string(n);
    return aside;
}

} // namespace

Result<fs::path> setFileAside(const fs::path& file) {
    using R = Result<fs::path>;
    for (int n = 1; n <= 1000; ++n) {
        const fs::path aside = candidate(file, n);
        // No-replace renaming closes the gap between looking for a free name
        // and taking it; file systems without it get the plain check.
        if (::renameat2(AT_FDCWD, file.c_str(), AT_FDCWD, aside.c_str(), RENAME_NOREPLACE) == 0)
            return aside;
        if (errno == EEXIST)
            continue;
        if (errno != EINVAL && errno != ENOSYS)
            return R::failure(std::strerror(errno));
        std::error_code ec;
        if (fs::exists(fs::symlink_status(aside, ec)))
            continue;
        if (std::rename(file.c_str(), aside.c_str()) != 0)
            return R::failure(std::strerror(errno));
        return aside;
    }
    return R::failure("no free name beside it");
}

} // namespace platform
