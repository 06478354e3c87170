#pragma once

#include <memory>

#include "platform/graphics/Color.h"
#include "platform/graphics/Image.h"
#include "platform/graphics/Rect.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/ViewController.h"

namespace platform {
class BarButtonItem;
class NavigationBar;
class Toolbar;
class View;
} // namespace platform

namespace zorbel {

class CanvoAppDelegate;

// The chrome laid over the picture: the navigation bar at the top and the
// toolbar at the bottom (interface file "NewMaster"). It shows the current
// tool (item 4) and colour (item 6), hides while the finger paints and in
// present mode, asks before a shake erases the picture or a new document
// replaces unsaved work, and turns for a landscape document while the
// picture stays where it is.
class NewMasterViewController : public platform::ViewController,
                                public platform::ActionSheetDelegate {
public:
    static constexpr const char* kInterfaceName = "NewMaster";
    // The bottom toolbar's items managed in code.
    static constexpr int kToolItemIndex = 4;
    static constexpr int kColorItemIndex = 6;
    // Tags of the two action sheets.
    static constexpr int kSaveImageSheetTag = 1;
    static constexpr int kEraseImageSheetTag = 2;
    // Seconds the chrome takes to fade back in.
    static constexpr double kShowDuration = 0.5;

    NewMasterViewController();
    ~NewMasterViewController() override;

    void viewDidLoad() override;
    // The toolbars are back (a picker closed): a pending slider panel opens.
    void viewDidAppear(bool animated) override;
    void didReceiveMemoryWarning() override;

    // --- Chrome ----------------------------------------------------------------
    // Status bar, toolbar and navigation bar out at once (nothing if hidden).
    void hideAllTools();
    // Status bar in, the bars fade in over half a second (nothing if showing).
    void showAllTools();
    bool areToolsShowing() const;
    void showAllToolsUnlessPresenting();
    void showAllToolsIfNecessary();

    // --- Toolbar actions (the sender is the control or item, may be null) --------
    void add(platform::ActionSender* sender);
    void save(platform::ActionSender* sender);
    void settings(platform::ActionSender* sender);
    void undo(platform::ActionSender* sender);
    void present(platform::ActionSender* sender);
    void brushChoice(platform::ActionSender* sender);
    void colorChoice(platform::ActionSender* sender);
    void selectToolAction(platform::ActionSender* sender);
    void textInputAction(platform::ActionSender* sender);
    // The text settings screen for the last moved caption (a new one when
    // none): what brushChoice opens under the text tool.
    void presentTextSettings();
    void addShape(platform::ActionSender*) {}
    void doAddImage();

    bool presentMode() const { return presentMode_; }
    void setPresentMode(bool on) { presentMode_ = on; }
    // A screen presented by this controller is up.
    bool isModalViewShowing() const { return modalViewController() != nullptr; }

    // Item 4 shows the picture and opens the tool picker.
    void setToolImage(platform::ImageRef image);
    // Item 6 shows a square of the colour and opens the colour picker.
    void setSelectedColor(const platform::Color& color);
    const platform::Color& color() const { return color_; }
    // A picture of `rect`'s size filled with the colour; null if it can't be made.
    static platform::ImageRef makeColorSquare(const platform::Rect& rect,
                                              const platform::Color& color);

    // --- Sheets ----------------------------------------------------------------
    // "Erase Image?": Yes erases to the original; either answer ends the shake.
    void shakeEraseRequest();
    void actionSheetClickedButtonAtIndex(platform::ActionSheet& sheet, int index) override;
    // The sheet on screen, if any.
    platform::ActionSheet* visibleSheet() const { return sheet_.get(); }

    // --- Rotation (only to the document's orientation, only with tools showing) --
    bool shouldAutorotateToInterfaceOrientation(int orientation) override;
    void willRotateToInterfaceOrientation(int orientation, double duration) override;
    void didRotateFromInterfaceOrientation(int fromOrientation) override;
    // 1 portrait, 3 landscape.
    int currentOrientation() const { return currentOrientation_; }

    // --- Outlets -----------------------------------------------------------------
    const std::shared_ptr<platform::Toolbar>& bottomToolbar() const { return bottomToolbar_; }
    const std::shared_ptr<platform::Toolbar>& topToolbar() const { return topToolbar_; }
    const std::shared_ptr<platform::NavigationBar>& navigationBar() const { return navigationBar_; }
    const std::shared_ptr<platform::View>& viewToHold() const { return viewToHold_; }
    void setViewToHold(std::shared_ptr<platform::View> view) { viewToHold_ = std::move(view); }
    const std::shared_ptr<platform::View>& toolbarColorView() const { return toolbarColorView_; }

private:
    CanvoAppDelegate* delegate() const;
    void showSheet(const std::string& title, const std::string& cancel,
                   const std::string& destructive, const std::vector<std::string>& others, int tag);
    // Replaces one item of the bottom toolbar, animated.
    void replaceItem(int index, std::shared_ptr<platform::BarButtonItem> item);

    std::shared_ptr<platform::Toolbar> bottomToolbar_;
    std::shared_ptr<platform::Toolbar> topToolbar_;
    std::shared_ptr<platform::NavigationBar> navigationBar_;
    std::shared_ptr<platform::View> viewToHold_;
    int currentOrientation_ = 1;
    bool presentMode_ = false;
    std::shared_ptr<platform::View> toolbarColorView_;
    platform::Color color_;
    std::shared_ptr<platform::ActionSheet> sheet_;
};

} // namespace zorbel
