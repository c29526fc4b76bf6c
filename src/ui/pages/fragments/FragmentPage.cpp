#include "ui/pages/fragments/FragmentPage.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QSplitter>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "core/Fragment.h"
#include "exchange/QuickLoad.h"
#include "numerics/FormatSettings.h"
#include "numerics/Formatters.h"
#include "ui/charts/FragmentChart.h"
#include "ui/mainwindow/Prompter.h"
#include "ui/pages/fragments/FragmentIcons.h"
#include "ui/pages/fragments/IntervalGrid.h"
#include "ui/pages/fragments/TForm11.h"
#include "ui/pages/fragments/TForm6.h"
#include "ui/widgets/EditingStringGrid.h"
#include "ui/widgets/SeriesDropTarget.h"

namespace {

const char* const kBadPointCount = "Количество точек в интервале должно быть целым числом. Интервалы не созданы.";
const char* const kEqualBounds = "Нижняя и верхняя границы шкалы должны различаться.";
const char* const kChartHint = "Для добавления графиков перетащите параметр из рабочей области";

QToolButton* toolButton(QWidget* parent, const char* name, FragmentTool picture, const char* hint) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setFixedSize(41, 41);
    b->setIconSize(QSize(32, 32));
    b->setIcon(fragmentToolIcon(picture));
    b->setAutoRaise(true);
    if (hint) b->setToolTip(QString::fromUtf8(hint));
    return b;
}


// Sampling steps shown either side of an interval of one instant.
constexpr double kInstantSteps = 2;
constexpr double kMinuteDays = 1.0 / 1440;

// The mean time between neighbouring points; 0 below two points or without time order.
double samplingStep(const TStatisticSeries& s) {
    if (s.Count() < 2) return 0;
    const double step = (s.XValue(s.Count() - 1) - s.XValue(0)) / (s.Count() - 1);
    return std::isfinite(step) && step > 0 ? step : 0;
}

}  // namespace

FragmentPage::FragmentPage(TForm1& form, QWidget* parent)
    : MainPage(QStringLiteral("TabSheet4"), QStringLiteral("Выбор фрагментов"), parent), form_(form) {
    auto* col = new QVBoxLayout(this);
    col->setContentsMargins(4, 4, 4, 4);
    buildToolBar();
    col->addWidget(GroupBox22);

    // The chart area (the chart's group box arrives through placeControl) over the grids.
    splitter_ = new QSplitter(Qt::Vertical, this);
    auto* chartArea = new QWidget(splitter_);
    auto* chartCol = new QVBoxLayout(chartArea);
    chartCol->setContentsMargins(0, 0, 0, 0);
    chartSlot_ = new QVBoxLayout;
    chartCol->addLayout(chartSlot_, 1);
    auto* under = new QHBoxLayout;
    CheckBox9 = new QCheckBox(QStringLiteral("Маркеры"), chartArea);
    CheckBox9->setObjectName(QStringLiteral("CheckBox9"));
    GroupBox6 = new QGroupBox(chartArea);
    GroupBox6->setObjectName(QStringLiteral("GroupBox6"));
    auto* scroll = new QHBoxLayout(GroupBox6);
    scroll->setContentsMargins(2, 2, 2, 2);
    SpeedButton3 = toolButton(GroupBox6, "SpeedButton3", FragmentTool::ToStart, nullptr);
    SpeedButton2 = toolButton(GroupBox6, "SpeedButton2", FragmentTool::Back, nullptr);
    SpeedButton4 = toolButton(GroupBox6, "SpeedButton4", FragmentTool::Forward, nullptr);
    SpeedButton5 = toolButton(GroupBox6, "SpeedButton5", FragmentTool::ToEnd, nullptr);
    for (QToolButton* b : {SpeedButton3, SpeedButton2, SpeedButton4, SpeedButton5}) {
        b->setFixedSize(30, 30);
        b->setIconSize(QSize(24, 24));
        scroll->addWidget(b);
    }
    under->addWidget(CheckBox9);
    under->addStretch(1);
    under->addWidget(GroupBox6);
    under->addStretch(1);
    chartCol->addLayout(under);
    splitter_->addWidget(chartArea);

    buildGrids();
    splitter_->addWidget(PageControl2);
    splitter_->setStretchFactor(0, 3);
    splitter_->setStretchFactor(1, 1);
    splitter_->setSizes({700, 220});
    col->addWidget(splitter_, 1);

    form6_ = std::make_unique<TForm6>(chart(), reporter());
    form11_ = std::make_unique<TForm11>();

    TFragmentChart& c = chart();
    c.setLegendPlace(SeriesChart::LegendPlace::Right);
    acceptSeriesDrops(&c, form_, [this](const TForm1::DroppedSeries& d) { fragmentsChartDragDrop(d); });
    connect(&c, &SeriesChart::zoomed, this, &FragmentPage::fragmentsChartZoom);
    connect(&c, &SeriesChart::legendItemClicked, this, &FragmentPage::Chart5ClickLegend);
    connect(&c, &TSmartChart::OnChangeFragments, this, &FragmentPage::refreshSG6);

    connect(SpeedButton2, &QToolButton::clicked, this, &FragmentPage::SpeedButton2Click);
    connect(SpeedButton3, &QToolButton::clicked, this, &FragmentPage::SpeedButton3Click);
    connect(SpeedButton4, &QToolButton::clicked, this, &FragmentPage::SpeedButton4Click);
    connect(SpeedButton5, &QToolButton::clicked, this, &FragmentPage::SpeedButton5Click);
    connect(CheckBox9, &QCheckBox::clicked, this, &FragmentPage::CheckBox9Click);

    refreshSG2();
}

