#include "pickers/ShapeSelectionViewController.h"

#include "pickers/PickerGrid.h"
#include "pickers/PickerHost.h"
#include "platform/foundation/Log.h"
#include "platform/ui/Window.h"

namespace zorbel {

ShapeSelectionViewController::ShapeSelectionViewController(PickerHost& host,
                                                           std::vector<std::string> imageNameArray,
                                                           std::string interfaceName)
    : platform::ViewController(std::move(interfaceName)), host_(host),
      imageNameArray_(std::move(imageNameArray)) {
    registerAction("cancel:", [this](platform::ActionSender* s) { cancel(s); });
    registerAction("buttonPushed:", [this](platform::ActionSender* s) { buttonPushed(s); });
}

ShapeSelectionViewController::~ShapeSelectionViewController() {
    if (auto* scroll = isViewLoaded() ? scrollView() : nullptr)
        scroll->setDelegate(nullptr);
}

platform::ScrollView* ShapeSelectionViewController::scrollView() {
    return PickerGrid::scrollViewIn(*view());
}

std::string ShapeSelectionViewController::imagenameToThumbName(const std::string& name) {
    return name.substr(0, name.size() < 3 ? 0 : name.size() - 3) + "thumb";
}

float ShapeSelectionViewController::contentHeightForCount(std::size_t count) {
    return float(count / PickerGrid::kColumns + 1) * kRowHeight + kTop;
}

void ShapeSelectionViewController::viewDidLoad() {
    const bool landscape = platform::isLandscape(host_.getCurrentOrientation());
    const PickerGrid::Layout layout{contentHeightForCount(imageNameArray_.size()), kThumbnailSide,
                                    kTop, [](const std::string& name) {
                                        platform::ImageRef thumbnail = platform::Image::named(
                                            imagenameToThumbName(name) + ".png");
                                        if (!thumbnail) {
                                            platform::log(name);
                                            platform::log("Overlay Thumbnail Not found!");
                                        }
                                        return thumbnail;
                                    }};
    shapesView_ = PickerGrid::build(
        *view(), this, imageNameArray_, layout, landscape, this,
        [this](platform::ActionSender* s) { buttonPushed(s); }, "ShapeSelectionVC");
}

void ShapeSelectionViewController::didReceiveMemoryWarning() {
    platform::ViewController::didReceiveMemoryWarning();
    platform::log("******* didReceiveMemoryWarning ShapeSelectionVC");
}

void ShapeSelectionViewController::buttonPushed(platform::ActionSender* sender) {
    const auto chosen = PickerGrid::chosenIndex(sender, imageNameArray_.size());
    if (closing_ || !chosen)
        return;
    const int index = int(*chosen);
    closing_ = true;
    host_.setOverlayIndex(index);
    host_.setDirtyFlag(true);
    host_.AddShape(imageNameArray_[std::size_t(index)]);
    dismissModalViewControllerAnimated(true);
}

void ShapeSelectionViewController::cancel(platform::ActionSender*) {
    if (closing_)
        return;
    closing_ = true;
    dismissModalViewControllerAnimated(true);
}

} // namespace zorbel
