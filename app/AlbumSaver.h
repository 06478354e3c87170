#pragma once

#include <filesystem>
#include <functional>
#include <memory>

#include "platform/foundation/Result.h"
#include "platform/graphics/Image.h"

namespace zorbel {

// Writes pictures to the person's photo album in the background and takes the
// album's answers on the main thread: a saved picture is logged with its file,
// a failure is logged and reported to whoever asked, so that the picture
// counts as unsaved again and Save can be tried again.
class AlbumSaver {
public:
    // Hands the picture to the album. `unsaved` runs on the main thread if the
    // write fails, `saved` once it is written, unless this saver is gone by
    // then (the answer may come after the application has ended).
    void save(platform::ImageRef picture, std::function<void()> unsaved,
              std::function<void()> saved = {});
    // Waits for writes still under way and takes their answers, so that
    // ending the application neither cuts a picture off nor stores a failed
    // save as saved.
    void finish();
    // The album's answer to one write.
    static void imageDidFinishSaving(const platform::Result<std::filesystem::path>& saved,
                                     const std::function<void()>& unsaved,
                                     const std::function<void()>& written = {});

private:
    // Shared with the completions, which hold it weakly.
    struct Pending {
        int inFlight = 0;
    };
    std::shared_ptr<Pending> pending_ = std::make_shared<Pending>();
};

} // namespace zorbel
