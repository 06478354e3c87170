#include "pickers/ColorBrushSelectionViewController.h"

#include "pickers/PickerGrid.h"
#include "pickers/PickerHost.h"
#include "platform/foundation/Log.h"
#include "platform/ui/Window.h"

namespace zorbel {

ColorBrushSelectionViewController::ColorBrushSelectionViewController(
    PickerHost& host, std::vector<std::string> imageNameArray, std::string interfaceName)
    : platform::ViewController(std::move(interfaceName)), host_(host),
      imageNameArray_(std::move(imageNameArray)) {
    registerAction("cancel:", [this](platform::ActionSender* s) { cancel(s); });
    registerAction("buttonPushed:", [this](platform::ActionSender* s) { buttonPushed(s); });
}

ColorBrushSelectionViewController::~ColorBrushSelectionViewController() {
    if (auto* scroll = isViewLoaded() ? scrollView() : nullptr)
        scroll->setDelegate(nullptr);
}

platform::ScrollView* ColorBrushSelectionViewController::scrollView() {
    return PickerGrid::scrollViewIn(*view());
}

float ColorBrushSelectionViewController::contentHeightForCount(std::size_t count) {
    return float(count / PickerGrid::kColumns + 1) * kRowHeight + kBottom;
}

void ColorBrushSelectionViewController::viewDidLoad() {
    const bool landscape = platform::isLandscape(host_.getCurrentOrientation());
    // The brushes show themselves, at their own size.
    const PickerGrid::Layout layout{
        contentHeightForCount(imageNameArray_.size()), kButtonSide, 0,
        [](const std::string& name) { return platform::Image::named(name); }};
    colorBrushView_ = PickerGrid::build(
        *view(), this, imageNameArray_, layout, landscape, this,
        [this](platform::ActionSender* s) { buttonPushed(s); }, "ColorBrushSelectionVC");
}

void ColorBrushSelectionViewController::didReceiveMemoryWarning() {
    platform::ViewController::didReceiveMemoryWarning();
    platform::log("******* didReceiveMemoryWarning ColorBrushSelectionVC");
}

void ColorBrushSelectionViewController::buttonPushed(platform::ActionSender* sender) {
    const auto chosen = PickerGrid::chosenIndex(sender, imageNameArray_.size());
    if (closing_ || !chosen)
        return;
    const int index = int(*chosen);
    closing_ = true;
    host_.setSelectedTool(Tool::ColorBrushTool);
    host_.applyTool();
    // A missing picture gives an empty brush of size 0.
    platform::ImageRef picture = platform::Image::named(imageNameArray_[std::size_t(index)]);
    const int size = picture ? int(picture->size().width) : 0;
    host_.setColorBrushImage(std::move(picture));
    host_.setBrushSize(size);
    host_.setColorBrushIndex(index);
    dismissModalViewControllerAnimated(true);
}

void ColorBrushSelectionViewController::cancel(platform::ActionSender*) {
    if (closing_)
        return;
    closing_ = true;
    dismissModalViewControllerAnimated(true);
}

} // namespace zorbel
