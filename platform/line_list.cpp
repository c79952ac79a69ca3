#include "platform/line_list.h"

#include <filesystem>

#include "engine/cp1251.h"
#include "engine/text_codec.h"

namespace veskaron {

std::vector<std::string> SplitLineList(std::string_view bytes) {
    std::vector<std::string> items;
    std::size_t start = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n') continue;
        items.emplace_back(bytes.substr(start, i - start));
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < bytes.size()) items.emplace_back(bytes.substr(start));
    return items;
}

std::string JoinLineList(const std::vector<std::string>& items) {
    std::size_t size = 0;
    for (const auto& item : items) size += item.size() + 2;
    std::string out;
    out.reserve(size);
    for (const auto& item : items) {
        out += item;
        out += "\r\n";
    }
    return out;
}

LineListRead ReadLineList(const std::string& path) {
    LineListRead result;
    FileRead file = ReadWholeFile(path);
    result.ok = file.ok;
    // Not there for whatever reason (a folder on the way that is a file, a
    // dangling link): missing, not unreadable.
    std::error_code ec;
    result.missing = file.missing ||
                     (!file.ok && std::filesystem::status(path, ec).type() == std::filesystem::file_type::not_found);
    result.error = std::move(file.error);
    if (file.ok) result.items = SplitLineList(file.bytes);
    return result;
}

FileStatus WriteLineList(const std::string& path, const std::vector<std::string>& items) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].find_first_of("\r\n") != std::string::npos)
            return {false, "не удалось записать файл " + path + ": строка " + std::to_string(i + 1) +
                               " содержит перевод строки"};
    }
    return WriteFileAtomically(path, JoinLineList(items));
}

namespace {

// Turns back the references that the writer below makes: "&#N;" for a
// character outside Windows-1251. Any other text stays as it is, so a
// reference the user typed for a character of the code page is kept.
std::string DecodeOwnReferences(const std::string& utf8) {
    std::string out;
    std::size_t pos = 0;
    while (true) {
        const std::size_t amp = utf8.find("&#", pos);
        if (amp == std::string::npos) break;
        std::size_t end = amp + 2;
        unsigned long cp = 0;
        while (end < utf8.size() && end - amp < 10 && utf8[end] >= '0' && utf8[end] <= '9')
            cp = cp * 10 + static_cast<unsigned long>(utf8[end++] - '0');
        const bool digits = end > amp + 2;
        if (!digits || end >= utf8.size() || utf8[end] != ';' || cp > 0x10FFFF ||
            (cp >= 0xD800 && cp <= 0xDFFF) || UnicodeToCp1251(static_cast<char32_t>(cp)) >= 0) {
            out.append(utf8, pos, amp + 2 - pos);
            pos = amp + 2;
            continue;
        }
        out.append(utf8, pos, amp - pos);
        AppendUtf8(out, static_cast<char32_t>(cp));
        pos = end + 1;
    }
    out.append(utf8, pos);
    return out;
}

}  // namespace

std::string LineListItemToUtf8(std::string_view item) { return DecodeOwnReferences(Cp1251ToUtf8(item)); }

LineListRead ReadLineListUtf8(const std::string& path) {
    LineListRead result = ReadLineList(path);
    for (auto& item : result.items) item = LineListItemToUtf8(item);
    return result;
}

FileStatus WriteLineListUtf8(const std::string& path, const std::vector<std::string>& items) {
    std::vector<std::string> bytes;
    bytes.reserve(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::string& item = items[i];
        for (std::size_t at = 0, len = 1; at < item.size(); at += len) {
            if (DecodeUtf8At(item, at, len) == 0xFFFD && len == 1)
                return {false, "не удалось записать файл " + path + ": строка " + std::to_string(i + 1) +
                                   " - неверный UTF-8 (байт " + std::to_string(at + 1) + ")"};
        }
        bytes.push_back(Windows1251Codec()->FromUtf8(item).bytes);
    }
    return WriteLineList(path, bytes);
}

}  // namespace veskaron
