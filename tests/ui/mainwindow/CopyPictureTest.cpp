// "Скопировать в буфер": charts and grids go to the clipboard as pictures; other
// controls leave the clipboard alone.
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QTableWidget>
#include <gtest/gtest.h>

#include "ui/charts/FragmentChart.h"
#include "ui/mainwindow/Prompter.h"
#include "ui/mainwindow/TForm1.h"

namespace {

struct CopyPicture : ::testing::Test {
    ScriptedPrompter prompter;
    TForm1 form{TForm1Services{&prompter, nullptr, nullptr}};
    void SetUp() override { QApplication::clipboard()->clear(); }
};

TEST_F(CopyPicture, FragmentChartThroughItsMenu) {
    TFragmentChart* chart = form.fragmentsChart;
    ASSERT_TRUE(chart);
    chart->resize(500, 300);
    TStatisticSeries s;
    s.Title = "Расход";
    for (int i = 0; i < 10; ++i) s.AddXY(45000 + i / 24.0, i);
    chart->addSeries(s);
    // The chart's right button opens the copy menu; its item copies the chart.
    emit chart->customContextMenuRequested(QPoint(10, 10));
    QMenu* menu = form.findChild<QMenu*>("copyPicture");
    ASSERT_TRUE(menu);
    menu->hide();
    form.findChild<QAction*>("N26")->trigger();
    const QImage img = QApplication::clipboard()->image();
    ASSERT_FALSE(img.isNull());
    EXPECT_EQ(img.size(), QSize(500, 300));
}

TEST_F(CopyPicture, GridGoesAsItsDrawnCells) {
    QTableWidget grid(3, 2);
    grid.resize(600, 400);
    grid.horizontalHeader()->setDefaultSectionSize(100);
    grid.verticalHeader()->setDefaultSectionSize(25);
    grid.setItem(0, 0, new QTableWidgetItem("Параметр"));
    grid.show();
    form.N26Click(&grid);
    const QImage img = QApplication::clipboard()->image();
    ASSERT_FALSE(img.isNull());
    // Only the drawn cells, not the empty area of the 600 x 400 control.
    EXPECT_LT(img.width(), 600);
    EXPECT_GE(img.width(), 200);
    EXPECT_LT(img.height(), 400);
    EXPECT_GE(img.height(), 75);
}

TEST_F(CopyPicture, OtherControlsCopyNothing) {
    QLineEdit edit("текст");
    form.N26Click(&edit);
    EXPECT_TRUE(QApplication::clipboard()->image().isNull());
    form.N26Click();  // no control opened the menu
    EXPECT_TRUE(QApplication::clipboard()->image().isNull());
}

}  // namespace
