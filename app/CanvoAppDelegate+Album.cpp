// Saving the picture to the person's photo album.

#include "app/CanvoAppDelegate.h"
#include "app/CanvoViewController.h"
#include "app/SavedNoteView.h"
#include "platform/foundation/Log.h"
#include "platform/ui/AlertView.h"

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
    albumSaver_.save(std::move(picture), [this] {
        settings_.dirtyFlag = true;
        // Save cleared the mark before the write ended: without a word the
        // person would take the failure for a save.
        if (window())
            std::make_shared<platform::AlertView>(
                "Picture Not Saved",
                "The picture could not be written to the photo album. It is still here: try "
                "Save again.",
                nullptr, "OK", std::vector<std::string>{})
                ->show();
    }, [this] {
        // The album write is silent otherwise: say where the picture went.
        if (window())
            SavedNoteView::showIn(*window());
    });
}

} // namespace zorbel
