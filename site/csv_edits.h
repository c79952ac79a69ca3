#pragma once
// A CSV file of page edits: a row per page, its Path and the values to set,
// in columns named like the members `read` writes. The CSV that `read
// --format csv` and the site window write is taken as it is: their read-only
// columns are passed over.
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace veskaron::site {

struct CsvEditRow {
    std::size_t line = 0;  // where the row starts in the file, from 1
    std::string path;      // as the file gives it
    // Member name -> UTF-8 value, in column order, only the cells that set
    // something: an empty cell leaves the field as the page has it, a `""`
    // quoted alone sets it empty.
    std::vector<std::pair<std::string, std::string>> values;
};

// The row's values as "Member=VALUE" assignments, as PlanEdit takes them.
std::vector<std::string> Assignments(const CsvEditRow& row);

struct CsvEdits {
    bool ok = false;
    std::string error;  // "строка N: ..." when not ok
    std::vector<CsvEditRow> rows;
    char separator = ',';
    std::string note;    // how the file was read, in Russian (CsvFormatNote)
    bool plain = true;   // commas in UTF-8, as RFC 4180 has it
};

// Columns: `Path` (required); the settable members of `read` (Title, Robots,
// PageEnter.On, Canonical, OgTitle, ...) become values; the read-only ones
// (Size, Encoding, ExpiriesText, Hreflang, Error, ...) and the site window's
// own (TitleWidth, DescriptionWidth, Findings, WorstLevel) are passed over;
// any other column is an error naming it. A row without a Path, a path with
// a control character (a NUL), a page named twice, or a row longer than the
// header is an error; every error names its line. Rows of empty cells are
// skipped.
CsvEdits ReadCsvEdits(std::string_view bytes);

// Whether a CSV column of that name is passed over by ReadCsvEdits.
bool IsIgnoredCsvColumn(std::string_view name);

// Whether a row's `path` (relative to `folder`, or absolute) leads outside
// `folder` once ".." and links are resolved.
bool LeadsOutside(const std::string& folder, const std::string& path);
// The refusal of such a row, in Russian, naming it.
std::string OutsideFolderError(std::size_t line, const std::string& path, const std::string& folder);

}  // namespace veskaron::site
