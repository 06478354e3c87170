#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "canvas/Orientation.h"
#include "canvas/PaintPoint.h"
#include "canvas/PaintingViewDefaults.h"
#include "canvas/Tool.h"
#include "effects/GGVecLib.h"
#include "platform/graphics/BlendMode.h"
#include "platform/graphics/Color.h"
#include "platform/graphics/Context.h"
#include "platform/graphics/Image.h"
#include "platform/graphics/Layer.h"
#include "platform/graphics/Point.h"
#include "platform/graphics/Rect.h"
#include "platform/ui/Event.h"
#include "platform/ui/View.h"

namespace platform {
class Timer;
}

namespace zorbel {

// One pixel as it lies in a canvas buffer: alpha, red, green, blue.
struct ARGBColorBytes {
    std::uint8_t alpha = 0;
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    friend bool operator==(const ARGBColorBytes&, const ARGBColorBytes&) = default;
};

// Recolours every non-transparent pixel of `bitmap` to the colour packed in
// `packedColor` (red in bits 8-15, green 16-23, blue 24-31), keeping its alpha:
// each colour byte becomes (alpha * colour + 127) / 255. A null bitmap is left alone.
void setBitmapColorPreMult(platform::Context* bitmap, std::uint32_t packedColor);

// Packs three colour bytes the way setBitmapColorPreMult reads them.
constexpr std::uint32_t packTintColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return (std::uint32_t(red) << 8) | (std::uint32_t(green) << 16) | (std::uint32_t(blue) << 24);
}

// Copies a width x height block from `source` at (sourceX, sourceY) onto
// `destination` at (destinationX, destinationY), each pixel weighted by the
// alpha of `brush` at (brushX, brushY) onwards: per colour byte
// dst = (E * src + (255 - E) * dst) / 255, alpha kept. Positions are memory
// columns and rows, truncated; a block reaching outside a bitmap copies nothing.
void copyCloneDirect(const platform::Context* source, const platform::Context* brush,
                     platform::Context* destination, float sourceX, float sourceY,
                     float destinationX, float destinationY, float brushX, float brushY,
                     float width, float height);

// The canvas: a 320 x 480 painting with its undo copy, the original picture it
// can be erased back to, the stroke in progress and the active brush stamp.
//
// Coordinates are screen points, y down. The buffers keep their rows bottom-up
// (memory row r holds screen row 479 - r) and are drawn into through y-up
// contexts, so screen coordinates can be used as they are; pictures go in and
// out with a vertical flip, so files hold them upright.
//
// Every buffer is either resident (context and memory set) or flushed (both
// null). Whatever needs a buffer calls the matching reload...IfNecessary
// first: a flushed buffer comes back from its file in the Documents folder (or,
// for the original, from orgUIImage). Failures never throw: they write one line
// to the system log and leave the state as it was.
//
// Build it with create() (or construct it and call awakeFromNib()).
class PaintingView : public platform::View {
public:
    // The canvas size in points and pixels.
    static constexpr int kCanvasWidth = 320;
    static constexpr int kCanvasHeight = 480;
    // The Documents files of the buffers.
    static constexpr std::string_view kTempImageFile = "tempimage.png";
    static constexpr std::string_view kUndoFile = "tempundo.png";
    static constexpr std::string_view kOrgImageFile = "zorbelorgimage.png";
    static constexpr std::string_view kDocumentFile = "zorbel.png";
    // Compression of the PNGs written when buffers are flushed or the app
    // ends: zlib level 1 with the "up" row filter, several times faster than
    // the default for a few per cent more bytes.
    static constexpr int kFlushPngCompressionLevel = platform::Image::kFastPngCompression;

    // A canvas with its frame at bufferRect, started up (awakeFromNib) with
    // `delegate` as its host (none: the canvas alone, PaintingViewDefaults).
    static std::shared_ptr<PaintingView> create(PaintingViewDelegate* delegate = nullptr);

    PaintingView();
    ~PaintingView() override;

