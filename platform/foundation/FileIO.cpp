#include "platform/foundation/FileIO.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/foundation/Log.h"
#include "platform/foundation/Prefault.h"

namespace platform {

namespace fs = std::filesystem;

namespace {

// mkostemp's six characters, drawn from letters and digits.
constexpr std::string_view kUniqueSuffix = "XXXXXX";

std::string errnoText() {
    return std::strerror(errno);
}

// Folders, FIFOs and devices are named in messages, so a person sees why.
std::string kindOf(mode_t mode) {
    if (S_ISDIR(mode))
        return "a folder";
    if (S_ISFIFO(mode))
        return "a FIFO";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "a device";
    if (S_ISSOCK(mode))
        return "a socket";
    return "not a regular file";
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

// ".NAME.XXXXXX" with the six characters mkostemp fills in.
bool isTemporaryName(std::string_view name) {
    const std::size_t n = name.size();
    if (n < 1 + 1 + 1 + kUniqueSuffix.size() || name.front() != '.' ||
        name[n - kUniqueSuffix.size() - 1] != '.')
        return false;
    for (char ch : name.substr(n - kUniqueSuffix.size()))
        if (!((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9')))
            return false;
    return true;
}

// The file a write to `path` replaces: `path` itself or, when it is a symbolic
// link, the file at the end of its chain (which may not exist yet).
Result<fs::path> replacedFile(const fs::path& path) {
    fs::path target = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(target.c_str(), &st) != 0) {
            if (errno == ENOENT)
                return target;
            return Result<fs::path>::failure("Could not look at " + target.string() + ": " +
                                             errnoText());
        }
        if (S_ISREG(st.st_mode))
            return target;
        if (!S_ISLNK(st.st_mode))
            return Result<fs::path>::failure(target.string() + " is " + kindOf(st.st_mode) +
                                             ", not a file; it is left as it is");
        std::error_code ec;
        const fs::path link = fs::read_symlink(target, ec);
        if (ec)
            return Result<fs::path>::failure("Could not follow the link " + target.string() +
                                             ": " + ec.message());
        target = link.is_absolute() ? link : target.parent_path() / link;
    }
    return Result<fs::path>::failure("Too many symbolic links from " + path.string());
}

} // namespace

Result<fs::path> writeTemporaryFile(const fs::path& path, std::span<const std::uint8_t> bytes) {
    using R = Result<fs::path>;
    if (path.empty() || !path.has_filename())
        return R::failure("No file name to write to");
    // Built by appends: GCC 12 at -O3 misreads a chain of + here (-Wrestrict).
    std::string name = ".";
    name.append(path.filename().string());
    name.append(".");
    name.append(kUniqueSuffix);
    std::string tmpl = (path.parent_path() / name).string();
    const int fd = ::mkostemp(tmpl.data(), O_CLOEXEC);
    if (fd < 0)
        return R::failure("Could not create a temporary file beside " + path.string() + ": " +
                          errnoText());
    if (!writeAll(fd, bytes.data(), bytes.size()) || ::fsync(fd) != 0) {
        std::string why = "Could not write " + path.string() + ": " + errnoText();
        ::close(fd);
        ::unlink(tmpl.c_str());
        return R::failure(std::move(why));
    }
    // mkostemp makes the file private (0600); give it the usual permissions.
    ::fchmod(fd, 0644);
    if (::close(fd) != 0) {
        std::string why = "Could not write " + path.string() + ": " + errnoText();
        ::unlink(tmpl.c_str());
        return R::failure(std::move(why));
    }
    return fs::path(tmpl);
}

Status writeFileAtomically(const fs::path& path, std::span<const std::uint8_t> bytes) {
    auto target = replacedFile(path);
    if (!target)
        return Status::failure(target.error());
    auto temporary = writeTemporaryFile(*target, bytes);
    if (!temporary)
        return Status::failure(temporary.error());
    if (::rename(temporary->c_str(), target->c_str()) != 0) {
        std::string why = "Could not replace " + target->string() + ": " + errnoText();
        ::unlink(temporary->c_str());
        return Status::failure(std::move(why));
    }
    syncDirectory(target->parent_path());
    return success();
}

Status writeFileAtomically(const fs::path& path, std::string_view text) {
    return writeFileAtomically(
        path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

int removeStaleTemporaries(const fs::path& dir) {
    std::error_code ec;
    int removed = 0;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::directory_entry& entry = *it;
        const fs::path& path = entry.path();
        std::error_code kindError;
        if (!isTemporaryName(path.filename().string()) || !entry.is_regular_file(kindError) ||
            entry.is_symlink(kindError))
            continue;
        if (::unlink(path.c_str()) == 0) {
            log("Removed " + path.string() + ", left by a write that was cut off");
            ++removed;
        } else if (errno != ENOENT) {
            log("Could not remove the leftover " + path.string() + ": " + errnoText());
        }
    }
    return removed;
}

Result<std::size_t> readFileInto(const fs::path& path, std::size_t maxBytes,
                                 const std::function<std::uint8_t*(std::size_t)>& place) {
    using R = Result<std::size_t>;
    // Not blocking: opening a FIFO would wait for a writer. What the file is
    // becomes known only once it is open, so it is checked on the open file.
    int fd = -1;
    do
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return R::failure("Could not open " + path.string() + ": " + errnoText());
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        std::string why = "Could not look at " + path.string() + ": " + errnoText();
        ::close(fd);
        return R::failure(std::move(why));
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        return R::failure(path.string() + " is " + kindOf(st.st_mode) + ", not a file to read");
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (std::uint64_t(st.st_size) > maxBytes) {
        ::close(fd);
        return R::failure(path.string() + " is too large (" + std::to_string(st.st_size) +
                          " bytes)");
    }
    const std::size_t size = std::size_t(st.st_size);
    std::uint8_t* bytes = size > 0 ? place(size) : nullptr;
    if (size > 0 && !bytes) {
        ::close(fd);
        return R::failure("No memory to read " + path.string() + " (" + std::to_string(size) +
                          " bytes)");
    }
    std::size_t got = 0;
    while (got < size) {
        const ssize_t r = ::read(fd, bytes + got, size - got);
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
    return got;
}

Result<std::vector<std::uint8_t>> readFile(const fs::path& path, std::size_t maxBytes) {
    std::vector<std::uint8_t> bytes;
    auto got = readFileInto(path, maxBytes, [&bytes](std::size_t size) {
        bytes = prefaultedBytes(size);
        return bytes.data();
    });
    if (!got)
        return Result<std::vector<std::uint8_t>>::failure(got.error());
    bytes.resize(got.value());
    return bytes;
}

Result<fs::path> moveAside(const fs::path& file, std::string_view suffix) {
    using R = Result<fs::path>;
    for (int n = 1; n <= 1000; ++n) {
        fs::path aside = file;
        aside += std::string(suffix) + (n == 1 ? std::string() : "-" + std::to_string(n));
        if (::renameat2(AT_FDCWD, file.c_str(), AT_FDCWD, aside.c_str(), RENAME_NOREPLACE) == 0)
            return aside;
        if (errno == EEXIST)
            continue;
        if (errno != EINVAL && errno != ENOSYS)
            return R::failure(errnoText());
        // A file system without RENAME_NOREPLACE: look first, then rename.
        struct stat st {};
        if (::lstat(aside.c_str(), &st) == 0)
            continue;
        if (::rename(file.c_str(), aside.c_str()) == 0)
            return aside;
        return R::failure(errnoText());
    }
    return R::failure("no free name beside " + file.string());
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


} // namespace platform
