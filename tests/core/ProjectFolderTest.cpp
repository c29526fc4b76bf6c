#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <thread>

#include "TempDir.h"
#include "core/FileSystem.h"
#include "core/Project.h"
#include "core/ProjectFolder.h"
#include "numerics/Reporter.h"

namespace fs = std::filesystem;

namespace {

double at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
    return *encodeDateTime({y, mo, d, h, mi, s, ms});
}

TStatisticSeries series(const std::string& title, std::vector<std::pair<double, double>> points, int32_t colour = -1) {
    TStatisticSeries s;
    s.Title = title;
    s.color = colour;
    for (auto [x, y] : points) s.AddXY(x, y);
    return s;
}

// A static model y = Σ a[i]·x[i] (+ c): one output, the given inputs, A[0] unused.
TStaticModel staticModel(const std::string& name, std::vector<std::string> inputs, arrayOfExtended a, long double c = 0,
                         bool coin = false) {
    TStaticModel m;
    m.name = name;
    m.numOfX = static_cast<int>(inputs.size());
    m.numOfY = 1;
    m.inputName = std::move(inputs);
    m.outputName = "y";
    m.n = static_cast<int>(a.size());
    m.A = std::move(a);
    m.c = static_cast<double>(c);
    m.coinCheck = coin;
    return m;
}

// A dynamic model of orders 0 and ypower given by its difference equation.
TDynamicModel dynamicModel(const std::string& name, int ypower) {
    TDynamicModel m;
    m.name = name;
    m.ypower = ypower;
    m.num = {1};
    m.denum = arrayOfExtended(static_cast<size_t>(ypower) + 1, 1);
    m.kx = {1};
    m.ky = m.denum;
    return m;
}

// A project with everything the folder keeps.
void fill(TProject& p) {
    p.addSeries(series("Расход пара", {{at(2023, 3, 15), 1.5},               // midnight
                                       {at(2023, 3, 15, 0, 10), 2.25},
                                       {at(2023, 3, 15, 9, 5, 7, 250), -3e-7},  // milliseconds
                                       {at(2023, 3, 15, 10), std::nan("")},
                                       {at(2023, 3, 15, 11), 123456.789012345}},
                       255),
                false, false);
    p.addSeries(series("Температура", {{at(2023, 3, 15, 8), 71.2}}), true, false);  // Lab_Температура
    p.addSeries(series("Пустой", {}), false, false);
    p.addSeries(series("м3/ч", {{at(2023, 3, 16), 1}}), false, false);
    p.addSeries(series("м3_ч", {{at(2023, 3, 17), 2}}), false, false);  // same safe file name
    p.addSeries(series("..", {{at(2023, 3, 18), 3}}), false, false);
    TStatisticSeries withNull = series("С пропуском", {{at(2023, 3, 15), 4}});
    withNull.SetNull(withNull.AddXY(at(2023, 3, 15, 1), 5));
    p.addSeries(withNull, false, false);

    TFragment good(1, true, at(2023, 3, 15, 8), at(2023, 3, 15, 12, 30));
    good.name = "Пуск";
    TFragment bad(0, at(2023, 3, 15, 9), at(2023, 3, 15, 9, 30));
    bad.name = "Сбой";
    TFragment other(4, at(2023, 3, 14), at(2023, 3, 14, 1));
    other.name = "Прочее";
    p.userFragments = {good, bad, other};

    TStaticModel sm = staticModel("Модель: расход/ч", {"Lab_Температура"}, {0, 0.5, 2}, 2, true);
    sm.outputName = "Расход пара";
    sm.R2 = 0.9;
    sm.R2norm = 0.85;
    p.addStaticModel(sm, false);
    p.addStaticModel(staticModel(sm.name, sm.inputName, {0, 1.25}), false);  // "(1)"
    TDynamicModel dm;
    dm.name = "Динамика";
    dm.inputName = "Lab_Температура";
    dm.outputName = "Расход пара";
    dm.xpower = 1;
    dm.ypower = 2;
    dm.timeDiscretization = 10;
    dm.k = 2;
    dm.tau = 30;
    dm.num = {1, 3};
    dm.denum = {1, 5, 6};
    dm.calcDiffExOnTF();
    dm.R2 = 0.75;
    dm.R2norm = 0.7;
    p.addDynamicModel(dm, false);
}

void expectSameSeries(const TStatisticSeries& a, const TStatisticSeries& b) {
    EXPECT_EQ(a.Title, b.Title);
    EXPECT_EQ(a.labRow, b.labRow);
    EXPECT_EQ(a.color, b.color);
    ASSERT_EQ(a.Count(), b.Count()) << a.Title;
    for (int i = 0; i < a.Count(); ++i) {
        EXPECT_NEAR(a.XValue(i), b.XValue(i), 1e-9) << a.Title << " #" << i;
        if (std::isnan(a.YValue(i))) EXPECT_TRUE(std::isnan(b.YValue(i)));
        else EXPECT_DOUBLE_EQ(a.YValue(i), b.YValue(i)) << a.Title << " #" << i;
    }
}

TEST(ProjectFolder, EmptyProjectWritesEightLines) {
    TempDir dir;
    TProject p;
    ASSERT_TRUE(p.saveas(dir / "p.prj"));
    EXPECT_EQ(readBytes(dir / "p/p.prj"),
              "*series\r\n*\r\n*interval\r\n*\r\n*staticmodel\r\n*\r\n*dynamicmodel\r\n*\r\n");
    const auto files = fileTree(dir / "p");
    EXPECT_EQ(files, (std::map<std::string, std::string>{{"p.prj", files.at("p.prj")},
                                                         {"data", "<dir>"},
                                                         {"data/series", "<dir>"},
                                                         {"data/staticmodels", "<dir>"},
                                                         {"data/dynamicmodels", "<dir>"}}));
}

