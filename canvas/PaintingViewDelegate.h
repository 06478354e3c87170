#pragma once

#include "canvas/Orientation.h"
#include "canvas/Tool.h"
#include "platform/graphics/BlendMode.h"

namespace zorbel {

// What the canvas asks of the application that hosts it, and what it tells
// it. The application sets itself as the canvas's delegate when it wires the
// canvas; the canvas keeps a plain pointer and never owns it. Main thread only.
class PaintingViewDelegate {
public:
    virtual ~PaintingViewDelegate() = default;

    // --- Asked while touches are handled and strokes drawn ---------------------
    // True while an effect works on the buffers: every touch is dropped.
    virtual bool paintingViewIsBusy() const = 0;
    virtual Tool paintingViewTool() const = 0;
    // Whether the current tool paints, erases, clones or stamps at all.
    virtual bool paintingViewToolPaints() const = 0;
    // The paint brush's stroke opacity (0 to 1) and blend mode, read when a
    // stroke begins; every other tool paints opaque and normal.
    virtual float paintingViewBrushOpacity() const = 0;
    virtual platform::BlendMode paintingViewBrushBlendMode() const = 0;
    // Corner taps and the finger offset turn with the device.
    virtual InterfaceOrientation paintingViewInterfaceOrientation() const = 0;
    // The cursor setting; the cursor shows only while a stroke is under way.
    virtual bool paintingViewShowsCursor() const = 0;
    virtual bool paintingViewIsPainting() const = 0;
    // What becomes of a finished paint-brush stroke: redrawn smoothed (the
    // fitter's tolerance in points), or replaced by a recognised shape.
    virtual bool paintingViewSmoothsStrokes() const = 0;
    virtual float paintingViewSmoothingTolerance() const = 0;
    virtual bool paintingViewRecognisesShapes() const = 0;
    // With the toolbars away, three corners open the pickers.
    virtual bool paintingViewInPresentMode() const = 0;

    // --- Asked when pictures are placed and brushes built ------------------------
    virtual DocumentOrientation paintingViewDocumentOrientation() const = 0;
    // A cropped picture is drawn upright even when it is wider than high.
    virtual bool paintingViewWasCropped() const = 0;

    // --- Told ------------------------------------------------------------------
    // A picture was placed: the document is upright or turned now.
    virtual void paintingViewDocumentOrientationChanged(DocumentOrientation orientation) = 0;
    virtual void paintingViewStrokeBegan() = 0;
    virtual void paintingViewStrokeEnded() = 0;
    // The finished stroke was replaced by the line, rectangle or ellipse it
    // resembled (after paintingViewStrokeEnded).
    virtual void paintingViewRecognisedShape() {}
    // Corner taps: the top-left one ends present mode; in present mode the
    // others ask for the tool, colour and brush pickers.
    virtual void paintingViewEndPresentMode() = 0;
    virtual void paintingViewPresentToolSelection() = 0;
    virtual void paintingViewPresentColorSelection() = 0;
    virtual void paintingViewPresentBrushSelection() = 0;
    // The clone tool's destination is set: its strokes copy from now on.
    virtual void paintingViewCloneIsReady() = 0;
};

} // namespace zorbel
