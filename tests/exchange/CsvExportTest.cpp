#include "exchange/CsvExport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <random>
#include <set>

#include "core/FileSystem.h"
#include "core/Project.h"
#include "core/StatisticSeries.h"
#include "exchange/WorkbookReader.h"
#include "core/TempDir.h"

namespace fs = std::filesystem;

namespace {

TDateTime at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
    return *encodeDateTime({y, mo, d, h, mi, s, ms});
}

// The times of the examples and their texts in the default formats.
const TDateTime t1 = at(2023, 3, 15);                   // 15.03.2023
const TDateTime t2 = at(2023, 3, 15, 8, 30, 0);         // 15.03.2023 08:30:00
const TDateTime t3 = at(2023, 3, 16, 0, 0, 0, 400);     // 16.03.2023 00:00:00,400

TStatisticSeries series(const std::string& title, std::vector<std::pair<double, double>> points) {
    TStatisticSeries s;
    s.Title = title;
    for (auto [x, y] : points) s.AddXY(x, y);
    return s;
}

// Every entry under a folder, as paths relative to it.
std::set<std::string> listing(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& e : fs::recursive_directory_iterator(dir)) names.insert(fs::relative(e.path(), dir).string());
    return names;
}

struct CsvExportTest : ::testing::Test {
    TempDir temp;
    const fs::path dir{temp.path};
    std::string path(const std::string& name) const { return (dir / name).string(); }
};

}  // namespace

