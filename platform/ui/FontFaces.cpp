#include "platform/ui/FontFaces.h"

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include <fontconfig/fontconfig.h>

#include "platform/foundation/Paths.h"
#include "platform/ui/FontAnswers.h"

namespace platform::detail {

namespace {

std::string lowercase(std::string_view s) {
    std::string out(s);
    for (char& ch : out)
        ch = char(std::tolower(static_cast<unsigned char>(ch)));
    return out;
}

// Case and blanks do not matter in family names ("DejaVuSans" is "DejaVu Sans").
std::string familyKey(std::string_view s) {
    std::string out;
    for (char ch : s)
        if (ch != ' ' && ch != '-' && ch != '_')
            out += char(std::tolower(static_cast<unsigned char>(ch)));
    return out;
}

// Whole names whose style word would pick the wrong face.
struct NameAlias {
    const char* name; // lower case
    FaceQuery face;
};
const NameAlias kNameAliases[] = {
    {"markerfelt-thin", {"Comic Neue", FC_WEIGHT_REGULAR, FC_SLANT_ROMAN}},
    {"markerfelt-wide", {"Comic Neue", FC_WEIGHT_BOLD, FC_SLANT_ROMAN}},
    {"verdana-bolditalic", {"DejaVu Sans", FC_WEIGHT_BOLD, FC_SLANT_OBLIQUE}},
    {"verdana-italic", {"DejaVu Sans", FC_WEIGHT_REGULAR, FC_SLANT_OBLIQUE}},
};

// Phone font families and the free family standing in for each, with the
// weight and slant the family name itself implies.
struct FamilyAlias {
    const char* family; // familyKey form
    FaceQuery face;
};
const FamilyAlias kFamilyAliases[] = {
    {"arialroundedmtbold", {"URW Gothic", FC_WEIGHT_DEMIBOLD, FC_SLANT_ROMAN}},
    {"arial", {"Liberation Sans"}},
    {"arialmt", {"Liberation Sans"}},
    {"helvetica", {"Nimbus Sans"}},
    {"helveticaneue", {"Nimbus Sans"}},
    {"courier", {"Nimbus Mono PS"}},
    {"couriernew", {"Nimbus Mono PS"}},
    {"couriernewps", {"Nimbus Mono PS"}},
    {"georgia", {"C059"}},
    {"markerfelt", {"Comic Neue"}},
    {"times", {"Liberation Serif"}},
    {"timesnewroman", {"Liberation Serif"}},
    {"timesnewromanps", {"Liberation Serif"}},
    {"trebuchet", {"Liberation Sans"}},
    {"trebuchetms", {"Liberation Sans"}},
    {"americantypewriter", {"Nimbus Mono PS"}},
    {"verdana", {"DejaVu Sans"}},
    {"zapfino", {"Z003", FC_WEIGHT_MEDIUM, FC_SLANT_ITALIC}},
};

} // namespace

const std::string kSystemFamily = "Liberation Sans";

namespace {

// Weight and slant from a PostScript style suffix ("BoldItalic", "BoldMT").
void applyStyleWords(std::string_view style, FaceQuery& q) {
    const std::string s = lowercase(style);
    auto has = [&](const char* w) { return s.find(w) != std::string::npos; };
    if (has("semibold") || has("demibold") || has("demi"))
        q.weight = FC_WEIGHT_DEMIBOLD;
    else if (has("extrabold") || has("black") || has("heavy"))
        q.weight = FC_WEIGHT_BLACK;
    else if (has("bold"))
        q.weight = FC_WEIGHT_BOLD;
    else if (has("medium"))
        q.weight = FC_WEIGHT_MEDIUM;
    else if (has("light"))
        q.weight = FC_WEIGHT_LIGHT;
    else if (has("thin"))
        q.weight = FC_WEIGHT_THIN;
    else if (has("regular") || has("roman") || has("book") || has("plain"))
        q.weight = FC_WEIGHT_REGULAR;
    if (has("italic"))
        q.slant = FC_SLANT_ITALIC;
    else if (has("oblique"))
        q.slant = FC_SLANT_OBLIQUE;
}

} // namespace

FaceQuery queryForName(std::string_view name) {
    const std::string lower = lowercase(name);
    for (const NameAlias& a : kNameAliases)
        if (lower == a.name)
            return a.face;
    // fontconfig's own parser would read "Helvetica-Bold" as the family
    // "Helvetica" at size "Bold"; split the PostScript style off ourselves.
    std::string_view family = name;
    std::string_view style;
    if (const auto dash = name.rfind('-'); dash != std::string_view::npos && dash > 0) {
        family = name.substr(0, dash);
        style = name.substr(dash + 1);
    }
    FaceQuery q{std::string(family)};
    const std::string key = familyKey(family);
    for (const FamilyAlias& a : kFamilyAliases)
        if (key == a.family) {
            q = a.face;
            break;
        }
    applyStyleWords(style, q);
    return q;
}

// FcInit also reads every configuration template fontconfig ships
// (conf.avail, some forty files that are not in use) only so that
// fc-conflist can list them: a third of its start.
bool startFontconfig() {
    FcConfig* config = FcConfigCreate();
    // Not complaining of a missing file here: FcInit, reading it again,
    // reports what is wrong.
    bool loaded = config && FcConfigParseAndLoad(config, nullptr, FcFalse) == FcTrue;
    if (loaded) {
        FcStrList* caches = FcConfigGetCacheDirs(config);
        loaded = caches && FcStrListNext(caches) != nullptr;
        if (caches)
            FcStrListDone(caches);
    }
    // The current configuration holds a reference of its own.
    loaded = loaded && FcConfigBuildFonts(config) == FcTrue && FcConfigSetCurrent(config) == FcTrue;
    if (config)
        FcConfigDestroy(config);
    return loaded || FcInit() == FcTrue;
}

namespace {

// startFontconfig, once; fontconfig's caches handed back at exit, so leak
// checkers stay quiet.
bool askFontconfig(const FaceQuery& q, bool checkFamily, FoundFace& out) {
    static const bool initialised = [] {
        const bool ok = startFontconfig();
        if (ok)
            std::atexit(FcFini);
        return ok;
    }();
    return initialised && askStartedFontconfig(q, checkFamily, out);
}

} // namespace

bool askStartedFontconfig(const FaceQuery& q, bool checkFamily, FoundFace& out) {
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(q.family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, q.weight >= 0 ? q.weight : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, q.slant >= 0 ? q.slant : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match)
        return false;
    bool familyOk = !checkFamily;
    FcChar8* value = nullptr;
    const std::string wanted = familyKey(q.family);
    for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &value) == FcResultMatch; ++i) {
        if (i == 0)
            out.family = reinterpret_cast<const char*>(value);
        if (familyKey(reinterpret_cast<const char*>(value)) == wanted)
            familyOk = true;
    }
    if (FcPatternGetString(match, FC_STYLE, 0, &value) == FcResultMatch)
        out.style = reinterpret_cast<const char*>(value);
    int index = 0;
    if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch)
        out.index = index;
    const bool hasFile = FcPatternGetString(match, FC_FILE, 0, &value) == FcResultMatch;
    if (hasFile)
        out.file = reinterpret_cast<const char*>(value);
    FcPatternDestroy(match);
    return familyOk && hasFile;
}

