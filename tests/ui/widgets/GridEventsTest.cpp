// The grids as a user drives them with the mouse, the keys and the window's edges: captions
// that stay over their columns when a grid scrolled to its end gets wider (on screen and in
// the copied picture), a typed value that arrow and page keys leave in its editor, a click on
// a cell half under the fixed column, the menu of the header over the fixed column, and the
// size of the filter pop-up at the running font.
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QStyleOptionSlider>
#include <QTabWidget>
#include <cmath>

#include "ui/charts/FragmentChart.h"
#include "ui/pages/dynamics/DynamicsPage.h"
#include "ui/pages/dynamics/TForm16.h"
#include "ui/pages/fragments/FragmentPage.h"
#include "ui/pages/regularised/RegularisedPage.h"
#include "ui/pages/statistics/CorrelationPage.h"
#include "ui/pages/statistics/IntervalStatisticsPage.h"
#include "ui/pages/statistics/TForm5.h"
#include "ui/widgets/EditingStringGrid.h"
#include "ui/widgets/FiltredStringGrid.h"
#include "ui/widgets/GridsInWindowFixture.h"
#include "ui/widgets/SeriesListBox.h"
#include "ui/widgets/TForm14.h"

namespace {

// Drags a scroll bar's handle past the bar's far end, as a user does.
void dragToEnd(QScrollBar* bar) {
    QApplication::processEvents();
    QStyleOptionSlider opt;
    opt.initFrom(bar);
    opt.subControls = QStyle::SC_All;
    opt.orientation = bar->orientation();
    opt.minimum = bar->minimum();
    opt.maximum = bar->maximum();
    opt.sliderPosition = opt.sliderValue = bar->value();
    opt.singleStep = bar->singleStep();
    opt.pageStep = bar->pageStep();
    if (bar->orientation() == Qt::Horizontal) opt.state |= QStyle::State_Horizontal;
    const QPoint from =
        bar->style()->subControlRect(QStyle::CC_ScrollBar, &opt, QStyle::SC_ScrollBarSlider, bar).center();
    const QPoint to = bar->orientation() == Qt::Horizontal ? QPoint(bar->width() + 300, from.y())
                                                           : QPoint(from.x(), bar->height() + 300);
    // The events carry their buttons themselves: the bar takes no press while another
    // button is held, whatever an earlier test left pressed.
    auto send = [bar](QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent e(type, QPointF(at), QPointF(bar->mapToGlobal(at)), button, held, Qt::NoModifier);
        QApplication::sendEvent(bar, &e);
    };
    send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, (from + to) / 2, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    QApplication::processEvents();
}

// A right click as the window system delivers it: the press, the context-menu event it
// brings, and the release.
void rightClick(QWidget* w, QPoint pos) {
    QWidget* window = w->window();
    QTest::mouseClick(window->windowHandle(), Qt::RightButton, {}, w->mapTo(window, pos));
    QApplication::processEvents();
}

QImage rgb(const QPixmap& pm) { return pm.toImage().convertToFormat(QImage::Format_RGB32); }

// The view's own drawing of its cells, no pane over them, with its scroll bars at h and v.
QImage viewDrawing(FrozenTableView* g, int h, int v) {
    g->horizontalScrollBar()->setValue(h);
    g->verticalScrollBar()->setValue(v);
    QImage img(g->viewport()->size(), QImage::Format_RGB32);
    img.fill(Qt::white);
    g->viewport()->render(&img, QPoint(), QRegion(), QWidget::DrawWindowBackground);
    return img;
}

// The fixed cells of `picture` (the grid as drawn, its viewport at `at`) stand where the view
// has their columns and rows: the panes over the fixed rows and columns lay each column and
// row where the view lays it, and the bands show, pixel for pixel, what the view itself draws
// there with the other direction scrolled back to its start, where its fixed cells lie in place.
void expectFixedCellsInPlace(FrozenTableView* g, const QImage& picture, QPoint at, const char* what) {
    SCOPED_TRACE(what);
    const QRect vp = g->viewport()->rect();
    const int bandW = g->frozenWidth(), bandH = g->frozenHeight();
    int checked = 0;
    if (QTableView* top = g->frozenRowsPane()) {
        for (int c = g->frozenCols(); c < g->model()->columnCount(); ++c) {
            const int x = g->columnViewportPosition(c);
            if (x + g->columnWidth(c) <= bandW || x >= vp.width()) continue;
            ++checked;
            EXPECT_EQ(top->viewport()->mapTo(g, QPoint(top->columnViewportPosition(c), 0)).x(),
                      g->viewport()->mapTo(g, QPoint(x, 0)).x())
                << "column " << c;
        }
    }
    if (QTableView* left = g->frozenColsPane()) {
        for (int r = g->frozenRows(); r < g->model()->rowCount(); ++r) {
            const int y = g->rowViewportPosition(r);
            if (y + g->rowHeight(r) <= bandH || y >= vp.height()) continue;
            ++checked;
            EXPECT_EQ(left->viewport()->mapTo(g, QPoint(0, left->rowViewportPosition(r))).y(),
                      g->viewport()->mapTo(g, QPoint(0, y)).y())
                << "row " << r;
        }
    }
    EXPECT_GT(checked, 0);
    QScrollBar* hb = g->horizontalScrollBar();
    QScrollBar* vb = g->verticalScrollBar();
    const int h = hb->value(), v = vb->value();
    const struct {
        QRect band;
        int h, v;
        const char* name;
    } bands[] = {{QRect(bandW, 0, vp.width() - bandW, bandH), h, 0, "top"},
                 {QRect(0, bandH, bandW, vp.height() - bandH), 0, v, "left"},
                 {QRect(0, 0, bandW, bandH), 0, 0, "corner"}};
    for (const auto& b : bands) {
        if (b.band.isEmpty()) continue;
        ASSERT_TRUE(picture.rect().contains(b.band.translated(at))) << b.name;
        const QImage truth = viewDrawing(g, b.h, b.v);
        EXPECT_TRUE(picture.copy(b.band.translated(at)) == truth.copy(b.band)) << b.name;
    }
    hb->setValue(h);
    vb->setValue(v);
    QApplication::processEvents();
}

struct GridEvents : GridsInWindowFixture {
    // The grid as the user sees it, and where its viewport lies in that picture.
    static QImage seen(FrozenTableView* g) {
        QApplication::processEvents();
        return rgb(g->grab());
    }
    static QPoint viewportAt(FrozenTableView* g) { return g->viewport()->geometry().topLeft(); }
};

// Statistics by intervals of one series over 30 intervals, loaded by "Загрузить", scrolled to
// the right end by the scroll bar and the main window enlarged: the captions follow, and
// they follow a caption made wider by its border and the window made narrower again.
struct SeriesAndIntervalNames {
    const char* name;
    const char* series;
    const char* interval;
};
void PrintTo(const SeriesAndIntervalNames& n, std::ostream* os) { *os << n.name; }

struct IntervalStatisticsWidened : GridEvents, ::testing::WithParamInterface<SeriesAndIntervalNames> {};

TEST_P(IntervalStatisticsWidened, CaptionsStayOverTheirColumns) {
    const char* title = GetParam().series;
    const char* interval = GetParam().interval;
    std::vector<double> values(900);
    for (size_t i = 0; i < values.size(); ++i) values[i] = 100.0 + static_cast<double>((i * 7) % 23);
    addSeries(title, values, kStart, kMinute);
    for (int k = 0; k < 30; ++k)
        form.fragmentsChart->addFragment(interval + std::to_string(k + 1), 1, kStart + 30 * k * kMinute,
                                         kStart + (30 * k + 29) * kMinute);
    page<FragmentPage>(4);
    auto* intervals = page<IntervalStatisticsPage>(5);
    intervals->ComboBox2->setCurrentIndex(0);
    QTest::mouseClick(intervals->Button3, Qt::LeftButton);
    editingStringGrid* grid = intervals->StringGrid7;
    ASSERT_EQ(grid->colCount(), 31);
    ASSERT_EQ(grid->cell(30, 0), std::string(title) + "_" + interval + "30");

    dragToEnd(grid->horizontalScrollBar());
    ASSERT_EQ(grid->horizontalScrollBar()->value(), grid->horizontalScrollBar()->maximum());
    const int before = grid->viewport()->width();
    form.resize(1400, 800);
    QApplication::processEvents();
    ASSERT_GT(grid->viewport()->width(), before);
    expectFixedCellsInPlace(grid, seen(grid), viewportAt(grid), "wider");
    // The last column keeps its caption.
    const int last = grid->columnViewportPosition(30);
    ASSERT_LT(last, grid->viewport()->width() - 10);
    EXPECT_EQ(grid->frozenRowsPane()->indexAt(QPoint(last + 5, 5)).column(), 30);

    const QPoint border(grid->columnViewportPosition(29) + grid->columnWidth(29) - 1, 5);
    const int width = grid->columnWidth(29);
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, border);
    QTest::mouseMove(grid->viewport(), border + QPoint(40, 0));
    QTest::mouseMove(grid->viewport(), border + QPoint(80, 0));
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, border + QPoint(80, 0));
    ASSERT_EQ(grid->columnWidth(29), width + 80);
    expectFixedCellsInPlace(grid, seen(grid), viewportAt(grid), "caption widened");
    form.resize(1000, 700);
    QApplication::processEvents();
    expectFixedCellsInPlace(grid, seen(grid), viewportAt(grid), "narrower");
}