TEST(CsvJoinTest, JoinedLayouts) {
    const auto A = series("A", {{t1, 1.5}, {t2, -2}});
    const auto B = series("B", {{t2, 0.1}, {t3, 1e-5}});
    const auto D = series("D", {{t1, 1}, {t1, 2}, {t2, 3}});
    const auto E = series("E", {{t1, 9}});
    const auto empty = series("Пусто", {});
    auto N = series("N", {{t1, 4}, {t2, 5}});
    N.SetNull(1);
    const auto Q = series("a;b \"c\"", {{t2, 7}});
    struct Case {
        const char* what;
        CsvSeriesList list;
        std::string text;
    };
    const Case cases[] = {
        {"two series", {&A, &B},
         "time;A;B\r\n"
         "15.03.2023;1,5;\r\n"
         "15.03.2023 08:30:00;-2;0,1\r\n"
         "16.03.2023 00:00:00,400;;1E-5\r\n"},
        {"list order decides the columns", {&B, &A},
         "time;B;A\r\n"
         "15.03.2023;;1,5\r\n"
         "15.03.2023 08:30:00;0,1;-2\r\n"
         "16.03.2023 00:00:00,400;1E-5;\r\n"},
        {"duplicate time on its own line", {&D, &E},
         "time;D;E\r\n"
         "15.03.2023;1;9\r\n"
         "15.03.2023;2;\r\n"
         "15.03.2023 08:30:00;3;\r\n"},
        {"series without points", {&empty, &A},
         "time;Пусто;A\r\n"
         "15.03.2023;;1,5\r\n"
         "15.03.2023 08:30:00;;-2\r\n"},
        {"only empty series", {&empty}, "time;Пусто\r\n"},
        {"empty list", {}, "time\r\n"},
        {"null point leaves its field empty", {&N, &E},
         "time;N;E\r\n"
         "15.03.2023;4;9\r\n"
         "15.03.2023 08:30:00;;\r\n"},
        {"title quoted", {&Q},
         "time;\"a;b \"\"c\"\"\"\r\n"
         "15.03.2023 08:30:00;7\r\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(joinedCsvText(c.list), c.text) << c.what;
}

TEST(CsvJoinTest, TimesJoinOnlyWhenExactlyEqual) {
    const double near = std::nextafter(t2, 1e9);  // the next representable time
    const auto A = series("A", {{t2, 1}});
    const auto B = series("B", {{near, 2}});
    EXPECT_EQ(joinedCsvText({&A, &B}),
              "time;A;B\r\n"
              "15.03.2023 08:30:00;1;\r\n"
              "15.03.2023 08:30:00;;2\r\n");
}

TEST(CsvJoinTest, OtherFormatsAndNotANumberTimesEnd) {
    const FormatSettings fs{'.', "yyyy-mm-dd", "h:nn"};
    const auto A = series("A", {{t1, 0.25}, {t2, 1e20}});
    EXPECT_EQ(joinedCsvText({&A}, fs),
              "time;A\r\n"
              "2023-03-15;0.25\r\n"
              "2023-03-15 8:30;1E20\r\n");
    // A time that is not a number must not stop the join from ending.
    const auto bad = series("X", {{std::nan(""), 1}, {t1, 2}});
    const auto B = series("B", {{t1, 3}});
    EXPECT_EQ(joinedCsvText({&bad, &B}),
              "time;X;B\r\n"
              "NAN;1;\r\n"
              "15.03.2023;2;3\r\n");
}

TEST(CsvJoinTest, SingleLayout) {
    auto A = series("A", {{t1, 1.5}, {t2, -2}, {t3, 0}});
    A.SetNull(2);
    EXPECT_EQ(singleCsvText(A),
              "time;A;\r\n"
              "15.03.2023;1,5;\r\n"
              "15.03.2023 08:30:00;-2;\r\n"
              "16.03.2023 00:00:00,400;;\r\n");
    EXPECT_EQ(singleCsvText(series("X/delay(2)", {})), "time;X/delay(2);\r\n");
    EXPECT_EQ(singleCsvText(series("p\"q", {{t1, 1}})), "time;\"p\"\"q\";\r\n15.03.2023;1;\r\n");
}

TEST_F(CsvExportTest, OneJoinedFileReplacesAnOldOne) {
    const auto A = series("A", {{t1, 1.5}, {t2, -2}});
    const auto B = series("B", {{t2, 0.1}, {t3, 1e-5}});
    writeBytes(dir / "all.csv", std::string(1000, 'x'));
    const auto r = writeSeriesCsv(path("all.csv"), {&A, &B});
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(readBytes(dir / "all.csv"),
              "time;A;B\r\n"
              "15.03.2023;1,5;\r\n"
              "15.03.2023 08:30:00;-2;0,1\r\n"
              "16.03.2023 00:00:00,400;;1E-5\r\n");
    EXPECT_EQ(r.files, std::vector<std::string>{path("all.csv")});
    EXPECT_EQ(listing(dir), std::set<std::string>{"all.csv"});

    ASSERT_TRUE(writeSeriesCsv(path("none.csv"), {}).ok);
    EXPECT_EQ(readBytes(dir / "none.csv"), "time\r\n");
}

TEST_F(CsvExportTest, OneFilePerSeries) {
    const auto A = series("A", {{t1, 1.5}, {t2, -2}});
    const auto B = series("B", {{t2, 0.1}});
    const auto shifted = series("X/delay(2)", {{t3, 3}});
    const auto twin = series("X_delay(2)", {{t3, 4}});
    const auto dots = series("..", {});
    const auto r = saveSeriesToCsv(path("out.csv"), {&A, &B, &shifted, &twin, &dots});
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.folder, path("out"));
    EXPECT_EQ(listing(dir), (std::set<std::string>{"out", "out/A.csv", "out/B.csv", "out/X_delay(2).csv",
                                                   "out/X_delay(2)(1).csv", "out/_...csv"}));
    EXPECT_EQ(readBytes(dir / "out/A.csv"), "time;A;\r\n15.03.2023;1,5;\r\n15.03.2023 08:30:00;-2;\r\n");
    EXPECT_EQ(readBytes(dir / "out/B.csv"), "time;B;\r\n15.03.2023 08:30:00;0,1;\r\n");
    // The file keeps the real title; only its name is made safe.
    EXPECT_EQ(readBytes(dir / "out/X_delay(2).csv"), "time;X/delay(2);\r\n16.03.2023 00:00:00,400;3;\r\n");
    EXPECT_EQ(readBytes(dir / "out/X_delay(2)(1).csv"), "time;X_delay(2);\r\n16.03.2023 00:00:00,400;4;\r\n");
    EXPECT_EQ(readBytes(dir / "out/_...csv"), "time;..;\r\n");
}

TEST_F(CsvExportTest, FolderNamesCountFromOneOrTwo) {
    const auto A = series("A", {{t1, 1}});
    fs::create_directory(dir / "out");
    fs::create_directory(dir / "out(1)");
    writeBytes(dir / "out(2)", "a file takes the name too");

    auto r = saveSeriesToCsv(path("out.csv"), {&A});
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.folder, path("out(3)"));
    r = saveFragmentsToCsv(path("out.txt"), {});
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.folder, path("out(4)"));
    EXPECT_TRUE(fs::is_empty(dir / "out(4)"));

    fs::create_directory(dir / "per");
    r = saveFragmentSeriesToCsv(path("per.csv"), {});
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.folder, path("per(2)"));
    EXPECT_TRUE(fs::is_empty(dir / "per(2)"));

    // A chosen name without extension and one with several dots.
    EXPECT_EQ(saveSeriesToCsv(path("plain"), {}).folder, path("plain"));
    EXPECT_EQ(saveSeriesToCsv(path("a.b.csv"), {}).folder, path("a.b"));
    // A name too long for a folder is cut.
    EXPECT_EQ(saveSeriesToCsv(path(std::string(300, 'n') + ".csv"), {}).folder, path(std::string(200, 'n')));
}

