#pragma once
// The project folder on disk:
//   <folder>/<name>.prj                    the list of series, intervals and models
//   <folder>/data/series/<title>.ls        one file per series
//   <folder>/data/staticmodels/<name>.sm   one file per static model
//   <folder>/data/dynamicmodels/<name>.dm  one file per dynamic model
// The .prj holds the sections "*series", "*interval", "*staticmodel", "*dynamicmodel",
// each ended by a line "*". Names become file names through safeFileName; the real
// series title stays in the .prj and the real model name inside its model file.
//
// Reading and writing work on plain data (ProjectData) so that they can run on a worker
// thread; TProject takes a snapshot before a save and applies a read result afterwards.
//
// A save never deletes the old data before the new is on disk: the new files go into
// "data.new" and "<name>.prj.new", then "data" is renamed to "data.old", "data.new" to
// "data", the new .prj over the old one, and "data.old" is removed. A save cut short at any
// moment leaves the old or the new project; the reader and the next save recognise the
// intermediate states.
#include <functional>
#include <string>
#include <vector>

#include "core/DynamicModel.h"
#include "core/Fragment.h"
#include "core/StaticModel.h"
#include "core/StatisticSeries.h"

struct ProjectData {
    // The project's series with title, colour, labRow and points (null flags are not
    // stored: null points load as ordinary points with the value they hold).
    std::vector<TStatisticSeries> series;
    // The intervals as the user marked them.
    arrayOfFragment userFragments;
    std::vector<TStaticModel> staticModels;
    std::vector<TDynamicModel> dynamicModels;
    // Files of the data folder (relative to it: "series/a.ls") that the project read from or
    // wrote into its folder; a save may replace them besides those the .prj on disk names.
    std::vector<std::string> ownFiles;
};

struct ProjectReadResult {
    // False when the project file could not be read or is no project file; `error` says
    // why and nothing else is set.
    bool opened = false;
    std::string error;
    // The folder of the project file and the project name (its file name without the
    // last extension).
    std::string folder;
    std::string projectName;
    // What could be read; the series carry their statistics already.
    ProjectData data;
    // One Russian line per item that was skipped or read only in part, one for a project
    // file cut short (a section without its closing "*"), one for each run of lines the
    // reader could not place (outside every section, such as the items under a damaged
    // section line, or lines a section cannot take), one for a UTF-8 file with a byte that is
    // no part of a character, and one for each series or model file the .prj does not list.
    // Every line of every file must hold exactly the fields of its layout, each ended by ";",
    // and a model file exactly the lines of its layout. Any problem leaves the project unbound.
    std::vector<std::string> problems;
    // The data files read (relative to the data folder), for ProjectData::ownFiles.
    std::vector<std::string> files;
};

// Reads a project from its .prj file. Never throws; a bad item is skipped and reported.
ProjectReadResult readProjectFolder(const std::string& prjFile);

// Called before each file is written with the count written so far and the total; a
// false result cancels the save (which then fails and changes nothing).
using ProjectWriteProgress = std::function<bool(int done, int total)>;

struct ProjectWriteResult {
    bool ok = false;
    std::string error;
    // Where the project now lives (set when ok).
    std::string folder;
    std::string projectName;
    // The data files written (relative to the data folder).
    std::vector<std::string> files;
};

// Writes the project into its existing folder, replacing the old contents only once the
// new ones are on disk. A missing "data" counts as empty. The old "data" is replaced only
// when it holds nothing but the files the .prj on disk names and data.ownFiles; otherwise
// it is left alone and the save is refused, so a save never removes a file the project
// did not load. What a save cut short left behind is settled first, but only once the save
// is sure to go ahead and only when each leftover is recognisably that save's own
// ("data.new" or "data.old" holding nothing but project files, a "<name>.prj.new" that
// reads whole as a project file of its data, the ".<name>.prj.new.tmpN" files of a .prj.new
// whose writing was cut short); any other leftover refuses the save, and a refused save
// touches nothing in the folder.
ProjectWriteResult writeProjectFolder(const ProjectData& data, const std::string& folder,
                                      const std::string& projectName, const ProjectWriteProgress& progress = {});

// Writes the project into a new folder named after the chosen file: saving as ".../p.prj"
// creates ".../p" (or ".../p(1)", ".../p(2)", ... when that exists) and writes p.prj there.
// On failure the folder it created is removed.
ProjectWriteResult writeProjectFolderAs(const ProjectData& data, const std::string& saveWay,
                                        const ProjectWriteProgress& progress = {}, int maxFolderTries = 1000);

// The folder writeProjectFolderAs would create for `saveWay` as the disk is now; empty when
// the chosen name gives no project name.
std::string projectFolderForSaveAs(const std::string& saveWay);

// The texts of the files (CR LF line ends).
std::string projectFileText(const ProjectData& data);
std::string seriesFileText(const TStatisticSeries& series);

// True when `path` is a folder holding nothing but the sub-folders "series",
// "staticmodels" and "dynamicmodels" with .ls, .sm and .dm files in them (any of them may
// be missing).
bool isProjectDataFolder(const std::string& path);
