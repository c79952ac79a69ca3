#include "engine/encoding.h"

#include <utf8proc.h>

#include <array>
#include <cstdint>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
    const ValueSpan span = CharsetAttributeSpan(tag);
    return std::string(tag.substr(span.offset, span.length));
}

ValueSpan CharsetAttributeSpan(std::string_view tag) {
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
        if (name == "charset") {
            const std::string_view trimmed = TrimName(value);
            // A value that is no name at all ("charset=<title>" of a broken
            // tag) declares nothing, and renaming it would eat the markup.
            if (trimmed.empty()) return {};
            for (char c : trimmed)
                if (!IsNameChar(LowerAsciiChar(c))) return {};
            return {static_cast<std::size_t>(trimmed.data() - tag.data()), trimmed.size()};
        }
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

void AppendLowerCp1251(std::string_view text, std::string& out) {
    static const std::array<unsigned char, 256> kLower = [] {
        std::array<unsigned char, 256> t{};
        for (int c = 0; c < 256; ++c) t[c] = LowerChar(static_cast<unsigned char>(c));
        return t;
    }();
    const std::size_t at = out.size(), n = text.size();
    out.resize(at + n);
    char* dst = out.data() + at;
    const char* src = text.data();
    std::size_t i = 0;
#if defined(__SSE2__)
    // Sixteen bytes at a time where they hold only bytes below 0x80 and from
    // 0xC0 on: there A..Z and the capitals А..Я (0xC0..0xDF) lower by 0x20 and
    // nothing else changes. A block with a byte from 0x80..0xBF, where the
    // other letter pairs of the code page lie, goes through the table.
    const __m128i latinBase = _mm_set1_epi8(static_cast<char>(0x80 - 'A'));
    const __m128i latinTop = _mm_set1_epi8(static_cast<char>(-128 + 26));
    const __m128i cyrBase = _mm_set1_epi8(static_cast<char>(0x80 - 0xC0));
    const __m128i cyrTop = _mm_set1_epi8(static_cast<char>(-128 + 32));
    const __m128i highTop = _mm_set1_epi8(static_cast<char>(0xC0));  // signed: 0x80..0xBF are below it
    const __m128i caseBit = _mm_set1_epi8(0x20);
    for (; i + 16 <= n; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
        if (_mm_movemask_epi8(_mm_cmplt_epi8(v, highTop)) != 0) {
            for (std::size_t k = i; k < i + 16; ++k)
                dst[k] = static_cast<char>(kLower[static_cast<unsigned char>(src[k])]);
            continue;
        }
        const __m128i upper = _mm_or_si128(_mm_cmplt_epi8(_mm_add_epi8(v, latinBase), latinTop),
                                           _mm_cmplt_epi8(_mm_add_epi8(v, cyrBase), cyrTop));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), _mm_add_epi8(v, _mm_and_si128(upper, caseBit)));
    }
#endif
    for (; i < n; ++i) dst[i] = static_cast<char>(kLower[static_cast<unsigned char>(src[i])]);
}

#if defined(__SSE2__)
// Lowers the 16 bytes at `i` when they are whole characters that are ASCII or
// Cyrillic letters of the two-byte rows U+0400..U+043F and U+0440..U+045F:
// A..Z and the capitals U+0410..U+042F move by 0x20, U+0400..U+040F by 0x50,
// all in place of the same number of bytes. False when the block holds any
// other character; nothing is written then. A block may end on the lead byte
// of a pair (`endsOnLead`): its second byte is then lowered with the next
// block, or by TrailAfterLead when that block cannot be done at once.
bool LowerUtf8Block(const char* src, std::size_t i, char* dst, bool& endsOnLead) {
    auto set = [](int c) { return _mm_set1_epi8(static_cast<char>(c)); };
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
    const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i + 1));
    const __m128i prev = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i - 1));
    const __m128i isD0 = _mm_cmpeq_epi8(v, set(0xD0)), isD1 = _mm_cmpeq_epi8(v, set(0xD1));
    const __m128i isLead = _mm_and_si128(_mm_cmpgt_epi8(v, set(0xBF)), _mm_cmplt_epi8(v, _mm_setzero_si128()));  // 0xC0..0xFF
    // In signed bytes a range [lo, lo + k) of 0x80.. is "below -128 + k" once lo is moved to 0x80.
    auto inRange = [&](__m128i x, int lo, int k) { return _mm_cmplt_epi8(_mm_add_epi8(x, set(0x80 - lo)), set(-128 + k)); };
    const __m128i otherLead = _mm_andnot_si128(_mm_or_si128(isD0, isD1), isLead);
    const __m128i rareD1 = _mm_and_si128(isD1, inRange(next, 0xA0, 32));  // U+0460.. have their own pairs
    if (_mm_movemask_epi8(_mm_or_si128(otherLead, rareD1)) != 0) return false;
    endsOnLead = (_mm_movemask_epi8(isLead) & 0x8000) != 0;
    const __m128i afterD0 = _mm_cmpeq_epi8(prev, set(0xD0));
    const __m128i latin = inRange(v, 'A', 26);
    const __m128i up20 = _mm_or_si128(latin, _mm_and_si128(afterD0, inRange(v, 0x90, 16)));
    const __m128i down20 = _mm_and_si128(afterD0, inRange(v, 0xA0, 16));
    const __m128i up10 = _mm_and_si128(afterD0, inRange(v, 0x80, 16));
    const __m128i toD1 = _mm_and_si128(isD0, _mm_or_si128(inRange(next, 0x80, 16), inRange(next, 0xA0, 16)));
    __m128i r = _mm_add_epi8(v, _mm_and_si128(up20, set(0x20)));
    r = _mm_sub_epi8(r, _mm_and_si128(down20, set(0x20)));
    r = _mm_add_epi8(r, _mm_and_si128(up10, set(0x10)));
    r = _mm_sub_epi8(r, toD1);  // the mask is -1 where D0 becomes D1
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), r);
    return true;
}
#endif

