#include "site/page_edit.h"

#include <sstream>

#include "engine/catalogue.h"
#include "engine/file_io.h"
#include "engine/modern_head.h"
#include "engine/translations.h"
#include "engine/writer.h"
#include "messages/refusal_text.h"
#include "site/field_members.h"
#include "site/unified_diff.h"

namespace veskaron::site {
namespace {

// The codec that shows file bytes in `charset` as text in a diff.
CodecPtr DisplayCodec(const std::string& charset) {
    if (charset == "utf-8") return Utf8Codec();
    if (charset == "windows-1251") return Windows1251Codec();
    CodecPtr codec = CharsetCodec(charset);
    return codec ? codec : Windows1251Codec();
}

std::vector<std::string> DisplayLines(const TextCodec& codec, std::string_view bytes) {
    std::vector<std::string> lines = SplitLinesForDiff(bytes);
    for (std::string& line : lines) line = codec.ToUtf8(line);
    return lines;
}

}  // namespace

PlannedEdit PlanEdit(const std::string& path, const std::vector<std::string>& assignments,
                     const LoadOptions& load, const SaveOptions& save, const PlanOptions& plan) {
    PlannedEdit out;
    out.path = path;
    auto fail = [&](EditStatus status, std::string cause) {
        out.status = status;
        out.error = path + ": " + (out.assignment.empty() ? "" : out.assignment + ": ") + cause;
        out.cause = std::move(cause);
        return std::move(out);
    };
    FileRead file = ReadWholeFile(path);
    if (!file.ok) {
        out.status = EditStatus::FileError;
        out.error = out.cause = file.error;  // names the page already
        return out;
    }
    out.oldBytes = file.bytes;

    // Each page starts from a freshly opened window's values.
    Document doc;
    doc.fields = FreshFields(load.now);
    const LoadReport report = LoadPageBytes(doc, path, std::move(file.bytes), load);
    out.warnings = report.warnings;
    // Fields after a failed conversion were never read from the page: writing
    // them would take their tags out of it.
    if (!report.ok && !save.asEdited) return fail(EditStatus::Failed, report.error);

    // A KOI8 page's typed texts must survive its translation back to KOI8.
    const CodecPtr koi8 = Koi8TypedTextCodec(doc.encoding.name);
    const TextCodec& codec = koi8 ? *koi8 : *doc.codec;
    const MetaFields before = doc.fields;
    bool onlyModern = !assignments.empty();
    for (const std::string& s : assignments) {
        onlyModern = onlyModern && IsModernSetting(s);
        const std::string error = ApplyAnySetting(doc.fields, doc.modern, s, codec, doc.references);
        if (!error.empty()) {
            out.assignment = s;
            return fail(EditStatus::Failed, error);
        }
    }
    ReconcileOwnTexts(before, doc.fields, doc.kind);

    SaveOptions options = save;
    options.writer.kind = doc.kind;
    if (!save.asEdited) {
        // Edits of the tags beside the catalogue alone leave the META block as the page has it.
        std::string text = doc.page.text;
        const bool rewrite = plan.block == BlockRewrite::Always
                                 ? !onlyModern
                                 : BlockDiffers(before, doc.fields, options.writer) &&
                                       !ReplaceEntriesInPlace(text, before, doc.fields, options.writer);
        const Refusal refusal = WriteHeadEdits(text, doc.fields, doc.modernSnapshot, doc.modern, options.writer, rewrite);
        if (refusal != Refusal::None) return fail(EditStatus::Refused, RefusalText(refusal));
        doc.page.text = std::move(text);
    }
    options.asEdited = true;  // the block is in the text now

    // A charset the save cannot write is refused before anything is written.
    const std::string unwritable = UnwritableCharset(doc);
    if (!unwritable.empty()) return fail(EditStatus::Failed, RefusalText({Refusal::UnwritableCharset, unwritable}));

    SaveBytes bytes = BytesForSave(doc, options);
    out.newBytes = std::move(bytes.bytes);
    out.references = bytes.references;
    if (out.newBytes == out.oldBytes) {
        out.status = EditStatus::Unchanged;
        return out;
    }
    out.status = EditStatus::Changes;
    if (plan.diff) {
        // A charset chosen by an edit changes the bytes of every line: each
        // side is shown in its own charset.
        std::ostringstream diff;
        PrintUnifiedDiff(diff, path, DisplayLines(*DisplayCodec(doc.encoding.name), out.oldBytes),
                         DisplayLines(*DisplayCodec(SaveCharset(doc)), out.newBytes));
        out.diff = std::move(diff).str();
    }
    return out;
}

std::string ChangedOnDiskError(const std::string& path) {
    return path + ": the page changed on disk after it was read; it was not written";
}

CommitResult CommitEdit(const PlannedEdit& plan, const SaveOptions& save) {
    CommitResult result;
    if (plan.status != EditStatus::Changes && plan.status != EditStatus::Unchanged) {
        result.error = plan.error.empty() ? plan.path + ": nothing to write" : plan.error;
        return result;
    }
    const FileRead now = ReadWholeFile(plan.path);
    if (!now.ok) {
        result.error = now.error;
        return result;
    }
    if (now.bytes != plan.oldBytes) {
        result.error = ChangedOnDiskError(plan.path);
        return result;
    }
    const FileStatus file = ReplaceFileBytes(plan.path, plan.newBytes, save.backup, &result.warning);
    result.written = file.ok;
    result.error = file.error;
    if (file.ok) result.references = plan.references;
    return result;
}

}  // namespace veskaron::site