FragmentPage::~FragmentPage() = default;

TFragmentChart& FragmentPage::chart() const { return *form_.fragmentsChart; }

Reporter& FragmentPage::reporter() const { return form_.prompter(); }

void FragmentPage::buildToolBar() {
    GroupBox22 = new QGroupBox(this);
    GroupBox22->setObjectName(QStringLiteral("GroupBox22"));
    auto* row = new QHBoxLayout(GroupBox22);
    row->setContentsMargins(4, 2, 4, 2);
    row->setSpacing(2);
    SpeedButton1 = toolButton(GroupBox22, "SpeedButton1", FragmentTool::WholeRange, "Выбрать полный интервал");
    SpeedButton6 = toolButton(GroupBox22, "SpeedButton6", FragmentTool::ZoomMode, "Режим масштабирования");
    SpeedButton7 = toolButton(GroupBox22, "SpeedButton7", FragmentTool::BadMode, "Режим выделения плохих интервалов");
    SpeedButton8 = toolButton(GroupBox22, "SpeedButton8", FragmentTool::GoodMode, "Режим выделения хороших интевалов");
    SpeedButton9 = toolButton(GroupBox22, "SpeedButton9", FragmentTool::Split, "Автоматическое разбиение на фрагменты");
    SpeedButton11 = toolButton(GroupBox22, "SpeedButton11", FragmentTool::Clear, "Очистка области графика");
    BitBtn5 = toolButton(GroupBox22, "BitBtn5", FragmentTool::StretchX, "Растянуть по X");
    BitBtn9 = toolButton(GroupBox22, "BitBtn9", FragmentTool::ShrinkX, "Сжать по X");
    BitBtn10 = toolButton(GroupBox22, "BitBtn10", FragmentTool::StretchY, "Растянуть по Y");
    BitBtn11 = toolButton(GroupBox22, "BitBtn11", FragmentTool::ShrinkY, "Сжать по Y");
    BitBtn12 = toolButton(GroupBox22, "BitBtn12", FragmentTool::AutoX, "Автоматический масштаб по X");
    BitBtn13 = toolButton(GroupBox22, "BitBtn13", FragmentTool::AutoY, "Автоматический масштаб по Y");

    // Exactly one mode is down; zoom mode at the start.
    auto* modes = new QButtonGroup(this);
    modes->setExclusive(true);
    for (QToolButton* b : {SpeedButton6, SpeedButton7, SpeedButton8}) {
        b->setCheckable(true);
        modes->addButton(b);
    }
    SpeedButton6->setChecked(true);

    auto gap = [row] { row->addSpacing(10); };
    row->addWidget(SpeedButton1);
    gap();
    row->addWidget(SpeedButton6);
    row->addWidget(SpeedButton7);
    row->addWidget(SpeedButton8);
    gap();
    row->addWidget(SpeedButton9);
    row->addWidget(SpeedButton11);
    gap();
    for (QToolButton* b : {BitBtn5, BitBtn9, BitBtn10, BitBtn11, BitBtn12, BitBtn13}) row->addWidget(b);
    row->addStretch(1);

    const std::pair<QToolButton*, void (FragmentPage::*)()> handlers[] = {
        {SpeedButton1, &FragmentPage::SpeedButton1Click}, {SpeedButton6, &FragmentPage::SpeedButton6Click},
        {SpeedButton7, &FragmentPage::SpeedButton7Click}, {SpeedButton8, &FragmentPage::SpeedButton8Click},
        {SpeedButton9, &FragmentPage::SpeedButton9Click}, {SpeedButton11, &FragmentPage::SpeedButton11Click},
        {BitBtn5, &FragmentPage::BitBtn5Click},           {BitBtn9, &FragmentPage::BitBtn9Click},
        {BitBtn10, &FragmentPage::BitBtn10Click},         {BitBtn11, &FragmentPage::BitBtn11Click},
        {BitBtn12, &FragmentPage::BitBtn12Click},         {BitBtn13, &FragmentPage::BitBtn13Click},
    };
    for (const auto& [button, handler] : handlers) connect(button, &QToolButton::clicked, this, handler);
}

