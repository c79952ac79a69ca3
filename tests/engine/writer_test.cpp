#include <gtest/gtest.h>

#include <chrono>
#include <functional>

#include "engine/loader.h"
#include "engine/writer.h"

using namespace veskaron;

namespace {

MetaFields Empty() { return FreshFields({{2026, 12, 7}, {10, 22, 31}}); }

std::string RunWriter(std::string text, const MetaFields& f, MetaWriteOptions o = {}) {
    const WriteResult r = WriteMetaBlock(text, f, o);
    EXPECT_TRUE(r.Done()) << static_cast<int>(r.refusal);
    return text;
}

const std::string kExampleHead =
    "<html>\r\n<head>\r\n<title>Old</title>\r\n<meta name=\"keywords\" content=\"old\">\r\n"
    "</head>\r\n<body>x</body>\r\n</html>\r\n";

MetaFields ExampleFields() {
    MetaFields f = Empty();
    f.Title = "Home page";
    f.Author = "Web studio";
    f.Description = "Garden tools shop";
    f.Keywords = "garden, tools";
    f.Robots = 2;
    f.ContentTypeOn = true;
    f.ContentType = 1;
    f.Charset = 2;
    return f;
}

}  // namespace

TEST(WriteMetaBlock, WorkedExample) {
    EXPECT_EQ(RunWriter(kExampleHead, ExampleFields()),
              "<html>\r\n<head><title>Home page</title>\r\n"
              "<meta name=\"author\" content=\"Web studio\" >\r\n"
              "<meta name=\"description\" content=\"Garden tools shop\" >\r\n"
              "<meta name=\"keywords\" content=\"garden, tools\" >\r\n"
              "<meta name=\"robots\" content=\"all\" >\r\n"
              "<meta http-equiv=\"content-type\" content=\"text/html; charset=windows-1251\">\r\n"
              "</head>\r\n<body>x</body>\r\n</html>\r\n");
}

TEST(WriteMetaBlock, WorkedExampleContentFirstOnOneLine) {
    MetaWriteOptions o;
    o.attributeOrder = AttributeOrder::ContentFirst;
    o.lineMode = LineMode::OneLine;
    EXPECT_EQ(RunWriter(kExampleHead, ExampleFields(), o),
              "<html>\r\n<head><title>Home page</title>"
              "<meta content=\"Web studio\" name=\"author\" >"
              "<meta content=\"Garden tools shop\" name=\"description\" >"
              "<meta content=\"garden, tools\" name=\"keywords\" >"
              "<meta content=\"all\" name=\"robots\" >"
              "<meta content=\"text/html; charset=windows-1251\" http-equiv=\"content-type\">\r\n"
              "</head>\r\n<body>x</body>\r\n</html>\r\n");
}

struct LineCase {
    const char* name;
    int index;
    std::function<void(MetaFields&)> set;
    const char* keyFirst;      // empty: the entry writes no line
    const char* contentFirst;
};

