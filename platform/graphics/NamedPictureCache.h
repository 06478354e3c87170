#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

namespace platform {

class Image;

// The pictures Image::named() has decoded, by file name. A picture someone
// still holds is always handed out again as the same object, so it is never
// decoded twice; once nobody holds it, it waits in a least-recently-released
// list whose bytes never pass the budget, and the oldest go first. Thread-safe;
// the last holder may let go of a picture on any thread.
class NamedPictureCache {
public:
    // Every button, thumbnail and brush picture, or three full-screen
    // backgrounds; the largest overlays (over 2 MB) are decoded again when
    // chosen again, not kept.
    static constexpr std::size_t kDefaultBudget = 2u << 20;

    using Loader = std::function<std::shared_ptr<const Image>(const std::string& key)>;

    // The one cache behind Image::named(). It lives for the whole process, so
    // a picture let go of during exit still finds it.
    static NamedPictureCache& shared();

    explicit NamedPictureCache(std::size_t budget = kDefaultBudget);
    NamedPictureCache(const NamedPictureCache&) = delete;
    NamedPictureCache& operator=(const NamedPictureCache&) = delete;
    // Every picture it handed out must be gone by then.
    ~NamedPictureCache();

    // The picture for key: the one already held or kept, else what load gives
    // (called without the lock held; null results are not kept).
    std::shared_ptr<const Image> picture(const std::string& key, const Loader& load);
    // Lets go of every kept picture nobody holds. Returns how many went.
    std::size_t purge();

    // Bytes of pixels kept for pictures nobody holds; never above the budget.
    std::size_t unheldBytes() const;
    // Pictures known to the cache, held or not.
    std::size_t count() const;
    std::size_t budget() const;
    // A smaller budget lets go of the oldest unheld pictures at once.
    void setBudget(std::size_t bytes);

private:
    struct Entry {
        std::shared_ptr<const Image> picture; // the cache's own reference
        std::weak_ptr<const Image> handed;    // what holders share while any does
        std::uint64_t handout = 0;            // which handing out is the current one
        std::size_t bytes = 0;
        bool unheld = false;
        std::list<std::string>::iterator released; // place in released_ when unheld
    };
    class Release;

    std::shared_ptr<const Image> handOut(const std::string& key, Entry& entry);
    void released(const std::string& key, std::uint64_t handout);
    void keepWithinBudget();
    void forget(std::unordered_map<std::string, Entry>::iterator it);

    mutable std::mutex mutex_;
    std::unordered_map<std::string, Entry> entries_;
    std::list<std::string> released_; // unheld keys, most recently released first
    std::size_t unheldBytes_ = 0;
    std::size_t budget_;
    std::uint64_t handouts_ = 0;
};

} // namespace platform
