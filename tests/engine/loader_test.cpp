#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "engine/catalogue.h"
#include "engine/file_io.h"
#include "engine/koi8.h"
#include "engine/loader.h"

using namespace veskaron;

namespace {

const DateTime kNow{{2026, 12, 7}, {10, 22, 31}};

LoadOptions Options(std::string modem = "33600") {
    LoadOptions o;
    o.modemSpeed = std::move(modem);
    o.now = kNow;
    return o;
}

LoadReport Load(std::string text, MetaFields& f, const LoadOptions& o = Options()) {
    return LoadDocumentText(text, f, o);
}

std::string Page(const std::string& head) {
    return "<html>\r\n<head>\r\n" + head + "</head>\r\n<body>body</body>\r\n</html>\r\n";
}

}  // namespace

TEST(Loader, SizeAndDownloadTime) {
    struct Case { std::string text; std::string modem; long long size; std::optional<unsigned long long> time; bool ok; };
    const Case cases[] = {
        {std::string(12343, 'a'), "33600", 12345, 294, true},
        {std::string(33598, 'a'), "33600", 33600, 800, true},
        {std::string(33598, 'a'), "0", 33600, 800, true},
        {std::string(33598, 'a'), "-5", 33600, 800, true},
        {"", "33600", 0, 0, true},
        {std::string(523, 'a'), "33600", 525, 13, true},  // 0.125: a half rounds up
        {"a\r\nb\nc\r", "33600", 9, 0, true},
        {"abc", "fast", 5, std::nullopt, false},
    };
    for (const auto& c : cases) {
        MetaFields f;
        const LoadReport r = Load(c.text, f, Options(c.modem));
        EXPECT_EQ(r.size, c.size);
        EXPECT_EQ(r.downloadHundredths, c.time);
        EXPECT_EQ(r.ok, c.ok);
    }
}

TEST(Loader, PassesAndConversion) {
    struct Case { std::string charset; int passes; int converted; };
    const Case cases[] = {
        {"", 1, 0},
        {"<meta http-equiv=\"content-type\" content=\"text/html; charset=utf-8\">\r\n", 2, 0},
        {"<meta http-equiv=\"content-type\" content=\"text/html; charset=windows-1251\">\r\n", 2, 0},
        {"<meta http-equiv=\"content-type\" content=\"text/html; charset=koi8-r\">\r\n", 2, 3},
        {"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=KOI8-U\">\r\n", 2, 4},
    };
    for (const auto& c : cases) {
        std::string text = Page(c.charset + "<title>\xF0\xD2\xC9\xD7\xC5\xD4</title>\r\n");
        MetaFields f;
        const LoadReport r = LoadDocumentText(text, f, Options());
        EXPECT_EQ(r.passes, c.passes) << c.charset;
        EXPECT_EQ(r.converted, c.converted) << c.charset;
        const bool koi = c.converted != 0;
        EXPECT_EQ(f.Title, koi ? "\xCF\xF0\xE8\xE2\xE5\xF2" : "\xF0\xD2\xC9\xD7\xC5\xD4") << c.charset;
        EXPECT_EQ(text.find("\xCF\xF0\xE8") != std::string::npos, koi) << "the text itself is converted";
    }
}

