#include <gtest/gtest.h>

#include "engine/catalogue.h"
#include "engine/translations.h"

using namespace veskaron;

namespace {

MetaFields Prev() {
    MetaFields f;
    f.Robots = 4;
    f.RevisitCount = 11;
    f.RevisitUnit = 2;
    f.Distribution = 2;
    f.CacheControl = 3;
    f.Charset = 3;
    return f;
}

}  // namespace

TEST(Catalogue, EntriesAndLists) {
    EXPECT_EQ(Catalogue().size(), 22u);
    EXPECT_EQ(CatalogueAt(14).key, "expiries");
    EXPECT_EQ(CatalogueAt(10).kind, EntryKind::Name);
    EXPECT_EQ(CatalogueAt(11).kind, EntryKind::HttpEquiv);
    EXPECT_EQ(ItemLists::Language[1], "ru");
    EXPECT_EQ(ItemLists::Language[125], "zu");
    EXPECT_EQ(ItemLists::Language[5], "en-us");
    EXPECT_EQ(ItemLists::Language[44], "en-us");
}

TEST(SplitWords, PartsAndCount) {
    const WordParts w = SplitWords("a,b,c,d", ',');
    EXPECT_EQ(w.separators, 3);
    EXPECT_EQ(w.part[0], "a");
    EXPECT_EQ(w.part[1], "b");
    EXPECT_EQ(w.part[2], "c");
    EXPECT_EQ(SplitWords("", ',').separators, 0);
}

TEST(SplitContent, Outcomes) {
    struct Case { const char* content; const char* name; SplitOutcome outcome; const char* first; const char* second; };
    const Case cases[] = {
        {"text/html; charset=windows-1251", "charset", SplitOutcome::Both, "text/html", "windows-1251"},
        {"5; url=page.htm", "url", SplitOutcome::Both, "5", "page.htm"},
        {"TEXT/HTML; charset = KOI8-R", "charset", SplitOutcome::Both, "text/html", "= koi8-r"},
        {"text/html", "charset", SplitOutcome::Absent, "", ""},
        {"   ", "charset", SplitOutcome::Absent, "", ""},
        {"text/html;", "charset", SplitOutcome::FirstOnly, "text/html", ""},
        {"0;charset", "charset", SplitOutcome::Both, "0", ""},  // nothing after the name
    };
    for (const auto& c : cases) {
        const ContentParts p = SplitContent(c.content, c.name);
        EXPECT_EQ(p.outcome, c.outcome) << c.content;
        EXPECT_EQ(p.first, c.first) << c.content;
        EXPECT_EQ(p.second, c.second) << c.content;
    }
}

TEST(ParseContentInt, AcceptsOnlyDecimalIntegers) {
    struct Case { const char* text; bool ok; long long value; };
    const Case cases[] = {{"42", true, 42}, {"  -7", true, -7}, {"+3", true, 3}, {"7 ", false, 0},
                          {"", false, 0}, {"1a", false, 0}, {"-", false, 0},
                          {"99999999999", false, 0}, {"2147483647", true, 2147483647LL},
                          {"-2147483648", true, -2147483648LL}, {"2147483648", false, 0},
                          {"123456789012345678901234567890", false, 0}};
    for (const auto& c : cases) {
        const IntResult r = ParseContentInt(c.text);
        EXPECT_EQ(r.ok, c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(r.value, c.value) << c.text;
        } else {
            EXPECT_NE(r.error.find(c.text), std::string::npos);
        }
    }
}

