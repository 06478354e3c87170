#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/foundation/Result.h"
#include "platform/graphics/Rect.h"

struct SDL_Rect;
struct SDL_Surface;
struct SDL_Window;

namespace platform {

class Context;
class Image;
class LibraryPages;
class SdlWaylandSurface;

// How the framebuffer's A, R, G, B bytes become the window's pixels.
enum class PixelUpload {
    // SDL converts (SDL_ConvertPixels from its ARGB32 byte order).
    SdlConverts,
    // We write the window's own order, B, G, R, X (pixman's x8r8g8b8, SDL's
    // ARGB8888 / XRGB8888) with one byte swap per pixel; other window
    // formats fall back to SDL's conversion.
    NativeOrder,
};

// An SDL window and the way the composed framebuffer reaches it: through
// the window's own pixel surface, so that only the changed rectangle is
// copied and shown (on X11 one XPutImage of that rectangle; on Wayland a
// shared-memory buffer of our own, see SdlWaylandSurface). Owns SDL's video
// subsystem for its lifetime.
class SdlScreen {
public:
    // The faster of the two (bench/ui_window_upload.cpp).
    static constexpr PixelUpload kDefaultUpload = PixelUpload::NativeOrder;

    // Opens a window of `width` x `height` pixels; fails with SDL's reason
    // (e.g. no display).
    static Result<std::unique_ptr<SdlScreen>> open(const std::string& title, int width, int height,
                                                   PixelUpload upload = kDefaultUpload);
    ~SdlScreen();
    SdlScreen(const SdlScreen&) = delete;
    SdlScreen& operator=(const SdlScreen&) = delete;

    SDL_Window* window() const { return window_; }
    // The window's icon (the title bar, the task switcher); a null picture
    // leaves it as it is. True when the window took it.
    bool setIcon(const std::shared_ptr<const Image>& icon);
    bool hasIcon() const { return hasIcon_; }
    // Resizes the window (pixels) and keeps it centred on its display.
    void setSize(int width, int height);
    // The window's size in pixels as SDL reports it.
    int width() const;
    int height() const;
    // The largest area a window may take on the first display (pixels).
    static Rect usableArea();

    // Copies `area` (pixels, clipped to both) of `framebuffer` to the window
    // and shows it. False when the window has no pixel surface.
    bool present(const Context& framebuffer, const Rect& area);
    // The window's pixels as the first frame may be written into them: rows
    // of `pitch` bytes, each pixel's A, R, G, B bytes reversed
    // (reversePixelBytes).
    struct FirstFramePixels {
        std::uint8_t* data = nullptr;
        std::size_t pitch = 0;
        int width = 0;
        int height = 0;
    };
    // Makes the window's pixel surface now, so that the first present finds
    // its memory ready (the window opens on a worker while the app launches):
    // X11's shared memory, shown once; on Wayland our own pixels and a first
    // shared-memory buffer, not shown (the window appears with the first
    // frame). Elsewhere SDL would make a renderer tied to this thread, and
    // nothing is done. On X11 `writable`, when given, is told the pixels
    // before they are first shown, for another thread to write the first
    // frame into them meanwhile; otherwise they are painted black first.
    void prepareSurface(const std::function<void(const FirstFramePixels&)>& writable = {});
    // Lets go of what only making the window needed: on Wayland where SDL
    // takes no Vulkan stand-in (an SDL built without Vulkan), the OpenGL
    // libraries SDL then loads for the window, and the resident code of
    // those that stay mapped (the graphics driver, LLVM: some 36 MB), with
    // one log line saying how much. Nothing otherwise. Takes a few
    // milliseconds: call it once the first frame is shown.
    void releaseWindowMaking();
    // Where the framebuffer's top-left pixel goes in the window (full screen
    // centres a picture smaller than the screen). Setting it paints the
    // window black at the next present, so no old pixels stay beside it.
    void setOrigin(int x, int y);
    int originX() const { return originX_; }
    int originY() const { return originY_; }
    // The window surface changed (resize, exposure): the next present should
    // cover everything.
    void invalidateSurface() { surfaceValid_ = false; }
    bool isSurfaceValid() const { return surfaceValid_; }

    PixelUpload upload() const { return upload_; }
    // SDL's name of the window surface's pixel format ("SDL_PIXELFORMAT_RGB888").
    std::string surfaceFormatName() const;
    // What was shown: how many presents, and the pixels of the last one.
    long presentCount() const { return presentCount_; }
    Rect lastPresented() const { return lastPresented_; }

private:
    SdlScreen();
    // The pixels to write and the way to show them: SDL's window surface, or
    // on Wayland our own shared memory.
    SDL_Surface* pixelSurface();
    void showPixels(const SDL_Rect* rects, int count);
    SDL_Window* window_ = nullptr;
    std::unique_ptr<SdlWaylandSurface> wayland_;
    // The libraries loaded before the window was made, until
    // releaseWindowMaking (Wayland with OpenGL only).
    std::unique_ptr<LibraryPages> librariesBeforeWindow_;
    // SDL took this module as its Vulkan loader (SdlVulkanStandIn): the
    // Wayland window is flagged for Vulkan and made without OpenGL.
    bool vulkanStandIn_ = false;
    bool waylandChecked_ = false;
    PixelUpload upload_ = kDefaultUpload;
    bool surfaceValid_ = false;
    bool hasIcon_ = false;
    int originX_ = 0;
    int originY_ = 0;
    bool clearDue_ = false;
    long presentCount_ = 0;
    Rect lastPresented_ = Rect::null();
};

// Writes `width` x `height` pixels of A, R, G, B bytes as B, G, R, A bytes
// (each pixel's bytes reversed). Rows are `srcStride` / `dstStride` bytes apart.
void reversePixelBytes(const std::uint8_t* src, std::size_t srcStride, std::uint8_t* dst,
                       std::size_t dstStride, int width, int height);

} // namespace platform
