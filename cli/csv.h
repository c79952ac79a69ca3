#pragma once
// Comma-separated values as RFC 4180 has them: a field holding a comma, a
// double quote or a line break is quoted, quotes inside doubled, and every
// record ends with CR LF.
#include <iosfwd>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

namespace veskaron::cli {

void WriteCsvRecord(std::ostream& out, const std::vector<std::string>& fields);

// A JSON object's members as named cells, nested objects flattened to
// "Member.Part" (the names --set takes); null is an empty cell, texts are
// written as they are, numbers and flags as JSON writes them.
std::vector<std::pair<std::string, std::string>> CsvCells(const nlohmann::json& object);

}  // namespace veskaron::cli
