#include "core/ProjectFolder.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <system_error>
#include <thread>
#include <unordered_set>

#include "core/FileSystem.h"
#include "core/ModelFiles.h"
#include "core/StoredFormat.h"
#include "numerics/Parallel.h"
#include "numerics/TextCodec.h"

namespace fs = std::filesystem;

namespace {

const char* const kEol = "\r\n";
const char* const kSeriesDir = "series";
const char* const kStaticDir = "staticmodels";
const char* const kDynamicDir = "dynamicmodels";

// Room left for a "(n)" suffix after a safe name, so that a stem is a fixed point of
// safeFileName and reads back to the same file.
constexpr size_t kStemBaseBytes = 180;

std::string cutUtf8(std::string s, size_t maxBytes) {
    if (s.size() <= maxBytes) return s;
    size_t cut = maxBytes;
    while (cut > 0 && (static_cast<unsigned char>(s[cut]) & 0xC0) == 0x80) --cut;
    s.resize(cut);
    return s;
}

// Hands out file stems for names in list order, each safe and unique among those handed
// out; the reader repeats the same sequence to find the files the writer made.
class StemNamer {
public:
    std::string next(std::string_view name) {
        std::string base = cutUtf8(safeFileName(name), kStemBaseBytes);
        // The .prj names the file by its stem as one ";"-ended field: a ";" in a model name
        // would cut the stem short and the file would never be found again.
        std::replace(base.begin(), base.end(), ';', '_');
        std::string stem = uniqueName(base, [&](const std::string& c) { return used_.count(c) != 0; });
        used_.insert(stem);
        return stem;
    }

private:
    std::unordered_set<std::string> used_;
};

bool exists(const std::string& p) {
    std::error_code ec;
    return fs::exists(fs::path(p), ec);
}

bool isDir(const std::string& p) {
    std::error_code ec;
    return fs::is_directory(fs::path(p), ec);
}

// Finds the file of a stem in a folder, also when its name on disk is in Windows-1251.
class FolderIndex {
public:
    explicit FolderIndex(std::string folder) : folder_(std::move(folder)) {}

