#include "platform/drivers/SdlVideoChoice.h"

#include <cstdlib>
#include <string_view>

#include <SDL.h>

#include "platform/drivers/SdlWaylandSurface.h"

namespace platform {

VideoChoice chooseVideoDriver() {
    const char* asked = std::getenv("SDL_VIDEODRIVER");
    const std::string_view requested = asked ? asked : "";
    if (!requested.empty() && requested.find("wayland") == std::string_view::npos)
        return {};
    // Without a Wayland display named SDL takes X11 where there is one.
    if (requested.empty() && !std::getenv("WAYLAND_DISPLAY") && std::getenv("DISPLAY"))
        return {};
    const WaylandSeat seat = probeWaylandSeat();
    if (seat == WaylandSeat::NoSeat) {
        if (requested == "wayland")
            return {true, false};
        SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "x11", SDL_HINT_OVERRIDE);
        return {false, true};
    }
    if (seat == WaylandSeat::Seat && requested.empty() && std::getenv("WAYLAND_DISPLAY"))
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "wayland,x11");
    return {};
}

} // namespace platform
