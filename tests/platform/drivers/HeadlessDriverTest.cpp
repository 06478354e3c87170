#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/drivers/ApplicationMain.h"
#include "platform/drivers/HeadlessDriver.h"
#include "platform/foundation/Log.h"
#include "platform/ui/Accelerometer.h"
#include "platform/ui/Animation.h"
#include "platform/ui/Application.h"
#include "platform/ui/Control.h"
#include "platform/ui/Event.h"
#include "platform/ui/RunLoop.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/Slider.h"
#include "platform/ui/Timer.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

using namespace platform;

namespace {

// The tiny application the scripts drive: a green pad that logs its touches,
// a "Go" control, a text box that takes the focus on a tap, a controller that
// turns to landscape, and a delegate that logs everything it is told.
// A signal the pad raises at its n-th move (0: none), as if sent from outside.
int signalAtMove = 0;
int signalToRaise = SIGINT;
int movesSeen = 0;

class Pad : public View {
public:
    using View::View;
    void say(const char* phase, const TouchSet& touches) {
        for (const auto& t : touches) {
            const Point p = t->locationInView(this);
            log(std::string("pad ") + phase + " finger " + std::to_string(t->finger()) + " at " +
                std::to_string(int(p.x)) + "," + std::to_string(int(p.y)) + " taps " +
                std::to_string(t->tapCount()));
        }
    }
    void touchesBegan(const TouchSet& t, Event&) override { say("began", t); }
    void touchesMoved(const TouchSet& t, Event&) override {
        say("moved", t);
        if (++movesSeen == signalAtMove)
            std::raise(signalToRaise);
    }
    void touchesEnded(const TouchSet& t, Event&) override { say("ended", t); }
    void touchesCancelled(const TouchSet& t, Event&) override { say("cancelled", t); }
    bool scrollWheel(Point p, float dx, float dy) override {
        log("pad wheel at " + std::to_string(int(p.x)) + "," + std::to_string(int(p.y)) + " dx " +
            std::to_string(int(dx)) + " dy " + std::to_string(int(dy)));
        return true;
    }
};

class TextBox : public View {
public:
    using View::View;
    std::string text;
    bool canBecomeFirstResponder() const override { return true; }
    void touchesEnded(const TouchSet&, Event&) override { becomeFirstResponder(); }
    void insertText(const std::string& t) override {
        text += t;
        log("text is \"" + text + "\"");
    }
    void deleteBackward() override {
        if (!text.empty())
            text.pop_back();
        log("text is \"" + text + "\"");
    }
    void keyReturn() override { log("return with \"" + text + "\""); }
    void keyEscape() override { log("escape"); }
};

class Screen : public ViewController {
public:
    Screen() {
        registerAction("go:", [](ActionSender*) { log("go pressed"); });
        registerAction("level:", [](ActionSender* sender) {
            log("level " + std::to_string(static_cast<Slider*>(sender)->value()));
        });
    }
    void loadView() override {
        auto root = std::make_shared<View>(Rect(0, 0, 320, 480));
        root->setAutoresizingMask(AutoresizingFlexibleWidth | AutoresizingFlexibleHeight);
        auto pad = std::make_shared<Pad>(Rect(0, 100, 320, 200));
        pad->setBackgroundColor(Color::rgb(0, 1, 0));
        pad->setMultipleTouchEnabled(true);
        root->addSubview(pad);
        auto go = std::make_shared<Control>(Rect(20, 320, 100, 40));
        go->setBackgroundColor(Color::rgb(0, 0, 1));
        go->setAccessibilityLabel("Go");
        go->addTarget(this, *actionNamed("go:"), ControlEventTouchUpInside, "go:");
        root->addSubview(go);
        auto hidden = std::make_shared<Control>(Rect(200, 320, 100, 40));
        hidden->setAccessibilityLabel("Secret");
        hidden->setHidden(true);
        root->addSubview(hidden);
        // A control on scrollable content: the scroll view takes the finger first.
        auto scroll = std::make_shared<ScrollView>(Rect(130, 320, 60, 40));
        scroll->setContentSize(Size{60, 200});
        auto inside = std::make_shared<Control>(Rect(0, 0, 60, 40));
        inside->setAccessibilityLabel("Inside");
        inside->addTarget(this, *actionNamed("go:"), ControlEventTouchUpInside, "go:");
        scroll->addSubview(inside);
        root->addSubview(scroll);
        auto box = std::make_shared<TextBox>(Rect(20, 400, 280, 30));
        box->setBackgroundColor(Color::white());
        root->addSubview(box);
        auto level = std::make_shared<Slider>(Rect(20, 440, 280, 31));
        level->setMinimumValue(-10);
        level->setMaximumValue(10);
        level->addTarget(this, *actionNamed("level:"), ControlEventValueChanged, "level:");
        root->addSubview(level);
        setView(root);
    }
    bool shouldAutorotateToInterfaceOrientation(int o) override { return o == 1 || o == 3; }
    void didRotateFromInterfaceOrientation(int from) override {
        log("rotated from " + std::to_string(from));
    }
    void didReceiveMemoryWarning() override { log("screen memory warning"); }
};

class TinyApp : public ApplicationDelegate, public AccelerometerDelegate {
public:
    void applicationDidFinishLaunching() override {
        window = std::make_shared<Window>();
        screen = std::make_shared<Screen>();
        window->addSubview(screen->view());
        window->makeKeyAndVisible();
        Accelerometer::shared().setUpdateInterval(0.04);
        Accelerometer::shared().setDelegate(this);
        Timer::scheduledTimer(2.0, [](Timer&) { log("two seconds"); });
        if (signalAfter > 0)
            Timer::scheduledTimer(signalAfter, [](Timer&) { std::raise(SIGTERM); });
        log("launched");
    }
    void applicationWillTerminate() override {
        log("will terminate");
        if (cannotSave)
            Application::shared().reportTerminationWriteFailure("the tiny picture");
        Accelerometer::shared().setDelegate(nullptr);
    }
    void applicationDidReceiveMemoryWarning() override { log("app memory warning"); }
    void accelerometerDidAccelerate(Accelerometer&, const Acceleration& a) override {
        ++samples;
        if (std::abs(a.x) > 2 || std::abs(a.y) > 2 || a.z > 0 || a.x == 0.25)
            log("strong sample " + std::to_string(a.x) + " " + std::to_string(a.y) + " " +
                std::to_string(a.z));
    }
    std::shared_ptr<Window> window;
    std::shared_ptr<Screen> screen;
    // Seconds after launch at which SIGTERM arrives (0: never).
    static inline double signalAfter = 0;
    static inline long samples = 0;
    static inline bool cannotSave = false;
};

class Headless : public ::testing::Test {
protected:
    void SetUp() override {
        setLogQuiet(true);
        clearLogCapture();
        clearTerminationRequest();
        TinyApp::signalAfter = 0;
        TinyApp::samples = 0;
        TinyApp::cannotSave = false;
        signalAtMove = 0;
        movesSeen = 0;
        Application::shared().resetForTesting();
        Accelerometer::shared().resetForTesting();
        Accelerometer::shared().setDeviceRoot(tmp() / "no-iio");
        Animator::shared().reset();
        Application::shared().setOwnedDelegate(std::make_unique<TinyApp>());
    }
    void TearDown() override {
        clearTerminationRequest();
        Application::shared().resetForTesting();
        Accelerometer::shared().resetForTesting();
        RunLoop::main().reset(ClockMode::Virtual);
        setLogQuiet(false);
    }

