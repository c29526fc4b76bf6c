// The export, synchronisation and shift windows driven through their controls.
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimeEdit>
#include <QTest>

#include "support/Files.h"
#include "ui/PageTestSupport.h"
#include "ui/charts/FragmentChart.h"
#include "ui/mainwindow/TForm12.h"
#include "ui/mainwindow/TForm18.h"
#include "ui/mainwindow/TForm8.h"
#include "ui/mainwindow/WorkspaceTree.h"
#include "ui/widgets/SeriesListBox.h"

namespace {

struct SeriesDialogs : PageFixture {
    QTemporaryDir dir;
    // Day 45000 is 15.03.2023; points one minute apart.
    SeriesDialogs() {
        addSeries("A", {1, 2, 3, 4});
        addSeries("B", {10, 20, 30, 40});
    }
};

TEST_F(SeriesDialogs, ExportWritesTheChosenLayoutAndClosesAlsoOnCancel) {
    TForm8& d = *form.exportDialog();
    form.fragmentsChart->addFragment("I1", 1, 45000.0, 45000.0 + 1.5 / 1440);
    // A folder per series with one file per interval.
    prompter.saveAnswers.push_back(dir.filePath("out").toStdString());
    d.runModal = [](TForm8& f) {
        f.ListBox1->item(1)->setSelected(true);
        f.BitBtn1Click();
        f.CheckBox1->setChecked(false);
        f.CheckBox2->setChecked(true);
        f.Button2Click();
    };
    form.N4Click();
    EXPECT_EQ(readBytes(dir.filePath("out/B/B_I1.csv").toStdString()),
              "time;B_I1;\r\n15.03.2023;10;\r\n15.03.2023 00:01:00;20;\r\n");
    EXPECT_TRUE(prompter.record.entries.empty());
    EXPECT_EQ(prompter.lastSaveText.title, "Выбор папки для экспорта трендов");

    // One file with nothing chosen holds the header alone.
    prompter.saveAnswers.push_back(dir.filePath("empty").toStdString());
    d.runModal = [](TForm8& f) {
        f.CheckBox1->setChecked(true);
        f.CheckBox2->setChecked(false);
        f.Button2Click();
    };
    form.N4Click();
    EXPECT_EQ(readBytes(dir.filePath("empty.csv").toStdString()), "time\r\n");
    EXPECT_EQ(prompter.lastSaveText.title, "Экспорт .csv файла");

    // Cancel in the save dialog closes the export dialog too.
    d.runModal = [](TForm8& f) {
        f.show();
        f.Button2Click();
    };
    form.N4Click();
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(prompter.saveAsked, 3);
}

TEST_F(SeriesDialogs, OneFileExportAsksAboutTheFileItWrites) {
    TForm8& d = *form.exportDialog();
    d.runModal = [](TForm8& f) {
        f.BitBtn4Click();
        f.CheckBox1->setChecked(true);
        f.CheckBox2->setChecked(false);
        f.Button2->click();
    };
    const std::string joined = "time;A;B\r\n15.03.2023;1;10\r\n15.03.2023 00:01:00;2;20\r\n"
                               "15.03.2023 00:02:00;3;30\r\n15.03.2023 00:03:00;4;40\r\n";
    const std::string target = dir.filePath("data.csv").toStdString();
    writeBytes(target, "old");
    // "data" typed: the question names data.csv, the file written; "no" keeps it.
    prompter.record.answers = {false};
    prompter.saveAnswers.push_back(dir.filePath("data").toStdString());
    form.N4Click();
    EXPECT_EQ(prompter.record.texts(), std::vector<std::string>{"Файл \"data.csv\" уже существует. Заменить его?"});
    EXPECT_EQ(readBytes(target), "old");
    prompter.saveAnswers.push_back(dir.filePath("data").toStdString());
    form.N4Click();
    EXPECT_EQ(readBytes(target), joined);
    // ".csv" alone is written as ".csv", not ".csv.csv".
    prompter.record.clear();
    prompter.saveAnswers.push_back(dir.filePath(".csv").toStdString());
    form.N4Click();
    EXPECT_TRUE(prompter.record.entries.empty());
    EXPECT_EQ(readBytes(dir.filePath(".csv").toStdString()), joined);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), (QStringList{".csv", "data.csv"}));
}

TEST_F(SeriesDialogs, ArrowsAndDoubleClicksMoveSeriesInOrder) {
    addSeries("C", {5, 6, 7, 8});
    TForm8& d = *form.exportDialog();
    d.fill();
    d.BitBtn4Click();
    ASSERT_EQ(d.ListBox2->count(), 3);
    d.ListBox2->setCurrentRow(0);
    d.ListBox2DblClick();
    d.ListBox1->item(0)->setSelected(true);
    d.BitBtn1Click();
    ASSERT_EQ(d.chosenSeries().size(), 3u);
    EXPECT_EQ(d.chosenSeries()[0]->Title, "B");
    EXPECT_EQ(d.chosenSeries()[2]->Title, "A");
    d.BitBtn3Click();
    EXPECT_EQ(d.ListBox1->count(), 3);
}

