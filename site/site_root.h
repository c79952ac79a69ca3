#pragma once
// Where a page's site begins on disk and at what address it is served, for
// showing a page's address as a search result would without a canonical
// address: the address of the site, else the page's path from the site's folder.
#include <string>

namespace veskaron::site {

struct SiteRoot {
    std::string folder;   // without a trailing '/'
    std::string baseUrl;  // "https://host", empty when unknown
};

// `known`, when it is a folder holding the page (the site window's), else
// SiteRootOf (the nearest folder from the page's own upwards that holds a
// robots.txt, else the page's own folder). The address is the scheme and host of the robots.txt's
// first Sitemap line.
SiteRoot FindSiteRoot(const std::string& page, const std::string& known);

// The page's path below the root ("news/a.html").
std::string PathInSite(const std::string& page, const SiteRoot& root);

// The address line without a canonical address as `serp --base-url` shows it,
// or, without an address, the root folder's name joined with the path
// ("site/news/a.html"), as `serp -r site` shows it.
std::string AddressInSite(const std::string& canonical, const std::string& page, const SiteRoot& root);

}  // namespace veskaron::site
