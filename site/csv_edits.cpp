#include "site/csv_edits.h"

#include <filesystem>
#include <map>

#include "engine/modern_head.h"
#include "site/csv.h"
#include "site/field_members.h"

namespace veskaron::site {
namespace {

// What `read` reports about a page but cannot be written back, and the site
// window's measures. ExpiriesText follows ExpiriesDate and ExpiriesTime: taking
// an old one after a new date would undo the date.
constexpr std::string_view kIgnored[] = {
    "Size",     "DownloadTime", "Passes",   "Encoding",   "EncodingSource",   "Converted",
    "Error",    "ExpiriesText", "Hreflang", "JsonLd",     "HtmlLang",         "TitleWidth",
    "DescriptionWidth",         "Findings", "WorstLevel",
    "Indexable", "IndexabilityReason", "IndexabilityDetail", "RobotsDirectives",
};

bool IsSettable(std::string_view name) {
    return FieldMembers().find(name) != FieldMembers().end() || ModernFieldByName(name) >= 0;
}

bool IsBlank(const std::vector<CsvCell>& record) {
    for (const CsvCell& c : record)
        if (c.quoted || !c.text.empty()) return false;
    return true;
}

CsvEdits Fail(std::string error) {
    CsvEdits out;
    out.error = std::move(error);
    return out;
}

}  // namespace

bool IsIgnoredCsvColumn(std::string_view name) {
    for (std::string_view n : kIgnored)
        if (n == name) return true;
    return false;
}

std::vector<std::string> Assignments(const CsvEditRow& row) {
    std::vector<std::string> out;
    out.reserve(row.values.size());
    for (const auto& [name, value] : row.values) out.push_back(name + "=" + value);
    return out;
}

CsvEdits ReadCsvEdits(std::string_view bytes) {
    CsvParse csv = ParseCsv(bytes);
    if (!csv.ok) return Fail(std::move(csv.error));
    if (csv.records.empty()) return Fail("the file is empty: it needs a header line with a Path column");

    // The header: for each column, the member it sets, or nothing.
    const std::vector<CsvCell>& header = csv.records.front();
    std::size_t pathColumn = 0;
    while (pathColumn < header.size() && header[pathColumn].text != "Path") ++pathColumn;
    if (pathColumn == header.size()) {
        std::string error = "no Path column in the header line";
        if (header.size() == 1 && header.front().text.find(';') != std::string::npos)
            error += " (fields must be separated by commas)";
        return Fail(std::move(error));
    }
    std::vector<const std::string*> members(header.size(), nullptr);
    std::map<std::string_view, std::size_t> seen;
    for (std::size_t c = 0; c < header.size(); ++c) {
        const std::string& name = header[c].text;
        if (!seen.emplace(name, c).second)
            return Fail("line " + std::to_string(csv.lines.front()) + ": column '" + name + "' is given twice");
        if (c == pathColumn || IsIgnoredCsvColumn(name)) continue;
        if (!IsSettable(name)) return Fail("unknown column '" + name + "'");
        members[c] = &name;
    }

    CsvEdits out;
    std::map<std::string, std::size_t> pages;  // the page's path -> its line, to find one named twice
    for (std::size_t r = 1; r < csv.records.size(); ++r) {
        std::vector<CsvCell>& record = csv.records[r];
        const std::size_t line = csv.lines[r];
        const std::string where = "line " + std::to_string(line) + ": ";
        if (IsBlank(record)) continue;
        for (std::size_t c = header.size(); c < record.size(); ++c)
            if (record[c].quoted || !record[c].text.empty())
                return Fail(where + "more cells than the header line has columns");
        if (pathColumn >= record.size() || record[pathColumn].text.empty()) return Fail(where + "no Path");
        CsvEditRow row;
        row.line = line;
        row.path = std::move(record[pathColumn].text);
        const std::string key = std::filesystem::path(row.path).lexically_normal().string();
        if (const auto [at, added] = pages.emplace(key, line); !added)
            return Fail(where + "page '" + row.path + "' is named in line " + std::to_string(at->second) + " already");
        for (std::size_t c = 0; c < record.size() && c < header.size(); ++c) {
            if (!members[c] || (!record[c].quoted && record[c].text.empty())) continue;
            row.values.emplace_back(*members[c], std::move(record[c].text));
        }
        out.rows.push_back(std::move(row));
    }
    out.ok = true;
    return out;
}

}  // namespace veskaron::site
