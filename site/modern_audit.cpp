#include <filesystem>
#include <unordered_map>

#include "engine/encoding.h"
#include "engine/head_scanner.h"
#include "engine/modern_head.h"
#include "messages/audit_texts.h"
#include "site/audit.h"

namespace veskaron::site {
namespace {

// Browsers look for the charset in the first 1024 bytes of a page.
constexpr std::size_t kCharsetWindow = 1024;

bool IsAbsolute(std::string_view address) {
    if (address.starts_with("//")) return true;
    const std::size_t colon = address.find("://");
    if (colon == std::string_view::npos || colon == 0) return false;
    for (char c : address.substr(0, colon))
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '+' || c == '-' ||
              c == '.'))
            return false;
    return true;
}

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && IsTagSpace(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsTagSpace(s.back())) s.remove_suffix(1);
    return s;
}

// Where the first charset declaration of the head ends in the file, or npos.
std::size_t CharsetDeclarationEnd(const Document& doc) {
    const std::string_view text = doc.page.text;
    const HeadRange head = FindHead(text);
    if (!head.found) return std::string_view::npos;
    const std::string_view in = text.substr(0, head.end);
    for (std::size_t at = FindNoCase(in, "<meta", head.begin); at != std::string_view::npos;
         at = FindNoCase(in, "<meta", at + 5)) {
        const std::size_t gt = in.find('>', at);
        if (gt == std::string_view::npos) break;
        const std::string_view tag = in.substr(at, gt + 1 - at);
        if (CharsetAttributeSpan(tag).length == 0 && FindNoCase(tag, "content-type") == std::string_view::npos)
            continue;
        // The file's offset: the text lost the byte-order mark, and an LF page is held with CR LF.
        std::size_t end = gt + 1;
        if (doc.page.ends == LineEnds::Lf)
            for (std::size_t i = 0; i <= gt; ++i) end -= text[i] == '\r' ? 1 : 0;
        if (doc.encoding.bom) end += 3;
        return end;
    }
    return std::string_view::npos;
}

void Add(PageAudit& a, Level level, std::string_view code, std::string message) {
    a.findings.push_back({level, code, std::move(message)});
}

}  // namespace

void AddModernHeadFindings(PageAudit& a, const Document& doc, const ModernHead& h) {
    const TextCodec& codec = *doc.codec;
    auto count = [&h](int field) { return h.spots[static_cast<std::size_t>(field)].count; };

    if (h.titleTags > 1)
        Add(a, Level::Error, "title-multiple", "В заголовке страницы " + std::to_string(h.titleTags) + " тегов <title>");
    if (h.descriptionTags > 1)
        Add(a, Level::Error, "description-multiple",
            "Описание (description) задано " + std::to_string(h.descriptionTags) + " раза");

    const std::string canonical = std::string(Trimmed(codec.ToUtf8(h.fields[kCanonical])));
    if (count(kCanonical) == 0)
        Add(a, Level::Info, "canonical-missing", "Нет канонического адреса (link rel=\"canonical\")");
    else if (!canonical.empty() && !IsAbsolute(canonical))
        Add(a, Level::Warning, "canonical-relative", "Канонический адрес относительный: " + canonical);
    if (h.canonicalsDiffer)
        Add(a, Level::Error, "canonical-multiple", "На странице несколько канонических адресов, и они различаются");

    if (count(kViewport) == 0)
        Add(a, Level::Warning, "viewport-missing", "Нет тега viewport: страница не приспособлена для телефонов");

    std::string missing;
    bool anyOg = false;
    for (int f = kOgTitle; f <= kOgLocale; ++f) anyOg = anyOg || count(f) > 0;
    for (int f : {kOgTitle, kOgDescription, kOgImage}) {
        if (count(f) > 0) continue;
        if (!missing.empty()) missing += ", ";
        missing += ModernFieldKey(f);
    }
    if (!missing.empty()) Add(a, Level::Info, "og-missing", "Нет тегов Open Graph: " + missing);
    for (const std::string& key : h.ogByName)
        Add(a, Level::Warning, "og-name-attribute", "Тег " + key + " записан с name= вместо property=");
    if (anyOg && count(kTwitterCard) == 0)
        Add(a, Level::Info, "twitter-card-missing", "Есть теги Open Graph, но нет twitter:card");

    for (const HreflangLink& link : h.hreflang) {
        const std::string href = std::string(Trimmed(codec.ToUtf8(link.href)));
        a.hreflang.push_back(href);
        if (!IsAbsolute(href))
            Add(a, Level::Error, "hreflang-relative",
                "Адрес альтернативной версии (hreflang=\"" + codec.ToUtf8(link.lang) + "\") относительный: " + href);
    }

    for (std::size_t i = 0; i < h.jsonLd.size(); ++i)
        if (!h.jsonLd[i].valid)
            Add(a, Level::Error, "jsonld-invalid",
                "Ошибка в структурированных данных (JSON-LD, блок " + std::to_string(i + 1) + "): " +
                    JsonLdErrorText(h.jsonLd[i]));

    const std::size_t charsetEnd = CharsetDeclarationEnd(doc);
    if (charsetEnd != std::string_view::npos && charsetEnd > kCharsetWindow)
        Add(a, Level::Warning, "charset-late",
            "Кодировка объявлена на " + std::to_string(charsetEnd) + "-м байте, позже первых 1024 байт");

    if (!h.hasHtmlLang || Trimmed(h.htmlLang).empty())
        Add(a, Level::Info, "lang-missing", "Не указан язык страницы: у тега <html> нет атрибута lang");
}

