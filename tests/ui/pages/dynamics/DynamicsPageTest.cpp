// The dynamics page end to end: a delayed first-order plant identified with its known
// answer, the edited model, the report page, the saved model through a project save and
// load, every refusal, the lists that follow the project, the delay field and the formula
// picture.
#include <QClipboard>
#include <QComboBox>
#include <QCursor>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <cmath>
#include <functional>

#include "support/Files.h"
#include "ui/PageTestSupport.h"
#include "ui/charts/FragmentChart.h"
#include "ui/charts/ResultChart.h"
#include "ui/mainwindow/WorkspaceTree.h"
#include "ui/pages/data/DataPage.h"
#include "ui/pages/data/TimeAxisBox.h"
#include "ui/pages/dynamics/DelayShift.h"
#include "ui/pages/dynamics/DynamicsPage.h"
#include "ui/pages/dynamics/TForm16.h"
#include "ui/pages/dynamics/TForm21.h"
#include "ui/widgets/EditingStringGrid.h"
#include "ui/widgets/TForm17.h"

namespace {

constexpr double kStart = 45000.0;
constexpr double kMinute = 1.0 / 1440.0;
constexpr int kPoints = 200;

// The plant: K = 2, T = 10 min at a step of 1 min, its input delayed by three samples,
// simulated by its own backward-difference equation y[i] = 10/11 y[i-1] + 2/11 u[i-3].
std::vector<double> plantInput() {
    std::vector<double> u(kPoints, 0.0);
    for (int i = 1; i < kPoints; ++i) u[i] = std::sin(0.3 * i) + 0.5 * std::sin(0.05 * i) + ((i / 20) % 2);
    return u;
}
std::vector<double> plantOutput(const std::vector<double>& u) {
    std::vector<double> y(u.size(), 0.0);
    for (size_t i = 3; i < u.size(); ++i) y[i] = 10.0 / 11.0 * y[i - 1] + 2.0 / 11.0 * u[i - 3];
    return y;
}

double cellNumber(editingStringGrid* grid, int row) {
    const std::optional<long double> v = strToFloat(grid->cell(1, row));
    return v ? static_cast<double>(*v) : NAN;
}

struct DynamicsPageTest : PageFixture {
    DynamicsPage* page = nullptr;
    TDynamicIdent& engine = form.analyzer().dynamicIdentification;

    void SetUp() override {
        page = qobject_cast<DynamicsPage*>(form.page(9));
        ASSERT_TRUE(page);
        const std::vector<double> u = plantInput();
        addSeries("U", u, kStart, kMinute);
        addSeries("Y", plantOutput(u), kStart, kMinute);
        form.fragmentsChart->addFragment("Интервал 1", 1, kStart - 1e-6, kStart + (kPoints - 1) * kMinute + 1e-6);
        form.fragmentsChart->addFragment("Короткий", 1, kStart - 1e-6, kStart + 11 * kMinute + 1e-6);
        form.fragmentsChart->addFragment("Пустой", 1, kStart + 1, kStart + 1 + 10 * kMinute);
        form.setActivePage(9);
    }

