// The correlation map window: the square grid of coefficients, its colours at the band
// edges, "-" for an undefined coefficient, and the grid copied as text.
#include <QApplication>
#include <QClipboard>
#include <QPushButton>
#include <cmath>

#include "ui/PageTestSupport.h"
#include "ui/pages/statistics/CorrelationPage.h"
#include "ui/pages/statistics/TForm5.h"

namespace {

TEST(CorrelationMapCells, ColourBandsAndTexts) {
    const struct {
        double r;
        int32_t color;
    } colors[] = {{-1, 0xFF9281},     {-0.91, 0xFF9281},   {-0.9, 0xFFB6AB}, {-0.8, 0xFFC183},
                  {-0.5, 0xFFF5BF},   {-0.2, 0xFFFFFF},    {0, 0xFFFFFF},    {0.19999, 0xFFFFFF},
                  {0.2, 0x79E5FF},    {0.5, 0x79C1FF},     {0.8, 0x6161FF},  {0.9, 0x4949E2},
                  {1, 0x4949E2}};
    for (const auto& c : colors) EXPECT_EQ(correlationColor(c.r), c.color) << c.r;
    const struct {
        double r;
        const char* text;
    } texts[] = {{1, "1"}, {0.123456, "0,1235"}, {-0.98766, "-0,9877"}, {-0.000012346, "-1,235E-0005"},
                 {0.99999, "1"}, {std::nan(""), "-"}};
    for (const auto& t : texts) EXPECT_EQ(correlationCellText(t.r), t.text) << t.r;
    EXPECT_EQ(gridClipboardText({{"", "a b", "x\"y"}, {"t\tab", "1", ""}}),
              "\t\"a b\"\t\"x\"\"y\"\r\"t\tab\"\t1\t\r");
}

TEST_F(PageFixture, CorrelationMapOfThreeSeries) {
    // By hand for s1 = 1 2 3 4 and s3 = 1 2 3 5: deviations (-1.5 -.5 .5 1.5)(-1.75 -.75 .25 2.25),
    // products 6.5, squares 5 and 8.75: r = 6.5 / sqrt(43.75) = 0.98270763; s2 = -s1 + 5.
    addSeries("Ряд 1", {1, 2, 3, 4});
    addSeries("Ряд2", {4, 3, 2, 1});
    addSeries("Ряд3", {1, 2, 3, 5});
    auto* page = qobject_cast<CorrelationPage*>(form.page(3));
    page->Button5->click();
    TForm5* map = page->form5();
    ASSERT_TRUE(map->isVisible());
    EXPECT_EQ(map->windowTitle(), QString("Коэффициенты парной корреляции"));
    ASSERT_EQ(map->rowCount(), 4);
    ASSERT_EQ(map->colCount(), 4);
    const std::vector<std::vector<std::string>> want = {{"", "Ряд 1", "Ряд2", "Ряд3"},
                                                        {"Ряд 1", "1", "-1", "0,9827"},
                                                        {"Ряд2", "-1", "1", "-0,9827"},
                                                        {"Ряд3", "0,9827", "-0,9827", "1"}};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_EQ(map->cell(c, r), want[r][c]) << c << "," << r;
    EXPECT_EQ(map->cellColor(1, 1), 0x4949E2);
    EXPECT_EQ(map->cellColor(2, 1), 0xFF9281);
    EXPECT_EQ(map->cellColor(0, 1), -1);

    QApplication::clipboard()->clear();
    map->N1->trigger();
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(),
              "\t\"Ряд 1\"\tРяд2\tРяд3\r"
              "\"Ряд 1\"\t1\t-1\t0,9827\r"
              "Ряд2\t-1\t1\t-0,9827\r"
              "Ряд3\t0,9827\t-0,9827\t1\r");
    map->N3->trigger();
    EXPECT_FALSE(QApplication::clipboard()->image().isNull());

    // A constant series has no correlation: "-" in its cells, drawn as the grid draws them.
    addSeries("Const", {2, 2, 2, 2});
    page->showKorrMap();
    ASSERT_EQ(map->rowCount(), 5);
    EXPECT_EQ(map->cell(4, 1), "-");
    EXPECT_EQ(map->cell(4, 4), "-");
    EXPECT_EQ(map->cellColor(4, 1), -1);

    form.project().deleteAllSeries();
    prompter.record.clear();
    page->showKorrMap();
    EXPECT_EQ(prompter.record.texts(), (std::vector<std::string>{"В проекте нет рядов!"}));
    map->hide();
}

}  // namespace
