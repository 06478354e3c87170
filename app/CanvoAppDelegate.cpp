#include "app/CanvoAppDelegate.h"

namespace zorbel {

CanvoAppDelegate::CanvoAppDelegate() = default;
CanvoAppDelegate::~CanvoAppDelegate() = default;

CanvoAppDelegate* CanvoAppDelegate::shared() {
    return dynamic_cast<CanvoAppDelegate*>(platform::Application::shared().delegate());
}

} // namespace zorbel
