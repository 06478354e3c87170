#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/imagepicker/ImagePickerControllerDelegate.h"
#include "platform/ui/ViewController.h"

namespace platform {

class Camera;
class CameraPreviewView;
class ImageEditingView;
class Label;
class NavigationBar;
class PhotoGridView;
class Toolbar;

// The screen that gives a new picture: from the photo library (a grid of the
// pictures in the person's folders, newest first) or from the camera (a live
// picture and a shutter). With editing allowed the picture then goes through
// the editing square, where it is moved and scaled; the delegate gets the
// edited picture, the crop rectangle and the original. Present it modally;
// the delegate dismisses it.
//
// A file that cannot be decoded (damaged, too large, unreadable) keeps a
// blank cell and is never handed to the delegate; tapping it says so.
class ImagePickerController : public ViewController {
public:
    // The edited picture has at most this many pixels a side.
    static constexpr int kEditedMaxSide = 640;
    // A chosen JPEG is decoded at the smallest scale that keeps its long side
    // at least this long: more than a 320 x 480 document can show.
    static constexpr int kPictureMaxDimension = 960;

    enum class Stage { Library, Camera, Editing };

    // The library is always there (an empty one says so); a camera only when
    // the system offers one.
    static bool isSourceTypeAvailable(ImagePickerSourceType type);
    // Tests: what opens "the camera" (null restores the system's first camera).
    using CameraFactory = std::function<std::unique_ptr<Camera>()>;
    static void setCameraFactory(CameraFactory factory);

    ImagePickerController();
    ~ImagePickerController() override;

    ImagePickerSourceType sourceType() const { return sourceType_; }
    void setSourceType(ImagePickerSourceType type) { sourceType_ = type; }
    ImagePickerControllerDelegate* delegate() const { return delegate_; }
    void setDelegate(ImagePickerControllerDelegate* delegate) { delegate_ = delegate; }
    bool allowsImageEditing() const { return allowsImageEditing_; }
    void setAllowsImageEditing(bool allows) { allowsImageEditing_ = allows; }
    // The library's folders (default: PhotoLibrary::defaultFolders()).
    void setLibraryFolders(std::vector<std::filesystem::path> folders);

    void loadView() override;
    void viewDidAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    bool shouldAutorotateToInterfaceOrientation(int) override { return false; }

    // Actions: Cancel leaves the picker (from the editing square: back to the
    // grid or the live picture); Choose takes the square; the shutter takes
    // the camera's newest frame.
    void cancel(ActionSender* sender);
    void choose(ActionSender* sender);
    void shutter(ActionSender* sender);
    // A cell of the grid was tapped.
    void chooseEntry(std::size_t index);
    // Opens the editing square on a picture (or, without editing, hands it over).
    void pictureTaken(ImageRef picture);

    Stage stage() const { return stage_; }
    PhotoGridView* gridView() const { return grid_.get(); }
    ImageEditingView* editingView() const { return editor_.get(); }
    CameraPreviewView* previewView() const { return preview_.get(); }
    Camera* camera() const { return camera_.get(); }
    // The line shown when the library has no pictures (empty otherwise).
    std::string emptyMessage() const;

    // The picture in a file, decoded as kPictureMaxDimension allows, with
    // the orientation it is stored with (uprightImage turns it).
    static Result<ImageRef> loadPicture(const std::filesystem::path& file);
    // The picture turned to orientation 0 (the same picture when it is).
    static ImageRef uprightImage(const ImageRef& image);

private:
    void showStage(Stage stage);
    void startCamera();
    void stopCamera();
    void finish(ImageRef edited, ImageRef original, const Rect& crop);

    ImagePickerSourceType sourceType_ = ImagePickerSourceType::PhotoLibrary;
    ImagePickerControllerDelegate* delegate_ = nullptr;
    bool allowsImageEditing_ = false;
    std::vector<std::filesystem::path> folders_;
    bool foldersSet_ = false;
    Stage stage_ = Stage::Library;

    std::shared_ptr<NavigationBar> bar_;
    std::shared_ptr<PhotoGridView> grid_;
    std::shared_ptr<Label> message_;
    std::shared_ptr<ImageEditingView> editor_;
    std::shared_ptr<CameraPreviewView> preview_;
    std::shared_ptr<Toolbar> shutterBar_;
    std::unique_ptr<Camera> camera_;
    bool finished_ = false;
};

} // namespace platform
