// Reader of legacy .xls workbooks (BIFF in a compound document) through freexl.
#include <freexl.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "exchange/CellText.h"
#include "exchange/WorkbookReader.h"

namespace {

// Whether a compound document holds an encrypted Office package (a password-protected
// .xlsx keeps its content in a stream named "EncryptedPackage").
bool holdsEncryptedPackage(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    static const char kName[] = "E\0n\0c\0r\0y\0p\0t\0e\0d\0P\0a\0c\0k\0a\0g\0e\0";
    const size_t nameLen = sizeof kName - 1;
    std::string buf(1 << 16, '\0');
    std::string carry;
    bool found = false;
    size_t got;
    while (!found && (got = std::fread(buf.data(), 1, buf.size(), f)) > 0) {
        std::string window = carry + buf.substr(0, got);
        if (window.find(std::string_view(kName, nameLen)) != std::string::npos) found = true;
        carry = window.size() > nameLen ? window.substr(window.size() - nameLen) : window;
    }
    std::fclose(f);
    return found;
}

// freexl gives dates as "YYYY-MM-DD", "YYYY-MM-DD HH:MM:SS" or "HH:MM:SS".
std::optional<TDateTime> parseFreexlDate(const char* text) {
    if (!text) return std::nullopt;
    return parseIsoDateTime(text);
}

struct Handle {
    const void* h = nullptr;
    ~Handle() {
        if (h) freexl_close(h);
    }
};

}  // namespace

void readXls(const std::string& path, const FormatSettings& fs, WorkbookReadResult& result) {
    Handle handle;
    const int rc = freexl_open(path.c_str(), &handle.h);
    if (rc != FREEXL_OK) {
        if (rc == FREEXL_FILE_NOT_FOUND) {
            result.error = WorkbookError::NotFound;
        } else if (holdsEncryptedPackage(path)) {
            result.error = WorkbookError::Encrypted;
        } else {
            result.error = WorkbookError::Corrupt;
        }
        result.detail = "freexl_open failed: " + std::to_string(rc);
        return;
    }
    unsigned int info = 0;
    if (freexl_get_info(handle.h, FREEXL_BIFF_PASSWORD, &info) == FREEXL_OK && info == FREEXL_BIFF_OBFUSCATED) {
        result.error = WorkbookError::Encrypted;
        result.detail = "password protected";
        return;
    }
    unsigned int sheets = 0;
    if (freexl_get_info(handle.h, FREEXL_BIFF_SHEET_COUNT, &sheets) != FREEXL_OK || sheets == 0 ||
        freexl_select_active_worksheet(handle.h, 0) != FREEXL_OK) {
        result.error = WorkbookError::NoSheet;
        result.detail = "no worksheet";
        return;
    }
    unsigned int rows = 0;
    unsigned short columns = 0;
    if (freexl_worksheet_dimensions(handle.h, &rows, &columns) != FREEXL_OK) {
        result.error = WorkbookError::Corrupt;
        result.detail = "no sheet dimensions";
        return;
    }
    SheetCollector collector;
    std::string text;
    for (unsigned int r = 0; r < rows; ++r) {
        for (unsigned short c = 0; c < columns; ++c) {
            FreeXL_CellValue cell;
            if (freexl_get_cell_value(handle.h, r, c, &cell) != FREEXL_OK) {
                collector.addBad(r, c);
                continue;
            }
            text.clear();
            switch (cell.type) {
                case FREEXL_CELL_NULL:
                    continue;
                case FREEXL_CELL_INT:
                    text = floatToStr(cell.value.int_value, fs);
                    break;
                case FREEXL_CELL_DOUBLE:
                    text = floatToStr(cell.value.double_value, fs);
                    break;
                case FREEXL_CELL_TEXT:
                case FREEXL_CELL_SST_TEXT:
                    if (cell.value.text_value) text = cell.value.text_value;
                    break;
                case FREEXL_CELL_DATE:
                case FREEXL_CELL_DATETIME:
                case FREEXL_CELL_TIME: {
                    const auto t = parseFreexlDate(cell.value.text_value);
                    if (!t) {
                        collector.addBad(r, c);
                        continue;
                    }
                    text = dateTimeToStr(*t, fs);
                    break;
                }
                default:
                    collector.addBad(r, c);
                    continue;
            }
            collector.add(r, c, text);
        }
        if (collector.overLimit()) {
            result.error = WorkbookError::TooLarge;
            result.detail = "too many cells";
            return;
        }
    }
    collector.finish(result);
}
