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
