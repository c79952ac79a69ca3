#include "generator/word_list_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

namespace veskaron::generator {

namespace {

std::string Describe(const std::string& what, const std::string& path, int err) {
    std::string msg = what + " \"" + path + "\"";
    if (err != 0) msg += ": " + std::string(std::strerror(err));
    return msg;
}

}  // namespace

std::vector<std::string> ParseWordList(std::string_view bytes) {
    if (const auto nul = bytes.find('\0'); nul != std::string_view::npos) bytes = bytes.substr(0, nul);
    std::vector<std::string> entries;
    std::size_t begin = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n') continue;
        entries.emplace_back(bytes.substr(begin, i - begin));
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        begin = i + 1;
    }
    if (begin < bytes.size()) entries.emplace_back(bytes.substr(begin));
    return entries;
}

std::string FormatWordList(const std::vector<std::string>& entries) {
    std::string out;
    for (const auto& e : entries) {
        out += e;
        out += "\r\n";
    }
    return out;
}

WordListRead ReadWordListFile(const std::string& path) {
    WordListRead result;
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        result.error = Describe("Cannot read the word list", path, EISDIR);
        return result;
    }
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        result.error = Describe("Cannot open the word list", path, errno);
        return result;
    }
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        result.error = Describe("Cannot read the word list", path, errno);
        return result;
    }
    result.entries = ParseWordList(bytes);
    result.ok = true;
    return result;
}

std::string WriteWordListFile(const std::string& path, const std::vector<std::string>& entries) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) {
            return "Cannot write the word list \"" + path + "\": entry " + std::to_string(i + 1) +
                   " holds a line break";
        }
    }
    namespace fs = std::filesystem;
    const fs::path target(path);
    std::error_code ec;
    if (fs::is_directory(target, ec)) return Describe("Cannot write the word list", path, EISDIR);

    std::random_device rd;
    const fs::path temp = target.parent_path() /
                          (target.filename().string() + ".tmp" + std::to_string(rd() % 1000000));
    const std::string text = FormatWordList(entries);
    {
        errno = 0;
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return Describe("Cannot write the word list", path, errno);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        out.flush();
        if (!out) {
            const int err = errno;
            out.close();
            fs::remove(temp, ec);
            return Describe("Cannot write the word list", path, err);
        }
        out.close();
        if (!out) {
            const int err = errno;
            fs::remove(temp, ec);
            return Describe("Cannot write the word list", path, err);
        }
    }
    fs::rename(temp, target, ec);
    if (ec) {
        const int err = ec.value();
        fs::remove(temp, ec);
        return Describe("Cannot write the word list", path, err);
    }
    return {};
}

}  // namespace veskaron::generator
