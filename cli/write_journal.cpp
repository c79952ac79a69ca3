#include "cli/write_journal.h"

#include <sys/stat.h>

#include "platform/key_store.h"
#include "platform/paths.h"
#include "settings/settings_keys.h"

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

std::string JournalFolderPath() { return JournalFolder(); }

edits::JournalOptions JournalOptionsOfSettings() {
    edits::JournalOptions options;
    const KeyAccess access;
    options.limits = edits::KeepingBatches(Read(access, key::JournalKeep));
    return options;
}

std::uint64_t FileBytes(const std::vector<std::string>& paths) {
    std::uint64_t total = 0;
    struct stat st {};
    for (const std::string& p : paths)
        if (::stat(p.c_str(), &st) == 0) total += static_cast<std::uint64_t>(st.st_size);
    return total;
}

JournaledWrites::JournaledWrites(bool journal, Handler handler) : journal_(journal), handler_(std::move(handler)) {}

JournaledWrites::~JournaledWrites() = default;

bool JournaledWrites::Begin(std::uint64_t pageBytes, std::string& error) {
    if (!journal_) return true;
    // The old and new bytes compressed take about a page's size: that room
    // must be there before the first page is replaced.
    batch_ = edits::JournalBatch::Begin(JournalFolderPath(), CommandLine(), pageBytes,
                                        JournalOptionsOfSettings(), error);
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
    std::vector<edits::PageBytes> pages;
    for (std::size_t i = 0; i < waiting_.size(); ++i)
        if (written_[i]) pages.push_back({waiting_[i].path, waiting_[i].oldBytes, waiting_[i].newBytes});
    std::size_t first = 0;
    if (!pages.empty() && refused_.empty() && !batch_->Record(pages, first, refused_) && refused_.empty())
        refused_ = "the journal could not be written";
    std::size_t next = first;
    for (std::size_t i = 0; i < waiting_.size(); ++i) {
        indexed_ = written_[i];
        index_ = next;
        if (indexed_) ++next;
        handler_(waiting_[i], *this);
    }
    indexed_ = false;
    waiting_.clear();
    written_.clear();
    waitingBytes_ = 0;
}

void JournaledWrites::Finish() {
    if (!journal_ || !batch_) return;
    Flush();
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
