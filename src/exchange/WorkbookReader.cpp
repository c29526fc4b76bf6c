#include "exchange/WorkbookReader.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <new>

#include "numerics/TextCodec.h"

std::string utf16ToUtf8(std::string_view bytes, bool bigEndian) {
    std::string out;
    out.reserve(bytes.size());
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        auto unit = [&](size_t k) {
            const auto a = static_cast<unsigned char>(bytes[k]);
            const auto b = static_cast<unsigned char>(bytes[k + 1]);
            return bigEndian ? static_cast<uint32_t>(a << 8 | b) : static_cast<uint32_t>(b << 8 | a);
        };
        uint32_t cp = unit(i);
        if (cp >= 0xD800 && cp < 0xDC00 && i + 3 < bytes.size()) {
            const uint32_t low = unit(i + 2);
            if (low >= 0xDC00 && low < 0xE000) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            } else {
                cp = 0xFFFD;
            }
        } else if (cp >= 0xD800 && cp < 0xE000) {
            cp = 0xFFFD;
        }
        appendUtf8(out, cp);
    }
    return out;
}

bool fitsInCell(std::string_view text) {
    if (text.size() <= kMaxCellCharacters) return true;
    // UTF-16 code units: one per sequence, two for those beyond the first plane (4 bytes).
    size_t units = 0;
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if ((c & 0xC0) != 0x80) units += c >= 0xF0 ? 2 : 1;
    }
    return units <= kMaxCellCharacters;
}

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
