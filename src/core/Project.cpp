#include "core/Project.h"

#include <algorithm>
#include <cmath>

#include "numerics/Reporter.h"

// ---- unique names ----

std::string TUniqueNames::make(const std::string& base) {
    if (!contains(base)) return base;
    // Every number below the remembered one is taken (names were only added since).
    auto it = nextNumber_.find(base);
    long long n = it == nextNumber_.end() ? 1 : it->second;
    std::string candidate;
    for (;; ++n) {
        candidate = base + "(" + std::to_string(n) + ")";
        if (!contains(candidate)) break;
    }
    nextNumber_[base] = n;
    return candidate;
}

void TUniqueNames::add(const std::string& name) { names_.insert(name); }

void TUniqueNames::remove(const std::string& name) {
    const auto it = names_.find(name);
    if (it != names_.end()) names_.erase(it);
    nextNumber_.clear();
}

void TUniqueNames::clear() {
    names_.clear();
    nextNumber_.clear();
}

// ---- events ----

void TProject::doChangeSeriesList() {
    if (FOnChangeSeriesList) FOnChangeSeriesList(*this);
}
void TProject::doChangeFragmentsList() {
    if (FOnChangeFragmentsList) FOnChangeFragmentsList(*this);
}
void TProject::doChangeStaticModelsList() {
    if (FOnChangeStaticModelsList) FOnChangeStaticModelsList(*this);
}
void TProject::doChangeDynamicModelsList() {
    if (FOnChangeDynamicModelsList) FOnChangeDynamicModelsList(*this);
}
void TProject::doChangeProject() {
    if (FOnChangeProject) FOnChangeProject(*this);
}

// ---- ids ----

namespace {
int indexOfId(const std::vector<uint64_t>& ids, uint64_t id) {
    if (id == 0) return -1;
    const auto it = std::find(ids.begin(), ids.end(), id);
    return it == ids.end() ? -1 : static_cast<int>(it - ids.begin());
}
uint64_t idAt(const std::vector<uint64_t>& ids, int i) {
    return i >= 0 && static_cast<size_t>(i) < ids.size() ? ids[static_cast<size_t>(i)] : 0;
}
}  // namespace

uint64_t TProject::seriesId(int i) const { return idAt(seriesIds_, i); }
int TProject::seriesIndexById(uint64_t id) const { return indexOfId(seriesIds_, id); }
uint64_t TProject::staticModelId(int i) const { return idAt(staticModelIds_, i); }
int TProject::staticModelIndexById(uint64_t id) const { return indexOfId(staticModelIds_, id); }
uint64_t TProject::dynamicModelId(int i) const { return idAt(dynamicModelIds_, i); }
int TProject::dynamicModelIndexById(uint64_t id) const { return indexOfId(dynamicModelIds_, id); }

// ---- series ----

namespace {
std::string cleanTitle(std::string title) {
    title.erase(std::remove(title.begin(), title.end(), ';'), title.end());
    title.erase(std::remove(title.begin(), title.end(), '\\'), title.end());
    return title;
}
}  // namespace

void TProject::adoptSeries(std::unique_ptr<TStatisticSeries> series, const std::string& baseTitle) {
    const std::string name = seriesNames_.make(cleanTitle(baseTitle));
    series->Title = name;
    seriesNames_.add(name);
    seriesList.push_back(std::move(series));
    seriesIds_.push_back(nextId_++);
    needCalcFragment = true;
}

void TProject::addSeries(const TStatisticSeries& series, bool lab, bool notify) {
    auto copy = std::make_unique<TStatisticSeries>();
    copy->Assign(series);
    copy->calcStatistic();
    copy->labRow = lab;
    adoptSeries(std::move(copy), lab ? "Lab_" + series.Title : series.Title);
    if (notify) doChangeSeriesList();
}

void TProject::renameSeries(int i, const std::string& title) {
    if (i < 0 || i >= seriesCount()) return;
    TStatisticSeries& series = *seriesList[static_cast<size_t>(i)];
    seriesNames_.remove(series.Title);
    series.Title = seriesNames_.make(cleanTitle(title));
    seriesNames_.add(series.Title);
}

void TProject::deleteSeries(int i, bool notify) {
    if (i < 0 || i >= seriesCount()) return;
    seriesNames_.remove(seriesList[static_cast<size_t>(i)]->Title);
    seriesList.erase(seriesList.begin() + i);
    seriesIds_.erase(seriesIds_.begin() + i);
    needCalcFragment = true;
    if (notify) doChangeSeriesList();
}

void TProject::deleteAllSeries() {
    if (seriesList.empty()) return;
    seriesList.clear();
    seriesIds_.clear();
    seriesNames_.clear();
    needCalcFragment = true;
    calcFragmentsSeries();
    doChangeSeriesList();
}

// ---- models ----

