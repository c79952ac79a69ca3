#pragma once
// How a page shows in search results: the title and description cut to the
// widths of a desktop or a mobile result, and the address line.
#include <cstddef>
#include <string>
#include <string_view>

#include "engine/text_width.h"

namespace veskaron {

struct SerpProfile {
    unsigned titleSizePx;
    std::size_t titlePx;  // width of a title line
    int titleLines;
    unsigned descriptionSizePx;
    std::size_t descriptionPx;
};
inline constexpr SerpProfile kDesktopSerp{20, 600, 1, 14, 920};
inline constexpr SerpProfile kMobileSerp{16, 400, 2, 14, 680};

struct SerpSnippet {
    FittedText title;
    FittedText description;
};
// Title and description in UTF-8.
SerpSnippet MakeSnippet(std::string_view title, std::string_view description, const SerpProfile& profile);

// The address line: the canonical address (resolved against `baseUrl` when it
// is relative), else `baseUrl` joined with the page's path within the site,
// else that path.
std::string SerpAddress(std::string_view canonical, std::string_view baseUrl, std::string_view sitePath);

}  // namespace veskaron
