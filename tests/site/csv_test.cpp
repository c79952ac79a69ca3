#include <gtest/gtest.h>

#include "site/csv.h"
#include "site/csv_edits.h"

namespace {

using namespace veskaron::site;

// Records as "cell|cell" lines, a quoted cell in brackets.
std::string Show(const CsvParse& p) {
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

TEST(ParseCsv, RecordsCellsAndTheirLines) {
    struct Case { std::string_view in, records; };
    const Case cases[] = {
        {"", ""},
        {"a,b\r\nc,d\r\n", "1:a|b\n2:c|d\n"},
        {"a,b\nc,d", "1:a|b\n2:c|d\n"},                                   // LF, no last line end
        {"\xEF\xBB\xBFPath,T\r\n", "1:Path|T\n"},                         // the mark is no part of the first name
        {"x,\"\"\r\n", "1:x|[]\n"},                                       // given empty on purpose
        {"\"a,b\",\"say \"\"hi\"\"\"\r\n", "1:[a,b]|[say \"hi\"]\n"},
        {"\"two\r\nlines\",z\r\nnext\r\n", "1:[two\r\nlines]|z\n3:next\n"},  // the break is kept, lines count on
        {"a,\r\n\r\n,\r\n", "1:a|\n2:\n3:|\n"},
        {std::string_view("\xD0\xB0,\x00\xFF\n", 6), std::string_view("1:\xD0\xB0|\x00\xFF\n", 8)},  // bytes as they are
    };
    for (const Case& c : cases) {
        const CsvParse p = ParseCsv(c.in);
        EXPECT_TRUE(p.ok) << c.in << ": " << p.error;
        EXPECT_EQ(Show(p), c.records) << c.in;
    }
}

TEST(ParseCsv, ErrorsNameTheLine) {
    struct Case { std::string_view in, error; };
    const Case cases[] = {
        {"a\r\n\"open\r\nstill\r\n", "line 2: a quoted field is not closed"},
        {"a\r\nb\r\n\"x\"y,z\r\n", "line 3: text after the closing quote of a field"},
        {"\"multi\nline\" ,x\n", "line 2: text after the closing quote of a field"},
        {"a\nab\"c\n", "line 2: a quote inside a field that does not start with one"},
    };
    for (const Case& c : cases) {
        const CsvParse p = ParseCsv(c.in);
        EXPECT_FALSE(p.ok) << c.in;
        EXPECT_EQ(p.error, c.error) << c.in;
        EXPECT_TRUE(p.records.empty());
    }
}

TEST(ReadCsvEdits, EmptyLeavesQuotedEmptySetsAndReadOnlyColumnsArePassedOver) {
    const CsvEdits e = ReadCsvEdits(
        "\xEF\xBB\xBFPath,Size,Title,Description,ExpiriesText,OgTitle,PageEnter.On,TitleWidth,Findings\r\n"
        "a.htm,12,New,,x,\"\",1,300,2\r\n"
        ",,,,,,,,\r\n"
        "\r\n"
        "sub/b.htm,,,\"\"\r\n");
    ASSERT_TRUE(e.ok) << e.error;
    ASSERT_EQ(e.rows.size(), 2u);
    EXPECT_EQ(e.rows[0].line, 2u);
    EXPECT_EQ(e.rows[0].path, "a.htm");
    using Values = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(e.rows[0].values, (Values{{"Title", "New"}, {"OgTitle", ""}, {"PageEnter.On", "1"}}));
    EXPECT_EQ(e.rows[1].line, 5u);
    EXPECT_EQ(e.rows[1].values, (Values{{"Description", ""}}));
}

TEST(ReadCsvEdits, ErrorsNameTheColumnOrTheLine) {
    struct Case { std::string_view in, error; };
    const Case cases[] = {
        {"Path,Title,Colour\r\na,b,c\r\n", "unknown column 'Colour'"},
        {"Title\r\nx\r\n", "no Path column in the header line"},
        {"Path;Title\r\na;b\r\n", "no Path column in the header line (fields must be separated by commas)"},
        {"", "the file is empty: it needs a header line with a Path column"},
        {"Path,Title,Title\r\n", "line 1: column 'Title' is given twice"},
        {"Path,Title\r\na.htm,x\r\n,y\r\n", "line 3: no Path"},
        {"Path,Title\r\na.htm,x,,\r\nb.htm,x,z\r\n", "line 3: more cells than the header line has columns"},
        {"Path,Title\r\n./a.htm,x\r\nb.htm,y\r\na.htm,z\r\n", "line 4: page 'a.htm' is named in line 2 already"},
        {"Path,Title\r\n\"a.htm,x\r\n", "line 2: a quoted field is not closed"},
    };
    for (const Case& c : cases) {
        const CsvEdits e = ReadCsvEdits(c.in);
        EXPECT_FALSE(e.ok) << c.in;
        EXPECT_EQ(e.error, c.error) << c.in;
    }
}

}  // namespace
