#pragma once
// A unified diff of two texts, line by line, for showing what a write would change.
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace veskaron::site {

// Lines without their line ends (LF or CR LF).
std::vector<std::string> SplitLinesForDiff(std::string_view text);

// Prints "--- name", "+++ name" and the hunks with three lines of context;
// nothing when the lines are the same.
void PrintUnifiedDiff(std::ostream& out, const std::string& name, const std::vector<std::string>& before,
                      const std::vector<std::string>& after);

}  // namespace veskaron::site