void FragmentPage::buildGrids() {
    PageControl2 = new QTabWidget(this);
    PageControl2->setObjectName(QStringLiteral("PageControl2"));

    auto* sheet8 = new QWidget;
    sheet8->setObjectName(QStringLiteral("TabSheet8"));
    auto* l8 = new QVBoxLayout(sheet8);
    l8->setContentsMargins(0, 0, 0, 0);
    StringGrid6 = new IntervalGrid(sheet8);
    StringGrid6->setObjectName(QStringLiteral("StringGrid6"));
    StringGrid6->setTimeText([](double t) { return intervalTimeText(t, FormatSettings::russian()); });
    l8->addWidget(StringGrid6);
    PageControl2->addTab(sheet8, QStringLiteral("Интервалы"));

    PopupMenuFragments = new QMenu(this);
    PopupMenuFragments->setObjectName(QStringLiteral("PopupMenuFragments"));
    const struct {
        const char* name;
        const char* caption;
        void (FragmentPage::*handler)();
    } items[] = {{"N13", "Показать фрагмент", &FragmentPage::N13Click},
                 {"N12", "Изменить фрагмент", &FragmentPage::N12Click},
                 {"N11", "Удалить фрагмент", &FragmentPage::N11Click},
                 {"N14", "Удалить все фрагменты", &FragmentPage::N14Click}};
    for (const auto& it : items) {
        auto* a = new QAction(QString::fromUtf8(it.caption), PopupMenuFragments);
        a->setObjectName(QLatin1String(it.name));
        PopupMenuFragments->addAction(a);
        connect(a, &QAction::triggered, this, it.handler);
    }
    StringGrid6->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(StringGrid6, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        PopupMenuFragments->popup(StringGrid6->viewport()->mapToGlobal(pos));
    });

    auto* sheet9 = new QWidget;
    sheet9->setObjectName(QStringLiteral("TabSheet9"));
    auto* l9 = new QVBoxLayout(sheet9);
    l9->setContentsMargins(0, 0, 0, 0);
    stringgridGraphScale = new editingStringGrid(sheet9);
    stringgridGraphScale->setObjectName(QStringLiteral("stringgridGraphScale"));
    stringgridGraphScale->setColCount(3);
    stringgridGraphScale->setRowCount(2);
    stringgridGraphScale->setFixedRows(1);
    stringgridGraphScale->setDefaultColWidth(150);
    stringgridGraphScale->setSmartEditOn(true);
    stringgridGraphScale->setCell(0, 0, "Имя");
    stringgridGraphScale->setCell(1, 0, "YMin");
    stringgridGraphScale->setCell(2, 0, "YMax");
    stringgridGraphScale->addEditCol({1, 2});
    stringgridGraphScale->setReporter(&reporter());
    stringgridGraphScale->setOnWriteValue(
        [this](QObject*, int acol, int arow, const std::string& value, bool& canWrite) {
            graphScaleWriteValue(*stringgridGraphScale, acol, arow, value, canWrite, reporter(),
                                 [this, arow] { return refreshSeries(arow); });
        });
    stringgridGraphScale->setAfterSelectCells([this](QObject*, int, int arow) {
        if (arow > 0) chart().changeCurSeries(arow - 1);
    });
    l9->addWidget(stringgridGraphScale);
    PageControl2->addTab(sheet9, QStringLiteral("Временные ряды"));
}

