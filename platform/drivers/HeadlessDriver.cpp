#include "platform/drivers/HeadlessDriver.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <sstream>
#include <vector>

#include "platform/drivers/ApplicationMain.h"
#include "platform/foundation/FileIO.h"
#include "platform/foundation/Log.h"
#include "platform/ui/Accelerometer.h"
#include "platform/ui/Application.h"
#include "platform/ui/Control.h"
#include "platform/ui/RunLoop.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/Window.h"

namespace platform {

namespace {

using Outcome = HeadlessDriver::Outcome;

Result<Outcome> fail(std::string reason) {
    return Result<Outcome>::failure(std::move(reason));
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r'))
        s.remove_prefix(1);
    while (!s.empty() &&
           (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n'))
        s.remove_suffix(1);
    return s;
}

// Words up to a "#" that starts a word.
std::vector<std::string> words(std::string_view s) {
    std::vector<std::string> out;
    std::size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\r'))
            ++i;
        if (i >= s.size() || s[i] == '#')
            break;
        std::size_t j = i;
        while (j < s.size() && s[j] != ' ' && s[j] != '\t' && s[j] != '\r')
            ++j;
        out.emplace_back(s.substr(i, j - i));
        i = j;
    }
    return out;
}

std::optional<double> parseNumber(const std::string& word) {
    double v = 0;
    const char* end = word.data() + word.size();
    auto [ptr, ec] = std::from_chars(word.data(), end, v);
    if (ec != std::errc() || ptr != end || !std::isfinite(v))
        return std::nullopt;
    return v;
}

std::optional<int> parseInt(const std::string& word) {
    int v = 0;
    const char* end = word.data() + word.size();
    auto [ptr, ec] = std::from_chars(word.data(), end, v);
    if (ec != std::errc() || ptr != end)
        return std::nullopt;
    return v;
}

struct Args {
    std::vector<std::string> w;
    std::string command;

    Result<double> number(std::size_t i, const char* what) const {
        if (i >= w.size())
            return Result<double>::failure(command + ": " + what + " is missing");
        auto v = parseNumber(w[i]);
        if (!v)
            return Result<double>::failure(command + ": " + what + " \"" + w[i] +
                                           "\" is not a number");
        return *v;
    }
    Result<int> count(std::size_t i, const char* what, int fallback, int min) const {
        if (i >= w.size())
            return fallback;
        auto v = parseInt(w[i]);
        if (!v || *v < min)
            return Result<int>::failure(command + ": " + what + " \"" + w[i] +
                                        "\" must be a whole number of at least " +
                                        std::to_string(min));
        return *v;
    }
    // The leading numbers, one per name, or the first one's failure.
    template <std::size_t N>
    Result<std::array<double, N>> numbers(const char* const (&names)[N]) const {
        std::array<double, N> values{};
        for (std::size_t i = 0; i < N; ++i) {
            auto v = number(i, names[i]);
            if (!v)
                return Result<std::array<double, N>>::failure(v.error());
            values[i] = *v;
        }
        return values;
    }
    bool tooMany(std::size_t max) const { return w.size() > max; }
};

// The lowest finger number not touching the window now.
int freeFinger(const Window& window) {
    int finger = 1;
    while (window.hasTouch(finger))
        ++finger;
    return finger;
}

bool visibleChain(const View* v) {
    for (; v; v = v->superview()) {
        if (v->isHidden() || v->alpha() <= 0 || !v->isUserInteractionEnabled())
            return false;
    }
    return true;
}

View* searchFrontToBack(View& view, std::string_view name) {
    if (view.isHidden() || view.alpha() <= 0 || !view.isUserInteractionEnabled())
        return nullptr;
    const auto& subs = view.subviews();
    for (auto it = subs.rbegin(); it != subs.rend(); ++it)
        if (View* found = searchFrontToBack(**it, name))
            return found;
    if (!view.answersToPressName(name))
        return nullptr;
    if (auto* control = dynamic_cast<Control*>(&view); control && !control->isEnabled())
        return nullptr;
    return &view;
}

} // namespace

HeadlessDriver::HeadlessDriver() = default;
HeadlessDriver::~HeadlessDriver() = default;

Window* HeadlessDriver::window() const {
    return Application::shared().keyWindow();
}

View* HeadlessDriver::findPressable(Window& window, std::string_view name) {
    View* found = searchFrontToBack(window, name);
    if (found && !visibleChain(found))
        return nullptr;
    return found;
}

void HeadlessDriver::settleInput() {
    // What the input set off at this moment: posted work, timers already due.
    RunLoop::main().runOnce();
    render();
}

void HeadlessDriver::render() {
    Window* w = window();
    if (!w)
        return;
    const Size s = w->size();
    const int width = int(s.width), height = int(s.height);
    if (!framebuffer_ || framebuffer_->width() != width || framebuffer_->height() != height)
        framebuffer_ = Context::createBitmap(width, height, nullptr, YAxis::Down);
    if (framebuffer_)
        w->render(*framebuffer_);
}

Result<Outcome> HeadlessDriver::runLine(std::string_view line) {
    std::string_view t = trim(line);
    if (t.empty() || t.front() == '#')
        return Outcome::Continue;
    std::size_t space = t.find_first_of(" \t");
    std::string command(t.substr(0, space));
    std::string rest =
        space == std::string_view::npos ? std::string() : std::string(t.substr(space));
    return run(command, rest);
}

Result<Outcome> HeadlessDriver::run(const std::string& command, const std::string& rest) {
    Args a{words(rest), command};
    Window* w = window();
    auto needWindow = [&]() -> bool { return w != nullptr; };
    // One tap of a finger: down (the `tapCount`th of a series), up unless a
    // view let go of it meanwhile, each settled.
    auto tapWith = [&](int finger, Point p, int tapCount) {
        w->touchDown(finger, p, tapCount);
        settleInput();
        if (w->hasTouch(finger))
            w->touchUp(finger, p);
        settleInput();
    };

    if (command == "down" || command == "move" || command == "up" || command == "cancel") {
        if (a.tooMany(3))
            return fail(command + ": too many arguments (X Y [FINGER])");
        auto xy = a.numbers({"X", "Y"});
        if (!xy)
            return fail(xy.error());
        auto finger = a.count(2, "FINGER", 1, 1);
        if (!finger)
            return fail(finger.error());
        if (!needWindow())
            return fail(command + ": there is no window");
        const Point p{float((*xy)[0]), float((*xy)[1])};
        const bool isDown = w->hasTouch(*finger);
        if (command == "down") {
            if (isDown)
                return fail("down: finger " + std::to_string(*finger) + " is already down");
            w->touchDown(*finger, p);
        } else {
            if (!isDown)
                return fail(command + ": finger " + std::to_string(*finger) + " is not down");
            if (command == "move")
                w->touchMove(*finger, p);
            else if (command == "up")
                w->touchUp(*finger, p);
            else
                w->touchCancel(*finger, p);
        }
        settleInput();
        return Outcome::Continue;
    }

    if (command == "tap") {
        if (a.tooMany(3))
            return fail("tap: too many arguments (X Y [COUNT])");
        auto xy = a.numbers({"X", "Y"});
        if (!xy)
            return fail(xy.error());
        auto count = a.count(2, "COUNT", 1, 1);
        if (!count)
            return fail(count.error());
        if (!needWindow())
            return fail("tap: there is no window");
        const int finger = freeFinger(*w);
        const Point p{float((*xy)[0]), float((*xy)[1])};
        for (int k = 1; k <= *count; ++k)
            tapWith(finger, p, k);
        return Outcome::Continue;
    }

    if (command == "drag") {
        if (a.tooMany(5))
            return fail("drag: too many arguments (X1 Y1 X2 Y2 [STEPS])");
        auto ends = a.numbers({"X1", "Y1", "X2", "Y2"});
        if (!ends)
            return fail(ends.error());
        const std::array<double, 4>& v = *ends;
        auto steps = a.count(4, "STEPS", 10, 1);
        if (!steps)
            return fail(steps.error());
        if (!needWindow())
            return fail("drag: there is no window");
        const int finger = freeFinger(*w);
        w->touchDown(finger, Point{float(v[0]), float(v[1])});
        settleInput();
        Point last{float(v[0]), float(v[1])};
        for (int k = 1; k <= *steps && w->hasTouch(finger); ++k) {
            const double f = double(k) / *steps;
            last = Point{float(v[0] + (v[2] - v[0]) * f), float(v[1] + (v[3] - v[1]) * f)};
            w->touchMove(finger, last);
            settleInput();
        }
        if (w->hasTouch(finger))
            w->touchUp(finger, Point{float(v[2]), float(v[3])});
        settleInput();
        return Outcome::Continue;
    }

    if (command == "press") {
        const std::string name(trim(rest));
        if (name.empty())
            return fail("press: NAME is missing");
        if (!needWindow())
            return fail("press: there is no window");
        View* target = findPressable(*w, name);
        if (!target)
            return fail("press: no visible, enabled control named \"" + name + "\"");
        const Rect b = target->bounds();
        const Point p = target->convertPointToView(b.center(), nullptr);
        View* hit = w->hitTest(p, nullptr);
        // A scroll view takes the touches on its content and hands them on,
        // so the control under the finger is the one its content answers.
        if (auto* scroll = dynamic_cast<ScrollView*>(hit))
            hit = scroll->contentHitTest(scroll->convertPointFromView(p, nullptr), nullptr);
        if (!hit || !hit->isDescendantOfView(target))
            return fail("press: \"" + name + "\" is covered at (" + std::to_string(int(p.x)) +
                        ", " + std::to_string(int(p.y)) + ")");
        tapWith(freeFinger(*w), p, 1);
        return Outcome::Continue;
    }

    if (command == "type") {
        // The rest of the line as written, after the one separating blank.
        std::string text = rest;
        if (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
            text.erase(0, 1);
        while (!text.empty() && (text.back() == '\r' || text.back() == '\n'))
            text.pop_back();
        if (!needWindow() || !w->firstResponder())
            return fail("type: no text field has the focus");
        w->insertText(text);
        settleInput();
        return Outcome::Continue;
    }

    if (command == "key") {
        if (a.w.size() != 1)
            return fail("key: expected one of return, backspace, escape");
        Key key;
        if (a.w[0] == "return")
            key = Key::Return;
        else if (a.w[0] == "backspace")
            key = Key::Backspace;
        else if (a.w[0] == "escape")
            key = Key::Escape;
        else
            return fail("key: unknown key \"" + a.w[0] + "\" (return, backspace, escape)");
        if (!needWindow() || !w->firstResponder())
            return fail("key: no text field has the focus");
        w->key(key);
        settleInput();
        return Outcome::Continue;
    }

    if (command == "shake") {
        if (!a.w.empty())
            return fail("shake: takes no arguments");
        Accelerometer::shared().shake();
        settleInput();
        return Outcome::Continue;
    }

    if (command == "accel") {
        if (a.tooMany(3))
            return fail("accel: too many arguments (X Y Z)");
        auto v = a.numbers({"X", "Y", "Z"});
        if (!v)
            return fail(v.error());
        Accelerometer::shared().deliver((*v)[0], (*v)[1], (*v)[2]);
        settleInput();
        return Outcome::Continue;
    }

    if (command == "rotate") {
        if (a.w.size() != 1 || (a.w[0] != "portrait" && a.w[0] != "landscape"))
            return fail("rotate: expected portrait or landscape");
        if (!needWindow())
            return fail("rotate: there is no window");
        w->setDeviceOrientation(a.w[0] == "portrait" ? InterfaceOrientationPortrait
                                                     : InterfaceOrientationLandscapeRight);
        settleInput();
        return Outcome::Continue;
    }

    if (command == "memory-warning") {
        if (!a.w.empty())
            return fail("memory-warning: takes no arguments");
        Application::shared().receiveMemoryWarning();
        settleInput();
        return Outcome::Continue;
    }

    if (command == "wait") {
        if (a.tooMany(1))
            return fail("wait: too many arguments ([SECONDS])");
        RunLoop& loop = RunLoop::main();
        if (a.w.empty()) {
            if (!loop.settle())
                return fail("wait: still busy after 600 seconds");
        } else {
            auto s = a.number(0, "SECONDS");
            if (!s)
                return fail(s.error());
            if (*s < 0)
                return fail("wait: SECONDS must not be negative");
            loop.drain();
            loop.advanceBy(*s);
        }
        render();
        return Outcome::Continue;
    }

    if (command == "screenshot") {
        const std::string file(trim(rest));
        if (file.empty())
            return fail("screenshot: FILE is missing");
        if (!needWindow())
            return fail("screenshot: there is no window");
        ImageRef shot = w->snapshot();
        if (!shot)
            return fail("screenshot: the window could not be drawn");
        auto png = shot->pngData();
        if (!png)
            return fail("screenshot: " + png.error());
        auto written = writeFileAtomically(file, std::span<const std::uint8_t>(png.value()));
        if (!written)
            return fail("screenshot: " + file + ": " + written.error());
        return Outcome::Continue;
    }

    if (command == "expect-log") {
        const std::string text(trim(rest));
        if (text.empty())
            return fail("expect-log: TEXT is missing");
        if (!logContains(text))
            return fail("expect-log: no log line contains \"" + text + "\"");
        return Outcome::Continue;
    }

    if (command == "quit") {
        if (!a.w.empty())
            return fail("quit: takes no arguments");
        return Outcome::Quit;
    }
    if (command == "kill") {
        if (!a.w.empty())
            return fail("kill: takes no arguments");
        return Outcome::Kill;
    }
    return fail("unknown command \"" + command + "\"");
}

HeadlessDriver::RunResult HeadlessDriver::runScript(std::istream& in, const std::string& fileName) {
    RunResult result;
    std::string line;
    int number = 0;
    render();
    while (!terminationRequested() && std::getline(in, line)) {
        ++number;
        auto outcome = runLine(line);
        if (!outcome) {
            result.failed = true;
            result.failure = fileName + ":" + std::to_string(number) + ": " + outcome.error();
            std::fprintf(stderr, "%s\n", result.failure.c_str());
            std::fflush(stderr);
            result.outcome = Outcome::Quit;
            return result;
        }
        if (*outcome != Outcome::Continue) {
            result.outcome = *outcome;
            return result;
        }
    }
    result.outcome = Outcome::Quit;
    return result;
}

HeadlessRun runHeadless(const std::optional<std::string>& script) {
    RunLoop& loop = RunLoop::main();
    loop.reset(ClockMode::Virtual);
    Application& app = Application::shared();
    app.finishLaunching();
    loop.drain();

    HeadlessDriver driver;
    HeadlessDriver::RunResult result;
    if (script) {
        if (*script == "-") {
            result = driver.runScript(std::cin, "-");
        } else {
            // A regular file only (a FIFO would hang the launch); "-" reads a pipe.
            auto bytes = readFile(*script, 16u << 20);
            if (!bytes) {
                std::fprintf(stderr, "%s: cannot open the script: %s\n", script->c_str(),
                             bytes.error().c_str());
                app.terminate();
                return HeadlessRun{2, false};
            }
            std::istringstream file(std::string(bytes->begin(), bytes->end()));
            result = driver.runScript(file, *script);
        }
    }
    if (result.outcome == HeadlessDriver::Outcome::Kill)
        return HeadlessRun{0, true};
    app.terminate();
    return HeadlessRun{result.failed ? 1 : 0, false};
}

} // namespace platform
