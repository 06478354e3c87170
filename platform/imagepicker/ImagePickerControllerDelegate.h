#pragma once

#include "platform/graphics/Image.h"
#include "platform/graphics/Rect.h"

namespace platform {

class ImagePickerController;

// Where a picture comes from.
enum class ImagePickerSourceType {
    PhotoLibrary = 0, // the pictures in the person's folders
    Camera = 1,
};

// What comes with a picked picture besides the edited one.
struct ImagePickerEditingInfo {
    // The whole picture, upright.
    ImageRef originalImage;
    // The part of the original that the edited picture shows, in the
    // original's pixels (the whole picture when it was not edited).
    Rect cropRect;
};

// Told what the person did with the picker. Either call leaves the picker on
// screen: the delegate dismisses it.
class ImagePickerControllerDelegate {
public:
    virtual ~ImagePickerControllerDelegate() = default;
    virtual void imagePickerControllerDidFinishPickingImage(ImagePickerController& picker,
                                                            ImageRef image,
                                                            const ImagePickerEditingInfo& info) = 0;
    virtual void imagePickerControllerDidCancel(ImagePickerController& picker) = 0;
};

} // namespace platform
