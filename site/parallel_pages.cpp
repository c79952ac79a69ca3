#include "site/parallel_pages.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>

#ifdef __linux__
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace veskaron::site {
namespace {

void LowerThisThreadsPriority() {
#ifdef __linux__
    // Linux keeps a nice value per thread: only this worker yields.
    ::setpriority(PRIO_PROCESS, static_cast<id_t>(::syscall(SYS_gettid)), 5);
#endif
}

}  // namespace

std::size_t DiskThreads(unsigned perCore, std::size_t most) {
    return std::min<std::size_t>(most, std::size_t{perCore} * std::max(1u, std::thread::hardware_concurrency()));
}

void RunEach(std::size_t n, const std::function<void(std::size_t)>& each, ParallelControl& control,
             const ParallelOptions& options) {
    const std::size_t threads =
        std::clamp<std::size_t>(options.threads ? options.threads : DiskThreads(), 1, std::max<std::size_t>(n, 1));
    std::atomic<std::size_t> next{0};
    std::mutex mutex;
    std::condition_variable allEnded;
    std::size_t ended = 0;
    std::exception_ptr failure;
    auto work = [&] {
        if (options.lowerPriority) LowerThisThreadsPriority();
        try {
            for (std::size_t i = next++; i < n && !control.stop; i = next++) {
                each(i);
                ++control.done;
            }
        } catch (...) {
            // The first failure ends the run and reaches the caller.
            control.stop = true;
            std::lock_guard lock(mutex);
            if (!failure) failure = std::current_exception();
        }
        std::lock_guard lock(mutex);
        ++ended;
        allEnded.notify_one();
    };
    // The calling thread only waits (and tells the progress): its priority
    // stays as it was.
    std::vector<std::thread> pool;
    pool.reserve(threads);
    for (std::size_t t = 0; t < threads; ++t) pool.emplace_back(work);
    {
        std::unique_lock lock(mutex);
        const auto over = [&] { return ended == threads; };
        if (options.progress) {
            while (!allEnded.wait_for(lock, options.progressEvery, over)) {
                lock.unlock();
                options.progress(control.done);
                lock.lock();
            }
        } else {
            allEnded.wait(lock, over);
        }
    }
    for (std::thread& t : pool) t.join();
    if (options.progress) options.progress(control.done);
    if (failure) std::rethrow_exception(failure);
}

}  // namespace veskaron::site
