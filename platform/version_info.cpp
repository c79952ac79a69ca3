#include "platform/version_info.h"

#include <algorithm>
#include <cstddef>
#include <fstream>
#include <functional>

namespace veskaron {
namespace detail {
extern const char kVersionBlock[];
extern const std::size_t kVersionBlockSize;
}  // namespace detail

namespace {

constexpr char kKeyEnd = '\x1f';
constexpr char kEntryEnd = '\x1e';
constexpr std::string_view kTail = "\x03" "END" "\x04";
// A block is small; anything longer is not one of ours.
constexpr std::size_t kMaxBlockSize = 64 * 1024;

// The marker is taken from the linked-in block itself, so the program holds
// it only once and a search of the own file does not stop at a copy of it.
std::string_view Magic() {
    const std::string_view block(detail::kVersionBlock, detail::kVersionBlockSize);
    return block.substr(0, block.find('\x02') + 1);
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        auto low = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
        return low(x) == low(y);
    });
}

// Decodes the entries that follow the marker; false when the bytes do not
// form a complete block.
bool DecodeBody(std::string_view body, VersionEntries& out) {
    out.clear();
    std::size_t pos = 0;
    while (true) {
        if (body.substr(pos, kTail.size()) == kTail) return true;
        const std::size_t keyEnd = body.find(kKeyEnd, pos);
        if (keyEnd == std::string_view::npos) return false;
        const std::size_t entryEnd = body.find(kEntryEnd, keyEnd + 1);
        if (entryEnd == std::string_view::npos) return false;
        std::string_view key = body.substr(pos, keyEnd - pos);
        std::string_view text = body.substr(keyEnd + 1, entryEnd - keyEnd - 1);
        auto control = [](char c) { return static_cast<unsigned char>(c) < 0x20; };
        if (key.empty() || std::any_of(key.begin(), key.end(), control) ||
            std::any_of(text.begin(), text.end(), control))
            return false;
        out.emplace_back(std::string(key), std::string(text));
        pos = entryEnd + 1;
    }
}

std::string Lookup(const VersionEntries& entries, std::string_view query) {
    for (const auto& [key, text] : entries)
        if (EqualNoCase(key, query)) return text;
    return {};
}

}  // namespace

std::string VersionQueryPath(std::string_view language, std::string_view field) {
    std::string path = "StringFileInfo\\";
    path += language;
    path += kVersionCodePage;
    path += '\\';
    path += field;
    return path;
}

std::string FormatVersionBlock(const VersionEntries& entries) {
    std::string block(Magic());
    for (const auto& [key, text] : entries) {
        block += key;
        block += kKeyEnd;
        block += text;
        block += kEntryEnd;
    }
    block += kTail;
    return block;
}

VersionEntries ParseVersionBlock(std::string_view bytes) {
    const std::string_view magic = Magic();
    const std::boyer_moore_horspool_searcher searcher(magic.begin(), magic.end());
    VersionEntries entries;
    auto from = bytes.begin();
    while (true) {
        auto hit = std::search(from, bytes.end(), searcher);
        if (hit == bytes.end()) return {};
        const std::size_t start = static_cast<std::size_t>(hit - bytes.begin()) + magic.size();
        if (DecodeBody(bytes.substr(start, kMaxBlockSize), entries)) return entries;
        from = hit + 1;
    }
}

std::string_view OwnVersionBlock() {
    return {detail::kVersionBlock, detail::kVersionBlockSize};
}

std::string QueryVersionValue(const std::string& language, const std::string& field) {
    static const VersionEntries own = ParseVersionBlock(OwnVersionBlock());
    return Lookup(own, VersionQueryPath(language, field));
}

std::string QueryVersionValueFromFile(const std::string& path, const std::string& language,
                                      const std::string& field) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    const std::string_view magic = Magic();
    const std::string query = VersionQueryPath(language, field);
    // Read in chunks; the tail of each chunk is kept so that a block that
    // straddles two chunks is still found whole.
    constexpr std::size_t kChunk = 1 << 20;
    const std::size_t keep = magic.size() + kMaxBlockSize;
    std::string window;
    std::string chunk(kChunk, '\0');
    while (in) {
        in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        const auto got = static_cast<std::size_t>(in.gcount());
        if (got == 0) break;
        window.append(chunk, 0, got);
        const bool atEnd = !in;
        // A marker near the end of the window may have its block cut off;
        // only trust a miss once the whole file is in view.
        const VersionEntries entries = ParseVersionBlock(window);
        if (!entries.empty()) return Lookup(entries, query);
        if (atEnd) break;
        if (window.size() > keep) window.erase(0, window.size() - keep);
    }
    return {};
}

}  // namespace veskaron
