#pragma once

#include <functional>
#include <memory>

#include "platform/drivers/ApplicationMain.h"
#include "platform/drivers/SdlScreen.h"
#include "platform/graphics/Point.h"
#include "platform/ui/KeyChord.h"

namespace platform {

class Context;
class Window;

// The desktop and phone window, through SDL2.
//
// The 320 x 480 point interface is shown in a window titled with the app's display name,
// scaled
// by the largest whole factor that fits the screen in both orientations
// (views draw at that scale). Input:
//   mouse                one finger (finger 1); the click count is the tap count
//   touch screen         each finger a touch (and the on-screen keyboard)
//   right button, or Alt + left button   a second finger (finger 2)
//                        mirrored about the window's centre (pinch and turn)
//   typing, Return, Backspace, Escape   to the focused text field
//   other keys           to the application as key chords (deliverKeyChord)
//   a dropped file       the application's applicationOpenFile
//   F11                  full screen on and off: the picture at the largest
//                        whole scale that fits, centred on black; Escape
//                        also leaves it (and is then not the app's)
//   Ctrl+Left/Right      turn the device a quarter to the left / right; the
//                        window turns to 480 x 320 when the frontmost
//                        controller allows it
//   Ctrl+Shift+M         a memory warning
//   Ctrl+Q, closing the window, SIGTERM, SIGINT   normal termination
// Only the part of the window that changed is copied and shown.
class SdlDriver {
public:
    ~SdlDriver();
    // Opens the window; fails (with the reason) when there is no display.
    static Result<std::unique_ptr<SdlDriver>>
    create(PixelUpload upload = SdlScreen::kDefaultUpload);
    // create in two halves. The first starts SDL's video and opens the window;
    // it may run on a worker thread while nothing else calls SDL. The second
    // runs on the thread that will run the loop (the icon, text input).
    // `scaleKnown`, when given, hears the window's scale as soon as the
    // screen's size is known, before the window is made; `writable` the
    // window's pixels, for the first frame to be written ahead
    // (SdlScreen::prepareSurface).
    static Result<std::unique_ptr<SdlDriver>>
    openWindow(PixelUpload upload, const std::function<void(int)>& scaleKnown = {},
               const std::function<void(const SdlScreen::FirstFramePixels&)>& writable = {});
    void finishOpening();
    // The key window's first frame, drawn at `scale` while the window opens;
    // the first present shows it unless the window changed meanwhile.
    static std::unique_ptr<Context> renderFirstFrame(Window* window, int scale);
    void adoptFirstFrame(std::unique_ptr<Context> framebuffer);
    // Runs events, the main run loop and redisplay until termination; calls
    // the application's terminate (once) and answers the exit status.
    int run();

    int scale() const { return scale_; }
    const SdlScreen& screen() const { return *screen_; }
    // The whole factor that shows 320 x 480 points, upright and turned,
    // inside a usable area of the given size (pixels), at least 1.
    static int scaleForArea(int usableWidth, int usableHeight);
    // Full screen shows the picture (pointsWide x pointsHigh points) at the
    // largest whole scale that fits the screen, centred, black around it.
    struct Placement {
        int scale = 1;
        int x = 0; // the picture's top-left pixel on the screen
        int y = 0;
        bool operator==(const Placement&) const = default;
    };
    static Placement fullScreenPlacement(int screenWidth, int screenHeight, int pointsWide,
                                         int pointsHigh);
    // Where the Alt-key second finger goes for a first finger at p.
    static Point mirroredFinger(Point p, float windowWidth, float windowHeight);
    // The device orientation after a quarter turn to the left or right
    // (1 portrait, 3 and 4 landscape, 2 upside down).
    static int turned(int orientation, bool left);
    // The chord of an SDL key code with SDL's modifier bits ("ctrl+shift+z").
    static KeyChord chordFor(int keycode, int modifiers);

    struct Impl;

private:
    SdlDriver();
    std::unique_ptr<SdlScreen> screen_;
    std::unique_ptr<Impl> impl_;
    int scale_ = 1;
};

} // namespace platform
