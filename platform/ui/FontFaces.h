#pragma once

// Which installed face a font name stands for, asked of fontconfig. Internal
// to platform/ui (Font).

#include <string>
#include <string_view>

namespace platform::detail {

struct FaceQuery {
    std::string family;
    int weight = -1; // FC_WEIGHT_*, -1 = regular unless the style says otherwise
    int slant = -1;  // FC_SLANT_*
};

struct FoundFace {
    std::string file;
    int index = 0;
    std::string family;
    std::string style;
};

// The family interface text is set in.
extern const std::string kSystemFamily;

// The face a name asks for: an alias ("Georgia-Bold"), or a family with an
// optional style after a dash ("DejaVuSans-BoldOblique").
FaceQuery queryForName(std::string_view name);

// Asks fontconfig for the closest face; with checkFamily, a face of another
// family (fontconfig's last-resort substitute) counts as not found.
bool matchFace(const FaceQuery& q, bool checkFamily, FoundFace& out);

} // namespace platform::detail
