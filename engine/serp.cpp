#include "engine/serp.h"

#include "engine/head_scanner.h"

namespace veskaron {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
    return s;
}

// The value of the attribute `name` in one tag, quoted or not; false when the tag has none.
bool AttributeValue(std::string_view tag, std::string_view lowerTag, std::string_view name, std::string_view& value) {
    for (std::size_t at = lowerTag.find(name); at != std::string_view::npos; at = lowerTag.find(name, at + 1)) {
        // A whole attribute name, not the end of another ("data-href").
        if (at == 0 || !IsSpace(lowerTag[at - 1])) continue;
        std::size_t i = at + name.size();
        while (i < tag.size() && IsSpace(tag[i])) ++i;
        if (i >= tag.size() || tag[i] != '=') continue;
        ++i;
        while (i < tag.size() && IsSpace(tag[i])) ++i;
        if (i < tag.size() && (tag[i] == '"' || tag[i] == '\'')) {
            const std::size_t close = tag.find(tag[i], i + 1);
            value = tag.substr(i + 1, close == std::string_view::npos ? std::string_view::npos : close - i - 1);
        } else {
            std::size_t end = i;
            while (end < tag.size() && !IsSpace(tag[end]) && tag[end] != '>') ++end;
            value = tag.substr(i, end - i);
        }
        return true;
    }
    return false;
}

bool HasToken(std::string_view lowerList, std::string_view token) {
    std::size_t from = 0;
    while (from <= lowerList.size()) {
        std::size_t end = from;
        while (end < lowerList.size() && !IsSpace(lowerList[end])) ++end;
        if (lowerList.substr(from, end - from) == token) return true;
        from = end + 1;
    }
    return false;
}

}  // namespace

SerpSnippet MakeSnippet(std::string_view title, std::string_view description, const SerpProfile& profile) {
    return {FitText(title, profile.titleSizePx, profile.titlePx, profile.titleLines),
            FitText(description, profile.descriptionSizePx, profile.descriptionPx)};
}

std::string CanonicalHrefFromHead(std::string_view text) {
    // The head ends at </head> or, where that is missing, at <body.
    std::size_t end = FindNoCase(text, "</head");
    const std::size_t body = FindNoCase(text.substr(0, end == std::string_view::npos ? text.size() : end), "<body");
    if (body != std::string_view::npos) end = body;
    const std::string_view head = text.substr(0, end);
    for (std::size_t at = FindNoCase(head, "<link"); at != std::string_view::npos;
         at = FindNoCase(head, "<link", at + 5)) {
        const std::size_t close = head.find('>', at);
        const std::string_view tag = head.substr(at, close == std::string_view::npos ? head.npos : close - at);
        std::string lower(tag);
        for (char& c : lower)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        std::string_view rel, href;
        if (AttributeValue(tag, lower, "rel", rel) && HasToken(std::string_view(lower).substr(rel.data() - tag.data(), rel.size()), "canonical") &&
            AttributeValue(tag, lower, "href", href))
            return std::string(Trim(href));
        if (close == std::string_view::npos) break;
    }
    return {};
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
