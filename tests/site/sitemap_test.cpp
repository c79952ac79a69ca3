// sitemap.xml: what it lists, how it splits, and the check of one, validated
// with xmllint against the protocol's schema.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "site/sitemap.h"

using namespace veskaron::site;
namespace fs = std::filesystem;

namespace {

// Whether xmllint accepts the file against the schema; skips without xmllint.
bool Valid(const std::string& xml, const char* schema) {
    const fs::path file = fs::temp_directory_path() / ("veskaron_sitemap_" + std::to_string(::getpid()) + ".xml");
    std::ofstream(file, std::ios::binary) << xml;
    const std::string command = "xmllint --noout --schema " + std::string(VESKARON_TEST_DATA) + "/" + schema + " " +
                                file.string() + " >/dev/null 2>&1";
    const int rc = std::system(command.c_str());
    fs::remove(file);
    return rc == 0;
}

bool HaveXmllint() { return std::system("command -v xmllint >/dev/null 2>&1") == 0; }

}  // namespace

TEST(Sitemap, OneFileEscapedAndValid) {
    const std::vector<SitemapUrl> urls = {
        {JoinAddress("https://x.ru/", "/"), W3cDateTime(1796000000LL * 1000000000LL)},
        {JoinAddress("https://x.ru", "/%D0%BA%D0%B0.html"), ""},
        {"https://x.ru/a&b'.html", "2026-12-07T10:22:31Z"},
    };
    const auto files = BuildSitemaps(urls, "https://x.ru");
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].name, "sitemap.xml");
    EXPECT_NE(files[0].bytes.find("<loc>https://x.ru/</loc>"), std::string::npos);
    EXPECT_NE(files[0].bytes.find("<loc>https://x.ru/a&amp;b&apos;.html</loc>"), std::string::npos);
    EXPECT_NE(files[0].bytes.find("<lastmod>2026-11-30T"), std::string::npos);
    EXPECT_EQ(files[0].bytes.find("priority"), std::string::npos);
    const SitemapRead back = ReadSitemap(files[0].bytes);
    ASSERT_TRUE(back.ok) << back.error;
    EXPECT_EQ(back.locs, (std::vector<std::string>{"https://x.ru/", "https://x.ru/%D0%BA%D0%B0.html", "https://x.ru/a&b'.html"}));
    if (!HaveXmllint()) GTEST_SKIP() << "xmllint is not installed";
    EXPECT_TRUE(Valid(files[0].bytes, "sitemap.xsd"));
}

TEST(Sitemap, ManyAddressesSplitIntoPartsAndAnIndex) {
    std::vector<SitemapUrl> urls;
    for (int i = 0; i < 120000; ++i) urls.push_back({"https://x.ru/p/" + std::to_string(i) + ".html", "2026-12-07"});
    const auto files = BuildSitemaps(urls, "https://x.ru");
    ASSERT_EQ(files.size(), 4u);
    EXPECT_EQ(files[0].name, "sitemap-1.xml");
    EXPECT_EQ(files[3].name, "sitemap.xml");
    std::size_t listed = 0;
    for (std::size_t i = 0; i < 3; ++i) {
        const SitemapRead part = ReadSitemap(files[i].bytes);
        ASSERT_TRUE(part.ok) << part.error;
        EXPECT_LE(part.locs.size(), kSitemapMaxUrls);
        listed += part.locs.size();
    }
    EXPECT_EQ(listed, urls.size());
    const SitemapRead index = ReadSitemap(files[3].bytes);
    ASSERT_TRUE(index.ok && index.index);
    EXPECT_EQ(index.locs.back(), "https://x.ru/sitemap-3.xml");
    // The size limit splits too.
    const auto small = BuildSitemaps(std::vector<SitemapUrl>(urls.begin(), urls.begin() + 100), "https://x.ru", "s.xml",
                                     50000, 4000);
    ASSERT_GT(small.size(), 2u);
    EXPECT_EQ(small.back().name, "s.xml");
    EXPECT_EQ(small.front().name, "s-1.xml");
    for (const SitemapFile& f : small) EXPECT_LE(f.bytes.size(), 4000u) << f.name;
    if (!HaveXmllint()) GTEST_SKIP() << "xmllint is not installed";
    for (std::size_t i = 0; i < 3; ++i) EXPECT_TRUE(Valid(files[i].bytes, "sitemap.xsd")) << files[i].name;
    EXPECT_TRUE(Valid(files[3].bytes, "siteindex.xsd"));
}

TEST(Sitemap, ReadingErrorsNameTheirLine) {
    struct Case { const char* xml; const char* error; };
    const Case cases[] = {
        {"<urlset>\n<url><loc>a</loc>\n</urlset>", "line 3: </urlset> closes <url>"},
        {"<urlset>\n<url><loc>a</loc></url>", "line 2: <urlset> is not closed"},
        {"<html></html>", "line 1: the root is <html>, not <urlset> or <sitemapindex>"},
        {"", "line 1: no <urlset> or <sitemapindex>"},
        {"<urlset><!-- x </urlset>", "line 1: a comment is not closed"},
    };
    for (const Case& c : cases) {
        const SitemapRead r = ReadSitemap(c.xml);
        EXPECT_FALSE(r.ok) << c.xml;
        EXPECT_EQ(r.error, c.error) << c.xml;
    }
}

TEST(Sitemap, CheckAgainstTheSite) {
    const std::map<std::string, std::string> pages = {
        {"https://x.ru/", ""}, {"https://x.ru/a.html", ""}, {"https://x.ru/closed.html", "noindex"},
        {"https://x.ru/left.html", ""}};
    const SitemapCheck c = CheckSitemap(
        {"https://x.ru/", "https://x.ru/a.html", "https://x.ru/a.html", "https://x.ru/gone.html", "https://x.ru/closed.html"},
        pages);
    EXPECT_EQ(c.missing, std::vector<std::string>{"https://x.ru/gone.html"});
    EXPECT_EQ(c.duplicated, std::vector<std::string>{"https://x.ru/a.html"});
    ASSERT_EQ(c.notIndexable.size(), 1u);
    EXPECT_EQ(c.notIndexable[0].second, "noindex");
    EXPECT_EQ(c.leftOut, std::vector<std::string>{"https://x.ru/left.html"});
    EXPECT_FALSE(c.Clean());
}
