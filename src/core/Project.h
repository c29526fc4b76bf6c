#pragma once
// The document: the project's series, the user's intervals and the good intervals cut from
// them with one series per series and interval, the static and dynamic models, and the
// project folder. The project owns copies of everything added to it and gives every series
// and model a unique name. Five change events tell the main window what changed.
//
// Save and load are split for worker threads: snapshot() and readProjectFolder() work on
// plain data off the GUI thread; commitSave() and applyLoaded() change the project and
// fire its events on the GUI thread. save(), saveas() and load() do both steps in one call.
//
// Every series and model gets an id when it enters the project (added, loaded or grown by
// a count) and keeps it while it stays there, through renames and changes of its values.
// Ids count up from 1 for the life of the project object, across every kind and every
// clear, and are never given twice, so a list that holds an id never meets another object
// under it. 0 is no object.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "core/DynamicModel.h"
#include "core/Fragment.h"
#include "core/ProjectFolder.h"
#include "core/StaticModel.h"
#include "core/StatisticSeries.h"

class Reporter;
class TProject;

// A change event; the sender is the project.
using TNotifyEvent = std::function<void(TProject& sender)>;

// Names of one list kept unique: "a", "a(1)", "a(2)", ... The next free number of each base
// is remembered, so a run of equal names costs constant time per name; a removal forgets
// what it remembered, since it may free a lower number.
class TUniqueNames {
public:
    // The name for `base`: base itself when free, else base + "(" + n + ")" with the
    // smallest free n >= 1. The name is not taken yet.
    std::string make(const std::string& base);
    void add(const std::string& name);
    void remove(const std::string& name);
    void clear();
    bool contains(const std::string& name) const { return names_.count(name) != 0; }

private:
    std::unordered_multiset<std::string> names_;
    std::unordered_map<std::string, long long> nextNumber_;
};

class TProject {
public:
    TNotifyEvent FOnChangeSeriesList;
    TNotifyEvent FOnChangeFragmentsList;
    TNotifyEvent FOnChangeStaticModelsList;
    TNotifyEvent FOnChangeDynamicModelsList;
    TNotifyEvent FOnChangeProject;

    // Folder of the project without a trailing separator; empty while it has none.
    std::string projectSaveWay;
    // The project file in the folder is projectName + ".prj".
    std::string projectName;
    // True while the project is bound to its folder (after a save or a complete load).
    bool projectAssign = false;

    // The series in the order of adding. Titles must be changed only through the project
    // (they are kept unique by it).
    std::vector<std::unique_ptr<TStatisticSeries>> seriesList;
    // The intervals as the user marked them (stored in the project file).
    arrayOfFragment userFragments;
    // The good intervals with the bad ones cut out, sorted by start; the fragment series
    // are built from these.
    arrayOfFragment fragments;
    // For fragment j, the id of the fragment chart's interval it was cut from (0 when not
    // known), so that a page can follow an interval that was renamed or moved. Filled with
    // the fragments by the copy from the chart; it may be shorter than the fragments.
    std::vector<uint64_t> fragmentOrigins;
    // Set when the fragment series must be rebuilt.
    bool needCalcFragment = false;
    // [i][j]: series i cut to fragment j.
    std::vector<std::vector<std::unique_ptr<TStatisticSeries>>> fragmentsSeriesList;
    std::vector<std::unique_ptr<TStaticModel>> statModels;
    std::vector<std::unique_ptr<TDynamicModel>> dynModels;

    int seriesCount() const { return static_cast<int>(seriesList.size()); }
    int numOfFragments() const { return static_cast<int>(fragments.size()); }
    int statModelCount() const { return static_cast<int>(statModels.size()); }
    int dynModelCount() const { return static_cast<int>(dynModels.size()); }
    // Frees the models at the new count and beyond; growing adds empty models.
    void setStatModelCount(int count);
    void setDynModelCount(int count);

