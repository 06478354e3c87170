#include "platform/imagepicker/ThumbnailLoader.h"

#include <algorithm>
#include <deque>
#include <mutex>
#include <set>
#include <string>

#include <turbojpeg.h>

#include "platform/foundation/FileIO.h"
#include "platform/foundation/Log.h"
#include "platform/graphics/Context.h"
#include "platform/imagepicker/ExifThumbnail.h"
#include "platform/ui/RunLoop.h"

namespace platform {

// What the workers and the main thread share. The workers hold it while they
// run; the loader may be gone by the time they finish, and then `owner` is
// null and their results are dropped.
struct ThumbnailLoader::Shared {
    std::mutex mutex;
    std::deque<std::size_t> queue;   // wanted and not started, first wanted first
    std::set<std::size_t> running;   // started, result not yet handed back
    int workers = 0;
    ThumbnailLoader* owner = nullptr; // main thread only
    std::vector<std::filesystem::path> files;
    int side = 0;
};

ThumbnailLoader::ThumbnailLoader(std::vector<std::filesystem::path> files, int side)
    : files_(std::move(files)), side_(std::max(1, side)), shared_(std::make_shared<Shared>()) {
    shared_->owner = this;
    shared_->files = files_;
    shared_->side = side_;
}

ThumbnailLoader::~ThumbnailLoader() {
    std::lock_guard lock(shared_->mutex);
    shared_->queue.clear();
    shared_->owner = nullptr;
}

ThumbnailLoader::State ThumbnailLoader::state(std::size_t index) const {
    if (thumbnails_.count(index))
        return State::Ready;
    if (failed_.count(index))
        return State::Failed;
    std::lock_guard lock(shared_->mutex);
    if (shared_->running.count(index) ||
        std::find(shared_->queue.begin(), shared_->queue.end(), index) != shared_->queue.end())
        return State::Pending;
    return State::None;
}

ImageRef ThumbnailLoader::thumbnail(std::size_t index) const {
    auto it = thumbnails_.find(index);
    return it == thumbnails_.end() ? nullptr : it->second;
}

std::size_t ThumbnailLoader::thumbnailsHeld() const {
    return thumbnails_.size();
}

std::size_t ThumbnailLoader::outstanding() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->queue.size() + shared_->running.size();
}

void ThumbnailLoader::request(const std::vector<std::size_t>& indices) {
    {
        std::lock_guard lock(shared_->mutex);
        shared_->queue.clear();
        for (std::size_t i : indices) {
            if (i >= files_.size() || thumbnails_.count(i) || failed_.count(i) ||
                shared_->running.count(i))
                continue;
            shared_->queue.push_back(i);
        }
    }
    startWorkers();
}

void ThumbnailLoader::startWorkers() {
    std::shared_ptr<Shared> shared = shared_;
    std::lock_guard lock(shared->mutex);
    while (shared->workers < kWorkers && std::size_t(shared->workers) < shared->queue.size()) {
        ++shared->workers;
        RunLoop::main().performInBackground([shared] {
            for (;;) {
                std::size_t index;
                {
                    std::lock_guard l(shared->mutex);
                    if (shared->queue.empty()) {
                        --shared->workers;
                        return;
                    }
                    index = shared->queue.front();
                    shared->queue.pop_front();
                    shared->running.insert(index);
                }
                auto result = makeThumbnail(shared->files[index], shared->side);
                RunLoop::main().performOnMainThread([shared, index, result = std::move(result)] {
                    ThumbnailLoader* owner;
                    {
                        std::lock_guard l(shared->mutex);
                        shared->running.erase(index);
                        owner = shared->owner;
                    }
                    if (owner)
                        owner->finished(index, result);
                });
            }
        });
    }
}

void ThumbnailLoader::finished(std::size_t index, Result<ImageRef> result) {
    if (result)
        thumbnails_[index] = result.value();
    else
        failed_[index] = true;
    if (ready_)
        ready_(index);
}

