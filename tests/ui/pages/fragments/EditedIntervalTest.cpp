// An interval chosen or ticked on a page stays chosen or ticked when the user renames it or
// moves one of its ends in the fragment editor, and the computations run on it as it is
// now. Driven with the mouse and the keys through the main window; the points of each
// interval are counted by hand (one point every two minutes, interval ends between points).
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTimeEdit>
#include <QTreeWidget>
#include <cmath>

#include "ui/charts/ResultChart.h"
#include "ui/pages/dynamics/DynamicsPage.h"
#include "ui/pages/fragments/FragmentPageSupport.h"
#include "ui/pages/fragments/TForm6.h"
#include "ui/pages/regression/RegressionPage.h"
#include "ui/pages/regularised/RegularisedPage.h"
#include "ui/pages/statistics/CorrelationChart.h"
#include "ui/pages/statistics/IntervalStatisticsPage.h"
#include "ui/widgets/FiltredStringGrid.h"
#include "ui/widgets/IntervalCheckList.h"
#include "ui/widgets/SeriesListBox.h"

namespace {

using Texts = std::vector<std::string>;

// Point j lies at minute 2j.
constexpr int kPoints = 60;
constexpr double kStep = 2 * kMinute;

// Pressures of a plant near 1e5 Pa: the inlet, and the outlet following it with a lag,
// y[j] = 10/11 y[j-1] + 1/11 u[j-1].
std::vector<double> inlet() {
    std::vector<double> u(kPoints);
    for (int j = 0; j < kPoints; ++j) u[size_t(j)] = 1.0e5 + 2000.0 * std::sin(0.4 * j) + 800.0 * ((j / 7) % 2);
    return u;
}
std::vector<double> outlet(const std::vector<double>& u) {
    std::vector<double> y(u.size(), 1.0e5);
    for (size_t j = 1; j < u.size(); ++j) y[j] = 10.0 / 11.0 * y[j - 1] + 1.0 / 11.0 * u[j - 1];
    return y;
}

// Standard deviation (over n) divided by the mean, of points first..last.
double variation(const std::vector<double>& v, int first, int last) {
    double sum = 0, squares = 0;
    const int n = last - first + 1;
    for (int j = first; j <= last; ++j) sum += v[size_t(j)];
    const double mean = sum / n;
    for (int j = first; j <= last; ++j) squares += (v[size_t(j)] - mean) * (v[size_t(j)] - mean);
    return std::sqrt(squares / n) / mean;
}

double number(std::string text) {
    for (char& c : text)
        if (c == ',') c = '.';
    return std::stod(text);
}

// "Интервал 2" (00:31 .. 01:01, the points at minutes 32..60) edited in the editor.
struct Edit {
    const char* what;
    const char* name;   // typed over the name; null keeps it
    QTime start, end;   // set in the time pickers; a null time keeps it
    const char* shown;  // its name afterwards
    int place;          // its place among the project's intervals afterwards
    int first, last;    // its points afterwards
};
const Edit kEdits[] = {
    {"renamed", "Продувка", {}, {}, "Продувка", 1, 16, 30},
    // 00:31 .. 01:09: minutes 32..68.
    {"end moved", nullptr, {}, QTime(1, 9), "Интервал 2", 1, 16, 34},
    // 00:00:30 .. 01:01: minutes 2..60; now before "Интервал 1" (from 00:01).
    {"renamed, start moved", "Продувка", QTime(0, 0, 30), {}, "Продувка", 0, 1, 30},
};

void PrintTo(const Edit& e, std::ostream* os) { *os << e.what; }

struct EditedInterval : FragmentPageFixture, ::testing::WithParamInterface<Edit> {
    const std::vector<double> u = inlet(), y = outlet(u);

    void SetUp() override {
        FragmentPageFixture::SetUp();
        addSeries("Давление на входе", u, kDay0, kStep);
        addSeries("Давление на выходе", y, kDay0, kStep);
        ASSERT_TRUE(drop(chart, {0, 1}));
        minutePerPixel();
        QTest::mouseClick(page->SpeedButton8, Qt::LeftButton);
        drag(1, 21);    // "Интервал 1": minutes 2..20
        drag(31, 61);   // "Интервал 2": minutes 32..60
        drag(71, 101);  // "Интервал 3": minutes 72..100, 15 points
        ASSERT_EQ(gridRow(2), (std::vector<std::string>{"Интервал 2", "15.03.2023 00:31:00", "15.03.2023 01:01:00", "Хороший"}));
    }

