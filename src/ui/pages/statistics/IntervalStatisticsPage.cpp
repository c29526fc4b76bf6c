#include "ui/pages/statistics/IntervalStatisticsPage.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "numerics/FormatSettings.h"
#include "numerics/Formatters.h"
#include "ui/mainwindow/Prompter.h"
#include "ui/mainwindow/TForm1.h"
#include "ui/pages/data/DataPage.h"
#include "ui/pages/statistics/CorrelationChart.h"
#include "ui/pages/statistics/CorrelationChoice.h"
#include "ui/pages/statistics/CorrelationPage.h"
#include "ui/pages/statistics/PageControls.h"
#include "ui/pages/statistics/PairCorrelation.h"
#include "ui/pages/statistics/StatisticsPage.h"
#include "ui/widgets/EditingStringGrid.h"
#include "ui/widgets/IntervalComboBox.h"

namespace {

const char* const kRowLabels[11] = {"Интервал",          "Нижняя граница интервала", "Верхняя граница интеграл",
                                    "Количество точек",  "Максимальное значение",    "Минимальное значение",
                                    "Мат.ожидание",      "Дисперсия",                "СКО",
                                    "Вариация",          "Медиана"};
constexpr int kIntervalColumnWidth = 150;
constexpr int kLabelColumnWidth = 180;
const char* const kChooseSeriesText = "Выберите параметр!";
const char* const kNoIntervalsText = "В проекте нет интервалов! Отметьте их на странице фрагментов.";

QComboBox* list(const char* name) {
    auto* c = new QComboBox;
    c->setObjectName(QLatin1String(name));
    c->setMinimumWidth(200);
    dropTypedKeys(c);
    return c;
}

}  // namespace

IntervalStatisticsPage::IntervalStatisticsPage(TForm1& form, CorrelationChoice& choice, QWidget* parent)
    : MainPage(QStringLiteral("TabSheet2"), QStringLiteral("Статистика по фрагментам"), parent),
      form_(form),
      choice_(choice) {
    // --- "Статистики" ---
    ComboBox2 = list("ComboBox2");
    Button3 = new QPushButton(QStringLiteral("Загрузить"));
    Button3->setObjectName(QStringLiteral("Button3"));
    StringGrid7 = new editingStringGrid;
    StringGrid7->setObjectName(QStringLiteral("StringGrid7"));
    StringGrid7->setRowCount(11);
    StringGrid7->setColCount(1);
    StringGrid7->setFixedCols(0);
    StringGrid7->setFixedRows(1);
    StringGrid7->setDefaultColWidth(kIntervalColumnWidth);
    StringGrid7->setColWidth(0, kLabelColumnWidth);
    for (int r = 0; r < 11; ++r) StringGrid7->setCell(0, r, kRowLabels[r]);
    StringGrid7->widenColToText(0);
    auto* statsPage = new QWidget;
    auto* statsTop = new QHBoxLayout;
    statsTop->addWidget(new QLabel(QStringLiteral("Параметр")));
    statsTop->addWidget(ComboBox2);
    statsTop->addWidget(Button3);
    statsTop->addStretch(1);
    auto* statsLayout = new QVBoxLayout(statsPage);
    statsLayout->addLayout(statsTop);
    statsLayout->addWidget(boxed(QStringLiteral("Статистики по интервалам"), StringGrid7), 1);

    // --- "Корреляция" ---
    Edit4 = choice.field(1, "Edit4");
    Edit10 = choice.field(2, "Edit10");
    Edit11 = lagField("Edit11");
    ComboBox1 = new IntervalComboBox(QStringLiteral("ComboBox1"));
    ComboBox1->setMinimumWidth(200);
    dropTypedKeys(ComboBox1);
    Button7 = new QPushButton(QStringLiteral("Загрузить"));
    Button7->setObjectName(QStringLiteral("Button7"));
    Chart5 = new CorrelationChart(QStringLiteral("Chart5"), QStringLiteral("Автокорреляция первого ряда"));
    Chart6 = new CorrelationChart(QStringLiteral("Chart6"), QStringLiteral("Автокорреляция второго ряда"));
    Chart7 = new CorrelationChart(QStringLiteral("Chart7"), QStringLiteral("Кросс-корреляция первого и второго рядов"));
    for (CorrelationChart* c : {Chart5, Chart6, Chart7}) form.attachCopyPicture(c);

    auto* lagBox = new QGroupBox(QStringLiteral("Лаг"));
    auto* lagRow = new QHBoxLayout(lagBox);
    lagRow->addWidget(new QLabel(QStringLiteral("Величина лага:")));
    lagRow->addWidget(Edit11);
    auto* intervalBox = new QGroupBox(QStringLiteral("Интервал"));
    auto* intervalRow = new QHBoxLayout(intervalBox);
    intervalRow->addWidget(ComboBox1, 1);
    intervalRow->addWidget(Button7);
    auto* fields = new QVBoxLayout;
    fields->addWidget(Edit4);
    fields->addWidget(Edit10);
    auto* corrTop = new QHBoxLayout;
    corrTop->addLayout(fields, 1);
    corrTop->addWidget(lagBox);
    corrTop->addWidget(intervalBox, 1);
    auto* corrPage = new QWidget;
    auto* corrLayout = new QVBoxLayout(corrPage);
    corrLayout->addLayout(corrTop);
    corrLayout->addLayout(chartGrid(Chart5, Chart6, Chart7), 1);

    auto* tabs = new QTabWidget;
    tabs->addTab(statsPage, QStringLiteral("Статистики"));
    tabs->addTab(corrPage, QStringLiteral("Корреляция"));
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(0, 0, 0, 0);
    page->addWidget(tabs);

    connect(Button3, &QPushButton::clicked, this, [this] { form_.runCommand([this] { Button3Click(); }); });
    connect(Button7, &QPushButton::clicked, this, [this] { form_.runCommand([this] { Button7Click(); }); });
    connect(&choice, &CorrelationChoice::changed, this, &IntervalStatisticsPage::checkChoice);
    // Leaving the fragment page refills both lists; the lists also follow the project at once,
    // so that they never offer a series or an interval that is gone.
    connect(&form, &TForm1::pageHandlerRan, this, [this](const QString& handler) {
        if (handler == QLatin1String("TabSheet4Hide")) refillLists();
    });
    connect(&form, &TForm1::seriesListChanged, this, &IntervalStatisticsPage::refillSeries);
    connect(&form, &TForm1::fragmentsListChanged, this, &IntervalStatisticsPage::refillIntervals);
    refillLists();
}

