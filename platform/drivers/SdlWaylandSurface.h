#pragma once

#include <memory>
#include <vector>

struct SDL_Surface;
struct SDL_Window;
struct SDL_Rect;

namespace platform {

// The window's pixels on Wayland as shared memory: wl_shm buffers attached to
// the window's own wl_surface. SDL 2.26 has no framebuffer of its own there
// and would show the pixels through an OpenGL renderer, which loads the whole
// OpenGL stack (LLVM among it, some 80 MB) for a picture drawn on the CPU.
//
// The pixels are written into one SDL surface (B, G, R, X bytes, as the X11
// window's), as into SDL's window surface; each update copies what changed
// since a buffer was last shown into a buffer the compositor has released and
// shows it. The buffers' events go to a queue of their own, so SDL's event
// handling never sees them.
class SdlWaylandSurface {
public:
    // Nothing when the window is not on Wayland or the compositor offers no
    // shared memory.
    static std::unique_ptr<SdlWaylandSurface> make(SDL_Window* window);
    ~SdlWaylandSurface();
    SdlWaylandSurface(const SdlWaylandSurface&) = delete;
    SdlWaylandSurface& operator=(const SdlWaylandSurface&) = delete;

    // The pixels to write, the window's size (made anew when it changed).
    SDL_Surface* surface();
    // Makes the surface and a first buffer at the window's size now, both
    // black, their memory touched, without showing anything: the first
    // update then only copies. False when either could not be made.
    bool prepare();
    // Shows the surface, `rects` being what changed (all of it when empty).
    bool update(const SDL_Rect* rects, int count);

private:
    struct Wayland;
    struct Buffer;
    SdlWaylandSurface();
    Buffer* freeBuffer();
    std::unique_ptr<Wayland> wl_;
    SDL_Window* window_ = nullptr;
    SDL_Surface* pixels_ = nullptr;
    std::vector<std::unique_ptr<Buffer>> buffers_;
};

// Whether a Wayland compositor answers where SDL would look for one
// (WAYLAND_DISPLAY, else "wayland-0") and offers a seat. SDL 2.26's Wayland
// backend dies while it starts under a compositor without a seat (no
// keyboard, no pointer: a headless or kiosk compositor).
enum class WaylandSeat {
    NoCompositor,
    Seat,
    NoSeat,
};
WaylandSeat probeWaylandSeat();

} // namespace platform
