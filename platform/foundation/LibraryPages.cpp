#include "platform/foundation/LibraryPages.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <link.h>
#include <sys/mman.h>
#include <unistd.h>

namespace platform {

namespace {

std::uintptr_t pageSize() {
    static const std::uintptr_t size = std::uintptr_t(sysconf(_SC_PAGESIZE));
    return size;
}

// One entry of /proc/self/smaps: the header line and the two counts read here.
struct Mapping {
    std::uintptr_t begin = 0;
    std::uintptr_t end = 0;
    bool writable = true;
    bool fromFile = false;
    std::size_t rssKb = 0;
    std::size_t anonymousKb = 0;
    bool sawAnonymous = false;
};

// "7f12a0000000-7f12a0021000 r-xp 00000000 08:01 1234   /usr/lib/x.so"
bool parseHeader(const char* line, Mapping& m) {
    char* rest = nullptr;
    m.begin = std::strtoull(line, &rest, 16);
    if (!rest || *rest != '-')
        return false;
    m.end = std::strtoull(rest + 1, &rest, 16);
    char perms[5] = {};
    unsigned long long offset = 0, inode = 0;
    char device[32] = {};
    int pathAt = 0;
    if (std::sscanf(rest, " %4s %llx %31s %llu %n", perms, &offset, device, &inode, &pathAt) < 4)
        return false;
    m.writable = perms[1] == 'w';
    m.fromFile = inode != 0 && rest[pathAt] == '/';
    m.rssKb = 0;
    m.anonymousKb = 0;
    m.sawAnonymous = false;
    return m.end > m.begin;
}

std::vector<Mapping> readSmaps() {
    std::vector<Mapping> mappings;
    FILE* file = std::fopen("/proc/self/smaps", "re");
    if (!file)
        return mappings;
    char* line = nullptr;
    std::size_t capacity = 0;
    Mapping current;
    bool open = false;
    while (getline(&line, &capacity, file) > 0) {
        if (std::strncmp(line, "Rss:", 4) == 0) {
            current.rssKb = std::strtoull(line + 4, nullptr, 10);
        } else if (std::strncmp(line, "Anonymous:", 10) == 0) {
            current.anonymousKb = std::strtoull(line + 10, nullptr, 10);
            current.sawAnonymous = true;
        } else {
            // Field lines ("Rss:", "AnonHugePages:") never read as a range.
            Mapping next;
            if (parseHeader(line, next)) {
                if (open)
                    mappings.push_back(current);
                current = next;
                open = true;
            }
        }
    }
    if (open)
        mappings.push_back(current);
    std::free(line);
    std::fclose(file);
    return mappings;
}

} // namespace

LibraryPages LibraryPages::loadedNow() {
    LibraryPages pages;
    dl_iterate_phdr(
        [](dl_phdr_info* info, std::size_t, void* data) {
            static_cast<std::vector<std::string>*>(data)->emplace_back(
                info->dlpi_name ? info->dlpi_name : "");
            return 0;
        },
        &pages.names_);
    std::sort(pages.names_.begin(), pages.names_.end());
    return pages;
}

std::vector<LibraryPages::Range> LibraryPages::readOnlySegmentsSince() const {
    struct Walk {
        const std::vector<std::string>* before;
        std::vector<Range> ranges;
    } walk{&names_, {}};
    // Only libraries the loader lists: their segments are mapped for good
    // (one being loaded meanwhile is listed once its segments are in place).
    dl_iterate_phdr(
        [](dl_phdr_info* info, std::size_t, void* data) {
            auto& w = *static_cast<Walk*>(data);
            const std::string name = info->dlpi_name ? info->dlpi_name : "";
            if (name.empty() || std::binary_search(w.before->begin(), w.before->end(), name))
                return 0;
            const std::uintptr_t page = pageSize();
            for (int i = 0; i < info->dlpi_phnum; ++i) {
                const ElfW(Phdr)& ph = info->dlpi_phdr[i];
                if (ph.p_type != PT_LOAD || (ph.p_flags & PF_W) || ph.p_memsz == 0)
                    continue;
                const std::uintptr_t start = info->dlpi_addr + ph.p_vaddr;
                w.ranges.push_back(
                    {start & ~(page - 1), (start + ph.p_memsz + page - 1) & ~(page - 1)});
            }
            return 0;
        },
        &walk);
    return walk.ranges;
}

LibraryPages::Released LibraryPages::releaseSince() const {
    return releaseCleanFilePages(readOnlySegmentsSince());
}

LibraryPages::Released LibraryPages::releaseCleanFilePages(const std::vector<Range>& ranges) {
    Released released;
    if (ranges.empty())
        return released;
    for (const Mapping& m : readSmaps()) {
        // A page copied on a write would be lost (it would come back as the
        // file has it), and a writable mapping may get one at any moment.
        if (!m.fromFile || m.writable || !m.sawAnonymous || m.anonymousKb != 0 || m.rssKb == 0)
            continue;
        for (const Range& r : ranges) {
            const std::uintptr_t begin = std::max(m.begin, r.begin);
            const std::uintptr_t end = std::min(m.end, r.end);
            if (begin >= end)
                continue;
            if (madvise(reinterpret_cast<void*>(begin), end - begin, MADV_DONTNEED) != 0)
                continue;
            released.bytes += std::size_t(double(m.rssKb) * 1024.0 * double(end - begin) /
                                          double(m.end - m.begin));
            ++released.mappings;
        }
    }
    return released;
}

} // namespace platform