    // Allocates the buffers and restores the painting, the original picture
    // and the undo picture from the Documents folder; builds the start brush.
    void awakeFromNib();

    // --- Buffers: creation and release -------------------------------------
    // Each re-created buffer starts cleared to transparent.
    void recreateOffscreenBuffer();
    void recreateUndoBuffer();
    void recreateOrgImageBuffer();
    void recreatePaintLayer();

    // A buffer whose file cannot be written stays resident (nothing is lost).
    void flushOffscreenBuffer();
    void flushUndoBuffer();
    void flushUndoBufferNoSave();
    void flushOrgImageBuffer();
    void flushPaintLayer();

    void reloadOffscreenBufferIfNecessary();
    void reloadUndoBufferIfNecessary();
    void reloadOrgImageBufferIfNecessary();
    void reloadPaintLayerIfNecessary();
    void reloadPaintOffscreensIfNecessary();  // offscreen, undo, stroke layer
    void reloadOffscreenAndUndoIfNecessary(); // offscreen, undo

    void lowMemoryWarning();
    void flushAllBuffers();
    void flushAuxillaryBuffers(); // all but the painting itself

    // --- Copies between buffers (the raw ones request no redisplay) ---------
    void copyToUndoBuffer();
    void rawcopyToUndoBuffer();
    void copyFromUndoBuffer();
    void copyToOrgImageBuffer();
    void rawcopyToOrgImageBuffer();
    void copyFromOrgImageBuffer();
    void rawcopFromOrgImageBuffer();
    // Undo and redo: the painting and its undo copy change places.
    void switchUndoBuffer();
    // Back to the original picture; undo brings the painting back.
    void eraseImageToOriginal();

    // --- Files --------------------------------------------------------------
    // Writes Documents/fileName atomically.
    bool writeApplicationData(std::span<const std::uint8_t> data, std::string_view fileName);
    // The buffer's picture upright (as on screen), or null.
    platform::ImageRef getRawImageToSaveFromBuffer(const platform::Context* context);
    platform::ImageRef getRawImageToSave();
    bool writeOnlyRawImageNamed(std::string_view fileName, const platform::Context* context);
    bool writeOnlyRawImageOut(std::string_view fileName);
    bool writeOrgImageOut(std::string_view fileName);
    bool writeUndoImageOut(std::string_view fileName);
    // Draws Documents/fileName upright into the buffer (over what is there).
    // A missing or damaged file leaves the buffer as it was.
    void readRawImageNamed(std::string_view fileName, platform::Context* context);
    void readRawImageOffscreen(std::string_view fileName);

    // --- Pictures -----------------------------------------------------------
    void setOrgImage(platform::ImageRef image);
    // Redraws `context` from orgUIImage by the fit rule.
    void reloadOrgImageInfoBuffer(platform::Context* context);
    void setBGImage(platform::ImageRef image);
    // Redraws the painting from bgUIImage by the fit rule; sets the document
    // orientation (3 when the picture is turned, else 1).
    void refreshDrawing();
    // Upright copy with the stored orientation applied, the long side at most
    // 480 pixels. Null for a null picture or an unknown orientation.
    static platform::ImageRef scaleAndRotateImage(const platform::ImageRef& image);
    // The painting alone, upright for orientation 1, turned back to landscape
    // for 3; null otherwise.
    platform::ImageRef getImageToSave(DocumentOrientation documentOrientation);
    // The view as shown, every layer on it drawn in, as a picture of its
    // bounds' size.
    platform::ImageRef viewToImage();
    // The flattened picture: viewToImage for orientation 1, turned back to the
    // 480 x 320 landscape picture for 3; null (and logged) for any other.
    platform::ImageRef getFlattenedImageToSave(DocumentOrientation documentOrientation);
    bool writeImageOut(std::string_view fileName);
    bool writeOnlyImageOut(std::string_view fileName);
    static void printOrientation(int orientation);

