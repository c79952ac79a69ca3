#pragma once
// The journal of the pages write replaces: planned pages are handled in
// groups, and each group is recorded in the journal (one flush to the disk)
// before any of its pages is replaced. A group is compressed and recorded on
// another thread while the next one is planned.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "edits/journal.h"
#include "edits/journal_settings.h"
#include "engine/save.h"
#include "site/page_edit.h"

namespace veskaron::cli {

// The command line as the user gave it, for the journal's "what asked".
void SetCommandLine(int argc, const char* const* argv);
const std::string& CommandLine();

class JournaledWrites {
public:
    // Called for every page added, in the order added, once its group is
    // journaled; the handler writes a page through Commit().
    using Handler = std::function<void(const site::PlannedEdit& plan, JournaledWrites& writes)>;

    // Without `journal`, pages are handed on at once and written unjournaled
    // (a dry run, --stdout).
    JournaledWrites(bool journal, Handler handler);
    ~JournaledWrites();

    // Starts the batch for pages of about `pageBytes` together; false with
    // the reason when the journal cannot take it: no page may be written then.
    bool Begin(std::uint64_t pageBytes, std::string& error);
    // `written`: the handler writes the page if its plan allows (a CSV row
    // whose bytes stay is not written, a page named for writing is).
    void Add(site::PlannedEdit plan, bool written);
    // Hands on what is waiting; the batch is complete after the last call.
    void Finish();

    // Inside the handler: writes the page being handled, as CommitEdit does,
    // unless its group could not be journaled.
    site::CommitResult Commit(const site::PlannedEdit& plan, const SaveOptions& options);

private:
    struct Group;
    void Flush();
    void WriteRecorded();

    bool journal_;
    Handler handler_;
    std::unique_ptr<edits::JournalBatch> batch_;
    std::vector<site::PlannedEdit> waiting_;
    std::vector<bool> written_;
    std::unique_ptr<Group> recording_;  // the group being recorded
    std::size_t waitingBytes_ = 0;
    std::string refused_;       // why the current group is not journaled
    std::size_t index_ = 0;     // the journal index of the page being handled
    bool indexed_ = false;
};

// The bytes of the files together (a missing one counts nothing).
std::uint64_t FileBytes(const std::vector<std::string>& paths);

}  // namespace veskaron::cli
