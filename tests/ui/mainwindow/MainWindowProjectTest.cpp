// The main window with a project: save, new, load, the close and unsaved-work questions,
// the series tree with its pop-up menu, selection order, drags and stale ids.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <filesystem>

#include "core/DynamicModel.h"
#include "core/ProjectFolder.h"
#include "core/StaticModel.h"
#include "ui/PageTestSupport.h"
#include "ui/charts/FragmentChart.h"
#include "ui/mainwindow/Prompter.h"
#include "ui/mainwindow/SeriesDrag.h"
#include "ui/mainwindow/TForm1.h"
#include "ui/mainwindow/TForm3.h"
#include "ui/mainwindow/WorkspaceTree.h"
#include "support/Files.h"

namespace {

using Kind = RecordingReporter::Kind;

// A series of `n` hourly points from day 45000 with values start, start+1, ...
TStatisticSeries hourly(const std::string& title, int n, double start) {
    TStatisticSeries s;
    s.Title = title;
    for (int i = 0; i < n; ++i) s.AddXY(45000.0 + i / 24.0, start + i);
    return s;
}

// The time of hour h exactly as the series stores it.
long double hourAt(int h) { return static_cast<long double>(45000.0 + h / 24.0); }

TStaticModel staticModel() {
    TStaticModel m;
    m.name = "Модель расхода";
    m.n = 2;
    m.A = {0, 2.5L};
    m.inputName = {"a"};
    m.outputName = "b";
    m.R2 = 0.9;
    return m;
}

TDynamicModel dynamicModel() {
    TDynamicModel m;
    m.name = "Динамика";
    m.xpower = 0;
    m.ypower = 1;
    m.num = {1};
    m.denum = {1, 5};
    m.k = 2;
    m.tau = 1;
    m.timeDiscretization = 60;
    m.inputName = "a";
    m.outputName = "b";
    m.calcDiffExOnTF();
    return m;
}

QList<int> nodePictures(const QTreeWidget* tree) {
    QList<int> p;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        p << tree->topLevelItem(i)->data(0, WorkspaceTree::kPictureRole).toInt();
    return p;
}

struct ProjectWindow : ::testing::Test {
    ScriptedPrompter prompter;
    TForm1 form{TForm1Services{&prompter, nullptr, nullptr}};
    QTemporaryDir dir;
    TProject& project() { return form.project(); }
    QString caption() const { return form.navigationNode(0)->text(0); }
    std::string path(const std::string& name) const { return (dir.path() + "/").toStdString() + name; }
};

TEST_F(ProjectWindow, SaveNewLoadBringsEverythingBack) {
    ASSERT_TRUE(dir.isValid());
    project().addSeries(hourly("a", 48, 0), false, true);
    project().addSeries(hourly("T1", 48, 100), true, true);
    project().addStaticModel(staticModel(), true);
    project().addDynamicModel(dynamicModel(), true);
    // Good from hour 10 to hour 30, bad from hour 15 to hour 20, and a type-3 interval.
    TFragmentChart* chart = form.fragmentsChart;
    ASSERT_TRUE(chart);
    chart->addFragment("Хороший", 1, hourAt(10), hourAt(30));
    chart->addFragment("Плохой", 0, hourAt(15), hourAt(20));
    chart->addFragment("Прочий", 3, hourAt(1), hourAt(2));

    prompter.saveAnswers = {path("Проект.prj")};
    form.findChild<QAction*>("N5")->trigger();  // no folder yet: save as
    EXPECT_EQ(prompter.saveAsked, 1);
    EXPECT_TRUE(prompter.record.entries.empty()) << prompter.record.texts().front();
    ASSERT_TRUE(project().projectAssign);
    const std::string folder = path("Проект");
    EXPECT_EQ(project().projectSaveWay, folder);
    EXPECT_EQ(caption(), QString("Данные (Проект)"));
    EXPECT_EQ(form.navigationNode(0)->toolTip(0), QString::fromStdString("Данные " + folder));
    EXPECT_TRUE(QFile::exists(QString::fromStdString(folder + "/Проект.prj")));

    // New: the open project is asked about; OK empties everything.
    prompter.record.answers = {true};
    form.findChild<QAction*>("N2")->trigger();
    EXPECT_EQ(prompter.record.texts(),
              (std::vector<std::string>{"Открыт файл проекта. Несохраненные данные будут потеряны. Продолжить?"}));
    EXPECT_EQ(caption(), QString("Данные"));
    EXPECT_EQ(form.TreeView2Hint(0), QString());
    EXPECT_EQ(form.seriesTree()->topLevelItemCount(), 0);
    EXPECT_EQ(form.staticModelTree()->topLevelItemCount(), 0);
    EXPECT_EQ(form.dynamicModelTree()->topLevelItemCount(), 0);
    EXPECT_EQ(chart->numOfFragments(), 0);
    EXPECT_EQ(form.activePage(), 7);

    // Load from the fragment page: nothing to ask, the start page comes first.
    prompter.record.clear();
    form.setActivePage(4);
    prompter.openAnswers = {folder + "/Проект.prj"};
    form.findChild<QAction*>("N3")->trigger();
    EXPECT_TRUE(prompter.record.entries.empty()) << prompter.record.texts().front();
    EXPECT_EQ(form.activePage(), 7);
    EXPECT_EQ(topLevelTexts(form.seriesTree()), (QStringList{"a", "Lab_T1"}));
    EXPECT_EQ(nodePictures(form.seriesTree()), (QList<int>{3, 2}));
    EXPECT_EQ(topLevelTexts(form.staticModelTree()), (QStringList{"Модель расхода"}));
    EXPECT_EQ(nodePictures(form.staticModelTree()), (QList<int>{4}));
    EXPECT_EQ(topLevelTexts(form.dynamicModelTree()), (QStringList{"Динамика"}));
    EXPECT_EQ(nodePictures(form.dynamicModelTree()), (QList<int>{5}));
    EXPECT_EQ(caption(), QString("Данные (Проект)"));

    // The intervals are on the chart again, as drawn.
    ASSERT_EQ(chart->numOfFragments(), 3);
    EXPECT_EQ(chart->fragment(0).name, "Хороший");
    EXPECT_EQ(chart->fragment(1).typeOfFragments(), 0);
    EXPECT_EQ(chart->fragment(2).typeOfFragments(), 3);
    // The good interval cut by the bad one: hours 10..15 and 20..30, each with its series.
    EXPECT_FALSE(project().needCalcFragment);
    ASSERT_EQ(project().numOfFragments(), 2);
    ASSERT_EQ(project().fragmentsSeriesList.size(), 2u);
    ASSERT_EQ(project().fragmentsSeriesList[0].size(), 2u);
    // Hours 10..15 hold 6 points, hours 20..30 hold 11 (both ends included).
    EXPECT_EQ(project().fragmentsSeriesList[0][0]->Count(), 6);
    EXPECT_EQ(project().fragmentsSeriesList[1][1]->Count(), 11);
    EXPECT_EQ(project().fragmentsSeriesList[1][1]->YValue(0), 120.0);
    EXPECT_EQ(project().fragmentsSeriesList[0][0]->Title, "a_Хороший");
}

TEST_F(ProjectWindow, FailingSaveLeavesTheProjectUnboundWithAnError) {
    project().addSeries(hourly("a", 5, 0), false, true);
    // The folder cannot be created under a plain file.
    QFile blocker(dir.path() + "/файл");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    int projectEvents = 0;
    auto previous = project().FOnChangeProject;
    project().FOnChangeProject = [&](TProject& p) {
        ++projectEvents;
        previous(p);
    };
    prompter.saveAnswers = {path("файл/p.prj")};
    EXPECT_FALSE(form.saveAsProject());
    ASSERT_EQ(prompter.record.entries.size(), 1u);
    EXPECT_EQ(prompter.record.entries[0].kind, Kind::Error);
    EXPECT_FALSE(prompter.record.entries[0].text.empty());
    EXPECT_FALSE(project().projectAssign);
    EXPECT_EQ(projectEvents, 0);
    EXPECT_EQ(caption(), QString("Данные"));
    EXPECT_TRUE(form.isEnabled());
    EXPECT_FALSE(form.busyWindow()->isVisible());
    EXPECT_EQ(project().seriesCount(), 1);

    // A cancelled dialog changes nothing and says nothing.
    prompter.record.clear();
    EXPECT_FALSE(form.saveAsProject());
    EXPECT_TRUE(prompter.record.entries.empty());
}

TEST_F(ProjectWindow, SaveIntoABoundFolderWritesAgain) {
    project().addSeries(hourly("a", 5, 0), false, true);
    prompter.saveAnswers = {path("p.prj")};
    ASSERT_TRUE(form.saveAsProject());
    project().addSeries(hourly("b", 5, 0), false, true);
    ASSERT_TRUE(form.saveProject());
    EXPECT_EQ(prompter.saveAsked, 1);  // no dialog the second time
    const ProjectReadResult back = readProjectFolder(path("p/p.prj"));
    ASSERT_TRUE(back.opened);
    ASSERT_EQ(back.data.series.size(), 2u);
    EXPECT_EQ(back.data.series[1].Title, "b");

    // "Сохранить как" onto that existing p.prj does not replace it but writes a new folder
    // beside it, and the question says so; Cancel writes nothing.
    prompter.saveAnswers = {path("p/p.prj"), path("p/p.prj")};
    prompter.record.answers = {false, true};
    EXPECT_FALSE(form.saveAsProject());
    EXPECT_EQ(prompter.record.texts(), (std::vector<std::string>{"Файл \"p.prj\" уже существует. Он не будет заменен: "
                                                                 "проект будет сохранен в новую папку \"" +
                                                                 path("p/p") + "\". Продолжить?"}));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path("p/p"))));
    EXPECT_TRUE(form.saveAsProject());
    EXPECT_EQ(project().projectSaveWay, path("p/p"));
    EXPECT_EQ(readProjectFolder(path("p/p.prj")).data.series.size(), 2u);
    EXPECT_EQ(prompter.kindsAsked, std::vector<FileKind>(3, FileKind::Project));
}

