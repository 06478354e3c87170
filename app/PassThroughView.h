#pragma once

#include <string>

#include "platform/ui/View.h"

namespace zorbel {

// A transparent container laid over the canvas: its subviews (the bars) take
// touches, the empty space between them lets touches through to what lies
// below.
class PassThroughView : public platform::View {
public:
    PassThroughView() = default;
    explicit PassThroughView(const platform::Rect& frame) : platform::View(frame) {}
    std::string className() const override { return "PassThroughView"; }
    bool drawsContent() const override { return false; } // a container

    platform::View* hitTest(platform::Point p, const platform::Event* event) override;
};

} // namespace zorbel
