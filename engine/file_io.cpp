#include "engine/file_io.h"

#include "engine/large_buffer.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace veskaron {
namespace {


std::string CannotCreate(const std::string& path, int err) {
    return "Cannot create file " + path + ": " + std::strerror(err);
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A hidden name in the folder of `target` that is unlikely to be taken.
std::string TempNameBeside(const std::string& target) {
    static std::mt19937_64 rng{std::random_device{}()};
    static constexpr char kChars[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    const std::string folder = FolderOf(target);
    std::string name = (folder == "/" ? "/" : folder + "/") + "." + NameOf(target) + ".";
    for (int i = 0; i < 8; ++i) name += kChars[rng() % (sizeof kChars - 1)];
    return name + ".tmp";
}

// Removes a temporary file on every way out unless it was renamed into place.
class TempFile {
public:
    TempFile() = default;
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    ~TempFile() { Discard(); }

    // Creates a new, empty file beside `target`; errno tells why it failed.
    bool Create(const std::string& target, mode_t mode) {
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::string name = TempNameBeside(target);
            // O_EXCL: never take over a file that is already there.
            const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
            if (fd >= 0) {
                fd_ = fd;
                path_ = std::move(name);
                return true;
            }
            if (errno != EEXIST) return false;
        }
        errno = EEXIST;
        return false;
    }

    int Fd() const { return fd_; }
    const std::string& Path() const { return path_; }

    // Writes every byte, flushes them to the disk and closes the file.
    bool WriteAll(std::string_view bytes) {
        const char* p = bytes.data();
        std::size_t left = bytes.size();
        while (left > 0) {
            const std::size_t chunk = left < (1u << 20) ? left : (1u << 20);
            const ssize_t n = ::write(fd_, p, chunk);
            if (n < 0) {
                if (errno == EINTR) continue;
                return false;
            }
            if (n == 0) {
                errno = EIO;
                return false;
            }
            p += n;
            left -= static_cast<std::size_t>(n);
        }
        if (::fsync(fd_) != 0 && errno != EINVAL && errno != EROFS) return false;
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

    // The file now lives under another name: nothing to clean up.
    void Release() { path_.clear(); }

    void Discard() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
        if (!path_.empty()) ::unlink(path_.c_str());
        path_.clear();
    }

private:
    int fd_ = -1;
    std::string path_;
};

// Keeps the current page's bytes under a temporary name beside the backup,
// without the page ever going missing: a hard link where the file system
// allows one, a copy otherwise. The older backup is replaced only once the
// new page is in place (CommitBackup), so a failed save leaves it as it was.
bool PrepareBackup(const std::string& page, const struct stat& pageStat, const std::string& backup,
                   std::string& prepared, std::string& error) {
    for (int attempt = 0; attempt < 100 && prepared.empty(); ++attempt) {
        std::string name = TempNameBeside(backup);
        if (::link(page.c_str(), name.c_str()) == 0) prepared = std::move(name);
        else if (errno != EEXIST) break;
    }
    if (!prepared.empty()) return true;
    const FileRead old = ReadWholeFile(page);
    if (!old.ok) {
        error = old.error;
        return false;
    }
    TempFile copy;
    if (!copy.Create(backup, pageStat.st_mode & 07777) || !copy.WriteAll(old.bytes)) {
        error = CannotCreate(backup, errno);
        return false;
    }
    prepared = copy.Path();
    copy.Release();
    return true;
}

bool CommitBackup(const std::string& prepared, const std::string& backup, std::string& error) {
    if (::rename(prepared.c_str(), backup.c_str()) != 0) {
        error = CannotCreate(backup, errno);
        ::unlink(prepared.c_str());
        return false;
    }
    // Renaming onto another link of the same file leaves the new link behind.
    struct stat st {};
    if (::lstat(prepared.c_str(), &st) == 0) ::unlink(prepared.c_str());
    return true;
}

// Writes every byte from the start of `fd`, cuts the file there and flushes it.
bool Overwrite(int fd, std::string_view bytes) {
    if (::lseek(fd, 0, SEEK_SET) != 0) return false;
    for (const char* p = bytes.data(); p != bytes.data() + bytes.size();) {
        const ssize_t n = ::write(fd, p, static_cast<std::size_t>(bytes.data() + bytes.size() - p));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = EIO;
            return false;
        }
        p += n;
    }
    if (::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0) return false;
    return ::fsync(fd) == 0 || errno == EINVAL || errno == EROFS;
}

// A writable page in a folder that takes no new files cannot be replaced by
// a rename: it is written in place, and gets its old bytes back should that fail.
FileStatus WriteInPlace(const std::string& path, const std::string& target, std::string_view bytes) {
    const FileRead old = ReadWholeFile(target);
    if (!old.ok) return {false, old.error};
    const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) return {false, CannotCreate(path, errno)};
    if (!Overwrite(fd, bytes)) {
        const int err = errno;
        (void)Overwrite(fd, old.bytes);
        ::close(fd);
        return {false, CannotCreate(path, err)};
    }
    if (::close(fd) != 0) return {false, CannotCreate(path, errno)};
    return {true, {}};
}

}  // namespace

