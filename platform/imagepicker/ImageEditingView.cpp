#include "platform/imagepicker/ImageEditingView.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/ui/Event.h"
#include "platform/ui/Touch.h"

namespace platform {

ImageEditingView::ImageEditingView() {
    setBackgroundColor(Color::black());
    setOpaque(true);
    setMultipleTouchEnabled(true);
}

Rect ImageEditingView::squareRect() const {
    const Rect b = bounds();
    const float room = std::max(1.0f, b.height() - 2 * kBarHeight);
    const float side = std::max(1.0f, std::min(b.width(), room));
    return Rect(b.midX() - side / 2, b.midY() - side / 2, side, side);
}

void ImageEditingView::setImage(ImageRef image) {
    image_ = std::move(image);
    laidOutFor_ = {};
    setNeedsLayout();
    layoutSubviews();
    setNeedsDisplay();
}

void ImageEditingView::setGeometry(const CropGeometry& geometry) {
    geometry_ = geometry.clamped();
    setNeedsDisplay();
}

ImageRef ImageEditingView::editedImage(int maxSide) const {
    return image_ ? geometry_.editedImage(*image_, maxSide) : nullptr;
}

void ImageEditingView::layoutSubviews() {
    if (!image_ || bounds().size == laidOutFor_)
        return;
    laidOutFor_ = bounds().size;
    geometry_ = CropGeometry::fitted(image_->size(), squareRect());
    setNeedsDisplay();
}

void ImageEditingView::drawRect(Context& context, const Rect&) {
    if (!image_)
        return;
    const Rect b = bounds();
    const Rect sq = geometry_.square;
    context.drawImageUpright(geometry_.pictureRect(), *image_);
    // Outside the square the picture is dimmed: it will not be kept.
    context.setFillColor(Color::rgb(0, 0, 0, 0.6f));
    context.fillRect(Rect(b.minX(), b.minY(), b.width(), sq.minY() - b.minY()));
    context.fillRect(Rect(b.minX(), sq.maxY(), b.width(), b.maxY() - sq.maxY()));
    context.fillRect(Rect(b.minX(), sq.minY(), sq.minX() - b.minX(), sq.height()));
    context.fillRect(Rect(sq.maxX(), sq.minY(), b.maxX() - sq.maxX(), sq.height()));
    context.setStrokeColor(Color::white());
    context.setLineWidth(1);
    context.strokeRect(sq.inset(0.5f, 0.5f));
}

void ImageEditingView::touchesBegan(const TouchSet& touches, Event&) {
    for (const auto& t : touches)
        fingers_[t.get()] = t->locationInView(this);
}

void ImageEditingView::touchesMoved(const TouchSet& touches, Event&) {
    if (!image_)
        return;
    // The fingers known before this event and where they are now.
    std::vector<std::pair<Point, Point>> moves;
    for (auto& [touch, last] : fingers_) {
        Point now = last;
        for (const auto& t : touches)
            if (t.get() == touch)
                now = t->locationInView(this);
        moves.push_back({last, now});
        last = now;
    }
    CropGeometry g = geometry_;
    if (moves.size() == 1) {
        g = g.moved(moves[0].second.x - moves[0].first.x, moves[0].second.y - moves[0].first.y);
    } else if (moves.size() >= 2) {
        // Two fingers: the picture follows their midpoint and scales with
        // their distance, about that midpoint.
        const auto [a0, a1] = moves[0];
        const auto [b0, b1] = moves[1];
        const Point m0{(a0.x + b0.x) / 2, (a0.y + b0.y) / 2};
        const Point m1{(a1.x + b1.x) / 2, (a1.y + b1.y) / 2};
        const float d0 = std::hypot(a0.x - b0.x, a0.y - b0.y);
        const float d1 = std::hypot(a1.x - b1.x, a1.y - b1.y);
        g = g.moved(m1.x - m0.x, m1.y - m0.y);
        if (d0 > 1 && d1 > 1)
            g = g.zoomed(d1 / d0, m1);
    }
    setGeometry(g);
}

void ImageEditingView::forget(const TouchSet& touches) {
    for (const auto& t : touches)
        fingers_.erase(t.get());
}

void ImageEditingView::touchesEnded(const TouchSet& touches, Event&) {
    forget(touches);
}

void ImageEditingView::touchesCancelled(const TouchSet& touches, Event&) {
    forget(touches);
}

bool ImageEditingView::scrollWheel(Point location, float, float dy) {
    if (!image_ || dy == 0)
        return image_ != nullptr;
    setGeometry(geometry_.zoomed(std::pow(kWheelZoom, dy), location));
    return true;
}

} // namespace platform
