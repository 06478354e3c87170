// The canvas view: start-up, its host and pixel reads.

#include "canvas/PaintingView.h"

#include "platform/foundation/FileIO.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Prefault.h"

namespace zorbel {

using platform::Context;
using platform::ImageRef;
using platform::log;

platform::Result<std::shared_ptr<PaintingView>>
PaintingView::create(PaintingViewDelegate* delegate) {
    auto view = std::make_shared<PaintingView>();
    view->setDelegate(delegate);
    view->awakeFromNib();
    if (!view->offscreenPaintContext())
        return platform::Result<std::shared_ptr<PaintingView>>::failure(
            "The canvas could not be started: no memory for the painting");
    return view;
}

PaintingView::PaintingView()
    : platform::View(platform::Rect(0, 0, float(kCanvasWidth), float(kCanvasHeight))),
      offscreen_(kCanvasWidth, kCanvasHeight, std::string(DocumentFolder::kTempImageFile),
                 [this](std::size_t bytes) { return allocateBlock(bytes); }),
      undo_(kCanvasWidth, kCanvasHeight, std::string(DocumentFolder::kUndoFile),
            [this](std::size_t bytes) { return allocateBlock(bytes); }),
      original_(kCanvasWidth, kCanvasHeight, std::string(DocumentFolder::kOrgImageFile),
                [this](std::size_t bytes) { return allocateBlock(bytes); }),
      brush_([this](std::size_t bytes) { return allocateBlock(bytes); }) {
    // The painting covers the whole view: nothing behind it needs drawing.
    setOpaque(true);
}

PaintingView::~PaintingView() = default;

// A canvas buffer is drawn over whole as soon as it is made: its pages are
// made resident in one call rather than by a fault each.
std::uint8_t* PaintingView::allocateBlock(std::size_t bytes) {
    auto* block = static_cast<std::uint8_t*>(std::calloc(bytes, 1));
    platform::prefaultForWriting(block, bytes);
    return block;
}

PaintingViewDelegate& PaintingView::host() const {
    if (delegate_)
        return *delegate_;
    return defaults_;
}

void PaintingView::awakeFromNib() {
    bufferRect_ = platform::Rect(0, 0, float(kCanvasWidth), float(kCanvasHeight));
    setFrame(bufferRect_);
    touch_.showCursor = true;
    renderer_.setBrushAlpha(0.5f);
    renderer_.setBrushBlendMode(platform::BlendMode::Normal);
    touch_.fingerOffset = {0, -32};

    const CanvasBuffer::Made painting = offscreen_.recreate();
    if (painting == CanvasBuffer::Made::NoMemory) {
        log(" ++++++++++++++++ Out of Memory! awakeFromNib 1");
        return;
    }
    if (undo_.recreate() == CanvasBuffer::Made::NoMemory) {
        log(" ++++++++++++++++ Out of Memory! awakeFromNib 2");
        return;
    }
    if (painting != CanvasBuffer::Made::Yes) {
        log(" ++++++++++++++++ offscreenPaintContext is NULL awakeFromNib 3");
        return;
    }
    undoImageHasBeenSaved_ = false;
    restoreDocument();
    recreatePaintLayer();

    brush_.setSize(5);
    createBrushLayer();
    refreshDrawing();
    bezierResolution_ = 20;
}

// The painting saved at the last termination (or a plain white sheet), the
// original picture and the undo picture.
void PaintingView::restoreDocument() {
    std::string why;
    ImageRef background = documents_.load(DocumentFolder::kDocumentFile, &why);
    if (!why.empty())
        log(why);
    if (!background) {
        background = platform::Image::named("whitevert480.png");
        if (!background) {
            log("Background image whitevert480.png not found: starting from a white sheet");
            auto sheet = Context::createBitmap(kCanvasWidth, kCanvasHeight, nullptr);
            if (sheet) {
                sheet->setFillColor(platform::Color::white());
                sheet->fillRect(bufferRect_);
                background = sheet->makeImage();
            }
        }
    }
    pictures_.setBackground(background);
    if (background) {
        Context& context = *offscreen_.context();
        platform::GStateGuard guard(context);
        context.translateCTM(0, bufferRect_.height());
        context.scaleCTM(1, -1);
        context.drawImage(bufferRect_, *background);
    }

    why.clear();
    ImageRef original = documents_.load(DocumentFolder::kOrgImageFile, &why);
    if (!original) {
        log("tmpOrgImage not found.  Use BGimage");
        if (!why.empty())
            log(why);
        setOrgImage(background);
        readRawImageNamed(DocumentFolder::kUndoFile, undo_.context());
        return;
    }
    // A painting coming back with its original: the original and the undo
    // picture go into their buffers when first needed, through the reloads a
    // memory warning relies on, not while the window waits for its first
    // frame (reading and drawing them was a third of the interface's making).
    // Until then the original is the picture kept in memory and the undo
    // picture stays in its file, so nothing is written over at termination.
    pictures_.setOriginal(scaleAndRotateImage(original));
    if (platform::fileExists(documents_.pathFor(DocumentFolder::kUndoFile))) {
        undo_.release();
        undoImageHasBeenSaved_ = true;
    } else {
        readRawImageNamed(DocumentFolder::kUndoFile, undo_.context());
    }
}

ARGBColorBytes PaintingView::getPixelValueAt(int x, int y) const {
    const ARGBColorBytes noMemory{255, 0, 0, 0};
    const Context* painting = offscreen_.context();
    if (!painting)
        return noMemory;
    const int width = painting->width();
    const int height = painting->height();
    if (x < 0 || y < 0 || x >= width || y >= height)
        return noMemory;
    const std::uint8_t* p = offscreen_.data() + (std::size_t(y) * width + x) * 4;
    return {p[0], p[1], p[2], p[3]};
}

platform::Color PaintingView::ARGBtoUIColor(std::uint32_t argbBytes) {
    const auto byte = [argbBytes](int i) { return float((argbBytes >> (8 * i)) & 0xff); };
    return platform::Color::rgb(byte(1) / 255.0f, byte(2) / 255.0f, byte(3) / 255.0f, 1);
}

} // namespace zorbel
