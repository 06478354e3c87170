#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/foundation/Result.h"
#include "platform/graphics/Image.h"

namespace platform {

// Square thumbnails of picture files, decoded away from the main thread.
//
// The caller says which entries it shows (request), in the order it wants
// them; at most kWorkers decodes run at once, each on a background thread of
// the main run loop (so a headless drain waits for them), and entries no
// longer requested are dropped before they start. Each result comes back on
// the main thread through the ready handler. A file that cannot be read or
// decoded, or is larger than the limits, is marked failed and never retried.
// The thumbnails kept are limited: trim() forgets those far from what is shown.
//
// Main thread only, except makeThumbnail.
class ThumbnailLoader {
public:
    enum class State { None, Pending, Ready, Failed };
    using ReadyHandler = std::function<void(std::size_t index)>;

    static constexpr int kWorkers = 2;
    // Files larger than this are not read at all.
    static constexpr std::uintmax_t kMaxFileBytes = 48u << 20;

    // `side`: the thumbnails' width and height in pixels.
    ThumbnailLoader(std::vector<std::filesystem::path> files, int side);
    ~ThumbnailLoader();
    ThumbnailLoader(const ThumbnailLoader&) = delete;
    ThumbnailLoader& operator=(const ThumbnailLoader&) = delete;

    int side() const { return side_; }
    std::size_t count() const { return files_.size(); }
    void setReadyHandler(ReadyHandler handler) { ready_ = std::move(handler); }

    // The entries to decode, first wanted first; replaces the last request.
    void request(const std::vector<std::size_t>& indices);
    State state(std::size_t index) const;
    // Null unless Ready.
    ImageRef thumbnail(std::size_t index) const;
    // Forgets the thumbnails of entries outside [first, last] once more than
    // `keep` are held (failures are remembered: they are small).
    void trim(std::size_t first, std::size_t last, std::size_t keep);
    std::size_t thumbnailsHeld() const;
    // Decodes now still running or queued.
    std::size_t outstanding() const;

    // The picture in the file, put upright, cut to its middle square and
    // scaled to side x side. A JPEG is decoded at the smallest scale the
    // decoder offers that keeps the square sharp. Any thread.
    static Result<ImageRef> makeThumbnail(const std::filesystem::path& file, int side);

private:
    struct Shared;
    void startWorkers();
    void finished(std::size_t index, Result<ImageRef> result);

    std::vector<std::filesystem::path> files_;
    int side_;
    std::shared_ptr<Shared> shared_;
    std::unordered_map<std::size_t, ImageRef> thumbnails_;
    std::unordered_map<std::size_t, bool> failed_;
    ReadyHandler ready_;
};

} // namespace platform
