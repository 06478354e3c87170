#pragma once

#include <cstddef>
#include <functional>

#include "platform/graphics/Image.h"
#include "platform/ui/View.h"

namespace platform {

// One cell of the photo grid: the thumbnail of one picture, or a plain grey
// square while it is decoded and when it cannot be. Cells are reused as the
// grid scrolls; a tap (a touch that ends inside, not taken by a scroll)
// reports the cell's entry.
class PhotoCellView : public View {
public:
    static constexpr Color kBlank = Color::rgb(0.82f, 0.82f, 0.84f);

    PhotoCellView();
    std::string className() const override { return "PhotoCellView"; }

    std::size_t index() const { return index_; }
    void setIndex(std::size_t index) { index_ = index; }
    const ImageRef& thumbnail() const { return thumbnail_; }
    // Null shows the blank square.
    void setThumbnail(ImageRef thumbnail);
    void setTapHandler(std::function<void(std::size_t)> handler) { tapped_ = std::move(handler); }

    bool answersToPressName(std::string_view name) const override;
    void drawRect(Context& context, const Rect& dirty) override;
    void touchesBegan(const TouchSet& touches, Event& event) override;
    void touchesEnded(const TouchSet& touches, Event& event) override;
    void touchesCancelled(const TouchSet& touches, Event& event) override;

private:
    std::size_t index_ = 0;
    ImageRef thumbnail_;
    bool pressed_ = false;
    std::function<void(std::size_t)> tapped_;
};

} // namespace platform
