#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "platform/graphics/Image.h"
#include "platform/graphics/NamedPictureCache.h"

using namespace platform;

namespace {

// Pictures named "NAME:SIDE", SIDE x SIDE pixels (4 bytes each), counting how
// many times each was decoded and how many are still in memory.
struct Pictures {
    std::map<std::string, int> loads;
    std::atomic<int> alive{0}; // pictures are freed on whichever thread lets go last

    NamedPictureCache::Loader loader() {
        return [this](const std::string& key) -> ImageRef {
            const auto colon = key.find(':');
            if (colon == std::string::npos)
                return nullptr;
            const int side = std::stoi(key.substr(colon + 1));
            ++loads[key];
            ++alive;
            return ImageRef(new Image(side, side, std::vector<std::uint8_t>(std::size_t(side) * side * 4), 0),
                            [this](const Image* p) {
                                --alive;
                                delete p;
                            });
        };
    }
};

} // namespace

// A picture still held is handed out again as the same object, whatever the
// budget or a purge say; one nobody holds is decoded again once purged, and
// its pixels are freed by the purge.
TEST(NamedPictureCache, HeldPicturesStayAndPurgeFreesTheRest) {
    Pictures pictures;
    NamedPictureCache cache(1000);
    {
        auto held = cache.picture("held:10", pictures.loader());
        ASSERT_TRUE(held);
        EXPECT_EQ(held->width(), 10);
        cache.picture("free:5", pictures.loader()); // let go of at once
        EXPECT_EQ(cache.unheldBytes(), 100u);
        cache.setBudget(0);
        EXPECT_EQ(cache.unheldBytes(), 0u);
        EXPECT_EQ(cache.purge(), 0u);
        EXPECT_EQ(cache.picture("held:10", pictures.loader()).get(), held.get());
        EXPECT_EQ(pictures.loads["held:10"], 1);
        EXPECT_EQ(pictures.alive, 1); // the budget of 0 freed "free:5"
        cache.setBudget(1000);
    }
    // Let go of by everyone: kept within the budget until a purge.
    EXPECT_EQ(cache.unheldBytes(), 400u);
    EXPECT_EQ(pictures.alive, 1);
    cache.picture("held:10", pictures.loader());
    EXPECT_EQ(pictures.loads["held:10"], 1);
    EXPECT_EQ(cache.purge(), 1u);
    EXPECT_EQ(pictures.alive, 0);
    EXPECT_EQ(cache.unheldBytes(), 0u);
    EXPECT_EQ(cache.count(), 0u);
    auto again = cache.picture("held:10", pictures.loader());
    EXPECT_EQ(pictures.loads["held:10"], 2);
    EXPECT_EQ(again->width(), 10);
    // Nothing is kept for a name that does not load.
    EXPECT_FALSE(cache.picture("missing", pictures.loader()));
    EXPECT_EQ(cache.count(), 1u);
}

// Pictures let go of wait in the order they were released; past the budget the
// longest unused go first, and one larger than the whole budget is not kept
// (nor pushes the others out).
TEST(NamedPictureCache, TheLongestUnusedGoFirst) {
    Pictures pictures;
    NamedPictureCache cache(1000);
    for (const char* key : {"a:10", "b:10", "c:5"}) // 400, 400, 100 bytes
        cache.picture(key, pictures.loader());
    EXPECT_EQ(cache.unheldBytes(), 900u);
    cache.picture("a:10", pictures.loader()); // used again: now the newest
    cache.picture("d:10", pictures.loader()); // 400 more: "b" goes
    EXPECT_EQ(cache.unheldBytes(), 900u);
    EXPECT_EQ(pictures.alive, 3);
    for (const char* key : {"a:10", "c:5", "d:10"})
        cache.picture(key, pictures.loader());
    EXPECT_EQ((std::map<std::string, int>{{"a:10", 1}, {"b:10", 1}, {"c:5", 1}, {"d:10", 1}}),
              pictures.loads);
    cache.picture("b:10", pictures.loader());
    EXPECT_EQ(pictures.loads["b:10"], 2);
    cache.picture("huge:20", pictures.loader()); // 1600 bytes: freed, the rest stay
    EXPECT_EQ(cache.unheldBytes(), 900u);
    EXPECT_EQ(pictures.alive, 3);
    EXPECT_EQ(cache.picture("b:10", pictures.loader())->width(), 10);
    EXPECT_EQ(pictures.loads["b:10"], 2);
}

// Seeded random taking and letting go, on several threads at once: the unheld
// bytes never pass the budget, every holder of a name shares one object, and
// once everyone has let go what is left in memory is exactly what is kept.
TEST(NamedPictureCache, BudgetHoldsUnderRandomUseOnManyThreads) {
    Pictures pictures; // its loader runs outside the cache's lock: guard it
    std::mutex loaderMutex;
    const auto load = [&, inner = pictures.loader()](const std::string& key) {
        std::lock_guard lock(loaderMutex);
        return inner(key);
    };
    NamedPictureCache cache(3000);
    std::vector<std::thread> threads;
    std::atomic<int> faults{0};
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            std::mt19937 random(1234 + t);
            std::vector<ImageRef> held;
            for (int step = 0; step < 3000; ++step) {
                if (!held.empty() && random() % 2 == 0) {
                    held.erase(held.begin() + long(random() % held.size()));
                } else {
                    const int n = int(random() % 12);
                    const std::string key = "p" + std::to_string(n) + ":" + std::to_string(4 + n * 2);
                    ImageRef picture = cache.picture(key, load);
                    for (const ImageRef& other : held)
                        if (other->width() == picture->width() && other.get() != picture.get())
                            ++faults;
                    held.push_back(std::move(picture));
                }
                if (cache.unheldBytes() > 3000)
                    ++faults;
                if (held.size() > 6)
                    held.erase(held.begin());
            }
        });
    for (std::thread& t : threads)
        t.join();
    EXPECT_EQ(faults.load(), 0);
    EXPECT_LE(cache.unheldBytes(), 3000u);
    EXPECT_EQ(std::size_t(pictures.alive), cache.count());
    cache.purge();
    EXPECT_EQ(pictures.alive, 0);
}
