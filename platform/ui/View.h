#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/graphics/AffineTransform.h"
#include "platform/graphics/Color.h"
#include "platform/graphics/Context.h"
#include "platform/graphics/Rect.h"
#include "platform/ui/Action.h"
#include "platform/ui/Autoresizing.h"
#include "platform/ui/BackingStore.h"
#include "platform/ui/ContentMode.h"

namespace platform {

class Event;
class TouchSet;
class Window;
class ViewController;

enum class AnimationCurve { EaseInOut, EaseIn, EaseOut, Linear };

// A rectangle of the screen that draws itself and takes touches.
//
// Geometry: `bounds` is the view's own coordinate system (y down); `center`
// is where the bounds' middle sits in the superview; `transform` is applied
// about that centre. `frame` is the bounding box in the superview; setting it
// sets center and bounds size (keep the transform identity when you do).
// Setters inside an animation block (Animation.h) change the model value at
// once and animate what is shown.
//
// Drawing: a view draws only in `drawRect`, called by the window before it
// composes the screen, into its own backing store (a y-down context of the
// bounds size times the window's scale) clipped to the area marked with
// setNeedsDisplay/setNeedsDisplayInRect since the last draw. The stored
// drawing is reused while the view moves, fades or turns. A view with an
// opaque background colour starts each draw from that colour; otherwise the
// dirty area is cleared to transparent first, and the background colour (if
// any) filled.
//
// Ownership: a superview owns its subviews (shared_ptr); superview() and
// window() are plain back pointers. Don't keep a raw pointer to a view you
// don't own beyond its removal.
class View : public ActionSender, public std::enable_shared_from_this<View> {
public:
    View();
    explicit View(const Rect& frame);
    virtual ~View();
    View(const View&) = delete;
    View& operator=(const View&) = delete;

    // Geometry.
    Rect frame() const;
    virtual void setFrame(const Rect& frame);
    Rect bounds() const { return bounds_; }
    virtual void setBounds(const Rect& bounds);
    Point center() const { return center_; }
    virtual void setCenter(Point center);
    AffineTransform transform() const { return transform_; }
    virtual void setTransform(const AffineTransform& transform);

    // Appearance.
    float alpha() const { return alpha_; }
    virtual void setAlpha(float alpha);
    bool isHidden() const { return hidden_; }
    virtual void setHidden(bool hidden);
    // Empty (nullopt) draws no background.
    std::optional<Color> backgroundColor() const { return backgroundColor_; }
    void setBackgroundColor(std::optional<Color> color);
    // A promise that the drawing covers the bounds with opaque pixels.
    bool isOpaque() const { return opaque_; }
    void setOpaque(bool opaque) { opaque_ = opaque; }
    bool clipsToBounds() const { return clipsToBounds_; }
    void setClipsToBounds(bool clips);
    ContentMode contentMode() const { return contentMode_; }
    void setContentMode(ContentMode mode);

    // Touch handling switches.
    bool isUserInteractionEnabled() const { return userInteractionEnabled_; }
    void setUserInteractionEnabled(bool enabled) { userInteractionEnabled_ = enabled; }
    bool isMultipleTouchEnabled() const { return multipleTouchEnabled_; }
    void setMultipleTouchEnabled(bool enabled) { multipleTouchEnabled_ = enabled; }
    bool isExclusiveTouch() const { return exclusiveTouch_; }
    void setExclusiveTouch(bool exclusive) { exclusiveTouch_ = exclusive; }

    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }

    unsigned autoresizingMask() const { return autoresizingMask_; }
    void setAutoresizingMask(unsigned mask) { autoresizingMask_ = mask; }
    bool autoresizesSubviews() const { return autoresizesSubviews_; }
    void setAutoresizesSubviews(bool v) { autoresizesSubviews_ = v; }

    // The tree. Subviews are back to front.
    View* superview() const { return superview_; }
    const std::vector<std::shared_ptr<View>>& subviews() const { return subviews_; }
    // Adding a view that has a superview moves it.
    void addSubview(std::shared_ptr<View> view);
    void insertSubviewAtIndex(std::shared_ptr<View> view, std::size_t index);
    void insertSubviewAbove(std::shared_ptr<View> view, const View* sibling);
    void insertSubviewBelow(std::shared_ptr<View> view, const View* sibling);
    void bringSubviewToFront(const View* view);
    void sendSubviewToBack(const View* view);
    void exchangeSubviews(std::size_t index1, std::size_t index2);
    // The view stays alive while the caller holds a shared_ptr to it.
    void removeFromSuperview();
    bool isDescendantOfView(const View* view) const;
    // This view or the first descendant (depth first, back to front) with the tag.
    View* viewWithTag(int tag);
    // The window at the root of the tree, or null while not in one.
    Window* window() const;
    // The controller whose root view this is (set by ViewController).
    ViewController* viewController() const { return viewController_; }
    void setViewController(ViewController* controller) { viewController_ = controller; }

