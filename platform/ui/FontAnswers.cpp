#include "platform/ui/FontAnswers.h"

#include <cstdlib>
#include <system_error>

#include <nlohmann/json.hpp>

#include "platform/foundation/FileIO.h"
#include "platform/foundation/Log.h"

namespace platform::detail {

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

constexpr int kFormat = 1;
// Far more than any launch's questions and sources take.
constexpr std::size_t kLargestFile = std::size_t(1) << 20;

// A source's modification time in the file's own clock; -1 when nothing is
// there (a folder fontconfig would read once it is made counts as a change).
long long stampOf(const fs::path& path) {
    std::error_code ec;
    const auto time = fs::last_write_time(path, ec);
    return ec ? -1 : static_cast<long long>(time.time_since_epoch().count());
}


// True when every source in `stamps` is as it was.
bool sourcesUnchanged(const json& stamps) {
    if (!stamps.is_array())
        return false;
    for (const json& s : stamps) {
        if (!s.is_object() || !s.contains("path") || !s["path"].is_string() ||
            !s.contains("time") || !s["time"].is_number_integer())
            return false;
        if (stampOf(s["path"].get<std::string>()) != s["time"].get<long long>())
            return false;
    }
    return true;
}

std::string stringIn(const json& j, const char* key) {
    return j.contains(key) && j[key].is_string() ? j[key].get<std::string>() : std::string();
}

int intIn(const json& j, const char* key, int otherwise) {
    return j.contains(key) && j[key].is_number_integer() ? j[key].get<int>() : otherwise;
}

bool boolIn(const json& j, const char* key) {
    return j.contains(key) && j[key].is_boolean() && j[key].get<bool>();
}

} // namespace

FontAnswers::FontAnswers(fs::path file, Ask ask, Sources sources)
    : file_(std::move(file)), ask_(std::move(ask)), sources_(std::move(sources)) {}

std::string FontAnswers::environment() {
    std::string env;
    for (const char* name : {"FONTCONFIG_FILE", "FONTCONFIG_PATH", "FONTCONFIG_SYSROOT", "FC_LANG",
                             "LC_ALL", "LC_CTYPE", "LANG", "LANGUAGE", "HOME", "XDG_CONFIG_HOME",
                             "XDG_DATA_HOME", "XDG_CACHE_HOME"}) {
        if (const char* value = std::getenv(name))
            env += std::string(name) + "=" + value + "\n";
    }
    return env;
}

void FontAnswers::takeKeptAnswers() {
    read_ = true;
    if (file_.empty() || !pathIsTaken(file_))
        return;
    auto bytes = readFile(file_, kLargestFile);
    json kept = bytes ? json::parse(bytes->begin(), bytes->end(), nullptr, false) : json();
    const bool readable = bytes && !kept.is_discarded() && kept.is_object() &&
                          intIn(kept, "format", 0) == kFormat && kept.contains("answers") &&
                          kept["answers"].is_array();
    if (!readable) {
        // Kept only to save time: made again, the unreadable one set aside.
        const std::string why = bytes ? "not the answers this version keeps" : bytes.error();
        auto aside = moveAside(file_, kDamagedSuffix);
        log("The font answers in " + file_.string() + " could not be read (" + why + ")" +
            (aside ? "; set aside as " + aside->string() : ""));
        return;
    }
    if (stringIn(kept, "environment") != environment() || !kept.contains("sources") ||
        !sourcesUnchanged(kept["sources"]))
        return; // fontconfig's configuration or fonts changed since
    for (const json& a : kept["answers"]) {
        if (!a.is_object() || !a.contains("family") || !a["family"].is_string())
            continue;
        Key key{a["family"].get<std::string>(), intIn(a, "weight", -1), intIn(a, "slant", -1),
                boolIn(a, "checkFamily")};
        Answer answer;
        answer.found = boolIn(a, "found");
        answer.face = FoundFace{stringIn(a, "file"), intIn(a, "index", 0), stringIn(a, "faceFamily"),
                                stringIn(a, "style")};
        answers_.emplace(std::move(key), std::move(answer));
    }
}

void FontAnswers::keep() {
    if (file_.empty())
        return;
    const std::lock_guard writing(writing_);
    json answers = json::array();
    {
        const std::lock_guard lock(mutex_);
        for (const auto& [key, answer] : answers_) {
            const auto& [family, weight, slant, checkFamily] = key;
            answers.push_back({{"family", family},
                               {"weight", weight},
                               {"slant", slant},
                               {"checkFamily", checkFamily},
                               {"found", answer.found},
                               {"file", answer.face.file},
                               {"index", answer.face.index},
                               {"faceFamily", answer.face.family},
                               {"style", answer.face.style}});
        }
    }
    if (!stamped_) {
        stamped_ = true;
        for (const fs::path& path : sources_ ? sources_() : std::vector<fs::path>{})
            stamps_.emplace_back(path.string(), stampOf(path));
    }
    json sources = json::array();
    for (const auto& [path, time] : stamps_)
        sources.push_back({{"path", path}, {"time", time}});
    const json kept = {{"format", kFormat},
                       {"environment", environment()},
                       {"sources", std::move(sources)},
                       {"answers", std::move(answers)}};
    const Status written = writeFileAtomically(file_, kept.dump(1));
    if (!written && !keepFailed_) {
        keepFailed_ = true;
        log("The font answers could not be kept in " + file_.string() + ": " + written.error());
    }
}

bool FontAnswers::match(const FaceQuery& query, bool checkFamily, FoundFace& out) {
    Key key{query.family, query.weight, query.slant, checkFamily};
    {
        const std::lock_guard lock(mutex_);
        if (!read_)
            takeKeptAnswers();
        if (auto it = answers_.find(key); it != answers_.end()) {
            out = it->second.face;
            return it->second.found;
        }
    }
    FoundFace face;
    const bool found = ask_ && ask_(query, checkFamily, face);
    {
        const std::lock_guard lock(mutex_);
        answers_.insert_or_assign(std::move(key), Answer{found, face});
    }
    keep();
    out = std::move(face);
    return found;
}

} // namespace platform::detail
