#pragma once

#include <optional>
#include <string>

#include "platform/graphics/Color.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Action.h"
#include "platform/ui/View.h"

namespace zorbel {

// The toolbar's colour well: a picture of the current colour (or, without
// one, the display colour filled in). A finger coming down on it or within
// 10 points around it performs its action at once: the toolbar's
// colorChoice:, which opens the colour picker.
class ToolbarColorView : public platform::View {
public:
    static constexpr float kTouchMargin = 10;
    // What the headless driver's `press` and a reader of the toolbar call it.
    static constexpr const char* kAccessibilityLabel = "Colour";
    static constexpr const char* kActionName = "colorChoice:";

    ToolbarColorView() = default;
    explicit ToolbarColorView(const platform::Rect& frame) : platform::View(frame) {}
    std::string className() const override { return "ToolbarColorView"; }

    const platform::ImageRef& toolbarImage() const { return toolbarImage_; }
    void setToolbarImage(platform::ImageRef image);
    const std::optional<platform::Color>& displayColor() const { return displayColor_; }
    void setDisplayColor(std::optional<platform::Color> color);
    // The toolbar's colorChoice:, called with this view as sender.
    const platform::Action& target() const { return target_; }
    void setTarget(platform::Action action) { target_ = std::move(action); }
    void doAction();

    bool pointInside(platform::Point p, const platform::Event* event) const override;
    void touchesBegan(const platform::TouchSet& touches, platform::Event& event) override;
    bool answersToPressName(std::string_view name) const override;
    void drawRect(platform::Context& context, const platform::Rect& dirty) override;

private:
    platform::ImageRef toolbarImage_;
    platform::Action target_;
    std::optional<platform::Color> displayColor_;
};

} // namespace zorbel
