// Pages in UTF-8 and other charsets: detection, fields, saving, references.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <sstream>
#include <unistd.h>
#include <vector>

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
    // The next page names seconds only: it has no address, whatever the page before had.
    Document doc = Load(Page("<meta charset=utf-8><meta http-equiv=\"refresh\" content=\"5; url=Страница.htm\">", "", ""));
    EXPECT_EQ(doc.fields.RefreshUrl, "Страница.htm");
    ASSERT_TRUE(LoadPage(doc, Put(Page("<meta http-equiv=\"refresh\" content=\"7;\">", "", "")), {}).fileOk);
    EXPECT_EQ(doc.kind, TextKind::Cp1251);
    EXPECT_EQ(doc.fields.RefreshUrl, "");
    EXPECT_EQ(doc.fields.RefreshSeconds, 7);
}

namespace {

// Every name the system's iconv lists that the program reads pages in, one
// per distinct charset (aliases decode alike and are tried once), and the
// charsets the program translates itself.
std::vector<std::string> ReadableCharsets() {
    std::vector<std::string> names = {"windows-1251", "koi8-r", "koi8-u", "utf-8"};
    std::set<std::string> seen;
    std::string singles;
    for (int b = 0; b < 256; ++b) singles += {static_cast<char>(b), static_cast<char>(0xA1), '@', '0', '\n'};
    if (FILE* list = ::popen("iconv -l 2>/dev/null", "r")) {
        std::string all;
        char buf[4096];
        for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, list)) > 0;) all.append(buf, n);
        ::pclose(list);
        std::istringstream words(all);
        for (std::string w; words >> w;) {
            while (!w.empty() && (w.back() == ',' || w.back() == '/')) w.pop_back();
            const std::string name = UsableCharset(w);
            if (name.empty() || KindForCharset(name) == TextKind::Cp1251 || name == "utf-8") continue;
            std::string text = singles;
            DecodeText(text, name);
            if (seen.insert(text + EncodeText(text, TextKind::Utf8, name).bytes).second) names.push_back(name);
        }
    }
    return names;
}

}  // namespace

// A page loaded and saved untouched keeps its bytes in every charset: each
// byte sequence either decodes to characters that encode back to it, or
// travels as raw-byte code points.
TEST(EncodingRules, EveryReadableCharsetKeepsEveryByteSequence) {
    std::string pages[4];
    for (int b = 0; b < 256; ++b) pages[0] += {static_cast<char>(b), '\n'};
    for (int lead = 0x80; lead < 0x100; ++lead)
        for (int trail = 0; trail < 0x100; ++trail) {
            pages[1] += {static_cast<char>(lead), static_cast<char>(trail), '\n'};
            pages[2] += {static_cast<char>(lead), static_cast<char>(trail)};
        }
    // Three- and four-byte sequences (GB18030 and the like) cannot all be
    // tried; a fixed sample of lead, digit and high bytes stands for them.
    std::mt19937 rng(18);
    const auto pick = [&rng](int from, int to) { return static_cast<char>(std::uniform_int_distribution<int>(from, to)(rng)); };
    for (int i = 0; i < 20000; ++i) {
        pages[3] += pick(0x81, 0xFE);
        for (int k = 0, n = i % 2 ? 3 : 2; k < n; ++k) pages[3] += k % 2 == 0 ? pick(0x30, 0x39) : pick(0x80, 0xFF);
        if (i % 3 == 0) pages[3] += '\n';
    }
    const std::vector<std::string> charsets = ReadableCharsets();
    EXPECT_GT(charsets.size(), 40u) << "iconv -l lists the system's charsets";
    for (const std::string& name : charsets) {
        for (const std::string& page : pages) {
            std::string text = page;
            DecodeText(text, name);
            const EncodeResult back = EncodeText(text, KindForCharset(name), name);
            ASSERT_EQ(back.bytes, page) << name;
            EXPECT_EQ(back.references, 0u) << name;
        }
    }
}

TEST(EncodingRules, ASequenceThatEncodesBackOtherwiseStaysRaw) {
    struct Case {
        const char* charset;
        std::string bytes;
        std::string text;  // the document text it is held as
    } cases[] = {
        {"big5", "\xA2\xA4", "═"},
        {"big5", "\xF9\xF9", "\xF4\x8F\xB7\xB9\xF4\x8F\xB7\xB9"},  // two raw-byte code points
        {"big5", "\xA4\xA4\xF9\xF9>\xA4\xA4\n", "中\xF4\x8F\xB7\xB9\xF4\x8F\xB7\xB9>中\n"},
        {"gb18030", "\x81\x30\x81\x30", "\xC2\x80"},
        {"euc-jp", "\xA4\xA2", "あ"},
    };
    for (const Case& c : cases) {
        std::string text = c.bytes;
        DecodeText(text, c.charset);
        EXPECT_EQ(text, c.text) << c.charset;
        EXPECT_EQ(EncodeText(text, TextKind::Utf8, c.charset).bytes, c.bytes) << c.charset;
    }
}