TEST(ProjectFolder, FileLayouts) {
    TempDir dir;
    TProject p;
    p.addSeries(series("T", {{at(2023, 3, 15), 1.5}, {at(2023, 3, 15, 9, 5, 7, 250), -2}}, 255), true, false);
    TFragment f(1, at(2023, 3, 15, 8), at(2023, 3, 16));
    f.name = "a;b";
    p.userFragments = {f};
    TStaticModel m;
    m.name = "y/x";
    p.addStaticModel(m, false);
    ASSERT_TRUE(p.saveas(dir / "p.prj"));
    EXPECT_EQ(readBytes(dir / "p/data/series/Lab_T.ls"),
              "true\r\n255\r\n15.03.2023;1,5;\r\n15.03.2023 9:05:07,250;-2;\r\n");
    EXPECT_EQ(readBytes(dir / "p/p.prj"),
              "*series\r\nLab_T;\r\n*\r\n*interval\r\na,b;15.03.2023 8:00:00;16.03.2023;1;\r\n*\r\n"
              "*staticmodel\r\ny_x;\r\n*\r\n*dynamicmodel\r\n*\r\n");
    EXPECT_TRUE(fs::exists(dir / "p/data/staticmodels/y_x.sm"));
}

TEST(ProjectFolder, RoundTripGivesEqualDataAndIdenticalFiles) {
    TempDir dir;
    TProject p;
    fill(p);
    ASSERT_TRUE(p.saveas(dir / "Котельная.prj"));
    const std::string folder = dir / "Котельная";
    // Nothing left the project folder.
    EXPECT_EQ(fileTree(dir.path).size(), fileTree(folder).size() + 1);
    const auto first = fileTree(folder);

    TProject q;
    std::vector<std::string> events;
    q.FOnChangeSeriesList = [&](TProject&) { events.push_back("series"); };
    q.FOnChangeFragmentsList = [&](TProject&) { events.push_back("fragments"); };
    q.FOnChangeStaticModelsList = [&](TProject&) { events.push_back("static"); };
    q.FOnChangeDynamicModelsList = [&](TProject&) { events.push_back("dynamic"); };
    q.FOnChangeProject = [&](TProject& sender) {
        events.push_back("project");
        EXPECT_TRUE(sender.projectAssign);  // bound before the event
    };
    RecordingReporter rep;
    ASSERT_TRUE(q.load(folder + "/Котельная.prj", &rep));
    EXPECT_TRUE(rep.entries.empty()) << rep.texts()[0];
    EXPECT_EQ(events, (std::vector<std::string>{"series", "fragments", "static", "dynamic", "project"}));
    EXPECT_TRUE(q.projectAssign);
    EXPECT_EQ(q.projectName, "Котельная");
    EXPECT_EQ(q.projectSaveWay, folder);

    ASSERT_EQ(q.seriesCount(), p.seriesCount());
    for (int i = 0; i < p.seriesCount(); ++i) expectSameSeries(*p.seriesList[i], *q.seriesList[i]);
    EXPECT_EQ(q.seriesList[1]->Title, "Lab_Температура");  // the prefix is not added again
    EXPECT_TRUE(q.seriesList[1]->labRow);
    EXPECT_EQ(q.seriesList[2]->Count(), 0);
    EXPECT_FALSE(q.seriesList[6]->IsNull(1));  // a null point loads as an ordinary point
    EXPECT_EQ(q.seriesList[6]->YValue(1), 5);
    EXPECT_DOUBLE_EQ(static_cast<double>(q.seriesList[1]->mean), 71.2);  // statistics as read

    ASSERT_EQ(q.userFragments.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(q.userFragments[i].name, p.userFragments[i].name);
        EXPECT_EQ(q.userFragments[i].typeOfFragments(), p.userFragments[i].typeOfFragments());
        EXPECT_NEAR(static_cast<double>(q.userFragments[i].startPoint),
                    static_cast<double>(p.userFragments[i].startPoint), 1e-9);
        EXPECT_FALSE(q.userFragments[i].paint);
    }
    ASSERT_EQ(q.statModelCount(), 2);
    EXPECT_EQ(q.statModels[0]->name, "Модель: расход/ч");  // the real name, from its file
    EXPECT_EQ(q.statModels[1]->name, "Модель: расход/ч(1)");
    EXPECT_EQ(q.statModels[1]->A, p.statModels[1]->A);
    ASSERT_EQ(q.dynModelCount(), 1);
    EXPECT_EQ(q.dynModels[0]->ky.size(), 3u);
    for (size_t i = 0; i < 3; ++i)
        EXPECT_NEAR(static_cast<double>(q.dynModels[0]->ky[i]), static_cast<double>(p.dynModels[0]->ky[i]), 1e-14);

    // A second save writes the same bytes.
    ASSERT_TRUE(q.save(&rep));
    EXPECT_EQ(fileTree(folder), first);
}

