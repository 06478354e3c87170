#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/graphics/Color.h"
#include "platform/graphics/Image.h"
#include "platform/ui/View.h"

namespace zorbel {

// A tool well for a toolbar: shows the tool's picture (or, without one, a
// square of its colour) and opens the tool picker the moment a finger comes
// near it: a hit within 10 points around its bounds sends its target's
// selectToolAction at once.
class ToolBarToolView : public platform::View {
public:
    // Who opens the tool picker (the toolbar controller).
    class Target {
    public:
        virtual ~Target() = default;
        virtual void selectToolAction(platform::ActionSender* sender) = 0;
    };
    // How far around its bounds a finger still hits it.
    static constexpr float kHitSlop = 10;

    ToolBarToolView();
    explicit ToolBarToolView(const platform::Rect& frame);
    std::string className() const override { return "ToolBarToolView"; }

    const platform::ImageRef& toolbarImage() const { return toolbarImage_; }
    void setToolbarImage(platform::ImageRef image);
    const std::shared_ptr<Target>& target() const { return target_; }
    void setTarget(std::shared_ptr<Target> target) { target_ = std::move(target); }
    const std::optional<platform::Color>& displayColor() const { return displayColor_; }
    void setDisplayColor(std::optional<platform::Color> color);

    // The target's selectToolAction with this view as sender.
    void doAction();

    void drawRect(platform::Context& context, const platform::Rect& dirty) override;
    platform::View* hitTest(platform::Point p, const platform::Event* event) override;

private:
    platform::ImageRef toolbarImage_;
    std::shared_ptr<Target> target_;
    std::optional<platform::Color> displayColor_;
};

} // namespace zorbel