    std::optional<std::string> find(const std::string& fileName) {
        const std::string direct = folder_ + "/" + fileName;
        if (exists(direct)) return direct;
        if (!listed_) {
            listed_ = true;
            std::error_code ec;
            for (fs::directory_iterator it(fs::path(folder_), ec), end; !ec && it != end; it.increment(ec)) {
                const std::string raw = it->path().filename().string();
                if (!isValidUtf8(raw)) byDecodedName_.emplace(cp1251ToUtf8(raw), it->path().string());
            }
        }
        const auto it = byDecodedName_.find(fileName);
        if (it == byDecodedName_.end()) return std::nullopt;
        return it->second;
    }

private:
    std::string folder_;
    bool listed_ = false;
    std::map<std::string, std::string> byDecodedName_;
};

// The data file of a name: the one its stem names or, in a folder written by another program,
// the one named after the whole name (longer names than the stems keep, or characters that
// only this system's stems avoid); never a path outside the folder.
std::optional<std::string> findDataFile(FolderIndex& dir, const std::string& stem, std::string_view name,
                                        const char* extension) {
    if (auto path = dir.find(stem + extension)) return path;
    const std::string whole(name);
    if (whole == stem || whole.empty() || whole == "." || whole == ".." ||
        whole.find_first_of(std::string_view("/\0", 2)) != std::string::npos)
        return std::nullopt;
    return dir.find(whole + extension);
}

// A data file's path relative to the data folder ("series/a.ls").
std::string relativeToData(const std::string& path, const std::string& data) {
    return path.compare(0, data.size() + 1, data + "/") == 0 ? path.substr(data.size() + 1) : path;
}

// ---- reading ----

struct SeriesItem {
    std::string title;
    std::string stem;
    size_t line = 0;  // its line in the .prj, from 1
    std::optional<TStatisticSeries> series;
    std::string problem;
};

// What is said of a UTF-8 file with a byte that is no part of a UTF-8 character.
std::string damagedByteText(size_t line) {
    return "в строке " + std::to_string(line) + " есть байт, недопустимый в кодировке UTF-8";
}

void readSeriesFile(const std::string& path, SeriesItem& item) {
    std::string error;
    size_t damagedLine = 0;
    const auto text = readTextFile(path, &error, &damagedLine);
    if (!text) {
        item.problem = "Ряд \"" + item.title + "\" не загружен: " + error;
        return;
    }
    auto lines = splitLines(*text);
    while (!lines.empty() && lines.back().find_first_not_of(" \t") == std::string_view::npos) lines.pop_back();
    if (lines.empty()) {
        item.problem = "Ряд \"" + item.title + "\" не загружен: файл \"" + path + "\" пуст";
        return;
    }
    const auto colour = lines.size() >= 2 ? readStoredInt(lines[1]) : std::nullopt;
    if (!colour) {
        item.problem = "Ряд \"" + item.title + "\" не загружен: не читается цвет ряда (строка 2 файла \"" + path + "\")";
        return;
    }
    TStatisticSeries s;
    s.Title = item.title;
    s.labRow = lines[0] == "true";
    s.color = *colour;
    // A damaged flag reads as "false"; said, so that a save does not make that final unasked.
    std::string flagProblem;
    if (lines[0] != "true" && lines[0] != "false")
        flagProblem = "Ряд \"" + item.title + "\": признак лабораторного анализа в строке 1 файла \"" + path +
                      "\" не читается (\"" + cutUtf8(std::string(lines[0]), 40) + "\"); ряд загружен как нелабораторный";
    std::vector<double> xs, ys;
    xs.reserve(lines.size());
    ys.reserve(lines.size());
    size_t bad = 0, firstBad = 0;
    for (size_t i = 2; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        if (line.find_first_not_of(" \t") == std::string_view::npos) continue;
        // Exactly "X;Y;": a missing ";", a ";" inside a number or a line joined to the next
        // gives another count of fields, and the line is not taken.
        const size_t semi = line.find(';');
        const size_t end = semi == std::string_view::npos ? semi : line.find(';', semi + 1);
        std::optional<TDateTime> x;
        std::optional<double> y;
        if (end != std::string_view::npos && end + 1 == line.size()) {
            x = readStoredDateTime(line.substr(0, semi));
            y = readStoredFloat(line.substr(semi + 1, end - semi - 1));
        }
        if (!x || !y) {
            if (bad++ == 0) firstBad = i + 1;
            continue;
        }
        xs.push_back(*x);
        ys.push_back(*y);
    }
    s.setPoints(std::move(xs), std::move(ys));
    s.calcStatistic();
    if (bad > 0)
        item.problem = "Ряд \"" + item.title + "\": пропущено нечитаемых строк: " + std::to_string(bad) +
                       " (первая — строка " + std::to_string(firstBad) + " файла \"" + path + "\")";
    if (!flagProblem.empty()) item.problem = item.problem.empty() ? flagProblem : item.problem + "\n" + flagProblem;
    if (damagedLine > 0) {
        const std::string damage = "Ряд \"" + item.title + "\": " + damagedByteText(damagedLine) + " файла \"" + path + "\"";
        item.problem = item.problem.empty() ? damage : damage + "\n" + item.problem;
    }
    item.series = std::move(s);
}

bool isSectionLine(std::string_view line) {
    return line == "*series" || line == "*interval" || line == "*staticmodel" || line == "*dynamicmodel";
}

// The .prj and data folder to read, also after a save that was cut short.
struct ResolvedFiles {
    std::string prj;
    std::string data;
};

ResolvedFiles resolveFiles(const std::string& prjFile, const std::string& folder, const std::string& name) {
    const std::string base = folder.empty() ? std::string() : folder + "/";
    ResolvedFiles r{prjFile, base + "data"};
    const std::string old = base + "data.old";
    const std::string newPrj = base + name + ".prj.new";
    if (isDir(old)) {
        if (!isDir(r.data)) r.data = old;             // cut short before the new data was in place
        else if (exists(newPrj)) r.prj = newPrj;      // new data in place, new .prj not yet
    }
    return r;
}

// Which listed items name a data file that an earlier item of the list names already: a line
// repeated in the .prj would load one file twice, and the next save would keep both copies.
std::vector<char> repeatedFiles(const std::vector<std::optional<std::string>>& paths) {
    std::set<std::string> seen;
    std::vector<char> repeated(paths.size(), 0);
    for (size_t k = 0; k < paths.size(); ++k)
        if (paths[k] && !seen.insert(*paths[k]).second) repeated[k] = 1;
    return repeated;
}

std::string repeatedLineText(size_t line) {
    return "строка " + std::to_string(line) + " файла проекта повторяет файл, указанный выше";
}

// Reads the model files found for the listed stems (listed on the given .prj lines), in list
// order; a model that cannot be read is left out and named in the problems. The files read
// are added to `read`.
template <class Model, class Parse>
void loadModels(const std::vector<std::string>& stems, const std::vector<size_t>& lines,
                const std::vector<std::optional<std::string>>& paths, const std::string& data, const char* dirName,
                const char* extension, const char* kind, Parse parse, std::vector<Model>& models,
                std::vector<std::string>& problems, std::vector<std::string>& read) {
    const auto repeated = repeatedFiles(paths);
    for (size_t k = 0; k < stems.size(); ++k) {
        const std::string& stem = stems[k];
        const auto& path = paths[k];
        std::string why;
        std::optional<std::string> text;
        size_t damagedLine = 0;
        if (repeated[k]) why = repeatedLineText(lines[k]);
        else if (path) text = readTextFile(*path, &why, &damagedLine);
        else why = "нет файла";
        std::optional<Model> model;
        // A name with a character lost would no longer match its series.
        if (text && damagedLine > 0) why = damagedByteText(damagedLine);
        else if (text) model = parse(*text, &why);
        if (model) {
            models.push_back(std::move(*model));
            read.push_back(relativeToData(*path, data));
        } else {
            problems.push_back(std::string(kind) + " \"" + stem + "\" не загружена: " + why + " (\"" +
                               (path ? *path : data + "/" + dirName + "/" + stem + extension) + "\")");
        }
    }
}

}  // namespace