TEST(ProjectFolder, SaveAsNamesFoldersAndProjects) {
    TempDir dir;
    TProject p;
    ASSERT_TRUE(p.saveas(dir / "p.prj"));
    ASSERT_TRUE(p.saveas(dir / "p.prj"));
    EXPECT_EQ(p.projectSaveWay, dir / "p(1)");
    EXPECT_TRUE(fs::exists(dir / "p(1)/p.prj"));
    // Only the last extension is dropped, on save as and on load alike.
    ASSERT_TRUE(p.saveas(dir / "a.b.prj"));
    EXPECT_EQ(p.projectName, "a.b");
    TProject q;
    ASSERT_TRUE(q.load(dir / "a.b/a.b.prj"));
    EXPECT_EQ(q.projectName, "a.b");
    ASSERT_TRUE(q.save());
    EXPECT_FALSE(fs::exists(dir / "a.b/a.prj"));
}

TEST(ProjectFolder, FailedSaveAsKeepsTheOldBinding) {
    TempDir dir;
    TProject p;
    ASSERT_TRUE(p.saveas(dir / "p.prj"));
    writeBytes(dir / "file", "not a folder");
    RecordingReporter rep;
    int projectEvents = 0;
    p.FOnChangeProject = [&](TProject&) { ++projectEvents; };
    EXPECT_FALSE(p.saveas(dir / "file/q.prj", &rep));
    EXPECT_EQ(p.projectSaveWay, dir / "p");
    EXPECT_EQ(p.projectName, "p");
    EXPECT_TRUE(p.projectAssign);
    EXPECT_EQ(projectEvents, 0);
    ASSERT_EQ(rep.entries.size(), 1u);
    EXPECT_EQ(rep.entries[0].kind, RecordingReporter::Kind::Error);
    // A save cancelled part-way removes the folder it created.
    EXPECT_FALSE(p.saveas(dir / "r.prj", &rep, [](int, int) { return false; }));
    EXPECT_FALSE(fs::exists(dir / "r"));
    EXPECT_EQ(p.projectSaveWay, dir / "p");
}

TEST(ProjectFolder, SaveWithoutFolderReturnsFalse) {
    TProject p;
    RecordingReporter rep;
    EXPECT_FALSE(p.save(&rep));
    EXPECT_TRUE(rep.entries.empty());
}

TEST(ProjectFolder, SaveFailingPartWayLeavesTheOldProjectWhole) {
    TempDir dir;
    TProject p;
    fill(p);
    ASSERT_TRUE(p.saveas(dir / "p.prj"));
    const auto before = fileTree(dir / "p");
    p.deleteSeries(0, false);
    p.addSeries(series("Новый", {{1, 1}}), false, false);
    RecordingReporter rep;
    for (int failAt : {0, 1, 3, 6, 9}) {
        EXPECT_FALSE(p.save(&rep, [failAt](int done, int) { return done < failAt; })) << failAt;
        EXPECT_EQ(fileTree(dir / "p"), before) << failAt;
    }
    EXPECT_TRUE(p.projectAssign);
    TProject q;
    RecordingReporter loadRep;
    ASSERT_TRUE(q.load(dir / "p/p.prj", &loadRep));
    EXPECT_TRUE(loadRep.entries.empty());
    EXPECT_EQ(q.seriesCount(), 7);
    EXPECT_EQ(q.seriesList[0]->Title, "Расход пара");
}

// The intermediate states of a save, as a crash would leave them.
TEST(ProjectFolder, InterruptedSaveLeavesALoadableProject) {
    enum Stage { Staged, OldMovedAside, NewDataInPlace, NewPrjInPlace };
    for (Stage stage : {Staged, OldMovedAside, NewDataInPlace, NewPrjInPlace}) {
        TempDir dir;
        TProject a, b;
        a.addSeries(series("old", {{1, 1}}), false, false);
        b.addSeries(series("new", {{2, 2}}), false, false);
        ASSERT_TRUE(a.saveas(dir / "p.prj"));
        ASSERT_TRUE(b.saveas(dir / "g/p.prj") || (fs::create_directory(dir / "g") && b.saveas(dir / "g/p.prj")));
        const std::string f = dir / "p";
        fs::rename(dir / "g/p/data", f + "/data.new");
        fs::rename(dir / "g/p/p.prj", f + "/p.prj.new");
        if (stage >= OldMovedAside) fs::rename(f + "/data", f + "/data.old");
        if (stage >= NewDataInPlace) fs::rename(f + "/data.new", f + "/data");
        if (stage >= NewPrjInPlace) fs::rename(f + "/p.prj.new", f + "/p.prj");
        const std::string expected = stage >= NewDataInPlace ? "new" : "old";

        TProject q;
        RecordingReporter rep;
        ASSERT_TRUE(q.load(f + "/p.prj", &rep)) << stage;
        EXPECT_TRUE(rep.entries.empty()) << stage;
        ASSERT_EQ(q.seriesCount(), 1) << stage;
        EXPECT_EQ(q.seriesList[0]->Title, expected) << stage;

        // The next save settles the folder and writes normally.
        ASSERT_TRUE(q.save(&rep)) << stage << (rep.entries.empty() ? "" : rep.texts()[0]);
        const auto files = fileTree(f);
        EXPECT_EQ(files.count("data.old") + files.count("data.new") + files.count("p.prj.new"), 0u) << stage;
        TProject r;
        ASSERT_TRUE(r.load(f + "/p.prj"));
        ASSERT_EQ(r.seriesCount(), 1);
        EXPECT_EQ(r.seriesList[0]->Title, expected);
    }
}