std::vector<std::filesystem::path> fontconfigSources() {
    std::vector<std::filesystem::path> sources;
    auto add = [&](FcStrList* list) {
        if (!list)
            return;
        while (FcChar8* path = FcStrListNext(list))
            sources.emplace_back(reinterpret_cast<const char*>(path));
        FcStrListDone(list);
    };
    add(FcConfigGetConfigFiles(nullptr));
    add(FcConfigGetConfigDirs(nullptr));
    add(FcConfigGetFontDirs(nullptr));
    add(FcConfigGetCacheDirs(nullptr));
    const char* home = std::getenv("HOME");
    const char* config = std::getenv("XDG_CONFIG_HOME");
    const char* data = std::getenv("XDG_DATA_HOME");
    const std::filesystem::path homeDir = home ? home : "";
    if (config && *config)
        sources.push_back(std::filesystem::path(config) / "fontconfig");
    else if (home)
        sources.push_back(homeDir / ".config" / "fontconfig");
    if (data && *data)
        sources.push_back(std::filesystem::path(data) / "fonts");
    else if (home)
        sources.push_back(homeDir / ".local" / "share" / "fonts");
    if (home) {
        sources.push_back(homeDir / ".fonts");
        sources.push_back(homeDir / ".fonts.conf");
    }
    return sources;
}

// Each question is put to fontconfig once, and its answer kept for the next
// launch: every size of a font, and every control made with it, asks for the
// same face.
bool matchFace(const FaceQuery& q, bool checkFamily, FoundFace& out) {
    static FontAnswers answers(Paths::cacheDirectory() / "font-answers.json", askFontconfig,
                               fontconfigSources);
    return answers.match(q, checkFamily, out);
}

} // namespace platform::detail