TEST_F(CsvExportTest, OneFilePerInterval) {
    const auto A1 = series("A_Интервал 1", {{t1, 1}, {t2, 2}});
    const auto B1 = series("B_Интервал 1", {{t2, 5}});
    const auto A2 = series("A_Name", {{t3, 3}});
    const auto B2 = series("B_Name", {});
    const auto A3 = series("A_Name", {});
    const auto B3 = series("B_Name", {});
    const std::vector<CsvIntervalFile> intervals = {
        {"Интервал 1", {&A1, &B1}},
        {"Name", {&A2, &B2}},
        {"Name", {&A3, &B3}},
        {"Name", {&A3, &B3}},
        {"a/b;c", {}},
    };
    const auto r = saveFragmentsToCsv(path("frag.csv"), intervals);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(listing(dir), (std::set<std::string>{"frag", "frag/Интервал 1.csv", "frag/Name.csv",
                                                   "frag/Name(1).csv", "frag/Name(2).csv", "frag/a_b;c.csv"}));
    EXPECT_EQ(readBytes(dir / "frag/Интервал 1.csv"),
              "time;A_Интервал 1;B_Интервал 1\r\n"
              "15.03.2023;1;\r\n"
              "15.03.2023 08:30:00;2;5\r\n");
    EXPECT_EQ(readBytes(dir / "frag/Name.csv"), "time;A_Name;B_Name\r\n16.03.2023 00:00:00,400;3;\r\n");
    EXPECT_EQ(readBytes(dir / "frag/Name(1).csv"), "time;A_Name;B_Name\r\n");
    EXPECT_EQ(readBytes(dir / "frag/a_b;c.csv"), "time\r\n");
    EXPECT_EQ(r.files.size(), 5u);
}

TEST_F(CsvExportTest, OneFolderPerSeriesWithOneFilePerInterval) {
    const auto A1 = series("A_I", {{t1, 1}, {t2, 2}});
    const auto A2 = series("A_I", {{t3, 3}});
    const auto A3 = series("A_J", {});
    const auto B1 = series("a/b_I", {{t2, -1}});
    const auto C1 = series("a_b_I", {{t2, -2}});
    const std::vector<CsvSeriesFolder> folders = {
        {"A", {&A1, &A2, &A3}},
        {"a/b", {&B1}},
        {"a_b", {&C1}},
    };
    fs::create_directory(dir / "out");
    const auto r = saveFragmentSeriesToCsv(path("out.csv"), folders);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.folder, path("out(2)"));
    EXPECT_EQ(listing(dir / "out(2)"),
              (std::set<std::string>{"A", "A/A_I.csv", "A/A_I(2).csv", "A/A_J.csv", "a_b", "a_b/a_b_I.csv",
                                     "a_b(2)", "a_b(2)/a_b_I.csv"}));
    EXPECT_EQ(readBytes(dir / "out(2)/A/A_I.csv"), "time;A_I;\r\n15.03.2023;1;\r\n15.03.2023 08:30:00;2;\r\n");
    EXPECT_EQ(readBytes(dir / "out(2)/A/A_I(2).csv"), "time;A_I;\r\n16.03.2023 00:00:00,400;3;\r\n");
    EXPECT_EQ(readBytes(dir / "out(2)/A/A_J.csv"), "time;A_J;\r\n");
    EXPECT_EQ(readBytes(dir / "out(2)/a_b/a_b_I.csv"), "time;a/b_I;\r\n15.03.2023 08:30:00;-1;\r\n");
    EXPECT_EQ(readBytes(dir / "out(2)/a_b(2)/a_b_I.csv"), "time;a_b_I;\r\n15.03.2023 08:30:00;-2;\r\n");
}

