// The filter page in the main window: a column of a test workbook loaded (with an unreadable
// time cell, gaps and a formula), band-filtered with typed limits, filled, smoothed and saved
// as a laboratory series; the enabling of the commands, the limit fields' Enter and leave
// rule, limits typed without Enter taken by the commands, the chosen parameter across
// workbooks, and the refusals. Expected values are worked out by hand in the comments.
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <cmath>

#include "../../PageTestSupport.h"
#include "core/PrepareSeries.h"
#include "ui/pages/data/DataPage.h"
#include "ui/pages/data/TForm9.h"
#include "ui/pages/data/TimeAxisBox.h"
#include "ui/pages/filter/FilterChart.h"
#include "ui/pages/filter/FilterPage.h"
#include "ui/pages/filter/TForm4.h"
#include "ui/mainwindow/WorkspaceTree.h"
#include "ui/widgets/TLoadData.h"

namespace {

// 1 February 2023 is day 44958 after 30 December 1899.
constexpr double kFeb1st = 44958.0;
constexpr double kMinute = 1.0 / 1440;
constexpr double kGap = NAN;  // a null point in the expected values

const char* const kTimeCheckWarning = "Ошибка чтения даты! Рекомендуется использовать ручной ввод даты.";
const char* const kNotAllLoaded = "Внимание! Загружены не все значения. Ошибка чтения времени.";
const char* const kNoFill = "Нет значения для заполнения пропусков: в ряду не осталось значений.";
const char* const kWindowTooLarge = "Колличество точек для сглаживания не может быть больше точек графика!";
const char* const kEmptyName = "Имя ряда не может быть пустым.";
const char* const kBandChanged =
    "Границы фильтрации изменены. Нажмите \"Показать ряд\", чтобы построить ряд с новыми границами.";
const std::string kWorkbooks = std::string(TARVOLYN_TEST_DATA) + "/workbooks/";

struct FilterPageTest : PageFixture {
    FilterPage* page = nullptr;
    DataPage* data = nullptr;
    TPrepareSeries* f = nullptr;
    std::function<bool(TForm4&)> onForm4;

    void SetUp() override {
        page = qobject_cast<FilterPage*>(form.page(1));
        data = form.dataPage();
        ASSERT_TRUE(page && data);
        f = &form.analyzer().filtering;
        page->form4()->seedColours(7);
        page->form4()->runModal = [this](TForm4& d) {
            d.show();  // every showing draws a new colour
            const bool ok = onForm4 && onForm4(d);
            d.hide();
            return ok;
        };
        data->openExcelFile(kWorkbooks + "filter.xlsx");
        ASSERT_TRUE(data->dataGrid->loadFileCheck());
        form.setActivePage(1);
    }

    // The window on screen and active, so that clicks move the focus as they do for a user.
    void showWindow() {
        form.resize(1200, 800);
        form.show();
        form.activateWindow();
        // The busy window of the workbook load may still hold the focus of the platform.
        ASSERT_TRUE(QTest::qWaitFor([this] { return QApplication::activeWindow() == &form; }));
    }

    static void click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); }

    // Clicks into a field and types over its text (no Enter).
    static void typeOver(QLineEdit* edit, const char* text) {
        click(edit);
        ASSERT_TRUE(edit->hasFocus());
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, QString::fromUtf8(text));
    }

    // Opens a workbook through the data page's "Обзор..." and comes back to this page.
    void openWorkbook(const char* name) {
        prompter.openAnswers = {kWorkbooks + name};
        data->Button1->click();
        ASSERT_TRUE(data->dataGrid->loadFileCheck());
        form.setActivePage(1);
    }

    std::vector<std::string> items() const {
        std::vector<std::string> t;
        for (int i = 0; i < page->ComboBox5->count(); ++i) t.push_back(page->ComboBox5->itemText(i).toStdString());
        return t;
    }

    // Enabled: "Загрузить", "Отфильтровать", "Показать ряд", "Сохранить", the two limit fields.
    std::vector<bool> enabled() const {
        return {page->Button8->isEnabled(),  page->Button9->isEnabled(), page->Button11->isEnabled(),
                page->Button10->isEnabled(), page->Edit7->isEnabled(),   page->Edit8->isEnabled()};
    }

    void choose(const char* name) { page->ComboBox5->setCurrentIndex(page->ComboBox5->findText(name)); }

    // Types into a limit field and presses Enter.
    void enterLimit(QLineEdit* edit, const char* text) {
        edit->setText(text);
        QTest::keyClick(edit, Qt::Key_Return);
    }

    static void leave(QLineEdit* edit) {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(edit, &out);
    }

    static void expectPoints(const TStatisticSeries& s, const std::vector<double>& minutes,
                             const std::vector<double>& ys) {
        ASSERT_EQ(s.Count(), static_cast<int>(minutes.size())) << s.Title;
        for (int i = 0; i < s.Count(); ++i) {
            const auto k = static_cast<size_t>(i);
            EXPECT_NEAR(s.XValue(i), kFeb1st + minutes[k] * kMinute, 1e-8) << s.Title << " " << i;
            EXPECT_EQ(s.IsNull(i), std::isnan(ys[k])) << s.Title << " " << i;
            if (!std::isnan(ys[k])) {
                EXPECT_NEAR(s.YValue(i), ys[k], 1e-9) << s.Title << " " << i;
            }
        }
    }

    std::vector<std::string> chartTitles() const {
        std::vector<std::string> t;
        for (int i = 0; i < page->Chart1->seriesCount(); ++i) t.push_back(page->Chart1->series(i).Title);
        return t;
    }
};

