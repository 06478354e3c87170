#pragma once

#include <memory>

#include "CanvasTestSupport.h"
#include "platform/ui/Event.h"
#include "platform/ui/Touch.h"

namespace zorbel::testing {

// One finger on a canvas that is in no window: its handlers are called as
// the window would call them (the touch-down is also the touch's first
// position, and every update keeps the previous position).
class Finger {
public:
    explicit Finger(PaintingView& view) : view_(view) {}

    void down(platform::Point p) {
        touch_ = std::make_shared<platform::Touch>(1, &view_, nullptr, p, time_, 1);
        send(platform::TouchPhase::Began);
    }
    void move(platform::Point p) { update(platform::TouchPhase::Moved, p); }
    void up(platform::Point p) { update(platform::TouchPhase::Ended, p); }
    void cancel(platform::Point p) { update(platform::TouchPhase::Cancelled, p); }
    void up() { up(touch_->locationInView(nullptr)); }

    void tap(platform::Point p) {
        down(p);
        up(p);
    }
    // Down at the first point, a movement to each further one, up at the last.
    void stroke(std::initializer_list<platform::Point> points) { stroke(std::vector(points)); }
    void stroke(const std::vector<platform::Point>& points) {
        down(points.front());
        for (std::size_t i = 1; i < points.size(); ++i)
            move(points[i]);
        up(points.back());
    }

private:
    void update(platform::TouchPhase phase, platform::Point p) {
        time_ += 0.01;
        touch_->update(phase, p, time_);
        send(phase);
    }
    void send(platform::TouchPhase phase) {
        platform::TouchSet touches({touch_});
        platform::Event event(touches, time_);
        switch (phase) {
        case platform::TouchPhase::Began:
            view_.touchesBegan(touches, event);
            break;
        case platform::TouchPhase::Moved:
        case platform::TouchPhase::Stationary:
            view_.touchesMoved(touches, event);
            break;
        case platform::TouchPhase::Ended:
            view_.touchesEnded(touches, event);
            break;
        case platform::TouchPhase::Cancelled:
            view_.touchesCancelled(touches, event);
            break;
        }
    }

    PaintingView& view_;
    std::shared_ptr<platform::Touch> touch_;
    double time_ = 0;
};

const ARGBColorBytes kWhitePixel{255, 255, 255, 255};
const ARGBColorBytes kBlackPixel{255, 0, 0, 0};

// A canvas that paints, whose delegate keeps the painting flag.
class TouchCanvasTest : public CanvasTest {
protected:
    // The paint brush with an opaque black square stamp of `brushSize`
    // points, opacity 1, normal blending, no finger offset and no cursor.
    std::shared_ptr<PaintingView> paintCanvas(int brushSize = 2) {
        delegate_.setSelectedTool(Tool::PaintBrushTool);
        delegate_.setPaintBrushAlpha(1);
        delegate_.setPaintBrushBlendMode(platform::BlendMode::Normal);
        delegate_.setCursorDisplayFlag(false);
        auto view = makeCanvas();
        view->createBrushLayerFromImage(squareBrush(brushSize));
        view->touchState().fingerOffset = {0, 0};
        view->touchState().showCursor = false;
        return view;
    }

    static bool painted(const PaintingView& view, int x, int y) {
        return screenPixel(view, x, y) != kWhitePixel;
    }

    static std::vector<std::uint8_t> pictureBytes(const PaintingView& view) {
        return bytesOf(view.offscreenBitmapData(), std::size_t(view.bitmapByteCount()));
    }
    static std::vector<std::uint8_t> undoBytes(const PaintingView& view) {
        return bytesOf(view.undoBitmapData(), std::size_t(view.bitmapByteCount()));
    }
};

} // namespace zorbel::testing