TEST_F(ProjectWindow, TenLoadsAndResetsLeaveNothingBehind) {
    // 50 series with intervals and both kinds of model; the run ends under LeakSanitizer.
    ProjectData data;
    for (int i = 0; i < 50; ++i) data.series.push_back(hourly("s" + std::to_string(i), 200, i));
    TFragment good(1, true, hourAt(10), hourAt(150));
    good.name = "Хороший";
    data.userFragments.push_back(good);
    data.staticModels.push_back(staticModel());
    data.dynamicModels.push_back(dynamicModel());
    ASSERT_TRUE(QDir().mkpath(dir.path() + "/big"));
    ASSERT_TRUE(writeProjectFolder(data, path("big"), "big").ok);
    for (int cycle = 0; cycle < 10; ++cycle) {
        prompter.openAnswers = {path("big/big.prj")};
        form.N3Click();
        ASSERT_EQ(project().seriesCount(), 50) << cycle;
        EXPECT_EQ(project().numOfFragments(), 1);
        EXPECT_EQ(form.seriesTree()->topLevelItemCount(), 50);
        form.N2Click();
        EXPECT_EQ(project().seriesCount(), 0);
        EXPECT_EQ(form.fragmentsChart->numOfFragments(), 0);
        EXPECT_EQ(form.staticModelTree()->topLevelItemCount(), 0);
    }
    EXPECT_FALSE(prompter.record.entries.empty());  // the open project was asked about, nothing else
    for (const auto& e : prompter.record.entries) EXPECT_EQ(e.kind, Kind::Confirmation) << e.text;
}