// A save decides whether it goes ahead before it touches anything: a refused save leaves
// every file of the folder as it was, leftovers of an earlier save included, and only
// leftovers that are recognisably a save's own are tidied away.
TEST(ProjectFolder, SaveDecidesBeforeTouchingLeftovers) {
    auto copy = [](const std::string& from, const std::string& to) {
        fs::copy(from, to, fs::copy_options::recursive);
    };
    struct Case {
        const char* what;
        std::function<void(const std::string& f)> leave;
        const char* refusal;  // a piece of the error; null when the save goes ahead
    };
    const Case cases[] = {
        {"foreign file in data beside own leftovers",
         [&](const std::string& f) {
             copy(f + "/data", f + "/data.new");
             copy(f + "/p.prj", f + "/p.prj.new");
             writeBytes(f + "/data/series/notes.txt", "x");
         },
         "содержит файлы, не принадлежащие проекту (\"series/notes.txt\"); проект не сохранен"},
        {"data.new holding another file",
         [&](const std::string& f) {
             copy(f + "/data", f + "/data.new");
             writeBytes(f + "/data.new/series/notes.txt", "x");
         },
         "есть \"data.new\", но это не остаток прерванного сохранения проекта: ничего не удалено"},
        {"data.new is a file", [](const std::string& f) { writeBytes(f + "/data.new", "x"); }, "\"data.new\""},
        {".prj.new that is no project file", [](const std::string& f) { writeBytes(f + "/p.prj.new", "hello\r\n"); },
         "\"p.prj.new\""},
        {".prj.new cut short",
         [](const std::string& f) {
             const std::string whole = readBytes(f + "/p.prj");
             writeBytes(f + "/p.prj.new", whole.substr(0, whole.find("b;")));
         },
         "\"p.prj.new\""},
        {".prj.new naming a series its data.new lacks",
         [&](const std::string& f) {
             copy(f + "/data", f + "/data.new");
             fs::remove(f + "/data.new/series/b.ls");
             copy(f + "/p.prj", f + "/p.prj.new");
         },
         "\"p.prj.new\""},
        {".prj.new is a folder", [](const std::string& f) { writeBytes(f + "/p.prj.new/x", "x"); }, "\"p.prj.new\""},
        {".prj.new is a link", [](const std::string& f) { fs::create_symlink(f + "/p.prj", f + "/p.prj.new"); },
         "\"p.prj.new\""},
        {"data.old beside data holding another file",
         [&](const std::string& f) {
             copy(f + "/data", f + "/data.old");
             writeBytes(f + "/data.old/readme.txt", "x");
         },
         "\"data.old\""},
        {"data.old is a file", [](const std::string& f) { writeBytes(f + "/data.old", "x"); }, "\"data.old\""},
        {"data.new is a dangling link", [](const std::string& f) { fs::create_symlink(f + "/nowhere", f + "/data.new"); },
         "\"data.new\""},
        {"staged save: data.new and .prj.new",
         [&](const std::string& f) {
             copy(f + "/data", f + "/data.new");
             copy(f + "/p.prj", f + "/p.prj.new");
         },
         nullptr},
        {"staging cut short: part of data.new", [](const std::string& f) { writeBytes(f + "/data.new/series/a.ls", "fa"); },
         nullptr},
        {"empty data.new", [](const std::string& f) { fs::create_directory(f + "/data.new"); }, nullptr},
        {"data.old left after the swap", [&](const std::string& f) { copy(f + "/data", f + "/data.old"); }, nullptr},
    };
    for (const Case& c : cases) {
        TempDir dir;
        TProject p;
        p.addSeries(series("a", {{1, 1}}), false, false);
        p.addSeries(series("b", {{2, 2}}), false, false);
        p.addStaticModel(staticModel("s", {"a"}, {0, 1}), false);
        ASSERT_TRUE(p.saveas(dir / "p.prj"));
        const std::string f = dir / "p";
        TProject q;
        ASSERT_TRUE(q.load(f + "/p.prj"));
        ASSERT_TRUE(q.projectAssign);
        q.deleteSeries(0, false);
        c.leave(f);
        const auto before = fileTree(f);

        RecordingReporter rep;
        const bool saved = q.save(&rep);
        if (c.refusal) {
            EXPECT_FALSE(saved) << c.what;
            EXPECT_EQ(fileTree(f), before) << c.what;
            EXPECT_TRUE(q.projectAssign) << c.what;
            ASSERT_EQ(rep.entries.size(), 1u) << c.what;
            EXPECT_NE(rep.entries[0].text.find(c.refusal), std::string::npos) << c.what << ": " << rep.entries[0].text;
            continue;
        }
        EXPECT_TRUE(saved) << c.what << ": " << (rep.entries.empty() ? "" : rep.entries[0].text);
        for (const char* gone : {"data.new", "data.old", "p.prj.new"})
            EXPECT_FALSE(fs::exists(fs::symlink_status(f + "/" + gone))) << c.what << ": " << gone;
        EXPECT_EQ(readBytes(f + "/p.prj"), "*series\r\nb;\r\n*\r\n*interval\r\n*\r\n*staticmodel\r\ns;\r\n*\r\n"
                                           "*dynamicmodel\r\n*\r\n")
            << c.what;
        EXPECT_FALSE(fs::exists(f + "/data/series/a.ls")) << c.what;
        EXPECT_TRUE(fs::exists(f + "/data/series/b.ls")) << c.what;
    }
}

