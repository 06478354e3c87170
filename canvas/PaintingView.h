#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "canvas/ARGBColorBytes.h"
#include "canvas/Brush.h"
#include "canvas/CanvasBuffer.h"
#include "canvas/CloneSetUp.h"
#include "canvas/DocumentFolder.h"
#include "canvas/DocumentPictures.h"
#include "canvas/Orientation.h"
#include "canvas/PaintingViewDefaults.h"
#include "canvas/PointerMarker.h"
#include "canvas/StrokeRenderer.h"
#include "canvas/Tool.h"
#include "canvas/TouchState.h"
#include "effects/GGVecLib.h"
#include "platform/foundation/Result.h"
#include "platform/ui/View.h"

namespace zorbel {

class StampPlacement;

// The canvas: a 320 x 480 painting with its undo copy, the original picture it
// can be erased back to, the stroke in progress and the brush stamp, in screen
// points, y down. A flushed buffer comes back when it is needed: whatever uses
// one calls the matching reload...IfNecessary first. Failures are logged and
// leave the state as it was. It asks its delegate for the tool and settings;
// without one it runs alone (PaintingViewDefaults).
class PaintingView : public platform::View {
public:
    static constexpr int kCanvasWidth = DocumentPictures::kCanvasWidth;
    static constexpr int kCanvasHeight = DocumentPictures::kCanvasHeight;

    // A started canvas (awakeFromNib) with `delegate` as its host; fails when
    // not even the painting's buffer could be had.
    static platform::Result<std::shared_ptr<PaintingView>>
    create(PaintingViewDelegate* delegate = nullptr);

    PaintingView();
    ~PaintingView() override;

    // Allocates the buffers, restores the document and builds the start brush.
    void awakeFromNib();
    // The host the canvas asks and tells (not owned); null runs it alone.
    PaintingViewDelegate* delegate() const { return delegate_; }
    void setDelegate(PaintingViewDelegate* delegate) { delegate_ = delegate; }

    // --- Buffers (PaintingView+Buffers.cpp) ----------------------------------
    void recreateOffscreenBuffer();
    void recreateUndoBuffer();
    void recreateOrgImageBuffer();
    void recreatePaintLayer();
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
    // Copies between buffers; the raw ones request no redisplay.
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

    // --- Files and pictures (PaintingView+Document.cpp) ----------------------
    bool writeApplicationData(std::span<const std::uint8_t> data, std::string_view fileName);
    platform::ImageRef getRawImageToSaveFromBuffer(const platform::Context* context);
    platform::ImageRef getRawImageToSave();
    bool writeOnlyRawImageNamed(std::string_view fileName, const platform::Context* context);
    bool writeOnlyRawImageOut(std::string_view fileName);
    bool writeOrgImageOut(std::string_view fileName);
    bool writeUndoImageOut(std::string_view fileName);
    // Draws Documents/fileName upright over what the buffer holds; a missing
    // or refused file leaves the buffer as it was.
    void readRawImageNamed(std::string_view fileName, platform::Context* context);
    void readRawImageOffscreen(std::string_view fileName);
    void setOrgImage(platform::ImageRef image);
    void reloadOrgImageInfoBuffer(platform::Context* context);
    void setBGImage(platform::ImageRef image);
    // Redraws the painting from bgUIImage by the fit rule and tells the
    // delegate the document orientation.
    void refreshDrawing();
    // The painting alone (Upright, or Turned back to landscape); null otherwise.
    platform::ImageRef getImageToSave(DocumentOrientation documentOrientation);
    // The view as shown, every layer on it drawn in.
    platform::ImageRef viewToImage();
    // viewToImage upright or turned back; null (and logged) for another value.
    platform::ImageRef getFlattenedImageToSave(DocumentOrientation documentOrientation);
    bool writeImageOut(std::string_view fileName);
    bool writeOnlyImageOut(std::string_view fileName);
    static platform::ImageRef scaleAndRotateImage(const platform::ImageRef& image);
    static void printOrientation(int orientation);

    // --- Brushes (PaintingView+Brushes.cpp) ----------------------------------
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

    // --- Strokes and display (PaintingView+Strokes.cpp) -----------------------
    // Stamps the segment (the from point, not the to point) and redisplays the
    // area it touched. Stamps that cannot reach the canvas are not placed.
    void renderLineFromPoint(platform::Point from, platform::Point to);
    void drawBrushAt(float x, float y);
    void drawRect(platform::Context& context, const platform::Rect& dirty) override;
    void drawCursor(platform::Context& context, platform::Point point);
    void drawBrushCursor(platform::Context& context, platform::Point point);
    void clearPaintLayer() { renderer_.clearLayer(bufferRect_); }
    void mergePaintLayer();
    // Eraser and clone tools: copies through the stamp's alpha at (x, y).
    void cloneStepAt(float x, float y);

    // --- Touches (PaintingView+Touches.cpp) ----------------------------------
    void touchesBegan(const platform::TouchSet& touches, platform::Event& event) override;
    void touchesMoved(const platform::TouchSet& touches, platform::Event& event) override;
    void touchesEnded(const platform::TouchSet& touches, platform::Event& event) override;
    void touchesCancelled(const platform::TouchSet& touches, platform::Event& event) override;

