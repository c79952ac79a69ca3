#include "engine/encoding.h"

#include <utf8proc.h>

#include <array>
#include <cstdint>
#include <cstring>

#include "engine/cp1251.h"
#include "engine/koi8.h"

namespace veskaron {
namespace {

bool IsBlankOrQuote(char c) { return static_cast<unsigned char>(c) <= ' ' || c == '"' || c == '\''; }

std::string_view TrimName(std::string_view s) {
    while (!s.empty() && IsBlankOrQuote(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlankOrQuote(s.back())) s.remove_suffix(1);
    return s;
}

bool IsNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.' ||
           c == ':';
}

// Length of the ASCII run at `pos`, eight bytes at a time.
std::size_t AsciiRun(std::string_view s, std::size_t pos) {
    const std::size_t start = pos;
    while (pos + 8 <= s.size()) {
        std::uint64_t word;
        std::memcpy(&word, s.data() + pos, 8);
        if (word & 0x8080808080808080ULL) break;
        pos += 8;
    }
    while (pos < s.size() && static_cast<unsigned char>(s[pos]) < 0x80) ++pos;
    return pos - start;
}

}  // namespace

std::string_view EncodingSourceName(EncodingSource source) {
    switch (source) {
        case EncodingSource::Bom: return "bom";
        case EncodingSource::MetaCharset: return "meta-charset";
        case EncodingSource::ContentType: return "content-type";
        case EncodingSource::Detected: return "detected";
        case EncodingSource::Default: break;
    }
    return "default";
}

std::string UsableCharset(std::string_view declared) {
    const std::string name = LowerAscii(TrimName(declared));
    if (name.empty() || name.size() > 40) return {};
    for (char c : name)
        if (!IsNameChar(c)) return {};
    if (name == "utf-8" || name == "utf8") return "utf-8";
    if (name == "windows-1251" || name == "cp1251" || name == "x-cp1251") return "windows-1251";
    if (name == "koi8-r" || name == "koi8-u") return name;
    return CharsetCodec(name) ? name : std::string();
}

TextKind KindForCharset(std::string_view charset) {
    return charset == "windows-1251" || charset == "koi8-r" || charset == "koi8-u" ? TextKind::Cp1251
                                                                                   : TextKind::Utf8;
}

CodecPtr CodecForKind(TextKind kind) {
    return kind == TextKind::Utf8 ? Utf8Codec() : Windows1251Codec();
}

bool LooksLikeUtf8(std::string_view bytes) {
    bool multiByte = false;
    std::size_t i = 0;
    while (i < bytes.size()) {
        i += AsciiRun(bytes, i);
        if (i >= bytes.size()) break;
        std::size_t len = 1;
        if (DecodeUtf8At(bytes, i, len) == 0xFFFD && len == 1) return false;
        multiByte = true;
        i += len;
    }
    return multiByte;
}

std::string CharsetAttribute(std::string_view tag) {
    std::size_t i = 0;
    if (i < tag.size() && tag[i] == '<') ++i;
    // Skip the element name.
    while (i < tag.size() && static_cast<unsigned char>(tag[i]) > ' ' && tag[i] != '>') ++i;
    while (i < tag.size() && tag[i] != '>') {
        while (i < tag.size() && (static_cast<unsigned char>(tag[i]) <= ' ' || tag[i] == '/')) ++i;
        const std::size_t nameStart = i;
        while (i < tag.size() && static_cast<unsigned char>(tag[i]) > ' ' && tag[i] != '=' &&
               tag[i] != '>' && tag[i] != '/')
            ++i;
        const std::string name = LowerAscii(tag.substr(nameStart, i - nameStart));
        std::size_t j = i;
        while (j < tag.size() && static_cast<unsigned char>(tag[j]) <= ' ') ++j;
        std::string_view value;
        if (j < tag.size() && tag[j] == '=') {
            ++j;
            while (j < tag.size() && static_cast<unsigned char>(tag[j]) <= ' ') ++j;
            if (j < tag.size() && (tag[j] == '"' || tag[j] == '\'')) {
                const char quote = tag[j++];
                const std::size_t end = tag.find(quote, j);
                value = tag.substr(j, (end == std::string_view::npos ? tag.size() : end) - j);
                j = end == std::string_view::npos ? tag.size() : end + 1;
            } else {
                const std::size_t start = j;
                while (j < tag.size() && static_cast<unsigned char>(tag[j]) > ' ' && tag[j] != '>') ++j;
                value = tag.substr(start, j - start);
            }
            i = j;
        }
        if (name == "charset") return std::string(TrimName(value));
        if (i == nameStart) ++i;  // a stray character: move on
    }
    return {};
}

namespace {

// Lower case of the two-byte characters (U+0080 to U+07FF: Latin, Greek,
// Cyrillic, ...), which make up most non-ASCII text, looked up once.
const std::array<char32_t, 0x800>& TwoByteLower() {
    static const std::array<char32_t, 0x800> table = [] {
        std::array<char32_t, 0x800> t{};
        for (char32_t cp = 0; cp < 0x800; ++cp)
            t[cp] = static_cast<char32_t>(utf8proc_tolower(static_cast<utf8proc_int32_t>(cp)));
        return t;
    }();
    return table;
}

}  // namespace

std::string LowerFor(TextKind kind, std::string_view text) {
    if (kind == TextKind::Cp1251) return LowerText(text);
    const auto& twoByte = TwoByteLower();
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n) {
        const std::size_t run = AsciiRun(text, i);
        for (std::size_t k = i; k < i + run; ++k) out += LowerAsciiChar(text[k]);
        i += run;
        if (i >= n) break;
        const auto b0 = static_cast<unsigned char>(text[i]);
        if ((b0 & 0xE0) == 0xC0 && b0 >= 0xC2 && i + 1 < n &&
            (static_cast<unsigned char>(text[i + 1]) & 0xC0) == 0x80) {
            const char32_t cp = (char32_t(b0 & 0x1F) << 6) | (static_cast<unsigned char>(text[i + 1]) & 0x3F);
            const char32_t lower = twoByte[cp];
            if (lower == cp) out.append(text.data() + i, 2);
            else AppendUtf8(out, lower);
            i += 2;
            continue;
        }
        std::size_t len = 1;
        const char32_t cp = DecodeUtf8At(text, i, len);
        if (cp == 0xFFFD && len == 1) {
            out += text[i];
        } else {
            const auto lower = utf8proc_tolower(static_cast<utf8proc_int32_t>(cp));
            if (static_cast<char32_t>(lower) == cp) out.append(text.substr(i, len));
            else AppendUtf8(out, static_cast<char32_t>(lower));
        }
        i += len;
    }
    return out;
}

