#pragma once

#include <memory>
#include <string>

#include "platform/foundation/Result.h"
#include "platform/ui/Action.h"
#include "platform/ui/View.h"

namespace platform {

class Window;

// One screen: a view tree made from an interface file (or in code), its
// actions and outlets, its modal presentations and its rotation answers.
//
// Life: make controllers with std::make_shared (presentation keeps the
// presented one alive until it is dismissed; weak_from_this must work).
// The view is made on first use of view(): loadView (the interface file
// named in the constructor, bound to this controller's registered actions and
// outlets — register them in the constructor), then viewDidLoad.
//
// Modal presentation: the presented view covers the window below the status
// bar (the whole window when the bar is hidden or wantsFullScreenLayout),
// sliding up from the bottom over kModalTransitionDuration when animated.
// Order of calls: presented viewWillAppear, presenter viewWillDisappear,
// (slide), presented viewDidAppear, presenter viewDidDisappear; dismissal
// the same way round. modalViewController() is cleared as dismissal starts;
// the presented controller is released when it ends.
class ViewController : public InterfaceOwner, public std::enable_shared_from_this<ViewController> {
public:
    static constexpr double kModalTransitionDuration = 0.3;

    // A controller whose view is made in code (override loadView) or is a
    // plain empty view.
    ViewController();
    // A controller whose view comes from resources/interfaces/<name>.json.
    explicit ViewController(std::string interfaceName);
    ~ViewController() override;
    ViewController(const ViewController&) = delete;
    ViewController& operator=(const ViewController&) = delete;

    const std::string& interfaceName() const { return interfaceName_; }
    // Loads the view if needed.
    const std::shared_ptr<View>& view();
    bool isViewLoaded() const { return view_ != nullptr; }
    void setView(std::shared_ptr<View> view);
    // How the view was loaded: a failure keeps an empty view in its place
    // (and the reason was logged).
    const Status& loadStatus() const { return loadStatus_; }

    const std::string& title() const { return title_; }
    void setTitle(const std::string& title) { title_ = title; }
    bool wantsFullScreenLayout() const { return wantsFullScreenLayout_; }
    void setWantsFullScreenLayout(bool v) { wantsFullScreenLayout_ = v; }

    // Overridable life cycle.
    virtual void loadView();
    virtual void viewDidLoad() {}
    virtual void viewWillAppear(bool /*animated*/) {}
    virtual void viewDidAppear(bool /*animated*/) {}
    virtual void viewWillDisappear(bool /*animated*/) {}
    virtual void viewDidDisappear(bool /*animated*/) {}
    // Memory warnings reach every live controller (after the delegate).
    virtual void didReceiveMemoryWarning() {}

    // Return and Escape that no view below took. The defaults hand them on to
    // the superview of this controller's view.
    virtual void keyReturn();
    virtual void keyEscape();

    // Rotation. The default allows portrait only.
    virtual bool shouldAutorotateToInterfaceOrientation(int orientation);
    virtual void willRotateToInterfaceOrientation(int /*orientation*/, double /*duration*/) {}
    virtual void didRotateFromInterfaceOrientation(int /*fromOrientation*/) {}
    // The window's interface orientation (1 when not in a window).
    int interfaceOrientation() const;

    // Modal screens.
    void presentModalViewController(std::shared_ptr<ViewController> controller, bool animated);
    // Asked of the presenter, dismisses what it presented (and anything that
    // presented in turn); asked of a presented controller without a modal of
    // its own, its presenter dismisses it.
    void dismissModalViewControllerAnimated(bool animated);
    ViewController* modalViewController() const { return modal_.get(); }
    ViewController* parentViewController() const { return parent_; }

private:
    void finishDismissal(std::shared_ptr<ViewController> presented, bool animated);
    Window* hostWindow() const;

    std::string interfaceName_;
    std::string title_;
    std::shared_ptr<View> view_;
    Status loadStatus_ = success();
    bool wantsFullScreenLayout_ = false;
    std::shared_ptr<ViewController> modal_;
    ViewController* parent_ = nullptr;
    bool loading_ = false;
};

} // namespace platform
