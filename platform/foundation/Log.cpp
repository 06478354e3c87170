#include "platform/foundation/Log.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <deque>
#include <mutex>

#include <unistd.h>

#include "platform/foundation/AppName.h"

namespace platform {

namespace {

// The capture is bounded so a long session cannot grow it without limit; the
// oldest lines go first.
constexpr std::size_t kMaxCapturedLines = 100000;

struct LogState {
    std::mutex mutex;
    std::deque<std::string> lines;
    bool quiet = false;
};

LogState& state() {
    static LogState s;
    return s;
}

std::string processName() {
    const char* name = program_invocation_short_name;
    return name && *name ? std::string(name) : appName().name;
}

std::string timestampPrefix() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    const auto millis = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm local{};
    localtime_r(&seconds, &local);
    char date[32];
    std::strftime(date, sizeof date, "%Y-%m-%d %H:%M:%S", &local);
    char prefix[128];
    std::snprintf(prefix, sizeof prefix, "%s.%03d %s[%d] ", date, int(millis),
                  processName().c_str(), int(getpid()));
    return prefix;
}

} // namespace

void log(std::string_view message) {
    LogState& s = state();
    std::string line(message);
    std::lock_guard lock(s.mutex);
    if (!s.quiet) {
        const std::string out = timestampPrefix() + line + "\n";
        std::fwrite(out.data(), 1, out.size(), stderr);
        std::fflush(stderr);
    }
    s.lines.push_back(std::move(line));
    if (s.lines.size() > kMaxCapturedLines)
        s.lines.pop_front();
}

std::vector<std::string> logLines() {
    LogState& s = state();
    std::lock_guard lock(s.mutex);
    return {s.lines.begin(), s.lines.end()};
}

bool logContains(std::string_view text) {
    LogState& s = state();
    std::lock_guard lock(s.mutex);
    for (const std::string& line : s.lines)
        if (line.find(text) != std::string::npos)
            return true;
    return false;
}

void clearLogCapture() {
    LogState& s = state();
    std::lock_guard lock(s.mutex);
    s.lines.clear();
}

void setLogQuiet(bool quiet) {
    LogState& s = state();
    std::lock_guard lock(s.mutex);
    s.quiet = quiet;
}

} // namespace platform
