#include "engine/save.h"

#include <filesystem>
#include <system_error>

#include "engine/cp1251.h"
#include "engine/head_scanner.h"
#include "engine/modern_head.h"
#include "engine/translations.h"

namespace veskaron {

std::string PreviewFileName(const std::string& pagePath) {
    const std::size_t slash = pagePath.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = pagePath.rfind('.');
    const std::string ext =
        dot != std::string::npos && dot >= nameStart ? pagePath.substr(dot) : std::string();
    return pagePath.substr(0, nameStart) + "metatmp" + ext;
}

bool IsPreviewFileName(std::string_view fileName) {
    constexpr std::string_view kStem = "metatmp";
    if (!fileName.starts_with(kStem)) return false;
    const std::string_view ext = fileName.substr(kStem.size());
    return ext.empty() || (ext.front() == '.' && ext.find('.', 1) == std::string_view::npos);
}

void NameCharsetInMetaTags(std::string& text, std::string_view charset) {
    // The tags the load reads (none inside the title's text), so that what
    // was read is renamed and nothing else.
    HeadScanner scanner;
    scanner.Scan(text);
    std::string out;
    std::size_t copied = 0;
    bool renamed = false;
    for (std::size_t i = 0; i < scanner.TagCount(); ++i) {
        const TagSpan span = scanner.Span(i);
        const ValueSpan value = CharsetAttributeSpan(std::string_view(text).substr(span.start, span.end - span.start));
        if (value.length == 0) continue;
        const std::size_t at = span.start + value.offset;
        out.append(text, copied, at - copied).append(charset);
        copied = at + value.length;
        renamed = true;
    }
    if (!renamed) return;
    out.append(text, copied);
    text = std::move(out);
}

namespace {

bool CharsetChosen(const Document& doc) {
    const MetaFields& f = doc.fields;
    return f.Charset != doc.savedCharset || f.CharsetText != doc.savedCharsetText;
}

}  // namespace

std::string UnwritableCharset(const Document& doc) {
    if (!CharsetChosen(doc)) return {};
    const MetaFields& f = doc.fields;
    if (doc.kind == TextKind::Cp1251 && f.Charset == 1) return {};
    std::string named = CharsetNameOf(f);
    if (named.empty() || !UsableCharset(named).empty()) return {};
    return named;
}

std::string SaveCharset(const Document& doc) {
    const MetaFields& f = doc.fields;
    if (!CharsetChosen(doc)) return doc.encoding.name;
    std::string named = UsableCharset(CharsetNameOf(f));
    if (doc.kind == TextKind::Cp1251 && f.Charset == 1) named.clear();
    if (!named.empty()) return named;
    return doc.kind == TextKind::Cp1251 ? "windows-1251" : doc.encoding.name;
}

namespace {

EncodeResult EncodeForSave(const Document& doc, const std::string& charset, std::string_view text) {
    EncodeResult r = EncodeText(text, doc.kind, charset);
    r.bytes = ToFileBytes(r.bytes, doc.page.ends);
    if (doc.encoding.bom && charset == "utf-8") r.bytes.insert(0, kUtf8Bom);
    return r;
}

MetaWriteOptions WriterFor(const Document& doc, MetaWriteOptions writer) {
    writer.kind = doc.kind;
    return writer;
}

// A save in another charset than the file's renames it in the page's
// <meta charset> tags too, which browsers and the next load believe first.
void NameSaveCharset(const Document& doc, const std::string& charset, std::string& text) {
    if (charset != doc.encoding.name) NameCharsetInMetaTags(text, charset);
}

}  // namespace

Refusal WriteHeadEdits(std::string& text, MetaFields& fields, const ModernFields& was, const ModernFields& now,
                       const MetaWriteOptions& writer, bool rewriteBlock) {
    std::string edited = text;
    MetaFields written = fields;
    if (rewriteBlock) {
        const WriteResult w = WriteMetaBlock(edited, written, writer);
        if (!w.Done()) return w.refusal;
    }
    if (was != now) {
        // Asked of the text the block left: a block can move what the edits lean on.
        if (const Refusal why = ModernEditRefusal(edited, was, now); why != Refusal::None) return why;
        ApplyModernEdits(edited, was, now, writer.attributeOrder);
    }
    text = std::move(edited);
    fields = std::move(written);
    return Refusal::None;
}

EncodeResult FileBytesForSave(const Document& doc, std::string_view text) {
    return EncodeForSave(doc, SaveCharset(doc), text);
}

SaveBytes BytesForSave(const Document& doc, const SaveOptions& options) {
    SaveBytes out;
    if (const std::string unwritable = UnwritableCharset(doc); !unwritable.empty()) {
        out.refusal = {Refusal::UnwritableCharset, unwritable};
        return out;
    }
    std::string text = doc.page.text;
    if (!options.asEdited) {
        const MetaWriteOptions writer = WriterFor(doc, options.writer);
        MetaFields fields = doc.fields;
        out.refusal.code = WriteHeadEdits(text, fields, doc.modernSnapshot, doc.modern, writer,
                                          BlockDiffers(doc.savedFields, doc.fields, writer));
    }
    const std::string charset = SaveCharset(doc);
    NameSaveCharset(doc, charset, text);
    EncodeResult encoded = EncodeForSave(doc, charset, text);
    out.bytes = std::move(encoded.bytes);
    out.references = encoded.references + doc.references;
    return out;
}

SaveResult SaveDocument(Document& doc, const SaveOptions& options) {
    SaveResult result;
    // A refused save writes nothing: the page and an older backup stay as they
    // were, and the document stays modified so that its values are not dropped.
    auto refuse = [&](RefusalReason why) {
        result.refusal = std::move(why);
        doc.modified = true;
        return result;
    };
    if (const std::string unwritable = UnwritableCharset(doc); !unwritable.empty())
        return refuse({Refusal::UnwritableCharset, unwritable});
    if (!options.asEdited) {
        // A save that changes no catalogued entry leaves the page's block as it is.
        const MetaWriteOptions writer = WriterFor(doc, options.writer);
        const bool rewrite = BlockDiffers(doc.savedFields, doc.fields, writer);
        if (const Refusal why = WriteHeadEdits(doc.page.text, doc.fields, doc.modernSnapshot, doc.modern, writer, rewrite);
            why != Refusal::None)
            return refuse({why, {}});
    }
    const std::string charset = SaveCharset(doc);
    NameSaveCharset(doc, charset, doc.page.text);
    const EncodeResult bytes = EncodeForSave(doc, charset, doc.page.text);
    const std::string journal = options.beforeReplace ? options.beforeReplace(doc.path, bytes.bytes) : std::string();
    const FileStatus file = journal.empty() ? ReplaceFileBytes(doc.path, bytes.bytes, options.backup, &result.warning)
                                            : FileStatus{false, journal};
    result.written = file.ok;
    result.error = file.error;
    result.saved = file.ok;
    if (file.ok) {
        // The file now holds this charset; the count has been reported.
        result.references = bytes.references + doc.references;
        doc.references = 0;
        if (charset != doc.encoding.name) {
            doc.encoding.name = charset;
            doc.encoding.bom = doc.encoding.bom && charset == "utf-8";
        }
        doc.savedCharset = doc.fields.Charset;
        doc.savedCharsetText = doc.fields.CharsetText;
    }
    if (result.saved) {
        doc.Remember();
    } else {
        // The file does not hold what the window shows.
        doc.modified = true;
    }
    return result;
}

PreviewResult WritePreview(const Document& doc, const MetaWriteOptions& writer,
                           const FileOpener& open) {
    PreviewResult result;
    if (doc.path.empty()) {
        result.error = "Cannot create file " + PreviewFileName(doc.path) + ": no page is loaded";
        return result;
    }
    result.path = PreviewFileName(doc.path);
    // A page that is itself named "metatmp" would be overwritten by its
    // preview and later deleted with it.
    std::error_code ec;
    if (result.path == doc.path || std::filesystem::equivalent(result.path, doc.path, ec)) {
        result.error = "Cannot create file " + result.path + ": the preview would replace the page";
        return result;
    }
    std::string text = doc.page.text;
    result.refusal.code = WriteMetaBlock(text, doc.fields, WriterFor(doc, writer)).refusal;
    ApplyModernEdits(text, doc.modernSnapshot, doc.modern, writer.attributeOrder);
    const std::string charset = SaveCharset(doc);
    NameSaveCharset(doc, charset, text);
    const FileStatus file = ReplaceFileBytes(result.path, EncodeForSave(doc, charset, text).bytes, false);
    result.written = file.ok;
    result.error = file.error;
    if (file.ok && open) open(result.path);
    return result;
}

}  // namespace veskaron
