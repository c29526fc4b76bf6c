#include "exchange/CsvExport.h"

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <filesystem>
#include <exception>
#include <functional>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>
#include <unordered_set>

#include "core/FileSystem.h"
#include "core/SafeFileName.h"
#include "core/StatisticSeries.h"
#include "exchange/CsvText.h"

namespace {

constexpr const char* kEol = "\r\n";
// Numbered names tried for an export folder before giving up.
constexpr int kMaxFolderTries = 1000;

// Something (a file, a folder, a dangling link) has this name.
bool pathExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::symlink_status(path, ec));
}

// Runs produce(i) for i = 0..n-1 on up to maxWorkers threads and hands each text to consume(i)
// on the calling thread in index order; at most a few texts wait at a time. Stops after
// consume returns false (then false is returned). An exception of produce is rethrown here.
bool produceInOrder(size_t n, const std::function<void(size_t, std::string&)>& produce,
                    const std::function<bool(size_t, std::string&)>& consume, size_t maxWorkers = 4) {
    const size_t workers = std::min<size_t>({maxWorkers, std::max(1u, std::thread::hardware_concurrency()), n});
    auto inOneThread = [&] {
        std::string text;
        for (size_t i = 0; i < n; ++i) {
            text.clear();
            produce(i, text);
            if (!consume(i, text)) return false;
        }
        return true;
    };
    if (workers <= 1) return inOneThread();
    const size_t window = 2 * workers;
    std::mutex m;
    std::condition_variable cv;
    std::vector<std::string> texts(n);
    std::vector<std::exception_ptr> errors(n);
    std::vector<char> done(n, 0);
    size_t nextJob = 0, nextOut = 0;
    bool stop = false;
    auto work = [&] {
        for (;;) {
            size_t i;
            {
                std::unique_lock lock(m);
                cv.wait(lock, [&] { return stop || nextJob >= n || nextJob < nextOut + window; });
                if (stop || nextJob >= n) return;
                i = nextJob++;
            }
            std::string text;
            std::exception_ptr error;
            try {
                produce(i, text);
            } catch (...) {
                error = std::current_exception();
            }
            std::lock_guard lock(m);
            texts[i] = std::move(text);
            errors[i] = error;
            done[i] = 1;
            cv.notify_all();
        }
    };
    std::vector<std::thread> pool;
    try {
        for (size_t w = 0; w < workers; ++w) pool.emplace_back(work);
    } catch (const std::system_error&) {
        // No more threads to be had: those started do the work; with none, this thread does.
        if (pool.empty()) return inOneThread();
    }
    bool ok = true;
    std::exception_ptr failure;
    for (size_t i = 0; i < n && ok; ++i) {
        std::string text;
        {
            std::unique_lock lock(m);
            cv.wait(lock, [&] { return done[i] != 0; });
            text = std::move(texts[i]);
            failure = errors[i];
            nextOut = i + 1;
        }
        cv.notify_all();
        if (failure) break;
        try {
            ok = consume(i, text);
        } catch (...) {
            failure = std::current_exception();
        }
        if (failure) break;
    }
    {
        std::lock_guard lock(m);
        stop = true;
    }
    cv.notify_all();
    for (auto& t : pool) t.join();
    if (failure) std::rethrow_exception(failure);
    return ok;
}

