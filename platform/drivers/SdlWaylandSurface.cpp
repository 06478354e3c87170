#include "platform/drivers/SdlWaylandSurface.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string_view>

#include <SDL.h>
#include <SDL_syswm.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

namespace platform {

namespace {

// Two buffers usually serve (one shown, one written); a third when the
// compositor holds both a little longer.
constexpr std::size_t kMostBuffers = 3;

SDL_Rect unite(const SDL_Rect& a, const SDL_Rect& b) {
    if (a.w <= 0 || a.h <= 0)
        return b;
    if (b.w <= 0 || b.h <= 0)
        return a;
    SDL_Rect r;
    SDL_UnionRect(&a, &b, &r);
    return r;
}

} // namespace

struct SdlWaylandSurface::Wayland {
    wl_display* display = nullptr;
    wl_surface* surface = nullptr; // SDL's
    wl_event_queue* queue = nullptr;
    wl_registry* registry = nullptr;
    wl_shm* shm = nullptr;

    ~Wayland() {
        if (shm)
            wl_shm_destroy(shm);
        if (registry)
            wl_registry_destroy(registry);
        if (queue)
            wl_event_queue_destroy(queue);
    }
};

struct SdlWaylandSurface::Buffer {
    wl_buffer* buffer = nullptr;
    void* data = MAP_FAILED;
    std::size_t size = 0;
    int width = 0;
    int height = 0;
    int stride = 0;
    bool busy = false; // the compositor has not released it yet
    SDL_Rect stale{};  // what changed since it was last written

    ~Buffer() {
        if (buffer)
            wl_buffer_destroy(buffer);
        if (data != MAP_FAILED)
            munmap(data, size);
    }
};

namespace {

void onGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
    auto* wl = static_cast<wl_shm**>(data);
    if (!*wl && std::string_view(interface) == wl_shm_interface.name)
        *wl = static_cast<wl_shm*>(wl_registry_bind(registry, name, &wl_shm_interface, 1));
}

void onGlobalRemoved(void*, wl_registry*, uint32_t) {}

const wl_registry_listener kRegistryListener = {onGlobal, onGlobalRemoved};

void onRelease(void* data, wl_buffer*) {
    *static_cast<bool*>(data) = false;
}

const wl_buffer_listener kBufferListener = {onRelease};

} // namespace

SdlWaylandSurface::SdlWaylandSurface() : wl_(std::make_unique<Wayland>()) {}

SdlWaylandSurface::~SdlWaylandSurface() {
    buffers_.clear();
    if (pixels_)
        SDL_FreeSurface(pixels_);
    if (wl_->display)
        wl_display_flush(wl_->display);
}

std::unique_ptr<SdlWaylandSurface> SdlWaylandSurface::make(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_WAYLAND ||
        !info.info.wl.display || !info.info.wl.surface)
        return nullptr;
    std::unique_ptr<SdlWaylandSurface> made(new SdlWaylandSurface());
    made->window_ = window;
    Wayland& wl = *made->wl_;
    wl.display = info.info.wl.display;
    wl.surface = info.info.wl.surface;
    wl.queue = wl_display_create_queue(wl.display);
    if (!wl.queue)
        return nullptr;
    // The registry on our queue from its first event on.
    auto* display = static_cast<wl_display*>(wl_proxy_create_wrapper(wl.display));
    if (!display)
        return nullptr;
    wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(display), wl.queue);
    wl.registry = wl_display_get_registry(display);
    wl_proxy_wrapper_destroy(display);
    if (!wl.registry)
        return nullptr;
    wl_registry_add_listener(wl.registry, &kRegistryListener, &wl.shm);
    if (wl_display_roundtrip_queue(wl.display, wl.queue) < 0 || !wl.shm)
        return nullptr;
    return made;
}

SDL_Surface* SdlWaylandSurface::surface() {
    int w = 0, h = 0;
    SDL_GetWindowSize(window_, &w, &h);
    if (w <= 0 || h <= 0)
        return nullptr;
    if (pixels_ && pixels_->w == w && pixels_->h == h)
        return pixels_;
    if (pixels_)
        SDL_FreeSurface(pixels_);
    buffers_.clear();
    pixels_ = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_XRGB8888);
    return pixels_;
}

bool SdlWaylandSurface::prepare() {
    SDL_Surface* pixels = surface();
    if (!pixels || SDL_FillRect(pixels, nullptr, 0) != 0)
        return false;
    Buffer* b = freeBuffer();
    if (!b)
        return false;
    std::memset(b->data, 0, b->size);
    b->stale = SDL_Rect{}; // the same black as the surface
    return true;
}

