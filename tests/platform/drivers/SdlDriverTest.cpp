// The window driver without a display: SDL's dummy video driver, events
// pushed into SDL's queue before the run, SDL_QUIT last.

#include <array>
#include <clocale>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <SDL.h>
#include <gtest/gtest.h>

#include "platform/drivers/SdlDriver.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/Application.h"
#include "platform/ui/RunLoop.h"
#include "platform/ui/Timer.h"
#include "platform/ui/Touch.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

using namespace platform;

namespace {

struct Seen {
    int finger;
    TouchPhase phase;
    Point point;
    int tapCount;
    bool operator==(const Seen&) const = default;
};

struct TouchLog : View {
    std::vector<Seen> seen;
    TouchLog() : View(Rect(0, 0, 320, 480)) { setMultipleTouchEnabled(true); }
    void note(const TouchSet& touches, TouchPhase phase) {
        for (const auto& t : touches)
            seen.push_back({t->finger(), phase, t->locationInView(this), t->tapCount()});
    }
    void touchesBegan(const TouchSet& t, Event&) override { note(t, TouchPhase::Began); }
    void touchesMoved(const TouchSet& t, Event&) override { note(t, TouchPhase::Moved); }
    void touchesEnded(const TouchSet& t, Event&) override { note(t, TouchPhase::Ended); }
    void touchesCancelled(const TouchSet& t, Event&) override { note(t, TouchPhase::Cancelled); }
};

struct CountingDelegate : ApplicationDelegate {
    int terminations = 0;
    int memoryWarnings = 0;
    std::vector<std::string> chords;
    std::vector<std::string> opened;
    void applicationWillTerminate() override { ++terminations; }
    void applicationDidReceiveMemoryWarning() override { ++memoryWarnings; }
    bool performKeyCommand(const KeyChord& chord) override {
        chords.push_back(chord.name());
        return true;
    }
    void applicationOpenFile(const std::filesystem::path& file) override {
        opened.push_back(file.string());
    }
};

struct TurningController : ViewController {
    bool shouldAutorotateToInterfaceOrientation(int) override { return true; }
};

struct SdlDriverTest : ::testing::Test {
    CountingDelegate delegate;
    std::shared_ptr<Window> window;
    std::shared_ptr<TouchLog> log;
    std::unique_ptr<SdlDriver> driver;
    Uint32 windowId = 0;

    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        RunLoop::main().reset(ClockMode::Real);
        Application::shared().resetForTesting();
        Application::shared().setDelegate(&delegate);
        Application::shared().setStatusBarHidden(true);
        window = std::make_shared<Window>();
        log = std::make_shared<TouchLog>();
        window->addSubview(log);
        window->makeKeyAndVisible();
        auto made = SdlDriver::create();
        if (!made)
            GTEST_SKIP() << "no SDL video: " << made.error();
        driver = std::move(made.value());
        windowId = SDL_GetWindowID(driver->screen().window());
    }
    void TearDown() override {
        driver.reset();
        window.reset();
        Application::shared().resetForTesting();
        RunLoop::main().reset(ClockMode::Real);
    }
    int px(float points) const { return int(points * float(driver->scale())); }
    void pushButton(Uint32 type, float x, float y, int clicks = 1) {
        pushButtonAtPixel(type, SDL_BUTTON_LEFT, px(x), px(y), clicks);
    }
    void pushMotion(float x, float y) {
        SDL_Event e{};
        e.type = SDL_MOUSEMOTION;
        e.motion.windowID = windowId;
        e.motion.state = SDL_BUTTON_LMASK;
        e.motion.x = px(x);
        e.motion.y = px(y);
        SDL_PushEvent(&e);
    }
    void pushKey(SDL_Keycode key, Uint16 mod) {
        SDL_Event e{};
        e.type = SDL_KEYDOWN;
        e.key.windowID = windowId;
        e.key.state = SDL_PRESSED;
        e.key.keysym.sym = key;
        e.key.keysym.mod = mod;
        SDL_PushEvent(&e);
    }
    // A button event at window pixel (x, y).
    void pushButtonAtPixel(Uint32 type, Uint8 button, int x, int y, int clicks = 1) {
        SDL_Event e{};
        e.type = type;
        e.button.windowID = windowId;
        e.button.button = button;
        e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        e.button.clicks = Uint8(clicks);
        e.button.x = x;
        e.button.y = y;
        SDL_PushEvent(&e);
    }
    void pushRightButton(Uint32 type, float x, float y) {
        pushButtonAtPixel(type, SDL_BUTTON_RIGHT, px(x), px(y));
    }
    void pushText(const char* text) {
        SDL_Event e{};
        e.type = SDL_TEXTINPUT;
        e.text.windowID = windowId;
        std::strncpy(e.text.text, text, sizeof e.text.text - 1);
        SDL_PushEvent(&e);
    }
    void pushQuit() {
        SDL_Event e{};
        e.type = SDL_QUIT;
        SDL_PushEvent(&e);
    }
};

} // namespace

