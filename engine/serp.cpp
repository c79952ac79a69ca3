#include "engine/serp.h"

namespace veskaron {

SerpSnippet MakeSnippet(std::string_view title, std::string_view description, const SerpProfile& profile) {
    return {FitText(title, profile.titleSizePx, profile.titlePx, profile.titleLines),
            FitText(description, profile.descriptionSizePx, profile.descriptionPx)};
}

std::string SerpAddress(std::string_view canonical, std::string_view baseUrl, std::string_view sitePath) {
    std::string_view path = sitePath;
    while (path.starts_with("./")) path.remove_prefix(2);
    while (!baseUrl.empty() && baseUrl.back() == '/') baseUrl.remove_suffix(1);
    if (!canonical.empty()) {
        if (baseUrl.empty() || canonical.find("://") != std::string_view::npos || canonical.starts_with("//"))
            return std::string(canonical);
        if (canonical.front() == '/') {
            // From the site's root: the base's scheme and host.
            const std::size_t scheme = baseUrl.find("://");
            const std::size_t host = baseUrl.find('/', scheme == std::string_view::npos ? 0 : scheme + 3);
            return std::string(baseUrl.substr(0, host)) + std::string(canonical);
        }
        // From the page's folder.
        const std::size_t slash = path.rfind('/');
        return std::string(baseUrl) + "/" +
               std::string(slash == std::string_view::npos ? std::string_view() : path.substr(0, slash + 1)) +
               std::string(canonical);
    }
    if (baseUrl.empty()) return std::string(sitePath);
    while (path.starts_with("/")) path.remove_prefix(1);
    return std::string(baseUrl) + "/" + std::string(path);
}

}  // namespace veskaron