SdlWaylandSurface::Buffer* SdlWaylandSurface::freeBuffer() {
    for (int attempt = 0; attempt < 2; ++attempt) {
        wl_display_dispatch_queue_pending(wl_->display, wl_->queue);
        for (auto& b : buffers_)
            if (!b->busy)
                return b.get();
        if (buffers_.size() < kMostBuffers)
            break;
        // All held: wait for the compositor once.
        if (wl_display_roundtrip_queue(wl_->display, wl_->queue) < 0)
            return nullptr;
    }
    if (buffers_.size() >= kMostBuffers)
        return nullptr;
    auto b = std::make_unique<Buffer>();
    b->width = pixels_->w;
    b->height = pixels_->h;
    b->stride = b->width * 4;
    b->size = std::size_t(b->stride) * std::size_t(b->height);
    b->stale = SDL_Rect{0, 0, b->width, b->height};
    const int fd = memfd_create("window", MFD_CLOEXEC);
    if (fd < 0)
        return nullptr;
    if (ftruncate(fd, off_t(b->size)) != 0) {
        close(fd);
        return nullptr;
    }
    b->data = mmap(nullptr, b->size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    wl_shm_pool* pool =
        b->data == MAP_FAILED ? nullptr : wl_shm_create_pool(wl_->shm, fd, int32_t(b->size));
    close(fd);
    if (!pool)
        return nullptr;
    b->buffer =
        wl_shm_pool_create_buffer(pool, 0, b->width, b->height, b->stride, WL_SHM_FORMAT_XRGB8888);
    wl_shm_pool_destroy(pool);
    if (!b->buffer)
        return nullptr;
    wl_buffer_add_listener(b->buffer, &kBufferListener, &b->busy);
    buffers_.push_back(std::move(b));
    return buffers_.back().get();
}

bool SdlWaylandSurface::update(const SDL_Rect* rects, int count) {
    if (!pixels_)
        return false;
    const SDL_Rect whole{0, 0, pixels_->w, pixels_->h};
    SDL_Rect damage{};
    for (int i = 0; i < count; ++i)
        damage = unite(damage, rects[i]);
    if (count == 0 || damage.w <= 0 || damage.h <= 0)
        damage = whole;
    SDL_IntersectRect(&damage, &whole, &damage);
    for (auto& b : buffers_)
        b->stale = unite(b->stale, damage);
    Buffer* b = freeBuffer();
    if (!b)
        return false;
    const SDL_Rect copy = b->stale;
    for (int y = copy.y; y < copy.y + copy.h; ++y)
        std::memcpy(static_cast<std::uint8_t*>(b->data) + std::size_t(y) * std::size_t(b->stride) +
                        std::size_t(copy.x) * 4,
                    static_cast<const std::uint8_t*>(pixels_->pixels) +
                        std::size_t(y) * std::size_t(pixels_->pitch) + std::size_t(copy.x) * 4,
                    std::size_t(copy.w) * 4);
    b->stale = SDL_Rect{};
    wl_surface_attach(wl_->surface, b->buffer, 0, 0);
    for (int i = 0; i < count; ++i)
        wl_surface_damage(wl_->surface, rects[i].x, rects[i].y, rects[i].w, rects[i].h);
    if (count == 0)
        wl_surface_damage(wl_->surface, 0, 0, whole.w, whole.h);
    wl_surface_commit(wl_->surface);
    b->busy = true;
    return wl_display_flush(wl_->display) >= 0 || errno == EAGAIN;
}

WaylandSeat probeWaylandSeat() {
    wl_display* display = wl_display_connect(nullptr);
    if (!display)
        return WaylandSeat::NoCompositor;
    bool seat = false;
    wl_registry* registry = wl_display_get_registry(display);
    static const wl_registry_listener listener = {
        [](void* data, wl_registry*, uint32_t, const char* interface, uint32_t) {
            if (std::string_view(interface) == wl_seat_interface.name)
                *static_cast<bool*>(data) = true;
        },
        [](void*, wl_registry*, uint32_t) {},
    };
    if (registry) {
        wl_registry_add_listener(registry, &listener, &seat);
        wl_display_roundtrip(display);
        wl_registry_destroy(registry);
    }
    wl_display_disconnect(display);
    return seat ? WaylandSeat::Seat : WaylandSeat::NoSeat;
}

} // namespace platform
