#include "platform/line_list.h"

#include "engine/cp1251.h"

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
    result.missing = file.missing;
    result.error = std::move(file.error);
    if (file.ok) result.items = SplitLineList(file.bytes);
    return result;
}

FileStatus WriteLineList(const std::string& path, const std::vector<std::string>& items) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].find_first_of("\r\n") != std::string::npos)
            return {false, "cannot write " + path + ": item " + std::to_string(i + 1) +
                               " holds a line break"};
    }
    return WriteFileAtomically(path, JoinLineList(items));
}

LineListRead ReadLineListUtf8(const std::string& path) {
    LineListRead result = ReadLineList(path);
    for (auto& item : result.items) item = Cp1251ToUtf8(item);
    return result;
}

FileStatus WriteLineListUtf8(const std::string& path, const std::vector<std::string>& items) {
    std::vector<std::string> bytes;
    bytes.reserve(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        Cp1251Result converted = Utf8ToCp1251(items[i]);
        if (!converted.ok)
            return {false, "cannot write " + path + ": item " + std::to_string(i + 1) + " (" +
                               items[i] + "): " + converted.error};
        bytes.push_back(std::move(converted.text));
    }
    return WriteLineList(path, bytes);
}

}  // namespace veskaron
