#include "platform/imagepicker/PhotoGridView.h"

#include <algorithm>
#include <cmath>

#include "platform/imagepicker/PhotoCellView.h"
#include "platform/ui/Window.h"

namespace platform {

PhotoGridView::PhotoGridView(const Rect& frame) : ScrollView(frame) {
    setBackgroundColor(Color::white());
    setOpaque(true);
    setAlwaysBounceVertical(true);
    setShowsHorizontalScrollIndicator(false);
}

PhotoGridView::~PhotoGridView() = default;

int PhotoGridView::columns() const {
    return bounds().width() >= 480 ? 6 : 4;
}

float PhotoGridView::cellSide() const {
    const int n = columns();
    return std::max(1.0f, (bounds().width() - kSpacing * float(n + 1)) / float(n));
}

Rect PhotoGridView::cellFrame(std::size_t index) const {
    const int n = columns();
    const float side = cellSide();
    const float col = float(index % std::size_t(n));
    const float row = float(index / std::size_t(n));
    return Rect(kSpacing + col * (side + kSpacing), kSpacing + row * (side + kSpacing), side, side);
}

void PhotoGridView::setFiles(std::vector<std::filesystem::path> files) {
    files_ = std::move(files);
    loader_.reset();
    for (auto& [index, cell] : cells_) {
        cell->removeFromSuperview();
        spare_.push_back(cell);
    }
    cells_.clear();
    setNeedsLayout();
    tile();
}

std::vector<std::size_t> PhotoGridView::visibleIndices() const {
    std::vector<std::size_t> out;
    for (const auto& [index, cell] : cells_)
        out.push_back(index);
    return out;
}

PhotoCellView* PhotoGridView::cellForIndex(std::size_t index) const {
    auto it = cells_.find(index);
    return it == cells_.end() ? nullptr : it->second.get();
}

void PhotoGridView::setBounds(const Rect& newBounds) {
    const bool resized = newBounds.size != bounds().size;
    ScrollView::setBounds(newBounds);
    if (resized) {
        // Another width gives other cells: start the grid over.
        for (auto& [index, cell] : cells_) {
            cell->removeFromSuperview();
            spare_.push_back(cell);
        }
        cells_.clear();
    }
    tile();
}

void PhotoGridView::layoutSubviews() {
    ScrollView::layoutSubviews();
    tile();
}

void PhotoGridView::didMoveToWindow() {
    tile();
}

bool PhotoGridView::scrollWheel(Point location, float dx, float dy) {
    return ScrollView::scrollWheel(location, dx, dy);
}

void PhotoGridView::tile() {
    if (tiling_ || bounds().isEmpty())
        return;
    tiling_ = true;
    const int n = columns();
    const float side = cellSide();
    const std::size_t rows = (files_.size() + std::size_t(n) - 1) / std::size_t(n);
    const float height = kSpacing + float(rows) * (side + kSpacing);
    if (contentSize() != Size{bounds().width(), height})
        setContentSize({bounds().width(), height});

    // The thumbnails are drawn one pixel to a pixel of the screen.
    const float scale = window() ? window()->scale() : 1.0f;
    const int pixels = int(std::ceil(side * scale));
    if (!loader_ || loader_->side() != pixels) {
        loader_ = std::make_unique<ThumbnailLoader>(files_, pixels);
        loader_->setReadyHandler([this](std::size_t index) { thumbnailReady(index); });
    }

    // Rows in view, and one more at each edge so that a cell is ready as it
    // scrolls in.
    const float pitch = side + kSpacing;
    const float top = bounds().minY(), bottom = bounds().maxY();
    const long firstRow = std::max(0L, long(std::floor((top - kSpacing) / pitch)) - 1);
    const long lastRow =
        std::min(long(rows) - 1, long(std::floor((bottom - kSpacing) / pitch)) + 1);
    std::size_t first = 1, last = 0; // none, while no row is in view
    const bool any = !files_.empty() && lastRow >= firstRow;
    if (any) {
        first = std::size_t(firstRow) * std::size_t(n);
        last = std::min(files_.size() - 1, std::size_t(lastRow + 1) * std::size_t(n) - 1);
    }

    recycleCellsOutside(first, last);
    std::vector<std::size_t> wanted;
    if (any) {
        // Those in view first, top to bottom, then the margin rows.
        std::vector<std::size_t> margin;
        for (std::size_t i = first; i <= last; ++i) {
            const Rect f = cellFrame(i);
            (f.maxY() > top && f.minY() < bottom ? wanted : margin).push_back(i);
            if (cells_.count(i))
                continue;
            std::shared_ptr<PhotoCellView> cell = takeCell();
            cell->setIndex(i);
            cell->setFrame(f);
            cell->setThumbnail(loader_->thumbnail(i));
            // Cells go behind the scroll indicators.
            insertSubviewAtIndex(cell, 0);
            cells_[i] = std::move(cell);
        }
        wanted.insert(wanted.end(), margin.begin(), margin.end());
        loader_->request(wanted);
        loader_->trim(first, last, kThumbnailsKept);
    }
    tiling_ = false;
}

void PhotoGridView::recycleCellsOutside(std::size_t first, std::size_t last) {
    for (auto it = cells_.begin(); it != cells_.end();) {
        if (it->first < first || it->first > last) {
            it->second->removeFromSuperview();
            spare_.push_back(std::move(it->second));
            it = cells_.erase(it);
        } else {
            ++it;
        }
    }
}

std::shared_ptr<PhotoCellView> PhotoGridView::takeCell() {
    if (!spare_.empty()) {
        std::shared_ptr<PhotoCellView> cell = std::move(spare_.back());
        spare_.pop_back();
        return cell;
    }
    auto cell = std::make_shared<PhotoCellView>();
    cell->setTapHandler([this](std::size_t index) {
        if (choose_)
            choose_(index);
    });
    return cell;
}

void PhotoGridView::thumbnailReady(std::size_t index) {
    if (PhotoCellView* cell = cellForIndex(index))
        cell->setThumbnail(loader_->thumbnail(index));
}

} // namespace platform
