#pragma once

#include "platform/graphics/Point.h"

namespace zorbel {

// The clone tool's two set-up taps and what they fixed. Positions are stamp
// corners in buffer coordinates (x as on screen, y up from the canvas bottom).
struct CloneSetUp {
    bool needsOffset = false;       // the next clone tap marks the source
    bool secondPointSet = false;    // the destination has been marked
    platform::Point offsetPosition; // the source
    platform::Point relativeOffset; // destination - source
    platform::Point cursorPoint;    // the current source's centre on screen
};

} // namespace zorbel
