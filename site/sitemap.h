#pragma once
// sitemap.xml for a site folder: exactly the pages a robot may index, each
// once, by its address; split into numbered files and an index past 50,000
// addresses or 50 MB. And the check of an existing sitemap against the folder.
#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace veskaron::site {

inline constexpr std::size_t kSitemapMaxUrls = 50000;
inline constexpr std::size_t kSitemapMaxBytes = 50 * 1024 * 1024;

struct SitemapUrl {
    std::string loc;      // the absolute address, percent-encoded, not yet XML-escaped
    std::string lastmod;  // W3C date-time, empty for none
};

// "2026-12-07T10:22:31Z" for a time in nanoseconds since 1970 (UTC).
std::string W3cDateTime(long long nanoseconds);
// The base address joined with an address path ("https://x.ru" + "/a/" -> "https://x.ru/a/").
std::string JoinAddress(std::string_view baseUrl, std::string_view path);
std::string XmlEscape(std::string_view text);

struct SitemapFile {
    std::string name;   // "sitemap.xml", "sitemap-1.xml", ...
    std::string bytes;  // UTF-8 XML
};
// One file when the addresses fit in one, else sitemap-1.xml ... and an index
// sitemap.xml naming them under `baseUrl`. `name` is the index's (or the
// only file's) name; the parts are numbered after its stem.
std::vector<SitemapFile> BuildSitemaps(const std::vector<SitemapUrl>& urls, std::string_view baseUrl,
                                       const std::string& name = "sitemap.xml",
                                       std::size_t maxUrls = kSitemapMaxUrls, std::size_t maxBytes = kSitemapMaxBytes);

// The addresses a sitemap (or sitemap index) lists, in order, entity
// references decoded; `index` tells which it was. A file that is not
// well-formed XML, or neither kind, gives an error naming its line.
struct SitemapRead {
    bool ok = false;
    bool index = false;
    std::vector<std::string> locs;
    std::string error;  // "line N: ..."
};
SitemapRead ReadSitemap(std::string_view xml);

// What a sitemap says against the site: addresses with no page, with a page
// that may not be indexed (and why), listed twice; indexable pages it leaves out.
struct SitemapCheck {
    std::vector<std::string> missing;
    std::vector<std::pair<std::string, std::string>> notIndexable;  // address, reason
    std::vector<std::string> duplicated;
    std::vector<std::string> leftOut;
    bool Clean() const { return missing.empty() && notIndexable.empty() && duplicated.empty() && leftOut.empty(); }
};
// `pages`: every page's address -> its reason code (empty when indexable).
SitemapCheck CheckSitemap(const std::vector<std::string>& locs, const std::map<std::string, std::string>& pages);

}  // namespace veskaron::site
