#include "platform/file_reads.h"

#if defined(__linux__)
#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace veskaron {

#if defined(__linux__)

FileReadWatch::FileReadWatch() : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {}

FileReadWatch::~FileReadWatch() {
    if (fd_ >= 0) ::close(fd_);
}

bool FileReadWatch::Watch(const std::string& path) {
    Stop();
    if (fd_ < 0) return false;
    watch_ = ::inotify_add_watch(fd_, path.c_str(), IN_CLOSE_NOWRITE);
    return watch_ >= 0;
}

void FileReadWatch::Stop() {
    if (watch_ >= 0) ::inotify_rm_watch(fd_, watch_);
    watch_ = -1;
    TakeReads();  // nothing of the old file is news later
}

bool FileReadWatch::TakeReads() {
    if (fd_ < 0) return false;
    bool read = false;
    alignas(inotify_event) char buffer[4096];
    while (true) {
        const ssize_t n = ::read(fd_, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        for (ssize_t at = 0; at < n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            if (event->wd == watch_ && (event->mask & IN_CLOSE_NOWRITE)) read = true;
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
    return read;
}

#else

FileReadWatch::FileReadWatch() = default;
FileReadWatch::~FileReadWatch() = default;
bool FileReadWatch::Watch(const std::string&) { return false; }
void FileReadWatch::Stop() {}
bool FileReadWatch::TakeReads() { return false; }

#endif

}  // namespace veskaron
