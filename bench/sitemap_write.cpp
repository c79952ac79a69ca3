// The sitemap writer alone, as a process: "loc<TAB>lastmod" lines on stdin,
// the sitemap files written into FOLDER. bench/peers.sh runs it beside the
// npm sitemap package on the same address list.
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "site/sitemap.h"

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::cerr << "usage: sitemap_write BASE-URL FOLDER <list\n";
        return 2;
    }
    std::vector<veskaron::site::SitemapUrl> urls;
    std::string line;
    while (std::getline(std::cin, line)) {
        const std::size_t tab = line.find('\t');
        urls.push_back({line.substr(0, tab), tab == std::string::npos ? std::string() : line.substr(tab + 1)});
    }
    for (const auto& file : veskaron::site::BuildSitemaps(urls, argv[1])) {
        std::ofstream out(std::string(argv[2]) + "/" + file.name, std::ios::binary);
        out.write(file.bytes.data(), static_cast<std::streamsize>(file.bytes.size()));
        if (!out) {
            std::cerr << "sitemap_write: " << argv[2] << "/" << file.name << ": not written\n";
            return 1;
        }
    }
    return 0;
}