    // --- The mouse pointer (PaintingView+Pointer.cpp) ---------------------------
    bool pointerHovered(platform::Point location) override;
    void pointerLeft() override;
    // Where a stroke begun at the hovering pointer would land, while a painting
    // tool is current and the finger offset needs a cursor: the ring shows it.
    std::optional<platform::Point> pointerMarkerPosition() const;

    // --- Shapes and smoothing (PaintingView+Smoothing.cpp) --------------------
    bool wasClosedObjectDrawn() const;
    bool wasLineDrawn() const;
    bool wasRectDrawn() const;
    bool wasCircleDrawn() const { return false; }
    platform::Rect getEnclosingRect() const;
    // A recognised line, rectangle or ellipse redrawn over the undo copy.
    bool redrawRecognisedShape();
    // Redraws the point list as fitted curves (tolerance from the delegate);
    // what the fitter cannot hold is drawn as recorded.
    void curveFit();
    void drawCurves(const Point2* points, int numPoints);
    void drawBezCurve(const Point2* fourPoints);
    void bez_draw(const std::array<platform::Point, 4>& curve);
    static platform::Point bez_Position_StepBezier(const std::array<platform::Point, 4>& curve,
                                                   float t);
    static bool pnt_closePoint(platform::Point a, platform::Point b, float tolerance);

    // --- Pixels and effects (PaintingView.cpp, PaintingView+Effects.cpp) -------
    // The painting's pixel at memory row y; opaque black outside or flushed.
    ARGBColorBytes getPixelValueAt(int x, int y) const;
    static platform::Color ARGBtoUIColor(std::uint32_t argbBytes);
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

    // --- State -------------------------------------------------------------------
    platform::Context* offscreenPaintContext() const { return offscreen_.context(); }
    platform::Context* undoLayerContext() const { return undo_.context(); }
    platform::Context* orgImageOffscreenContext() const { return original_.context(); }
    std::uint8_t* offscreenBitmapData() const { return offscreen_.data(); }
    std::uint8_t* undoBitmapData() const { return undo_.data(); }
    std::uint8_t* orgImageBitmapData() const { return original_.data(); }
    std::int32_t bitmapByteCount() const { return std::int32_t(offscreen_.byteCount()); }
    bool undoImageHasBeenSaved() const { return undoImageHasBeenSaved_; }
    platform::Rect bufferRect() const { return bufferRect_; }
    void setBufferRect(const platform::Rect& r) { bufferRect_ = r; }
    platform::ImageRef bgUIImage() const { return pictures_.background(); }
    platform::ImageRef orgUIImage() const { return pictures_.original(); }
    void setOrgUIImage(platform::ImageRef image) { pictures_.setOriginal(std::move(image)); }
    platform::ImageRef brushImage() const { return brush_.picture(); }
    platform::ImageRef colorBrushImage() const { return brush_.colorPicture(); }
    platform::Color currentColor() const { return currentColor_; }
    void setBezierResolution(float resolution) { bezierResolution_ = resolution; }
    // The stamp, for reading; the stroke: its layer (paintlayer), opacity,
    // blend mode and stamp spacing, which touch-down sets from the delegate.
    const Brush& brush() const { return brush_; }
    StrokeRenderer& strokeRenderer() { return renderer_; }
    const StrokeRenderer& strokeRenderer() const { return renderer_; }
    // The finger, the cursor and the finger offset (the cursor's settings and
    // the offset are the host's to write), and the clone tool's set-up.
    TouchState& touchState() { return touch_; }
    const TouchState& touchState() const { return touch_; }
    CloneSetUp& cloneSetUp() { return clone_; }
    const CloneSetUp& cloneSetUp() const { return clone_; }

    std::string className() const override { return "PaintingView"; }

protected:
    // Where every bitmap's memory comes from (cleared); null when it can't be
    // had. Tests override it to see how the canvas copes without memory.
    virtual std::uint8_t* allocateBlock(std::size_t bytes);

private:
    PaintingViewDelegate& host() const; // the delegate, or the defaults
    void restoreDocument();             // awakeFromNib's pictures
    bool handleCornerTap(platform::Point position);
    // Clone tool at touch-up: the source tap, then the destination tap.
    bool handleCloneSetUpTap(platform::Point paintingPosition);
    void setUpStrokeSettings(Tool tool);
    platform::Context* strokeTarget(); // reloaded as needed; null when flushed
    void stampAlong(const StampPlacement& stamps);
    void cloneAlong(const StampPlacement& stamps, Tool tool);
    void reloadCloneSources(Tool tool);
    void renderPolyline(const std::vector<platform::Point>& points);
    void endStroke(std::optional<platform::Point> previousFinger, Tool tool);

    PaintingViewDelegate* delegate_ = nullptr;
    mutable PaintingViewDefaults defaults_;
    DocumentFolder documents_;
    CanvasBuffer offscreen_, undo_, original_; // the painting, its undo copy, the original
    bool undoImageHasBeenSaved_ = false;
    platform::Rect bufferRect_{0, 0, kCanvasWidth, kCanvasHeight};
    DocumentPictures pictures_;
    Brush brush_;
    platform::Color currentColor_ = platform::Color::black();
    StrokeRenderer renderer_;
    TouchState touch_;
    CloneSetUp clone_;
    float bezierResolution_ = 20;
    PointerMarker pointerMarker_;
};

} // namespace zorbel
