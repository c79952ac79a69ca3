// Which pages of a small site a robot may index, and why, through read,
// audit and robots-txt.
#include <filesystem>
#include <map>

#include <nlohmann/json.hpp>

#include "tests/cli/cli_fixture.h"

namespace {

class Indexability : public CliTest {
protected:
    Indexability() : CliTest({"read", "--now", "2026-12-07T10:22:31"}) {}
    void SetUp() override {
        CliTest::SetUp();
        std::filesystem::create_directories(dir_ / "site" / "private");
        Put("site/robots.txt",
            "User-agent: *\nDisallow: /private/\n\nUser-agent: Yandex\nDisallow: /ya-closed.html\nHost: x.ru\n");
        Put("site/index.html", "<head><title>Home</title><link rel=\"canonical\" href=\"https://x.ru/\"></head>");
        Put("site/private/a.html", "<head><meta name=\"robots\" content=\"noindex\"></head>");
        Put("site/private/b.html", "<head><title>B</title></head>");
        Put("site/noindex.html", "<head><meta name=\"googlebot\" content=\"noindex\"></head>");
        Put("site/copy.html", "<head><link rel=\"canonical\" href=\"noindex.html\"></head>");
        Put("site/other-host.html", "<head><link rel=\"canonical\" href=\"https://y.ru/copy.html\"></head>");
        Put("site/go.html", "<head><meta http-equiv=\"refresh\" content=\"0; URL=/Home/\"></head>");
        Put("site/ya-closed.html", "<head><meta name=\"robots\" content=\"max-snippet:20, nofolow\"></head>");
    }
    std::map<std::string, nlohmann::json> ReadSite(std::vector<std::string> extra) {
        std::vector<std::string> args{"-r", (dir_ / "site").string(), "--base-url", "https://x.ru"};
        args.insert(args.end(), extra.begin(), extra.end());
        EXPECT_EQ(Run(args), 0) << err_.str();
        std::map<std::string, nlohmann::json> out;
        std::istringstream lines(out_.str());
        for (std::string line; std::getline(lines, line);) {
            nlohmann::json j = nlohmann::json::parse(line);
            out[std::filesystem::path(j["Path"].get<std::string>()).lexically_relative(dir_ / "site").generic_string()] = j;
        }
        return out;
    }
};

}  // namespace

TEST_F(Indexability, VerdictsAndReasonsForEachRobot) {
    struct Case { const char* page; const char* google; const char* yandex; };
    const Case cases[] = {
        {"index.html", "", ""},
        {"private/a.html", "disallowed", "noindex"},
        {"private/b.html", "disallowed", ""},
        {"noindex.html", "noindex", ""},
        {"copy.html", "canonical-elsewhere", "canonical-elsewhere"},
        {"other-host.html", "canonical-elsewhere", "canonical-elsewhere"},
        {"go.html", "redirect", "redirect"},
        {"ya-closed.html", "", "disallowed"},
    };
    auto google = ReadSite({});
    auto yandex = ReadSite({"--robot", "yandex"});
    for (const Case& c : cases) {
        ASSERT_TRUE(google.count(c.page)) << c.page;
        EXPECT_EQ(google[c.page]["IndexabilityReason"], c.google) << c.page;
        EXPECT_EQ(google[c.page]["Indexable"], *c.google == '\0') << c.page;
        EXPECT_EQ(yandex[c.page]["IndexabilityReason"], c.yandex) << c.page;
    }
    EXPECT_EQ(google["private/a.html"]["IndexabilityDetail"], "robots.txt:2: Disallow: /private/");
    EXPECT_EQ(google["go.html"]["IndexabilityDetail"], "/Home/");
    EXPECT_EQ(google["ya-closed.html"]["RobotsDirectives"]["maxSnippet"], 20);
    EXPECT_EQ(google["ya-closed.html"]["RobotsDirectives"]["unknown"], nlohmann::json::array({"nofolow"}));
}

TEST_F(Indexability, AuditFindsWhatTheRobotCannotRead) {
    prefix_ = {"audit"};
    ASSERT_EQ(Run({"-r", (dir_ / "site").string(), "--format", "csv"}), 0) << err_.str();
    const std::string out = out_.str();
    for (const char* code : {"disallowed-noindex", "robots-txt-line", "unknown-robots-word", "canonical-to-noindex"})
        EXPECT_NE(out.find(code), std::string::npos) << code;
    EXPECT_NE(out.find("robots.txt,warning,robots-txt-line"), std::string::npos) << out;
    EXPECT_NE(err_.str().find("Pages: 8,"), std::string::npos) << err_.str();
}

