#include "platform/drivers/SdlDriver.h"

#include <algorithm>
#include <cmath>
#include <map>

#include <SDL.h>

#include "platform/foundation/Log.h"
#include "platform/graphics/Context.h"
#include "platform/ui/Accelerometer.h"
#include "platform/ui/Animation.h"
#include "platform/ui/Application.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/RunLoop.h"
#include "platform/ui/Window.h"

namespace platform {

namespace {

constexpr int kPointsWide = 320;
constexpr int kPointsHigh = 480;
constexpr int kMouseFinger = 1;
constexpr int kMirrorFinger = 2;
constexpr int kFirstTouchFinger = 10;
// Room left for the window's title bar and the desktop's panels.
constexpr int kDecorationAllowance = 48;

} // namespace

struct SdlDriver::Impl {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    std::unique_ptr<Context> framebuffer;
    int textureWidth = 0;
    int textureHeight = 0;
    bool mouseDown = false;
    bool mirrored = false; // the Alt second finger is down
    std::map<SDL_FingerID, int> fingers;
    int nextFinger = kFirstTouchFinger;
    bool quit = false;

    ~Impl() {
        if (texture)
            SDL_DestroyTexture(texture);
        if (renderer)
            SDL_DestroyRenderer(renderer);
        if (window)
            SDL_DestroyWindow(window);
        SDL_Quit();
    }
};

SdlDriver::SdlDriver() : impl_(std::make_unique<Impl>()) {}
SdlDriver::~SdlDriver() = default;

int SdlDriver::scaleForArea(int usableWidth, int usableHeight) {
    const int byWidth = usableWidth / kPointsWide;
    const int byHeight = (usableHeight - kDecorationAllowance) / kPointsHigh;
    return std::max(1, std::min(byWidth, byHeight));
}

Point SdlDriver::mirroredFinger(Point p, float windowWidth, float windowHeight) {
    return {windowWidth - p.x, windowHeight - p.y};
}

int SdlDriver::turned(int orientation, bool left) {
    // Counter-clockwise: portrait, landscape right (3), upside down, landscape left (4).
    static const int order[] = {1, 3, 2, 4};
    int i = 0;
    while (i < 4 && order[i] != orientation)
        ++i;
    if (i == 4)
        i = 0;
    return order[(i + (left ? 1 : 3)) % 4];
}

Result<std::unique_ptr<SdlDriver>> SdlDriver::create() {
    // Our own SIGINT/SIGTERM handlers end the run; mouse and touch stay apart.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_MOUSE_TOUCH_EVENTS, "0");
    SDL_SetHint(SDL_HINT_TOUCH_MOUSE_EVENTS, "0");
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0)
        return Result<std::unique_ptr<SdlDriver>>::failure(SDL_GetError());
    std::unique_ptr<SdlDriver> driver(new SdlDriver());
    SDL_Rect usable{0, 0, kPointsWide, kPointsHigh + kDecorationAllowance};
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0)
        SDL_GetDisplayBounds(0, &usable);
    driver->scale_ = scaleForArea(usable.w, usable.h);
    Impl& d = *driver->impl_;
    d.window = SDL_CreateWindow("Zorbel", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                kPointsWide * driver->scale_, kPointsHigh * driver->scale_, 0);
    if (!d.window)
        return Result<std::unique_ptr<SdlDriver>>::failure(SDL_GetError());
    d.renderer = SDL_CreateRenderer(d.window, -1, SDL_RENDERER_PRESENTVSYNC);
    if (!d.renderer)
        d.renderer = SDL_CreateRenderer(d.window, -1, SDL_RENDERER_SOFTWARE);
    if (!d.renderer)
        return Result<std::unique_ptr<SdlDriver>>::failure(SDL_GetError());
    SDL_StartTextInput();
    return driver;
}

namespace {

// Window points of an SDL window position.
Point toPoints(SDL_Window* sdlWindow, Window& w, int x, int y) {
    int ww = 1, wh = 1;
    SDL_GetWindowSize(sdlWindow, &ww, &wh);
    const Size s = w.size();
    return {float(x) * s.width / float(std::max(1, ww)),
            float(y) * s.height / float(std::max(1, wh))};
}

} // namespace

