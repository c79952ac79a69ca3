#include "edits/journal.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <zlib.h>

#include "engine/file_io.h"

namespace veskaron::edits {
namespace {

// A batch file: the magic, then records of a type byte, the payload's length
// (8 bytes) and its CRC-32 (4 bytes), then the payload. Numbers little-endian.
constexpr std::string_view kMagic = "VESKJRN1";
constexpr std::size_t kRecordHead = 1 + 8 + 4;
constexpr char kHeader = 'H', kPage = 'P', kWritten = 'W', kEnd = 'E';
constexpr std::string_view kSuffix = ".batch";
// Room kept free beside the pages' own bytes: the records' heads, the
// batch's end and whatever else needs the disk meanwhile.
constexpr std::uint64_t kMargin = std::uint64_t{4} << 20;

void PutNumber(std::string& out, std::uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

void PutText(std::string& out, std::string_view text) {
    PutNumber(out, text.size(), 8);
    out.append(text);
}

std::uint32_t Crc(std::string_view bytes) {
    uLong crc = crc32(0L, Z_NULL, 0);
    // crc32 takes at most a uInt at a time.
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t n = std::min<std::size_t>(bytes.size() - at, 1u << 30);
        crc = crc32(crc, reinterpret_cast<const Bytef*>(bytes.data() + at), static_cast<uInt>(n));
        at += n;
    }
    return static_cast<std::uint32_t>(crc);
}

std::string MakeRecord(char type, std::string_view payload) {
    std::string out;
    out.reserve(kRecordHead + payload.size());
    out.push_back(type);
    PutNumber(out, payload.size(), 8);
    PutNumber(out, Crc(payload), 4);
    out.append(payload);
    return out;
}

// Fast compression, one stream for many pages: the journal must not slow a
// batch down much, and setting a stream up costs as much as a small page.
class Compressor {
public:
    Compressor() { ok_ = deflateInit(&z_, 1) == Z_OK; }
    ~Compressor() {
        if (ok_) deflateEnd(&z_);
    }
    Compressor(const Compressor&) = delete;
    Compressor& operator=(const Compressor&) = delete;

    std::string operator()(std::string_view bytes) {
        if (!ok_ || deflateReset(&z_) != Z_OK) return {};
        std::string out(deflateBound(&z_, static_cast<uLong>(bytes.size())), '\0');
        z_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
        z_.avail_in = static_cast<uInt>(bytes.size());
        z_.next_out = reinterpret_cast<Bytef*>(out.data());
        z_.avail_out = static_cast<uInt>(out.size());
        if (deflate(&z_, Z_FINISH) != Z_STREAM_END) return {};
        out.resize(z_.total_out);
        return out;
    }

private:
    z_stream z_{};
    bool ok_ = false;
};

bool Uncompress(std::string_view packed, std::uint64_t size, std::string& out) {
    out.assign(size, '\0');
    uLongf got = static_cast<uLongf>(size);
    if (uncompress(reinterpret_cast<Bytef*>(out.data()), &got, reinterpret_cast<const Bytef*>(packed.data()),
                   static_cast<uLong>(packed.size())) != Z_OK)
        return false;
    return got == size;
}

// Reads numbers and texts from a payload; any read past its end fails.
class Cursor {
public:
    explicit Cursor(std::string_view bytes) : bytes_(bytes) {}
    bool Number(std::uint64_t& v, int n) {
        if (bytes_.size() - at_ < static_cast<std::size_t>(n)) return false;
        v = 0;
        for (int i = 0; i < n; ++i) v |= std::uint64_t{static_cast<unsigned char>(bytes_[at_ + i])} << (8 * i);
        at_ += static_cast<std::size_t>(n);
        return true;
    }
    bool Text(std::string_view& text) {
        std::uint64_t n = 0;
        if (!Number(n, 8) || bytes_.size() - at_ < n) return false;
        text = bytes_.substr(at_, n);
        at_ += n;
        return true;
    }
    bool AtEnd() const { return at_ == bytes_.size(); }

private:
    std::string_view bytes_;
    std::size_t at_ = 0;
};

std::uint64_t FreeSpace(const std::string& folder) {
    struct statvfs vfs {};
    if (::statvfs(folder.c_str(), &vfs) != 0) return UINT64_MAX;  // the writes will tell
    return static_cast<std::uint64_t>(vfs.f_bavail) * vfs.f_frsize;
}

bool WriteAll(int fd, std::string_view bytes) {
    for (std::size_t at = 0; at < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + at, bytes.size() - at);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = ENOSPC;
            return false;
        }
        at += static_cast<std::size_t>(n);
    }
    return true;
}

int NumberOfName(std::string_view name) {
    if (!name.ends_with(kSuffix)) return 0;
    name.remove_suffix(kSuffix.size());
    if (name.empty() || name.size() > 9) return 0;
    int n = 0;
    for (char c : name) {
        if (c < '0' || c > '9') return 0;
        n = n * 10 + (c - '0');
    }
    return n;
}

