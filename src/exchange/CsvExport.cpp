#include "exchange/CsvExport.h"

#include <cmath>
#include <unordered_set>

#include "core/StatisticSeries.h"
#include "exchange/CsvText.h"
#include "exchange/ExportFiles.h"

namespace {

constexpr const char* kEol = "\r\n";

// Times are joined only when exactly equal; two NaN times count as equal so that a series
// holding one still moves on.
bool sameTime(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

void appendValueField(std::string& out, CsvTextFormatter& fmt, const TStatisticSeries& s, int i) {
    if (!s.IsNull(i)) fmt.appendValue(out, s.YValue(i));
}

void appendJoined(std::string& out, const CsvSeriesList& series, CsvTextFormatter& fmt) {
    out += "time";
    size_t points = 0;
    for (const TStatisticSeries* s : series) {
        out += ';';
        appendCsvField(out, s->Title);
        points += static_cast<size_t>(s->Count());
    }
    out += kEol;
    out.reserve(out.size() + points * 20 + 32);

    const size_t n = series.size();
    std::vector<int> cursor(n, 0);
    for (;;) {
        // The line time: the smallest time at the live cursors (the first one in list order
        // among equals).
        bool any = false;
        double t = 0;
        for (size_t k = 0; k < n; ++k) {
            if (cursor[k] >= series[k]->Count()) continue;
            const double x = series[k]->XValue(cursor[k]);
            if (!any || x < t) t = x;
            any = true;
        }
        if (!any) break;
        fmt.appendTime(out, t);
        for (size_t k = 0; k < n; ++k) {
            out += ';';
            const TStatisticSeries& s = *series[k];
            const int c = cursor[k];
            if (c < s.Count() && sameTime(s.XValue(c), t)) {
                appendValueField(out, fmt, s, c);
                cursor[k] = c + 1;
            }
        }
        out += kEol;
    }
}

void appendSingle(std::string& out, const TStatisticSeries& s, CsvTextFormatter& fmt) {
    out += "time;";
    appendCsvField(out, s.Title);
    out += ';';
    out += kEol;
    out.reserve(out.size() + static_cast<size_t>(s.Count()) * 44);
    for (int i = 0; i < s.Count(); ++i) {
        fmt.appendTime(out, s.XValue(i));
        out += ';';
        appendValueField(out, fmt, s, i);
        out += ';';
        out += kEol;
    }
}

CsvSeriesList withoutNulls(const CsvSeriesList& series) {
    CsvSeriesList out;
    out.reserve(series.size());
    for (const TStatisticSeries* s : series)
        if (s) out.push_back(s);
    return out;
}

// The chosen path's folder joined with its file name without the extension.
std::string exportBaseName(const std::string& fileName) {
    const std::string dir = csvfs::folderOf(fileName);
    const std::string stem = csvfs::safeFileName(csvfs::withoutLastExtension(csvfs::fileNameOf(fileName)));
    if (dir.empty()) return stem;
    if (dir == "/") return "/" + stem;
    return dir + "/" + stem;
}

// Chooses the free file name for `name` in `folder`: name.csv, else name(n).csv counting
// from firstNumber; names chosen before in the same folder count as taken.
class FileNamer {
public:
    FileNamer(std::string folder, int firstNumber) : folder_(std::move(folder)), first_(firstNumber) {}

    std::string next(const std::string& name) {
        const std::string base = csvfs::safeFileName(name);
        std::string path = folder_ + "/" + base + ".csv";
        for (long long n = first_; taken(path); ++n) path = folder_ + "/" + base + "(" + std::to_string(n) + ").csv";
        used_.insert(path);
        return path;
    }

private:
    bool taken(const std::string& path) const { return used_.count(path) != 0 || csvfs::pathExists(path); }

    std::string folder_;
    long long first_;
    std::unordered_set<std::string> used_;
};

bool writeFile(CsvExportResult& result, const std::string& path, const std::string& text) {
    std::string error;
    if (!csvfs::writeFileAtomic(path, text, &error)) {
        result.ok = false;
        result.error = error;
        return false;
    }
    result.files.push_back(path);
    return true;
}

bool makeFolder(CsvExportResult& result, const std::string& base, int firstNumber) {
    std::string error;
    const auto folder = csvfs::createUniqueFolder(base, firstNumber, &error);
    if (!folder) {
        result.ok = false;
        result.error = error;
        return false;
    }
    result.folder = *folder;
    return true;
}

}  // namespace

std::string joinedCsvText(const CsvSeriesList& series, const FormatSettings& fs) {
    CsvTextFormatter fmt(fs);
    std::string out;
    appendJoined(out, withoutNulls(series), fmt);
    return out;
}

std::string singleCsvText(const TStatisticSeries& series, const FormatSettings& fs) {
    CsvTextFormatter fmt(fs);
    std::string out;
    appendSingle(out, series, fmt);
    return out;
}

CsvExportResult writeSeriesCsv(const std::string& fileName, const CsvSeriesList& series, const FormatSettings& fs) {
    CsvExportResult result;
    writeFile(result, fileName, joinedCsvText(series, fs));
    return result;
}

CsvExportResult saveSeriesToCsv(const std::string& fileName, const CsvSeriesList& series, const FormatSettings& fs) {
    CsvExportResult result;
    if (!makeFolder(result, exportBaseName(fileName), 1)) return result;
    FileNamer namer(result.folder, 1);
    CsvTextFormatter fmt(fs);
    std::string text;
    for (const TStatisticSeries* s : withoutNulls(series)) {
        text.clear();
        appendSingle(text, *s, fmt);
        if (!writeFile(result, namer.next(s->Title), text)) break;
    }
    return result;
}

CsvExportResult saveFragmentsToCsv(const std::string& fileName, const std::vector<CsvIntervalFile>& intervals,
                                   const FormatSettings& fs) {
    CsvExportResult result;
    if (!makeFolder(result, exportBaseName(fileName), 1)) return result;
    FileNamer namer(result.folder, 1);
    CsvTextFormatter fmt(fs);
    std::string text;
    for (const CsvIntervalFile& interval : intervals) {
        text.clear();
        appendJoined(text, withoutNulls(interval.series), fmt);
        if (!writeFile(result, namer.next(interval.name), text)) break;
    }
    return result;
}

CsvExportResult saveFragmentSeriesToCsv(const std::string& fileName, const std::vector<CsvSeriesFolder>& folders,
                                        const FormatSettings& fs) {
    CsvExportResult result;
    if (!makeFolder(result, exportBaseName(fileName), 2)) return result;
    CsvTextFormatter fmt(fs);
    std::string text;
    for (const CsvSeriesFolder& folder : folders) {
        std::string error;
        const auto sub = csvfs::createUniqueFolder(result.folder + "/" + csvfs::safeFileName(folder.title), 2, &error);
        if (!sub) {
            result.ok = false;
            result.error = error;
            return result;
        }
        FileNamer namer(*sub, 2);
        for (const TStatisticSeries* part : withoutNulls(folder.parts)) {
            text.clear();
            appendSingle(text, *part, fmt);
            if (!writeFile(result, namer.next(part->Title), text)) return result;
        }
    }
    return result;
}
