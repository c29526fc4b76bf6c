#include "ui/pages/regression/RegressionPage.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "exchange/HtmlReport.h"
#include "exchange/StructureText.h"
#include "identification/Analyzer.h"
#include "ui/charts/ReportRendering.h"
#include "ui/charts/ResultChart.h"
#include "ui/mainwindow/Prompter.h"
#include "ui/mainwindow/TForm1.h"
#include "ui/widgets/EditingStringGrid.h"
#include "ui/widgets/IntervalCheckList.h"
#include "ui/widgets/QualityGrid.h"
#include "ui/widgets/SeriesListBox.h"
#include "ui/widgets/TForm17.h"

namespace {

// Tolerances of the time-stamp check, in days: identification, and test on other intervals.
constexpr long double kIdentificationDelta = 0.001L;
constexpr long double kTestDelta = 0.01L;

const char* const kNoIntervalMessage = "Выберите хотя бы 1 интервал!";
const char* const kNoOutputMessage = "Нет выходной перменной!";
const char* const kNoInputsMessage = "Нет входных перменных!";
const char* const kEmptyOutputMessage = "Пустой выходной ряд!";
const char* const kCalcErrorMessage = "Ошибка расчета!";
const char* const kIdentifyFirstMessage = "Сначала произведите идентификацию модели.";
const char* const kNoTestIntervalMessage = "Выберите тестовые интервалы!";
const char* const kTestFirstMessage = "Необходимо выполнить тестовый просчет!";
const char* const kModelSeriesGoneMessage =
    "Ряды, по которым построена модель, удалены из проекта. Произведите идентификацию модели заново.";

QLabel* caption(const char* text, QWidget* parent) { return new QLabel(QString::fromUtf8(text), parent); }

QLineEdit* modelTextEdit(const char* name, QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setReadOnly(true);
    return e;
}

QPushButton* button(const char* name, const char* text, QWidget* parent) {
    auto* b = new QPushButton(QString::fromUtf8(text), parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

editingStringGrid* qualityGrid(const char* name, QWidget* parent) {
    auto* g = new editingStringGrid(parent);
    g->setObjectName(QLatin1String(name));
    setupStaticQualityGrid(*g);
    // Room for eight significant digits with an exponent.
    g->setColWidth(1, 110);
    g->setMinimumHeight(120);
    return g;
}

ResultChart* resultChart(const char* name, const char* markersName, QWidget* parent) {
    auto* c = new ResultChart(parent);
    c->setObjectName(QLatin1String(name));
    c->markersBox()->setObjectName(QLatin1String(markersName));
    c->setMinimumSize(160, 160);
    return c;
}

// Column 1, rows 1 to 9, of a result grid as the report prints them.
ReportValues gridValues(const editingStringGrid& grid) {
    ReportValues v;
    for (int row = 1; row <= 9; ++row) v[static_cast<size_t>(row - 1)] = grid.cell(1, row);
    return v;
}

}  // namespace

RegressionPage::RegressionPage(TForm1& form, QWidget* parent)
    : MainPage(QStringLiteral("TabSheet5"), QStringLiteral("Статическая идентификация"), parent), form_(form) {
    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(4, 4, 4, 4);
    PageControl = new QTabWidget(this);
    PageControl->setObjectName(QStringLiteral("PageControl"));
    auto* modelTab = new QWidget;
    modelTab->setObjectName(QStringLiteral("ModelTab"));
    auto* statisticsTab = new QWidget;
    statisticsTab->setObjectName(QStringLiteral("StatisticsTab"));
    PageControl->addTab(modelTab, QStringLiteral("Модель"));
    PageControl->addTab(statisticsTab, QStringLiteral("Статистики"));
    lay->addWidget(PageControl);
    buildModelTab(modelTab);
    buildStatisticsTab(statisticsTab);

    connect(Button2, &QPushButton::clicked, this, [this] { form_.runCommand([this] { Button2Click(); }); });
    connect(Button12, &QPushButton::clicked, this, [this] { form_.runCommand([this] { Button12Click(); }); });
    connect(Button13, &QPushButton::clicked, this, [this] { form_.runCommand([this] { Button13Click(); }); });
    connect(SpeedButton10, &QToolButton::clicked, this,
            [this] { form_.runCommand([this] { SpeedButton10Click(); }); });
    connect(&form_, &TForm1::fragmentsListChanged, this, &RegressionPage::fragmentsChanged);
}

void RegressionPage::buildModelTab(QWidget* tab) {
    auto* row = new QHBoxLayout(tab);

    auto* left = new QVBoxLayout;
    ListBox2 = new SeriesListBox(QStringLiteral("ListBox2"), SeriesListBox::Mode::Single, form_, tab);
    ListBox2->setToolTip(QStringLiteral("Перетащите выбранные ряды"));
    ListBox2->setFixedHeight(ListBox2->fontMetrics().height() * 2 + 8);
    ListBox3 = new SeriesListBox(QStringLiteral("ListBox3"), SeriesListBox::Mode::Many, form_, tab);
    ListBox3->setToolTip(
        QStringLiteral("Перетащите выбранные ряды. Для удаления дважды кликните по выбранному праметру."));
    CheckListBox1 = new IntervalCheckList(QStringLiteral("CheckListBox1"), tab);
    CheckBox1 = new QCheckBox(QStringLiteral("Учитывать свободный член"), tab);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setChecked(true);
    Button2 = button("Button2", "Расчет", tab);
    left->addWidget(caption("Выходной параметр", tab));
    left->addWidget(ListBox2);
    left->addWidget(caption("Входные параметры", tab));
    left->addWidget(ListBox3, 2);
    left->addWidget(caption("Обучающие интервалы", tab));
    left->addWidget(CheckListBox1, 2);
    left->addWidget(CheckBox1);
    left->addWidget(Button2);
    auto* leftBox = new QWidget(tab);
    leftBox->setLayout(left);
    leftBox->setFixedWidth(220);
    row->addWidget(leftBox);

    auto* right = new QVBoxLayout;
    auto* textRow = new QHBoxLayout;
    Edit12 = modelTextEdit("Edit12", tab);
    SpeedButton10 = new QToolButton(tab);
    SpeedButton10->setObjectName(QStringLiteral("SpeedButton10"));
    SpeedButton10->setToolTip(QStringLiteral("Сохранить полученную модель"));
    SpeedButton10->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    SpeedButton10->setAutoRaise(true);
    textRow->addWidget(Edit12, 1);
    textRow->addWidget(SpeedButton10);
    right->addLayout(textRow);
    auto* split = new QSplitter(Qt::Vertical, tab);
    StringGrid1 = qualityGrid("StringGrid1", split);
    Chart8 = resultChart("Chart8", "CheckBox4", split);
    split->addWidget(StringGrid1);
    split->addWidget(Chart8);
    split->setStretchFactor(1, 1);
    // The grid shows its ten rows; the chart takes the rest.
    split->setSizes({250, 600});
    right->addWidget(split, 1);
    row->addLayout(right, 1);
    form_.attachCopyPicture(Chart8);
}

void RegressionPage::buildStatisticsTab(QWidget* tab) {
    auto* col = new QVBoxLayout(tab);
    auto* textRow = new QHBoxLayout;
    Edit13 = modelTextEdit("Edit13", tab);
    textRow->addWidget(caption("Модель", tab));
    textRow->addWidget(Edit13, 1);
    col->addLayout(textRow);

    auto* row = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    CheckListBox2 = new IntervalCheckList(QStringLiteral("CheckListBox2"), tab);
    Button12 = button("Button12", "Расчет", tab);
    Button13 = button("Button13", "Отчет", tab);
    Button13->setToolTip(QStringLiteral("Сохранить отчет по идентификации в формате html"));
    left->addWidget(caption("Тестовые интервалы", tab));
    left->addWidget(CheckListBox2, 1);
    left->addWidget(Button12);
    left->addWidget(Button13);
    auto* leftBox = new QWidget(tab);
    leftBox->setLayout(left);
    leftBox->setFixedWidth(220);
    row->addWidget(leftBox);
    auto* split = new QSplitter(Qt::Vertical, tab);
    StringGrid8 = qualityGrid("StringGrid8", split);
    Chart9 = resultChart("Chart9", "CheckBox3", split);
    split->addWidget(StringGrid8);
    split->addWidget(Chart9);
    split->setStretchFactor(1, 1);
    // The grid shows its ten rows; the chart takes the rest.
    split->setSizes({250, 600});
    row->addWidget(split, 1);
    col->addLayout(row, 1);
    form_.attachCopyPicture(Chart9);
}

TStaticIdentificationAll& RegressionPage::engine() const { return form_.analyzer().staticIdentification; }

void RegressionPage::pageShown() {
    const TProject& project = form_.project();
    CheckListBox1->refill(project.fragments, project.fragmentOrigins, IntervalCheckList::Ticks::All);
    CheckListBox2->refill(project.fragments, project.fragmentOrigins, IntervalCheckList::Ticks::None);
}

void RegressionPage::fragmentsChanged() {
    const TProject& project = form_.project();
    CheckListBox1->refill(project.fragments, project.fragmentOrigins, IntervalCheckList::Ticks::Keep);
    CheckListBox2->refill(project.fragments, project.fragmentOrigins, IntervalCheckList::Ticks::Keep);
}

void RegressionPage::clearPage() {
    Edit12->clear();
    Edit13->clear();
    clearStaticQuality(*StringGrid1);
    clearStaticQuality(*StringGrid8);
    Chart8->clearSeries();
    Chart9->clearSeries();
    Chart8->requestReplot();
    Chart9->requestReplot();
    modelInputIds_.clear();
    modelOutputId_ = 0;
}

void RegressionPage::Button2Click() {
    // The intervals as the fragment chart has them now: the fragment editor may have changed
    // one since the page was shown. The ticks follow their intervals.
    form_.loadFragments();
    const arrayOfFragment fragments = CheckListBox1->tickedFragments(form_.project().fragments);
    // The lists hold ids: the series are looked up now, and any that left the project are
    // not there any more.
    struct Listed {
        uint64_t id;
        TStatisticSeries* series;
    };
    std::vector<Listed> inputs;
    for (uint64_t id : ListBox3->ids())
        if (TStatisticSeries* s = form_.seriesById(id)) inputs.push_back({id, s});
    std::vector<Listed> outputs;
    for (uint64_t id : ListBox2->ids())
        if (TStatisticSeries* s = form_.seriesById(id)) outputs.push_back({id, s});

    // One message: the last failing check in this order.
    const char* refusal = nullptr;
    if (fragments.empty()) refusal = kNoIntervalMessage;
    if (outputs.empty()) refusal = kNoOutputMessage;
    if (inputs.empty()) refusal = kNoInputsMessage;
    if (refusal) {
        form_.prompter().message(refusal);
        return;
    }
    const Listed output = outputs.front();
    if (output.series->Count() == 0) {
        form_.prompter().message(kEmptyOutputMessage);
        return;
    }

    arrayOfStatSeries inputSeries;
    for (const Listed& in : inputs) inputSeries.push_back(in.series);
    TStaticIdentificationAll& e = engine();
    e.calcStaticModel(fragments, inputSeries, output.series, kIdentificationDelta, CheckBox1->isChecked());
    if (!e.haveModel) {
        form_.prompter().message(kCalcErrorMessage);
        return;
    }

    // The inputs that passed the time-stamp check, in model order (titles are unique in
    // the project).
    modelInputIds_.clear();
    for (const std::string& name : e.model.inputName) {
        const auto it = std::find_if(inputs.begin(), inputs.end(),
                                     [&](const Listed& in) { return in.series->Title == name; });
        modelInputIds_.push_back(it == inputs.end() ? 0 : it->id);
    }
    modelOutputId_ = output.id;

    const QString text = QString::fromStdString(e.model.getString()).toUpper();
    for (QLineEdit* edit : {Edit12, Edit13}) {
        edit->setText(text);
        edit->setCursorPosition(0);  // the equation from its beginning
    }

    arrayOfExtended values;
    const auto modelOutput = e.model.calcOutputWithStat(e.inputModelSeries(), *e.OutputModelSeries, values,
                                                        &form_.prompter());
    Chart8->clearSeries();
    Chart8->setResult(*e.OutputModelSeries, "Выходной параметр", *modelOutput, "Расчетное значение");

    // The previous test no longer belongs to the model shown.
    Chart9->clearSeries();
    Chart9->requestReplot();
    clearStaticQuality(*StringGrid8);

    showStaticQuality(*StringGrid1, values);
}

void RegressionPage::Button12Click() {
    TStaticIdentificationAll& e = engine();
    if (!e.haveModel) {
        form_.prompter().message(kIdentifyFirstMessage);
        return;
    }
    form_.loadFragments();
    const arrayOfFragment fragments = CheckListBox2->tickedFragments(form_.project().fragments);
    if (fragments.empty()) {
        form_.prompter().message(kNoTestIntervalMessage);
        return;
    }
    // The series the model was fitted on, as the project holds them now.
    arrayOfStatSeries inputs;
    for (uint64_t id : modelInputIds_) inputs.push_back(form_.seriesById(id));
    TStatisticSeries* output = form_.seriesById(modelOutputId_);
    if (!output || std::find(inputs.begin(), inputs.end(), nullptr) != inputs.end()) {
        form_.prompter().message(kModelSeriesGoneMessage);
        return;
    }

    arrayOfExtended values;
    const auto modelOutput = e.calcModelOnInterval(fragments, inputs, output, kTestDelta, values);
    // A refused test has told why; what was shown stays.
    if (!modelOutput || !e.data.OutputSeries) return;
    e.haveCalc = true;
    Chart9->setResult(*e.data.OutputSeries, "Выходное параметры", *modelOutput, "Расчетное значение");
    showStaticQuality(*StringGrid8, values);
}

void RegressionPage::Button13Click() {
    TStaticIdentificationAll& e = engine();
    if (!e.haveCalc) {
        form_.prompter().message(kTestFirstMessage);
        return;
    }
    const std::optional<std::string> path = form_.prompter().saveFileName(FileKind::Report, "");
    if (!path) return;
    OffscreenChartRenderer renderer;
    // The writer tells what could not be written ("Не удалось ...").
    const std::string structure = staticStructureText(static_cast<int>(e.model.inputName.size()), e.model.coinCheck);
    writeStaticModelReport(*path, e.model.outputName, structure, e.model.getString(),
                           gridValues(*StringGrid1), gridValues(*StringGrid8), describeChart(*Chart8),
                           describeChart(*Chart9), renderer, form_.prompter());
}

void RegressionPage::SpeedButton10Click() {
    TStaticIdentificationAll& e = engine();
    if (!e.haveModel) return;
    TForm17* dialog = form_.modelNameDialog();
    if (!dialog) return;
    if (const auto name = dialog->askName(e.model.name)) {
        e.model.name = *name;
        form_.project().addStaticModel(e.model, true);
    }
}
