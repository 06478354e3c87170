#include "platform/drivers/SdlScreen.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

#include <SDL.h>
#include <SDL_vulkan.h>
#include <dlfcn.h>

#include "platform/drivers/SdlVulkanStandIn.h"
#include "platform/drivers/SdlWaylandSurface.h"
#include "platform/foundation/LibraryPages.h"
#include "platform/foundation/Prefault.h"
#include "platform/foundation/Log.h"
#include "platform/graphics/Context.h"
#include "platform/graphics/Image.h"

namespace platform {

// SDL names packed formats by the bits of a 32-bit value; on this
// little-endian machine the canvas bytes A, R, G, B are SDL's BGRA8888 (its
// byte-order alias ARGB32), and the X11 window's B, G, R, X bytes its
// ARGB8888 / XRGB8888.
static_assert(SDL_BYTEORDER == SDL_LIL_ENDIAN);
static_assert(SDL_PIXELFORMAT_ARGB32 == SDL_PIXELFORMAT_BGRA8888);

void reversePixelBytes(const std::uint8_t* src, std::size_t srcStride, std::uint8_t* dst,
                       std::size_t dstStride, int width, int height) {
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* s = src + std::size_t(y) * srcStride;
        std::uint8_t* d = dst + std::size_t(y) * dstStride;
        for (int x = 0; x < width; ++x) {
            std::uint32_t p;
            std::memcpy(&p, s + std::size_t(x) * 4, 4);
            p = __builtin_bswap32(p);
            std::memcpy(d + std::size_t(x) * 4, &p, 4);
        }
    }
}

SdlScreen::SdlScreen() = default;

Result<std::unique_ptr<SdlScreen>> SdlScreen::open(const std::string& title, int width, int height,
                                                   PixelUpload upload) {
    using R = Result<std::unique_ptr<SdlScreen>>;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0)
        return R::failure(SDL_GetError());
    std::unique_ptr<SdlScreen> screen(new SdlScreen());
    screen->upload_ = upload;
    Uint32 flags = 0;
    if (const char* video = SDL_GetCurrentVideoDriver();
        video && std::string_view(video) == "wayland") {
        // SDL 2.26 would otherwise load OpenGL for every Wayland window (EGL,
        // the graphics driver and LLVM: some 70 ms of the launch and tens of
        // megabytes) and give it an EGL surface that nothing draws into: our
        // pixels go up as shared memory (SdlWaylandSurface). A window flagged
        // for Vulkan gets no EGL surface, and of the Vulkan loader SDL loads
        // for it SDL only asks the instance extensions, which this module
        // answers (SdlVulkanStandIn).
        if (loadVulkanStandIn()) {
            screen->vulkanStandIn_ = true;
            flags = SDL_WINDOW_VULKAN;
        } else {
            // An SDL built without Vulkan: OpenGL is loaded as SDL wants,
            // and its code given back once the first frame is shown.
            log(std::string("The Wayland window loads OpenGL: SDL took no Vulkan stand-in (") +
                SDL_GetError() + ")");
            screen->librariesBeforeWindow_ =
                std::make_unique<LibraryPages>(LibraryPages::loadedNow());
        }
    }
    // Beside EGL, SDL loads the client library of the OpenGL it is asked
    // for: desktop OpenGL's by default (libGL, and through GLX Xlib), where
    // OpenGL ES's is a fraction of it. No context is ever made here, so the
    // smaller does, where it is installed (SDL fails the window without it).
    void* gles =
        screen->librariesBeforeWindow_ ? dlopen("libGLESv2.so.2", RTLD_LAZY | RTLD_LOCAL) : nullptr;
    if (gles) {
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_ES);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
    }
    screen->window_ = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED,
                                       SDL_WINDOWPOS_CENTERED, width, height, flags);
    if (gles)
        dlclose(gles);
    if (!screen->window_) {
        std::string reason = SDL_GetError();
        screen.reset();
        return R::failure(reason);
    }
    return screen;
}

