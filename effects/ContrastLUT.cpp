#include "effects/ContrastLUT.h"

#include <cstddef>

namespace zorbel {

void createNewContrastLUT(SingleChannelLUT& table, int contrast) {
    const float factor = float((double(contrast) + 100.0) / 100.0);
    if (contrast == 0)
        return;
    for (std::size_t i = 0; i < table.size(); ++i) {
        float scaled = float(int(table[i]) - 127) * factor;
        // Only amounts far beyond the slider's range leave the int range; they clamp anyway.
        if (scaled > 1.0e6f)
            scaled = 1.0e6f;
        else if (scaled < -1.0e6f)
            scaled = -1.0e6f;
        int value = int(scaled) + 127;
        table[i] = value > 255 ? 255 : value < 0 ? 0 : std::uint8_t(value);
    }
}

} // namespace zorbel