TEST_F(SeriesDialogs, SynchronisationListsTakeDropsAndTheModesAsSpecified) {
    addSeries("Gap", {7, 8, 9}, 45000.0, 2.0 / 1440);  // misses the leading 0:01 and 0:03
    TForm18& s = *form.syncDialog();
    form.N27Click();
    ASSERT_TRUE(drop(s.ListBox1, {0, 1, 2}));
    ASSERT_TRUE(drop(s.ListBox1, {0, 1, 2}));
    EXPECT_EQ(s.ListBox1->count(), 3);
    ASSERT_TRUE(drop(s.ListBox2, {1}));
    ASSERT_TRUE(drop(s.ListBox2, {0}));
    ASSERT_EQ(s.ListBox2->count(), 1);
    EXPECT_EQ(s.ListBox2->item(0)->text(), QString("A"));

    // Hard mode: the follower that misses leading times fails, the others are added.
    s.RadioButton1->setChecked(true);
    s.Button1Click();
    EXPECT_EQ(prompter.record.entries.back().text, "Не синхронизированные ряды:\r\nGap;\r\n");
    EXPECT_EQ(form.project().seriesList[3]->Title, "A_s");
    EXPECT_EQ(form.project().seriesList[4]->Title, "B_s");
    EXPECT_EQ(form.project().seriesCount(), 5);

    // The leading series onto itself succeeds in every mode.
    for (QRadioButton* mode : {s.RadioButton1, s.RadioButton2, s.RadioButton3}) {
        form.N27Click();
        drop(s.ListBox1, {0});
        drop(s.ListBox2, {0});
        mode->setChecked(true);
        s.Button1Click();
        EXPECT_EQ(prompter.record.entries.back().text, "Ряды успешно синхронизированы!");
    }
    // Opening again empties the lists and keeps the options.
    form.N27Click();
    EXPECT_EQ(s.ListBox1->count(), 0);
    EXPECT_TRUE(s.RadioButton3->isChecked());
}

TEST_F(SeriesDialogs, ToleranceIsWholeDaysPlusTimeAndBadDaysChangeNothing) {
    TForm18& s = *form.syncDialog();
    s.edit2->setText("1");
    s.DateTimePicker1->setTime(QTime(0, 30, 0));
    EXPECT_DOUBLE_EQ(static_cast<double>(*s.tolerance()), 1.0 + 30.0 / 1440);
    form.N27Click();
    drop(s.ListBox1, {1});
    drop(s.ListBox2, {0});
    s.edit2->setText("");
    s.Button1Click();
    EXPECT_EQ(prompter.record.entries.back().text, "Допуск по времени: количество дней должно быть целым числом!");
    EXPECT_EQ(form.project().seriesCount(), 2);
    // Days beyond any integer are a tolerance wider than the data, not "not a whole number".
    QTest::keyClicks(s.edit2, "99999999999999999999");
    s.Button1->click();
    EXPECT_EQ(prompter.record.entries.back().text, "Ряды успешно синхронизированы!");
    EXPECT_EQ(form.project().seriesCount(), 3);
}

TEST_F(SeriesDialogs, InPlaceSynchronisationReachesTheFragmentSeries) {
    addSeries("Half", {100, 200}, 45000.0, 2.0 / 1440);  // times 0:00 and 0:02
    form.fragmentsChart->addFragment("I1", 1, 45000.0, 45000.0 + 3.5 / 1440);
    form.loadFragments();
    TForm18& s = *form.syncDialog();
    form.N27Click();
    drop(s.ListBox1, {2});
    drop(s.ListBox2, {0});
    s.CheckBox1->setChecked(false);
    s.RadioButton3->setChecked(true);  // gaps filled with the mean (150)
    s.Button1Click();
    const TStatisticSeries& half = *form.project().seriesList[2];
    ASSERT_EQ(half.Count(), 4);
    EXPECT_DOUBLE_EQ(half.mean, (100 + 150 + 200 + 150) / 4.0);
    form.loadFragments();
    EXPECT_EQ(form.project().fragmentsSeriesList[2][0]->Count(), 4);
}

TEST_F(SeriesDialogs, ShiftShowsTheCountAndAppliesOnlyAWholeNonZeroLag) {
    std::vector<double> hundred(100);
    for (int i = 0; i < 100; ++i) hundred[size_t(i)] = i;
    addSeries("H", hundred);
    form.seriesTree()->setCurrentItem(form.seriesTree()->topLevelItem(2));
    TForm12& d = *form.shiftDialog();
    std::string typed = "0";
    d.runModal = [&typed](TForm12& f) {
        EXPECT_EQ(f.windowTitle(), QString("H"));
        EXPECT_EQ(f.Label3->text(), QString("100"));
        EXPECT_EQ(f.Edit1->text(), QString("0"));
        f.Edit1->clear();
        QTest::keyClicks(f.Edit1, QString::fromStdString(typed));
        return true;
    };
    form.N18Click();
    EXPECT_EQ(form.project().seriesCount(), 3);
    typed = "-";
    form.N18Click();
    EXPECT_EQ(prompter.record.entries.back().text, "Сдвиг должен быть целым числом точек!");
    // A lag too long for an integer is longer than the series, not "not a whole number".
    for (const char* tooLong : {"99999999999", "-99999999999"}) {
        typed = tooLong;
        form.N18Click();
        EXPECT_EQ(prompter.record.entries.back().text, "Лаг не может быть больше колличества точек!") << tooLong;
    }
    EXPECT_EQ(form.project().seriesCount(), 3);
    typed = "2";
    d.CheckBox1->setChecked(true);
    form.N18Click();
    ASSERT_EQ(form.project().seriesCount(), 4);
    EXPECT_EQ(form.project().seriesList[3]->Title, "H/delay(2)");
    EXPECT_EQ(form.project().seriesList[3]->Count(), 98);
}

}  // namespace
