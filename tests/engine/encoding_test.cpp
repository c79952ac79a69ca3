// Pages in UTF-8 and other charsets: detection, fields, saving, references.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

#include "engine/encoding.h"
#include "engine/koi8.h"
#include "engine/save.h"
#include "engine/translations.h"

using namespace veskaron;
namespace fs = std::filesystem;

namespace {

class EncodingTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/veskaron-enc-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Put(const std::string& bytes) {
        const std::string path = dir_ + "/page.htm";
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
        return path;
    }
    static std::string Get(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    Document Load(const std::string& bytes) {
        Document doc;
        doc.fields = FreshFields({{2026, 1, 2}, {3, 4, 5}});
        const PageLoad load = LoadPage(doc, Put(bytes), {});
        EXPECT_TRUE(load.fileOk && load.report.ok) << load.fileError << load.report.error;
        return doc;
    }

    std::string dir_;
};

std::string Cp1251(std::string_view utf8) { return Windows1251Codec()->FromUtf8(utf8).bytes; }

std::string Page(std::string_view decl, std::string_view title, std::string_view body) {
    return "<html>\r\n<head>" + std::string(decl) + "<title>" + std::string(title) +
           "</title>\r\n<meta name=\"description\" content=\"" + std::string(title) +
           "\">\r\n</head>\r\n<body>" + std::string(body) + "</body>\r\n</html>\r\n";
}

constexpr const char* kPageTitle = "Ёлки и ПАЛКИ";
constexpr const char* kBody = "Ёлки, ёлки! Палки «палки» палки";
constexpr const char* kCtDecl = "<meta http-equiv=\"content-type\" content=\"text/html; charset=";

}  // namespace

TEST_F(EncodingTest, TheSamePageInEveryEncodingGivesTheSameFields) {
    struct Case {
        const char* name;
        std::string bytes;
        const char* encoding;
        const char* source;
        int passes;
    } cases[] = {
        {"windows-1251", Page(std::string(kCtDecl) + "windows-1251\">", Cp1251(kPageTitle), Cp1251(kBody)),
         "windows-1251", "content-type", 2},
        {"koi8-r", Page(std::string(kCtDecl) + "koi8-r\">",
                        TranslateChars(Cp1251(kPageTitle), Koi8RSave()), TranslateChars(Cp1251(kBody), Koi8RSave())),
         "koi8-r", "content-type", 2},
        {"utf-8 content-type", Page(std::string(kCtDecl) + "utf-8\">", kPageTitle, kBody), "utf-8",
         "content-type", 2},
        {"meta charset", Page("<meta charset=\"UTF-8\">", kPageTitle, kBody), "utf-8", "meta-charset", 1},
        {"bom", std::string(kUtf8Bom) + Page("", kPageTitle, kBody), "utf-8", "bom", 1},
        {"undeclared", Page("", kPageTitle, kBody), "utf-8", "detected", 1},
        {"iso-8859-5", Page("<meta charset=iso-8859-5>", "\xA1\xDB\xDA\xD8 \xD8 \xBF\xB0\xBB\xBA\xB8", ""),
         "iso-8859-5", "meta-charset", 2},
        {"plain ascii", Page("", "Elki", ""), "windows-1251", "default", 1},
    };
    for (const auto& c : cases) {
        Document doc = Load(c.bytes);
        SCOPED_TRACE(c.name);
        EXPECT_EQ(doc.encoding.name, c.encoding);
        EXPECT_EQ(EncodingSourceName(doc.encoding.source), c.source);
        if (std::string_view(c.name) == "plain ascii") continue;
        EXPECT_EQ(doc.codec->ToUtf8(doc.fields.Title), kPageTitle);
        EXPECT_EQ(doc.codec->ToUtf8(doc.fields.Description), kPageTitle);
        EXPECT_EQ(LoadPage(doc, dir_ + "/page.htm", {}).report.passes, c.passes);

        // Untouched, the page goes back as it came, whatever tab it is saved from.
        for (bool asEdited : {true, false}) {
            SaveOptions o;
            o.asEdited = asEdited;
            const SaveBytes saved = BytesForSave(doc, o);
            if (asEdited) {
                EXPECT_EQ(saved.bytes, c.bytes);
            } else {
                const Document back = Load(saved.bytes);
                EXPECT_EQ(back.fields, doc.fields);
                EXPECT_EQ(back.encoding, doc.encoding);
            }
            EXPECT_EQ(saved.references, 0u);
        }
    }
}

