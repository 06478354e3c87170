#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace platform {

class View;

// Anything that sends actions: every view (controls), bar button items.
class ActionSender {
public:
    virtual ~ActionSender() = default;
};

// An action: called with the object that sent it.
using Action = std::function<void(ActionSender* sender)>;

// An object that an interface file can be loaded for (its "owner"): it
// answers action names ("save:") with handlers and outlet names
// ("bottomToolbar") with slots, so the loader can wire controls and views to
// it. View controllers are owners; any other class may be one.
class InterfaceOwner {
public:
    virtual ~InterfaceOwner() = default;

    void registerAction(const std::string& name, Action action);
    // Null when the owner has no action of that name.
    const Action* actionNamed(std::string_view name) const;
    bool hasAction(std::string_view name) const { return actionNamed(name) != nullptr; }

    // An outlet receives the view the file names for it; it answers false
    // when the view is of the wrong class.
    using Outlet = std::function<bool(const std::shared_ptr<View>& view)>;
    void registerOutlet(const std::string& name, Outlet outlet);
    // Convenience: fills `slot` with the view cast to T (fails on another class).
    template <class T>
    void registerOutlet(const std::string& name, std::shared_ptr<T>& slot) {
        registerOutlet(name, [&slot](const std::shared_ptr<View>& v) {
            auto cast = std::dynamic_pointer_cast<T>(v);
            if (!cast)
                return false;
            slot = std::move(cast);
            return true;
        });
    }
    const Outlet* outletNamed(std::string_view name) const;

private:
    std::map<std::string, Action, std::less<>> actions_;
    std::map<std::string, Outlet, std::less<>> outlets_;
};

} // namespace platform
