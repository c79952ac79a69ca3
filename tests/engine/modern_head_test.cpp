// The head tags beside the catalogue: what a page's head reads as, and the
// bytes an edit leaves.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "engine/head_scanner.h"
#include "engine/loader.h"
#include "engine/modern_head.h"
#include "engine/save.h"
#include "tests/scaling_guard.h"

using namespace veskaron;

namespace {

struct ReadCase {
    const char* name;
    std::string page;
    int field;
    std::string value;
    std::size_t count;
};

struct EditCase {
    const char* name;
    std::string page;
    int field;
    std::string value;
    int attributeOrder;
    std::string expected;
};

}  // namespace

TEST(ModernHead, ReadsTheFirstTagByTheRules) {
    const ReadCase cases[] = {
        {"double quotes", "<head><meta property=\"og:title\" content=\"A\"></head>", kOgTitle, "A", 1},
        {"single quotes, content first", "<head><meta content='B &amp; C' property='og:title'></head>", kOgTitle,
         "B & C", 1},
        {"no quotes, upper case", "<HEAD><META PROPERTY=og:title CONTENT=D></HEAD>", kOgTitle, "D", 1},
        {"across lines", "<head><meta\r\n  property=\"og:image\"\r\n  content=\"/i.png\"\r\n></head>", kOgImage, "/i.png", 1},
        {"og by name", "<head><meta name=\"og:type\" content=\"article\"></head>", kOgType, "article", 1},
        {"twitter by property", "<head><meta property=\"twitter:card\" content=\"summary\"></head>", kTwitterCard,
         "summary", 1},
        {"viewport not by property", "<head><meta property=\"viewport\" content=\"x\"></head>", kViewport, "", 0},
        {"rel with several words", "<head><link rel=\"Canonical nofollow\" href=\"https://a/\"></head>", kCanonical,
         "https://a/", 1},
        {"repeated: the first", "<head><meta name=twitter:site content=@a><meta name=twitter:site content=@b></head>",
         kTwitterSite, "@a", 2},
        {"in a comment", "<head><!-- <link rel=canonical href=/x> --></head>", kCanonical, "", 0},
        {"after the head", "<head></head><meta property=\"og:title\" content=\"A\">", kOgTitle, "", 0},
        {"apostrophe reference", "<head><meta property='og:title' content='it&#39;s'></head>", kOgTitle, "it's", 1},
    };
    for (const ReadCase& c : cases) {
        const ModernHead h = ReadModernHead(c.page);
        EXPECT_EQ(h.fields[c.field], c.value) << c.name;
        EXPECT_EQ(h.spots[static_cast<std::size_t>(c.field)].count, c.count) << c.name;
    }
}

TEST(ModernHead, ReadsTheListsAndTheLanguage) {
    const std::string page =
        "<html LANG=\"ru\"><head>\r\n"
        "<link rel=\"alternate\" hreflang=\"en\" href=\"https://s/en/\">\r\n"
        "<link hreflang=ru rel=alternate href=https://s/>\r\n"
        "<script type=\"application/ld+json\">{\"@type\": \"Article\", \"x\": \"<meta name=viewport>\"}</script>\r\n"
        "<script type='application/ld+json'>{\"@type\": </script>\r\n"
        "</head></html>";
    const ModernHead h = ReadModernHead(page, Utf8Codec().get());
    EXPECT_EQ(h.htmlLang, "ru");
    ASSERT_EQ(h.hreflang.size(), 2u);
    EXPECT_EQ(h.hreflang[1].lang, "ru");
    EXPECT_EQ(h.hreflang[1].href, "https://s/");
    ASSERT_EQ(h.jsonLd.size(), 2u);
    EXPECT_TRUE(h.jsonLd[0].valid);
    EXPECT_EQ(h.jsonLd[0].type, "Article");
    EXPECT_FALSE(h.jsonLd[1].valid);
    EXPECT_FALSE(h.jsonLd[1].error.empty());
    // Markup inside a script is not a tag of the head.
    EXPECT_EQ(h.spots[kViewport].count, 0u);
    EXPECT_EQ(ReadModernHead("<head><link href='/c' rel=canonical></head>").fields[kCanonical], "/c");
}