// Each case also says which words stay the page's own: those the field would
// write otherwise (blank runs and the letter case of list words aside).
TEST(ReadTranslation, Robots) {
    struct Case { const char* content; int expected; const char* own; };
    const Case cases[] = {
        {"", 0, ""}, {"NOINDEX, NOFOLLOW", 1, "NOINDEX, NOFOLLOW"}, {"index,follow", 2, "index,follow"},
        {"follow,index", 2, "follow,index"}, {"noindex", 4, "noindex"}, {"nofollow", 3, "nofollow"},
        {"NOINDEX", 4, "NOINDEX"}, {"index", 2, "index"}, {"none", 1, ""}, {"All", 2, ""},
        {"INDEX, NOFOLLOW", 3, ""}, {"noindex,follow", 4, ""}, {"nofollow,index", 3, "nofollow,index"},
        {"index,follow,archive", 2, "index,follow,archive"},
        {"noindex, nofollow, noarchive", 1, "noindex, nofollow, noarchive"},
        {"noindex, noimageindex", 4, "noindex, noimageindex"},
        {"noarchive", 0, "noarchive"}, {"max-snippet:50, max-image-preview:large", 0,
                                        "max-snippet:50, max-image-preview:large"},
        // The stricter word wins where they disagree; "noindexed" is no word of the list.
        {"index, noindex", 4, "index, noindex"}, {"noindexed", 0, "noindexed"},
    };
    for (const auto& c : cases) {
        MetaFields f = Prev();
        f.OwnText[kRobots] = "stale";
        ReadEntry(kRobots, c.content, f);
        EXPECT_EQ(f.Robots, c.expected) << c.content;
        EXPECT_EQ(f.OwnText[kRobots], c.own) << c.content;
        // The words are written back as the page had them.
        EXPECT_EQ(EntryContentText(kRobots, f), *c.own ? c.own : EntryContentText(kRobots, f)) << c.content;
    }
}

TEST(ReadTranslation, RevisitAfter) {
    struct Case { const char* content; int count; int unit; bool ok; const char* own; };
    const Case cases[] = {
        {"", 30, 0, true, ""}, {"7 days", 7, 0, true, "7 days"}, {"400 month", 180, 3, true, "400 month"},
        {"14 WEEKS", 14, 2, true, ""}, {"3 day", 3, 1, true, ""}, {"-5 day", 0, 1, true, "-5 day"},
        {"x day", 11, 2, false, ""}, {"7", 7, 0, true, "7"},
    };
    for (const auto& c : cases) {
        MetaFields f = Prev();
        const ReadOutcome r = ReadEntry(kRevisitAfter, c.content, f);
        EXPECT_EQ(r.error.empty(), c.ok) << c.content;
        EXPECT_EQ(f.RevisitCount, c.count) << c.content;
        EXPECT_EQ(f.RevisitUnit, c.unit) << c.content;
        EXPECT_EQ(f.OwnText[kRevisitAfter], c.own) << c.content;
    }
}

TEST(ReadTranslation, WordLists) {
    struct Case { int entry; const char* content; int expected; const char* own; };
    const Case cases[] = {
        {kDistribution, "GLOBAL", 1, ""}, {kDistribution, "local", 2, ""}, {kDistribution, "world", 0, "world"},
        {kDistribution, "glob", 0, "glob"}, {kDistribution, "IU", 0, "IU"}, {kDistribution, "", 0, ""},
        {kCacheControl, "Public", 1, ""}, {kCacheControl, "private", 2, ""}, {kCacheControl, "no-store", 3, ""},
        {kCacheControl, "NO-CACHE", 4, ""}, {kCacheControl, "max-age=3600", 0, "max-age=3600"},
        {kCacheControl, "no-cache, no-store, must-revalidate", 0, "no-cache, no-store, must-revalidate"},
        {kCacheControl, "abc", 0, "abc"},
        {kPragma, "no-cache", 1, ""}, {kPragma, "anything", 1, "anything"}, {kPragma, "nope", 0, "nope"},
        {kPragma, "", 0, ""},
        {kContentLanguage, "RU", 1, ""}, {kContentLanguage, "en-us", 5, ""}, {kContentLanguage, "sr", 106, ""},
        {kContentLanguage, " ru", 0, " ru"}, {kContentLanguage, "", 0, ""}, {kContentLanguage, "xx", 0, "xx"},
        {kContentLanguage, "ru-RU", 0, "ru-RU"}, {kContentLanguage, "en, ru", 0, "en, ru"},
    };
    for (const auto& c : cases) {
        MetaFields f = Prev();
        ReadEntry(c.entry, c.content, f);
        const int actual = c.entry == kDistribution ? f.Distribution
                           : c.entry == kCacheControl ? f.CacheControl
                           : c.entry == kPragma ? f.Pragma
                                                : f.ContentLanguage;
        EXPECT_EQ(actual, c.expected) << c.entry << " " << c.content;
        EXPECT_EQ(f.OwnText[static_cast<std::size_t>(c.entry)], c.own) << c.entry << " " << c.content;
    }
}