namespace {

bool isBlankLine(std::string_view line) { return line.find_first_not_of(" \t") == std::string_view::npos; }

// What a .prj lists: the series titles with their file stems, the intervals and the model
// file stems, in file order, and a problem line for each line or section it could not take.
struct ProjectListing {
    std::vector<SeriesItem> series;
    arrayOfFragment intervals;
    std::vector<std::string> staticStems, staticNames, dynamicStems, dynamicNames;
    std::vector<size_t> staticLines, dynamicLines;  // .prj lines of the models, from 1
    std::vector<std::string> problems;
};

// The problems of a .prj in file order. Lines the reader does not place (outside every
// section, or lines a section cannot take) are reported too, a run of neighbours as one
// problem: such a line may be a damaged section line or a stray "*", and the items after
// it would be lost by a save that trusts the folder.
class ListingProblems {
public:
    explicit ListingProblems(std::vector<std::string>& out) : out_(out) {}

    void add(std::string text) {
        flush();
        out_.push_back(std::move(text));
    }

    // Line i (0-based) was not placed; `section` is the section it stands in ("" outside).
    void unplaced(size_t i, std::string_view line, std::string_view section) {
        if (count_ > 0 && i == first_ + count_ && section == section_) {
            ++count_;
            return;
        }
        flush();
        first_ = i;
        count_ = 1;
        section_ = std::string(section);
        firstText_ = isBlankLine(line) ? std::string("пустая строка") : "\"" + cutUtf8(std::string(line), 80) + "\"";
    }

    void flush() {
        if (count_ == 0) return;
        const std::string where =
            section_.empty() ? " файла проекта вне разделов" : " раздела \"" + section_ + "\" файла проекта";
        if (count_ == 1)
            out_.push_back("Строка " + std::to_string(first_ + 1) + where + " не прочитана: " + firstText_);
        else
            out_.push_back("Строки " + std::to_string(first_ + 1) + "–" + std::to_string(first_ + count_) + where +
                           " не прочитаны (первая: " + firstText_ + ")");
        count_ = 0;
    }

private:
    std::vector<std::string>& out_;
    size_t first_ = 0, count_ = 0;
    std::string section_, firstText_;
};

ProjectListing parseProjectLines(const std::vector<std::string_view>& lines) {
    ProjectListing listing;
    ListingProblems problems(listing.problems);
    StemNamer seriesStems;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string_view section = lines[i];
        if (!isSectionLine(section)) {
            // A blank line between sections holds nothing; any other text does.
            if (!isBlankLine(section)) problems.unplaced(i, section, {});
            continue;
        }
        for (++i; i < lines.size() && lines[i] != "*"; ++i) {
            const std::string_view line = lines[i];
            if (section == "*interval") {
                if (isBlankLine(line)) {
                    problems.unplaced(i, line, section);
                    continue;
                }
                // Exactly name;start;end;type; — a line joined to the next has more fields.
                const auto f = endedFields(line);
                std::optional<TDateTime> start, end;
                int type = -1;
                if (f && f->size() == 4) {
                    start = readStoredDateTime((*f)[1]);
                    end = readStoredDateTime((*f)[2]);
                    type = readStoredInt((*f)[3]).value_or(-1);
                }
                if (!start || !end || type < 0 || type > 255 || hasControlCharacter((*f)[0])) {
                    problems.add("Интервал в строке " + std::to_string(i + 1) + " файла проекта не прочитан: \"" +
                                 std::string(line) + "\"");
                    continue;
                }
                TFragment frag(static_cast<uint8_t>(type), *start, *end);
                frag.name = std::string((*f)[0]);
                listing.intervals.push_back(std::move(frag));
                continue;
            }
            // A list line is one ";"-ended name: without its ";", or with a second field (two
            // lines joined), it cannot be taken; nor with a control character, or a series
            // title with "\", which the project takes out of every title.
            const auto name = onlyField(line);
            if (!name || hasControlCharacter(*name) ||
                (section == "*series" && name->find('\\') != std::string_view::npos)) {
                problems.unplaced(i, line, section);
                continue;
            }
            const std::string_view field = *name;
            if (section == "*series") {
                SeriesItem item;
                item.title = std::string(field);
                item.stem = seriesStems.next(field);
                item.line = i + 1;
                listing.series.push_back(std::move(item));
            } else if (section == "*staticmodel") {
                listing.staticStems.push_back(safeFileName(field));
                listing.staticNames.emplace_back(field);
                listing.staticLines.push_back(i + 1);
            } else {
                listing.dynamicStems.push_back(safeFileName(field));
                listing.dynamicNames.emplace_back(field);
                listing.dynamicLines.push_back(i + 1);
            }
        }
        // A file cut short: what the section listed after the cut is unknown, so the project
        // must not be bound to the folder (a save would drop the files it no longer names).
        if (i >= lines.size())
            problems.add("Файл проекта обрывается: раздел \"" + std::string(section) + "\" не завершен строкой \"*\".");
    }
    problems.flush();
    return listing;
}

