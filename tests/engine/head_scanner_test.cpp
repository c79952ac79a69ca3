#include <gtest/gtest.h>

#include "engine/head_scanner.h"

using namespace veskaron;

namespace {

struct Scan {
    HeadScanner scanner;
    explicit Scan(std::string_view text) {
        scanner.CollectHead(text);
        scanner.SplitMetaTags();
    }
};

}  // namespace

TEST(HeadScanner, LookupTable) {
    struct Case { const char* page; bool byName; const char* key; const char* expected; };
    const Case cases[] = {
        {"<head><title>T</title><meta name=\"author\" content=\"A\"></head>", true, "author", "A"},
        {"<HEAD>\r\n<META NAME=\"AUTHOR\" CONTENT=\"Ann\">\r\n</HEAD>", true, "author", "Ann"},
        {"<head lang=\"ru\">\r\n<meta name=\"author\" content=\"A\">\r\n</head>", true, "author", "A"},
        {"<head>\r\n</head>\r\n<meta name=\"author\" content=\"A\">", true, "author", ""},
        {"<head>\r\n<meta name=robots content=noindex>\r\n</head>", true, "robots", "noindex"},
        {"<head>\r\n<meta content=\"x y\" name=\"description\">\r\n</head>", true, "description", "x y"},
        {"<head>\r\n<meta name=\"keywords\" content=\"\">\r\n</head>", true, "keywords", ""},
        {"<head>\r\n<meta name=\"d\" content=\"Tom &amp; Jerry &lt;TJ&gt; &copy; 2003\">\r\n</head>",
         true, "d", "Tom & Jerry <TJ> (c) 2003"},
        {"<head>\r\n<meta http-equiv=\"d\" content=\"Tom &amp; Jerry\">\r\n</head>", false, "d",
         "Tom &amp; Jerry"},
        {"<head>\r\n<meta name=\"d\" content=\"&amp;lt; &quot;q&quot;\">\r\n</head>", true, "d", "&lt; \"q\""},
        {"<head>\r\n<meta name=\"description\"\r\ncontent=\"abc\"\r\n>\r\n</head>", true, "description", "abc"},
        {"<head>\r\n<meta name=\"author\" content=\"A\">\r\n</head>", true, "auth", ""},
        {"<head>\r\n<meta name=urls content=x >\r\n</head>", true, "url", "x"},
        // Quotes and blanks as HTML reads them.
        {"<head>\r\n<meta name=\"a\" content = \"x\">\r\n</head>", true, "a", "x"},
        {"<head>\r\n<meta name=\"a\" content='x y'>\r\n</head>", true, "a", "x y"},
        {"<head>\r\n<meta name='keywords' content='монтаж, ГОСТ'>\r\n</head>", true, "keywords", "монтаж, ГОСТ"},
        {"<head>\r\n<meta name = robots data-content=\"x\" content=all>\r\n</head>", true, "robots", "all"},
        // Comments, scripts and styles hold text, not tags.
        {"<head>\r\n<!-- <meta name=\"robots\" content=\"noindex\"> -->\r\n</head>", true, "robots", ""},
        {"<head><script>var s='<meta name=\"a\" content=\"s\">';</scripts></script><meta name=\"a\" content=\"t\"></head>",
         true, "a", "t"},
        {"<head><style>/*<meta name=\"a\" content=\"s\">*/</style ><meta name=\"a\" content=\"t\"></head>", true, "a", "t"},
        {"<head><meta name=\"b\" content=\"<!--\"><meta name=\"a\" content=\"t\"></head>", true, "a", "t"},
        {"<head><!-- unclosed <meta name=\"a\" content=\"s\"></head>", true, "a", ""},
        {"<head><!--><meta name=\"a\" content=\"t\"><!---><meta name=\"b\" content=\"u\"></head>", true, "b", "u"},
        {"<head>\r\n<meta name=\"a\" content=\"x>y\">\r\n</head>", true, "a", "x"},
        {"<head>\r\n<meta name=\"a\" content=\"unclosed>\r\n</head>", true, "a", "unclosed"},
        // Unclosed head: every line after <head> belongs to it.
        {"<head>\r\n<title>x</title>\r\n<meta name=\"a\" content=\"v\">", true, "a", "v"},
        // A tag never closed is never added.
        {"<head>\r\n<meta name=\"a\" content=\"v\"\r\n</head>", true, "a", ""},
        // content= at the very end of the text.
        {"<head>\r\n<meta name=\"a\" content=", true, "a", ""},
        {"<head><meta name=\"a\" content=>", true, "a", ""},
        {"", true, "a", ""},
    };
    for (const auto& c : cases) {
        Scan s(c.page);
        const std::string v = c.byName ? s.scanner.NameContent(c.key) : s.scanner.HttpEquivContent(c.key);
        EXPECT_EQ(v, c.expected) << c.page;
    }
}

TEST(HeadScanner, FirstMatchWinsAndIsConsumed) {
    Scan s("<head>\r\n<meta name=\"author\" content=\"first\"><meta name=\"author\" content=\"second\">\r\n</head>");
    EXPECT_EQ(s.scanner.MetaTags().size(), 2u);
    EXPECT_EQ(s.scanner.NameContent("author"), "first");
    EXPECT_EQ(s.scanner.NameContent("author"), "second");
    EXPECT_EQ(s.scanner.NameContent("author"), "");
}

