#include "site/site_root.h"

#include "engine/file_io.h"
#include "engine/serp.h"
#include "site/indexability.h"
#include "site/robots_txt.h"

namespace veskaron::site {
namespace {

std::string Below(const std::string& folder, const std::string& name) {
    return folder == "/" ? "/" + name : folder + "/" + name;
}

// "https://host/sitemap.xml" -> "https://host".
std::string SchemeAndHost(const std::string& url) {
    const std::size_t scheme = url.find("://");
    if (scheme == std::string::npos || scheme == 0) return {};
    const std::size_t path = url.find('/', scheme + 3);
    return url.substr(0, path);
}

}  // namespace

SiteRoot FindSiteRoot(const std::string& page, const std::string& known) {
    SiteRoot root;
    std::string k = known;
    while (k.size() > 1 && k.back() == '/') k.pop_back();
    if (!k.empty() && page.size() > k.size() && page.starts_with(k) && (page[k.size()] == '/' || k == "/")) {
        root.folder = k;
    } else {
        root.folder = SiteRootOf(page);
    }
    const FileRead robots = ReadWholeFile(Below(root.folder, "robots.txt"));
    if (robots.ok) {
        const RobotsTxt parsed = RobotsTxt::Parse(robots.bytes);
        for (const std::string& sitemap : parsed.Sitemaps()) {
            root.baseUrl = SchemeAndHost(sitemap);
            if (!root.baseUrl.empty()) break;
        }
    }
    return root;
}

std::string PathInSite(const std::string& page, const SiteRoot& root) {
    const std::string prefix = root.folder == "/" ? "/" : root.folder + "/";
    if (page.starts_with(prefix)) return page.substr(prefix.size());
    const std::size_t slash = page.rfind('/');
    return slash == std::string::npos ? page : page.substr(slash + 1);
}

std::string AddressInSite(const std::string& canonical, const std::string& page, const SiteRoot& root) {
    const std::string path = PathInSite(page, root);
    if (!root.baseUrl.empty()) return SerpAddress(canonical, root.baseUrl, path);
    const std::size_t slash = root.folder.rfind('/');
    const std::string name = slash == std::string::npos ? root.folder : root.folder.substr(slash + 1);
    return SerpAddress(canonical, {}, name.empty() ? path : name + "/" + path);
}

}  // namespace veskaron::site