// Short names, as the split names its intervals, and long plant names.
INSTANTIATE_TEST_SUITE_P(Names, IntervalStatisticsWidened,
                         ::testing::Values(SeriesAndIntervalNames{"Short", "Давление", "Интервал "},
                                           SeriesAndIntervalNames{"Long", "Давление пара в барабане котла, Па",
                                                                  "Работа на пониженной нагрузке, участок "}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(GridEvents, TheCorrelationMapScrolledToTheEndKeepsItsTitlesWhenWidenedAndInItsPicture) {
    for (int s = 0; s < 30; ++s) {
        std::vector<double> v(12);
        for (size_t i = 0; i < v.size(); ++i) v[i] = 500 + std::sin(0.3 * static_cast<double>(i * (s + 1)));
        addSeries("Температура металла поверхности нагрева, точка " + std::to_string(s + 1), v);
    }
    auto* correlation = page<CorrelationPage>(3);
    QTest::mouseClick(correlation->Button5, Qt::LeftButton);
    TForm5* map = correlation->form5();
    ASSERT_TRUE(map->isVisible());
    map->resize(700, 400);
    ASSERT_TRUE(activate(map));
    FrozenTableView* grid = map->StringGrid1;
    dragToEnd(grid->horizontalScrollBar());
    dragToEnd(grid->verticalScrollBar());
    ASSERT_EQ(grid->horizontalScrollBar()->value(), grid->horizontalScrollBar()->maximum());
    ASSERT_EQ(grid->verticalScrollBar()->value(), grid->verticalScrollBar()->maximum());
    map->resize(900, 560);
    QApplication::processEvents();
    const QImage onScreen = seen(grid);

    // "Скопировать изображение" from the grid's menu.
    QApplication::clipboard()->clear();
    rightClick(grid->viewport(), grid->viewport()->rect().center());
    ASSERT_TRUE(map->PopupMenu1->isVisible());
    QTest::mouseClick(map->PopupMenu1, Qt::LeftButton, {}, map->PopupMenu1->actionGeometry(map->N2).center());
    const QImage copied = QApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(copied.isNull());

    expectFixedCellsInPlace(grid, onScreen, viewportAt(grid), "on screen");
    expectFixedCellsInPlace(grid, copied, viewportAt(grid), "copied");
    map->hide();
}

// Types into the editor over (col, row), opened by a click on the cell.
void clickAndType(editingStringGrid* grid, int col, int row, const char* text) {
    const QRect cell = grid->visualRect(grid->model()->index(row, col));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    ASSERT_TRUE(grid->isEditing());
    ASSERT_EQ(grid->editingCell(), QPoint(col, row));
    QTest::keyClicks(grid->cellsEdit(), QString::fromUtf8(text));
}

// Keys a line editor has no use for, which the grid would take to move its current cell.
const struct {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const char* name;
} kMovingKeys[] = {{Qt::Key_Down, {}, "Down"},
                   {Qt::Key_Up, {}, "Up"},
                   {Qt::Key_PageDown, {}, "PageDown"},
                   {Qt::Key_PageUp, {}, "PageUp"},
                   {Qt::Key_End, Qt::ControlModifier, "Ctrl+End"},
                   {Qt::Key_Home, Qt::ControlModifier, "Ctrl+Home"}};

// Each moving key leaves `typed` in the editor over (col, row), the cell unwritten; Esc then
// drops it.
void expectMovingKeysKeepTheEditor(editingStringGrid* grid, int col, int row, const char* typed) {
    const std::string old = grid->cell(col, row);
    for (const auto& k : kMovingKeys) {
        SCOPED_TRACE(k.name);
        clickAndType(grid, col, row, typed);
        QTest::keyClick(grid->cellsEdit(), k.key, k.modifiers);
        EXPECT_TRUE(grid->cellsEdit()->isVisible());
        EXPECT_EQ(grid->editingCell(), QPoint(col, row));
        EXPECT_EQ(grid->cellsEdit()->text(), QString::fromUtf8(typed));
        EXPECT_EQ(grid->currentIndex(), grid->model()->index(row, col));
        EXPECT_EQ(grid->cell(col, row), old);
        QTest::keyClick(grid->cellsEdit(), Qt::Key_Escape);
        EXPECT_FALSE(grid->isEditing());
    }
}

TEST_F(GridEvents, ArrowAndPageKeysLeaveTheTypedCoefficientInTheEditorUntilEnter) {
    std::vector<double> u(120), y(120, 0.0);
    for (size_t i = 0; i < u.size(); ++i) u[i] = std::sin(0.3 * static_cast<double>(i)) + ((i / 20) % 2);
    for (size_t i = 1; i < y.size(); ++i) y[i] = 0.9 * y[i - 1] + 0.2 * u[i - 1];
    addSeries("U", u, kStart, kMinute);
    addSeries("Y", y, kStart, kMinute);
    form.fragmentsChart->addFragment("Интервал 1", 1, kStart - 1e-6, kStart + 119 * kMinute + 1e-6);
    auto* dynamics = page<DynamicsPage>(9);
    dynamics->ComboBox4->setCurrentIndex(0);
    dynamics->ComboBox7->setCurrentIndex(1);
    dynamics->ComboBox3->setCurrentIndex(0);
    dynamics->ComboBox8->setCurrentIndex(0);
    dynamics->ComboBox9->setCurrentIndex(1);
    QTest::mouseClick(dynamics->Button16, Qt::LeftButton);
    ASSERT_TRUE(form.analyzer().dynamicIdentification.calcModel);

    std::string written;
    dynamics->coefficientEditor()->runModal = [&](TForm16& f) {
        f.setResult(QDialog::Rejected);
        EXPECT_TRUE(activate(&f));
        editingStringGrid* grid = f.grid;
        EXPECT_EQ(grid->cell(0, 1), "K");
        expectMovingKeysKeepTheEditor(grid, 1, 1, "99");
        // Down, then Enter: the value typed before Down is written.
        clickAndType(grid, 1, 1, "99");
        QTest::keyClick(grid->cellsEdit(), Qt::Key_Down);
        QTest::keyClick(grid->cellsEdit(), Qt::Key_Return);
        EXPECT_FALSE(grid->isEditing());
        written = grid->cell(1, 1);
        QTest::mouseClick(f.Button1, Qt::LeftButton);
        f.hide();
        return f.result() == QDialog::Accepted;
    };
    QTest::mouseClick(dynamics->SpeedButton14, Qt::LeftButton);
    EXPECT_EQ(written, "99");
    EXPECT_EQ(static_cast<double>(form.analyzer().dynamicIdentification.dynamicmodel.k), 99.0);
    EXPECT_EQ(dynamics->Edit20->text(), QString("99*(1)"));
}

// The fragment page's scale grid, shown on its tab, with two series on the chart.
struct ScaleGridEvents : GridEvents {
    editingStringGrid* grid = nullptr;
    void SetUp() override {
        GridEvents::SetUp();
        for (const char* title : {"Давление", "Уровень"}) {
            std::vector<double> v(60);
            for (size_t i = 0; i < v.size(); ++i) v[i] = 100.0 + static_cast<double>(i % 7);
            addSeries(title, v, kStart, kMinute);
        }
        auto* fragments = page<FragmentPage>(4);
        ASSERT_TRUE(drop(form.fragmentsChart, {0, 1}));
        auto* tabs = form.findChild<QTabWidget*>(QStringLiteral("PageControl2"));
        ASSERT_TRUE(tabs);
        QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(1).center());
        grid = fragments->stringgridGraphScale;
        ASSERT_TRUE(grid->isVisible());
        QApplication::processEvents();
    }
};

TEST_F(ScaleGridEvents, ArrowAndPageKeysLeaveTheTypedBoundInTheEditorUntilEnter) {
    expectMovingKeysKeepTheEditor(grid, 1, 2, "5");
    clickAndType(grid, 1, 2, "5");
    QTest::keyClick(grid->cellsEdit(), Qt::Key_PageDown);
    QTest::keyClick(grid->cellsEdit(), Qt::Key_Return);
    EXPECT_EQ(grid->cell(1, 2), "5");
    EXPECT_EQ(form.fragmentsChart->scale().curBounds[1].lower, 5.0);
    EXPECT_TRUE(prompter.record.entries.empty());
}

TEST_F(ScaleGridEvents, AClickOnACellHalfUnderTheFixedColumnShowsTheWholeEditor) {
    // Narrow enough that the bounds scroll sideways under the column of names.
    grid->setFixedWidth(grid->columnWidth(0) + grid->columnWidth(1) + 40);
    QApplication::processEvents();
    dragToEnd(grid->horizontalScrollBar());
    const int band = grid->frozenWidth();
    const int x = grid->columnViewportPosition(1);
    ASSERT_LT(x, band);
    ASSERT_GT(x + grid->columnWidth(1), band + 20);
    // A click on the part of YMin the user sees, the hand moving a little before it lets go.
    const QPoint at(band + 10, grid->rowViewportPosition(1) + 5);
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseMove(grid->viewport(), at + QPoint(2, 1));
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, at + QPoint(2, 1));
    ASSERT_TRUE(grid->isEditing());
    ASSERT_EQ(grid->editingCell(), QPoint(1, 1));
    QTest::keyClicks(grid->cellsEdit(), "12345");
    QApplication::processEvents();
    const QRect editor = grid->cellsEdit()->geometry();
    EXPECT_GE(editor.left(), band);
    EXPECT_LE(editor.right(), grid->viewport()->width() - 1);
    EXPECT_GT(editor.width(), 8);
    // What the grid shows there is the editor: nothing lies over it.
    const QRect inGrid(grid->viewport()->mapTo(grid, editor.topLeft()), editor.size());
    EXPECT_TRUE(seen(grid).copy(inGrid) == rgb(grid->cellsEdit()->grab()));
    QTest::keyClick(grid->cellsEdit(), Qt::Key_Return);
    EXPECT_EQ(grid->cell(1, 1), "12345");
}

