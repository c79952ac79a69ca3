#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "site/csv.h"
#include "site/csv_edits.h"

namespace {

using namespace veskaron::site;

// Records as "line:cell|cell" lines, a quoted cell in brackets; or the error.
std::string Show(std::string_view in) {
    const CsvParse p = ParseCsv(in);
    if (!p.ok) return p.error;
    std::string out;
    for (std::size_t r = 0; r < p.records.size(); ++r) {
        out += std::to_string(p.lines[r]) + ":";
        for (std::size_t c = 0; c < p.records[r].size(); ++c) {
            const CsvCell& cell = p.records[r][c];
            out += (c ? "|" : "") + (cell.quoted ? "[" + cell.text + "]" : cell.text);
        }
        out += "\n";
    }
    return out;
}

TEST(ParseCsv, RecordsTheirLinesAndErrors) {
    struct Case { std::string_view in, out; };
    const Case cases[] = {
        {"a,b\r\nc,d\r\n", "1:a|b\n2:c|d\n"},
        {"a,b\nc,", "1:a|b\n2:c|\n"},                                     // LF, no last line end
        {"\xEF\xBB\xBFPath,\"\"\r\n", "1:Path|[]\n"},                    // the mark is no part of the name
        {"\"a,b\",\"say \"\"hi\"\"\"\r\n", "1:[a,b]|[say \"hi\"]\n"},
        {"\"two\r\nlines\",z\r\n\r\nnext\r\n", "1:[two\r\nlines]|z\n3:\n4:next\n"},
        {std::string_view("\xD0\xB0,\x00z\n", 6), std::string_view("1:\xD0\xB0|\x00z\n", 8)},
        {"a\r\n\"open\r\nstill\r\n", "строка 2: поле в кавычках не закрыто"},
        {"\"multi\nline\" ,x\n", "строка 2: после закрывающей кавычки поля идёт текст"},
        {"a\nab\"c\n", "строка 2: кавычка внутри поля, которое не начинается с кавычки"},
        // What a spreadsheet saves: the header's separator, Windows-1251, UTF-16.
        {"Path;Title,x;y\r\na;\"b;c\"\r\n", "1:Path|Title,x|y\n2:a|[b;c]\n"},
        {"Path\tTitle\r\na\tb,c\r\n", "1:Path|Title\n2:a|b,c\n"},
        {"Path;\xCD\xEE\xE2\xFB\xE9\r\n", "1:Path|Новый\n"},
        {std::string_view("\xFF\xFEP\0,\0\x16\x04\n\0", 10), "1:P|Ж\n"},
        // The formula guard comes off; an apostrophe of the text stays.
        {"'=1+2,''-x,'a,'\r\n", "1:=1+2|'-x|'a|'\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(Show(c.in), c.out) << c.in;
}

// What a spreadsheet would run as a formula is written with an apostrophe,
// and comes back as it was; a semicolon or a tab is quoted, so that no reader
// takes it for the separator.
TEST(WriteCsvRecord, GuardsFormulasAndTheReaderTakesTheGuardOff) {
    const std::vector<std::string> cells = {"=SUM(A1)", "'=x", "-1", "@a", "\tx", "\rx", "plain", "'plain", "", "a=b", "x;y"};
    std::ostringstream out;
    WriteCsvRecord(out, cells);
    EXPECT_EQ(out.str(), "'=SUM(A1),''=x,'-1,'@a,\"'\tx\",\"'\rx\",plain,'plain,,a=b,\"x;y\"\r\n");
    const CsvParse back = ParseCsv(out.str());
    ASSERT_TRUE(back.ok) << back.error;
    ASSERT_EQ(back.records.size(), 1u);
    std::vector<std::string> texts;
    for (const CsvCell& c : back.records[0]) texts.push_back(c.text);
    EXPECT_EQ(texts, cells);
}

TEST(ReadCsvEdits, EmptyLeavesQuotedEmptySetsReadOnlyColumnsArePassedOver) {
    const CsvEdits e = ReadCsvEdits(
        "Path,Size,Title,Description,ExpiriesText,OgTitle,PageEnter.On,TitleWidth\r\n"
        "a.htm,12,New,,x,\"\",1,300\r\n"
        ",,,,,,,\r\n"
        "sub/b.htm,,,\"\"\r\n");
    ASSERT_TRUE(e.ok) << e.error;
    ASSERT_EQ(e.rows.size(), 2u);
    using Values = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(e.rows[0].values, (Values{{"Title", "New"}, {"OgTitle", ""}, {"PageEnter.On", "1"}}));
    EXPECT_EQ(e.rows[1].line, 4u);
    EXPECT_EQ(e.rows[1].values, (Values{{"Description", ""}}));
}

TEST(ReadCsvEdits, ErrorsNameTheColumnOrTheLine) {
    struct Case { std::string_view in, error; };
    const Case cases[] = {
        {"", "строка 1: файл пуст: в первой строке нужны названия столбцов, среди них Path"},
        {"Path,Title,Colour\r\na,b,c\r\n", "строка 1: неизвестный столбец «Colour»"},
        {"Path,Title,Title\r\n", "строка 1: столбец «Title» указан дважды"},
        {"Title;Robots\r\na;b\r\n", "строка 1: в строке заголовка нет столбца Path"},
        {"Path,Title\r\na.htm,x,,\r\nb.htm,x,z\r\n", "строка 3: ячеек больше, чем столбцов в строке заголовка"},
        {"Path,Title\r\n\"\",x\r\n", "строка 2: не указан путь к странице (столбец Path)"},
        {"Path,Title\r\n./a.htm,x\r\nb.htm,y\r\na.htm,z\r\n", "строка 4: страница «a.htm» уже названа в строке 2"},
        // A NUL would cut the path where the system takes it.
        {std::string_view("Path,Title\r\na.htm,x\r\na.htm\0.txt,y\r\n", 32),
         "строка 3: в пути к странице управляющий символ (код 0x00)"},
        {"Path;Title\r\n\"a\tb.htm\";x\r\n", "строка 2: в пути к странице управляющий символ (код 0x09)"},
    };
    for (const Case& c : cases) EXPECT_EQ(ReadCsvEdits(c.in).error, c.error) << c.in;
}

// A row from a Russian spreadsheet: semicolons, Windows-1251, a guarded cell.
TEST(ReadCsvEdits, TakesASpreadsheetsOwnFile) {
    const CsvEdits e = ReadCsvEdits("Path;Title;Description\r\na.htm;\xCD\xEE\xE2\xFB\xE9;'-\xF1\xEA\xE8\xE4\xEA\xE0\r\n");
    ASSERT_TRUE(e.ok) << e.error;
    EXPECT_FALSE(e.plain);
    ASSERT_EQ(e.rows.size(), 1u);
    using Values = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(e.rows[0].values, (Values{{"Title", "Новый"}, {"Description", "-скидка"}}));
}

TEST(LeadsOutside, ResolvesDotsAndLinks) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / "veskaron_leads_outside";
    fs::remove_all(dir);
    fs::create_directories(dir / "site" / "sub");
    fs::create_directories(dir / "elsewhere");
    fs::create_directory_symlink(dir / "elsewhere", dir / "site" / "out");
    fs::create_directory_symlink(dir / "site" / "sub", dir / "site" / "in");
    const std::string site = (dir / "site").string();
    struct Case { std::string path; bool outside; };
    const Case cases[] = {
        {"a.htm", false},          {"sub/../a.htm", false},   {"in/a.htm", false},
        {"../site/a.htm", false},  {"../out/victim.html", true}, {"../site2/a.htm", true},
        {"out/a.htm", true},       {"/abs/path.html", true},  {(dir / "site" / "b.htm").string(), false},
    };
    for (const Case& c : cases) EXPECT_EQ(LeadsOutside(site, c.path), c.outside) << c.path;
    EXPECT_FALSE(LeadsOutside(site + "/", "a.htm"));
    fs::remove_all(dir);
}

}  // namespace
