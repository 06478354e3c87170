#pragma once

#include <memory>
#include <string>

#include "platform/graphics/Color.h"

namespace platform {
class View;
}

namespace zorbel {

class TextLayerView;
class TouchImageView;

// What the movable layers and the text screens ask of the application. The
// application's delegate implements it; layers find it as the shared
// application's delegate, so a layer made by the unarchiver needs no link of
// its own. Main thread only.
class LayersDelegate {
public:
    // The tools under which each kind of layer takes touches (the shared tool
    // numbering: 4 moves overlay pictures, 5 moves text layers).
    static constexpr int kShapeTool = 4;
    static constexpr int kTextTool = 5;

    // The shared application's delegate when it is a LayersDelegate, else null.
    static LayersDelegate* shared();

    virtual ~LayersDelegate() = default;

    // The current drawing tool (the shared tool numbering).
    virtual int layersSelectedTool() const = 0;
    // The canvas: layers hand it the touches they do not take. May be null.
    virtual platform::View* layersCanvas() const = 0;
    // The picture layer touched last (null when it went away).
    virtual void setLastMovedTouchImageView(std::shared_ptr<TouchImageView> layer) = 0;
    // The text layer touched last, which the text screen edits and a colour
    // change recolours (null when it went away).
    virtual std::shared_ptr<TextLayerView> lastMovedTextLayer() const = 0;
    virtual void setLastMovedTextLayer(std::shared_ptr<TextLayerView> layer) = 0;
    // The document changed since it was last saved.
    virtual void setDirtyFlag(bool dirty) = 0;
    // The device orientation the document is shown in (3 and 4 are landscape).
    virtual int getCurrentOrientation() const = 0;
    // 1 upright, 3 turned (a landscape picture on the portrait canvas).
    virtual int documentOrientation() const = 0;
    // The current paint colour.
    virtual platform::Color getSelectedColor() const = 0;
    // Takes a new caption: marks the document dirty, makes it the last moved
    // text layer and adds it to the canvas.
    virtual void addTextLayer(std::shared_ptr<TextLayerView> layer) = 0;
    // The text entry screen's string for the application's own caption.
    virtual void setOverlayText(const std::string& text) = 0;
};

} // namespace zorbel
