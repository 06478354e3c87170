#include "app/NewImageChoice.h"

#include "app/ButtonWithTitle.h"
#include "app/CanvoAppDelegate.h"
#include "app/CanvoViewController.h"
#include "app/CleanBackgroundViewController.h"
#include "platform/foundation/Log.h"
#include "platform/imagepicker/ImagePickerController.h"
#include "platform/ui/Button.h"

namespace zorbel {

using platform::ActionSender;

namespace {

// The three buttons: title, top edge and action, all 200 x 40 at x = 60.
struct ChoiceButton {
    const char* title;
    float y;
    const char* selector;
    void (NewImageChoice::*action)(ActionSender*);
};

constexpr ChoiceButton kButtons[] = {
    {"New", 100, "newImage:", &NewImageChoice::newImage},
    {"Photo Album", 160, "getPhoto:", &NewImageChoice::getPhoto},
    {"Take Photo", 220, "takePhoto:", &NewImageChoice::takePhoto},
};

} // namespace

NewImageChoice::NewImageChoice(std::string interfaceName)
    : platform::ViewController(std::move(interfaceName)) {
    for (const ChoiceButton& b : kButtons) {
        auto action = b.action;
        registerAction(b.selector, [this, action](ActionSender* s) { (this->*action)(s); });
    }
    registerAction("cancel:", [this](ActionSender* s) { cancel(s); });
}

NewImageChoice::~NewImageChoice() = default;

void NewImageChoice::viewDidLoad() {
    const auto white = platform::Image::named("whiteButton.png");
    const auto blue = platform::Image::named("blueButton.png");
    std::shared_ptr<platform::Button>* fields[] = {&newButton_, &photoAlbumButton_, &cameraButton_};
    for (std::size_t i = 0; i < std::size(kButtons); ++i) {
        const ChoiceButton& b = kButtons[i];
        auto action = b.action;
        *fields[i] = buttonWithTitle(
            b.title, this, [this, action](ActionSender* s) { (this->*action)(s); }, b.selector,
            platform::Rect(60, b.y, 200, 40), white, blue, true);
        // Centred when the screen is wider (a landscape document).
        (*fields[i])->setAutoresizingMask(platform::AutoresizingFlexibleLeftMargin |
                                          platform::AutoresizingFlexibleRightMargin);
        view()->addSubview(*fields[i]);
    }
}

void NewImageChoice::viewDidAppear(bool) {
    if (quitOnRevealFlag_ && parentViewController())
        parentViewController()->dismissModalViewControllerAnimated(true);
}

void NewImageChoice::didReceiveMemoryWarning() {
    platform::ViewController::didReceiveMemoryWarning();
    platform::log("******* didReceiveMemoryWarning NewImageChoice");
}

void NewImageChoice::newImage(ActionSender*) {
    if (CanvoAppDelegate* d = CanvoAppDelegate::shared())
        d->setWasFromCamera(false);
    presentModalViewController(std::make_shared<CleanBackgroundViewController>(this), true);
}

void NewImageChoice::getPhoto(ActionSender*) {
    if (CanvoAppDelegate* d = CanvoAppDelegate::shared())
        d->setWasFromCamera(false);
    if (!startImagePickerFromViewController(this, this))
        dismissModalViewControllerAnimated(true);
}

void NewImageChoice::takePhoto(ActionSender*) {
    if (!startCameraPickerFromViewController(this, this))
        dismissModalViewControllerAnimated(true);
}

void NewImageChoice::cancel(ActionSender*) {
    dismissModalViewControllerAnimated(true);
}

bool NewImageChoice::startImagePickerFromViewController(
    platform::ViewController* controller, platform::ImagePickerControllerDelegate* delegate) {
    return startPicker(platform::ImagePickerSourceType::PhotoLibrary, controller, delegate);
}

bool NewImageChoice::startCameraPickerFromViewController(
    platform::ViewController* controller, platform::ImagePickerControllerDelegate* delegate) {
    return startPicker(platform::ImagePickerSourceType::Camera, controller, delegate);
}

bool NewImageChoice::startPicker(platform::ImagePickerSourceType type,
                                 platform::ViewController* controller,
                                 platform::ImagePickerControllerDelegate* delegate) {
    if (!controller || !delegate)
        return false;
    if (!platform::ImagePickerController::isSourceTypeAvailable(type)) {
        platform::log(type == platform::ImagePickerSourceType::Camera
                          ? "No camera: the new picture cannot be taken"
                          : "No photo library: no picture can be picked");
        return false;
    }
    if (type == platform::ImagePickerSourceType::Camera)
        if (CanvoAppDelegate* d = CanvoAppDelegate::shared())
            d->setWasFromCamera(true);
    auto picker = std::make_shared<platform::ImagePickerController>();
    picker->setSourceType(type);
    picker->setDelegate(delegate);
    picker->setAllowsImageEditing(true);
    controller->presentModalViewController(std::move(picker), true);
    return true;
}

void NewImageChoice::imagePickerControllerDidFinishPickingImage(
    platform::ImagePickerController& picker, platform::ImageRef image,
    const platform::ImagePickerEditingInfo& info) {
    // The picker and this screen go together, so hold on to both until the
    // dismissals have started.
    auto keepPicker = picker.shared_from_this();
    auto keepSelf = shared_from_this();
    newImageObtained(std::move(image), info);
    if (platform::ViewController* parent = picker.parentViewController())
        parent->dismissModalViewControllerAnimated(true);
    if (platform::ViewController* parent = parentViewController())
        parent->dismissModalViewControllerAnimated(true);
}

void NewImageChoice::imagePickerControllerDidCancel(platform::ImagePickerController& picker) {
    auto keepPicker = picker.shared_from_this();
    if (platform::ViewController* parent = picker.parentViewController())
        parent->dismissModalViewControllerAnimated(true);
}

void NewImageChoice::newImageObtained(platform::ImageRef image,
                                      const platform::ImagePickerEditingInfo& info) {
    CanvoAppDelegate* d = CanvoAppDelegate::shared();
    if (!d)
        return;
    d->removeAllSubviews();
    platform::ImageRef picture = info.originalImage;
    if (d->useCropImage()) {
        d->setWasCropped(true);
        picture = std::move(image);
    } else {
        d->setWasCropped(false);
    }
    if (!picture) {
        platform::log("newImageObtained: the picker gave no picture");
        return;
    }
    if (canvoViewController_)
        canvoViewController_->saveImage(std::move(picture));
    else if (auto main = d->canvoViewController())
        main->saveImage(std::move(picture));
}

} // namespace zorbel
