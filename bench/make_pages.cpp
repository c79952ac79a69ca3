// Writes the benchmark pages into a folder:
//   page-10k.htm, page-1m.htm, page-20m.htm        Windows-1251, CR LF
//   page-10k-utf8.htm, ... page-20m-utf8.htm       the same text in UTF-8
//   small/000000.htm ...                           the folder of small pages
// Usage: make_pages DIR [SMALL_PAGES]   (100000 small pages by default)
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "bench/page_maker.h"

namespace {

bool Put(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    using namespace veskaron::bench;
    if (argc < 2) {
        std::cerr << "usage: make_pages DIR [SMALL_PAGES]\n";
        return 1;
    }
    const std::filesystem::path dir = argv[1];
    const long small = argc > 2 ? std::strtol(argv[2], nullptr, 10) : 100000;
    std::filesystem::create_directories(dir / "small");
    struct Big { const char* name; std::size_t bytes; int metas; };
    for (const Big& b : {Big{"10k", 10 * 1024, 30}, Big{"1m", 1 << 20, 120}, Big{"20m", 20 << 20, 200}}) {
        for (PageCharset cs : {PageCharset::Windows1251, PageCharset::Utf8}) {
            PageRecipe recipe;
            recipe.bytes = b.bytes;
            recipe.metaTags = b.metas;
            recipe.charset = cs;
            recipe.seed = b.bytes;  // the same text in both charsets
            const std::string name = std::string("page-") + b.name + (cs == PageCharset::Utf8 ? "-utf8" : "") + ".htm";
            if (!Put(dir / name, MakePage(recipe))) {
                std::cerr << "cannot write " << (dir / name) << "\n";
                return 1;
            }
        }
    }
    for (long n = 0; n < small; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "%06ld.htm", n);
        if (!Put(dir / "small" / name, MakePage(SmallPageRecipe(static_cast<std::uint64_t>(n))))) {
            std::cerr << "cannot write " << (dir / "small" / name) << "\n";
            return 1;
        }
    }
    return 0;
}
