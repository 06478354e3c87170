#pragma once

namespace zorbel {

// How the document lies on the portrait canvas, by the numbers that are
// stored ("DocumentOrientation"): upright, or a landscape picture turned a
// quarter turn clockwise. A stored number may be neither; what depends on the
// orientation then does nothing.
enum class DocumentOrientation : int {
    Upright = 1,
    Turned = 3,
};

// How the device holds the interface, by the platform's numbers.
enum class InterfaceOrientation : int {
    Portrait = 1,
    PortraitUpsideDown = 2,
    LandscapeRight = 3,
    LandscapeLeft = 4,
};

constexpr bool isLandscape(InterfaceOrientation orientation) {
    return orientation == InterfaceOrientation::LandscapeRight ||
           orientation == InterfaceOrientation::LandscapeLeft;
}

} // namespace zorbel
