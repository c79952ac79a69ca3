#include "cli/write_journal.h"

#include <future>
#include <sys/stat.h>


namespace veskaron::cli {
namespace {

// Pages are journaled a group at a time: one flush to the disk per group
// keeps the journal's cost small beside the pages' own writes.
constexpr std::size_t kGroupPages = 64;
constexpr std::size_t kGroupBytes = std::size_t{16} << 20;

std::string& StoredCommandLine() {
    static std::string line;
    return line;
}

// Quoted as a shell would need it, so the line can be read back.
std::string Quoted(std::string_view arg) {
    if (!arg.empty() && arg.find_first_of(" \t\n'\"\\$`*?;&|<>()") == std::string_view::npos) return std::string(arg);
    std::string out = "'";
    for (char c : arg) {
        if (c == '\'') out += "'\\''";
        else out += c;
    }
    return out + "'";
}

}  // namespace

void SetCommandLine(int argc, const char* const* argv) {
    std::string line = "veskaron-meta";
    for (int i = 1; i < argc; ++i) line += " " + Quoted(argv[i]);
    StoredCommandLine() = std::move(line);
}

const std::string& CommandLine() { return StoredCommandLine(); }

std::uint64_t FileBytes(const std::vector<std::string>& paths) {
    std::uint64_t total = 0;
    struct stat st {};
    for (const std::string& p : paths)
        if (::stat(p.c_str(), &st) == 0) total += static_cast<std::uint64_t>(st.st_size);
    return total;
}

struct JournaledWrites::Group {
    struct Recorded {
        bool ok = true;
        std::size_t first = 0;
        std::string error;
    };
    std::vector<site::PlannedEdit> plans;
    std::vector<bool> written;
    std::future<Recorded> recorded;  // invalid when no page of the group is written
};

JournaledWrites::JournaledWrites(bool journal, Handler handler) : journal_(journal), handler_(std::move(handler)) {}

JournaledWrites::~JournaledWrites() = default;

bool JournaledWrites::Begin(std::uint64_t pageBytes, std::string& error) {
    if (!journal_) return true;
    // The old and new bytes compressed take about a page's size: that room
    // must be there before the first page is replaced.
    batch_ = edits::JournalBatch::Begin(edits::JournalFolderPath(), CommandLine(), pageBytes,
                                        edits::JournalOptionsOfSettings(), error);
    return batch_ != nullptr;
}

void JournaledWrites::Add(site::PlannedEdit plan, bool written) {
    if (!journal_) {
        handler_(plan, *this);
        return;
    }
    written = written && (plan.status == site::EditStatus::Changes || plan.status == site::EditStatus::Unchanged);
    waitingBytes_ += written ? plan.oldBytes.size() + plan.newBytes.size() : 0;
    waiting_.push_back(std::move(plan));
    written_.push_back(written);
    if (waiting_.size() >= kGroupPages || waitingBytes_ >= kGroupBytes) Flush();
}

void JournaledWrites::Flush() {
    auto group = std::make_unique<Group>();
    group->plans = std::exchange(waiting_, {});
    group->written = std::exchange(written_, {});
    waitingBytes_ = 0;
    // The group before is written first: records stay in the pages' order,
    // and a journal that failed refuses every later group.
    WriteRecorded();
    std::vector<edits::PageBytes> pages;
    for (std::size_t i = 0; i < group->plans.size(); ++i) {
        const site::PlannedEdit& p = group->plans[i];
        if (group->written[i]) pages.push_back({p.path, p.oldBytes, p.newBytes});
    }
    if (!pages.empty() && refused_.empty()) {
        group->recorded = std::async(std::launch::async, [batch = batch_.get(), pages = std::move(pages)] {
            Group::Recorded r;
            r.ok = batch->Record(pages, r.first, r.error);
            return r;
        });
    }
    recording_ = std::move(group);
}

void JournaledWrites::WriteRecorded() {
    if (!recording_) return;
    Group& group = *recording_;
    std::size_t next = 0;
    if (group.recorded.valid()) {
        Group::Recorded r = group.recorded.get();
        if (!r.ok && refused_.empty()) refused_ = r.error.empty() ? "the journal could not be written" : r.error;
        next = r.first;
    }
    for (std::size_t i = 0; i < group.plans.size(); ++i) {
        indexed_ = group.written[i];
        index_ = next;
        if (indexed_) ++next;
        handler_(group.plans[i], *this);
    }
    indexed_ = false;
    recording_.reset();
}

void JournaledWrites::Finish() {
    if (!journal_ || !batch_) return;
    Flush();
    WriteRecorded();
    // A run that wrote nothing leaves nothing to take back.
    if (batch_->Recorded() == 0) batch_->Abandon();
    else batch_->Finish();
    batch_.reset();
}

site::CommitResult JournaledWrites::Commit(const site::PlannedEdit& plan, const SaveOptions& options) {
    if (!journal_) return site::CommitEdit(plan, options);
    if (!refused_.empty() || !indexed_) {
        site::CommitResult refused;
        refused.error = plan.path + ": not written, since the journal cannot hold it: " + refused_;
        return refused;
    }
    site::CommitResult result = site::CommitEdit(plan, options);
    if (result.written) batch_->Written(index_);
    return result;
}

}  // namespace veskaron::cli
