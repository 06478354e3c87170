#include "layers/LayerStack.h"

#include <memory>
#include <typeinfo>
#include <vector>

#include "layers/LayersDelegate.h"
#include "layers/TextLayerView.h"
#include "layers/TouchImageView.h"
#include "platform/foundation/ArchiveFile.h"
#include "platform/foundation/Log.h"
#include "platform/ui/View.h"

namespace zorbel {

using platform::View;

namespace {

// Exactly the class, not a subclass: what the canvas treats as its layers.
template <class T>
bool isExactly(const View& view) {
    return typeid(view) == typeid(T);
}

template <class T>
void setTouchHandling(View& canvas, bool enabled) {
    for (const auto& sub : canvas.subviews())
        if (isExactly<T>(*sub))
            sub->setUserInteractionEnabled(enabled);
}

} // namespace

const platform::CodableRegistry& LayerStack::registry() {
    static const platform::CodableRegistry classes = [] {
        platform::CodableRegistry r;
        (void)r.registerClass("TouchImageView", &TouchImageView::initWithCoder);
        (void)r.registerClass("TextLayerView", &TextLayerView::initWithCoder);
        return r;
    }();
    return classes;
}

bool LayerStack::saveLayers(const View& canvas, const platform::ArchiveFile& file) {
    std::vector<const platform::Codable*> layers;
    for (const auto& sub : canvas.subviews())
        if (const auto* codable = dynamic_cast<const platform::Codable*>(sub.get()))
            layers.push_back(codable);
    if (layers.empty()) {
        if (file.exists() && !file.remove()) {
            platform::log("saveLayers Problem deleting old layer file");
            return false;
        }
        return true;
    }
    if (const platform::Status written = file.writeRootObjects(layers); !written) {
        platform::log("saveLayers Archive failed");
        return false;
    }
    return true;
}

std::size_t LayerStack::readLayers(View& canvas, const platform::ArchiveFile& file) {
    platform::ArchiveFile::Contents contents = file.readRootObjects(registry());
    std::size_t added = 0;
    for (auto& object : contents.objects) {
        // The registry builds only the two layer classes, both views.
        if (auto view = std::dynamic_pointer_cast<View>(object)) {
            canvas.addSubview(std::move(view));
            ++added;
        }
    }
    return added;
}

void LayerStack::removeAllSubviews(View& canvas, LayersDelegate* delegate) {
    if (canvas.subviews().empty())
        return;
    if (delegate) {
        delegate->setLastMovedTouchImageView(nullptr);
        delegate->setLastMovedTextLayer(nullptr);
    }
    const std::vector<std::shared_ptr<View>> subviews = canvas.subviews();
    for (const auto& sub : subviews) {
        if (isExactly<TouchImageView>(*sub) || isExactly<TextLayerView>(*sub))
            sub->removeFromSuperview();
        else
            platform::log("Unknown subview");
    }
}

void LayerStack::enableUserInteractionOverlays(View& canvas) {
    setTouchHandling<TouchImageView>(canvas, true);
}

void LayerStack::disableUserInteractionOverlays(View& canvas) {
    setTouchHandling<TouchImageView>(canvas, false);
}

void LayerStack::enableUserInteractionTextLayers(View& canvas) {
    setTouchHandling<TextLayerView>(canvas, true);
}

void LayerStack::disableUserInteractionTextLayers(View& canvas) {
    setTouchHandling<TextLayerView>(canvas, false);
}

void LayerStack::disableUserInteractionLayers(View& canvas) {
    disableUserInteractionOverlays(canvas);
    disableUserInteractionTextLayers(canvas);
}

} // namespace zorbel