// A raw byte that an edit brings next to bytes it would be read with keeps
// them apart: what follows it is written as a reference.
TEST(EncodingRules, ARawByteIsNeverReadWithWhatAnEditPutsAfterIt) {
    struct Case {
        const char* charset;
        std::string text;   // document text: a raw byte (0xA4, 0x81), then what an edit left after it
        std::string bytes;  // what the save writes
    } cases[] = {
        {"big5", "\xF4\x8F\xB6\xA4<b", "\xA4<b"},           // as the page had it: '<' is read alone
        {"big5", "\xF4\x8F\xB6\xA4" "abc", "\xA4&#97;bc"},  // 0xA4 'a' would be one character
        {"big5", "\xF4\x8F\xB6\xA4中", "\xA4&#20013;"},
        {"gb18030", "\xF4\x8F\xB6\x81" "1\xF4\x8F\xB6\x81" "1", "\x81&#49;\x81&#49;"},  // four-byte sequences too
    };
    for (const Case& c : cases) {
        const EncodeResult written = EncodeText(c.text, TextKind::Utf8, c.charset);
        EXPECT_EQ(written.bytes, c.bytes) << c.charset;
        std::string back = written.bytes;
        DecodeText(back, c.charset);
        EXPECT_EQ(back.substr(0, 4), c.text.substr(0, 4)) << c.charset << ": the raw byte is read otherwise";
    }
}

TEST_F(EncodingTest, ACharsetTheSaveCannotWriteIsRefusedAndNeverNamed) {
    const std::string page = Page(std::string(kCtDecl) + "cp866\">", "\xA5\xAB\xAA\xA8", "\x8F\xA0\xAB\xAA\xA8");
    for (const char* chosen : {"shift_jis", "no-such-charset"}) {
        SCOPED_TRACE(chosen);
        Document doc = Load(page);
        ASSERT_EQ(doc.encoding.name, "cp866");
        doc.fields.CharsetText = chosen;
        const std::string text = doc.page.text;
        const SaveResult r = SaveDocument(doc, {});
        EXPECT_FALSE(r.written);
        EXPECT_EQ(r.refusal, (RefusalReason{Refusal::UnwritableCharset, chosen}));
        EXPECT_TRUE(doc.modified);
        EXPECT_EQ(doc.page.text, text);
        EXPECT_EQ(Get(doc.path), page);
        EXPECT_EQ(BytesForSave(doc, {}).refusal, r.refusal);
    }
    // One the program can write is converted and named.
    Document doc = Load(page);
    const std::string title = doc.codec->ToUtf8(doc.fields.Title);
    doc.fields.CharsetText = "KOI8-RU";
    ASSERT_TRUE(SaveDocument(doc, {}).saved);
    const Document back = Load(Get(doc.path));
    EXPECT_EQ(back.encoding.name, "koi8-ru");
    EXPECT_EQ(back.codec->ToUtf8(back.fields.Title), title);
}

TEST_F(EncodingTest, AMetaCharsetIsRenamedAsItWasRead) {
    for (const char* decl : {"<meta charset=\fkoi8-u>", "<meta charset =\v'koi8-u'>", "<meta charset\f=\fkoi8-u\f>"}) {
        SCOPED_TRACE(decl);
        Document doc = Load(Page(decl, TranslateChars(Cp1251("Ёж"), Koi8USave()), ""));
        ASSERT_EQ(doc.encoding.name, "koi8-u");
        doc.fields.Charset = kCharsetKoi8R;
        ASSERT_TRUE(SaveDocument(doc, {}).saved);
        const Document back = Load(Get(doc.path));
        EXPECT_EQ(back.encoding.name, "koi8-r") << Get(doc.path);
        EXPECT_EQ(back.fields.Title, Cp1251("Ёж"));
    }
}

TEST_F(EncodingTest, ASaveNamesOnlyTheDeclarationsTheLoadRead) {
    const std::string koi8r = TranslateChars(Cp1251("Ёж"), Koi8RSave());
    const std::string koi8u = TranslateChars(Cp1251("Ёж"), Koi8USave());
    struct Case {
        const char* name;
        std::string page;
        std::string loads;  // the charset the page is read in
        int chosen;         // the charset box before the save; -1 leaves it as read
        std::string reloads;
    };
    const Case cases[] = {
        {"charset attribute of the content-type tag",
         "<head><meta http-equiv=\"Content-Type\" charset=\"koi8-r\"><title>" + koi8r + "</title></head>", "koi8-r", -1,
         "koi8-r"},
        {"a broken tag's charset value runs into the title",
         "<head><meta charset=<title>" + Cp1251("Ёж") + "</title></head>", "windows-1251", kCharsetKoi8R, "koi8-r"},
        {"a tag in the title's text",
         "<head><meta charset=koi8-u><title>a <meta charset=koi8-u> " + koi8u + "</title></head>", "koi8-u",
         kCharsetKoi8R, "koi8-r"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Document doc = Load(c.page);
        EXPECT_EQ(doc.encoding.name, c.loads);
        const std::string title = doc.codec->ToUtf8(doc.fields.Title);
        if (c.chosen >= 0) {
            doc.fields.Charset = c.chosen;
            doc.fields.ContentTypeOn = true;
            doc.fields.ContentType = 1;
        }
        SaveOptions o;
        o.writer.placement = Placement::BeforeHeadClose;  // the block goes where the old title was
        ASSERT_TRUE(SaveDocument(doc, o).saved);
        const Document back = Load(Get(doc.path));
        EXPECT_EQ(back.encoding.name, c.reloads) << Get(doc.path);
        EXPECT_EQ(back.codec->ToUtf8(back.fields.Title), title) << Get(doc.path);
    }
}
