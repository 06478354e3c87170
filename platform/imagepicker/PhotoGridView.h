#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "platform/imagepicker/ThumbnailLoader.h"
#include "platform/ui/ScrollView.h"

namespace platform {

class PhotoCellView;

// A scrolling grid of square thumbnails, four to a row (six when the view is
// at least 480 points wide). Only the rows in view, and one beyond each edge,
// have cells; cells leaving the view are reused for the rows coming in, and
// only their thumbnails are asked of the loader. Drawing a cell never waits
// for a decode: a cell whose thumbnail has not come back is grey until it does.
class PhotoGridView : public ScrollView {
public:
    static constexpr float kSpacing = 2;
    // Thumbnails kept beyond those in view, as a few screens' worth.
    static constexpr std::size_t kThumbnailsKept = 120;

    explicit PhotoGridView(const Rect& frame);
    ~PhotoGridView() override;
    std::string className() const override { return "PhotoGridView"; }

    // The pictures, in the order shown.
    void setFiles(std::vector<std::filesystem::path> files);
    std::size_t count() const { return files_.size(); }
    const std::vector<std::filesystem::path>& files() const { return files_; }
    void setChooseHandler(std::function<void(std::size_t index)> handler) {
        choose_ = std::move(handler);
    }

    int columns() const;
    float cellSide() const;
    // Where entry `index` sits in the content.
    Rect cellFrame(std::size_t index) const;
    // Entries with a cell now, in order.
    std::vector<std::size_t> visibleIndices() const;
    PhotoCellView* cellForIndex(std::size_t index) const;
    ThumbnailLoader* loader() const { return loader_.get(); }

    void setBounds(const Rect& bounds) override;
    void layoutSubviews() override;
    void didMoveToWindow() override;
    bool scrollWheel(Point location, float dx, float dy) override;

private:
    // Puts cells on the rows in view and asks for their thumbnails.
    void tile();
    // Takes the cells of indices outside [first, last] off the grid, to be reused.
    void recycleCellsOutside(std::size_t first, std::size_t last);
    // A spare cell, or a new one.
    std::shared_ptr<PhotoCellView> takeCell();
    void thumbnailReady(std::size_t index);

    std::vector<std::filesystem::path> files_;
    std::unique_ptr<ThumbnailLoader> loader_;
    std::map<std::size_t, std::shared_ptr<PhotoCellView>> cells_;
    std::vector<std::shared_ptr<PhotoCellView>> spare_;
    std::function<void(std::size_t)> choose_;
    bool tiling_ = false;
};

} // namespace platform