// Row 5's time is unreadable: the minutes of the rows read from the grid.
const std::vector<double> kGridMinutes = {0, 1, 2, 4, 5, 6, 7, 8, 9};

TEST_F(FilterPageTest, ColumnLoadedTransformedFilteredFilledSmoothedAndSaved) {
    EXPECT_EQ(page->ComboBox5->count(), 2);  // "Давление", "Расход"
    choose("Давление");
    page->CheckBox6->setChecked(true);
    EXPECT_TRUE(page->Panel15->isVisibleTo(page));
    page->Edit17->setText("y*2");
    page->Button8->click();
    // The time check warns about the same cell; the load's own warning comes once.
    EXPECT_EQ(prompter.record.texts(), (std::vector<std::string>{kTimeCheckWarning, kNotAllLoaded}));
    // Raw 10, 12, -, -, 16, 30, 13, -5, 18 doubled.
    expectPoints(page->Chart1->series(0), kGridMinutes, {20, 24, kGap, kGap, 32, 60, 26, -10, 36});
    EXPECT_EQ(chartTitles(), std::vector<std::string>{"Давление_mod"});
    // Band -10 - 1 .. 60 + 1; mean 188 / 7.
    EXPECT_EQ(page->Edit7->text(), "61");
    EXPECT_EQ(page->Edit8->text(), "-11");
    EXPECT_EQ(page->Edit6->text(), "26,8571428571429");
    EXPECT_EQ(page->gapItem(), 0);

    enterLimit(page->Edit7, "40");
    enterLimit(page->Edit8, "0");
    page->Button9->click();
    EXPECT_EQ(chartTitles(), (std::vector<std::string>{"Давление_mod", "Давление_mod фильтр."}));
    // 60 and -10 become gaps; the rest 20, 24, 32, 26, 36: mean 27.6, median 26.
    expectPoints(page->Chart1->series(1), kGridMinutes, {20, 24, kGap, kGap, 32, kGap, 26, kGap, 36});
    EXPECT_EQ(page->Edit6->text(), "27,6");

    struct Fill {
        int item;
        const char* typed;
        double value;
        const char* shown;
    };
    for (const Fill& fill : {Fill{0, nullptr, 27.6, "27,6"}, Fill{1, nullptr, 26, "26"}, Fill{2, "25", 25, "25"}}) {
        page->gapItems->button(fill.item)->click();
        EXPECT_EQ(page->Edit6->isEnabled(), fill.item == 2);
        if (fill.typed) page->Edit6->setText(fill.typed);
        EXPECT_EQ(page->Edit6->text(), fill.shown);
        page->Button11->click();
        const double v = fill.value;
        expectPoints(page->Chart1->series(2), kGridMinutes, {20, 24, v, v, 32, v, 26, v, 36});
    }
    EXPECT_EQ(chartTitles(), (std::vector<std::string>{"Давление_mod", "Давление_mod_фильтрованное",
                                                       "Давление_mod без сглаживания"}));

    page->CheckBox5->setChecked(true);
    page->Edit9->setText("3");
    page->Button11->click();
    // Windows of 20, 24, 25, 25, 32, 25, 26, 25, 36, stamped at each window's last time.
    const std::vector<double> smoothed = {23, 74.0 / 3, 82.0 / 3, 82.0 / 3, 83.0 / 3, 76.0 / 3, 29};
    const std::vector<double> smoothedMinutes = {2, 4, 5, 6, 7, 8, 9};
    expectPoints(page->Chart1->series(3), smoothedMinutes, smoothed);
    EXPECT_EQ(page->Chart1->series(3).Title, "Давление_mod с сглаживанием");

    std::string proposed;
    int32_t shownColour = -1;
    onForm4 = [&](TForm4& d) {
        proposed = d.Edit1->text().toStdString();
        shownColour = d.colour();
        d.CheckBox1->setChecked(true);
        return true;
    };
    EXPECT_FALSE(form.workspaceExpanded());
    page->Button10->click();
    EXPECT_EQ(proposed, "Давление_mod_av");
    ASSERT_EQ(form.project().seriesCount(), 1);
    const TStatisticSeries& saved = *form.project().seriesList[0];
    EXPECT_EQ(saved.Title, "Lab_Давление_mod_av");
    EXPECT_TRUE(saved.labRow);
    EXPECT_EQ(saved.color, shownColour);
    expectPoints(saved, smoothedMinutes, smoothed);
    ASSERT_EQ(form.seriesTree()->topLevelItemCount(), 1);
    EXPECT_EQ(form.seriesTree()->topLevelItem(0)->text(0), "Lab_Давление_mod_av");
    EXPECT_TRUE(form.workspaceExpanded());
    EXPECT_EQ(page->Chart1->series(3).Title, "Давление_mod_av");
    EXPECT_EQ(prompter.record.entries.size(), 2u);

    // Back to the mean: its value is written into the field again.
    page->gapItems->button(0)->click();
    EXPECT_EQ(page->Edit6->text(), "27,6");
    EXPECT_FALSE(page->Edit6->isEnabled());

    // Loading again, after a smoothed and zoomed run, leaves the new raw series alone on
    // automatic axes.
    page->Chart1->zoomTo({kFeb1st - 2, kFeb1st - 1}, {0, 1});
    page->CheckBox6->setChecked(false);
    choose("Расход");
    page->Button8->click();
    EXPECT_EQ(chartTitles(), std::vector<std::string>{"Расход"});
    EXPECT_TRUE(page->Chart1->bottomAxisState().automatic);
    EXPECT_TRUE(page->Chart1->leftAxisState().automatic);
    expectPoints(page->Chart1->series(0), kGridMinutes, {100, 101, 102, 104, 105, 106, 107, 108, 109});
    // 942 / 9; the band back to the raw range.
    EXPECT_EQ(page->Edit6->text(), "104,666666666667");
    EXPECT_EQ(page->Edit7->text(), "110");
    EXPECT_FALSE(page->Button11->isEnabled());
    EXPECT_FALSE(page->Button10->isEnabled());
}

