// audit --format html: the report agrees with the records, names no address
// the pages do not, and shows page texts as text.
#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>
#include <sstream>

#include <nlohmann/json.hpp>

#include "tests/cli/cli_fixture.h"

namespace {

struct Counts {
    std::map<std::string, std::size_t> levels;                            // findings per level
    std::map<std::string, std::pair<std::size_t, std::size_t>> codes;     // code -> findings, pages
    friend bool operator==(const Counts&, const Counts&) = default;
};

class ReportTest : public CliTest {
protected:
    ReportTest() : CliTest({"audit"}) {}

    // A site with findings of every level, a robots.txt with a bad line, a
    // closed page, Russian texts and markup in a file name.
    std::string MakeSite() {
        std::filesystem::create_directories(dir_ / "site/news");
        Put("site/robots.txt", "User-agent: *\nDisallow: /news/\nnonsense line\n");
        Put("site/index.html",
            "<html lang=\"ru\"><head><meta charset=\"utf-8\"><title>Главная страница мастерской</title>"
            "<link rel=\"canonical\" href=\"https://uralkamen.example/\"></head>"
            "<body><a href=\"news/a.html\">a</a> <a href=\"missing.html\">x</a> <a href=\"<b>.html\">b</a>"
            " <img src=\"i.png\"></body></html>");
        Put("site/news/a.html",
            "<html><head><title>Главная страница мастерской</title><meta name=\"robots\" content=\"noindex\">"
            "<meta name=\"description\" content=\"Короткое\"></head><body><a href=\"../index.html#top\">t</a>"
            "</body></html>");
        Put("site/<b>.html", "<html><head><title>&lt;script&gt;alert(1)&lt;/script&gt; очень длинный заголовок "
                             "страницы, который не помещается в строку результата поиска</title></head></html>");
        return (dir_ / "site").string();
    }

    Counts FromJsonl(const std::string& text) {
        Counts c;
        std::map<std::string, std::set<std::string>> pages;
        std::istringstream lines(text);
        for (std::string line; std::getline(lines, line);) {
            const auto j = nlohmann::json::parse(line);
            ++c.levels[j["Level"].get<std::string>()];
            const std::string code = j["Code"].get<std::string>();
            ++c.codes[code].first;
            pages[code].insert(j["Path"].get<std::string>());
        }
        for (const auto& [code, paths] : pages) c.codes[code].second = paths.size();
        return c;
    }

    static Counts FromHtml(const std::string& html) {
        Counts c;
        const std::regex level(R"re(data-level="(\w+)"><th>[^<]*</th><td class="n">(\d+)<)re");
        for (std::sregex_iterator it(html.begin(), html.end(), level), end; it != end; ++it)
            if (std::stoul((*it)[2]) > 0) c.levels[(*it)[1]] = std::stoul((*it)[2]);
        const std::regex code(R"re(data-code="([\w-]+)" data-findings="(\d+)" data-pages="(\d+)")re");
        for (std::sregex_iterator it(html.begin(), html.end(), code), end; it != end; ++it)
            c.codes[(*it)[1]] = {std::stoul((*it)[2]), std::stoul((*it)[3])};
        return c;
    }
};

TEST_F(ReportTest, CountsEqualTheRecordsAndTheFileIsSelfContained) {
    const std::string site = MakeSite();
    ASSERT_EQ(Run({"-r", site, "--format", "jsonl"}), 0) << err_.str();
    const Counts records = FromJsonl(out_.str());
    const std::string summary = err_.str();
    ASSERT_GE(records.codes.size(), 8u);  // errors, warnings and infos, per page and between pages
    ASSERT_TRUE(records.codes.count("robots-txt-line") && records.codes.count("link-broken") &&
                records.codes.count("title-duplicate"));

    const std::string file = (dir_ / "report.html").string();
    ASSERT_EQ(Run({"-r", site, "--format", "html", "--out", file}), 0) << err_.str();
    EXPECT_EQ(out_.str(), "");
    EXPECT_EQ(err_.str(), summary);
    const std::string html = Get(file);
    EXPECT_EQ(FromHtml(html), records);
    EXPECT_NE(html.find("data-pages><th>Страниц проверено</th><td class=\"n\">3<"), std::string::npos);

    // Every address in the report is one the pages hold; nothing is fetched to show it.
    const std::regex address(R"(https?:[^\s"'<>]*)");
    std::size_t own = 0;
    for (std::sregex_iterator it(html.begin(), html.end(), address), end; it != end; ++it) {
        EXPECT_EQ(it->str(), "https://uralkamen.example/") << "foreign address in the report";
        ++own;
    }
    EXPECT_LE(own, 1u);
    for (const char* external : {"<script", "src=", "<link", "@import", "url(http"})
        EXPECT_EQ(html.find(external), std::string::npos) << external;
    EXPECT_EQ(html.find("<b>.html"), std::string::npos);
    EXPECT_NE(html.find("&lt;b&gt;.html"), std::string::npos);
    EXPECT_NE(html.find("Битая ссылка"), std::string::npos);  // the codes by their Russian names
    EXPECT_NE(html.find("@page { size: A4"), std::string::npos);
    EXPECT_EQ(std::count(html.begin(), html.end(), '\0'), 0);

    // Without --out the report is the standard output, and the same.
    ASSERT_EQ(Run({"-r", site, "--format", "html"}), 0);
    EXPECT_EQ(FromHtml(out_.str()), records);
    EXPECT_TRUE(out_.str().starts_with("<!DOCTYPE html>"));

    // A report that cannot be written leaves no file and says why.
    EXPECT_EQ(Run({"-r", site, "--format", "html", "--out", (dir_ / "no/such/report.html").string()}), 2);
    EXPECT_NE(err_.str().find("report.html"), std::string::npos);
}

}  // namespace
