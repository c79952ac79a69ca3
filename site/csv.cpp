#include "site/csv.h"

#include <algorithm>
#include <ostream>

#include "engine/encoding.h"
#include "engine/text_codec.h"

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

bool NeedsFormulaGuard(std::string_view cell) {
    const std::size_t first = cell.find_first_not_of('\'');
    return first != std::string_view::npos && std::string_view("=+-@\t\r").find(cell[first]) != std::string_view::npos;
}

std::string GuardFormula(std::string_view cell) {
    return NeedsFormulaGuard(cell) ? "'" + std::string(cell) : std::string(cell);
}

std::string UnguardFormula(std::string_view cell) {
    return cell.starts_with('\'') && NeedsFormulaGuard(cell.substr(1)) ? std::string(cell.substr(1)) : std::string(cell);
}

void WriteCsvRecord(std::ostream& out, const std::vector<std::string>& fields) {
    bool first = true;
    for (const std::string& field : fields) {
        if (!first) out << ',';
        first = false;
        const std::string f = GuardFormula(field);
        // A semicolon or a tab is quoted too, so that a reader never takes it for the separator.
        if (f.find_first_of(",\"\r\n;\t") == std::string::npos) {
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

std::string CsvLineError(std::size_t line, std::string_view what) {
    return "строка " + std::to_string(line) + ": " + std::string(what);
}

namespace {

std::string Utf16ToUtf8(std::string_view bytes, bool littleEndian) {
    std::string out;
    out.reserve(bytes.size());
    auto unit = [&](std::size_t i) -> char32_t {
        const auto a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
        return littleEndian ? a | (b << 8) : (a << 8) | b;
    };
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        char32_t cp = unit(i);
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 3 < bytes.size() && unit(i + 2) >= 0xDC00 && unit(i + 2) <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
            i += 2;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        AppendUtf8(out, cp);
    }
    return out;
}

// The file's text in UTF-8, and what it was.
std::string DecodeCsvText(std::string_view bytes, CsvEncoding& encoding) {
    if (bytes.starts_with(kUtf8Bom)) {
        encoding = CsvEncoding::Utf8Bom;
        return std::string(bytes.substr(kUtf8Bom.size()));
    }
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
        const bool little = bytes[0] == '\xFF';
        encoding = little ? CsvEncoding::Utf16Le : CsvEncoding::Utf16Be;
        return Utf16ToUtf8(bytes.substr(2), little);
    }
    const bool ascii = std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii || LooksLikeUtf8(bytes)) {
        encoding = CsvEncoding::Utf8;
        return std::string(bytes);
    }
    encoding = CsvEncoding::Windows1251;
    return Windows1251Codec()->ToUtf8(bytes);
}

// The separator the header line uses most: a comma, a semicolon or a tab
// (a comma when it holds none).
char DetectSeparator(std::string_view text) {
    std::size_t commas = 0, semicolons = 0, tabs = 0;
    bool quoted = false;
    for (char c : text) {
        if (c == '"') quoted = !quoted;
        if (quoted) continue;
        if (c == '\r' || c == '\n') break;
        commas += c == ',';
        semicolons += c == ';';
        tabs += c == '\t';
    }
    if (semicolons > commas && semicolons >= tabs) return ';';
    if (tabs > commas && tabs > semicolons) return '\t';
    return ',';
}

}  // namespace

CsvParse ParseCsv(std::string_view fileBytes) {
    CsvParse out;
    const std::string decoded = DecodeCsvText(fileBytes, out.encoding);
    const std::string_view bytes = decoded;
    const char sep = out.separator = DetectSeparator(bytes);
    std::size_t line = 1;
    std::size_t i = 0;
    const std::size_t n = bytes.size();
    auto lineEndAt = [&](std::size_t at) -> std::size_t {  // length of the line end at `at`, 0 if none
        if (bytes[at] == '\n') return 1;
        if (bytes[at] == '\r') return at + 1 < n && bytes[at + 1] == '\n' ? 2 : 1;
        return 0;
    };
    auto error = [&](std::size_t at, std::string_view what) {
        out.error = CsvLineError(at, what);
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
                    if (quote == std::string_view::npos) return error(opened, "поле в кавычках не закрыто");
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
                if (i < n && bytes[i] != sep && lineEndAt(i) == 0)
                    return error(line, "после закрывающей кавычки поля идёт текст");
            } else {
                const std::size_t from = i;
                while (i < n && bytes[i] != sep && bytes[i] != '\r' && bytes[i] != '\n') {
                    if (bytes[i] == '"') return error(line, "кавычка внутри поля, которое не начинается с кавычки");
                    ++i;
                }
                cell.text.assign(bytes.substr(from, i - from));
            }
            cell.text = UnguardFormula(cell.text);
            record.push_back(std::move(cell));
            if (i < n && bytes[i] == sep) {
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

bool IsPlainCsv(const CsvParse& csv) {
    return csv.separator == ',' && (csv.encoding == CsvEncoding::Utf8 || csv.encoding == CsvEncoding::Utf8Bom);
}

std::string CsvFormatNote(const CsvParse& csv) {
    const char* separator = csv.separator == ';' ? "точка с запятой" : csv.separator == '\t' ? "табуляция" : "запятая";
    const char* encoding = "UTF-8";
    switch (csv.encoding) {
        case CsvEncoding::Utf8: break;
        case CsvEncoding::Utf8Bom: encoding = "UTF-8 с меткой BOM"; break;
        case CsvEncoding::Utf16Le: encoding = "UTF-16LE"; break;
        case CsvEncoding::Utf16Be: encoding = "UTF-16BE"; break;
        case CsvEncoding::Windows1251: encoding = "Windows-1251"; break;
    }
    return std::string("Файл CSV прочитан так: разделитель — ") + separator + ", кодировка — " + encoding + ".";
}

}  // namespace veskaron::site
