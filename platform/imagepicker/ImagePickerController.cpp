#include "platform/imagepicker/ImagePickerController.h"

#include "platform/foundation/Log.h"
#include "platform/graphics/Context.h"
#include "platform/imagepicker/Camera.h"
#include "platform/imagepicker/CameraPreviewView.h"
#include "platform/imagepicker/ImageEditingView.h"
#include "platform/imagepicker/PhotoGridView.h"
#include "platform/imagepicker/PhotoLibrary.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button+Style.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/Toolbar.h"

namespace platform {

namespace {

ImagePickerController::CameraFactory& cameraFactory() {
    static ImagePickerController::CameraFactory factory;
    return factory;
}

std::unique_ptr<Camera> openCamera() {
    if (cameraFactory())
        return cameraFactory()();
    return Camera::openFirst();
}

constexpr float kBarHeight = 44;
constexpr float kShutterBarHeight = 64;

// The shutter: a white disc in a ring, 52 points across.
std::shared_ptr<Button> makeShutterButton(ImagePickerController* owner) {
    constexpr int kSide = 104; // drawn at two pixels a point
    auto bitmap = Context::createBitmap(kSide, kSide, nullptr, YAxis::Down);
    if (bitmap) {
        style::fillEllipse(*bitmap, Rect(0, 0, kSide, kSide), Color::white());
        style::fillEllipse(*bitmap, Rect(8, 8, kSide - 16, kSide - 16), Color::black());
        style::fillEllipse(*bitmap, Rect(14, 14, kSide - 28, kSide - 28), Color::white());
    }
    auto button = std::make_shared<Button>(ButtonType::Custom, Rect(0, 0, 52, 52));
    if (bitmap)
        button->setImage(bitmap->makeImage());
    button->setAccessibilityLabel("Shutter");
    button->addTarget(
        owner, [owner](ActionSender* s) { owner->shutter(s); }, ControlEventTouchUpInside,
        "shutter:");
    return button;
}

} // namespace

bool ImagePickerController::isSourceTypeAvailable(ImagePickerSourceType type) {
    if (type == ImagePickerSourceType::PhotoLibrary)
        return true;
    if (cameraFactory()) {
        // A test camera counts as there when it can be made.
        return cameraFactory()() != nullptr;
    }
    return Camera::isAvailable();
}

void ImagePickerController::setCameraFactory(CameraFactory factory) {
    cameraFactory() = std::move(factory);
}

ImagePickerController::ImagePickerController() {
    registerAction("cancel:", [this](ActionSender* s) { cancel(s); });
    registerAction("choose:", [this](ActionSender* s) { choose(s); });
    registerAction("shutter:", [this](ActionSender* s) { shutter(s); });
}

ImagePickerController::~ImagePickerController() {
    stopCamera();
}

void ImagePickerController::setLibraryFolders(std::vector<std::filesystem::path> folders) {
    folders_ = std::move(folders);
    foldersSet_ = true;
}

void ImagePickerController::loadView() {
    const Rect frame(0, 0, 320, 460);
    auto root = std::make_shared<View>(frame);
    root->setBackgroundColor(Color::black());
    root->setAutoresizingMask(AutoresizingFlexibleWidth | AutoresizingFlexibleHeight);
    const float w = frame.width(), h = frame.height();

    if (sourceType_ == ImagePickerSourceType::PhotoLibrary) {
        grid_ = std::make_shared<PhotoGridView>(Rect(0, kBarHeight, w, h - kBarHeight));
        grid_->setAutoresizingMask(AutoresizingFlexibleWidth | AutoresizingFlexibleHeight);
        grid_->setChooseHandler([this](std::size_t index) { chooseEntry(index); });
        std::vector<std::filesystem::path> files;
        for (auto& entry : PhotoLibrary::scan(foldersSet_ ? folders_ : PhotoLibrary::defaultFolders()))
            files.push_back(std::move(entry.path));
        grid_->setFiles(std::move(files));
        root->addSubview(grid_);

        message_ = std::make_shared<Label>();
        message_->setFrame(Rect(20, kBarHeight + 120, w - 40, 80));
        message_->setAutoresizingMask(AutoresizingFlexibleWidth);
        message_->setNumberOfLines(3);
        message_->setTextAlignment(TextAlignment::Center);
        message_->setTextColor(style::kSecondaryLabel);
        message_->setFont(Font::systemFontOfSize(16));
        message_->setText("No pictures yet.\nPNG and JPEG pictures in your Pictures folder show here.");
        message_->setHidden(grid_->count() != 0);
        root->addSubview(message_);
    } else {
        preview_ = std::make_shared<CameraPreviewView>();
        preview_->setFrame(Rect(0, kBarHeight, w, h - kBarHeight - kShutterBarHeight));
        preview_->setAutoresizingMask(AutoresizingFlexibleWidth | AutoresizingFlexibleHeight);
        root->addSubview(preview_);
        shutterBar_ = std::make_shared<Toolbar>();
        shutterBar_->setFrame(Rect(0, h - kShutterBarHeight, w, kShutterBarHeight));
        shutterBar_->setAutoresizingMask(AutoresizingFlexibleWidth | AutoresizingFlexibleTopMargin);
        shutterBar_->setBarStyle(BarStyle::Black);
        auto space = [] { return BarButtonItem::withSystemItem(BarButtonSystemItem::FlexibleSpace); };
        shutterBar_->setItems({space(), BarButtonItem::withCustomView(makeShutterButton(this)), space()});
        root->addSubview(shutterBar_);
    }

    editor_ = std::make_shared<ImageEditingView>();
    editor_->setFrame(Rect(0, kBarHeight, w, h - kBarHeight));
    editor_->setAutoresizingMask(AutoresizingFlexibleWidth | AutoresizingFlexibleHeight);
    editor_->setHidden(true);
    root->addSubview(editor_);

    bar_ = std::make_shared<NavigationBar>();
    bar_->setFrame(Rect(0, 0, w, kBarHeight));
    bar_->setAutoresizingMask(AutoresizingFlexibleWidth);
    bar_->setBarStyle(BarStyle::Black);
    root->addSubview(bar_);
    setView(root);
    showStage(sourceType_ == ImagePickerSourceType::Camera ? Stage::Camera : Stage::Library);
}

std::string ImagePickerController::emptyMessage() const {
    return message_ && !message_->isHidden() ? message_->text() : std::string();
}

void ImagePickerController::showStage(Stage stage) {
    stage_ = stage;
    const bool editing = stage == Stage::Editing;
    if (grid_)
        grid_->setHidden(editing);
    if (message_)
        message_->setHidden(editing || !grid_ || grid_->count() != 0);
    if (preview_)
        preview_->setHidden(editing);
    if (shutterBar_)
        shutterBar_->setHidden(editing);
    editor_->setHidden(!editing);
    const auto cancelItem = BarButtonItem::withTitle(
        "Cancel", BarButtonItemStyle::Bordered, this, [this](ActionSender* s) { cancel(s); },
        "cancel:");
    bar_->setLeftItem(cancelItem);
    if (editing) {
        bar_->setTitle("Adjust");
        bar_->setRightItem(BarButtonItem::withTitle(
            "Choose", BarButtonItemStyle::Done, this, [this](ActionSender* s) { choose(s); },
            "choose:"));
    } else {
        bar_->setTitle(stage == Stage::Camera ? "Camera" : "Photos");
        bar_->setRightItem(nullptr);
    }
}

void ImagePickerController::viewDidAppear(bool) {
    if (stage_ == Stage::Camera)
        startCamera();
}

void ImagePickerController::viewWillDisappear(bool) {
    stopCamera();
}

void ImagePickerController::startCamera() {
    if (!camera_)
        camera_ = openCamera();
    if (!camera_) {
        log("Camera picker: no camera to show");
        return;
    }
    camera_->setFrameHandler([this] {
        if (preview_ && camera_)
            preview_->setPicture(camera_->latestFrame());
    });
    (void)camera_->start();
}

void ImagePickerController::stopCamera() {
    if (camera_) {
        camera_->stop();
        camera_->setFrameHandler({});
    }
}

void ImagePickerController::cancel(ActionSender*) {
    if (finished_)
        return;
    if (stage_ == Stage::Editing) {
        // Back to choosing: the grid as it was, or the camera live again.
        if (sourceType_ == ImagePickerSourceType::Camera) {
            showStage(Stage::Camera);
            startCamera();
        } else {
            showStage(Stage::Library);
        }
        return;
    }
    stopCamera();
    finished_ = true;
    if (delegate_)
        delegate_->imagePickerControllerDidCancel(*this);
}

void ImagePickerController::choose(ActionSender*) {
    if (finished_ || stage_ != Stage::Editing || !editor_->image())
        return;
    finish(editor_->editedImage(kEditedMaxSide), editor_->image(), editor_->cropRect());
}

void ImagePickerController::shutter(ActionSender*) {
    if (finished_ || stage_ != Stage::Camera || !camera_)
        return;
    ImageRef frame = camera_->latestFrame();
    if (!frame) {
        log("Camera picker: no picture from the camera yet");
        return;
    }
    stopCamera();
    pictureTaken(std::move(frame));
}

void ImagePickerController::chooseEntry(std::size_t index) {
    if (finished_ || stage_ != Stage::Library || !grid_ || index >= grid_->count())
        return;
    const std::filesystem::path& file = grid_->files()[index];
    auto picture = loadPicture(file);
    if (!picture) {
        log("Photo library: " + file.string() + " was not opened: " + picture.error());
        auto alert = std::make_shared<AlertView>("Cannot Open Picture",
                                                 "This file cannot be read as a picture.",
                                                 nullptr, "OK", std::vector<std::string>{});
        alert->show();
        return;
    }
    pictureTaken(picture.value());
}

void ImagePickerController::pictureTaken(ImageRef picture) {
    if (finished_ || !picture)
        return;
    picture = uprightImage(picture);
    if (!allowsImageEditing_) {
        const Size s = picture->size();
        finish(picture, picture, Rect(0, 0, s.width, s.height));
        return;
    }
    (void)view();
    editor_->setImage(std::move(picture));
    showStage(Stage::Editing);
}

void ImagePickerController::finish(ImageRef edited, ImageRef original, const Rect& crop) {
    if (!edited) {
        log("Image picker: no memory for the edited picture");
        return;
    }
    finished_ = true;
    stopCamera();
    if (delegate_)
        delegate_->imagePickerControllerDidFinishPickingImage(*this, std::move(edited),
                                                              {std::move(original), crop});
}

Result<ImageRef> ImagePickerController::loadPicture(const std::filesystem::path& file) {
    return Image::load(file, kPictureMaxDimension);
}

ImageRef ImagePickerController::uprightImage(const ImageRef& image) {
    if (auto upright = Image::upright(image))
        return upright;
    log("Image picker: no memory to turn the picture upright");
    return image;
}

} // namespace platform
