#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/Result.h"

namespace platform {

class Image;

// A picture read and decoded ahead, on a thread of its own, for a load known
// to come: a photo named on the command line decodes (and is made what the
// new document takes) while the window opens and the interface is made,
// instead of after. One at a time.
class PicturePreload {
public:
    using Loaded = Result<std::shared_ptr<const Image>>;

    // Runs `load` for `path` on a thread of its own; `purpose` names what it
    // makes of the file (the new document's picture), which take must ask
    // for. A preload not taken yet is dropped. Nothing happens where no
    // thread can be had (the load then runs when asked for, as without this).
    static void start(const std::filesystem::path& path, std::string purpose,
                      std::function<Loaded()> load);
    // The result of the preload of exactly this path and purpose, waited for
    // if still running, handed out once; nothing when none was started for
    // it, or when the file is no longer the one that was read (another file
    // there now, or changed since: its size or time differ).
    static std::optional<Loaded> take(const std::filesystem::path& path, std::string_view purpose);
};

} // namespace platform
