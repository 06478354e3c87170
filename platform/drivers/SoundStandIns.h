#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace platform {

// The app makes no sound, yet Debian's SDL links its sound libraries
// (PulseAudio, ALSA, libsamplerate) rather than loading them when sound is
// started, and PulseAudio brings some twenty more: a third of the window's
// launch went to mapping them. The build leaves an inert stand-in for each
// beside the window module (cmake/SoundStandIns.cmake): it carries the real
// library's name and the functions SDL takes from it. Loaded before the
// module, the stand-ins are what the loader finds when SDL asks for those
// names. They stay loaded for the life of the process (SDL refers to them).
class SoundStandIns {
public:
    // The stand-ins the build may make, by file name.
    static const std::vector<std::string>& fileNames();

    SoundStandIns() = default;
    SoundStandIns(SoundStandIns&& other) noexcept : handles_(std::move(other.handles_)) {}
    SoundStandIns& operator=(SoundStandIns&&) = delete;
    SoundStandIns(const SoundStandIns&) = delete;
    ~SoundStandIns() = default; // kept loaded: see above

    // Loads those found in `folder`; a stand-in that cannot be loaded is
    // logged and left out (SDL then loads the real library).
    [[nodiscard]] static SoundStandIns loadFrom(const std::filesystem::path& folder);

    [[nodiscard]] std::size_t count() const { return handles_.size(); }
    // Unloads them, for an SDL that wants more of them than they offer.
    void unload();

private:
    std::vector<void*> handles_;
};

} // namespace platform