void SdlScreen::releaseWindowMaking() {
    if (!librariesBeforeWindow_)
        return;
    const std::unique_ptr<LibraryPages> before = std::move(librariesBeforeWindow_);
    SDL_GL_UnloadLibrary();
    // The graphics driver marks itself never to be unloaded, and LLVM with it
    // (tens of megabytes of code it touched while starting); nothing runs
    // that code again, and should anything do, each page faults in again
    // from its file.
    const LibraryPages::Released released = before->releaseSince();
    if (released.bytes == 0)
        return;
    char line[160];
    std::snprintf(line, sizeof line,
                  "Gave back %.1f MB of library code loaded only to open the window (%d mappings)",
                  double(released.bytes) / (1024.0 * 1024.0), released.mappings);
    log(line);
}

void SdlScreen::prepareSurface(const std::function<void(const FirstFramePixels&)>& writable) {
    const char* video = SDL_GetCurrentVideoDriver();
    if (video && std::string_view(video) == "wayland") {
        // Some 2-4 ms of the first present otherwise, most of it the
        // kernel handing out the fresh pages of the pixels and the buffer.
        waylandChecked_ = true;
        wayland_ = SdlWaylandSurface::make(window_);
        if (wayland_)
            wayland_->prepare();
        return;
    }
    if (!video || std::string_view(video) != "x11")
        return;
    SDL_Surface* surface = SDL_GetWindowSurface(window_);
    if (!surface)
        return;
    // Its pages come in one call rather than a fault each (shared memory
    // has no huge pages), here on the window's thread rather than in the
    // first frame's copy.
    prefaultForWriting(surface->pixels, std::size_t(surface->pitch) * std::size_t(surface->h));
    const Uint32 format = surface->format->format;
    if (writable && upload_ == PixelUpload::NativeOrder && !SDL_MUSTLOCK(surface) &&
        (format == SDL_PIXELFORMAT_ARGB8888 || format == SDL_PIXELFORMAT_XRGB8888)) {
        // Fresh shared memory is black already; the first frame goes in
        // while the server takes its first look below (the pages' first
        // writes and the server's first reads are the slow ones: side by
        // side, not one after the other). What that look shows (black, or
        // part of the frame) is replaced by the first present a moment later.
        writable({static_cast<std::uint8_t*>(surface->pixels), std::size_t(surface->pitch),
                  surface->w, surface->h});
    } else {
        SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
    }
    // The X server maps the shared pixels page by page the first time it
    // reads them (some 600 faults at scale 2): shown once now, while the
    // first frame is still being drawn, so that showing it costs a copy.
    SDL_UpdateWindowSurface(window_);
}

bool SdlScreen::setIcon(const std::shared_ptr<const Image>& icon) {
    if (!icon || !window_)
        return false;
    // SDL takes straight (not premultiplied) alpha; the bytes keep their
    // A, R, G, B order (SDL's ARGB32).
    std::vector<std::uint8_t> pixels(icon->bytes().begin(), icon->bytes().end());
    for (std::size_t i = 0; i + 3 < pixels.size(); i += 4) {
        const unsigned a = pixels[i];
        for (std::size_t c = 1; c < 4; ++c)
            pixels[i + c] =
                a == 0 ? 0 : std::uint8_t(std::min(255u, (pixels[i + c] * 255u + a / 2) / a));
    }
    SDL_Surface* surface =
        SDL_CreateRGBSurfaceWithFormatFrom(pixels.data(), icon->width(), icon->height(), 32,
                                           int(icon->bytesPerRow()), SDL_PIXELFORMAT_ARGB32);
    if (!surface)
        return false;
    SDL_SetWindowIcon(window_, surface);
    SDL_FreeSurface(surface);
    hasIcon_ = true;
    return true;
}

SdlScreen::~SdlScreen() {
    wayland_.reset(); // its buffers are on the window's surface
    if (window_)
        SDL_DestroyWindow(window_);
    if (vulkanStandIn_)
        SDL_Vulkan_UnloadLibrary(); // the window let go of SDL's own hold
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    SDL_Quit();
}