    // Where the fit rule puts a W x H picture, in screen points (top-left
    // corner and size; the size is across x then down y as on screen).
    enum class FitTarget { OriginalBuffer, OffscreenBuffer };
    struct Fit {
        bool turned = false;
        platform::Rect screenRect;
    };
    static Fit fitRule(platform::Size pictureSize, bool wasCropped, FitTarget target);
    // Draws `picture` into a canvas buffer context by the fit rule.
    static Fit drawPictureByFitRule(platform::Context& context, const platform::Image& picture,
                                    bool wasCropped, FitTarget target);

    // --- Brushes ------------------------------------------------------------
    void createBrushLayer();
    void createBrushLayerFromImage(platform::ImageRef image);
    void reloadBrushLayer();
    void createColorBrushLayerFromImage(platform::ImageRef image);
    void reloadColorBrush();
    void setBrushToCurrentColor();
    // Components 0..1; only tints while the paint brush is the current tool.
    void setBrushColorRed(float red, float green, float blue);
    void setColor(const platform::Color& color);
    void setBrushSize(int size);

    // --- Strokes and display ------------------------------------------------
    // Stamps the segment (the from point, not the to point) and redisplays
    // the area it touched.
    void renderLineFromPoint(platform::Point from, platform::Point to);
    // One stamp centred at (x, y) into the stroke target.
    void drawBrushAt(float x, float y);
    // True when stamps go into the stroke layer (opacity below 1 or a blend mode).
    bool strokeGoesToPaintLayer() const;
    void drawRect(platform::Context& context, const platform::Rect& dirty) override;
    void drawCursor(platform::Context& context, platform::Point point);
    void drawBrushCursor(platform::Context& context, platform::Point point);
    // Alpha 1, whole stroke layer transparent; nothing while it is flushed.
    void clearPaintLayer();
    // Ends a stroke: the stroke layer goes into the painting once, at the
    // stroke's opacity and blend mode (when it was used), and is cleared.
    void mergePaintLayer();
    // Eraser and clone tools: copies through the stamp's alpha at (x, y).
    void cloneStepAt(float x, float y);

    // --- Touches (PaintingView+Touches.cpp) ---------------------------------
    // One finger is followed. Touch-down: a corner tap (present mode, pickers)
    // or the start of a stroke (settings, undo copy, first stamp); a touch-down
    // while a stroke is open closes that stroke instead. Movement: the finger
    // offset is added, the point recorded and the segment rendered. Touch-up:
    // the clone set-up taps, or the merge, then smoothing or a recognised shape.
    // Everything is dropped while the delegate is too busy (an effect runs).
    void touchesBegan(const platform::TouchSet& touches, platform::Event& event) override;
    void touchesMoved(const platform::TouchSet& touches, platform::Event& event) override;
    void touchesEnded(const platform::TouchSet& touches, platform::Event& event) override;
    // Exactly as touchesEnded: a cancelled stroke is kept like a lifted one.
    void touchesCancelled(const platform::TouchSet& touches, platform::Event& event) override;
    // A finger position in the view as a painting position: + fingerOffset in
    // portrait, + (-fingerOffset.y, fingerOffset.x) in landscape (3 or 4).
    platform::Point applyFingerOffset(platform::Point fingerPosition) const;
    // The corners that answer a tap: 60 x 60 point squares of the canvas.
    static constexpr float kCornerZone = 60;
    // An offset whose coordinates both truncate into -10..10 shows no cursor.
    static constexpr float kCursorOffsetThreshold = 10;

    // --- Clone tool set-up (PaintingView+Clone.cpp) --------------------------
    // At touch-up with the clone tool: the first tap marks the source, the next
    // the destination (`paintingPosition` is the finger position with the
    // offset). True when this touch-up was one of these taps.
    bool handleCloneSetUpTap(platform::Point paintingPosition);