// A damaged project folder: "Загрузить" reports the file and line it could not read and
// leaves the project unbound, so "Сохранить" asks for a new folder and the folder it could not
// read whole stays as it was.
TEST_F(ProjectWindow, DamagedProjectFileIsReportedAndNeverWrittenOver) {
    ProjectData data;
    data.series.push_back(hourly("a", 48, 0));
    TFragment good(1, true, hourAt(10), hourAt(30));
    good.name = "Хороший";
    TFragment bad(0, hourAt(15), hourAt(20));
    bad.name = "Плохой";
    data.userFragments = {good, bad};
    data.staticModels.push_back(staticModel());
    // The .prj: 1 "*series", 2 "a;", 3 "*", 4 "*interval", 5 and 6 the intervals, 7 "*",
    // 8 "*staticmodel", 9 the model, 10 "*", 11 "*dynamicmodel", 12 "*".
    const std::string sm = "data/staticmodels/Модель расхода.sm";
    const std::string unlistedModel = "Файл \"{f}/" + sm + "\" не указан в файле проекта и не загружен";
    struct Case {
        const char* what;
        std::string file, from, to;
        std::vector<std::string> problems;  // {f} stands for the folder
        int points, intervals, staticModels;
    };
    const Case cases[] = {
        {"damaged interval section line", "p.prj", "*interval", "*intervals",
         {"Строки 4–7 файла проекта вне разделов не прочитаны (первая: \"*intervals\")"}, 48, 0, 1},
        {"stray star among the intervals", "p.prj", "Плохой;", "*\r\nПлохой;",
         {"Строки 7–8 файла проекта вне разделов не прочитаны (первая: \"Плохой;15.03.2023 15:00:00;15.03.2023 "
          "20:00:00;0;\")"},
         48, 1, 1},
        {"damaged model section line", "p.prj", "*staticmodel", "*staticmodeI",
         {"Строки 8–10 файла проекта вне разделов не прочитаны (первая: \"*staticmodeI\")", unlistedModel}, 48, 2, 0},
        // A line break lost between two point lines: the point at 1:00 would be dropped unsaid
        // (both points of the joined line are left out now, and said).
        {"point lines joined", "data/series/a.ls", "0;\r\n15.03.2023 1:00:00;", "0;x15.03.2023 1:00:00;",
         {"Ряд \"a\": пропущено нечитаемых строк: 1 (первая — строка 3 файла \"{f}/data/series/a.ls\")"}, 46, 2, 1},
        {"interval lines joined", "p.prj", ";1;\r\nПлохой;", ";1;xПлохой;",
         {"Интервал в строке 5 файла проекта не прочитан: \"Хороший;15.03.2023 10:00:00;16.03.2023 6:00:00;1;"
          "xПлохой;15.03.2023 15:00:00;15.03.2023 20:00:00;0;\""},
         48, 0, 1},
        // One byte of "Модель" made a blank: read as Windows-1251 the name would be garbled.
        {"a bad byte in a UTF-8 model file", sm, "\xD0\x9C\xD0\xBE", "\xD0 \xD0\xBE",
         {"Статическая модель \"Модель расхода\" не загружена: в строке 1 есть байт, недопустимый в кодировке UTF-8 "
          "(\"{f}/" + sm + "\")"},
         48, 2, 0},
        {"a model line lost", "p.prj", "Модель расхода;\r\n", "", {unlistedModel}, 48, 2, 0},
    };
    for (const Case& c : cases) {
        const std::string folder = path(std::string("проект ") + std::to_string(&c - cases));
        ASSERT_TRUE(QDir().mkpath(QString::fromStdString(folder)));
        ASSERT_TRUE(writeProjectFolder(data, folder, "p").ok);
        std::string text = readBytes(folder + "/" + c.file);
        ASSERT_NE(text.find(c.from), std::string::npos) << c.what;
        text.replace(text.find(c.from), c.from.size(), c.to);
        writeBytes(folder + "/" + c.file, text);
        const auto before = fileTree(folder);

        ScriptedPrompter p;
        TForm1 w{TForm1Services{&p, nullptr, nullptr}};
        p.openAnswers = {folder + "/p.prj"};
        w.findChild<QAction*>("N3")->trigger();
        ASSERT_EQ(p.record.entries.size(), 1u) << c.what;
        EXPECT_EQ(p.record.entries[0].kind, Kind::Message);
        std::string expected = "Проект загружен не полностью:";
        for (std::string line : c.problems) {
            for (size_t pos; (pos = line.find("{f}")) != std::string::npos;) line.replace(pos, 3, folder);
            expected += "\n" + line;
        }
        expected += "\nПроект не связан с папкой: при сохранении он будет записан в новую папку.";
        EXPECT_EQ(p.record.entries[0].text, expected) << c.what;
        EXPECT_FALSE(w.project().projectAssign) << c.what;
        EXPECT_EQ(w.navigationNode(0)->text(0), QString("Данные")) << c.what;
        ASSERT_EQ(w.project().seriesCount(), 1) << c.what;
        EXPECT_EQ(w.project().seriesList[0]->Count(), c.points) << c.what;
        EXPECT_EQ(w.fragmentsChart->numOfFragments(), c.intervals) << c.what;
        EXPECT_EQ(w.project().statModelCount(), c.staticModels) << c.what;

        // "Сохранить" goes to a new folder through the save dialog; the damaged one is untouched.
        p.record.clear();
        p.saveAnswers = {folder + " копия.prj"};
        w.findChild<QAction*>("N5")->trigger();
        EXPECT_EQ(p.saveAsked, 1) << c.what;
        EXPECT_TRUE(p.record.entries.empty()) << c.what << ": " << p.record.texts().front();
        EXPECT_EQ(fileTree(folder), before) << c.what;
        EXPECT_EQ(w.project().projectSaveWay, folder + " копия") << c.what;
        EXPECT_TRUE(w.project().projectAssign) << c.what;
    }
}

