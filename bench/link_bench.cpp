// The links of a large site folder: `links -r` (read, resolve, print every
// link) and the link findings of every page, timed, with the peak memory.
// VESKARON_BENCH_LINK_SITE names a folder made before (by this program with
// VESKARON_BENCH_KEEP=1); otherwise VESKARON_BENCH_PAGES pages (100000) of
// 60 links each are made in a temporary folder first.
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "cli/commands.h"
#include "indexing/link_graph.h"

namespace fs = std::filesystem;

namespace {

constexpr int kLinks = 60;

double Since(std::chrono::steady_clock::time_point& t) {
    const auto now = std::chrono::steady_clock::now();
    const double s = std::chrono::duration<double>(now - t).count();
    t = now;
    return s;
}

// Processor time of the whole process (every thread), user and system.
double CpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

long PeakMb() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss / 1024;
}

std::string Name(long n) {
    char name[32];
    std::snprintf(name, sizeof name, "d%03ld/p%06ld.html", n % 1000, n);
    return name;
}

// A page of a site as sites are: a menu, text with links to pages near and
// far, a few fragments, images, scripts, other hosts, and a stale link or two.
std::string LinkPage(long n, long count) {
    std::string p = "<!DOCTYPE html>\n<html lang=\"ru\"><head><meta charset=\"utf-8\">\n<title>Страница " +
                    std::to_string(n) + "</title>\n<link rel=\"stylesheet\" href=\"/css/site.css\">\n"
                    "<link rel=\"canonical\" href=\"https://example.com/" + Name(n) + "\">\n"
                    "<script src=\"/js/site.js\"></script>\n</head>\n<body>\n<nav id=\"menu\">";
    std::uint64_t x = static_cast<std::uint64_t>(n) * 0x9E3779B97F4A7C15ull + 1;
    auto next = [&x] {
        x ^= x << 13;
        x ^= x >> 7;
        x ^= x << 17;
        return x;
    };
    for (int i = 0; i < kLinks - 10; ++i) {
        const long to = i < 5 ? i : static_cast<long>(next() % static_cast<std::uint64_t>(count));
        const std::string target = to % 1000 == n % 1000 ? Name(to).substr(5) : "../" + Name(to);
        if (i % 10 == 0) p += "\n<p id=\"s" + std::to_string(i) + "\">Раздел о товарах и услугах, текст абзаца. ";
        p += "<a href=\"" + target + (i % 7 == 3 ? "#s10" : "") + "\">ссылка " + std::to_string(i) + "</a> ";
    }
    p += "</nav>\n<!-- <a href=\"old.html\">старое</a> -->\n";
    for (int i = 0; i < 5; ++i) p += "<img src=\"/img/i" + std::to_string(i) + ".png\" alt=\"фото\" width=\"2\" height=\"2\">\n";
    p += "<a href=\"https://other.org/" + std::to_string(n) + "\">x</a> <a href=\"mailto:info@example.com\">почта</a>\n";
    p += "<a href=\"" + std::string(n % 50 == 0 ? "gone.html" : "../d000/p000000.html") + "\">?</a>\n</body></html>\n";
    return p;
}

void MakeSite(const fs::path& root, long count) {
    for (int d = 0; d < 1000; ++d) {
        char dir[16];
        std::snprintf(dir, sizeof dir, "d%03d", d);
        fs::create_directories(root / dir);
    }
    fs::create_directories(root / "img");
    fs::create_directories(root / "css");
    fs::create_directories(root / "js");
    const std::string png = std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\0\x02\0\0\0\x02", 24) + std::string(13, '\0');
    for (int i = 0; i < 5; ++i) std::ofstream(root / ("img/i" + std::to_string(i) + ".png"), std::ios::binary) << png;
    std::ofstream(root / "css/site.css") << "body{}";
    std::ofstream(root / "js/site.js") << ";";
    std::ofstream(root / "index.html") << LinkPage(0, count);
    for (long n = 0; n < count; ++n) std::ofstream(root / Name(n), std::ios::binary) << LinkPage(n, count);
}

}  // namespace

int main() {
    const char* given = std::getenv("VESKARON_BENCH_LINK_SITE");
    const long count = std::getenv("VESKARON_BENCH_PAGES") ? std::atol(std::getenv("VESKARON_BENCH_PAGES")) : 100000;
    fs::path root = given ? fs::path(given) : fs::temp_directory_path() / ("veskaron_link_bench_" + std::to_string(::getpid()));
    auto t = std::chrono::steady_clock::now();
    if (!given) {
        MakeSite(root, count);
        std::printf("made %ld pages of %d links in %.1f s\n", count, kLinks, Since(t));
    }
    fs::create_directories(fs::temp_directory_path() / "veskaron_link_bench_config");
    ::setenv("VESKARON_CONFIG_DIR", (fs::temp_directory_path() / "veskaron_link_bench_config").c_str(), 1);

    // The command as a user runs it, its records thrown away.
    {
        std::ofstream null("/dev/null");
        std::ostringstream err;
        const std::string r = root.string();
        const char* argv[] = {"veskaron-meta", "links", "-r", r.c_str(), "--base-url", "https://example.com"};
        Since(t);
        const double cpu = CpuSeconds();
        const int status = veskaron::cli::Main(6, argv, {null, err, false});
        std::printf("links -r: %.2f s (processor %.2f s), exit %d, %s", Since(t), CpuSeconds() - cpu, status,
                    err.str().c_str());
    }
    std::printf("peak memory after links: %ld MB\n", PeakMb());

    // The graph and every page's findings, as audit adds them.
    {
        std::vector<std::string> files{(root / "index.html").string()};
        for (long n = 0; n < count; ++n) files.push_back((root / Name(n)).string());
        Since(t);
        const double cpu = CpuSeconds();
        const veskaron::indexing::LinkGraph g = veskaron::indexing::BuildLinkGraph(
            files, {root.string(), "https://example.com", "", veskaron::indexing::kDefaultDepthLimit, veskaron::Robot::Google});
        const double build = Since(t), buildCpu = CpuSeconds() - cpu;
        std::size_t findings = 0, links = 0;
        for (std::uint32_t i = 0; i < g.pages.size(); ++i) {
            findings += g.Findings(i).size();
            links += g.pages[i].links.size();
        }
        std::printf("graph of %zu links: %.2f s (processor %.2f s), findings (%zu): %.2f s\n", links, build, buildCpu,
                    findings, Since(t));
    }
    std::printf("peak memory: %ld MB\n", PeakMb());
    if (!given && !std::getenv("VESKARON_BENCH_KEEP")) fs::remove_all(root);
    return 0;
}