void IntervalStatisticsPage::refillLists() {
    refillSeries();
    refillIntervals();
}

void IntervalStatisticsPage::refillSeries() {
    const uint64_t chosen = ComboBox2->currentIndex() >= 0 ? ComboBox2->currentData().toULongLong() : 0;
    ComboBox2->clear();
    const auto& series = form_.project().seriesList;
    for (int i = 0; i < static_cast<int>(series.size()); ++i)
        ComboBox2->addItem(QString::fromStdString(series[static_cast<size_t>(i)]->Title),
                           QVariant::fromValue<qulonglong>(form_.seriesIdAt(i)));
    ComboBox2->setCurrentIndex(chosen ? ComboBox2->findData(QVariant::fromValue<qulonglong>(chosen)) : -1);
}

void IntervalStatisticsPage::refillIntervals() {
    const TProject& project = form_.project();
    ComboBox1->refill(project.fragments, project.fragmentOrigins);
}

void IntervalStatisticsPage::checkChoice() {
    if (!choice_.check(1, Edit4)) {
        Chart5->clearBars();
        Chart7->clearBars();
    }
    if (!choice_.check(2, Edit10)) {
        Chart6->clearBars();
        Chart7->clearBars();
    }
}

void IntervalStatisticsPage::pageShown() { checkChoice(); }

void IntervalStatisticsPage::clearPage() {
    StringGrid7->setColCount(1);
    StringGrid7->setFixedCols(0);
    Edit4->clear();
    Edit10->clear();
    Edit11->setText(QStringLiteral("0"));
    ComboBox2->clear();
    ComboBox1->refill({});
    for (CorrelationChart* c : {Chart5, Chart6, Chart7}) c->clearBars();
}

const TStatisticSeries* IntervalStatisticsPage::piece(int k, int j) const {
    const auto& table = form_.project().fragmentsSeriesList;
    if (k < 0 || j < 0 || static_cast<size_t>(k) >= table.size() || static_cast<size_t>(j) >= table[static_cast<size_t>(k)].size())
        return nullptr;
    return table[static_cast<size_t>(k)][static_cast<size_t>(j)].get();
}