TEST_F(FilterPageTest, ManualTimeAxisAdvancesOverUnreadableValues) {
    data->timeAxis->setState({QDate(2023, 2, 1), QTime(0, 0), "0", QTime(0, 1), true});
    choose("Давление");
    page->Button8->click();
    EXPECT_TRUE(prompter.record.entries.empty()) << prompter.record.texts().front();
    // Every row, the one with the unreadable time too; "н/д" is a gap at its own minute.
    expectPoints(page->Chart1->series(0), {0, 1, 2, 3, 4, 5, 6, 7, 8, 9},
                 {10, 12, kGap, 999, kGap, 16, 30, 13, -5, 18});
}

TEST_F(FilterPageTest, EachCommandIsEnabledOnlyWhenItCanAct) {
    using E = std::vector<bool>;
    // Nothing chosen, nothing loaded: nothing can act.
    EXPECT_EQ(enabled(), E({false, false, false, false, false, false}));
    choose("Расход");
    EXPECT_EQ(enabled(), E({true, false, false, false, false, false}));
    page->Button8->click();
    EXPECT_EQ(enabled(), E({true, true, false, false, true, true}));
    page->Button9->click();
    EXPECT_EQ(enabled(), E({true, true, true, false, true, true}));
    page->Button11->click();
    EXPECT_EQ(enabled(), E({true, true, true, true, true, true}));
    // A new band: the stages shown before it are not saved.
    page->Button9->click();
    EXPECT_EQ(enabled(), E({true, true, true, false, true, true}));
    page->Button11->click();
    // A fill or smoothing setting changed after the result was shown: not saved until shown
    // again; setting it back makes the shown result the asked one again.
    page->gapItems->button(1)->click();
    EXPECT_FALSE(page->Button10->isEnabled());
    page->gapItems->button(0)->click();
    EXPECT_TRUE(page->Button10->isEnabled());
    page->CheckBox5->setChecked(true);
    EXPECT_FALSE(page->Button10->isEnabled());
    page->CheckBox5->setChecked(false);
    EXPECT_TRUE(page->Button10->isEnabled());

    // A quick load of "Давление" runs through the same pipeline: this page's column is gone
    // from it, so only "Загрузить" can act; the limit fields keep the band of the chart.
    form.setActivePage(0);
    data->runForm9 = [](TForm9& f) {
        f.CheckListBox1->findItems("Давление", Qt::MatchExactly).at(0)->setCheckState(Qt::Checked);
        f.setResult(0);
        f.BitBtn1->click();
        return f.result() == QDialog::Accepted;
    };
    data->Button4->click();
    ASSERT_EQ(form.project().seriesCount(), 1);
    EXPECT_EQ(form.project().seriesList[0]->Title, "Давление");
    form.setActivePage(1);
    EXPECT_EQ(enabled(), E({true, false, false, false, false, false}));
    EXPECT_EQ(page->Chart1->seriesCount(), 3);
    EXPECT_EQ(page->Edit7->text(), "110");
    EXPECT_EQ(page->Edit8->text(), "99");
    EXPECT_EQ(page->ComboBox5->currentText(), "Расход");
    page->Button8->click();
    EXPECT_EQ(enabled(), E({true, true, false, false, true, true}));
    EXPECT_EQ(chartTitles(), std::vector<std::string>{"Расход"});
}