// The second byte of a pair whose lead byte (0xD0 or 0xD1) was already
// written by LowerUtf8Block, lowered as that block lowered the lead.
char TrailAfterLead(unsigned char lead, unsigned char c) {
    if (lead != 0xD0 || c >= 0xB0) return static_cast<char>(c);
    if (c >= 0xA0) return static_cast<char>(c - 0x20);
    return static_cast<char>(c + (c >= 0x90 ? 0x20 : 0x10));
}

void AppendLowerUtf8(std::string_view text, std::string& out) {
    // A lower-case letter takes at most half as many bytes again as its
    // capital, so the output is written into room of that size and cut to fit.
    const std::size_t at = out.size(), n = text.size();
    out.resize(at + n + n / 2 + 8);
    char* dst = out.data() + at;
    const char* src = text.data();
    std::size_t i = 0;
    std::size_t scalarUntil = 0;  // after a block that could not be done at once
    bool pendingTrail = false;     // the last block ended on the lead byte of a pair
    while (i < n) {
#if defined(__SSE2__)
        if (i >= 1 && i + 17 <= n && i >= scalarUntil) {
            bool endsOnLead = false;
            if (LowerUtf8Block(src, i, dst, endsOnLead)) {
                pendingTrail = endsOnLead;
                dst += 16;
                i += 16;
                continue;
            }
            scalarUntil = i + 16;
        }
#endif
        const auto b = static_cast<unsigned char>(src[i]);
        if (pendingTrail) {
            pendingTrail = false;
            if (b >= 0x80 && b <= 0xBF) {
                *dst++ = TrailAfterLead(static_cast<unsigned char>(src[i - 1]), b);
                ++i;
                continue;
            }
        }
        if (b < 0x80) {
            *dst++ = LowerAsciiChar(src[i++]);
            continue;
        }
        if (static_cast<std::size_t>(out.data() + out.size() - dst) < 8) {  // never short of room
            const std::size_t used = static_cast<std::size_t>(dst - out.data());
            out.resize(out.size() + n / 2 + 8);
            dst = out.data() + used;
        }
        std::size_t len = 1;
        const char32_t cp = DecodeUtf8At(text, i, len);
        const char32_t lower = cp == 0xFFFD && len == 1 ? cp
                               : cp < 0x800             ? TwoByteLower()[cp]
                                                        : static_cast<char32_t>(utf8proc_tolower(static_cast<utf8proc_int32_t>(cp)));
        if (lower == cp) {
            std::memcpy(dst, src + i, len);
            dst += len;
        } else {
            std::string bytes;
            AppendUtf8(bytes, lower);
            std::memcpy(dst, bytes.data(), bytes.size());
            dst += bytes.size();
        }
        i += len;
    }
    out.resize(static_cast<std::size_t>(dst - out.data()));
}

}  // namespace

void AppendLowerFor(TextKind kind, std::string_view text, std::string& out) {
    if (kind == TextKind::Cp1251) AppendLowerCp1251(text, out);
    else AppendLowerUtf8(text, out);
}

std::string LowerFor(TextKind kind, std::string_view text) {
    std::string out;
    AppendLowerFor(kind, text, out);
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