    void choose(const char* input, const char* output, const char* interval, int xpower, int ypower,
                const char* delay) {
        page->ComboBox4->setCurrentIndex(page->ComboBox4->findText(QString::fromUtf8(input)));
        page->ComboBox7->setCurrentIndex(page->ComboBox7->findText(QString::fromUtf8(output)));
        page->ComboBox3->setCurrentIndex(page->ComboBox3->findText(QString::fromUtf8(interval)));
        page->ComboBox8->setCurrentIndex(xpower);
        page->ComboBox9->setCurrentIndex(ypower);
        page->Edit19->setText(QString::fromUtf8(delay));
    }
    std::vector<std::string> identify() {
        prompter.record.entries.clear();
        page->Button16->click();
        return prompter.record.texts();
    }
    // Edits the editor's cells (row, text) and answers "Применить" or "Отмена".
    void editor(std::vector<std::pair<int, const char*>> cells, bool apply) {
        page->coefficientEditor()->runModal = [cells, apply](TForm16& f) {
            for (const auto& [row, text] : cells) f.grid->setCell(1, row, text);
            return apply;
        };
        page->SpeedButton14->click();
    }
};

TEST_F(DynamicsPageTest, IdentifiesEditsReportsAndSavesTheDelayedPlant) {
    EXPECT_EQ(page->StringGrid9->cell(0, 5), "Максимальная абсолютная ошибка");
    EXPECT_FALSE(page->Chart11->leftAxisState().automatic);

    choose("U", "Y", "Интервал 1", 0, 1, "3");
    ASSERT_TRUE(identify().empty()) << prompter.record.texts().front();
    const TDynamicModel& model = engine.dynamicmodel;
    EXPECT_NEAR(static_cast<double>(model.k), 2.0, 1e-6);
    EXPECT_NEAR(static_cast<double>(model.denum[1]), 10.0, 1e-6);
    EXPECT_NEAR(cellNumber(page->StringGrid9, 1), 1.0, 1e-9);
    EXPECT_EQ(page->Label29->text(), QString("-(3)*s"));
    EXPECT_EQ(page->Edit20->text(), QString("2*(1)"));
    EXPECT_EQ(page->Edit21->text(), QString("10*s^1 + 1"));
    const QFontMetrics fm(form.font());
    EXPECT_GE(page->Panel12->width(), fm.horizontalAdvance(page->Edit21->text()));
    EXPECT_EQ(page->Panel14->width(), fm.horizontalAdvance("-(3)*s") + 30);
    ASSERT_EQ(page->Chart11->seriesCount(), 2);
    EXPECT_EQ(page->Chart11->series(0).Title, "Выходное значение параметра");
    EXPECT_EQ(page->Chart11->series(1).Title, "Расчетное значение параметра");
    EXPECT_EQ(page->Chart11->series(0).Count(), kPoints - 3);
    EXPECT_TRUE(page->Chart11->leftAxisState().automatic);
    const QCPGraph* measuredGraph = page->Chart11->seriesGraph(0);

    // The wrong delays fit worse; the right one again reuses the chart's two series.
    const double best = cellNumber(page->StringGrid9, 1);
    for (const char* wrong : {"2", "4"}) {
        page->Edit19->setText(wrong);
        ASSERT_TRUE(identify().empty());
        EXPECT_LT(cellNumber(page->StringGrid9, 1), best - 1e-4) << wrong;
    }
    page->Edit19->setText("3");
    ASSERT_TRUE(identify().empty());
    EXPECT_EQ(page->Chart11->seriesCount(), 2);
    EXPECT_EQ(page->Chart11->seriesGraph(0), measuredGraph);

    // Cancel changes nothing; K = 3 makes the model output 1.5 times the measured one
    // (both start from 0 and follow the same recursion).
    const std::string rmse = page->StringGrid9->cell(1, 3);
    const long double timeConstant = model.denum[1];
    editor({{1, "5"}}, false);
    EXPECT_NEAR(static_cast<double>(model.k), 2.0, 1e-6);
    editor({{1, "3"}}, true);
    EXPECT_EQ(static_cast<double>(model.k), 3.0);
    EXPECT_EQ(model.denum[1], timeConstant);  // untouched cells keep every digit
    EXPECT_EQ(page->Edit20->text(), QString("3*(1)"));
    EXPECT_EQ(page->Label29->text(), QString("-(3)*s"));
    const TStatisticSeries& measured = page->Chart11->series(0);
    const TStatisticSeries& computed = page->Chart11->series(1);
    for (int i = 0; i < measured.Count(); i += 17) EXPECT_NEAR(computed.YValue(i), 1.5 * measured.YValue(i), 1e-9);
    EXPECT_NE(page->StringGrid9->cell(1, 3), rmse);

    // The report page as computed independently (make_dynamics_page_report.py).
    QTemporaryDir dir;
    const std::string root = dir.path().toStdString();
    prompter.saveAnswers = {root + "/отчет"};
    page->Button18->click();
    EXPECT_EQ(readBytes(root + "/отчет/отчет.html"), expectedReportPage("dynamics_page_report.html"));
    EXPECT_TRUE(QFile::exists(QString::fromStdString(root + "/отчет/data/educationPlot.bmp")));

    // Saved under the given name; the model survives a project save and load.
    form.modelNameDialog()->runModal = [](TForm17& d) {
        EXPECT_EQ(d.Edit1->text(), QString("U_Интервал 1-Y_Интервал 1"));
        d.Edit1->setText("Печь");
        return true;
    };
    page->SpeedButton13->click();
    EXPECT_EQ(topLevelTexts(form.dynamicModelTree()), QStringList{"Печь"});
    prompter.saveAnswers = {root + "/Проект.prj"};
    ASSERT_TRUE(form.saveAsProject());
    form.clear();
    EXPECT_EQ(form.dynamicModelTree()->topLevelItemCount(), 0);
    EXPECT_EQ(page->Edit20->text(), QString("num(s)"));
    prompter.openAnswers = {root + "/Проект/Проект.prj"};
    form.N3Click();
    ASSERT_EQ(topLevelTexts(form.dynamicModelTree()), QStringList{"Печь"});
    const TDynamicModel& loaded = *form.project().dynModels.front();
    EXPECT_NEAR(static_cast<double>(loaded.k), 3.0, 1e-9);
    EXPECT_NEAR(static_cast<double>(loaded.tau), 3.0, 1e-6);
    EXPECT_NEAR(static_cast<double>(loaded.denum[1]), 10.0, 1e-6);
}

TEST_F(DynamicsPageTest, ValueTypedWithoutEnterIsAppliedAndABadOneKeepsTheEditorOpen) {
    choose("U", "Y", "Интервал 1", 0, 1, "3");
    ASSERT_TRUE(identify().empty());
    ASSERT_NEAR(static_cast<double>(engine.dynamicmodel.k), 2.0, 1e-6);
    // The user clicks the K cell, types and clicks "Применить" without pressing Enter; first a
    // word, which is refused, then 5.
    bool stayedOpen = false;
    page->coefficientEditor()->runModal = [&](TForm16& f) {
        f.setResult(QDialog::Rejected);
        EXPECT_TRUE(activate(&f));
        const QRect k = f.grid->visualRect(f.grid->model()->index(1, 1));
        QTest::mouseClick(f.grid->viewport(), Qt::LeftButton, {}, k.center());
        EXPECT_TRUE(f.grid->isEditing());
        QTest::keyClicks(f.grid->cellsEdit(), "abc");
        QTest::mouseClick(f.Button1, Qt::LeftButton);
        stayedOpen = f.isVisible() && f.grid->isEditing() && f.grid->cellsEdit()->text() == "abc";
        QTest::keyClicks(f.grid->cellsEdit(), "5");
        QTest::mouseClick(f.Button1, Qt::LeftButton);
        f.hide();
        return f.result() == QDialog::Accepted;
    };
    page->SpeedButton14->click();
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(prompter.record.texts(), std::vector<std::string>{kCoefficientNotNumber});
    EXPECT_EQ(static_cast<double>(engine.dynamicmodel.k), 5.0);
    EXPECT_EQ(page->Edit20->text(), QString("5*(1)"));
    // Simulated again with K = 5: from zero, the same recursion gives 2.5 times the plant's
    // output (whose gain is 2).
    const TStatisticSeries& measured = page->Chart11->series(0);
    const TStatisticSeries& computed = page->Chart11->series(1);
    ASSERT_EQ(computed.Count(), kPoints - 3);
    for (int i = 0; i < measured.Count(); i += 13) EXPECT_NEAR(computed.YValue(i), 2.5 * measured.YValue(i), 1e-9);
}

TEST_F(DynamicsPageTest, EveryRefusalIsToldAndChangesNothing) {
    // A second output sampled every two minutes and an input half a minute off the output.
    std::vector<double> sparse(kPoints / 2);
    for (size_t i = 0; i < sparse.size(); ++i) sparse[i] = std::sin(0.1 * static_cast<double>(i));
    addSeries("Y2", sparse, kStart, 2 * kMinute);
    addSeries("U_off", plantInput(), kStart + 0.5 * kMinute, kMinute);
    choose("U", "Y", "Интервал 1", 0, 1, "3");
    ASSERT_TRUE(identify().empty());
    const QString numerator = page->Edit20->text();
    const std::string r2 = page->StringGrid9->cell(1, 1);

    const std::string fill = kFillAllFields;
    const struct {
        const char* name;
        std::function<void()> setup;
        std::vector<std::string> messages;
        bool identified;  // the engine ran and the page shows a new model
    } cases[] = {
        {"both orders 0", [&] { choose("U", "Y", "Интервал 1", 0, 0, "3"); }, {fill}, false},
        {"no interval", [&] { choose("U", "Y", "нет", 0, 1, "3"); }, {fill}, false},
        {"no input", [&] { choose("нет", "Y", "Интервал 1", 0, 1, "3"); }, {fill}, false},
        {"delay not an integer", [&] { choose("U", "Y", "Интервал 1", 0, 1, "-"); }, {kDelayNotInteger}, false},
        {"delay too large", [&] { choose("U", "Y", "Интервал 1", 0, 1, "200"); }, {kDelayTooLarge}, true},
        {"negative delay too large", [&] { choose("U", "Y", "Интервал 1", 0, 1, "-200"); }, {kDelayTooLarge}, true},
        {"9 input points after the shift", [&] { choose("U", "Y", "Короткий", 0, 1, "3"); }, {kTooFewInputPoints},
         false},
        {"no points, no delay", [&] { choose("U", "Y", "Пустой", 0, 1, "0"); }, {kTooFewInputPoints}, false},
        {"6 output points", [&] { choose("U", "Y2", "Короткий", 0, 1, "0"); }, {kTooFewOutputPoints}, false},
        {"engine refuses", [&] { choose("U_off", "Y", "Интервал 1", 0, 1, "0"); },
         {TDynamicIdent::kNotSynchronizedMessage, kIdentificationFailed}, false},
    };
    for (const auto& c : cases) {
        c.setup();
        EXPECT_EQ(identify(), c.messages) << c.name;
        if (c.identified) {
            EXPECT_EQ(page->Label29->text(), QString("-(0)*s")) << c.name;
            EXPECT_EQ(engine.lastOutput->Count(), kPoints) << c.name;
            choose("U", "Y", "Интервал 1", 0, 1, "3");
            ASSERT_TRUE(identify().empty());
        } else {
            EXPECT_EQ(page->Edit20->text(), numerator) << c.name;
            EXPECT_EQ(page->StringGrid9->cell(1, 1), r2) << c.name;
            EXPECT_EQ(page->Label29->text(), QString("-(3)*s")) << c.name;
        }
    }
}

TEST_F(DynamicsPageTest, ADelayTooLongForAnIntegerIsCalledTooLarge) {
    choose("U", "Y", "Интервал 1", 0, 1, "3");
    ASSERT_TRUE(identify().empty());
    const struct {
        const char* text;
        bool pasted;  // the key filter lets no letter or point be typed
        const char* message;
    } cases[] = {
        {"99999999999", false, "Запаздывание слишком велико!"},
        {"-99999999999", false, "Запаздывание слишком велико!"},
        {"abc", true, "Запаздывание должно быть целым числом отсчетов!"},
        {"1.5", true, "Запаздывание должно быть целым числом отсчетов!"},
    };
    for (const auto& c : cases) {
        page->Edit19->clear();
        if (c.pasted) {
            QGuiApplication::clipboard()->setText(QString::fromUtf8(c.text));
            QTest::keyClick(page->Edit19, Qt::Key_V, Qt::ControlModifier);
        } else {
            QTest::keyClicks(page->Edit19, c.text);
        }
        ASSERT_EQ(page->Edit19->text(), QString::fromUtf8(c.text));
        EXPECT_EQ(identify(), std::vector<std::string>{c.message}) << c.text;
        // Nothing ran: the model of the delay 3 is still shown.
        EXPECT_EQ(page->Label29->text(), QString("-(3)*s")) << c.text;
    }
}

TEST_F(DynamicsPageTest, EditorRowsFollowTheOrdersAndBadValuesAreRefused) {
    // A plant with two input and four output lags, driven by a pseudo-random input.
    std::vector<double> u(400), y(400, 0.0);
    unsigned state = 12345;
    for (double& v : u) {
        state = state * 1103515245u + 12345u;
        v = static_cast<double>((state >> 16) & 0x7FFF) / 16384.0 - 1.0;
    }
    const double a[] = {2.6, -2.51, 1.066, -0.168}, b[] = {0.1, 0.05, 0.02};
    for (size_t i = 4; i < y.size(); ++i) {
        for (int j = 0; j < 4; ++j) y[i] += a[j] * y[i - 1 - j];
        for (int j = 0; j < 3; ++j) y[i] += b[j] * u[i - j];
    }
    addSeries("U4", u, kStart, kMinute);
    addSeries("Y4", y, kStart, kMinute);
    form.fragmentsChart->addFragment("Длинный", 1, kStart - 1e-6, kStart + 400 * kMinute);
    form.setActivePage(0);
    form.setActivePage(9);
    choose("U4", "Y4", "Длинный", 2, 4, "0");
    ASSERT_TRUE(identify().empty()) << prompter.record.texts().front();

    std::vector<std::string> labels;
    page->coefficientEditor()->runModal = [&labels](TForm16& f) {
        EXPECT_EQ(f.windowTitle(), QString("Редактирование модели"));
        for (int row = 0; row < f.grid->rowCount(); ++row) labels.push_back(f.grid->cell(0, row));
        return false;
    };
    page->SpeedButton14->click();
    EXPECT_EQ(labels, (std::vector<std::string>{"Коэффициент", "K", "A2", "A1", "A0", "B4", "B3", "B2", "B1", "B0"}));

    const struct {
        const char* text;
        bool accepted;
    } values[] = {{"1,5", true}, {"-2.5E-3", true}, {"abc", false}, {"1,5x", false}, {"INF", false}, {"1e400", false}};
    for (const auto& v : values) {
        bool write = false, thrown = false;
        try {
            TForm16::gridWriteValue(nullptr, 1, 1, v.text, write);
        } catch (const std::exception& e) {
            thrown = true;
            EXPECT_STREQ(e.what(), kCoefficientNotNumber);
        }
        EXPECT_EQ(write, v.accepted) << v.text;
        EXPECT_EQ(thrown, !v.accepted) << v.text;
    }
}

TEST_F(DynamicsPageTest, EditsThatCannotBeSimulatedAreToldNotHidden) {
    choose("U", "Y", "Интервал 1", 0, 1, "3");
    ASSERT_TRUE(identify().empty());
    const std::string r2 = page->StringGrid9->cell(1, 1);

    // A zero denominator: no difference equation exists; the model and the page stay as
    // they were.
    prompter.record.entries.clear();
    editor({{3, "0"}, {4, "0"}}, true);
    EXPECT_EQ(prompter.record.texts(), std::vector<std::string>{kEditedModelNotDiscrete});
    EXPECT_NEAR(static_cast<double>(engine.dynamicmodel.denum[1]), 10.0, 1e-6);
    EXPECT_EQ(page->StringGrid9->cell(1, 1), r2);

    // B1 = -0.99 makes y[i] = ... - 99 y[i-1]: the output overflows. The values come out
    // as infinite or not a number and the chart still draws.
    editor({{2, "1"}, {3, "-0,99"}}, true);
    EXPECT_EQ(page->Edit21->text(), QString("-0,99*s^1 + 1"));
    const std::string shown = page->StringGrid9->cell(1, 3);
    EXPECT_TRUE(shown == "INF" || shown == "NAN") << shown;
    EXPECT_TRUE(std::isinf(page->Chart11->series(1).YValue(kPoints - 4)));
    page->Chart11->replot();
}

TEST_F(DynamicsPageTest, ListsKeepTheirChoiceWhileItsObjectExists) {
    choose("U", "Y", "Короткий", 0, 1, "3");
    addSeries("Z", {1, 2, 3});
    EXPECT_EQ(page->ComboBox4->currentText(), QString("U"));
    EXPECT_EQ(page->ComboBox7->currentText(), QString("Y"));
    EXPECT_EQ(page->ComboBox7->count(), 3);

    // The output goes: its list has no choice and the identification refuses.
    form.project().deleteSeries(1, true);
    EXPECT_EQ(page->ComboBox7->currentIndex(), -1);
    EXPECT_EQ(page->ComboBox4->currentText(), QString("U"));
    EXPECT_EQ(identify(), std::vector<std::string>{kFillAllFields});

    // A dropped series becomes the choice.
    ASSERT_TRUE(drop(page->ComboBox7, {1}));
    EXPECT_EQ(page->ComboBox7->currentText(), QString("Z"));

    // The chosen interval is redrawn elsewhere: gone from the list when the page is shown.
    form.fragmentsChart->delAllFragment();
    form.fragmentsChart->addFragment("Интервал 1", 1, kStart, kStart + 50 * kMinute);
    form.fragmentsChart->addFragment("Короткий", 1, kStart, kStart + 20 * kMinute);
    form.setActivePage(0);
    form.setActivePage(9);
    EXPECT_EQ(page->ComboBox3->count(), 2);
    EXPECT_EQ(page->ComboBox3->currentIndex(), -1);
    EXPECT_EQ(page->ComboBox4->currentText(), QString("U"));
}

TEST_F(DynamicsPageTest, DelayFieldAndFormulaPicture) {
    page->Edit19->clear();
    QTest::keyClicks(page->Edit19, "a-1,2x");
    EXPECT_EQ(page->Edit19->text(), QString("-12"));

    // Leaving the delay field, or the data page's step in days, empty makes it "0".
    TimeAxisBox* axis = form.dataPage()->timeAxis;
    for (QLineEdit* field : {page->Edit19, axis->Edit18}) {
        field->setText("");
        QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(field, &leave);
        EXPECT_EQ(field->text(), QString("0")) << field->objectName().toStdString();
    }

    // The picture comes 500 ms after the pointer entered the icon, 5 pixels off the pointer.
    TForm21* picture = page->formulaPicture();
    EXPECT_EQ(picture->Image5->size(), QSize(300, 80));
    QEvent enter(QEvent::Enter), leave(QEvent::Leave);
    QApplication::sendEvent(page->Image4, &enter);
    EXPECT_TRUE(page->Timer2->isActive());
    EXPECT_EQ(page->Timer2->interval(), 500);
    QApplication::sendEvent(page->Image4, &leave);
    QTest::qWait(600);
    EXPECT_FALSE(picture->isVisible());

    QApplication::sendEvent(page->Image4, &enter);
    QTest::qWait(600);
    ASSERT_TRUE(picture->isVisible());
    EXPECT_EQ(picture->pos(), QCursor::pos() + QPoint(5, 5));
    EXPECT_FALSE(page->Timer2->isActive());
    QApplication::sendEvent(page->Image4, &leave);
    EXPECT_FALSE(picture->isVisible());

    // Another page shown while the timer runs: the picture never comes.
    QApplication::sendEvent(page->Image4, &enter);
    form.setActivePage(0);
    EXPECT_FALSE(page->Timer2->isActive());
}

TEST(DelayShiftTest, MovesInputValuesAndKeepsTimes) {
    const struct {
        int d;
        bool ok;
        int count;
        int firstTime;   // index of the original time of point 0 of both copies
        int firstInput;  // index of the original input value at point 0
    } cases[] = {{0, true, 20, 0, 0}, {3, true, 17, 3, 0}, {-3, true, 17, 0, 3},
                 {19, true, 1, 19, 0}, {20, false, 20, 0, 0}, {-20, false, 20, 0, 0}};
    for (const auto& c : cases) {
        TStatisticSeries in, out;
        for (int i = 0; i < 20; ++i) {
            in.AddXY(100 + i, 1000 + i);
            out.AddXY(100 + i, 2000 + i);
        }
        EXPECT_EQ(shiftByDelay(in, out, c.d), c.ok) << c.d;
        ASSERT_EQ(in.Count(), c.count) << c.d;
        ASSERT_EQ(out.Count(), c.count) << c.d;
        for (int k = 0; k < c.count; ++k) {
            EXPECT_EQ(in.XValue(k), 100 + c.firstTime + k) << c.d;
            EXPECT_EQ(out.XValue(k), 100 + c.firstTime + k) << c.d;
            EXPECT_EQ(out.YValue(k), 2000 + c.firstTime + k) << c.d;
            EXPECT_EQ(in.YValue(k), 1000 + c.firstInput + k) << c.d;
        }
    }
}

}  // namespace
