#include "engine/save.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

#include "engine/koi8.h"

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

// Keeps the current page under the backup name, replacing an older backup,
// without the page ever going missing: a hard link where the file system
// allows one, a copy otherwise.
bool MakeBackup(const std::string& page, const struct stat& pageStat, const std::string& backup,
                std::string& error) {
    std::string linked;
    for (int attempt = 0; attempt < 100 && linked.empty(); ++attempt) {
        std::string name = TempNameBeside(backup);
        if (::link(page.c_str(), name.c_str()) == 0) linked = std::move(name);
        else if (errno != EEXIST) break;
    }
    if (linked.empty()) {
        const PageFileRead old = ReadPageFile(page);
        if (!old.ok) {
            error = old.error;
            return false;
        }
        TempFile copy;
        if (!copy.Create(backup, pageStat.st_mode & 07777) || !copy.WriteAll(old.bytes) ||
            ::rename(copy.Path().c_str(), backup.c_str()) != 0) {
            error = CannotCreate(backup, errno);
            return false;
        }
        copy.Release();
        return true;
    }
    if (::rename(linked.c_str(), backup.c_str()) != 0) {
        error = CannotCreate(backup, errno);
        ::unlink(linked.c_str());
        return false;
    }
    // Renaming onto another link of the same file leaves the new link behind.
    struct stat st {};
    if (::lstat(linked.c_str(), &st) == 0) ::unlink(linked.c_str());
    return true;
}

}  // namespace

std::string BackupFileName(const std::string& pagePath) { return pagePath + ".bak"; }

std::string PreviewFileName(const std::string& pagePath) {
    const std::size_t slash = pagePath.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = pagePath.rfind('.');
    const std::string ext =
        dot != std::string::npos && dot >= nameStart ? pagePath.substr(dot) : std::string();
    return pagePath.substr(0, nameStart) + "metatmp" + ext;
}

std::string PageBytesForSave(std::string_view text, int charsetIndex, LineEnds ends) {
    if (const ByteTable* table = Koi8SaveTable(charsetIndex))
        return ToFileBytes(TranslateChars(text, *table), ends);
    return ToFileBytes(text, ends);
}

FileWriteResult ReplaceFileBytes(const std::string& path, std::string_view bytes, bool backup) {
    FileWriteResult result;
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

    TempFile temp;
    // A new file gets 0666 less the umask, as any created file does.
    if (!temp.Create(target, exists ? (st.st_mode & 07777) : 0666))
        return fail(CannotCreate(path, errno));
    if (exists) {
        // Created files take the umask; the page's own owner and bits are
        // restored, the owner first since a change of owner clears set-id bits.
        if (::fchown(temp.Fd(), st.st_uid, st.st_gid) != 0) {
            // Only a privileged user may give a file away; the bits still hold.
        }
        if (::fchmod(temp.Fd(), st.st_mode & 07777) != 0) return fail(CannotCreate(path, errno));
    }
    if (!temp.WriteAll(bytes)) return fail(CannotCreate(path, errno));

    if (backup && exists) {
        std::string error;
        if (!MakeBackup(target, st, BackupFileName(target), error)) return fail(std::move(error));
    }
    if (::rename(temp.Path().c_str(), target.c_str()) != 0) return fail(CannotCreate(path, errno));
    temp.Release();

    // Make the rename itself durable; a folder that cannot be synced is no error.
    const int dir = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        (void)::fsync(dir);
        ::close(dir);
    }
    result.ok = true;
    return result;
}

SaveBytes BytesForSave(const Document& doc, const SaveOptions& options) {
    SaveBytes out;
    if (options.asEdited) {
        out.bytes = PageBytesForSave(doc.page.text, doc.fields.Charset, doc.page.ends);
        return out;
    }
    std::string text = doc.page.text;
    const WriteResult w = WriteMetaBlock(text, doc.fields, options.writer);
    out.refusal = w.message;
    out.bytes = PageBytesForSave(text, doc.fields.Charset, doc.page.ends);
    return out;
}

SaveResult SaveDocument(Document& doc, const SaveOptions& options) {
    SaveResult result;
    bool fieldsWritten = options.asEdited;
    if (!options.asEdited) {
        const WriteResult w = WriteMetaBlock(doc.page.text, doc.fields, options.writer);
        fieldsWritten = w.Done();
        result.refusal = w.message;
    }
    const FileWriteResult file = ReplaceFileBytes(
        doc.path, PageBytesForSave(doc.page.text, doc.fields.Charset, doc.page.ends),
        options.backup);
    result.written = file.ok;
    result.error = file.error;
    result.saved = file.ok && fieldsWritten;
    if (result.saved) {
        doc.Remember();
    } else {
        // The file does not hold what the window shows: keep the document
        // modified so that the values are not dropped without a question.
        doc.modified = true;
    }
    return result;
}

PreviewResult WritePreview(const Document& doc, const MetaWriteOptions& writer,
                           const FileOpener& open) {
    PreviewResult result;
    if (doc.path.empty()) {
        result.error = "Cannot create file " + PreviewFileName(doc.path) + ": no page is loaded";
        return result;
    }
    std::string text = doc.page.text;
    result.refusal = WriteMetaBlock(text, doc.fields, writer).message;
    result.path = PreviewFileName(doc.path);
    const FileWriteResult file = ReplaceFileBytes(
        result.path, PageBytesForSave(text, doc.fields.Charset, doc.page.ends), false);
    result.written = file.ok;
    result.error = file.error;
    if (file.ok && open) open(result.path);
    return result;
}

}  // namespace veskaron
