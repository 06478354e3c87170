#include "pickers/DocumentOrientedViewController.h"

#include "platform/foundation/Log.h"
#include "platform/ui/Window.h"

namespace zorbel {

DocumentOrientedViewController::DocumentOrientedViewController(PickerHost& host,
                                                               std::string interfaceName,
                                                               std::string logName)
    : platform::ViewController(std::move(interfaceName)), host_(host),
      logName_(std::move(logName)) {}

void DocumentOrientedViewController::didReceiveMemoryWarning() {
    platform::ViewController::didReceiveMemoryWarning();
    platform::log("******* didReceiveMemoryWarning " + logName_);
}

bool DocumentOrientedViewController::shouldAutorotateToInterfaceOrientation(int orientation) {
    return orientation == host_.documentOrientation();
}

void DocumentOrientedViewController::didRotateFromInterfaceOrientation(int fromOrientation) {
    if (platform::isLandscape(fromOrientation))
        layoutForPortrait();
    else
        layoutForLandscape();
}

void DocumentOrientedViewController::adjustViewForOrientation() {
    if (platform::isLandscape(host_.getCurrentOrientation()))
        layoutForLandscape();
    else
        layoutForPortrait();
}

void DocumentOrientedViewController::setViewTagPosition(int tag, float x, float y) {
    platform::View* v = view()->viewWithTag(tag);
    if (!v || v == view().get())
        return;
    platform::Rect frame = v->frame();
    frame.origin = {x, y};
    v->setFrame(frame);
}

} // namespace zorbel
