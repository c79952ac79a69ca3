#include "engine/save.h"

#include <filesystem>
#include <system_error>

#include "engine/koi8.h"
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

std::string PageBytesForSave(std::string_view text, int charsetIndex, LineEnds ends) {
    if (const ByteTable* table = Koi8SaveTable(charsetIndex))
        return ToFileBytes(TranslateChars(text, *table), ends);
    return ToFileBytes(text, ends);
}

std::string SaveCharset(const Document& doc) {
    const MetaFields& f = doc.fields;
    const bool chosen = f.Charset != doc.savedCharset || f.CharsetText != doc.savedCharsetText;
    if (!chosen) return doc.encoding.name;
    std::string named = UsableCharset(CharsetNameOf(f));
    if (doc.kind == TextKind::Cp1251 && f.Charset == 1) named.clear();
    if (!named.empty()) return named;
    return doc.kind == TextKind::Cp1251 ? "windows-1251" : doc.encoding.name;
}

EncodeResult FileBytesForSave(const Document& doc, std::string_view text) {
    const std::string charset = SaveCharset(doc);
    EncodeResult r = EncodeText(text, doc.kind, charset);
    r.bytes = ToFileBytes(r.bytes, doc.page.ends);
    if (doc.encoding.bom && charset == "utf-8") r.bytes.insert(0, kUtf8Bom);
    return r;
}

namespace {

MetaWriteOptions WriterFor(const Document& doc, MetaWriteOptions writer) {
    writer.kind = doc.kind;
    return writer;
}

}  // namespace

SaveBytes BytesForSave(const Document& doc, const SaveOptions& options) {
    SaveBytes out;
    std::string text = doc.page.text;
    if (!options.asEdited) out.refusal = WriteMetaBlock(text, doc.fields, WriterFor(doc, options.writer)).message;
    EncodeResult encoded = FileBytesForSave(doc, text);
    out.bytes = std::move(encoded.bytes);
    out.references = encoded.references + doc.references;
    return out;
}

SaveResult SaveDocument(Document& doc, const SaveOptions& options) {
    SaveResult result;
    bool fieldsWritten = options.asEdited;
    if (!options.asEdited) {
        const WriteResult w = WriteMetaBlock(doc.page.text, doc.fields, WriterFor(doc, options.writer));
        fieldsWritten = w.Done();
        result.refusal = w.message;
    }
    const std::string charset = SaveCharset(doc);
    const EncodeResult bytes = FileBytesForSave(doc, doc.page.text);
    const FileStatus file = ReplaceFileBytes(doc.path, bytes.bytes, options.backup, &result.warning);
    result.written = file.ok;
    result.error = file.error;
    result.saved = file.ok && fieldsWritten;
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
        // The file does not hold what the window shows: keep the document
        // modified so that the values are not dropped without a question.
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
    result.refusal = WriteMetaBlock(text, doc.fields, WriterFor(doc, writer)).message;
    const FileStatus file = ReplaceFileBytes(result.path, FileBytesForSave(doc, text).bytes, false);
    result.written = file.ok;
    result.error = file.error;
    if (file.ok && open) open(result.path);
    return result;
}

}  // namespace veskaron