void IntervalStatisticsPage::Button3Click() {
    form_.loadFragments();
    TProject& project = form_.project();
    const int k = ComboBox2->currentIndex() >= 0 ? form_.seriesIndexOf(ComboBox2->currentData().toULongLong()) : -1;
    if (k < 0) {
        form_.prompter().message(kChooseSeriesText);
        return;
    }
    const int m = project.numOfFragments();
    if (m < 1) {
        form_.prompter().message(kNoIntervalsText);
        return;
    }
    const FormatSettings fs;
    // The columns of an earlier load go, and their widths with them.
    StringGrid7->setColCount(1);
    StringGrid7->setColCount(m + 1);
    StringGrid7->setColWidth(0, kLabelColumnWidth);
    StringGrid7->beginFill();
    for (int j = 0; j < m; ++j) {
        const int col = j + 1;
        const TFragment& f = project.fragments[static_cast<size_t>(j)];
        const TStatisticSeries* p = piece(k, j);
        StringGrid7->setCell(col, 0, p ? p->Title : project.seriesList[static_cast<size_t>(k)]->Title + "_" + f.name);
        StringGrid7->setCell(col, 1, dateTimeToStr(static_cast<double>(f.startPoint), fs));
        StringGrid7->setCell(col, 2, dateTimeToStr(static_cast<double>(f.endPoint), fs));
        if (!p || p->Count() == 0) {
            StringGrid7->setCell(col, 3, "0");
            for (int r = 4; r <= 10; ++r) StringGrid7->setCell(col, r, "-");
            continue;
        }
        const std::optional<ValueRange> range = valueRange(*p);
        const double nan = std::numeric_limits<double>::quiet_NaN();
        StringGrid7->setCell(col, 3, std::to_string(p->Count()));
        StringGrid7->setCell(col, 4, formatNumber(range ? range->hi : nan, fs));
        StringGrid7->setCell(col, 5, formatNumber(range ? range->lo : nan, fs));
        StringGrid7->setCell(col, 6, formatNumber(p->mean, fs));
        StringGrid7->setCell(col, 7, formatNumber(p->variance, fs));
        StringGrid7->setCell(col, 8, formatNumber(p->standartDeviation, fs));
        StringGrid7->setCell(col, 9, formatNumber(p->variation, fs));
        StringGrid7->setCell(col, 10, formatNumber(p->median, fs));
    }
    // Each column as wide as its title and values (a bound may carry milliseconds).
    StringGrid7->endFill();
    StringGrid7->setFixedCols(1);
    StringGrid7->setFixedRows(1);
}

void IntervalStatisticsPage::Button7Click() {
    Reporter& reporter = form_.prompter();
    const int k1 = choice_.index(1), k2 = choice_.index(2);
    if (k1 < 0 || k2 < 0 || ComboBox1->currentIndex() < 0) {
        reporter.message(kFillAllFieldsText);
        return;
    }
    const std::optional<long long> lag = readLag(Edit11->text().toStdString());
    if (!lag) {
        reporter.message(kBadLagText);
        return;
    }
    // The copy of the chart's intervals may change the list; the choice follows its interval.
    form_.loadFragments();
    const int f = ComboBox1->chosenIn(form_.project().fragments);
    const TStatisticSeries* s1 = piece(k1, f);
    const TStatisticSeries* s2 = piece(k2, f);
    if (f < 0 || f >= form_.project().numOfFragments() || !s1 || !s2) {
        reporter.message(kFillAllFieldsText);
        return;
    }
    PairCorrelation plan = planPairCorrelation(s1, s2, *lag);
    if (!runPairCorrelation(form_, plan, s1, s2)) return;
    Chart5->clearBars();
    if (plan.first.lagFits && !plan.first.undefined) Chart5->showCoefficients(autocorrelationBars(plan.first.r));
    Chart6->clearBars();
    if (plan.second.lagFits && !plan.second.undefined) Chart6->showCoefficients(autocorrelationBars(plan.second.r));
    if (!plan.lagFailures.empty()) {
        // The cross-correlation chart keeps what it showed.
        reporter.message(kLagTooLargeText + plan.lagFailures);
        return;
    }
    Chart7->clearBars();
    if (!plan.crossWanted) {
        tellUndefinedCorrelation(reporter, plan);
        return;
    }
    Chart7->showCoefficients(crossCorrelationBars(plan.cross));
    if (plan.cut) reporter.message(kUnequalLengthsText);
}