TEST(ModernHead, EditsOnlyTheValueBytes) {
    const EditCase cases[] = {
        {"double quotes", "<head>\r\n<meta property=\"og:title\" content=\"Old\" >\r\n</head>", kOgTitle, "New \"q\"", 0,
         "<head>\r\n<meta property=\"og:title\" content=\"New &quot;q&quot;\" >\r\n</head>"},
        {"single quotes", "<head><meta content='Old' name='twitter:title'></head>", kTwitterTitle, "It's", 0,
         "<head><meta content='It&#39;s' name='twitter:title'></head>"},
        {"bare stays bare", "<head><META NAME=viewport CONTENT=a></head>", kViewport, "b", 0,
         "<head><META NAME=viewport CONTENT=b></head>"},
        {"bare gets quotes", "<head><link rel=canonical href=/a></head>", kCanonical, "/a b", 0,
         "<head><link rel=canonical href=\"/a b\"></head>"},
        {"repeated: the first", "<head><meta name=twitter:site content=@a><meta name=twitter:site content=@b></head>",
         kTwitterSite, "@c", 0, "<head><meta name=twitter:site content=@c><meta name=twitter:site content=@b></head>"},
        {"no content attribute", "<head><meta property=\"og:type\"/></head>", kOgType, "website", 0,
         "<head><meta property=\"og:type\" content=\"website\"/></head>"},
        {"missing, CR LF, indented", "<head>\r\n  <title>t</title>\r\n</head>", kOgTitle, "T", 0,
         "<head>\r\n  <title>t</title>\r\n  <meta property=\"og:title\" content=\"T\" >\r\n</head>"},
        {"missing, LF, content first", "<head>\n\t<title>t</title>\n  </head>", kTwitterCard, "summary", 1,
         "<head>\n\t<title>t</title>\n\t<meta content=\"summary\" name=\"twitter:card\" >\n  </head>"},
        {"missing, head end mid-line", "<head><title>t</title></head>\r\n", kCanonical, "https://a/", 0,
         "<head><title>t</title>\r\n<link rel=\"canonical\" href=\"https://a/\" >\r\n</head>\r\n"},
        {"removed with its line", "<head>\r\n  <meta name=\"viewport\" content=\"w\">  \r\n</head>", kViewport, "", 0,
         "<head>\r\n</head>"},
        {"removed alone, not the line", "<head><title>t</title><meta name=viewport content=w>\r\n</head>", kViewport,
         "", 0, "<head><title>t</title>\r\n</head>"},
    };
    for (const EditCase& c : cases) {
        std::string text = c.page;
        const ModernFields was = ReadModernHead(text).fields;
        ModernFields now = was;
        now[c.field] = c.value;
        ApplyModernEdits(text, was, now, static_cast<AttributeOrder>(c.attributeOrder));
        EXPECT_EQ(text, c.expected) << c.name;
        if (!c.value.empty()) {
            EXPECT_EQ(ReadModernHead(text).fields[c.field], c.value) << c.name;
        }
    }
}

namespace {

struct PlaceCase {
    const char* name;
    std::string page;
    std::vector<std::pair<int, std::string>> edits;
    Refusal refusal;
    std::string expected;  // the page after the edits (as it was when refused)
};

// The catalogue's title and description, as a load reads them.
std::pair<std::string, std::string> CatalogueOf(const std::string& text) {
    HeadScanner scanner;
    scanner.Scan(text);
    return {FindTitle(text), scanner.NameContent("description")};
}

}  // namespace

