#include "pickers/ColorBrushSelectionViewController.h"

#include "pickers/PickerHost.h"
#include "pickers/PickerGrid.h"
#include "pickers/PictureButton.h"
#include "platform/foundation/Log.h"
#include "platform/ui/Window.h"

namespace zorbel {

ColorBrushSelectionViewController::ColorBrushSelectionViewController(
    PickerHost* host, std::vector<std::string> imageNameArray, std::string interfaceName)
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
    return dynamic_cast<platform::ScrollView*>(view()->viewWithTag(PickerGrid::kScrollViewTag));
}

float ColorBrushSelectionViewController::contentHeightForCount(std::size_t count) {
    return float(count / PickerGrid::kColumns + 1) * kRowHeight + kBottom;
}

void ColorBrushSelectionViewController::viewDidLoad() {
    platform::ScrollView* scroll = scrollView();
    platform::View* content = scroll ? scroll->viewWithTag(PickerGrid::kContentViewTag) : nullptr;
    if (!scroll || !content) {
        platform::log("ColorBrushSelectionVC: no scroll view (tag 150) with content (tag 200)");
        return;
    }
    colorBrushView_ = content->shared_from_this();
    PickerGrid::configureScrollView(*scroll, this);
    const bool landscape = host_ && platform::isLandscape(host_->getCurrentOrientation());
    PickerGrid::layOutContent(*scroll, *content, contentHeightForCount(imageNameArray_.size()),
                              landscape);
    for (std::size_t i = 0; i < imageNameArray_.size(); ++i) {
        const std::string& name = imageNameArray_[i];
        auto button =
            PickerGrid::makeButton(int(i), name, platform::Image::named(name), kButtonSide, 0);
        button->addTarget(
            this, [this](platform::ActionSender* s) { buttonPushed(s); },
            platform::ControlEventTouchUpInside, "buttonPushed:");
        content->addSubview(std::move(button));
    }
}

void ColorBrushSelectionViewController::didReceiveMemoryWarning() {
    platform::ViewController::didReceiveMemoryWarning();
    platform::log("******* didReceiveMemoryWarning ColorBrushSelectionVC");
}

void ColorBrushSelectionViewController::buttonPushed(platform::ActionSender* sender) {
    auto* button = dynamic_cast<platform::View*>(sender);
    if (closing_ || !button)
        return;
    const int index = button->tag();
    if (index < 0 || std::size_t(index) >= imageNameArray_.size())
        return;
    closing_ = true;
    if (host_) {
        host_->setSelectedTool(Tool::ColorBrushTool);
        host_->applyTool();
        // A missing picture gives an empty brush of size 0.
        platform::ImageRef picture = platform::Image::named(imageNameArray_[std::size_t(index)]);
        const int size = picture ? int(picture->size().width) : 0;
        host_->setColorBrushImage(std::move(picture));
        host_->setBrushSize(size);
        host_->setColorBrushIndex(index);
    }
    dismissModalViewControllerAnimated(true);
}

void ColorBrushSelectionViewController::cancel(platform::ActionSender*) {
    if (closing_)
        return;
    closing_ = true;
    dismissModalViewControllerAnimated(true);
}

} // namespace zorbel
