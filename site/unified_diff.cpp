#include "site/unified_diff.h"

#include <ostream>

#include <dtl/dtl.hpp>

namespace veskaron::site {

std::vector<std::string> SplitLinesForDiff(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t from = 0;
    while (from < text.size()) {
        std::size_t end = text.find('\n', from);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(from, end - from);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.emplace_back(line);
        from = end + 1;
    }
    return lines;
}

void PrintUnifiedDiff(std::ostream& out, const std::string& name, const std::vector<std::string>& before,
                      const std::vector<std::string>& after) {
    if (before == after) return;
    dtl::Diff<std::string> diff(before, after);
    diff.onHuge();  // a large page with many changes still finishes quickly
    diff.compose();
    diff.composeUnifiedHunks();
    out << "--- " << name << "\n+++ " << name << "\n";
    diff.printUnifiedFormat(out);
}

}  // namespace veskaron::site