struct BatchFile {
    int number;
    std::uint64_t bytes;
};

std::vector<BatchFile> BatchFiles(const std::string& folder) {
    std::vector<BatchFile> files;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return files;
    while (const dirent* e = ::readdir(dir)) {
        const int n = NumberOfName(e->d_name);
        if (n <= 0) continue;
        struct stat st {};
        if (::stat(BatchFilePath(folder, n).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        files.push_back({n, static_cast<std::uint64_t>(st.st_size)});
    }
    ::closedir(dir);
    std::sort(files.begin(), files.end(), [](const BatchFile& a, const BatchFile& b) { return a.number < b.number; });
    return files;
}

// The folder is the user's alone: the pages' old texts may be private.
bool MakePrivateFolder(const std::string& folder, std::string& error) {
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        // A missing parent (a fresh data folder) is made as well.
        const std::size_t slash = folder.find_last_of('/');
        if (errno != ENOENT || slash == std::string::npos || slash == 0 ||
            !MakePrivateFolder(folder.substr(0, slash), error) || ::mkdir(folder.c_str(), 0700) != 0) {
            if (error.empty()) error = DescribeErrno("Cannot create folder", folder, errno);
            return false;
        }
    }
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        error = DescribeErrno("Cannot create folder", folder, ENOTDIR);
        return false;
    }
    return true;
}

}  // namespace

std::string BatchFilePath(const std::string& folder, int number) {
    char name[32];
    std::snprintf(name, sizeof name, "%06d", number);
    return folder + "/" + name + std::string(kSuffix);
}

std::unique_ptr<JournalBatch> JournalBatch::Begin(const std::string& folder, std::string_view origin,
                                                  std::uint64_t expectedBytes, const JournalOptions& options,
                                                  std::string& error) {
    error.clear();
    if (!MakePrivateFolder(folder, error)) return nullptr;
    ::chmod(folder.c_str(), 0700);  // also a folder made by hand or by an older version
    const std::uint64_t free = options.freeSpace ? options.freeSpace(folder) : FreeSpace(folder);
    const std::uint64_t needed = expectedBytes + kMargin;
    if (free < needed) {
        error = DescribeErrno("Cannot journal the pages in", folder, ENOSPC) + " (" +
                std::to_string((needed + (1 << 20) - 1) >> 20) + " MB needed, " + std::to_string(free >> 20) +
                " MB free)";
        return nullptr;
    }
    std::unique_ptr<JournalBatch> batch(new JournalBatch);
    batch->folder_ = folder;
    batch->limits_ = options.limits;
    const std::vector<BatchFile> files = BatchFiles(folder);
    int number = files.empty() ? 1 : files.back().number + 1;
    // Another run may take the same number at the same moment.
    for (int attempt = 0; attempt < 100 && batch->fd_ < 0; ++attempt, ++number) {
        batch->path_ = BatchFilePath(folder, number);
        batch->fd_ = ::open(batch->path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_APPEND | O_CLOEXEC, 0600);
        if (batch->fd_ < 0 && errno != EEXIST) break;
        batch->number_ = number;
    }
    if (batch->fd_ < 0) {
        error = DescribeErrno("Cannot create file", batch->path_, errno);
        return nullptr;
    }
    const std::int64_t now = options.now != 0 ? options.now
                                              : std::chrono::duration_cast<std::chrono::seconds>(
                                                    std::chrono::system_clock::now().time_since_epoch())
                                                    .count();
    std::string header;
    PutNumber(header, static_cast<std::uint64_t>(now), 8);
    PutText(header, origin);
    if (!batch->Append(std::string(kMagic) + MakeRecord(kHeader, header), true, error)) {
        ::close(batch->fd_);
        batch->fd_ = -1;
        ::unlink(batch->path_.c_str());
        return nullptr;
    }
    return batch;
}

JournalBatch::~JournalBatch() {
    if (fd_ >= 0) ::close(fd_);
}

bool JournalBatch::Append(std::string_view record, bool sync, std::string& error) {
    const off_t end = ::lseek(fd_, 0, SEEK_END);
    if (WriteAll(fd_, record) && (!sync || ::fdatasync(fd_) == 0 || errno == EINVAL)) return true;
    error = DescribeErrno("Cannot write the journal", path_, errno);
    // A record cut short would read as corrupt: the file ends where it did.
    if (end >= 0 && ::ftruncate(fd_, end) != 0) {
        // Then the reader reports the cut record; nothing more to do here.
    }
    return false;
}