// The mouse is finger 1; SDL's click count is the tap count.
TEST_F(SdlDriverTest, MouseIsOneFingerWithTheClickCountAsTapCount) {
    pushButton(SDL_MOUSEBUTTONDOWN, 100, 200, 2);
    pushMotion(110, 190);
    pushButton(SDL_MOUSEBUTTONUP, 110, 190);
    pushMotion(150, 150); // no button: no touch
    pushQuit();
    EXPECT_EQ(driver->run(), 0);
    EXPECT_EQ(log->seen, (std::vector<Seen>{{1, TouchPhase::Began, {100, 200}, 2},
                                            {1, TouchPhase::Moved, {110, 190}, 2},
                                            {1, TouchPhase::Ended, {110, 190}, 2}}));
}

// With Alt held a second finger moves point-mirrored about the window's centre.
TEST_F(SdlDriverTest, AltAddsASecondFingerMirroredAboutTheCentre) {
    SDL_SetModState(KMOD_LALT);
    pushButton(SDL_MOUSEBUTTONDOWN, 100, 100);
    pushMotion(120, 140);
    pushButton(SDL_MOUSEBUTTONUP, 120, 140);
    pushQuit();
    driver->run();
    SDL_SetModState(KMOD_NONE);
    EXPECT_EQ(log->seen, (std::vector<Seen>{{1, TouchPhase::Began, {100, 100}, 1},
                                            {2, TouchPhase::Began, {220, 380}, 1},
                                            {1, TouchPhase::Moved, {120, 140}, 1},
                                            {2, TouchPhase::Moved, {200, 340}, 1},
                                            {1, TouchPhase::Ended, {120, 140}, 1},
                                            {2, TouchPhase::Ended, {200, 340}, 1}}));
}

// Closing ends the run through will-terminate, once.
TEST_F(SdlDriverTest, ClosingTheWindowTerminatesOnce) {
    SDL_Event close{};
    close.type = SDL_WINDOWEVENT;
    close.window.windowID = windowId;
    close.window.event = SDL_WINDOWEVENT_CLOSE;
    SDL_PushEvent(&close);
    pushQuit();
    EXPECT_EQ(driver->run(), 0);
    EXPECT_EQ(delegate.terminations, 1);
    EXPECT_FALSE(Application::shared().terminate());
    EXPECT_EQ(delegate.terminations, 1);
}

TEST_F(SdlDriverTest, TerminationSignalEndsTheRunNormally) {
    installTerminationSignalHandlers();
    std::raise(SIGTERM);
    EXPECT_EQ(driver->run(), 0);
    clearTerminationRequest();
    std::signal(SIGTERM, SIG_DFL);
    std::signal(SIGINT, SIG_DFL);
    EXPECT_EQ(delegate.terminations, 1);
}

