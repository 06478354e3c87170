#include "platform/graphics/NamedPictureCache.h"

#include "platform/graphics/Image.h"

namespace platform {

// Holders share a pointer that does not own the picture (the cache's entry
// does); when the last of them lets go, this tells the cache instead of
// deleting. It keeps no reference to the picture itself: the cache's weak
// reference keeps this object alive, and a reference here would keep every
// picture ever handed out.
class NamedPictureCache::Release {
public:
    Release(NamedPictureCache* cache, std::string key, std::uint64_t handout)
        : cache_(cache), key_(std::move(key)), handout_(handout) {}
    void operator()(const Image*) const { cache_->released(key_, handout_); }

private:
    NamedPictureCache* cache_;
    std::string key_;
    std::uint64_t handout_;
};

NamedPictureCache& NamedPictureCache::shared() {
    // Never destroyed: pictures held by other long-lived objects are let go of
    // during exit, in no order this could rely on.
    static NamedPictureCache* cache = new NamedPictureCache;
    return *cache;
}

NamedPictureCache::NamedPictureCache(std::size_t budget) : budget_(budget) {}

NamedPictureCache::~NamedPictureCache() = default;

std::shared_ptr<const Image> NamedPictureCache::picture(const std::string& key,
                                                        const Loader& load) {
    {
        std::lock_guard lock(mutex_);
        if (auto it = entries_.find(key); it != entries_.end())
            return handOut(key, it->second);
    }
    // Decoding takes a while: others use the cache meanwhile. Two threads may
    // both decode a new picture; the first one stored is the one kept.
    std::shared_ptr<const Image> loaded = load(key);
    if (!loaded)
        return nullptr;
    std::lock_guard lock(mutex_);
    auto [it, added] = entries_.try_emplace(key);
    if (added) {
        it->second.picture = std::move(loaded);
        it->second.bytes = it->second.picture->bytes().size();
    }
    return handOut(key, it->second);
}

std::shared_ptr<const Image> NamedPictureCache::handOut(const std::string& key, Entry& entry) {
    if (auto held = entry.handed.lock())
        return held;
    if (entry.unheld) {
        released_.erase(entry.released);
        unheldBytes_ -= entry.bytes;
        entry.unheld = false;
    }
    // A release still on its way from the previous holders finds a newer
    // handing out and leaves the entry alone.
    entry.handout = ++handouts_;
    std::shared_ptr<const Image> shared(entry.picture.get(), Release(this, key, entry.handout));
    entry.handed = shared;
    return shared;
}

void NamedPictureCache::released(const std::string& key, std::uint64_t handout) {
    std::lock_guard lock(mutex_);
    auto it = entries_.find(key);
    if (it == entries_.end() || it->second.handout != handout || it->second.unheld)
        return;
    Entry& entry = it->second;
    // Keeping it would push out everything else and then itself.
    if (entry.bytes > budget_) {
        entries_.erase(it);
        return;
    }
    entry.unheld = true;
    released_.push_front(key);
    entry.released = released_.begin();
    unheldBytes_ += entry.bytes;
    keepWithinBudget();
}

void NamedPictureCache::keepWithinBudget() {
    while (unheldBytes_ > budget_ && !released_.empty())
        forget(entries_.find(released_.back()));
}

void NamedPictureCache::forget(std::unordered_map<std::string, Entry>::iterator it) {
    released_.erase(it->second.released);
    unheldBytes_ -= it->second.bytes;
    entries_.erase(it);
}

std::size_t NamedPictureCache::purge() {
    std::lock_guard lock(mutex_);
    const std::size_t count = released_.size();
    while (!released_.empty())
        forget(entries_.find(released_.back()));
    return count;
}

std::size_t NamedPictureCache::unheldBytes() const {
    std::lock_guard lock(mutex_);
    return unheldBytes_;
}

std::size_t NamedPictureCache::count() const {
    std::lock_guard lock(mutex_);
    return entries_.size();
}

std::size_t NamedPictureCache::budget() const {
    std::lock_guard lock(mutex_);
    return budget_;
}

void NamedPictureCache::setBudget(std::size_t bytes) {
    std::lock_guard lock(mutex_);
    budget_ = bytes;
    keepWithinBudget();
}

} // namespace platform