bool JournalBatch::Record(std::span<const PageBytes> pages, std::size_t& firstIndex, std::string& error) {
    // Compressed outside the lock: the window records from a worker while
    // others may mark pages written.
    std::string records;
    std::size_t first;
    {
        std::lock_guard lock(mutex_);
        first = pages_;
        pages_ += pages.size();  // the numbers are taken even if the write fails
    }
    Compressor Compress;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        const std::string_view before = pages[i].before, after = pages[i].after;
        // A save changes a few lines of the head: the new bytes are kept as
        // the old ones with their middle replaced, which halves the work.
        std::size_t prefix = 0;
        const std::size_t shorter = std::min(before.size(), after.size());
        while (prefix < shorter && before[prefix] == after[prefix]) ++prefix;
        std::size_t suffix = 0;
        while (suffix < shorter - prefix && before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
            ++suffix;
        std::string payload;
        PutNumber(payload, first + i, 8);
        PutText(payload, pages[i].path);
        PutNumber(payload, before.size(), 8);
        PutNumber(payload, after.size(), 8);
        PutText(payload, Compress(before));
        PutNumber(payload, prefix, 8);
        PutNumber(payload, suffix, 8);
        // A small middle is cheaper kept as it is than compressed.
        const std::string_view middle = after.substr(prefix, after.size() - prefix - suffix);
        const bool packed = middle.size() > 512;
        PutNumber(payload, packed ? 1 : 0, 1);
        const std::string compressed = packed ? Compress(middle) : std::string();
        PutText(payload, packed ? std::string_view(compressed) : middle);
        records += MakeRecord(kPage, payload);
    }
    std::lock_guard lock(mutex_);
    if (failed_ || !Append(records, true, error)) {
        if (error.empty()) error = DescribeErrno("Cannot write the journal", path_, EIO);
        failed_ = true;
        return false;
    }
    firstIndex = first;
    return true;
}

void JournalBatch::Written(std::size_t index) {
    std::string payload;
    PutNumber(payload, index, 8);
    std::lock_guard lock(mutex_);
    std::string ignored;
    if (fd_ >= 0 && Append(MakeRecord(kWritten, payload), false, ignored)) ++written_;
}

void JournalBatch::Finish() {
    {
        std::lock_guard lock(mutex_);
        if (fd_ < 0) return;
        std::string payload, ignored;
        PutNumber(payload, written_, 8);
        (void)Append(MakeRecord(kEnd, payload), true, ignored);
        ::close(fd_);
        fd_ = -1;
    }
    PruneJournal(folder_, limits_);
}

std::size_t JournalBatch::Recorded() {
    std::lock_guard lock(mutex_);
    return pages_;
}

void JournalBatch::Abandon() {
    std::lock_guard lock(mutex_);
    if (fd_ < 0 || pages_ > 0) return;
    ::close(fd_);
    fd_ = -1;
    ::unlink(path_.c_str());
}

// ---- Reading ----

namespace {

// Walks a batch file's records, each read whole so that its CRC is checked.
class BatchReader {
public:
    explicit BatchReader(const std::string& path) : path_(path) {
        fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        struct stat st {};
        if (fd_ >= 0 && ::fstat(fd_, &st) == 0) size_ = static_cast<std::uint64_t>(st.st_size);
    }
    ~BatchReader() {
        if (fd_ >= 0) ::close(fd_);
    }
    bool Open(std::string& error) {
        if (fd_ < 0) {
            error = DescribeErrno("Cannot read", path_, errno);
            return false;
        }
        std::string magic(kMagic.size(), '\0');
        if (!ReadAt(0, magic) || magic != kMagic) {
            error = path_ + ": not a journal batch";
            return false;
        }
        at_ = kMagic.size();
        return true;
    }
    std::uint64_t Size() const { return size_; }

    enum class Step { Record, End, Truncated };
    // The next record's type and payload.
    Step Next(char& type, std::uint64_t& length, std::uint32_t& crc, std::string& payload) {
        if (at_ == size_) return Step::End;
        std::string head(kRecordHead, '\0');
        if (size_ - at_ < kRecordHead || !ReadAt(at_, head)) return Step::Truncated;
        Cursor c(head);
        std::uint64_t type8 = 0, crc64 = 0;
        c.Number(type8, 1);
        c.Number(length, 8);
        c.Number(crc64, 4);
        type = static_cast<char>(type8);
        crc = static_cast<std::uint32_t>(crc64);
        if (size_ - at_ - kRecordHead < length) return Step::Truncated;
        payload.assign(length, '\0');
        if (!ReadAt(at_ + kRecordHead, payload)) return Step::Truncated;
        offset_ = at_;
        at_ += kRecordHead + length;
        return Step::Record;
    }
    std::uint64_t Offset() const { return offset_; }

private:
    bool ReadAt(std::uint64_t at, std::string& into) {
        for (std::size_t got = 0; got < into.size();) {
            const ssize_t n = ::pread(fd_, into.data() + got, into.size() - got, static_cast<off_t>(at + got));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false;
            got += static_cast<std::size_t>(n);
        }
        return true;
    }
    std::string path_;
    int fd_ = -1;
    std::uint64_t size_ = 0, at_ = 0, offset_ = 0;
};

}  // namespace

