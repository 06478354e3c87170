#pragma once

#include <memory>

#include "platform/imagepicker/ImagePickerControllerDelegate.h"
#include "platform/ui/ViewController.h"

namespace platform {
class Button;
}

namespace zorbel {

class CanvoViewController;

// The new-document screen (interface file "NewImage"): three buttons, "New"
// (a plain background sheet), "Photo Album" and "Take Photo". Whatever the
// source, the layers are removed and the picture becomes the background and
// the original, and the painting is no longer dirty.
//
// Closing: a background sheet closes its own screen and marks this one
// (quitOnRevealFlag), which closes as soon as it shows again; a photo closes
// the picker and this screen at once; a source that cannot be opened closes
// this screen.
class NewImageChoice : public platform::ViewController,
                       public platform::ImagePickerControllerDelegate {
public:
    static constexpr const char* kInterfaceName = "NewImage";

    explicit NewImageChoice(std::string interfaceName = kInterfaceName);
    ~NewImageChoice() override;

    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;
    void didReceiveMemoryWarning() override;
    bool shouldAutorotateToInterfaceOrientation(int) override { return false; }

    // --- Actions -------------------------------------------------------------
    void newImage(platform::ActionSender* sender);
    void getPhoto(platform::ActionSender* sender);
    void takePhoto(platform::ActionSender* sender);
    void cancel(platform::ActionSender* sender);

    // Presents the picker of that source from `controller`, picture editing
    // allowed; NO (and nothing shown) when the source is not there or an
    // argument is missing. The camera's marks the picture as the camera's first.
    bool startImagePickerFromViewController(platform::ViewController* controller,
                                            platform::ImagePickerControllerDelegate* delegate);
    bool startCameraPickerFromViewController(platform::ViewController* controller,
                                             platform::ImagePickerControllerDelegate* delegate);

    // --- The picker's answers --------------------------------------------------
    void imagePickerControllerDidFinishPickingImage(
        platform::ImagePickerController& picker, platform::ImageRef image,
        const platform::ImagePickerEditingInfo& info) override;
    void imagePickerControllerDidCancel(platform::ImagePickerController& picker) override;
    // The layers go; the edited picture (with "CropFlag") or the original
    // becomes the new background.
    void newImageObtained(platform::ImageRef image, const platform::ImagePickerEditingInfo& info);

    // --- Fields ----------------------------------------------------------------
    const std::shared_ptr<CanvoViewController>& canvoViewController() const {
        return canvoViewController_;
    }
    void setCanvoViewController(std::shared_ptr<CanvoViewController> controller) {
        canvoViewController_ = std::move(controller);
    }
    bool quitOnRevealFlag() const { return quitOnRevealFlag_; }
    void setQuitOnRevealFlag(bool quit) { quitOnRevealFlag_ = quit; }
    const std::shared_ptr<platform::Button>& newButton() const { return newButton_; }
    const std::shared_ptr<platform::Button>& photoAlbumButton() const { return photoAlbumButton_; }
    const std::shared_ptr<platform::Button>& cameraButton() const { return cameraButton_; }

private:
    bool startPicker(platform::ImagePickerSourceType type, platform::ViewController* controller,
                     platform::ImagePickerControllerDelegate* delegate);

    std::shared_ptr<CanvoViewController> canvoViewController_;
    bool quitOnRevealFlag_ = false;
    std::shared_ptr<platform::Button> newButton_;
    std::shared_ptr<platform::Button> photoAlbumButton_;
    std::shared_ptr<platform::Button> cameraButton_;
};

} // namespace zorbel