    // Called after the superview changes (also to null) / the window changes.
    virtual void didMoveToSuperview() {}
    virtual void didMoveToWindow() {}
    virtual void didAddSubview(View*) {}
    virtual void willRemoveSubview(View*) {}

    // Coordinates. A null view means the window (the root of this tree).
    Point convertPointToView(Point p, const View* view) const;
    Point convertPointFromView(Point p, const View* view) const;
    Rect convertRectToView(const Rect& r, const View* view) const;
    Rect convertRectFromView(const Rect& r, const View* view) const;
    // Bounds coordinates of this view to its superview's bounds coordinates.
    AffineTransform transformToSuperview() const;
    // Bounds coordinates to the root's bounds coordinates.
    AffineTransform transformToRoot() const;

    // Hit testing, in this view's bounds coordinates.
    virtual bool pointInside(Point p, const Event* event) const;
    // The frontmost descendant (or this view) that contains the point and can
    // take touches: hidden views, views with alpha below 0.01 and views without
    // user interaction are skipped together with their subviews.
    virtual View* hitTest(Point p, const Event* event);

    // Layout: layoutSubviews runs before the next draw after setNeedsLayout
    // (and after a size change). Autoresizing is applied before it.
    virtual void layoutSubviews() {}
    void setNeedsLayout();
    void layoutIfNeeded();
    virtual Size sizeThatFits(Size size) const;
    void sizeToFit();

    // Drawing.
    void setNeedsDisplay();
    void setNeedsDisplayInRect(const Rect& rect); // in bounds coordinates
    // The area marked since the last draw (bounds coordinates; null if none).
    Rect dirtyRect() const { return dirty_; }
    bool needsDisplay() const { return !dirty_.isNull(); }
    // Draws into `context`, a y-down context whose user space is the bounds,
    // clipped to `dirty`. The default draws nothing (the background is done)
    // and tells the view it needs no backing store of its own unless it has a
    // background colour: an override must not call it.
    virtual void drawRect(Context& context, const Rect& dirty);
    // False for a view with nothing of its own to draw (what it shows is in
    // its subviews and its background colour): it then gets no backing store,
    // not even the one a first drawRect would need to find that out.
    virtual bool drawsContent() const { return true; }
    // Brings the backing store up to date now (the window does this for every
    // visible view before composing).
    void displayIfNeeded();
    // Renders this view and its subviews, as shown, into `context` whose user
    // space is taken as this view's bounds coordinates: each view's drawing,
    // transforms, alphas, clipping and hidden flags. Views are drawn first if
    // they need it.
    void renderInContext(Context& context);

    // Touches (see Touch.h). The defaults do nothing; a view may hand a phase
    // on by calling another view's handler with the same arguments.
    virtual void touchesBegan(const TouchSet& touches, Event& event);
    virtual void touchesMoved(const TouchSet& touches, Event& event);
    virtual void touchesEnded(const TouchSet& touches, Event& event);
    virtual void touchesCancelled(const TouchSet& touches, Event& event);
    // A mouse wheel turned over the view (`location` in its bounds; dy > 0
    // away from the person, in notches). Answer true when taken; the window
    // offers it to the superviews in turn until one does.
    virtual bool scrollWheel(Point /*location*/, float /*dx*/, float /*dy*/) { return false; }
    // The mouse pointer moved over the view with no button down (`location`
    // in its bounds). Answer true when taken; the window offers it to the
    // superviews in turn, and tells the last view that took it when the
    // pointer has left it (pointerLeft).
    virtual bool pointerHovered(Point /*location*/) { return false; }
    virtual void pointerLeft() {}