TEST_F(FilterPageTest, LimitFieldsTakeValuesOnEnterOnly) {
    choose("Расход");
    page->Button8->click();
    FilterChart* chart = page->Chart1;
    form.resize(1200, 800);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    chart->replot();
    auto lineAt = [&](char letter) {
        for (const auto& l : chart->drawnLines())
            if (l.letter == letter) return l.y;
        return -1.0;
    };
    auto pixel = [&](double v) { return chart->valuePixel(v).value_or(-100.0); };
    EXPECT_EQ(chart->leftAxisState().minimumOffset, chart->height() / 5);
    EXPECT_NEAR(lineAt('H'), pixel(110), 0.5);
    EXPECT_NEAR(lineAt('L'), pixel(99), 0.5);
    for (const auto& l : chart->drawnLines()) {
        EXPECT_LT(l.letterX, chart->axisRect()->left());
        EXPECT_GE(l.letterX, 0);
    }

    // Typed without Enter and left: the stored limit comes back.
    page->Edit7->setText("105");
    leave(page->Edit7);
    EXPECT_EQ(page->Edit7->text(), "110");
    EXPECT_EQ(f->highFilterValue, 110);
    // With Enter: stored, and the line moves on the next paint.
    enterLimit(page->Edit7, "105,5");
    EXPECT_EQ(f->highFilterValue, 105.5L);
    chart->replot();
    EXPECT_NEAR(lineAt('H'), pixel(105.5), 0.5);
    leave(page->Edit7);
    EXPECT_EQ(page->Edit7->text(), "105,5");
}

TEST_F(FilterPageTest, TextThatIsNotANumberIsRefusedNamingTheField) {
    choose("Расход");
    page->Button8->click();
    page->Button9->click();
    prompter.record.clear();
    enterLimit(page->Edit7, "1-2");
    enterLimit(page->Edit8, "");
    EXPECT_EQ(f->highFilterValue, 110);
    EXPECT_EQ(f->lowFilterValue, 99);
    EXPECT_EQ(page->Edit7->text(), "110");
    page->gapItems->button(2)->click();
    page->Edit6->setText("-");
    page->Button11->click();
    page->gapItems->button(0)->click();
    page->CheckBox5->setChecked(true);
    page->Edit9->setText("");
    page->Button11->click();
    EXPECT_EQ(prompter.record.texts(),
              (std::vector<std::string>{
                  "Значение \"1-2\" в поле \"Максимальное значение\" не является числом!",
                  "Значение \"\" в поле \"Минимальное значение\" не является числом!",
                  "Значение \"-\" в поле \"Пользовательское значение\" не является числом!",
                  "Значение \"\" в поле \"Количество наблюдений для сглаживания\" не является целым числом!"}));
    EXPECT_EQ(page->Chart1->seriesCount(), 2);
    EXPECT_FALSE(page->Button10->isEnabled());

    // A window too long for an integer is a whole number, only longer than the series.
    prompter.record.clear();
    page->Edit9->clear();
    QTest::keyClicks(page->Edit9, "99999999999");
    page->Button11->click();
    EXPECT_EQ(prompter.record.texts(),
              std::vector<std::string>{"Колличество точек для сглаживания не может быть больше точек графика!"});
}