void TProject::setStatModelCount(int count) {
    count = std::max(0, count);
    while (statModelCount() > count) {
        staticNames_.remove(statModels.back()->name);
        statModels.pop_back();
        staticModelIds_.pop_back();
    }
    while (statModelCount() < count) {
        statModels.push_back(std::make_unique<TStaticModel>());
        staticModelIds_.push_back(nextId_++);
        staticNames_.add(statModels.back()->name);
    }
}

void TProject::setDynModelCount(int count) {
    count = std::max(0, count);
    while (dynModelCount() > count) {
        dynamicNames_.remove(dynModels.back()->name);
        dynModels.pop_back();
        dynamicModelIds_.pop_back();
    }
    while (dynModelCount() < count) {
        dynModels.push_back(std::make_unique<TDynamicModel>());
        dynamicModelIds_.push_back(nextId_++);
        dynamicNames_.add(dynModels.back()->name);
    }
}

void TProject::addStaticModel(const TStaticModel& model, bool notify) {
    auto copy = std::make_unique<TStaticModel>();
    copy->assign(model);
    copy->name = staticNames_.make(model.name);
    staticNames_.add(copy->name);
    statModels.push_back(std::move(copy));
    staticModelIds_.push_back(nextId_++);
    if (notify) doChangeStaticModelsList();
}

void TProject::deleteStaticModel(int i, bool notify) {
    if (i < 0 || i >= statModelCount()) return;
    staticNames_.remove(statModels[static_cast<size_t>(i)]->name);
    statModels.erase(statModels.begin() + i);
    staticModelIds_.erase(staticModelIds_.begin() + i);
    if (notify) doChangeStaticModelsList();
}

void TProject::deleteAllStaticModel() {
    setStatModelCount(0);
    doChangeStaticModelsList();
}

void TProject::addDynamicModel(const TDynamicModel& model, bool notify) {
    auto copy = std::make_unique<TDynamicModel>();
    copy->assign(model);
    copy->name = dynamicNames_.make(model.name);
    dynamicNames_.add(copy->name);
    dynModels.push_back(std::move(copy));
    dynamicModelIds_.push_back(nextId_++);
    if (notify) doChangeDynamicModelsList();
}

void TProject::deleteDynamicModel(int i, bool notify) {
    if (i < 0 || i >= dynModelCount()) return;
    dynamicNames_.remove(dynModels[static_cast<size_t>(i)]->name);
    dynModels.erase(dynModels.begin() + i);
    dynamicModelIds_.erase(dynamicModelIds_.begin() + i);
    if (notify) doChangeDynamicModelsList();
}

void TProject::deleteAllDynamicModel() {
    setDynModelCount(0);
    doChangeDynamicModelsList();
}

// ---- fragments ----

void TProject::deleteFragments(int i) {
    if (i < 0 || i >= numOfFragments()) return;
    fragments.erase(fragments.begin() + i);
    if (static_cast<size_t>(i) < fragmentOrigins.size()) fragmentOrigins.erase(fragmentOrigins.begin() + i);
    needCalcFragment = true;
    doChangeFragmentsList();
}

void TProject::deleteAllFragments() {
    if (fragments.empty()) return;
    fragments.clear();
    fragmentOrigins.clear();
    doChangeFragmentsList();
}

namespace {

// Points in time order (non-decreasing, no NaN) allow a binary search of the bounds.
bool orderedByTime(const std::vector<double>& xs) {
    for (size_t i = 1; i < xs.size(); ++i)
        if (!(xs[i - 1] <= xs[i])) return false;
    return xs.empty() || !std::isnan(xs[0]);
}

}  // namespace

void TProject::calcFragmentsSeries() {
    if (seriesList.empty() || !needCalcFragment) {
        needCalcFragment = false;
        return;
    }
    fragmentsSeriesList.clear();
    fragmentsSeriesList.resize(seriesList.size());
    for (auto& row : fragmentsSeriesList) row.resize(fragments.size());
    if (fragments.empty()) {
        needCalcFragment = false;
        return;
    }
    for (size_t i = 0; i < seriesList.size(); ++i) {
        const TStatisticSeries& s = *seriesList[i];
        const auto& xs = s.XValues();
        const auto& ys = s.YValues();
        const bool ordered = orderedByTime(xs);
        for (size_t j = 0; j < fragments.size(); ++j) {
            const TFragment& f = fragments[j];
            auto piece = std::make_unique<TStatisticSeries>();
            piece->Title = s.Title + "_" + f.name;
            std::vector<double> px, py;
            if (ordered) {
                const auto lo = std::lower_bound(xs.begin(), xs.end(), f.startPoint,
                                                 [](double x, long double v) { return x < v; });
                const auto hi = std::upper_bound(lo, xs.end(), f.endPoint,
                                                 [](long double v, double x) { return v < x; });
                px.assign(lo, hi);
                py.assign(ys.begin() + (lo - xs.begin()), ys.begin() + (hi - xs.begin()));
            } else {
                // Walk in order, stop at the first point past the end.
                for (size_t k = 0; k < xs.size(); ++k) {
                    if (xs[k] > f.endPoint) break;
                    if (xs[k] < f.startPoint) continue;
                    px.push_back(xs[k]);
                    py.push_back(ys[k]);
                }
            }
            piece->setPoints(std::move(px), std::move(py));
            if (piece->Count() > 0) piece->calcStatistic();
            fragmentsSeriesList[i][j] = std::move(piece);
        }
    }
    needCalcFragment = false;
}

