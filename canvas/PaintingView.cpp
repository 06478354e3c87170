// The canvas view: start-up, the link to the application delegate and pixel reads.

#include <cstring>

#include "canvas/PaintingView.h"
#include "platform/foundation/Log.h"

namespace zorbel {

using platform::Context;
using platform::ImageRef;
using platform::log;

std::shared_ptr<PaintingView> PaintingView::create(PaintingViewDelegate* delegate) {
    auto view = std::make_shared<PaintingView>();
    view->setDelegate(delegate);
    view->awakeFromNib();
    return view;
}

PaintingView::PaintingView()
    : platform::View(platform::Rect(0, 0, float(kCanvasWidth), float(kCanvasHeight))) {
    // The painting covers the whole view: nothing behind it needs drawing.
    setOpaque(true);
}

PaintingView::~PaintingView() {
    // Contexts draw into the blocks, so they go first.
    offscreenPaintContext_.reset();
    undoLayerContext_.reset();
    orgImageOffscreenContext_.reset();
    brushContext_.reset();
    colorBrushContext_.reset();
}

PaintingViewDelegate& PaintingView::host() const {
    if (delegate_)
        return *delegate_;
    return defaults_;
}

ImageRef PaintingView::loadResourceImage(std::string_view name) {
    return platform::Image::named(name);
}

void PaintingView::awakeFromNib() {
    bufferRect_ = platform::Rect(0, 0, float(kCanvasWidth), float(kCanvasHeight));
    setFrame(bufferRect_);
    showCursor_ = true;
    brushAlpha_ = 0.5f;
    brushBlendMode_ = platform::BlendMode::Normal;
    fingerOffset_ = {0, -32};

    bitmapByteCount_ = std::int32_t(int(bufferRect_.width() * 4) * int(bufferRect_.height()));
    releaseBuffer(offscreenPaintContext_, offscreenBitmapData_);
    offscreenBitmapData_.reset(allocateBlock(std::size_t(bitmapByteCount_)));
    if (!offscreenBitmapData_) {
        log(" ++++++++++++++++ Out of Memory! awakeFromNib 1");
        return;
    }
    offscreenPaintContext_ = makeBufferContext(offscreenBitmapData_.get());

    releaseBuffer(undoLayerContext_, undoBitmapData_);
    undoBitmapData_.reset(allocateBlock(std::size_t(bitmapByteCount_)));
    if (!undoBitmapData_) {
        log(" ++++++++++++++++ Out of Memory! awakeFromNib 2");
        return;
    }
    undoLayerContext_ = makeBufferContext(undoBitmapData_.get());
    if (!undoLayerContext_)
        undoBitmapData_.reset(); // a buffer is both halves or neither

    if (!offscreenPaintContext_) {
        offscreenBitmapData_.reset();
        log(" ++++++++++++++++ offscreenPaintContext is NULL awakeFromNib 3");
        return;
    }

    // The painting saved at the last termination, or a plain white sheet.
    std::string why;
    bgUIImage_ = loadDocumentImage(kDocumentFile, &why);
    if (!why.empty())
        log(why);
    if (!bgUIImage_) {
        bgUIImage_ = loadResourceImage("whitevert480.png");
        if (!bgUIImage_) {
            log("Background image whitevert480.png not found: starting from a white sheet");
            auto sheet = Context::createBitmap(kCanvasWidth, kCanvasHeight, nullptr);
            if (sheet) {
                sheet->setFillColor(platform::Color::white());
                sheet->fillRect(bufferRect_);
                bgUIImage_ = sheet->makeImage();
            }
        }
    }
    if (bgUIImage_) {
        platform::GStateGuard guard(*offscreenPaintContext_);
        offscreenPaintContext_->translateCTM(0, bufferRect_.height());
        offscreenPaintContext_->scaleCTM(1, -1);
        offscreenPaintContext_->drawImage(bufferRect_, *bgUIImage_);
    }

    why.clear();
    ImageRef original = loadDocumentImage(kOrgImageFile, &why);
    if (!original) {
        log("tmpOrgImage not found.  Use BGimage");
        if (!why.empty())
            log(why);
        original = bgUIImage_;
    }
    setOrgImage(original);

    readRawImageNamed(kUndoFile, undoLayerContext_.get());
    recreatePaintLayer();

    brushSize_ = 5;
    paintPoint_ = std::make_shared<PaintPoint>(platform::Point{0, 0});
    colorIndex_ = 0;
    testString_ = "This is a test";
    textPoint_ = {100, 200};
    fontSize_ = 28;
    fontName_ = "Arial";
    fontColor_ = platform::Color::rgb(0, 0, 1);

    createBrushLayer();
    refreshDrawing();

    bezierResolution_ = 20;
    undoImageHasBeenSaved_ = false;
    paintAtEnd_ = false;
    useTimer_ = false;
}

ARGBColorBytes PaintingView::getPixelValueAt(int x, int y) const {
    const ARGBColorBytes noMemory{255, 0, 0, 0};
    if (!offscreenBitmapData_ || !offscreenPaintContext_)
        return noMemory;
    const int width = offscreenPaintContext_->width();
    const int height = offscreenPaintContext_->height();
    if (x < 0 || y < 0 || x >= width || y >= height)
        return noMemory;
    const std::uint8_t* p = offscreenBitmapData_.get() + (std::size_t(y) * width + x) * 4;
    return {p[0], p[1], p[2], p[3]};
}

platform::Color PaintingView::ARGBtoUIColor(std::uint32_t argbBytes) {
    const auto byte = [argbBytes](int i) { return float((argbBytes >> (8 * i)) & 0xff); };
    return platform::Color::rgb(byte(1) / 255.0f, byte(2) / 255.0f, byte(3) / 255.0f, 1);
}

} // namespace zorbel
