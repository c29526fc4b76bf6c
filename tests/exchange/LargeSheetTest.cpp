// Sheets large enough to be read in several pieces: every cell must land in its place,
// whether the rows carry their numbers (read in parallel) or not (read in one pass); sheets
// padded with megabytes between row ends are cut in linear time, and a cell text beyond the
// spreadsheet's limit is a bad cell, not a load of the whole text.
#include <gtest/gtest.h>
#include <unistd.h>
#include <zip.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "TableRows.h"
#include "exchange/SheetDataCutter.h"
#include "exchange/WorkbookReader.h"

namespace {

constexpr int kRows = 60000;
constexpr int kColumns = 10;

std::string columnName(int c) {
    std::string s;
    for (++c; c > 0; c = (c - 1) / 26) s.insert(s.begin(), static_cast<char>('A' + (c - 1) % 26));
    return s;
}

// Row r (from 0), column c: r + c/4 as stored text and as the grid shows it.
std::string stored(int r, int c) {
    static const char* fraction[] = {"", ".25", ".5", ".75"};
    return std::to_string(r) + fraction[c % 4];
}
std::string shown(int r, int c) {
    static const char* fraction[] = {"", ",25", ",5", ",75"};
    if (r == 0 && c % 4 != 0) return std::string("0") + fraction[c % 4];
    return std::to_string(r) + fraction[c % 4];
}

void add(zip_t* z, const char* name, const std::string& text) {
    char* copy = static_cast<char*>(std::malloc(text.size()));
    std::memcpy(copy, text.data(), text.size());
    zip_file_add(z, name, zip_source_buffer(z, copy, text.size(), 1), ZIP_FL_OVERWRITE);
}

const std::string ns = "http://schemas.openxmlformats.org/";

// A workbook of one sheet part, in a file of this process.
std::string writeSheet(const std::string& name, const std::string& sheet) {
    const std::string path =
        (std::filesystem::temp_directory_path() / (std::to_string(::getpid()) + "_" + name)).string();
    int err = 0;
    zip_t* z = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &err);
    add(z, "_rels/.rels",
        "<Relationships xmlns=\"" + ns + "package/2006/relationships\"><Relationship Id=\"rId1\" Type=\"" + ns +
            "officeDocument/2006/relationships/officeDocument\" Target=\"/xl/workbook.xml\"/></Relationships>");
    add(z, "xl/workbook.xml",
        "<workbook xmlns=\"" + ns + "spreadsheetml/2006/main\" xmlns:r=\"" + ns +
            "officeDocument/2006/relationships\"><sheets><sheet name=\"S\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>");
    add(z, "xl/_rels/workbook.xml.rels",
        "<Relationships xmlns=\"" + ns + "package/2006/relationships\"><Relationship Id=\"rId1\" Type=\"" + ns +
            "officeDocument/2006/relationships/worksheet\" Target=\"/xl/worksheets/sheet1.xml\"/></Relationships>");
    add(z, "xl/worksheets/sheet1.xml", sheet);
    zip_close(z);
    return path;
}

// A workbook whose sheet uses the prefix "x:" for its elements; with numbered == false its
// rows and cells carry no references.
std::string writeBook(const std::string& name, bool numbered) {
    std::string sheet = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><x:worksheet xmlns:x=\"" + ns +
                        "spreadsheetml/2006/main\"><x:sheetData>";
    for (int r = 0; r < kRows; ++r) {
        sheet += numbered ? "<x:row r=\"" + std::to_string(r + 1) + "\">" : "<x:row>";
        for (int c = 0; c < kColumns; ++c) {
            sheet += numbered ? "<x:c r=\"" + columnName(c) + std::to_string(r + 1) + "\">" : "<x:c>";
            sheet += "<x:v>" + stored(r, c) + "</x:v></x:c>";
        }
        sheet += "</x:row>";
    }
    sheet += "</x:sheetData><x:pageMargins left=\"0.7\"/></x:worksheet>";
    return writeSheet(name, sheet);
}

class LargeSheet : public ::testing::TestWithParam<bool> {};

TEST_P(LargeSheet, EveryCellLandsInItsPlace) {
    const bool numbered = GetParam();
    const std::string path = writeBook(numbered ? "tarvolyn_large_numbered.xlsx" : "tarvolyn_large_plain.xlsx", numbered);
    const WorkbookReadResult r = readWorkbook(path);
    std::filesystem::remove(path);
    ASSERT_TRUE(r.ok()) << r.detail;
    ASSERT_EQ(r.cells.rowCount(), kRows);
    ASSERT_EQ(r.cells.columnCount(), kColumns);
    int wrong = 0;
    for (int row = 0; row < kRows; ++row)
        for (int c = 0; c < kColumns; ++c)
            if (r.cells.text(row, c) != shown(row, c) && ++wrong < 5)
                ADD_FAILURE() << "row " << row << " column " << c << ": " << r.cells.text(row, c);
    EXPECT_EQ(wrong, 0);
}

