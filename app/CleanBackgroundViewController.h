#pragma once

#include <array>
#include <memory>
#include <string>

#include "platform/ui/ScrollView.h"
#include "platform/ui/ViewController.h"

namespace zorbel {

class NewImageChoice;

// The background sheets (interface file "CleanBackground"): inside its scroll
// view, the view with tag 500 holds one button per sheet. A sheet becomes the
// new background (the layers removed first), this screen closes and the
// new-document screen below is told to close when it shows again.
class CleanBackgroundViewController : public platform::ViewController,
                                      public platform::ScrollViewDelegate {
public:
    static constexpr const char* kInterfaceName = "CleanBackground";
    static constexpr int kSheetsViewTag = 500;

    // One row per sheet: its action and its picture.
    struct Sheet {
        const char* action;
        const char* picture;
    };
    static const std::array<Sheet, 11>& sheets();

    // Content size in the two interface orientations.
    static constexpr platform::Size kPortraitContent{320, 633};
    static constexpr platform::Size kLandscapeContent{480, 800};

    explicit CleanBackgroundViewController(NewImageChoice* newImageChoice,
                                           std::string interfaceName = kInterfaceName);
    ~CleanBackgroundViewController() override;

    void viewDidLoad() override;
    void didReceiveMemoryWarning() override;
    bool shouldAutorotateToInterfaceOrientation(int) override { return false; }

    // The sheet of row `index` (what each sheet's action does).
    void chooseSheet(std::size_t index);
    // The layers go and the resource picture becomes the new background.
    void loadImageBG(const std::string& resourceName);
    void cancelAction(platform::ActionSender* sender);

    const std::shared_ptr<NewImageChoice>& newImageChoice() const { return newImageChoice_; }
    const std::shared_ptr<platform::ScrollView>& scrollView() const { return scrollView_; }

private:
    std::shared_ptr<NewImageChoice> newImageChoice_;
    std::shared_ptr<platform::ScrollView> scrollView_;
    bool closing_ = false;
};

} // namespace zorbel
