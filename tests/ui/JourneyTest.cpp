// The whole road of a process engineer through the window's controls, offscreen: a workbook
// quick-loaded, intervals marked and split on the fragment chart, a regression and a dynamic
// model identified with the coefficients the workbook was made with (make_journey.py), the
// regression tested, both reported and saved, the series exported, synchronised and shifted
// (as a copy, and in place by the plant's delay, after which the dynamic model is found again
// without one), the project saved, reset and loaded back whole.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>

#include "ui/mainwindow/TForm12.h"
#include "ui/mainwindow/TForm18.h"
#include "ui/mainwindow/TForm8.h"
#include "ui/mainwindow/WorkspaceTree.h"
#include "ui/pages/data/DataPage.h"
#include "ui/pages/data/TForm9.h"
#include "ui/pages/dynamics/DynamicsPage.h"
#include "ui/pages/fragments/FragmentPageSupport.h"
#include "ui/pages/fragments/TForm11.h"
#include "ui/pages/regression/RegressionPage.h"
#include "ui/widgets/IntervalCheckList.h"
#include "ui/widgets/SeriesListBox.h"
#include "ui/widgets/TForm17.h"

namespace {

struct Journey : FragmentPageFixture {
    QTemporaryDir dir;

    int seriesIndex(const std::string& title) const {
        for (int i = 0; i < form.project().seriesCount(); ++i)
            if (form.project().seriesList[static_cast<size_t>(i)]->Title == title) return i;
        ADD_FAILURE() << "no series " << title;
        return -1;
    }
    std::vector<std::string> titles() const {
        std::vector<std::string> t;
        for (const auto& s : form.project().seriesList) t.push_back(s->Title);
        return t;
    }
    void nameModel(const char* name) {
        form.modelNameDialog()->runModal = [name](TForm17& d) {
            d.Edit1->setText(QString::fromUtf8(name));
            return d.Button1Click();
        };
    }
    void tickOnly(IntervalCheckList* list, std::initializer_list<const char*> names) {
        for (int row = 0; row < list->count(); ++row) {
            bool on = false;
            for (const char* n : names) on = on || list->text(row) == QString::fromUtf8(n);
            list->setTicked(row, on);
        }
    }
    std::string path(const char* name) const { return dir.filePath(QString::fromUtf8(name)).toStdString(); }
};

TEST_F(Journey, WorkbookToModelsToProjectAndBack) {
    ASSERT_TRUE(dir.isValid());
    // --- The workbook, quick-loaded whole ---
    auto* data = qobject_cast<DataPage*>(form.page(0));
    ASSERT_TRUE(data);
    prompter.openAnswers = {std::string(TARVOLYN_TEST_DATA) + "/workbooks/journey.xlsx"};
    data->Button1->click();
    data->runForm9 = [](TForm9& f) {
        f.CheckListBox1->item(0)->setCheckState(Qt::Checked);  // "Выбрать все"
        f.setResult(0);
        f.BitBtn1->click();
        return f.result() == QDialog::Accepted;
    };
    data->Button4->click();
    const std::vector<std::string> loaded = {"Расход", "Давление", "Температура", "Подача", "Уровень"};
    ASSERT_EQ(titles(), loaded);
    EXPECT_EQ(form.project().seriesList[4]->Count(), 300);

    // --- Fragment page: three series dropped, a good interval with a bad one inside ---
    form.setActivePage(4);
    ASSERT_TRUE(drop(chart, {0, 1, 2}));
    EXPECT_EQ(chart->seriesCount(), 3);
    minutePerPixel();
    page->SpeedButton8->click();
    drag(20, 200);
    page->SpeedButton7->click();
    drag(100, 120);
    // Another series split into intervals of 150 points: 0..149 and 150..299 minutes.
    page->runForm11 = [](TForm11& d) {
        d.ComboBox1->setCurrentIndex(d.ComboBox1->findText("Подача"));
        d.Edit1->setText("150");
        return true;
    };
    page->SpeedButton9->click();
    ASSERT_EQ(chart->numOfFragments(), 4);

    // --- Regression: Температура = 2·Расход − 0.5·Давление + 10 on the good pieces ---
    form.setActivePage(6);
    auto* regression = qobject_cast<RegressionPage*>(form.page(6));
    ASSERT_TRUE(regression);
    const std::vector<std::string> usable = {"Интервал 3", "Интервал 1", "Интервал 1+", "Интервал 3+", "Интервал 4"};
    ASSERT_EQ(regression->CheckListBox1->count(), 5);
    for (int row = 0; row < 5; ++row)
        EXPECT_EQ(regression->CheckListBox1->text(row).toStdString(), usable[static_cast<size_t>(row)]);
    ASSERT_TRUE(drop(regression->ListBox2, {seriesIndex("Температура")}));
    ASSERT_TRUE(drop(regression->ListBox3, {seriesIndex("Расход"), seriesIndex("Давление")}));
    tickOnly(regression->CheckListBox1, {"Интервал 1", "Интервал 1+"});
    regression->Button2->click();
    const TStaticModel& fitted = form.analyzer().staticIdentification.model;
    ASSERT_TRUE(form.analyzer().staticIdentification.haveModel);
    EXPECT_NEAR(static_cast<double>(fitted.A[1]), 2.0, 1e-6);
    EXPECT_NEAR(static_cast<double>(fitted.A[2]), -0.5, 1e-6);
    EXPECT_NEAR(fitted.c, 10.0, 1e-4);
    EXPECT_EQ(regression->Edit12->text().left(14), QString("ТЕМПЕРАТУРА = "));
    // Tested on the later split interval, which the training never saw.
    tickOnly(regression->CheckListBox2, {"Интервал 4"});
    regression->Button12->click();
    EXPECT_EQ(regression->StringGrid8->cell(1, 1), "1");
    prompter.saveAnswers = {path("Отчет регрессии")};
    regression->Button13->click();
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(path("Отчет регрессии")) + "/data/educationPlot.bmp"));
    nameModel("Температура");
    regression->SpeedButton10->click();
    ASSERT_EQ(form.project().statModelCount(), 1);

    // --- Dynamics: Уровень from Подача, K = 2, T = 10 min, delay 3 samples ---
    form.setActivePage(9);
    auto* dynamics = qobject_cast<DynamicsPage*>(form.page(9));
    ASSERT_TRUE(dynamics);
    dynamics->ComboBox4->setCurrentIndex(dynamics->ComboBox4->findText("Подача"));
    dynamics->ComboBox7->setCurrentIndex(dynamics->ComboBox7->findText("Уровень"));
    dynamics->ComboBox3->setCurrentIndex(dynamics->ComboBox3->findText("Интервал 4"));
    dynamics->ComboBox8->setCurrentIndex(0);
    dynamics->ComboBox9->setCurrentIndex(1);
    dynamics->Edit19->setText("3");
    dynamics->Button16->click();
    const TDynamicModel& plant = form.analyzer().dynamicIdentification.dynamicmodel;
    ASSERT_TRUE(form.analyzer().dynamicIdentification.calcModel);
    EXPECT_NEAR(static_cast<double>(plant.k), 2.0, 1e-6);
    EXPECT_NEAR(static_cast<double>(plant.denum[1] / plant.denum[0]), 10.0, 1e-6);
    EXPECT_NEAR(static_cast<double>(plant.tau), 3.0, 1e-9);
    EXPECT_EQ(dynamics->Label29->text(), QString("-(3)*s"));
    prompter.saveAnswers = {path("Отчет динамики")};
    dynamics->Button18->click();
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(path("Отчет динамики")) + "/data/logo.bmp"));
    nameModel("Уровень");
    dynamics->SpeedButton13->click();
    ASSERT_EQ(form.project().dynModelCount(), 1);

    // --- Series: exported cut to the intervals, synchronised, shifted ---
    prompter.saveAnswers = {path("Экспорт")};
    form.exportDialog()->runModal = [](TForm8& f) {
        f.BitBtn4Click();
        f.CheckBox1->setChecked(false);
        f.CheckBox2->setChecked(true);
        f.Button2Click();
    };
    form.findChild<QAction*>("N4")->trigger();
    EXPECT_EQ(QDir(QString::fromStdString(path("Экспорт/Уровень"))).entryList(QDir::Files).size(), 5);

    form.findChild<QAction*>("N27")->trigger();
    TForm18& sync = *form.syncDialog();
    drop(sync.ListBox1, {seriesIndex("Подача")});
    drop(sync.ListBox2, {seriesIndex("Уровень")});
    sync.Button1->click();
    EXPECT_EQ(prompter.record.texts().back(), "Ряды успешно синхронизированы!");
    sync.close();

    form.seriesTree()->setCurrentItem(form.seriesTree()->topLevelItem(seriesIndex("Уровень")));
    form.shiftDialog()->runModal = [](TForm12& f) {
        f.Edit1->setText("2");
        f.CheckBox1->setChecked(true);
        return true;
    };
    form.findChild<QAction*>("N18")->trigger();
    std::vector<std::string> all = {"Расход",  "Давление", "Температура",     "Подача",
                                    "Уровень", "Подача_s", "Уровень/delay(2)"};
    ASSERT_EQ(titles(), all);
    EXPECT_EQ(prompter.record.entries.size(), 1u) << prompter.record.texts().front();

    // Подача shifted in place by the plant's three samples: the dynamics page keeps it chosen
    // under its new title and finds the same plant with no delay of its own.
    shiftSeries(seriesIndex("Подача"), "3", false);
    all[3] = "Подача/delay(3)";
    ASSERT_EQ(titles(), all);
    EXPECT_EQ(form.project().seriesList[3]->Count(), 297);
    form.setActivePage(9);
    EXPECT_EQ(dynamics->ComboBox4->currentText(), QString("Подача/delay(3)"));
    EXPECT_EQ(dynamics->ComboBox7->currentText(), QString("Уровень"));
    QTest::keyClick(dynamics->Edit19, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(dynamics->Edit19, "0");
    dynamics->Button16->click();
    EXPECT_NEAR(static_cast<double>(plant.k), 2.0, 1e-6);
    EXPECT_NEAR(static_cast<double>(plant.denum[1] / plant.denum[0]), 10.0, 1e-6);
    EXPECT_EQ(static_cast<double>(plant.tau), 0.0);
    EXPECT_EQ(dynamics->Label29->text(), QString("-(0)*s"));

    // --- Save as, reset, load: everything comes back ---
    const std::vector<TFragment> intervals = chart->fragments();
    prompter.saveAnswers = {path("Установка.prj")};
    form.findChild<QAction*>("N25")->trigger();
    form.findChild<QAction*>("N2")->trigger();
    ASSERT_EQ(form.project().seriesCount(), 0);
    ASSERT_EQ(chart->numOfFragments(), 0);
    prompter.openAnswers = {path("Установка/Установка.prj")};
    form.findChild<QAction*>("N3")->trigger();
    EXPECT_EQ(titles(), all);
    EXPECT_EQ(form.project().seriesList[3]->Count(), 297);
    EXPECT_EQ(form.project().seriesList[6]->Count(), 298);
    ASSERT_EQ(chart->numOfFragments(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(chart->fragment(i).name, intervals[static_cast<size_t>(i)].name);
        EXPECT_EQ(chart->fragment(i).typeOfFragments(), intervals[static_cast<size_t>(i)].typeOfFragments());
        EXPECT_NEAR(static_cast<double>(chart->fragment(i).startPoint),
                    static_cast<double>(intervals[static_cast<size_t>(i)].startPoint), 1e-8);
    }
    EXPECT_EQ(form.project().numOfFragments(), 5);
    ASSERT_EQ(form.project().statModelCount(), 1);
    EXPECT_EQ(form.project().statModels[0]->name, "Температура");
    EXPECT_NEAR(static_cast<double>(form.project().statModels[0]->A[1]), 2.0, 1e-6);
    ASSERT_EQ(form.project().dynModelCount(), 1);
    EXPECT_EQ(form.project().dynModels[0]->name, "Уровень");
    EXPECT_NEAR(static_cast<double>(form.project().dynModels[0]->k), 2.0, 1e-6);
    // Nothing was told but the synchronisation's success and the question of "Новый".
    EXPECT_EQ(prompter.record.texts(),
              (std::vector<std::string>{"Ряды успешно синхронизированы!",
                                        "Открыт файл проекта. Несохраненные данные будут потеряны. Продолжить?"}));
}

}  // namespace
