// Reader of text tables: the delimiter is guessed from the first line, fields may be quoted
// with double quotes, texts are kept exactly as written.
#include <cstdio>
#include <string>

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

    const size_t firstBreak = text.find_first_of("\r\n");
    const std::string_view firstLine = std::string_view(text).substr(0, firstBreak);
    char delimiter = 0;
    if (firstLine.find(';') != std::string_view::npos) delimiter = ';';
    else if (firstLine.find('\t') != std::string_view::npos) delimiter = '\t';
    else if (firstLine.find(',') != std::string_view::npos) delimiter = ',';

    SheetCollector collector;
    std::string field;
    uint32_t row = 0, column = 0;
    const size_t n = text.size();
    size_t i = 0;
    auto emit = [&] {
        if (!field.empty()) collector.add(row, column, field);
        field.clear();
    };
    bool lineHasData = false;
    while (i < n) {
        const char c = text[i];
        if (c == '"' && field.empty()) {
            // A quoted field: "" stands for one quote; what follows the closing quote up to
            // the delimiter is kept as written.
            ++i;
            while (i < n) {
                if (text[i] == '"') {
                    if (i + 1 < n && text[i + 1] == '"') {
                        field += '"';
                        i += 2;
                    } else {
                        ++i;
                        break;
                    }
                } else {
                    field += text[i++];
                }
            }
            lineHasData = true;
            continue;
        }
        if (delimiter && c == delimiter) {
            emit();
            ++column;
            ++i;
            lineHasData = true;
            continue;
        }
        if (c == '\r' || c == '\n') {
            emit();
            ++row;
            column = 0;
            lineHasData = false;
            i += (c == '\r' && i + 1 < n && text[i + 1] == '\n') ? 2 : 1;
            if (collector.overLimit()) break;
            continue;
        }
        field += c;
        lineHasData = true;
        ++i;
    }
    if (lineHasData) emit();
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
