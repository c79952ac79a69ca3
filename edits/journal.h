#pragma once
// The journal of saves: every batch of pages a save writes, each page's bytes
// before and after, so that a batch can be taken back byte for byte. One file
// per batch in the journal folder; the pages are recorded before any of them
// is replaced, and each is marked once it is, so that a run killed halfway
// leaves a journal saying which pages it wrote.
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace veskaron::edits {

// Old batches go once there are more than `batches` of them, or once they
// take more than `bytes` together; the newest batch always stays.
struct JournalLimits {
    std::size_t batches = 50;
    std::uint64_t bytes = std::uint64_t{500} << 20;
};

// The limits of the stored setting: that many batches, ten times as many megabytes.
inline JournalLimits KeepingBatches(int batches) {
    const std::size_t n = batches > 0 ? static_cast<std::size_t>(batches) : 1;
    return {n, std::uint64_t{n} * 10 << 20};
}

// A page as a batch writes it.
struct PageBytes {
    std::string_view path;
    std::string_view before;
    std::string_view after;
};

struct JournalOptions {
    JournalLimits limits;
    // Bytes free for the journal's folder; statvfs when not given.
    std::function<std::uint64_t(const std::string& folder)> freeSpace;
    std::int64_t now = 0;  // seconds since 1970; 0: the clock
};

// One batch being written. Record, Written and Finish may be called from any
// thread.
class JournalBatch {
public:
    // Starts batch number (highest in the folder + 1) in `folder` (made with
    // mode 0700 when missing). Refused, with the reason, when the folder cannot
    // be made or written, or holds less room than `expectedBytes` and a margin:
    // then no page may be written.
    static std::unique_ptr<JournalBatch> Begin(const std::string& folder, std::string_view origin,
                                               std::uint64_t expectedBytes, const JournalOptions& options,
                                               std::string& error);
    ~JournalBatch();
    JournalBatch(const JournalBatch&) = delete;
    JournalBatch& operator=(const JournalBatch&) = delete;

    int Number() const { return number_; }
    const std::string& FilePath() const { return path_; }

    // Records the pages and flushes them to the disk; returns the index of the
    // first (the rest follow in order). On failure (a full disk) the reason is
    // in `error` and none of these pages may be written.
    bool Record(std::span<const PageBytes> pages, std::size_t& firstIndex, std::string& error);
    // The page of that index has been replaced.
    void Written(std::size_t index);
    // Closes the batch as complete and prunes old batches.
    void Finish();
    // Pages recorded so far.
    std::size_t Recorded();
    // Removes a batch in which no page was recorded.
    void Abandon();

private:
    JournalBatch() = default;
    bool Append(std::string_view record, bool sync, std::string& error);

    std::mutex mutex_;
    int fd_ = -1;
    int number_ = 0;
    std::size_t pages_ = 0;
    std::size_t written_ = 0;
    bool failed_ = false;
    std::string folder_, path_;
    JournalLimits limits_;
};

// ---- Reading ----

struct BatchSummary {
    int number = 0;
    std::int64_t time = 0;
    std::string origin;
    std::size_t pages = 0;    // recorded
    std::size_t written = 0;  // marked written
    bool complete = false;    // finished, not cut short
    std::uint64_t fileBytes = 0;
};

struct JournalEntry {
    std::size_t index = 0;
    std::string path;
    std::string before, after;
    bool written = false;
};

struct BatchContents {
    bool ok = false;
    std::string error;  // the batch cannot be read at all
    BatchSummary summary;
    std::vector<JournalEntry> pages;  // only entries that passed their check
    // Entries that are corrupt or cut short: reported, never applied.
    std::vector<std::string> problems;
};

// The batches in the folder, oldest first; unreadable ones are named in `problems`.
std::vector<BatchSummary> ListBatches(const std::string& folder, std::vector<std::string>* problems = nullptr);

// Reads a batch whole. With `withBytes` false the pages come without their
// bytes (for a listing of a batch's pages).
BatchContents ReadBatch(const std::string& folder, int number, bool withBytes = true);

// "/x/journal/000012.batch".
std::string BatchFilePath(const std::string& folder, int number);

// Deletes the oldest batches beyond the limits, never the newest one.
void PruneJournal(const std::string& folder, const JournalLimits& limits);

}  // namespace veskaron::edits
