#pragma once

#include <string>

namespace platform {

// What the D-Bus session bus address should be set to so that libdbus does
// not try to start a bus where none can be had, or "" to leave it alone.
//
// SDL connects to the session bus while it starts (screen saver, input
// methods). With no address set and no user bus in the runtime folder,
// libdbus "autolaunches": it forks the whole process to run dbus-launch,
// which on a machine without it fails after some milliseconds of copying
// page tables, and that on the window's way to the screen. Where a bus is
// set, exists or could be launched, nothing changes.
// `busAddress`, `runtimeDir` and `path` are the environment's
// DBUS_SESSION_BUS_ADDRESS, XDG_RUNTIME_DIR and PATH (null when unset).
std::string sessionBusStandIn(const char* busAddress, const char* runtimeDir, const char* path,
                              unsigned uid);

// Sets the address sessionBusStandIn gives, if any, and answers whether it
// did: no session bus can be had, so SDL will make no use of D-Bus. Only
// before any other thread runs: the environment is not safe to change beside
// readers.
[[nodiscard]] bool avoidFutileSessionBusLaunch();

} // namespace platform
