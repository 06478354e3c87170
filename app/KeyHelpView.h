#pragma once

#include <functional>
#include <vector>

#include "app/KeyCommands.h"
#include "platform/ui/View.h"

namespace zorbel {

// The list of keys over the whole window (F1 or "?"): a title, then one line
// per key, the keys on the left and what they do on the right. A tap anywhere
// closes it (through the dismiss handler).
class KeyHelpView : public platform::View {
public:
    KeyHelpView(const platform::Rect& frame, const std::vector<KeyCommands::HelpLine>& lines);
    std::string className() const override { return "KeyHelpView"; }

    void setDismissHandler(std::function<void()> handler) { dismiss_ = std::move(handler); }
    void touchesEnded(const platform::TouchSet& touches, platform::Event& event) override;

    static constexpr const char* kTitle = "Keys";

private:
    std::function<void()> dismiss_;
};

} // namespace zorbel