    // --- Shapes and smoothing (PaintingView+Shapes.cpp) ----------------------
    // Tests on the recorded point list of the last stroke.
    bool wasClosedObjectDrawn() const; // ends within 20 points of its start, per axis
    bool wasLineDrawn() const;
    bool wasRectDrawn() const; // three or four turns of 65 to 115 degrees
    bool wasCircleDrawn() const { return false; }
    // The box of the points after the first; null with fewer than 2 points.
    platform::Rect getEnclosingRect() const;
    // At touch-up with smart shapes on: a line becomes the segment from the
    // first to the last point, a closed stroke its box's outline (rectangle)
    // or the ellipse inscribed in it, drawn over the undo copy and merged.
    // False (nothing drawn) when the stroke is none of these.
    bool redrawRecognisedShape();
    // Replaces nothing itself: redraws the point list as fitted Bezier curves
    // (tolerance: the delegate's smoothPaintBrushAmount). Fewer than 3 points
    // draw nothing. Only the first kSmoothingMaxPoints points are fitted; the
    // rest of a longer stroke, and any part the fitter has no room for, is
    // drawn as recorded, so no part of the stroke is lost.
    void curveFit();
    static constexpr int kSmoothingMaxPoints = 1000;
    // Consecutive groups of four control points, each drawn as one curve; a
    // trailing group of fewer than four is ignored.
    void drawCurves(const Point2* points, int numPoints);
    void drawBezCurve(const Point2* fourPoints);
    // One cubic curve as bezierResolution straight segments (20 when the
    // resolution is not positive; at most 1000).
    void bez_draw(const std::array<platform::Point, 4>& curve);
    // The curve's point at t.
    static platform::Point bez_Position_StepBezier(const std::array<platform::Point, 4>& curve,
                                                   float t);
    // True when a and b are at most `tolerance` apart.
    static bool pnt_closePoint(platform::Point a, platform::Point b, float tolerance);

    // --- Pixels -------------------------------------------------------------
    // The painting's pixel at memory row y (screen row 479 - y); opaque black
    // when there is no buffer or (x, y) lies outside it.
    ARGBColorBytes getPixelValueAt(int x, int y) const;
    // Red, green, blue from bytes 1..3 of a pixel word (first byte lowest), alpha 1.
    static platform::Color ARGBtoUIColor(std::uint32_t argbBytes);

    // --- Effects (PaintingView+Effects.cpp): read the undo buffer, write the painting.
    void applyBulge();
    void applyDent();
    void applyFisheye();
    void applyLightTunnel();
    void applySqueeze2();
    void setUpTwirlAdjustment();
    void updateTwirl2Value(float amount);
    void updateTwirl2ValueInterp(float amount);
    void applyGrayScale();
    void applySepiaToColor();
    void applyHorzMirror(bool vertical);
    void setUpBrightnessAdjustment();
    void setUpContrastAdjustment();
    void updateBrightness(int amount);
    void updateContrast(int amount);

    // --- Accessors ----------------------------------------------------------
    platform::Context* offscreenPaintContext() const { return offscreenPaintContext_.get(); }
    platform::Context* undoLayerContext() const { return undoLayerContext_.get(); }
    platform::Context* orgImageOffscreenContext() const { return orgImageOffscreenContext_.get(); }
    platform::Context* brushContext() const { return brushContext_.get(); }
    platform::Layer* paintlayer() const { return paintlayer_.get(); }
    platform::Layer* brushLayer() const { return brushLayer_.get(); }
    std::uint8_t* offscreenBitmapData() const { return offscreenBitmapData_.get(); }
    std::uint8_t* undoBitmapData() const { return undoBitmapData_.get(); }
    std::uint8_t* orgImageBitmapData() const { return orgImageBitmapData_.get(); }
    std::uint8_t* bitmapBrushData() const { return bitmapBrushData_.get(); }
    std::int32_t bitmapByteCount() const { return bitmapByteCount_; }
    bool undoImageHasBeenSaved() const { return undoImageHasBeenSaved_; }