void FragmentPage::placeControl(QWidget* control) {
    if (!control || control->objectName() != QLatin1String("GroupBox2")) {
        MainPage::placeControl(control);
        return;
    }
    control->setParent(this);
    control->setToolTip(QString::fromUtf8(kChartHint));
    chartSlot_->addWidget(control, 1);
    control->show();
}

// ---- The chart ----

void FragmentPage::fragmentsChartDragDrop(const TForm1::DroppedSeries& dropped) {
    TFragmentChart& c = chart();
    TProject& project = form_.project();
    std::vector<int> order = dropped.selected;
    if (order.empty() && dropped.primary >= 0) order.push_back(dropped.primary);
    for (int index : order) {
        if (c.seriesCount() >= kMaxSeries) break;
        if (index < 0 || index >= project.seriesCount()) continue;
        const TStatisticSeries& s = *project.seriesList[static_cast<size_t>(index)];
        const std::optional<ValueRange> range = valueRange(s);
        c.addSeries(s);
        c.addKoeff(range ? range->hi : NAN, range ? range->lo : NAN);
    }
    c.setMarkersVisible(CheckBox9->isChecked());
    refreshSG2();
}

void FragmentPage::fragmentsChartZoom() { chart().requestReplot(); }

void FragmentPage::Chart5ClickLegend(int index, bool onCheckBox) {
    TFragmentChart& c = chart();
    if (index < 0 || index >= c.seriesCount()) return;
    if (!onCheckBox) {
        c.changeCurSeries(index);
        return;
    }
    if (index != c.curSeries()) return;
    for (int j = 0; j < c.seriesCount(); ++j) {
        if (c.seriesVisible(j)) {
            c.changeCurSeries(j);
            return;
        }
    }
}

// ---- Tool bar ----

void FragmentPage::SpeedButton1Click() {
    TFragmentChart& c = chart();
    if (c.seriesCount() < 1 || c.series(0).Count() < 1) return;
    const TStatisticSeries& first = c.series(0);
    // The mode buttons stay as they are: the mouse marks nothing until a mode is chosen again.
    c.setFragmentsOn(true);
    c.setTypeOfCurFragments(1);
    c.addFragment(first.XValue(0), first.XValue(first.Count() - 1));
    c.setFragmentsOn(false);
}

void FragmentPage::SpeedButton6Click() {
    SpeedButton6->setChecked(true);
    chart().setFragmentsOn(false);
    chart().setZoomEnabled(true);
}

void FragmentPage::SpeedButton7Click() {
    SpeedButton7->setChecked(true);
    chart().setFragmentsOn(true);
    chart().setZoomEnabled(false);
    chart().setTypeOfCurFragments(0);
}

void FragmentPage::SpeedButton8Click() {
    SpeedButton8->setChecked(true);
    chart().setFragmentsOn(true);
    chart().setZoomEnabled(false);
    chart().setTypeOfCurFragments(1);
}

std::optional<int> splitPointCount(const std::string& text) {
    // Digits only: the field takes no sign.
    const IntText read = strToInt(text);
    if (read.status == IntText::NotInteger || text.find_first_of("+-") != std::string::npos) return std::nullopt;
    return std::max(read.value, 1);
}

void FragmentPage::SpeedButton9Click() {
    TProject& project = form_.project();
    if (project.seriesCount() < 1) return;
    TForm11& d = *form11_;
    d.ComboBox1->clear();
    for (int i = 0; i < project.seriesCount(); ++i)
        d.ComboBox1->addItem(QString::fromStdString(project.seriesList[static_cast<size_t>(i)]->Title),
                             QVariant::fromValue<qulonglong>(form_.seriesIdAt(i)));
    d.ComboBox1->setCurrentIndex(0);
    d.Edit1->setText(QString::number(project.seriesList[0]->Count() / 10));
    const bool accepted = runForm11 ? runForm11(d) : [&] {
        d.adjustSize();
        d.move(form_.geometry().center() - d.rect().center());
        return d.exec() == QDialog::Accepted;
    }();
    if (!accepted) return;
    const std::optional<int> n = splitPointCount(d.Edit1->text().toStdString());
    if (!n) {
        reporter().message(kBadPointCount);
        return;
    }
    // A typed name that names no series, or a series deleted meanwhile, makes nothing.
    const int item = d.ComboBox1->findText(d.ComboBox1->currentText());
    if (item < 0) return;
    const TStatisticSeries* s = form_.seriesById(d.ComboBox1->itemData(item).toULongLong());
    if (!s) return;
    TFragmentChart& c = chart();
    // The pieces are good intervals; the mouse goes on marking what the mode button shows.
    const uint8_t marking = c.typeOfCurFragments();
    c.setTypeOfCurFragments(1);
    // One change for all the pieces: one grid refresh, one repaint.
    c.addFragments(equalIntervals(s->XValues(), *n));
    c.setTypeOfCurFragments(marking);
    c.requestReplot();
}