TEST_F(FilterPageTest, RefusedShowLeavesNothingToSaveAndTheChartInStepWithThePipeline) {
    showWindow();
    choose("Расход");
    click(page->Button8);
    click(page->Button9);
    page->CheckBox5->setChecked(true);
    page->Edit9->setText("3");
    click(page->Button11);
    ASSERT_EQ(page->Chart1->seriesCount(), 4);
    ASSERT_TRUE(page->Button10->isEnabled());
    prompter.record.clear();

    // An upper limit of 1, typed and taken by "Показать ряд", removes every value (100..109).
    typeOver(page->Edit7, "1");
    click(page->Button11);
    EXPECT_EQ(prompter.record.texts(), std::vector<std::string>{kNoFill});
    EXPECT_EQ(f->highFilterValue, 1);
    EXPECT_FALSE(page->Button10->isEnabled());
    // The chart holds what the pipeline holds: the raw and the filtered stage, all gaps.
    EXPECT_EQ(chartTitles(), (std::vector<std::string>{"Расход", "Расход_фильтрованное"}));
    expectPoints(page->Chart1->series(1), kGridMinutes, std::vector<double>(9, kGap));
    EXPECT_FALSE(f->averaged);

    // A window longer than the series is refused too: the filled stage is shown, nothing saved.
    prompter.record.clear();
    enterLimit(page->Edit7, "110");
    page->Edit9->setText("10");
    click(page->Button11);
    EXPECT_EQ(prompter.record.texts(), std::vector<std::string>{kWindowTooLarge});
    EXPECT_EQ(chartTitles(), (std::vector<std::string>{"Расход", "Расход_фильтрованное", "Расход без сглаживания"}));
    EXPECT_FALSE(page->Button10->isEnabled());
    // A window that fits: the result is shown and can be saved.
    page->Edit9->setText("9");
    click(page->Button11);
    // 942 / 9 over the nine values, stamped at the last minute.
    expectPoints(page->Chart1->series(3), {9}, {942.0 / 9});
    EXPECT_TRUE(page->Button10->isEnabled());
}

TEST_F(FilterPageTest, LimitTypedWithoutEnterIsTakenByTheCommands) {
    showWindow();
    choose("Расход");
    click(page->Button8);
    // Rows 100, 101, 102, 104 .. 109 (row 5's time is unreadable); band 99 .. 110.
    prompter.record.clear();

    // Typed and not confirmed, then "Отфильтровать": the typed limit is used.
    typeOver(page->Edit8, "104");
    click(page->Button9);
    EXPECT_EQ(f->lowFilterValue, 104);
    EXPECT_EQ(page->Edit8->text(), "104");
    expectPoints(page->Chart1->series(1), kGridMinutes, {kGap, kGap, kGap, 104, 105, 106, 107, 108, 109});
    // 104 + ... + 109 = 639 over 6 values.
    EXPECT_EQ(page->Edit6->text(), "106,5");

    // Simply leaving a field still shows the stored limit again.
    typeOver(page->Edit7, "105");
    click(page->Edit8);
    EXPECT_EQ(page->Edit7->text(), "110");
    EXPECT_EQ(f->highFilterValue, 110);

    // A typed limit that is not a number: the field's message, and nothing runs.
    typeOver(page->Edit7, "1-2");
    click(page->Button11);
    EXPECT_EQ(prompter.record.texts(),
              std::vector<std::string>{"Значение \"1-2\" в поле \"Максимальное значение\" не является числом!"});
    EXPECT_EQ(page->Edit7->text(), "110");
    EXPECT_EQ(page->Chart1->seriesCount(), 2);
    EXPECT_FALSE(page->Button10->isEnabled());

    // "Показать ряд" takes a typed limit too: 104 .. 108 stay, mean 530 / 5 = 106 fills.
    typeOver(page->Edit7, "108");
    click(page->Button11);
    EXPECT_EQ(f->highFilterValue, 108);
    expectPoints(page->Chart1->series(2), kGridMinutes, {106, 106, 106, 104, 105, 106, 107, 108, 106});
    ASSERT_TRUE(page->Button10->isEnabled());

    // "Сохранить" with a new limit typed: the shown series is of the old band, so it is not
    // saved; the limit is stored and "Показать ряд" builds the series on it.
    int asked = 0;
    onForm4 = [&](TForm4&) { return ++asked, true; };
    prompter.record.clear();
    typeOver(page->Edit8, "105");
    click(page->Button10);
    EXPECT_EQ(prompter.record.texts(), std::vector<std::string>{kBandChanged});
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(form.project().seriesCount(), 0);
    EXPECT_EQ(f->lowFilterValue, 105);
    EXPECT_FALSE(page->Button10->isEnabled());
    click(page->Button11);
    // 105 .. 108: mean 106.5.
    expectPoints(page->Chart1->series(2), kGridMinutes, {106.5, 106.5, 106.5, 106.5, 105, 106, 107, 108, 106.5});
    click(page->Button10);
    EXPECT_EQ(asked, 1);
    ASSERT_EQ(form.project().seriesCount(), 1);
    EXPECT_EQ(form.project().seriesList[0]->YValue(0), 106.5);
}

