#pragma once

namespace platform {

// Which of SDL's video drivers opens the window: native on Wayland where
// there is a compositor (SDL would take XWayland first); an explicit
// SDL_VIDEODRIVER still decides. A compositor without a seat is left alone:
// SDL's Wayland backend would die starting there.
struct VideoChoice {
    static constexpr const char* kNoSeat =
        "the Wayland compositor offers no seat (no keyboard or pointer), which SDL's Wayland "
        "backend cannot start without";

    bool refused = false;    // only Wayland was asked for, and it has no seat
    bool passedOver = false; // a seatless compositor was passed over for X11
};

// Sets SDL's video driver hint for this session; call before SDL starts its video.
VideoChoice chooseVideoDriver();

} // namespace platform
