#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "core/Project.h"

namespace {

TStatisticSeries series(const std::string& title, std::vector<double> xs = {1, 2, 3},
                        std::vector<double> ys = {}) {
    TStatisticSeries s;
    s.Title = title;
    if (ys.empty())
        for (double x : xs) ys.push_back(x * 10);
    for (size_t i = 0; i < xs.size(); ++i) s.AddXY(xs[i], ys[i]);
    return s;
}

std::vector<std::string> titles(const TProject& p) {
    std::vector<std::string> t;
    for (const auto& s : p.seriesList) t.push_back(s->Title);
    return t;
}

// Records the events in order.
struct EventLog {
    std::vector<std::string> events;
    void attach(TProject& p) {
        p.FOnChangeSeriesList = [this](TProject&) { events.push_back("series"); };
        p.FOnChangeFragmentsList = [this](TProject&) { events.push_back("fragments"); };
        p.FOnChangeStaticModelsList = [this](TProject&) { events.push_back("static"); };
        p.FOnChangeDynamicModelsList = [this](TProject&) { events.push_back("dynamic"); };
        p.FOnChangeProject = [this](TProject&) { events.push_back("project"); };
    }
};

TEST(Project, SeriesNamesAreMadeUnique) {
    struct Case {
        const char* what;
        std::vector<std::pair<std::string, bool>> added;  // title, lab
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"three equal titles", {{"a", false}, {"a", false}, {"a", false}}, {"a", "a(1)", "a(2)"}},
        {"a(1) when a and a(1) exist", {{"a", false}, {"a(1)", false}, {"a(1)", false}}, {"a", "a(1)", "a(1)(1)"}},
        {"laboratory prefix", {{"T1", true}}, {"Lab_T1"}},
        {"prefix before cleaning and comparing", {{"Lab_T1", false}, {"T1", true}}, {"Lab_T1", "Lab_T1(1)"}},
        {"semicolon and backslash removed", {{"p;q\\r", false}}, {"pqr"}},
        {"cleaned title collides", {{"pqr", false}, {"p;q\\r", false}}, {"pqr", "pqr(1)"}},
        {"comparison is case-sensitive", {{"a", false}, {"A", false}}, {"a", "A"}},
        {"Cyrillic titles", {{"Расход", false}, {"Расход", false}}, {"Расход", "Расход(1)"}},
        {"gap is filled first", {{"a", false}, {"a(2)", false}, {"a", false}, {"a", false}}, {"a", "a(2)", "a(1)", "a(3)"}},
    };
    for (const auto& c : cases) {
        TProject p;
        for (const auto& [title, lab] : c.added) p.addSeries(series(title), lab, false);
        EXPECT_EQ(titles(p), c.expected) << c.what;
    }
}

TEST(Project, UniqueNamesMatchThePlainRescan) {
    // Oracle: the plain algorithm that rescans from the first series after each collision.
    std::mt19937 rng(7);
    const std::vector<std::string> bases{"a", "a(1)", "b", "a(2)", "b(1)(1)", "b(1)"};
    TProject p;
    std::vector<std::string> oracle;
    for (int step = 0; step < 300; ++step) {
        if (!oracle.empty() && rng() % 5 == 0) {
            const int i = static_cast<int>(rng() % oracle.size());
            p.deleteSeries(i, false);
            oracle.erase(oracle.begin() + i);
            continue;
        }
        const std::string base = bases[rng() % bases.size()];
        std::string candidate = base;
        int n = 0;
        for (size_t k = 0; k < oracle.size(); ++k) {
            if (oracle[k] == candidate) {
                candidate = base + "(" + std::to_string(++n) + ")";
                k = static_cast<size_t>(-1);
            }
        }
        oracle.push_back(candidate);
        p.addSeries(series(base), false, false);
        ASSERT_EQ(titles(p), oracle) << "step " << step;
    }
}

