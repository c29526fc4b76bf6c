// Import of a large legacy .xls: 65,000 data rows (the format's limit is 65,536) x 20 columns,
// minute time stamps, measurements as NUMBER and RK records and one computed column (FORMULA
// records with their stored results). The book is written once by a small BIFF8 writer below
// (libgsf for the compound document) and kept in the temporary folder for later runs.
#include <benchmark/benchmark.h>
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-stdio.h>
#include <gsf/gsf-utils.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <string>

#include "exchange/WorkbookReader.h"

namespace {

constexpr int kRows = 65000;
constexpr int kColumns = 20;

void put16(std::string& s, unsigned v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>(v >> 8 & 0xFF);
}
void put32(std::string& s, uint32_t v) {
    put16(s, v & 0xFFFF);
    put16(s, v >> 16);
}
void putDouble(std::string& s, double v) {
    uint64_t bits;
    std::memcpy(&bits, &v, 8);
    put32(s, static_cast<uint32_t>(bits));
    put32(s, static_cast<uint32_t>(bits >> 32));
}
void record(std::string& s, unsigned type, const std::string& data) {
    put16(s, type);
    put16(s, static_cast<unsigned>(data.size()));
    s += data;
}
std::string cellHead(unsigned row, unsigned col, unsigned xf) {
    std::string d;
    put16(d, row);
    put16(d, col);
    put16(d, xf);
    return d;
}
// A BIFF8 string of Latin characters (one byte each).
std::string narrow(const std::string& text) {
    std::string d;
    put16(d, static_cast<unsigned>(text.size()));
    d += '\0';
    return d + text;
}

std::string workbookStream() {
    std::string bof = std::string("\x00\x06", 2);
    // Globals: code page, date mode, a general and a date-time cell format, the shared names.
    std::string globals;
    std::string d = bof;
    put16(d, 0x0005);
    d += std::string(12, '\0');
    record(globals, 0x0809, d);
    d.clear();
    put16(d, 1200);
    record(globals, 0x0042, d);
    record(globals, 0x0022, std::string(2, '\0'));
    for (unsigned format : {0u, 22u}) {
        d.clear();
        put16(d, 0);
        put16(d, format);
        d += std::string(16, '\0');
        record(globals, 0x00E0, d);
    }
    d.clear();
    put32(d, kColumns);
    put32(d, kColumns);
    d += narrow("Time");
    for (int c = 1; c < kColumns; ++c) d += narrow("Parameter " + std::to_string(c));
    record(globals, 0x00FC, d);
    const size_t boundSheetSize = 4 + 6 + 3;
    const size_t sheetOffset = globals.size() + boundSheetSize + 4;
    d.clear();
    put32(d, static_cast<uint32_t>(sheetOffset));
    d += std::string("\0\0\1\0S", 5);
    record(globals, 0x0085, d);
    record(globals, 0x000A, "");

    std::string sheet;
    d = bof;
    put16(d, 0x0010);
    d += std::string(12, '\0');
    record(sheet, 0x0809, d);
    for (int c = 0; c < kColumns; ++c) {
        d = cellHead(0, static_cast<unsigned>(c), 0);
        put32(d, static_cast<uint32_t>(c));
        record(sheet, 0x00FD, d);
    }
    for (int r = 0; r < kRows; ++r) {
        const auto row = static_cast<unsigned>(r + 1);
        d = cellHead(row, 0, 1);
        putDouble(d, 45000.0 + r / 1440.0);
        record(sheet, 0x0203, d);
        for (int c = 1; c < kColumns - 1; ++c) {
            const double v = 100 + 50 * std::sin(r * 0.001 * c) + c / 7.0;
            if (c % 3 == 0) {
                // Two decimals fit an RK record as an integer divided by 100.
                d = cellHead(row, static_cast<unsigned>(c), 0);
                put32(d, static_cast<uint32_t>(static_cast<int32_t>(std::lround(v * 100))) << 2 | 3u);
                record(sheet, 0x027E, d);
            } else {
                d = cellHead(row, static_cast<unsigned>(c), 0);
                putDouble(d, v);
                record(sheet, 0x0203, d);
            }
        }
        // The computed column: =B*2 with its result; the formula itself is one reference.
        d = cellHead(row, kColumns - 1, 0);
        putDouble(d, 2 * (100 + 50 * std::sin(r * 0.001) + 1 / 7.0));
        put16(d, 0);
        put32(d, 0);
        put16(d, 5);
        d += '\x24';  // ptgRef
        put16(d, row);
        put16(d, 0xC001);
        record(sheet, 0x0006, d);
    }
    record(sheet, 0x000A, "");
    return globals + sheet;
}

bool writeBook(const std::string& path) {
    gsf_init();
    GError* err = nullptr;
    GsfOutput* file = gsf_output_stdio_new(path.c_str(), &err);
    if (!file) {
        if (err) g_error_free(err);
        return false;
    }
    GsfOutfile* doc = gsf_outfile_msole_new(file);
    GsfOutput* stream = gsf_outfile_new_child(doc, "Workbook", FALSE);
    const std::string bytes = workbookStream();
    const bool ok = gsf_output_write(stream, bytes.size(), reinterpret_cast<const guint8*>(bytes.data())) &&
                    gsf_output_close(stream) && gsf_output_close(GSF_OUTPUT(doc));
    g_object_unref(stream);
    g_object_unref(doc);
    // Closing the document closes the file under it; close it here only when that failed.
    if (!gsf_output_is_closed(file)) gsf_output_close(file);
    g_object_unref(file);
    return ok;
}

const std::string& xlsPath() {
    static const std::string path = [] {
        const std::string p = (std::filesystem::temp_directory_path() / "tarvolyn_bench_65000x20.xls").string();
        if (std::filesystem::exists(p)) return p;
        const std::string tmp = p + ".part";
        if (!writeBook(tmp)) return std::string();
        std::filesystem::rename(tmp, p);
        return p;
    }();
    return path;
}

void BM_XlsImport(benchmark::State& state) {
    const std::string& path = xlsPath();
    if (path.empty()) {
        state.SkipWithError("cannot write the workbook");
        return;
    }
    for (auto _ : state) {
        WorkbookReadResult r = readWorkbook(path);
        if (!r.ok() || r.cells.rowCount() != kRows + 1 || r.cells.columnCount() != kColumns ||
            r.cells.text(kRows, kColumns - 1).empty()) {
            state.SkipWithError("workbook not read");
            return;
        }
        benchmark::DoNotOptimize(r.cells.text(kRows, kColumns - 1).data());
    }
    state.counters["cells"] = static_cast<double>(kRows + 1) * kColumns;
}
BENCHMARK(BM_XlsImport)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
