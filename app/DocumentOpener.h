#pragma once

#include <filesystem>
#include <functional>
#include <memory>

#include "platform/foundation/Result.h"
#include "platform/graphics/Image.h"
#include "platform/ui/ActionSheet.h"

namespace zorbel {

class CanvoAppDelegate;

// New documents that do not start from the new-document screen: a picture
// file (the command line, a drop on the window, "Open With") and Ctrl+O's
// photo library. Both first ask "Save Image?" when the picture is dirty, as
// the toolbar's new-document action does.
class DocumentOpener : public platform::ActionSheetDelegate {
public:
    explicit DocumentOpener(CanvoAppDelegate& app);
    ~DocumentOpener() override;

    // Reads the picture now. One that cannot be used (not a picture, damaged,
    // too large, not a regular file) is refused with a log line and an alert,
    // and the current picture stays as it is. A good one becomes the new
    // document as a photo from the album does: layers removed, turned
    // upright, reduced and fitted, not dirty.
    void openFile(const std::filesystem::path& file);
    // The new-document screen with the photo library picker open on it.
    void openPhotoLibrary();

    // The picture in `file` as the new document keeps it: decoded as the
    // photo library decodes it, turned upright and reduced to the canvas's
    // size. The one startPreparing made is taken when there is one.
    static platform::Result<platform::ImageRef> loadPicture(const std::filesystem::path& file);
    // Starts making loadPicture's picture on a thread of its own (a file named
    // at launch: it is read, decoded, turned and reduced while the window
    // opens).
    static void startPreparing(const std::filesystem::path& file);

    static constexpr const char* kRefusalTitle = "Cannot Open Picture";

    void actionSheetClickedButtonAtIndex(platform::ActionSheet& sheet, int index) override;

private:
    // Runs `then` now for a clean picture, otherwise after "No" or "Save".
    void afterSaveQuestion(std::function<void()> then);
    void takePicture(const platform::ImageRef& picture);

    CanvoAppDelegate& app_;
    std::function<void()> pending_;
    std::shared_ptr<platform::ActionSheet> sheet_;
};

} // namespace zorbel
