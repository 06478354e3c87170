#pragma once

#include <functional>
#include <string>

#include "platform/ui/ActivityIndicatorView.h"

namespace zorbel {

// The large spinning indicator of a one-shot effect. It tells once, on the
// main thread's next turn, that it has been drawn into a frame, so that the
// effect's completion can wait until a person has seen something happen.
class EffectProgressView : public platform::ActivityIndicatorView {
public:
    explicit EffectProgressView(const platform::Rect& frame);
    std::string className() const override { return "EffectProgressView"; }

    bool hasBeenDrawn() const { return drawn_; }
    // Called (posted to the main thread) after the first draw.
    void setFirstDrawHandler(std::function<void()> handler) { firstDraw_ = std::move(handler); }

    void drawRect(platform::Context& context, const platform::Rect& dirty) override;

private:
    bool drawn_ = false;
    std::function<void()> firstDraw_;
};

} // namespace zorbel
