#pragma once

#include <string>
#include <vector>

#include "platform/graphics/Image.h"
#include "platform/graphics/Point.h"
#include "platform/ui/View.h"

namespace zorbel {

class BrushChoiceViewController;

// The brush picker's grid: the standard brush pictures, each centred at its
// own size in a 64-point cell, as many columns as whole cells fit across the
// view. A finger coming down on a picture chooses it at once and closes the
// screen; a touch anywhere else is not taken (it goes to the view behind).
class BrushImageChoiceView : public platform::View {
public:
    static constexpr int kCellSize = 64;
    // The size handed on with every choice, whatever the brush.
    static constexpr int kSelectedBrushPixelSize = 5;

    BrushImageChoiceView();
    explicit BrushImageChoiceView(const platform::Rect& frame);
    std::string className() const override { return "BrushImageChoiceView"; }

    // What the interface file's view does once made: the brush table's names
    // and their pictures.
    void awakeFromNib();
    // Loads every name of brushFilenames in order; a picture that cannot be
    // loaded is logged ("Standard Brush not found") and left out, so the ones
    // after it move up a place.
    void createBrushImagesFromPNGs();

    // The brush under a point (bounds coordinates), or -1: beside the columns,
    // below the last row, or past the last picture.
    int hitBrushIndex(platform::Point p) const;

    int getBrushIndex() const { return brushIndex_; }
    int getSelectedBrushSize() const { return selectedBrushPixelSize_; }
    // Columns of the grid: the frame's width in whole cells (at least one),
    // recomputed on every redraw.
    int numBrushBoxes() const { return numBrushBoxes_; }

    // Receives the choice; not owned.
    void setMyDelegate(BrushChoiceViewController* delegate) { myDelegate_ = delegate; }
    BrushChoiceViewController* myDelegate() const { return myDelegate_; }
    const std::vector<std::string>& brushFilenames() const { return brushFilenames_; }
    void setBrushFilenames(std::vector<std::string> names) { brushFilenames_ = std::move(names); }
    const std::vector<platform::ImageRef>& brushImages() const { return brushImages_; }
    void setBrushImages(std::vector<platform::ImageRef> images);

    platform::View* hitTest(platform::Point p, const platform::Event* event) override;
    void touchesBegan(const platform::TouchSet& touches, platform::Event& event) override;
    void drawRect(platform::Context& context, const platform::Rect& dirty) override;

private:
    void chooseBrush(int index);

    int brushIndex_ = 0;
    int selectedBrushPixelSize_ = kSelectedBrushPixelSize;
    int numBrushBoxes_ = 5;
    BrushChoiceViewController* myDelegate_ = nullptr;
    std::vector<std::string> brushFilenames_;
    std::vector<platform::ImageRef> brushImages_;
};

} // namespace zorbel
