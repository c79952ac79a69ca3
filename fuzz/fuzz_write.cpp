// Write with fields: the fields set on a page and saved read back from the
// saved page as they were written, and a second save without edits changes
// nothing. Tags written in place read back the same way, and leave the
// other entries as the page had them.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>

#include "engine/catalogue.h"
#include "engine/cp1251.h"
#include "engine/head_scanner.h"
#include "engine/translations.h"
#include "fuzz/fuzz_common.h"

using namespace veskaron;

namespace {

// Texts made of the pieces that matter to tags: quotes, brackets, entities,
// line breaks, letters the page's charset may or may not hold.
// Line breaks only where a field can hold them (description, keywords).
std::string TypedText(FuzzedDataProvider& in, bool lines) {
    static const char* const kPieces[] = {"a", "Z", " ", "\"", "'", "<", ">", "&", "&amp;", "Ё", "ж",
                                          "=", ";", ",", "/", "1", "中", "\t", "title", "meta", "\r\n"};
    std::string text;
    for (int n = in.ConsumeIntegralInRange(0, 12); n > 0; --n)
        text += kPieces[in.ConsumeIntegralInRange<std::size_t>(0, std::size(kPieces) - (lines ? 1 : 2))];
    return text;
}

// The refresh address is read lower-cased, up to a ';' and without entity
// decoding, and written only when longer than three characters, so only
// addresses made of what survives that are compared.
std::string TypedAddress(FuzzedDataProvider& in) {
    static const char* const kPieces[] = {"a", "z", "1", "/", ".", "-", "ж", "中"};
    std::string text;
    for (int n = in.ConsumeIntegralInRange(4, 12); n > 0; --n)
        text += kPieces[in.ConsumeIntegralInRange<std::size_t>(0, std::size(kPieces) - 1)];
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    MetaWriteOptions writer;
    writer.placement = static_cast<Placement>(in.ConsumeIntegralInRange(0, 1));
    writer.attributeOrder = static_cast<AttributeOrder>(in.ConsumeIntegralInRange(0, 1));
    writer.lineMode = static_cast<LineMode>(in.ConsumeIntegralInRange(0, 1));
    std::string typed[6];
    for (int i = 0; i < 5; ++i) typed[i] = TypedText(in, i == 2 || i == 3);
    typed[5] = TypedAddress(in);
    const int robots = in.ConsumeIntegralInRange(-1, 6), cache = in.ConsumeIntegralInRange(-1, 4);
    const bool refresh = in.ConsumeBool(), enter = in.ConsumeBool();
    const int seconds = in.ConsumeIntegralInRange(5, 100), effect = in.ConsumeIntegralInRange(0, 23);
    Document doc = fuzz::LoadBytes(in.ConsumeRemainingBytesAsString());

    // As a window or the command-line tool puts typed text into the document.
    const CodecPtr koi8 = Koi8TypedTextCodec(doc.encoding.name);
    const TextCodec& codec = koi8 ? *koi8 : *doc.codec;
    const MetaFields before = doc.fields;
    MetaFields& f = doc.fields;
    f.Title = codec.FromUtf8(typed[0]).bytes;
    f.Author = codec.FromUtf8(typed[1]).bytes;
    f.Description = codec.FromUtf8(typed[2]).bytes;
    f.Keywords = codec.FromUtf8(typed[3]).bytes;
    f.Url = codec.FromUtf8(typed[4]).bytes;
    f.Robots = robots;
    f.CacheControl = cache;
    f.RefreshOn = refresh;
    f.RefreshSeconds = seconds;
    f.RefreshUrl = codec.FromUtf8(typed[5]).bytes;
    f.PageEnter = {enter, seconds % 61, effect};

    SaveOptions options;
    options.writer = writer;
    const SaveBytes first = BytesForSave(doc, options);
    if (!first.refusal.empty()) return 0;
    const Document saved = fuzz::LoadBytes(first.bytes);
    // A page that names no charset is read as UTF-8 or Windows-1251 by its
    // bytes alone; a save that removes the bytes that decided it (with a tag it
    // replaces) may tip it to the other. Its texts are then read in another
    // charset than they were written in, so nothing more is compared.
    auto undeclared = [](const Document& d) {
        return d.encoding.source == EncodingSource::Detected || d.encoding.source == EncodingSource::Default;
    };
    if (saved.encoding.name != doc.encoding.name && undeclared(doc) && undeclared(saved)) return 0;
    fuzz::Expect(saved.encoding.name == doc.encoding.name, "the saved page reads in another charset");
    // A character the charset cannot hold reads back as its reference.
    if (first.references > 0) return 0;
    auto expectReadBack = [&](const MetaFields& wanted, const Document& read, int i, const char* what) {
        WrittenContent a = WriteEntry(i, wanted, doc.kind);
        const WrittenContent b = WriteEntry(i, read.fields, read.kind);
        // A title's text is read as it stands: an end tag typed into it stays
        // broken up as the writer wrote it.
        if (i == kTitle && &wanted == &f) a.content = EscapeTitle(a.content);
        if (a.written != b.written || a.content != b.content || a.second != b.second) {
            std::fprintf(stderr, "entry %d\n", i);
            fuzz::Fail(what, a.content + "|" + a.second, b.content + "|" + b.second);
        }
    };
    for (int i = 0; i < kEntryCount; ++i) expectReadBack(f, saved, i, "a written field reads back otherwise");

    // Site edits take only pages whose load read every field.
    LoadOptions whole = fuzz::FixedLoadOptions();
    whole.fieldsKind = doc.kind;
    MetaFields scratch = FreshFields(whole.now);
    Document inPlace = doc;
    MetaWriteOptions place = writer;
    place.kind = doc.kind;
    std::string probe = doc.page.text;  // a load converts its text in place
    const bool wholeLoad = LoadDocumentText(probe, scratch, whole).ok;
    if (wholeLoad && ReplaceEntriesInPlace(inPlace.page.text, before, f, place)) {
        SaveOptions asEdited;
        asEdited.asEdited = true;
        const Document read = fuzz::LoadBytes(BytesForSave(inPlace, asEdited).bytes);
        if (read.encoding.name == doc.encoding.name)
            for (int i = 0; i < kEntryCount; ++i) {
                const bool changed = BuildEntryLine(i, before, place.attributeOrder, place.kind) !=
                                     BuildEntryLine(i, f, place.attributeOrder, place.kind);
                expectReadBack(changed ? f : before, read, i, "a tag written in place reads back otherwise");
            }
    }
    // A title edit alone leaves every other catalogued tag's words as the page
    // had them, whether the fields' lists hold them or not. Pages whose load
    // stopped, and contents the writer must escape to keep a tag whole, aside.
    if (wholeLoad) {
        Document titled = doc;
        titled.fields = before;
        titled.fields.Title = f.Title;
        const SaveBytes edited = BytesForSave(titled, options);
        const Document read = fuzz::LoadBytes(edited.bytes);
        if (edited.refusal.empty() && edited.references == 0 && read.encoding.name == doc.encoding.name) {
            // Looked up in a load's order: a tag that names two entries is read once.
            HeadScanner was, now;
            was.Scan(doc.page.text);
            now.Scan(read.page.text);
            const std::string typeWas = was.HttpEquivContent("content-type");
            const std::string typeNow = now.HttpEquivContent("content-type");
            for (int index : {kAuthor, kCopyright, kDescription, kKeywords, kRobots, kRevisitAfter, kDistribution,
                              kGenerator, kProgId, kCacheControl, kPragma, kUrl, kLocation, kRefresh,
                              kContentLanguage, kPageEnter, kPageExit, kSiteEnter, kSiteExit, kContentType}) {
                const CatalogueEntry& e = CatalogueAt(index);
                const bool name = e.kind == EntryKind::Name;
                const std::string a = index == kContentType ? typeWas
                                      : name                ? was.NameContent(e.key)
                                                            : was.HttpEquivContent(e.key);
                const std::string b = index == kContentType ? typeNow
                                      : name                ? now.NameContent(e.key)
                                                            : now.HttpEquivContent(e.key);
                if (a.find_first_of("\"<>&") != std::string::npos) continue;
                auto loose = [](std::string_view v) {
                    std::string out;
                    for (char c : v)
                        if (static_cast<unsigned char>(c) > ' ') out += LowerAsciiChar(c);
                    return out;
                };
                if (loose(a) != loose(b)) {
                    std::fprintf(stderr, "entry %d\n", e.index);
                    fuzz::Fail("a title edit changed another tag's words", a, b);
                }
            }
        }
    }
    const SaveBytes second = BytesForSave(saved, options);
    fuzz::Expect(second.refusal.empty(), "the saved page is refused");
    fuzz::ExpectEqual(first.bytes, second.bytes, "a second save without edits changed the page");
    return 0;
}
