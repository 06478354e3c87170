#include "pickers/PickerInterfaceClasses.h"

#include "pickers/BrushImageChoiceView.h"
#include "pickers/ColorChoiceView.h"
#include "pickers/ColorSquareView.h"
#include "pickers/RainbowColorView.h"
#include "platform/ui/InterfaceLoader.h"

namespace zorbel {

void registerPickerInterfaceClasses() {
    using platform::InterfaceLoader;
    using platform::InterfaceNode;
    InterfaceLoader::registerClass("BrushImageChoiceView", [](InterfaceNode&) {
        auto view = std::make_shared<BrushImageChoiceView>();
        view->awakeFromNib();
        return view;
    });
    InterfaceLoader::registerPlainClass<ColorChoiceView>("ColorChoiceView");
    InterfaceLoader::registerPlainClass<ColorSquareView>("ColorSquareView");
    InterfaceLoader::registerClass("RainbowColorView", [](InterfaceNode& node) {
        auto view = std::make_shared<RainbowColorView>();
        if (node.has("image"))
            view->setImage(node.image("image"));
        return view;
    });
}

} // namespace zorbel
