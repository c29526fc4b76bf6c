// The record reader of legacy .xls workbooks on workbook streams built here record by record,
// for what the files of tests/data cannot show: old (BIFF5) books in a code page, every kind
// of number record, shared strings split over records, damaged and protected streams; and
// the inputs the mutation fuzzer found.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "TableRows.h"
#include "exchange/WorkbookReader.h"

namespace {

std::string le16(unsigned v) { return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8 & 0xFF)}; }
std::string le32(uint32_t v) { return le16(v & 0xFFFF) + le16(v >> 16); }
std::string f64(double v) {
    uint64_t bits;
    std::memcpy(&bits, &v, 8);
    return le32(static_cast<uint32_t>(bits)) + le32(static_cast<uint32_t>(bits >> 32));
}
std::string rec(unsigned type, const std::string& data) { return le16(type) + le16(static_cast<unsigned>(data.size())) + data; }
// Bytes written as a literal, NULs included.
template <size_t N>
std::string B(const char (&bytes)[N]) {
    return std::string(bytes, N - 1);
}
std::string cellHead(unsigned row, unsigned col, unsigned xf = 0) { return le16(row) + le16(col) + le16(xf); }

// A narrow BIFF8 string (one byte per character) with a 16-bit count.
std::string narrow(const std::string& latin1) { return le16(static_cast<unsigned>(latin1.size())) + '\0' + latin1; }
// A wide one from UTF-16 code units.
std::string wide(const std::vector<unsigned>& units) {
    std::string s = le16(static_cast<unsigned>(units.size())) + '\1';
    for (unsigned u : units) s += le16(u);
    return s;
}

struct Sheet {
    unsigned kind;  // 0 worksheet, 2 chart
    std::string body;
};

// A book: BOF, the globals, one BOUNDSHEET per sheet, EOF, then each sheet's substream.
std::string book(const std::string& globals, const std::vector<Sheet>& sheets, bool biff8 = true) {
    const std::string version = le16(biff8 ? 0x0600 : 0x0500);
    const std::string name = biff8 ? std::string("\1\0S", 3) : std::string("\1S");
    const size_t boundSize = 4 + 6 + name.size();
    size_t offset = 8 + globals.size() + sheets.size() * boundSize + 4;
    std::string bounds, streams;
    for (const Sheet& s : sheets) {
        bounds += rec(0x0085, le32(static_cast<uint32_t>(offset)) + '\0' + static_cast<char>(s.kind) + name);
        const std::string sub = rec(0x0809, version + le16(s.kind == 0 ? 0x0010 : 0x0020)) + s.body + rec(0x000A, "");
        streams += sub;
        offset += sub.size();
    }
    return rec(0x0809, version + le16(0x0005)) + globals + bounds + rec(0x000A, "") + streams;
}

// An RK number: an integer shifted by two with bit 1 set, or the high half of a double.
uint32_t rkInt(int v, bool div100 = false) { return static_cast<uint32_t>(v) << 2 | 2u | (div100 ? 1u : 0u); }
uint32_t rkDouble(double v, bool div100 = false) {
    uint64_t bits;
    std::memcpy(&bits, &v, 8);
    return static_cast<uint32_t>(bits >> 32) | (div100 ? 1u : 0u);
}

struct StreamCase {
    const char* what;
    std::string stream;
    Rows expected;
    int badRow = 0, badColumn = 0;
};

class XlsRecords : public ::testing::TestWithParam<StreamCase> {};

TEST_P(XlsRecords, GiveTheTextsOfTheFirstWorksheet) {
    const StreamCase& c = GetParam();
    WorkbookReadResult r;
    readXlsRecords(c.stream, FormatSettings::russian(), r);
    ASSERT_TRUE(r.ok()) << c.what << ": " << r.detail;
    EXPECT_EQ(toRows(r.cells), c.expected) << c.what;
    EXPECT_EQ(r.badRow, c.badRow) << c.what;
    EXPECT_EQ(r.badColumn, c.badColumn) << c.what;
}

// XF 0 general, XF 1 the built-in date format 14, XF 2 the custom format 164 "hh:mm".
const std::string kFormats = rec(0x041E, le16(164) + narrow("hh:mm")) + rec(0x00E0, le16(0) + le16(0)) +
                             rec(0x00E0, le16(0) + le16(14)) + rec(0x00E0, le16(0) + le16(164));

// Shared strings: "Время" in wide characters; "ab" + "cd" whose characters run on into a
// CONTINUE record and turn wide there; "x" with two rich-text runs and phonetic data that
// runs over into the next record too.
const std::string kSst =
    rec(0x00FC, le32(4) + le32(3) + wide({0x412, 0x440, 0x435, 0x43C, 0x44F}) + le16(4) + '\0' + "ab") +
    rec(0x003C, std::string("\1") + le16('c') + le16(0x0434) + le16(1) + '\x0C' + le16(2) + le32(6) + "x" +
                    std::string(8, 'r') + "pp") +
    rec(0x003C, std::string(4, 'p'));

