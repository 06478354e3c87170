#pragma once

#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "platform/graphics/Image.h"
#include "platform/ui/Event.h"
#include "platform/ui/Touch.h"
#include "platform/ui/View.h"

namespace platform {

class StatusBar;
class ViewController;

// Interface orientations, numbered as the app numbers them.
constexpr int InterfaceOrientationPortrait = 1;
constexpr int InterfaceOrientationPortraitUpsideDown = 2;
constexpr int InterfaceOrientationLandscapeRight = 3;
constexpr int InterfaceOrientationLandscapeLeft = 4;
inline bool isLandscape(int orientation) {
    return orientation == 3 || orientation == 4;
}

// Keys a driver passes on to the first responder.
enum class Key { Return, Backspace, Escape, Left, Right, Up, Down };

// The root of the view tree and the screen: 320 x 480 points in portrait,
// 480 x 320 in landscape. It routes the drivers' touches and keys, turns the
// interface when the device turns, and composes the tree into a framebuffer.
//
// Driver contract (the headless driver and the SDL window driver):
// - Touches: touchDown / touchMove / touchUp / touchCancel with a finger
//   number and a point in window points (the current orientation). A touch is
//   hit-tested when it comes down and stays with that view. Fingers down at
//   the same time form one gesture (one Event).
// - Keys and text: insertText / key go to the first responder.
// - Device turns: setDeviceOrientation (the interface follows when the
//   frontmost controller allows it; sizeChanged then reports the new size).
// - Drawing: call render(framebuffer) after each run loop turn when
//   needsRender(); the framebuffer is a y-down context of size() * scale().
//   render returns the area (in points) that changed, null when nothing did,
//   so a driver uploads and presents only that. A new framebuffer (other
//   size or address) is composed whole.
class Window : public View {
public:
    Window();
    ~Window() override;
    std::string className() const override { return "Window"; }
    // Its background is laid under everything it shows; it draws nothing else.
    bool drawsContent() const override { return false; }

    // Makes this the application's key window and shows it.
    void makeKeyAndVisible();
    bool isKeyWindow() const;

    // --- Screen size and orientation ---
    Size size() const { return bounds().size; }
    int interfaceOrientation() const { return interfaceOrientation_; }
    int deviceOrientation() const { return deviceOrientation_; }
    // The device turned (1 to 4). If the frontmost controller allows it, the
    // controllers from the window's to the frontmost get will-rotate, the
    // window takes the new size (its subviews autoresize), the status bar
    // moves, and did-rotate follows after the rotation's duration.
    void setDeviceOrientation(int orientation);
    static constexpr double kRotationDuration = 0.3;
    // The controller that decides about rotation: the controller of the
    // frontmost subview that has one, followed through its presented modals.
    ViewController* frontmostViewController() const;
    // Called with the new size after the interface turned.
    void setSizeChangedHandler(std::function<void(Size)> handler) {
        sizeChanged_ = std::move(handler);
    }

    // --- The status bar (drawn above everything, 20 points high) ---
    StatusBar& statusBar() { return *statusBar_; }

    // --- Touch input, in window points ---
    // `tapCount` > 0 overrides the counting (a driver that knows its click
    // count); otherwise taps within kTapInterval seconds and kTapDistance
    // points of the previous tap's point count up.
    void touchDown(int finger, Point p, int tapCount = 0);
    void touchMove(int finger, Point p);
    void touchUp(int finger, Point p);
    void touchCancel(int finger, Point p);
    // Cancels every finger on the screen (e.g. a modal screen came up).
    void cancelAllTouches();
    int activeTouchCount() const { return int(touches_.size()); }
    bool hasTouch(int finger) const { return touches_.count(finger) != 0; }
    // A mouse wheel over `p`: offered to the view under it, then up its
    // superviews (see View::scrollWheel). False when no view took it.
    bool scrollWheel(Point p, float dx, float dy);
    // The mouse pointer over `p` with no button down, offered as the wheel is
    // (View::pointerHovered). The view that took it before hears pointerLeft
    // once another view takes it, none does, or pointerLeftWindow is called
    // (the pointer went out of the window, or a button went down).
    void pointerMoved(Point p);
    void pointerLeftWindow();
    static constexpr double kTapInterval = 0.35;
    static constexpr float kTapDistance = 10;

    // --- Keyboard ---
    View* firstResponder() const { return firstResponder_; }
    // Asks the old first responder to resign (it may refuse); false if not moved.
    bool setFirstResponder(View* view);
    void insertText(const std::string& utf8);
    void key(Key key);

    // --- Drawing ---
    float scale() const { return scale_; }
    // Backing stores are redrawn at this many pixels per point.
    void setScale(float scale);
    bool needsRender() const { return needsRender_; }
    void setNeedsRender() { needsRender_ = true; }
    // Lays out, draws what asked to be drawn, and composes into `framebuffer`
    // everything that changed since the last render into that framebuffer.
    Rect render(Context& framebuffer);
    // The whole window, status bar included, at the window's scale.
    ImageRef snapshot();

    // --- Called by views ---
    void viewDidDraw(View* view, const Rect& area);
    void viewWillLeaveWindow(View* view);
    void viewBecameHidden(View* view);

    // Background behind every view (black).
    static constexpr Color kBackground = Color::black();

    // The status bar first, then the tree.
    View* hitTest(Point p, const Event* event) override;

private:
    struct TapRecord {
        double time = -1e9;
        Point point;
        int count = 0;
    };
    void deliver(const std::shared_ptr<Touch>& touch, TouchPhase phase);
    void endTouch(int finger, Point p, TouchPhase phase);
    Event currentEvent() const;
    void forgetTouchesOf(View* view);
    void addDamage(const Rect& r);
    void collectDamage(View& view, const AffineTransform& toWindow, bool ancestorChanged,
                       bool visible);
    void compose(Context& framebuffer, const Rect& area, float scale);
    void applyOrientation(int orientation);
    std::vector<ViewController*> rotationChain() const;

    std::shared_ptr<StatusBar> statusBar_;
    std::map<int, std::shared_ptr<Touch>> touches_;
    // The view that took the hovering pointer last.
    std::weak_ptr<View> hovered_;
    std::map<const Touch*, Point> downPoints_;
    TapRecord lastTap_;
    View* firstResponder_ = nullptr;
    float scale_ = 1;
    bool needsRender_ = true;
    std::vector<Rect> damage_;
    const void* lastFramebuffer_ = nullptr;
    Size lastFramebufferSize_{};
    int interfaceOrientation_ = InterfaceOrientationPortrait;
    int deviceOrientation_ = InterfaceOrientationPortrait;
    std::function<void(Size)> sizeChanged_;
};

} // namespace platform
