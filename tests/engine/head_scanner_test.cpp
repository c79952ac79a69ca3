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
        {"<head lang=\"ru\">\r\n<meta name=\"author\" content=\"A\">\r\n</head>", true, "author", ""},
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
        {"<head>\r\n<meta name=\"a\" content = \"x\">\r\n</head>", true, "a", ""},
        {"<head>\r\n<meta name=\"a\" content='x y'>\r\n</head>", true, "a", "'x"},
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

TEST(HeadScanner, CollectHeadLines) {
    HeadScanner h;
    h.CollectHead("x\r\n<head>abc\r\nmid\r\nend</head>tail\r\nafter");
    const std::vector<std::string> expected = {"abc", "mid", "end"};
    EXPECT_EQ(h.HeadLines(), expected);
    HeadScanner one;
    one.CollectHead("<head><title>T</title></head>");
    EXPECT_EQ(one.HeadLines(), std::vector<std::string>{"<title>T</title>"});
}

TEST(HeadScanner, SplitLeavesNoTagsForASecondSplit) {
    HeadScanner h;
    h.CollectHead("<head>\r\n<meta name=\"a\" content=\"1\"> text <meta name=\"b\"\r\ncontent=\"2\">\r\n</head>");
    h.SplitMetaTags();
    EXPECT_EQ(h.MetaTags().size(), 2u);
    h.SplitMetaTags();
    EXPECT_TRUE(h.MetaTags().empty());
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
