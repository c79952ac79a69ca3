#pragma once
// Telling when another program has read a file: opened it without writing and
// closed it again. The preview page beside a page goes once the browser has
// read it.
#include <string>

namespace veskaron {

class FileReadWatch {
public:
    FileReadWatch();
    ~FileReadWatch();
    FileReadWatch(const FileReadWatch&) = delete;
    FileReadWatch& operator=(const FileReadWatch&) = delete;

    // What a caller waits on for readability; -1 where the system cannot tell.
    int Descriptor() const { return fd_; }
    // Watches `path` (the file as it is now) instead of any earlier one.
    bool Watch(const std::string& path);
    void Stop();
    // Takes what happened since; true when the watched file was read and closed.
    bool TakeReads();

private:
    int fd_ = -1;
    int watch_ = -1;
};

}  // namespace veskaron