// Both passes of a page with a known charset read the same tags, and heads
// written every which way are read.
TEST(Loader, HeadsAsPagesWriteThem) {
    struct Case { const char* name; std::string page; int passes; const char* title; const char* author; };
    const Case cases[] = {
        {"leftovers of a cut tag",
         "<head>\r\n<meta http-equiv=\"content-type\" content=\"text/html; charset=windows-1251\">\r\n"
         "<m<meta >eta name=author content=fake>\r\n<meta name=author content=real>\r\n</head>",
         2, "", "real"},
        {"DocBook", "<HTML\n><HEAD\n><TITLE\n>T</TITLE\n><META\nNAME=\"AUTHOR\"\nCONTENT=\"A\"></HEAD\n>", 1, "T", "A"},
        {"lang", "<head lang=\"ru\">\r\n<title>T</title><meta name=\"author\" content=\"A\">\r\n</head>", 1, "T", "A"},
        {"tag of the body's <header>", "<head></head><header><meta name=\"author\" content=\"A\"></header>", 1, "", ""},
        {"a comment's start inside a tag's name or value, or a bogus comment",
         "<head><t<!--6><m <!--\"></<!--O><?x <!-- ?><meta name=\"x\" content=\"<!--\"><meta name=\"author\" content=\"A\"></head>", 1, "",
         "A"},
        {"a comment opened in the title's text", "<head><title><!--</title><meta name=\"author\" content=\"A\"></head>", 1,
         "<!--", "A"},
    };
    for (const auto& c : cases) {
        MetaFields f;
        const LoadReport r = Load(c.page, f);
        EXPECT_EQ(r.passes, c.passes) << c.name;
        EXPECT_EQ(f.Title, c.title) << c.name;
        EXPECT_EQ(f.Author, c.author) << c.name;
    }
}

TEST(Loader, Koi8PageRoundTripsThroughSaveTable) {
    std::string original = Page(
        "<meta http-equiv=\"content-type\" content=\"text/html; charset=koi8-r\">\r\n");
    for (int b = 128; b < 256; ++b) original += static_cast<char>(b);
    std::string text = original;
    MetaFields f;
    LoadDocumentText(text, f, Options());
    ASSERT_EQ(f.Charset, 3);
    EXPECT_EQ(TranslateChars(text, *Koi8SaveTable(f.Charset)), original);
}

TEST(Loader, FillsEveryFieldInOrder) {
    const std::string head =
        "<title>Home</title>\r\n"
        "<meta name=\"author\" content=\"Ann\">\r\n"
        "<meta name=\"copyright\" content=\"(c) A\">\r\n"
        "<meta name=\"description\" content=\"Desc\">\r\n"
        "<meta name=\"keywords\" content=\"k1, k2\">\r\n"
        "<meta name=\"robots\" content=\"index,follow\">\r\n"
        "<meta name=\"revisit-after\" content=\"14 weeks\">\r\n"
        "<meta name=\"distribution\" content=\"local\">\r\n"
        "<meta name=\"generator\" content=\"Gen\">\r\n"
        "<meta name=\"progid\" content=\"Pid\">\r\n"
        "<meta name=\"url\" content=\"http://x\">\r\n"
        "<meta http-equiv=\"cache-control\" content=\"private\">\r\n"
        "<meta http-equiv=\"pragma\" content=\"no-cache\">\r\n"
        "<meta http-equiv=\"refresh\" content=\"10;url=Next.htm\">\r\n"
        "<meta http-equiv=\"expiries\" content=\"Sat, 19 Dec 2026 30:14:05 GMT\">\r\n"
        "<meta http-equiv=\"content-type\" content=\"text/html; charset=windows-1251\">\r\n"
        "<meta http-equiv=\"content-language\" content=\"ru\">\r\n"
        "<meta http-equiv=\"location\" content=\"There\">\r\n"
        "<meta http-equiv=\"page-enter\" content=\"RevealTrans(Duration=3.0,Transition=12)\">\r\n"
        "<meta http-equiv=\"site-exit\" content=\"RevealTrans(Duration=70.0,Transition=1)\">\r\n";
    MetaFields f = FreshFields(kNow);
    const LoadReport r = Load(Page(head), f);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_TRUE(r.warnings.empty());
    EXPECT_EQ(f.Title, "Home");
    EXPECT_EQ(f.Author, "Ann");
    EXPECT_EQ(f.Copyright, "(c) A");
    EXPECT_EQ(f.Description, "Desc");
    EXPECT_EQ(f.Keywords, "k1, k2");
    EXPECT_EQ(f.Robots, 2);
    EXPECT_EQ(f.RevisitCount, 14);
    EXPECT_EQ(f.RevisitUnit, 2);
    EXPECT_EQ(f.Distribution, 2);
    EXPECT_EQ(f.Generator, "Gen");
    EXPECT_EQ(f.ProgId, "Pid");
    EXPECT_EQ(f.Url, "http://x");
    EXPECT_EQ(f.CacheControl, 2);
    EXPECT_EQ(f.Pragma, 1);
    EXPECT_TRUE(f.RefreshOn);
    EXPECT_EQ(f.RefreshSeconds, 10);
    EXPECT_EQ(f.RefreshUrl, "Next.htm");
    EXPECT_TRUE(r.refreshUrlEnabled);
    EXPECT_TRUE(f.ExpiriesOn);
    EXPECT_EQ(f.ExpiriesDate, (Date{2026, 12, 19}));
    EXPECT_EQ(f.ExpiriesTime, (TimeOfDay{14, 30, 5}));
    EXPECT_EQ(f.ExpiriesText, "Sat, 19 Dec 2026 30:14:05 GMT");
    EXPECT_TRUE(f.ContentTypeOn);
    EXPECT_EQ(f.ContentType, 1);
    EXPECT_EQ(f.Charset, 2);
    EXPECT_EQ(f.ContentLanguage, 1);
    EXPECT_EQ(f.Location, "There");
    EXPECT_EQ(f.PageEnter, (Transition{true, 3, 12}));
    EXPECT_EQ(f.PageExit, (Transition{false, 4, 23}));
    EXPECT_EQ(f.SiteExit, (Transition{true, 60, 1}));
}

