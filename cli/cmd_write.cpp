#include <filesystem>
#include <map>
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
#include "cli/write_journal.h"
#include "engine/file_io.h"
#include "engine/loader.h"
#include "engine/save.h"
#include "engine/writer.h"
#include "messages/page_texts.h"
#include "settings/setup_values.h"
#include "site/csv.h"
#include "site/csv_edits.h"
#include "site/field_members.h"
#include "site/page_edit.h"

namespace veskaron::cli {
namespace {

struct WriteArgs {
    SelectionArgs selection;
    bool dryRun = false;
    std::vector<std::string> sets;
    std::string fromCsv;  // a CSV file of edits, a row per page
    std::string base;     // the folder the CSV's paths are relative to
    std::string place;    // start | end
    std::string attr;   // key-first | content-first
    std::optional<LineMode> lineMode;  // the last of --one-line / --per-line
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

// Characters the page's encoding cannot hold, told once per save.
void ReportReferences(const std::string& page, std::size_t references, Streams io, Progress& progress) {
    if (references == 0) return;
    progress.Finish();
    const bool one = references == 1;
    io.err << page << ": " << references << (one ? " character" : " characters")
           << " that the page's charset cannot hold " << (one ? "was" : "were")
           << " written as numeric character references (&#N;)\n";
}

void ReportWarnings(const site::PlannedEdit& plan, Streams io, Progress& progress) {
    if (!plan.warnings.empty()) progress.Finish();
    for (const LoadWarning w : plan.warnings) io.err << plan.path << ": " << LoadWarningText(w) << "\n";
}

// Writes a planned page; problems are reported naming it.
PageResult CommitPage(const site::PlannedEdit& plan, const SaveOptions& options, const std::string& where,
                      Streams io, Progress& progress, JournaledWrites& writes) {
    const site::CommitResult saved = writes.Commit(plan, options);
    if (!saved.written) {
        progress.Finish();
        io.err << where << saved.error << "\n";
        return {PageOutcome::Failed, kExitFailed};
    }
    ReportReferences(plan.path, saved.references, io, progress);
    if (!saved.warning.empty()) {
        progress.Finish();
        io.err << plan.path << ": saved without a backup: " << saved.warning << "\n";
    }
    return {PageOutcome::Saved, kExitOk};
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

// Loads and writes one page as the editor would; the disk is not touched yet.
site::PlannedEdit PlanPage(const std::string& path, const WriteArgs& args, const LoadOptions& load,
                           const SaveOptions& base) {
    site::PlanOptions how;
    how.block = site::BlockRewrite::Always;
    how.diff = args.dryRun;
    return site::PlanEdit(path, args.sets, load, base, how);
}

// Saves a planned page, or with --dry-run prints the difference instead of
// saving. Problems are reported naming the page.
PageResult WritePage(const site::PlannedEdit& plan, const WriteArgs& args, const SaveOptions& base, bool batch,
                     Streams io, Progress& progress, JournaledWrites& writes) {
    const std::string& path = plan.path;
    auto fail = [&](int status, const std::string& message) {
        progress.Finish();
        io.err << message << "\n";
        return PageResult{PageOutcome::Failed, status};
    };
    ReportWarnings(plan, io, progress);
    switch (plan.status) {
        case site::EditStatus::FileError: return fail(kExitFileError, plan.error);
        case site::EditStatus::Failed:
            return fail(kExitFailed, plan.assignment.empty() ? plan.error
                                                             : path + ": --set " + plan.assignment + ": " + plan.cause);
        // One page alone gets the refusal as the window shows it; a batch names the page.
        case site::EditStatus::Refused: return fail(kExitRefused, batch ? plan.error : plan.cause);
        case site::EditStatus::Changes:
        case site::EditStatus::Unchanged: break;
    }
    if (args.toStdout) {
        ReportReferences(path, plan.references, io, progress);
        io.out.write(plan.newBytes.data(), static_cast<std::streamsize>(plan.newBytes.size()));
        io.out.flush();
        return {io.out ? PageOutcome::Saved : PageOutcome::Failed, io.out ? kExitOk : kExitFailed};
    }
    if (args.dryRun) {
        if (plan.status == site::EditStatus::Unchanged) return {PageOutcome::Unchanged, kExitOk};
        progress.Finish();
        io.out << plan.diff;
        return {PageOutcome::WouldChange, kExitOk};
    }
    // A page named for writing is written even when its bytes stay, as a save in the window is.
    return CommitPage(plan, base, std::string(), io, progress, writes);
}

// The batch summary; a dry run's stdout is the diff alone, so its summary goes to stderr.
void PrintSummary(Streams io, bool dryRun, std::size_t pages, std::size_t saved, std::size_t changed,
                  std::size_t unchanged, std::size_t failed, std::size_t problems) {
    std::ostream& summary = dryRun ? io.err : io.out;
    summary << "Pages: " << pages;
    if (dryRun) summary << ", would change: " << changed << ", unchanged: " << unchanged;
    else summary << ", saved: " << saved;
    summary << ", failed: " << failed;
    if (problems > 0) summary << ", unreadable folders or links: " << problems;
    summary << "\n";
    io.out.flush();
}

// read loads its pages into one document, as picking them one after another
// in the window does: a field a page leaves as it was (an unknown robots word)
// shows the value of the page before it. Such a cell of read's CSV is no edit
// of the page, so the pages are loaded once more in the rows' order, and the
// cells that hold what read showed are dropped. Each page is then edited from
// its own values alone, as a batch write does.
void DropCellsAsReadShowedThem(std::vector<site::CsvEditRow>& rows, const std::vector<std::string>& paths,
                               const LoadOptions& load) {
    Document doc = FreshDocument(load);
    std::map<std::string, std::string, std::less<>> shown;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (!LoadPage(doc, paths[i], load).fileOk) continue;  // reported when the page is planned
        nlohmann::json fields = FieldsToJson(doc.fields, *doc.codec);
        AddModernJson(fields, ReadModernHead(doc.page.text, doc.codec.get()), *doc.codec);
        shown.clear();
        for (auto& [name, value] : site::CsvCells(fields)) shown.emplace(std::move(name), std::move(value));
        std::erase_if(rows[i].values, [&shown](const auto& cell) {
            const auto it = shown.find(cell.first);
            return it != shown.end() && it->second == cell.second;
        });
    }
}

// Each row of the CSV file is one page's edits. The file is checked whole
// before any page is touched; a page that then fails is reported with its row
// and the others are still written. A page whose bytes would stay is not written.
int RunWriteCsv(const WriteArgs& args, const LoadOptions& load, const SaveOptions& options, Streams io) {
    const FileRead file = ReadWholeFile(args.fromCsv);
    if (!file.ok) {
        io.err << "write: " << file.error << "\n";
        return kExitFileError;
    }
    site::CsvEdits edits = site::ReadCsvEdits(file.bytes);
    if (!edits.ok) {
        io.err << args.fromCsv << ": " << edits.error << "\n";
        return kExitFailed;
    }
    // A spreadsheet's own separator or encoding is worth a word: the user sees what was taken.
    if (!edits.plain) io.err << args.fromCsv << ": " << edits.note << "\n";
    auto where = [&](const site::CsvEditRow& row) { return args.fromCsv + ": " + site::CsvLineError(row.line, ""); };
    bool wrong = false;
    for (const site::CsvEditRow& row : edits.rows) {
        for (const auto& [name, value] : row.values) {
            if (const std::string error = site::SettingError(name + "=" + value); !error.empty()) {
                io.err << where(row) << "столбец " << name << ": " << error << "\n";
                wrong = true;
            }
        }
    }
    if (wrong) return kExitFailed;

    // Paths are relative to --base, else to the folder of the CSV file. With
    // --base, a row whose page lies outside that folder is refused, and the
    // others go on.
    const std::size_t rows = edits.rows.size();
    std::size_t failed = 0;
    if (!args.base.empty()) {
        std::erase_if(edits.rows, [&](const site::CsvEditRow& row) {
            if (!site::LeadsOutside(args.base, row.path)) return false;
            io.err << args.fromCsv << ": " << site::OutsideFolderError(row.line, row.path, args.base) << "\n";
            ++failed;
            return true;
        });
    }
    const std::filesystem::path base =
        args.base.empty() ? std::filesystem::path(args.fromCsv).parent_path() : std::filesystem::path(args.base);
    std::vector<std::string> paths;
    for (const site::CsvEditRow& row : edits.rows) paths.push_back((base / row.path).string());
    DropCellsAsReadShowedThem(edits.rows, paths, load);
    site::PlanOptions how;
    how.diff = args.dryRun;
    std::size_t saved = 0, unchanged = 0, changed = 0;
    {
        Progress progress(io.err, io.progress, edits.rows.size());
        std::size_t handled = 0;
        JournaledWrites writes(!args.dryRun, [&](const site::PlannedEdit& plan, JournaledWrites& writes) {
            const site::CsvEditRow& row = edits.rows[handled++];
            ReportWarnings(plan, io, progress);
            if (plan.status == site::EditStatus::Unchanged) {
                ++unchanged;
            } else if (plan.status != site::EditStatus::Changes) {
                progress.Finish();
                io.err << where(row) << plan.error << "\n";
                ++failed;
            } else if (args.dryRun) {
                progress.Finish();
                io.out << plan.diff;
                ++changed;
            } else if (CommitPage(plan, options, where(row), io, progress, writes).outcome == PageOutcome::Saved) {
                ++saved;
            } else {
                ++failed;
            }
        });
        // Only pages whose bytes change are written, and so journaled.
        if (std::string error; !writes.Begin(FileBytes(paths), error)) {
            io.err << "write: " << error << "; no page was written\n";
            return kExitFailed;
        }
        for (std::size_t i = 0; i < edits.rows.size(); ++i) {
            progress.Show(i);
            site::PlannedEdit plan = site::PlanEdit(paths[i], site::Assignments(edits.rows[i]), load, options, how);
            const bool written = plan.status == site::EditStatus::Changes;
            writes.Add(std::move(plan), written);
        }
        writes.Finish();
    }
    PrintSummary(io, args.dryRun, rows, saved, changed, unchanged, failed, 0);
    return failed > 0 ? kExitFailed : kExitOk;
}

int RunWrite(const WriteArgs& args, Streams io) {
    LoadOptions load;
    if (!ResolveLoadOptions(args.load, "write", io.err, load)) return kExitFailed;

    const SettingsValues stored = ReadSettingsValues();
    SaveOptions options;
    options.asEdited = args.asEdited;
    options.backup = stored.backupFiles;
    options.writer = WriterOptionsOf(stored);
    if (!args.place.empty())
        options.writer.placement = args.place == "start" ? Placement::AfterHeadOpen : Placement::BeforeHeadClose;
    if (!args.attr.empty())
        options.writer.attributeOrder = args.attr == "key-first" ? AttributeOrder::KeyFirst : AttributeOrder::ContentFirst;
    if (args.lineMode) options.writer.lineMode = *args.lineMode;
    if (args.backup) options.backup = *args.backup;
    if (!args.order.empty() && !ParseOrderArgument(args.order, options.writer.order)) {
        io.err << "write: --order '" << args.order
               << "' is not the 22 indices 0 to 21, each once, separated by commas\n";
        return kExitFailed;
    }
    if (!args.fromCsv.empty()) return RunWriteCsv(args, load, options, io);
    // A wrong --set is wrong for every page: say so once, before any page is touched.
    for (const std::string& s : args.sets) {
        const std::string error = site::SettingError(s);
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
    const bool journal = !args.dryRun && !args.toStdout;
    if (!batch) {
        if (selection.pages.empty()) return kExitOk;
        Progress none(io.err, false, 1);
        PageResult result;
        JournaledWrites writes(journal, [&](const site::PlannedEdit& plan, JournaledWrites& writes) {
            result = WritePage(plan, args, options, false, io, none, writes);
        });
        if (std::string error; !writes.Begin(FileBytes(selection.pages), error)) {
            io.err << "write: " << error << "; the page was not written\n";
            return kExitFailed;
        }
        writes.Add(PlanPage(selection.pages.front(), args, load, options), true);
        writes.Finish();
        return result.status;
    }

    std::size_t saved = 0, unchanged = 0, changed = 0, failed = 0;
    {
        Progress progress(io.err, io.progress, selection.pages.size());
        JournaledWrites writes(journal, [&](const site::PlannedEdit& plan, JournaledWrites& writes) {
            switch (WritePage(plan, args, options, true, io, progress, writes).outcome) {
                case PageOutcome::Saved: ++saved; break;
                case PageOutcome::Unchanged: ++unchanged; break;
                case PageOutcome::WouldChange: ++changed; break;
                case PageOutcome::Failed: ++failed; break;
            }
        });
        if (std::string error; !writes.Begin(FileBytes(selection.pages), error)) {
            io.err << "write: " << error << "; no page was written\n";
            return kExitFailed;
        }
        std::size_t done = 0;
        for (const std::string& page : selection.pages) {
            progress.Show(done++);
            writes.Add(PlanPage(page, args, load, options), true);
        }
        writes.Finish();
    }
    PrintSummary(io, args.dryRun, selection.pages.size(), saved, changed, unchanged, failed, selection.problems);
    return failed > 0 || selection.problems > 0 ? kExitFailed : kExitOk;
}

}  // namespace

void AddWriteCommand(CLI::App& app, Streams io, int& status) {
    auto* cmd = app.add_subcommand("write", "Write fields into a page's META block and save it");
    auto args = std::make_shared<WriteArgs>();
    AddSelectionOptions(*cmd, args->selection);
    auto* sets = cmd->add_option("--set", args->sets,
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
    auto* asEdited = cmd->add_flag("--as-edited", args->asEdited,
                                   "Save the page's text as it is, without writing the fields into it");
    auto* toStdout =
        cmd->add_flag("--stdout", args->toStdout, "Print the bytes the file would get instead of writing it");
    cmd->add_flag("--dry-run", args->dryRun,
                  "Write nothing; print a unified diff of every page that would change")
        ->excludes(toStdout);
    // The CSV names its pages and their values itself.
    auto* fromCsv =
        cmd->add_option("--from-csv", args->fromCsv,
                        "Edits from a CSV file (RFC 4180; a semicolon or a tab between fields and Windows-1251 "
                        "or UTF-16 are taken too, as a spreadsheet saves them): a row per page, its Path and "
                        "columns named like the members of read (read --format csv writes such a file); an "
                        "empty cell leaves the field, \"\" sets it empty. Only pages whose bytes change are "
                        "written; the META block is rewritten only when one of its fields changes")
            ->type_name("FILE")
            ->excludes(sets)
            ->excludes(asEdited)
            ->excludes(toStdout);
    for (const char* name : {"PAGE", "-r", "--mask"}) fromCsv->excludes(cmd->get_option(name));
    cmd->add_option("--base", args->base,
                    "The folder the paths of --from-csv are relative to (default: the CSV file's); a row whose "
                    "page lies outside it is refused")
        ->type_name("DIR")
        ->needs(fromCsv);
    AddLoadOptions(*cmd, args->load);
    cmd->callback([cmd, one, per, bak, nobak, args, io, &status] {
        args->lineMode = LastOf(*cmd, one, LineMode::OneLine, per, LineMode::TagPerLine);
        args->backup = LastOf(*cmd, bak, true, nobak, false);
        status = RunWrite(*args, io);
    });
}

}  // namespace veskaron::cli
