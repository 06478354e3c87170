#include "layers/LayersDelegate.h"

#include "platform/ui/Application.h"

namespace zorbel {

LayersDelegate* LayersDelegate::shared() {
    return dynamic_cast<LayersDelegate*>(platform::Application::shared().delegate());
}

} // namespace zorbel
