// The physical limit for one pass over a page: reads the file and scans its
// bytes with memchr for a byte that is not there. Prints the bytes and the
// scan's own throughput (the file read excluded).
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: memchr_scan FILE\n");
        return 1;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in && !in.eof()) return 1;
    double best = 1e9;
    const void* found = nullptr;
    for (int i = 0; i < 20; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        found = std::memchr(bytes.data(), '\0', bytes.size());
        asm volatile("" : : "r"(found) : "memory");
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
    std::printf("%zu bytes, memchr %.2f GB/s%s\n", bytes.size(), bytes.size() / best / 1e9, found ? " (NUL found)" : "");
    return 0;
}