TEST_F(GridEvents, ARightClickOnTheHeaderOverTheFixedCheckBoxColumnOpensTheMenu) {
    addBoiler();
    auto* regularised = page<RegularisedPage>(8);
    ASSERT_TRUE(drop(regularised->ListBox1, {2}) && drop(regularised->ListBox4, {0, 1}));
    QTest::mouseClick(regularised->Button14, Qt::LeftButton);
    TFiltredStringGrid* table = regularised->SGStaticModel;
    ASSERT_EQ(table->shownRowCount(), 3);
    FrozenTableView* shown = table->SGShow();
    QHeaderView* header = shown->horizontalHeader();
    QMenu* menu = regularised->PopupMenuFilter;
    const int band = shown->frozenWidth();
    ASSERT_GT(band, 10);

    // Unscrolled, then scrolled to the end with a column under the fixed one: the header
    // over the fixed column opens the menu for column 0, the next header for its own column.
    shown->setFixedWidth(band + 300);
    QApplication::processEvents();
    for (bool scrolled : {false, true}) {
        SCOPED_TRACE(scrolled ? "scrolled" : "at the start");
        if (scrolled) dragToEnd(shown->horizontalScrollBar());
        ASSERT_EQ(shown->columnViewportPosition(1) < band, scrolled);
        rightClick(header->viewport(), QPoint(band / 2, header->height() / 2));
        EXPECT_TRUE(menu->isVisible());
        EXPECT_EQ(table->currentCol(), 0);
        EXPECT_FALSE(regularised->N21->isEnabled());  // sorting by the check boxes is not offered
        menu->hide();
        const int next = shown->shownColumnAt(band + 5);
        ASSERT_GT(next, 0);
        rightClick(header->viewport(), QPoint(band + 5, header->height() / 2));
        EXPECT_TRUE(menu->isVisible());
        EXPECT_EQ(table->currentCol(), next);
        menu->hide();
    }
    EXPECT_TRUE(table->Form14()->isHidden());
}

