#pragma once
// Synthetic pages for the benchmarks: heads with many META tags written the
// many ways real sites write them, bodies of mixed Russian and English text
// with markup, scripts, comments and alt texts. Deterministic for a seed.
#include <cstddef>
#include <cstdint>
#include <string>

namespace veskaron::bench {

enum class PageCharset { Windows1251, Utf8, Koi8R };

struct PageRecipe {
    std::size_t bytes = 10 * 1024;  // about this size; the page is closed after it
    PageCharset charset = PageCharset::Windows1251;
    int metaTags = 40;              // tags in the head (the catalogued ones among them)
    bool crlf = true;               // CR LF line ends, else LF only
    std::uint64_t seed = 1;
};

// The page's bytes in the recipe's charset.
std::string MakePage(const PageRecipe& recipe);

// The recipe of the n-th page of the folder of small pages: 2 to 6 KB, 20 to
// 40 META tags, mostly Windows-1251 with CR LF, some UTF-8, LF-only and KOI8-R.
PageRecipe SmallPageRecipe(std::uint64_t n);

}  // namespace veskaron::bench
