#pragma once

#include "canvas/PaintingViewDelegate.h"

namespace zorbel {

// The answers of a canvas that runs without an application (tools, benches,
// tests): the paint brush, opaque and normal, portrait, no cursor, no
// smoothing or shapes, never busy. It remembers the document orientation and
// whether a stroke is under way, as it is told them; every other message is
// dropped. Override what a host decides differently.
class PaintingViewDefaults : public PaintingViewDelegate {
public:
    bool paintingViewIsBusy() const override { return false; }
    Tool paintingViewTool() const override { return Tool::PaintBrushTool; }
    bool paintingViewToolPaints() const override { return isPaintStyleTool(paintingViewTool()); }
    float paintingViewBrushOpacity() const override { return 1.0f; }
    platform::BlendMode paintingViewBrushBlendMode() const override {
        return platform::BlendMode::Normal;
    }
    InterfaceOrientation paintingViewInterfaceOrientation() const override {
        return InterfaceOrientation::Portrait;
    }
    bool paintingViewShowsCursor() const override { return false; }
    bool paintingViewIsPainting() const override { return painting_; }
    bool paintingViewSmoothsStrokes() const override { return false; }
    float paintingViewSmoothingTolerance() const override { return 20.0f; }
    bool paintingViewRecognisesShapes() const override { return false; }
    bool paintingViewInPresentMode() const override { return false; }
    DocumentOrientation paintingViewDocumentOrientation() const override { return orientation_; }
    bool paintingViewWasCropped() const override { return false; }

    void paintingViewDocumentOrientationChanged(DocumentOrientation orientation) override {
        orientation_ = orientation;
    }
    void paintingViewStrokeBegan() override { painting_ = true; }
    void paintingViewStrokeEnded() override { painting_ = false; }
    void paintingViewEndPresentMode() override {}
    void paintingViewPresentToolSelection() override {}
    void paintingViewPresentColorSelection() override {}
    void paintingViewPresentBrushSelection() override {}
    void paintingViewCloneIsReady() override {}

private:
    DocumentOrientation orientation_ = DocumentOrientation::Upright;
    bool painting_ = false;
};

} // namespace zorbel
