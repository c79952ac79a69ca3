#pragma once
// How the pages of a site folder hang together: every page's links resolved
// to the files of the folder ("dir/" is served by dir/index.html, an absolute
// address on the site's own host is a path of the folder), and what a crawler
// would report of them: broken links, missing anchors, orphan pages, refresh
// chains and loops, canonical and hreflang addresses with no page, links to
// pages that ask not to be indexed, deep pages, images without alt or with a
// size other than their file's. Other hosts are listed, never fetched.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/link_scanner.h"
#include "engine/robots_directives.h"
#include "site/audit.h"

namespace veskaron::indexing {

inline constexpr std::uint32_t kNoPage = UINT32_MAX;
inline constexpr int kDefaultDepthLimit = 4;

struct LinkSiteOptions {
    std::string root;     // the site's folder
    std::string baseUrl;  // "https://example.com": its own absolute addresses are internal
    std::string home;     // the start page's file; empty: the root's index.html
    int depthLimit = kDefaultDepthLimit;
    Robot robot = Robot::Google;
};

enum class LinkStatus : std::uint8_t { Ok, Broken, AnchorMissing, Noindex, External, Other };
// "ok", "broken", "anchor-missing", "noindex", "external", "other"
std::string_view LinkStatusName(LinkStatus status);

enum class LinkRole : std::uint8_t { Plain, Canonical, Hreflang };

struct PageLink {
    std::uint32_t line = 0;
    std::uint32_t at = 0, size = 0;   // the target in the page's `strings`: path or address
    std::uint32_t fragmentSize = 0;   // the fragment after it, without '#'
    std::uint32_t target = kNoPage;   // the page it leads to
    LinkSource source = LinkSource::A;
    LinkRole role = LinkRole::Plain;
    LinkAddress::Kind kind = LinkAddress::Kind::Empty;
    LinkStatus status = LinkStatus::Ok;
    bool hasFragment = false;
    bool isFile = false;               // leads to an existing file (a page or not)
};

struct PageImage {
    std::uint32_t line = 0;
    std::uint32_t link = UINT32_MAX;  // its src among the page's links
    bool hasAlt = false;
    int width = -1, height = -1;      // the attributes, when whole numbers
    int fileWidth = -1, fileHeight = -1;
};

struct LinkPage {
    std::string file;   // as given
    std::string path;   // the address path on the site: "/dir/a.html"
    bool read = false;
    std::string error;  // why the file could not be read
    bool noindex = false;
    std::string strings;  // the links' targets, one after the other
    std::vector<PageLink> links;
    std::vector<std::string> anchors;  // ids and names, sorted, each once
    std::vector<PageImage> images;
    std::uint32_t refresh = UINT32_MAX;  // the refresh link among `links`

    std::string_view Target(const PageLink& l) const { return std::string_view(strings).substr(l.at, l.size); }
    std::string_view Fragment(const PageLink& l) const {
        return std::string_view(strings).substr(l.at + l.size, l.fragmentSize);
    }
    // The target as the link lists print it: "/a.html#s", "https://x.org/".
    std::string Shown(const PageLink& l) const;
};

// Reads one page and resolves its links against its own address; nothing
// between pages yet. Touches nothing shared.
LinkPage ReadLinkPage(const std::string& file, const std::string& root, const std::string& baseUrl, Robot robot);

struct LinkGraph {
    std::vector<LinkPage> pages;
    std::uint32_t home = kNoPage;
    std::vector<std::uint32_t> inbound;  // per page: links from other pages
    std::vector<std::uint32_t> depth;    // clicks from the start page; kNoPage when out of reach
    int depthLimit = kDefaultDepthLimit;

    // The page at an address path, or kNoPage.
    std::uint32_t PageAt(std::string_view path) const;
    // The pages (each once, in order) with a link to `page`.
    std::vector<std::uint32_t> LinkingTo(std::uint32_t page) const;
    // The findings on `page` between pages and of its links and images.
    std::vector<site::Finding> Findings(std::uint32_t page) const;

    struct Index;
    std::shared_ptr<const Index> index;
};

// Reads every page (with `threads` at once; 0: as many as the machine has)
// and links them.
LinkGraph BuildLinkGraph(const std::vector<std::string>& files, const LinkSiteOptions& options, unsigned threads = 0);

// The address path of a file under the root: "dir/a.html" -> "/dir/a.html".
std::string AddressPath(const std::string& root, const std::string& file);

}  // namespace veskaron::indexing
