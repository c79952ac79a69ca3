#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "site/audit.h"
#include "site/page_selection.h"

namespace fs = std::filesystem;
using veskaron::site::FileMask;
using veskaron::site::PageCollector;

TEST(FileMask, PatternsSeparatedBySemicolonsIgnoringCase) {
    struct Case { const char* mask; const char* name; bool match; };
    const Case cases[] = {
        {"*.htm; *.html", "index.html", true},  {"*.htm; *.html", "INDEX.HTM", true},
        {"*.htm; *.html", "index.shtml", false}, {"*.htm; *.html", "a.htm.bak", false},
        {" *.php ;", "x.php", true},             {"", "anything", true},
        {"page?.htm", "page1.htm", true},        {"page?.htm", "page10.htm", false},
    };
    for (const Case& c : cases) EXPECT_EQ(FileMask(c.mask).Matches(c.name), c.match) << c.mask << " " << c.name;
}

TEST(PageCollector, SortedDepthFirstOnceEachWithoutLoops) {
    const fs::path root = fs::temp_directory_path() / ("veskaron_walk_" + std::to_string(::getpid()));
    fs::remove_all(root);
    for (const char* f : {"b.htm", "a.html", "z/c.htm", "m/d.htm", "m/e.txt"}) {
        fs::create_directories((root / f).parent_path());
        std::ofstream(root / f) << "x";
    }
    fs::create_directory_symlink(root, root / "m" / "loop");          // a circle
    fs::create_directory_symlink(root / "z", root / "y");             // a second way into z
    fs::create_symlink(root / "missing.htm", root / "gone.htm");      // leads nowhere

    PageCollector pages{FileMask("*.htm; *.html")};
    pages.AddFolder(root.string() + "/");
    pages.AddFolder((root / "z").string());  // already walked
    pages.AddFolder((root / "none").string());
    const std::string r = root.string();
    EXPECT_EQ(pages.Pages(), (std::vector<std::string>{r + "/a.html", r + "/b.htm", r + "/m/d.htm", r + "/z/c.htm"}));
    ASSERT_EQ(pages.Problems().size(), 2u);
    EXPECT_NE(pages.Problems()[0].find("gone.htm"), std::string::npos);
    EXPECT_NE(pages.Problems()[1].find("none"), std::string::npos);
    fs::remove_all(root);
}

TEST(AuditHelpers, CharactersAndDeclaredCharset) {
    EXPECT_EQ(veskaron::site::CountCharacters("Привет, мир"), 11u);
    struct Case { const char* text; const char* charset; };
    const Case cases[] = {
        {"<head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=Windows-1251\"></head>", "windows-1251"},
        {"<HEAD>\r\n<meta charset = 'utf-8'>\r\n</HEAD>", "utf-8"},
        {"<head><title>charset</title></head><body>charset=koi8-r</body>", ""},
        {"<html>charset=utf-8", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(veskaron::site::DeclaredCharset(c.text), c.charset) << c.text;
}

TEST(AuditHelpers, DuplicatesNameAFewOtherPagesAndCountTheRest) {
    std::vector<veskaron::site::PageAudit> pages(6);
    std::vector<std::string> paths;
    for (int i = 0; i < 6; ++i) {
        pages[i].title = i < 5 ? "Same" : "Other";
        paths.push_back("p" + std::to_string(i));
    }
    veskaron::site::AddDuplicateFindings(pages, paths);
    ASSERT_EQ(pages[0].findings.size(), 1u);
    EXPECT_EQ(pages[0].findings[0].code, "title-duplicate");
    EXPECT_EQ(pages[0].findings[0].message, "Такой же заголовок у страниц p1, p2, p3 и ещё 1");
    EXPECT_TRUE(pages[5].findings.empty());
}
