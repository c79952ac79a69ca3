// robots.txt as robots read it, on the documented examples, and the robots
// words of a page.
#include <gtest/gtest.h>

#include "engine/robots_directives.h"
#include "site/robots_txt.h"

using namespace veskaron;
using namespace veskaron::site;

namespace {

// The standard's own example file.
constexpr std::string_view kStandard =
    "User-Agent: *\n"
    "Disallow: *.gif$\n"
    "Disallow: /example/\n"
    "Allow: /publications/\n"
    "\n"
    "User-Agent: foobot\n"
    "Disallow:/\n"
    "Allow:/example/page.html\n"
    "Allow:/example/allowed.gif\n"
    "\n"
    "User-Agent: barbot\n"
    "User-Agent: bazbot\n"
    "Disallow: /example/page.html\n"
    "\n"
    "User-Agent: quxbot\n";

}  // namespace

TEST(RobotsTxt, DocumentedVerdicts) {
    struct Case { std::string_view file; const char* agent; const char* path; bool allowed; int line; };
    const std::string_view google =
        "user-agent: googlebot\n"
        "allow: /p\ndisallow: /\n"
        "\nuser-agent: yandex\nallow: /folder\ndisallow: /folder\n"
        "\nUser-agent: *\nDisallow: /*.php$\nDisallow: /fish*\nAllow: /page\nDisallow: /*.htm\n"
        "Allow: /$\nDisallow: /\n";
    const Case cases[] = {
        {kStandard, "foobot", "/example/page.html", true, 8},
        {kStandard, "foobot", "/example/allowed.gif", true, 9},
        {kStandard, "foobot", "/other/page.html", false, 7},
        {kStandard, "barbot", "/example/page.html", false, 13},
        {kStandard, "bazbot", "/example/page.html", false, 13},
        {kStandard, "bazbot", "/example/other.html", true, 0},
        {kStandard, "quxbot", "/example/page.html", true, 0},
        {kStandard, "unknownbot", "/a/b.gif", false, 2},
        {kStandard, "unknownbot", "/a/b.gif?x", true, 0},
        {kStandard, "unknownbot", "/example/x", false, 3},
        {kStandard, "unknownbot", "/publications/x", true, 4},
        {kStandard, "FOOBOT", "/robots.txt", true, 0},
        // Longest match; Allow wins a tie.
        {google, "googlebot", "/page", true, 2},
        {google, "googlebot", "/", false, 3},
        {google, "yandex", "/folder/page", true, 6},
        {google, "other", "/filename.php", false, 10},
        {google, "other", "/filename.php?x", false, 15},
        {google, "other", "/fish.html", false, 11},
        {google, "other", "/page.htm", false, 13},
        {google, "other", "/", true, 14},
        {google, "other", "/pages", true, 12},
    };
    for (const Case& c : cases) {
        const RobotsTxt r = RobotsTxt::Parse(c.file);
        const RobotsTxtVerdict v = r.Decide(std::vector<std::string>{c.agent}, c.path);
        EXPECT_EQ(v.allowed, c.allowed) << c.agent << " " << c.path;
        EXPECT_EQ(v.line, c.line) << c.agent << " " << c.path;
    }
}

