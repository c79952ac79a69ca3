#include "site/csv.h"

#include <ostream>

namespace veskaron::site {
namespace {

void Flatten(const nlohmann::json& value, const std::string& name,
             std::vector<std::pair<std::string, std::string>>& cells) {
    if (value.is_object()) {
        for (const auto& [key, member] : value.items())
            Flatten(member, name.empty() ? key : name + "." + key, cells);
    } else if (value.is_null()) {
        cells.emplace_back(name, std::string());
    } else if (value.is_string()) {
        cells.emplace_back(name, value.get<std::string>());
    } else {
        cells.emplace_back(name, value.dump());
    }
}

}  // namespace

void WriteCsvRecord(std::ostream& out, const std::vector<std::string>& fields) {
    bool first = true;
    for (const std::string& f : fields) {
        if (!first) out << ',';
        first = false;
        if (f.find_first_of(",\"\r\n") == std::string::npos) {
            out << f;
            continue;
        }
        out << '"';
        for (char c : f) {
            if (c == '"') out << '"';
            out << c;
        }
        out << '"';
    }
    out << "\r\n";
}

std::vector<std::pair<std::string, std::string>> CsvCells(const nlohmann::json& object) {
    std::vector<std::pair<std::string, std::string>> cells;
    Flatten(object, std::string(), cells);
    return cells;
}

CsvParse ParseCsv(std::string_view bytes) {
    CsvParse out;
    if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom) bytes.remove_prefix(kUtf8Bom.size());
    std::size_t line = 1;
    std::size_t i = 0;
    const std::size_t n = bytes.size();
    auto lineEndAt = [&](std::size_t at) -> std::size_t {  // length of the line end at `at`, 0 if none
        if (bytes[at] == '\n') return 1;
        if (bytes[at] == '\r') return at + 1 < n && bytes[at + 1] == '\n' ? 2 : 1;
        return 0;
    };
    auto error = [&](std::size_t at, const std::string& what) {
        out.error = "line " + std::to_string(at) + ": " + what;
        out.records.clear();
        out.lines.clear();
        return std::move(out);
    };
    while (i < n) {
        std::vector<CsvCell> record;
        out.lines.push_back(line);
        // One field per turn; the record ends at a line end or the text's end.
        for (;;) {
            CsvCell cell;
            if (i < n && bytes[i] == '"') {
                cell.quoted = true;
                const std::size_t opened = line;
                ++i;
                for (;;) {
                    const std::size_t quote = bytes.find('"', i);
                    if (quote == std::string_view::npos)
                        return error(opened, "a quoted field is not closed");
                    for (std::size_t k = i; k < quote; ++k) {
                        const std::size_t end = lineEndAt(k);
                        if (end > 0) {
                            ++line;
                            k += end - 1;
                        }
                    }
                    cell.text.append(bytes.substr(i, quote - i));
                    i = quote + 1;
                    if (i < n && bytes[i] == '"') {  // a doubled quote is one quote
                        cell.text += '"';
                        ++i;
                        continue;
                    }
                    break;
                }
                if (i < n && bytes[i] != ',' && lineEndAt(i) == 0)
                    return error(line, "text after the closing quote of a field");
            } else {
                const std::size_t from = i;
                while (i < n && bytes[i] != ',' && bytes[i] != '\r' && bytes[i] != '\n') {
                    if (bytes[i] == '"') return error(line, "a quote inside a field that does not start with one");
                    ++i;
                }
                cell.text.assign(bytes.substr(from, i - from));
            }
            record.push_back(std::move(cell));
            if (i < n && bytes[i] == ',') {
                ++i;
                continue;
            }
            if (i < n) {
                i += lineEndAt(i);
                ++line;
            }
            break;
        }
        out.records.push_back(std::move(record));
    }
    out.ok = true;
    return out;
}

}  // namespace veskaron::site
