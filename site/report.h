#pragma once
// The site at a glance: the counts behind the overview charts, and the report
// handed to someone who will not run the program: one HTML file, readable
// without scripts or network, that prints on A4.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "site/audit.h"

namespace veskaron::site {

// Widths of texts in a search result, counted in bins of `binPx`; the last
// bin also holds every wider text.
struct WidthHistogram {
    std::size_t binPx = 0;
    std::size_t limitPx = 0;  // where the result cuts the text
    std::vector<std::size_t> bins;
    void Add(std::size_t px) { ++bins[std::min(px / binPx, bins.size() - 1)]; }
};
WidthHistogram TitleWidths();        // 40 px bins up to 800, limit of a desktop title
WidthHistogram DescriptionWidths();  // 80 px bins up to 1600, limit of a desktop description

struct CodeCount {
    std::string_view code;  // the audit's code: a view of a literal
    Level level = Level::Info;  // the worst of its findings
    std::size_t pages = 0, findings = 0;
};

struct SiteCounts {
    std::size_t pages = 0;  // pages read
    std::size_t unreadable = 0;
    std::size_t pagesWithFindings = 0;
    std::array<std::size_t, 3> levels{};  // findings per Level
    // Errors first, then warnings, then the rest; within a level by pages, most first.
    std::vector<CodeCount> codes;
    WidthHistogram titles = TitleWidths(), descriptions = DescriptionWidths();
    std::size_t indexable = 0;
    std::vector<std::pair<std::string, std::size_t>> closed;  // reason code -> pages, by code
};

// What is counted of one entry of the report.
struct PageFacts {
    enum class Kind { Page, Unread, File };  // File: beside the pages (robots.txt), its findings only
    Kind kind = Kind::Page;
    std::size_t titlePx = 0, descriptionPx = 0;
    bool indexable = true;
    std::string_view reason;  // IndexReasonCode when not indexable
};
// The reason's code as a view of the literal IndexReasonCode gives, which
// outlives the row it came from; "other" for a code it does not give.
std::string_view KnownReason(std::string_view reason);

// Counts page by page, without copying the pages.
class SiteCounter {
public:
    void Add(const PageFacts& facts, std::initializer_list<const std::vector<Finding>*> findings);
    SiteCounts Take();

private:
    SiteCounts counts_;
    std::unordered_map<std::string_view, std::size_t> codeAt_;
    std::unordered_map<std::string_view, std::size_t> closed_;
    std::vector<std::size_t> seen_;  // per code: the last entry counted in its pages
    std::size_t entry_ = 0;
};

struct ReportPage {
    std::string path;  // as shown: relative to the folder
    PageFacts facts;
    std::vector<Finding> findings;
};

SiteCounts CountPages(const std::vector<ReportPage>& pages);

struct ReportHead {
    std::string folder;
    std::string date;  // as shown
};
// "2024-06-05 14:30", local time.
std::string ReportDateNow();

// The report, UTF-8. `counts` are CountPages(pages).
std::string HtmlReport(const ReportHead& head, const std::vector<ReportPage>& pages, const SiteCounts& counts);

// "Строка 12: text" -> 12 and "text"; 0 and the message when it names no line.
std::pair<std::size_t, std::string_view> FindingLine(std::string_view message);

// Appends `text` with &, <, >, " and ' as entities.
void AppendEscaped(std::string& out, std::string_view text);

}  // namespace veskaron::site