// Where the data files of a listing are, in list order (nullopt for a missing file): series,
// then static models, then dynamic models.
struct ListedFiles {
    std::vector<std::optional<std::string>> series, staticModels, dynamicModels;
};

ListedFiles findListedFiles(const ProjectListing& listing, const std::string& data) {
    ListedFiles files;
    FolderIndex seriesDir(data + "/" + kSeriesDir);
    for (const auto& item : listing.series)
        files.series.push_back(findDataFile(seriesDir, item.stem, item.title, ".ls"));
    FolderIndex staticDir(data + "/" + kStaticDir);
    for (size_t k = 0; k < listing.staticStems.size(); ++k)
        files.staticModels.push_back(findDataFile(staticDir, listing.staticStems[k], listing.staticNames[k], ".sm"));
    FolderIndex dynamicDir(data + "/" + kDynamicDir);
    for (size_t k = 0; k < listing.dynamicStems.size(); ++k)
        files.dynamicModels.push_back(
            findDataFile(dynamicDir, listing.dynamicStems[k], listing.dynamicNames[k], ".dm"));
    return files;
}

// The series and model files of the data folder that no line of the .prj names: a project
// saves exactly the files it lists, so such a file is an item whose line was lost.
std::vector<std::string> unlistedFiles(const ListedFiles& found, const std::string& data) {
    std::set<std::string> listed;
    for (const auto* list : {&found.series, &found.staticModels, &found.dynamicModels})
        for (const auto& path : *list)
            if (path) listed.insert(*path);
    std::vector<std::string> problems;
    for (const auto& [dir, extension] : {std::pair{kSeriesDir, ".ls"}, {kStaticDir, ".sm"}, {kDynamicDir, ".dm"}}) {
        std::vector<std::string> unlisted;
        std::error_code ec;
        for (fs::directory_iterator it(fs::path(data + "/" + dir), ec), end; !ec && it != end; it.increment(ec)) {
            std::error_code sec;
            if (it->path().extension() != extension || !it->is_regular_file(sec)) continue;
            const std::string path = it->path().string();
            if (listed.count(path) == 0) unlisted.push_back(isValidUtf8(path) ? path : cp1251ToUtf8(path));
        }
        if (unlisted.empty()) continue;
        std::sort(unlisted.begin(), unlisted.end());
        if (unlisted.size() == 1) {
            problems.push_back("Файл \"" + unlisted[0] + "\" не указан в файле проекта и не загружен");
            continue;
        }
        // One line for a folder: a damaged section line leaves every file of its list unlisted.
        constexpr size_t kNamed = 5;
        std::string text = "Файлы папки \"" + data + "/" + dir + "\" не указаны в файле проекта и не загружены (" +
                           std::to_string(unlisted.size()) + "):";
        for (size_t k = 0; k < std::min(kNamed, unlisted.size()); ++k)
            text += (k ? ", \"" : " \"") + fileNameOf(unlisted[k]) + "\"";
        if (unlisted.size() > kNamed) text += " и еще " + std::to_string(unlisted.size() - kNamed);
        problems.push_back(text);
    }
    return problems;
}

// The data-folder files a save may replace: those the project file `prj` names, as the
// reader finds them in `data`, and `own` (what the project itself read from or wrote into
// the folder).
std::set<std::string> replaceableFiles(const std::string& prj, const std::string& data,
                                       const std::vector<std::string>& own) {
    std::set<std::string> files(own.begin(), own.end());
    const auto text = readTextFile(prj);
    if (!text) return files;
    const ListedFiles found = findListedFiles(parseProjectLines(splitLines(*text)), data);
    for (const auto* list : {&found.series, &found.staticModels, &found.dynamicModels})
        for (const auto& path : *list)
            if (path) files.insert(relativeToData(*path, data));
    return files;
}

// True when `prj` is a plain file that reads whole as a project file, every line in its
// place, and every data file it names is in `data`: what a save writes as "<name>.prj.new"
// beside the data it stages.
bool isWholeProjectFileOf(const std::string& prj, const std::string& data) {
    std::error_code ec;
    if (!fs::is_regular_file(fs::symlink_status(fs::path(prj), ec))) return false;
    size_t damagedLine = 0;
    const auto text = readTextFile(prj, nullptr, &damagedLine);
    if (!text || damagedLine > 0) return false;
    const auto lines = splitLines(*text);
    if (std::none_of(lines.begin(), lines.end(), isSectionLine)) return false;
    const ProjectListing listing = parseProjectLines(lines);
    if (!listing.problems.empty()) return false;
    const ListedFiles found = findListedFiles(listing, data);
    for (const auto* list : {&found.series, &found.staticModels, &found.dynamicModels}) {
        for (const auto& path : *list)
            if (!path) return false;
        const auto repeated = repeatedFiles(*list);
        if (std::find(repeated.begin(), repeated.end(), 1) != repeated.end()) return false;
    }
    return true;
}