TEST_F(FilterPageTest, LongNumbersShowTheirStart) {
    choose("Расход");
    page->CheckBox6->setChecked(true);
    page->Edit17->setText("y/3");
    page->Button8->click();
    // Values 100/3 .. 109/3 without 103/3: band 100/3 - 1 .. 109/3 + 1, mean 942/27.
    struct Field {
        QLineEdit* edit;
        const char* text;
    };
    for (const Field& fl : {Field{page->Edit8, "32,3333333333333"}, Field{page->Edit7, "37,3333333333333"},
                            Field{page->Edit6, "34,8888888888889"}}) {
        EXPECT_EQ(fl.edit->text(), fl.text);
        EXPECT_EQ(fl.edit->cursorPosition(), 0) << fl.text;
    }
    // A refused Enter shows the stored limit again from its start.
    page->Edit7->setText("-");
    QTest::keyClick(page->Edit7, Qt::Key_Return);
    EXPECT_EQ(page->Edit7->text(), "37,3333333333333");
    EXPECT_EQ(page->Edit7->cursorPosition(), 0);
}

TEST_F(FilterPageTest, ChosenParameterFollowsItsNameToAnotherWorkbook) {
    choose("Расход");  // the second parameter of filter.xlsx
    // "Расход" comes first in this workbook, "Давление" second: the name stays chosen.
    openWorkbook("filter_swapped.xlsx");
    EXPECT_EQ(items(), (std::vector<std::string>{"Расход", "Давление"}));
    EXPECT_EQ(page->ComboBox5->currentIndex(), 0);
    page->Button8->click();
    EXPECT_EQ(chartTitles(), std::vector<std::string>{"Расход"});
    expectPoints(page->Chart1->series(0), {0, 1, 2}, {250.5, 251, 253});

    // No "Расход" here: nothing is chosen and nothing can be loaded.
    openWorkbook("filter_no_flow.xlsx");
    EXPECT_EQ(items(), (std::vector<std::string>{"Давление", "Температура"}));
    EXPECT_EQ(page->ComboBox5->currentIndex(), -1);
    EXPECT_EQ(page->ComboBox5->currentText(), "");
    EXPECT_FALSE(page->Button8->isEnabled());
    page->loadSeriesFromExcel();
    expectPoints(page->Chart1->series(0), {0, 1, 2}, {250.5, 251, 253});
    EXPECT_TRUE(prompter.record.entries.empty()) << prompter.record.texts().front();
}