void FragmentPage::SpeedButton11Click() {
    TFragmentChart& c = chart();
    c.clearSeries();
    c.clearKoeff();
    // The scale grid lists no series that left the chart.
    refreshSG2();
}

namespace {
// Keeps the minimum and puts the maximum at factor times the visible width from it.
void scaleMaximum(TChartAxisState& axis, TAxisRange ends, double factor) {
    axis.setMinMax(ends.lower, ends.lower + factor * (ends.upper - ends.lower));
}
void shiftAxis(TChartAxisState& axis, TAxisRange ends, double direction) {
    const double half = (ends.upper - ends.lower) / 2;
    axis.setMinMax(ends.lower + direction * half, ends.upper + direction * half);
}
}  // namespace

void FragmentPage::BitBtn5Click() {
    scaleMaximum(chart().bottomAxisState(), chart().bottomEnds(), 0.8);
    chart().requestReplot();
}

void FragmentPage::BitBtn9Click() {
    TFragmentChart& c = chart();
    const TAxisRange e = c.bottomEnds();
    c.bottomAxisState().setMinMax(e.lower, e.lower + (e.upper - e.lower) / 0.8);
    c.requestReplot();
}

void FragmentPage::BitBtn10Click() {
    scaleMaximum(chart().leftAxisState(), chart().leftEnds(), 0.8);
    chart().requestReplot();
}

void FragmentPage::BitBtn11Click() {
    scaleMaximum(chart().leftAxisState(), chart().leftEnds(), 1.2);
    chart().requestReplot();
}

void FragmentPage::BitBtn12Click() {
    chart().bottomAxisState().setAutomatic(true);
    chart().requestReplot();
}

void FragmentPage::BitBtn13Click() {
    chart().leftAxisState().setMinMax(0, 100);
    chart().requestReplot();
}

void FragmentPage::SpeedButton2Click() {
    const TAxisRange e = chart().bottomEnds();
    if (e.upper == e.lower) return;
    shiftAxis(chart().bottomAxisState(), e, -1);
    chart().requestReplot();
}

void FragmentPage::SpeedButton4Click() {
    const TAxisRange e = chart().bottomEnds();
    if (e.upper == e.lower) return;
    shiftAxis(chart().bottomAxisState(), e, 1);
    chart().requestReplot();
}

void FragmentPage::SpeedButton3Click() {
    TFragmentChart& c = chart();
    if (c.seriesCount() < 1) return;
    const TStatisticSeries& last = c.series(c.seriesCount() - 1);
    if (last.Count() < 1 || !(last.XValue(0) < c.bottomEnds().upper)) return;
    c.bottomAxisState().setAutomaticMinimum(true);
    c.requestReplot();
}

void FragmentPage::SpeedButton5Click() {
    TFragmentChart& c = chart();
    if (c.seriesCount() < 1) return;
    const TStatisticSeries& last = c.series(c.seriesCount() - 1);
    if (last.Count() < 1 || !(last.XValue(last.Count() - 1) > c.bottomEnds().lower)) return;
    c.bottomAxisState().setAutomaticMaximum(true);
    c.requestReplot();
}

void FragmentPage::CheckBox9Click() { chart().setMarkersVisible(CheckBox9->isChecked()); }

// ---- Grids ----

void FragmentPage::refreshSG6() {
    const TFragmentChart& c = chart();
    std::vector<IntervalGrid::Row> rows(static_cast<size_t>(c.numOfFragments()));
    for (size_t i = 0; i < rows.size(); ++i) {
        const TFragment& f = c.fragments()[i];
        IntervalGrid::Row& r = rows[i];
        r.name = f.name;
        r.start = static_cast<double>(f.startPoint);
        r.end = static_cast<double>(f.endPoint);
        if (f.typeOfFragments() == 0) r.type = QStringLiteral("Плохой");
        else if (f.typeOfFragments() == 1) r.type = QStringLiteral("Хороший");
    }
    StringGrid6->fill(std::move(rows));
    form_.project().needCalcFragment = true;
}