    // A click on a node of the navigation tree.
    void show(int node) {
        auto* nav = form.findChild<QTreeWidget*>(QStringLiteral("TreeView2"));
        QTreeWidgetItem* item = form.navigationNode(node);
        nav->scrollToItem(item);
        QTest::mouseClick(nav->viewport(), Qt::LeftButton, {}, nav->visualItemRect(item).center());
    }
    // A right click on row `row` of the interval grid, then "Изменить фрагмент" in its menu.
    TForm6& openEditor(int row) {
        IntervalGrid* grid = page->StringGrid6;
        const QRect cell = grid->visualRect(grid->model()->index(row - 1, 0));
        QTest::mouseClick(form.windowHandle(), Qt::RightButton, {}, grid->viewport()->mapTo(&form, cell.center()));
        QMenu* menu = page->PopupMenuFragments;
        EXPECT_TRUE(menu->isVisible());
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(menu->findChild<QAction*>("N12")).center());
        TForm6& editor = *page->form6();
        EXPECT_TRUE(editor.isVisible());
        EXPECT_EQ(editor.windowTitle(), QString("Редактирование фрагмента: Интервал 2"));
        return editor;
    }
    // The edit typed into the editor, then "Сохранить".
    static void apply(TForm6& editor, const Edit& e) {
        if (e.name) type(editor.Edit1, QString::fromUtf8(e.name));
        if (e.start.isValid()) setTime(editor.DateTimePicker1, e.start);
        if (e.end.isValid()) setTime(editor.DateTimePicker2, e.end);
        QTest::mouseClick(editor.Button1, Qt::LeftButton);
    }
    // A click on the hours, then each of hours, minutes and seconds stepped with the arrow
    // keys, Tab moving on to the next.
    static void setTime(QTimeEdit* edit, QTime t) {
        QLineEdit* line = edit->findChild<QLineEdit*>();
        QTest::mouseClick(line, Qt::LeftButton, {}, QPoint(4, line->height() / 2));
        const int want[] = {t.hour(), t.minute(), t.second()};
        for (int part = 0; part < 3; ++part) {
            if (part) QTest::keyClick(edit, Qt::Key_Tab);
            const QTime now = edit->time();
            const int have[] = {now.hour(), now.minute(), now.second()};
            for (int k = have[part]; k < want[part]; ++k) QTest::keyClick(edit, Qt::Key_Up);
            for (int k = have[part]; k > want[part]; --k) QTest::keyClick(edit, Qt::Key_Down);
        }
        EXPECT_EQ(edit->time(), t);
    }
    // `text` chosen in a box with the arrow keys.
    static void choose(QComboBox* box, const char* text) {
        const int target = box->findText(QString::fromUtf8(text));
        ASSERT_GE(target, 0) << text;
        for (int k = 0; k < 100 && box->currentIndex() != target; ++k)
            QTest::keyClick(box, box->currentIndex() < target ? Qt::Key_Down : Qt::Key_Up);
        ASSERT_EQ(box->currentIndex(), target) << text;
    }
    // The tabs that hold `w` brought to the front by clicks on them, the outer first.
    static void showTabOf(QWidget* w) {
        std::vector<std::pair<QTabWidget*, QWidget*>> chain;
        for (QWidget* p = w; p && p->parentWidget(); p = p->parentWidget())
            if (auto* tabs = qobject_cast<QTabWidget*>(p->parentWidget()->parentWidget());
                tabs && qobject_cast<QStackedWidget*>(p->parentWidget()))
                chain.insert(chain.begin(), {tabs, p});
        for (auto [tabs, sheet] : chain)
            QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(tabs->indexOf(sheet)).center());
        EXPECT_TRUE(w->isVisible());
    }
    // A click on the check box of a row.
    static void clickBox(IntervalCheckList* list, int row) {
        const QRect r = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(r.left() + 10, r.center().y()));
    }
    // A click into the field, Ctrl+A, and the text typed over it (a key for each character;
    // the test library names no key for Cyrillic letters).
    static void type(QLineEdit* edit, const QString& text) {
        QTest::mouseClick(edit, Qt::LeftButton);
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        for (QChar c : text) QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
        EXPECT_EQ(edit->text(), text);
    }
    Texts told() {
        Texts t = prompter.record.texts();
        prompter.record.clear();
        return t;
    }
};