TEST(RobotsTxt, PatternsAndPercentEncoding) {
    struct Case { const char* pattern; const char* path; bool matches; };
    const Case cases[] = {
        {"/fish", "/fish.html", true},        {"/fish", "/Fish.asp", false},
        {"/fish*", "/fishheads/yummy.html", true}, {"/fish/", "/fish", false},
        {"/*.php", "/folder/filename.php?parameters", true}, {"/*.php$", "/filename.php/", false},
        {"/fish*.php", "/fishheads/catfish.php?parameters", true}, {"/fish*.php", "/Fish.PHP", false},
        {"/this/*/exactly$", "/this/a/b/exactly", true}, {"/", "/", true}, {"/$", "/a", false},
        {"/foo/bar/%62%61%7A", "/foo/bar/baz", true},
        {"/foo/bar/\xE3\x83\x84", "/foo/bar/%E3%83%84", true},
        {"/foo/bar/%e3%83%84", "/foo/bar/%E3%83%84", true},
        {"/a%2Fb", "/a/b", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RobotsPatternMatches(NormaliseRobotsPath(c.pattern), NormaliseRobotsPath(c.path)), c.matches)
            << c.pattern << " " << c.path;
}

TEST(RobotsTxt, YandexGroupsAndProblemLines) {
    const RobotsTxt r = RobotsTxt::Parse(
        "\xEF\xBB\xBF" "Disallow: /early\n"
        "User-agent: Yandex\n"
        "Disallow: /search\n"
        "Clean-param: ref /some_dir/get_book.pl\n"
        "Host: example.ru\n"
        "Dissalow: /typo\n"
        "just words\n"
        "User-agent: *\r\n"
        "Disallow: /private # closed\r\n"
        "Sitemap: https://example.ru/sitemap.xml\n");
    EXPECT_FALSE(r.Decide(Robot::Yandex, "/search?q=1").allowed);
    EXPECT_TRUE(r.Decide(Robot::Yandex, "/private").allowed) << "Yandex reads its own group only";
    EXPECT_FALSE(r.Decide(Robot::Google, "/private").allowed);
    EXPECT_TRUE(r.Decide(Robot::Google, "/early").allowed);
    ASSERT_EQ(r.Problems().size(), 4u);
    EXPECT_EQ(r.Problems()[0].line, 1);
    EXPECT_EQ(r.Problems()[1].line, 5);
    EXPECT_EQ(r.Problems()[2].line, 6);
    EXPECT_EQ(r.Problems()[3].line, 7);
    EXPECT_EQ(r.CleanParams().size(), 1u);
    EXPECT_EQ(r.Sitemaps(), std::vector<std::string>{"https://example.ru/sitemap.xml"});
    // Only the first 500 KiB count.
    std::string big = "User-agent: *\n";
    big.append(kRobotsTxtLimit, '\n');
    big += "Disallow: /\n";
    const RobotsTxt cut = RobotsTxt::Parse(big);
    EXPECT_TRUE(cut.Decide(Robot::Google, "/a").allowed);
    EXPECT_EQ(cut.Problems().size(), 1u);
}

TEST(RobotsTxt, PagePaths) {
    EXPECT_EQ(PagePathUnder("/site", "/site/index.html"), "/");
    EXPECT_EQ(PagePathUnder("/site/", "/site/news/index.htm"), "/news/");
    EXPECT_EQ(PagePathUnder("/site", "/site/news/a b.html"), "/news/a%20b.html");
    EXPECT_EQ(PagePathUnder("/site", "/site/каталог.html"), "/%D0%BA%D0%B0%D1%82%D0%B0%D0%BB%D0%BE%D0%B3.html");
    EXPECT_EQ(PagePathUnder("/site", "/other/a.html"), "");
}

TEST(RobotsDirectives, WordsCombineForTheChosenRobot) {
    const std::string head =
        "<head><meta name=\"robots\" content=\"max-snippet:50, noarchive, max-image-preview:large\">"
        "<meta name=\"googlebot\" content=\"nosnippet, max-snippet:20, unavailable_after: Monday, 21-Sep-20 15:00:00 GMT\">"
        "<meta name=\"yandex\" content=\"noindex, noyaca, max-image-preview:none\">"
        "<meta name=\"bingbot\" content=\"noindex\">"
        "<meta name=\"robots\" content=\"follow, nofolow\"></head>";
    const RobotsDirectives google = PageDirectives(head, Robot::Google);
    EXPECT_FALSE(google.noindex);
    EXPECT_TRUE(google.nosnippet);
    EXPECT_TRUE(google.noarchive);
    EXPECT_EQ(google.maxSnippet, 20);
    EXPECT_EQ(google.maxImagePreview, "large");
    EXPECT_EQ(google.unavailableAfter, "Monday, 21-Sep-20 15:00:00 GMT");
    EXPECT_EQ(google.unknown, std::vector<std::string>{"nofolow"});
    const RobotsDirectives yandex = PageDirectives(head, Robot::Yandex);
    EXPECT_TRUE(yandex.noindex);
    EXPECT_EQ(yandex.noindexTag, "yandex: noindex, noyaca, max-image-preview:none");
    EXPECT_TRUE(yandex.noyaca);
    EXPECT_FALSE(yandex.nosnippet);
    EXPECT_EQ(yandex.maxSnippet, 50);
    EXPECT_EQ(yandex.maxImagePreview, "none");
    RobotsDirectives none;
    AddDirectives(none, "NONE", "robots");
    EXPECT_TRUE(none.noindex && none.nofollow);
}

TEST(RobotsDirectives, WhatASnippetMayShow) {
    RobotsDirectives d;
    EXPECT_EQ(SnippetAllowed("Описание", d), "Описание");
    AddDirectives(d, "max-snippet:3", "robots");
    EXPECT_EQ(SnippetAllowed("Описание", d), "Опи");
    AddDirectives(d, "max-snippet:-1", "googlebot");
    EXPECT_EQ(SnippetAllowed("Описание", d), "Опи") << "no limit never lifts a limit";
    AddDirectives(d, "nosnippet", "robots");
    EXPECT_EQ(SnippetAllowed("Описание", d), "");
}
