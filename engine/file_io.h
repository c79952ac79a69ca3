#pragma once
// Whole-file reads and safe replacement of a file's bytes. A replacement never
// leaves the file missing or half written: the bytes go to a temporary file in
// the same folder, are flushed, and replace the file by rename.
#include <string>
#include <string_view>

namespace veskaron {

struct FileStatus {
    bool ok = false;
    std::string error;  // names the file and the system's reason
};

struct FileRead {
    bool ok = false;
    bool missing = false;  // no such file (ok is false)
    std::string bytes;
    std::string error;
};

FileRead ReadWholeFile(const std::string& path);

// "index.html" -> "index.html.bak".
std::string BackupFileName(const std::string& path);

// Replaces the file's bytes. With `backup`, the old file is first kept under
// BackupFileName (replacing an older backup) without the file ever going
// missing; a backup that cannot be made does not stop the write
// (`backupProblem`, when given, says why). The owner and permission bits of an existing file are kept; a
// symbolic link is written through to its target. On failure the file and an
// older backup are as they were and no temporary file is left.
FileStatus ReplaceFileBytes(const std::string& path, std::string_view bytes, bool backup = false,
                            std::string* backupProblem = nullptr);

inline FileStatus WriteFileAtomically(const std::string& path, std::string_view bytes) {
    return ReplaceFileBytes(path, bytes, false);
}

// Copies a file to target through a temporary file and a rename.
FileStatus CopyFileAtomically(const std::string& from, const std::string& target);

// "<what> <path>: <reason>" with the system's text for errno.
std::string DescribeErrno(std::string_view what, const std::string& path, int err);

}  // namespace veskaron
