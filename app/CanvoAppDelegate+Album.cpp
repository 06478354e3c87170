// Saving the picture to the person's photo album.

#include "app/CanvoAppDelegate.h"
#include "app/CanvoViewController.h"
#include "platform/foundation/Log.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/PhotoAlbum.h"
#include "platform/ui/RunLoop.h"

namespace zorbel {

namespace {

// Album writes handed over and not yet answered (main thread only).
int albumSavesInFlight = 0;

} // namespace

void CanvoAppDelegate::saveCurrentImageToAlbum() {
    auto picture = canvoViewController() ? canvoViewController()->getFlattenedImageToSave()
                                         : platform::ImageRef();
    if (!picture) {
        // Nothing can be written; keep the picture marked unsaved so that
        // Save stays available rather than silently doing nothing again.
        platform::log("saveCurrentImageToAlbum: there is no picture to save");
        dirtyFlag_ = true;
        return;
    }
    // The completion holds no pointer to this delegate: it may run after the
    // application has ended, and finds the delegate anew if there is one.
    ++albumSavesInFlight;
    platform::PhotoAlbum::writeImageToSavedPhotosAlbum(
        std::move(picture), [](const platform::Result<std::filesystem::path>& saved) {
            --albumSavesInFlight;
            imageDidFinishSaving(saved);
        });
}

void CanvoAppDelegate::imageDidFinishSaving(const platform::Result<std::filesystem::path>& saved) {
    if (saved) {
        platform::log("Saved the picture to the photo album: " + saved.value().string());
        return;
    }
    platform::log("saveCurrentImageToAlbum: the picture was NOT saved: " + saved.error());
    if (CanvoAppDelegate* delegate = shared()) {
        delegate->setDirtyFlag(true);
        // Save cleared the mark before the write ended: without a word the
        // person would take the failure for a save.
        if (delegate->window()) {
            auto alert = std::make_shared<platform::AlertView>(
                "Picture Not Saved",
                "The picture could not be written to the photo album. It is still here: try "
                "Save again.",
                nullptr, "OK", std::vector<std::string>{});
            alert->show();
        }
    }
}

void CanvoAppDelegate::finishAlbumSaves() {
    if (albumSavesInFlight > 0)
        platform::RunLoop::main().drain();
}

} // namespace zorbel
