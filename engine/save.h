#pragma once
// Saving a document to its page file (with an optional backup) and writing the
// preview file beside it.
#include <functional>
#include <string>
#include <string_view>

#include "engine/file_io.h"
#include "engine/loader.h"
#include "engine/page_file.h"
#include "engine/writer.h"

namespace veskaron {

// "metatmp" with the page's extension, in the page's folder:
// "/site/index.html" -> "/site/metatmp.html", "/site/README" -> "/site/metatmp".
std::string PreviewFileName(const std::string& pagePath);
// A name PreviewFileName gives ("metatmp", "metatmp.html"): the program's
// own scratch file, which no list or scan of pages takes in.
bool IsPreviewFileName(std::string_view fileName);

// Puts `charset` as the value of every <meta charset=...> tag in the head.
void NameCharsetInMetaTags(std::string& text, std::string_view charset);

// The charset the user chose that no save can write the page in (the program
// reads no page in it either); empty when the choice can be saved. Such a
// save is refused (Refusal::UnwritableCharset), rather than naming a charset
// the bytes are not in.
std::string UnwritableCharset(const Document& doc);

// The charset a save writes: the file's own, unless the user chose another
// one in the charset box since the file was read or last saved. A Windows-1251
// text is written as it stands for "ISO-8859-5", as it always was.
std::string SaveCharset(const Document& doc);

// The file's bytes for a text of the document: in the save charset (characters
// it cannot hold as "&#N;"), with the page's byte-order mark and line ends.
EncodeResult FileBytesForSave(const Document& doc, std::string_view text);

struct SaveOptions {
    bool asEdited = false;  // the source editor's text as it stands, without the writer
    bool backup = false;    // BakFiles
    MetaWriteOptions writer;
    // Told of the page and the bytes about to replace it (the journal of
    // saves); an error text it gives refuses the write, and is the save's error.
    std::function<std::string(const std::string& path, std::string_view bytes)> beforeReplace;
};

struct SaveResult {
    bool written = false;  // the page file holds the document's bytes
    bool saved = false;    // written with the fields: the document is not modified
    RefusalReason refusal;  // why the save was refused; nothing was written then
    std::string error;     // why the file could not be written
    std::string warning;   // written, but the backup could not be made
    // Characters written as "&#N;" because the page's charset cannot hold
    // them, counted once per save: by this save's conversion and by the
    // callers that put them into the text (Document::references).
    std::size_t references = 0;
};

// Puts the fields into the text (unless saving as edited), converts it back to
// the page's charset and line ends, and replaces the page file. Afterwards the
// document counts as not modified only when the file got the fields; a refusal
// (of the writer, or of a charset the save cannot write) writes nothing, and
// it and a failed write leave the document modified.
SaveResult SaveDocument(Document& doc, const SaveOptions& options);

// The META block (when `rewriteBlock`), then the edits of the tags beside the
// catalogue, made on a copy: either all of them go into `text` or none, and
// the refusal says why. The tags are edited after the block, in the text the
// block left, so that tags added before </head> follow a block placed there.
// `fields` takes the block's effects only when it goes in.
Refusal WriteHeadEdits(std::string& text, MetaFields& fields, const ModernFields& was, const ModernFields& now,
                       const MetaWriteOptions& writer, bool rewriteBlock);

// Bytes the save would write, without touching the document or the disk.
struct SaveBytes {
    std::string bytes;     // empty when a chosen charset is refused
    RefusalReason refusal;  // the writer's (bytes without the block) or the charset's
    std::size_t references = 0;
};
SaveBytes BytesForSave(const Document& doc, const SaveOptions& options);

// Opens a file with the system's default program; the caller's platform decides how.
using FileOpener = std::function<void(const std::string& path)>;

struct PreviewResult {
    std::string path;     // the preview file
    bool written = false;
    RefusalReason refusal;  // the writer's; the preview then shows the page without the block
    std::string error;
};
// Writes the document with its fields applied to the preview file and opens it.
// The document itself is not changed.
PreviewResult WritePreview(const Document& doc, const MetaWriteOptions& writer,
                           const FileOpener& open);

}  // namespace veskaron
