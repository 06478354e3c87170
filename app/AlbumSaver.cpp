#include "app/AlbumSaver.h"

#include "platform/foundation/Log.h"
#include "platform/ui/PhotoAlbum.h"
#include "platform/ui/RunLoop.h"

namespace zorbel {

void AlbumSaver::save(platform::ImageRef picture, std::function<void()> unsaved) {
    ++pending_->inFlight;
    std::weak_ptr<Pending> pending = pending_;
    platform::PhotoAlbum::writeImageToSavedPhotosAlbum(
        std::move(picture), [pending, unsaved = std::move(unsaved)](
                                const platform::Result<std::filesystem::path>& saved) {
            const auto alive = pending.lock();
            if (alive)
                --alive->inFlight;
            imageDidFinishSaving(saved, alive ? unsaved : std::function<void()>());
        });
}

void AlbumSaver::imageDidFinishSaving(const platform::Result<std::filesystem::path>& saved,
                                      const std::function<void()>& unsaved) {
    if (saved) {
        platform::log("Saved the picture to the photo album: " + saved.value().string());
        return;
    }
    platform::log("saveCurrentImageToAlbum: the picture was NOT saved: " + saved.error());
    if (unsaved)
        unsaved();
}

void AlbumSaver::finish() {
    if (pending_->inFlight > 0)
        platform::RunLoop::main().drain();
}

} // namespace zorbel
