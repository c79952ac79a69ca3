#pragma once
// Guards that a pass stays linear in the size of its input without asserting
// absolute times: the work on 8n bytes may take at most 16 times the work on n
// bytes (a quadratic pass takes about 64 times). Each size is timed several
// times and the fastest run counts, and the time is the thread's own CPU time,
// so a busy machine, which takes the core away now and then, does not fail the
// test.
#include <time.h>

#include <algorithm>
#include <cstddef>
#include <functional>
#include <string>

namespace veskaron::test {

struct ScalingResult {
    double small = 0, large = 0;  // seconds, fastest run
    double Ratio() const { return small > 0 ? large / small : 0; }
};

// `make(bytes)` builds an input of about that size; `run(input)` does the work
// once (it may take the input by value to work on a fresh copy).
inline constexpr double kMaxScaling = 16.0;

inline double ThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

template <class Make, class Run>
ScalingResult MeasureScaling(std::size_t n, Make make, Run run, int repeats = 5) {
    const auto small = make(n);
    const auto large = make(8 * n);
    auto once = [&](const auto& input) {
        auto copy = input;
        const double t0 = ThreadSeconds();
        run(copy);
        return ThreadSeconds() - t0;
    };
    // The two sizes are timed in turn, so a burst of load elsewhere hits both,
    // and a whole measurement is retried before it counts as a failure: a pass
    // that really grows faster than linear fails every time.
    ScalingResult best;
    for (int attempt = 0; attempt < 3; ++attempt) {
        ScalingResult r{1e30, 1e30};
        for (int i = 0; i < repeats; ++i) {
            r.small = std::min(r.small, once(small));
            r.large = std::min(r.large, once(large));
        }
        if (attempt == 0 || r.Ratio() < best.Ratio()) best = r;
        if (best.Ratio() <= kMaxScaling) break;
    }
    return best;
}


}  // namespace veskaron::test