// The first entry of the data folder that a save must not remove: anything but the three
// sub-folders holding replaceable files. Empty when there is none.
std::string firstForeignEntry(const std::string& data, const std::set<std::string>& replaceable) {
    std::error_code ec;
    for (fs::directory_iterator it(fs::path(data), ec), end; it != end; it.increment(ec)) {
        if (ec) return data;
        const std::string name = it->path().filename().string();
        if ((name != kSeriesDir && name != kStaticDir && name != kDynamicDir) || it->is_symlink(ec) ||
            !it->is_directory(ec))
            return name;
        for (fs::directory_iterator f(it->path(), ec); f != end; f.increment(ec)) {
            if (ec) return name;
            const std::string rel = name + "/" + f->path().filename().string();
            if (f->is_symlink(ec) || !f->is_regular_file(ec) || replaceable.count(rel) == 0) return rel;
        }
    }
    return ec ? data : std::string();
}

ProjectReadResult readProjectFiles(const std::string& prjFileGiven) {
    ProjectReadResult result;
    // The project is bound to a folder, so a relative name is made absolute.
    std::error_code absEc;
    const fs::path absolute = fs::absolute(fs::path(prjFileGiven), absEc);
    const std::string prjFile = absEc ? prjFileGiven : absolute.lexically_normal().string();
    result.folder = folderOf(prjFile);
    result.projectName = withoutLastExtension(fileNameOf(prjFile));
    const ResolvedFiles files = resolveFiles(prjFile, result.folder, result.projectName);

    std::string error;
    size_t damagedLine = 0;
    const auto text = readTextFile(files.prj, &error, &damagedLine);
    if (!text) {
        result.error = "Не удалось открыть файл проекта: " + error;
        return result;
    }
    const auto lines = splitLines(*text);
    if (std::none_of(lines.begin(), lines.end(), isSectionLine)) {
        result.error = "Файл \"" + prjFile + "\" не является файлом проекта.";
        return result;
    }
    result.opened = true;

    ProjectListing listing = parseProjectLines(lines);
    if (damagedLine > 0)
        result.problems.push_back("Файл проекта \"" + files.prj + "\": " + damagedByteText(damagedLine));
    for (auto& p : listing.problems) result.problems.push_back(std::move(p));
    result.data.userFragments = std::move(listing.intervals);
    std::vector<SeriesItem>& seriesItems = listing.series;
    const ListedFiles found = findListedFiles(listing, files.data);
    const auto& seriesPaths = found.series;
    const auto repeatedSeries = repeatedFiles(seriesPaths);
    for (auto& p : unlistedFiles(found, files.data)) result.problems.push_back(std::move(p));

    // Series files, read in parallel; results and problems keep the list order.
    parallelFor(seriesItems.size(), [&](size_t k) {
        SeriesItem& item = seriesItems[k];
        if (repeatedSeries[k]) {
            item.problem = "Ряд \"" + item.title + "\" не загружен: " + repeatedLineText(item.line);
            return;
        }
        if (!seriesPaths[k]) {
            item.problem = "Ряд \"" + item.title + "\" не загружен: нет файла \"" + files.data + "/" + kSeriesDir +
                           "/" + item.stem + ".ls\"";
            return;
        }
        readSeriesFile(*seriesPaths[k], item);
    });
    for (size_t k = 0; k < seriesItems.size(); ++k) {
        SeriesItem& item = seriesItems[k];
        if (!item.problem.empty()) result.problems.push_back(item.problem);
        if (!item.series) continue;
        result.data.series.push_back(std::move(*item.series));
        result.files.push_back(relativeToData(*seriesPaths[k], files.data));
    }

    loadModels(listing.staticStems, listing.staticLines, found.staticModels, files.data, kStaticDir, ".sm",
               "Статическая модель", parseStaticModel, result.data.staticModels, result.problems, result.files);
    loadModels(listing.dynamicStems, listing.dynamicLines, found.dynamicModels, files.data, kDynamicDir, ".dm",
               "Динамическая модель", parseDynamicModel, result.data.dynamicModels, result.problems, result.files);
    return result;
}

}  // namespace

ProjectReadResult readProjectFolder(const std::string& prjFile) {
    // Reading allocates a copy of every series; when memory runs out the load fails as a whole.
    try {
        return readProjectFiles(prjFile);
    } catch (const std::bad_alloc&) {
        ProjectReadResult result;
        result.error = "Недостаточно памяти для загрузки проекта \"" + prjFile + "\".";
        return result;
    }
}

// ---- writing ----

std::string seriesFileText(const TStatisticSeries& s) {
    std::string out;
    out.reserve(32 + static_cast<size_t>(s.Count()) * 36);
    out += s.labRow ? "true" : "false";
    out += kEol;
    out += std::to_string(s.color);
    out += kEol;
    const auto& xs = s.XValues();
    const auto& ys = s.YValues();
    for (size_t i = 0; i < xs.size(); ++i) {
        appendStoredDateTime(out, xs[i]);
        out += ';';
        appendStoredFloat(out, ys[i]);
        out += ';';
        out += kEol;
    }
    return out;
}

