// The data grid: loads, the setters and their events, the series names, the colours, and
// bad files that leave everything as it was.
#include <gtest/gtest.h>

#include <QHeaderView>
#include <QStyleOptionHeader>
#include <QTest>

#include <string>
#include <vector>

#include "ui/widgets/TLoadData.h"

namespace {


// Records the grid's events in order: "N" for OnChangeNameRow, "S" for OnChangeSome.
struct EventLog {
    std::string events;
    explicit EventLog(TLoadData& g) {
        QObject::connect(&g, &TLoadData::OnChangeNameRow, [this](TLoadData*) { events += 'N'; });
        QObject::connect(&g, &TLoadData::OnChangeSome, [this](TLoadData*) { events += 'S'; });
    }
};

// Reads a workbook of tests/data/workbooks as the data page's worker does and applies it.
bool load(TLoadData& g, const char* file) {
    const std::string path = std::string(TARVOLYN_TEST_DATA) + "/workbooks/" + file;
    return g.applyWorkbook(QString::fromStdString(path), readWorkbook(path, g.formatSettings()));
}

WorkbookReadResult table(const std::vector<std::vector<std::string>>& rows) {
    WorkbookReadResult r;
    r.cells = CellTable::fromRows(rows);
    return r;
}

TEST(TLoadData, LoadsAWorkbook) {
    TLoadData g;
    RecordingReporter rep;
    g.setReporter(&rep);
    EventLog log(g);
    ASSERT_TRUE(load(g, "openpyxl_basic.xlsx"));
    EXPECT_TRUE(rep.entries.empty());
    EXPECT_EQ(g.rowCount(), 7);
    EXPECT_EQ(g.colCount(), 6);
    EXPECT_EQ(g.cells(3, 3), QString::fromUtf8("1,23456789012346E17"));
    EXPECT_EQ(g.cells(0, 3), QString("3"));
    EXPECT_EQ(g.cells(4, 0), QString("4"));
    EXPECT_EQ(g.cells(0, 0), QString());
    EXPECT_EQ(g.cells(6, 1), QString());
    EXPECT_EQ(g.fileName(), QString("openpyxl_basic.xlsx"));
    EXPECT_TRUE(g.loadFileCheck());
    EXPECT_EQ(g.nameRow(), 1);
    EXPECT_EQ(g.timeCol(), 1);
    EXPECT_EQ(g.dataRow(), 2);
    // nameRow, timeCol, dataRow (a new value: its two events), then the closing OnChangeSome.
    EXPECT_EQ(log.events, "SSNSS");
    EXPECT_EQ(g.seriesNames(), (std::vector<std::string>{"Расход", "Давление", "Флаг", "Примечание"}));
    EXPECT_EQ(g.seriesColumns(), (std::vector<int>{2, 3, 4, 5}));
    EXPECT_EQ(g.numOfSeries(), 4);

    // A second load keeps dataRow at 2, so it fires nothing of its own.
    log.events.clear();
    ASSERT_TRUE(load(g, "range_c3.xlsx"));
    EXPECT_EQ(log.events, "SSS");
    EXPECT_EQ(g.rowCount(), 5);
    EXPECT_EQ(g.colCount(), 4);
    EXPECT_EQ(g.cells(2, 3), QString("20,25"));
    EXPECT_EQ(g.fileName(), QString("range_c3.xlsx"));
    EXPECT_EQ(g.seriesNames(), (std::vector<std::string>{"T1"}));
}

TEST(TLoadData, ColumnsFitTheirHeaderAndFirstRowsAndRowNumbersFit) {
    // 100,000 rows: a date-time column and a column under a long name.
    std::vector<std::vector<std::string>> rows(100000, {"01.03.2024 10:00:00", "1"});
    rows[0] = {"Время", "Температура воздуха в цехе"};
    TLoadData g;
    g.resize(800, 400);
    g.show();
    ASSERT_TRUE(g.applyWorkbook("a.xlsx", table(rows)));
    const QFontMetrics fm(g.font());
    EXPECT_GE(g.columnWidth(0), fm.horizontalAdvance("01.03.2024 10:00:00"));
    EXPECT_GE(g.columnWidth(1), fm.horizontalAdvance("Температура воздуха в цехе"));
    // The row numbers as wide as the header's style draws "100000", margins and all.
    QHeaderView* numbers = g.verticalHeader();
    QStyleOptionHeader option;
    option.initFrom(numbers);
    option.text = "100000";
    EXPECT_GE(numbers->width(), numbers->style()->sizeFromContents(QStyle::CT_HeaderSection, &option, {}, numbers).width());
}

TEST(TLoadData, SettersFireTheirEventsByTheirRules) {
    TLoadData g;
    g.applyWorkbook("a.xlsx", table({{"t", "x", "y", "z"}, {"1", "2", "3", "4"}, {"5", "6", "7", "8"}, {"9", "", "", ""}}));
    EventLog log(g);

    g.setTimeCol(3);
    EXPECT_EQ(log.events, "S");
    EXPECT_EQ(g.seriesNames(), (std::vector<std::string>{"t", "x", "z"}));
    g.setTimeCol(3);  // unchanged, fires again
    EXPECT_EQ(log.events, "SS");
    g.setNameRow(1);  // unchanged, fires again
    EXPECT_EQ(log.events, "SSS");
    g.setDataRow(2);  // unchanged: nothing
    EXPECT_EQ(log.events, "SSS");
    g.setDataRow(4);
    EXPECT_EQ(log.events, "SSSNS");
    EXPECT_EQ(g.seriesNames(), (std::vector<std::string>{"t", "x", "z"}));  // not rebuilt by dataRow

    // Out of range: nothing changes, nothing fires.
    log.events.clear();
    for (int v : {0, -1, 5, 100}) {
        g.setTimeCol(v);
        g.setNameRow(v);
        g.setDataRow(v);
    }
    EXPECT_EQ(log.events, "");
    EXPECT_EQ(g.timeCol(), 3);
    EXPECT_EQ(g.nameRow(), 1);
    EXPECT_EQ(g.dataRow(), 4);

    g.setNameRow(4);
    EXPECT_EQ(log.events, "S");
    EXPECT_EQ(g.seriesNames(), (std::vector<std::string>{"9"}));
    EXPECT_EQ(g.seriesColumns(), (std::vector<int>{1}));
}

TEST(TLoadData, SeriesNamesSkipBlanksAndTheTimeColumnAndAreCut) {
    TLoadData g;
    std::string longName;
    for (int i = 0; i < 300; ++i) longName += "ж";
    std::string cut;
    for (int i = 0; i < 255; ++i) cut += "ж";
    g.applyWorkbook("b.csv", table({{"время", "  ", " a ", "", "\t", longName}, {"1", "2", "3", "4", "5", "6"}}));
    EXPECT_EQ(g.seriesNames(), (std::vector<std::string>{" a ", cut}));
    EXPECT_EQ(g.seriesColumns(), (std::vector<int>{3, 6}));
    EXPECT_EQ(g.numOfSeries(), 2);
}

struct ShapeCase {
    std::vector<std::vector<std::string>> rows;
    int rowCount, colCount, dataRow, numOfSeries;
};

TEST(TLoadData, SmallSheetsGetTheirChoices) {
    const ShapeCase cases[] = {
        {{{"42"}}, 2, 2, 1, 0},                        // a single cell loads normally
        {{{"t", "a", "b"}}, 2, 4, 1, 2},               // one row: data row 1
        {{{"t"}, {"1"}, {"2"}}, 4, 2, 2, 0},           // one column: only the time column
        {{{"t", "a"}, {"1", "2"}}, 3, 3, 2, 1},
    };
    for (const auto& c : cases) {
        TLoadData g;
        RecordingReporter rep;
        g.setReporter(&rep);
        EXPECT_TRUE(g.applyWorkbook("s.xlsx", table(c.rows)));
        EXPECT_TRUE(rep.entries.empty());
        EXPECT_EQ(g.rowCount(), c.rowCount);
        EXPECT_EQ(g.colCount(), c.colCount);
        EXPECT_EQ(g.nameRow(), 1);
        EXPECT_EQ(g.timeCol(), 1);
        EXPECT_EQ(g.dataRow(), c.dataRow);
        EXPECT_EQ(g.numOfSeries(), c.numOfSeries);
        EXPECT_EQ(g.cells(1, 1).toStdString(), c.rows[0][0]);
    }
}

// Which files fail to read is the reader's to test; here a failed read must leave the grid.
TEST(TLoadData, ABadWorkbookGivesTheMessageAndLeavesTheGridAsItWas) {
    TLoadData g;
    RecordingReporter rep;
    g.setReporter(&rep);
    ASSERT_TRUE(load(g, "legacy.xls"));
    g.setDataRow(3);
    g.setCells(2, 2, "правка");
    EventLog log(g);
    const std::vector<std::string> names = g.seriesNames();

    EXPECT_FALSE(load(g, "corrupt.xlsx"));
    EXPECT_EQ(rep.texts(), std::vector<std::string>{"Ошибка открытия файла!"});
    EXPECT_EQ(rep.entries[0].kind, RecordingReporter::Kind::Message);
    EXPECT_EQ(log.events, "");
    EXPECT_EQ(g.fileName(), QString("legacy.xls"));
    EXPECT_TRUE(g.loadFileCheck());
    EXPECT_EQ(g.rowCount(), 5);
    EXPECT_EQ(g.colCount(), 4);
    EXPECT_EQ(g.cells(2, 2), QString::fromUtf8("правка"));
    EXPECT_EQ(g.cells(1, 2), QString::fromUtf8("04.05.2022 13:45:10"));
    EXPECT_EQ(g.dataRow(), 3);
    EXPECT_EQ(g.seriesNames(), names);
}

TEST(TLoadData, AFailingCellIsReportedAndTheLoadCompletes) {
    TLoadData g;
    RecordingReporter rep;
    g.setReporter(&rep);
    EventLog log(g);
    ASSERT_TRUE(load(g, "bad_cell.xlsx"));
    EXPECT_EQ(rep.texts(), std::vector<std::string>{"Ошибка загрузки!2/2"});
    EXPECT_EQ(log.events, "SSNSS");
    EXPECT_EQ(g.cells(2, 2), QString());
    EXPECT_EQ(g.cells(3, 2), QString("7"));
    EXPECT_EQ(g.cells(1, 3), QString("after"));
}

TEST(TLoadData, ColoursMarkTheChoices) {
    TLoadData g;
    g.applyWorkbook("c.xlsx", table({{"t", "a", "b"}, {"x", "x", "x"}, {"1", "2", "3"}, {"4", "5", "6"}}));
    g.setDataRow(3);
    const QColor blue(0xB3, 0xBD, 0xFF), green(0xC6, 0xFF, 0xD9), pink(0xEF, 0xC6, 0xFF);
    EXPECT_EQ(g.cellColor(1, 1), green);  // time column in the names row
    EXPECT_EQ(g.cellColor(2, 1), pink);
    EXPECT_EQ(g.cellColor(3, 1), pink);
    EXPECT_FALSE(g.cellColor(1, 2).isValid());  // between names and data: the grid's own
    EXPECT_FALSE(g.cellColor(2, 2).isValid());
    EXPECT_EQ(g.cellColor(1, 3), green);
    EXPECT_EQ(g.cellColor(2, 3), blue);
    EXPECT_EQ(g.cellColor(3, 4), blue);
    EXPECT_EQ(g.dataModel()->data(g.dataModel()->index(2, 1), Qt::BackgroundRole).value<QColor>(), blue);
    g.clear();
    EXPECT_FALSE(g.cellColor(2, 3).isValid());
}

TEST(TLoadData, ClearKeepsTheChoicesNamesAndFileName) {
    TLoadData g;
    g.applyWorkbook("/tmp/folder/d.xlsx", table({{"t", "a"}, {"1", "2"}, {"3", "4"}}));
    EventLog log(g);
    g.clear();
    EXPECT_EQ(log.events, "");
    EXPECT_EQ(g.rowCount(), 1);
    EXPECT_EQ(g.colCount(), 1);
    EXPECT_FALSE(g.loadFileCheck());
    EXPECT_EQ(g.fileName(), QString("d.xlsx"));
    EXPECT_EQ(g.timeCol(), 1);
    EXPECT_EQ(g.nameRow(), 1);
    EXPECT_EQ(g.dataRow(), 2);
    EXPECT_EQ(g.seriesNames(), std::vector<std::string>{"a"});
    EXPECT_EQ(g.cells(1, 1), QString());
    g.setTimeCol(1);  // refused on the empty grid
    EXPECT_EQ(log.events, "");
}

TEST(TLoadData, RightClickMakesTheCellCurrent) {
    TLoadData g;
    g.resize(600, 400);
    g.show();
    g.applyWorkbook("e.xlsx", table({{"t", "a", "b"}, {"1", "2", "3"}, {"4", "5", "6"}}));
    const QRect r = g.visualRect(g.dataModel()->index(2, 1));
    QTest::mousePress(g.viewport(), Qt::RightButton, {}, r.center());
    EXPECT_EQ(g.currentCol(), 2);
    EXPECT_EQ(g.currentRow(), 3);
    // Let go, or the button stays held for the tests after this one.
    QTest::mouseRelease(g.viewport(), Qt::RightButton, {}, r.center());
    g.clear();
    g.applyWorkbook("e.xlsx", table({{"t", "a", "b"}, {"1", "2", "3"}, {"4", "5", "6"}}));
    g.setCurrentCell(3, 1);
    EXPECT_EQ(g.currentCol(), 3);
    EXPECT_EQ(g.currentRow(), 1);
}

TEST(TLoadData, EditedCellsKeepTheirText) {
    TLoadData g;
    g.applyWorkbook("f.xlsx", table({{"t", "a"}, {"1", "2"}}));
    g.setCells(2, 2, QString::fromUtf8("3,5"));
    EXPECT_EQ(g.cells(2, 2), QString("3,5"));
    EXPECT_TRUE(g.dataModel()->setData(g.dataModel()->index(0, 1), QString("b"), Qt::EditRole));
    EXPECT_EQ(g.cells(2, 1), QString("b"));
    g.setCells(9, 9, "x");  // outside: ignored
    EXPECT_EQ(g.cells(9, 9), QString());
    // The plain table the quick load reads holds the edits, the grid keeps showing them.
    const CellTable& settled = g.dataModel()->settledTable();
    EXPECT_EQ(settled.rowCount(), 2);
    EXPECT_EQ(settled.columnCount(), 2);
    EXPECT_EQ(settled.text(0, 1), "b");
    EXPECT_EQ(settled.text(1, 1), "3,5");
    EXPECT_EQ(settled.text(1, 0), "1");
    EXPECT_EQ(g.cells(2, 2), QString("3,5"));
    g.setCells(1, 1, "T");
    EXPECT_EQ(g.dataModel()->settledTable().text(0, 0), "T");
}

}  // namespace
