#include "platform/ui/Action.h"

namespace platform {

void InterfaceOwner::registerAction(const std::string& name, Action action) {
    actions_[name] = std::move(action);
}

const Action* InterfaceOwner::actionNamed(std::string_view name) const {
    auto it = actions_.find(name);
    return it == actions_.end() ? nullptr : &it->second;
}

void InterfaceOwner::registerOutlet(const std::string& name, Outlet outlet) {
    outlets_[name] = std::move(outlet);
}

const InterfaceOwner::Outlet* InterfaceOwner::outletNamed(std::string_view name) const {
    auto it = outlets_.find(name);
    return it == outlets_.end() ? nullptr : &it->second;
}

} // namespace platform