    static std::filesystem::path tmp() {
        const char* env = std::getenv("ZORBEL_TEST_TMP");
        std::filesystem::path dir = env ? env : std::filesystem::temp_directory_path();
        dir /= "headless";
        std::filesystem::create_directories(dir);
        return dir;
    }

    // Runs the script text; answers the exit status.
    HeadlessRun run(const std::string& script) {
        const auto path =
            tmp() / (std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
                     ".zscript");
        std::ofstream(path) << script;
        scriptPath = path.string();
        ::testing::internal::CaptureStderr();
        HeadlessRun r = runHeadless(scriptPath);
        errors = ::testing::internal::GetCapturedStderr();
        return r;
    }

    static bool logged(const std::string& text) { return logContains(text); }
    static int count(const std::string& text) {
        int n = 0;
        for (const auto& l : logLines())
            if (l.find(text) != std::string::npos)
                ++n;
        return n;
    }

    std::string scriptPath;
    std::string errors;
};

} // namespace

TEST_F(Headless, WithoutAScriptItLaunchesAndTerminates) {
    const HeadlessRun r = runHeadless(std::nullopt);
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(logged("launched"));
    EXPECT_EQ(count("will terminate"), 1);
}

TEST_F(Headless, FingerPhasesReachTheViewUnderTheFinger) {
    const auto r = run("down 10 150\n"
                       "move 20 160   # a comment\n"
                       "down 100 150 2\n"
                       "up 100 150 2\n"
                       "cancel 25 165\n");
    EXPECT_EQ(r.status, 0) << errors;
    EXPECT_TRUE(logged("pad began finger 1 at 10,50 taps 1"));
    EXPECT_TRUE(logged("pad moved finger 1 at 20,60 taps 1"));
    EXPECT_TRUE(logged("pad began finger 2 at 100,50 taps 1"));
    EXPECT_TRUE(logged("pad ended finger 2 at 100,50 taps 1"));
    EXPECT_TRUE(logged("pad cancelled finger 1 at 25,65 taps 1"));
}

