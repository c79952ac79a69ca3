// Codecs: any bytes in any charset decode and encode back to themselves, and
// text the charset can hold comes back from its bytes as it was typed.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>

#include "engine/cp1251.h"
#include "engine/encoding.h"
#include "fuzz/fuzz_common.h"

using namespace veskaron;

namespace {

const char* const kCharsets[] = {
    "windows-1251", "koi8-r",    "koi8-u",   "utf-8",     "iso-8859-5", "cp866",   "windows-1252",
    "iso-8859-1",   "big5",      "big5-hkscs", "gb18030", "gbk",        "euc-jp",  "euc-kr",
    "euc-tw",       "cp949",     "cp950",    "johab",     "koi8-ru",    "tis-620", "viscii",
    "euc-jisx0213", "mac-cyrillic", "iso-8859-7", "cp1255", "utf8"};

bool ValidUtf8WithoutRawBytes(std::string_view s) {
    for (std::size_t i = 0, len = 1; i < s.size(); i += len) {
        const char32_t cp = DecodeUtf8At(s, i, len);
        if ((cp == 0xFFFD && len == 1) || IsRawByteCodePoint(cp)) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string name = UsableCharset(kCharsets[in.ConsumeIntegralInRange<std::size_t>(0, std::size(kCharsets) - 1)]);
    const bool typed = in.ConsumeBool();
    const std::string bytes = in.ConsumeRemainingBytesAsString();
    if (name.empty()) return 0;
    const TextKind kind = KindForCharset(name);

    if (!typed) {
        // A page's bytes, held as the document holds them and written back.
        std::string text = bytes;
        DecodeText(text, name);
        const EncodeResult back = EncodeText(text, kind, name);
        fuzz::ExpectEqual(bytes, back.bytes, "decode + encode changed the bytes");
        fuzz::Expect(back.references == 0, "decoded text needed references");
        // The windows see the document text through the codec of its kind.
        const CodecPtr codec = CodecForKind(kind);
        fuzz::ExpectEqual(text, codec->FromUtf8(codec->ToUtf8(text)).bytes, "the document codec changed the text");
        return 0;
    }
    // Typed UTF-8 text: what the charset holds comes back, the rest as references.
    if (!ValidUtf8WithoutRawBytes(bytes)) return 0;
    const CodecPtr koi8 = Koi8TypedTextCodec(name);
    const EncodeResult held = koi8 ? koi8->FromUtf8(bytes) : CodecForKind(kind)->FromUtf8(bytes);
    const EncodeResult encoded = EncodeText(held.bytes, kind, name);
    if (held.references > 0 || encoded.references > 0) return 0;
    std::string back = encoded.bytes;
    DecodeText(back, name);
    fuzz::ExpectEqual(bytes, CodecForKind(kind)->ToUtf8(back), "typed text came back otherwise");
    return 0;
}
