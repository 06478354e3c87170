#pragma once

#include <cstddef>
#include <optional>
#include <unordered_map>
#include <vector>

#include "platform/graphics/AffineTransform.h"
#include "platform/graphics/Point.h"
#include "platform/ui/Event.h"
#include "platform/ui/Touch.h"

namespace platform {
class View;
}

namespace zorbel {

class LayerGestureHost;
class LayersDelegate;

// The one- and two-finger gesture of a movable layer, shared by TouchView and
// TouchImageView: routing of each touch phase, the committed transform, the
// begin point of every finger on the layer, and the incremental transform
// that carries those begin points onto where the fingers are now.
//
// While a gesture runs the layer shows originalTransform followed by the
// incremental transform; between gestures it shows originalTransform. Begin
// points are in the coordinates of the layer's superview (the window's when
// it has none). A finger on the layer whose touch-down went elsewhere (it
// came down in the corner zone) gets its begin point where it is first seen,
// so it never makes the layer jump.
class LayerGesture {
public:
    // The top-left window corner whose touches always go to the canvas's
    // touch-down (it shows the toolbars).
    static constexpr float kCornerZone = 60;
    // A quarter turn as the platform's single-precision rotation takes it.
    static constexpr float kQuarterTurn = 1.5707964f;
    // Two begin points closer than this (squared distance) act as one finger.
    static constexpr double kCoincidentDistanceSquared = 0.1;
    // One wheel notch scales a layer by this much, or with Shift (sideways)
    // turns it by this angle (radians, a twelfth of a half turn).
    static constexpr float kWheelScaleStep = 1.1f;
    static constexpr float kWheelTurnStep = 0.2617994f;
    // The wheel scales a layer no further than these overall scales.
    static constexpr float kWheelMinScale = 1.0f / 16;
    static constexpr float kWheelMaxScale = 16;

    LayerGesture(platform::View& layer, LayerGestureHost& host);
    LayerGesture(const LayerGesture&) = delete;
    LayerGesture& operator=(const LayerGesture&) = delete;

    const platform::AffineTransform& originalTransform() const { return originalTransform_; }
    void setOriginalTransform(const platform::AffineTransform& t) { originalTransform_ = t; }

    // The similarity transform (about the layer's centre) that carries the
    // begin points of the first two touches in address order onto their
    // current points; a translation for one touch or for coincident begin
    // points; the identity for none.
    platform::AffineTransform incrementalTransformWithTouches(const platform::TouchSet& touches);
    // Folds the incremental transform of `touches` into originalTransform and
    // shows the result. Nothing for an empty set.
    void updateOriginalTransformForTouches(const platform::TouchSet& touches);
    // Each touch's begin point becomes where it is now.
    void cacheBeginPointForTouches(const platform::TouchSet& touches);
    void removeTouchesFromCache(const platform::TouchSet& touches);
    std::optional<platform::Point> beginPointForTouch(const platform::Touch* touch) const;
    std::size_t cachedTouchCount() const { return touchBeginPoints_.size(); }

    // A quarter turn becomes the committed and shown transform (landscape
    // documents).
    void setLandscapeRotation();

    // The layer's touch handlers. Under a tool other than the host's, every
    // phase goes to the canvas as the same phase; a touch in the corner zone
    // goes to the canvas's touch-down whatever its phase; otherwise the layer
    // moves. Cancelled is handled as ended.
    void touchesBegan(const platform::TouchSet& touches, platform::Event& event);
    void touchesMoved(const platform::TouchSet& touches, platform::Event& event);
    void touchesEnded(const platform::TouchSet& touches, platform::Event& event);

    // The mouse wheel over the layer at `pointer` (in its bounds): dy notches
    // scale it, dx notches (Shift) turn it, as two fingers about the pointer
    // that spread or turn by as much, committed at once like a lifted pinch.
    // Not taken (false) under a tool other than the host's; taken and left
    // alone while fingers are on the layer.
    bool scrollWheel(platform::Point pointer, float dx, float dy);

    // The similarity transform, about `center`, that carries b1 onto c1 and
    // b2 onto c2: a translation of the first when b1 and b2 coincide.
    static platform::AffineTransform similarityCarrying(platform::Point b1, platform::Point b2,
                                                        platform::Point c1, platform::Point c2,
                                                        platform::Point center);

    // -1 when a lies at a lower address than b, 0 for the same touch, +1
    // otherwise: a stable order of the fingers for the life of the touches.
    static int compareAddress(const platform::Touch* a, const platform::Touch* b);
    static std::vector<const platform::Touch*> sortedByAddress(const platform::TouchSet& touches);

private:
    enum class Phase { Began, Moved, Ended };
    // True when the phase went to the canvas (or nowhere) instead.
    bool passedOn(Phase phase, const platform::TouchSet& touches, platform::Event& event);
    // Every finger on the layer: the event's touches for it and `touches`.
    platform::TouchSet layerTouches(const platform::TouchSet& touches,
                                    const platform::Event& event) const;
    platform::Point locationInSuperview(const platform::Touch* touch) const;
    platform::Point beginPointCachingIfMissing(const platform::Touch* touch);
    void forgetTouchesNotIn(const platform::TouchSet& live);
    void handleTaps(const platform::TouchSet& ended, LayersDelegate* delegate);

    platform::View& layer_;
    LayerGestureHost& host_;
    platform::AffineTransform originalTransform_ = platform::AffineTransform::identity();
    // Keyed by identity; the touches are not kept alive by it.
    std::unordered_map<const platform::Touch*, platform::Point> touchBeginPoints_;
};

} // namespace zorbel
