#include "effects/ParallelRows.h"

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>
#include <vector>

namespace zorbel {

namespace {

std::atomic<int> gThreadLimit{0};

// Small enough bands to even out a core that is busy with something else, large enough that
// handing them out costs nothing measurable.
constexpr int kRowsPerBand = 8;

} // namespace

int effectThreadLimit() {
    int limit = gThreadLimit.load(std::memory_order_relaxed);
    if (limit > 0)
        return limit;
    return std::max(1u, std::thread::hardware_concurrency());
}

void setEffectThreadLimit(int threads) {
    gThreadLimit.store(std::max(0, threads), std::memory_order_relaxed);
}

void parallelRows(int begin, int end, const std::function<void(int first, int last)>& body) {
    if (end <= begin)
        return;
    int bands = (end - begin + kRowsPerBand - 1) / kRowsPerBand;
    int threads = std::min(effectThreadLimit(), bands);
    if (threads <= 1) {
        body(begin, end);
        return;
    }
    std::atomic<int> next{0};
    auto work = [&] {
        for (int band = next.fetch_add(1); band < bands; band = next.fetch_add(1)) {
            int first = begin + band * kRowsPerBand;
            body(first, std::min(end, first + kRowsPerBand));
        }
    };
    std::vector<std::thread> helpers;
    helpers.reserve(threads - 1);
    for (int i = 1; i < threads; ++i) {
        try {
            helpers.emplace_back(work);
        } catch (const std::system_error&) {
            break; // no more threads to be had: the ones we have finish the work
        }
    }
    work();
    for (auto& helper : helpers)
        helper.join();
}

} // namespace zorbel