TEST(BuildEntryLine, EveryEntryInBothAttributeOrders) {
    const LineCase cases[] = {
        {"empty title", kTitle, [](MetaFields&) {}, "<title></title>", "<title></title>"},
        {"author", kAuthor, [](MetaFields& f) { f.Author = "Ann"; },
         R"~(<meta name="author" content="Ann" >)~", R"~(<meta content="Ann" name="author" >)~"},
        {"author too short", kAuthor, [](MetaFields& f) { f.Author = "An"; }, "", ""},
        {"copyright", kCopyright, [](MetaFields& f) { f.Copyright = "(c) X"; },
         R"~(<meta name="copyright" content="(c) X" >)~", R"~(<meta content="(c) X" name="copyright" >)~"},
        {"description joined", kDescription, [](MetaFields& f) { f.Description = "ab\r\ncd\r\nef"; },
         R"~(<meta name="description" content="abcdef" >)~", R"~(<meta content="abcdef" name="description" >)~"},
        {"description 2 after join", kDescription, [](MetaFields& f) { f.Description = "a\r\nb"; }, "", ""},
        {"keywords of 2", kKeywords, [](MetaFields& f) { f.Keywords = "ab"; },
         R"~(<meta name="keywords" content="ab" >)~", R"~(<meta content="ab" name="keywords" >)~"},
        {"robots 3", kRobots, [](MetaFields& f) { f.Robots = 3; },
         R"~(<meta name="robots" content="index,nofollow" >)~",
         R"~(<meta content="index,nofollow" name="robots" >)~"},
        {"robots none selected", kRobots, [](MetaFields& f) { f.Robots = 0; }, "", ""},
        {"revisit", kRevisitAfter, [](MetaFields& f) { f.RevisitCount = 14; f.RevisitUnit = 2; },
         R"~(<meta name="revisit-after" content="14 weeks" >)~",
         R"~(<meta content="14 weeks" name="revisit-after" >)~"},
        {"generator", kGenerator, [](MetaFields& f) { f.Generator = "Gen"; },
         R"~(<meta name="generator" content="Gen" >)~", R"~(<meta content="Gen" name="generator" >)~"},
        {"progid", kProgId, [](MetaFields& f) { f.ProgId = "Word.Document"; },
         R"~(<meta name="progid" content="Word.Document" >)~",
         R"~(<meta content="Word.Document" name="progid" >)~"},
        {"distribution", kDistribution, [](MetaFields& f) { f.Distribution = 2; },
         R"~(<meta name="distribution" content="local" >)~", R"~(<meta content="local" name="distribution" >)~"},
        {"url", kUrl, [](MetaFields& f) { f.Url = "http://a.b/"; },
         R"~(<meta name="url" content="http://a.b/" >)~", R"~(<meta content="http://a.b/" name="url" >)~"},
        {"cache", kCacheControl, [](MetaFields& f) { f.CacheControl = 3; },
         R"~(<meta http-equiv="cache-control" content="no-store" >)~",
         R"~(<meta content="no-store" http-equiv="cache-control" >)~"},
        {"pragma", kPragma, [](MetaFields& f) { f.Pragma = 1; },
         R"~(<meta http-equiv="pragma" content="no-cache" >)~",
         R"~(<meta content="no-cache" http-equiv="pragma" >)~"},
        {"refresh short url", kRefresh, [](MetaFields& f) { f.RefreshOn = true; f.RefreshUrl = "a.h"; },
         R"~(<meta http-equiv="refresh" content="5" >)~", R"~(<meta content="5" http-equiv="refresh" >)~"},
        {"refresh blank url", kRefresh, [](MetaFields& f) { f.RefreshOn = true; f.RefreshUrl = "      "; },
         R"~(<meta http-equiv="refresh" content="5" >)~", R"~(<meta content="5" http-equiv="refresh" >)~"},
        {"refresh with url", kRefresh,
         [](MetaFields& f) { f.RefreshOn = true; f.SetRefreshSeconds(10); f.RefreshUrl = " a.ht "; },
         R"~(<meta http-equiv="refresh" content="10;url=a.ht">)~",
         R"~(<meta content="10;url=a.ht" http-equiv="refresh">)~"},
        {"refresh off", kRefresh, [](MetaFields& f) { f.RefreshUrl = "page.htm"; }, "", ""},
        {"expiries", kExpiries,
         [](MetaFields& f) { f.ExpiriesOn = true; f.ExpiriesText = "Mon, 07 Dec 2026 22:10:31 GMT"; },
         R"~(<meta http-equiv="expiries" content="Mon, 07 Dec 2026 22:10:31 GMT" >)~",
         R"~(<meta content="Mon, 07 Dec 2026 22:10:31 GMT" http-equiv="expiries" >)~"},
        {"content-type empty", kContentType, [](MetaFields& f) { f.ContentTypeOn = true; },
         R"~(<meta http-equiv="content-type" content="; charset=">)~",
         R"~(<meta content="; charset=" http-equiv="content-type">)~"},
        {"content-type no charset", kContentType,
         [](MetaFields& f) { f.ContentTypeOn = true; f.ContentType = 1; f.Charset = 0; },
         R"~(<meta http-equiv="content-type" content="text/html; charset=">)~",
         R"~(<meta content="text/html; charset=" http-equiv="content-type">)~"},
        {"language", kContentLanguage, [](MetaFields& f) { f.ContentLanguage = 1; },
         R"~(<meta http-equiv="content-language" content="ru" >)~",
         R"~(<meta content="ru" http-equiv="content-language" >)~"},
        {"location", kLocation, [](MetaFields& f) { f.Location = "/new/"; },
         R"~(<meta http-equiv="location" content="/new/" >)~",
         R"~(<meta content="/new/" http-equiv="location" >)~"},
        {"page-enter", kPageEnter,
         [](MetaFields& f) { f.PageEnter = {true, 3, 12}; },
         R"~(<meta http-equiv="page-enter" content="RevealTrans(Duration=3.0,Transition=12)" >)~",
         R"~(<meta content="RevealTrans(Duration=3.0,Transition=12)" http-equiv="page-enter" >)~"},
        {"site-exit without effect", kSiteExit,
         [](MetaFields& f) { f.SiteExit = {true, 0, -1}; },
         R"~(<meta http-equiv="site-exit" content="RevealTrans(Duration=0.0,Transition=23)" >)~",
         R"~(<meta content="RevealTrans(Duration=0.0,Transition=23)" http-equiv="site-exit" >)~"},
        {"page-exit off", kPageExit, [](MetaFields& f) { f.PageExit = {false, 3, 1}; }, "", ""},
    };
    for (const auto& c : cases) {
        MetaFields f = Empty();
        c.set(f);
        EXPECT_EQ(BuildEntryLine(c.index, f, AttributeOrder::KeyFirst), c.keyFirst) << c.name;
        EXPECT_EQ(BuildEntryLine(c.index, f, AttributeOrder::ContentFirst), c.contentFirst) << c.name;
    }
}

TEST(WriteMetaBlock, RefusalsLeaveTheTextUnchanged) {
    struct Case {
        const char* name;
        std::function<void(MetaFields&)> set;
        Refusal refusal;
    } cases[] = {
        {"negative refresh", [](MetaFields& f) { f.RefreshOn = true; f.RefreshSeconds = -1; },
         Refusal::NegativeRefresh},
        {"charset without type",
         [](MetaFields& f) { f.ContentTypeOn = true; f.ContentType = 0; f.Charset = 3; },
         Refusal::EmptyContentType},
        {"refresh is tested first",
         [](MetaFields& f) {
             f.RefreshOn = true; f.RefreshSeconds = -5;
             f.ContentTypeOn = true; f.Charset = 1;
         },
         Refusal::NegativeRefresh},
    };
    for (const auto& c : cases) {
        MetaFields f = ExampleFields();
        c.set(f);
        std::string text = kExampleHead;
        const WriteResult r = WriteMetaBlock(text, f, {});
        EXPECT_EQ(r.status, WriteStatus::Refused) << c.name;
        EXPECT_EQ(r.refusal, c.refusal) << c.name;
        EXPECT_EQ(text, kExampleHead) << c.name;
    }
    // Content-type off: a lone charset is no reason to refuse.
    MetaFields f = Empty();
    f.Charset = 3;
    std::string text = kExampleHead;
    EXPECT_TRUE(WriteMetaBlock(text, f, {}).Done());
}

// A written transition without an effect is written as 23 and the field takes
// that value; an effect that is off, or a refused run, leaves the fields alone.
TEST(WriteMetaBlock, TransitionWithoutEffectTakesEffect23) {
    MetaFields f = Empty();
    f.PageEnter = {true, 2, -1};
    f.PageExit = {false, 2, -1};
    f.SiteEnter = {true, 1, 5};
    std::string text = "<head></head>";
    ASSERT_TRUE(WriteMetaBlock(text, f, {}).Done());
    EXPECT_NE(text.find("content=\"RevealTrans(Duration=2.0,Transition=23)\" >"), std::string::npos);
    EXPECT_EQ(f.PageEnter.Effect, 23);
    EXPECT_EQ(f.PageExit.Effect, -1);
    EXPECT_EQ(f.SiteEnter.Effect, 5);

    MetaFields refused = f;
    refused.PageEnter.Effect = -1;
    refused.ContentTypeOn = true;
    refused.Charset = 2;
    text = "<head></head>";
    EXPECT_FALSE(WriteMetaBlock(text, refused, {}).Done());
    EXPECT_EQ(refused.PageEnter.Effect, -1);
}

TEST(WriteMetaBlock, OldTagRemoval) {
    struct Case {
        const char* name;
        std::string head;      // between <head> and </head>
        std::string expected;  // the same after a run with empty fields, block placed at the end
    } cases[] = {
        {"a repeated keywords tag goes too",
         "\r\n<meta name=\"keywords\" content=\"a\">\r\n<p>\r\n<meta name=\"keywords\" content=\"b\">\r\n",
         "\r\n<p>\r\n"},
        {"unquoted upper-case key", "\r\n<META NAME=Author CONTENT=\"x\">\r\n<p>\r\n", "\r\n<p>\r\n"},
        {"empty line after the tag goes too",
         "\r\n<meta name=\"author\" content=\"x\">\r\n\r\n<p>\r\n", "\r\n<p>\r\n"},
        {"tag in mid-line keeps the rest",
         "\r\n<p><meta http-equiv=\"pragma\" content=\"no-cache\"> rest\r\n", "\r\n<p> rest\r\n"},
        {"tag spanning lines",
         "\r\n<meta name=\"description\"\r\ncontent=\"abc\"\r\n>\r\n<p>\r\n", "\r\n<p>\r\n"},
        {"every catalogued tag",
         "\r\n<title>T</title>\r\n<meta name=\"robots\" content=\"all\">\r\n"
         "<meta http-equiv=\"refresh\" content=\"5; url=a.htm\">\r\n"
         "<meta content=\"x\" http-equiv=\"site-exit\">\r\n<link rel=\"x\">\r\n",
         "\r\n<link rel=\"x\">\r\n"},
        {"other tags stay", "\r\n<meta name=\"viewport\" content=\"w\">\r\n",
         "\r\n<meta name=\"viewport\" content=\"w\">\r\n"},
        {"match without a closing bracket in the head", "\r\nname=\"author\" and more\r\n",
         "\r\nname=\"author\" and more\r\n"},
    };
    for (const auto& c : cases) {
        MetaWriteOptions o;
        o.placement = Placement::BeforeHeadClose;
        const std::string tail = "</head>\r\n<body><input name=\"url\"></body>";
        const std::string out = RunWriter("<head>" + c.head + tail, Empty(), o);
        EXPECT_EQ(out, "<head>" + c.expected + "<title></title>" + tail) << c.name;
    }
}

TEST(WriteMetaBlock, BodyElementsAreNeverTakenForOldTags) {
    const std::string page =
        "<head>\r\n</head>\r\n<body><form><input name=\"url\" value=\"u\">"
        "<input name=author></form></body>\r\n";
    EXPECT_EQ(RunWriter(page, Empty()), "<head><title></title>\r\n</head>\r\n<body><form>"
                                  "<input name=\"url\" value=\"u\"><input name=author></form></body>\r\n");
}

TEST(WriteMetaBlock, PlacementAndRepeatedRuns) {
    MetaFields f = Empty();
    f.Title = "T";
    f.Author = "Ann";
    const std::string page = "<html><head>\r\n<title>x</title>\r\n</head>\r\n<body></body></html>";
    struct Case {
        int placement, lineMode;
        const char* expected;
    } cases[] = {
        {0, 0, "<html><head><title>T</title>\r\n<meta name=\"author\" content=\"Ann\" >\r\n</head>\r\n"
               "<body></body></html>"},
        {1, 0, "<html><head>\r\n<title>T</title>\r\n<meta name=\"author\" content=\"Ann\" ></head>\r\n"
               "<body></body></html>"},
        {1, 1, "<html><head>\r\n<title>T</title><meta name=\"author\" content=\"Ann\" ></head>\r\n"
               "<body></body></html>"},
    };
    for (const auto& c : cases) {
        MetaWriteOptions o;
        o.placement = static_cast<Placement>(c.placement);
        o.lineMode = static_cast<LineMode>(c.lineMode);
        const std::string once = RunWriter(page, f, o);
        EXPECT_EQ(once, c.expected) << c.placement << c.lineMode;
        EXPECT_EQ(RunWriter(once, f, o), once) << c.placement << c.lineMode;
    }
}

TEST(WriteMetaBlock, OnlyTheTitleFilled) {
    MetaFields f = Empty();
    f.Title = "Only";
    for (int mode : {0, 1}) {
        MetaWriteOptions o;
        o.lineMode = static_cast<LineMode>(mode);
        EXPECT_EQ(RunWriter("<head></head>", f, o), "<head><title>Only</title></head>");
    }
}

TEST(WriteMetaBlock, PageWithoutHeadIsRefusedUnchanged) {
    struct Case {
        std::string page;
        int placement;
        Refusal refusal;
    } cases[] = {
        {"<html><title>x</title><body><meta name=\"author\" content=\"a\"></body>", 0, Refusal::NoHead},
        {"<html><header></header></html>", 1, Refusal::NoHead},
        {"<html><head><title>x</title><body>", 1, Refusal::NoHeadEnd},
    };
    for (const auto& c : cases) {
        std::string text = c.page;
        MetaWriteOptions o;
        o.placement = static_cast<Placement>(c.placement);
        const WriteResult r = WriteMetaBlock(text, ExampleFields(), o);
        EXPECT_EQ(r.status, WriteStatus::Refused) << c.page;
        EXPECT_EQ(r.refusal, c.refusal);
        EXPECT_EQ(text, c.page);
    }
    // An unclosed head is fine at its start.
    EXPECT_EQ(RunWriter("<head>\r\n<meta name=\"url\" content=\"old\">\r\n<body>", Empty()),
              "<head><title></title>\r\n<body>");
}

TEST(WriteMetaBlock, OutputOrderAndBrokenOrders) {
    MetaFields f = Empty();
    f.Author = "Ann";
    f.Url = "u.htm";
    MetaWriteOptions o;
    o.order = DefaultOutputOrder();
    std::swap(o.order[0], o.order[10]);  // url first, title at position 10
    EXPECT_EQ(RunWriter("<head></head>", f, o),
              "<head><meta name=\"url\" content=\"u.htm\" >\r\n"
              "<meta name=\"author\" content=\"Ann\" >\r\n<title></title></head>");

    // Duplicates and out-of-range indices: each entry still handled exactly once.
    o.order.fill(1);
    o.order[3] = 99;
    const std::string out =
        RunWriter("<head><meta name=\"url\" content=\"x\"><meta name=\"author\" content=\"y\"></head>", f, o);
    EXPECT_EQ(out,
              "<head><meta name=\"author\" content=\"Ann\" >\r\n<title></title>\r\n"
              "<meta name=\"url\" content=\"u.htm\" ></head>");
}

TEST(Escaping, ValuesNeverBreakTheirTag) {
    EXPECT_EQ(EscapeNameValue(R"~(a "b" <c> &lt; &amp; &copy; &quot; &gt; &nbsp; AT&T &)~"),
              "a &quot;b&quot; &lt;c&gt; &amp;lt; &amp;amp; &amp;copy; &amp;quot; &amp;gt; "
              "&nbsp; AT&T &");
    EXPECT_EQ(EscapeHttpEquivValue(R"~(a"b<c>&amp;)~"), "a&quot;b&lt;c&gt;&amp;");
    EXPECT_EQ(EscapeTitle("a</TITLE>b</title c</HEAD>"), "a&lt;/TITLE>b&lt;/title c&lt;/HEAD>");
    EXPECT_EQ(EscapeTitle("</header></titles</title/</title"), "</header></titles&lt;/title/</title");
}

// What the user types into a field comes back from the page after a save and a
// reload, whatever characters it holds.
TEST(Escaping, TypedTextsReadBackAfterWriteAndLoad) {
    const std::string texts[] = {
        "Tom & Jerry <TJ>",
        "He said \"hi\" > there",
        "&lt;b&gt; &amp;lt; &copy; &quot;q&quot; &#169; &nbsp;",
        "x &amp; y",
        "\xCF\xF0\xE8\xE2\xE5\xF2 \"\xEC\xE8\xF0\"",
        "name=\"author\" content=\"z\"",
        "a>b<meta name=\"keywords\" content=\"k\">",
    };
    for (int order : {0, 1}) {
        for (const std::string& t : texts) {
            MetaFields f = Empty();
            // The title is read back raw, so tag-like text in it stays out.
            const bool tagLike = t.find("name=") != std::string::npos;
            f.Title = tagLike ? "T" : t;
            f.Author = t;
            f.Copyright = t;
            f.Description = t;
            f.Keywords = t;
            f.Generator = t;
            f.ProgId = t;
            f.Url = t;
            f.Location = "/loc?a=1&b=2";
            f.RefreshOn = true;
            f.RefreshUrl = "page.htm?x=&amp;";
            MetaWriteOptions o;
            o.attributeOrder = static_cast<AttributeOrder>(order);
            std::string text = "<html><head>\r\n</head><body></body></html>";
            ASSERT_TRUE(WriteMetaBlock(text, f, o).Done());
            // A second run over its own output must find and replace every tag.
            ASSERT_TRUE(WriteMetaBlock(text, f, o).Done());

            MetaFields back = Empty();
            const LoadReport r = LoadDocumentText(text, back, {});
            ASSERT_TRUE(r.ok) << r.error;
            EXPECT_EQ(back.Title, f.Title) << order;
            EXPECT_EQ(back.Author, t) << order;
            EXPECT_EQ(back.Copyright, t);
            EXPECT_EQ(back.Description, t);
            EXPECT_EQ(back.Keywords, t);
            EXPECT_EQ(back.Generator, t);
            EXPECT_EQ(back.ProgId, t);
            EXPECT_EQ(back.Url, t);
            EXPECT_EQ(back.Location, f.Location);
            EXPECT_EQ(back.RefreshUrl, f.RefreshUrl);
            std::size_t tags = 0;
            for (auto at = text.find("name=\"author\""); at != std::string::npos;
                 at = text.find("name=\"author\"", at + 1))
                ++tags;
            EXPECT_EQ(tags, 1u) << "one author tag after two runs";
        }
    }
}

TEST(WriteMetaBlock, LargePageIsLinear) {
    std::string body;
    body.reserve(10u << 20);
    while (body.size() < (10u << 20)) body += "<p>Some text <input name=\"url\"> here</p>\r\n";
    std::string head = "<html><head>\r\n<title>Old</title>\r\n";
    for (int i = 0; i < 22; ++i) head += "<meta name=\"author\" content=\"x\">\r\n";
    std::string text = head + "</head>\r\n<body>\r\n" + body + "</body></html>";
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(WriteMetaBlock(text, ExampleFields(), {}).Done());
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(ms, 2000);
    const std::string tail = body + "</body></html>";
    ASSERT_GT(text.size(), tail.size());
    EXPECT_EQ(text.compare(text.size() - tail.size(), tail.size(), tail), 0);
}

TEST(WriteMetaBlock, UnclosedTitleIsRefusedAndNothingIsCopied) {
    // Read back, such a title is the whole rest of the page: writing it would
    // put a second copy of the body into the head.
    const std::string page = "<html><head><title>Typo</titel>\r\n</head>\r\n<body>text</body></html>\r\n";
    std::string text = page;
    MetaFields f;
    f.Title = "Typo</titel>\r\n</head>\r\n<body>text</body></html>\r\n";
    const WriteResult r = WriteMetaBlock(text, f, MetaWriteOptions{});
    EXPECT_FALSE(r.Done());
    EXPECT_EQ(r.refusal, Refusal::UnclosedTitle);
    EXPECT_EQ(text, page);
    // A "</title>" after the head (an inline picture's title) does not close it.
    const std::string svg = "<head><title>T\r\n</head><body><svg><title>s</title></svg></body>";
    text = svg;
    EXPECT_EQ(WriteMetaBlock(text, f, MetaWriteOptions{}).refusal, Refusal::UnclosedTitle);
    EXPECT_EQ(text, svg);
}

TEST(RemoveMetaTag, TextOutsideATagIsNotTakenForOne) {
    // The first match stands in plain text after a tag: removing "from the
    // nearest <" would delete that other tag and the text with it.
    std::string text =
        "<head>\r\n<meta name=\"robots\" content=\"all\"> see name=\"author\" here>\r\n"
        "<meta name=\"author\" content=\"A\">\r\n</head>";
    EXPECT_TRUE(RemoveMetaTag(text, "name", "author"));
    EXPECT_EQ(text, "<head>\r\n<meta name=\"robots\" content=\"all\"> see name=\"author\" here>\r\n</head>");
}
