#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// Gives back the resident pages of shared libraries that were loaded for one
// job and stay mapped after it (a graphics driver that marks itself never to
// be unloaded). Only pages the process can read back unchanged from their
// file are let go: touched again, each one faults in from the file as it was,
// so nothing can break; only memory comes back.
class LibraryPages {
public:
    // Addresses [begin, end).
    struct Range {
        std::uintptr_t begin = 0;
        std::uintptr_t end = 0;
    };
    struct Released {
        std::size_t bytes = 0; // resident before, now given back
        int mappings = 0;
    };

    // The libraries loaded now, to compare with later.
    static LibraryPages loadedNow();
    // How many libraries (and the program itself) were loaded when taken.
    std::size_t count() const { return names_.size(); }

    // The segments no one writes (code, constants) of every library loaded
    // since this was taken and still loaded.
    std::vector<Range> readOnlySegmentsSince() const;
    // Gives back the clean pages of those segments.
    Released releaseSince() const;

    // Gives back the resident pages of the file mappings inside `ranges`
    // that are not writable and hold no page of their own ("Anonymous: 0 kB"
    // in /proc/self/smaps: none was ever copied on a write, as the dynamic
    // loader does to the constants it relocates). Other mappings are left
    // as they are.
    static Released releaseCleanFilePages(const std::vector<Range>& ranges);

private:
    std::vector<std::string> names_; // sorted
};

} // namespace platform
