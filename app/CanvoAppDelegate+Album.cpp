// Saving the picture to the person's photo album.

#include "app/CanvoAppDelegate.h"
#include "app/CanvoViewController.h"
#include "platform/foundation/Log.h"

namespace zorbel {

void CanvoAppDelegate::saveCurrentImageToAlbum() {
    auto picture = canvoViewController_ ? canvoViewController_->getFlattenedImageToSave()
                                        : platform::ImageRef();
    if (!picture) {
        // Nothing can be written; keep the picture marked unsaved so that
        // Save stays available rather than silently doing nothing again.
        platform::log("saveCurrentImageToAlbum: there is no picture to save");
        settings_.dirtyFlag = true;
        return;
    }
    albumSaver_.save(std::move(picture), [this] { settings_.dirtyFlag = true; });
}

} // namespace zorbel
