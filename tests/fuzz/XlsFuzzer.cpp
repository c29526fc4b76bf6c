// libFuzzer target of the legacy .xls reader: an input that begins with the compound-document
// signature is read as a whole file (libgsf and the record reader), any other as a workbook
// stream (the record reader alone). Built and run by run-xls-fuzzer.sh beside this file.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "exchange/WorkbookReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const unsigned char kOle[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    WorkbookReadResult result;
    if (size >= 8 && std::memcmp(data, kOle, 8) == 0) readXlsBytes(bytes, FormatSettings::russian(), result);
    else readXlsRecords(bytes, FormatSettings::russian(), result);
    // Whatever was read must be a consistent table.
    if (result.ok())
        for (int r = 0; r < result.cells.rowCount(); ++r)
            for (int c = 0; c < result.cells.columnCount(); ++c) (void)result.cells.text(r, c);
    return 0;
}
