// A save changes what the user changed: the words of every other catalogued
// tag come back as the page had them, whether the fields' lists hold them or not.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <random>
#include <vector>
#include <string>

#include "engine/catalogue.h"
#include "engine/cp1251.h"
#include "engine/file_io.h"
#include "engine/head_scanner.h"
#include "engine/loader.h"
#include "engine/save.h"
#include "engine/translations.h"
#include "engine/writer.h"

using namespace veskaron;

namespace {

const DateTime kNow{{2026, 12, 7}, {10, 22, 31}};

// The first content of every catalogued key but the title's, as a load reads it.
std::map<int, std::string> Pairs(std::string_view text) {
    HeadScanner scanner;
    scanner.Scan(text);
    std::map<int, std::string> out;
    for (const CatalogueEntry& e : Catalogue()) {
        if (e.kind == EntryKind::Title || e.index == kExpiries) continue;
        std::string content = e.kind == EntryKind::Name ? scanner.NameContent(e.key) : scanner.HttpEquivContent(e.key);
        if (!content.empty()) out[e.index] = std::move(content);
    }
    return out;
}

// Blank runs and the letter case of list words aside.
std::string Loose(int index, const std::string& content) {
    if (index == kAuthor || index == kCopyright || index == kDescription || index == kKeywords ||
        index == kGenerator || index == kProgId || index == kUrl || index == kLocation)
        return content;
    std::string out;
    for (char c : content)
        if (static_cast<unsigned char>(c) > ' ') out += LowerAsciiChar(c);
    return out;
}

void ExpectSamePairs(std::string_view before, std::string_view after, const std::string& name) {
    const auto was = Pairs(before), now = Pairs(after);
    // The writer breaks up a quote or a bracket that would end the tag early.
    for (const auto& [index, content] : was)
        if (content.find_first_of("\"<>&") != std::string::npos) return;
    for (const auto& [index, content] : was) {
        const auto it = now.find(index);
        ASSERT_NE(it, now.end()) << name << ": " << CatalogueAt(index).key << " is gone";
        EXPECT_EQ(Loose(index, it->second), Loose(index, content)) << name << ": " << CatalogueAt(index).key;
    }
    for (const auto& [index, content] : now)
        EXPECT_TRUE(was.count(index)) << name << ": " << CatalogueAt(index).key << " appeared as " << content;
}

// The window's save after a title edit: the fields as loaded, the title new.
std::string SaveWithNewTitle(const std::string& page, const std::string& title = "New") {
    Document doc;
    doc.fields = FreshFields(kNow);
    LoadOptions options;
    options.now = kNow;
    LoadPageBytes(doc, "page.html", page, options);
    doc.fields.Title = title;
    return BytesForSave(doc, SaveOptions{}).bytes;
}

}  // namespace

TEST(OwnWords, ATitleEditLeavesEveryOtherTagAsThePageHadIt) {
    const char* tags[] = {
        "<meta name=\"robots\" content=\"noindex\">",
        "<meta name=\"robots\" content=\"nofollow\">",
        "<meta name=\"robots\" content=\"NOINDEX\">",
        "<meta name=\"robots\" content=\"index\">",
        "<meta name=\"robots\" content=\"noindex, nofollow, noarchive\">",
        "<meta name=\"robots\" content=\"max-snippet:50, max-image-preview:large\">",
        "<meta http-equiv=\"cache-control\" content=\"no-cache, no-store, must-revalidate\">",
        "<meta http-equiv=\"cache-control\" content=\"max-age=3600\">",
        "<meta http-equiv=\"content-language\" content=\"ru-RU\">",
        "<meta http-equiv=\"content-language\" content=\"en, ru\">",
        "<meta name=\"distribution\" content=\"IU\">",
        "<meta name=\"revisit-after\" content=\"7 days\">",
        "<meta name=\"description\" content=\"ab\">",
        "<meta name=\"author\" content=\"A\">",
        "<meta http-equiv=\"Page-Enter\" content=\"blendTrans(Duration=2)\">",
        "<meta http-equiv=\"Site-Exit\" content=\"revealTrans(Duration=3,Transition=5)\">",
        "<meta http-equiv=\"refresh\" content=\"0; url=/new/\">",
        "<meta http-equiv=\"refresh\" content=\"3; URL=/Docs/NewPage.html\">",
        "<meta http-equiv=\"refresh\" content=\"10\">",
        "<meta http-equiv=\"pragma\" content=\"no-store\">",
        "<meta http-equiv=\"content-type\" content=\"text/html\">",
        "<meta http-equiv=\"content-type\" content=\"application/xhtml+xml; charset=utf-8\">",
        "<meta name=\"keywords\" content='монтаж, ГОСТ'>",
        "<meta name=\"robots\" content=\"all\">\r\n<meta name=\"revisit-after\" content=\"14 weeks\">",
    };
    for (const char* tag : tags) {
        const std::string page = std::string("<html><head>\r\n<title>Old</title>\r\n") + tag + "\r\n</head><body>x</body></html>";
        const std::string saved = SaveWithNewTitle(page);
        ExpectSamePairs(page, saved, tag);
        EXPECT_NE(saved.find("<title>New</title>"), std::string::npos) << tag;
    }
}

TEST(OwnWords, ATagInACommentIsNeitherReadNorRemoved) {
    const std::string page =
        "<html><head>\r\n<title>Old</title>\r\n<!-- <meta name=\"robots\" content=\"noindex\"> -->\r\n</head></html>";
    const std::string saved = SaveWithNewTitle(page);
    EXPECT_NE(saved.find("<!-- <meta name=\"robots\" content=\"noindex\"> -->"), std::string::npos);
    EXPECT_EQ(saved.find("content=\"index"), std::string::npos) << "no live robots tag is added";
}