    // The id of entry i (0 for an index outside the list) and the index of the entry that
    // carries an id (-1 when none does: deleted, or never in this list).
    uint64_t seriesId(int i) const;
    int seriesIndexById(uint64_t id) const;
    uint64_t staticModelId(int i) const;
    int staticModelIndexById(uint64_t id) const;
    uint64_t dynamicModelId(int i) const;
    int dynamicModelIndexById(uint64_t id) const;

    void doChangeSeriesList();
    void doChangeFragmentsList();
    void doChangeStaticModelsList();
    void doChangeDynamicModelsList();
    void doChangeProject();

    // Stores a copy (points, title, colour) with its statistics; a laboratory series gets
    // "Lab_" before its title; ";" and "\" are removed from the title and the result made
    // unique.
    void addSeries(const TStatisticSeries& series, bool lab, bool notify);
    // Index beyond the list: nothing happens.
    void deleteSeries(int i, bool notify);
    void deleteAllSeries();
    // Gives series i a new title made as addSeries makes one (";" and "\" removed, unique
    // among the other series); fires no event. Index beyond the list: nothing happens.
    void renameSeries(int i, const std::string& title);
    // Stores a copy under a unique name; the given model keeps its name.
    void addStaticModel(const TStaticModel& model, bool notify);
    void deleteStaticModel(int i, bool notify);
    void deleteAllStaticModel();
    void addDynamicModel(const TDynamicModel& model, bool notify);
    void deleteDynamicModel(int i, bool notify);
    void deleteAllDynamicModel();
    void deleteFragments(int i);
    void deleteAllFragments();

    // Rebuilds fragmentsSeriesList when needCalcFragment is set (and there are series),
    // then clears the flag. A fragment takes every point with start <= X <= end.
    void calcFragmentsSeries();

    // Empties the project and unbinds it from its folder; fires the four list events.
    void clear();
    // clear, then the project event.
    void newProject();

    // ---- project folder ----

    // A copy of what the folder keeps, for a writer on another thread.
    ProjectData snapshot() const;
    // After a successful write: binds the project to the folder and fires the project event.
    // This form forgets which files the project wrote (the next save goes by the .prj alone).
    void commitSave(const std::string& folder, const std::string& name);
    // The same, remembering the files written as the project's own (see ProjectData::ownFiles).
    void commitSave(const ProjectWriteResult& written);
    // Takes what a reader returned: series (made unique, statistics as read), intervals
    // into userFragments, models (made unique); fires the four list events, then binds the
    // project to the folder — only when nothing was skipped, so that a save never drops
    // what was not read — and fires the project event. Problems are shown in one message.
    // False (nothing changed, no events) when the project file could not be read.
    bool applyLoaded(ProjectReadResult&& loaded, Reporter* reporter = nullptr);

    // Writes into the project's folder. False without a message when the project has no
    // folder (the caller then saves as); false with an error message when writing failed,
    // in which case the folder holds the old project.
    bool save(Reporter* reporter = nullptr, const ProjectWriteProgress& progress = {});
    // Writes into a new folder named after saveWay; the project is bound to it only when the
    // write succeeded.
    bool saveas(const std::string& saveWay, Reporter* reporter = nullptr, const ProjectWriteProgress& progress = {});
    // Reads a project from its .prj file into this project (which is not emptied first).
    bool load(const std::string& fileName, Reporter* reporter = nullptr);

private:
    void adoptSeries(std::unique_ptr<TStatisticSeries> series, const std::string& baseTitle);

    // The data files the project read from or wrote into its folder.
    std::vector<std::string> ownFiles_;
    TUniqueNames seriesNames_;
    TUniqueNames staticNames_;
    TUniqueNames dynamicNames_;
    // Ids of the entries of seriesList, statModels and dynModels, index for index.
    std::vector<uint64_t> seriesIds_;
    std::vector<uint64_t> staticModelIds_;
    std::vector<uint64_t> dynamicModelIds_;
    uint64_t nextId_ = 1;
};

// The Russian text that lists the problems of a load.
std::string loadProblemsText(const std::vector<std::string>& problems);
