#include "indexing/image_size.h"

#include <cstdio>
#include <cstdint>

namespace veskaron::indexing {
namespace {

unsigned Byte(std::string_view b, std::size_t i) { return static_cast<unsigned char>(b[i]); }
unsigned Be16(std::string_view b, std::size_t i) { return Byte(b, i) << 8 | Byte(b, i + 1); }
unsigned Le16(std::string_view b, std::size_t i) { return Byte(b, i) | Byte(b, i + 1) << 8; }
unsigned Le24(std::string_view b, std::size_t i) { return Le16(b, i) | Byte(b, i + 2) << 16; }
std::uint32_t Be32(std::string_view b, std::size_t i) { return std::uint32_t(Be16(b, i)) << 16 | Be16(b, i + 2); }

ImageSize Sized(long long w, long long h) {
    if (w <= 0 || h <= 0 || w > 1 << 30 || h > 1 << 30) return {};
    return {true, static_cast<int>(w), static_cast<int>(h)};
}

ImageSize Jpeg(std::string_view b) {
    std::size_t i = 2;
    while (i + 9 < b.size()) {
        if (Byte(b, i) != 0xFF) return {};
        const unsigned marker = Byte(b, i + 1);
        if (marker == 0xFF) {
            ++i;
            continue;
        }
        // Markers without a length: the start, the end, restarts.
        if (marker == 0xD8 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            i += 2;
            continue;
        }
        // Frame headers, all but the define-table markers among C0..CF.
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
            return Sized(Be16(b, i + 7), Be16(b, i + 5));
        i += 2 + Be16(b, i + 2);
    }
    return {};
}

ImageSize Webp(std::string_view b) {
    const std::string_view chunk = b.substr(12, 4);
    if (chunk == "VP8 " && b.size() >= 30) return Sized(Le16(b, 26) & 0x3FFF, Le16(b, 28) & 0x3FFF);
    if (chunk == "VP8L" && b.size() >= 25 && Byte(b, 20) == 0x2F) {
        const std::uint32_t bits = Byte(b, 21) | Byte(b, 22) << 8 | Byte(b, 23) << 16 | std::uint32_t(Byte(b, 24)) << 24;
        return Sized((bits & 0x3FFF) + 1, ((bits >> 14) & 0x3FFF) + 1);
    }
    if (chunk == "VP8X" && b.size() >= 30) return Sized(Le24(b, 24) + 1, Le24(b, 27) + 1);
    return {};
}

}  // namespace

ImageSize ImageSizeOf(std::string_view b) {
    if (b.size() >= 24 && b.substr(0, 8) == "\x89PNG\r\n\x1a\n" && b.substr(12, 4) == "IHDR")
        return Sized(Be32(b, 16), Be32(b, 20));
    if (b.size() >= 10 && (b.substr(0, 6) == "GIF87a" || b.substr(0, 6) == "GIF89a")) return Sized(Le16(b, 6), Le16(b, 8));
    if (b.size() >= 4 && Byte(b, 0) == 0xFF && Byte(b, 1) == 0xD8) return Jpeg(b);
    if (b.size() >= 16 && b.substr(0, 4) == "RIFF" && b.substr(8, 4) == "WEBP") return Webp(b);
    return {};
}

ImageSize ReadImageSize(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return {};
    std::string bytes(256 * 1024, '\0');
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
    std::fclose(f);
    return ImageSizeOf(bytes);
}

}  // namespace veskaron::indexing