TEST(Loader, AbsentTagsResetAndExpiryDefaults) {
    MetaFields f;
    f.Author = "old";
    f.Robots = 3;
    f.RevisitCount = 99;
    f.ExpiriesOn = true;
    const LoadReport r = Load(Page(""), f);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(f.Author, "");
    EXPECT_EQ(f.Robots, 0);
    EXPECT_EQ(f.RevisitCount, 30);
    EXPECT_FALSE(f.ExpiriesOn);
    EXPECT_EQ(f.ExpiriesText, "Mon, 07 Dec 2026 22:10:31 GMT");
    EXPECT_EQ(f.RefreshSeconds, 5);
    EXPECT_FALSE(r.refreshUrlEnabled);
}

TEST(Loader, UnreadableExpiryWarnsAndKeepsLoading) {
    MetaFields f;
    const LoadReport r = Load(Page("<meta http-equiv=\"expiries\" content=\"0\">\r\n"
                                   "<meta name=\"url\" content=\"after\">\r\n"),
                              f);
    EXPECT_TRUE(r.ok);
    ASSERT_EQ(r.warnings.size(), 1u);
    EXPECT_EQ(r.warnings[0], LoadWarning::DatesNotConverted);
    EXPECT_TRUE(f.ExpiriesOn);
    EXPECT_EQ(f.ExpiriesDate, kNow.date);
    EXPECT_EQ(f.Url, "after");
}

TEST(Loader, ConversionFailureStopsTheFilling) {
    MetaFields f;
    f.Generator = "previous";
    f.Location = "previous";
    f.PageEnter = {true, 2, 5};
    const LoadReport r = Load(Page("<meta name=\"author\" content=\"new\">\r\n"
                                   "<meta name=\"revisit-after\" content=\"soon day\">\r\n"
                                   "<meta name=\"generator\" content=\"new\">\r\n"),
                              f);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, "'soon' is not a valid integer value");
    EXPECT_EQ(f.Author, "new");
    EXPECT_EQ(f.Generator, "previous");
    EXPECT_EQ(f.Location, "previous");
    EXPECT_EQ(f.PageEnter, (Transition{true, 2, 23})) << "effects are reset before the filling";
}