INSTANTIATE_TEST_SUITE_P(Rows, LargeSheet, ::testing::Values(true, false));

struct Padding {
    size_t megabytes;   // of blanks inside the first row
    bool cut;           // whether the cutter takes the sheet (else the one-pass parse reads it)
};

class PaddedSheet : public ::testing::TestWithParam<Padding> {};

const std::string kRow1 = "<row r=\"1\"><c r=\"A1\"><v>1</v></c>";
const std::string kRow2 = "</row><row r=\"2\"><c r=\"B2\" t=\"inlineStr\"><is><t>x</t></is></c></row>";

// The cutter searches each byte about once, however far apart the row ends are; the pieces
// it hands out are the sheet data, whole and in order.
TEST_P(PaddedSheet, IsCutInLinearTime) {
    const Padding p = GetParam();
    const std::string data = kRow1 + std::string(p.megabytes << 20, ' ') + kRow2;
    const std::string part = "<worksheet xmlns=\"" + ns + "spreadsheetml/2006/main\"><sheetData>" + data +
                             "</sheetData></worksheet>";
    SheetDataCutter cutter;
    std::string joined;
    bool accepted = true;
    size_t fed = 0;
    for (size_t at = 0; at <= part.size() && accepted; at += 1 << 20) {
        const std::string_view chunk = std::string_view(part).substr(at, 1 << 20);
        fed += chunk.size();
        accepted = cutter.feed(chunk, chunk.empty(), [&](std::string piece) { joined += piece; });
        if (chunk.empty()) break;
    }
    EXPECT_EQ(accepted, p.cut);
    if (p.cut) {
        EXPECT_TRUE(joined == data);
    }
    EXPECT_LT(cutter.bytesSearched(), 2 * fed + (1 << 20));
}

// The whole read gives every cell, by the cutter or by the one-pass parse.
TEST_P(PaddedSheet, GivesEveryCell) {
    const Padding p = GetParam();
    const std::string path = writeSheet("tarvolyn_padded" + std::to_string(p.megabytes) + ".xlsx", "<worksheet xmlns=\"" + ns +
                                                                   "spreadsheetml/2006/main\"><sheetData>" + kRow1 +
                                                                   std::string(p.megabytes << 20, ' ') + kRow2 +
                                                                   "</sheetData></worksheet>");
    const WorkbookReadResult r = readWorkbook(path);
    std::filesystem::remove(path);
    ASSERT_TRUE(r.ok()) << r.detail;
    EXPECT_EQ(toRows(r.cells), (Rows{{"1", ""}, {"", "x"}}));
}

INSTANTIATE_TEST_SUITE_P(Megabytes, PaddedSheet, ::testing::Values(Padding{10, true}, Padding{80, false}));

// A cell text may hold 32,767 characters (UTF-16 units), no more; a longer one, shared or
// inline, is a bad cell and its text is not gathered.
TEST(LargeSheet, CellTextsBeyondTheSpreadsheetsLimitAreBadCells) {
    std::string yo;
    for (int i = 0; i < 32767; ++i) yo += "ё";
    const std::string longest = "<c r=\"A1\" t=\"inlineStr\"><is><t>" + yo + "</t></is></c>";
    const std::string tooLong = "<c r=\"B1\" t=\"inlineStr\"><is><t>" + std::string(40000, 'a') + "</t></is></c>";
    const std::string huge = "<c r=\"C1\" t=\"inlineStr\"><is><t>" + std::string(50 << 20, 'b') + "</t></is></c>";
    // Two-unit characters: 16,384 of them are one unit too many.
    std::string emoji;
    for (int i = 0; i < 16384; ++i) emoji += "\xF0\x9F\x98\x80";
    const std::string pairs = "<c r=\"D1\" t=\"inlineStr\"><is><t>" + emoji + "</t></is></c>";
    const std::string path = writeSheet("tarvolyn_long_cells.xlsx", "<worksheet xmlns=\"" + ns +
                                                                        "spreadsheetml/2006/main\"><sheetData><row r=\"1\">" +
                                                                        longest + tooLong + huge + pairs +
                                                                        "</row></sheetData></worksheet>");
    const WorkbookReadResult r = readWorkbook(path);
    std::filesystem::remove(path);
    ASSERT_TRUE(r.ok()) << r.detail;
    EXPECT_TRUE(r.cells.text(0, 0) == yo);
    EXPECT_EQ(r.cells.text(0, 1), "");
    EXPECT_EQ(r.cells.text(0, 2), "");
    EXPECT_EQ(r.cells.text(0, 3), "");
    EXPECT_EQ(r.badRow, 1);
    EXPECT_EQ(r.badColumn, 2);
}

}  // namespace
