#include "app/CleanBackgroundViewController.h"

#include "app/CanvoAppDelegate.h"
#include "app/NewImageChoice.h"
#include "platform/foundation/Log.h"
#include "platform/ui/Window.h"

namespace zorbel {

const std::array<CleanBackgroundViewController::Sheet, 11>& CleanBackgroundViewController::sheets() {
    static const std::array<Sheet, 11> table{{
        {"whiteAction:", "whitevert480.png"},
        {"yellowAction:", "yellowvert480.png"},
        {"blackAction:", "blackvert480.png"},
        {"yellowGridAction:", "liteyellowgridvert480.png"},
        {"indexCardVerticalAction:", "whiteindexcardvert480.png"},
        {"yellowIndexCardAction:", "yellowindexcardvert480.png"},
        {"whiteLandscapeAction:", "whitehorz480.png"},
        {"yellowLandscapeAction:", "yellowhorz480.png"},
        {"blackLandscapeAction:", "blackhorz480.png"},
        {"yellowGridLandscapeAction:", "liteyellowgridhorz480.png"},
        {"indexCardAction:", "indexcardhorz480.png"},
    }};
    return table;
}

CleanBackgroundViewController::CleanBackgroundViewController(NewImageChoice* newImageChoice,
                                                             std::string interfaceName)
    : platform::ViewController(std::move(interfaceName)) {
    if (newImageChoice)
        newImageChoice_ = std::static_pointer_cast<NewImageChoice>(newImageChoice->shared_from_this());
    for (std::size_t i = 0; i < sheets().size(); ++i)
        registerAction(sheets()[i].action, [this, i](platform::ActionSender*) { chooseSheet(i); });
    registerAction("cancelAction:", [this](platform::ActionSender* s) { cancelAction(s); });
    registerOutlet("scrollView", scrollView_);
}

CleanBackgroundViewController::~CleanBackgroundViewController() {
    if (scrollView_)
        scrollView_->setDelegate(nullptr);
}

void CleanBackgroundViewController::viewDidLoad() {
    CanvoAppDelegate* d = CanvoAppDelegate::shared();
    const bool landscape = d && platform::isLandscape(d->getCurrentOrientation());
    const platform::Size size = landscape ? kLandscapeContent : kPortraitContent;
    if (platform::View* sheetsView = view()->viewWithTag(kSheetsViewTag)) {
        platform::Rect frame = sheetsView->frame();
        frame.size = size;
        sheetsView->setFrame(frame);
    } else {
        platform::log("CleanBackgroundVC: no sheets view (tag 500)");
    }
    if (scrollView_) {
        scrollView_->setContentSize(size);
        scrollView_->setDelegate(this);
    }
}

void CleanBackgroundViewController::didReceiveMemoryWarning() {
    platform::ViewController::didReceiveMemoryWarning();
    platform::log("******* didReceiveMemoryWarning CleanBackgroundVC");
}

void CleanBackgroundViewController::chooseSheet(std::size_t index) {
    if (closing_ || index >= sheets().size())
        return;
    closing_ = true;
    loadImageBG(sheets()[index].picture);
    dismissModalViewControllerAnimated(true);
    if (newImageChoice_)
        newImageChoice_->setQuitOnRevealFlag(true);
}

void CleanBackgroundViewController::loadImageBG(const std::string& resourceName) {
    platform::ImageRef picture = platform::Image::named(resourceName);
    if (!picture) {
        platform::log("Background image not found");
        platform::log(resourceName);
        return;
    }
    if (CanvoAppDelegate* d = CanvoAppDelegate::shared()) {
        d->removeAllSubviews();
        d->setBGImage(std::move(picture));
    }
}

void CleanBackgroundViewController::cancelAction(platform::ActionSender*) {
    if (closing_)
        return;
    closing_ = true;
    dismissModalViewControllerAnimated(true);
}

} // namespace zorbel
