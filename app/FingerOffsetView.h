#pragma once

#include "platform/graphics/Point.h"
#include "platform/ui/View.h"

namespace zorbel {

// Where the finger touches against where the paint lands: the large cross at
// the centre marks where paint will land, the small one where the finger is.
// The offset is centre - touch, taken on every touch event; a double tap (or
// more) makes it (0, 0), paint right under the finger.
class FingerOffsetView : public platform::View {
public:
    FingerOffsetView();
    std::string className() const override { return "FingerOffsetView"; }

    platform::Point centerPoint() const { return centerPoint_; }
    void setCenterPoint(platform::Point p) { centerPoint_ = p; }
    platform::Point lastPointHit() const { return lastPointHit_; }
    void setLastPointHit(platform::Point p) { lastPointHit_ = p; }
    platform::Point fingerOffset() const { return fingerOffset_; }
    void setFingerOffset(platform::Point offset) { fingerOffset_ = offset; }

    // centerPoint = the middle of the frame.
    void awakeFromNib();
    void setFrame(const platform::Rect& frame) override;

    void touchesBegan(const platform::TouchSet& touches, platform::Event& event) override;
    void touchesMoved(const platform::TouchSet& touches, platform::Event& event) override;
    void touchesEnded(const platform::TouchSet& touches, platform::Event& event) override;
    void drawRect(platform::Context& context, const platform::Rect& dirty) override;
    void drawCenter(platform::Context& context);
    void drawFinger(platform::Context& context);

private:
    void touched(const platform::TouchSet& touches);

    platform::Point centerPoint_;
    platform::Point lastPointHit_;
    platform::Point fingerOffset_;
};

} // namespace zorbel