TEST_P(EditedInterval, StaysChosenAndIsComputedAsItIsNow) {
    const Edit& e = GetParam();
    const int n = e.last - e.first + 1;
    auto* dynamics = qobject_cast<DynamicsPage*>(form.page(9));
    auto* stats = qobject_cast<IntervalStatisticsPage*>(form.page(5));
    ASSERT_TRUE(dynamics && stats);

    // "Интервал 2" chosen on the dynamics page, with the inlet, the outlet and orders 0 and 1.
    show(13);
    choose(dynamics->ComboBox4, "Давление на входе");
    choose(dynamics->ComboBox7, "Давление на выходе");
    choose(dynamics->ComboBox9, "1");
    choose(dynamics->ComboBox3, "Интервал 2");
    // And on the page of statistics by intervals, with the two pressures.
    show(8);
    showTabOf(stats->ComboBox1);
    ASSERT_TRUE(drop(stats->Edit4, {0}));
    ASSERT_TRUE(drop(stats->Edit10, {1}));
    choose(stats->ComboBox1, "Интервал 2");

    show(7);
    apply(openEditor(2), e);
    EXPECT_EQ(gridRow(2)[0], e.shown) << e.what;

    // Still chosen, where the interval now stands; "Расчет" fits it on its points as they are now.
    show(13);
    EXPECT_EQ(dynamics->ComboBox3->currentIndex(), e.place) << e.what;
    EXPECT_EQ(dynamics->ComboBox3->currentText().toStdString(), e.shown) << e.what;
    QTest::mouseClick(dynamics->Button16, Qt::LeftButton);
    EXPECT_EQ(told(), Texts{}) << e.what;
    ASSERT_EQ(dynamics->Chart11->seriesCount(), 2);
    const TStatisticSeries& measured = dynamics->Chart11->series(0);
    ASSERT_EQ(measured.Count(), n) << e.what;
    EXPECT_DOUBLE_EQ(measured.XValue(0), kDay0 + e.first * kStep) << e.what;
    EXPECT_DOUBLE_EQ(measured.YValue(n - 1), y[size_t(e.last)]) << e.what;

    // Chosen on the other page too. A piece of n points takes lags up to n - 2 (n - 1 bars);
    // one more is refused, naming both pieces by the interval's name.
    show(8);
    EXPECT_EQ(stats->ComboBox1->currentIndex(), e.place) << e.what;
    EXPECT_EQ(stats->ComboBox1->currentText().toStdString(), e.shown) << e.what;
    type(stats->Edit11, QString::number(n - 2));
    QTest::mouseClick(stats->Button7, Qt::LeftButton);
    EXPECT_EQ(told(), Texts{}) << e.what;
    EXPECT_EQ(stats->Chart5->coefficients().size(), size_t(n - 1)) << e.what;
    type(stats->Edit11, QString::number(n - 1));
    QTest::mouseClick(stats->Button7, Qt::LeftButton);
    const std::string piece = std::string("_") + e.shown;
    EXPECT_EQ(told(), Texts{"Ошибка! Заданый лаг больше количества точек ряда: Давление на входе" + piece +
                            " Давление на выходе" + piece}) << e.what;
}