// A save refused for a file that is not the project's leaves every file of the folder as it
// was, the leftovers of an earlier save included; once the folder is the project's again the
// save goes ahead and tidies those leftovers, while one that does not look like its own stops it.
TEST_F(ProjectWindow, RefusedSaveTouchesNothingInTheFolder) {
    namespace fs = std::filesystem;
    project().addSeries(hourly("a", 5, 0), false, true);
    prompter.saveAnswers = {path("p.prj")};
    form.findChild<QAction*>("N5")->trigger();
    const std::string folder = path("p");
    ASSERT_TRUE(project().projectAssign);
    ASSERT_EQ(project().projectSaveWay, folder);

    fs::copy(folder + "/data", folder + "/data.new", fs::copy_options::recursive);
    fs::copy(folder + "/p.prj", folder + "/p.prj.new");
    writeBytes(folder + "/data/series/заметки.txt", "не трогать");
    const auto before = fileTree(folder);
    project().addSeries(hourly("b", 5, 10), false, true);
    form.findChild<QAction*>("N5")->trigger();
    EXPECT_EQ(prompter.record.texts(),
              (std::vector<std::string>{"Папка \"" + folder + "/data\" содержит файлы, не принадлежащие проекту "
                                        "(\"series/заметки.txt\"); проект не сохранен. Сохраните его в новую папку."}));
    EXPECT_EQ(fileTree(folder), before);
    EXPECT_TRUE(project().projectAssign);
    EXPECT_EQ(prompter.saveAsked, 1);

    // The note taken away, the save goes ahead and the leftovers of a save are gone.
    fs::remove(folder + "/data/series/заметки.txt");
    prompter.record.clear();
    form.findChild<QAction*>("N5")->trigger();
    EXPECT_TRUE(prompter.record.entries.empty()) << prompter.record.texts().front();
    EXPECT_FALSE(fs::exists(folder + "/data.new"));
    EXPECT_FALSE(fs::exists(folder + "/p.prj.new"));
    EXPECT_EQ(readBytes(folder + "/p.prj"), "*series\r\na;\r\nb;\r\n*\r\n*interval\r\n*\r\n*staticmodel\r\n*\r\n"
                                            "*dynamicmodel\r\n*\r\n");

    // A data.new that holds a note is no leftover of a save: nothing is removed.
    writeBytes(folder + "/data.new/заметки.txt", "не трогать");
    const auto withNote = fileTree(folder);
    prompter.record.clear();
    form.findChild<QAction*>("N5")->trigger();
    EXPECT_EQ(prompter.record.texts(),
              (std::vector<std::string>{"В папке проекта \"" + folder + "\" есть \"data.new\", но это не остаток "
                                        "прерванного сохранения проекта: ничего не удалено, проект не сохранен. "
                                        "Сохраните его в новую папку."}));
    EXPECT_EQ(fileTree(folder), withNote);
}

