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
};

// Limits of a title and a description, in characters.
inline constexpr std::size_t kTitleMin = 10, kTitleMax = 60;
inline constexpr std::size_t kDescriptionMin = 50, kDescriptionMax = 160;
// A title narrower than this, in pixels of a desktop result, leaves the line mostly empty.
inline constexpr std::size_t kTitleMinPx = 200;

// Runs the per-page rules on a loaded document. `fileBytes` are the page's
// bytes as stored, which the charset check compares with the declaration.
PageAudit AuditPage(const Document& doc, std::string_view fileBytes);

// Adds title-duplicate and description-duplicate findings to every page whose
// title or description another page has too. `paths[i]` names `pages[i]`.
// Runs in time proportional to the pages, however many share one text.
void AddDuplicateFindings(std::vector<PageAudit>& pages, const std::vector<std::string>& paths);

// Characters of a UTF-8 text (code points, not bytes).
std::size_t CountCharacters(std::string_view utf8);

// The declared charset of the page's head ("windows-1251"), lower case; empty
// when none is declared.
std::string DeclaredCharset(std::string_view text);

}  // namespace veskaron::site
