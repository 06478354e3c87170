#include "platform/drivers/SdlDriver.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>
#include <string_view>
#include <utility>

#include <SDL.h>

#include "platform/drivers/SdlVideoChoice.h"
#include "platform/foundation/AppName.h"
#include "platform/foundation/Log.h"
#include "platform/graphics/Context.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Accelerometer.h"
#include "platform/ui/Application.h"
#include "platform/ui/KeyChord.h"
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
// The longest the loop sleeps: work posted from other threads (an
// accelerometer reading) waits at most this long.
constexpr double kIdleWait = 0.05;
// The window's icon, among the resources.
constexpr const char* kIconName = "zorbelicon64.png";

} // namespace

struct SdlDriver::Impl {
    SdlDriver& driver;
    SdlScreen& screen;
    Window* window = nullptr;
    std::unique_ptr<Context> framebuffer;
    bool wholeWindowDue = true;
    bool mouseDown = false;
    bool mirrored = false; // the Alt (or right-button) second finger is down
    Uint8 mouseButton = 0; // the button that put the mouse finger down
    std::map<SDL_FingerID, int> fingers;
    int nextFinger = kFirstTouchFinger;
    bool quit = false;
    bool firstFrameShown = false;
    bool fullScreen = false;
    int fullScreenScale = 0; // pixels per point while full screen

    Impl(SdlDriver& d, SdlScreen& s) : driver(d), screen(s) {}

    void attach(Window* w);
    // Pixels per point now: the window's scale, or full screen's.
    int scaleNow() const { return fullScreen ? std::max(1, fullScreenScale) : driver.scale(); }
    // The scale and the place of the picture for the window's current size.
    void place();
    void present();
    Point toPoints(int x, int y) const;
    void mouse(TouchPhase phase, int x, int y, int clicks, bool alt);
    void finger(const SDL_TouchFingerEvent& e, Uint32 type);
    void key(const SDL_KeyboardEvent& e);
    void toggleFullScreen();
    void dropped(const char* file);
    void handle(const SDL_Event& e);
    void windowEvent(const SDL_WindowEvent& e);
    void buttonDown(const SDL_MouseButtonEvent& e);
    void wheel(const SDL_MouseWheelEvent& e);
    void text(const SDL_TextInputEvent& e);
    void cancelInput();
};

SdlDriver::SdlDriver() = default;
SdlDriver::~SdlDriver() {
    impl_.reset();
    screen_.reset();
}