// The title of a group box lies inside the box.
bool titleFits(const QGroupBox* box) {
    QStyleOptionGroupBox opt;
    opt.initFrom(box);
    opt.text = box->title();
    opt.lineWidth = 1;
    opt.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    opt.textAlignment = box->alignment();
    const QRect label = box->style()->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, box);
    return box->rect().contains(label) && label.width() >= box->fontMetrics().horizontalAdvance(box->title());
}

// Every text of the pop-up in full at its present size: the group's title, the button's
// caption, the operators and a long filter in the list.
bool textsFit(TForm14& pop) {
    pop.layout()->activate();
    auto* group = pop.findChild<QGroupBox*>(QStringLiteral("GroupBox1"));
    auto* save = pop.findChild<QPushButton*>(QStringLiteral("BitBtn2"));
    auto* ops = pop.findChild<QComboBox*>(QStringLiteral("ComboBox1"));
    auto* list = pop.findChild<QListWidget*>(QStringLiteral("CheckListBox1"));
    const QRect inside = pop.contentsRect();
    for (QWidget* w : std::initializer_list<QWidget*>{group, save, ops, list})
        if (!inside.contains(QRect(w->mapTo(&pop, QPoint()), w->size()))) return false;
    const QFontMetrics fm(list->font());
    const QStyle* style = list->style();
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1;
    const int check = style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, list);
    int widest = 0;
    for (int i = 0; i < list->count(); ++i) widest = std::max(widest, fm.horizontalAdvance(list->item(i)->text()));
    const int scrollBar = style->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list);
    return titleFits(group) && save->width() >= save->sizeHint().width() && ops->width() >= ops->sizeHint().width() &&
           widest + check + 4 * margin <= list->width() - 2 * list->frameWidth() - scrollBar;
}

