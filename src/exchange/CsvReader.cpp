// Reader of text tables: the delimiter is the one that splits the first records into equal
// numbers of fields, fields may be quoted with double quotes, texts are kept exactly as
// written. UTF-8, UTF-16 with a byte order mark, or Windows-1251.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "exchange/WorkbookReader.h"
#include "numerics/TextCodec.h"

namespace {

// Text holds no NUL and no control characters other than tab, line breaks, form feed and
// the old end-of-file mark.
bool looksLikeText(std::string_view s) {
    for (char ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\f' && c != '\v' && c != 0x1A) return false;
        if (c == 0x7F) return false;
    }
    return true;
}

}  // namespace

namespace {

// Walks the records of a delimited text (delimiter 0: one field a record). Fields may be
// quoted with double quotes ("" stands for one quote; what follows the closing quote up to
// the delimiter is kept as written). Calls field(row, column, text) for each field with
// text and, after each record, endRecord(fieldCount, hasData); a false result stops the walk.
template <class Field, class EndRecord>
void walkRecords(std::string_view text, char delimiter, Field&& field, EndRecord&& endRecord) {
    std::string cell;
    uint32_t row = 0, column = 0;
    bool hasData = false;
    const size_t n = text.size();
    size_t i = 0;
    auto emit = [&] {
        if (!cell.empty()) field(row, column, cell);
        cell.clear();
    };
    while (i < n) {
        const char c = text[i];
        if (c == '"' && cell.empty()) {
            ++i;
            while (i < n) {
                if (text[i] == '"') {
                    if (i + 1 < n && text[i + 1] == '"') {
                        cell += '"';
                        i += 2;
                    } else {
                        ++i;
                        break;
                    }
                } else {
                    cell += text[i++];
                }
            }
            hasData = true;
            continue;
        }
        if (delimiter && c == delimiter) {
            emit();
            ++column;
            ++i;
            hasData = true;
            continue;
        }
        if (c == '\r' || c == '\n') {
            emit();
            const bool go = endRecord(column + 1, hasData);
            ++row;
            column = 0;
            hasData = false;
            i += (c == '\r' && i + 1 < n && text[i + 1] == '\n') ? 2 : 1;
            if (!go) return;
            continue;
        }
        cell += c;
        hasData = true;
        ++i;
    }
    if (hasData) {
        emit();
        endRecord(column + 1, true);
    }
}

struct Delimiter {
    char symbol;
    const char* name;
};
// In order of preference: the spreadsheet's list separator in this locale, its "Unicode
// text", then the comma of other locales.
constexpr Delimiter kDelimiters[] = {{';', "точка с запятой"}, {'\t', "табуляция"}, {',', "запятая"}};
constexpr size_t kSampleRecords = 50;

// The field counts of the first records that hold anything.
std::vector<size_t> sampleFieldCounts(std::string_view text, char delimiter) {
    std::vector<size_t> counts;
    walkRecords(
        text, delimiter, [](uint32_t, uint32_t, const std::string&) {},
        [&](uint32_t fields, bool hasData) {
            if (hasData) counts.push_back(fields);
            return counts.size() < kSampleRecords;
        });
    return counts;
}

// Every record has the same number of fields, more than one; lines of one field above a
// table of at least two records (a title) do not count.
bool consistent(const std::vector<size_t>& counts) {
    size_t k = 0;
    while (k < counts.size() && counts[k] == 1) ++k;
    if (k == counts.size() || (k > 0 && counts.size() - k < 2)) return false;
    for (size_t j = k; j < counts.size(); ++j)
        if (counts[j] != counts[k]) return false;
    return true;
}

}  // namespace

std::string inconsistentDelimiterMessage(const char* chosenName) {
    return std::string("Не удалось определить разделитель столбцов: ни точка с запятой, ни табуляция, ни запятая "
                       "не дают одинакового числа столбцов в первых строках файла. Таблица прочитана с "
                       "разделителем \"") +
           chosenName + "\"; проверьте ее.";
}

void readCsvText(std::string_view bytes, WorkbookReadResult& result) {
    std::string text;
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF && static_cast<unsigned char>(bytes[1]) == 0xFE)
        text = utf16ToUtf8(bytes.substr(2), false);
    else if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFE && static_cast<unsigned char>(bytes[1]) == 0xFF)
        text = utf16ToUtf8(bytes.substr(2), true);
    else if (looksLikeText(bytes))
        text = decodeText(bytes);
    else {
        result.error = WorkbookError::UnknownFormat;
        result.detail = "not a text file";
        return;
    }
    if (!looksLikeText(text)) {
        result.error = WorkbookError::UnknownFormat;
        result.detail = "not a text file";
        return;
    }
    // A trailing end-of-file mark is not content.
    while (!text.empty() && text.back() == 0x1A) text.pop_back();
    if (bytes.empty()) {
        result.error = WorkbookError::UnknownFormat;
        result.detail = "empty file";
        return;
    }

    // The delimiter that gives every record of the first ones the same number of fields,
    // counted outside quotes.
    char delimiter = 0;
    const Delimiter* fallback = nullptr;
    for (const Delimiter& d : kDelimiters) {
        const std::vector<size_t> counts = sampleFieldCounts(text, d.symbol);
        if (consistent(counts)) {
            delimiter = d.symbol;
            break;
        }
        const bool occurs = std::any_of(counts.begin(), counts.end(), [](size_t n) { return n > 1; });
        if (occurs && !fallback) fallback = &d;
    }
    if (!delimiter && fallback) {
        delimiter = fallback->symbol;
        result.warning = inconsistentDelimiterMessage(fallback->name);
    }

    SheetCollector collector;
    walkRecords(
        text, delimiter, [&](uint32_t row, uint32_t column, const std::string& cell) { collector.add(row, column, cell); },
        [&](uint32_t, bool) { return !collector.overLimit(); });
    if (collector.overLimit()) {
        result.error = WorkbookError::TooLarge;
        result.detail = "too many cells";
        return;
    }
    collector.finish(result);
}

void readCsv(const std::string& path, const FormatSettings&, WorkbookReadResult& result) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        result.error = WorkbookError::NotFound;
        result.detail = "cannot open file";
        return;
    }
    std::string bytes;
    char buf[1 << 16];
    size_t got;
    while ((got = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.append(buf, got);
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed) {
        result.error = WorkbookError::NotFound;
        result.detail = "read error";
        return;
    }
    readCsvText(bytes, result);
}
