#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Inert libraries the build leaves beside the window module
// (cmake/LibraryStandIns.cmake), each carrying a real library's name (its
// soname). Loaded before SDL, they are what the loader finds when SDL asks
// for those names, and the real ones, with all they bring, are never mapped:
//  - the sound libraries (PulseAudio, ALSA, libsamplerate), which Debian's
//    SDL links rather than loading them when sound is started, and PulseAudio
//    brings some twenty more; the app makes no sound. Each offers the
//    functions SDL takes from it, all failing as without sound.
//  - D-Bus, where no session bus can be had: SDL goes on without D-Bus then
//    anyway, after loading it and its eight libraries to find out. It offers
//    nothing, so SDL finds out at once.
//  - under an X11 window, the libraries of SDL's other window systems
//    (Wayland's, libdecor, libxkbcommon, and the console's libgbm and
//    libdrm): nine libraries mapped for nothing. Each offers the real one's
//    whole interface, every function answering 0 (no display, no device), so
//    that SDL finds none of those window systems should X11 fail.
// They stay loaded for the life of the process (SDL refers to them).
class LibraryStandIns {
public:
    static const std::vector<std::string>& soundFileNames();
    static constexpr std::string_view kNoDBusFileName = "libzorbel-no-dbus.so";
    static const std::vector<std::string>& x11FileNames();

    // Whether SDL will open an X11 window and try nothing else first, from
    // the environment's DISPLAY, WAYLAND_DISPLAY and SDL_VIDEODRIVER (null
    // when unset): X11 asked for by name, or a display named and no Wayland
    // one (SDL tries X11 first).
    static bool windowWillBeX11(const char* display, const char* waylandDisplay,
                                const char* videoDriver);

    LibraryStandIns() = default;
    LibraryStandIns(LibraryStandIns&& other) noexcept : handles_(std::move(other.handles_)) {}
    LibraryStandIns& operator=(LibraryStandIns&&) = delete;
    LibraryStandIns(const LibraryStandIns&) = delete;
    ~LibraryStandIns() = default; // kept loaded: see above

    // Loads those of `fileNames` found in `folder`; one that cannot be
    // loaded is logged and left out (the real library is loaded instead).
    [[nodiscard]] static LibraryStandIns loadFrom(const std::filesystem::path& folder,
                                                  const std::vector<std::string>& fileNames);

    [[nodiscard]] std::size_t count() const { return handles_.size(); }
    // Unloads them, for an SDL that wants more of them than they offer.
    void unload();

private:
    std::vector<void*> handles_;
};

} // namespace platform
