#pragma once

// Which installed face a font name stands for, asked of fontconfig. Internal
// to platform/ui (Font).

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

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

// Starts fontconfig with its configuration loaded as FcInit loads it, less
// the templates it only lists; a configuration that cannot be loaded, or that
// names no cache folder (FcInit adds its own), is left to FcInit and its
// fallbacks. Whether fontconfig can answer.
bool startFontconfig();

// Asks the fontconfig already started for the closest face; with
// checkFamily, a face of another family (fontconfig's last-resort
// substitute) counts as not found.
bool askStartedFontconfig(const FaceQuery& q, bool checkFamily, FoundFace& out);

// Asks fontconfig for the closest face; with checkFamily, a face of another
// family (fontconfig's last-resort substitute) counts as not found.
bool matchFace(const FaceQuery& q, bool checkFamily, FoundFace& out);

// The files and folders fontconfig's answers rest on (FontAnswers): the
// configuration it read, the font folders and its caches, and where a
// person's own settings and fonts would be, should they appear. Asks
// fontconfig, starting it if need be.
std::vector<std::filesystem::path> fontconfigSources();

} // namespace platform::detail
