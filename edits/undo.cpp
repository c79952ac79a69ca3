#include "edits/undo.h"

#include <sstream>

#include "engine/file_io.h"
#include "engine/loader.h"
#include "engine/text_codec.h"
#include "site/unified_diff.h"

namespace veskaron::edits {
namespace {

// The charset the page's bytes are in, as a load finds it.
CodecPtr DisplayCodecOf(const std::string& path, const std::string& bytes) {
    Document doc;
    LoadPageBytes(doc, path, bytes, LoadOptions{});
    const std::string& charset = doc.encoding.name;
    if (charset == "utf-8") return Utf8Codec();
    if (charset == "windows-1251") return Windows1251Codec();
    CodecPtr codec = CharsetCodec(charset);
    return codec ? codec : Windows1251Codec();
}

std::vector<std::string> DisplayLines(const std::string& path, const std::string& bytes) {
    const CodecPtr codec = DisplayCodecOf(path, bytes);
    std::vector<std::string> lines = site::SplitLinesForDiff(bytes);
    for (std::string& line : lines) line = codec->ToUtf8(line);
    return lines;
}

std::string ChangedSince(const std::string& path) {
    return path + ": the page changed after the batch wrote it; it was left as it is";
}

}  // namespace

std::vector<UndoItem> PlanUndo(const BatchContents& batch) {
    std::vector<UndoItem> plan;
    plan.reserve(batch.pages.size());
    for (const JournalEntry& e : batch.pages) {
        UndoItem item;
        item.entry = &e;
        FileRead now = ReadWholeFile(e.path);
        if (!now.ok) {
            item.reason = now.missing ? e.path + ": the page is gone; it was not restored" : now.error;
        } else if (now.bytes == e.before) {
            item.action = UndoAction::AlreadyBefore;
        } else if (now.bytes == e.after) {
            item.action = UndoAction::Restore;
        } else {
            item.reason = ChangedSince(e.path);
        }
        item.current = std::move(now.bytes);
        plan.push_back(std::move(item));
    }
    return plan;
}

std::string PageDiff(const std::string& path, const std::string& from, const std::string& to) {
    std::ostringstream diff;
    site::PrintUnifiedDiff(diff, path, DisplayLines(path, from), DisplayLines(path, to));
    return std::move(diff).str();
}

std::string ReverseDiff(const UndoItem& item) { return PageDiff(item.entry->path, item.current, item.entry->before); }

UndoResult CommitUndo(const std::vector<UndoItem>& plan, const std::string& folder, const std::string& origin,
                      const JournalOptions& options) {
    UndoResult result;
    std::vector<PageBytes> pages;
    std::vector<const UndoItem*> restoring;
    std::uint64_t expected = 0;
    for (const UndoItem& item : plan) {
        if (item.action == UndoAction::Changed) result.skipped.push_back(item.reason);
        if (item.action != UndoAction::Restore) continue;
        pages.push_back({item.entry->path, item.current, item.entry->before});
        restoring.push_back(&item);
        expected += item.current.size() + item.entry->before.size();
    }
    if (pages.empty()) return result;
    std::unique_ptr<JournalBatch> batch = JournalBatch::Begin(folder, origin, expected, options, result.journalError);
    std::size_t first = 0;
    if (!batch || !batch->Record(pages, first, result.journalError)) {
        if (batch) batch->Finish();
        return result;
    }
    result.batch = batch->Number();
    for (std::size_t i = 0; i < restoring.size(); ++i) {
        const JournalEntry& e = *restoring[i]->entry;
        // The page may have been saved again since the plan was made.
        const FileRead now = ReadWholeFile(e.path);
        if (!now.ok || now.bytes != restoring[i]->current) {
            result.skipped.push_back(now.ok ? ChangedSince(e.path) : now.error);
            continue;
        }
        const FileStatus written = ReplaceFileBytes(e.path, e.before);
        if (!written.ok) {
            result.failed.push_back(written.error);
            continue;
        }
        batch->Written(first + i);
        result.restored.push_back(e.path);
    }
    batch->Finish();
    return result;
}

}  // namespace veskaron::edits