TEST_F(Indexability, RobotsTxtCommandNamesTheDecidingLine) {
    prefix_ = {"robots-txt"};
    const std::string file = (dir_ / "site" / "robots.txt").string();
    ASSERT_EQ(Run({file, "--agent", "Googlebot", "https://x.ru/private/a.html?x=1", "/ya-closed.html"}), 0);
    EXPECT_EQ(out_.str(), "deny\thttps://x.ru/private/a.html?x=1\t" + file + ":2: Disallow: /private/\n"
                          "allow\t/ya-closed.html\tno rule of the group matches\n");
    ASSERT_EQ(Run({file, "--agent", "YANDEX", "/ya-closed.html"}), 0);
    EXPECT_EQ(out_.str(), "deny\t/ya-closed.html\t" + file + ":5: Disallow: /ya-closed.html\n");
    EXPECT_NE(err_.str().find(":6: "), std::string::npos);
    EXPECT_EQ(Run({(dir_ / "missing.txt").string(), "--agent", "x", "/"}), 2);
}

// The sitemap of the same site lists exactly its indexable pages; a check
// of a sitemap that disagrees names every disagreement.
TEST_F(Indexability, SitemapListsTheIndexablePagesAndChecksOne) {
    Put("site/каталог.html", "<head><title>Каталог</title></head>");
    prefix_ = {"sitemap"};
    const std::string out = (dir_ / "sitemap.xml").string();
    ASSERT_EQ(Run({"-r", (dir_ / "site").string(), "--base-url", "https://x.ru/", "--out", out, "--now",
                   "2026-12-07T10:22:31"}),
              0)
        << err_.str();
    const std::string xml = Get(out);
    for (const char* loc : {"<loc>https://x.ru/</loc>", "<loc>https://x.ru/ya-closed.html</loc>",
                            "<loc>https://x.ru/%D0%BA%D0%B0%D1%82%D0%B0%D0%BB%D0%BE%D0%B3.html</loc>"})
        EXPECT_NE(xml.find(loc), std::string::npos) << loc;
    for (const char* page : {"private", "noindex.html", "copy.html", "go.html", "other-host"})
        EXPECT_EQ(xml.find(page), std::string::npos) << page;
    EXPECT_NE(out_.str().find("left out\t"), std::string::npos);
    if (std::system("command -v xmllint >/dev/null 2>&1") == 0) {
        EXPECT_EQ(std::system(("xmllint --noout --schema " + (std::filesystem::path(VESKARON_TEST_DATA).parent_path().parent_path() / "site" / "data" / "sitemap.xsd").string() + " " + out + " >/dev/null 2>&1")
                                  .c_str()),
                  0);
    }
    // The sitemap agrees with the site; one that lists a closed page and misses a page does not.
    EXPECT_EQ(Run({"-r", (dir_ / "site").string(), "--base-url", "https://x.ru", "--check", out}), 0) << out_.str();
    Put("bad.xml", "<?xml version=\"1.0\"?>\n<urlset xmlns=\"http://www.sitemaps.org/schemas/sitemap/0.9\">\n"
                   "<url><loc>https://x.ru/noindex.html</loc></url>\n<url><loc>https://x.ru/</loc></url>\n"
                   "<url><loc>https://x.ru/</loc></url>\n<url><loc>https://x.ru/gone.html</loc></url>\n</urlset>\n");
    EXPECT_EQ(Run({"-r", (dir_ / "site").string(), "--base-url", "https://x.ru", "--check", (dir_ / "bad.xml").string()}), 1);
    for (const char* line : {"not indexable\thttps://x.ru/noindex.html\tnoindex", "duplicated\thttps://x.ru/",
                             "missing\thttps://x.ru/gone.html", "left out\thttps://x.ru/ya-closed.html"})
        EXPECT_NE(out_.str().find(line), std::string::npos) << line << "\n" << out_.str();
    Put("broken.xml", "<urlset>\n<url>\n</urlset>\n");
    EXPECT_EQ(Run({"-r", (dir_ / "site").string(), "--base-url", "https://x.ru", "--check", (dir_ / "broken.xml").string()}), 1);
    EXPECT_NE(err_.str().find("line 3: </urlset> closes <url>"), std::string::npos) << err_.str();
}
