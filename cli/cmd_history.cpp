// history and undo: the journal of saves, and taking a batch of it back.
#include <ctime>
#include <iomanip>
#include <memory>
#include <ostream>
#include <string>

#include <CLI/CLI.hpp>

#include "cli/commands.h"
#include "cli/write_journal.h"
#include "edits/journal.h"
#include "edits/undo.h"

namespace veskaron::cli {
namespace {

std::string LocalTime(std::int64_t seconds) {
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm tm {};
    ::localtime_r(&t, &tm);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &tm);
    return text;
}

int RunHistory(Streams io) {
    const std::string folder = edits::JournalFolderPath();
    std::vector<std::string> problems;
    const std::vector<edits::BatchSummary> batches = edits::ListBatches(folder, &problems);
    for (const std::string& p : problems) io.err << "history: " << p << "\n";
    if (!batches.empty()) io.out << "Batch  Time                 Pages  What asked\n";
    for (const edits::BatchSummary& b : batches) {
        io.out << std::left << std::setw(6) << b.number << " " << LocalTime(b.time) << "  " << std::setw(5)
               << b.pages << "  " << b.origin;
        // A run stopped halfway: the pages it got to.
        if (!b.complete) io.out << "  [stopped; " << b.written << " of " << b.pages << " written]";
        io.out << "\n";
    }
    return problems.empty() ? kExitOk : kExitFileError;
}

struct UndoArgs {
    int batch = 0;  // 0: the last
    bool dryRun = false;
};

int RunUndo(const UndoArgs& args, Streams io) {
    const std::string folder = edits::JournalFolderPath();
    int number = args.batch;
    if (number == 0) {
        const std::vector<edits::BatchSummary> batches = edits::ListBatches(folder);
        if (batches.empty()) {
            io.err << "undo: the journal " << folder << " holds no batch\n";
            return kExitFailed;
        }
        number = batches.back().number;
    }
    const edits::BatchContents batch = edits::ReadBatch(folder, number);
    if (!batch.ok) {
        io.err << "undo: " << batch.error << "\n";
        return kExitFileError;
    }
    // Entries that fail their check are never applied; the rest still are.
    for (const std::string& p : batch.problems) io.err << "undo: " << p << "\n";
    const std::vector<edits::UndoItem> plan = edits::PlanUndo(batch);
    std::size_t restore = 0, already = 0, changed = 0;
    for (const edits::UndoItem& item : plan) {
        switch (item.action) {
            case edits::UndoAction::Restore: ++restore; break;
            case edits::UndoAction::AlreadyBefore: ++already; break;
            case edits::UndoAction::Changed: ++changed; break;
        }
    }
    const bool faults = !batch.problems.empty();
    if (args.dryRun) {
        for (const edits::UndoItem& item : plan) {
            if (item.action == edits::UndoAction::Restore) io.out << edits::ReverseDiff(item);
            else if (item.action == edits::UndoAction::Changed) io.err << item.reason << "\n";
        }
        // As write --dry-run: the diff alone on stdout.
        io.err << "Batch " << number << ": pages: " << plan.size() << ", would restore: " << restore
               << ", unchanged: " << already << ", changed since: " << changed << "\n";
        return changed > 0 || faults ? kExitFailed : kExitOk;
    }
    const edits::UndoResult done = edits::CommitUndo(plan, folder, CommandLine() + " [batch " + std::to_string(number) + "]",
                                                     edits::JournalOptionsOfSettings());
    if (!done.journalError.empty()) {
        io.err << "undo: " << done.journalError << "; no page was written\n";
        return kExitFailed;
    }
    for (const std::string& s : done.skipped) io.err << s << "\n";
    for (const std::string& f : done.failed) io.err << f << "\n";
    io.out << "Batch " << number << ": pages: " << plan.size() << ", restored: " << done.restored.size()
           << ", unchanged: " << already << ", skipped: " << done.skipped.size()
           << ", failed: " << done.failed.size() << "\n";
    return done.skipped.empty() && done.failed.empty() && !faults ? kExitOk : kExitFailed;
}

}  // namespace

void AddHistoryCommands(CLI::App& app, Streams io, int& status) {
    auto* history = app.add_subcommand(
        "history", "List the journal of saves: each batch's number, time, pages, and what asked for it");
    history->callback([io, &status] { status = RunHistory(io); });

    auto* undo = app.add_subcommand(
        "undo", "Put every page of a journaled batch back as it was before, byte for byte; a page changed "
                "since is left alone and named (exit status 1)");
    auto args = std::make_shared<UndoArgs>();
    auto* batch = undo->add_option("--batch", args->batch, "The batch's number, as history lists it")
                      ->type_name("N")
                      ->check(CLI::PositiveNumber);
    auto* last = undo->add_flag("--last")->description("The last batch (the default; the last of the two wins)");
    undo->add_flag("--dry-run", args->dryRun, "Write nothing; print a unified diff of what the undo would change");
    undo->callback([undo, batch, last, args, io, &status] {
        // Of --batch and --last the one given last wins, as with write's opposite flags.
        const auto& order = undo->parse_order();
        for (auto it = order.rbegin(); it != order.rend(); ++it) {
            if (*it == last) args->batch = 0;
            if (*it == batch || *it == last) break;
        }
        status = RunUndo(*args, io);
    });
}

}  // namespace veskaron::cli
