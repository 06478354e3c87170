#pragma once

#include <string>

#include "pickers/PickerHost.h"
#include "platform/ui/ViewController.h"

namespace zorbel {

// A picker screen that turns only to the document's orientation and lays its
// controls out again after every turn: the tool picker and the slider panel.
// Subclasses give the two layouts.
class DocumentOrientedViewController : public platform::ViewController {
public:
    // `logName` names the screen in the memory-warning log line. The host
    // must outlive the screen.
    DocumentOrientedViewController(PickerHost& host, std::string interfaceName,
                                   std::string logName);

    void didReceiveMemoryWarning() override;
    bool shouldAutorotateToInterfaceOrientation(int orientation) override;
    void didRotateFromInterfaceOrientation(int fromOrientation) override;

    // Landscape while the toolbars are turned (orientation 3 or 4), else portrait.
    void adjustViewForOrientation();
    virtual void layoutForPortrait() = 0;
    virtual void layoutForLandscape() = 0;
    // Moves the subview with the tag so that its frame starts at (x, y), size kept.
    void setViewTagPosition(int tag, float x, float y);

protected:
    PickerHost& host() const { return host_; }

private:
    PickerHost& host_;
    std::string logName_;
};

} // namespace zorbel
