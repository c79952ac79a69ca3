#include "engine/save.h"

#include <filesystem>
#include <system_error>

#include "engine/koi8.h"

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

SaveBytes BytesForSave(const Document& doc, const SaveOptions& options) {
    SaveBytes out;
    if (options.asEdited) {
        out.bytes = PageBytesForSave(doc.page.text, doc.fields.Charset, doc.page.ends);
        return out;
    }
    std::string text = doc.page.text;
    const WriteResult w = WriteMetaBlock(text, doc.fields, options.writer);
    out.refusal = w.message;
    out.bytes = PageBytesForSave(text, doc.fields.Charset, doc.page.ends);
    return out;
}

SaveResult SaveDocument(Document& doc, const SaveOptions& options) {
    SaveResult result;
    bool fieldsWritten = options.asEdited;
    if (!options.asEdited) {
        const WriteResult w = WriteMetaBlock(doc.page.text, doc.fields, options.writer);
        fieldsWritten = w.Done();
        result.refusal = w.message;
    }
    const FileStatus file = ReplaceFileBytes(
        doc.path, PageBytesForSave(doc.page.text, doc.fields.Charset, doc.page.ends),
        options.backup, &result.warning);
    result.written = file.ok;
    result.error = file.error;
    result.saved = file.ok && fieldsWritten;
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
    result.refusal = WriteMetaBlock(text, doc.fields, writer).message;
    const FileStatus file = ReplaceFileBytes(
        result.path, PageBytesForSave(text, doc.fields.Charset, doc.page.ends), false);
    result.written = file.ok;
    result.error = file.error;
    if (file.ok && open) open(result.path);
    return result;
}

}  // namespace veskaron
