// Interface files, as a screen loads them, with the platform's view classes
// (an app class is an unknown class here, which the loader must refuse well).
#include <memory>
#include <string_view>

#include "fuzz/FuzzEntries.h"
#include "platform/foundation/Log.h"
#include "platform/graphics/Context.h"
#include "platform/ui/Action.h"
#include "platform/ui/InterfaceLoader.h"
#include "platform/ui/View.h"

namespace fuzz {

namespace {

// An owner with a few of the actions and outlets the app's files name, so
// that both the found and the unknown paths are taken.
class FuzzOwner : public platform::InterfaceOwner {
public:
    FuzzOwner() {
        for (const char* name : {"save:", "cancel:", "done:", "undo:", "selectToolAction:",
                                 "brushOpacityChange:", "smoothSwitchAction:", "blendMode:"})
            registerAction(name, [](platform::ActionSender*) {});
        registerOutlet("scrollView", [](const std::shared_ptr<platform::View>&) { return true; });
        registerOutlet("navigationBar", any_);
        registerOutlet("brushOpacitySlider", any_);
    }

private:
    std::shared_ptr<platform::View> any_;
};

} // namespace

int interfaceLoader(const std::uint8_t* data, std::size_t size) {
    platform::setLogQuiet(true);
    platform::clearLogCapture();
    FuzzOwner owner;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    auto view = platform::InterfaceLoader::loadString(text, "Fuzz", &owner);
    if (!view || !*view)
        return 0;
    // A loaded tree must also lay itself out and draw.
    (*view)->layoutIfNeeded();
    if (auto ctx = platform::Context::createBitmap(80, 120, nullptr, platform::YAxis::Down)) {
        ctx->scaleCTM(0.25f, 0.25f);
        (*view)->renderInContext(*ctx);
    }
    return 0;
}

} // namespace fuzz