TEST_F(ProjectWindow, LoadRefusesOtherFilesAndKeepsTheWork) {
    project().addSeries(hourly("a", 5, 0), false, true);
    struct Case {
        std::string file;
        Kind kind;
    };
    // Upper-case extension and a missing project file.
    const Case cases[] = {{path("p.PRJ"), Kind::Message}, {path("нет.prj"), Kind::Error}};
    for (const Case& c : cases) {
        prompter.record.clear();
        prompter.record.answers = {true};  // drop the unsaved series
        prompter.openAnswers = {c.file};
        form.N3Click();
        ASSERT_EQ(prompter.record.entries.size(), 2u) << c.file;
        EXPECT_EQ(prompter.record.entries[0].text, "Несохраненные данные будут потеряны. Продолжить?");
        EXPECT_EQ(prompter.record.entries[1].kind, c.kind);
        if (c.kind == Kind::Message) {
            EXPECT_EQ(prompter.record.entries[1].text, "Ошибка открытия файла");
        }
        EXPECT_EQ(project().seriesCount(), 1) << c.file;
        EXPECT_EQ(topLevelTexts(form.seriesTree()), (QStringList{"a"}));
    }
    // Cancel in the question: the dialog is not even opened.
    prompter.record.clear();
    prompter.record.answers = {false};
    const int asked = prompter.openAsked;
    form.N3Click();
    EXPECT_EQ(prompter.openAsked, asked);
}