TEST_F(CsvExportTest, FailuresAreReportedWithThePathAndLoseNothing) {
    const auto A = series("A", {{t1, 1}});
    writeBytes(dir / "file", "old");
    struct Case {
        const char* what;
        std::string chosen;
        std::string failing;
    };
    const Case folderCases[] = {
        {"missing parent", path("missing/out.csv"), path("missing/out")},
        {"parent is a file", path("file/out.csv"), path("file/out")},
    };
    for (const auto& c : folderCases) {
        for (auto r : {saveSeriesToCsv(c.chosen, {&A}), saveFragmentsToCsv(c.chosen, {{"I", {&A}}}),
                       saveFragmentSeriesToCsv(c.chosen, {{"A", {&A}}})}) {
            EXPECT_FALSE(r.ok) << c.what;
            EXPECT_EQ(r.error.rfind("Не удалось создать папку \"" + c.failing + "\"", 0), 0u) << c.what << ": " << r.error;
            EXPECT_TRUE(r.files.empty());
        }
    }
    // A joined file that cannot be put in place: the folder is missing, or the path is a folder.
    fs::create_directory(dir / "taken.csv");
    writeBytes(dir / "taken.csv" / "inside", "keep");
    for (const std::string& target : {path("missing/all.csv"), path("taken.csv")}) {
        const auto r = writeSeriesCsv(target, {&A});
        EXPECT_FALSE(r.ok) << target;
        EXPECT_EQ(r.error.rfind("Не удалось записать файл \"" + target + "\"", 0), 0u) << r.error;
    }
    EXPECT_EQ(readBytes(dir / "taken.csv" / "inside"), "keep");
    EXPECT_EQ(readBytes(dir / "file"), "old");
    // Nothing was left behind: no temporary files, no folders.
    EXPECT_EQ(listing(dir), (std::set<std::string>{"file", "taken.csv", "taken.csv/inside"}));
}

TEST_F(CsvExportTest, AFailingFileStopsTheExportAndKeepsWhatWasWritten) {
    // A folder nested so deep that a file with a long name no longer fits in a path, while
    // short names still do.
    fs::path deep = dir;
    while (deep.string().size() < 3900) deep /= std::string(std::min<size_t>(200, 3930 - deep.string().size()), 'd');
    fs::create_directories(deep);
    const std::string longTitle(190, 'L');
    const auto A = series("A", {{t1, 1}});
    const auto Long = series(longTitle, {{t1, 2}});
    const auto C = series("C", {{t1, 3}});
    const auto r = saveSeriesToCsv((deep / "out.csv").string(), {&A, &Long, &C});
    EXPECT_FALSE(r.ok);
    const std::string failing = (deep / "out" / (longTitle + ".csv")).string();
    EXPECT_EQ(r.error.rfind("Не удалось записать файл \"" + failing + "\"", 0), 0u) << r.error;
    EXPECT_EQ(r.files, std::vector<std::string>{(deep / "out" / "A.csv").string()});
    EXPECT_EQ(readBytes(deep / "out" / "A.csv"), "time;A;\r\n15.03.2023;1;\r\n");
    EXPECT_EQ(listing(deep / "out"), std::set<std::string>{"A.csv"});
}

namespace {

// The join written the plain way, line by line with the plain conversions.
std::string plainJoin(const CsvSeriesList& list, const FormatSettings& fs) {
    std::string out = "time";
    for (auto* s : list) out += ";" + s->Title;
    out += "\r\n";
    std::vector<int> cur(list.size(), 0);
    for (;;) {
        int first = -1;
        for (size_t k = 0; k < list.size(); ++k)
            if (cur[k] < list[k]->Count() && (first < 0 || list[k]->XValue(cur[k]) < list[first]->XValue(cur[first])))
                first = static_cast<int>(k);
        if (first < 0) return out;
        const double t = list[first]->XValue(cur[first]);
        out += dateTimeToStr(t, fs);
        for (size_t k = 0; k < list.size(); ++k) {
            out += ";";
            if (cur[k] < list[k]->Count() && list[k]->XValue(cur[k]) == t) {
                if (!list[k]->IsNull(cur[k])) out += floatToStr(list[k]->YValue(cur[k]), fs);
                ++cur[k];
            }
        }
        out += "\r\n";
    }
}

}  // namespace

