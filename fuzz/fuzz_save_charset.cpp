// Save in any charset: a page saved in a charset chosen in the charset box
// reloads in that charset with the same text, or the choice is refused and
// nothing is written.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>

#include "engine/translations.h"
#include "fuzz/fuzz_common.h"

using namespace veskaron;

namespace {

const char* const kCharsets[] = {"windows-1251", "koi8-r", "koi8-u", "utf-8", "iso-8859-5", "cp866",
                                 "windows-1252", "iso-8859-1", "big5", "gb18030", "euc-jp", "euc-kr",
                                 "koi8-ru", "shift_jis", "utf-16", "no-such-charset", "UTF8", " Koi8-R "};

bool HoldsRawBytes(std::string_view utf8) {
    for (std::size_t i = 0, len = 1; i < utf8.size(); i += len)
        if (IsRawByteCodePoint(DecodeUtf8At(utf8, i, len))) return true;
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const int pick = in.ConsumeIntegralInRange<int>(0, std::size(kCharsets) - 1);
    const int listed = in.ConsumeIntegralInRange(-1, 6);
    SaveOptions options;
    options.asEdited = in.ConsumeBool();
    options.writer.placement = static_cast<Placement>(in.ConsumeIntegralInRange(0, 1));
    Document doc = fuzz::LoadBytes(in.ConsumeRemainingBytesAsString());
    const std::string title = doc.codec->ToUtf8(doc.fields.Title);

    doc.fields.Charset = listed;
    doc.fields.CharsetText = kCharsets[pick];
    if (!options.asEdited) {
        doc.fields.ContentTypeOn = true;
        doc.fields.ContentType = 1;
    }
    const std::string unwritable = UnwritableCharset(doc);
    const SaveBytes saved = BytesForSave(doc, options);
    if (!unwritable.empty()) {
        fuzz::Expect(!saved.refusal.empty() && saved.bytes.empty(), "an unwritable charset was saved");
        return 0;
    }
    // The source editor's text goes out as it stands; only the fields name a charset.
    if (options.asEdited || !saved.refusal.empty()) return 0;
    // "ISO-8859-5" from the list is written as the Windows-1251 text stands, as it always was.
    if (doc.kind == TextKind::Cp1251 && listed == 1) return 0;
    const std::string charset = SaveCharset(doc);
    const Document back = fuzz::LoadBytes(saved.bytes);
    if (back.encoding.name != charset)
        fuzz::Fail("the saved page reads in another charset than the save wrote", charset, back.encoding.name);
    // Text that both charsets hold comes back as it was (a title that holds
    // markup runs into other tags, which the save rewrites).
    if (saved.references == 0 && !HoldsRawBytes(title) && title.find_first_of("<>") == std::string::npos)
        fuzz::ExpectEqual(title, back.codec->ToUtf8(back.fields.Title), "the title changed in the new charset");
    return 0;
}
