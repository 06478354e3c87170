#pragma once

#include <cstddef>
#include <filesystem>

#include "platform/foundation/CodableRegistry.h"

namespace platform {
class ArchiveFile;
class View;
} // namespace platform

namespace zorbel {

class LayersDelegate;

// The overlay and text layers as a whole: the canvas's subviews, back to
// front. The canvas knows nothing of layer classes, so what it does with its
// layers (archive them, read them back, remove them, switch their touches)
// is done here, on the canvas view it is given.
class LayerStack {
public:
    // The archive file's name in the Documents folder.
    static constexpr const char* kArchiveFileName = "Layers.archive";

    // The classes a layer archive may hold: "TouchImageView" and "TextLayerView".
    static const platform::CodableRegistry& registry();

    // saveLayers: with no layers an old archive is deleted ("saveLayers
    // Problem deleting old layer file" when it cannot be); otherwise the
    // layers are written atomically ("saveLayers Archive failed", the old
    // file kept, when they cannot be). False on a failure.
    static bool saveLayers(const platform::View& canvas, const platform::ArchiveFile& file);
    // readLayers: each layer read is added in order (later ones in front).
    // A missing file means no layers; a damaged one is set aside and logged by
    // the archive file, and the layers that could be read are still added.
    // Answers how many were added.
    static std::size_t readLayers(platform::View& canvas, const platform::ArchiveFile& file);

    // Clears the delegate's last moved layers, then removes every picture and
    // text layer; any other subview stays, logged as "Unknown subview".
    static void removeAllSubviews(platform::View& canvas, LayersDelegate* delegate);

    // Touch handling of every picture layer / every text layer on or off.
    static void enableUserInteractionOverlays(platform::View& canvas);
    static void disableUserInteractionOverlays(platform::View& canvas);
    static void enableUserInteractionTextLayers(platform::View& canvas);
    static void disableUserInteractionTextLayers(platform::View& canvas);
    static void disableUserInteractionLayers(platform::View& canvas);
};

} // namespace zorbel
