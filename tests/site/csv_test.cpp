#include <gtest/gtest.h>

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
        {std::string_view("\xD0\xB0,\x00\xFF\n", 6), std::string_view("1:\xD0\xB0|\x00\xFF\n", 8)},
        {"a\r\n\"open\r\nstill\r\n", "line 2: a quoted field is not closed"},
        {"\"multi\nline\" ,x\n", "line 2: text after the closing quote of a field"},
        {"a\nab\"c\n", "line 2: a quote inside a field that does not start with one"},
    };
    for (const Case& c : cases) EXPECT_EQ(Show(c.in), c.out) << c.in;
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
        {"Path,Title,Colour\r\na,b,c\r\n", "unknown column 'Colour'"},
        {"Path;Title\r\na;b\r\n", "no Path column in the header line (fields must be separated by commas)"},
        {"Path,Title\r\na.htm,x,,\r\nb.htm,x,z\r\n", "line 3: more cells than the header line has columns"},
        {"Path,Title\r\n./a.htm,x\r\nb.htm,y\r\na.htm,z\r\n", "line 4: page 'a.htm' is named in line 2 already"},
    };
    for (const Case& c : cases) EXPECT_EQ(ReadCsvEdits(c.in).error, c.error) << c.in;
}

}  // namespace