namespace {

// The file stems of a list of names, in list order.
template <class List, class NameOf>
std::vector<std::string> stemsOf(const List& list, NameOf nameOf) {
    StemNamer namer;
    std::vector<std::string> stems;
    for (const auto& item : list) stems.push_back(namer.next(nameOf(item)));
    return stems;
}

// One line "stem;" for each model file stem.
void appendStemLines(std::string& out, const std::vector<std::string>& stems) {
    for (const auto& stem : stems) {
        out += stem;
        out += ';';
        out += kEol;
    }
}

// What the .prj holds for a series: its title as one field.
std::string seriesLineTitle(const TStatisticSeries& s) { return fieldText(s.Title); }

}  // namespace

std::string projectFileText(const ProjectData& d) {
    std::string out;
    out += "*series";
    out += kEol;
    for (const auto& s : d.series) {
        out += seriesLineTitle(s);
        out += ';';
        out += kEol;
    }
    out += "*";
    out += kEol;
    out += "*interval";
    out += kEol;
    for (const auto& f : d.userFragments) {
        out += fieldText(f.name);
        out += ';';
        appendStoredDateTime(out, static_cast<double>(f.startPoint));
        out += ';';
        appendStoredDateTime(out, static_cast<double>(f.endPoint));
        out += ';';
        out += std::to_string(f.typeOfFragments());
        out += ';';
        out += kEol;
    }
    out += "*";
    out += kEol;
    out += "*staticmodel";
    out += kEol;
    // The model lines name the model files; the model's own name is inside its file.
    appendStemLines(out, stemsOf(d.staticModels, [](const TStaticModel& m) { return m.name; }));
    out += "*";
    out += kEol;
    out += "*dynamicmodel";
    out += kEol;
    appendStemLines(out, stemsOf(d.dynamicModels, [](const TDynamicModel& m) { return m.name; }));
    out += "*";
    out += kEol;
    return out;
}

bool isProjectDataFolder(const std::string& path) {
    std::error_code ec;
    if (!fs::is_directory(fs::path(path), ec)) return false;
    for (fs::directory_iterator it(fs::path(path), ec), end; it != end; it.increment(ec)) {
        if (ec) return false;
        const std::string name = it->path().filename().string();
        const char* ext = name == kSeriesDir ? ".ls" : name == kStaticDir ? ".sm" : name == kDynamicDir ? ".dm" : nullptr;
        if (!ext || it->is_symlink(ec) || !it->is_directory(ec)) return false;
        for (fs::directory_iterator f(it->path(), ec); f != end; f.increment(ec)) {
            if (ec) return false;
            if (f->is_symlink(ec) || !f->is_regular_file(ec) || f->path().extension() != ext) return false;
        }
    }
    return !ec;
}

namespace {

bool removePath(const std::string& path, std::string* error) {
    std::error_code ec;
    fs::remove_all(fs::path(path), ec);
    if (!ec) return true;
    if (error) *error = "Не удалось удалить \"" + path + "\": " + ec.message();
    return false;
}

bool renamePath(const std::string& from, const std::string& to, std::string* error) {
    std::error_code ec;
    fs::rename(fs::path(from), fs::path(to), ec);
    if (!ec) return true;
    if (error) *error = "Не удалось переименовать \"" + from + "\" в \"" + to + "\": " + ec.message();
    return false;
}

bool makeDir(const std::string& path, std::string* error) {
    std::error_code ec;
    if (fs::create_directory(fs::path(path), ec)) return true;
    if (error) *error = "Не удалось создать папку \"" + path + "\": " + (ec ? ec.message() : "она уже есть");
    return false;
}

// Writes the data files into `data` (a new, empty folder); false with `error` on failure
// or cancel.
bool writeDataFiles(const ProjectData& d, const std::string& data, const ProjectWriteProgress& progress,
                    std::vector<std::string>& written, std::string* error) {
    for (const char* sub : {kSeriesDir, kStaticDir, kDynamicDir})
        if (!makeDir(data + "/" + sub, error)) return false;
    const int total = static_cast<int>(d.series.size() + d.staticModels.size() + d.dynamicModels.size()) + 1;
    int done = 0;
    auto step = [&]() {
        if (progress && !progress(done, total)) {
            if (error) *error = "Сохранение проекта прервано.";
            return false;
        }
        ++done;
        return true;
    };
    // Series files are the bulk: written a batch at a time on several threads, with the
    // progress asked on this thread before each batch.
    const auto seriesStems = stemsOf(d.series, seriesLineTitle);
    const size_t batch = 8;
    for (size_t first = 0; first < d.series.size(); first += batch) {
        const size_t count = std::min(batch, d.series.size() - first);
        for (size_t k = 0; k < count; ++k)
            if (!step()) return false;
        std::vector<std::string> errors(count);
        std::vector<char> ok(count, 0);
        parallelFor(count, [&](size_t k) {
            const size_t i = first + k;
            const std::string path = data + "/" + kSeriesDir + "/" + seriesStems[i] + ".ls";
            ok[k] = writeFileDurable(path, seriesFileText(d.series[i]), &errors[k]);
        });
        for (size_t k = 0; k < count; ++k) {
            if (!ok[k]) {
                if (error) *error = errors[k];
                return false;
            }
            written.push_back(std::string(kSeriesDir) + "/" + seriesStems[first + k] + ".ls");
        }
    }
    const auto staticStems = stemsOf(d.staticModels, [](const TStaticModel& m) { return m.name; });
    for (size_t i = 0; i < d.staticModels.size(); ++i) {
        if (!step()) return false;
        const std::string name = std::string(kStaticDir) + "/" + staticStems[i] + ".sm";
        if (!writeFileDurable(data + "/" + name, staticModelText(d.staticModels[i]), error)) return false;
        written.push_back(name);
    }
    const auto dynamicStems = stemsOf(d.dynamicModels, [](const TDynamicModel& m) { return m.name; });
    for (size_t i = 0; i < d.dynamicModels.size(); ++i) {
        if (!step()) return false;
        const std::string name = std::string(kDynamicDir) + "/" + dynamicStems[i] + ".dm";
        if (!writeFileDurable(data + "/" + name, dynamicModelText(d.dynamicModels[i]), error)) return false;
        written.push_back(name);
    }
    for (const char* sub : {kSeriesDir, kStaticDir, kDynamicDir}) syncFolder(data + "/" + sub);
    syncFolder(data);
    return step();
}

}  // namespace

