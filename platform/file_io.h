#pragma once
// Whole-file reads and writes. A write never leaves a half-written file: the
// bytes go to a temporary file in the same folder, are flushed, and replace
// the target by rename.
#include <string>
#include <string_view>

namespace veskaron {

struct FileStatus {
    bool ok = true;
    std::string error;  // names the file and the system's reason
};

struct FileRead {
    bool ok = false;
    bool missing = false;  // no such file (ok is false)
    std::string bytes;
    std::string error;
};

FileRead ReadWholeFile(const std::string& path);

// Keeps the permissions of an existing target. The folder must exist.
FileStatus WriteFileAtomically(const std::string& path, std::string_view bytes);

// Copies a file to target through a temporary file and a rename.
FileStatus CopyFileAtomically(const std::string& from, const std::string& target);

// "<what> <path>: <reason>" with the system's text for errno.
std::string DescribeErrno(std::string_view what, const std::string& path, int err);

}  // namespace veskaron
