// The fragment page end to end: series dropped from the workspace tree, a good and a bad
// interval marked by dragging, a series split into equal intervals, the project's usable
// intervals after the copy, an interval edited, shown and deleted. Expected texts and
// times are written out by hand (one pixel column is one minute of the chart).
#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimeEdit>
#include <QToolButton>

#include "ui/pages/fragments/FragmentPageSupport.h"
#include "ui/pages/fragments/TForm11.h"
#include "ui/pages/fragments/TForm6.h"

namespace {

using Row = std::vector<std::string>;

TEST_F(FragmentPageFixture, MarkSplitEditShowDelete) {
    // Twelve series; the first has 95 points, one a minute from 15.03.2023 00:00.
    addMinuteSeries("Расход", 95, 100);
    for (int i = 1; i < 12; ++i) addMinuteSeries("Параметр " + std::to_string(i), 120, 1000.0 * i);

    // --- Drops: three, then eight more of which seven fit ---
    ASSERT_TRUE(drop(chart, {0, 1, 2}));
    ASSERT_EQ(chart->seriesCount(), 3);
    EXPECT_EQ(chart->curSeries(), 2);
    EXPECT_EQ(page->stringgridGraphScale->rowCount(), 4);
    EXPECT_EQ(scaleRow(0), (Row{"Имя", "YMin", "YMax"}));
    EXPECT_EQ(scaleRow(1), (Row{"Расход", "100", "106"}));
    EXPECT_EQ(scaleRow(3), (Row{"Параметр 2", "2000", "2006"}));
    // The third series shows 2003 at 50 on the shared band.
    EXPECT_DOUBLE_EQ(chart->toDisplay(2, 2003), 50.0);
    ASSERT_TRUE(drop(chart, {3, 4, 5, 6, 7, 8, 9, 10}));
    ASSERT_EQ(chart->seriesCount(), 10);
    EXPECT_EQ(chart->series(9).Title, "Параметр 9");
    EXPECT_EQ(page->stringgridGraphScale->rowCount(), 11);

    // --- A good interval 5..40 min, then a bad one 20..25 min, by dragging ---
    minutePerPixel();
    page->SpeedButton8->click();
    drag(5, 40);
    page->SpeedButton7->click();
    drag(25, 20);
    ASSERT_EQ(chart->numOfFragments(), 2);
    EXPECT_EQ(page->StringGrid6->rowCount(), 3);
    EXPECT_EQ(gridRow(0), (Row{"Имя интервала", "Начальное значение", "Конечное значение", "Тип"}));
    EXPECT_EQ(gridRow(1), (Row{"Интервал 1", "15.03.2023 00:05:00", "15.03.2023 00:40:00", "Хороший"}));
    EXPECT_EQ(gridRow(2), (Row{"Интервал 2", "15.03.2023 00:20:00", "15.03.2023 00:25:00", "Плохой"}));
    EXPECT_EQ(bandColourAt(22), QColor(0xFF, 0xB3, 0xBE));  // the bad band over the good one
    EXPECT_EQ(bandColourAt(30), QColor(0xC6, 0xFF, 0xD9));
    EXPECT_EQ(bandColourAt(60), QColor(Qt::white));

    // --- Split the 95-point series into intervals of 10 points: one change ---
    QSignalSpy changes(chart, &TSmartChart::OnChangeFragments);
    page->runForm11 = [](TForm11& d) {
        EXPECT_EQ(d.Edit1->text(), "9");  // 95 div 10
        EXPECT_EQ(d.ComboBox1->currentText(), "Расход");
        d.Edit1->setText("10");
        return true;
    };
    page->SpeedButton9->click();
    EXPECT_EQ(changes.count(), 1);
    ASSERT_EQ(chart->numOfFragments(), 12);
    EXPECT_EQ(gridRow(3), (Row{"Интервал 3", "15.03.2023", "15.03.2023 00:09:00", "Хороший"}));
    EXPECT_EQ(gridRow(11), (Row{"Интервал 11", "15.03.2023 01:20:00", "15.03.2023 01:29:00", "Хороший"}));
    EXPECT_EQ(gridRow(12), (Row{"Интервал 12", "15.03.2023 01:30:00", "15.03.2023 01:34:00", "Хороший"}));
    EXPECT_TRUE(form.project().needCalcFragment);

    // --- The project's usable intervals: the bad one cut out of the good ones, by start ---
    form.loadFragments();
    const struct {
        const char* name;
        double from, to;
    } usable[] = {{"Интервал 3", 0, 9},        {"Интервал 1", 5, 20},  {"Интервал 4", 10, 19},
                  {"Интервал 5_cutL", 25, 29}, {"Интервал 1+", 25, 40}, {"Интервал 6", 30, 39},
                  {"Интервал 7", 40, 49},      {"Интервал 8", 50, 59},  {"Интервал 9", 60, 69},
                  {"Интервал 10", 70, 79},     {"Интервал 11", 80, 89}, {"Интервал 12", 90, 94}};
    const TProject& project = form.project();
    ASSERT_EQ(project.fragments.size(), std::size(usable));
    for (size_t i = 0; i < std::size(usable); ++i) {
        EXPECT_EQ(project.fragments[i].name, usable[i].name) << i;
        EXPECT_NEAR(static_cast<double>(project.fragments[i].startPoint), kDay0 + usable[i].from * kMinute, 1e-9) << i;
        EXPECT_NEAR(static_cast<double>(project.fragments[i].endPoint), kDay0 + usable[i].to * kMinute, 1e-9) << i;
    }
    EXPECT_EQ(project.userFragments.size(), 12u);

    // --- Edit interval 2: good, 00:21:00 .. 00:26:00 ---
    page->StringGrid6->setRow(2);
    page->PopupMenuFragments->findChild<QAction*>("N12")->trigger();
    TForm6& editor = *page->form6();
    EXPECT_TRUE(editor.isVisible());
    EXPECT_EQ(editor.windowTitle(), "Редактирование фрагмента: Интервал 2");
    EXPECT_EQ(editor.Edit1->text(), "Интервал 2");
    EXPECT_EQ(editor.DateTimePicker3->date(), QDate(2023, 3, 15));
    EXPECT_EQ(editor.DateTimePicker1->time(), QTime(0, 20));
    EXPECT_EQ(editor.DateTimePicker2->time(), QTime(0, 25));
    EXPECT_EQ(editor.ComboBox1->currentText(), "Плохой");
    editor.ComboBox1->setCurrentIndex(1);
    EXPECT_EQ(editor.Panel1->palette().color(QPalette::Window), QColor(0xC6, 0xFF, 0xD9));
    editor.DateTimePicker1->setTime(QTime(0, 21));
    editor.DateTimePicker2->setTime(QTime(0, 26));
    editor.Button1->click();
    EXPECT_TRUE(editor.isVisible());
    EXPECT_EQ(gridRow(2), (Row{"Интервал 2", "15.03.2023 00:21:00", "15.03.2023 00:26:00", "Хороший"}));
    EXPECT_EQ(chart->fragment(1).color, 0x00D9FFC6);
    EXPECT_DOUBLE_EQ(static_cast<double>(chart->fragment(1).startPoint), kDay0 + 21 * kMinute);
    editor.hide();

    // --- Show it: a tenth of its five minutes either side ---
    page->PopupMenuFragments->findChild<QAction*>("N13")->trigger();
    const TAxisRange shown = chart->bottomEnds();
    EXPECT_NEAR(shown.lower, kDay0 + 20.5 * kMinute, 1e-9);
    EXPECT_NEAR(shown.upper, kDay0 + 26.5 * kMinute, 1e-9);

    // --- Delete one, then all; menu actions without a chosen row do nothing but "delete all" ---
    page->StringGrid6->setRow(1);
    page->PopupMenuFragments->findChild<QAction*>("N11")->trigger();
    ASSERT_EQ(chart->numOfFragments(), 11);
    EXPECT_EQ(page->StringGrid6->rowCount(), 12);
    EXPECT_EQ(gridRow(1)[0], "Интервал 2");
    page->StringGrid6->setRow(0);
    for (const char* item : {"N13", "N12", "N11"}) page->PopupMenuFragments->findChild<QAction*>(item)->trigger();
    EXPECT_EQ(chart->numOfFragments(), 11);
    page->PopupMenuFragments->findChild<QAction*>("N14")->trigger();
    EXPECT_EQ(chart->numOfFragments(), 0);
    EXPECT_EQ(page->StringGrid6->rowCount(), 1);
    form.loadFragments();
    EXPECT_TRUE(form.project().fragments.empty());
    EXPECT_TRUE(form.project().userFragments.empty());
    EXPECT_TRUE(prompter.record.entries.empty());
}

}  // namespace