namespace {

// A save cut short leaves one of these states (see the header):
//   staged          data, data.new and maybe <name>.prj.new: drop the staged ones;
//   old moved aside data.old, data.new, <name>.prj.new: put data.old back, drop the rest;
//   new data in     data.old, data (new), <name>.prj.new: the .prj.new goes over the .prj;
//   new .prj in     data.old, data: only data.old is left to drop.
// The plan is made before anything is touched; a leftover that is not recognisably the
// save's own (a data folder holding other files than project files, a .prj.new that is no
// whole project file of its data) stops the save, and nothing is removed.
struct Settlement {
    std::string data, old, staged, prj, newPrj;
    // Where the project lives as the reader sees it: its data folder and project file.
    std::string liveData, livePrj;
    bool restoreOld = false, finishPrj = false;
    bool dropOld = false, dropStaged = false, dropNewPrj = false;
    // The leftover that stops the save (its file name), empty when the save may go on.
    std::string notOwn;
    // Temporary files of a .prj.new whose writing was cut short.
    std::vector<std::string> strayTemps;
};

// The temporary files that writing "<name>.prj.new" leaves when it is cut short: plain
// files named ".<name>.prj.new.tmp" and a number, as writeFileAtomic names them.
std::vector<std::string> strayPrjTemps(const std::string& folder, const std::string& projectName) {
    const std::string prefix = "." + projectName + ".prj.new.tmp";
    std::vector<std::string> found;
    std::error_code ec;
    for (fs::directory_iterator it(fs::path(folder), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() <= prefix.size() || name.size() > prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0)
            continue;
        if (!std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                         [](char c) { return c >= '0' && c <= '9'; }))
            continue;
        std::error_code sec;
        if (fs::is_regular_file(fs::symlink_status(it->path(), sec))) found.push_back(it->path().string());
    }
    return found;
}

Settlement planSettlement(const std::string& folder, const std::string& projectName) {
    Settlement s;
    s.data = folder + "/data";
    s.old = folder + "/data.old";
    s.staged = folder + "/data.new";
    s.prj = folder + "/" + projectName + ".prj";
    s.newPrj = s.prj + ".new";
    s.liveData = s.data;
    s.livePrj = s.prj;
    // A dangling link counts as there: it is no leftover of a save either.
    auto present = [](const std::string& p) {
        std::error_code ec;
        return fs::exists(fs::symlink_status(fs::path(p), ec));
    };
    const bool hasNewPrj = present(s.newPrj);
    std::string newPrjData = s.staged;  // the data folder the .prj.new was written with
    if (present(s.old) && !isDir(s.old)) {
        s.notOwn = "data.old";
        return s;
    }
    if (isDir(s.old) && !exists(s.data)) {
        s.liveData = s.old;
        s.restoreOld = true;
        s.dropNewPrj = hasNewPrj;
    } else if (isDir(s.old)) {
        s.finishPrj = hasNewPrj;
        if (hasNewPrj) s.livePrj = s.newPrj;
        newPrjData = s.data;
        s.dropOld = true;
    } else {
        s.dropNewPrj = hasNewPrj;
    }
    s.dropStaged = present(s.staged);
    s.strayTemps = strayPrjTemps(folder, projectName);
    if (s.dropStaged && !isProjectDataFolder(s.staged)) s.notOwn = "data.new";
    else if (s.dropOld && !isProjectDataFolder(s.old)) s.notOwn = "data.old";
    else if (hasNewPrj && !isWholeProjectFileOf(s.newPrj, newPrjData)) s.notOwn = projectName + ".prj.new";
    return s;
}

