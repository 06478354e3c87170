#include "platform/foundation/FileIO.h"

#include <cerrno>
#include <cstring>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace fs = std::filesystem;

namespace {

std::string errnoText() {
    return std::strerror(errno);
}

bool writeAll(int fd, const std::uint8_t* p, std::size_t n) {
    while (n > 0) {
        const ssize_t w = ::write(fd, p, n);
        if (w < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += w;
        n -= std::size_t(w);
    }
    return true;
}

// The rename is durable only once the folder's entry is on disk too.
void syncDirectory(const fs::path& dir) {
    const int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

Status writeFileAtomically(const fs::path& path, std::span<const std::uint8_t> bytes) {
    if (path.empty() || !path.has_filename())
        return Status::failure("No file name to write to");
    const fs::path dir = path.parent_path();
    // Built by appends: GCC 12 at -O3 misreads a chain of + here (-Wrestrict).
    std::string name = ".";
    name.append(path.filename().string());
    name.append(".XXXXXX");
    std::string tmpl = (dir / name).string();
    const int fd = ::mkostemp(tmpl.data(), O_CLOEXEC);
    if (fd < 0)
        return Status::failure("Could not create a temporary file beside " + path.string() + ": " +
                               errnoText());
    if (!writeAll(fd, bytes.data(), bytes.size()) || ::fsync(fd) != 0) {
        std::string why = "Could not write " + path.string() + ": " + errnoText();
        ::close(fd);
        ::unlink(tmpl.c_str());
        return Status::failure(std::move(why));
    }
    // mkostemp makes the file private (0600); give it the usual permissions.
    ::fchmod(fd, 0644);
    if (::close(fd) != 0) {
        std::string why = "Could not write " + path.string() + ": " + errnoText();
        ::unlink(tmpl.c_str());
        return Status::failure(std::move(why));
    }
    if (::rename(tmpl.c_str(), path.c_str()) != 0) {
        std::string why = "Could not replace " + path.string() + ": " + errnoText();
        ::unlink(tmpl.c_str());
        return Status::failure(std::move(why));
    }
    syncDirectory(dir);
    return success();
}

Status writeFileAtomically(const fs::path& path, std::string_view text) {
    return writeFileAtomically(
        path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

Result<std::vector<std::uint8_t>> readFile(const fs::path& path, std::size_t maxBytes) {
    using R = Result<std::vector<std::uint8_t>>;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return R::failure("Could not open " + path.string() + ": " + errnoText());
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return R::failure(path.string() + " is not a readable file");
    }
    if (std::uint64_t(st.st_size) > maxBytes) {
        ::close(fd);
        return R::failure(path.string() + " is too large (" + std::to_string(st.st_size) +
                          " bytes)");
    }
    std::vector<std::uint8_t> bytes(std::size_t(st.st_size));
    std::size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t r = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (r < 0 && errno == EINTR)
            continue;
        if (r < 0) {
            std::string why = "Could not read " + path.string() + ": " + errnoText();
            ::close(fd);
            return R::failure(std::move(why));
        }
        if (r == 0)
            break; // the file shrank while we read it
        got += std::size_t(r);
    }
    ::close(fd);
    bytes.resize(got);
    return bytes;
}

bool fileExists(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

bool pathIsTaken(const fs::path& path) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec));
}

Status removeFile(const fs::path& path) {
    if (::unlink(path.c_str()) != 0 && errno != ENOENT)
        return Status::failure("Could not delete " + path.string() + ": " + errnoText());
    return success();
}

fs::path freeNameBeside(const fs::path& file, std::string_view suffix) {
    fs::path name = file;
    name += std::string(suffix);
    for (int n = 2; pathIsTaken(name); ++n) {
        name = file;
        name += std::string(suffix) + "-" + std::to_string(n);
    }
    return name;
}

Result<fs::path> moveAside(const fs::path& file) {
    const fs::path aside = freeNameBeside(file, ".damaged");
    // rename() would replace a file that appeared at `aside` meanwhile; a
    // hard link never replaces anything, so it is tried first.
    if (::link(file.c_str(), aside.c_str()) == 0) {
        if (::unlink(file.c_str()) == 0)
            return aside;
        const std::string why = errnoText();
        ::unlink(aside.c_str());
        return Result<fs::path>::failure(why);
    }
    if (::rename(file.c_str(), aside.c_str()) != 0)
        return Result<fs::path>::failure(errnoText());
    return aside;
}

} // namespace platform