TEST_F(Headless, TapCountsUpWithinOneCommand) {
    EXPECT_EQ(run("tap 50 150 3\n").status, 0) << errors;
    EXPECT_TRUE(logged("pad began finger 1 at 50,50 taps 1"));
    EXPECT_TRUE(logged("pad began finger 1 at 50,50 taps 2"));
    EXPECT_TRUE(logged("pad ended finger 1 at 50,50 taps 3"));
}

TEST_F(Headless, DragMovesInSteps) {
    EXPECT_EQ(run("drag 0 110 100 210 4\n").status, 0) << errors;
    EXPECT_EQ(count("pad moved"), 4);
    EXPECT_TRUE(logged("pad moved finger 1 at 25,35"));
    EXPECT_TRUE(logged("pad ended finger 1 at 100,110"));
}

TEST_F(Headless, WheelTurnsOverThePointAndSidewaysWithShift) {
    EXPECT_EQ(run("wheel 10 150 3\nwheel 20 160 -2 shift\n").status, 0) << errors;
    EXPECT_TRUE(logged("pad wheel at 10,50 dx 0 dy 3"));
    EXPECT_TRUE(logged("pad wheel at 20,60 dx -2 dy 0"));
}

TEST_F(Headless, PressTapsTheNamedControl) {
    EXPECT_EQ(run("press Go\npress go\n").status, 0) << errors;
    EXPECT_EQ(count("go pressed"), 2);
}

TEST_F(Headless, PressReachesAControlOnScrollableContent) {
    EXPECT_EQ(run("press Inside\nwait\n").status, 0) << errors;
    EXPECT_EQ(count("go pressed"), 1);
}

TEST_F(Headless, PressFailsForAHiddenOrUnknownControl) {
    const auto r = run("press Go\n\npress Secret\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(errors, scriptPath + ":3: press: no visible, enabled control named \"Secret\"\n");
}

TEST_F(Headless, TypeAndKeysGoToTheFocusedField) {
    const auto r = run("tap 100 410\n"
                       "type Hello #1  world\n"
                       "key backspace\n"
                       "key return\n"
                       "key escape\n");
    EXPECT_EQ(r.status, 0) << errors;
    EXPECT_TRUE(logged("text is \"Hello #1  world\""));
    EXPECT_TRUE(logged("return with \"Hello #1  worl\""));
    EXPECT_TRUE(logged("escape"));
}