INSTANTIATE_TEST_SUITE_P(
    Streams, XlsRecords,
    ::testing::Values(
        StreamCase{"numbers of every record kind, dates by built-in and custom formats",
                   book(kFormats,
                        {{0, rec(0x0203, cellHead(0, 0) + f64(0.1 + 0.2)) +
                                 rec(0x027E, cellHead(0, 1) + le32(rkInt(-7))) +
                                 rec(0x027E, cellHead(0, 2) + le32(rkInt(1234, true))) +
                                 rec(0x027E, cellHead(0, 3) + le32(rkDouble(0.5))) +
                                 rec(0x027E, cellHead(0, 4) + le32(rkDouble(100.0, true))) +
                                 rec(0x00BD, le16(1) + le16(1) + le16(1) + le32(rkInt(45000)) + le16(2) +
                                                 le32(rkDouble(0.75)) + le16(0) + le32(rkInt(3)) + le16(3)) +
                                 rec(0x0203, cellHead(2, 0, 1) + f64(45000.25))}}),
                   {{"0,3", "-7", "12,34", "0,5", "1"},
                    {"", "15.03.2023", "30.12.1899 18:00:00", "3", ""},
                    {"15.03.2023 06:00:00", "", "", "", ""}}},
        StreamCase{"1904 date mode",
                   book(rec(0x0022, le16(1)) + kFormats, {{0, rec(0x0203, cellHead(0, 0, 1) + f64(0))}}),
                   {{"01.01.1904"}}},
        StreamCase{"shared strings over CONTINUE records, a bad index, blanks widen nothing",
                   book(kSst,
                        {{0, rec(0x00FD, cellHead(0, 0) + le32(0)) + rec(0x00FD, cellHead(0, 1) + le32(1)) +
                                 rec(0x00FD, cellHead(1, 0) + le32(2)) + rec(0x00FD, cellHead(1, 1) + le32(9)) +
                                 rec(0x0201, cellHead(5, 5)) + rec(0x00BE, le16(6) + le16(0) + le16(0) + le16(0) + le16(1))}}),
                   {{"Время", "abcд"}, {"x", ""}}, 2, 2},
        StreamCase{"booleans, errors, formula results and a text result split over records",
                   book("", {{0, rec(0x0205, cellHead(0, 0) + B("\1\0")) + rec(0x0205, cellHead(0, 1) + B("\0\0")) +
                                     rec(0x0205, cellHead(0, 2) + B("\x07\1")) +
                                     rec(0x0006, cellHead(1, 0) + f64(2.5) + std::string(8, '\0')) +
                                     rec(0x0006, cellHead(1, 1) + B("\1\0\1\0\0\0\xFF\xFF") + std::string(8, '\0')) +
                                     rec(0x0006, cellHead(1, 2) + B("\2\0\x2A\0\0\0\xFF\xFF") + std::string(8, '\0')) +
                                     rec(0x0006, cellHead(2, 0) + B("\0\0\0\0\0\0\xFF\xFF") + std::string(8, '\0')) +
                                     rec(0x04BC, std::string(8, '\0')) +  // a shared formula between them
                                     rec(0x0207, le16(5) + '\0' + "ab") + rec(0x003C, std::string("\1") + le16(0x44F) + le16('z') + le16('!')) +
                                     rec(0x0006, cellHead(2, 1) + B("\3\0\0\0\0\0\xFF\xFF") + std::string(8, '\0')) +
                                     rec(0x0006, cellHead(2, 2) + B("\0\0\0\0\0\0\xFF\xFF") + std::string(8, '\0'))}}),
                   {{"True", "False", ""}, {"2,5", "True", ""}, {"abяz!", "", ""}}, 3, 3},
        StreamCase{"the first worksheet after a chart sheet; a chart drawn on it is skipped",
                   book(rec(0x00FC, le32(1) + le32(1) + narrow("no")),
                        {{2, rec(0x0203, cellHead(0, 0) + f64(1))},
                         {0, rec(0x0203, cellHead(1, 1) + f64(2)) + rec(0x0809, le16(0x0600) + le16(0x0020)) +
                                 rec(0x0203, cellHead(0, 0) + f64(9)) + rec(0x000A, "") +
                                 rec(0x0203, cellHead(2, 1) + f64(3))}}),
                   {{"2"}, {"3"}}},
        StreamCase{"an old book in code page 1251",
                   book(rec(0x0042, le16(1251)) + rec(0x041E, le16(164) + "\x05" + "dd.mm") +
                            rec(0x00E0, le16(0) + le16(0)) + rec(0x00E0, le16(0) + le16(164)),
                        {{0, rec(0x0204, cellHead(0, 0) + le16(5) + "\xC2\xF0\xE5\xEC\xFF") +
                                 rec(0x0203, cellHead(0, 1, 1) + f64(45000)) +
                                 rec(0x0006, cellHead(0, 2) + B("\0\0\0\0\0\0\xFF\xFF") + std::string(8, '\0')) +
                                 rec(0x0207, le16(2) + "\xE4\xE0")}},
                        false),
                   {{"Время", "15.03.2023", "да"}}},
        StreamCase{"a text longer than a cell may hold is a bad cell",
                   book("", {{0, rec(0x0204, cellHead(0, 0) + narrow(std::string(32768, 'a'))) +
                                     rec(0x0204, cellHead(0, 1) + narrow(std::string(32767, 'b')))}}),
                   {{"", std::string(32767, 'b')}}, 1, 1}),
    [](const ::testing::TestParamInfo<StreamCase>& info) { return "Case" + std::to_string(info.index); });