TEST(ReadTranslation, ContentType) {
    struct Case { const char* content; bool on; int type; int charset; const char* own = ""; };
    const Case cases[] = {
        {"text/html", false, -1, -1},
        // A charset the list does not hold is kept as the page wrote it;
        // a text that is no plain charset name is not.
        {"text/html; charset=ISO-8859-1", true, 1, 0, "ISO-8859-1"},
        {"text/html; charset=x y", true, 1, 0, ""},
        {"text/html; charset='utf-8'", true, 1, 0, "'utf-8'"},
        {"text/html; charset='x y'", true, 1, 0, ""},
        {"TEXT/HTML; charset=KOI8-R", true, 1, 3},
        {"text/html; charset = koi8-r", true, 1, 0},
        {"text/xml; charset=iso-8859-5", true, 6, 1},
        {"image/png; charset=koi8-u", true, 0, 4},
        {"text/html ; charset=utf-8", true, 0, 5},
        // No charset named: the previous page's charset is not carried over.
        {"text/css;", true, 7, 0},
    };
    for (const auto& c : cases) {
        MetaFields f = Prev();
        ReadEntry(kContentType, c.content, f);
        EXPECT_EQ(f.ContentTypeOn, c.on) << c.content;
        EXPECT_EQ(f.ContentType, c.type) << c.content;
        EXPECT_EQ(f.Charset, c.charset) << c.content;
        EXPECT_EQ(f.CharsetText, c.own) << c.content;
    }
}

TEST(ReadTranslation, Refresh) {
    // The page's delay stands, 0 included, and the address keeps its letter case.
    struct Case { const char* content; bool on; int seconds; const char* url; bool urlEnabled; bool ok; const char* own; };
    const Case cases[] = {
        {"0; URL=Page.htm", true, 0, "Page.htm", true, true, ""},
        {"3; URL=/Docs/NewPage.html", true, 3, "/Docs/NewPage.html", true, true, ""},
        {"10", true, 10, "", true, true, ""},
        {"soon", false, 5, "", false, true, "soon"},
        {"", false, 5, "", false, true, ""},
        {"30;", true, 30, "", true, true, "30;"},
        {";", true, 5, "", true, true, ";"},
        {"20; url=", true, 20, "", true, true, "20; url="},
        {"abc; url=x", true, 7, "x", true, false, "keep"},
        {"99999999; url=a", true, 9999999, "a", true, true, "99999999; url=a"},
    };
    for (const auto& c : cases) {
        MetaFields f;
        f.RefreshSeconds = 7;
        f.RefreshUrl = "keep";
        f.RefreshOn = true;
        f.OwnText[kRefresh] = "keep";
        const ReadOutcome r = ReadEntry(kRefresh, c.content, f);
        EXPECT_EQ(r.error.empty(), c.ok) << c.content;
        EXPECT_EQ(f.RefreshOn, c.on) << c.content;
        EXPECT_EQ(f.RefreshSeconds, c.seconds) << c.content;
        EXPECT_EQ(f.RefreshUrl, c.url) << c.content;
        EXPECT_EQ(f.OwnText[kRefresh], c.own) << c.content;
        if (c.ok) {
            EXPECT_EQ(r.refreshUrlEnabled, c.urlEnabled) << c.content;
        }
    }
}