TEST(Project, AddSeriesCopiesAndComputesStatistics) {
    TProject p;
    TStatisticSeries s = series("T1", {1, 2, 3, 4}, {1, 2, 3, 10});
    s.color = 0x00FF00;
    p.addSeries(s, true, false);
    const TStatisticSeries& c = *p.seriesList[0];
    EXPECT_EQ(s.Title, "T1");
    EXPECT_EQ(c.Title, "Lab_T1");
    EXPECT_TRUE(c.labRow);
    EXPECT_EQ(c.color, 0x00FF00);
    EXPECT_EQ(c.Count(), 4);
    EXPECT_DOUBLE_EQ(static_cast<double>(c.mean), 4.0);
    EXPECT_DOUBLE_EQ(static_cast<double>(c.median), 2.5);
    EXPECT_TRUE(p.needCalcFragment);
}

TEST(Project, ModelNamesAreUniqueAndTheGivenModelKeepsItsName) {
    TProject p;
    TStaticModel m;
    m.name = "y";
    p.addStaticModel(m, false);
    p.addStaticModel(m, false);
    EXPECT_EQ(p.statModels[1]->name, "y(1)");
    EXPECT_EQ(m.name, "y");
    TDynamicModel d;
    d.name = "w";
    p.addDynamicModel(d, false);
    p.addDynamicModel(d, false);
    p.addDynamicModel(d, false);
    EXPECT_EQ(p.dynModels[2]->name, "w(2)");
    // The two lists are separate.
    d.name = "y";
    p.addDynamicModel(d, false);
    EXPECT_EQ(p.dynModels[3]->name, "y");
}

// Ids of the three lists: kept through renames and changes of values, gone with the object,
// never given twice (also not after a delete, a clear or a load under the same name).
TEST(Project, IdsLiveAsLongAsTheObjectIsInTheProject) {
    TProject p;
    std::vector<uint64_t> given;
    const auto fresh = [&given](uint64_t id) {
        const bool isNew = id != 0 && std::find(given.begin(), given.end(), id) == given.end();
        given.push_back(id);
        return isNew;
    };
    for (const char* t : {"a", "b", "c"}) p.addSeries(series(t), false, false);
    const uint64_t a = p.seriesId(0), b = p.seriesId(1), c = p.seriesId(2);
    for (uint64_t id : {a, b, c}) EXPECT_TRUE(fresh(id));
    EXPECT_EQ(p.seriesId(-1), 0u);
    EXPECT_EQ(p.seriesId(3), 0u);
    EXPECT_EQ(p.seriesIndexById(0), -1);

    // Renamed and changed in place: the same series.
    p.renameSeries(1, "b/delay(2)");
    p.seriesList[1]->setYValue(0, 1e5);
    EXPECT_EQ(p.seriesIndexById(b), 1);
    // Deleted: its id leads nowhere, the later series keep theirs at their new places.
    p.deleteSeries(0, false);
    EXPECT_EQ(p.seriesIndexById(a), -1);
    EXPECT_EQ(p.seriesIndexById(b), 0);
    EXPECT_EQ(p.seriesIndexById(c), 1);
    // A series under a freed title is another series.
    p.addSeries(series("a"), false, false);
    EXPECT_TRUE(fresh(p.seriesId(2)));
    EXPECT_EQ(p.seriesIndexById(a), -1);

    TStaticModel m;
    m.name = "y";
    p.addStaticModel(m, false);
    p.addStaticModel(m, false);
    const uint64_t y = p.staticModelId(0), y1 = p.staticModelId(1);
    EXPECT_TRUE(fresh(y) && fresh(y1));
    p.deleteStaticModel(0, false);
    EXPECT_EQ(p.staticModelIndexById(y), -1);
    EXPECT_EQ(p.staticModelIndexById(y1), 0);
    p.addStaticModel(m, false);  // "y" again
    EXPECT_TRUE(fresh(p.staticModelId(1)));
    TDynamicModel d;
    d.name = "w";
    p.addDynamicModel(d, false);
    const uint64_t w = p.dynamicModelId(0);
    EXPECT_TRUE(fresh(w));
    // A series id is no model id, and the kinds do not share numbers.
    EXPECT_EQ(p.staticModelIndexById(b), -1);
    EXPECT_EQ(p.dynamicModelIndexById(y1), -1);
    p.setDynModelCount(3);
    EXPECT_TRUE(fresh(p.dynamicModelId(1)) && fresh(p.dynamicModelId(2)));
    p.setDynModelCount(1);
    EXPECT_EQ(p.dynamicModelIndexById(w), 0);
    EXPECT_EQ(p.dynamicModelId(1), 0u);
    p.deleteAllDynamicModel();
    EXPECT_EQ(p.dynamicModelIndexById(w), -1);

    // After a clear and a load the same titles and names come back under new ids.
    p.clear();
    for (uint64_t id : given) {
        EXPECT_EQ(p.seriesIndexById(id), -1);
        EXPECT_EQ(p.staticModelIndexById(id), -1);
    }
    ProjectReadResult loaded;
    loaded.opened = true;
    loaded.data.series = {series("a"), series("b")};
    loaded.data.staticModels = {m};
    loaded.data.dynamicModels = {d};
    ASSERT_TRUE(p.applyLoaded(std::move(loaded)));
    for (uint64_t id : {p.seriesId(0), p.seriesId(1), p.staticModelId(0), p.dynamicModelId(0)}) EXPECT_TRUE(fresh(id));
    EXPECT_EQ(p.seriesIndexById(p.seriesId(1)), 1);
    p.deleteAllSeries();
    EXPECT_EQ(p.seriesId(0), 0u);
}

