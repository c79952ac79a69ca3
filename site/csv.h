#pragma once
// Comma-separated values as RFC 4180 has them: a field holding a comma, a
// double quote or a line break is quoted, quotes inside doubled, and every
// record ends with CR LF. A cell that a spreadsheet would run as a formula is
// written with an apostrophe in front, which the reader takes off again. The
// reader takes what spreadsheets write: a comma, a semicolon or a tab between
// fields (told by the header line), UTF-8 with or without a byte-order mark,
// UTF-16 with one, or else Windows-1251 (a spreadsheet in a Russian locale),
// CR LF or LF line ends, quoted fields over several lines. Its errors are
// worded in Russian and name their line.
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

// Whether a spreadsheet would take a cell for a formula: it starts with '=',
// '+', '-', '@', a tab or a CR, after any apostrophes (so that one that starts
// with an apostrophe is guarded too, and the guard comes off exactly).
bool NeedsFormulaGuard(std::string_view cell);
// The cell with an apostrophe in front where it needs one, and back.
std::string GuardFormula(std::string_view cell);
std::string UnguardFormula(std::string_view cell);

// A JSON object's members as named cells, nested objects flattened to
// "Member.Part" (the names --set takes); null is an empty cell, texts are
// written as they are, numbers and flags as JSON writes them.
std::vector<std::pair<std::string, std::string>> CsvCells(const nlohmann::json& object);

struct CsvCell {
    std::string text;
    bool quoted = false;  // written in quotes: `""` is an empty text given on purpose
};

enum class CsvEncoding { Utf8, Utf8Bom, Utf16Le, Utf16Be, Windows1251 };

struct CsvParse {
    bool ok = false;
    std::string error;  // "строка N: ..." when not ok
    char separator = ',';
    CsvEncoding encoding = CsvEncoding::Utf8;
    std::vector<std::vector<CsvCell>> records;
    std::vector<std::size_t> lines;  // the line (from 1) each record starts on
};

// Reads the whole file in one pass, into UTF-8 texts. A record is a line, or
// more where a quoted field holds line breaks; the line ends inside quotes are
// kept as they are. A blank last line is no record.
CsvParse ParseCsv(std::string_view bytes);

// "строка N: " + what: how every CSV error starts.
std::string CsvLineError(std::size_t line, std::string_view what);

// What the reader took the file for, in Russian: "разделитель «;»,
// кодировка Windows-1251".
std::string CsvFormatNote(const CsvParse& csv);
// Whether that is other than RFC 4180's commas in UTF-8 (worth telling).
bool IsPlainCsv(const CsvParse& csv);

}  // namespace veskaron::site