TEST(CsvJoinTest, LongJoinsAgreeWithThePlainJoin) {
    // Thousands of lines, so the join is cut into blocks: series on shared and own time
    // grids, with repeated times, gaps, empty series and points beyond the others' ends.
    std::mt19937 rng(5);
    std::normal_distribution<double> value(50, 12);
    std::uniform_int_distribution<int> pick(0, 9);
    std::vector<TStatisticSeries> all(7);
    for (size_t k = 0; k < all.size(); ++k) {
        auto& s = all[k];
        s.Title = "S" + std::to_string(k);
        if (k == 3) continue;
        const int n = 9000 + 1500 * static_cast<int>(k);
        for (int i = 0; i < n; ++i) {
            const double t = 45000.0 + (k % 2 == 0 ? i : i * 2 + static_cast<int>(k)) / 1440.0;
            s.AddXY(t, value(rng));
            if (pick(rng) == 0) s.SetNull(s.Count() - 1);
            if (pick(rng) == 1) s.AddXY(t, value(rng));
        }
    }
    CsvSeriesList list;
    for (const auto& s : all) list.push_back(&s);
    for (const FormatSettings& fs : {FormatSettings::russian(), FormatSettings{'.', "yyyy-mm-dd", "h:nn:ss"}}) {
        const std::string expected = plainJoin(list, fs);
        ASSERT_EQ(joinedCsvText(list, fs), expected);
    }
    const CsvSeriesList one{&all[0]};
    EXPECT_EQ(joinedCsvText(one), plainJoin(one, FormatSettings()));
}

TEST_F(CsvExportTest, ManyFilesAgreeWithTheirTexts) {
    std::vector<TStatisticSeries> all(23);
    CsvSeriesList list;
    std::set<std::string> names{"out"};
    for (size_t k = 0; k < all.size(); ++k) {
        all[k].Title = "S" + std::to_string(k % 20);
        for (int i = 0; i < 3000; ++i) all[k].AddXY(45000.0 + i / 86400.0, k * 1000.0 + i / 7.0);
        list.push_back(&all[k]);
    }
    const auto r = saveSeriesToCsv(path("out.csv"), list);
    ASSERT_TRUE(r.ok) << r.error;
    ASSERT_EQ(r.files.size(), all.size());
    for (size_t k = 0; k < all.size(); ++k) {
        const std::string name = "S" + std::to_string(k % 20) + (k >= 20 ? "(1)" : "") + ".csv";
        EXPECT_EQ(r.files[k], path("out/" + name));
        EXPECT_EQ(readBytes(dir / "out" / name), singleCsvText(all[k])) << name;
        names.insert("out/" + name);
    }
    EXPECT_EQ(listing(dir), names);
}

namespace {

// A project with series A and B and two intervals, its fragment series computed.
struct ExportProject {
    TProject project;
    ExportProject() {
        project.addSeries(series("A", {{t1, 1}, {t2, 2}, {t3, 3}}), false, false);
        project.addSeries(series("B", {{t2, 20}, {t3, 30}}), false, false);
        TFragment first(1, t1, t2);
        first.name = "Интервал 1";
        TFragment second(1, t3, t3 + 1);
        second.name = "Интервал 2";
        project.fragments = {first, second};
        project.needCalcFragment = true;
        project.calcFragmentsSeries();
    }
    const TStatisticSeries* operator[](int i) const { return project.seriesList[static_cast<size_t>(i)].get(); }
};

}  // namespace

TEST_F(CsvExportTest, ProjectIntervalsOneFilePerInterval) {
    ExportProject p;
    const auto r = saveFragmentsToCsv(path("i.csv"), p.project, {p[1], p[0]});
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(listing(dir), (std::set<std::string>{"i", "i/Интервал 1.csv", "i/Интервал 2.csv"}));
    EXPECT_EQ(readBytes(dir / "i/Интервал 1.csv"),
              "time;B_Интервал 1;A_Интервал 1\r\n"
              "15.03.2023;;1\r\n"
              "15.03.2023 08:30:00;20;2\r\n");
    EXPECT_EQ(readBytes(dir / "i/Интервал 2.csv"),
              "time;B_Интервал 2;A_Интервал 2\r\n"
              "16.03.2023 00:00:00,400;30;3\r\n");
    // An empty choice still writes one file per interval with the header alone.
    const auto none = saveFragmentsToCsv(path("n.csv"), p.project, {});
    ASSERT_TRUE(none.ok) << none.error;
    EXPECT_EQ(readBytes(dir / "n/Интервал 1.csv"), "time\r\n");
}

