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

TEST(Catalogue, EntriesListsAndCaptions) {
    EXPECT_EQ(Catalogue().size(), 22u);
    EXPECT_EQ(CatalogueAt(14).key, "expiries");
    EXPECT_EQ(CatalogueAt(11).caption, "http-equiv - Case-control (управление кешированием)");
    EXPECT_EQ(CatalogueAt(10).kind, EntryKind::Name);
    EXPECT_EQ(CatalogueAt(11).kind, EntryKind::HttpEquiv);
    EXPECT_EQ(ItemLists::Language[1], "ru");
    EXPECT_EQ(ItemLists::Language[125], "zu");
    EXPECT_EQ(ItemLists::Language[5], "en-us");
    EXPECT_EQ(ItemLists::Language[44], "en-us");
    for (auto e : ItemLists::Effect) EXPECT_EQ(e.back(), ' ');
    EXPECT_EQ(ItemLists::Effect[23], "23 - Random (случайный эффект) ");
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

TEST(ReadTranslation, Robots) {
    struct Case { const char* content; int expected; };
    const Case cases[] = {
        {"", 0}, {"NOINDEX, NOFOLLOW", 1}, {"index,follow", 2}, {"follow,index", 2},
        {"noindex", 3}, {"nofollow", 4}, {"none", 1}, {"all", 2}, {"index,follow,archive", 4},
        {"nofollow,index", 3}, {"noindex,follow", 4}, {"something", 4}, {"a,b", 4},
    };
    for (const auto& c : cases) {
        MetaFields f = Prev();
        ReadEntry(kRobots, c.content, f);
        EXPECT_EQ(f.Robots, c.expected) << c.content;
    }
}

TEST(ReadTranslation, RevisitAfter) {
    struct Case { const char* content; int count; int unit; bool ok; };
    const Case cases[] = {
        {"", 30, 0, true}, {"7 days", 7, 2, true}, {"400 month", 180, 3, true},
        {"14 WEEKS", 14, 2, true}, {"3 day", 3, 1, true}, {"-5 day", 0, 1, true},
        {"x day", 11, 2, false}, {"7", 7, 2, true},
    };
    for (const auto& c : cases) {
        MetaFields f = Prev();
        const ReadOutcome r = ReadEntry(kRevisitAfter, c.content, f);
        EXPECT_EQ(r.error.empty(), c.ok) << c.content;
        EXPECT_EQ(f.RevisitCount, c.count) << c.content;
        EXPECT_EQ(f.RevisitUnit, c.unit) << c.content;
    }
}

TEST(ReadTranslation, WordLists) {
    struct Case { int entry; const char* content; int expected; };
    const Case cases[] = {
        {kDistribution, "GLOBAL", 1}, {kDistribution, "local", 2}, {kDistribution, "world", 2},
        {kDistribution, "glob", 0}, {kDistribution, "", 0},
        {kCacheControl, "Public", 1}, {kCacheControl, "private", 2}, {kCacheControl, "no-store", 3},
        {kCacheControl, "NO-CACHE", 4}, {kCacheControl, "max-age=0", 3}, {kCacheControl, "abc", 0},
        {kPragma, "anything", 1}, {kPragma, "nope", 0}, {kPragma, "", 0},
        {kContentLanguage, "RU", 1}, {kContentLanguage, "en-us", 5}, {kContentLanguage, "sr", 106},
        {kContentLanguage, " ru", 0}, {kContentLanguage, "", 0}, {kContentLanguage, "xx", 0},
    };
    for (const auto& c : cases) {
        MetaFields f = Prev();
        ReadEntry(c.entry, c.content, f);
        const int actual = c.entry == kDistribution ? f.Distribution
                           : c.entry == kCacheControl ? f.CacheControl
                           : c.entry == kPragma ? f.Pragma
                                                : f.ContentLanguage;
        EXPECT_EQ(actual, c.expected) << c.entry << " " << c.content;
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
    struct Case { const char* content; int seconds; const char* url; bool urlEnabled; bool ok; };
    const Case cases[] = {
        {"0; URL=Page.htm", 5, "page.htm", true, true},
        {"10", 5, "", false, true},
        {"30;", 30, "keep", true, true},
        {";", 5, "keep", true, true},
        {"20; url=", 20, "", true, true},
        {"abc; url=x", 7, "x", true, false},
        {"99999999; url=a", 9999999, "a", true, true},
    };
    for (const auto& c : cases) {
        MetaFields f;
        f.RefreshSeconds = 7;
        f.RefreshUrl = "keep";
        f.RefreshOn = true;
        const ReadOutcome r = ReadEntry(kRefresh, c.content, f);
        EXPECT_EQ(r.error.empty(), c.ok) << c.content;
        EXPECT_EQ(f.RefreshSeconds, c.seconds) << c.content;
        EXPECT_EQ(f.RefreshUrl, c.url) << c.content;
        if (c.ok) {
            EXPECT_EQ(r.refreshUrlEnabled, c.urlEnabled) << c.content;
        }
        EXPECT_TRUE(f.RefreshOn) << "loading never changes the refresh flag";
    }
}

TEST(ReadTranslation, Transitions) {
    struct Case { const char* content; bool on; int duration; int effect; bool ok; };
    const Case cases[] = {
        {"", false, 4, 23, true},
        {"revealtrans(duration=2.0,transition=12)", true, 2, 12, true},
        {"RevealTrans(Duration=3,Transition=5)", true, 0, 5, true},
        {"RevealTrans(Duration=99.0,Transition=5)", true, 60, 5, true},
        {"RevealTrans(Duration=1.0,Transition=30)", true, 1, -1, true},
        {"RevealTrans(Duration=1,5.0,Transition=3)", true, 1, 3, true},
        {"blendTrans(Duration=x.0)", false, 9, 9, false},
        {"x", true, 0, 0, true},
    };
    for (const auto& c : cases) {
        MetaFields f;
        f.PageExit = {false, 9, 9};
        const ReadOutcome r = ReadEntry(kPageExit, c.content, f);
        EXPECT_EQ(r.error.empty(), c.ok) << c.content;
        if (!c.ok) {
            EXPECT_EQ(f.PageExit, (Transition{false, 9, 9})) << "a failed read changes nothing";
            continue;
        }
        EXPECT_EQ(f.PageExit.On, c.on) << c.content;
        EXPECT_EQ(f.PageExit.Duration, c.duration) << c.content;
        EXPECT_EQ(f.PageExit.Effect, c.effect) << c.content;
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
    f.SetRefreshSeconds(-1);
    EXPECT_EQ(f.RefreshSeconds, 5);
    f.SetRefreshSeconds(1LL << 40);
    EXPECT_EQ(f.RefreshSeconds, 9999999);
    f.PageEnter.SetDuration(-3);
    EXPECT_EQ(f.PageEnter.Duration, 0);
    f.PageEnter.SetEffect(24);
    EXPECT_EQ(f.PageEnter.Effect, -1);
}
