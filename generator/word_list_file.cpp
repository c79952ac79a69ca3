#include "generator/word_list_file.h"

#include <filesystem>

#include "engine/file_io.h"
#include "platform/line_list.h"

namespace veskaron::generator {

std::vector<std::string> ParseWordList(std::string_view bytes) {
    if (const auto nul = bytes.find('\0'); nul != std::string_view::npos) bytes = bytes.substr(0, nul);
    return SplitLineList(bytes);
}

std::string FormatWordList(const std::vector<std::string>& entries) { return JoinLineList(entries); }

WordListRead ReadWordListFile(const std::string& path) {
    WordListRead result;
    FileRead file = ReadWholeFile(path);
    result.ok = file.ok;
    // A list that is not there is empty, whatever keeps it from being there:
    // no such file, a folder on the way that is a file, a dangling link.
    std::error_code ec;
    result.missing = file.missing ||
                     (!file.ok && std::filesystem::status(path, ec).type() == std::filesystem::file_type::not_found);
    result.error = std::move(file.error);
    if (file.ok) result.entries = ParseWordList(file.bytes);
    return result;
}

std::string WriteWordListFile(const std::string& path, const std::vector<std::string>& entries) {
    // A NUL ends the text when it is read, so it would cut the list short.
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].find('\0') != std::string::npos)
            return "не удалось записать файл " + path + ": строка " + std::to_string(i + 1) + " содержит байт NUL";
    }
    FileStatus status = WriteLineList(path, entries);
    return status.ok ? std::string() : status.error;
}

}  // namespace veskaron::generator