    platform::Rect bufferRect() const { return bufferRect_; }
    void setBufferRect(const platform::Rect& r) { bufferRect_ = r; }
    platform::ImageRef bgUIImage() const { return bgUIImage_; }
    void setBgUIImage(platform::ImageRef image) { bgUIImage_ = std::move(image); }
    platform::ImageRef orgUIImage() const { return orgUIImage_; }
    void setOrgUIImage(platform::ImageRef image) { orgUIImage_ = std::move(image); }
    platform::ImageRef brushImage() const { return brushImage_; }
    void setBrushImage(platform::ImageRef image) { brushImage_ = std::move(image); }
    platform::ImageRef colorBrushImage() const { return colorBrushImage_; }
    void setColorBrushImage(platform::ImageRef image) { colorBrushImage_ = std::move(image); }
    float brushAlpha() const { return brushAlpha_; }
    void setBrushAlpha(float alpha) { brushAlpha_ = alpha; }
    platform::BlendMode brushBlendMode() const { return brushBlendMode_; }
    void setBrushBlendMode(platform::BlendMode mode) { brushBlendMode_ = mode; }
    platform::Color currentColor() const { return currentColor_; }
    void setCurrentColor(const platform::Color& color) { currentColor_ = color; }
    long colorIndex() const { return colorIndex_; }
    void setColorIndex(long index) { colorIndex_ = index; }
    float brushSize() const { return brushSize_; }
    float brushPixelStep() const { return brushPixelStep_; }
    void setBrushPixelStep(float step) { brushPixelStep_ = step; }
    float colorBrushPixelStep() const { return colorBrushPixelStep_; }
    void setColorBrushPixelStep(float step) { colorBrushPixelStep_ = step; }

    bool showCursor() const { return showCursor_; }
    void setShowCursor(bool show) { showCursor_ = show; }
    bool lastTimeCursorUsed() const { return lastTimeCursorUsed_; }
    void setLastTimeCursorUsed(bool used) { lastTimeCursorUsed_ = used; }
    bool cursorWasPainted() const { return cursorWasPainted_; }
    void setCursorWasPainted(bool painted) { cursorWasPainted_ = painted; }
    platform::Point cursorPosition() const { return cursorPosition_; }
    void setCursorPosition(platform::Point p) { cursorPosition_ = p; }
    platform::Point cloneCursorPoint() const { return cloneCursorPoint_; }
    void setCloneCursorPoint(platform::Point p) { cloneCursorPoint_ = p; }

    platform::Point fingerOffset() const { return fingerOffset_; }
    void setFingerOffset(platform::Point p) { fingerOffset_ = p; }
    platform::Point location() const { return location_; }
    void setLocation(platform::Point p) { location_ = p; }
    platform::Point previousLocation() const { return previousLocation_; }
    void setPreviousLocation(platform::Point p) { previousLocation_ = p; }
    bool waitingForEndTouch() const { return waitingForEndTouch_; }
    void setWaitingForEndTouch(bool waiting) { waitingForEndTouch_ = waiting; }
    bool ignoreMoveEndPhases() const { return ignoreMoveEndPhases_; }
    void setIgnoreMoveEndPhases(bool ignore) { ignoreMoveEndPhases_ = ignore; }
    int orientation() const { return orientation_; }
    void setOrientation(int orientation) { orientation_ = orientation; }
    // The host the canvas asks and tells (not owned); null runs it alone.
    PaintingViewDelegate* delegate() const { return delegate_; }
    void setDelegate(PaintingViewDelegate* delegate) { delegate_ = delegate; }
    std::shared_ptr<PaintPoint> paintPoint() const { return paintPoint_; }
    void setPaintPoint(std::shared_ptr<PaintPoint> point) { paintPoint_ = std::move(point); }
    platform::Timer* testTimer() const { return testTimer_; }
    void setTestTimer(platform::Timer* timer) { testTimer_ = timer; }

