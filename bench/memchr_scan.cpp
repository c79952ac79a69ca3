// The physical limit for one pass over a page: reads the file and scans its
// bytes once with memchr for a byte that is not there. With --repeat it scans
// them 20 times and prints the best scan's throughput (the file read excluded).
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
    const bool repeat = argc > 2 && std::string(argv[1]) == "--repeat";
    if (repeat) ++argv, --argc;
    if (argc < 2) {
        std::fprintf(stderr, "usage: memchr_scan [--repeat] FILE\n");
        return 1;
    }
    // Read as the program reads a page: one buffer of the file's size.
    const int fd = ::open(argv[1], O_RDONLY);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0) return 1;
    std::string bytes(static_cast<std::size_t>(st.st_size), '\0');
    for (std::size_t have = 0; have < bytes.size();) {
        const ssize_t n = ::read(fd, bytes.data() + have, bytes.size() - have);
        if (n <= 0) return 1;
        have += static_cast<std::size_t>(n);
    }
    ::close(fd);
    double best = 1e9;
    const void* found = nullptr;
    for (int i = 0; i < (repeat ? 20 : 1); ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        found = std::memchr(bytes.data(), '\0', bytes.size());
        asm volatile("" : : "r"(found) : "memory");
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
    std::printf("%zu bytes, memchr %.2f GB/s%s\n", bytes.size(), bytes.size() / best / 1e9, found ? " (NUL found)" : "");
    return 0;
}
