// The cell table's bounding box and the CSV reader's splitting of text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TableRows.h"
#include "exchange/WorkbookReader.h"

namespace {

TEST(CellTable, EditsReplaceTextsInPlace) {
    const CellTable t = CellTable::fromRows({{"a", "bb", ""}, {"", "c", "ddd"}});
    const CellTable e = t.withEdits({{1, 0, "x"}, {0, 1, ""}, {2, 0, "outside"}, {0, -1, "outside"}, {1, 2, "y"},
                                     {1, 2, "zz"}, {0, 2, "w"}});
    EXPECT_EQ(toRows(e), (Rows{{"a", "", "w"}, {"x", "c", "zz"}}));
    EXPECT_EQ(toRows(t), (Rows{{"a", "bb", ""}, {"", "c", "ddd"}}));
}

TEST(CellTableBuilder, CellsInAnyOrderTheLastTextWins) {
    CellTableBuilder b;
    b.add(12, 5, "c");
    b.add(10, 4, "a");
    b.add(12, 5, "d");
    b.add(11, 7, "b");
    b.add(12, 4, "");  // an error cell: content without text
    CellTable t;
    ASSERT_EQ(b.build(t), CellTableBuilder::Status::Ok);
    EXPECT_EQ(b.firstRow(), 10u);
    EXPECT_EQ(b.firstColumn(), 4u);
    EXPECT_EQ(toRows(t), (Rows{{"a", "", "", ""}, {"", "", "", "b"}, {"", "d", "", ""}}));
    EXPECT_EQ(t.text(-1, 0), "");
    EXPECT_EQ(t.text(3, 0), "");
}

TEST(CellTableBuilder, RefusesUsedRangesOverFiftyMillionCells) {
    // 50,001 x 1,000 and a whole sheet are too large; 100,000 x 50 is not.
    for (const auto& [row, column] : {std::pair{50000u, 999u}, std::pair{1048575u, 16383u}}) {
        CellTableBuilder b;
        b.add(0, 0, "x");
        b.add(row, column, "y");
        CellTable t;
        EXPECT_EQ(b.build(t), CellTableBuilder::Status::TooLarge) << row;
    }
    {
        CellTableBuilder b;
        b.add(0, 0, "x");
        b.add(99999, 49, "y");
        CellTable t;
        ASSERT_EQ(b.build(t), CellTableBuilder::Status::Ok);
        EXPECT_EQ(t.rowCount(), 100000);
        EXPECT_EQ(t.columnCount(), 50);
        EXPECT_EQ(t.text(99999, 49), "y");
        EXPECT_EQ(t.text(50000, 20), "");
    }
}

TEST(CellTableBuilder, AnEmptySheetIsOneEmptyCell) {
    CellTableBuilder b;
    CellTable t;
    ASSERT_EQ(b.build(t), CellTableBuilder::Status::Ok);
    EXPECT_EQ(toRows(t), (Rows{{""}}));
}

struct CsvCase {
    const char* name;
    std::string bytes;
    Rows expected;
    std::string warning = {};
};

std::string utf16le(const std::u16string& s) {
    std::string out("\xFF\xFE", 2);
    for (char16_t u : s) out += {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
    return out;
}

TEST(CsvReader, SplitsTextAsWritten) {
    const CsvCase cases[] = {
        {"semicolon", "a;b\r\n1;2", {{"a", "b"}, {"1", "2"}}},
        {"tab", "a\tb\n1\t2\n", {{"a", "b"}, {"1", "2"}}},
        {"comma", "a,b\n1,2\n", {{"a", "b"}, {"1", "2"}}},
        {"semicolon before comma", "a;b,c\n1,5;2\n", {{"a", "b,c"}, {"1,5", "2"}}},
        {"tab before comma", "a\tb,c\n", {{"a", "b,c"}}},
        {"no delimiter", "one two\nthree\n", {{"one two"}, {"three"}}},
        {"quoted", "\"x;y\";\"l1\r\nl2\"\n", {{"x;y", "l1\r\nl2"}}},
        {"doubled quotes", "\"say \"\"hi\"\"\";b", {{"say \"hi\"", "b"}}},
        {"after closing quote", "\"ab\"cd;e", {{"abcd", "e"}}},
        {"quote inside a field", "ab\"c;d", {{"ab\"c", "d"}}},
        {"blank line", "a\n\nb", {{"a"}, {""}, {"b"}}},
        {"leading empties", ";;\n;x;\n", {{"x"}}},
        {"blanks kept", " 1,5 ; x ", {{" 1,5 ", " x "}}},
        {"old mac breaks", "a;b\r1;2\r", {{"a", "b"}, {"1", "2"}}},
        {"utf-8 bom", "\xEF\xBB\xBF\xD0\x90;b", {{"А", "b"}}},
        {"windows-1251", "\xC0\xC1;\xE0\xB8", {{"АБ", "аё"}}},
        {"utf-16le bom", std::string("\xFF\xFE" "a\0;\0\x16\x04", 8), {{"a", "Ж"}}},
        {"utf-16be bom", std::string("\xFE\xFF\0a\0;\0b", 8), {{"a", "b"}}},
        {"only a byte order mark", "\xEF\xBB\xBF", {{""}}},
        // The delimiter is the one that gives equal field counts, counted outside quotes.
        {"comma with a semicolon in a quoted name", "Время,\"Давление;кПа\",Расход\r\n10:00,1.5,2\r\n",
         {{"Время", "Давление;кПа", "Расход"}, {"10:00", "1.5", "2"}}},
        {"comma with a semicolon in a plain name", "t,p;q,r\n1,2,3\n", {{"t", "p;q", "r"}, {"1", "2", "3"}}},
        {"unicode text: tabs in UTF-16, a semicolon in a name",
         utf16le(u"Время\tДавление;кПа\tРасход\r\n1,5\t2\t3\r\n"),
         {{"Время", "Давление;кПа", "Расход"}, {"1,5", "2", "3"}}},
        {"a title line above the table", "Журнал\n\na;b\n1;2\n", {{"Журнал", ""}, {"", ""}, {"a", "b"}, {"1", "2"}}},
        {"lines of one field above a single line", "x\ny\np,q\n", {{"x", ""}, {"y", ""}, {"p", "q"}},
         inconsistentDelimiterMessage("запятая")},
        {"no delimiter fits", "a;b;c\n1;2\n", {{"a", "b", "c"}, {"1", "2", ""}},
         inconsistentDelimiterMessage("точка с запятой")},
    };
    for (const auto& c : cases) {
        WorkbookReadResult r;
        readCsvText(c.bytes, r);
        ASSERT_TRUE(r.ok()) << c.name;
        EXPECT_EQ(toRows(r.cells), c.expected) << c.name;
        EXPECT_EQ(r.warning, c.warning) << c.name;
    }
}

TEST(CsvReader, RefusesBinaryContentAndAnEmptyFile) {
    for (const std::string& bytes :
         {std::string("a\x01" "b"), std::string("ab\0cd", 5), std::string("\x7F" "ELF"), std::string()}) {
        WorkbookReadResult r;
        readCsvText(bytes, r);
        EXPECT_EQ(r.error, WorkbookError::UnknownFormat);
    }
}

}  // namespace