TEST(Loader, WordsNotInTheListsAreThePagesOwnNotThePreviousPagesValues) {
    MetaFields f;
    Load(Page("<meta name=\"robots\" content=\"all\">\r\n"
              "<meta name=\"revisit-after\" content=\"7 month\">\r\n"
              "<meta name=\"distribution\" content=\"global\">\r\n"),
         f);
    EXPECT_EQ(f.Robots, 2);
    Load(Page("<meta name=\"robots\" content=\"noindex, nofollow, noarchive\">\r\n"
              "<meta name=\"revisit-after\" content=\"7 days\">\r\n"
              "<meta name=\"distribution\" content=\"world\">\r\n"),
         f);
    EXPECT_EQ(f.Robots, 1);
    EXPECT_EQ(f.OwnText[kRobots], "noindex, nofollow, noarchive");
    EXPECT_EQ(f.RevisitCount, 7);
    EXPECT_EQ(f.RevisitUnit, 0);
    EXPECT_EQ(f.OwnText[kRevisitAfter], "7 days");
    EXPECT_EQ(f.Distribution, 0);
    EXPECT_EQ(f.OwnText[kDistribution], "world");
    // A page whose words the lists hold leaves no own words behind.
    Load(Page("<meta name=\"robots\" content=\"none\">\r\n"), f);
    EXPECT_EQ(f.Robots, 1);
    for (const std::string& own : f.OwnText) EXPECT_EQ(own, "");
}

TEST(Loader, BadInputNeverCrashes) {
    std::string binary;
    for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 7919) & 0xFF);
    const std::string cases[] = {
        "",
        binary,
        "<head>",
        "<head>\r\n<meta ",
        "<head><meta name=\"a\" content=",
        "<head>\r\n<meta http-equiv=\"page-enter\" content=\"duration=.transition=)\">",
        "<head>\r\n<meta http-equiv=\"expiries\" content=\"x\">",
        "<head>\r\n<meta http-equiv=\"expiries\" content=\":::::\">",
        std::string("<head>\0<title>\0</title>\r\n", 25),
        "<title>",
    };
    for (const auto& c : cases) {
        MetaFields f;
        std::string text = c;
        LoadDocumentText(text, f, Options());
        EXPECT_EQ(text.size(), c.size());
    }
}

TEST(Loader, LargePageIsLinear) {
    // 10 MB of head that never closes, every line a tag: a quadratic pass would
    // take minutes here.
    std::string text = "<html><head>\r\n";
    const std::string line = "<meta name=\"x\" content=\"filler filler filler\"> > text > <p>\r\n";
    while (text.size() < 10u * 1024 * 1024) text += line;
    text += "<meta name=\"author\" content=\"last\">\r\n";
    MetaFields f;
    const auto start = std::chrono::steady_clock::now();
    const LoadReport r = LoadDocumentText(text, f, Options());
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - start).count();
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(f.Author, "last");
    EXPECT_LT(ms, 10000);
}

TEST(PageFile, LineEndsRoundTrip) {
    struct Case { std::string bytes; LineEnds ends; };
    const Case cases[] = {
        {"a\nb\n", LineEnds::Lf},
        {"a\r\nb\r\n", LineEnds::CrLf},
        {"a\r\nb\n", LineEnds::CrLf},     // mixed pages keep their bytes
        {"no breaks", LineEnds::CrLf},
        {"lone\rcr\n", LineEnds::Lf},
        {std::string("nul\0byte\n", 9), LineEnds::Lf},
    };
    for (const auto& c : cases) {
        const PageText page = ToDocumentText(c.bytes);
        EXPECT_EQ(page.ends, c.ends);
        EXPECT_EQ(ToFileBytes(page.text, page.ends), c.bytes);
    }
    EXPECT_EQ(ToDocumentText("a\nb").text, "a\r\nb");
}

TEST(PageFile, ReadErrorsNameTheFile) {
    const FileRead missing = ReadWholeFile("/nonexistent/page.htm");
    EXPECT_FALSE(missing.ok);
    EXPECT_NE(missing.error.find("/nonexistent/page.htm"), std::string::npos);
    const FileRead dir = ReadWholeFile("/tmp");
    EXPECT_FALSE(dir.ok);
}

