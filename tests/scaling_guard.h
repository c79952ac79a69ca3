#pragma once
// Guards that a pass stays linear in the size of its input without asserting
// absolute times: the work on 8n bytes may take at most 16 times the work on n
// bytes (a quadratic pass takes about 64 times). Each size is timed several
// times and the fastest run counts, so a busy machine does not fail the test.
#include <algorithm>
#include <chrono>
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
template <class Make, class Run>
ScalingResult MeasureScaling(std::size_t n, Make make, Run run, int repeats = 5) {
    auto fastest = [&](std::size_t bytes) {
        const auto input = make(bytes);
        double best = 1e30;
        for (int i = 0; i < repeats; ++i) {
            auto copy = input;
            const auto t0 = std::chrono::steady_clock::now();
            run(copy);
            best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
        }
        return best;
    };
    ScalingResult r;
    r.small = fastest(n);
    r.large = fastest(8 * n);
    return r;
}

inline constexpr double kMaxScaling = 16.0;

}  // namespace veskaron::test