std::string DescribeErrno(std::string_view what, const std::string& path, int err) {
    std::string text(what);
    text += ' ';
    text += path;
    text += ": ";
    text += std::strerror(err);
    return text;
}

std::string BackupFileName(const std::string& path) { return path + ".bak"; }

FileRead ReadWholeFile(const std::string& path) {
    FileRead result;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        result.missing = errno == ENOENT;
        result.error = DescribeErrno("Cannot read", path, errno);
        return result;
    }
    struct stat st {};
    std::size_t expected = 0;
    if (::fstat(fd, &st) == 0) {
        if (S_ISDIR(st.st_mode)) {
            ::close(fd);
            result.error = DescribeErrno("Cannot read", path, EISDIR);
            return result;
        }
        if (S_ISREG(st.st_mode) && st.st_size > 0) expected = static_cast<std::size_t>(st.st_size);
    }
    // The bytes go straight into the string; a file that grows meanwhile is
    // read to its end all the same, one that shrinks gives what it holds.
    std::size_t have = 0;
    ReserveLarge(result.bytes, expected + 1);
    result.bytes.resize(expected > 0 ? expected + 1 : std::size_t{1} << 16);
    while (true) {
        if (have == result.bytes.size()) result.bytes.resize(have * 2);
        const ssize_t n = ::read(fd, result.bytes.data() + have, result.bytes.size() - have);
        if (n < 0) {
            if (errno == EINTR) continue;
            result.error = DescribeErrno("Cannot read", path, errno);
            ::close(fd);
            result.bytes.clear();
            return result;
        }
        if (n == 0) break;
        have += static_cast<std::size_t>(n);
    }
    result.bytes.resize(have);
    ::close(fd);
    result.ok = true;
    return result;
}

FileStatus ReplaceFileBytes(const std::string& path, std::string_view bytes, bool backup,
                            std::string* backupProblem) {
    FileStatus result;
    auto fail = [&result](std::string error) {
        result.error = std::move(error);
        return result;
    };
    if (path.empty()) return fail(CannotCreate(path, ENOENT));

    // Writing through a symbolic link replaces the file it points to, not the link.
    std::string target = path;
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        char* real = ::realpath(path.c_str(), nullptr);
        if (!real) return fail(CannotCreate(path, errno));
        target = real;
        std::free(real);
    }
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (!exists && errno != ENOENT) return fail(CannotCreate(path, errno));
    if (exists && !S_ISREG(st.st_mode))
        return fail(CannotCreate(path, S_ISDIR(st.st_mode) ? EISDIR : EINVAL));
    // A read-only file stays as it is, as an open for writing would leave it;
    // the replacement by rename must not get round that. No write bit at all
    // counts as read-only for every user.
    if (exists && (st.st_mode & 0222) == 0) return fail(CannotCreate(path, EACCES));
    if (exists && ::access(target.c_str(), W_OK) != 0) return fail(CannotCreate(path, errno));

    TempFile temp;
    // A new file gets 0666 less the umask, as any created file does.
    if (!temp.Create(target, exists ? (st.st_mode & 07777) : 0666)) {
        const int err = errno;
        if (!exists || (err != EACCES && err != EPERM)) return fail(CannotCreate(path, err));
        // No backup either: it would be a new file in that folder.
        if (backup && backupProblem) *backupProblem = CannotCreate(BackupFileName(target), err);
        return WriteInPlace(path, target, bytes);
    }
    if (exists) {
        // Created files take the umask; the page's own owner and bits are
        // restored, the owner first since a change of owner clears set-id bits.
        if (::fchown(temp.Fd(), st.st_uid, st.st_gid) != 0) {
            // Only a privileged user may give a file away; the bits still hold.
        }
        if (::fchmod(temp.Fd(), st.st_mode & 07777) != 0) return fail(CannotCreate(path, errno));
    }
    if (!temp.WriteAll(bytes)) return fail(CannotCreate(path, errno));

    // As with a failed rename to the backup name, the page is written all the
    // same when no backup can be made; an older backup then stays as it was.
    std::string prepared, backupError;
    if (backup && exists && !PrepareBackup(target, st, BackupFileName(target), prepared, backupError) &&
        backupProblem)
        *backupProblem = backupError;
    if (::rename(temp.Path().c_str(), target.c_str()) != 0) {
        const int err = errno;
        if (!prepared.empty()) ::unlink(prepared.c_str());
        return fail(CannotCreate(path, err));
    }
    temp.Release();
    if (!prepared.empty() && !CommitBackup(prepared, BackupFileName(target), backupError) && backupProblem)
        *backupProblem = backupError;

    // Make the rename itself durable; a folder that cannot be synced is no error.
    const int dir = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        (void)::fsync(dir);
        ::close(dir);
    }
    result.ok = true;
    return result;
}

FileStatus CopyFileAtomically(const std::string& from, const std::string& target) {
    const FileRead source = ReadWholeFile(from);
    if (!source.ok) return {false, source.error};
    return ReplaceFileBytes(target, source.bytes, false);
}

}  // namespace veskaron
