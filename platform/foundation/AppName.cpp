#include "platform/foundation/AppName.h"

#include <cerrno>
#include <mutex>

namespace platform {

namespace {

struct NameState {
    std::mutex mutex;
    AppName name;
    bool set = false;
};

NameState& state() {
    static NameState s;
    return s;
}

std::string programName() {
    const char* name = program_invocation_short_name;
    return name && *name ? name : "app";
}

} // namespace

void setAppName(const AppName& name) {
    NameState& s = state();
    std::lock_guard lock(s.mutex);
    if (!s.set) {
        s.name = {programName(), programName()};
        s.set = true;
    }
    if (!name.name.empty())
        s.name.name = name.name;
    if (!name.displayName.empty())
        s.name.displayName = name.displayName;
}

AppName appName() {
    NameState& s = state();
    std::lock_guard lock(s.mutex);
    if (!s.set)
        return {programName(), programName()};
    return s.name;
}

} // namespace platform
