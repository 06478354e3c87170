#pragma once

#include <optional>

#include "platform/graphics/AffineTransform.h"
#include "platform/graphics/Size.h"

namespace platform {

// How a picture's stored pixels are turned to be seen upright, numbered as
// pictures store it (Image::orientation()). "Left" means the picture was
// taken turned a quarter to the left and is shown turned back.
enum class PictureOrientation : int {
    Up = 0,
    Down = 1,          // half a turn
    Left = 2,          // a quarter turn counter-clockwise
    Right = 3,         // a quarter turn clockwise
    UpMirrored = 4,    // mirrored left to right
    DownMirrored = 5,  // mirrored top to bottom
    LeftMirrored = 6,  // the stored rows become the seen columns
    RightMirrored = 7, // the same, from the far corner
};

// The orientation stored as `number`, if it is one.
std::optional<PictureOrientation> pictureOrientationFromNumber(int number);
// The orientation an EXIF Orientation tag (1 to 8) names; Up for any other value.
PictureOrientation pictureOrientationFromExif(int exifValue);
int exifValue(PictureOrientation orientation);

// True for the four that exchange width and height.
bool turnsAQuarter(PictureOrientation orientation);
// The size as seen, for pixels stored `stored` wide and high.
Size seenSize(PictureOrientation orientation, Size stored);

// Stored picture coordinates (a picture `width` x `height` as stored, y down)
// to the coordinates of the picture as seen.
AffineTransform storedToSeen(PictureOrientation orientation, float width, float height);

// The stored pixel that shows at column `seenX`, row `seenY` of the picture
// as seen (rows top first), for pixels stored `width` x `height`.
struct PixelPosition {
    int x = 0;
    int y = 0;
    friend bool operator==(const PixelPosition&, const PixelPosition&) = default;
};
PixelPosition storedPixelForSeen(PictureOrientation orientation, int width, int height, int seenX,
                                 int seenY);

} // namespace platform
