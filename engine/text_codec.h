#pragma once
// The encoding of an open document. The engine works on the page's bytes; the
// windows and the command-line tool turn those bytes into characters and back
// only through the document's codec, so a page in another encoding needs
// another codec and nothing else.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace veskaron {

struct EncodeResult {
    std::string bytes;
    // Characters the encoding cannot hold, written as "&#N;" instead of being lost.
    std::size_t references = 0;
};

class TextCodec {
public:
    virtual ~TextCodec() = default;
    // The charset name, lower case: "windows-1251", "utf-8", ...
    virtual std::string_view Name() const = 0;
    // Page bytes to UTF-8. Every byte sequence survives ToUtf8 then FromUtf8.
    virtual std::string ToUtf8(std::string_view bytes) const = 0;
    // UTF-8 to page bytes. Invalid UTF-8 becomes U+FFFD first.
    virtual EncodeResult FromUtf8(std::string_view utf8) const = 0;
};

using CodecPtr = std::shared_ptr<const TextCodec>;

// The lossless Windows-1251 codec: 0x98 maps to a private code point and back.
CodecPtr Windows1251Codec();

// Bytes that a page's charset cannot decode travel through Unicode as these
// private code points (base + byte, for the bytes 0x80 to 0xFF) and come back
// as the same bytes.
inline constexpr char32_t kRawByteBase = 0x10FD00;
inline bool IsRawByteCodePoint(char32_t cp) { return cp >= kRawByteBase + 0x80 && cp <= kRawByteBase + 0xFF; }

// UTF-8 documents: valid text passes unchanged, invalid bytes become raw-byte
// code points and back, so every byte sequence survives.
CodecPtr Utf8Codec();

// A codec for another ASCII-compatible charset that the system's iconv knows
// ("iso-8859-1", "windows-1252", ...); nullptr when it knows none by that name,
// or when the charset could change the meaning of ASCII markup bytes.
// Characters the charset cannot hold become references, as everywhere.
CodecPtr CharsetCodec(std::string_view name);

// For text typed into a KOI8 page ("koi8-r", "koi8-u"), which is held as
// Windows-1251: shown as Windows-1251, and a character that the save's KOI8
// translation would not keep as itself becomes "&#N;". nullptr for other charsets.
CodecPtr Koi8TypedTextCodec(std::string_view charset);

// "&#N;" for a code point.
std::string NumericReference(char32_t cp);

// Decodes one UTF-8 sequence at `pos`; an invalid or overlong one gives
// U+FFFD and a length of 1.
char32_t DecodeUtf8At(std::string_view s, std::size_t pos, std::size_t& length);
void AppendUtf8(std::string& out, char32_t cp);

// Encodes into a single-byte charset code point by code point: `byteOf(cp)`
// gives the byte for a non-ASCII character, or -1 when the charset cannot hold
// it; such a character is written as "&#N;" and counted.
template <class ByteOf>
EncodeResult EncodeSingleBytes(std::string_view utf8, ByteOf byteOf) {
    EncodeResult r;
    r.bytes.reserve(utf8.size());
    for (std::size_t i = 0, len = 1; i < utf8.size(); i += len) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        if (b < 0x80) {
            r.bytes += static_cast<char>(b);
            len = 1;
            continue;
        }
        const char32_t cp = DecodeUtf8At(utf8, i, len);
        const int byte = byteOf(cp);
        if (byte >= 0) {
            r.bytes += static_cast<char>(byte);
        } else {
            r.bytes += NumericReference(cp);
            ++r.references;
        }
    }
    return r;
}

}  // namespace veskaron