int SdlDriver::run() {
    Impl& d = *impl_;
    RunLoop& loop = RunLoop::main();
    Window* w = Application::shared().keyWindow();
    if (w) {
        w->setScale(float(scale_));
        w->setSizeChangedHandler([this](Size s) {
            SDL_SetWindowSize(impl_->window, int(s.width) * scale_, int(s.height) * scale_);
        });
    }

    auto present = [&](bool uploadAll) {
        if (!w) {
            SDL_SetRenderDrawColor(d.renderer, 0, 0, 0, 255);
            SDL_RenderClear(d.renderer);
            SDL_RenderPresent(d.renderer);
            return;
        }
        const int width = int(w->size().width) * scale_;
        const int height = int(w->size().height) * scale_;
        if (!d.framebuffer || d.framebuffer->width() != width ||
            d.framebuffer->height() != height) {
            d.framebuffer = Context::createBitmap(width, height, nullptr, YAxis::Down);
            uploadAll = true;
        }
        if (!d.texture || d.textureWidth != width || d.textureHeight != height) {
            if (d.texture)
                SDL_DestroyTexture(d.texture);
            // The canvas byte order A, R, G, B is SDL's ARGB32 (byte-wise).
            d.texture = SDL_CreateTexture(d.renderer, SDL_PIXELFORMAT_ARGB32,
                                          SDL_TEXTUREACCESS_STREAMING, width, height);
            d.textureWidth = width;
            d.textureHeight = height;
            uploadAll = true;
        }
        if (!d.framebuffer || !d.texture)
            return;
        const Rect changed = w->render(*d.framebuffer);
        if (changed.isNull() && !uploadAll)
            return;
        SDL_Rect r{0, 0, width, height};
        if (!uploadAll) {
            const Rect px = Rect(changed.minX() * float(scale_), changed.minY() * float(scale_),
                                 changed.width() * float(scale_), changed.height() * float(scale_))
                                .integral()
                                .intersection(Rect(0, 0, float(width), float(height)));
            if (px.isNull() || px.isEmpty())
                return;
            r = {int(px.minX()), int(px.minY()), int(px.width()), int(px.height())};
        }
        const std::uint8_t* first = d.framebuffer->data() +
                                    std::size_t(r.y) * d.framebuffer->bytesPerRow() +
                                    std::size_t(r.x) * 4;
        SDL_UpdateTexture(d.texture, &r, first, int(d.framebuffer->bytesPerRow()));
        SDL_RenderClear(d.renderer);
        SDL_RenderCopy(d.renderer, d.texture, nullptr, nullptr);
        SDL_RenderPresent(d.renderer);
    };

    auto mouse = [&](TouchPhase phase, int x, int y, int clicks, bool alt) {
        if (!w)
            return;
        const Point p = toPoints(d.window, *w, x, y);
        const Point m = mirroredFinger(p, w->size().width, w->size().height);
        switch (phase) {
        case TouchPhase::Began:
            Keyboard::setOnScreenEnabled(false);
            d.mouseDown = true;
            d.mirrored = alt;
            w->touchDown(kMouseFinger, p, std::max(1, clicks));
            if (d.mirrored)
                w->touchDown(kMirrorFinger, m, 1);
            break;
        case TouchPhase::Moved:
            if (!d.mouseDown)
                return;
            w->touchMove(kMouseFinger, p);
            if (d.mirrored)
                w->touchMove(kMirrorFinger, m);
            break;
        default:
            if (!d.mouseDown)
                return;
            d.mouseDown = false;
            w->touchUp(kMouseFinger, p);
            if (d.mirrored)
                w->touchUp(kMirrorFinger, m);
            d.mirrored = false;
            break;
        }
    };

    auto handle = [&](const SDL_Event& e) {
        switch (e.type) {
        case SDL_QUIT:
            d.quit = true;
            break;
        case SDL_WINDOWEVENT:
            if (e.window.event == SDL_WINDOWEVENT_CLOSE)
                d.quit = true;
            else if (e.window.event == SDL_WINDOWEVENT_EXPOSED ||
                     e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
                present(true);
            break;
        case SDL_MOUSEBUTTONDOWN:
            if (e.button.button == SDL_BUTTON_LEFT && e.button.which != SDL_TOUCH_MOUSEID)
                mouse(TouchPhase::Began, e.button.x, e.button.y, e.button.clicks,
                      (SDL_GetModState() & KMOD_ALT) != 0);
            break;
        case SDL_MOUSEMOTION:
            if (e.motion.which != SDL_TOUCH_MOUSEID)
                mouse(TouchPhase::Moved, e.motion.x, e.motion.y, 0, false);
            break;
        case SDL_MOUSEBUTTONUP:
            if (e.button.button == SDL_BUTTON_LEFT && e.button.which != SDL_TOUCH_MOUSEID)
                mouse(TouchPhase::Ended, e.button.x, e.button.y, 0, false);
            break;
        case SDL_FINGERDOWN:
        case SDL_FINGERMOTION:
        case SDL_FINGERUP: {
            if (!w)
                break;
            const Point p{e.tfinger.x * w->size().width, e.tfinger.y * w->size().height};
            if (e.type == SDL_FINGERDOWN) {
                Keyboard::setOnScreenEnabled(true);
                const int finger = d.nextFinger++;
                d.fingers[e.tfinger.fingerId] = finger;
                w->touchDown(finger, p);
            } else {
                auto it = d.fingers.find(e.tfinger.fingerId);
                if (it == d.fingers.end())
                    break;
                if (e.type == SDL_FINGERMOTION) {
                    w->touchMove(it->second, p);
                } else {
                    w->touchUp(it->second, p);
                    d.fingers.erase(it);
                    if (d.fingers.empty())
                        d.nextFinger = kFirstTouchFinger;
                }
            }
            break;
        }
        case SDL_KEYDOWN: {
            const Uint16 mod = e.key.keysym.mod;
            const bool ctrl = (mod & KMOD_CTRL) != 0;
            const bool shift = (mod & KMOD_SHIFT) != 0;
            const SDL_Keycode key = e.key.keysym.sym;
            if (ctrl && shift && key == SDLK_z) {
                Accelerometer::shared().shake();
            } else if (ctrl && shift && key == SDLK_m) {
                Application::shared().receiveMemoryWarning();
            } else if (ctrl && (key == SDLK_LEFT || key == SDLK_RIGHT)) {
                if (w)
                    w->setDeviceOrientation(turned(w->deviceOrientation(), key == SDLK_LEFT));
            } else if (ctrl && key == SDLK_q) {
                d.quit = true;
            } else if (w && (key == SDLK_RETURN || key == SDLK_KP_ENTER)) {
                w->key(Key::Return);
            } else if (w && key == SDLK_BACKSPACE) {
                w->key(Key::Backspace);
            } else if (w && key == SDLK_ESCAPE) {
                w->key(Key::Escape);
            }
            break;
        }
        case SDL_TEXTINPUT:
            if (w && !(SDL_GetModState() & (KMOD_CTRL | KMOD_ALT)))
                w->insertText(e.text.text);
            break;
        default:
            break;
        }
    };

    present(true);
    while (!d.quit && !terminationRequested()) {
        double timeout = 0.25;
        if (auto next = loop.nextTimerDate())
            timeout = std::min(timeout, std::max(0.0, *next - loop.now()));
        if (Animator::shared().hasRunningAnimations())
            timeout = std::min(timeout, 1.0 / 60);
        if (loop.backgroundWorkCount() > 0)
            timeout = std::min(timeout, 0.005);
        SDL_Event e;
        if (SDL_WaitEventTimeout(&e, int(std::ceil(timeout * 1000)))) {
            handle(e);
            while (SDL_PollEvent(&e))
                handle(e);
        }
        loop.runOnce(0);
        if (!w)
            w = Application::shared().keyWindow();
        if (!w || w->needsRender())
            present(false);
    }
    Application::shared().terminate();
    return 0;
}

int runWindowDriver(const LaunchOptions&) {
    RunLoop::main().reset(ClockMode::Real);
    auto driver = SdlDriver::create();
    if (!driver) {
        log("The window could not be opened (" + driver.error() + "); try --headless");
        return 1;
    }
    Application::shared().finishLaunching();
    return (*driver)->run();
}

} // namespace platform
