#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "platform/graphics/Image.h"
#include "platform/graphics/Rect.h"
#include "platform/ui/Action.h"

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

// The scroll view (tag 150) among `root`'s subviews, or null.
platform::ScrollView* scrollViewIn(platform::View& root);

// How one picker fills its grid.
struct Layout {
    float contentHeight;
    float buttonSide;
    float top; // of the first row
    // The picture a catalogue name shows (null: an empty button).
    std::function<platform::ImageRef(const std::string&)> picture;
};

// Everything a grid picker does when its view loads: finds the scroll view
// and its content view in `root`, configures the scroll view for `delegate`,
// lays the content out (`landscape`: 480 wide) and adds one button per name,
// each sending `pushed` ("buttonPushed:") with itself as sender. Answers the
// content view; null, with a log line naming `who`, if the interface file
// has no scroll view with content.
std::shared_ptr<platform::View> build(platform::View& root, platform::ScrollViewDelegate* delegate,
                                      std::span<const std::string> names, const Layout& layout,
                                      bool landscape, const void* target, platform::Action pushed,
                                      const std::string& who);

// The catalogue entry a pushed button stands for: its tag, when it is a view
// whose tag lies within `count` names.
std::optional<std::size_t> chosenIndex(platform::ActionSender* sender, std::size_t count);

} // namespace PickerGrid

} // namespace zorbel
