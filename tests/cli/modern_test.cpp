// The head tags beside the catalogue through read, write and audit.
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>

#include <nlohmann/json.hpp>

#include "tests/cli/cli_fixture.h"

namespace {

// Windows-1251, CR LF, a catalogue tag the writer would move.
const std::string kPage =
    "<html lang=ru>\r\n<head>\r\n  <meta name='keywords'   content=old>\r\n"
    "  <meta content=\"\xD1\xF2\xE0\xF0\xEE\xE5\" property=\"og:title\">\r\n"
    "  <link rel=alternate hreflang=en href=\"https://s.example/en/\">\r\n"
    "  <script type=\"application/ld+json\">{\"@type\":\"WebPage\"}</script>\r\n"
    "</head>\r\n<body>\xD2\xE5\xEA\xF1\xF2</body>\r\n</html>\r\n";

class ModernCommands : public CliTest {
protected:
    ModernCommands() : CliTest({"read"}) {}
    void SetUp() override {
        CliTest::SetUp();
        prefix_.clear();
    }
};

}  // namespace

TEST_F(ModernCommands, ReadShowsTheMembers) {
    const std::string page = Put("p.htm", kPage);
    ASSERT_EQ(Run({"read", page}), 0) << err_.str();
    const auto j = nlohmann::json::parse(out_.str());
    EXPECT_EQ(j["OgTitle"], "Старое");
    EXPECT_EQ(j["Canonical"], "");
    EXPECT_EQ(j["HtmlLang"], "ru");
    EXPECT_EQ(j["Hreflang"], nlohmann::json::parse(R"([{"Href":"https://s.example/en/","Lang":"en"}])"));
    EXPECT_EQ(j["JsonLd"], nlohmann::json::parse(R"([{"Valid":true,"Type":"WebPage","Error":null}])"));

    ASSERT_EQ(Run({"read", "--format", "csv", page}), 0) << err_.str();
    EXPECT_NE(out_.str().find("\"[{\"\"Href\"\":\"\"https://s.example/en/\"\",\"\"Lang\"\":\"\"en\"\"}]\""),
              std::string::npos)
        << out_.str();
}

TEST_F(ModernCommands, WriteOfTheseFieldsAloneChangesOnlyTheirBytes) {
    const std::string page = Put("p.htm", kPage);
    ASSERT_EQ(Run({"write", "--dry-run", page, "--set", "OgTitle=Новое ✓", "--set", "Canonical=https://s.example/"}), 0)
        << err_.str();
    EXPECT_NE(out_.str().find("+  <link rel=\"canonical\" href=\"https://s.example/\" >"), std::string::npos) << out_.str();
    EXPECT_EQ(Get(page), kPage);

    ASSERT_EQ(Run({"write", "--no-backup", page, "--set", "OgTitle=Новое ✓", "--set", "Canonical=https://s.example/"}), 0)
        << err_.str();
    std::string expected = kPage;
    expected.replace(expected.find("\xD1\xF2\xE0\xF0\xEE\xE5"), 6, "\xCD\xEE\xE2\xEE\xE5 &#10003;");
    expected.insert(expected.find("</head>"), "  <link rel=\"canonical\" href=\"https://s.example/\" >\r\n");
    EXPECT_EQ(Get(page), expected);
    EXPECT_NE(err_.str().find("1 character"), std::string::npos);

    ASSERT_EQ(Run({"write", "--no-backup", page, "--set", "OgTitle=", "--set", "Canonical="}), 0) << err_.str();
    std::string removed = kPage;
    removed.erase(removed.find("  <meta content="), removed.find("  <link") - removed.find("  <meta content="));
    EXPECT_EQ(Get(page), removed);

    EXPECT_EQ(Run({"write", page, "--set", "HtmlLang=en"}), 1);
    EXPECT_NE(err_.str().find("read only"), std::string::npos);
}

TEST_F(ModernCommands, AuditReportsTheHeadTagCodes) {
    std::filesystem::create_directories(dir_ / "site" / "en");
    const std::string base = "https://s.example/";
    // ru lists en and itself; en lists ru but not itself; de is listed by no one and lists ru.
    Put("site/index.html",
        "<html lang=ru><head><meta charset=utf-8><title>Главная страница сайта</title>"
        "<title>Вторая</title><meta name=viewport content=w><link rel=canonical href=/index.html>"
        "<link rel=canonical href=https://s.example/><meta name=\"og:title\" content=t>"
        "<link rel=alternate hreflang=ru href=https://s.example/>"
        "<link rel=alternate hreflang=en href=https://s.example/en/>"
        "<link rel=alternate hreflang=de href=de.html>"
        "<script type=application/ld+json>{oops}</script></head></html>");
    Put("site/en/index.html",
        "<html><head><meta charset=utf-8><title>English main page here</title><meta name=viewport content=w>"
        "<meta name=description content=a><meta name=description content=b>"
        "<link rel=alternate hreflang=ru href=https://s.example/index.html></head></html>");
    Put("site/late.html", "<html lang=en><head>" + std::string(1100, ' ') +
                              "<meta charset=utf-8><title>Late charset page</title></head></html>");
    ASSERT_EQ(Run({"audit", "--format", "jsonl", "--base-url", base, "-r", (dir_ / "site").string()}), 0)
        << err_.str();
    std::set<std::string> found;
    std::istringstream lines(out_.str());
    for (std::string line; std::getline(lines, line);) {
        const auto j = nlohmann::json::parse(line);
        const std::string path = j["Path"].get<std::string>();
        found.insert(path.substr(path.find("site/") + 5) + " " + j["Code"].get<std::string>() + " " +
                     j["Level"].get<std::string>());
    }
    for (const char* expected : {
             "index.html title-multiple error", "index.html canonical-relative warning",
             "index.html canonical-multiple error", "index.html og-name-attribute warning",
             "index.html og-missing info", "index.html twitter-card-missing info",
             "index.html hreflang-relative error", "index.html jsonld-invalid error",
             "en/index.html description-multiple error", "en/index.html canonical-missing info",
             "en/index.html hreflang-no-self warning", "en/index.html lang-missing info",
             "late.html charset-late warning", "late.html viewport-missing warning"})
        EXPECT_TRUE(found.count(expected)) << expected << "\n" << out_.str();
    for (const char* absent : {"index.html hreflang-no-self warning", "index.html hreflang-no-return warning",
                               "index.html lang-missing info", "index.html viewport-missing warning"})
        EXPECT_FALSE(found.count(absent)) << absent;

    // en lists ru, and ru lists en back; drop en from ru and the return is missing.
    Put("site/index.html",
        "<html lang=ru><head><meta charset=utf-8><title>Главная страница сайта</title>"
        "<link rel=alternate hreflang=ru href=https://s.example/></head></html>");
    ASSERT_EQ(Run({"audit", "--format", "jsonl", "--base-url", base, "-r", (dir_ / "site").string()}), 0);
    EXPECT_NE(out_.str().find("\"hreflang-no-return\""), std::string::npos) << out_.str();
}