TEST_F(SdlDriverTest, KeysWarnAndTurnTheWindow) {
    auto controller = std::make_shared<TurningController>();
    window->addSubview(controller->view());
    pushKey(SDLK_m, KMOD_LCTRL | KMOD_LSHIFT);
    pushKey(SDLK_LEFT, KMOD_LCTRL);
    pushQuit();
    driver->run();
    EXPECT_EQ(delegate.memoryWarnings, 1);
    EXPECT_EQ(window->deviceOrientation(), 3);
    EXPECT_EQ(window->size(), (Size{480, 320}));
    EXPECT_EQ(driver->screen().width(), px(480));
    EXPECT_EQ(driver->screen().height(), px(320));
}

// The device turns but the interface stays when the frontmost controller says no.
TEST_F(SdlDriverTest, TurningIsRefusedByAPortraitController) {
    auto controller = std::make_shared<ViewController>();
    window->addSubview(controller->view());
    pushKey(SDLK_RIGHT, KMOD_LCTRL);
    pushQuit();
    driver->run();
    EXPECT_EQ(window->deviceOrientation(), 4);
    EXPECT_EQ(window->size(), (Size{320, 480}));
    EXPECT_EQ(driver->screen().width(), px(320));
}

// After the first whole picture only what a view redrew is copied.
TEST_F(SdlDriverTest, OnlyTheChangedRectangleIsShown) {
    auto dot = std::make_shared<View>(Rect(40, 60, 10, 20));
    dot->setBackgroundColor(Color::rgb(1, 0, 0));
    window->addSubview(dot);
    Timer::scheduledTimer(0.05, [&](Timer&) { dot->setBackgroundColor(Color::rgb(0, 0, 1)); });
    Timer::scheduledTimer(0.3, [&](Timer&) {
        SDL_Event e{};
        e.type = SDL_QUIT;
        SDL_PushEvent(&e);
    });
    driver->run();
    EXPECT_GE(driver->screen().presentCount(), 2);
    EXPECT_EQ(driver->screen().lastPresented(),
              Rect(float(px(40)), float(px(60)), float(px(10)), float(px(20))));
}

// Pixels reach the window as B, G, R, A bytes.
TEST(SdlScreen, ReversePixelBytesWritesTheWindowsOrder) {
    const std::uint8_t src[] = {0xFF, 0x10, 0x20, 0x30, 0x80, 0x01, 0x02, 0x03, 9, 9, 9, 9};
    std::uint8_t dst[8] = {};
    reversePixelBytes(src, 12, dst, 8, 2, 1);
    EXPECT_EQ(std::vector<std::uint8_t>(dst, dst + 8),
              (std::vector<std::uint8_t>{0x30, 0x20, 0x10, 0xFF, 0x03, 0x02, 0x01, 0x80}));
}

TEST(SdlDriver, ScaleFitsBothOrientations) {
    EXPECT_EQ(SdlDriver::scaleForArea(1024, 768), 1);
    EXPECT_EQ(SdlDriver::scaleForArea(1920, 1080), 2);
    EXPECT_EQ(SdlDriver::scaleForArea(1280, 1024), 2);
    // Tall enough for 3 upright but only 2 turned (1440 / 480 = 3, 1400 / 480 = 2).
    EXPECT_EQ(SdlDriver::scaleForArea(1400, 1500), 2);
    EXPECT_EQ(SdlDriver::scaleForArea(200, 200), 1);
    EXPECT_EQ(SdlDriver::turned(1, true), 3);
    EXPECT_EQ(SdlDriver::turned(3, false), 1);
    EXPECT_EQ(SdlDriver::turned(1, false), 4);
}

// The right button is the second finger too (window managers keep Alt+drag),
// mirrored about the centre, and its release lifts both.
TEST_F(SdlDriverTest, RightButtonDragIsTwoMirroredFingers) {
    pushRightButton(SDL_MOUSEBUTTONDOWN, 100, 100);
    pushMotion(120, 140);
    pushButton(SDL_MOUSEBUTTONUP, 120, 140); // the left button was never down
    pushRightButton(SDL_MOUSEBUTTONUP, 120, 140);
    pushQuit();
    driver->run();
    EXPECT_EQ(log->seen, (std::vector<Seen>{{1, TouchPhase::Began, {100, 100}, 1},
                                            {2, TouchPhase::Began, {220, 380}, 1},
                                            {1, TouchPhase::Moved, {120, 140}, 1},
                                            {2, TouchPhase::Moved, {200, 340}, 1},
                                            {1, TouchPhase::Ended, {120, 140}, 1},
                                            {2, TouchPhase::Ended, {200, 340}, 1}}));
}

