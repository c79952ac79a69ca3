#pragma once
// "done of total" on one line of stderr for runs over many pages, redrawn at
// most a few times a second and wiped at the end. Silent unless stderr is a
// terminal, so redirected output gets nothing extra.
#include <chrono>
#include <cstddef>
#include <iosfwd>

namespace veskaron::cli {

class Progress {
public:
    Progress(std::ostream& err, bool enabled, std::size_t total);
    ~Progress() { Finish(); }
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    bool Enabled() const { return enabled_; }
    void Show(std::size_t done);
    void Finish();

private:
    std::ostream& err_;
    bool enabled_;
    std::size_t total_;
    bool shown_ = false;
    std::chrono::steady_clock::time_point last_{};
};

}  // namespace veskaron::cli