int SdlDriver::scaleForArea(int usableWidth, int usableHeight) {
    const int height = usableHeight - kDecorationAllowance;
    const int upright = std::min(usableWidth / kPointsWide, height / kPointsHigh);
    const int turned = std::min(usableWidth / kPointsHigh, height / kPointsWide);
    return std::max(1, std::min(upright, turned));
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

Result<std::unique_ptr<SdlDriver>> SdlDriver::create(PixelUpload upload) {
    auto driver = openWindow(upload);
    if (driver)
        driver.value()->finishOpening();
    return driver;
}

Result<std::unique_ptr<SdlDriver>>
SdlDriver::openWindow(PixelUpload upload, const std::function<void(int)>& scaleKnown,
                      const std::function<void(const SdlScreen::FirstFramePixels&)>& writable) {
    using R = Result<std::unique_ptr<SdlDriver>>;
    // Our own SIGINT/SIGTERM handlers end the run; mouse and touch stay apart.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_MOUSE_TOUCH_EVENTS, "0");
    SDL_SetHint(SDL_HINT_TOUCH_MOUSE_EVENTS, "0");
    // The desktop's compositor may keep running while the app is shown.
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    const VideoChoice choice = chooseVideoDriver();
    if (choice.refused)
        return R::failure(VideoChoice::kNoSeat);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        return R::failure(std::string(SDL_GetError()) +
                          (choice.passedOver ? std::string("; ") + VideoChoice::kNoSeat : ""));
    // The window's pixels go up as shared memory (XPutImage / XShmPutImage):
    // a texture framebuffer would load the whole OpenGL stack (tens of
    // megabytes, LLVM among them) to show the same pixels. On Wayland the
    // screen shows them through shared memory of its own (SdlWaylandSurface)
    // and SDL's window surface is never asked for.
    if (const char* video = SDL_GetCurrentVideoDriver(); video && std::string_view(video) == "x11")
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    const Rect usable = SdlScreen::usableArea();
    std::unique_ptr<SdlDriver> driver(new SdlDriver());
    driver->scale_ = usable.isEmpty() ? 1 : scaleForArea(int(usable.width()), int(usable.height()));
    const int s = driver->scale_;
    if (scaleKnown)
        scaleKnown(s);
    auto screen = SdlScreen::open(appName().displayName, kPointsWide * s, kPointsHigh * s, upload);
    if (!screen) {
        SDL_Quit();
        return R::failure(screen.error());
    }
    driver->screen_ = std::move(screen.value());
    driver->screen_->prepareSurface(writable);
    return driver;
}

std::unique_ptr<Context> SdlDriver::renderFirstFrame(Window* window, int scale) {
    if (!window || scale < 1)
        return nullptr;
    window->setScale(float(scale));
    auto framebuffer =
        Context::createBitmap(int(window->size().width) * scale, int(window->size().height) * scale,
                              nullptr, YAxis::Down);
    if (framebuffer)
        window->render(*framebuffer);
    return framebuffer;
}

void SdlDriver::adoptFirstFrame(std::unique_ptr<Context> framebuffer) {
    if (impl_ && framebuffer)
        impl_->framebuffer = std::move(framebuffer);
}

void SdlDriver::finishOpening() {
    if (impl_)
        return;
    screen_->setIcon(Image::named(kIconName));
    impl_ = std::make_unique<Impl>(*this, *screen_);
    SDL_StartTextInput();
}

// --- Drawing ---

void SdlDriver::Impl::attach(Window* w) {
    window = w;
    if (!w)
        return;
    w->setSizeChangedHandler([this](Size size) {
        // Full screen keeps the screen and centres the turned picture on it.
        if (!fullScreen)
            screen.setSize(int(size.width) * driver.scale(), int(size.height) * driver.scale());
        place();
    });
    // A window that already turned (before the driver ran) gets its size now.
    const int s = driver.scale();
    const Size size = w->size();
    if (!fullScreen &&
        (screen.width() != int(size.width) * s || screen.height() != int(size.height) * s))
        screen.setSize(int(size.width) * s, int(size.height) * s);
    place();
}

void SdlDriver::Impl::place() {
    wholeWindowDue = true;
    if (!window)
        return;
    const Size points = window->size();
    const int pointsWide = int(points.width), pointsHigh = int(points.height);
    if (!fullScreen) {
        // A window manager may have made the window larger than asked: the
        // picture stays at the window's scale, centred.
        const int s = driver.scale();
        screen.setOrigin(std::max(0, (screen.width() - pointsWide * s) / 2),
                         std::max(0, (screen.height() - pointsHigh * s) / 2));
        window->setScale(float(s));
        return;
    }
    const Placement p =
        SdlDriver::fullScreenPlacement(screen.width(), screen.height(), pointsWide, pointsHigh);
    if (p.scale != fullScreenScale || p.x != screen.originX() || p.y != screen.originY())
        log("Full screen: " + std::to_string(screen.width()) + " x " +
            std::to_string(screen.height()) + " pixels, the picture at scale " +
            std::to_string(p.scale));
    fullScreenScale = p.scale;
    screen.setOrigin(p.x, p.y);
    window->setScale(float(p.scale));
}

SdlDriver::Placement SdlDriver::fullScreenPlacement(int screenWidth, int screenHeight,
                                                    int pointsWide, int pointsHigh) {
    Placement p;
    if (pointsWide > 0 && pointsHigh > 0)
        p.scale = std::max(1, std::min(screenWidth / pointsWide, screenHeight / pointsHigh));
    // Centred; on a screen too small even at one pixel a point, its top-left
    // part shows.
    p.x = std::max(0, (screenWidth - pointsWide * p.scale) / 2);
    p.y = std::max(0, (screenHeight - pointsHigh * p.scale) / 2);
    return p;
}

void SdlDriver::Impl::present() {
    if (!window)
        return;
    const int s = scaleNow();
    const int width = int(window->size().width) * s;
    const int height = int(window->size().height) * s;
    if (!framebuffer || framebuffer->width() != width || framebuffer->height() != height) {
        framebuffer = Context::createBitmap(width, height, nullptr, YAxis::Down);
        wholeWindowDue = true;
        if (!framebuffer)
            return;
    }
    const Rect changed = window->render(*framebuffer);
    Rect area = Rect::null();
    if (wholeWindowDue || !screen.isSurfaceValid()) {
        area = Rect(0, 0, float(width), float(height));
    } else if (!changed.isNull()) {
        area = AffineTransform::makeScale(float(s), float(s)).apply(changed);
    }
    if (area.isNull() || area.isEmpty())
        return;
    if (screen.present(*framebuffer, area)) {
        wholeWindowDue = false;
        if (!firstFrameShown) {
            firstFrameShown = true;
            const char* video = SDL_GetCurrentVideoDriver();
            log(std::string("First frame shown (") + (video ? video : "?") + ", " +
                std::to_string(width) + " x " + std::to_string(height) + " pixels)");
            screen.releaseWindowMaking();
        }
    }
}

// --- Input ---

Point SdlDriver::Impl::toPoints(int x, int y) const {
    const float s = float(scaleNow());
    return {float(x - screen.originX()) / s, float(y - screen.originY()) / s};
}

void SdlDriver::Impl::mouse(TouchPhase phase, int x, int y, int clicks, bool alt) {
    if (!window)
        return;
    const Point p = toPoints(x, y);
    const Point m = mirroredFinger(p, window->size().width, window->size().height);
    switch (phase) {
    case TouchPhase::Began:
        if (mouseDown)
            return;
        Keyboard::setOnScreenEnabled(false);
        window->pointerLeftWindow(); // a pressed button ends hovering
        mouseDown = true;
        mirrored = alt;
        window->touchDown(kMouseFinger, p, std::max(1, clicks));
        if (mirrored)
            window->touchDown(kMirrorFinger, m, 1);
        break;
    case TouchPhase::Moved:
        if (!mouseDown) {
            window->pointerMoved(p);
            return;
        }
        window->touchMove(kMouseFinger, p);
        if (mirrored)
            window->touchMove(kMirrorFinger, m);
        break;
    default:
        if (!mouseDown)
            return;
        mouseDown = false;
        window->touchUp(kMouseFinger, p);
        if (mirrored)
            window->touchUp(kMirrorFinger, m);
        mirrored = false;
        window->pointerMoved(p); // hovering again where the button came up
        break;
    }
}

void SdlDriver::Impl::finger(const SDL_TouchFingerEvent& e, Uint32 type) {
    if (!window)
        return;
    // Through the window's pixels: full screen letterboxes the picture.
    const Point p = toPoints(int(std::lround(e.x * float(screen.width()))),
                             int(std::lround(e.y * float(screen.height()))));
    if (type == SDL_FINGERDOWN) {
        if (!window->bounds().contains(p))
            return; // on the black beside the picture
        Keyboard::setOnScreenEnabled(true);
        const int number = nextFinger++;
        fingers[e.fingerId] = number;
        window->touchDown(number, p);
        return;
    }
    auto it = fingers.find(e.fingerId);
    if (it == fingers.end())
        return;
    if (type == SDL_FINGERMOTION) {
        window->touchMove(it->second, p);
        return;
    }
    const int number = it->second;
    fingers.erase(it);
    if (fingers.empty())
        nextFinger = kFirstTouchFinger;
    window->touchUp(number, p);
}

KeyChord SdlDriver::chordFor(int keycode, int modifiers) {
    KeyChord chord;
    const SDL_Keycode k = keycode;
    if (k == SDLK_KP_ENTER) {
        chord.key = "return";
    } else {
        const char* name = SDL_GetKeyName(k);
        chord.key = name ? name : "";
        for (char& c : chord.key)
            c = char(std::tolower(static_cast<unsigned char>(c)));
    }
    chord.ctrl = (modifiers & KMOD_CTRL) != 0;
    chord.shift = (modifiers & KMOD_SHIFT) != 0;
    chord.alt = (modifiers & KMOD_ALT) != 0;
    return chord;
}

void SdlDriver::Impl::key(const SDL_KeyboardEvent& e) {
    const Uint16 mod = e.keysym.mod;
    const bool ctrl = (mod & KMOD_CTRL) != 0;
    const bool shift = (mod & KMOD_SHIFT) != 0;
    const SDL_Keycode k = e.keysym.sym;
    // What only the window can do stays here; every other key is the app's.
    if (ctrl && shift && k == SDLK_m) {
        Application::shared().receiveMemoryWarning();
    } else if (ctrl && (k == SDLK_LEFT || k == SDLK_RIGHT)) {
        if (window)
            window->setDeviceOrientation(turned(window->deviceOrientation(), k == SDLK_LEFT));
    } else if (ctrl && k == SDLK_q) {
        quit = true;
    } else if (k == SDLK_F11 && !ctrl) {
        toggleFullScreen();
    } else if (k == SDLK_ESCAPE && fullScreen && !ctrl && !shift) {
        toggleFullScreen(); // as on every desktop; the next Escape is the app's
    } else {
        deliverKeyChord(window, chordFor(k, mod));
    }
}

void SdlDriver::Impl::toggleFullScreen() {
    // Our own flag decides: a window manager that fills the screen with every
    // window may already mark ours full screen.
    const bool full = !fullScreen;
    if (SDL_SetWindowFullscreen(screen.window(), full ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) {
        log(std::string("Full screen is not available: ") + SDL_GetError());
        return;
    }
    cancelInput(); // every pixel moves under the pointer
    if (window)
        window->pointerLeftWindow();
    fullScreen = full;
    if (!fullScreen)
        fullScreenScale = 0;
    // Back in a window, its size is the picture's again.
    if (!fullScreen && window)
        screen.setSize(int(window->size().width) * driver.scale(),
                       int(window->size().height) * driver.scale());
    screen.invalidateSurface();
    place();
}

// Fingers whose lift will never be reported (the window lost the pointer).
void SdlDriver::Impl::cancelInput() {
    if (window && (mouseDown || !fingers.empty()))
        window->cancelAllTouches();
    mouseDown = false;
    mirrored = false;
    fingers.clear();
    nextFinger = kFirstTouchFinger;
}

void SdlDriver::Impl::handle(const SDL_Event& e) {
    switch (e.type) {
    case SDL_QUIT:
        quit = true;
        break;
    case SDL_WINDOWEVENT:
        windowEvent(e.window);
        break;
    case SDL_MOUSEBUTTONDOWN:
        buttonDown(e.button);
        break;
    case SDL_MOUSEMOTION:
        if (e.motion.which != SDL_TOUCH_MOUSEID)
            mouse(TouchPhase::Moved, e.motion.x, e.motion.y, 0, false);
        break;
    case SDL_MOUSEBUTTONUP:
        if (e.button.button == mouseButton && e.button.which != SDL_TOUCH_MOUSEID)
            mouse(TouchPhase::Ended, e.button.x, e.button.y, 0, false);
        break;
    case SDL_MOUSEWHEEL:
        wheel(e.wheel);
        break;
    case SDL_FINGERDOWN:
    case SDL_FINGERMOTION:
    case SDL_FINGERUP:
        finger(e.tfinger, e.type);
        break;
    case SDL_KEYDOWN:
        key(e.key);
        break;
    case SDL_TEXTINPUT:
        text(e.text);
        break;
    case SDL_DROPFILE:
        dropped(e.drop.file);
        SDL_free(e.drop.file);
        break;
    default:
        break;
    }
}

void SdlDriver::Impl::windowEvent(const SDL_WindowEvent& e) {
    switch (e.event) {
    case SDL_WINDOWEVENT_CLOSE:
        quit = true;
        break;
    case SDL_WINDOWEVENT_EXPOSED:
        screen.invalidateSurface();
        wholeWindowDue = true;
        break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
    case SDL_WINDOWEVENT_RESIZED:
        // Full screen's size often arrives after the switch.
        screen.invalidateSurface();
        place();
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        cancelInput();
        if (window)
            window->pointerLeftWindow();
        break;
    case SDL_WINDOWEVENT_LEAVE:
        if (window)
            window->pointerLeftWindow();
        break;
    default:
        break;
    }
}

void SdlDriver::Impl::buttonDown(const SDL_MouseButtonEvent& e) {
    // The right button is the second finger: window managers take Alt+drag for themselves.
    if ((e.button == SDL_BUTTON_LEFT || e.button == SDL_BUTTON_RIGHT) &&
        e.which != SDL_TOUCH_MOUSEID && !mouseDown && window &&
        window->bounds().contains(toPoints(e.x, e.y))) {
        mouseButton = e.button;
        mouse(TouchPhase::Began, e.x, e.y, e.clicks,
              e.button == SDL_BUTTON_RIGHT || (SDL_GetModState() & KMOD_ALT) != 0);
    }
}

void SdlDriver::Impl::wheel(const SDL_MouseWheelEvent& e) {
    if (!window || e.which == SDL_TOUCH_MOUSEID)
        return;
    int x = 0, y = 0;
    SDL_GetMouseState(&x, &y);
    const float flip = e.direction == SDL_MOUSEWHEEL_FLIPPED ? -1.0f : 1.0f;
    float dx = flip * e.preciseX, dy = flip * e.preciseY;
    // Shift turns the wheel sideways, as desktops do (a layer turns with it,
    // a scroll view scrolls across).
    if ((SDL_GetModState() & KMOD_SHIFT) && dx == 0)
        std::swap(dx, dy);
    window->scrollWheel(toPoints(x, y), dx, dy);
}

void SdlDriver::Impl::text(const SDL_TextInputEvent& e) {
    if (SDL_GetModState() & (KMOD_CTRL | KMOD_ALT))
        return;
    // "?" is a shortcut only where no field takes the text; which key makes
    // it depends on the keyboard layout, so it is known only here.
    if (window && window->firstResponder())
        window->insertText(e.text);
    else if (std::string_view(e.text) == "?")
        deliverKeyChord(window, KeyChord{"?"});
}

void SdlDriver::Impl::dropped(const char* file) {
    if (!file)
        return;
    if (ApplicationDelegate* delegate = Application::shared().delegate())
        delegate->applicationOpenFile(file);
}

// --- The loop ---

int SdlDriver::run() {
    Impl& d = *impl_;
    RunLoop& loop = RunLoop::main();
    // Work posted from another thread (an effect's worker) wakes the event
    // wait at once instead of at its time-out.
    const Uint32 wakeEvent = SDL_RegisterEvents(1);
    if (wakeEvent != Uint32(-1))
        loop.setWakeHandler([wakeEvent] {
            SDL_Event e{};
            e.type = wakeEvent;
            SDL_PushEvent(&e);
        });
    d.attach(Application::shared().keyWindow());
    d.present();
    while (!d.quit && !terminationRequested()) {
        double timeout = kIdleWait;
        if (auto next = loop.nextTimerDate())
            timeout = std::min(timeout, std::max(0.0, *next - loop.now()));
        if (loop.needsFrames())
            timeout = std::min(timeout, 1.0 / 60);
        if (loop.backgroundWorkCount() > 0)
            timeout = std::min(timeout, 0.005);
        if (loop.hasPostedWork())
            timeout = 0;
        SDL_Event e;
        if (SDL_WaitEventTimeout(&e, int(std::ceil(timeout * 1000)))) {
            d.handle(e);
            while (!d.quit && SDL_PollEvent(&e))
                d.handle(e);
        }
        loop.runOnce(0);
        if (Window* key = Application::shared().keyWindow(); key != d.window)
            d.attach(key);
        if (d.window && (d.window->needsRender() || d.wholeWindowDue))
            d.present();
    }
    loop.setWakeHandler({});
    Application::shared().terminate();
    return int(Application::shared().terminationWriteFailed() ? ExitStatus::NotSaved
                                                              : ExitStatus::Success);
}

} // namespace platform