// Keys the window does not keep reach the application as named chords;
// Ctrl+Shift+Z is an ordinary chord now (it used to shake), and "?" comes
// from the typed text, whatever key the layout puts it on.
TEST_F(SdlDriverTest, KeysReachTheApplicationAsChords) {
    pushKey(SDLK_z, KMOD_LCTRL);
    pushKey(SDLK_z, KMOD_LCTRL | KMOD_LSHIFT);
    pushKey(SDLK_BACKSPACE, KMOD_RCTRL);
    pushKey(SDLK_F1, KMOD_NONE);
    pushKey(SDLK_b, KMOD_NONE);
    pushKey(SDLK_KP_ENTER, KMOD_NONE);
    pushText("?");
    pushText("b"); // no field has the focus: typed text is not a shortcut
    pushKey(SDLK_m, KMOD_LCTRL | KMOD_LSHIFT); // the window's own
    pushQuit();
    driver->run();
    EXPECT_EQ(delegate.chords, (std::vector<std::string>{"ctrl+z", "ctrl+shift+z", "ctrl+backspace",
                                                         "f1", "b", "return", "?"}));
    EXPECT_EQ(delegate.memoryWarnings, 1);
}

// A file dropped on the window is the application's to open.
TEST_F(SdlDriverTest, DroppedFileGoesToTheApplication) {
    SDL_Event e{};
    e.type = SDL_DROPFILE;
    e.drop.windowID = windowId;
    e.drop.file = SDL_strdup("/tmp/some picture.jpg");
    SDL_PushEvent(&e);
    pushQuit();
    driver->run();
    EXPECT_EQ(delegate.opened, (std::vector<std::string>{"/tmp/some picture.jpg"}));
}

// The window carries the app's icon from the resources.
TEST_F(SdlDriverTest, WindowHasTheAppIcon) {
    EXPECT_TRUE(driver->screen().hasIcon());
}

// With Shift the wheel turns sideways (a layer turns, a list scrolls across).
TEST_F(SdlDriverTest, ShiftTurnsTheWheelSideways) {
    struct WheelLog : View {
        std::vector<std::pair<float, float>> seen;
        WheelLog() : View(Rect(0, 0, 320, 480)) {}
        bool scrollWheel(Point, float dx, float dy) override {
            seen.emplace_back(dx, dy);
            return true;
        }
    };
    auto wheel = std::make_shared<WheelLog>();
    window->addSubview(wheel);
    auto push = [this](float y) {
        SDL_Event e{};
        e.type = SDL_MOUSEWHEEL;
        e.wheel.windowID = windowId;
        e.wheel.y = int(y);
        e.wheel.preciseY = y;
        e.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
        SDL_PushEvent(&e);
    };
    SDL_SetModState(KMOD_LSHIFT);
    push(-2);
    pushQuit();
    driver->run();
    SDL_SetModState(KMOD_NONE);
    EXPECT_EQ(wheel->seen, (std::vector<std::pair<float, float>>{{-2, 0}}));
}