TEST_F(ProjectWindow, QuestionsOnCloseAndNew) {
    struct Case {
        const char* what;
        bool bound;
        bool hasWork;
        bool answer;
        const char* question;  // null: none asked
        bool goesOn;
    };
    const Case cases[] = {
        {"empty, unbound", false, false, true, nullptr, true},
        {"bound, OK", true, false, true, "Открыт файл проекта. Несохраненные данные будут потеряны. Продолжить?", true},
        {"bound, Cancel", true, false, false, "Открыт файл проекта. Несохраненные данные будут потеряны. Продолжить?",
         false},
        {"unsaved, Cancel", false, true, false, "Несохраненные данные будут потеряны. Продолжить?", false},
        {"unsaved, OK", false, true, true, "Несохраненные данные будут потеряны. Продолжить?", true},
    };
    for (const Case& c : cases) {
        for (int command = 0; command < 2; ++command) {
            ScriptedPrompter p;
            TForm1 w{TForm1Services{&p, nullptr, nullptr}};
            if (c.hasWork) w.project().addSeries(hourly("a", 3, 0), false, true);
            if (c.bound) {
                p.saveAnswers = {path(std::string("c") + std::to_string(&c - cases) + std::to_string(command) + ".prj")};
                ASSERT_TRUE(w.saveAsProject());
            }
            p.record.clear();
            p.record.answers = {c.answer};
            w.show();
            bool wentOn;
            if (command == 0) {
                wentOn = w.close();
            } else {
                w.N2Click();
                wentOn = !w.project().projectAssign && w.project().seriesCount() == 0;
                if (!c.bound && !c.hasWork) {
                    EXPECT_TRUE(wentOn);
                }
            }
            EXPECT_EQ(wentOn, c.goesOn) << c.what << " command " << command;
            if (c.question)
                EXPECT_EQ(p.record.texts(), (std::vector<std::string>{c.question})) << c.what;
            else
                EXPECT_TRUE(p.record.entries.empty()) << c.what;
            if (!c.goesOn) {
                EXPECT_EQ(w.project().projectAssign, c.bound);
                EXPECT_EQ(w.project().seriesCount(), c.hasWork ? 1 : 0);
            }
        }
    }
}

struct SeriesTree : ProjectWindow {
    void SetUp() override {
        for (const char* t : {"a", "b", "c"}) project().addSeries(hourly(t, 3, 0), false, true);
        form.resize(1000, 700);
        form.show();
        form.Image1Click();  // the panel open, so the tree has a size
        form.findChild<QTabWidget*>("PageControl6")->setCurrentIndex(0);
    }
    WorkspaceTree* tree() { return form.seriesTree(); }
    void click(int node, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTreeWidgetItem* item = tree()->topLevelItem(node);
        QTest::mouseClick(tree()->viewport(), Qt::LeftButton, mods, tree()->visualItemRect(item).center());
    }
};

