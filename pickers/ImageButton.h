#pragma once

#include <memory>
#include <string>

#include "platform/ui/Action.h"
#include "platform/ui/ImageView.h"

namespace zorbel {

// A picture that acts as soon as a finger comes down on it: when a touch
// begins and it has a target, its action is sent (with the picture as
// sender). Moves, lifts and cancellations are ignored.
class ImageButton : public platform::ImageView {
public:
    ImageButton();
    explicit ImageButton(const platform::Rect& frame);
    std::string className() const override { return "ImageButton"; }

    // Kept alive while it is the target.
    const std::shared_ptr<void>& target() const { return target_; }
    void setTarget(std::shared_ptr<void> target) { target_ = std::move(target); }
    const platform::Action& action() const { return action_; }
    void setAction(platform::Action action) { action_ = std::move(action); }

    void touchesBegan(const platform::TouchSet& touches, platform::Event& event) override;
    void touchesMoved(const platform::TouchSet&, platform::Event&) override {}
    void touchesEnded(const platform::TouchSet&, platform::Event&) override {}
    void touchesCancelled(const platform::TouchSet&, platform::Event&) override {}

private:
    std::shared_ptr<void> target_;
    platform::Action action_;
};

} // namespace zorbel