TEST_F(Headless, SlideSetsTheNamedSliderAndSendsItsChange) {
    EXPECT_EQ(run("slide level 2.5\nslide level 2.5\nslide level -10\n").status, 0) << errors;
    EXPECT_EQ(count("level "), 2); // the same value again moves nothing
    EXPECT_TRUE(logged("level 2.500000"));
    EXPECT_TRUE(logged("level -10.000000"));
}

TEST_F(Headless, SlideRefusesAValueOutOfRangeAndAControlThatIsNoSlider) {
    auto r = run("slide level 10.5\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(errors, scriptPath + ":1: slide: VALUE 10.5 is outside \"level\"'s range -10 to 10\n");
    r = run("slide Go 1\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(errors, scriptPath + ":1: slide: \"Go\" is a Control, not a slider\n");
    r = run("slide nothing 1\n");
    EXPECT_EQ(errors, scriptPath + ":1: slide: no visible, enabled control named \"nothing\"\n");
    EXPECT_EQ(count("level "), 0);
}

TEST_F(Headless, ATouchedSliderTakesTheArrowKeys) {
    EXPECT_EQ(run("tap 160 455\nkey right\nkey left\nkey left\n").status, 0) << errors;
    EXPECT_TRUE(logged("level 0.200000"));
    EXPECT_TRUE(logged("level -0.200000"));
}

TEST_F(Headless, TypeWithoutAFocusedFieldFails) {
    EXPECT_EQ(run("type lost\n").status, 1);
    EXPECT_EQ(errors, scriptPath + ":1: type: no text field has the focus\n");
}

TEST_F(Headless, ShakeSendsStrongSamplesOverTime) {
    EXPECT_EQ(run("shake\nwait 0.5\n").status, 0) << errors;
    EXPECT_GE(count("strong sample"), 3);
}

TEST_F(Headless, AccelDeliversOneSample) {
    EXPECT_EQ(run("accel 0.25 -0.5 1\n").status, 0) << errors;
    EXPECT_TRUE(logged("strong sample 0.250000 -0.500000 1.000000"));
}

TEST_F(Headless, RotateTurnsTheWindowAndTheScreenshotFollows) {
    const std::string shot = (tmp() / "landscape.png").string();
    const auto r = run("rotate landscape\nwait\nscreenshot " + shot + "\n");
    EXPECT_EQ(r.status, 0) << errors;
    EXPECT_TRUE(logged("rotated from 1"));
    auto img = Image::load(shot);
    ASSERT_TRUE(img);
    EXPECT_EQ(img.value()->width(), 480);
    EXPECT_EQ(img.value()->height(), 320);
}

TEST_F(Headless, MemoryWarningReachesDelegateAndScreens) {
    EXPECT_EQ(run("memory-warning\n").status, 0) << errors;
    EXPECT_TRUE(logged("app memory warning"));
    EXPECT_TRUE(logged("screen memory warning"));
}

TEST_F(Headless, WaitAdvancesTheVirtualClock) {
    EXPECT_EQ(run("wait 1.9\nexpect-log launched\n").status, 0) << errors;
    EXPECT_FALSE(logged("two seconds"));
    clearLogCapture();
    Application::shared().resetForTesting();
    Application::shared().setOwnedDelegate(std::make_unique<TinyApp>());
    EXPECT_EQ(run("wait 2\nexpect-log two seconds\n").status, 0) << errors;
    clearLogCapture();
    Application::shared().resetForTesting();
    Application::shared().setOwnedDelegate(std::make_unique<TinyApp>());
    // Without seconds: until the one-shot timer has fired (the accelerometer
    // repeats and does not count).
    EXPECT_EQ(run("wait\nexpect-log two seconds\n").status, 0) << errors;
    EXPECT_DOUBLE_EQ(RunLoop::main().now(), 2.0);
}

TEST_F(Headless, ScreenshotIsTheWindowOnePixelPerPoint) {
    const std::string shot = (tmp() / "portrait.png").string();
    EXPECT_EQ(run("screenshot " + shot + "\n").status, 0) << errors;
    auto img = Image::load(shot);
    ASSERT_TRUE(img);
    const Image& i = *img.value();
    EXPECT_EQ(i.width(), 320);
    EXPECT_EQ(i.height(), 480);
    const std::uint8_t* green = i.data() + (150 * 320 + 160) * 4;
    EXPECT_EQ(green[2], 255); // A R G B: the pad
    EXPECT_EQ(green[1], 0);
}

