#include "fuzz/FuzzEntries.h"

namespace fuzz {

std::span<const Entry> entries() {
    static constexpr Entry kEntries[] = {
        {"png", pngLoader},
        {"jpeg", jpegLoader},
        {"layer_archive", layerArchive},
        {"settings", settingsReader},
        {"interface", interfaceLoader},
        {"headless_script", headlessScript},
        {"zorbel_fx", zorbelFxTool},
    };
    return kEntries;
}

} // namespace fuzz
