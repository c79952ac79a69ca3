// Real-shaped and broken heads through a save: the bytes the writer leaves,
// the fields a load reads back from them, and a second run that changes
// nothing.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "engine/loader.h"
#include "engine/modern_head.h"
#include "engine/writer.h"

using namespace veskaron;

namespace {

const DateTime kNow{{2026, 12, 7}, {10, 22, 31}};

MetaFields Read(std::string text) {
    MetaFields f = FreshFields(kNow);
    LoadOptions o;
    o.now = kNow;
    LoadDocumentText(text, f, o);
    return f;
}

struct Case {
    const char* name;
    std::string page;
    std::function<void(MetaFields&)> edit;  // applied to the fields read from the page
    int placement;
    std::string expected;  // the page after the run
};

}  // namespace

TEST(WriterHeads, PageInFieldsAndBytesOut) {
    const Case cases[] = {
        {"DocBook head",
         "<HTML\n><HEAD\n><TITLE\n>Users</TITLE\n><META\nNAME=\"GENERATOR\"\nCONTENT=\"DocBook 1.79\"></HEAD\n><BODY\n>b</BODY\n></HTML\n>\n",
         [](MetaFields& f) { f.Description = "New description"; }, 0,
         "<HTML\n><HEAD\n><title>Users</title>\r\n<meta name=\"description\" content=\"New description\" >\r\n"
         "<meta name=\"generator\" content=\"DocBook 1.79\" ></HEAD\n><BODY\n>b</BODY\n></HTML\n>\n"},
        {"DocBook head, block at the end",
         "<HTML\n><HEAD\n><TITLE\n>Users</TITLE\n><META\nNAME=\"GENERATOR\"\nCONTENT=\"DocBook 1.79\"></HEAD\n><BODY\n>",
         [](MetaFields& f) { f.Description = "New description"; }, 1,
         "<HTML\n><HEAD\n><title>Users</title>\r\n<meta name=\"description\" content=\"New description\" >\r\n"
         "<meta name=\"generator\" content=\"DocBook 1.79\" ></HEAD\n><BODY\n>"},
        {"head with a profile",
         "<head profile=\"http://gmpg.org/xfn/11\">\r\n<title>Blog</title>\r\n<meta name=\"author\" content=\"A\" />\r\n"
         "<link rel=\"pingback\" href=\"/x\" />\r\n</head>\r\n<body><header>h</header></body>",
         [](MetaFields& f) { f.Author = "Ann B"; }, 0,
         "<head profile=\"http://gmpg.org/xfn/11\"><title>Blog</title>\r\n<meta name=\"author\" content=\"Ann B\" >\r\n"
         "<link rel=\"pingback\" href=\"/x\" />\r\n</head>\r\n<body><header>h</header></body>"},
        {"repeated author tags all go",
         "<head>\r\n<title>T</title>\r\n<meta name=\"author\" content=\"Old One\">\r\n<link>\r\n"
         "<meta name=\"author\" content=\"Old Two\">\r\n</head>",
         [](MetaFields& f) { f.Author = "New Author"; }, 1,
         "<head>\r\n<link>\r\n<title>T</title>\r\n<meta name=\"author\" content=\"New Author\" ></head>"},
        {"a cleared author leaves no repeat behind",
         "<head>\r\n<meta name=\"author\" content=\"Old One\">\r\n<meta name=\"author\" content=\"Old Two\">\r\n</head>",
         [](MetaFields& f) { f.Author.clear(); }, 1, "<head>\r\n<title></title></head>"},
        {"charset declared in a catalogued tag",
         "<head>\r\n<meta name=\"url\" charset=koi8-r content=\"http://a.ru/\">\r\n</head>",
         [](MetaFields& f) { f.Url = "http://b.ru/"; }, 1,
         "<head>\r\n<meta charset=\"koi8-r\">\r\n<title></title>\r\n<meta name=\"url\" content=\"http://b.ru/\" ></head>"},
        {"tag left open before </head>",
         "<head>\r\n<title>T</title>\r\n<meta name=\"x\" content=\"y\"\r\n</head>",
         [](MetaFields& f) { f.Author = "Ann B"; }, 1,
         "<head>\r\n<title>T</title>\r\n<meta name=\"author\" content=\"Ann B\" ><meta name=\"x\" content=\"y\"\r\n</head>"},
        {"title start left open before </head>",
         "<head>\r\n<meta name=\"x\" content=\"y\">\r\n<title\r\n</head>",
         [](MetaFields& f) { f.Title = "New"; }, 1,
         "<head>\r\n<meta name=\"x\" content=\"y\">\r\n<title>New</title><title\r\n</head>"},
        {"title overlapping <head>", "<title><head></title></head>", [](MetaFields& f) { f.Title = "New"; }, 0,
         "<head><title>New</title></head>"},
        {"tag split over lines before the next on its line",
         "<head>\r\n<meta name=\"description\"\r\n content=\"Descr one\"><meta name=\"keywords\" content=\"kw\">\r\n</head>",
         [](MetaFields& f) { f.Title = "T"; }, 0,
         "<head><title>T</title>\r\n<meta name=\"description\" content=\"Descr one\" >\r\n"
         "<meta name=\"keywords\" content=\"kw\" >\r\n</head>"},
        {"another tag's key inside a value",
         "<head>\r\n<meta name=\"url\" content=\"http://x.ru/find?name=keywords&q=1\">\r\n</head>",
         [](MetaFields& f) { f.Keywords = "a, b"; }, 0,
         "<head><title></title>\r\n<meta name=\"keywords\" content=\"a, b\" >\r\n"
         "<meta name=\"url\" content=\"http://x.ru/find?name=keywords&q=1\" >\r\n</head>"},
        {"tag on the line of </head><head>",
         "<head>\r\n<meta name=\"author\" content=\"A\"></head><head>\r\n</head>",
         [](MetaFields& f) { f.Author = "Ann B"; }, 1,
         "<head>\r\n<title></title>\r\n<meta name=\"author\" content=\"Ann B\" ></head><head>\r\n</head>"},
        {"blank lines of the head",
         "<head>\r\n<title>T</title>\r\n\r\n\r\n\r\n\r\n<link>\r\n</head>", [](MetaFields&) {}, 0,
         "<head><title>T</title>\r\n\r\n\r\n\r\n<link>\r\n</head>"},
        {"two titles in the head", "<head>\r\n<title>One</title>\r\n<title>Two</title>\r\n</head>",
         [](MetaFields& f) { f.Title = "New"; }, 1, "<head>\r\n<title>New</title></head>"},
        {"a tag inside the title is its text",
         "<head><title>a <meta name=\"author\" content=\"x\"> b</title>\r\n<meta name=\"author\" content=\"Real\">\r\n</head>",
         [](MetaFields&) {}, 0,
         "<head><title>a <meta name=\"author\" content=\"x\"> b</title>\r\n<meta name=\"author\" content=\"Real\" >\r\n</head>"},
        {"a tag without its '>' runs into the title",
         "<head>\r\n<meta charset=\"koi8-r\"\r\n<title>T</title>\r\n</head>", [](MetaFields& f) { f.Title = "New"; }, 0,
         "<head><title>New</title>\r\n<meta charset=\"koi8-r\"\r\n>\r\n</head>"},
        {"a removed tag with a charset runs into the title",
         "<head>\r\n<meta http-equiv=\"content-type\" charset=\"koi8-r\"\r\n<title>T</title>\r\n</head>",
         [](MetaFields& f) { f.Title = "New"; }, 0, "<head><title>New</title>\r\n<meta charset=\"koi8-r\">\r\n</head>"},
        {"a removed tag with a charset inside the old title",
         "<head>\r\n<title\r\n<meta name=\"x\" content=\"y\">\r\n<meta http-equiv=\"page-enter\" charset=\"koi8-r\">T</title>\r\n</head>",
         [](MetaFields& f) { f.Title = "New"; }, 0, "<head><title>New</title>\r\n<meta charset=\"koi8-r\">\r\n</head>"},
        {"a charset in the title's start tag outlives the title", "<head><title\n<meta charset=ISO88591></title></head>",
         [](MetaFields& f) { f.Title = "New"; }, 0, "<head><title>New</title><meta charset=\"ISO88591\"></head>"},
        {"every charset of a merged stretch stays, in order",
         "<head>\r\n<title\r\n<meta charset=x-bad>\r\n<meta name=\"url\" charset=\"koi8-r\" content=\"u\">T</title>\r\n</head>",
         [](MetaFields& f) { f.Title = "New"; }, 0,
         "<head><title>New</title>\r\n<meta name=\"url\" content=\"u\" >\r\n"
         "<meta charset=\"x-bad\"><meta charset=\"koi8-r\">\r\n</head>"},
        {"charsets kept in the order the load meets them",
         "<head><title\n<meta http-equiv=content-type charset=ISO88591><meta charset=\"gb18030\"</title></head>",
         [](MetaFields& f) { f.Title = "New"; }, 0,
         "<head><title>New</title><meta charset=\"ISO88591\"><meta charset=\"gb18030\"></head>"},
        {"a comment opened in the title's text is text",
         "<head><title><!--</title><meta name=\"author\" content=\"x\"></head>", [](MetaFields& f) { f.Author.clear(); },
         0, "<head><title><!--</title></head>"},
        {"a title naming other end tags keeps its text",
         "<head>\r\n<title>Use </header>, not </titles</title>\r\n</head>", [](MetaFields&) {}, 0,
         "<head><title>Use </header>, not </titles</title>\r\n</head>"},
        {"leftovers of a cut tag", "<head>\r\n<m<meta >eta name=author content=fake>\r\n<meta name=author content=real>\r\n</head>",
         [](MetaFields& f) { f.Author = "Ann B"; }, 1,
         "<head>\r\n<m<meta >eta name=author content=fake>\r\n<title></title>\r\n<meta name=\"author\" content=\"Ann B\" ></head>"},
        {"a property beside the name outlives the block",
         "<head>\r\n<meta name=\"description\" property=\"og:description\" content=\"a\">\r\n</head>",
         [](MetaFields& f) { f.Title = "x"; }, 0,
         "<head><title>x</title>\r\n<meta name=\"description\" content=\"a\" >\r\n"
         "<meta property=\"og:description\" content=\"a\">\r\n</head>"},
        {"a property right after the names",
         "<head>\r\n<meta name=\"description\"name=\"description\"property=\"og:description\" content=\"a\">\r\n</head>",
         [](MetaFields& f) { f.Title = "x"; }, 0,
         "<head><title>x</title>\r\n<meta name=\"description\" content=\"a\" >\r\n"
         "<meta property=\"og:description\" content=\"a\">\r\n</head>"},
        {"a title inside a quoted value is text",
         "<head>\r\n<meta property=\"og:description\" content=\"Fill <title></title> right\">\r\n</head>",
         [](MetaFields& f) { f.Title = "New"; }, 1,
         "<head>\r\n<meta property=\"og:description\" content=\"Fill <title></title> right\">\r\n<title>New</title></head>"},
        {"a title inside another tag's name is text", "<head><title<title>x</title>></head>",
         [](MetaFields& f) { f.Title = "New"; }, 0, "<head><title>New</title><title<title>x</title>></head>"},
        {"not inside another tag's open quote", "<head>\r\n<link title=\"a\r\n</head>",
         [](MetaFields& f) { f.Title = "New"; }, 1, "<head>\r\n<title>New</title><link title=\"a\r\n</head>"},
        {"not inside a comment holding </head>", "<head><title>T</title><!-- </head> --></head>",
         [](MetaFields& f) { f.Author = "Ann B"; }, 1,
         "<head><title>T</title>\r\n<meta name=\"author\" content=\"Ann B\" ><!-- </head> --></head>"},
    };
    for (const Case& c : cases) {
        MetaFields f = Read(c.page);
        c.edit(f);
        MetaWriteOptions o;
        o.placement = static_cast<Placement>(c.placement);
        std::string text = c.page;
        ASSERT_TRUE(WriteMetaBlock(text, f, o).Done()) << c.name;
        EXPECT_EQ(text, c.expected) << c.name;
        const MetaFields back = Read(text);
        EXPECT_EQ(back.Title, f.Title) << c.name;
        EXPECT_EQ(back.Author, f.Author) << c.name;
        EXPECT_EQ(back.Description, f.Description) << c.name;
        EXPECT_EQ(back.Keywords, f.Keywords) << c.name;
        EXPECT_EQ(back.Url, f.Url) << c.name;
        EXPECT_EQ(back.Generator, f.Generator) << c.name;
        EXPECT_EQ(ReadModernHead(text).fields, ReadModernHead(c.page).fields) << c.name;
        std::string again = text;
        ASSERT_TRUE(WriteMetaBlock(again, back, o).Done()) << c.name;
        EXPECT_EQ(again, text) << c.name << ": a second run changed the page";
    }
}

// Taking a tag out must not change how HTML reads the tags beside it: here
// the description holds the quote that closes the tag before it, and the
// og:image after both would be read as part of that tag.
TEST(WriterHeads, ABlockThatWouldChangeTheHeadTagsIsRefused) {
    const std::string page =
        "<head><meta name=\"x>\r\n<meta name=\"description\" content=\"d\">\r\n"
        "<meta property=og:image content=/i.png></head>";
    MetaFields f = Read(page);
    f.Title = "T";
    std::string text = page;
    const WriteResult r = WriteMetaBlock(text, f, MetaWriteOptions{});
    EXPECT_EQ(r.refusal, Refusal::UnreadableEdit);
    EXPECT_EQ(text, page);
}