// Full screen shows the picture at the largest whole scale that fits, centred.
TEST(SdlDriver, FullScreenCentresThePictureAtTheLargestWholeScale) {
    using P = SdlDriver::Placement;
    EXPECT_EQ(SdlDriver::fullScreenPlacement(1920, 1080, 320, 480), (P{2, 640, 60}));
    EXPECT_EQ(SdlDriver::fullScreenPlacement(1280, 1024, 320, 480), (P{2, 320, 32}));
    EXPECT_EQ(SdlDriver::fullScreenPlacement(1024, 768, 320, 480), (P{1, 352, 144}));
    EXPECT_EQ(SdlDriver::fullScreenPlacement(3840, 2160, 320, 480), (P{4, 1280, 120}));
    // Turned to landscape the picture is 480 x 320 points.
    EXPECT_EQ(SdlDriver::fullScreenPlacement(1920, 1080, 480, 320), (P{3, 240, 60}));
    // A screen smaller than the picture shows its top-left part at one pixel a point.
    EXPECT_EQ(SdlDriver::fullScreenPlacement(200, 300, 320, 480), (P{1, 0, 0}));
}

// In full screen the mouse lands on the picture where it shows; a click on
// the black beside it touches nothing; Escape leaves full screen first.
TEST_F(SdlDriverTest, FullScreenMapsTheMouseOntoTheCentredPicture) {
    pushKey(SDLK_F11, KMOD_NONE);
    int originX = -1, originY = -1, screenWidth = 0, screenHeight = 0, scale = 0;
    Timer::scheduledTimer(0.2, [&](Timer&) {
        originX = driver->screen().originX();
        originY = driver->screen().originY();
        screenWidth = driver->screen().width();
        screenHeight = driver->screen().height();
        scale = int(window->scale());
        auto button = [&](Uint32 type, int x, int y) {
            pushButtonAtPixel(type, SDL_BUTTON_LEFT, x, y);
        };
        button(SDL_MOUSEBUTTONDOWN, originX + 100 * scale, originY + 200 * scale);
        button(SDL_MOUSEBUTTONUP, originX + 100 * scale, originY + 200 * scale);
        if (originX > 0) {
            button(SDL_MOUSEBUTTONDOWN, originX / 2, originY + 10); // on the black
            button(SDL_MOUSEBUTTONUP, originX / 2, originY + 10);
        }
        pushKey(SDLK_ESCAPE, KMOD_NONE); // leaves full screen
        pushKey(SDLK_ESCAPE, KMOD_NONE); // the app's
    });
    Timer::scheduledTimer(0.5, [&](Timer&) { pushQuit(); });
    driver->run();
    if (screenWidth == 320 * driver->scale())
        GTEST_SKIP() << "this video driver has no full screen";
    EXPECT_EQ((SdlDriver::Placement{scale, originX, originY}),
              SdlDriver::fullScreenPlacement(screenWidth, screenHeight, 320, 480))
        << "full screen is " << screenWidth << " x " << screenHeight;
    EXPECT_GT(originX + originY, 0) << "the picture is centred on the larger screen";
    EXPECT_EQ(log->seen, (std::vector<Seen>{{1, TouchPhase::Began, {100, 200}, 1},
                                            {1, TouchPhase::Ended, {100, 200}, 1}}));
    EXPECT_EQ(delegate.chords, (std::vector<std::string>{"escape"}));
    // Back in a window of the picture's size, at the window's scale.
    EXPECT_EQ(driver->screen().width(), 320 * driver->scale());
    EXPECT_EQ(driver->screen().originX(), 0);
    EXPECT_EQ(int(window->scale()), driver->scale());
}