// At scale 2 a screenshot has two pixels a point, the pad where it was.
TEST_F(Headless, ScreenshotAtScaleTwoHasTwoPixelsAPoint) {
    const std::string shot = (tmp() / "double.png").string();
    const auto path = tmp() / "double.zscript";
    std::ofstream(path) << "screenshot " << shot << "\n";
    EXPECT_EQ(runHeadless(path.string(), {}, 2).status, 0);
    auto img = Image::load(shot);
    ASSERT_TRUE(img);
    const Image& i = *img.value();
    EXPECT_EQ(i.width(), 640);
    EXPECT_EQ(i.height(), 960);
    const auto pixel = [&](int x, int y) { return i.data() + (std::size_t(y) * 640 + x) * 4; };
    EXPECT_EQ(pixel(320, 300)[2], 255); // A R G B: the pad, y 100..300 points
    EXPECT_EQ(pixel(320, 300)[1], 0);
    EXPECT_EQ(pixel(320, 199)[2], 0); // just above it
    EXPECT_EQ(pixel(320, 200)[2], 255);
}

TEST_F(Headless, ExpectLogFailsWithTheLineNumber) {
    const auto r = run("expect-log launched\n# nothing\nexpect-log never said\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(errors, scriptPath + ":3: expect-log: no log line contains \"never said\"\n");
    EXPECT_EQ(count("will terminate"), 1);
}

TEST_F(Headless, QuitEndsNormallyAndSkipsTheRest) {
    const auto r = run("quit\nnonsense\n");
    EXPECT_EQ(r.status, 0) << errors;
    EXPECT_FALSE(r.killed);
    EXPECT_EQ(count("will terminate"), 1);
}

TEST_F(Headless, KillEndsWithoutTermination) {
    const auto r = run("kill\n");
    EXPECT_TRUE(r.killed);
    EXPECT_EQ(count("will terminate"), 0);
}

TEST_F(Headless, BadLinesFailWithTheirReason) {
    struct Case {
        std::string line, reason;
    };
    const std::vector<Case> cases{
        {"jump 1 2", "unknown command \"jump\""},
        {"down 1", "down: Y is missing"},
        {"down x 2", "down: X \"x\" is not a number"},
        {"up 1 2", "up: finger 1 is not down"},
        {"tap 1 2 0", "tap: COUNT \"0\" must be a whole number of at least 1"},
        {"key tab", "key: unknown key \"tab\" (return, backspace, escape, left, right, up, down)"},
        {"rotate sideways", "rotate: expected portrait or landscape"},
        {"wait -1", "wait: SECONDS must not be negative"},
        {"screenshot", "screenshot: FILE is missing"},
        {"accel 1 2", "accel: Z is missing"},
        {"wheel 1 2 3 sideways", "wheel: expected shift"},
        {"wheel 1 2", "wheel: DY is missing"},
    };
    for (const auto& c : cases) {
        clearLogCapture();
        Application::shared().resetForTesting();
        Application::shared().setOwnedDelegate(std::make_unique<TinyApp>());
        const auto r = run(c.line + "\n");
        EXPECT_EQ(r.status, 1) << c.line;
        EXPECT_EQ(errors, scriptPath + ":1: " + c.reason + "\n");
    }
}