TEST(FindHead, StartAndEndTagsAsPagesWriteThem) {
    struct Case { const char* page; bool found, closed; const char* inside; };
    const Case cases[] = {
        {"x\r\n<head>abc\r\nend</head>tail", true, true, "abc\r\nend"},
        {"<HTML\n><HEAD\n><TITLE\n>T</TITLE\n></HEAD\n><BODY\n>", true, true, "<TITLE\n>T</TITLE\n>"},
        {"<head profile=\"http://gmpg.org/xfn/11\">\n<title>T</title>\n</head>", true, true, "\n<title>T</title>\n"},
        {"<head lang=ru><title>T</title></head >", true, true, "<title>T</title>"},
        {"<body><header>h</header><heading>x</heading></body>", false, false, ""},
        {"<header></header><head>in</head>", true, true, "in"},
        {"<head>\r\n<meta name=\"a\" content=\"A\">", true, false, "\r\n<meta name=\"a\" content=\"A\">"},
        {"<head", false, false, ""},
        // A "</head>" before the head does not end it.
        {"</head><head>in</head>", true, true, "in"},
    };
    for (const auto& c : cases) {
        const std::string_view text = c.page;
        const HeadRange h = FindHead(text);
        EXPECT_EQ(h.found, c.found) << c.page;
        EXPECT_EQ(h.closed, c.closed) << c.page;
        if (h.found) {
            EXPECT_EQ(text.substr(h.begin, h.end - h.begin), c.inside) << c.page;
        }
    }
}

// Heads as generators write them, and broken ones: every tag of the
// head is read wherever its lines break.
TEST(HeadScanner, RealAndBrokenHeads) {
    struct Case { const char* name; const char* page; const char* title; const char* key; const char* value; };
    const Case cases[] = {
        {"DocBook", "<HTML\n><HEAD\n><TITLE\n>Users and Groups</TITLE\n><META\nNAME=\"GENERATOR\"\n"
                    "CONTENT=\"Modular DocBook HTML Stylesheet Version 1.79\"></HEAD\n><BODY\n>",
         "Users and Groups", "generator", "Modular DocBook HTML Stylesheet Version 1.79"},
        {"profile", "<head profile=\"http://gmpg.org/xfn/11\">\r\n<meta name=\"author\" content=\"A\" />\r\n"
                    "<title>Blog</title>\r\n</head>", "Blog", "author", "A"},
        {"header in the body", "<head></head><body><header><meta name=\"author\" content=\"no\"></header>",
         "", "author", ""},
        {"tag split before the next on its line",
         "<head>\r\n<meta name=\"description\"\r\n content=\"Descr one\"><meta name=\"keywords\" content=\"k\">\r\n</head>",
         "", "description", "Descr one"},
        {"key inside a quoted value",
         "<head>\r\n<meta name=\"url\" content=\"http://x.ru/find?name=keywords&q=1\">\r\n</head>", "", "keywords", ""},
        {"key inside a single-quoted value",
         "<head>\r\n<meta content='name=author' name=\"x\">\r\n</head>", "", "author", ""},
        {"tag on the line of </head><head>",
         "<head>\r\n<meta name=\"author\" content=\"A\"></head><head>\r\n</head>", "", "author", "A"},
        {"title overlapping <head>", "<title><head></title></head>", "<head>", "author", ""},
        {"title closed only after </head>",
         "<head><title>T\r\n</head><body><svg><title>s</title></svg></body>", "T\r\n", "author", ""},
        {"title in the body", "<head></head><body><title>in body</title>", "in body", "author", ""},
    };
    for (const auto& c : cases) {
        HeadScanner s;
        s.Scan(c.page);
        EXPECT_EQ(FindTitle(c.page), c.title) << c.name;
        EXPECT_EQ(s.NameContent(c.key), c.value) << c.name;
    }
    HeadScanner s;
    s.Scan("<head>\r\n<meta name=\"url\" content=\"http://x.ru/find?name=keywords&q=1\">\r\n</head>");
    EXPECT_EQ(s.NameContent("url"), "http://x.ru/find?name=keywords&q=1");
}

TEST(HeadScanner, ASecondScanReadsTheSameTags) {
    // Cutting "<meta >" out of "<m<meta >eta" must not make a tag of the rest.
    const std::string page = "<head>\r\n<m<meta >eta name=author content=fake>\r\n"
                             "<meta name=author content=real>\r\n</head>";
    HeadScanner s;
    for (int pass = 0; pass < 2; ++pass) {
        s.Scan(page);
        EXPECT_EQ(s.MetaTags().size(), 2u);
        EXPECT_EQ(s.NameContent("author"), "real") << pass;
    }
    s.SplitMetaTags();
    EXPECT_EQ(s.NameContent("author"), "real");
}

TEST(HeadScanner, MultiLineTagJoinedWithoutBreaks) {
    Scan s("<head>\r\n<meta name=\"d\"\r\n content=\"abc\"\r\n>\r\n</head>");
    ASSERT_EQ(s.scanner.MetaTags().size(), 1u);
    EXPECT_EQ(s.scanner.MetaTags()[0], "meta name=\"d\" content=\"abc\"");
}

TEST(FindTitle, Cases) {
    EXPECT_EQ(FindTitle("<TITLE>Hello</Title>"), "Hello");
    EXPECT_EQ(FindTitle("<title>a\r\nb</title>"), "a\r\nb");
    EXPECT_EQ(FindTitle("<title>open to the end"), "open to the end");
    EXPECT_EQ(FindTitle("<body><title>in body</title>"), "in body");
    EXPECT_EQ(FindTitle("no title"), "");
    EXPECT_EQ(FindTitle("<title>"), "");
}

TEST(SplitEditorLines, LineEnds) {
    EXPECT_EQ(SplitEditorLines("a\r\nb\nc\rd").size(), 4u);
    EXPECT_EQ(SplitEditorLines("a\r\n").size(), 1u);
    EXPECT_EQ(SplitEditorLines("").size(), 0u);
}