bool settle(const Settlement& s, const std::string& folder, std::string* error) {
    if (s.restoreOld && !renamePath(s.old, s.data, error)) return false;
    if (s.finishPrj && !renamePath(s.newPrj, s.prj, error)) return false;
    if (s.dropNewPrj && !removePath(s.newPrj, error)) return false;
    if (s.dropStaged && !removePath(s.staged, error)) return false;
    if (s.dropOld && !removePath(s.old, error)) return false;
    for (const auto& temp : s.strayTemps)
        if (!removePath(temp, error)) return false;
    syncFolder(folder);
    return true;
}

}  // namespace

ProjectWriteResult writeProjectFolder(const ProjectData& d, const std::string& folder,
                                      const std::string& projectName, const ProjectWriteProgress& progress) {
    ProjectWriteResult result;
    if (folder.empty() || !isDir(folder)) {
        result.error = "Папка проекта \"" + folder + "\" не найдена.";
        return result;
    }
    // Whether the save goes ahead is decided before anything in the folder is touched.
    const Settlement plan = planSettlement(folder, projectName);
    // The old data folder goes as a whole: only when everything in it belongs to the project.
    const std::string foreign =
        exists(plan.liveData)
            ? firstForeignEntry(plan.liveData, replaceableFiles(plan.livePrj, plan.liveData, d.ownFiles))
            : std::string();
    if (!foreign.empty()) {
        result.error = "Папка \"" + plan.liveData + "\" содержит файлы, не принадлежащие проекту (\"" + foreign +
                       "\"); проект не сохранен. Сохраните его в новую папку.";
        return result;
    }
    if (!plan.notOwn.empty()) {
        result.error = "В папке проекта \"" + folder + "\" есть \"" + plan.notOwn +
                       "\", но это не остаток прерванного сохранения проекта: ничего не удалено, проект не "
                       "сохранен. Сохраните его в новую папку.";
        return result;
    }
    if (!settle(plan, folder, &result.error)) return result;
    const std::string& data = plan.data;
    const std::string& old = plan.old;
    const std::string& staged = plan.staged;
    const std::string& prj = plan.prj;
    const std::string& newPrj = plan.newPrj;
    const bool hadData = exists(data);
    std::error_code ec;
    // The .prj.new first: a save cut short here leaves only data.new, which the next save
    // recognises as its own.
    auto dropStaged = [&] {
        fs::remove(fs::path(newPrj), ec);
        fs::remove_all(fs::path(staged), ec);
    };
    if (!makeDir(staged, &result.error)) return result;
    std::vector<std::string> written;
    // The .prj.new is written whole or not at all, so that a leftover one always reads whole.
    if (!writeDataFiles(d, staged, progress, written, &result.error) ||
        !writeFileAtomic(newPrj, projectFileText(d), &result.error)) {
        dropStaged();
        return result;
    }
    // The swap: each step can be undone, and a crash between them is settled by the next
    // save and understood by the reader.
    if (hadData && !renamePath(data, old, &result.error)) {
        dropStaged();
        return result;
    }
    if (!renamePath(staged, data, &result.error)) {
        if (hadData) renamePath(old, data, nullptr);
        dropStaged();
        return result;
    }
    syncFolder(folder);
    if (!renamePath(newPrj, prj, &result.error)) {
        renamePath(data, staged, nullptr);
        if (hadData) renamePath(old, data, nullptr);
        dropStaged();
        return result;
    }
    syncFolder(folder);
    if (hadData) fs::remove_all(fs::path(old), ec);
    result.ok = true;
    result.files = std::move(written);
    result.folder = folder;
    result.projectName = projectName;
    return result;
}

namespace {
// The folder a "save as" under `saveWayGiven` is named after (before numbering) and the
// project name; both empty when the chosen file gives no name.
std::string saveAsBase(const std::string& saveWayGiven, std::string& name) {
    std::error_code absEc;
    const fs::path absolute = fs::absolute(fs::path(saveWayGiven), absEc);
    const std::string saveWay = absEc ? saveWayGiven : absolute.lexically_normal().string();
    name = withoutLastExtension(fileNameOf(saveWay));
    if (name.empty()) return {};
    const std::string parent = folderOf(saveWay);
    return (parent.empty() ? std::string() : (parent == "/" ? parent : parent + "/")) + name;
}
}  // namespace

std::string projectFolderForSaveAs(const std::string& saveWay) {
    std::string name;
    const std::string base = saveAsBase(saveWay, name);
    if (base.empty()) return {};
    return uniqueName(base, [](const std::string& candidate) {
        std::error_code ec;
        return fs::exists(fs::symlink_status(fs::path(candidate), ec));
    });
}

ProjectWriteResult writeProjectFolderAs(const ProjectData& d, const std::string& saveWayGiven,
                                        const ProjectWriteProgress& progress, int maxFolderTries) {
    ProjectWriteResult result;
    std::string name;
    const std::string base = saveAsBase(saveWayGiven, name);
    if (base.empty()) {
        result.error = "Не задано имя проекта.";
        return result;
    }
    const auto folder = createUniqueFolder(base, maxFolderTries, &result.error);
    if (!folder) return result;
    result = writeProjectFolder(d, *folder, name, progress);
    if (!result.ok) {
        std::error_code ec;
        fs::remove_all(fs::path(*folder), ec);
    }
    return result;
}