struct BadStream {
    const char* what;
    std::string stream;
    WorkbookError error;
};

class XlsRecordsRefused : public ::testing::TestWithParam<BadStream> {};

TEST_P(XlsRecordsRefused, WithoutCells) {
    WorkbookReadResult r;
    readXlsRecords(GetParam().stream, FormatSettings::russian(), r);
    EXPECT_EQ(r.error, GetParam().error) << GetParam().what;
    EXPECT_TRUE(r.cells.empty()) << GetParam().what;
}

const std::string kGood = book("", {{0, rec(0x0203, cellHead(0, 0) + f64(1))}});

INSTANTIATE_TEST_SUITE_P(
    Streams, XlsRecordsRefused,
    ::testing::Values(BadStream{"empty", "", WorkbookError::Corrupt},
                      BadStream{"no BOF first", rec(0x0203, cellHead(0, 0) + f64(1)) + kGood, WorkbookError::Corrupt},
                      BadStream{"password", book(rec(0x002F, std::string(6, '\0')), {}), WorkbookError::Encrypted},
                      BadStream{"cut short in the sheet", kGood.substr(0, kGood.size() - 5), WorkbookError::Corrupt},
                      BadStream{"cut short in the globals", kGood.substr(0, 15), WorkbookError::Corrupt},
                      BadStream{"only a chart sheet", book("", {{2, ""}}), WorkbookError::NoSheet},
                      BadStream{"sheet list pointing past the stream",
                                rec(0x0809, le16(0x0600) + le16(5)) + rec(0x0085, le32(99999) + std::string("\0\0\1\0S", 5)) +
                                    rec(0x000A, ""),
                                WorkbookError::Corrupt}),
    [](const ::testing::TestParamInfo<BadStream>& info) { return "Case" + std::to_string(info.index); });

}  // namespace

namespace {

// Inputs the mutation fuzzer found (tests/data/workbooks/fuzz), read whole and safely.
struct FuzzFinding {
    const char* file;
    WorkbookError error;
};

class XlsFuzzFindings : public ::testing::TestWithParam<FuzzFinding> {};

TEST_P(XlsFuzzFindings, AreReadSafely) {
    std::ifstream in(std::string(TARVOLYN_TEST_DATA) + "/workbooks/fuzz/" + GetParam().file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(bytes.empty());
    WorkbookReadResult r;
    if (bytes.compare(0, 4, "\xD0\xCF\x11\xE0") == 0) readXlsBytes(bytes, FormatSettings::russian(), r);
    else readXlsRecords(bytes, FormatSettings::russian(), r);
    EXPECT_EQ(r.error, GetParam().error) << r.detail;
    // A book of this format has at most 256 columns: cells beyond them are damage.
    EXPECT_LE(r.cells.columnCount(), 256);
}

INSTANTIATE_TEST_SUITE_P(Files, XlsFuzzFindings,
                         ::testing::Values(FuzzFinding{"huge_range.stream", WorkbookError::None},
                                           FuzzFinding{"encrypted_package.xls", WorkbookError::Encrypted},
                                           FuzzFinding{"no_workbook_stream.xls", WorkbookError::UnknownFormat},
                                           FuzzFinding{"worksheet_cut_short.xls", WorkbookError::Corrupt},
                                           FuzzFinding{"no_bof.xls", WorkbookError::Corrupt},
                                           FuzzFinding{"unreadable_stream.xls", WorkbookError::Corrupt},
                                           FuzzFinding{"root_entry_sibling.xls", WorkbookError::None}),
                         [](const ::testing::TestParamInfo<FuzzFinding>& info) { return "Case" + std::to_string(info.index); });

}  // namespace