BatchContents ReadBatch(const std::string& folder, int number, bool withBytes) {
    BatchContents out;
    const std::string path = BatchFilePath(folder, number);
    BatchReader reader(path);
    if (!reader.Open(out.error)) return out;
    out.summary.number = number;
    out.summary.fileBytes = reader.Size();
    std::vector<std::size_t> marks;
    char type = 0;
    std::uint64_t length = 0;
    std::uint32_t crc = 0;
    std::string payload;
    bool header = false;
    auto problem = [&](const std::string& what) {
        out.problems.push_back(path + ": " + what + " at byte " + std::to_string(reader.Offset()) +
                               "; skipped");
    };
    while (true) {
        const BatchReader::Step step = reader.Next(type, length, crc, payload);
        if (step == BatchReader::Step::End) break;
        if (step == BatchReader::Step::Truncated) {
            out.problems.push_back(path + ": the last entry is cut short (the run was stopped while writing it); "
                                          "skipped");
            break;
        }
        if (Crc(payload) != crc) {
            problem(type == kPage ? "a corrupt page entry" : "a corrupt entry");
            continue;
        }
        Cursor c(payload);
        if (type == kHeader) {
            std::uint64_t time = 0;
            std::string_view origin;
            if (!c.Number(time, 8) || !c.Text(origin)) {
                problem("a corrupt batch header");
                continue;
            }
            out.summary.time = static_cast<std::int64_t>(time);
            out.summary.origin = origin;
            header = true;
        } else if (type == kPage) {
            JournalEntry e;
            std::uint64_t index = 0, beforeSize = 0, afterSize = 0, prefix = 0, suffix = 0;
            std::uint64_t packed = 0;
            std::string_view p, before, middle;
            bool sound = c.Number(index, 8) && c.Text(p) && c.Number(beforeSize, 8) && c.Number(afterSize, 8) &&
                         c.Text(before) && c.Number(prefix, 8) && c.Number(suffix, 8) && c.Number(packed, 1) &&
                         c.Text(middle) && c.AtEnd() && prefix + suffix <= beforeSize && prefix + suffix <= afterSize &&
                         (packed != 0 || prefix + middle.size() + suffix == afterSize);
            std::string unpacked;
            if (sound && withBytes && packed != 0) {
                sound = Uncompress(middle, afterSize - prefix - suffix, unpacked);
                middle = unpacked;
            }
            if (sound && withBytes && (sound = Uncompress(before, beforeSize, e.before))) {
                e.after.reserve(afterSize);
                e.after.append(e.before, 0, prefix).append(middle).append(e.before, beforeSize - suffix, suffix);
            }
            if (!sound) {
                problem("a corrupt page entry");
                continue;
            }
            e.index = index;
            e.path = p;
            out.pages.push_back(std::move(e));
        } else if (type == kWritten) {
            std::uint64_t index = 0;
            if (c.Number(index, 8)) marks.push_back(index);
        } else if (type == kEnd) {
            out.summary.complete = true;
        } else {
            problem("an entry of unknown kind");
        }
    }
    if (!header) {
        out.error = path + ": the batch has no readable header";
        return out;
    }
    std::sort(marks.begin(), marks.end());
    for (JournalEntry& e : out.pages) e.written = std::binary_search(marks.begin(), marks.end(), e.index);
    out.summary.pages = out.pages.size();
    out.summary.written = static_cast<std::size_t>(
        std::count_if(out.pages.begin(), out.pages.end(), [](const JournalEntry& e) { return e.written; }));
    out.ok = true;
    return out;
}

std::vector<BatchSummary> ListBatches(const std::string& folder, std::vector<std::string>* problems) {
    std::vector<BatchSummary> out;
    for (const BatchFile& f : BatchFiles(folder)) {
        BatchContents batch = ReadBatch(folder, f.number, false);
        if (!batch.ok) {
            if (problems) problems->push_back(batch.error);
            continue;
        }
        out.push_back(std::move(batch.summary));
    }
    return out;
}

void PruneJournal(const std::string& folder, const JournalLimits& limits) {
    std::vector<BatchFile> files = BatchFiles(folder);
    std::uint64_t total = 0;
    for (const BatchFile& f : files) total += f.bytes;
    std::size_t count = files.size();
    for (std::size_t i = 0; i + 1 < files.size() && (count > limits.batches || total > limits.bytes); ++i) {
        if (::unlink(BatchFilePath(folder, files[i].number).c_str()) != 0) continue;
        --count;
        total -= files[i].bytes;
    }
}

}  // namespace veskaron::edits