TEST(FilterPopup, KeepsItsSizeUnlessItsTextsNeedMore) {
    // A small font, the running one, and a large one.
    const int sizes[] = {7, 0, 12};
    for (int points : sizes) {
        SCOPED_TRACE(points);
        QWidget host;
        host.resize(900, 700);
        if (points) host.setFont(QFont(QStringLiteral("DejaVu Sans"), points));
        TForm14 pop(&host);
        std::vector<std::shared_ptr<TFilter>> filters = {std::make_shared<TFilter>(4, -1.2345678e-5L, true),
                                                         std::make_shared<TFilter>(0, 100000.0L, false)};
        pop.loadFilter(filters);
        host.show();
        pop.popupAt(host.mapToGlobal(QPoint(10, 10)));
        const QSize size = pop.size();
        // Does the specified 184 x 202 show every text? Measured on a twin set to that size.
        TForm14 twin(&host);
        twin.loadFilter(filters);
        twin.setFixedSize(184, 202);
        twin.show();
        const bool specifiedFits = textsFit(twin);
        if (specifiedFits) {
            EXPECT_EQ(size, QSize(184, 202));
        } else {
            EXPECT_TRUE(size.width() > 184 || size.height() > 202);
            EXPECT_GE(size.width(), 184);
            EXPECT_GE(size.height(), 202);
        }
        EXPECT_TRUE(textsFit(pop));
        if (points == 7) {
            EXPECT_TRUE(specifiedFits);
        }
        if (points == 12) {
            EXPECT_FALSE(specifiedFits);
        }
    }
    // A font changed while the program runs sizes the pop-up again.
    QWidget host;
    host.resize(900, 700);
    TForm14 pop(&host);
    host.show();
    pop.popupAt(host.mapToGlobal(QPoint(10, 10)));
    pop.setFont(QFont(QStringLiteral("DejaVu Sans"), 12));
    QApplication::processEvents();
    EXPECT_GT(pop.width(), 184);
    EXPECT_TRUE(textsFit(pop));
    pop.setFont(QFont(QStringLiteral("DejaVu Sans"), 7));
    QApplication::processEvents();
    EXPECT_EQ(pop.size(), QSize(184, 202));
}

}  // namespace
