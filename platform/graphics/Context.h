#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "platform/graphics/AffineTransform.h"
#include "platform/graphics/BlendMode.h"
#include "platform/graphics/Color.h"
#include "platform/graphics/Image.h"
#include "platform/graphics/Path.h"
#include "platform/graphics/Rect.h"

namespace platform {

class Layer;
namespace detail {
struct CoverageMask;
}

// Which way user space y runs in a fresh context.
enum class YAxis {
    Up,   // bitmap contexts: y = 0 at the last memory row
    Down, // a view's or an image surface's drawing: y = 0 at the top row
};

// A drawing context over a bitmap in the canvas pixel format (A, R, G, B bytes,
// premultiplied, rows of width * 4 bytes). Keeps a save/restore stack of
// transform, clip, alpha, blend mode, fill and stroke colours and line width.
class Context {
public:
    // Over memory the caller owns (must outlive the context; 4-byte aligned, as
    // malloc gives it) or, with data == nullptr, over zero-filled memory the
    // context owns. Null on a bad size (sides 1 to 16384) or a failed allocation.
    static std::unique_ptr<Context> createBitmap(int width, int height, std::uint8_t* data,
                                                 YAxis axis = YAxis::Up);
    ~Context();
    Context(const Context&) = delete;
    Context& operator=(const Context&) = delete;

    int width() const { return width_; }
    int height() const { return height_; }
    std::size_t bytesPerRow() const { return std::size_t(width_) * 4; }
    // Asking for the writable pixels counts as changing them (see pixelsVersion).
    std::uint8_t* data() {
        ++version_;
        knownClear_ = false;
        return data_;
    }
    const std::uint8_t* data() const { return data_; }
    // Goes up with every drawing into the context and every data() call on a
    // non-const one. A context that owns its memory and is drawn turned or much
    // reduced keeps what it left at its last placement until this changes (a
    // pointer from an earlier data() call must not be written through later).
    std::uint64_t pixelsVersion() const { return version_; }
    // Nothing has been written since the context made its own zeroed memory.
    bool isKnownClear() const { return knownClear_; }
    YAxis yAxis() const { return axis_; }

    // State.
    void saveGState();
    void restoreGState();
    void concatCTM(const AffineTransform& t);
    void translateCTM(float dx, float dy);
    void scaleCTM(float sx, float sy);
    void rotateCTM(float radians);
    AffineTransform ctm() const; // user space to this context's base space
    void setCTM(const AffineTransform& t);
    // The base space to pixels: y-up contexts flip (y -> height - y); y-down
    // ones are the identity. userToDevice() = ctm() followed by it.
    AffineTransform baseTransform() const;
    AffineTransform userToDevice() const;
    // Intersects the clip with r (in user space). Under an axis-aligned
    // transform every pixel r touches is inside (a redisplay clipped to a dirty
    // rectangle repaints its edge pixels whole); under a free rotation the
    // clip is an antialiased mask.
    void clipToRect(const Rect& r);
    Rect clipBoundingBox() const; // in user space
    void setAlpha(float alpha);
    float alpha() const;
    void setBlendMode(BlendMode mode);
    BlendMode blendMode() const;
    void setFillColor(const Color& c);
    void setStrokeColor(const Color& c);
    void setLineWidth(float width);
    Color fillColor() const;
    Color strokeColor() const;
    float lineWidth() const;

    // Drawing; all in user space, under the transform, clip, alpha and blend mode.
    // Edges that cut pixels cover them by area (antialiased).
    void clearRect(const Rect& r); // to transparent, ignoring alpha and blend mode
    void fillRect(const Rect& r);
    void fillPath(const Path& p);                          // nonzero winding, antialiased
    void strokePath(const Path& p);                        // antialiased, butt caps, miter joins
    void strokeLineSegments(std::span<const Point> pairs); // each pair one segment
    void strokeRect(const Rect& r);
    // The image's top row goes to the rectangle's high-y edge (so an identity
    // draw into a same-size y-up bitmap copies rows in order). Sampling:
    //  - at its own size (any translation, quarter turns, flips): whole-pixel
    //    placements copy exactly; fractional ones are resampled bilinearly,
    //    the edge pixels partly covered (as pixman's bilinear filter does);
    //  - stretched along the axes: bilinear, filling the rectangle rounded to
    //    whole pixels with the edge colours repeated to the edge (no soft rim);
    //    a reduction to half or less averages the covered pixels;
    //  - turned freely: bilinear with soft edges.
    // The orientation is ignored (see drawImageUpright).
    void drawImage(const Rect& r, const Image& image);
    // The image as it is seen (its orientation applied), top row at the
    // rectangle's top on screen whatever the context's y direction.
    void drawImageUpright(const Rect& r, const Image& image);
    // An alpha mask (one byte a pixel) filled with the fill colour, its first
    // row at the top of `r` on screen (text glyphs).
    void fillMask(const Rect& r, const std::uint8_t* mask, int width, int height, int stride);
    // A layer is drawn like a picture of its pixels: at its own size, with its
    // user space landing on this one's (a stamp drawn at a fractional point is
    // resampled bilinearly, as every unit-scale placement is).
    void drawLayerAtPoint(Point p, const Layer& layer);
    void drawLayerInRect(const Rect& r, const Layer& layer);
    // Another context's pixels, without the copy a snapshot makes, its user
    // space landing on this one's: for a y-up source (the canvas buffers, a
    // layer) exactly what drawImage(r, *source.makeImage()) draws; a y-down
    // source (a view's backing) has its first row at r's low-y edge. The
    // canvas display and the window's composition use it.
    void drawContext(const Rect& r, const Context& source);

    // A copy of the pixels as a picture.
    ImageRef makeImage() const;

    struct State;

private:
    friend std::unique_ptr<Context> CreateARGBBitmapContext(const Image& image);
    Context(int width, int height, std::uint8_t* data, bool owned, YAxis axis);
    void drawBitmap(const Rect& r, const std::uint8_t* pixels, int width, int height,
                    bool topAtHighY, PictureOrientation orientation,
                    const Context* source = nullptr);
    void fillCoverage(detail::CoverageMask& coverage, const Color& color);
    std::uint8_t* pixelsToWrite() {
        ++version_;
        knownClear_ = false;
        return data_;
    }
    struct Impl;
    int width_;
    int height_;
    std::uint8_t* data_;
    // Owned memory not written since it was handed out zeroed: clearing it
    // again would only touch pages the kernel has not yet had to provide.
    bool knownClear_ = false;
    bool owned_;
    YAxis axis_;
    std::uint64_t version_ = 0;
    std::unique_ptr<Impl> impl_;
};

// Restores the context's state when it goes out of scope.
class GStateGuard {
public:
    explicit GStateGuard(Context& c) : c_(c) { c_.saveGState(); }
    ~GStateGuard() { c_.restoreGState(); }
    GStateGuard(const GStateGuard&) = delete;
    GStateGuard& operator=(const GStateGuard&) = delete;

private:
    Context& c_;
};

// A zero-filled scratch bitmap of the picture's pixel size in the canvas pixel
// format (the context owns its memory). Failures go to standard error.
std::unique_ptr<Context> CreateARGBBitmapContext(const Image& image);

} // namespace platform