namespace {

// Counts characters up to `limit` (then stops).
std::size_t CountUtf8(std::string_view text, std::size_t limit) {
    std::size_t count = 0, i = 0;
    const std::size_t n = text.size();
    while (i < n && count <= limit) {
        const std::size_t run = AsciiRun(text, i);
        count += run;
        i += run;
        if (i >= n) break;
        const auto b0 = static_cast<unsigned char>(text[i]);
        if ((b0 & 0xE0) == 0xC0 && b0 >= 0xC2 && i + 1 < n &&
            (static_cast<unsigned char>(text[i + 1]) & 0xC0) == 0x80) {
            i += 2;
        } else {
            std::size_t len = 1;
            DecodeUtf8At(text, i, len);
            i += len;
        }
        ++count;
    }
    return count;
}

}  // namespace

std::size_t CharCount(TextKind kind, std::string_view text) {
    if (kind == TextKind::Cp1251) return text.size();
    return CountUtf8(text, text.size());
}

bool LongerThanChars(TextKind kind, std::string_view text, std::size_t n) {
    if (text.size() <= n) return false;  // never more characters than bytes
    if (kind == TextKind::Cp1251) return true;
    return CountUtf8(text, n) > n;
}

EncodeResult EncodeText(std::string_view text, TextKind kind, std::string_view charset) {
    const TextKind target = KindForCharset(charset);
    if (kind == TextKind::Cp1251) {
        if (charset == "koi8-r") return {TranslateChars(text, Koi8RSave()), 0};
        if (charset == "koi8-u") return {TranslateChars(text, Koi8USave()), 0};
        if (target == TextKind::Cp1251) return {std::string(text), 0};
        if (charset == "utf-8") return {Cp1251ToUtf8(text), 0};
        const CodecPtr codec = CharsetCodec(charset);
        return codec ? codec->FromUtf8(Cp1251ToUtf8(text)) : EncodeResult{std::string(text), 0};
    }
    if (charset == "utf-8") return {std::string(text), 0};
    if (target == TextKind::Cp1251) {
        EncodeResult r = Windows1251Codec()->FromUtf8(text);
        if (charset == "koi8-r") TranslateInPlace(r.bytes, Koi8RSave());
        if (charset == "koi8-u") TranslateInPlace(r.bytes, Koi8USave());
        return r;
    }
    const CodecPtr codec = CharsetCodec(charset);
    return codec ? codec->FromUtf8(text) : EncodeResult{std::string(text), 0};
}

bool DecodeText(std::string& text, std::string_view charset) {
    if (charset == "koi8-r") {
        TranslateInPlace(text, Koi8RLoad());
        return true;
    }
    if (charset == "koi8-u") {
        TranslateInPlace(text, Koi8ULoad());
        return true;
    }
    if (charset == "utf-8" || charset == "windows-1251") return false;
    const CodecPtr codec = CharsetCodec(charset);
    if (!codec) return false;
    text = codec->ToUtf8(text);
    return true;
}

}  // namespace veskaron
