#include "cli/csv.h"

#include <ostream>

namespace veskaron::cli {
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

}  // namespace veskaron::cli
