#pragma once

#include <memory>
#include <string>

#include "platform/graphics/Image.h"
#include "platform/graphics/Rect.h"

namespace platform {
class ScrollView;
class ScrollViewDelegate;
class View;
} // namespace platform

namespace zorbel {

class PictureButton;

// What the shape and colour-brush pickers share: a scroll view (tag 150) over
// a content view (tag 200) that holds one picture button per catalogue entry,
// four to a row, 80 points apart.
namespace PickerGrid {

constexpr int kScrollViewTag = 150;
constexpr int kContentViewTag = 200;
constexpr int kColumns = 4;
// Columns and rows alike.
constexpr float kPitch = 80;
constexpr float kLeftMargin = 10;
// Up to this content height everything shows without scrolling.
constexpr float kVisibleHeight = 276;
constexpr float kPortraitWidth = 320;
constexpr float kLandscapeWidth = 480;

// Scroll view settings: content touches can be cancelled, no clipping,
// directional lock, no bounce; `delegate` hears its callbacks.
void configureScrollView(platform::ScrollView& scrollView, platform::ScrollViewDelegate* delegate);

// Gives the content view the height (and, in landscape, the width 480),
// sizes the scrollable area (scrolling only when the content is taller than
// kVisibleHeight) and shows the top.
void layOutContent(platform::ScrollView& scrollView, platform::View& content, float height,
                   bool landscape);

// A picture button of side `side` for entry `index`: its frame's origin is
// the cell's (column index % 4, row index / 4, the first row at `top`) moved
// by half the room the picture leaves in the button, so the picture, drawn
// at its own size from the button's corner, sits centred in the cell (one
// larger than the button is fitted into it); the tag is the index, and the
// headless `press` finds it by the catalogue name.
std::shared_ptr<PictureButton> makeButton(int index, const std::string& name,
                                          const platform::ImageRef& picture, float side, float top);

} // namespace PickerGrid

} // namespace zorbel