TEST_F(FilterPageTest, EmptyOrBlankSeriesNameIsRefusedAndTheDialogStaysOpen) {
    choose("Расход");
    page->Button8->click();
    page->Button9->click();
    page->Button11->click();
    prompter.record.clear();
    std::vector<bool> openAfterRefusal;
    onForm4 = [&](TForm4& d) {
        d.setResult(0);
        for (const char* name : {"", "   "}) {
            d.Edit1->selectAll();
            QTest::keyClick(d.Edit1, Qt::Key_Delete);
            QTest::keyClicks(d.Edit1, name);
            QTest::mouseClick(d.Button1, Qt::LeftButton);
            openAfterRefusal.push_back(d.isVisible() && d.result() != QDialog::Accepted);
        }
        QTest::mouseClick(d.Button2, Qt::LeftButton);
        return d.result() == QDialog::Accepted;
    };
    page->Button10->click();
    EXPECT_EQ(openAfterRefusal, (std::vector<bool>{true, true}));
    EXPECT_EQ(prompter.record.texts(), (std::vector<std::string>{kEmptyName, kEmptyName}));
    EXPECT_EQ(form.project().seriesCount(), 0);
    EXPECT_EQ(form.seriesTree()->topLevelItemCount(), 0);

    // A name typed after the refusal is taken.
    onForm4 = [&](TForm4& d) {
        d.setResult(0);
        d.Edit1->clear();
        QTest::mouseClick(d.Button1, Qt::LeftButton);
        QTest::keyClicks(d.Edit1, "FT-101 clean");
        QTest::mouseClick(d.Button1, Qt::LeftButton);
        return d.result() == QDialog::Accepted;
    };
    page->Button10->click();
    ASSERT_EQ(form.project().seriesCount(), 1);
    EXPECT_EQ(form.project().seriesList[0]->Title, "FT-101 clean");
}

TEST_F(FilterPageTest, ParameterListFollowsTheGrid) {
    choose("Расход");
    // The time column moved onto "Давление": the names are now "Время" and "Расход".
    data->dataGrid->setTimeCol(2);
    ASSERT_EQ(page->ComboBox5->count(), 2);
    EXPECT_EQ(page->ComboBox5->itemText(0), "Время");
    EXPECT_EQ(page->ComboBox5->currentText(), "Расход");
    // The time column moved onto "Расход": the names are "Время" and "Давление", and
    // nothing is chosen (not "Давление", now at the chosen place).
    data->dataGrid->setTimeCol(3);
    EXPECT_EQ(items(), (std::vector<std::string>{"Время", "Давление"}));
    EXPECT_EQ(page->ComboBox5->currentIndex(), -1);
    data->dataGrid->setTimeCol(1);
    form.clear();
    EXPECT_EQ(page->ComboBox5->count(), 0);
    EXPECT_EQ(page->Chart1->seriesCount(), 0);
    EXPECT_EQ(page->Edit9->text(), "");
}

TEST_F(FilterPageTest, CancelledSaveStoresNothingAndColoursChangeEachShowing) {
    choose("Расход");
    page->Button8->click();
    page->Button9->click();
    page->Button11->click();
    std::vector<int32_t> colours;
    onForm4 = [&](TForm4& d) {
        colours.push_back(d.colour());
        EXPECT_EQ(d.Edit1->text(), "Расход");
        return false;
    };
    page->Button10->click();
    page->Button10->click();
    EXPECT_EQ(form.project().seriesCount(), 0);
    ASSERT_EQ(colours.size(), 2u);
    EXPECT_NE(colours[0], colours[1]);
    for (int32_t c : colours)
        for (int shift : {0, 8, 16}) EXPECT_LE((c >> shift) & 0xFF, 254);
    // The swatch takes a colour chosen in the colour dialog; a cancelled dialog keeps it.
    TForm4& d = *page->form4();
    d.runColorDialog = [](const QColor&) { return std::optional<QColor>(QColor(1, 2, 3)); };
    d.Panel1Click();
    EXPECT_EQ(d.colour(), 0x030201);
    d.runColorDialog = [](const QColor&) { return std::optional<QColor>(); };
    d.Panel1Click();
    EXPECT_EQ(d.colour(), 0x030201);
}

TEST_F(FilterPageTest, FormulaThatDoesNotValidateLoadsTheColumnUntransformed) {
    choose("Расход");
    page->CheckBox6->setChecked(true);
    page->Edit17->setText("y+pi");
    page->Button8->click();
    EXPECT_EQ(prompter.record.texts().back(), "Не распознано: pi, ");
    EXPECT_EQ(chartTitles(), std::vector<std::string>{"Расход"});
    EXPECT_EQ(page->Chart1->series(0).YValue(0), 100);
}

}  // namespace
