#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/commands.h"
#include "cli/fields_json.h"
#include "cli/page_loading.h"
#include "cli/page_selection.h"
#include "cli/progress.h"
#include "cli/unified_diff.h"
#include "engine/file_io.h"
#include "engine/loader.h"
#include "engine/save.h"
#include "engine/writer.h"
#include "messages/refusal_text.h"
#include "settings/setup_values.h"

namespace veskaron::cli {
namespace {

struct WriteArgs {
    SelectionArgs selection;
    bool dryRun = false;
    std::vector<std::string> sets;
    std::string place;  // start | end
    std::string attr;   // key-first | content-first
    std::optional<int> lineMode;  // the last of --one-line / --per-line
    std::string order;
    std::optional<bool> backup;   // the last of --backup / --no-backup
    bool asEdited = false;
    bool toStdout = false;
    LoadArgs load;
};

// A typed order must be exactly the 22 indices; unlike a stored one it is not
// replaced by the default, since the user would not notice.
bool ParseOrderArgument(const std::string& text, OutputOrder& order) {
    const OutputOrder parsed = ParseOutputOrder(text);
    if (FormatOutputOrder(parsed) != text) return false;
    order = parsed;
    return true;
}

// What writing one page came to; the statuses are those of a one-page run.
enum class PageOutcome { Saved, Unchanged, WouldChange, Failed };

struct PageResult {
    PageOutcome outcome = PageOutcome::Failed;
    int status = kExitOk;
};

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

// Characters the page's encoding cannot hold, told once per save.
void ReportReferences(const std::string& page, std::size_t references, Streams io, Progress& progress) {
    if (references == 0) return;
    progress.Finish();
    const bool one = references == 1;
    io.err << page << ": " << references << (one ? " character" : " characters")
           << " that the page's charset cannot hold " << (one ? "was" : "were")
           << " written as numeric character references (&#N;)\n";
}

// Of two opposite flags the one given last wins, so a script can append an
// override to a default set of arguments.
template <typename T>
std::optional<T> LastOf(const CLI::App& cmd, const CLI::Option* a, T aValue, const CLI::Option* b,
                        T bValue) {
    const auto& order = cmd.parse_order();
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        if (*it == a) return aValue;
        if (*it == b) return bValue;
    }
    return std::nullopt;
}

// Loads, writes and saves one page as the editor would, or with --dry-run
// prints the difference instead of saving. Problems are reported naming the page.
PageResult WritePage(const std::string& path, const WriteArgs& args, const LoadOptions& load,
                     const SaveOptions& base, bool batch, Streams io, Progress& progress) {
    auto fail = [&](int status, const std::string& message) {
        progress.Finish();
        io.err << message << "\n";
        return PageResult{PageOutcome::Failed, status};
    };
    Document doc = FreshDocument(load);
    const PageLoad loaded = LoadPage(doc, path, load);
    if (!loaded.fileOk) return fail(kExitFileError, loaded.fileError);
    if (!loaded.report.warnings.empty()) progress.Finish();
    for (const std::string& w : loaded.report.warnings) io.err << path << ": " << w << "\n";
    // Fields after a failed conversion were never read from the page: writing
    // them would take their tags out of it.
    if (!loaded.report.ok && !args.asEdited) return fail(kExitFailed, path + ": " + loaded.report.error);

    // A KOI8 page's typed texts must survive its translation back to KOI8.
    const CodecPtr koi8 = Koi8TypedTextCodec(doc.encoding.name);
    bool onlyModern = !args.sets.empty();
    for (const std::string& s : args.sets) {
        const TextCodec& codec = koi8 ? *koi8 : *doc.codec;
        const bool modern = IsModernSetting(s);
        onlyModern = onlyModern && modern;
        const std::string error = modern ? ApplyModernSetting(doc.modern, s, codec, doc.references)
                                         : ApplySetting(doc.fields, s, codec, doc.references);
        if (!error.empty()) return fail(kExitFailed, path + ": --set " + s + ": " + error);
    }

    SaveOptions options = base;
    options.writer.kind = doc.kind;
    if (!args.asEdited) {
        const std::string refusal = RefusalText(ModernEditRefusal(doc.page.text, doc.modernSnapshot, doc.modern));
        if (!refusal.empty()) return fail(kExitRefused, batch ? path + ": " + refusal : refusal);
    }
    // Edits of the tags beside the catalogue alone leave the META block as the page has it.
    if (!args.asEdited && !onlyModern) {
        // A refused run changes nothing, so the page is left alone (an older
        // backup included).
        const WriteResult w = WriteMetaBlock(doc.page.text, doc.fields, options.writer);
        // One page alone gets the refusal as the window shows it; a batch names the page.
        if (!w.Done()) {
            const std::string refusal = RefusalText(w.refusal);
            return fail(kExitRefused, batch ? path + ": " + refusal : refusal);
        }
    }
    if (!args.asEdited) ApplyModernEdits(doc.page.text, doc.modernSnapshot, doc.modern, options.writer.attributeOrder);
    options.asEdited = true;  // the block is in the text now

    // A charset the save cannot write is refused before anything is written.
    const std::string unwritable = UnwritableCharset(doc);
    if (!unwritable.empty()) return fail(kExitFailed, path + ": " + RefusalText({Refusal::UnwritableCharset, unwritable}));

    if (args.toStdout) {
        const SaveBytes bytes = BytesForSave(doc, options);
        ReportReferences(path, bytes.references, io, progress);
        io.out.write(bytes.bytes.data(), static_cast<std::streamsize>(bytes.bytes.size()));
        io.out.flush();
        return {io.out ? PageOutcome::Saved : PageOutcome::Failed, io.out ? kExitOk : kExitFailed};
    }
    if (args.dryRun) {
        const SaveBytes bytes = BytesForSave(doc, options);
        const FileRead old = ReadWholeFile(path);
        if (!old.ok) return fail(kExitFileError, old.error);
        if (old.bytes == bytes.bytes) return {PageOutcome::Unchanged, kExitOk};
        // A charset chosen with --set changes the bytes of every line: each
        // side is shown in its own charset.
        progress.Finish();
        PrintUnifiedDiff(io.out, path, DisplayLines(*DisplayCodec(doc.encoding.name), old.bytes),
                         DisplayLines(*DisplayCodec(SaveCharset(doc)), bytes.bytes));
        return {PageOutcome::WouldChange, kExitOk};
    }
    const SaveResult saved = SaveDocument(doc, options);
    if (!saved.written) return fail(kExitFailed, saved.error.empty() ? path + ": " + RefusalText(saved.refusal) : saved.error);
    ReportReferences(path, saved.references, io, progress);
    if (!saved.warning.empty()) {
        progress.Finish();
        io.err << path << ": saved without a backup: " << saved.warning << "\n";
    }
    return {PageOutcome::Saved, kExitOk};
}

int RunWrite(const WriteArgs& args, Streams io) {
    LoadOptions load;
    if (!ResolveLoadOptions(args.load, "write", io.err, load)) return kExitFailed;

    const WriterSettings stored = ReadWriterSettings();
    SaveOptions options;
    options.asEdited = args.asEdited;
    options.backup = stored.BakFiles;
    options.writer.placement = stored.InsMeta;
    options.writer.attributeOrder = stored.InsContent;
    options.writer.lineMode = stored.InsertMetaText;
    options.writer.order = stored.MetaList;
    if (!args.place.empty()) options.writer.placement = args.place == "start" ? 0 : 1;
    if (!args.attr.empty()) options.writer.attributeOrder = args.attr == "key-first" ? 0 : 1;
    if (args.lineMode) options.writer.lineMode = *args.lineMode;
    if (args.backup) options.backup = *args.backup;
    if (!args.order.empty() && !ParseOrderArgument(args.order, options.writer.order)) {
        io.err << "write: --order '" << args.order
               << "' is not the 22 indices 0 to 21, each once, separated by commas\n";
        return kExitFailed;
    }
    // A wrong --set is wrong for every page: say so once, before any page is touched.
    MetaFields scratch = FreshFields(load.now);
    ModernFields modernScratch;
    std::size_t noReferences = 0;
    for (const std::string& s : args.sets) {
        const std::string error = IsModernSetting(s) ? ApplyModernSetting(modernScratch, s, *Utf8Codec(), noReferences)
                                                     : ApplySetting(scratch, s, *Utf8Codec(), noReferences);
        if (!error.empty()) {
            io.err << "write: --set " << s << ": " << error << "\n";
            return kExitFailed;
        }
    }

    const Selection selection = SelectPages(args.selection, "write", io.err, true);
    if (!selection.ok) return kExitFailed;
    const bool batch = selection.folders || selection.pages.size() > 1;
    if (args.toStdout && batch) {
        io.err << "write: --stdout takes one page\n";
        return kExitFailed;
    }
    if (!batch) {
        if (selection.pages.empty()) return kExitOk;
        Progress none(io.err, false, 1);
        return WritePage(selection.pages.front(), args, load, options, false, io, none).status;
    }

    std::size_t saved = 0, unchanged = 0, changed = 0, failed = 0;
    {
        Progress progress(io.err, io.progress, selection.pages.size());
        std::size_t done = 0;
        for (const std::string& page : selection.pages) {
            progress.Show(done++);
            switch (WritePage(page, args, load, options, true, io, progress).outcome) {
                case PageOutcome::Saved: ++saved; break;
                case PageOutcome::Unchanged: ++unchanged; break;
                case PageOutcome::WouldChange: ++changed; break;
                case PageOutcome::Failed: ++failed; break;
            }
        }
    }
    // A dry run's stdout is the diff alone; its summary goes to stderr.
    std::ostream& summary = args.dryRun ? io.err : io.out;
    summary << "Pages: " << selection.pages.size();
    if (args.dryRun) summary << ", would change: " << changed << ", unchanged: " << unchanged;
    else summary << ", saved: " << saved;
    summary << ", failed: " << failed;
    if (selection.problems > 0) summary << ", unreadable folders or links: " << selection.problems;
    summary << "\n";
    io.out.flush();
    return failed > 0 || selection.problems > 0 ? kExitFailed : kExitOk;
}

}  // namespace