    // Keyboard focus (text fields). The window's text and key input goes to
    // its first responder.
    virtual bool canBecomeFirstResponder() const { return false; }
    bool becomeFirstResponder();
    bool resignFirstResponder();
    bool isFirstResponder() const;
    // Asked before focus leaves; false keeps it.
    virtual bool canResignFirstResponder() const { return true; }
    virtual void didBecomeFirstResponder() {}
    virtual void didResignFirstResponder() {}
    // Input for the first responder. Return and Escape that a view does not
    // take go on up: to its controller when it is a controller's view, else
    // to its superview.
    virtual void insertText(const std::string& /*utf8*/) {}
    virtual void deleteBackward() {}
    virtual void keyReturn();
    virtual void keyEscape();
    // An arrow key: -1 for left or down, +1 for right or up.
    virtual void keyArrow(int /*direction*/) {}

    // Animation blocks (see Animation.h for the engine). Property changes
    // between begin and commit animate from what is shown to the new value
    // over the duration, after the delay, on the run loop's clock.
    static void beginAnimations(const std::string& name = {}, void* context = nullptr);
    static void setAnimationDuration(double seconds);
    static void setAnimationDelay(double seconds);
    static void setAnimationCurve(AnimationCurve curve);
    // Called once when the block's animations end (finished false when cut
    // short by a new value set without animation).
    static void setAnimationDidStop(
        std::function<void(const std::string& name, bool finished, void* context)> callback);
    static void commitAnimations();
    // The same as a block around `changes`.
    static void animate(double duration, const std::function<void()>& changes,
                        std::function<void(bool finished)> completion = {}, double delay = 0,
                        AnimationCurve curve = AnimationCurve::EaseInOut);
    static void setAnimationsEnabled(bool enabled);
    static bool areAnimationsEnabled();

    // Whether the headless driver's `press NAME` means this view. Controls
    // answer to their title, accessibility label and action names (with or
    // without the colon); other views that stand for a button may override.
    virtual bool answersToPressName(std::string_view /*name*/) const { return false; }

    // A short name for logs and test failures ("View", "Button", ...).
    virtual std::string className() const { return "View"; }

    // --- Shown values, used by the window and the animation engine. ---
    // During an animation these differ from the model values above.
    struct Presentation {
        Point center;
        Rect bounds;
        AffineTransform transform;
        float alpha = 1;
    };
    Presentation presentation() const;
    void setPresentation(const Presentation& p);
    void clearPresentation(); // shows the model values again
    // Tells the window that what is shown of this view changed (not its drawing).
    void setNeedsComposite();
    // The backing store, or null before the first draw.
    Context* backingStore() const { return backing_.context(); }
    // Draws the stored drawing (not the subviews) into `context` whose user
    // space is the view's shown bounds coordinates.
    void drawBackingStore(Context& context);

private:
    friend class Window;
    void setSuperview(View* superview);
    void notifyWindowChanged();
    void resizeSubviews(Size oldSize);
    void applyAutoresizing(Size oldSuperSize, Size newSuperSize);
    void boundsSizeChanged(Size oldSize);
    std::size_t indexOf(const View* view) const;
    void renderTree(Context& context, float inheritedAlpha, bool isRoot);
    void shownDidChange(const Presentation& before);
    // Clears `area` of the backing store and draws the background and drawRect there.
    void drawIntoBackingStore(const Rect& area, float scale);
    bool hasBackground() const;
    bool keepsNoBackingStore() const; // draws nothing but an opaque colour, if any

    Point center_{};
    Rect bounds_{};
    AffineTransform transform_{};
    float alpha_ = 1;
    std::optional<Presentation> presentation_;
    bool hidden_ = false;
    std::optional<Color> backgroundColor_;
    bool opaque_ = false;
    bool clipsToBounds_ = false;
    ContentMode contentMode_ = ContentMode::ScaleToFill;
    bool userInteractionEnabled_ = true;
    bool multipleTouchEnabled_ = false;
    bool exclusiveTouch_ = false;
    int tag_ = 0;
    unsigned autoresizingMask_ = AutoresizingNone;
    bool autoresizesSubviews_ = true;
    bool needsLayout_ = false;

    View* superview_ = nullptr;
    Window* hostWindow_ = nullptr; // for a root drawn by a window outside its tree
    std::vector<std::shared_ptr<View>> subviews_;
    ViewController* viewController_ = nullptr;

    Rect dirty_ = Rect::null();
    BackingStore backing_;
    bool compositeDirty_ = true;
    bool drewNothing_ = false;          // the last draw was View::drawRect itself
    Rect lastShownRect_ = Rect::null(); // in window points, at the last composite
};

} // namespace platform