// An edit touches its own field alone, reads back as typed, and goes only
// where HTML sees a tag; where it cannot, it is refused and nothing changes.
TEST(ModernHead, EditsStandWhereTheyReadBackOrAreRefused) {
    const std::string kRock = "Rock &#39;n&#39; roll";
    const PlaceCase cases[] = {
        {"a typed reference stays text", "<head><meta property=\"og:title\" content=\"a\"></head>", {{kOgTitle, kRock}},
         Refusal::None, "<head><meta property=\"og:title\" content=\"Rock &amp;#39;n&amp;#39; roll\"></head>"},
        {"not inside a comment holding </head>", "<head><title>t</title><!-- </head> --></head>", {{kOgTitle, "b"}},
         Refusal::None, "<head><title>t</title>\r\n<meta property=\"og:title\" content=\"b\" >\r\n<!-- </head> --></head>"},
        {"description and og:description: split",
         "<head>\r\n  <meta name=\"description\" property=\"og:description\" content=\"a\">\r\n</head>",
         {{kOgDescription, "b"}}, Refusal::None,
         "<head>\r\n  <meta name=\"description\" content=\"a\">\r\n  <meta property=\"og:description\" content=\"b\" >\r\n</head>"},
        {"an attribute right after the one that goes",
         "<head><meta property=\"og:title\"name=\"twitter:title\" content=a></head>", {{kOgTitle, ""}}, Refusal::None,
         "<head><meta name=\"twitter:title\" content=a></head>"},
        {"description and og:description: emptied",
         "<head><meta name=\"description\" property=\"og:description\" content=\"a\"></head>", {{kOgDescription, ""}},
         Refusal::None, "<head><meta name=\"description\" content=\"a\"></head>"},
        {"twitter:title and og:title both edited",
         "<head><meta name=\"twitter:title\" property=\"og:title\" content=\"a\"></head>",
         {{kOgTitle, ""}, {kTwitterTitle, "c"}}, Refusal::None,
         "<head><meta name=\"twitter:title\" content=\"c\" ></head>"},
        {"every repeat goes when emptied",
         "<head>\r\n<meta property=og:title content=a>\r\n<meta property=og:title content=b>\r\n</head>", {{kOgTitle, ""}},
         Refusal::None, "<head>\r\n</head>"},
        {"canonical alternate: split",
         "<head><link rel=\"canonical alternate\" hreflang=\"ru\" href=\"/a\"></head>", {{kCanonical, "/b"}},
         Refusal::None,
         "<head><link rel=\"alternate\" hreflang=\"ru\" href=\"/a\"><link rel=\"canonical\" href=\"/b\" ></head>"},
        {"alternate canonical: emptied", "<head><link rel=\"alternate canonical\" hreflang=ru href=/a></head>",
         {{kCanonical, ""}}, Refusal::None, "<head><link rel=\"alternate\" hreflang=ru href=/a></head>"},
        {"a valueless href takes the value", "<head><link rel=canonical href></head>", {{kCanonical, "/b"}},
         Refusal::None, "<head><link rel=canonical href=\"/b\"></head>"},
        {"x= waits for a value", "<head><meta property=og:title x=></head>", {{kOgTitle, "b"}}, Refusal::None,
         "<head><meta content=\"b\" property=og:title x=></head>"},
        {"a '>' inside quotes is the value's",
         "<head><meta property=\"og:title\" content=\"a > b\"></head>", {{kOgTitle, "c"}}, Refusal::None,
         "<head><meta property=\"og:title\" content=\"c\"></head>"},
        {"scripts and styles are text",
         "<head><script>s=\"<meta property=og:title content=s>\"</scripts></script>"
         "<style><meta property=og:title content=t></style><meta property=og:title content=real></head>",
         {{kOgTitle, "new"}}, Refusal::None,
         "<head><script>s=\"<meta property=og:title content=s>\"</scripts></script>"
         "<style><meta property=og:title content=t></style><meta property=og:title content=new></head>"},
        {"a title left open", "<head><meta property=og:image content=a><title>T</head>", {{kOgImage, "x"}},
         Refusal::UnclosedTitle, "<head><meta property=og:image content=a><title>T</head>"},
        {"a tag left open", "<head><title>T</title><meta\r\n</head>", {{kCanonical, "/b"}}, Refusal::UnclosedTag,
         "<head><title>T</title><meta\r\n</head>"},
        {"a quote left open", "<head><meta property=og:title content=\"a></head>", {{kOgTitle, "b"}},
         Refusal::UnclosedTag, "<head><meta property=og:title content=\"a></head>"},
        {"an edit that would change the catalogue",
         "<head><meta property=og:title content=\"x><meta name=description content=d>\"></head>", {{kOgTitle, "y"}},
         Refusal::UnreadableEdit, "<head><meta property=og:title content=\"x><meta name=description content=d>\"></head>"},
    };
    for (const PlaceCase& c : cases) {
        std::string text = c.page;
        const ModernFields was = ReadModernHead(text).fields;
        ModernFields now = was;
        for (const auto& [field, value] : c.edits) now[field] = value;
        EXPECT_EQ(ModernEditRefusal(text, was, now), c.refusal) << c.name;
        EXPECT_EQ(ApplyModernEdits(text, was, now, AttributeOrder::KeyFirst), c.refusal == Refusal::None) << c.name;
        EXPECT_EQ(text, c.expected) << c.name;
        if (c.refusal != Refusal::None) continue;
        const ModernHead back = ReadModernHead(text);
        EXPECT_EQ(back.fields, now) << c.name;
        EXPECT_EQ(back.hreflang.size(), ReadModernHead(c.page).hreflang.size()) << c.name;
        EXPECT_EQ(CatalogueOf(text), CatalogueOf(c.page)) << c.name;
        EXPECT_FALSE(ApplyModernEdits(text, back.fields, now, AttributeOrder::KeyFirst)) << c.name << ": a second edit changed the page";
    }
}

TEST(ModernHead, WithoutAHeadEndNothingIsAdded) {
    std::string text = "<head><title>t</title>";
    ModernFields now;
    now[kOgTitle] = "T";
    EXPECT_EQ(ModernEditRefusal(text, {}, now), Refusal::NoHeadEnd);
    EXPECT_FALSE(ApplyModernEdits(text, {}, now, AttributeOrder::KeyFirst));
    EXPECT_EQ(text, "<head><title>t</title>");
}

