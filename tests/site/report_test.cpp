// What the report counts and how it reads a finding's line.
#include <gtest/gtest.h>

#include "site/report.h"

namespace veskaron::site {
namespace {

TEST(ReportTest, FindingLineTakesOnlyALeadingLineNumber) {
    const struct {
        std::string_view message;
        std::size_t line;
        std::string_view detail;
    } cases[] = {
        {"Строка 12: ссылка ведёт на несуществующий файл: /a.html", 12, "ссылка ведёт на несуществующий файл: /a.html"},
        {"robots.txt, строка 3: Строка без двоеточия", 3, "Строка без двоеточия"},
        {"Строка без двоеточия: не правило", 0, "Строка без двоеточия: не правило"},
        {"Строка 0: нет", 0, "Строка 0: нет"},
        {"Строка 7 без двоеточия", 0, "Строка 7 без двоеточия"},
        {"Заголовок — 70 символов, больше 60", 0, "Заголовок — 70 символов, больше 60"},
    };
    for (const auto& c : cases) {
        const auto [line, detail] = FindingLine(c.message);
        EXPECT_EQ(line, c.line) << c.message;
        EXPECT_EQ(detail, c.detail) << c.message;
    }
}

TEST(ReportTest, CountsPagesPerCodeOncePerPageAndOnlyPagesInWidths) {
    const std::vector<Finding> twice{{Level::Warning, "link-broken", "Строка 1: a"},
                                     {Level::Error, "link-broken", "Строка 2: b"},
                                     {Level::Info, "og-missing", "c"}};
    const std::vector<Finding> robots{{Level::Warning, "robots-txt-line", "d"}};
    const std::vector<Finding> none;
    SiteCounter counter;
    counter.Add({PageFacts::Kind::File, 0, 0, true, {}}, {&robots});
    counter.Add({PageFacts::Kind::Page, 599, 5000, true, {}}, {&twice, &none});
    counter.Add({PageFacts::Kind::Page, 600, 0, false, "noindex"}, {&none});
    counter.Add({PageFacts::Kind::Unread, 0, 0, true, {}}, {&none});
    const SiteCounts c = counter.Take();
    EXPECT_EQ(c.pages, 2u);
    EXPECT_EQ(c.unreadable, 1u);
    EXPECT_EQ(c.pagesWithFindings, 1u);  // robots.txt has findings but is no page
    EXPECT_EQ(c.levels, (std::array<std::size_t, 3>{1, 2, 1}));
    ASSERT_EQ(c.codes.size(), 3u);
    // The worst level of a code decides its place: errors first.
    EXPECT_EQ(c.codes[0].code, "link-broken");
    EXPECT_EQ(c.codes[0].level, Level::Error);
    EXPECT_EQ(c.codes[0].findings, 2u);
    EXPECT_EQ(c.codes[0].pages, 1u);
    EXPECT_EQ(c.codes[2].code, "og-missing");
    // 599 px is within a title's 600, 600 is the first bin past it; a width
    // past the last bin lands in it.
    EXPECT_EQ(c.titles.bins[14], 1u);
    EXPECT_EQ(c.titles.bins[15], 1u);
    EXPECT_EQ(c.descriptions.bins.back(), 1u);
    EXPECT_EQ(c.indexable, 1u);
    EXPECT_EQ(c.closed, (std::vector<std::pair<std::string, std::size_t>>{{"noindex", 1}}));
}

}  // namespace
}  // namespace veskaron::site
