#pragma once

#include "platform/graphics/Point.h"
#include "platform/ui/ViewController.h"

namespace zorbel {

class FingerOffsetView;

// The finger-offset screen (interface file "FingerOffset", whose view is a
// FingerOffsetView): Done hands the offset to the application delegate,
// which gives it to the canvas; Cancel writes nothing.
class FingerOffsetViewController : public platform::ViewController {
public:
    static constexpr const char* kInterfaceName = "FingerOffset";

    explicit FingerOffsetViewController(platform::Point fingerOffset,
                                        std::string interfaceName = kInterfaceName);

    void viewDidLoad() override;
    void didReceiveMemoryWarning() override;
    // Only to the document's orientation.
    bool shouldAutorotateToInterfaceOrientation(int orientation) override;
    void didRotateFromInterfaceOrientation(int fromOrientation) override;

    platform::Point fingerOffset();
    // Also redraws the view.
    void setFingerOffset(platform::Point offset);

    void done(platform::ActionSender* sender);
    void cancel(platform::ActionSender* sender);

    // Null when the interface file's view is not a FingerOffsetView.
    FingerOffsetView* offsetView();

private:
    platform::Point initialOffset_;
    bool closing_ = false;
};

} // namespace zorbel