// The block and the tags beside the catalogue go in together or not at all.
TEST(ModernHead, BlockAndTagsGoInTogether) {
    MetaFields fields;
    fields.Title = "t";
    fields.Author = "Ann";
    ModernFields now;
    now[kOgTitle] = "T";
    MetaWriteOptions writer;  // after <head>: the block needs no head end, the new tag does
    std::string text = "<head><title>t</title>";
    EXPECT_EQ(WriteHeadEdits(text, fields, {}, now, writer, true), Refusal::NoHeadEnd);
    EXPECT_EQ(text, "<head><title>t</title>");
    text += "</head>";
    EXPECT_EQ(WriteHeadEdits(text, fields, {}, now, writer, true), Refusal::None);
    EXPECT_NE(text.find("content=\"Ann\""), std::string::npos);
    EXPECT_NE(text.find("og:title"), std::string::npos);
}

// A head of many tags on one line, some quotes unclosed: reading and editing stay linear.
TEST(ModernHead, ReadAndEditAreLinear) {
    const auto r = test::MeasureScaling(
        1u << 17,
        [](std::size_t n) {
            std::string s = "<head>";
            while (s.size() < n) s += "<meta content='x name=og:title><link rel=canonical href=\"/a>";
            return s + "</head>";
        },
        [](std::string& text) {
            ModernFields now = ReadModernHead(text).fields;
            now[kTwitterCard] = "summary";
            now[kOgTitle].clear();
            ApplyModernEdits(text, ReadModernHead(text).fields, now, AttributeOrder::KeyFirst);
        });
    EXPECT_LE(r.Ratio(), test::kMaxScaling) << r.small << " s, then " << r.large << " s";
}

// References are read in one pass, however many a value holds.
TEST(ModernHead, ReferencesAreReadInLinearTime) {
    const auto r = test::MeasureScaling(
        1u << 16,
        [](std::size_t n) {
            std::string s = "<head><meta property=og:title content='";
            while (s.size() < n) s += "&#39;&amp;";
            return s + "'></head>";
        },
        [](const std::string& text) { ReadModernHead(text); });
    EXPECT_LE(r.Ratio(), test::kMaxScaling) << r.small << " s, then " << r.large << " s";
}

namespace {

class ModernSave : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = (std::filesystem::temp_directory_path() /
                 ("veskaron_modern_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
                  ".html"))
                    .string();
    }
    void TearDown() override { std::filesystem::remove(path_); }
    Document Load(const std::string& bytes) {
        std::ofstream(path_, std::ios::binary) << bytes;
        Document doc;
        LoadPage(doc, path_, {});
        return doc;
    }
    std::string Saved(Document& doc, int placement) {
        SaveOptions o;
        o.writer.placement = static_cast<Placement>(placement);
        EXPECT_TRUE(SaveDocument(doc, o).saved);
        std::ifstream in(path_, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::string path_;
};

}  // namespace

// A save writes the catalogue block as before, then the new tag after it; the
// page's charset and LF line ends hold, and a character outside the charset
// becomes a reference.
TEST_F(ModernSave, OneSaveWritesTheBlockAndTheTagsInThePagesCharset) {
    Document doc = Load("<html><head>\n<meta charset=\"windows-1251\">\n<title>\xC4\xEE\xEC</title>\n</head></html>\n");
    EXPECT_FALSE(doc.modified);
    doc.modern[kOgTitle] = "\xC4\xEE\xEC &#8364;";  // as the codec puts a euro sign in
    doc.Update();
    EXPECT_TRUE(doc.modified);
    const std::string bytes = Saved(doc, 1);
    EXPECT_NE(bytes.find("<title>\xC4\xEE\xEC</title>\n<meta property=\"og:title\" content=\"\xC4\xEE\xEC &#8364;\" >\n</head>"),
              std::string::npos)
        << bytes;
    EXPECT_EQ(bytes.find('\r'), std::string::npos);
    EXPECT_FALSE(doc.modified);
    EXPECT_EQ(doc.modernSnapshot, doc.modern);
}

TEST_F(ModernSave, AnUneditedPageSavesAsBefore) {
    const std::string page = "<head>\r\n<meta property=og:title content='x'>\r\n<title>t</title></head>";
    Document doc = Load(page);
    Document plain = doc;
    plain.modern = plain.modernSnapshot = {};
    EXPECT_EQ(BytesForSave(doc, {}).bytes, BytesForSave(plain, {}).bytes);
}