TEST(Project, EventsFiredAsSpecified) {
    struct Case {
        const char* what;
        std::function<void(TProject&)> prepare;
        std::function<void(TProject&)> act;
        std::vector<std::string> expected;
    };
    auto none = [](TProject&) {};
    auto withSeries = [](TProject& p) { p.addSeries(series("a"), false, false); };
    auto withModels = [](TProject& p) {
        p.addStaticModel(TStaticModel(), false);
        p.addDynamicModel(TDynamicModel(), false);
    };
    auto withFragment = [](TProject& p) { p.fragments.push_back(TFragment(1, 0, 1)); };
    const Case cases[] = {
        {"addSeries notify", none, [](TProject& p) { p.addSeries(series("a"), false, true); }, {"series"}},
        {"addSeries silent", none, [](TProject& p) { p.addSeries(series("a"), false, false); }, {}},
        {"deleteSeries notify", withSeries, [](TProject& p) { p.deleteSeries(0, true); }, {"series"}},
        {"deleteSeries beyond end", withSeries, [](TProject& p) { p.deleteSeries(1, true); }, {}},
        {"deleteAllSeries empty", none, [](TProject& p) { p.deleteAllSeries(); }, {}},
        {"deleteAllSeries", withSeries, [](TProject& p) { p.deleteAllSeries(); }, {"series"}},
        {"addStaticModel", none, [](TProject& p) { p.addStaticModel(TStaticModel(), true); }, {"static"}},
        {"deleteStaticModel", withModels, [](TProject& p) { p.deleteStaticModel(0, true); }, {"static"}},
        {"deleteAllStaticModel empty", none, [](TProject& p) { p.deleteAllStaticModel(); }, {"static"}},
        {"addDynamicModel", none, [](TProject& p) { p.addDynamicModel(TDynamicModel(), true); }, {"dynamic"}},
        {"deleteDynamicModel beyond", withModels, [](TProject& p) { p.deleteDynamicModel(3, true); }, {}},
        {"deleteAllDynamicModel empty", none, [](TProject& p) { p.deleteAllDynamicModel(); }, {"dynamic"}},
        {"deleteFragments", withFragment, [](TProject& p) { p.deleteFragments(0); }, {"fragments"}},
        {"deleteFragments beyond", withFragment, [](TProject& p) { p.deleteFragments(1); }, {}},
        {"deleteAllFragments empty", none, [](TProject& p) { p.deleteAllFragments(); }, {}},
        {"clear", withSeries, [](TProject& p) { p.clear(); }, {"series", "fragments", "static", "dynamic"}},
        {"new", none, [](TProject& p) { p.newProject(); }, {"series", "fragments", "static", "dynamic", "project"}},
    };
    for (const auto& c : cases) {
        TProject p;
        c.prepare(p);
        EventLog log;
        log.attach(p);
        c.act(p);
        EXPECT_EQ(log.events, c.expected) << c.what;
    }
}