TEST(ProjectFolder, MissingDataFolderCountsAsEmpty) {
    TempDir dir;
    TProject p;
    p.addSeries(series("a", {{1, 1}}), false, false);
    ASSERT_TRUE(p.saveas(dir / "p.prj"));
    fs::remove_all(dir / "p/data");
    RecordingReporter rep;
    ASSERT_TRUE(p.save(&rep));
    EXPECT_TRUE(fs::exists(dir / "p/data/series/a.ls"));
}

// A save replaces the data folder only when the .prj on disk (or the project itself) accounts
// for every file in it: a .prj cut short or a file put there by hand is never lost.
TEST(ProjectFolder, SaveNeverRemovesFilesTheProjectDidNotLoad) {
    TempDir dir;
    TProject p;
    for (const char* t : {"a", "b", "c"}) p.addSeries(series(t, {{1, 1}}), false, false);
    p.addStaticModel(staticModel("s", {}, {0}), false);
    ASSERT_TRUE(p.saveas(dir / "p.prj"));
    const std::string prj = dir / "p/p.prj";
    const std::string whole = readBytes(prj);

    // Cut short after the first series: the load reports it and stays unbound, so Save
    // (which then asks for a new folder) writes nothing here.
    writeBytes(prj, whole.substr(0, whole.find("b;")));
    const auto before = fileTree(dir / "p");
    TProject q;
    RecordingReporter rep;
    ASSERT_TRUE(q.load(prj, &rep));
    EXPECT_EQ(q.seriesCount(), 1);
    EXPECT_FALSE(q.projectAssign);
    ASSERT_EQ(rep.entries.size(), 1u);
    EXPECT_NE(rep.entries[0].text.find("не завершен"), std::string::npos);
    EXPECT_FALSE(q.save(&rep));
    EXPECT_EQ(fileTree(dir / "p"), before);

    // Bound to the folder all the same, a save refuses while the data holds files the .prj
    // on disk does not name.
    q.commitSave(dir / "p", "p");
    EXPECT_FALSE(q.save(&rep));
    EXPECT_NE(rep.entries.back().text.find("не принадлежащие проекту"), std::string::npos);
    EXPECT_EQ(fileTree(dir / "p"), before);

    // A whole .prj names them all; a series file put beside them by hand still stops the save.
    writeBytes(prj, whole);
    TProject r;
    ASSERT_TRUE(r.load(prj, &rep));
    ASSERT_TRUE(r.projectAssign) << rep.texts().back();
    writeBytes(dir / "p/data/series/extra.ls", "false\r\n1\r\n");
    EXPECT_FALSE(r.save(&rep));
    EXPECT_NE(rep.entries.back().text.find("series/extra.ls"), std::string::npos);
    fs::remove(dir / "p/data/series/extra.ls");

    // Files the project read itself may be replaced even when the .prj is gone.
    fs::remove(prj);
    r.deleteSeries(0, false);
    ASSERT_TRUE(r.save(&rep));
    EXPECT_FALSE(fs::exists(dir / "p/data/series/a.ls"));
    EXPECT_TRUE(fs::exists(dir / "p/data/series/b.ls"));
    EXPECT_TRUE(fs::exists(prj));
}

TEST(ProjectFolder, FileThatIsNoProjectIsRefused) {
    TempDir dir;
    writeBytes(dir / "x.prj", "hello;\r\nworld\r\n");
    TProject p;
    int events = 0;
    p.FOnChangeProject = [&](TProject&) { ++events; };
    p.FOnChangeSeriesList = [&](TProject&) { ++events; };
    RecordingReporter rep;
    EXPECT_FALSE(p.load(dir / "x.prj", &rep));
    EXPECT_FALSE(p.projectAssign);
    EXPECT_EQ(events, 0);
    ASSERT_EQ(rep.entries.size(), 1u);
    EXPECT_EQ(rep.entries[0].text, "Файл \"" + (dir / "x.prj") + "\" не является файлом проекта.");
    EXPECT_FALSE(p.load(dir / "none.prj", &rep));
}

