#pragma once

// Internal to platform/ui (Font): fontconfig's answers kept between launches.

#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/ui/FontFaces.h"

namespace platform::detail {

// Starting fontconfig reads its whole configuration (some fifty files, 10 ms
// and more) before it answers anything, and every launch asks it the same few
// questions as the last. Its answers are kept in a file together with what
// they rest on: the files and folders fontconfig read (its configuration, the
// font folders, its caches) with their modification times, and the
// environment it read them under. A launch that finds all of those as they
// were takes the kept answers and never starts fontconfig; anything changed (a
// font installed, a setting edited, another language) and fontconfig is asked
// again, as fontconfig itself would look again.
class FontAnswers {
public:
    using Ask = std::function<bool(const FaceQuery& query, bool checkFamily, FoundFace& out)>;
    // What the answers rest on; asked once, after `ask` first answered.
    using Sources = std::function<std::vector<std::filesystem::path>()>;

    FontAnswers(std::filesystem::path file, Ask ask, Sources sources);

    // `ask`'s answer, asked once for each question, or the kept one.
    bool match(const FaceQuery& query, bool checkFamily, FoundFace& out);

    // The environment variables fontconfig's answers depend on, as they are now.
    static std::string environment();

private:
    using Key = std::tuple<std::string, int, int, bool>;
    struct Answer {
        bool found = false;
        FoundFace face;
    };

    void takeKeptAnswers(); // once, before the first answer
    void keep();            // after a new answer from `ask`

    const std::filesystem::path file_;
    const Ask ask_;
    const Sources sources_;
    std::mutex mutex_;
    std::mutex writing_;
    bool read_ = false;
    bool keepFailed_ = false;
    std::map<Key, Answer> answers_;
    // The sources' times as fontconfig read them, taken at the first answer:
    // fontconfig does not read them again in this process, so neither are
    // they (under writing_).
    bool stamped_ = false;
    std::vector<std::pair<std::string, long long>> stamps_;
};

} // namespace platform::detail