    bool cloneNeedsOffset() const { return cloneNeedsOffset_; }
    void setCloneNeedsOffset(bool needs) { cloneNeedsOffset_ = needs; }
    bool clone2ndPointset() const { return clone2ndPointset_; }
    void setClone2ndPointset(bool set) { clone2ndPointset_ = set; }
    platform::Point cloneOffsetPosition() const { return cloneOffsetPosition_; }
    void setCloneOffsetPosition(platform::Point p) { cloneOffsetPosition_ = p; }
    platform::Point cloneRelativeOffset() const { return cloneRelativeOffset_; }
    void setCloneRelativeOffset(platform::Point p) { cloneRelativeOffset_ = p; }
    int cloneMode() const { return cloneMode_; }
    void setCloneMode(int mode) { cloneMode_ = mode; }
    platform::Point orgTwirlPoint() const { return orgTwirlPoint_; }
    void setOrgTwirlPoint(platform::Point p) { orgTwirlPoint_ = p; }

    // The painting positions of the current (or last) stroke, touch-down first.
    const std::vector<std::shared_ptr<PaintPoint>>& pointArray() const { return mPointArray_; }
    void setPointArray(std::vector<std::shared_ptr<PaintPoint>> points) {
        mPointArray_ = std::move(points);
    }
    platform::Point lastPaintedLocation() const { return lastPaintedLocation_; }
    platform::Point startOfPaintingPoint() const { return startOfPaintingPoint_; }
    bool firstTouch() const { return firstTouch_; }
    int startLineIndex() const { return startLineIndex_; }
    bool paintAtEnd() const { return paintAtEnd_; }
    bool useTimer() const { return useTimer_; }
    float bezierResolution() const { return bezierResolution_; }
    void setBezierResolution(float resolution) { bezierResolution_ = resolution; }

    std::string testString() const { return testString_; }
    void setTestString(std::string s) { testString_ = std::move(s); }
    platform::Point textPoint() const { return textPoint_; }
    void setTextPoint(platform::Point p) { textPoint_ = p; }
    std::string fontName() const { return fontName_; }
    void setFontName(std::string name) { fontName_ = std::move(name); }
    float fontSize() const { return fontSize_; }
    void setFontSize(float size) { fontSize_ = size; }
    platform::Color fontColor() const { return fontColor_; }
    void setFontColor(const platform::Color& color) { fontColor_ = color; }

    std::string className() const override { return "PaintingView"; }

protected:
    // Where the buffers' memory comes from; null when it can't be had. Tests
    // override it to see how the canvas copes without memory.
    virtual std::uint8_t* allocateBlock(std::size_t bytes);

    // The delegate, or the canvas's own defaults when it has none.
    PaintingViewDelegate& host() const;

    struct FreeBlock {
        void operator()(std::uint8_t* p) const { std::free(p); }
    };
    using ByteBlock = std::unique_ptr<std::uint8_t[], FreeBlock>;

    // A context over `block` of the canvas size; null on failure.
    std::unique_ptr<platform::Context> makeBufferContext(std::uint8_t* block);
    // Releases the pair and nulls both.
    static void releaseBuffer(std::unique_ptr<platform::Context>& context, ByteBlock& block);
    // Copies bitmapByteCount bytes between two buffers after reloading both.
    void copyBuffer(const ByteBlock& from, const ByteBlock& to);
    // Builds the brush bitmap and stamp from `image` (createBrushLayerFromImage
    // and reloadBrushLayer); `caller` names the operation in log lines.
    void buildBrushBitmap(const platform::Image& image, std::string_view caller);
    // The active stamp's size in points (zero without a stamp).
    platform::Size stampSize() const;
    // Makes the stamp layer from the brush bitmap's current picture.
    void rebuildStamp();
    // A cleared brush bitmap of the size; logs the line that fits a failure.
    bool allocateBrushBitmap(int width, int height, std::string_view noMemoryLine,
                             std::string_view noContextLine);
    // A picture from the application's resources, or null.
    static platform::ImageRef loadResourceImage(std::string_view name);
    // The picture in Documents/fileName, or null when there is none or it
    // can't be decoded (then *whyUnusable says why).
    static platform::ImageRef loadDocumentImage(std::string_view fileName,
                                                std::string* whyUnusable);
    // Draws `picture` at its size, flipped so that it shows upright, over
    // what the buffer holds.
    static void drawPictureFlipped(platform::Context& context, const platform::Image& picture);
    // A touch-down at `position` (no offset) in a corner zone: sends the
    // corner's message to the delegate. True when a corner answered.
    bool handleCornerTap(platform::Point position);
    // Opacity, blend mode and stamp spacing of a stroke with `tool`.
    void setUpStrokeSettings(Tool tool);
    // Renders the recorded points from index `first` to the last as
    // connected segments (that part of the stroke as it was drawn).
    void renderRecordedPoints(std::size_t first);

