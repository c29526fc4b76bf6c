#include "ui/pages/regularised/RegularisedPage.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <any>
#include <exception>
#include <memory>

#include "exchange/HtmlReport.h"
#include "exchange/StructureText.h"
#include "identification/Analyzer.h"
#include "numerics/Formatters.h"
#include "numerics/Parallel.h"
#include "ui/charts/ReportRendering.h"
#include "ui/charts/ResultChart.h"
#include "ui/mainwindow/Prompter.h"
#include "ui/mainwindow/TForm1.h"
#include "ui/mainwindow/Workers.h"
#include "ui/widgets/EditingStringGrid.h"
#include "ui/widgets/FiltredStringGrid.h"
#include "ui/widgets/IntervalCheckList.h"
#include "ui/widgets/QualityGrid.h"
#include "ui/widgets/SeriesListBox.h"
#include "ui/widgets/TForm14.h"
#include "ui/widgets/TForm17.h"

namespace {

// Tolerance of the time-stamp check of the interval models, in days.
constexpr long double kIntervalDelta = 0.001L;
// Widths of the table's columns: the check box column and the others.
constexpr int kCheckColumnWidth = 25;
constexpr int kColumnWidth = 100;

const char* const kInputNotFoundMessage = "Ошибка! Не найден входной ряд!";
const char* const kOutputNotFoundMessage = "Ошибка! Не найден выходной ряд!";
const char* const kCalcErrorMessage = "Ошибка расчета!";
const char* const kReportFirstMessage = "Необходимо выполнить тестовый просчет!";
const char* const kListsChangedMessage =
    "Списки входных и выходного рядов изменились после расчета моделей интервалов. "
    "Выполните расчет моделей интервалов заново.";
const char* const kGroupHint =
    "Для задания фильтров - нажмите ЛКМ по заголовку. Для сортировки нажмите ПКМ в заданном столбце. ";
const char* const kOutputHint = "Перетащите выбранные ряды";
const char* const kInputHint = "Перетащите выбранные ряды. Для удаления дважды кликните по выбранному праметру.";

std::string tooFewPointsMessage(const std::string& interval) {
    return "На интервале (" + interval + ") недостаточно точек, интервал пропущен!";
}

QLabel* caption(const char* text, QWidget* parent) { return new QLabel(QString::fromUtf8(text), parent); }

QPushButton* button(const char* name, const char* text, QWidget* parent) {
    auto* b = new QPushButton(QString::fromUtf8(text), parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

QLineEdit* modelTextEdit(const char* name, QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setReadOnly(true);
    return e;
}

// The model-text edits show capital letters, from the beginning of the text.
void showModelText(QLineEdit* edit, const std::string& text) {
    edit->setText(QString::fromStdString(text).toUpper());
    edit->setCursorPosition(0);
}

// The series of one ticked interval, ready for the fit.
struct IntervalJob {
    std::string name;
    arrayOfStatSeries inputs;
    TStatisticSeries* output = nullptr;
    // Every series holds at least 2 points.
    bool enough = true;
};

}  // namespace

RegularisedPage::RegularisedPage(TForm1& form, QWidget* parent)
    : MainPage(QStringLiteral("TabSheet14"), QStringLiteral("2 метод"), parent), form_(form) {
    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(4, 4, 4, 4);
    PageControl4 = new QTabWidget(this);
    PageControl4->setObjectName(QStringLiteral("PageControl4"));
    auto* calculation = new QWidget;
    calculation->setObjectName(QStringLiteral("TabSheet12"));
    auto* statistics = new QWidget;
    statistics->setObjectName(QStringLiteral("TabSheet13"));
    PageControl4->addTab(calculation, QStringLiteral("Расчет"));
    PageControl4->addTab(statistics, QStringLiteral("Статистика"));
    lay->addWidget(PageControl4);
    buildCalculationTab(calculation);
    buildStatisticsTab(statistics);
    buildTableMenu();

    auto command = [this](void (RegularisedPage::*handler)()) {
        return [this, handler] { form_.runCommand([this, handler] { (this->*handler)(); }); };
    };
    connect(Button14, &QPushButton::clicked, this, command(&RegularisedPage::Button14Click));
    connect(Button15, &QPushButton::clicked, this, command(&RegularisedPage::Button15Click));
    connect(Button17, &QPushButton::clicked, this, command(&RegularisedPage::Button17Click));
    connect(SpeedButton12, &QToolButton::clicked, this, command(&RegularisedPage::SpeedButton12Click));
    connect(&form_, &TForm1::fragmentsListChanged, this, &RegularisedPage::fragmentsChanged);
    // Until the first "Расчет" the table is an empty grid of 2 by 2 cells.
    showTable(GridTable(2, 2), {});
}

RegularisedPage::~RegularisedPage() {
    // The grid's handlers reach this page: they go first.
    delete SGStaticModel;
    SGStaticModel = nullptr;
}

void RegularisedPage::buildCalculationTab(QWidget* tab) {
    auto* row = new QHBoxLayout(tab);

    auto* left = new QVBoxLayout;
    ListBox1 = new SeriesListBox(QStringLiteral("ListBox1"), SeriesListBox::Mode::Single, form_, tab);
    ListBox1->setToolTip(QString::fromUtf8(kOutputHint));
    ListBox1->setFixedHeight(ListBox1->fontMetrics().height() * 2 + 8);
    ListBox4 = new SeriesListBox(QStringLiteral("ListBox4"), SeriesListBox::Mode::Many, form_, tab);
    ListBox4->setToolTip(QString::fromUtf8(kInputHint));
    CheckListBox3 = new IntervalCheckList(QStringLiteral("CheckListBox3"), tab);
    Button14 = button("Button14", "Расчет", tab);
    left->addWidget(caption("Выходной параметр", tab));
    left->addWidget(ListBox1);
    left->addWidget(caption("Входной параметр", tab));
    left->addWidget(ListBox4, 2);
    left->addWidget(caption("Обучающие интервалы", tab));
    left->addWidget(CheckListBox3, 2);
    left->addWidget(Button14);
    auto* leftBox = new QWidget(tab);
    leftBox->setLayout(left);
    leftBox->setFixedWidth(260);
    row->addWidget(leftBox);

    auto* right = new QVBoxLayout;
    GroupBox35 = new QGroupBox(QStringLiteral("Выбор моделей"), tab);
    GroupBox35->setObjectName(QStringLiteral("GroupBox35"));
    GroupBox35->setToolTip(QString::fromUtf8(kGroupHint));
    auto* tableBox = new QVBoxLayout(GroupBox35);
    tableBox->setContentsMargins(2, 2, 2, 2);
    // The grid's shown table fills the group; its filter pop-up opens inside the group.
    SGStaticModel = new TFiltredStringGrid(GroupBox35);
    SGStaticModel->setObjectName(QStringLiteral("SGStaticModel"));
    SGStaticModel->setReporter(&form_.prompter());
    SGStaticModel->Form14()->setReporter(&form_.prompter());
    SGStaticModel->setCheckboxOn(true);
    SGStaticModel->setOnChecked([this](int arow) { return staticModelRowChecked(arow); });
    SGStaticModel->setOnClickCheckBox([this](int arow) { staticModelRowCheckClick(arow); });
    QTableView* shown = SGStaticModel->SGShow();
    shown->horizontalHeader()->setDefaultSectionSize(kColumnWidth);
    // Long headers ("V1(Расход пара)") keep their beginning in sight.
    shown->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    tableBox->addWidget(shown);
    SGStaticModel->setFilterOnOff(true);
    right->addWidget(GroupBox35, 1);

    GroupBox36 = new QGroupBox(QStringLiteral("Регуляризованная модель"), tab);
    GroupBox36->setObjectName(QStringLiteral("GroupBox36"));
    GroupBox36->setToolTip(QStringLiteral("Сохранить полученную модель"));
    auto* sumRow = new QHBoxLayout(GroupBox36);
    Button15 = button("Button15", "Расчет", GroupBox36);
    Edit14 = modelTextEdit("Edit14", GroupBox36);
    SpeedButton12 = new QToolButton(GroupBox36);
    SpeedButton12->setObjectName(QStringLiteral("SpeedButton12"));
    SpeedButton12->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    SpeedButton12->setAutoRaise(true);
    sumRow->addWidget(Button15);
    sumRow->addWidget(Edit14, 1);
    sumRow->addWidget(SpeedButton12);
    right->addWidget(GroupBox36);
    row->addLayout(right, 1);
}

void RegularisedPage::buildStatisticsTab(QWidget* tab) {
    auto* col = new QVBoxLayout(tab);
    auto* textRow = new QHBoxLayout;
    Edit15 = modelTextEdit("Edit15", tab);
    Button17 = button("Button17", "Отчет", tab);
    Button17->setToolTip(QStringLiteral("Сохранить отчет по идентификации в формате html"));
    textRow->addWidget(caption("Модель", tab));
    textRow->addWidget(Edit15, 1);
    textRow->addWidget(Button17);
    col->addLayout(textRow);

    auto* split = new QSplitter(Qt::Horizontal, tab);
    StringGrid2 = new editingStringGrid(split);
    StringGrid2->setObjectName(QStringLiteral("StringGrid2"));
    setupStaticQualityGrid(*StringGrid2);
    StringGrid2->setColWidth(1, 120);
    // Both columns in view.
    StringGrid2->setMinimumWidth(
        std::max(340, StringGrid2->colWidth(0) + StringGrid2->colWidth(1) + 2 * StringGrid2->frameWidth() + 4));
    Chart10 = new ResultChart(split);
    Chart10->setObjectName(QStringLiteral("Chart10"));
    Chart10->markersBox()->setObjectName(QStringLiteral("CheckBox7"));
    Chart10->setMinimumSize(250, 200);
    split->addWidget(StringGrid2);
    split->addWidget(Chart10);
    split->setStretchFactor(1, 1);
    col->addWidget(split, 1);
    form_.attachCopyPicture(Chart10);
}

void RegularisedPage::buildTableMenu() {
    PopupMenuFilter = new QMenu(this);
    PopupMenuFilter->setObjectName(QStringLiteral("PopupMenuFilter"));
    N20 = PopupMenuFilter->addAction(QStringLiteral("Очистить фильтры"));
    N20->setObjectName(QStringLiteral("N20"));
    N21Menu = PopupMenuFilter->addMenu(QStringLiteral("Сортировать по текущему столбцу"));
    N21Menu->setObjectName(QStringLiteral("N21Menu"));
    N21 = N21Menu->menuAction();
    N21->setObjectName(QStringLiteral("N21"));
    N22 = N21Menu->addAction(QStringLiteral("По возрастанию"));
    N22->setObjectName(QStringLiteral("N22"));
    N23 = N21Menu->addAction(QStringLiteral("По убыванию"));
    N23->setObjectName(QStringLiteral("N23"));
    connect(N20, &QAction::triggered, this, [this] { form_.runCommand([this] { N20Click(); }); });
    connect(N22, &QAction::triggered, this, [this] { form_.runCommand([this] { N22Click(); }); });
    connect(N23, &QAction::triggered, this, [this] { form_.runCommand([this] { N23Click(); }); });

    // A right click makes the cell under the pointer current, so that the menu sorts by
    // the column clicked in; on the header row it takes that column.
    FrozenTableView* shown = SGStaticModel->SGShow();
    shown->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(shown, &QWidget::customContextMenuRequested, this, [this, shown](const QPoint& pos) {
        const QModelIndex at = shown->indexAt(pos);
        if (at.isValid()) shown->setCurrentIndex(at);
        PopupMenuFilterPopup();
        PopupMenuFilter->popup(shown->viewport()->mapToGlobal(pos));
    });
    QHeaderView* header = shown->horizontalHeader();
    header->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(header, &QWidget::customContextMenuRequested, this, [this, shown, header](const QPoint& pos) {
        // Over the fixed column the header shows that column, not the one scrolled under it.
        const int col = shown->shownColumnAt(pos.x());
        const QModelIndex current = shown->currentIndex();
        const int row = current.isValid() ? current.row() : 0;
        if (col >= 0 && shown->model()->rowCount() > 0) shown->setCurrentIndex(shown->model()->index(row, col));
        PopupMenuFilterPopup();
        PopupMenuFilter->popup(header->mapToGlobal(pos));
    });
}

TStaticIdentificationInterval& RegularisedPage::engine() const { return form_.analyzer().staticIdentificationInterval; }

void RegularisedPage::pageShown() {
    const TProject& project = form_.project();
    if (!project.fragments.empty())
        CheckListBox3->refill(project.fragments, project.fragmentOrigins, IntervalCheckList::Ticks::All);
}

void RegularisedPage::fragmentsChanged() {
    const TProject& project = form_.project();
    CheckListBox3->refill(project.fragments, project.fragmentOrigins, IntervalCheckList::Ticks::Keep);
}

void RegularisedPage::clearPage() {
    fittedInputIds_.clear();
    fittedInputTitles_.clear();
    fittedOutputId_ = 0;
    showTable(GridTable(2, 2), {});
    Edit14->clear();
    Edit15->clear();
    clearStaticQuality(*StringGrid2);
    Chart10->clearSeries();
    Chart10->requestReplot();
}

// ---- Interval models ----

void RegularisedPage::Button14Click() {
    // The lists hold ids: the series are looked up in the project now.
    const std::vector<uint64_t> inputIds = ListBox4->ids();
    std::vector<int> inputIndex;
    for (uint64_t id : inputIds) {
        const int i = form_.seriesIndexOf(id);
        if (i < 0) {
            form_.prompter().message(kInputNotFoundMessage);
            return;
        }
        inputIndex.push_back(i);
    }
    const std::vector<uint64_t> outputIds = ListBox1->ids();
    const int outputIndex = outputIds.empty() ? -1 : form_.seriesIndexOf(outputIds.front());
    if (outputIndex < 0) {
        form_.prompter().message(kOutputNotFoundMessage);
        return;
    }
    // Without inputs every interval would be refused alike: told once.
    if (inputIds.empty()) {
        form_.prompter().message(kNoInputSeriesMessage);
        return;
    }

    // The fragment series must belong to the series as they are now: a series deleted or
    // added since the page was shown shifts the project's table of them.
    form_.loadFragments();
    TProject& project = form_.project();
    auto piece = [&project](int series, int fragment) -> TStatisticSeries* {
        if (series < 0 || static_cast<size_t>(series) >= project.fragmentsSeriesList.size()) return nullptr;
        const auto& row = project.fragmentsSeriesList[static_cast<size_t>(series)];
        if (fragment < 0 || static_cast<size_t>(fragment) >= row.size()) return nullptr;
        return row[static_cast<size_t>(fragment)].get();
    };
    std::vector<IntervalJob> jobs;
    for (int f : CheckListBox3->tickedRows()) {
        if (f >= project.numOfFragments()) continue;
        IntervalJob job;
        job.name = project.fragments[static_cast<size_t>(f)].name;
        for (int s : inputIndex) {
            TStatisticSeries* in = piece(s, f);
            job.enough = job.enough && in && in->Count() >= 2;
            job.inputs.push_back(in);
        }
        job.output = piece(outputIndex, f);
        job.enough = job.enough && job.output && job.output->Count() >= 2;
        jobs.push_back(std::move(job));
    }

    TStaticIdentificationInterval& e = engine();
    e.clear();
    fittedInputIds_ = inputIds;
    fittedInputTitles_.clear();
    for (int s : inputIndex) fittedInputTitles_.push_back(project.seriesList[static_cast<size_t>(s)]->Title);
    fittedOutputId_ = outputIds.front();

    // The fits run on a worker behind the busy window, the intervals shared among threads,
    // each fitted by an engine of its own; the models join the page's engine in list order
    // and what each interval had to say is told afterwards, in the same order.
    std::vector<RecordingReporter> told(jobs.size());
    std::vector<std::unique_ptr<TDynamicIntervalModel>> fitted(jobs.size());
    std::vector<std::exception_ptr> failures(jobs.size());
    TJustProcedureThread thread;
    thread.FOnExecuteProcedure = [&] {
        parallelFor(jobs.size(), [&](size_t k) {
            const IntervalJob& job = jobs[k];
            if (!job.enough) {
                told[k].message(tooFewPointsMessage(job.name));
                return;
            }
            try {
                TStaticIdentificationInterval own(&told[k]);
                if (own.addModel(job.inputs, job.output, kIntervalDelta, true, job.name))
                    fitted[k] = std::move(own.models.back());
            } catch (...) {
                failures[k] = std::current_exception();
            }
        });
        for (const std::exception_ptr& f : failures)
            if (f) std::rethrow_exception(f);
    };
    form_.runWorker(thread);
    for (size_t k = 0; k < jobs.size(); ++k) {
        if (fitted[k]) e.models.push_back(std::move(fitted[k]));
        for (const RecordingReporter::Entry& entry : told[k].entries) {
            switch (entry.kind) {
            case RecordingReporter::Kind::Error: form_.prompter().error(entry.text); break;
            case RecordingReporter::Kind::Information: form_.prompter().information(entry.text); break;
            default: form_.prompter().message(entry.text); break;
            }
        }
    }
    e.numOfModel = static_cast<int>(e.models.size());
    rebuildTable();
}

void RegularisedPage::rebuildTable() {
    const auto& models = engine().models;
    const int p = static_cast<int>(fittedInputTitles_.size());
    GridTable table(2 * p + 4, static_cast<int>(models.size()) + 1);
    table.setCell(1, 0, "Имя");
    table.setCell(2, 0, "R");
    table.setCell(3, 0, "Rнорм");
    for (int i = 1; i <= p; ++i) {
        const std::string title = "(" + fittedInputTitles_[static_cast<size_t>(i - 1)] + ")";
        table.setCell(2 * i + 2, 0, "V" + std::to_string(i) + title);
        table.setCell(2 * i + 3, 0, "K" + std::to_string(i) + title);
    }
    for (size_t k = 0; k < models.size(); ++k) {
        const TDynamicIntervalModel& m = *models[k];
        const int row = static_cast<int>(k) + 1;
        table.setObject(row, static_cast<int>(k));
        table.setCell(1, row, m.name);
        table.setCell(2, row, formatNumber(m.R2));
        table.setCell(3, row, formatNumber(m.R2Norm()));
        // Each value goes under the input it belongs to: an input dropped by the time-stamp
        // check on this interval leaves its two cells empty.
        for (size_t j = 0; j < m.inputIndex.size(); ++j) {
            const int i = m.inputIndex[j] + 1;
            if (i < 1 || i > p) continue;
            if (j < m.inputVariation.size()) table.setCell(2 * i + 2, row, formatNumber(m.inputVariation[j]));
            if (j + 1 < m.A.size()) table.setCell(2 * i + 3, row, formatNumber(m.A[j + 1]));
        }
    }

    integerArray filterable;
    for (int c = 2; c < 2 * p + 4; ++c) filterable.push_back(c);
    showTable(std::move(table), std::move(filterable));
}

void RegularisedPage::showTable(GridTable table, integerArray filterable) {
    TFiltredStringGrid& grid = *SGStaticModel;
    if (grid.Form14()) grid.Form14()->hide();
    grid.SGBase() = std::move(table);
    grid.setFiltersCol(std::move(filterable));
    grid.setSortedOn(false);
    grid.clearAllFilters();
    grid.syncronize();
    if (QTableView* shown = grid.SGShow()) {
        shown->horizontalHeader()->resizeSection(0, kCheckColumnWidth);
        // The names, "R", "Rнорм" and the inputs' headers in full.
        grid.fitColumns(1, kColumnWidth);
    }
}

bool RegularisedPage::staticModelRowChecked(int arow) const {
    const std::any& object = SGStaticModel->shownObject(arow);
    const int* k = std::any_cast<int>(&object);
    const auto& models = engine().models;
    if (!k || *k < 0 || static_cast<size_t>(*k) >= models.size()) return false;
    return models[static_cast<size_t>(*k)]->used;
}

void RegularisedPage::staticModelRowCheckClick(int arow) {
    const std::any& object = SGStaticModel->shownObject(arow);
    const int* k = std::any_cast<int>(&object);
    const auto& models = engine().models;
    if (!k || *k < 0 || static_cast<size_t>(*k) >= models.size()) return;
    TDynamicIntervalModel& m = *models[static_cast<size_t>(*k)];
    m.used = !m.used;
}

void RegularisedPage::PopupMenuFilterPopup() { N21->setEnabled(SGStaticModel->currentCol() >= 2); }

void RegularisedPage::N20Click() { SGStaticModel->clearAllFilters(); }

void RegularisedPage::N22Click() {
    const int col = SGStaticModel->currentCol();
    if (col < 2) return;
    SGStaticModel->setSortedOn(true);
    SGStaticModel->sorting(col, true);
}

void RegularisedPage::N23Click() {
    const int col = SGStaticModel->currentCol();
    if (col < 2) return;
    SGStaticModel->setSortedOn(true);
    SGStaticModel->sorting(col, false);
}

// ---- Summary model ----

bool RegularisedPage::fittedSeries(std::vector<TStatisticSeries*>& inputs, TStatisticSeries*& output) {
    const std::vector<uint64_t> outputIds = ListBox1->ids();
    bool same = ListBox4->ids() == fittedInputIds_ && outputIds.size() == 1 && outputIds.front() == fittedOutputId_;
    inputs.clear();
    for (uint64_t id : fittedInputIds_) {
        inputs.push_back(form_.seriesById(id));
        same = same && inputs.back();
    }
    output = form_.seriesById(fittedOutputId_);
    if (same && output) return true;
    form_.prompter().message(kListsChangedMessage);
    return false;
}

void RegularisedPage::Button15Click() {
    TStaticIdentificationInterval& e = engine();
    const std::vector<TDynamicIntervalModel*> used = e.usedModels();
    // The summary is computed on the series the interval models were fitted on, and only
    // while the lists still hold them (the engine's models name their inputs by position).
    std::vector<TStatisticSeries*> listed;
    TStatisticSeries* output = nullptr;
    if (!used.empty() && !fittedSeries(listed, output)) return;
    if (!e.calcSumModel() || !e.sumModel) {
        showModelText(Edit14, kCalcErrorMessage);
        return;
    }
    // The summary's inputs are those of its interval models, named after the series (the
    // models themselves carry the names of the series' pieces on their intervals).
    TStaticModel& sum = *e.sumModel;
    arrayOfStatSeries inputs;
    sum.inputName.clear();
    for (int position : used.front()->inputIndex) {
        TStatisticSeries* s = listed.at(static_cast<size_t>(position));
        inputs.push_back(s);
        sum.inputName.push_back(s->Title);
    }
    sum.numOfX = static_cast<int>(inputs.size());
    sum.numOfY = 1;
    sum.outputName = output->Title;

    // The free term makes the model's mean that of the measured output.
    TStatisticSeries measured;
    measured.Assign(*output);
    sum.coinCheck = false;
    sum.c = 0;
    arrayOfExtended values;
    std::unique_ptr<TStatisticSeries> modelOutput =
        sum.calcOutputWithStat(inputs, measured, values, &form_.prompter());
    sum.c = static_cast<double>(measured.mean - modelOutput->mean);
    sum.coinCheck = true;
    modelOutput = sum.calcOutputWithStat(inputs, measured, values);
    sum.R2 = static_cast<double>(values[0]);
    sum.R2norm = static_cast<double>(values[1]);

    showModelText(Edit14, sum.getString());
    showModelText(Edit15, sum.getString());
    Chart10->clearSeries();
    Chart10->setResult(measured, "Выходной параметр", *modelOutput, "Расчетный параметр");
    showStaticQuality(*StringGrid2, values);
}

void RegularisedPage::Button17Click() {
    TStaticIdentificationInterval& e = engine();
    if (!e.haveSumModel || !e.sumModel || Chart10->seriesCount() < 2) {
        form_.prompter().message(kReportFirstMessage);
        return;
    }
    const std::optional<std::string> path = form_.prompter().saveFileName(FileKind::Report, "");
    if (!path) return;
    const TStaticModel& sum = *e.sumModel;
    ReportValues values;
    for (int row = 1; row <= 9; ++row) values[static_cast<size_t>(row - 1)] = StringGrid2->cell(1, row);
    OffscreenChartRenderer renderer;
    // The writer tells what could not be written.
    writeRegularizedModelReport(*path, sum.outputName, staticStructureText(sum.numOfX, sum.coinCheck),
                                sum.getString(), values, describeChart(*Chart10), renderer, form_.prompter());
}

void RegularisedPage::SpeedButton12Click() {
    TStaticIdentificationInterval& e = engine();
    if (!e.haveSumModel || !e.sumModel) return;
    TForm17* dialog = form_.modelNameDialog();
    if (!dialog) return;
    if (const auto name = dialog->askName(e.sumModel->name)) {
        e.sumModel->name = *name;
        form_.project().addStaticModel(*e.sumModel, true);
    }
}
