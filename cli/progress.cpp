#include "cli/progress.h"

#include <ostream>

namespace veskaron::cli {

Progress::Progress(std::ostream& err, bool enabled, std::size_t total)
    : err_(err), enabled_(enabled && total > 1), total_(total) {}

void Progress::Show(std::size_t done) {
    if (!enabled_) return;
    const auto now = std::chrono::steady_clock::now();
    if (shown_ && now - last_ < std::chrono::milliseconds(100) && done < total_) return;
    last_ = now;
    shown_ = true;
    err_ << "\r" << done << " of " << total_ << " pages" << std::flush;
}

void Progress::Finish() {
    if (!shown_) return;
    shown_ = false;
    err_ << "\r\033[K" << std::flush;
}

}  // namespace veskaron::cli
