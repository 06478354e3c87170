#include "platform/graphics/PictureOrientation.h"

#include <iterator>

namespace platform {

namespace {

// Each orientation once: its EXIF value and the map from stored to seen
// coordinates, X = a x + c y + tx and Y = b x + d y + ty, where the offsets
// are whole multiples of the stored width w and height h.
struct Row {
    PictureOrientation orientation;
    int exif;
    int a, b, c, d;
    int txW, txH; // tx = txW * w + txH * h
    int tyW, tyH; // ty = tyW * w + tyH * h
};

// clang-format off
constexpr Row kRows[] = {
    //  orientation                        exif   a   b   c   d   tx: w  h   ty: w  h
    {PictureOrientation::Up,            1,   1,  0,  0,  1,     0, 0,     0, 0},
    {PictureOrientation::Down,          3,  -1,  0,  0, -1,     1, 0,     0, 1},
    {PictureOrientation::Left,          8,   0, -1,  1,  0,     0, 0,     1, 0},
    {PictureOrientation::Right,         6,   0,  1, -1,  0,     0, 1,     0, 0},
    {PictureOrientation::UpMirrored,    2,  -1,  0,  0,  1,     1, 0,     0, 0},
    {PictureOrientation::DownMirrored,  4,   1,  0,  0, -1,     0, 0,     0, 1},
    {PictureOrientation::LeftMirrored,  5,   0,  1,  1,  0,     0, 0,     0, 0},
    {PictureOrientation::RightMirrored, 7,   0, -1, -1,  0,     0, 1,     1, 0},
};
// clang-format on

const Row& rowOf(PictureOrientation orientation) {
    for (const Row& r : kRows)
        if (r.orientation == orientation)
            return r;
    return kRows[0];
}

} // namespace

std::optional<PictureOrientation> pictureOrientationFromNumber(int number) {
    for (const Row& r : kRows)
        if (int(r.orientation) == number)
            return r.orientation;
    return std::nullopt;
}

PictureOrientation pictureOrientationFromExif(int value) {
    for (const Row& r : kRows)
        if (r.exif == value)
            return r.orientation;
    return PictureOrientation::Up;
}

int exifValue(PictureOrientation orientation) {
    return rowOf(orientation).exif;
}

bool turnsAQuarter(PictureOrientation orientation) {
    return rowOf(orientation).a == 0;
}

Size seenSize(PictureOrientation orientation, Size stored) {
    return turnsAQuarter(orientation) ? Size{stored.height, stored.width} : stored;
}

AffineTransform storedToSeen(PictureOrientation orientation, float width, float height) {
    const Row& r = rowOf(orientation);
    return {float(r.a),
            float(r.b),
            float(r.c),
            float(r.d),
            float(r.txW) * width + float(r.txH) * height,
            float(r.tyW) * width + float(r.tyH) * height};
}

PixelPosition storedPixelForSeen(PictureOrientation orientation, int width, int height, int seenX,
                                 int seenY) {
    const Row& r = rowOf(orientation);
    // The centres, doubled to stay whole: the map is a turn or a mirror, so
    // its inverse is its transpose.
    const long X = 2L * seenX + 1 - 2L * (long(r.txW) * width + long(r.txH) * height);
    const long Y = 2L * seenY + 1 - 2L * (long(r.tyW) * width + long(r.tyH) * height);
    const long x2 = r.a * X + r.b * Y;
    const long y2 = r.c * X + r.d * Y;
    return {int((x2 - 1) / 2), int((y2 - 1) / 2)};
}

} // namespace platform
