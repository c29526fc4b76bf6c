#include <unordered_map>

#include "core/Project.h"
#include "exchange/CsvExport.h"

namespace {

// The indexes of the chosen series in the project's list, checked against the fragment
// series; false with the Russian text of the problem.
bool chosenIndexes(const TProject& project, const CsvSeriesList& chosen, std::vector<size_t>& indexes,
                   std::string& error) {
    std::unordered_map<const TStatisticSeries*, size_t> position;
    for (size_t k = 0; k < project.seriesList.size(); ++k) position.emplace(project.seriesList[k].get(), k);
    for (const TStatisticSeries* s : chosen) {
        if (!s) continue;
        const auto it = position.find(s);
        if (it == position.end()) {
            error = "Ряд \"" + s->Title + "\" не найден в проекте.";
            return false;
        }
        const size_t k = it->second;
        const bool current = !project.needCalcFragment && k < project.fragmentsSeriesList.size() &&
                             project.fragmentsSeriesList[k].size() == project.fragments.size();
        if (!current) {
            error = "Ряды по интервалам не рассчитаны: обновите интервалы проекта.";
            return false;
        }
        indexes.push_back(k);
    }
    return true;
}

CsvExportResult refused(std::string error) {
    CsvExportResult r;
    r.ok = false;
    r.error = std::move(error);
    return r;
}

}  // namespace

CsvExportResult saveFragmentsToCsv(const std::string& fileName, const TProject& project, const CsvSeriesList& chosen,
                                   const FormatSettings& fs) {
    std::vector<size_t> indexes;
    std::string error;
    if (!chosenIndexes(project, chosen, indexes, error)) return refused(error);
    std::vector<CsvIntervalFile> intervals;
    for (size_t m = 0; m < project.fragments.size(); ++m) {
        CsvIntervalFile file{project.fragments[m].name, {}};
        for (size_t k : indexes) file.series.push_back(project.fragmentsSeriesList[k][m].get());
        intervals.push_back(std::move(file));
    }
    return saveFragmentsToCsv(fileName, intervals, fs);
}

CsvExportResult saveFragmentSeriesToCsv(const std::string& fileName, const TProject& project,
                                        const CsvSeriesList& chosen, const FormatSettings& fs) {
    std::vector<size_t> indexes;
    std::string error;
    if (!chosenIndexes(project, chosen, indexes, error)) return refused(error);
    std::vector<CsvSeriesFolder> folders;
    for (size_t k : indexes) {
        CsvSeriesFolder folder{project.seriesList[k]->Title, {}};
        for (const auto& part : project.fragmentsSeriesList[k]) folder.parts.push_back(part.get());
        folders.push_back(std::move(folder));
    }
    return saveFragmentSeriesToCsv(fileName, folders, fs);
}
