#include "exchange/WorkbookReader.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <new>

void SheetCollector::addBad(uint32_t row, uint32_t column) {
    builder_.add(row, column, {});
    if (!haveBad_ || row < badRow_ || (row == badRow_ && column < badColumn_)) {
        haveBad_ = true;
        badRow_ = row;
        badColumn_ = column;
    }
}

void SheetCollector::append(SheetCollector&& other) {
    builder_.append(std::move(other.builder_));
    if (other.haveBad_ && (!haveBad_ || other.badRow_ < badRow_ ||
                           (other.badRow_ == badRow_ && other.badColumn_ < badColumn_))) {
        haveBad_ = true;
        badRow_ = other.badRow_;
        badColumn_ = other.badColumn_;
    }
}

void SheetCollector::finish(WorkbookReadResult& result) {
    if (builder_.build(result.cells) != CellTableBuilder::Status::Ok) {
        result.error = WorkbookError::TooLarge;
        result.detail = "used range too large";
        result.cells = CellTable();
        return;
    }
    if (haveBad_) {
        result.badRow = static_cast<int>(badRow_ - builder_.firstRow()) + 1;
        result.badColumn = static_cast<int>(badColumn_ - builder_.firstColumn()) + 1;
    }
}

WorkbookFormat detectWorkbookFormat(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return WorkbookFormat::Unknown;
    unsigned char head[8] = {};
    const size_t got = std::fread(head, 1, sizeof head, f);
    std::fclose(f);
    static const unsigned char kOle[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    if (got == 8 && std::memcmp(head, kOle, 8) == 0) return WorkbookFormat::Xls;
    if (got >= 4 && head[0] == 'P' && head[1] == 'K' &&
        ((head[2] == 3 && head[3] == 4) || (head[2] == 5 && head[3] == 6)))
        return WorkbookFormat::Xlsx;
    // Anything else is examined as text by the CSV reader.
    return WorkbookFormat::Csv;
}

WorkbookReadResult readWorkbook(const std::string& path, const FormatSettings& fs) {
    WorkbookReadResult result;
    try {
        std::FILE* f = std::fopen(path.c_str(), "rb");
        if (!f) {
            result.error = WorkbookError::NotFound;
            result.detail = "cannot open file";
            return result;
        }
        std::fclose(f);
        result.format = detectWorkbookFormat(path);
        switch (result.format) {
            case WorkbookFormat::Xlsx: readXlsx(path, fs, result); break;
            case WorkbookFormat::Xls: readXls(path, fs, result); break;
            case WorkbookFormat::Csv: readCsv(path, fs, result); break;
            case WorkbookFormat::Unknown:
                result.error = WorkbookError::UnknownFormat;
                break;
        }
    } catch (const std::bad_alloc&) {
        result = WorkbookReadResult();
        result.error = WorkbookError::TooLarge;
        result.detail = "out of memory";
    } catch (const std::exception& e) {
        result = WorkbookReadResult();
        result.error = WorkbookError::Corrupt;
        result.detail = e.what();
    } catch (...) {
        result = WorkbookReadResult();
        result.error = WorkbookError::Corrupt;
        result.detail = "unexpected failure";
    }
    if (!result.ok()) result.cells = CellTable();
    return result;
}
