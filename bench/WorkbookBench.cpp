// Import of a large workbook: 100,000 rows x 50 columns, minute time stamps in the first
// column and measurements in the others. The workbook is written once by a small writer
// below (libzip) and kept in the temporary folder for later runs.
#include <benchmark/benchmark.h>
#include <zip.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "exchange/WorkbookReader.h"

namespace {

constexpr int kRows = 100000;
constexpr int kColumns = 50;

std::string columnName(int c) {
    std::string s;
    for (++c; c > 0; c = (c - 1) / 26) s.insert(s.begin(), static_cast<char>('A' + (c - 1) % 26));
    return s;
}

void appendDouble(std::string& out, double v) {
    char buf[32];
    auto r = std::to_chars(buf, buf + sizeof buf, v);  // shortest round trip, as spreadsheets store
    out.append(buf, r.ptr);
}

bool addText(zip_t* z, const char* name, const std::string& text) {
    char* copy = static_cast<char*>(std::malloc(text.size()));
    std::memcpy(copy, text.data(), text.size());
    zip_source_t* src = zip_source_buffer(z, copy, text.size(), 1);
    return src && zip_file_add(z, name, src, ZIP_FL_OVERWRITE) >= 0;
}

// Writes the workbook; the sheet XML goes through a temporary file so it is never held whole.
bool writeWorkbook(const std::string& path) {
    const std::string xmlPath = path + ".sheet.xml";
    std::FILE* f = std::fopen(xmlPath.c_str(), "wb");
    if (!f) return false;
    std::string buf;
    buf += "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
           "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
           "<dimension ref=\"A1:" + columnName(kColumns - 1) + std::to_string(kRows + 1) + "\"/><sheetData>";
    buf += "<row r=\"1\">";
    for (int c = 0; c < kColumns; ++c)
        buf += "<c r=\"" + columnName(c) + "1\" t=\"s\"><v>" + std::to_string(c) + "</v></c>";
    buf += "</row>";
    for (int r = 0; r < kRows; ++r) {
        const std::string rowNo = std::to_string(r + 2);
        buf += "<row r=\"" + rowNo + "\">";
        for (int c = 0; c < kColumns; ++c) {
            buf += "<c r=\"" + columnName(c) + rowNo + "\"";
            if (c == 0) buf += " s=\"1\"";
            buf += "><v>";
            if (c == 0) appendDouble(buf, 45000.0 + r / 1440.0);
            else if (c % 2 == 1) appendDouble(buf, std::round((100 + 50 * std::sin(r * 0.001 * c)) * 1000) / 1000);
            else appendDouble(buf, 100 + 50 * std::sin(r * 0.001 * c) + c / 7.0);
            buf += "</v></c>";
        }
        buf += "</row>";
        if (buf.size() > (1 << 20)) {
            std::fwrite(buf.data(), 1, buf.size(), f);
            buf.clear();
        }
    }
    buf += "</sheetData></worksheet>";
    std::fwrite(buf.data(), 1, buf.size(), f);
    std::fclose(f);

    std::string sst = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                      "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">";
    sst += "<si><t>Время</t></si>";
    for (int c = 1; c < kColumns; ++c) sst += "<si><t>Параметр " + std::to_string(c) + "</t></si>";
    sst += "</sst>";

    int err = 0;
    const std::string tmp = path + ".part";
    zip_t* z = zip_open(tmp.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &err);
    if (!z) return false;
    const char* ns = "http://schemas.openxmlformats.org/";
    bool ok = addText(z, "[Content_Types].xml",
                      std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?><Types xmlns=\"") + ns +
                          "package/2006/content-types\"/>") &&
              addText(z, "_rels/.rels",
                      std::string("<Relationships xmlns=\"") + ns + "package/2006/relationships\">"
                      "<Relationship Id=\"rId1\" Type=\"" + ns + "officeDocument/2006/relationships/officeDocument\" "
                      "Target=\"xl/workbook.xml\"/></Relationships>") &&
              addText(z, "xl/workbook.xml",
                      std::string("<workbook xmlns=\"") + ns + "spreadsheetml/2006/main\" xmlns:r=\"" + ns +
                          "officeDocument/2006/relationships\"><sheets><sheet name=\"Лист1\" sheetId=\"1\" "
                          "r:id=\"rId1\"/></sheets></workbook>") &&
              addText(z, "xl/_rels/workbook.xml.rels",
                      std::string("<Relationships xmlns=\"") + ns + "package/2006/relationships\">"
                      "<Relationship Id=\"rId1\" Type=\"" + ns + "officeDocument/2006/relationships/worksheet\" "
                      "Target=\"worksheets/sheet1.xml\"/>"
                      "<Relationship Id=\"rId2\" Type=\"" + ns + "officeDocument/2006/relationships/styles\" "
                      "Target=\"styles.xml\"/>"
                      "<Relationship Id=\"rId3\" Type=\"" + ns + "officeDocument/2006/relationships/sharedStrings\" "
                      "Target=\"sharedStrings.xml\"/></Relationships>") &&
              addText(z, "xl/styles.xml",
                      std::string("<styleSheet xmlns=\"") + ns + "spreadsheetml/2006/main\"><cellXfs count=\"2\">"
                      "<xf numFmtId=\"0\"/><xf numFmtId=\"22\" applyNumberFormat=\"1\"/></cellXfs></styleSheet>") &&
              addText(z, "xl/sharedStrings.xml", sst);
    zip_source_t* sheet = ok ? zip_source_file(z, xmlPath.c_str(), 0, -1) : nullptr;
    ok = ok && sheet && zip_file_add(z, "xl/worksheets/sheet1.xml", sheet, ZIP_FL_OVERWRITE) >= 0;
    ok = zip_close(z) == 0 && ok;
    std::remove(xmlPath.c_str());
    if (!ok) return false;
    std::filesystem::rename(tmp, path);
    return true;
}

