#pragma once
// Page encodings: how a page's charset is found, how its text is held while it
// is edited, and the character rules (case, length) that depend on it.
//
// The document text is held either as Windows-1251 bytes (Windows-1251 and
// KOI8 pages, as always) or as UTF-8 (UTF-8 pages as they are, pages in any
// other charset converted on load and back on save). Markup is ASCII in both,
// so the scanner and the writer work on the bytes unchanged.
#include <cstddef>
#include <string>
#include <string_view>

#include "engine/text_codec.h"

namespace veskaron {

enum class TextKind { Cp1251, Utf8 };

// Where the page's encoding came from.
enum class EncodingSource { Bom, MetaCharset, ContentType, Detected, Default };
// "bom", "meta-charset", "content-type", "detected", "default".
std::string_view EncodingSourceName(EncodingSource source);

struct PageEncoding {
    std::string name = "windows-1251";  // the file's charset, lower case
    EncodingSource source = EncodingSource::Default;
    bool bom = false;                   // the file starts with a UTF-8 byte-order mark
    friend bool operator==(const PageEncoding&, const PageEncoding&) = default;
};

inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// The charset a page declares, lower case, as the program reads pages in it:
// "utf-8", "windows-1251", "koi8-r", "koi8-u", or another name the system's
// iconv reads; empty when no page can be read in it.
std::string UsableCharset(std::string_view declared);

// How the text of a page in `charset` (a UsableCharset name) is held.
TextKind KindForCharset(std::string_view charset);
CodecPtr CodecForKind(TextKind kind);

// Whether the bytes are valid UTF-8 and hold at least one multi-byte sequence.
bool LooksLikeUtf8(std::string_view bytes);

// The value of a `charset` attribute of a tag text (not the charset inside a
// content value); empty when the tag has none, or one that is not made of the
// characters of a charset name.
std::string CharsetAttribute(std::string_view tag);
// Where that value stands in the tag (length 0 when there is none), for
// renaming exactly what the load read.
struct ValueSpan {
    std::size_t offset = 0;
    std::size_t length = 0;
};
ValueSpan CharsetAttributeSpan(std::string_view tag);

// Lower case by the text's own letters: the Windows-1251 letter pairs, or
// Unicode simple case mapping for UTF-8 (invalid bytes stay as they are).
std::string LowerFor(TextKind kind, std::string_view text);
// The same, appended to `out`.
void AppendLowerFor(TextKind kind, std::string_view text, std::string& out);
// Length in characters; an invalid UTF-8 byte counts as one character.
std::size_t CharCount(TextKind kind, std::string_view text);
// CharCount(kind, text) > n, counting no further than needed.
bool LongerThanChars(TextKind kind, std::string_view text, std::size_t n);

// The page's bytes for the document text of `kind`, in `charset` (no BOM, no
// line-end change). Characters the charset cannot hold become "&#N;".
EncodeResult EncodeText(std::string_view text, TextKind kind, std::string_view charset);
// The document text for a page's bytes in `charset`: KOI8 is translated to
// Windows-1251, another charset than UTF-8 and Windows-1251 is read into UTF-8.
// Returns false when the bytes are held as they are.
bool DecodeText(std::string& text, std::string_view charset);

}  // namespace veskaron