void AddWriteCommand(CLI::App& app, Streams io, int& status) {
    auto* cmd = app.add_subcommand("write", "Write fields into a page's META block and save it");
    auto args = std::make_shared<WriteArgs>();
    AddSelectionOptions(*cmd, args->selection);
    cmd->add_option("--set", args->sets,
                    "Member=VALUE, members as in the JSON of read (PageEnter.On=1, OgTitle=..., ...); "
                    "texts in UTF-8; may be given many times. Canonical, Viewport, Og* and Twitter* "
                    "are edited in place (an empty VALUE removes the tag); when only they are set, "
                    "the META block is left as it is")
        ->allow_extra_args(false);
    cmd->add_option("--place", args->place, "Where the block goes: start or end of the head")
        ->check(CLI::IsMember({"start", "end"}));
    cmd->add_option("--attr", args->attr, "Attribute order: key-first or content-first")
        ->check(CLI::IsMember({"key-first", "content-first"}));
    auto* one = cmd->add_flag("--one-line")->description("The whole block on one line");
    auto* per = cmd->add_flag("--per-line")->description("One tag per line (the last of the two wins)");
    cmd->add_option("--order", args->order, "Output order: the indices 0 to 21 separated by commas");
    auto* bak = cmd->add_flag("--backup")->description("Keep the old page as PAGE.bak");
    auto* nobak = cmd->add_flag("--no-backup")->description("Keep no backup (the last of the two wins)");
    cmd->add_flag("--as-edited", args->asEdited,
                  "Save the page's text as it is, without writing the fields into it");
    auto* toStdout =
        cmd->add_flag("--stdout", args->toStdout, "Print the bytes the file would get instead of writing it");
    cmd->add_flag("--dry-run", args->dryRun,
                  "Write nothing; print a unified diff of every page that would change")
        ->excludes(toStdout);
    AddLoadOptions(*cmd, args->load);
    cmd->callback([cmd, one, per, bak, nobak, args, io, &status] {
        args->lineMode = LastOf(*cmd, one, 1, per, 0);
        args->backup = LastOf(*cmd, bak, true, nobak, false);
        status = RunWrite(*args, io);
    });
}

}  // namespace veskaron::cli