TEST(ReadTranslation, Transitions) {
    struct Case { const char* content; bool on; int duration; int effect; const char* own; };
    const Case cases[] = {
        {"", false, 4, 23, ""},
        {"revealtrans(duration=2.0,transition=12)", true, 2, 12, ""},
        {"RevealTrans(Duration=3,Transition=5)", true, 0, 5, "RevealTrans(Duration=3,Transition=5)"},
        {"RevealTrans(Duration=99.0,Transition=5)", true, 60, 5, "RevealTrans(Duration=99.0,Transition=5)"},
        {"RevealTrans(Duration=1.0,Transition=30)", true, 1, -1, "RevealTrans(Duration=1.0,Transition=30)"},
        {"RevealTrans(Duration=1,5.0,Transition=3)", true, 1, 3, "RevealTrans(Duration=1,5.0,Transition=3)"},
        // Another filter is still a transition of the page.
        {"blendTrans(Duration=2)", true, 4, 23, "blendTrans(Duration=2)"},
        {"x", true, 0, 0, "x"},
    };
    for (const auto& c : cases) {
        MetaFields f;
        f.PageExit = {false, 9, 9};
        const ReadOutcome r = ReadEntry(kPageExit, c.content, f);
        EXPECT_TRUE(r.error.empty()) << c.content;
        EXPECT_EQ(f.PageExit.On, c.on) << c.content;
        EXPECT_EQ(f.PageExit.Duration, c.duration) << c.content;
        EXPECT_EQ(f.PageExit.Effect, c.effect) << c.content;
        EXPECT_EQ(f.OwnText[kPageExit], c.own) << c.content;
    }
}

TEST(CleanNumberText, BothLocaleSeparators) {
    EXPECT_EQ(CleanNumberText("2.0", '.'), "2");
    EXPECT_EQ(CleanNumberText("2.0", ','), "2");
    EXPECT_EQ(CleanNumberText("2,5", '.'), "2");
    EXPECT_EQ(CleanNumberText("  ", '.'), "0");
    EXPECT_EQ(CleanNumberText(" 7 ", '.'), "7");
}

TEST(WriteTranslation, ContentsAndThresholds) {
    MetaFields f;
    f.Author = "ab";
    f.Copyright = "abc";
    f.Description = "Garden\r\ntools";
    f.Keywords = "a\r\nb";
    f.Robots = 3;
    f.RevisitCount = 14;
    f.RevisitUnit = 2;
    f.Distribution = 1;
    f.CacheControl = 4;
    f.Pragma = 1;
    f.ContentLanguage = 1;
    f.SiteEnter = {true, 3, -1};
    struct Case { int entry; bool written; const char* content; };
    const Case cases[] = {
        {kAuthor, false, ""}, {kCopyright, true, "abc"}, {kDescription, true, "Gardentools"},
        {kKeywords, true, "ab"}, {kRobots, true, "index,nofollow"}, {kRevisitAfter, true, "14 weeks"},
        {kDistribution, true, "global"}, {kCacheControl, true, "no-cache"}, {kPragma, true, "no-cache"},
        {kContentLanguage, true, "ru"}, {kTitle, true, ""}, {kRefresh, false, ""},
        {kPageEnter, false, ""}, {kSiteEnter, true, "RevealTrans(Duration=3.0,Transition=23)"},
    };
    for (const auto& c : cases) {
        const WrittenContent w = WriteEntry(c.entry, f);
        EXPECT_EQ(w.written, c.written) << c.entry;
        EXPECT_EQ(w.content, c.content) << c.entry;
    }
    f.ContentTypeOn = true;
    f.ContentType = 1;
    f.Charset = -1;
    const WrittenContent ct = WriteEntry(kContentType, f);
    EXPECT_TRUE(ct.written);
    EXPECT_EQ(ct.content, "text/html");
    EXPECT_EQ(ct.second, "");
    f.RefreshOn = true;
    f.RefreshUrl = "  a.ht ";
    const WrittenContent rf = WriteEntry(kRefresh, f);
    EXPECT_EQ(rf.content, "5");
    EXPECT_EQ(rf.second, "a.ht");
}

TEST(Fields, Clamping) {
    MetaFields f;
    f.SetRevisitCount(400);
    EXPECT_EQ(f.RevisitCount, 180);
    EXPECT_EQ(f.RefreshSeconds, 5);
    f.SetRefreshSeconds(-1);
    EXPECT_EQ(f.RefreshSeconds, 0);
    f.SetRefreshSeconds(1LL << 40);
    EXPECT_EQ(f.RefreshSeconds, 9999999);
    f.PageEnter.SetDuration(-3);
    EXPECT_EQ(f.PageEnter.Duration, 0);
    f.PageEnter.SetEffect(24);
    EXPECT_EQ(f.PageEnter.Effect, -1);
}