void ThumbnailLoader::trim(std::size_t first, std::size_t last, std::size_t keep) {
    if (thumbnails_.size() <= keep)
        return;
    // The farthest from the shown range go first.
    std::vector<std::pair<std::size_t, std::size_t>> byDistance;
    for (const auto& [index, image] : thumbnails_) {
        const std::size_t d = index < first ? first - index : index > last ? index - last : 0;
        if (d > 0)
            byDistance.push_back({d, index});
    }
    std::sort(byDistance.begin(), byDistance.end(), std::greater<>());
    for (const auto& [distance, index] : byDistance) {
        if (thumbnails_.size() <= keep)
            break;
        thumbnails_.erase(index);
    }
}

namespace {

// A whole JPEG ends with its end-of-image marker (perhaps followed by a few
// bytes of padding); a cut-off one does not.
bool endsAsAJpeg(std::span<const std::uint8_t> bytes) {
    const std::size_t from = bytes.size() > 64 ? bytes.size() - 64 : 0;
    for (std::size_t i = from; i + 1 < bytes.size(); ++i)
        if (bytes[i] == 0xFF && bytes[i + 1] == 0xD9)
            return true;
    return false;
}

// The main picture's size is within what the app opens.
bool sizeAllowed(std::span<const std::uint8_t> bytes) {
    tjhandle tj = tjInitDecompress();
    if (!tj)
        return false;
    int w = 0, h = 0, subsampling = 0, colorspace = 0;
    const bool read = tjDecompressHeader3(tj, const_cast<unsigned char*>(bytes.data()),
                                          static_cast<unsigned long>(bytes.size()), &w, &h,
                                          &subsampling, &colorspace) == 0;
    tjDestroy(tj);
    return read && w > 0 && h > 0 && w <= Image::kMaxDimension && h <= Image::kMaxDimension &&
           std::int64_t(w) * h <= Image::kMaxPixels;
}

} // namespace

Result<ImageRef> ThumbnailLoader::makeThumbnail(const std::filesystem::path& file, int side) {
    auto bytes = readFile(file, kMaxFileBytes);
    if (!bytes) {
        log("Thumbnail of " + file.string() + " not made: " + bytes.error());
        return Result<ImageRef>::failure(bytes.error());
    }
    ImageRef picturePtr;
    // A camera's own small picture, when it is large enough: decoding the
    // whole photograph, even at an eighth, costs some 40 ms of entropy
    // decoding for 12 megapixels, this well under one. The main picture is
    // still checked: one too large to open, or cut off, shows no thumbnail.
    if (auto embedded = ExifThumbnail::find(*bytes)) {
        auto small = Image::decode(embedded->jpeg);
        if (small && std::min(small.value()->width(), small.value()->height()) * 4 >= side * 3) {
            const Image& s = *small.value();
            auto turned = Image::create(s.width(), s.height(),
                                        std::vector<std::uint8_t>(s.bytes().begin(), s.bytes().end()),
                                        embedded->orientation);
            if (turned && endsAsAJpeg(*bytes) && sizeAllowed(*bytes))
                picturePtr = turned.value();
        }
    }
    if (!picturePtr) {
        // The square is cut from the short side: asking the decoder for twice
        // the side on the long one keeps the short side above it for pictures
        // up to 2:1, and a JPEG then decodes at an eighth of its size or so,
        // which is where libjpeg-turbo is fastest.
        auto decoded = Image::decode(*bytes, side * 2);
        if (!decoded)
            return Result<ImageRef>::failure(decoded.error());
        picturePtr = decoded.value();
    }
    const Image& picture = *picturePtr;
    const Size seen = picture.size();
    if (seen.width < 1 || seen.height < 1)
        return Result<ImageRef>::failure("empty picture");
    auto bitmap = Context::createBitmap(side, side, nullptr, YAxis::Down);
    if (!bitmap)
        return Result<ImageRef>::failure("no memory for a thumbnail");
    const float scale = float(side) / std::min(seen.width, seen.height);
    const float w = seen.width * scale, h = seen.height * scale;
    bitmap->drawImageUpright(Rect((side - w) / 2, (side - h) / 2, w, h), picture);
    return bitmap->makeImage();
}

} // namespace platform