namespace {

// The site path an address names ("en/index.html"), or empty when it names no page of the site.
std::string SitePath(std::string_view address, std::string_view baseUrl) {
    std::string_view rest;
    if (!baseUrl.empty() && address.starts_with(baseUrl)) {
        rest = address.substr(baseUrl.size());
    } else if (!baseUrl.empty() || !IsAbsolute(address)) {
        return {};
    } else {
        const std::size_t hostStart = address.starts_with("//") ? 2 : address.find("://") + 3;
        const std::size_t slash = address.find('/', hostStart);
        rest = slash == std::string_view::npos ? std::string_view() : address.substr(slash);
    }
    rest = rest.substr(0, rest.find_first_of("?#"));
    while (rest.starts_with("/")) rest.remove_prefix(1);
    return std::string(rest);
}

std::string PagePath(const std::string& path, const std::string& root) {
    namespace fs = std::filesystem;
    fs::path p = fs::path(path).lexically_normal();
    if (!root.empty()) {
        const fs::path rel = p.lexically_relative(fs::path(root).lexically_normal());
        if (!rel.empty() && *rel.begin() != "..") p = rel;
    }
    std::string s = p.generic_string();
    while (s.starts_with("./")) s.erase(0, 2);
    return s;
}

}  // namespace

void AddHreflangFindings(std::vector<PageAudit>& pages, const std::vector<std::string>& paths,
                         const std::string& root, const std::string& baseUrl) {
    std::string base = baseUrl;
    if (!base.empty() && base.back() != '/') base += '/';
    std::unordered_map<std::string, std::size_t> byPath;
    for (std::size_t i = 0; i < pages.size(); ++i) byPath.emplace(PagePath(paths[i], root), i);
    constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    // A folder's address names its index page.
    auto find = [&](const std::string& href) {
        const std::string path = SitePath(href, base);
        if (!IsAbsolute(href)) return kNone;
        for (const std::string& candidate :
             {path, path + (path.empty() || path.ends_with("/") ? "" : "/") + "index.html",
              path + (path.empty() || path.ends_with("/") ? "" : "/") + "index.htm"}) {
            const auto it = byPath.find(candidate);
            if (it != byPath.end()) return it->second;
        }
        return kNone;
    };
    std::vector<std::vector<std::size_t>> targets(pages.size());
    for (std::size_t i = 0; i < pages.size(); ++i)
        for (const std::string& href : pages[i].hreflang) targets[i].push_back(find(href));
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (pages[i].hreflang.empty()) continue;
        bool self = false;
        for (std::size_t t : targets[i]) self = self || t == i;
        if (!self)
            pages[i].findings.push_back(
                {Level::Warning, "hreflang-no-self", "Среди альтернативных версий (hreflang) нет самой страницы"});
        for (std::size_t k = 0; k < targets[i].size(); ++k) {
            const std::size_t b = targets[i][k];
            if (b == kNone || b == i) continue;
            bool back = false;
            for (std::size_t t : targets[b]) back = back || t == i;
            if (!back)
                pages[i].findings.push_back({Level::Warning, "hreflang-no-return",
                                             "Альтернативная версия " + pages[i].hreflang[k] + " (" + paths[b] +
                                                 ") не ссылается обратно на эту страницу"});
        }
    }
}

}  // namespace veskaron::site
