#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "engine/serp.h"
#include "engine/text_codec.h"
#include "site/site_scan.h"

namespace fs = std::filesystem;
using namespace veskaron;
using namespace veskaron::site;

namespace {

bool HasCode(const std::vector<Finding>& findings, std::string_view code) {
    for (const Finding& f : findings)
        if (f.code == code) return true;
    return false;
}

}  // namespace

TEST(SiteScan, ReadsAPageIntoARow) {
    const fs::path root = fs::temp_directory_path() / ("veskaron_scan_" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "news");
    const std::string page = Windows1251Codec()->FromUtf8(
        "<html>\r\n<head>\r\n<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">\r\n"
        "<title>Новости</title>\r\n<meta name=\"description\" content=\"Строка описания\">\r\n"
        "<meta name=\"keywords\" content=\"камень, яшма\">\r\n"
        "<link rel=\"canonical\" href=\"https://a.ru/news/\">\r\n</head>\r\n<body></body></html>\r\n").bytes;
    std::ofstream(root / "news" / "a.html", std::ios::binary) << page;
    LoadOptions options;

    const SiteRow row = ScanPage(root.string() + "/", (root / "news" / "a.html").string(), options);
    ASSERT_TRUE(row.read) << row.error;
    EXPECT_EQ(row.relative, "news/a.html");
    EXPECT_EQ(row.title, "Новости");
    EXPECT_EQ(row.description, "Строка описания");
    EXPECT_EQ(row.keywords, "камень, яшма");
    EXPECT_EQ(row.canonical, "https://a.ru/news/");
    EXPECT_EQ(row.encoding, "windows-1251");
    EXPECT_EQ(row.titlePx, TextWidthPx("Новости", kDesktopSerp.titleSizePx));
    EXPECT_TRUE(HasCode(row.findings, "title-length"));  // 7 characters
    EXPECT_EQ(row.stamp, StampOf((root / "news" / "a.html").string()));
    EXPECT_EQ(row.stamp.size, static_cast<long long>(page.size()));

    const SiteRow missing = ScanPage(root.string(), (root / "gone.html").string(), options);
    EXPECT_FALSE(missing.read);
    EXPECT_FALSE(missing.error.empty());
    EXPECT_EQ(missing.relative, "gone.html");
    fs::remove_all(root);
}

TEST(SiteScan, RelativePaths) {
    struct Case { const char* root; const char* path; const char* relative; };
    const Case cases[] = {
        {"/s", "/s/a.htm", "a.htm"},        {"/s/", "/s/d/a.htm", "d/a.htm"},
        {"/s", "/site/a.htm", "/site/a.htm"}, {"/", "/a.htm", "a.htm"},
        {"", "x/a.htm", "x/a.htm"},
    };
    for (const Case& c : cases) EXPECT_EQ(RelativePath(c.root, c.path), c.relative) << c.root << " " << c.path;
}

// An edited text is judged by the audit's own rules and messages.
TEST(SiteScan, TextFindingsOfEditedTexts) {
    struct Case { TextField field; std::string text; std::vector<std::string_view> codes; };
    const Case cases[] = {
        {TextField::Title, "Мастерская уральского камня в Екатеринбурге", {}},
        {TextField::Title, "", {"title-missing"}},
        {TextField::Title, std::string(70, 'W'), {"title-length", "title-width"}},
        {TextField::Description, "Коротко", {"description-length"}},
        {TextField::Description, "", {"description-missing"}},
    };
    for (const Case& c : cases) {
        const std::vector<Finding> found = TextFindings(c.field, c.text);
        std::vector<std::string_view> codes;
        for (const Finding& f : found) codes.push_back(f.code);
        EXPECT_EQ(codes, c.codes) << c.text;
        for (const Finding& f : found) EXPECT_TRUE(IsTextFieldCode(c.field, f.code));
    }
}

TEST(SiteScan, DuplicatesIgnoreSurroundingBlanksAndEmptyTexts) {
    const std::vector<std::string_view> titles = {"Один", " Один\r\n", "", ""};
    const std::vector<std::string_view> descriptions = {"", "", "", ""};
    const auto found = DuplicateFindings(titles, descriptions, {"a", "b", "c", "d"});
    ASSERT_EQ(found.size(), 4u);
    EXPECT_TRUE(HasCode(found[0], "title-duplicate"));
    EXPECT_TRUE(HasCode(found[1], "title-duplicate"));
    EXPECT_TRUE(found[2].empty());
    EXPECT_TRUE(found[3].empty());
    EXPECT_EQ(WorstLevel(found[0]), Level::Warning);
    EXPECT_EQ(WorstLevel(found[2]), std::nullopt);
}
