#include "site/csv_edits.h"

#include <cstdio>
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
    "DescriptionWidth",         "Findings", "WorstLevel", "Inbound", "Depth",
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
    if (name.starts_with("RobotsDirectives.")) return true;  // what the robots words come to, for each robot
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
    if (csv.records.empty()) return Fail(CsvLineError(1, "файл пуст: в первой строке нужны названия столбцов, среди них Path"));

    // The header: for each column, the member it sets, or nothing.
    const std::vector<CsvCell>& header = csv.records.front();
    const std::size_t headerLine = csv.lines.front();
    std::size_t pathColumn = 0;
    while (pathColumn < header.size() && header[pathColumn].text != "Path") ++pathColumn;
    if (pathColumn == header.size()) return Fail(CsvLineError(headerLine, "в строке заголовка нет столбца Path"));
    std::vector<const std::string*> members(header.size(), nullptr);
    std::map<std::string_view, std::size_t> seen;
    for (std::size_t c = 0; c < header.size(); ++c) {
        const std::string& name = header[c].text;
        if (!seen.emplace(name, c).second)
            return Fail(CsvLineError(headerLine, "столбец «" + name + "» указан дважды"));
        if (c == pathColumn || IsIgnoredCsvColumn(name)) continue;
        if (!IsSettable(name)) return Fail(CsvLineError(headerLine, "неизвестный столбец «" + name + "»"));
        members[c] = &name;
    }

    CsvEdits out;
    out.separator = csv.separator;
    out.note = CsvFormatNote(csv);
    out.plain = IsPlainCsv(csv);
    std::map<std::string, std::size_t> pages;  // the page's path -> its line, to find one named twice
    for (std::size_t r = 1; r < csv.records.size(); ++r) {
        std::vector<CsvCell>& record = csv.records[r];
        const std::size_t line = csv.lines[r];
        if (IsBlank(record)) continue;
        for (std::size_t c = header.size(); c < record.size(); ++c)
            if (record[c].quoted || !record[c].text.empty())
                return Fail(CsvLineError(line, "ячеек больше, чем столбцов в строке заголовка"));
        if (pathColumn >= record.size() || record[pathColumn].text.empty())
            return Fail(CsvLineError(line, "не указан путь к странице (столбец Path)"));
        CsvEditRow row;
        row.line = line;
        row.path = std::move(record[pathColumn].text);
        // A NUL would cut the path short where the system takes it, and a page
        // named so could be named twice unnoticed.
        for (const char c : row.path) {
            const auto u = static_cast<unsigned char>(c);
            if (u < 0x20 || u == 0x7F) {
                char code[8];
                std::snprintf(code, sizeof code, "%02X", u);
                return Fail(CsvLineError(line, std::string("в пути к странице управляющий символ (код 0x") + code + ")"));
            }
        }
        const std::string key = std::filesystem::path(row.path).lexically_normal().string();
        if (const auto [at, added] = pages.emplace(key, line); !added)
            return Fail(CsvLineError(line, "страница «" + row.path + "» уже названа в строке " + std::to_string(at->second)));
        for (std::size_t c = 0; c < record.size() && c < header.size(); ++c) {
            if (!members[c] || (!record[c].quoted && record[c].text.empty())) continue;
            row.values.emplace_back(*members[c], std::move(record[c].text));
        }
        out.rows.push_back(std::move(row));
    }
    out.ok = true;
    return out;
}

bool LeadsOutside(const std::string& folder, const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path root = fs::weakly_canonical(fs::absolute(folder, ec), ec);
    if (ec) return true;
    const fs::path page = fs::weakly_canonical(fs::absolute(fs::path(folder) / path, ec), ec);
    if (ec) return true;
    // Component by component: "/site2/a.htm" is not inside "/site".
    auto r = root.begin(), p = page.begin();
    for (; r != root.end(); ++r, ++p) {
        if (r->empty()) continue;  // the empty last part of "/site/"
        if (p == page.end() || *r != *p) return true;
    }
    return p == page.end();
}

std::string OutsideFolderError(std::size_t line, const std::string& path, const std::string& folder) {
    return CsvLineError(line, "путь «" + path + "» ведёт за пределы папки «" + folder + "»; строка пропущена");
}

}  // namespace veskaron::site