// ---- clear ----

void TProject::clear() {
    projectAssign = false;
    projectSaveWay.clear();
    projectName.clear();
    ownFiles_.clear();
    setStatModelCount(0);
    setDynModelCount(0);
    userFragments.clear();
    fragments.clear();
    fragmentOrigins.clear();
    fragmentsSeriesList.clear();
    seriesList.clear();
    seriesIds_.clear();
    seriesNames_.clear();
    doChangeSeriesList();
    doChangeFragmentsList();
    doChangeStaticModelsList();
    doChangeDynamicModelsList();
}

void TProject::newProject() {
    clear();
    doChangeProject();
}

// ---- project folder ----

ProjectData TProject::snapshot() const {
    ProjectData d;
    d.series.reserve(seriesList.size());
    for (const auto& s : seriesList) {
        d.series.emplace_back();
        d.series.back().assignSS(*s);
    }
    d.userFragments = userFragments;
    for (const auto& m : statModels) d.staticModels.push_back(*m);
    for (const auto& m : dynModels) d.dynamicModels.push_back(*m);
    d.ownFiles = ownFiles_;
    return d;
}

void TProject::commitSave(const std::string& folder, const std::string& name) {
    // What was written is not known here: only the .prj on disk tells the next save.
    ownFiles_.clear();
    projectSaveWay = folder;
    projectName = name;
    projectAssign = true;
    doChangeProject();
}

void TProject::commitSave(const ProjectWriteResult& written) {
    commitSave(written.folder, written.projectName);
    ownFiles_ = written.files;
}

std::string loadProblemsText(const std::vector<std::string>& problems) {
    std::string text = "Проект загружен не полностью:";
    // A message box of hundreds of lines would run off the screen with its button.
    constexpr size_t kShown = 20;
    for (size_t i = 0; i < problems.size() && i < kShown; ++i) text += "\n" + problems[i];
    if (problems.size() > kShown) text += "\n… и еще замечаний: " + std::to_string(problems.size() - kShown);
    text += "\nПроект не связан с папкой: при сохранении он будет записан в новую папку.";
    return text;
}

bool TProject::applyLoaded(ProjectReadResult&& loaded, Reporter* reporter) {
    if (!loaded.opened) {
        if (reporter) reporter->error(loaded.error);
        return false;
    }
    for (auto& s : loaded.data.series) {
        auto owned = std::make_unique<TStatisticSeries>(std::move(s));
        const std::string title = owned->Title;
        adoptSeries(std::move(owned), title);
    }
    for (auto& f : loaded.data.userFragments) userFragments.push_back(std::move(f));
    // Model names come from the model files; two equal ones are made unique as on adding.
    for (auto& m : loaded.data.staticModels) {
        auto owned = std::make_unique<TStaticModel>(std::move(m));
        owned->name = staticNames_.make(owned->name);
        staticNames_.add(owned->name);
        statModels.push_back(std::move(owned));
        staticModelIds_.push_back(nextId_++);
    }
    for (auto& m : loaded.data.dynamicModels) {
        auto owned = std::make_unique<TDynamicModel>(std::move(m));
        owned->name = dynamicNames_.make(owned->name);
        dynamicNames_.add(owned->name);
        dynModels.push_back(std::move(owned));
        dynamicModelIds_.push_back(nextId_++);
    }
    doChangeSeriesList();
    doChangeFragmentsList();
    doChangeStaticModelsList();
    doChangeDynamicModelsList();
    projectName = loaded.projectName;
    if (loaded.problems.empty()) {
        projectSaveWay = loaded.folder;
        projectAssign = true;
        ownFiles_ = std::move(loaded.files);
    } else {
        projectSaveWay.clear();
        projectAssign = false;
        ownFiles_.clear();
    }
    doChangeProject();
    if (!loaded.problems.empty() && reporter) reporter->message(loadProblemsText(loaded.problems));
    return true;
}

bool TProject::save(Reporter* reporter, const ProjectWriteProgress& progress) {
    if (!projectAssign || projectSaveWay.empty()) return false;
    const ProjectWriteResult r = writeProjectFolder(snapshot(), projectSaveWay, projectName, progress);
    if (!r.ok) {
        if (reporter) reporter->error(r.error);
        return false;
    }
    commitSave(r);
    return true;
}

bool TProject::saveas(const std::string& saveWay, Reporter* reporter, const ProjectWriteProgress& progress) {
    const ProjectWriteResult r = writeProjectFolderAs(snapshot(), saveWay, progress);
    if (!r.ok) {
        if (reporter) reporter->error(r.error);
        return false;
    }
    commitSave(r);
    return true;
}

bool TProject::load(const std::string& fileName, Reporter* reporter) {
    return applyLoaded(readProjectFolder(fileName), reporter);
}