TEST(OwnWords, ChoosingAListEntryReplacesThePagesWords) {
    MetaFields f;
    ReadEntry(kRobots, "noindex", f);
    EXPECT_EQ(EntryContentText(kRobots, f), "noindex");
    MetaFields chosen = f;
    chosen.Robots = 2;
    EXPECT_EQ(EntryContentText(kRobots, chosen), "all");
    // Other values than the words say: the edit stands even with the words still set.
    MetaFields csv = f;
    csv.Robots = 3;
    ReconcileOwnTexts(f, csv);
    EXPECT_EQ(csv.OwnText[kRobots], "");
    // New words typed for the entry are read like a page's.
    MetaFields typed = f;
    typed.OwnText[kRobots] = "noarchive";
    ReconcileOwnTexts(f, typed);
    EXPECT_EQ(typed.Robots, 0);
    EXPECT_EQ(EntryContentText(kRobots, typed), "noarchive");
    // A changed charset never goes out under the page's old content-type words.
    MetaFields ct;
    ReadEntry(kContentType, "application/xhtml+xml; charset=koi8-r", ct);
    ASSERT_EQ(EntryContentText(kContentType, ct), "application/xhtml+xml; charset=koi8-r");
    ct.Charset = 2;
    EXPECT_EQ(EntryContentText(kContentType, ct), "; charset=windows-1251");
}

TEST(OwnWords, AModernEditAloneKeepsEveryOtherByte) {
    const std::string page =
        "<html><head><title>T</title>\n<meta name=\"robots\" content=\"noindex\">\n"
        "<meta property=\"og:title\" content=\"a\">\n<META NAME=keywords CONTENT='x, y'></head></html>\n";
    Document doc;
    LoadOptions options;
    options.now = kNow;
    LoadPageBytes(doc, "page.html", page, options);
    doc.modern[kOgTitle] = "b";
    std::string expected = page;
    expected.replace(expected.find("content=\"a\""), 11, "content=\"b\"");
    EXPECT_EQ(BytesForSave(doc, SaveOptions{}).bytes, expected);
    // The window's save writes the same bytes.
    const std::filesystem::path file = std::filesystem::temp_directory_path() / "veskaron-own-words.html";
    doc.path = file.string();
    ASSERT_TRUE(SaveDocument(doc, SaveOptions{}).saved);
    EXPECT_EQ(ReadWholeFile(doc.path).bytes, expected);
    std::filesystem::remove(file);
}

// Every page under /usr/share/doc: a title edit changes no other catalogued tag.
TEST(OwnWords, RealPagesKeepTheirTagsThroughATitleEdit) {
    namespace fs = std::filesystem;
    std::error_code ec;
    int pages = 0;
    for (fs::recursive_directory_iterator it("/usr/share/doc", ec), end; !ec && it != end; it.increment(ec)) {
        const std::string path = it->path().string();
        if (!it->is_regular_file(ec) || !(path.ends_with(".html") || path.ends_with(".htm"))) continue;
        const FileRead file = ReadWholeFile(path);
        if (!file.ok) continue;
        Document doc;
        LoadOptions options;
        options.now = kNow;
        LoadPageBytes(doc, path, file.bytes, options);
        const std::string before = doc.page.text;
        doc.fields.Title += "!";
        MetaWriteOptions writer;
        writer.kind = doc.kind;
        std::string text = doc.page.text;
        if (!WriteMetaBlock(text, doc.fields, writer).Done()) continue;
        ExpectSamePairs(before, text, path);
        ++pages;
    }
    if (pages == 0) GTEST_SKIP() << "no HTML pages under /usr/share/doc";
}

// Random heads built from tags whose words the lists hold or not, in comments,
// in single quotes, repeated, on several lines: a title edit changes no other tag.
TEST(OwnWords, RandomHeadsKeepTheirTagsThroughATitleEdit) {
    static const std::vector<std::string> pieces = {
        "<meta name=\"robots\" content=\"noindex\">", "<meta name=robots content='noindex, noarchive'>",
        "<meta name=\"robots\" content=\"all\">", "<META NAME=\"ROBOTS\" CONTENT=\"INDEX,FOLLOW\">",
        "<meta http-equiv=\"refresh\" content=\"0; url=/New/\">", "<meta http-equiv=refresh content=15>",
        "<meta http-equiv=\"cache-control\" content=\"max-age=60\">",
        "<meta http-equiv=\"content-language\" content=\"ru-RU\">",
        "<meta name=\"revisit-after\" content=\"7 days\">", "<meta name=\"distribution\" content=\"IU\">",
        "<meta name=\"description\"\r\n content=\"ab\">", "<meta name=\"author\" content = 'Ян'>",
        "<meta http-equiv=\"Site-Enter\" content=\"blendTrans(Duration=1)\">",
        "<meta http-equiv=\"pragma\" content=\"no-cache\">", "<meta name=\"keywords\" content=\"k\">",
        "<!-- <meta name=\"robots\" content=\"none\"> -->", "<script>var m='<meta name=\"url\" content=\"x\">'</script>",
        "<style>p{}</style>", "<link rel=\"stylesheet\" href=\"a.css\">", "\r\n", "\n", " ",
    };
    std::mt19937 rng(20261207);
    std::uniform_int_distribution<std::size_t> piece(0, pieces.size() - 1);
    std::uniform_int_distribution<int> count(0, 14);
    for (int round = 0; round < 400; ++round) {
        std::string page = "<html><head>\r\n<title>Old</title>\r\n";
        for (int n = count(rng); n > 0; --n) page += pieces[piece(rng)];
        page += "\r\n</head><body>x</body></html>";
        ExpectSamePairs(page, SaveWithNewTitle(page), page);
        if (HasFailure()) break;
    }
}