Rect SdlScreen::usableArea() {
    SDL_Rect usable{0, 0, 0, 0};
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0 || usable.w <= 0 || usable.h <= 0)
        SDL_GetDisplayBounds(0, &usable);
    return Rect(float(usable.x), float(usable.y), float(usable.w), float(usable.h));
}

void SdlScreen::setSize(int width, int height) {
    SDL_SetWindowSize(window_, width, height);
    SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    surfaceValid_ = false;
}

int SdlScreen::width() const {
    int w = 0, h = 0;
    SDL_GetWindowSize(window_, &w, &h);
    return w;
}

int SdlScreen::height() const {
    int w = 0, h = 0;
    SDL_GetWindowSize(window_, &w, &h);
    return h;
}

std::string SdlScreen::surfaceFormatName() const {
    SDL_Surface* surface = const_cast<SdlScreen*>(this)->pixelSurface();
    return surface ? SDL_GetPixelFormatName(surface->format->format) : "none";
}

SDL_Surface* SdlScreen::pixelSurface() {
    // SDL's own surface on Wayland would be a texture of an OpenGL renderer.
    if (!waylandChecked_) {
        waylandChecked_ = true;
        wayland_ = SdlWaylandSurface::make(window_);
    }
    return wayland_ ? wayland_->surface() : SDL_GetWindowSurface(window_);
}

void SdlScreen::showPixels(const SDL_Rect* rects, int count) {
    if (wayland_)
        wayland_->update(rects, count);
    else if (count == 0)
        SDL_UpdateWindowSurface(window_);
    else
        SDL_UpdateWindowSurfaceRects(window_, rects, count);
}

void SdlScreen::setOrigin(int x, int y) {
    if (x == originX_ && y == originY_)
        return;
    originX_ = x;
    originY_ = y;
    clearDue_ = true;
    surfaceValid_ = false;
}

bool SdlScreen::present(const Context& framebuffer, const Rect& area) {
    // Asking again is cheap; a new surface comes after a resize.
    SDL_Surface* surface = pixelSurface();
    if (!surface)
        return false;
    const bool clearing = clearDue_ || !surfaceValid_;
    if (clearing && (originX_ != 0 || originY_ != 0 || surface->w > framebuffer.width() ||
                     surface->h > framebuffer.height()))
        SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
    clearDue_ = false;
    // The part of the framebuffer that lands inside the surface.
    const Rect bounds = Rect(0, 0, float(framebuffer.width()), float(framebuffer.height()))
                            .intersection(Rect(float(-originX_), float(-originY_),
                                               float(surface->w), float(surface->h)));
    const Rect r = area.integral().intersection(bounds);
    surfaceValid_ = true;
    if (r.isNull() || r.isEmpty()) {
        if (clearing)
            showPixels(nullptr, 0);
        return true;
    }
    const int x = int(r.minX()), y = int(r.minY()), w = int(r.width()), h = int(r.height());
    const std::uint8_t* src =
        framebuffer.data() + std::size_t(y) * framebuffer.bytesPerRow() + std::size_t(x) * 4;
    const bool locked = SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) == 0;
    auto* dst = static_cast<std::uint8_t*>(surface->pixels) +
                std::size_t(y + originY_) * surface->pitch +
                std::size_t(x + originX_) * surface->format->BytesPerPixel;
    const Uint32 format = surface->format->format;
    if (upload_ == PixelUpload::NativeOrder &&
        (format == SDL_PIXELFORMAT_ARGB8888 || format == SDL_PIXELFORMAT_XRGB8888))
        reversePixelBytes(src, framebuffer.bytesPerRow(), dst, std::size_t(surface->pitch), w, h);
    else
        SDL_ConvertPixels(w, h, SDL_PIXELFORMAT_ARGB32, src, int(framebuffer.bytesPerRow()), format,
                          dst, surface->pitch);
    if (locked)
        SDL_UnlockSurface(surface);
    if (clearing) {
        showPixels(nullptr, 0);
    } else {
        const SDL_Rect rect{x + originX_, y + originY_, w, h};
        showPixels(&rect, 1);
    }
    ++presentCount_;
    lastPresented_ = r;
    return true;
}

} // namespace platform
