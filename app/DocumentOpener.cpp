#include "app/DocumentOpener.h"

#include "app/CanvoAppDelegate.h"
#include "app/NewImageChoice.h"
#include "app/NewMasterViewController.h"
#include "canvas/DocumentPictures.h"
#include "platform/foundation/Log.h"
#include "platform/graphics/PicturePreload.h"
#include "platform/imagepicker/ImagePickerController.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Toolbar.h"

namespace zorbel {

namespace {

// The answers of the "Save Image?" sheet, as the toolbar's.
constexpr int kNoIndex = 0;
constexpr int kSaveIndex = 1;

} // namespace

DocumentOpener::DocumentOpener(CanvoAppDelegate& app) : app_(app) {}

DocumentOpener::~DocumentOpener() {
    if (sheet_)
        sheet_->setDelegate(nullptr);
}

namespace {

// What the preload of a document's picture is known by.
constexpr std::string_view kDocumentPurpose = "the new document's picture";

// The picture made ready wherever it is made, on the launch's decoding thread
// or here: the reduction is the one the canvas makes of any new background,
// which then takes the picture as it is.
platform::Result<platform::ImageRef> documentPicture(const std::filesystem::path& file) {
    auto picture = platform::ImagePickerController::loadPicture(file);
    if (!picture)
        return picture;
    auto reduced = DocumentPictures::scaleAndRotateImage(
        platform::ImagePickerController::uprightImage(picture.value()));
    if (!reduced)
        return platform::Result<platform::ImageRef>::failure("no memory for the reduced picture");
    return reduced;
}

} // namespace

platform::Result<platform::ImageRef> DocumentOpener::loadPicture(const std::filesystem::path& file) {
    if (auto prepared = platform::PicturePreload::take(file, kDocumentPurpose))
        return std::move(*prepared);
    return documentPicture(file);
}

void DocumentOpener::startPreparing(const std::filesystem::path& file) {
    platform::PicturePreload::start(file, std::string(kDocumentPurpose),
                                    [file] { return documentPicture(file); });
}

void DocumentOpener::openFile(const std::filesystem::path& file) {
    if (app_.tooBusyForUserInteraction()) {
        platform::log("Cannot open " + file.string() + ": an effect is still running");
        return;
    }
    auto picture = loadPicture(file);
    if (!picture) {
        platform::log("Cannot open " + file.string() + ": " + picture.error());
        if (app_.window())
            std::make_shared<platform::AlertView>(
                kRefusalTitle,
                "\"" + file.filename().string() +
                    "\" cannot be read as a picture. The picture you have stays as it is.",
                nullptr, "OK", std::vector<std::string>{})
                ->show();
        return;
    }
    platform::log("Opening " + file.string());
    afterSaveQuestion([this, image = picture.value()] { takePicture(image); });
}

void DocumentOpener::openPhotoLibrary() {
    if (app_.tooBusyForUserInteraction())
        return;
    afterSaveQuestion([this] {
        auto master = app_.newMasterViewController();
        if (!master)
            return;
        master->doAddImage();
        if (auto* choice = dynamic_cast<NewImageChoice*>(master->modalViewController()))
            choice->getPhoto(nullptr);
    });
}

void DocumentOpener::afterSaveQuestion(std::function<void()> then) {
    auto master = app_.newMasterViewController();
    if (!app_.dirtyFlag() || !master) {
        then();
        return;
    }
    pending_ = std::move(then);
    if (sheet_)
        sheet_->setDelegate(nullptr);
    sheet_ = std::make_shared<platform::ActionSheet>("Save Image?", this, "Cancel", "No",
                                                     std::vector<std::string>{"Save"});
    if (master->bottomToolbar())
        sheet_->showFromToolbar(*master->bottomToolbar());
    else
        sheet_->showInView(*master->view());
}

void DocumentOpener::actionSheetClickedButtonAtIndex(platform::ActionSheet&, int index) {
    auto then = std::move(pending_);
    pending_ = nullptr;
    sheet_.reset();
    if (index != kNoIndex && index != kSaveIndex)
        return;
    if (index == kSaveIndex)
        if (auto master = app_.newMasterViewController())
            master->save(nullptr);
    if (then)
        then();
}

void DocumentOpener::takePicture(const platform::ImageRef& picture) {
    // The same path as a photo picked from the album, without the picker: the
    // whole picture is both the original and the edited one.
    app_.setWasFromCamera(false);
    auto choice = std::make_shared<NewImageChoice>();
    choice->setCanvoViewController(app_.canvoViewController());
    const platform::Size size = picture->size();
    choice->newImageObtained(picture, {picture, platform::Rect(0, 0, size.width, size.height)});
}

} // namespace zorbel
