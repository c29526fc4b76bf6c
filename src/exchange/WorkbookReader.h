#pragma once
// Reading the first sheet of a workbook file into a CellTable: .xlsx/.xlsm, legacy .xls and
// text (CSV). The format is told by the file's content, not by its name.
#include <string>

#include "exchange/CellTable.h"
#include "numerics/FormatSettings.h"

enum class WorkbookFormat { Unknown, Xlsx, Xls, Csv };

enum class WorkbookError {
    None,
    NotFound,       // no such file, or not readable
    UnknownFormat,  // neither a workbook nor a text file
    Corrupt,        // damaged or truncated package, malformed content
    Encrypted,      // protected by a password
    NoSheet,        // the workbook holds no worksheet
    TooLarge,       // used range over CellTable::kMaxCells cells
};

struct WorkbookReadResult {
    WorkbookError error = WorkbookError::None;
    WorkbookFormat format = WorkbookFormat::Unknown;
    // Technical detail of a failure, for diagnostics only.
    std::string detail;
    CellTable cells;
    // The first cell (row-major, from 1 within the used range) whose value could not be
    // turned into text; it is left empty and the rest is read. 0 when every cell was read.
    int badRow = 0;
    int badColumn = 0;
    // A Russian text to show the user after a read that succeeded but may be wrong (a text
    // table whose delimiter could not be told); empty otherwise.
    std::string warning;
    bool ok() const { return error == WorkbookError::None; }
};

// Tells the format from the first bytes of the file: a zip package holding a workbook part,
// the compound-document signature, or text. Unknown for anything else or an unreadable file.
WorkbookFormat detectWorkbookFormat(const std::string& path);

// Reads the used range of the first worksheet. Numbers and dates become text with the
// given settings. Never throws.
WorkbookReadResult readWorkbook(const std::string& path, const FormatSettings& fs = FormatSettings::russian());

// The format readers; each fills result (cells, badRow/badColumn or error).
void readXlsx(const std::string& path, const FormatSettings& fs, WorkbookReadResult& result);
void readXls(const std::string& path, const FormatSettings& fs, WorkbookReadResult& result);
// A legacy .xls from bytes in memory (the compound document whole).
void readXlsBytes(std::string_view bytes, const FormatSettings& fs, WorkbookReadResult& result);
// The workbook stream of a legacy .xls: BIFF5 to BIFF8 records.
void readXlsRecords(std::string_view stream, const FormatSettings& fs, WorkbookReadResult& result);
void readCsv(const std::string& path, const FormatSettings& fs, WorkbookReadResult& result);
// CSV from bytes in memory (UTF-8 with or without BOM, UTF-16 with BOM, or Windows-1251).
// The delimiter is ";", tab or "," (in this order of preference), the first that gives the
// first records equal numbers of fields; when none does, the first that occurs is taken and
// result.warning says so. An empty file is refused.
void readCsvText(std::string_view bytes, WorkbookReadResult& result);
// The warning of a text table read with the delimiter named (in Russian) when none fitted.
std::string inconsistentDelimiterMessage(const char* chosenName);

// UTF-16 text (little- or big-endian code units) as UTF-8; a lone surrogate becomes U+FFFD.
std::string utf16ToUtf8(std::string_view bytes, bool bigEndian);

// The most characters (UTF-16 code units, as the spreadsheet counts them) a cell may hold:
// the spreadsheet's own limit.
constexpr size_t kMaxCellCharacters = 32767;
// The UTF-8 bytes that kMaxCellCharacters characters can take at most: a reader may stop
// gathering a cell's text beyond them.
constexpr size_t kMaxCellBytes = 3 * kMaxCellCharacters;
// Whether a UTF-8 text fits in a cell.
bool fitsInCell(std::string_view text);

// Shared by the readers: builds the table and records the first bad cell.
class SheetCollector {
public:
    // A text longer than a cell may hold makes the cell a bad one.
    void add(uint32_t row, uint32_t column, std::string_view text) {
        if (text.size() > kMaxCellCharacters && !fitsInCell(text)) addBad(row, column);
        else builder_.add(row, column, text);
    }
    // A cell whose value could not be read: it widens the used range and stays empty.
    void addBad(uint32_t row, uint32_t column);
    bool overLimit() const { return builder_.overLimit(); }
    size_t cellCount() const { return builder_.cellCount(); }
    // Appends the cells collected by another collector after those collected here.
    void append(SheetCollector&& other);
    // Builds the table into result; TooLarge sets the error.
    void finish(WorkbookReadResult& result);

private:
    CellTableBuilder builder_;
    bool haveBad_ = false;
    uint32_t badRow_ = 0, badColumn_ = 0;
};
