#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

#include "engine/cp1251.h"
#include "generator/word_engine.h"

namespace veskaron::generator {
namespace {

std::string W(std::string_view utf8) {
    auto r = Utf8ToCp1251(utf8);
    EXPECT_TRUE(r.ok) << utf8;
    return r.text;
}

std::vector<std::string> Utf8Lines(const std::vector<std::string>& lines) {
    std::vector<std::string> out;
    for (const auto& l : lines) out.push_back(Cp1251ToUtf8(l));
    return out;
}

struct RunCase {
    const char* name;
    std::string page;  // UTF-8, converted to Windows-1251 for the run
    GeneratorOptions options;
    std::vector<std::string> expected;  // formed lines, table order
    std::vector<std::string> description = {};
    std::vector<std::string> deleteList = {};
};

GeneratorOptions Opt(int minLen = 4, bool keyCifra = true, bool alt = false, bool desc = false) {
    return {minLen, keyCifra, alt, desc};
}

std::vector<RunCase> RunCases() {
    const std::string head = "<html><head><title>Heading titles</title></head><body>";
    return {
        {"OneChunkWithoutSeparatorAtItsEnd", head + "<p>Hello world</p>", Opt(),
         {"hello : 1", "world : 1"}},
        {"CaseVariantsAreOneWord", head + "<p>Слово, слово</p><b>СЛОВО</b>", Opt(),
         {"слово : 3"}},
        {"LengthMustExceedTheMinimum", head + "<p>abcd abcde</p>", Opt(), {"abcde : 1"}},
        {"HeadTextNeverCounts", "<head><title>Secret titles</title><meta content=\"hidden\"></head><p>shown words</p>",
         Opt(), {"shown : 1", "words : 1"}},
        {"NoHeadEndStartsAtTheBeginning", "<p>Hello world</p>", Opt(), {"hello : 1", "world : 1"}},
        {"ScriptsBackToBackAndACommentAfterThem",
         head + "<script>alphabet</script><SCRIPT>betamax</script><!-- <p>gammaray</p> --><p>deltawing</p>",
         Opt(), {"deltawing : 1"}},
        {"CommentHidesMarkupInside", head + "<p>visible</p><!-- <b>hidden words</b> --><i>more text</i>",
         Opt(), {"visible : 1"}},
        {"DeclarationInBodyRemovedWhole", head + "<!DOCTYPE x><p>plain</p><![if ie]><p>zzzzzz</p>", Opt(),
         {"plain : 1", "zzzzzz : 1"}},
        {"UnclosedScriptLeavesTheRest", head + "<p>first words</p><script>var hidden text<p>after</p>",
         Opt(), {"first : 1", "words : 1", "hidden : 1", "after : 1"}},
        {"LastLessThanWithoutGreaterThan", head + "<p>alpha words</p> trailing <broken tail", Opt(),
         {"alpha : 1", "words : 1", "trailing : 1"}},
        {"TextAfterTheLastTagIsNotAChunk", head + "<p>counted</p>uncounted", Opt(), {"counted : 1"}},
        {"DigitsAreWordCharactersWithKeyCifra", head + "<p>mp3-плеер 2005</p>", Opt(2),
         {"mp3 : 1", "плеер : 1", "2005 : 1"}},
        {"DigitsSeparateWithoutKeyCifra", head + "<p>mp3-плеер 2005</p>", Opt(2, false), {"плеер : 1"}},
        {"ApostropheSeparates", head + "<p>don't stop</p>", Opt(2), {"don : 1", "stop : 1"}},
        {"ApostropheWordsTooShortAtDefault", head + "<p>don't</p>", Opt(), {}},
        {"TabDoesNotSeparate", head + "<p>alpha\tbeta</p>", Opt(), {"alpha\tbeta : 1"}},
        {"EntityNameTooShortAtDefault", head + "<p>&nbsp;words&nbsp;here</p>", Opt(), {"words : 1"}},
        {"EntityNameCountsWhenLongEnough", head + "<p>&nbsp;words&nbsp;here</p>", Opt(3),
         {"nbsp : 2", "words : 1", "here : 1"}},
        {"PunctuationAndGuillemetsSeparate", head + "<p>«цитата»;(скобки)/слеш\\обратный~тильда</p>", Opt(),
         {"цитата : 1", "скобки : 1", "обратный : 1", "тильда : 1"}},
        {"WordCharactersKeepWordsTogether", head + "<p>c++_plus [item] a—dash</p>", Opt(),
         {"c++_plus : 1", "[item] : 1", "a—dash : 1"}},
        {"AltTextsOff", head + "<img src=\"pic.gif\" alt=\"Picture caption\">", Opt(), {}},
        {"AltTextsOnCountWithoutVisibleText", head + "<img src=\"pic.gif\" alt=\"Picture caption\">",
         Opt(4, true, true), {"picture : 1", "caption : 1"}},
        {"AltInHeadNotCounted", "<head><img alt=\"headpicture\"></head><p>bodytext</p>",
         Opt(4, true, true), {"bodytext : 1"}},
        {"AltTextsComeAfterTheChunks", head + "<img alt=\"second\"><p>first</p>", Opt(4, true, true),
         {"first : 1", "second : 1"}},
        {"DescriptionOnlyWhenAsked", head + "<p>bodytext</p>", Opt(4, true, false, false), {"bodytext : 1"},
         {"Description Words"}},
        {"DescriptionLinesCounted", head + "<p>bodytext</p>", Opt(4, true, false, true),
         {"bodytext : 1", "description : 1", "words : 2"}, {"Description Words", "more WORDS"}},
        {"ExclusionIgnoresCaseAndBlanks", head + "<p>Alpha beta gamma alpha</p><p>Второе второе третье</p>",
         Opt(3), {"gamma : 1", "второе : 2"}, {}, {" ALPHA ", "", "Beta", "ТРЕТЬЕ", "ВТОРОЙ", "вторОЕ x"}},
        {"ExclusionLeavesOtherCounts", head + "<p>alpha gamma gamma alpha</p>", Opt(3), {"gamma : 2"},
         {}, {"alpha"}},
        {"BodyWithoutText", head + "<p></p><br><img src=x></body></html>", Opt(), {}},
        {"BodyAllScript", head + "<script>document.write('lots of words here')</script></body>", Opt(), {}},
        {"EmptySource", "", Opt(), {}},
    };
}

TEST(RunGenerator, FormedLinesTable) {
    for (const auto& c : RunCases()) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> desc, del;
        for (const auto& d : c.description) desc.push_back(W(d));
        for (const auto& d : c.deleteList) del.push_back(W(d));
        WordTable table;
        table.Count("stale");  // a run starts from an empty table
        RunGenerator(W(c.page), desc, del, c.options, table);
        EXPECT_EQ(Utf8Lines(FillWordList(table, SortMode::None, false, 0)), c.expected);
        // The same page in UTF-8 gives the same words and counts.
        GeneratorOptions utf8 = c.options;
        utf8.kind = TextKind::Utf8;
        RunGenerator(c.page, c.description, c.deleteList, utf8, table);
        EXPECT_EQ(FillWordList(table, SortMode::None, false, 0), c.expected) << "utf-8";
    }
}

TEST(RunGenerator, Utf8LettersBeyondWindows1251) {
    GeneratorOptions o = Opt();
    o.kind = TextKind::Utf8;
    WordTable table;
    RunGenerator("</head><p>ΣΟΦΊΑ σοφία «Straße» STRASSE 中文中文中文</p>", {}, {"strasse"}, o, table);
    EXPECT_EQ(FillWordList(table, SortMode::None, false, 0),
              (std::vector<std::string>{"σοφία : 2", "straße : 1", "中文中文中文 : 1"}));

    // The alt search moves on by characters, not bytes.
    const std::string page = "</head><img alt=\"xy\"Жalt=\"слово\" alt=\"дерево\">";
    o = Opt(1, true, true);
    RunGenerator(W(page), {}, {}, o, table);
    const std::vector<std::string> cp1251 = Utf8Lines(FillWordList(table, SortMode::None, false, 0));
    o.kind = TextKind::Utf8;
    RunGenerator(page, {}, {}, o, table);
    EXPECT_EQ(FillWordList(table, SortMode::None, false, 0), cp1251);
}

TEST(RunGenerator, ReportsProgressInOrder) {
    std::vector<int> seen;
    WordTable table;
    RunGenerator("<p>text</p>", {}, {}, Opt(), table, [&seen](int p) { seen.push_back(p); });
    EXPECT_EQ(seen, (std::vector<int>{0, 10, 20, 30, 40, 60, 80, 100}));
}

// "Стоп" of the window: a flag set while the run works ends it at its next
// look, with an empty table and no further progress.
TEST(RunGenerator, StopsWhenCancelled) {
    std::string page = "</head>";
    for (int i = 0; i < 10'000; ++i) page += "<p>chunk" + std::to_string(i) + " words</p>";
    page += "<img alt=\"picture\">";
    const struct {
        int at;  // the progress value at which the flag is set; -1 never
        std::vector<int> seen;
    } cases[] = {
        {0, {0}},
        {20, {0, 10, 20}},
        {40, {0, 10, 20, 30, 40}},  // noticed among the chunks
        {60, {0, 10, 20, 30, 40, 60, 80}},
        {-1, {0, 10, 20, 30, 40, 60, 80, 100}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.at);
        CancelFlag cancel{false};
        std::vector<int> seen;
        WordTable table;
        table.Count("stale");
        const bool done = RunGenerator(page, {"description words"}, {}, Opt(4, true, true, true), table,
                                       [&](int p) {
                                           seen.push_back(p);
                                           if (p == c.at) cancel = true;
                                       },
                                       &cancel);
        EXPECT_EQ(done, c.at < 0);
        EXPECT_EQ(seen, c.seen);
        EXPECT_EQ(table.empty(), c.at >= 0);
    }
}

TEST(RunGenerator, EmptyPageGivesSixZeros) {
    WordTable table;
    RunGenerator("</head><body><script>x</script></body>", {}, {}, Opt(), table);
    const auto lines = FillWordList(table, SortMode::None, false, 0);
    EXPECT_TRUE(lines.empty());
    EXPECT_EQ(ComputeWordStatistics(table, lines.size()), WordStatistics{});
}

TEST(RemoveSpans, OnePassMatchesRepeatedDeletion) {
    struct Case {
        std::string text, expected;
    } cases[] = {
        {"a<!--x-->b<!--y-->c", "abc"},
        {"a<!--x--><!--y-->c", "ac"},
        {"a<!--x", "a<!--x"},
        {"a<!--x-->b<!--y", "ab<!--y"},
        {"<!-->x-->y", "y"},   // the closer is searched after the opener
        {"<!-<!--x-->-z", "<!--z"},  // text before the deleted span is not searched again
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(RemoveSpans(c.text, "<!--", "-->"), c.expected) << c.text;
}

WordTable TableOf(const std::vector<std::pair<std::string, int>>& words) {
    WordTable t;
    // Interleave the occurrences so that first occurrence decides the order.
    for (const auto& [w, n] : words) t.Count(w);
    for (const auto& [w, n] : words)
        for (int i = 1; i < n; ++i) t.Count(w);
    return t;
}

TEST(FillWordList, SortModesKeepFirstOccurrenceOrderForTies) {
    const WordTable t = TableOf({{"bbbbb", 2}, {"aaaaa", 5}, {"ccccc", 1}, {"ddddd", 5}});
    struct Case {
        SortMode mode;
        std::vector<std::string> expected;
    } cases[] = {
        {SortMode::None, {"bbbbb : 2", "aaaaa : 5", "ccccc : 1", "ddddd : 5"}},
        {SortMode::MostFrequentFirst, {"aaaaa : 5", "ddddd : 5", "bbbbb : 2", "ccccc : 1"}},
        {SortMode::LeastFrequentFirst, {"ccccc : 1", "bbbbb : 2", "aaaaa : 5", "ddddd : 5"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FillWordList(t, c.mode, false, 0), c.expected) << static_cast<int>(c.mode);
    EXPECT_EQ(SortModeFromIndex(7), SortMode::None);
}

TEST(FillWordList, RepeatedThresholds) {
    const WordTable t = TableOf({{"one", 1}, {"two", 2}, {"three", 3}, {"four", 4}, {"five", 5}});
    struct Case {
        bool repeated;
        int n;
        std::size_t expected;
    } cases[] = {{false, 999, 5}, {true, 0, 5}, {true, 1, 4}, {true, 3, 2}, {true, 5, 0}, {true, 999, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(FillWordList(t, SortMode::None, c.repeated, c.n).size(), c.expected) << c.n;
    EXPECT_EQ(FillWordList(t, SortMode::MostFrequentFirst, true, 3),
              (std::vector<std::string>{"five : 5", "four : 4"}));
}

TEST(ComputeWordStatistics, ClassesSumToTheTotal) {
    const WordTable t = TableOf({{"a", 1}, {"b", 1}, {"c", 2}, {"d", 3}, {"e", 3}, {"f", 4}, {"g", 7}});
    const auto lines = FillWordList(t, SortMode::None, true, 2);
    const WordStatistics s = ComputeWordStatistics(t, lines.size());
    EXPECT_EQ(s, (WordStatistics{21, 4, 11, 6, 2, 2}));
    EXPECT_EQ(s.over3 + s.exactly3 + s.twice + s.once, s.total);
}

TEST(WordTable, RemoveKeepsOrderAndLookup) {
    WordTable t = TableOf({{"aa", 1}, {"bb", 2}, {"cc", 3}});
    t.Remove({"bb", "zz"});
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t.entries()[1].word, "cc");
    t.Count("cc");
    EXPECT_EQ(t.CountOf("cc"), 4);
    EXPECT_EQ(t.CountOf("bb"), 0);
}

TEST(RunGenerator, HugeRepetitionStaysLinear) {
    // One word a million times, among many distinct ones: counting and the
    // frequency sort must not depend on the size of the largest count.
    std::string page = "</head><p>";
    for (int i = 0; i < 1'000'000; ++i) page += "repeat ";
    for (int i = 0; i < 20'000; ++i) page += "w" + std::to_string(100000 + i) + " ";
    page += "</p>";
    WordTable table;
    RunGenerator(page, {}, {"w100000"}, Opt(), table);
    EXPECT_EQ(table.CountOf("repeat"), 1'000'000);
    EXPECT_EQ(table.size(), 20'000u);
    const auto lines = FillWordList(table, SortMode::LeastFrequentFirst, false, 0);
    ASSERT_EQ(lines.size(), 20'000u);
    EXPECT_EQ(lines.front(), "w100001 : 1");
    EXPECT_EQ(lines.back(), "repeat : 1000000");
}

}  // namespace
}  // namespace veskaron::generator