TEST_F(SeriesTree, SelectionKeepsTheClickOrderAndDragsCarryIt) {
    click(2);
    click(0, Qt::ControlModifier);
    click(1, Qt::ControlModifier);
    EXPECT_EQ(form.selectedSeriesIndices(), (std::vector<int>{2, 0, 1}));
    EXPECT_EQ(form.selectedSeriesIndex(), 1);
    // The drag carries the ids in that order; they resolve to the same series.
    QModelIndexList indexes = tree()->selectionModel()->selectedIndexes();
    std::unique_ptr<QMimeData> mime(tree()->model()->mimeData(indexes));
    auto drag = decodeSeriesDrag(mime.get());
    ASSERT_TRUE(drag);
    EXPECT_EQ(form.seriesIndexOf(drag->primary), 1);
    std::vector<int> dragged;
    for (uint64_t id : drag->selected) dragged.push_back(form.seriesIndexOf(id));
    EXPECT_EQ(dragged, (std::vector<int>{2, 0, 1}));
    // A target resolves the drop to project indices; a series deleted meanwhile drops out.
    project().deleteSeries(0, true);
    auto dropped = form.droppedSeries(mime.get());
    ASSERT_TRUE(dropped);
    EXPECT_EQ(dropped->primary, 0);  // "b" moved to index 0
    EXPECT_EQ(dropped->selected, (std::vector<int>{1, 0}));
    QMimeData text;
    text.setText("b");
    EXPECT_FALSE(form.droppedSeries(&text));
    for (const char* t : {"a2"}) project().addSeries(hourly(t, 3, 0), false, true);
    // A plain click leaves one selected node.
    click(1);
    click(2, Qt::ControlModifier);
    click(2);
    EXPECT_EQ(form.selectedSeriesIndices(), (std::vector<int>{2}));
    EXPECT_EQ(tree()->selectedItems().size(), 1);
}

TEST_F(SeriesTree, DeleteOneAndAllAskFirst) {
    click(1);
    prompter.record.answers = {false};
    form.N15Click();
    EXPECT_EQ(prompter.record.texts(), (std::vector<std::string>{"Вы действительно хотите удалить ряд: b?"}));
    EXPECT_EQ(topLevelTexts(tree()), (QStringList{"a", "b", "c"}));
    prompter.record.answers = {true};
    form.N15Click();
    EXPECT_EQ(topLevelTexts(tree()), (QStringList{"a", "c"}));
    EXPECT_EQ(project().seriesCount(), 2);
    EXPECT_EQ(project().seriesList[1]->Title, "c");

    prompter.record.clear();
    prompter.record.answers = {false};
    form.N17Click();
    EXPECT_EQ(prompter.record.texts(), (std::vector<std::string>{"Вы действительно хотите удалить все ряды? "}));
    EXPECT_EQ(project().seriesCount(), 2);
    prompter.record.answers = {true};
    form.N17Click();
    EXPECT_EQ(project().seriesCount(), 0);
    EXPECT_EQ(tree()->topLevelItemCount(), 0);
    // On an empty tree nothing is asked.
    prompter.record.clear();
    form.N17Click();
    EXPECT_TRUE(prompter.record.entries.empty());
    // With nothing selected, "Удалить ряд" does nothing.
    form.N15Click();
    EXPECT_TRUE(prompter.record.entries.empty());
}