const std::string& workbookPath() {
    static const std::string path = [] {
        const std::string p = (std::filesystem::temp_directory_path() / "tarvolyn_bench_100000x50.xlsx").string();
        if (!std::filesystem::exists(p) && !writeWorkbook(p)) return std::string();
        return p;
    }();
    return path;
}

void BM_WorkbookImport(benchmark::State& state) {
    const std::string& path = workbookPath();
    if (path.empty()) {
        state.SkipWithError("cannot write the workbook");
        return;
    }
    for (auto _ : state) {
        WorkbookReadResult r = readWorkbook(path);
        if (!r.ok() || r.cells.rowCount() != kRows + 1 || r.cells.columnCount() != kColumns) {
            state.SkipWithError("workbook not read");
            return;
        }
        benchmark::DoNotOptimize(r.cells.text(kRows, kColumns - 1).data());
        state.counters["MB_cells"] = static_cast<double>(r.cells.memoryBytes()) / 1e6;
    }
    state.counters["cells"] = static_cast<double>(kRows) * kColumns;
}
BENCHMARK(BM_WorkbookImport)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

#include "BenchApplication.h"
#include "ui/widgets/TLoadData.h"

namespace {

// Showing the read workbook in the grid (GUI thread): model reset, headers, choices, names.
void BM_LoadDataApply(benchmark::State& state) {
    ensureApplication();
    const std::string& path = workbookPath();
    const WorkbookReadResult read = readWorkbook(path);
    if (!read.ok()) {
        state.SkipWithError("workbook not read");
        return;
    }
    TLoadData grid;
    grid.resize(1200, 800);
    for (auto _ : state) {
        state.PauseTiming();
        WorkbookReadResult copy;
        copy.cells = read.cells;
        state.ResumeTiming();
        grid.applyWorkbook(QString::fromStdString(path), std::move(copy));
        benchmark::DoNotOptimize(grid.numOfSeries());
    }
}
BENCHMARK(BM_LoadDataApply)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