// Each case damages a good folder; the load keeps what it can, reports the rest and leaves
// the project unbound (or bound, when nothing was lost).
TEST(ProjectFolder, DamagedFoldersLoadWhatTheyCan) {
    struct Case {
        const char* what;
        std::function<void(const std::string& folder)> damage;
        int series, intervals, staticModels, dynamicModels;
        std::vector<std::string> problems;  // a piece of each problem line, in order
    };
    auto replaceFile = [](const std::string& path, const std::string& text) { writeBytes(path, text); };
    // The first `from` in the .prj becomes `to`.
    auto prjEdit = [](std::string from, std::string to) {
        return [from, to](const std::string& f) {
            std::string text = readBytes(f + "/p.prj");
            ASSERT_NE(text.find(from), std::string::npos) << from;
            text.replace(text.find(from), from.size(), to);
            writeBytes(f + "/p.prj", text);
        };
    };
    const Case cases[] = {
        {"intact", [](const std::string&) {}, 3, 2, 2, 1, {}},
        {"missing series file", [](const std::string& f) { fs::remove(f + "/data/series/b.ls"); }, 2, 2, 2, 1,
         {"Ряд \"b\" не загружен: нет файла"}},
        {"empty series file skips only itself",
         [&](const std::string& f) { replaceFile(f + "/data/series/a.ls", ""); }, 2, 2, 2, 1, {"пуст"}},
        {"bad colour", [&](const std::string& f) { replaceFile(f + "/data/series/a.ls", "false\r\nred\r\n"); }, 2, 2,
         2, 1, {"цвет"}},
        {"bad point lines are skipped",
         [&](const std::string& f) {
             replaceFile(f + "/data/series/a.ls", "false\r\n1\r\n01.01.2020;1;\r\nxx;2;\r\n02.01.2020;;\r\n03.01.2020;3;\r\n");
         },
         3, 2, 2, 1, {"Ряд \"a\": пропущено нечитаемых строк: 2 (первая — строка 4"}},
        {"damaged laboratory flag",
         [&](const std::string& f) { replaceFile(f + "/data/series/a.ls", "True\r\n1\r\n01.01.2020;1;\r\n"); }, 3, 2, 2, 1,
         {"Ряд \"a\": признак лабораторного анализа в строке 1 файла", "не читается (\"True\"); ряд загружен как "
                                                                      "нелабораторный"}},
        // A value without its ";" may be a line cut short.
        {"value without trailing semicolon",
         [&](const std::string& f) { replaceFile(f + "/data/series/a.ls", "false\r\n1\r\n01.01.2020;12\r\n02.01.2020;7"); },
         3, 2, 2, 1, {"Ряд \"a\": пропущено нечитаемых строк: 2 (первая — строка 3"}},
        {"last interval line at the end of the file",
         [&](const std::string& f) {
             replaceFile(f + "/p.prj", "*series\r\na;\r\n*\r\n*interval\r\nI1;01.01.2020;02.01.2020;1;\r\nI2;03.01.2020;04.01.2020;0;");
         },
         1, 2, 0, 0, {"раздел \"*interval\" не завершен"}},
        {"file cut short in the series list",
         [&](const std::string& f) { replaceFile(f + "/p.prj", "*series\r\na;\r\nb;\r\n"); }, 2, 0, 0, 0,
         {"Файл проекта обрывается: раздел \"*series\" не завершен строкой \"*\"."}},
        {"bad interval line",
         [&](const std::string& f) {
             replaceFile(f + "/p.prj", "*interval\r\nI1;31.02.2020;02.01.2020;1;\r\nI2;03.01.2020;04.01.2020;0;\r\nI3;x;\r\n*\r\n");
         },
         0, 1, 0, 0, {"строке 2", "строке 4"}},
        // Lines the reader cannot place are reported in runs: the items under a damaged
        // section line would otherwise be dropped by the next save.
        {"noise line and a section line with a blank",
         [&](const std::string& f) {
             replaceFile(f + "/p.prj", "*series\r\na;\r\n*\r\nnoise\r\n*series \r\nb;\r\n*\r\n*dynamicmodel\r\nd;\r\n*\r\n");
         },
         1, 0, 0, 1, {"Строки 4–7 файла проекта вне разделов не прочитаны (первая: \"noise\")"}},
        {"damaged interval section line", prjEdit("*interval", "*intervaI"), 3, 0, 2, 1,
         {"Строки 6–9 файла проекта вне разделов не прочитаны (первая: \"*intervaI\")"}},
        {"interval section line turned blank", prjEdit("*interval", ""), 3, 0, 2, 1,
         {"Строки 7–9 файла проекта вне разделов не прочитаны (первая: \";30.12.1899;31.12.1899;1;\")"}},
        {"stray star in the series list", prjEdit("b;", "*\r\nb;"), 1, 2, 2, 1,
         {"Строки 4–6 файла проекта вне разделов не прочитаны (первая: \"b;\")"}},
        {"stray star in the interval list", prjEdit(";30.12.1899;31.12.1899;0;", "*\r\n;30.12.1899;31.12.1899;0;"), 3, 1,
         2, 1, {"Строки 9–10 файла проекта вне разделов не прочитаны"}},
        {"extra star after a section", prjEdit("*\r\n*staticmodel", "*\r\n*\r\n*staticmodel"), 3, 2, 2, 1,
         {"Строка 10 файла проекта вне разделов не прочитана: \"*\""}},
        {"damaged static model section line", prjEdit("*staticmodel", "*staticmode1"), 3, 2, 0, 1,
         {"Строки 10–13 файла проекта вне разделов не прочитаны (первая: \"*staticmode1\")"}},
        {"dynamic model section line without its star", prjEdit("*dynamicmodel", "dynamicmodel"), 3, 2, 2, 0,
         {"Строки 14–16 файла проекта вне разделов не прочитаны"}},
        {"series line without its semicolon", prjEdit("b;", "b"), 2, 2, 2, 1,
         {"Строка 3 раздела \"*series\" файла проекта не прочитана: \"b\""}},
        {"blank lines in a list", prjEdit("s;\r\nt;", "\r\n \r\nt;"), 3, 2, 1, 1,
         {"Строки 11–12 раздела \"*staticmodel\" файла проекта не прочитаны (первая: пустая строка)"}},
        {"blank interval line", prjEdit(";30.12.1899;31.12.1899;0;", ""), 3, 1, 2, 1,
         {"Строка 8 раздела \"*interval\" файла проекта не прочитана: пустая строка"}},
        {"byte-order mark before the first section line", prjEdit("*series", "\xEF\xBB\xBF*series"), 3, 2, 2, 1, {}},
        {"blank lines between sections hold nothing", prjEdit("*\r\n*interval", "*\r\n\r\n \r\n*interval"), 3, 2, 2,
         1, {}},
        {"static model counts disagree",
         [&](const std::string& f) {
             replaceFile(f + "/data/staticmodels/s.sm", "s;\r\n3;1;\r\nx;\r\ny;\r\n2;\r\n0;1;\r\n0;\r\nfalse;\r\n0;\r\n0;\r\n");
         },
         3, 2, 1, 1, {"Статическая модель \"s\" не загружена: число имен входов"}},
        {"empty static model file skips only itself",
         [&](const std::string& f) { replaceFile(f + "/data/staticmodels/s.sm", ""); }, 3, 2, 1, 1, {"файл пуст"}},
        {"dynamic model order above 10",
         [&](const std::string& f) {
             std::string t = readBytes(f + "/data/dynamicmodels/d.dm");
             t.replace(t.find("0;1;"), 4, "11;1;");
             replaceFile(f + "/data/dynamicmodels/d.dm", t);
         },
         3, 2, 2, 0, {"порядок числителя вне допустимых пределов: 11"}},
        {"missing model file", [](const std::string& f) { fs::remove(f + "/data/dynamicmodels/d.dm"); }, 3, 2, 2, 0,
         {"Динамическая модель \"d\" не загружена: нет файла"}},
    };
    for (const auto& c : cases) {
        TempDir dir;
        TProject p;
        p.addSeries(series("a", {{1, 1}}), false, false);
        p.addSeries(series("b", {{1, 1}}), false, false);
        p.addSeries(series("c", {{1, 1}}), false, false);
        p.userFragments = {TFragment(1, 0, 1), TFragment(0, 0, 1)};
        for (const char* name : {"s", "t"}) p.addStaticModel(staticModel(name, {"a"}, {0, 1}), false);
        p.addDynamicModel(dynamicModel("d", 1), false);
        ASSERT_TRUE(p.saveas(dir / "p.prj"));
        c.damage(dir / "p");
        const auto damaged = fileTree(dir / "p");

        TProject q;
        RecordingReporter rep;
        ASSERT_TRUE(q.load(dir / "p/p.prj", &rep)) << c.what;
        EXPECT_EQ(q.seriesCount(), c.series) << c.what;
        EXPECT_EQ(q.userFragments.size(), static_cast<size_t>(c.intervals)) << c.what;
        EXPECT_EQ(q.statModelCount(), c.staticModels) << c.what;
        EXPECT_EQ(q.dynModelCount(), c.dynamicModels) << c.what;
        EXPECT_EQ(q.projectAssign, c.problems.empty()) << c.what;
        if (c.problems.empty()) {
            EXPECT_TRUE(rep.entries.empty()) << c.what << ": " << rep.texts()[0];
            continue;
        }
        EXPECT_EQ(rep.entries.size(), 1u) << c.what;
        if (rep.entries.empty()) continue;
        const std::string& text = rep.entries[0].text;
        EXPECT_EQ(text.rfind("Проект загружен не полностью:", 0), 0u) << text;
        size_t pos = 0;
        for (const auto& piece : c.problems) {
            pos = text.find(piece, pos);
            EXPECT_NE(pos, std::string::npos) << c.what << ": " << piece << "\n" << text;
        }
        // Unbound: the next save writes a new folder instead of dropping what was not read.
        EXPECT_FALSE(q.save(&rep));
        EXPECT_EQ(fileTree(dir / "p"), damaged) << c.what;
    }
}

