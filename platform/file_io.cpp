#include "platform/file_io.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace veskaron {
namespace {

namespace fs = std::filesystem;

std::string FolderOf(const std::string& path) {
    fs::path parent = fs::path(path).parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

// Opens a new temporary file beside path; -1 with errno on failure.
int OpenTemporary(const std::string& path, std::string& tempPath, mode_t mode) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = path + ".tmp-" + std::to_string(::getpid()) + "-" +
                   std::to_string(counter.fetch_add(1));
        int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

void SyncFolder(const std::string& folder) {
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Writes through a temporary file; fill writes the contents to the open fd.
template <typename Fill>
FileStatus ReplaceFile(const std::string& path, Fill fill) {
    mode_t mode = 0666;  // narrowed by the umask for a new file
    struct stat st {};
    const bool existed = ::stat(path.c_str(), &st) == 0;
    if (existed) mode = st.st_mode & 07777;
    std::string temp;
    int fd = OpenTemporary(path, temp, mode);
    if (fd < 0) return {false, DescribeErrno("cannot create a temporary file for", path, errno)};
    int err = 0;
    if (existed && ::fchmod(fd, mode) != 0) {
        // Best effort: a mode that cannot be copied does not stop the write.
    }
    if (!fill(fd, err) || ::fsync(fd) != 0) {
        if (err == 0) err = errno;
        ::close(fd);
        ::unlink(temp.c_str());
        return {false, DescribeErrno("cannot write", path, err)};
    }
    if (::close(fd) != 0) {
        err = errno;
        ::unlink(temp.c_str());
        return {false, DescribeErrno("cannot write", path, err)};
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        err = errno;
        ::unlink(temp.c_str());
        return {false, DescribeErrno("cannot replace", path, err)};
    }
    SyncFolder(FolderOf(path));
    return {};
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

FileRead ReadWholeFile(const std::string& path) {
    FileRead result;
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        result.missing = errno == ENOENT;
        result.error = DescribeErrno("cannot open", path, errno);
        return result;
    }
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        result.error = DescribeErrno("cannot read", path, EISDIR);
        return result;
    }
    char buffer[1 << 16];
    while (true) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            result.error = DescribeErrno("cannot read", path, errno);
            ::close(fd);
            result.bytes.clear();
            return result;
        }
        if (n == 0) break;
        result.bytes.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    result.ok = true;
    return result;
}

FileStatus WriteFileAtomically(const std::string& path, std::string_view bytes) {
    return ReplaceFile(path, [bytes](int fd, int& err) {
        if (WriteAll(fd, bytes)) return true;
        err = errno;
        return false;
    });
}

FileStatus CopyFileAtomically(const std::string& from, const std::string& target) {
    int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return {false, DescribeErrno("cannot open", from, errno)};
    FileStatus status = ReplaceFile(target, [in](int fd, int& err) {
        char buffer[1 << 16];
        while (true) {
            ssize_t n = ::read(in, buffer, sizeof buffer);
            if (n < 0) {
                if (errno == EINTR) continue;
                err = errno;
                return false;
            }
            if (n == 0) return true;
            if (!WriteAll(fd, std::string_view(buffer, static_cast<std::size_t>(n)))) {
                err = errno;
                return false;
            }
        }
    });
    ::close(in);
    return status;
}

}  // namespace veskaron
