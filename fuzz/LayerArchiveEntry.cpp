// The layer archive a launch reads back from the Documents folder.
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/FuzzEntries.h"
#include "fuzz/FuzzScratch.h"
#include "layers/LayerStack.h"
#include "platform/foundation/ArchiveFile.h"
#include "platform/foundation/KeyedArchiver.h"
#include "platform/foundation/KeyedUnarchiver.h"
#include "platform/foundation/Log.h"
#include "platform/graphics/Context.h"
#include "platform/ui/View.h"

namespace fuzz {

int layerArchive(const std::uint8_t* data, std::size_t size) {
    platform::setLogQuiet(true);
    platform::clearLogCapture();
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    auto unarchiver =
        platform::KeyedUnarchiver::unarchiverForReadingData(text, zorbel::LayerStack::registry());
    if (!unarchiver)
        return 0;
    auto objects = unarchiver->decodeObjects(platform::KeyedArchiver::rootKey);
    // The layers read go onto a canvas, are drawn and are written back, as a
    // launch and the next termination do.
    auto canvas = std::make_shared<platform::View>();
    canvas->setFrame(platform::Rect{0, 0, 320, 480});
    std::vector<const platform::Codable*> kept;
    for (auto& object : objects) {
        if (auto view = std::dynamic_pointer_cast<platform::View>(object)) {
            canvas->addSubview(view);
            kept.push_back(object.get());
        }
    }
    if (auto ctx = platform::Context::createBitmap(80, 120, nullptr, platform::YAxis::Down)) {
        ctx->scaleCTM(0.25f, 0.25f);
        canvas->renderInContext(*ctx);
    }
    std::vector<std::string> leftOut;
    auto written = platform::KeyedArchiver::archivedDataWithRootObjects(kept, &leftOut);
    if (written && leftOut.empty()) {
        // What we wrote must read back whole.
        auto again = platform::KeyedUnarchiver::unarchiverForReadingData(
            *written, zorbel::LayerStack::registry());
        if (!again)
            __builtin_trap();
        auto reread = again->decodeObjects(platform::KeyedArchiver::rootKey);
        if (reread.size() != kept.size())
            __builtin_trap();
    }
    // The file reader's own paths: reading, and setting a bad file aside.
    const auto folder = scratchFolder();
    writeScratchFile(folder / "Layers.archive", data, size);
    platform::ArchiveFile file(folder / "Layers.archive");
    (void)file.readRootObjects(zorbel::LayerStack::registry());
    return 0;
}

} // namespace fuzz
