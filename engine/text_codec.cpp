#include "engine/text_codec.h"

#include "engine/cp1251.h"

namespace veskaron {
namespace {

class Cp1251Codec final : public TextCodec {
public:
    std::string_view Name() const override { return "windows-1251"; }
    std::string ToUtf8(std::string_view bytes) const override { return Cp1251ToUtf8(bytes); }
    EncodeResult FromUtf8(std::string_view utf8) const override {
        return EncodeSingleBytes(utf8, UnicodeToCp1251);
    }
};

}  // namespace

CodecPtr Windows1251Codec() {
    static const CodecPtr codec = std::make_shared<Cp1251Codec>();
    return codec;
}

std::string NumericReference(char32_t cp) {
    return "&#" + std::to_string(static_cast<unsigned long>(cp)) + ";";
}

char32_t DecodeUtf8At(std::string_view s, std::size_t pos, std::size_t& length) {
    const auto b = static_cast<unsigned char>(s[pos]);
    length = 1;
    if (b < 0x80) return b;
    char32_t cp = 0;
    std::size_t len = 0;
    if ((b & 0xE0) == 0xC0) { cp = b & 0x1F; len = 2; }
    else if ((b & 0xF0) == 0xE0) { cp = b & 0x0F; len = 3; }
    else if ((b & 0xF8) == 0xF0) { cp = b & 0x07; len = 4; }
    else return 0xFFFD;
    if (pos + len > s.size()) return 0xFFFD;
    for (std::size_t k = 1; k < len; ++k) {
        const auto cb = static_cast<unsigned char>(s[pos + k]);
        if ((cb & 0xC0) != 0x80) return 0xFFFD;
        cp = (cp << 6) | (cb & 0x3F);
    }
    if ((len == 2 && cp < 0x80) || (len == 3 && cp < 0x800) || (len == 4 && cp < 0x10000) ||
        cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0xFFFD;
    length = len;
    return cp;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace veskaron