// Amounts no one means would keep the run busy for hours: each is refused with its line.
TEST_F(Headless, AbsurdAmountsAreRefusedWithTheLineNumber) {
    struct Case {
        std::string line, reason;
    };
    const std::vector<Case> cases{
        {"wait 1e300", "wait: SECONDS \"1e300\" must be at most 10000000"},
        {"tap 1 2 5000", "tap: COUNT \"5000\" must be at most 1000"},
        {"drag 0 0 1 1 1000001", "drag: STEPS \"1000001\" must be at most 100000"},
        {"down 1 2 99999999999",
         "down: FINGER \"99999999999\" must be a whole number of at least 1"},
        {"shake 3", "shake: takes no arguments"},
        {"wheel 1 2 5000", "wheel: DY \"5000\" must be at most 1000"},
        {"down 1 2 3 4", "down: too many arguments (X Y [FINGER])"},
    };
    for (const auto& c : cases) {
        clearLogCapture();
        Application::shared().resetForTesting();
        Application::shared().setOwnedDelegate(std::make_unique<TinyApp>());
        const auto r = run("wait 1\n" + c.line + "\n");
        EXPECT_EQ(r.status, 1) << c.line;
        EXPECT_EQ(errors, scriptPath + ":2: " + c.reason + "\n");
        EXPECT_EQ(count("will terminate"), 1);
    }
}

// The virtual clock jumps to what is due: a wait of months ends at once, the timers due on
// the way fire, and the resting accelerometer is not sampled billions of times.
TEST_F(Headless, ALongWaitJumpsToWhatIsDue) {
    EXPECT_EQ(run("wait 10000000\nexpect-log two seconds\n").status, 0) << errors;
    EXPECT_NEAR(RunLoop::main().now(), 1e7, 1e-3);
    EXPECT_LT(TinyApp::samples, 2000);
    EXPECT_EQ(count("will terminate"), 1);
}

// SIGTERM during a long wait ends it there; the app terminates as usual and the script's
// later lines do not run.
TEST_F(Headless, ATerminationSignalEndsAWaitWithinItsLine) {
    installTerminationSignalHandlers();
    TinyApp::signalAfter = 5;
    EXPECT_EQ(run("wait 10000000\nexpect-log never said\n").status, 0) << errors;
    EXPECT_LT(RunLoop::main().now(), 6);
    EXPECT_EQ(count("will terminate"), 1);
    EXPECT_TRUE(logged("The script stops at " + scriptPath + ":1"));
}

// SIGINT during a drag lifts the finger where it is (the stroke ends as drawn), then the
// run ends normally.
TEST_F(Headless, AnInterruptDuringADragLiftsTheFingerWhereItIs) {
    installTerminationSignalHandlers();
    signalAtMove = 3;
    EXPECT_EQ(run("drag 0 110 1000 110 1000\ntap 50 150\n").status, 0) << errors;
    EXPECT_EQ(count("pad moved"), 3);
    EXPECT_TRUE(logged("pad ended finger 1 at 3,10"));
    EXPECT_FALSE(logged("pad began finger 1 at 50,50"));
    EXPECT_EQ(count("will terminate"), 1);
}

// A run whose termination could not write what it saves does not end as a success, even
// when a script command failed as well.
TEST_F(Headless, AFailedTerminationWriteEndsWithItsOwnStatus) {
    EXPECT_EQ(run("quit\n").status, 0);
    Application::shared().resetForTesting();
    Application::shared().setOwnedDelegate(std::make_unique<TinyApp>());
    TinyApp::cannotSave = true;
    EXPECT_EQ(run("quit\n").status, int(ExitStatus::NotSaved));
    EXPECT_TRUE(logged("Not saved at termination: the tiny picture"));
    Application::shared().resetForTesting();
    Application::shared().setOwnedDelegate(std::make_unique<TinyApp>());
    EXPECT_EQ(run("jump\n").status, int(ExitStatus::NotSaved));
}