void FragmentPage::refreshSG2() {
    const TFragmentChart& c = chart();
    const int n = std::min(c.seriesCount(), c.scale().count());
    editingStringGrid& g = *stringgridGraphScale;
    g.setRowCount(std::max(2, n + 1));
    for (int i = 0; i < n; ++i) {
        const TScaleBounds& b = c.scale().curBounds[static_cast<size_t>(i)];
        g.setCell(0, i + 1, c.series(i).Title);
        g.setCell(1, i + 1, formatNumber(b.lower));
        g.setCell(2, i + 1, formatNumber(b.upper));
    }
    if (n == 0)
        for (int col = 0; col < 3; ++col) g.setCell(col, 1, "");
}

bool FragmentPage::refreshSeries(int row) {
    TFragmentChart& c = chart();
    const int i = row - 1;
    if (i < 0 || i >= c.seriesCount()) return false;
    const std::optional<double> lo = readCellNumber(stringgridGraphScale->cell(1, row));
    const std::optional<double> hi = readCellNumber(stringgridGraphScale->cell(2, row));
    if (!lo || !hi) {
        reporter().message("Ошибка значения!");
        return false;
    }
    if (!c.calcNewValue(i, *hi, *lo)) {
        reporter().message(kEqualBounds);
        return false;
    }
    c.requestReplot();
    return true;
}

void FragmentPage::N13Click() {
    TFragmentChart& c = chart();
    const int r = StringGrid6->row();
    if (r <= 0 || r > c.numOfFragments()) return;
    const TFragment& f = c.fragment(r - 1);
    const double start = static_cast<double>(f.startPoint), end = static_cast<double>(f.endPoint);
    double margin = 0.1 * std::fabs(end - start);
    // An interval of one instant (a split into single points) is shown with a few sampling
    // steps either side: the step of the current series of the chart, or of the first
    // series that has one.
    if (margin == 0) {
        std::vector<const TStatisticSeries*> candidates;
        if (c.curSeries() >= 0 && c.curSeries() < c.seriesCount()) candidates.push_back(&c.series(c.curSeries()));
        for (int i = 0; i < c.seriesCount(); ++i) candidates.push_back(&c.series(i));
        for (const auto& s : form_.project().seriesList) candidates.push_back(s.get());
        double step = 0;
        for (const TStatisticSeries* s : candidates)
            if ((step = samplingStep(*s)) > 0) break;
        margin = kInstantSteps * (step > 0 ? step : kMinuteDays);
    }
    c.zoomTo({std::min(start, end) - margin, std::max(start, end) + margin}, c.leftEnds());
}

void FragmentPage::N12Click() {
    const int r = StringGrid6->row();
    if (r <= 0 || r > chart().numOfFragments()) return;
    if (!form6_->isVisible()) {
        // A window of its own: it opens over the middle of the main window.
        form6_->adjustSize();
        form6_->move(form_.geometry().center() - form6_->rect().center());
    }
    form6_->edit(r - 1);
}

void FragmentPage::N11Click() {
    const int r = StringGrid6->row();
    if (r <= 0) return;
    chart().delFragment(r - 1);
}

void FragmentPage::N14Click() { chart().delAllFragment(); }

void FragmentPage::clearPage() {
    // The main window has emptied the chart; its scales go with its series.
    chart().clearKoeff();
    StringGrid6->clearRows();
    refreshSG2();
    form6_->hide();
}

std::string intervalTimeText(double t, const FormatSettings& fs) {
    // The fraction of a second is dropped first, so the text never carries milliseconds.
    DateTimeParts p = decodeDateTime(t);
    p.millisecond = 0;
    const std::optional<TDateTime> whole = std::isfinite(t) ? encodeDateTime(p) : std::nullopt;
    return dateTimeToStr(whole.value_or(t), fs);
}

void graphScaleWriteValue(editingStringGrid& grid, int acol, int arow, const std::string& value, bool& canWrite,
                          Reporter& reporter, const std::function<bool()>& apply) {
    canWrite = false;
    if (!readCellNumber(value)) {
        reporter.message("Ошибка значения!");
        return;
    }
    const std::string old = grid.cell(acol, arow);
    grid.setCell(acol, arow, value);
    if (apply && !apply()) grid.setCell(acol, arow, old);
}