namespace {

// Launches while the window opens on its worker: makes a window with a red
// square, ends the run from a timer, and reads the window's pixels as the
// run ends (the driver is gone once runWindowDriver returns).
struct EarlyWindowDelegate : ApplicationDelegate {
    std::shared_ptr<Window> window;
    Uint8 red = 0, green = 0, blue = 0; // at the square's centre
    Uint8 outsideRed = 0;               // beside it
    void applicationDidFinishLaunching() override {
        window = std::make_shared<Window>();
        auto square = std::make_shared<View>(Rect(100, 200, 40, 40));
        square->setBackgroundColor(Color::rgb(1, 0, 0));
        window->setBackgroundColor(Color::rgb(1, 1, 1));
        window->addSubview(square);
        window->makeKeyAndVisible();
        Timer::scheduledTimer(0.05, [](Timer&) {
            SDL_Event e{};
            e.type = SDL_QUIT;
            SDL_PushEvent(&e);
        });
    }
    void applicationWillTerminate() override {
        SDL_Window* w = SDL_GetWindowFromID(1);
        SDL_Surface* surface = w ? SDL_GetWindowSurface(w) : nullptr;
        if (!surface)
            return;
        int scale = surface->w / 320;
        auto pixel = [&](int x, int y) {
            Uint32 value = 0;
            std::memcpy(&value,
                        static_cast<Uint8*>(surface->pixels) + y * scale * surface->pitch +
                            x * scale * surface->format->BytesPerPixel,
                        surface->format->BytesPerPixel);
            Uint8 r, g, b;
            SDL_GetRGB(value, surface->format, &r, &g, &b);
            return std::array<Uint8, 3>{r, g, b};
        };
        const auto inside = pixel(120, 220);
        red = inside[0];
        green = inside[1];
        blue = inside[2];
        outsideRed = pixel(20, 400)[0];
    }
};

// Launches with the window opening on its worker (SDL's dummy screen) and
// checks the frame shown: the red square in the white window.
void launchEarlyWindowAndCheckItsFrame() {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    RunLoop::main().reset(ClockMode::Real);
    Application::shared().resetForTesting();
    EarlyWindowDelegate delegate;
    Application::shared().setDelegate(&delegate);
    Application::shared().setStatusBarHidden(true);
    startWindowDriver();
    EXPECT_EQ(runWindowDriver(LaunchOptions{}), 0);
    EXPECT_EQ((std::array<Uint8, 3>{delegate.red, delegate.green, delegate.blue}),
              (std::array<Uint8, 3>{255, 0, 0}));
    EXPECT_EQ(delegate.outsideRed, 255); // the white window around it
    delegate.window.reset();
    Application::shared().resetForTesting();
    RunLoop::main().reset(ClockMode::Real);
}

} // namespace

// The window opened on a worker while the app launched shows the app's first
// frame, and the main thread is back in the process's own locale.
TEST(SdlDriver, WindowOpenedWhileTheAppLaunchesShowsItsFirstFrame) {
    launchEarlyWindowAndCheckItsFrame();
    EXPECT_EQ(uselocale(nullptr), LC_GLOBAL_LOCALE);
}

namespace {

// Launches with the window's scale remembered as `remembered` (0: none, as
// at a first launch) in a home of the running test's own (CTest runs tests
// side by side); answers the scale remembered after.
long launchRemembering(long remembered) {
    const std::filesystem::path home =
        std::filesystem::temp_directory_path() /
        ("zorbel-sdl-scale-" +
         std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(home);
    Paths::setHome(home);
    UserDefaults::resetStandardUserDefaults();
    if (remembered)
        UserDefaults::standardUserDefaults().setInteger(remembered, "WindowScale");
    launchEarlyWindowAndCheckItsFrame();
    const long after = UserDefaults::standardUserDefaults().integerForKey("WindowScale");
    UserDefaults::resetStandardUserDefaults();
    Paths::setHome({});
    std::filesystem::remove_all(home);
    return after;
}

} // namespace

// A first launch (no scale remembered) draws its first frame at a guess,
// shows the frame of the scale the screen wants, and remembers that scale.
TEST(SdlDriver, AFirstLaunchShowsItsFrameAndRemembersTheScale) {
    const long remembered = launchRemembering(0);
    EXPECT_GE(remembered, 1);
    EXPECT_LE(remembered, 4);
}

// The first frame is drawn at the scale the window had last time; when the
// screen turns out to want another, the frame shown is drawn again at that
// one, and that is what is remembered for the next launch.
TEST(SdlDriver, ARememberedScaleTheScreenDoesNotWantIsDrawnAgain) {
    const long remembered = launchRemembering(4);
    EXPECT_GE(remembered, 1);
    EXPECT_LT(remembered, 4); // the dummy screen is too small for four times
}