TEST_F(EncodingTest, TypedTextLandsInThePagesEncoding) {
    struct Case {
        const char* name;
        std::string page;
        const char* typed;
        std::string expected;  // the title element as the file gets it
        std::size_t references;
    } cases[] = {
        {"cyrillic into utf-8", Page("<meta charset=\"utf-8\">", "x", ""), "Заголовок",
         "<title>Заголовок</title>", 0},
        {"cyrillic into utf-8 with bom", std::string(kUtf8Bom) + Page("", "x", ""), "Заголовок",
         "<title>Заголовок</title>", 0},
        {"chinese into windows-1251", Page("", "x", ""), "Чай 中文",
         Cp1251("<title>Чай &#20013;&#25991;</title>"), 2},
        {"cyrillic into iso-8859-1", Page(std::string(kCtDecl) + "ISO-8859-1\">", "Caf\xE9", ""),
         "Café Ж", "<title>Caf\xE9 &#1046;</title>", 1},
        {"chinese into koi8-r", Page(std::string(kCtDecl) + "koi8-r\">", "x", ""), "Я中",
         TranslateChars(Cp1251("<title>Я&#20013;</title>"), Koi8RSave()), 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Document doc = Load(c.page);
        // As a window or the command-line tool puts typed text into the document.
        const EncodeResult typed = doc.codec->FromUtf8(c.typed);
        doc.fields.Title = typed.bytes;
        doc.references += typed.references;
        const SaveResult r = SaveDocument(doc, {});
        ASSERT_TRUE(r.saved) << r.error;
        const std::string file = Get(doc.path);
        EXPECT_NE(file.find(c.expected), std::string::npos) << file;
        EXPECT_EQ(r.references, c.references);
        EXPECT_EQ(file.starts_with(kUtf8Bom), c.page.starts_with(kUtf8Bom));
        EXPECT_EQ(doc.references, 0u) << "reported by this save, not again";
    }
}

TEST_F(EncodingTest, OwnCharsetTextAndUndecodableBytesSurvive) {
    // 0x81 has no character in windows-1252; it must come back as it was.
    const std::string page = Page(std::string(kCtDecl) + "Windows-1252\">", "Caf\xE9 \x81", "");
    Document doc = Load(page);
    EXPECT_EQ(doc.fields.Charset, 0);
    EXPECT_EQ(doc.fields.CharsetText, "Windows-1252");
    EXPECT_EQ(doc.encoding.name, "windows-1252");
    EXPECT_EQ(doc.codec->ToUtf8(doc.fields.Title).substr(0, 5), "Café");
    doc.fields.Author = "Zoë";
    ASSERT_TRUE(SaveDocument(doc, {}).saved);
    const std::string file = Get(doc.path);
    EXPECT_NE(file.find("<title>Caf\xE9 \x81</title>"), std::string::npos) << file;
    EXPECT_NE(file.find("charset=Windows-1252\""), std::string::npos) << file;
    EXPECT_NE(file.find("content=\"Zo\xEB\""), std::string::npos) << file;
}

TEST_F(EncodingTest, ChoosingAnotherCharsetConvertsOnSave) {
    Document doc = Load(Page(std::string(kCtDecl) + "windows-1251\">", Cp1251("Ёж"), ""));
    doc.fields.Charset = kCharsetUtf8;
    ASSERT_TRUE(SaveDocument(doc, {}).saved);
    EXPECT_NE(Get(doc.path).find("<title>Ёж</title>"), std::string::npos);
    EXPECT_NE(Get(doc.path).find("charset=utf-8"), std::string::npos);
    EXPECT_EQ(Load(Get(doc.path)).encoding.name, "utf-8");

    // A <meta charset> tag is believed first: it is renamed with the bytes,
    // in the saved text too, and a second save keeps it.
    Document meta = Load(Page("<META CHARSET = 'utf-8' >", "Ёж", ""));
    meta.fields.ContentTypeOn = true;
    meta.fields.ContentType = 1;
    meta.fields.Charset = 2;  // windows-1251
    ASSERT_TRUE(SaveDocument(meta, {}).saved);
    EXPECT_NE(Get(meta.path).find("<META CHARSET = 'windows-1251' >"), std::string::npos) << Get(meta.path);
    EXPECT_NE(meta.page.text.find("'windows-1251'"), std::string::npos);
    EXPECT_EQ(Load(Get(meta.path)).encoding.name, "windows-1251");
    EXPECT_EQ(Load(Get(meta.path)).fields.Title, Cp1251("Ёж"));
    ASSERT_TRUE(SaveDocument(meta, {}).saved);
    EXPECT_EQ(Load(Get(meta.path)).encoding.name, "windows-1251");
}

TEST(EncodingRules, CaseAndLengthFollowTheText) {
    EXPECT_EQ(LowerFor(TextKind::Utf8, "ЁЛКА Straße ΣΑΣ \xFF"), "ёлка straße σασ \xFF");
    EXPECT_EQ(LowerFor(TextKind::Cp1251, Cp1251("ЁЛКА")), Cp1251("ёлка"));
    EXPECT_EQ(CharCount(TextKind::Utf8, "Ёж\xFF"), 3u);
    EXPECT_EQ(CharCount(TextKind::Cp1251, Cp1251("Ёж")), 2u);
    // The writer's "at least 3 characters": two Cyrillic letters are four bytes.
    MetaFields f;
    f.Author = "Ёж";
    EXPECT_FALSE(WriteEntry(kAuthor, f, TextKind::Utf8).written);
    f.Author = "Ёжи";
    EXPECT_TRUE(WriteEntry(kAuthor, f, TextKind::Utf8).written);
    EXPECT_EQ(CharsetAttribute("<meta content=\"text/html; charset=koi8-r\">"), "");
    EXPECT_EQ(CharsetAttribute("<meta charset='utf-8' />"), "utf-8");
    EXPECT_EQ(UsableCharset("UTF8"), "utf-8");
    EXPECT_EQ(UsableCharset("no-such-charset"), "");
    EXPECT_EQ(UsableCharset("utf-16"), "") << "not ASCII-compatible";
}

TEST(EncodingRules, CodecsRoundTripEveryByte) {
    std::string all;
    for (int c = 0; c < 256; ++c) all += static_cast<char>(c);
    for (const char* name : {"utf-8", "windows-1252", "iso-8859-5", "gbk", "euc-jp"}) {
        const CodecPtr codec = std::string_view(name) == "utf-8" ? Utf8Codec() : CharsetCodec(name);
        ASSERT_TRUE(codec) << name;
        EXPECT_EQ(codec->FromUtf8(codec->ToUtf8(all)).bytes, all) << name;
    }
}

TEST_F(EncodingTest, ATextThePageLeavesUnchangedFollowsTheNewEncoding) {
    // The next page names seconds only, so the refresh address stays as it was.
    Document doc = Load(Page("<meta charset=utf-8><meta http-equiv=\"refresh\" content=\"5; url=страница.htm\">", "", ""));
    EXPECT_EQ(doc.fields.RefreshUrl, "страница.htm");
    ASSERT_TRUE(LoadPage(doc, Put(Page("<meta http-equiv=\"refresh\" content=\"7;\">", "", "")), {}).fileOk);
    EXPECT_EQ(doc.kind, TextKind::Cp1251);
    EXPECT_EQ(doc.codec->ToUtf8(doc.fields.RefreshUrl), "страница.htm");
}
