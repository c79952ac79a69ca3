// CSV of page edits: any bytes are read or refused with a Russian error that
// names a line; a path the system would take otherwise (a control character,
// a NUL) is never let through, nor a page named twice; cells written back out
// read as they were, the formula guard included.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>

#include "fuzz/fuzz_common.h"
#include "site/csv.h"
#include "site/csv_edits.h"

using namespace veskaron;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    fuzz::ExpectEqual(bytes, site::UnguardFormula(site::GuardFormula(bytes)), "the formula guard does not come off");

    const site::CsvEdits edits = site::ReadCsvEdits(bytes);
    if (!edits.ok) {
        fuzz::Expect(edits.error.starts_with("строка "), "a CSV error names no line");
    } else {
        std::set<std::string> pages;
        std::size_t line = 0;
        for (const site::CsvEditRow& row : edits.rows) {
            for (const char c : row.path)
                fuzz::Expect(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F, "a path holds a control character");
            fuzz::Expect(pages.insert(std::filesystem::path(row.path).lexically_normal().string()).second,
                         "a page is named twice");
            fuzz::Expect(row.line > line, "rows out of their lines' order");
            line = row.line;
        }
    }

    // Read, written as this program writes CSV, read again: the same texts.
    const site::CsvParse csv = site::ParseCsv(bytes);
    if (!csv.ok) return 0;
    std::ostringstream out;
    out << site::kUtf8Bom;
    for (const auto& record : csv.records) {
        std::vector<std::string> cells;
        for (const site::CsvCell& c : record) cells.push_back(c.text);
        site::WriteCsvRecord(out, cells);
    }
    const site::CsvParse again = site::ParseCsv(out.str());
    fuzz::Expect(again.ok, "a written CSV does not read");
    fuzz::Expect(again.records.size() == csv.records.size(), "a written CSV reads as other records");
    for (std::size_t r = 0; r < csv.records.size(); ++r) {
        fuzz::Expect(again.records[r].size() == csv.records[r].size(), "a written record reads as other cells");
        for (std::size_t c = 0; c < csv.records[r].size(); ++c)
            fuzz::ExpectEqual(csv.records[r][c].text, again.records[r][c].text, "a written cell reads otherwise");
    }
    return 0;
}
