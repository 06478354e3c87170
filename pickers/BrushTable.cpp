#include "pickers/BrushTable.h"

namespace zorbel {

const std::vector<std::string>& brushTable() {
    static const std::vector<std::string> names = {
        "brush1.png",       "brush3.png",          "brushhard8.png",   "brushhard16.png",
        "brushhard24.png",  "brushhard32.png",     "brushhard64.png",  "brushsoft8.png",
        "brushsoft16.png",  "brushsoft24.png",     "brushsoft32.png",  "brushsoft64.png",
        "brushspots64.png", "brushstar32.png",     "brushheart32.png", "brushstar64.png",
        "brushheart64.png", "brusharrowright.png", "brusharrowup.png",
    };
    return names;
}

} // namespace zorbel