TEST(ProjectFolder, SemicolonsAndLineBreaksInNamesKeepThePrjFields) {
    TempDir dir;
    TProject p;
    p.addStaticModel(staticModel("расход;м3/ч", {"x"}, {0, 1}), false);
    p.addDynamicModel(dynamicModel("d;1\r\n2", 0), false);
    TFragment f(1, at(2020, 1, 1), at(2020, 1, 2));
    f.name = "I;1\n";
    p.userFragments = {f};
    ASSERT_TRUE(p.saveas(dir / "p.prj"));
    // Each name is one field of its line: ";" and line breaks never reach the .prj.
    EXPECT_EQ(readBytes(dir / "p/p.prj"),
              "*series\r\n*\r\n*interval\r\nI,1 ;01.01.2020;02.01.2020;1;\r\n*\r\n"
              "*staticmodel\r\nрасход_м3_ч;\r\n*\r\n*dynamicmodel\r\nd_1__2;\r\n*\r\n");

    TProject q;
    RecordingReporter rep;
    ASSERT_TRUE(q.load(dir / "p/p.prj", &rep));
    EXPECT_TRUE(rep.entries.empty()) << rep.texts()[0];
    EXPECT_TRUE(q.projectAssign);
    ASSERT_EQ(q.statModelCount(), 1);
    EXPECT_EQ(q.statModels[0]->name, "расход;м3/ч");  // the real name, from its file
    ASSERT_EQ(q.dynModelCount(), 1);
    EXPECT_EQ(q.dynModels[0]->name, "d;1  2");  // a line break cannot live in a line
    ASSERT_EQ(q.userFragments.size(), 1u);
    EXPECT_EQ(q.userFragments[0].name, "I,1 ");
}

