#include "engine/cp1251.h"

#include <array>

#include "engine/text_codec.h"

namespace veskaron {
namespace {

constexpr std::array<char16_t, 64> kHigh80 = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0xE098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};

// Upper-case byte -> lower-case byte for the letters outside A..Z and 0xC0..0xDF.
constexpr std::array<std::pair<unsigned char, unsigned char>, 15> kExtraPairs = {{
    {0x80, 0x90}, {0x81, 0x83}, {0x8A, 0x9A}, {0x8C, 0x9C}, {0x8D, 0x9D},
    {0x8E, 0x9E}, {0x8F, 0x9F}, {0xA1, 0xA2}, {0xA3, 0xBC}, {0xA5, 0xB4},
    {0xA8, 0xB8}, {0xAA, 0xBA}, {0xAF, 0xBF}, {0xB2, 0xB3}, {0xBD, 0xBE},
}};

struct CaseTables {
    std::array<unsigned char, 256> lower{};
    std::array<unsigned char, 256> upper{};
    std::array<bool, 256> letter{};
    CaseTables() {
        for (int i = 0; i < 256; ++i) lower[i] = upper[i] = static_cast<unsigned char>(i);
        auto pair = [this](int up, int lo) {
            lower[up] = static_cast<unsigned char>(lo);
            upper[lo] = static_cast<unsigned char>(up);
            letter[up] = letter[lo] = true;
        };
        for (int i = 0; i < 26; ++i) pair('A' + i, 'a' + i);
        for (int i = 0; i < 32; ++i) pair(0xC0 + i, 0xE0 + i);
        for (auto [up, lo] : kExtraPairs) pair(up, lo);
    }
};

const CaseTables& Tables() {
    static const CaseTables tables;
    return tables;
}

}  // namespace

char32_t Cp1251ToUnicode(unsigned char byte) {
    if (byte < 0x80) return byte;
    if (byte >= 0xC0) return 0x0410 + (byte - 0xC0);
    return kHigh80[byte - 0x80];
}

int UnicodeToCp1251(char32_t cp) {
    if (cp < 0x80) return static_cast<int>(cp);
    if (cp >= 0x0410 && cp <= 0x044F) return static_cast<int>(0xC0 + (cp - 0x0410));
    for (std::size_t i = 0; i < kHigh80.size(); ++i)
        if (kHigh80[i] == cp) return static_cast<int>(0x80 + i);
    return -1;
}

std::string Cp1251ToUtf8(std::string_view bytes) {
    // Each byte's UTF-8 form looked up once; at most three bytes each.
    struct Form {
        char bytes[3];
        unsigned char size;
    };
    static const std::array<Form, 256> kForms = [] {
        std::array<Form, 256> forms{};
        for (int b = 0; b < 256; ++b) {
            std::string u;
            AppendUtf8(u, Cp1251ToUnicode(static_cast<unsigned char>(b)));
            for (std::size_t k = 0; k < u.size(); ++k) forms[b].bytes[k] = u[k];
            forms[b].size = static_cast<unsigned char>(u.size());
        }
        return forms;
    }();
    std::string out(bytes.size() * 3, '\0');
    char* dst = out.data();
    for (char c : bytes) {
        const Form& f = kForms[static_cast<unsigned char>(c)];
        dst[0] = f.bytes[0], dst[1] = f.bytes[1], dst[2] = f.bytes[2];
        dst += f.size;
    }
    out.resize(static_cast<std::size_t>(dst - out.data()));
    return out;
}

Cp1251Result Utf8ToCp1251(std::string_view s) {
    Cp1251Result r;
    r.text.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        std::size_t len = 1;
        const char32_t cp = DecodeUtf8At(s, i, len);
        if (cp == 0xFFFD && len == 1) {  // a real U+FFFD takes three bytes
            r.ok = false;
            r.error = "invalid UTF-8 at byte " + std::to_string(i);
            return r;
        }
        const int byte = UnicodeToCp1251(cp);
        if (byte < 0) {
            r.ok = false;
            std::string ch(s.substr(i, len));
            r.error = "character \"" + ch + "\" cannot be stored in Windows-1251";
            return r;
        }
        r.text += static_cast<char>(byte);
        i += len;
    }
    return r;
}

unsigned char LowerChar(unsigned char c) { return Tables().lower[c]; }
unsigned char UpperChar(unsigned char c) { return Tables().upper[c]; }
bool IsLetterChar(unsigned char c) { return Tables().letter[c]; }

std::string LowerText(std::string_view s) {
    std::string out(s);
    const auto& t = Tables().lower;
    for (char& c : out) c = static_cast<char>(t[static_cast<unsigned char>(c)]);
    return out;
}

std::string UpperText(std::string_view s) {
    std::string out(s);
    const auto& t = Tables().upper;
    for (char& c : out) c = static_cast<char>(t[static_cast<unsigned char>(c)]);
    return out;
}

std::string LowerAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = LowerAsciiChar(c);
    return out;
}

}  // namespace veskaron