    // Buffers.
    std::unique_ptr<platform::Context> offscreenPaintContext_;
    std::unique_ptr<platform::Context> undoLayerContext_;
    std::unique_ptr<platform::Context> brushContext_;
    std::unique_ptr<platform::Context> colorBrushContext_;
    std::unique_ptr<platform::Context> orgImageOffscreenContext_;
    std::unique_ptr<platform::Layer> paintlayer_;
    std::unique_ptr<platform::Layer> brushLayer_;
    std::unique_ptr<platform::Layer> colorBrushLayer_;
    std::unique_ptr<platform::Layer> currentBrushLayer_;
    std::unique_ptr<platform::Layer> cloneLayer_;
    platform::ImageRef bgUIImage_;
    platform::ImageRef orgUIImage_;
    ByteBlock bitmapBrushData_;
    ByteBlock bitmapColorBrushData_;
    ByteBlock offscreenBitmapData_;
    ByteBlock undoBitmapData_;
    ByteBlock orgImageBitmapData_;
    std::int32_t bitmapByteCount_ = 0;
    bool undoImageHasBeenSaved_ = false;
    platform::Rect bufferRect_{0, 0, kCanvasWidth, kCanvasHeight};

    // Brushes.
    platform::ImageRef brushImage_;
    platform::ImageRef colorBrushImage_;
    float brushAlpha_ = 1;
    platform::BlendMode brushBlendMode_ = platform::BlendMode::Normal;
    platform::Color currentColor_ = platform::Color::black();
    long colorIndex_ = 0;
    float brushSize_ = 0;
    float colorBrushSize_ = 0;

    // Strokes and cursors.
    float brushPixelStep_ = 1;
    float colorBrushPixelStep_ = 1;
    bool showCursor_ = false;
    bool lastTimeCursorUsed_ = false;
    bool cursorWasPainted_ = false;
    platform::Point cursorPosition_;
    platform::Point cloneCursorPoint_;

    // Touches.
    platform::Point fingerOffset_;
    platform::Point location_;
    platform::Point previousLocation_;
    platform::Point lastPaintedLocation_;
    platform::Point startOfPaintingPoint_;
    bool firstTouch_ = false;
    bool waitingForEndTouch_ = false;
    bool ignoreMoveEndPhases_ = false;
    int startLineIndex_ = 0;
    int orientation_ = 0;
    std::shared_ptr<PaintPoint> paintPoint_;
    bool paintAtEnd_ = false;
    bool useTimer_ = false;
    platform::Timer* testTimer_ = nullptr;
    std::string testString_;
    platform::Point textPoint_;
    std::string fontName_;
    float fontSize_ = 0;
    platform::Color fontColor_ = platform::Color::rgb(0, 0, 1);

    // Clone tool.
    bool cloneNeedsOffset_ = false;
    bool clone2ndPointset_ = false;
    platform::Point cloneOffsetPosition_;
    platform::Point cloneRelativeOffset_;
    int cloneMode_ = 0;
    platform::Point orgTwirlPoint_;

    PaintingViewDelegate* delegate_ = nullptr;
    mutable PaintingViewDefaults defaults_;

    // Shapes and smoothing.
    std::vector<std::shared_ptr<PaintPoint>> mPointArray_;
    float bezierResolution_ = 20;
};

} // namespace zorbel
