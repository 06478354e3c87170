#pragma once

namespace zorbel {

class LayersDelegate;

// What differs between the two movable layer bases while they share one
// gesture (LayerGesture): the tool that owns them and what the application
// hears of their touches. The defaults do nothing.
class LayerGestureHost {
public:
    virtual ~LayerGestureHost() = default;

    // The tool under which the layer takes touches (LayersDelegate::kShapeTool
    // or kTextTool); under any other the canvas gets them.
    virtual int owningTool() const = 0;
    // A phase is about to be handled by the layer itself. `began` is true for
    // the touch-down phase.
    virtual void noteTouched(LayersDelegate& /*delegate*/, bool /*began*/) {}
    // A finger came down while others already were on the layer.
    virtual void fingerJoined(LayersDelegate& /*delegate*/) {}
    // An end phase was handled (the gesture so far is committed).
    virtual void fingersLifted() {}
    // A triple tap: the layer leaves the canvas. `delegate` may be null.
    virtual void deleteLayer(LayersDelegate* delegate) = 0;
};

} // namespace zorbel
