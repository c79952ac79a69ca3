#pragma once
// Comma-separated values as RFC 4180 has them: a field holding a comma, a
// double quote or a line break is quoted, quotes inside doubled, and every
// record ends with CR LF. The reader takes what spreadsheets write: a UTF-8
// byte-order mark, CR LF or LF line ends, quoted fields over several lines.
#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

namespace veskaron::site {

// Spreadsheets read a file as UTF-8 only when it starts with this mark.
inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

void WriteCsvRecord(std::ostream& out, const std::vector<std::string>& fields);

// A JSON object's members as named cells, nested objects flattened to
// "Member.Part" (the names --set takes); null is an empty cell, texts are
// written as they are, numbers and flags as JSON writes them.
std::vector<std::pair<std::string, std::string>> CsvCells(const nlohmann::json& object);

struct CsvCell {
    std::string text;
    bool quoted = false;  // written in quotes: `""` is an empty text given on purpose
};

struct CsvParse {
    bool ok = false;
    std::string error;  // "line N: ..." when not ok
    std::vector<std::vector<CsvCell>> records;
    std::vector<std::size_t> lines;  // the line (from 1) each record starts on
};

// Reads the whole text in one pass. A record is a line, or more where a
// quoted field holds line breaks; the line ends inside quotes are kept as they
// are. A blank last line is no record.
CsvParse ParseCsv(std::string_view bytes);

}  // namespace veskaron::site
