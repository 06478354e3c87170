#pragma once

#include <string>
#include <vector>

#include "platform/graphics/Image.h"
#include "platform/ui/Control.h"
#include "platform/ui/Font.h"

namespace platform {

// A row of segments of equal width, each with a title or a picture; one is
// selected. Touching a segment selects it and sends ValueChanged (when the
// selection changed, or always when momentary; a momentary control shows the
// selection only while the finger is down).
class SegmentedControl : public Control {
public:
    static constexpr int kNoSegment = -1;

    SegmentedControl();
    explicit SegmentedControl(const Rect& frame);
    explicit SegmentedControl(const std::vector<std::string>& titles);
    std::string className() const override { return "SegmentedControl"; }
    ControlEvents defaultActionEvents() const override { return ControlEventValueChanged; }

    int numberOfSegments() const { return int(segments_.size()); }
    void insertSegmentWithTitle(const std::string& title, int index);
    void insertSegmentWithImage(ImageRef image, int index);
    void removeSegmentAtIndex(int index);
    void removeAllSegments();
    void setTitle(const std::string& title, int segment);
    std::string titleForSegmentAtIndex(int segment) const;
    void setImage(ImageRef image, int segment);
    ImageRef imageForSegmentAtIndex(int segment) const;
    void setEnabled(bool enabled, int segment);
    bool isEnabledForSegmentAtIndex(int segment) const;

    int selectedSegmentIndex() const { return selected_; }
    // Out of range selects nothing (kNoSegment). Sends nothing.
    void setSelectedSegmentIndex(int index);
    bool isMomentary() const { return momentary_; }
    void setMomentary(bool momentary) { momentary_ = momentary; }
    Color tintColor() const { return tint_; }
    void setTintColor(const Color& color);
    // The titles' font (the system font of 13 points by default; null keeps it).
    FontRef font() const { return font_; }
    void setFont(FontRef font);

    // The segment under a point (bounds coordinates), or kNoSegment.
    int segmentAtPoint(Point p) const;
    Rect rectForSegment(int segment) const;

    // The titles joined, so `press` can find the control by any of them.
    std::string title() const override;

    bool beginTrackingWithTouch(Touch& touch, Event& event) override;
    void endTrackingWithTouch(Touch* touch, Event* event) override;
    void cancelTrackingWithEvent(Event* event) override;
    void setEnabled(bool enabled) override;
    Size sizeThatFits(Size size) const override;
    void drawRect(Context& context, const Rect& dirty) override;

private:
    struct Segment {
        std::string title;
        ImageRef image;
        bool enabled = true;
    };
    std::vector<Segment> segments_;
    int selected_ = kNoSegment;
    int pressed_ = kNoSegment; // the segment under the finger
    bool momentary_ = false;
    Color tint_;
    FontRef font_;
};

} // namespace platform
