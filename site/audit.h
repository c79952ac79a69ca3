#pragma once
// The audit of a site's pages: per-page rules on the title, the description,
// the charset and the robots and redirect tags, and the titles and
// descriptions that several pages share.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engine/loader.h"

namespace veskaron::site {

enum class Level { Error, Warning, Info };
std::string_view LevelName(Level level);  // "error", "warning", "info"

struct Finding {
    Level level;
    std::string_view code;  // "title-missing", ...
    std::string message;    // Russian, UTF-8
};

// What the audit keeps of one page: its findings, and the title and
// description (UTF-8, trimmed) for the comparison between pages.
struct PageAudit {
    std::vector<Finding> findings;
    std::string title;
    std::string description;
    // The hreflang addresses of the page (UTF-8), for the checks between pages.
    std::vector<std::string> hreflang;
};

// Limits of a title and a description, in characters.
inline constexpr std::size_t kTitleMin = 10, kTitleMax = 60;
inline constexpr std::size_t kDescriptionMin = 50, kDescriptionMax = 160;
// A title narrower than this, in pixels of a desktop result, leaves the line mostly empty.
inline constexpr std::size_t kTitleMinPx = 200;

// Runs the per-page rules on a loaded document. `fileBytes` are the page's
// bytes as stored, which the charset check compares with the declaration.
PageAudit AuditPage(const Document& doc, std::string_view fileBytes);
// The same with the head tags beside the catalogue as the load read them.
PageAudit AuditPage(const Document& doc, std::string_view fileBytes, const ModernHead& head);

// Adds title-duplicate and description-duplicate findings to every page whose
// title or description another page has too. `paths[i]` names `pages[i]`.
// Runs in time proportional to the pages, however many share one text.
void AddDuplicateFindings(std::vector<PageAudit>& pages, const std::vector<std::string>& paths);

// The rules on the head tags beside the catalogue (canonical, viewport, Open
// Graph, Twitter, hreflang, JSON-LD, html lang, repeated titles and
// descriptions, a late charset); AuditPage runs them. Fills `a.hreflang`.
void AddModernHeadFindings(PageAudit& a, const Document& doc, const ModernHead& head);

// Adds hreflang-no-self and hreflang-no-return findings. A page's address is
// its path relative to `root` (a folder; empty: as given) after `baseUrl`; an
// absolute hreflang address under `baseUrl` (or, without one, any absolute
// address by its path) names the page at that path.
void AddHreflangFindings(std::vector<PageAudit>& pages, const std::vector<std::string>& paths,
                         const std::string& root, const std::string& baseUrl);

// Characters of a UTF-8 text (code points, not bytes).
std::size_t CountCharacters(std::string_view utf8);

// The declared charset of the page's head ("windows-1251"), lower case; empty
// when none is declared.
std::string DeclaredCharset(std::string_view text);

}  // namespace veskaron::site
