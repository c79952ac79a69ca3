#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "engine/cp1251.h"
#include "generator/word_list_file.h"
#include "generator/word_lists.h"

namespace veskaron::generator {
namespace {

std::string W(std::string_view utf8) { return Utf8ToCp1251(utf8).text; }

WordList ListOf(std::vector<std::string> utf8, bool multi = true) {
    WordList l(multi);
    for (auto& e : utf8) e = W(e);
    l.Assign(std::move(utf8));
    return l;
}

std::vector<std::string> Utf8(const WordList& l) {
    std::vector<std::string> out;
    for (const auto& e : l.entries()) out.push_back(Cp1251ToUtf8(e));
    return out;
}

void SelectOnly(WordList& l, std::vector<std::size_t> which) {
    l.SelectAll(false);
    for (auto i : which) l.Select(i, true);
}

TEST(WordList, AddRefusesDuplicatesInAnyCase) {
    WordList l = ListOf({"Слово", "web"});
    struct Case {
        const char* text;
        AddOutcome expected;
    } cases[] = {{"СЛОВО", AddOutcome::Duplicate}, {"слово", AddOutcome::Duplicate},
                 {"WEB", AddOutcome::Duplicate},   {"web ", AddOutcome::Added},
                 {"", AddOutcome::Added},          {"", AddOutcome::Duplicate}};
    for (const auto& c : cases) EXPECT_EQ(AddWord(l, W(c.text)), c.expected) << c.text;
    EXPECT_EQ(Utf8(l), (std::vector<std::string>{"Слово", "web", "web ", ""}));
}

TEST(WordList, DeleteCounts) {
    WordList l = ListOf({"один", "b", "c", "d", "e", "f"});
    for (const std::vector<std::size_t>& selected : std::vector<std::vector<std::size_t>>{{0}, {1, 2}, {1, 2, 3, 4, 5}, {}}) {
        SelectOnly(l, selected);
        EXPECT_EQ(DeleteCount(l), selected.size());
    }
    EXPECT_FALSE(DeleteChosen(l));  // nothing selected: Yes deletes nothing
    EXPECT_EQ(l.size(), 6u);
}

TEST(WordList, DeleteSelectedAndOneSelectionList) {
    WordList l = ListOf({"a", "b", "c", "d"});
    SelectOnly(l, {0, 2});
    l.SetCurrent(3);
    EXPECT_TRUE(DeleteChosen(l));
    EXPECT_EQ(Utf8(l), (std::vector<std::string>{"b", "d"}));
    EXPECT_EQ(l.current(), 1);  // the current entry stays with its word
    EXPECT_FALSE(l.Contains("a"));

    WordList del = ListOf({"x", "y"}, false);
    EXPECT_EQ(DeleteCount(del), 0u);
    del.SetCurrent(1);
    EXPECT_EQ(DeleteCount(del), 1u);
    EXPECT_EQ(del.SelectedIndices(), std::vector<std::size_t>{1});
    EXPECT_TRUE(DeleteChosen(del));
    EXPECT_EQ(Utf8(del), (std::vector<std::string>{"x"}));
}

TEST(WordList, EditKeywordRefusesAnyCaseOfAHeldWord) {
    WordList k = ListOf({"web", "design"});
    k.SetCurrent(0);
    struct Case {
        const char* text;
        EditOutcome expected;
    } cases[] = {{"web", EditOutcome::Refused},
                 {"WEB", EditOutcome::Refused},
                 {"Design", EditOutcome::Refused},
                 {"site", EditOutcome::Replaced}};
    for (const auto& c : cases) EXPECT_EQ(EditWord(k, ListKind::Keyword, c.text), c.expected) << c.text;
    EXPECT_EQ(Utf8(k), (std::vector<std::string>{"site", "design"}));
    EXPECT_TRUE(k.Contains("SITE"));
    EXPECT_FALSE(k.Contains("web"));

    WordList ins = ListOf({"seo", "web"});
    EXPECT_EQ(EditWord(ins, ListKind::Insert, "x"), EditOutcome::NoCurrent);
    ins.SetCurrent(1);
    EXPECT_EQ(EditWord(ins, ListKind::Insert, "SEO"), EditOutcome::Replaced);  // no duplicate check
    EXPECT_EQ(Utf8(ins), (std::vector<std::string>{"seo", "SEO"}));
}

TEST(WordList, UpAndDownMoveTheCurrentEntry) {
    WordList k = ListOf({"a", "b", "c"});
    k.SetCurrent(0);
    EXPECT_FALSE(MoveUp(k));
    EXPECT_TRUE(MoveDown(k));
    EXPECT_TRUE(MoveDown(k));
    EXPECT_FALSE(MoveDown(k));
    EXPECT_EQ(Utf8(k), (std::vector<std::string>{"b", "c", "a"}));
    EXPECT_EQ(k.current(), 2);
    EXPECT_TRUE(MoveUp(k));
    EXPECT_EQ(Utf8(k), (std::vector<std::string>{"b", "a", "c"}));
}

TEST(WordList, SortedDisplay) {
    WordList k = ListOf({"жук", "Zebra", "ешь", "apple", "ёж", "ель", "Ёлка"});
    k.SetCurrent(1);
    k.SetSorted(true);
    EXPECT_EQ(Utf8(k), (std::vector<std::string>{"apple", "Zebra", "ёж", "Ёлка", "ель", "ешь", "жук"}));
    EXPECT_EQ(Cp1251ToUtf8(k.at(static_cast<std::size_t>(k.current()))), "Zebra");
    k.Append(W("Банан"));
    EXPECT_EQ(Cp1251ToUtf8(k.at(2)), "Банан");
    k.SetSorted(false);
    k.Append("aaa");
    EXPECT_EQ(k.entries().back(), "aaa");
    EXPECT_TRUE(AlphabeticalLess(W("ее"), W("её")));
    EXPECT_FALSE(AlphabeticalLess(W("её"), W("ее")));
}

TEST(Transfer, SingleAndSelected) {
    WordList formed = ListOf({"alpha : 3", "bravo : 2", "charlie : 1", "engine : 3"});
    WordList keywords = ListOf({"Bravo"});
    EXPECT_EQ(TransferCurrent(formed, keywords), TransferOutcome::Nothing);
    formed.SetCurrent(3);
    EXPECT_EQ(TransferCurrent(formed, keywords), TransferOutcome::Added);
    EXPECT_EQ(TransferCurrent(formed, keywords), TransferOutcome::Duplicate);
    EXPECT_EQ(formed.size(), 4u);  // ">" leaves the line

    SelectOnly(formed, {0, 1, 2});
    TransferSelected(formed, keywords);
    EXPECT_EQ(Utf8(formed), (std::vector<std::string>{"engine : 3"}));
    EXPECT_EQ(Utf8(keywords), (std::vector<std::string>{"Bravo", "engine", "charlie", "alpha"}));
}

TEST(Transfer, WordOfEntry) {
    struct Case {
        const char* entry;
        const char* word;
    } cases[] = {{"engine : 3", "engine"}, {"  spaced\t: 12", "spaced"}, {"a:b:c", "a"},
                 {" no colon ", " no colon "}, {":5", ""}};
    for (const auto& c : cases) EXPECT_EQ(WordOfEntry(c.entry), c.word) << c.entry;
}

TEST(DragAndDrop, DropsFromEachList) {
    struct Case {
        const char* name;
        bool multi;
        std::vector<std::string> source;
        std::vector<std::size_t> selected;
        int current;
        std::vector<std::string> target;
        std::vector<std::string> sourceAfter, targetAfter;
    } cases[] = {
        {"InsertOneSelected", true, {"seo", "web"}, {1}, 1, {"design"}, {"seo"}, {"design", "web"}},
        {"InsertOneSelectedHeld", true, {"seo", "web"}, {1}, 1, {"WEB"}, {"seo", "web"}, {"WEB"}},
        {"FormedLoosesItsCount", true, {"engine : 3", "pages : 1"}, {0}, 0, {}, {"pages : 1"}, {"engine"}},
        {"FormedSeveralReversed", true, {"aa : 3", "bb : 2", "cc : 1"}, {0, 1, 2}, 2, {"BB"}, {},
         {"BB", "cc", "aa"}},
        {"DeleteListTakesItsCurrent", false, {"xx", "yy"}, {}, 0, {"zz"}, {"yy"}, {"zz", "xx"}},
        {"DeleteListCurrentHeld", false, {"xx", "yy"}, {}, 0, {"XX"}, {"yy"}, {"XX"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WordList source = ListOf(c.source, c.multi);
        WordList target = ListOf(c.target);
        SelectOnly(source, c.selected);
        source.SetCurrent(c.current);
        const std::string dragged = DragStartText(source, "");
        ASSERT_TRUE(AcceptsDrop(dragged));
        DropWords(source, target, dragged);
        EXPECT_EQ(Utf8(source), c.sourceAfter);
        EXPECT_EQ(Utf8(target), c.targetAfter);
    }
}

TEST(DragAndDrop, DraggedTextAndSelfDrop) {
    WordList empty;
    EXPECT_EQ(DragStartText(empty, "kept"), "kept");
    EXPECT_FALSE(AcceptsDrop(""));

    // A formed line dropped on its own list becomes its word.
    WordList formed = ListOf({"aa : 1", "bb : 2"});
    SelectOnly(formed, {1});
    formed.SetCurrent(1);
    DropWords(formed, formed, DragStartText(formed, ""));
    EXPECT_EQ(Utf8(formed), (std::vector<std::string>{"aa : 1", "bb"}));

    // Several entries onto their own list: one at a time, so a later entry
    // whose word equals an earlier selected entry is dropped.
    WordList ins = ListOf({"Word", "x", "word"});
    SelectOnly(ins, {0, 2});
    ins.SetCurrent(0);
    DropWords(ins, ins, "Word");
    EXPECT_EQ(Utf8(ins), (std::vector<std::string>{"x", "Word"}));
}

TEST(SplitKeywords, ChoosesTheSeparator) {
    struct Case {
        const char* text;
        int choiceBefore, choiceAfter;
        std::vector<std::string> entries;
    } cases[] = {
        {"a, b,c", 0, 2, {"a", "b", "c"}},
        {"alpha beta", 0, 1, {"alpha", "beta"}},
        {"alpha,,beta", 2, 0, {"alpha", "", "beta"}},
        {"a,,b,,c", 1, 0, {"a", "", "b", "c"}},
        {"single", 1, 1, {"single"}},
        {"", 2, 2, {}},
        {"Слово, слово, СЛОВО", 0, 2, {"Слово"}},
        {" web ,design, ", 1, 2, {"web", "design", ""}},
        {"one,two\r\nthree", 1, 0, {"one", "two\r\nthree"}},
    };
    for (const auto& c : cases) {
        int choice = c.choiceBefore;
        WordList k = ListOf({"stale"});
        SplitKeywords(W(c.text), choice, k);
        EXPECT_EQ(choice, c.choiceAfter) << c.text;
        EXPECT_EQ(Utf8(k), c.entries) << c.text;
    }
}

TEST(ComposeKeywords, TextFromTheLists) {
    struct Case {
        const char* name;
        std::vector<std::string> insert, keywords;
        int choice;
        bool saveInsert, sort;
        const char* expected;
    } cases[] = {
        {"MandatoryFirst", {"seo", "web"}, {"web", "design"}, 2, true, false, "seo, web, design"},
        {"Sorted", {"seo", "web"}, {"web", "design"}, 2, true, true, "design, seo, web"},
        {"WithoutMandatory", {"seo", "web"}, {"web", "design"}, 2, false, false, "web, design"},
        {"MandatoryDuplicatesStay", {"seo", "seo"}, {"SEO", "x"}, 0, true, false, "seo,seo,x"},
        {"Trimmed", {}, {" design ", "web\t"}, 1, true, false, "design web"},
        {"Empty", {}, {}, 2, true, true, ""},
        {"CyrillicSorted", {"Яблоко"}, {"груша", "apple", "ёлка", "Ель"}, 2, true, true,
         "apple, груша, ёлка, Ель, Яблоко"},
    };
    for (const auto& c : cases) {
        const WordList ins = ListOf(c.insert), kw = ListOf(c.keywords);
        EXPECT_EQ(Cp1251ToUtf8(ComposeKeywordsText(ins, kw, c.choice, c.saveInsert, c.sort)), c.expected)
            << c.name;
    }
}

class ComposeFiles : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("veskaron_compose_" + std::to_string(std::random_device{}()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string Path(const char* name) const { return (dir_ / name).string(); }
    std::filesystem::path dir_;
};

TEST_F(ComposeFiles, WritesBothListsAndSetsTheSortedDisplay) {
    const WordList ins = ListOf({"seo"}), del = ListOf({"the", "and"});
    WordList kw = ListOf({"web", "design"});
    const auto out = ComposeKeywords(ins, Path("wordins.fkh"), del, Path("worddel.fkw"), kw, 2, true, true);
    EXPECT_TRUE(out.ok()) << out.error;
    EXPECT_TRUE(out.keywordsReady);
    EXPECT_EQ(out.keywords, "design, seo, web");
    EXPECT_TRUE(kw.sorted());
    EXPECT_EQ(ReadWordListFile(Path("worddel.fkw")).entries, del.entries());
    EXPECT_EQ(ReadWordListFile(Path("wordins.fkh")).entries, ins.entries());
}

TEST_F(ComposeFiles, FailedWritesStopAtTheirStep) {
    const WordList ins = ListOf({"seo"}), del = ListOf({"the"});
    WordList kw = ListOf({"web"});
    const std::string missing = Path("no/such/folder/list.fkw");
    auto first = ComposeKeywords(ins, Path("wordins.fkh"), del, missing, kw, 2, true, false);
    EXPECT_FALSE(first.ok());
    EXPECT_FALSE(first.keywordsReady);
    EXPECT_NE(first.error.find(missing), std::string::npos) << first.error;
    EXPECT_FALSE(std::filesystem::exists(Path("wordins.fkh")));

    auto second = ComposeKeywords(ins, missing, del, Path("worddel.fkw"), kw, 2, true, false);
    EXPECT_FALSE(second.ok());
    EXPECT_TRUE(second.keywordsReady);
    EXPECT_EQ(second.keywords, "seo, web");
}

TEST(KeywordCounters, CountsAndTheOneShortEntryRule) {
    struct Case {
        const char* name;
        std::vector<std::string> entries;
        int choice, minWordLen;
        std::size_t words, chars;
    } cases[] = {
        {"CommaAndSpace", {"abcde", "abc", "abcd"}, 2, 4, 3, 16},
        {"Comma", {"abcde", "abc", "abcd"}, 0, 4, 3, 14},
        {"TrimmedEntries", {" design ", "web"}, 1, 4, 2, 10},
        {"OneShortEntryEmptiesTheList", {"ab"}, 0, 4, 0, 0},
        {"OneEntryJustLongEnough", {"abc"}, 0, 4, 1, 3},
        {"ShortEntriesAmongOthersStay", {"a", "b"}, 0, 16, 2, 3},
        {"Empty", {}, 2, 4, 0, 0},
    };
    for (const auto& c : cases) {
        WordList k = ListOf(c.entries);
        const KeywordCounters got = UpdateKeywordCounters(k, c.choice, c.minWordLen);
        EXPECT_EQ(got.words, c.words) << c.name;
        EXPECT_EQ(got.characters, c.chars) << c.name;
        EXPECT_EQ(k.size(), c.words) << c.name;
    }
}

}  // namespace
}  // namespace veskaron::generator

namespace veskaron::generator {

// A UTF-8 document's lists compare, sort and count by letters as a
// Windows-1251 one's do.
TEST(WordListsUtf8, CaseSortAndCountsFollowTheLetters) {
    const std::vector<std::string> words = {"ёлка", "Ель", "яблоко", "Apple", "中文"};
    WordList utf8(true, TextKind::Utf8);
    utf8.Assign(words);
    EXPECT_TRUE(utf8.Contains("ЁЛКА"));
    EXPECT_TRUE(utf8.Contains("apple"));
    EXPECT_FALSE(utf8.Contains("елка"));
    utf8.SetSorted(true);
    EXPECT_EQ(utf8.entries(), (std::vector<std::string>{"中文", "Apple", "ёлка", "Ель", "яблоко"}));

    WordList keywords(true, TextKind::Utf8);
    keywords.Assign({"ёлка", "Ёлка", "ель"});
    EXPECT_EQ(ComposeKeywordsText(WordList(true, TextKind::Utf8), keywords, 2, false, false), "ёлка, ель");
    int choice = 0;
    SplitKeywords("ёлка, ЁЛКА, ель", choice, keywords);
    EXPECT_EQ(keywords.entries(), (std::vector<std::string>{"ёлка", "ель"}));
    EXPECT_EQ(UpdateKeywordCounters(keywords, choice, 4).characters, 9u) << "characters, not bytes";
}

}  // namespace veskaron::generator
