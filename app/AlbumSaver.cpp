#include "app/AlbumSaver.h"

#include "platform/foundation/Log.h"
#include "platform/ui/PhotoAlbum.h"
#include "platform/ui/RunLoop.h"

namespace zorbel {

void AlbumSaver::save(platform::ImageRef picture, std::function<void()> unsaved,
                      std::function<void()> saved) {
    ++pending_->inFlight;
    std::weak_ptr<Pending> pending = pending_;
    platform::PhotoAlbum::writeImageToSavedPhotosAlbum(
        std::move(picture), [pending, unsaved = std::move(unsaved), saved = std::move(saved)](
                                const platform::Result<std::filesystem::path>& result) {
            const auto alive = pending.lock();
            if (alive)
                --alive->inFlight;
            imageDidFinishSaving(result, alive ? unsaved : std::function<void()>(),
                                 alive ? saved : std::function<void()>());
        });
}

void AlbumSaver::imageDidFinishSaving(const platform::Result<std::filesystem::path>& saved,
                                      const std::function<void()>& unsaved,
                                      const std::function<void()>& written) {
    if (saved) {
        platform::log("Saved the picture to the photo album: " + saved.value().string());
        if (written)
            written();
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