TEST(ProjectFolder, FilesNamedAfterLongNamesByAnotherProgramAreFound) {
    // 110 Cyrillic letters are 220 bytes: longer than the stems this system writes, as the
    // earlier program named its files after the whole title.
    std::string title;
    for (int i = 0; i < 110; ++i) title += "Т";
    TempDir dir;
    writeBytes(dir / "p/p.prj", "*series\r\n" + title + ";\r\n*\r\n*staticmodel\r\n" + title + ";\r\n*\r\n");
    writeBytes(dir / ("p/data/series/" + title + ".ls"), "false\r\n0\r\n01.01.2020;12;\r\n");
    writeBytes(dir / ("p/data/staticmodels/" + title + ".sm"),
               "m;\r\n1;1;\r\nx;\r\ny;\r\n2;\r\n0;1;\r\n0;\r\nfalse;\r\n0;\r\n0;\r\n");
    TProject q;
    RecordingReporter rep;
    ASSERT_TRUE(q.load(dir / "p/p.prj", &rep));
    EXPECT_TRUE(rep.entries.empty()) << rep.texts()[0];
    ASSERT_EQ(q.seriesCount(), 1);
    EXPECT_EQ(q.seriesList[0]->Title, title);
    EXPECT_EQ(q.seriesList[0]->YValue(0), 12);
    ASSERT_EQ(q.statModelCount(), 1);
    EXPECT_EQ(q.statModels[0]->name, "m");
}

TEST(ProjectFolder, EqualModelNamesFromTwoFilesAreMadeUnique) {
    TempDir dir;
    writeBytes(dir / "p/p.prj", "*staticmodel\r\nm1;\r\nm2;\r\n*\r\n");
    const std::string sm = "y;\r\n1;1;\r\nx;\r\ny;\r\n2;\r\n0;1;\r\n0;\r\nfalse;\r\n0;\r\n0;\r\n";
    writeBytes(dir / "p/data/staticmodels/m1.sm", sm);
    writeBytes(dir / "p/data/staticmodels/m2.sm", sm);
    TProject q;
    ASSERT_TRUE(q.load(dir / "p/p.prj"));
    ASSERT_EQ(q.statModelCount(), 2);
    EXPECT_EQ(q.statModels[0]->name, "y");
    EXPECT_EQ(q.statModels[1]->name, "y(1)");
}

TEST(ProjectFolder, ReadsAFolderWrittenInWindows1251) {
    TempDir dir;
    fs::copy(std::string(TARVOLYN_TEST_DATA) + "/projects/cp1251", dir.path, fs::copy_options::recursive);
    // One file name in the Windows code page as well, as a raw copy of a Windows disk has it.
    fs::rename(dir / "data/series/Расход пара.ls", dir / "data/series/\xD0\xE0\xF1\xF5\xEE\xE4 \xEF\xE0\xF0\xE0.ls");
    TProject q;
    RecordingReporter rep;
    ASSERT_TRUE(q.load(dir / "Котельная.prj", &rep));
    EXPECT_TRUE(rep.entries.empty()) << rep.texts()[0];
    EXPECT_EQ(q.projectName, "Котельная");
    ASSERT_EQ(q.seriesCount(), 2);
    EXPECT_EQ(q.seriesList[0]->Title, "Расход пара");
    EXPECT_EQ(q.seriesList[1]->Title, "Lab_Температура");
    EXPECT_TRUE(q.seriesList[1]->labRow);
    EXPECT_NEAR(q.seriesList[1]->XValue(1), at(2023, 3, 15, 9, 0, 0, 500), 1e-9);
    EXPECT_TRUE(std::isnan(q.seriesList[1]->YValue(1)));
    ASSERT_EQ(q.userFragments.size(), 2u);
    EXPECT_EQ(q.userFragments[1].name, "Сбой");
    EXPECT_EQ(q.userFragments[1].typeOfFragments(), 0);
    ASSERT_EQ(q.statModelCount(), 1);
    EXPECT_EQ(q.statModels[0]->name, "Модель расхода");
    EXPECT_EQ(q.statModels[0]->inputName, std::vector<std::string>{"Lab_Температура"});
    EXPECT_EQ(q.statModels[0]->getString(), "Расход пара = 0,5*(Lab_Температура) + 2");
    ASSERT_EQ(q.dynModelCount(), 1);
    EXPECT_EQ(q.dynModels[0]->getDiffEx(), "y[i]=0,5*x[i] + 0,5*y[i-1]");
    // Saved again, the folder is UTF-8.
    ASSERT_TRUE(q.save(&rep));
    EXPECT_EQ(readBytes(dir / "data/series/Расход пара.ls"),
              "false\r\n255\r\n15.03.2023;1,5;\r\n15.03.2023 0:10:00;2,25;\r\n15.03.2023 10:20:00;-3;\r\n");
}

}  // namespace

namespace {

// The split used by the worker threads: plain reading and writing off the GUI thread, the
// project changed and its events fired on the calling thread only.
TEST(ProjectFolder, ReadAndWriteRunOnAWorkerThread) {
    TempDir dir;
    TProject p;
    fill(p);
    const ProjectData snap = p.snapshot();
    ProjectWriteResult written;
    std::thread([&] { written = writeProjectFolderAs(snap, dir / "w.prj"); }).join();
    ASSERT_TRUE(written.ok) << written.error;
    EXPECT_FALSE(p.projectAssign);
    p.commitSave(written.folder, written.projectName);
    EXPECT_EQ(p.projectSaveWay, dir / "w");

    ProjectReadResult read;
    std::thread([&] { read = readProjectFolder(dir / "w/w.prj"); }).join();
    TProject q;
    const auto self = std::this_thread::get_id();
    int events = 0;
    q.FOnChangeSeriesList = [&](TProject&) { EXPECT_EQ(std::this_thread::get_id(), self); ++events; };
    q.FOnChangeProject = [&](TProject&) { EXPECT_EQ(std::this_thread::get_id(), self); ++events; };
    ASSERT_TRUE(q.applyLoaded(std::move(read)));
    EXPECT_EQ(events, 2);
    EXPECT_EQ(q.seriesCount(), p.seriesCount());
}

}  // namespace
