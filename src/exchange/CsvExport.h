#pragma once
// Export of series as ";"-separated text in four layouts: all chosen series in one file
// joined by time; one file per series; one file per interval with the chosen series cut
// to it, joined by time; one folder per series with one file per interval.
//
// Lines end in CR LF; times and values are written in the user's formats (dateTimeToStr,
// floatToStr); a null point leaves its value field empty. Titles that hold ";", a double
// quote or a line break are written in double quotes. Each file is written through a
// temporary file renamed into place, so an existing file is never left half-written.
// Titles and interval names become file and folder names through safeFileName; a taken
// name gets "(n)" before ".csv".
//
// The writers only read the series; they change nothing and keep nothing between calls,
// and may run on a worker thread while nothing changes the series (they format and write
// on up to four threads of their own). They report failure through their result, never
// by a message of their own: the export stops at the first failure, and what was written
// before stays. Files are UTF-8.
#include <string>
#include <vector>

#include "numerics/FormatSettings.h"

class TProject;
class TStatisticSeries;

using CsvSeriesList = std::vector<const TStatisticSeries*>;

struct CsvExportResult {
    bool ok = true;
    // Russian text of the failure, naming the path that failed.
    std::string error;
    // The folder made by a folder layout.
    std::string folder;
    // The files written, in order.
    std::vector<std::string> files;
};

// One file of the per-interval layout: the interval's name and the chosen series cut to it.
struct CsvIntervalFile {
    std::string name;
    CsvSeriesList series;
};

// One sub-folder of the folder-per-series layout: the series' title and its parts, one per
// interval.
struct CsvSeriesFolder {
    std::string title;
    CsvSeriesList parts;
};

// The joined text: header "time" + ";" + title for each series (no ";" at the end), then
// one line per distinct time in ascending order. A series gives its value on a line only
// when its time is exactly the line's time; two points of one series with the same time
// give two lines. Series are expected in ascending time order.
std::string joinedCsvText(const CsvSeriesList& series, const FormatSettings& fs = FormatSettings());
// The single-series text: header "time;" + title + ";", then time;value; per point.
std::string singleCsvText(const TStatisticSeries& series, const FormatSettings& fs = FormatSettings());

// The chosen series joined by time into the file `fileName` (replaced when it exists).
CsvExportResult writeSeriesCsv(const std::string& fileName, const CsvSeriesList& series,
                               const FormatSettings& fs = FormatSettings());
// A new folder named after `fileName` without its extension (numbered from 1 when taken)
// holding one file per series named after its title (numbered from 1).
CsvExportResult saveSeriesToCsv(const std::string& fileName, const CsvSeriesList& series,
                                const FormatSettings& fs = FormatSettings());
// A new folder (numbered from 1) holding one joined file per interval, named after the
// interval (numbered from 1).
CsvExportResult saveFragmentsToCsv(const std::string& fileName, const std::vector<CsvIntervalFile>& intervals,
                                   const FormatSettings& fs = FormatSettings());
// A new folder (numbered from 2) holding one sub-folder per series, named after its title
// (numbered from 2), with one single-series file per part, named after the part's title
// (numbered from 2).
CsvExportResult saveFragmentSeriesToCsv(const std::string& fileName, const std::vector<CsvSeriesFolder>& folders,
                                        const FormatSettings& fs = FormatSettings());

// The two per-interval layouts over the project's current intervals (`fragments`) and
// fragment series: each chosen series is found in the project's `seriesList` by identity,
// and its part in interval m is entry [k][m] of `fragmentsSeriesList`. Refused, with
// nothing written, when a chosen series is not in the project or its fragment series are
// not computed for the current series and intervals.
CsvExportResult saveFragmentsToCsv(const std::string& fileName, const TProject& project, const CsvSeriesList& chosen,
                                   const FormatSettings& fs = FormatSettings());
CsvExportResult saveFragmentSeriesToCsv(const std::string& fileName, const TProject& project,
                                        const CsvSeriesList& chosen, const FormatSettings& fs = FormatSettings());
