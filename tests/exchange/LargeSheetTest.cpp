// Sheets large enough to be read in several pieces: every cell must land in its place,
// whether the rows carry their numbers (read in parallel) or not (read in one pass).
#include <gtest/gtest.h>
#include <zip.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

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

// A workbook whose sheet uses the prefix "x:" for its elements; with numbered == false its
// rows and cells carry no references.
std::string writeBook(const std::string& name, bool numbered) {
    const std::string path = (std::filesystem::temp_directory_path() / name).string();
    const std::string ns = "http://schemas.openxmlformats.org/";
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

}  // namespace