TEST_F(SeriesTree, PopupFollowsTheSelectionAndTogglesTheLaboratoryFlag) {
    QMenu* menu = form.seriesMenu();
    form.PopupMenuSeriesPopup();
    for (QAction* a : menu->actions()) EXPECT_FALSE(a->isVisible()) << a->objectName().toStdString();

    // A right click selects the node under the mouse.
    const QPoint at = tree()->visualItemRect(tree()->topLevelItem(2)).center();
    form.TreeView1ContextPopup(tree(), at);
    menu->hide();
    EXPECT_EQ(form.selectedSeriesIndex(), 2);
    QAction* N16 = form.findChild<QAction*>("N16");
    for (QAction* a : menu->actions()) EXPECT_TRUE(a->isVisible());
    EXPECT_FALSE(N16->isChecked());
    EXPECT_EQ((QStringList{N16->text(), form.findChild<QAction*>("N15")->text(),
                           form.findChild<QAction*>("N17")->text(), form.findChild<QAction*>("N18")->text()}),
              (QStringList{"Лабораторный анализ", "Удалить ряд", "Удалить все ряды", "Выполнить сдвиг"}));

    form.N16Click();
    EXPECT_TRUE(project().seriesList[2]->labRow);
    EXPECT_EQ(nodePictures(tree()), (QList<int>{3, 3, 2}));
    // The rebuild dropped the selection; select again and the tick follows the flag.
    click(2);
    form.PopupMenuSeriesPopup();
    EXPECT_TRUE(N16->isChecked());
    form.N16Click();
    EXPECT_EQ(nodePictures(tree()), (QList<int>{3, 3, 3}));

    // A right click on empty space with nothing selected opens an empty menu.
    tree()->clearSelection();
    form.TreeView1ContextPopup(tree(), QPoint(5, tree()->viewport()->height() - 3));
    menu->hide();
    for (QAction* a : menu->actions()) EXPECT_FALSE(a->isVisible());
}

TEST_F(SeriesTree, AClickInAModelTreeWithoutCtrlLeavesOneSeriesSelected) {
    project().addStaticModel(staticModel(), true);
    click(0);
    click(2, Qt::ControlModifier);
    ASSERT_EQ(form.selectedSeriesIndices(), (std::vector<int>{0, 2}));
    WorkspaceTree* models = form.staticModelTree();
    form.findChild<QTabWidget*>("PageControl6")->setCurrentIndex(1);
    const QPoint onModel = models->visualItemRect(models->topLevelItem(0)).center();
    // With Ctrl held the series keep their selection.
    QTest::mouseClick(models->viewport(), Qt::LeftButton, Qt::ControlModifier, onModel);
    EXPECT_EQ(form.selectedSeriesIndices(), (std::vector<int>{0, 2}));
    // A plain click keeps only the primary series, the one clicked last.
    QTest::mouseClick(models->viewport(), Qt::LeftButton, Qt::NoModifier, onModel);
    EXPECT_EQ(form.selectedSeriesIndices(), (std::vector<int>{2}));
    EXPECT_EQ(form.selectedSeriesIndex(), 2);
    // One selected series stays as it is.
    form.TreeView1Changing(Qt::NoModifier);
    EXPECT_EQ(form.selectedSeriesIndices(), (std::vector<int>{2}));
}

TEST_F(SeriesTree, IdsOfDeletedSeriesResolveToNothing) {
    const uint64_t idB = form.seriesIdAt(1);
    const uint64_t idC = form.seriesIdAt(2);
    ASSERT_NE(idB, 0u);
    project().deleteSeries(1, true);
    EXPECT_EQ(form.seriesIndexOf(idB), -1);
    EXPECT_EQ(form.seriesById(idB), nullptr);
    EXPECT_EQ(form.seriesIndexOf(idC), 1);
    project().addSeries(hourly("b", 3, 0), false, true);
    EXPECT_EQ(form.seriesIndexOf(idB), -1);
    EXPECT_NE(form.seriesIdAt(2), idB);
    project().deleteAllSeries();
    EXPECT_EQ(form.seriesIndexOf(idC), -1);
    EXPECT_EQ(form.selectedSeriesIndex(), -1);
}

TEST_F(ProjectWindow, LeavingTheFragmentPageCopiesTheIntervalsOnce) {
    project().addSeries(hourly("a", 48, 0), false, true);
    form.setActivePage(4);
    form.fragmentsChart->addFragment("И", 1, hourAt(2), hourAt(5));
    EXPECT_TRUE(project().needCalcFragment);
    form.setActivePage(7);
    EXPECT_FALSE(project().needCalcFragment);
    ASSERT_EQ(project().numOfFragments(), 1);
    EXPECT_EQ(project().userFragments.size(), 1u);
    EXPECT_EQ(project().fragmentsSeriesList[0][0]->Count(), 4);
}

}  // namespace
