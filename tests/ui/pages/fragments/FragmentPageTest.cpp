// The fragment page's controls one by one: modes, the whole range, zoom and scroll, legend
// clicks, the split dialog's bad input, the editor's refusals, the scale grid, clearing the
// chart, and intervals drawn again after a project load. Expected ranges are worked out by
// hand from the button factors.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimeEdit>
#include <QToolButton>

#include "core/ProjectFolder.h"
#include "ui/charts/ChartTestSupport.h"
#include "ui/pages/fragments/FragmentPageSupport.h"
#include "ui/pages/fragments/TForm11.h"
#include "ui/pages/fragments/TForm6.h"

namespace {

const char* const kBadCount = "Количество точек в интервале должно быть целым числом. Интервалы не созданы.";

TEST(IntervalTimeText, ShortDateAndWholeSeconds) {
    const double second = 1.0 / 86400;
    const struct {
        double t;
        const char* text;
    } cases[] = {
        {kDay0, "15.03.2023"},                                 // exactly midnight: the date alone
        {kDay0 + 0.25, "15.03.2023 06:00:00"},
        {kDay0 + 0.5 + 0.7 * second, "15.03.2023 12:00:00"},  // fractions of a second left out
        {kDay0 + 0.5 * second, "15.03.2023"},                 // reads midnight to the second
        {kDay0 + 1 - 0.0004 * second, "16.03.2023"},           // rounds to the next midnight
    };
    for (const auto& c : cases) EXPECT_EQ(intervalTimeText(c.t, FormatSettings::russian()), c.text) << c.text;
}

TEST_F(FragmentPageFixture, ModesKeepOneButtonDown) {
    EXPECT_TRUE(page->SpeedButton6->isChecked());
    EXPECT_FALSE(chart->fragmentsOn());
    EXPECT_TRUE(chart->zoomEnabled());
    const struct {
        QToolButton* button;
        bool marking;
        uint8_t type;
    } steps[] = {{page->SpeedButton7, true, 0}, {page->SpeedButton8, true, 1}, {page->SpeedButton6, false, 1},
                 {page->SpeedButton7, true, 0}, {page->SpeedButton7, true, 0}};
    for (const auto& s : steps) {
        s.button->click();
        const int down = page->SpeedButton6->isChecked() + page->SpeedButton7->isChecked() + page->SpeedButton8->isChecked();
        EXPECT_EQ(down, 1);
        EXPECT_TRUE(s.button->isChecked()) << s.button->objectName().toStdString();
        EXPECT_EQ(chart->fragmentsOn(), s.marking);
        EXPECT_EQ(chart->zoomEnabled(), !s.marking);
        EXPECT_EQ(chart->typeOfCurFragments(), s.type);
    }
}

TEST_F(FragmentPageFixture, WholeRangeOfTheFirstSeries) {
    page->SpeedButton1->click();  // no series: nothing
    EXPECT_EQ(chart->numOfFragments(), 0);
    addMinuteSeries("Короткий", 30, 1);
    addMinuteSeries("Длинный", 120, 1);
    ASSERT_TRUE(drop(chart, {1, 0}));
    page->SpeedButton7->click();
    page->SpeedButton1->click();
    ASSERT_EQ(chart->numOfFragments(), 1);
    EXPECT_EQ(chart->fragment(0).typeOfFragments(), 1);
    EXPECT_DOUBLE_EQ(static_cast<double>(chart->fragment(0).endPoint), kDay0 + 119 * kMinute);
    EXPECT_FALSE(chart->fragmentsOn());
    EXPECT_TRUE(page->SpeedButton7->isChecked());
    EXPECT_EQ(chart->typeOfCurFragments(), 1);
}

TEST_F(FragmentPageFixture, ZoomAndScrollButtons) {
    addMinuteSeries("Ряд", 120, 1);  // 0 .. 119 min
    ASSERT_TRUE(drop(chart, {0}));
    const struct {
        std::vector<const char*> buttons;
        double bottomFrom, bottomTo;  // minutes
        double leftFrom, leftTo;
    } cases[] = {
        {{"BitBtn5"}, 10, 50, 0, 100},
        {{"BitBtn9"}, 10, 72.5, 0, 100},
        {{"BitBtn9", "BitBtn5"}, 10, 60, 0, 100},
        {{"BitBtn10"}, 10, 60, 0, 80},
        {{"BitBtn11"}, 10, 60, 0, 120},
        {{"BitBtn10", "BitBtn11"}, 10, 60, 0, 96},
        {{"BitBtn11", "BitBtn13"}, 10, 60, 0, 100},
        {{"SpeedButton2"}, -15, 35, 0, 100},
        {{"SpeedButton4"}, 35, 85, 0, 100},
        {{"SpeedButton3"}, 0, 60, 0, 100},
        {{"SpeedButton5"}, 10, 119, 0, 100},
        {{"BitBtn12"}, 0, 119, 0, 100},
    };
    for (const auto& c : cases) {
        chart->bottomAxisState().setMinMax(kDay0 + 10 * kMinute, kDay0 + 60 * kMinute);
        chart->leftAxisState().setMinMax(0, 100);
        std::string what;
        for (const char* b : c.buttons) {
            page->findChild<QToolButton*>(b)->click();
            what += std::string(b) + " ";
        }
        const TAxisRange bottom = chart->bottomEnds(), left = chart->leftEnds();
        EXPECT_NEAR((bottom.lower - kDay0) / kMinute, c.bottomFrom, 1e-6) << what;
        EXPECT_NEAR((bottom.upper - kDay0) / kMinute, c.bottomTo, 1e-6) << what;
        EXPECT_NEAR(left.lower, c.leftFrom, 1e-9) << what;
        EXPECT_NEAR(left.upper, c.leftTo, 1e-9) << what;
    }
}

TEST_F(FragmentPageFixture, LegendClicksChooseTheCurrentSeries) {
    for (int i = 0; i < 3; ++i) addMinuteSeries("Ряд " + std::to_string(i + 1), 50, 10.0 * i);
    ASSERT_TRUE(drop(chart, {0, 1, 2}));
    chart->replot();
    auto click = [this](int entry, bool onBox) {
        const QRect r = chart->legend->item(entry)->rect();
        const QPoint p(r.left() + (onBox ? 6 : 40), r.center().y());
        sendMouse(chart, QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton);
        sendMouse(chart, QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton);
    };
    const struct {
        int entry;
        bool onBox;
        int current;
        std::vector<bool> shown;
    } steps[] = {
        {0, false, 0, {true, true, true}},   // a name: made current
        {0, true, 1, {false, true, true}},   // the current one hidden: the first shown one
        {2, true, 1, {false, true, false}},  // another one hidden: current stays
        {0, false, 0, {true, true, false}},  // a hidden one's name: shown and current
    };
    for (const auto& s : steps) {
        click(s.entry, s.onBox);
        EXPECT_EQ(chart->curSeries(), s.current) << s.entry << s.onBox;
        for (int i = 0; i < 3; ++i) EXPECT_EQ(chart->seriesVisible(i), s.shown[size_t(i)]) << s.entry << s.onBox;
        EXPECT_EQ(chart->seriesPenWidth(s.current), 4);
    }
    // Outside every entry: nothing changes.
    const QRect legendRect = chart->legend->outerRect();
    const QPoint below(legendRect.center().x(), legendRect.bottom() + 30);
    sendMouse(chart, QEvent::MouseButtonPress, below, Qt::LeftButton, Qt::LeftButton);
    sendMouse(chart, QEvent::MouseButtonRelease, below, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(chart->curSeries(), 0);
}

TEST_F(FragmentPageFixture, SplitDialogInput) {
    int shown = 0;
    QString count, name;
    bool accept = true;
    page->runForm11 = [&](TForm11& d) {
        ++shown;
        d.Edit1->setText(count);
        d.ComboBox1->setEditText(name);
        return accept;
    };
    page->SpeedButton9->click();  // no series: no dialog
    EXPECT_EQ(shown, 0);
    addMinuteSeries("Расход", 95, 1);
    const struct {
        const char* count;
        const char* name;
        bool accept;
        int intervals;
        bool message;
    } cases[] = {
        {"", "Расход", true, 0, true},
        {"10a", "Расход", true, 0, true},
        // Beyond any integer, like any count above the 95 points: one interval of them all.
        {"99999999999", "Расход", true, 1, false},
        {"10", "Нет такого ряда", true, 0, false},
        {"10", "Расход", false, 0, false},
        {" 50 ", "Расход", true, 2, false},
        {"0", "Расход", true, 95, false},
    };
    for (const auto& c : cases) {
        chart->delAllFragment();
        prompter.record.clear();
        count = QString::fromUtf8(c.count);
        name = QString::fromUtf8(c.name);
        accept = c.accept;
        page->SpeedButton9->click();
        EXPECT_EQ(chart->numOfFragments(), c.intervals) << c.count << "/" << c.name;
        EXPECT_EQ(prompter.record.texts(), c.message ? std::vector<std::string>{kBadCount} : std::vector<std::string>{})
            << c.count << "/" << c.name;
    }
}

TEST_F(FragmentPageFixture, EditorRefusesAndFollowsItsInterval) {
    for (int i = 0; i < 4; ++i) chart->addFragment("И" + std::to_string(i), 1, kDay0 + i, kDay0 + i + 0.5);
    TForm6& editor = *page->form6();

    // An end before the start: told, nothing stored, the editor stays open.
    editor.edit(2);
    editor.DateTimePicker2->setTime(QTime(0, 0));
    editor.DateTimePicker4->setDate(QDate(2023, 3, 16));
    editor.Button1->click();
    EXPECT_EQ(prompter.record.texts(), std::vector<std::string>{"Конечная точка фрагмента раньше начальной. Фрагмент не изменен."});
    EXPECT_TRUE(editor.isVisible());
    EXPECT_DOUBLE_EQ(static_cast<double>(chart->fragment(2).endPoint), kDay0 + 2.5);

    // Intervals before it deleted meanwhile: the edit still reaches it.
    editor.edit(2);
    chart->delFragment(0);
    editor.Edit1->setText("Изменен");
    editor.Button1->click();
    EXPECT_EQ(chart->fragment(1).name, "Изменен");
    EXPECT_EQ(chart->fragment(2).name, "И3");

    // The interval itself deleted: told, nothing changed.
    prompter.record.clear();
    chart->delFragment(1);
    editor.Edit1->setText("Снова");
    editor.Button1->click();
    EXPECT_EQ(prompter.record.texts(), std::vector<std::string>{"Фрагмент был удален. Изменения не сохранены."});
    EXPECT_EQ(chart->fragment(0).name, "И1");
    EXPECT_EQ(chart->fragment(1).name, "И3");

    // A type the box does not list: no item chosen, the interval keeps its type and colour.
    chart->addFragment("Синий", 3, kDay0 + 5, kDay0 + 6);
    editor.edit(2);
    EXPECT_EQ(editor.ComboBox1->currentIndex(), -1);
    EXPECT_EQ(editor.Panel1->palette().color(QPalette::Window), QColor(0xC6, 0xF0, 0xFF));
    editor.Edit1->setText("Синий 2");
    editor.Button1->click();
    EXPECT_EQ(chart->fragment(2).name, "Синий 2");
    EXPECT_EQ(chart->fragment(2).typeOfFragments(), 3);
    EXPECT_DOUBLE_EQ(static_cast<double>(chart->fragment(2).startPoint), kDay0 + 5);
}

TEST_F(FragmentPageFixture, ScaleGridRescalesAndChoosesTheSeries) {
    addMinuteSeries("Давление", 50, 100);  // 100 .. 106
    addMinuteSeries("Уровень", 50, 5);
    ASSERT_TRUE(drop(chart, {0, 1}));
    EXPECT_FALSE(chart->series(0).pointerVisible);
    page->CheckBox9->click();
    EXPECT_TRUE(chart->series(1).pointerVisible);
    editingStringGrid& grid = *page->stringgridGraphScale;
    auto type = [&](int col, int row, const char* text) {
        grid.setCurrentCell(col, row);
        grid.cellsEdit()->setText(QString::fromUtf8(text));
        QTest::keyClick(grid.cellsEdit(), Qt::Key_Return);
    };
    type(2, 1, "200");
    EXPECT_EQ(chart->curSeries(), 0);  // choosing the row's cell made it current
    EXPECT_EQ(grid.cell(2, 1), "200");
    EXPECT_DOUBLE_EQ(chart->toDisplay(0, 150), 50.0);  // 100 .. 200 onto 0 .. 100
    EXPECT_EQ(chart->leftAxisLabel(25), "125");
    const struct {
        const char* text;
        const char* message;
    } refused[] = {{"много", "Ошибка значения!"}, {"100", "Нижняя и верхняя границы шкалы должны различаться."}};
    for (const auto& r : refused) {
        prompter.record.clear();
        type(2, 1, r.text);
        EXPECT_EQ(prompter.record.texts(), std::vector<std::string>{r.message});
        EXPECT_EQ(grid.cell(2, 1), "200");
        EXPECT_DOUBLE_EQ(chart->toDisplay(0, 150), 50.0);
    }
    type(1, 2, "0");
    EXPECT_EQ(chart->curSeries(), 1);
    EXPECT_EQ(chart->scale().curBounds[1].lower, 0.0);
}

TEST_F(FragmentPageFixture, ClearingTheChartAndTheProject) {
    addMinuteSeries("Ряд", 50, 1);
    ASSERT_TRUE(drop(chart, {0}));
    chart->addFragment("И", 1, kDay0, kDay0 + 0.01);
    page->SpeedButton11->click();
    EXPECT_EQ(chart->seriesCount(), 0);
    EXPECT_EQ(chart->scale().count(), 0);
    EXPECT_EQ(chart->numOfFragments(), 1);
    EXPECT_EQ(page->stringgridGraphScale->rowCount(), 2);
    EXPECT_EQ(page->stringgridGraphScale->cell(0, 1), "");

    // After "Новый" the chart takes series again, each with its scale.
    ASSERT_TRUE(drop(chart, {0}));
    form.N2Click();
    EXPECT_EQ(chart->numOfFragments(), 0);
    EXPECT_EQ(page->StringGrid6->rowCount(), 1);
    addMinuteSeries("Новый ряд", 50, 1);
    ASSERT_TRUE(drop(chart, {0}));
    EXPECT_EQ(chart->seriesCount(), 1);
    EXPECT_EQ(chart->scale().count(), 1);
    EXPECT_EQ(page->stringgridGraphScale->cell(0, 1), "Новый ряд");
}

TEST_F(FragmentPageFixture, LoadedIntervalsAreDrawnInOneChange) {
    ProjectReadResult loaded;
    loaded.opened = true;
    loaded.folder = "/tmp/none";
    loaded.projectName = "p";
    for (int i = 0; i < 3; ++i) {
        TFragment f(static_cast<uint8_t>(i % 2), false, kDay0 + i, kDay0 + i + 0.5);
        f.name = "Загружен " + std::to_string(i + 1);
        loaded.data.userFragments.push_back(f);
    }
    QSignalSpy changes(chart, &TSmartChart::OnChangeFragments);
    ASSERT_TRUE(form.loadProjectProc(std::move(loaded)));
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(page->StringGrid6->rowCount(), 4);
    EXPECT_EQ(gridRow(3), (std::vector<std::string>{"Загружен 3", "17.03.2023", "17.03.2023 12:00:00", "Плохой"}));
}

// ---- What the chart shows: bands after a load, bad over good, unzoom, one-instant intervals ----

const QColor kGood(0xC6, 0xFF, 0xD9), kBad(0xFF, 0xB3, 0xBE);

// Colour of the chart's picture at time t (days), near the top of the bands.
QColor colourAtTime(TFragmentChart* chart, double t) {
    chart->replot();
    const QImage img = chart->toPixmap().toImage();
    return img.pixelColor(static_cast<int>(std::lround(chart->bottomPixelOf(t))), TSmartChart::kBandTop + 3);
}

void typeSplitCount(FragmentPage* page, const char* count) {
    page->runForm11 = [count](TForm11& d) {
        d.Edit1->selectAll();
        QTest::keyClicks(d.Edit1, count);
        return true;
    };
    page->SpeedButton9->click();
}

TEST_F(FragmentPageFixture, LoadedIntervalsShowBeforeAnySeriesIsDropped) {
    // The folder holds a good interval 08:00 .. 12:30 and a bad one 09:00 .. 09:30.
    prompter.openAnswers = {std::string(TARVOLYN_TEST_DATA) + "/projects/cp1251/Котельная.prj"};
    form.findChild<QAction*>("N3")->trigger();
    form.setActivePage(4);
    ASSERT_EQ(chart->numOfFragments(), 2);
    EXPECT_EQ(chart->seriesCount(), 0);
    // The time axis spans them, with 2 % of their 270 minutes (5.4 min) either side.
    const double h = 1.0 / 24;
    chart->replot();
    const TAxisRange ends = chart->bottomEnds();
    EXPECT_NEAR((ends.lower - kDay0) / kMinute, 8 * 60 - 5.4, 1e-6);
    EXPECT_NEAR((ends.upper - kDay0) / kMinute, 12.5 * 60 + 5.4, 1e-6);
    EXPECT_EQ(colourAtTime(chart, kDay0 + 8.5 * h), kGood);
    EXPECT_EQ(colourAtTime(chart, kDay0 + 9.25 * h), kBad);
    EXPECT_EQ(colourAtTime(chart, kDay0 + 12 * h), kGood);
}

TEST_F(FragmentPageFixture, BadBandStaysVisibleUnderGoodOnesDrawnLater) {
    addMinuteSeries("Ряд", 60, 100);
    ASSERT_TRUE(drop(chart, {0}));
    minutePerPixel();
    page->SpeedButton7->click();
    drag(21, 25);
    // Split into pieces of 10 points: good intervals 0..9, 10..19, 20..29 ... over the bad one.
    typeSplitCount(page, "10");
    ASSERT_EQ(chart->numOfFragments(), 7);
    EXPECT_EQ(bandColourAt(23), kBad);
    EXPECT_EQ(bandColourAt(27), kGood);
    EXPECT_EQ(bandColourAt(15), kGood);
    // The bad mode's button is still down, and the mouse still marks bad intervals; they
    // are drawn over the good ones.
    EXPECT_TRUE(page->SpeedButton7->isChecked());
    drag(33, 36);
    EXPECT_EQ(chart->fragment(7).typeOfFragments(), 0);
    EXPECT_EQ(bandColourAt(35), kBad);
}

TEST_F(FragmentPageFixture, UndoingAZoomKeepsTheFixedLeftAxis) {
    addMinuteSeries("Давление", 50, 1e5);  // 100000 .. 100006, minutes 0 .. 49
    ASSERT_TRUE(drop(chart, {0}));
    // The series rescaled in the scale grid to 99990 .. 100030: its values now sit at 25 .. 40.
    editingStringGrid& grid = *page->stringgridGraphScale;
    for (const auto& [col, text] : {std::pair{1, "99990"}, std::pair{2, "100030"}}) {
        grid.setCurrentCell(col, 1);
        grid.cellsEdit()->selectAll();
        QTest::keyClicks(grid.cellsEdit(), text);
        QTest::keyClick(grid.cellsEdit(), Qt::Key_Return);
    }
    ASSERT_DOUBLE_EQ(chart->toDisplay(0, 100006), 40.0);
    chart->replot();
    const QRect r = chart->axisRect()->rect();
    // Zoom into the middle, then drag from right to left to undo it.
    dragMouse(chart, r.topLeft() + QPoint(r.width() / 4, r.height() / 4), r.center());
    ASSERT_FALSE(chart->bottomAxisState().automatic);
    ASSERT_NE(chart->leftEnds(), (TAxisRange{0, 100}));
    dragMouse(chart, r.center(), r.topLeft() + QPoint(r.width() / 4, r.height() / 4));
    EXPECT_EQ(chart->leftEnds(), (TAxisRange{0, 100}));
    EXPECT_FALSE(chart->leftAxisState().automatic);
    EXPECT_TRUE(chart->bottomAxisState().automatic);
    const TAxisRange bottom = chart->bottomEnds();
    EXPECT_NEAR((bottom.lower - kDay0) / kMinute, 0, 1e-6);
    EXPECT_NEAR((bottom.upper - kDay0) / kMinute, 49, 1e-6);
    chart->replot();
    EXPECT_NEAR(chart->leftRange().lower, 0 - 20 * 100.0 / (r.height() - 40), 1e-9);
}

TEST_F(FragmentPageFixture, IntervalOfOneInstantIsShownWithAFewStepsEitherSide) {
    // Points every 3 minutes; a split into intervals of one point makes 30 instants.
    std::vector<double> v(30);
    for (size_t j = 0; j < v.size(); ++j) v[j] = 1e5 + static_cast<double>(j % 4);
    addSeries("Давление", v, kDay0, 3 * kMinute);
    ASSERT_TRUE(drop(chart, {0}));
    typeSplitCount(page, "1");
    ASSERT_EQ(chart->numOfFragments(), 30);
    EXPECT_EQ(gridRow(6), (std::vector<std::string>{"Интервал 6", "15.03.2023 00:15:00", "15.03.2023 00:15:00", "Хороший"}));
    page->StringGrid6->setRow(6);
    page->PopupMenuFragments->findChild<QAction*>("N13")->trigger();
    // Two steps of 3 minutes either side of 00:15, and the axis shows just that.
    const TAxisRange shown = chart->bottomEnds();
    EXPECT_NEAR((shown.lower - kDay0) / kMinute, 9, 1e-6);
    EXPECT_NEAR((shown.upper - kDay0) / kMinute, 21, 1e-6);
    chart->replot();
    EXPECT_NEAR((chart->bottomRange().lower - kDay0) / kMinute, 9, 1e-6);
    EXPECT_NEAR((chart->bottomRange().upper - kDay0) / kMinute, 21, 1e-6);
    // The instant is a black line at its time; the next zoom goes on from this window.
    EXPECT_EQ(colourAtTime(chart, kDay0 + 15 * kMinute), QColor(Qt::black));
    page->BitBtn5->click();
    EXPECT_NEAR((chart->bottomEnds().upper - kDay0) / kMinute, 9 + 0.8 * 12, 1e-6);
}

}  // namespace
