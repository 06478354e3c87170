#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/ScrollView.h"
#include "platform/ui/ViewController.h"

namespace zorbel {

class PickerHost;

// The shape picker (interface file "ShapeSelector"): a scrolling grid of the
// overlay pictures' thumbnails, four to a row below a 60-point heading.
// Tapping one adds that picture to the painting as a new movable layer and
// closes the screen.
class ShapeSelectionViewController : public platform::ViewController,
                                     public platform::ScrollViewDelegate {
public:
    static constexpr const char* kInterfaceName = "ShapeSelector";
    static constexpr float kThumbnailSide = 60;
    static constexpr float kRowHeight = 90;
    static constexpr float kTop = 60;

    // `imageNameArray`: the overlay catalogue, picture names with extension.
    ShapeSelectionViewController(PickerHost& host, std::vector<std::string> imageNameArray,
                                 std::string interfaceName = kInterfaceName);
    ~ShapeSelectionViewController() override;

    void viewDidLoad() override;
    void didReceiveMemoryWarning() override;
    bool shouldAutorotateToInterfaceOrientation(int) override { return false; }

    // The sender is the thumbnail's button; its tag is the catalogue index.
    void buttonPushed(platform::ActionSender* sender);
    void cancel(platform::ActionSender* sender);
    // The thumbnail's resource base name: the name less its last three
    // characters, then "thumb" ("tophat.overlay.png" -> "tophat.overlay.thumb").
    static std::string imagenameToThumbName(const std::string& name);
    // (n / 4 + 1) rows of 90 points and the 60-point heading.
    static float contentHeightForCount(std::size_t count);

    bool scrollViewShouldScrollToTop(platform::ScrollView&) override { return true; }

    const std::vector<std::string>& imageNameArray() const { return imageNameArray_; }
    // The content view with the thumbnail buttons (tag 200).
    const std::shared_ptr<platform::View>& shapesView() const { return shapesView_; }
    platform::ScrollView* scrollView();

private:
    PickerHost& host_;
    std::vector<std::string> imageNameArray_;
    std::shared_ptr<platform::View> shapesView_;
    bool closing_ = false;
};

} // namespace zorbel
