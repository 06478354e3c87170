#pragma once

#include <memory>
#include <vector>

#include "canvas/Orientation.h"
#include "canvas/PaintPoint.h"
#include "platform/graphics/Point.h"

namespace zorbel {

// The finger the canvas follows, from touch-down to touch-up, and the cursor
// that shows where painting lands when the finger offset is large.
struct TouchState {
    platform::Point fingerOffset;         // added to the finger's position
    platform::Point location;             // the painting position
    platform::Point previousLocation;     // the finger's previous one, offset
    platform::Point lastPaintedLocation;  // where a segment was last rendered
    platform::Point startOfPaintingPoint; // the finger at touch-down, no offset
    bool firstTouch = false;              // the touch-down's stamp is still due
    bool waitingForEndTouch = false;      // a stroke is open
    bool ignoreMoveEndPhases = false;     // this touch is not a stroke
    bool showCursor = false;              // this stroke only moves the cursor
    bool lastTimeCursorUsed = false;      // the last stamp request was a cursor's
    bool cursorWasPainted = false;        // the last display drew a cursor
    platform::Point cursorPosition;
    // The painting positions of the current (or last) stroke, touch-down
    // first: what shape recognition and smoothing read at touch-up.
    std::vector<std::shared_ptr<PaintPoint>> points;

    // Where a finger at `finger` paints: + fingerOffset in portrait,
    // + (-fingerOffset.y, fingerOffset.x) in landscape.
    platform::Point withFingerOffset(platform::Point finger, InterfaceOrientation shown) const {
        if (isLandscape(shown))
            return {finger.x - fingerOffset.y, finger.y + fingerOffset.x};
        return {finger.x + fingerOffset.x, finger.y + fingerOffset.y};
    }

    // An offset whose coordinates both truncate into -10..10 paints under the
    // finger and needs no cursor; a larger one shows where the paint lands.
    // Compared as floats so that no value can overflow a conversion to an
    // integer (NaN counts as small).
    static constexpr float kCursorOffsetThreshold = 10;
    bool offsetIsLarge() const {
        const auto beyond = [](float v) {
            return v >= kCursorOffsetThreshold + 1 || v <= -(kCursorOffsetThreshold + 1);
        };
        return beyond(fingerOffset.x) || beyond(fingerOffset.y);
    }
};

} // namespace zorbel