TEST(LaunchArguments, ParseTheTwoDriversOptions) {
    auto a = parseLaunchArguments({"--headless", "--home", "/tmp/h", "--script", "-"});
    ASSERT_TRUE(a);
    EXPECT_TRUE(a->headless);
    EXPECT_EQ(a->home, "/tmp/h");
    EXPECT_EQ(a->script, "-");
    auto w = parseLaunchArguments({"--home", "/tmp/h"});
    ASSERT_TRUE(w);
    EXPECT_FALSE(w->headless);
    EXPECT_FALSE(parseLaunchArguments({"--script", "x"}));
    EXPECT_FALSE(parseLaunchArguments({"--headless", "--home"}));
    EXPECT_FALSE(parseLaunchArguments({"--fast"}));
    EXPECT_FALSE(parseLaunchArguments({"--headless", "--headless"}));
    auto scaled = parseLaunchArguments({"--headless", "--scale", "2"});
    ASSERT_TRUE(scaled);
    EXPECT_EQ(scaled->scale, 2);
    EXPECT_EQ(parseLaunchArguments({"--headless"})->scale, 1);
    for (const char* bad : {"0", "5", "1.5", "", "two"})
        EXPECT_FALSE(parseLaunchArguments({"--headless", "--scale", bad})) << bad;
    EXPECT_FALSE(parseLaunchArguments({"--scale", "2"})) << "the window picks its own scale";
    EXPECT_FALSE(parseLaunchArguments({"--headless", "--scale"}));
}

namespace {

// A folder of its own for a test, under the test run's scratch folder.
std::filesystem::path scratchFolder(const std::string& name) {
    const char* env = std::getenv("ZORBEL_TEST_TMP");
    const std::filesystem::path dir = std::filesystem::path(env ? env : "/tmp") / name;
    std::filesystem::create_directories(dir);
    return dir;
}

} // namespace

TEST(ApplicationMainTest, UsageErrorsExitWithTwo) {
    char prog[] = "zorbel", bad[] = "--bogus";
    char* argv[] = {prog, bad};
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(ApplicationMain(2, argv, {}), 2);
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("usage: zorbel"), std::string::npos);
}

// --help tells what each exit status means, the unsaved-work one included.
TEST(ApplicationMainTest, HelpListsTheExitStatuses) {
    char prog[] = "zorbel", help[] = "--help";
    char* argv[] = {prog, help};
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(ApplicationMain(2, argv, {}), 0);
    const std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("usage: zorbel"), std::string::npos);
    EXPECT_NE(out.find("3 something the app saves when it ends could not be written"),
              std::string::npos)
        << out;
}

TEST(ApplicationMainTest, KillExitsAtOnceWithoutTermination) {
    const std::filesystem::path dir = scratchFolder("headless-kill");
    const std::string script = (dir / "kill.zscript").string();
    const std::string marker = (dir / "terminated").string();
    std::filesystem::remove(marker);
    std::ofstream(script) << "kill\n";
    struct Marker : ApplicationDelegate {
        std::string path;
        void applicationWillTerminate() override { std::ofstream(path) << "yes"; }
    };
    std::string scriptArg = script;
    std::string a0 = "zorbel", a1 = "--headless", a2 = "--script";
    char* argv[] = {a0.data(), a1.data(), a2.data(), scriptArg.data()};
    EXPECT_EXIT(
        {
            ApplicationMain(4, argv, [&] {
                auto m = std::make_unique<Marker>();
                m->path = marker;
                return m;
            });
            std::exit(3);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_FALSE(std::filesystem::exists(marker));
}

// What the app prepares ahead sees the parsed arguments, once, before its
// delegate is made.
TEST(ApplicationMainTest, TheLaunchIsPreparedBeforeTheDelegateIsMade) {
    const std::filesystem::path dir = scratchFolder("headless-prepare");
    const std::string script = (dir / "empty.zscript").string();
    std::ofstream(script) << "";
    std::string a0 = "zorbel", a1 = "--headless", a2 = "--script", a3 = script,
                a4 = (dir / "photo.jpg").string();
    char* argv[] = {a0.data(), a1.data(), a2.data(), a3.data(), a4.data()};
    std::vector<std::string> calls;
    ::testing::internal::CaptureStderr();
    ApplicationMain(
        5, argv,
        [&] {
            calls.push_back("delegate");
            return std::make_unique<ApplicationDelegate>();
        },
        [&](const LaunchOptions& options) {
            calls.push_back("prepare " + (options.files.empty() ? std::string("none")
                                                                : options.files[0].string()));
        });
    ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(calls, (std::vector<std::string>{"prepare " + a4, "delegate"}));
    Application::shared().resetForTesting();
}