// Times are joined only when exactly equal; two NaN times count as equal so that a series
// holding one still moves on.
bool sameTime(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

void appendValueField(std::string& out, CsvTextFormatter& fmt, const TStatisticSeries& s, int i) {
    if (!s.IsNull(i)) fmt.appendValue(out, s.YValue(i));
}

void appendJoinedHeader(std::string& out, const CsvSeriesList& series) {
    out += "time";
    for (const TStatisticSeries* s : series) {
        out += ';';
        appendCsvField(out, s->Title);
    }
    out += kEol;
}

// The time of the next line of the join: the smallest time at the live cursors (the first
// one in list order among equals); false when no series is live.
bool nextJoinTime(const CsvSeriesList& series, const std::vector<int>& cursor, double& t) {
    bool any = false;
    for (size_t k = 0; k < series.size(); ++k) {
        if (cursor[k] >= series[k]->Count()) continue;
        const double x = series[k]->XValue(cursor[k]);
        if (!any || x < t) t = x;
        any = true;
    }
    return any;
}

// Appends up to maxLines lines of the join from `cursor` on, moving the cursors.
void appendJoinedLines(std::string& out, const CsvSeriesList& series, std::vector<int>& cursor, size_t maxLines,
                       CsvTextFormatter& fmt) {
    double t = 0;
    for (size_t line = 0; line < maxLines && nextJoinTime(series, cursor, t); ++line) {
        fmt.appendTime(out, t);
        for (size_t k = 0; k < series.size(); ++k) {
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

// Lines of the join formatted per block, blocks on several threads.
constexpr size_t kJoinBlockLines = 4096;

// `threads`: how many threads may format blocks.
void appendJoined(std::string& out, const CsvSeriesList& series, const FormatSettings& fs, size_t threads) {
    appendJoinedHeader(out, series);
    // The cursors at the start of every block, found without formatting anything.
    std::vector<std::vector<int>> starts;
    std::vector<int> cursor(series.size(), 0);
    size_t points = 0;
    for (const TStatisticSeries* s : series) points += static_cast<size_t>(s->Count());
    for (double t = 0; nextJoinTime(series, cursor, t);) {
        starts.push_back(cursor);
        for (size_t line = 0; line < kJoinBlockLines && nextJoinTime(series, cursor, t); ++line)
            for (size_t k = 0; k < series.size(); ++k)
                if (cursor[k] < series[k]->Count() && sameTime(series[k]->XValue(cursor[k]), t)) ++cursor[k];
    }
    out.reserve(out.size() + points * 20 + starts.size() * kJoinBlockLines * (series.size() + 28));
    produceInOrder(
        starts.size(),
        [&](size_t b, std::string& text) {
            CsvTextFormatter fmt(fs);
            std::vector<int> c = starts[b];
            appendJoinedLines(text, series, c, kJoinBlockLines, fmt);
        },
        [&](size_t, std::string& text) {
            out += text;
            return true;
        },
        threads);
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
    const std::string dir = folderOf(fileName);
    const std::string stem = safeFileName(withoutLastExtension(fileNameOf(fileName)));
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
        const std::string base = safeFileName(name);
        std::string path = folder_ + "/" + base + ".csv";
        for (long long n = first_; taken(path); ++n) path = folder_ + "/" + base + "(" + std::to_string(n) + ").csv";
        used_.insert(path);
        return path;
    }

private:
    bool taken(const std::string& path) const { return used_.count(path) != 0 || pathExists(path); }

    std::string folder_;
    long long first_;
    std::unordered_set<std::string> used_;
};

bool writeFile(CsvExportResult& result, const std::string& path, const std::string& text) {
    std::string error;
    if (!writeFileAtomic(path, text, &error)) {
        result.ok = false;
        result.error = error;
        return false;
    }
    result.files.push_back(path);
    return true;
}

bool makeFolder(CsvExportResult& result, const std::string& base, int firstNumber) {
    std::string error;
    const auto folder = createUniqueFolder(base, kMaxFolderTries, &error, firstNumber);
    if (!folder) {
        result.ok = false;
        result.error = error;
        return false;
    }
    result.folder = *folder;
    return true;
}

// Writes one file per job. The names are chosen in order first; the files are formatted
// and written on several threads, and their results taken in order. The first failure in
// that order stops the export: files of later jobs that were written meanwhile are removed
// again (their names were free), so what stays is exactly what came before the failure.
struct FileJob {
    std::string path;
    std::function<void(std::string&)> format;
};

bool writeFiles(CsvExportResult& result, const std::vector<FileJob>& jobs) {
    std::vector<char> written(jobs.size(), 0);
    size_t failedAt = jobs.size();
    const bool ok = produceInOrder(
        jobs.size(),
        [&](size_t i, std::string& error) {
            std::string text;
            jobs[i].format(text);
            if (writeFileAtomic(jobs[i].path, text, &error)) written[i] = 1;
        },
        [&](size_t i, std::string& error) {
            if (written[i]) {
                result.files.push_back(jobs[i].path);
                return true;
            }
            result.ok = false;
            result.error = error;
            failedAt = i;
            return false;
        });
    for (size_t j = failedAt + 1; j < jobs.size(); ++j) {
        std::error_code ec;
        if (written[j]) std::filesystem::remove(jobs[j].path, ec);
    }
    return ok;
}

// Runs an export, turning a failure to get memory into its message.
CsvExportResult guarded(const std::string& fileName, const std::function<void(CsvExportResult&)>& run) {
    CsvExportResult result;
    try {
        run(result);
    } catch (const std::bad_alloc&) {
        result.ok = false;
        result.error = "Недостаточно памяти для экспорта в \"" + fileName + "\"";
    }
    return result;
}

}  // namespace

std::string joinedCsvText(const CsvSeriesList& series, const FormatSettings& fs) {
    std::string out;
    appendJoined(out, withoutNulls(series), fs, 4);
    return out;
}

std::string singleCsvText(const TStatisticSeries& series, const FormatSettings& fs) {
    CsvTextFormatter fmt(fs);
    std::string out;
    appendSingle(out, series, fmt);
    return out;
}

CsvExportResult writeSeriesCsv(const std::string& fileName, const CsvSeriesList& series, const FormatSettings& fs) {
    return guarded(fileName, [&](CsvExportResult& result) { writeFile(result, fileName, joinedCsvText(series, fs)); });
}

CsvExportResult saveSeriesToCsv(const std::string& fileName, const CsvSeriesList& series, const FormatSettings& fs) {
    return guarded(fileName, [&](CsvExportResult& result) {
        if (!makeFolder(result, exportBaseName(fileName), 1)) return;
        FileNamer namer(result.folder, 1);
        std::vector<FileJob> jobs;
        for (const TStatisticSeries* s : withoutNulls(series))
            jobs.push_back({namer.next(s->Title), [s, &fs](std::string& text) {
                                CsvTextFormatter fmt(fs);
                                appendSingle(text, *s, fmt);
                            }});
        writeFiles(result, jobs);
    });
}

CsvExportResult saveFragmentsToCsv(const std::string& fileName, const std::vector<CsvIntervalFile>& intervals,
                                   const FormatSettings& fs) {
    return guarded(fileName, [&](CsvExportResult& result) {
        if (!makeFolder(result, exportBaseName(fileName), 1)) return;
        FileNamer namer(result.folder, 1);
        std::vector<FileJob> jobs;
        for (const CsvIntervalFile& interval : intervals)
            jobs.push_back({namer.next(interval.name), [list = withoutNulls(interval.series), &fs](std::string& text) {
                                // The files are formatted in parallel already.
                                appendJoined(text, list, fs, 1);
                            }});
        writeFiles(result, jobs);
    });
}

CsvExportResult saveFragmentSeriesToCsv(const std::string& fileName, const std::vector<CsvSeriesFolder>& folders,
                                        const FormatSettings& fs) {
    return guarded(fileName, [&](CsvExportResult& result) {
        if (!makeFolder(result, exportBaseName(fileName), 2)) return;
        for (const CsvSeriesFolder& folder : folders) {
            std::string error;
            const auto sub =
                createUniqueFolder(result.folder + "/" + safeFileName(folder.title), kMaxFolderTries, &error, 2);
            if (!sub) {
                result.ok = false;
                result.error = error;
                return;
            }
            FileNamer namer(*sub, 2);
            std::vector<FileJob> jobs;
            for (const TStatisticSeries* part : withoutNulls(folder.parts))
                jobs.push_back({namer.next(part->Title), [part, &fs](std::string& text) {
                                    CsvTextFormatter fmt(fs);
                                    appendSingle(text, *part, fmt);
                                }});
            if (!writeFiles(result, jobs)) return;
        }
    });
}