TEST_P(EditedInterval, KeepsItsTicksOnTheRegressionPage) {
    const Edit& e = GetParam();
    const int n = e.last - e.first + 1;
    auto* regression = qobject_cast<RegressionPage*>(form.page(6));
    ASSERT_TRUE(regression);
    // The editor opened on "Интервал 2" stays open beside the main window.
    TForm6& editor = openEditor(2);
    show(11);
    ASSERT_TRUE(drop(regression->ListBox3, {0}));
    ASSERT_TRUE(drop(regression->ListBox2, {1}));
    // Trained on "Интервал 2" and "Интервал 3", tested on "Интервал 2".
    clickBox(regression->CheckListBox1, 0);
    showTabOf(regression->CheckListBox2);
    clickBox(regression->CheckListBox2, 1);
    showTabOf(regression->CheckListBox1);

    apply(editor, e);
    QTest::mouseClick(regression->Button2, Qt::LeftButton);
    EXPECT_EQ(told(), Texts{}) << e.what;
    EXPECT_EQ(regression->CheckListBox1->text(e.place).toStdString(), e.shown) << e.what;
    EXPECT_EQ(regression->CheckListBox1->tickedRows(), (std::vector<int>{e.place, 2})) << e.what;
    // The measured output over both: its n points and the 15 of "Интервал 3".
    ASSERT_EQ(regression->Chart8->seriesCount(), 2);
    EXPECT_EQ(regression->Chart8->series(0).Count(), n + 15) << e.what;

    showTabOf(regression->Button12);
    EXPECT_EQ(regression->CheckListBox2->tickedRows(), std::vector<int>{e.place}) << e.what;
    QTest::mouseClick(regression->Button12, Qt::LeftButton);
    EXPECT_EQ(told(), Texts{}) << e.what;
    ASSERT_EQ(regression->Chart9->seriesCount(), 2);
    EXPECT_EQ(regression->Chart9->series(0).Count(), n) << e.what;
    EXPECT_DOUBLE_EQ(regression->Chart9->series(0).XValue(0), kDay0 + e.first * kStep) << e.what;
}

TEST_P(EditedInterval, KeepsItsTickOnTheRegularisedPage) {
    const Edit& e = GetParam();
    auto* regularised = qobject_cast<RegularisedPage*>(form.page(8));
    ASSERT_TRUE(regularised);
    TForm6& editor = openEditor(2);
    show(12);
    ASSERT_TRUE(drop(regularised->ListBox4, {0}));
    ASSERT_TRUE(drop(regularised->ListBox1, {1}));
    clickBox(regularised->CheckListBox3, 0);

    apply(editor, e);
    QTest::mouseClick(regularised->Button14, Qt::LeftButton);
    EXPECT_EQ(told(), Texts{}) << e.what;
    EXPECT_EQ(regularised->CheckListBox3->tickedRows(), (std::vector<int>{e.place, 2})) << e.what;
    // One model per ticked interval: the edited one named as it is now, with the variation
    // of the inlet pressure over its points as they are now.
    TFiltredStringGrid* table = regularised->SGStaticModel;
    ASSERT_EQ(table->shownRowCount(), 3);
    EXPECT_EQ(table->shownCell(4, 0), "V1(Давление на входе)");
    EXPECT_EQ(table->shownCell(1, 1), e.shown) << e.what;
    EXPECT_EQ(table->shownCell(1, 2), "Интервал 3");
    const double v = variation(u, e.first, e.last);
    EXPECT_NEAR(number(table->shownCell(4, 1)), v, 1e-6 * v) << e.what;
    const double third = variation(u, 36, 50);
    EXPECT_NEAR(number(table->shownCell(4, 2)), third, 1e-6 * third);
}

INSTANTIATE_TEST_SUITE_P(Edits, EditedInterval, ::testing::ValuesIn(kEdits), [](const auto& info) {
    return std::string(info.index == 0 ? "Renamed" : info.index == 1 ? "EndMoved" : "RenamedStartMoved");
});

// Made bad in the editor, the interval leaves the usable ones: nothing is chosen, and
// "Расчет" asks for a choice.
using MadeBad = EditedInterval;

TEST_F(MadeBad, ItIsNoLongerChosen) {
    auto* dynamics = qobject_cast<DynamicsPage*>(form.page(9));
    ASSERT_TRUE(dynamics);
    show(13);
    choose(dynamics->ComboBox4, "Давление на входе");
    choose(dynamics->ComboBox7, "Давление на выходе");
    choose(dynamics->ComboBox3, "Интервал 2");
    show(7);
    TForm6& editor = openEditor(2);
    QTest::keyClick(editor.ComboBox1, Qt::Key_Up);
    ASSERT_EQ(editor.ComboBox1->currentText(), QString("Плохой"));
    QTest::mouseClick(editor.Button1, Qt::LeftButton);
    show(13);
    EXPECT_EQ(dynamics->ComboBox3->count(), 2);
    EXPECT_EQ(dynamics->ComboBox3->currentIndex(), -1);
    QTest::mouseClick(dynamics->Button16, Qt::LeftButton);
    EXPECT_EQ(told(), Texts{"Заполните все поля!"});
}

}  // namespace
