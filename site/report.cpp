#include "site/report.h"

#include <algorithm>
#include <ctime>

#include "engine/serp.h"
#include "messages/audit_texts.h"
#include "messages/report_texts.h"
#include "site/indexability.h"
#include "site/svg_charts.h"

namespace veskaron::site {
namespace {

namespace rt = report_text;

// Rows of a code shown before the rest is folded away.
constexpr std::size_t kShownRows = 20;

std::size_t LevelIndex(Level level) { return static_cast<std::size_t>(level); }

svg::Fill LevelFill(Level level) {
    return level == Level::Error ? svg::Fill::Solid : level == Level::Warning ? svg::Fill::Hatch : svg::Fill::Dots;
}

// The page's print layout: A4, a section to a page, tables that repeat
// their heads; grey rules rather than colour where the meaning matters.
constexpr std::string_view kStyle = R"(
@page { size: A4; margin: 14mm 12mm; }
body { font-family: "DejaVu Sans", "Liberation Sans", Arial, sans-serif; font-size: 11pt; color: #111; margin: 16px; }
h1 { font-size: 18pt; margin: 0 0 6px; }
h2 { font-size: 15pt; border-bottom: 2px solid #333; padding-bottom: 3px; }
h3 { font-size: 12pt; margin: 18px 0 6px; break-after: avoid; page-break-after: avoid; }
.head p { margin: 2px 0; }
section.part { break-before: page; page-break-before: always; }
table { border-collapse: collapse; margin: 4px 0 10px; }
th, td { border: 1px solid #999; padding: 2px 6px; text-align: left; vertical-align: top; }
td.n { text-align: right; }
thead { display: table-header-group; }
tr { break-inside: avoid; page-break-inside: avoid; }
table.list td:first-child { word-break: break-all; max-width: 300px; }
table.list td:nth-child(2) { text-align: right; }
.level-error td:first-child { font-weight: bold; }
div.figure { margin: 8px 0 16px; break-inside: avoid; page-break-inside: avoid; }
p.caption { font-weight: bold; margin: 0 0 4px; }
svg { max-width: 100%; height: auto; }
summary { cursor: pointer; margin: 4px 0; }
@media print { body { margin: 0; } summary { list-style: none; font-style: italic; } }
)";

void Append(std::string& out, std::size_t n) { out += std::to_string(n); }

void Cell(std::string& out, std::string_view text, std::string_view cls = {}) {
    out += cls.empty() ? "<td>" : "<td class=\"";
    if (!cls.empty()) {
        out += cls;
        out += "\">";
    }
    AppendEscaped(out, text);
    out += "</td>";
}

void NumberCell(std::string& out, std::size_t n) {
    out += "<td class=\"n\">";
    Append(out, n);
    out += "</td>";
}

void Summary(std::string& out, const SiteCounts& c) {
    out += "<section><h2>";
    out += rt::kSummary;
    out += "</h2><table class=\"totals\"><tbody>";
    auto row = [&out](std::string_view name, std::string_view attr, std::size_t n) {
        out += "<tr";
        out += attr;
        out += "><th>";
        out += name;
        out += "</th>";
        NumberCell(out, n);
        out += "</tr>";
    };
    row(rt::kPages, " data-pages", c.pages);
    row(rt::kPagesWithFindings, "", c.pagesWithFindings);
    if (c.unreadable > 0) row(rt::kUnreadable, " data-unreadable", c.unreadable);
    for (Level level : {Level::Error, Level::Warning, Level::Info})
        row(rt::kLevelsPlural[LevelIndex(level)], std::string(" data-level=\"").append(LevelName(level)) + "\"",
            c.levels[LevelIndex(level)]);
    out += "</tbody></table>";
    if (c.codes.empty()) {
        out += "<p>";
        out += rt::kNone;
        out += "</p></section>";
        return;
    }
    out += "<table class=\"codes\"><thead><tr><th>";
    out += rt::kWhat;
    out += "</th><th>";
    out += rt::kCode;
    out += "</th><th>";
    out += rt::kLevel;
    out += "</th><th>";
    out += rt::kFindings;
    out += "</th><th>";
    out += rt::kPagesColumn;
    out += "</th></tr></thead><tbody>";
    for (const CodeCount& code : c.codes) {
        out += "<tr class=\"level-";
        out += LevelName(code.level);
        out += "\" data-code=\"";
        AppendEscaped(out, code.code);
        out += "\" data-findings=\"";
        Append(out, code.findings);
        out += "\" data-pages=\"";
        Append(out, code.pages);
        out += "\"><td><a href=\"#code-";
        AppendEscaped(out, code.code);
        out += "\">";
        AppendEscaped(out, FindingName(code.code));
        out += "</a></td>";
        Cell(out, code.code);
        Cell(out, rt::kLevels[LevelIndex(code.level)]);
        NumberCell(out, code.findings);
        NumberCell(out, code.pages);
        out += "</tr>";
    }
    out += "</tbody></table></section>";
}

void Figure(std::string& out, std::string_view caption) {
    out += "<div class=\"figure\"><p class=\"caption\">";
    out += caption;
    out += "</p>";
}

void Charts(std::string& out, const SiteCounts& c) {
    out += "<section class=\"part\"><h2>";
    out += rt::kCharts;
    out += "</h2>";
    if (!c.codes.empty()) {
        std::vector<svg::Bar> bars;
        for (const CodeCount& code : c.codes)
            bars.push_back({std::string(FindingName(code.code)), code.pages, LevelFill(code.level)});
        Figure(out, rt::kByCodeChart);
        svg::HorizontalBars(out, rt::kByCodeChart, bars,
                            {{rt::kLevels[0], svg::Fill::Solid}, {rt::kLevels[1], svg::Fill::Hatch},
                             {rt::kLevels[2], svg::Fill::Dots}});
        out += "</div>";
    }
    Figure(out, rt::kTitleWidths);
    svg::Histogram(out, rt::kTitleWidths, c.titles);
    out += "</div>";
    Figure(out, rt::kDescriptionWidths);
    svg::Histogram(out, rt::kDescriptionWidths, c.descriptions);
    out += "</div>";
    std::vector<svg::Bar> indexing{{std::string(rt::IndexReasonName({})), c.indexable, svg::Fill::Plain}};
    for (const auto& [reason, pages] : c.closed)
        indexing.push_back({std::string(rt::IndexReasonName(reason)), pages, svg::Fill::Hatch});
    Figure(out, rt::kIndexing);
    svg::HorizontalBars(out, rt::kIndexing, indexing);
    out += "</div></section>";
}

struct Entry {
    std::uint32_t page;
    const Finding* finding;
};

// Rows without their optional end tags, styled by column: a site with a
// million findings has a million of them.
void EntryRow(std::string& out, const std::vector<ReportPage>& pages, const Entry& e) {
    const auto [line, detail] = FindingLine(e.finding->message);
    out += "<tr><td>";
    AppendEscaped(out, pages[e.page].path);
    out += "<td>";
    if (line > 0) Append(out, line);
    out += "<td>";
    AppendEscaped(out, detail);
    out += '\n';
}

void TableHead(std::string& out) {
    out += "<table class=\"list\"><thead><tr><th>";
    out += rt::kPageColumn;
    out += "</th><th>";
    out += rt::kLine;
    out += "</th><th>";
    out += rt::kDetail;
    out += "</th></tr></thead><tbody>";
}

// Every code's findings, in the order of the summary; the pages in theirs.
void Listing(std::string& out, const std::vector<ReportPage>& pages, const SiteCounts& c) {
    if (c.codes.empty()) return;
    std::unordered_map<std::string_view, std::size_t> at;
    std::vector<std::size_t> start(c.codes.size() + 1, 0);
    for (std::size_t i = 0; i < c.codes.size(); ++i) {
        at.emplace(c.codes[i].code, i);
        start[i + 1] = start[i] + c.codes[i].findings;
    }
    std::vector<Entry> entries(start.back());
    std::vector<std::size_t> fill(start.begin(), start.end() - 1);
    for (std::size_t p = 0; p < pages.size(); ++p)
        for (const Finding& f : pages[p].findings) {
            const auto it = at.find(f.code);
            if (it != at.end()) entries[fill[it->second]++] = {static_cast<std::uint32_t>(p), &f};
        }
    out += "<section class=\"part\"><h2>";
    out += rt::kByCode;
    out += "</h2>";
    for (std::size_t i = 0; i < c.codes.size(); ++i) {
        const CodeCount& code = c.codes[i];
        out += "<h3 id=\"code-";
        AppendEscaped(out, code.code);
        out += "\">";
        AppendEscaped(out, FindingName(code.code));
        out += " <small>(";
        AppendEscaped(out, code.code);
        out += ", ";
        out += rt::kLevels[LevelIndex(code.level)];
        out += ") — ";
        Append(out, code.findings);
        out += "</small></h3>";
        const std::size_t b = start[i], e = fill[i];
        TableHead(out);
        for (std::size_t k = b; k < std::min(e, b + kShownRows); ++k) EntryRow(out, pages, entries[k]);
        out += "</tbody></table>";
        if (e > b + kShownRows) {
            out += "<details><summary>";
            out += rt::kMore;
            Append(out, e - b - kShownRows);
            out += "</summary>";
            TableHead(out);
            for (std::size_t k = b + kShownRows; k < e; ++k) EntryRow(out, pages, entries[k]);
            out += "</tbody></table></details>";
        }
    }
    out += "</section>";
}

}  // namespace

WidthHistogram TitleWidths() { return {40, kDesktopSerp.titlePx, std::vector<std::size_t>(21, 0)}; }
WidthHistogram DescriptionWidths() { return {80, kDesktopSerp.descriptionPx, std::vector<std::size_t>(21, 0)}; }

std::string_view KnownReason(std::string_view reason) {
    for (IndexReason r : {IndexReason::None, IndexReason::Disallowed, IndexReason::Noindex,
                          IndexReason::CanonicalElsewhere, IndexReason::Redirect})
        if (IndexReasonCode(r) == reason) return IndexReasonCode(r);
    return "other";
}

void SiteCounter::Add(const PageFacts& facts, std::initializer_list<const std::vector<Finding>*> findings) {
    ++entry_;
    bool any = false;
    for (const std::vector<Finding>* list : findings)
        for (const Finding& f : *list) {
            any = true;
            auto [it, added] = codeAt_.try_emplace(f.code, counts_.codes.size());
            if (added) {
                counts_.codes.push_back({f.code, f.level, 0, 0});
                seen_.push_back(0);
            }
            CodeCount& code = counts_.codes[it->second];
            ++code.findings;
            code.level = std::min(code.level, f.level);  // Error sorts first
            if (seen_[it->second] != entry_) {
                seen_[it->second] = entry_;
                ++code.pages;
            }
            ++counts_.levels[LevelIndex(f.level)];
        }
    switch (facts.kind) {
        case PageFacts::Kind::File: return;
        case PageFacts::Kind::Unread: ++counts_.unreadable; break;
        case PageFacts::Kind::Page:
            ++counts_.pages;
            counts_.titles.Add(facts.titlePx);
            counts_.descriptions.Add(facts.descriptionPx);
            if (facts.indexable) ++counts_.indexable;
            else ++closed_[KnownReason(facts.reason)];
            break;
    }
    if (any) ++counts_.pagesWithFindings;
}

SiteCounts SiteCounter::Take() {
    std::sort(counts_.codes.begin(), counts_.codes.end(), [](const CodeCount& a, const CodeCount& b) {
        if (a.level != b.level) return a.level < b.level;
        if (a.pages != b.pages) return a.pages > b.pages;
        return a.code < b.code;
    });
    for (const auto& [reason, pages] : closed_) counts_.closed.emplace_back(std::string(reason), pages);
    std::sort(counts_.closed.begin(), counts_.closed.end());
    SiteCounts done = std::move(counts_);
    *this = SiteCounter();
    return done;
}

SiteCounts CountPages(const std::vector<ReportPage>& pages) {
    SiteCounter counter;
    for (const ReportPage& p : pages) counter.Add(p.facts, {&p.findings});
    return counter.Take();
}

std::string ReportDateNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char buf[32];
    return std::string(buf, std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M", &local));
}

std::pair<std::size_t, std::string_view> FindingLine(std::string_view message) {
    for (std::string_view prefix : {std::string_view("Строка "), std::string_view("robots.txt, строка ")}) {
        if (!message.starts_with(prefix)) continue;
        std::size_t i = prefix.size(), line = 0;
        while (i < message.size() && message[i] >= '0' && message[i] <= '9' && line < 100000000)
            line = line * 10 + static_cast<std::size_t>(message[i++] - '0');
        if (line == 0 || !message.substr(i).starts_with(": ")) break;
        return {line, message.substr(i + 2)};
    }
    return {0, message};
}

void AppendEscaped(std::string& out, std::string_view text) {
    std::size_t from = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::string_view entity;
        switch (text[i]) {
            case '&': entity = "&amp;"; break;
            case '<': entity = "&lt;"; break;
            case '>': entity = "&gt;"; break;
            case '"': entity = "&quot;"; break;
            case '\'': entity = "&#39;"; break;
            default: continue;
        }
        out.append(text, from, i - from);
        out += entity;
        from = i + 1;
    }
    out.append(text, from, text.size() - from);
}

std::string HtmlReport(const ReportHead& head, const std::vector<ReportPage>& pages, const SiteCounts& counts) {
    std::string out;
    std::size_t findings = 0;
    for (std::size_t n : counts.levels) findings += n;
    out.reserve(16384 + findings * 160);
    out += "<!DOCTYPE html>\n<html lang=\"ru\"><head><meta charset=\"utf-8\"><title>";
    out += rt::kTitle;
    out += " — ";
    AppendEscaped(out, head.folder);
    out += "</title><style>";
    out += kStyle;
    out += "</style></head><body><div class=\"head\"><h1>";
    out += rt::kTitle;
    out += "</h1><p>";
    out += rt::kFolder;
    out += ": <b>";
    AppendEscaped(out, head.folder);
    out += "</b></p><p>";
    out += rt::kDate;
    out += ": ";
    AppendEscaped(out, head.date);
    out += "</p></div>";
    Summary(out, counts);
    Charts(out, counts);
    Listing(out, pages, counts);
    out += "</body></html>\n";
    return out;
}

}  // namespace veskaron::site