TEST(LoadPage, DocumentStateAfterLoad) {
    const auto path = std::filesystem::temp_directory_path() / "veskaron_loadpage_test.htm";
    {
        std::ofstream out(path, std::ios::binary);
        out << "<head>\n<meta name=\"author\" content=\"Ann\">\n</head>\n";
    }
    Document doc;
    const PageLoad load = LoadPage(doc, path.string(), Options());
    ASSERT_TRUE(load.fileOk);
    EXPECT_EQ(doc.page.ends, LineEnds::Lf);
    EXPECT_EQ(doc.fields.Author, "Ann");
    EXPECT_FALSE(doc.modified);
    doc.fields.Author = "Ann ";
    doc.Update();
    EXPECT_FALSE(doc.modified) << "a trailing blank is not a change";
    doc.fields.Author = "Anna";
    doc.Update();
    EXPECT_TRUE(doc.modified);
    doc.fields.Author = "Ann";
    doc.Update();
    EXPECT_TRUE(doc.modified) << "stays modified until the next snapshot";
    std::filesystem::remove(path);
    Document other;
    EXPECT_FALSE(LoadPage(other, path.string(), Options()).fileOk);
}

// The load keeps its whole reading of the head's other tags, structured data
// included, in the page's own characters: nobody reads them a second time.
TEST(LoadPage, KeepsTheHeadsOtherTags) {
    const auto path = std::filesystem::temp_directory_path() / "veskaron_loadpage_modern.htm";
    {
        std::ofstream out(path, std::ios::binary);
        out << "<html lang=\"ru\"><head><meta charset=\"koi8-r\"><title>t</title>\n"
               "<link rel=\"canonical\" href=\"https://a.ru/\">\n"
               "<script type=\"application/ld+json\">{\"@type\": \"Product\", \"name\": \"\xF4\xCF\xD7\xC1\xD2\"}</script>\n"
               "<script type=\"application/ld+json\">{broken</script>\n</head><body></body></html>\n";
    }
    Document doc;
    const PageLoad load = LoadPage(doc, path.string(), Options());
    std::filesystem::remove(path);
    ASSERT_TRUE(load.fileOk);
    const ModernHead& head = load.report.modernHead;
    EXPECT_EQ(head.fields, doc.modern);
    EXPECT_EQ(head.fields[kCanonical], "https://a.ru/");
    EXPECT_EQ(head.htmlLang, "ru");
    ASSERT_EQ(head.jsonLd.size(), 2u);
    EXPECT_TRUE(head.jsonLd[0].valid);
    EXPECT_EQ(head.jsonLd[0].type, "Product");
    EXPECT_FALSE(head.jsonLd[1].valid);
    const ModernHead again = ReadModernHead(doc.page.text, doc.codec.get());
    EXPECT_EQ(again.jsonLd.size(), head.jsonLd.size());
    EXPECT_EQ(again.hreflang.size(), head.hreflang.size());
}

// The refresh box is the page's, whatever the page before it had: a save then
// keeps the page's tag and adds none it lacks.
TEST(Loader, RefreshFollowsThePage) {
    struct Case {
        const char* name;
        const char* head;
        bool on;
        int seconds;
        const char* url;
    } cases[] = {
        {"delay and address", "<meta http-equiv=\"refresh\" content=\"10; url=Next.htm\">\r\n", true, 10, "Next.htm"},
        {"instant", "<meta http-equiv=\"refresh\" content=\"0; url=/new/\">\r\n", true, 0, "/new/"},
        {"no tag", "", false, 5, ""},
        {"delay alone", "<meta http-equiv=\"refresh\" content=\"30\">\r\n", true, 30, ""},
        {"no delay", "<meta http-equiv=\"refresh\" content=\"soon\">\r\n", false, 5, ""},
        {"delay out of range", "<meta http-equiv=\"refresh\" content=\"99999999;url=a.htm\">\r\n", true, 9999999, "a.htm"},
    };
    for (bool before : {false, true}) {
        for (const Case& c : cases) {
            MetaFields f;
            f.RefreshOn = before;
            f.SetRefreshSeconds(77);
            f.RefreshUrl = "previous.htm";
            const LoadReport r = Load(Page(c.head), f);
            ASSERT_TRUE(r.ok) << c.name;
            EXPECT_EQ(f.RefreshOn, c.on) << c.name;
            EXPECT_EQ(f.RefreshSeconds, c.seconds) << c.name;
            EXPECT_EQ(f.RefreshUrl, c.url) << c.name;
            EXPECT_EQ(r.refreshUrlEnabled, c.on) << c.name;
        }
    }
}
