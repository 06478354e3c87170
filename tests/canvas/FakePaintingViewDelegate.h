#pragma once

#include <memory>

#include "canvas/PaintingViewDefaults.h"
#include "platform/ui/ActivityIndicatorView.h"

namespace zorbel::testing {

// The application as the canvas tests need it: settings they can set under
// the names the application uses, the painting flag kept by the stroke
// messages, busy while a spinner turns.
class FakePaintingViewDelegate : public PaintingViewDefaults {
public:
    void setSelectedTool(Tool tool) { tool_ = tool; }
    void setPaintBrushAlpha(float alpha) { alpha_ = alpha; }
    void setPaintBrushBlendMode(platform::BlendMode mode) { blendMode_ = mode; }
    void setCursorDisplayFlag(bool on) { cursorDisplay_ = on; }
    void setSmoothPaintBrushFlag(bool on) { smooth_ = on; }
    void setSmoothPaintBrushAmount(float amount) { smoothAmount_ = amount; }
    void setSmartShapesEnabled(bool on) { smartShapes_ = on; }
    void setWasCropped(bool cropped) { wasCropped_ = cropped; }
    // As stored: any number, 1 upright and 3 turned.
    int documentOrientation() const { return documentOrientation_; }
    void setDocumentOrientation(int orientation) { documentOrientation_ = orientation; }
    bool paintingFlag() const { return painting_; }
    void setPaintingFlag(bool painting) { painting_ = painting; }
    void setProgressView(std::shared_ptr<platform::ActivityIndicatorView> spinner) {
        spinner_ = std::move(spinner);
    }

    bool paintingViewIsBusy() const override { return spinner_ && spinner_->isAnimating(); }
    Tool paintingViewTool() const override { return tool_; }
    float paintingViewBrushOpacity() const override { return alpha_; }
    platform::BlendMode paintingViewBrushBlendMode() const override { return blendMode_; }
    bool paintingViewShowsCursor() const override { return cursorDisplay_; }
    bool paintingViewIsPainting() const override { return painting_; }
    bool paintingViewSmoothsStrokes() const override { return smooth_; }
    float paintingViewSmoothingTolerance() const override { return smoothAmount_; }
    bool paintingViewRecognisesShapes() const override { return smartShapes_; }
    DocumentOrientation paintingViewDocumentOrientation() const override {
        return DocumentOrientation(documentOrientation_);
    }
    bool paintingViewWasCropped() const override { return wasCropped_; }
    void paintingViewDocumentOrientationChanged(DocumentOrientation orientation) override {
        documentOrientation_ = int(orientation);
    }
    void paintingViewStrokeBegan() override { painting_ = true; }
    void paintingViewStrokeEnded() override { painting_ = false; }
    void paintingViewRecognisedShape() override { ++recognisedShapes_; }
    int recognisedShapes() const { return recognisedShapes_; }

private:
    Tool tool_ = Tool::NoTool;
    float alpha_ = 0;
    platform::BlendMode blendMode_ = platform::BlendMode::Normal;
    bool cursorDisplay_ = false;
    bool smooth_ = false;
    float smoothAmount_ = 0;
    bool smartShapes_ = false;
    bool wasCropped_ = false;
    int documentOrientation_ = 0;
    bool painting_ = false;
    int recognisedShapes_ = 0;
    std::shared_ptr<platform::ActivityIndicatorView> spinner_;
};

} // namespace zorbel::testing