TEST_F(CsvExportTest, ProjectIntervalsOneFolderPerSeries) {
    ExportProject p;
    const auto r = saveFragmentSeriesToCsv(path("s.csv"), p.project, {p[1]});
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(listing(dir), (std::set<std::string>{"s", "s/B", "s/B/B_Интервал 1.csv", "s/B/B_Интервал 2.csv"}));
    EXPECT_EQ(readBytes(dir / "s/B/B_Интервал 1.csv"), "time;B_Интервал 1;\r\n15.03.2023 08:30:00;20;\r\n");
    EXPECT_EQ(readBytes(dir / "s/B/B_Интервал 2.csv"), "time;B_Интервал 2;\r\n16.03.2023 00:00:00,400;30;\r\n");
}

TEST_F(CsvExportTest, ProjectIntervalsRefusedWhenOutOfDate) {
    struct Case {
        const char* what;
        std::function<void(ExportProject&)> change;
        bool foreign;
        std::string error;
    };
    const TStatisticSeries stranger = series("Z", {{t1, 1}});
    const Case cases[] = {
        {"series not in the project", [](ExportProject&) {}, true, "Ряд \"Z\" не найден в проекте."},
        {"series added since", [](ExportProject& p) { p.project.addSeries(series("C", {}), false, false); }, false,
         "Ряды по интервалам не рассчитаны: обновите интервалы проекта."},
        {"intervals changed since",
         [](ExportProject& p) { p.project.fragments.push_back(TFragment(1, t1, t3)); }, false,
         "Ряды по интервалам не рассчитаны: обновите интервалы проекта."},
    };
    for (const auto& c : cases) {
        ExportProject p;
        c.change(p);
        const CsvSeriesList chosen = c.foreign ? CsvSeriesList{p[0], &stranger} : CsvSeriesList{p[0]};
        for (const auto& r : {saveFragmentsToCsv(path("x.csv"), p.project, chosen),
                              saveFragmentSeriesToCsv(path("x.csv"), p.project, chosen)}) {
            EXPECT_FALSE(r.ok) << c.what;
            EXPECT_EQ(r.error, c.error) << c.what;
        }
        EXPECT_TRUE(fs::is_empty(dir)) << c.what;
    }
}

TEST_F(CsvExportTest, FolderNumbersFromTwoUpToTheBound) {
    for (const char* name : {"b", "b(2)", "b(3)"}) fs::create_directory(dir / name);
    std::string error;
    EXPECT_FALSE(createUniqueFolder(path("b"), 3, &error, 2));
    EXPECT_EQ(error, "Не удалось создать папку \"" + path("b") + "\": все имена от (2) до (3) заняты");
    EXPECT_EQ(createUniqueFolder(path("b"), 4, &error, 2), path("b(4)"));
}

TEST_F(CsvExportTest, ExportsReadBackAsTheSameTable) {
    // The data page reads text tables: an export, quoted titles included, comes back cell
    // for cell.
    auto A = series("Расход; т/ч", {{t1, 1.5}, {t2, -2}});
    const auto B = series("say \"hi\"", {{t2, 0.1}});
    ASSERT_TRUE(writeSeriesCsv(path("all.csv"), {&A, &B}).ok);
    const auto read = readWorkbook(path("all.csv"));
    ASSERT_TRUE(read.ok()) << read.detail;
    const std::vector<std::vector<std::string>> expected = {
        {"time", "Расход; т/ч", "say \"hi\""},
        {"15.03.2023", "1,5", ""},
        {"15.03.2023 08:30:00", "-2", "0,1"},
    };
    ASSERT_EQ(read.cells.rowCount(), 3);
    ASSERT_EQ(read.cells.columnCount(), 3);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) EXPECT_EQ(read.cells.text(r, c), expected[r][c]) << r << "," << c;
}