TEST(Project, ClearEmptiesAndUnbinds) {
    TProject p;
    p.addSeries(series("a"), false, false);
    p.addStaticModel(TStaticModel(), false);
    p.userFragments.push_back(TFragment(1, 0, 1));
    p.projectName = "p";
    p.projectSaveWay = "/w/p";
    p.projectAssign = true;
    p.needCalcFragment = true;
    p.clear();
    EXPECT_TRUE(p.projectName.empty());
    EXPECT_TRUE(p.projectSaveWay.empty());
    EXPECT_FALSE(p.projectAssign);
    EXPECT_EQ(p.seriesCount(), 0);
    EXPECT_EQ(p.statModelCount(), 0);
    EXPECT_TRUE(p.userFragments.empty());
    EXPECT_TRUE(p.needCalcFragment);  // keeps its value
    // Names are free again.
    p.addSeries(series("a"), false, false);
    EXPECT_EQ(p.seriesList[0]->Title, "a");
}

// The plain scan of the fragment series: every point with start <= X <= end, stopping at the
// first point past the end.
std::vector<std::pair<double, double>> plainCut(const TStatisticSeries& s, const TFragment& f) {
    std::vector<std::pair<double, double>> out;
    for (int i = 0; i < s.Count(); ++i) {
        if (s.XValue(i) > f.endPoint) break;
        if (s.XValue(i) < f.startPoint) continue;
        out.emplace_back(s.XValue(i), s.YValue(i));
    }
    return out;
}

TEST(Project, FragmentSeriesMatchThePlainScan) {
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> u(0, 100);
    TProject p;
    // Ordered (with repeated times), unordered, empty and single-point series.
    std::vector<double> ordered;
    for (int i = 0; i < 200; ++i) ordered.push_back(i / 2);
    std::vector<double> unordered;
    for (int i = 0; i < 200; ++i) unordered.push_back(u(rng));
    p.addSeries(series("ordered", ordered), false, false);
    p.addSeries(series("unordered", unordered), false, false);
    p.addSeries(series("empty", {}), false, false);
    p.addSeries(series("one", {50}), false, false);
    p.fragments = {TFragment(1, 10, 20), TFragment(1, -5, -1), TFragment(1, 50, 50), TFragment(1, 99.5, 1000),
                   TFragment(1, 20, 10)};
    p.fragments[0].name = "I1";
    p.needCalcFragment = true;
    p.calcFragmentsSeries();
    EXPECT_FALSE(p.needCalcFragment);
    ASSERT_EQ(p.fragmentsSeriesList.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        ASSERT_EQ(p.fragmentsSeriesList[i].size(), p.fragments.size());
        for (size_t j = 0; j < p.fragments.size(); ++j) {
            const auto expected = plainCut(*p.seriesList[i], p.fragments[j]);
            const TStatisticSeries& got = *p.fragmentsSeriesList[i][j];
            ASSERT_EQ(static_cast<size_t>(got.Count()), expected.size()) << i << "," << j;
            for (size_t k = 0; k < expected.size(); ++k) {
                EXPECT_EQ(got.XValue(static_cast<int>(k)), expected[k].first);
                EXPECT_EQ(got.YValue(static_cast<int>(k)), expected[k].second);
            }
        }
    }
    EXPECT_EQ(p.fragmentsSeriesList[0][0]->Title, "ordered_I1");
    // 10..20 on times 0,0,1,1,...: the points 10,10,...,20,20 — 22 points, mean 15.
    EXPECT_EQ(p.fragmentsSeriesList[0][0]->Count(), 22);
    EXPECT_DOUBLE_EQ(static_cast<double>(p.fragmentsSeriesList[0][0]->mean), 150.0);
    // A fragment that covers a single point exactly.
    EXPECT_EQ(p.fragmentsSeriesList[3][2]->Count(), 1);
}

TEST(Project, FragmentSeriesKeptWhenNotFlagged) {
    TProject p;
    p.addSeries(series("a"), false, false);
    p.fragments = {TFragment(1, 0, 10)};
    p.calcFragmentsSeries();
    ASSERT_EQ(p.fragmentsSeriesList.size(), 1u);
    p.addSeries(series("b"), false, false);
    p.needCalcFragment = false;
    p.calcFragmentsSeries();
    EXPECT_EQ(p.fragmentsSeriesList.size(), 1u);
    // No fragments: one empty row per series.
    p.fragments.clear();
    p.needCalcFragment = true;
    p.calcFragmentsSeries();
    ASSERT_EQ(p.fragmentsSeriesList.size(), 2u);
    EXPECT_TRUE(p.fragmentsSeriesList[1].empty());
}

}  // namespace
