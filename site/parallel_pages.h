#pragma once
// Many pages (or any items) worked on at once, each on its own, with a count
// of those done, a stop, and the results kept in the items' order. Plain
// threads: the command line uses it as the windows do (ui/common/BackgroundWork).
#include <atomic>
#include <chrono>
#include <cstddef>
#include <functional>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

namespace veskaron::site {

// Several threads per core: a page that is not in the cache keeps its thread
// waiting for the disk, and more reads in flight finish a cold folder about
// three times sooner; with the pages cached the extra threads cost nothing.
std::size_t DiskThreads(unsigned perCore = 8, std::size_t most = 64);

// What the caller and the workers share while a run lasts.
struct ParallelControl {
    std::atomic<bool> stop{false};       // the workers take no item after it is set
    std::atomic<std::size_t> done{0};    // items finished
};

struct ParallelOptions {
    std::size_t threads = 0;  // 0: DiskThreads()
    // The workers yield to other threads (the window's), which then still
    // answer with every core busy.
    bool lowerPriority = false;
    // Called on the calling thread with the count done, every `progressEvery`
    // while the workers run and once when they end.
    std::function<void(std::size_t done)> progress;
    std::chrono::milliseconds progressEvery{50};
};

// Calls each(i) once for every i below n, unless a stop comes first, on
// worker threads; returns when they have all ended.
void RunEach(std::size_t n, const std::function<void(std::size_t)>& each, ParallelControl& control,
             const ParallelOptions& options = {});

// One slot per item, marked when filled, so that one reader can take the
// finished front (in order) while later items are still worked on.
template <typename T>
class OrderedResults {
public:
    explicit OrderedResults(std::size_t n) : items_(n), ready_(std::make_unique<std::atomic<bool>[]>(n)) {}

    std::size_t size() const { return items_.size(); }
    // Any thread, once per slot.
    void Put(std::size_t i, T value) {
        items_[i] = std::move(value);
        ready_[i].store(true, std::memory_order_release);
    }
    bool FrontReady() const { return taken_ < items_.size() && ready_[taken_].load(std::memory_order_acquire); }
    // The filled slots after those taken before, up to the first empty one.
    std::vector<T> TakeFront(std::size_t most = std::numeric_limits<std::size_t>::max()) {
        std::vector<T> front;
        while (front.size() < most && FrontReady()) front.push_back(std::move(items_[taken_++]));
        return front;
    }
    // Every slot, the empty ones default; once the workers have ended.
    std::vector<T> TakeAll() {
        taken_ = items_.size();
        return std::move(items_);
    }

private:
    std::vector<T> items_;
    std::unique_ptr<std::atomic<bool>[]> ready_;
    std::size_t taken_ = 0;
};

// work(i) for every i below n, the results in the items' order; after a
// stop the items not reached hold a default value.
template <typename Work>
auto ParallelMap(std::size_t n, Work work, ParallelControl& control, const ParallelOptions& options = {}) {
    using Result = decltype(work(std::size_t{}));
    std::vector<Result> results(n);
    RunEach(n, [&](std::size_t i) { results[i] = work(i); }, control, options);
    return results;
}

}  // namespace veskaron::site
