// The workbook reader against real files written by openpyxl, xlsxwriter, xlwt and
// LibreOffice (tests/data/workbooks/make_workbooks.py); every expected text is written
// out by hand from what the script put into the file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TableRows.h"
#include "exchange/WorkbookReader.h"

namespace {

std::string dataPath(const std::string& name) { return std::string(TARVOLYN_TEST_DATA) + "/workbooks/" + name; }

struct FileCase {
    const char* file;
    WorkbookFormat format;
    Rows expected;
};

class WorkbookFiles : public ::testing::TestWithParam<FileCase> {};

TEST_P(WorkbookFiles, GiveTheTextsOfTheFirstSheetsUsedRange) {
    const FileCase& c = GetParam();
    const WorkbookReadResult r = readWorkbook(dataPath(c.file));
    ASSERT_TRUE(r.ok()) << r.detail;
    EXPECT_EQ(r.format, c.format);
    EXPECT_EQ(r.badRow, 0);
    EXPECT_EQ(toRows(r.cells), c.expected);
}

const Rows kBasic = {
    {"Время", "Расход", "Давление", "Флаг", "Примечание"},
    {"15.01.2023 10:30:00", "12,5", "-0,001", "True", "норма"},
    {"15.01.2023", "1E-5", "1,23456789012346E17", "False", ""},
    {"01.02.2023", "0,3", "1,5E20", "", "  пробелы  "},
    {"15.01.2023 10:31:00", "", "100", "7", "x"},
    {"30.12.1899 12:00:00", "0,666666666666667", "", "", ""},
};

// The book of a plant export with computed columns, saved as .xls by LibreOffice: every
// formula shows the result stored with it; long texts run over several records.
Rows formulaRows() {
    std::string zh, z, yu;
    for (int i = 0; i < 6000; ++i) zh += "ж";
    z.assign(9000, 'z');
    for (int i = 0; i < 5000; ++i) yu += "ю";
    return {{"Время", "Расход", "Удвоенный", "Оценка", "Больше", "Ошибка", "Завтра", "Пусто", "Длинный"},
            {"31.01.2024 23:00:00", "1,5", "3", "low", "False", "", "01.02.2024 23:00:00", "", zh},
            {"01.02.2024", "3", "6", "low", "False", "", "02.02.2024", "", z},
            {"01.02.2024 01:00:00", "4,5", "9", "высокий", "True", "", "02.02.2024 01:00:00", "", yu},
            {"01.02.2024 02:00:00", "6", "12", "высокий", "True", "", "02.02.2024 02:00:00", "", ""}};
}

const Rows kLegacy = {
    {"Время", "Значение", "Текст"},
    {"04.05.2022 13:45:10", "3,25", "строка"},
    {"05.05.2022", "1234567", ""},
    {"", "-0,5", ""},
};

INSTANTIATE_TEST_SUITE_P(
    Files, WorkbookFiles,
    ::testing::Values(
        FileCase{"openpyxl_basic.xlsx", WorkbookFormat::Xlsx, kBasic},
        FileCase{"range_c3.xlsx", WorkbookFormat::Xlsx,
                 {{"Время", "T1", ""},
                  {"01.03.2024 08:00:00", "20", ""},
                  {"01.03.2024 08:01:00", "20,25", ""},
                  {"", "", "объединено"}}},
        FileCase{"single_cell.xlsx", WorkbookFormat::Xlsx, {{"42"}}},
        FileCase{"xlsxwriter_formulas.xlsx", WorkbookFormat::Xlsx,
                 {{"A", "B", "Расход м3"},
                  {"2", "3", "6"},
                  {"31.12.2021 23:59:59", "A", "ab"},
                  {"1,25", "", ""},
                  {"01.01.1900 12:00:00", "", "False"},
                  {"слитые", "", ""}}},
        FileCase{"inline_strings.xlsx", WorkbookFormat::Xlsx,
                 {{"имя", "значение"}, {"первый", "1,5"}, {"tab\there", "2"}}},
        FileCase{"date1904.xlsx", WorkbookFormat::Xlsx, {{"15.06.2000 06:30:00", "5"}, {"02.01.1904", ""}}},
        FileCase{"features.xlsx", WorkbookFormat::Xlsx,
                 {{"line\r", "_x0041_", "漢字", "a b", ""},
                  {"01.03.2024 12:30:00", "x&y", "True", "", ""},
                  {"15.03.2023 18:00:00", "3", "15.03.2023", "", ""},
                  {"1", "2", "", "", "-3"}}},
        FileCase{"chartsheet_first.xlsx", WorkbookFormat::Xlsx, {{"1"}, {"2"}, {"3"}}},
        FileCase{"legacy.xls", WorkbookFormat::Xls, kLegacy},
        FileCase{"libreoffice.xlsx", WorkbookFormat::Xlsx, kLegacy},
        FileCase{"libreoffice.xls", WorkbookFormat::Xls, kBasic},
        FileCase{"libreoffice_formulas.xls", WorkbookFormat::Xls, formulaRows()},
        FileCase{"date1904.xls", WorkbookFormat::Xls, {{"15.06.2000 06:30:00", "5"}, {"02.01.1904", ""}}},
        FileCase{"cp1251.csv", WorkbookFormat::Csv,
                 {{"Время", "Температура", "Комментарий"},
                  {"01.02.2023 10:00:00", "1,5", "a;b"},
                  {"01.02.2023 10:01:00", "", "он сказал \"да\""}}},
        FileCase{"export_joined.csv", WorkbookFormat::Csv,
                 {{"time", "Поток", "Уровень"}, {"15.01.2023", "1,5", ""}, {"15.01.2023 0:01:00", "", "-2E-5"}}},
        FileCase{"export_single.csv", WorkbookFormat::Csv,
                 {{"time", "Поток"}, {"15.01.2023", "1,5"}, {"15.01.2023 0:01:00", "2"}}},
        FileCase{"comma.csv", WorkbookFormat::Csv, {{"a", "b"}, {"1", "x\ny"}}},
        FileCase{"comma_quoted_header.csv", WorkbookFormat::Csv,
                 {{"Время", "Давление;кПа", "Расход"}, {"01.02.2023 10:00:00", "1.5", "2"}}},
        FileCase{"unicode_text.txt", WorkbookFormat::Csv,
                 {{"Время", "Давление;кПа", "Расход"}, {"01.02.2023 10:00:00", "1,5", "2"}}}),
    [](const ::testing::TestParamInfo<FileCase>& info) {
        std::string name = info.param.file;
        for (char& ch : name)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return name;
    });

struct BadCase {
    const char* file;
    WorkbookError error;
};

class BadFiles : public ::testing::TestWithParam<BadCase> {};

TEST_P(BadFiles, AreRefusedWithoutCells) {
    const WorkbookReadResult r = readWorkbook(dataPath(GetParam().file));
    EXPECT_EQ(r.error, GetParam().error) << r.detail;
    EXPECT_TRUE(r.cells.empty());
}

INSTANTIATE_TEST_SUITE_P(Files, BadFiles,
                         ::testing::Values(BadCase{"truncated.xlsx", WorkbookError::Corrupt},
                                           BadCase{"corrupt.xlsx", WorkbookError::Corrupt},
                                           BadCase{"encrypted.xlsx", WorkbookError::Encrypted},
                                           BadCase{"not_workbook.zip", WorkbookError::UnknownFormat},
                                           BadCase{"huge_range.xlsx", WorkbookError::TooLarge},
                                           BadCase{"binary.dat", WorkbookError::UnknownFormat},
                                           BadCase{"no_such_file.xlsx", WorkbookError::NotFound},
                                           BadCase{"empty.csv", WorkbookError::UnknownFormat},
                                           BadCase{"", WorkbookError::NotFound}));

TEST(WorkbookReader, AFolderIsNotAWorkbook) {
    const WorkbookReadResult r = readWorkbook(std::string(TARVOLYN_TEST_DATA));
    EXPECT_FALSE(r.ok());
    EXPECT_TRUE(r.cells.empty());
}

TEST(WorkbookReader, UsesTheGivenDecimalSeparatorAndDateFormat) {
    FormatSettings fs;
    fs.decimalSeparator = '.';
    fs.shortDateFormat = "yyyy-mm-dd";
    fs.longTimeFormat = "h:mm";
    const WorkbookReadResult r = readWorkbook(dataPath("openpyxl_basic.xlsx"), fs);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.cells.text(1, 0), "2023-01-15 10:30");
    EXPECT_EQ(r.cells.text(1, 1), "12.5");
    EXPECT_EQ(r.cells.text(2, 0), "2023-01-15");
}

}  // namespace

namespace {

TEST(WorkbookReader, AnUnreadableCellStaysEmptyAndIsNamed) {
    const WorkbookReadResult r = readWorkbook(dataPath("bad_cell.xlsx"));
    ASSERT_TRUE(r.ok()) << r.detail;
    EXPECT_EQ(r.badRow, 2);
    EXPECT_EQ(r.badColumn, 2);
    EXPECT_EQ(toRows(r.cells), (Rows{{"t", "a", "b"}, {"1", "", "7"}, {"after", "", ""}}));
}

}  // namespace
