#include "ui/pages/statistics/CorrelationPage.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "identification/CrossCorrelation.h"
#include "ui/mainwindow/Prompter.h"
#include "ui/mainwindow/TForm1.h"
#include "ui/mainwindow/Workers.h"
#include "ui/pages/statistics/CorrelationChart.h"
#include "ui/pages/statistics/CorrelationChoice.h"
#include "ui/pages/statistics/PageControls.h"
#include "ui/pages/statistics/PairCorrelation.h"
#include "ui/pages/statistics/TForm5.h"

namespace {

const char* const kAutoFirstTitle = "Автокорреляция первого параметра";
const char* const kAutoSecondTitle = "Автокорреляция второго параметра";
const char* const kCrossTitle = "Кросс-корреляция первого и второго параметров";
const char* const kCrossFailedTitle = "Кросс-корреляция первого и второго параметра";
const char* const kNoSeriesText = "В проекте нет рядов!";

// Sums longer than this many products run on a worker behind the busy frame.
constexpr double kWorkerThreshold = 2e6;

}  // namespace

bool runPairCorrelation(TForm1& form, PairCorrelation& plan, const TStatisticSeries* first,
                        const TStatisticSeries* second) {
    if (plan.work < kWorkerThreshold) {
        computePairCorrelation(form.analyzer(), plan, first, second);
        return true;
    }
    // The series are only read; the window stays disabled until the worker is done.
    TJustProcedureThread thread;
    thread.FOnExecuteProcedure = [&] { computePairCorrelation(form.analyzer(), plan, first, second); };
    return form.runWorker(thread);
}

void tellUndefinedCorrelation(Reporter& reporter, const PairCorrelation& plan) {
    if (!plan.constantTitles.empty()) reporter.message(kConstantSeriesText + plan.constantTitles);
    if (!plan.nonFiniteTitles.empty()) reporter.message(kNonFiniteSeriesText + plan.nonFiniteTitles);
}

std::vector<double> autocorrelationBars(const std::vector<long double>& r) {
    return std::vector<double>(r.begin(), r.end());
}

std::vector<double> crossCorrelationBars(const std::vector<std::pair<int, double>>& r) {
    std::vector<double> out(r.size());
    for (size_t i = 0; i < r.size(); ++i) out[i] = r[i].second;
    return out;
}

CorrelationPage::CorrelationPage(TForm1& form, CorrelationChoice& choice, QWidget* parent)
    : MainPage(QStringLiteral("TabSheet6"), QStringLiteral("Корреляция"), parent),
      form_(form),
      choice_(choice),
      form5_(std::make_unique<TForm5>()) {
    form5_->copyPicture = [&form](QWidget* grid) { form.N26Click(grid); };

    Edit2 = choice.field(1, "Edit2");
    Edit3 = choice.field(2, "Edit3");
    Edit5 = lagField("Edit5");
    Button6 = new QPushButton(QStringLiteral("Расчет"));
    Button6->setObjectName(QStringLiteral("Button6"));
    Button6->setToolTip(QStringLiteral("Расчет корреляций"));
    Button5 = new QPushButton(QStringLiteral("Тепловая карта"));
    Button5->setObjectName(QStringLiteral("Button5"));
    Button5->setToolTip(QStringLiteral("Тепловая карта коэффициентов парной корреляции всех параметров"));
    connect(Button6, &QPushButton::clicked, this, [this] { form_.runCommand([this] { calcAutoKorrelation(); }); });
    connect(Button5, &QPushButton::clicked, this, [this] { form_.runCommand([this] { showKorrMap(); }); });

    auto* lagBox = new QGroupBox(QStringLiteral("Корреляция"));
    auto* lagRow = new QHBoxLayout(lagBox);
    lagRow->addWidget(new QLabel(QStringLiteral("Лаг:")));
    lagRow->addWidget(Edit5);
    lagRow->addWidget(Button6);
    lagRow->addWidget(Button5);
    lagRow->addStretch(1);

    Chart2 = new CorrelationChart(QStringLiteral("Chart2"), QString::fromUtf8(kAutoFirstTitle));
    Chart3 = new CorrelationChart(QStringLiteral("Chart3"), QString::fromUtf8(kAutoSecondTitle));
    Chart4 = new CorrelationChart(QStringLiteral("Chart4"), QString::fromUtf8(kCrossTitle));
    for (CorrelationChart* c : {Chart2, Chart3, Chart4}) form.attachCopyPicture(c);

    auto* top = new QHBoxLayout;
    top->addWidget(boxed(QStringLiteral("Первый параметр"), Edit2), 1);
    top->addWidget(boxed(QStringLiteral("Второй параметр"), Edit3), 1);
    top->addWidget(lagBox, 1);
    auto* page = new QVBoxLayout(this);
    page->addLayout(top);
    page->addLayout(chartGrid(Chart2, Chart3, Chart4), 1);

    connect(&choice, &CorrelationChoice::changed, this, &CorrelationPage::checkChoice);
}

CorrelationPage::~CorrelationPage() = default;

void CorrelationPage::resetChart(CorrelationChart* chart) {
    chart->clearBars();
    chart->setTitle(chart == Chart2 ? kAutoFirstTitle : chart == Chart3 ? kAutoSecondTitle : kCrossTitle);
}

void CorrelationPage::checkChoice() {
    if (!choice_.check(1, Edit2)) {
        resetChart(Chart2);
        resetChart(Chart4);
    }
    if (!choice_.check(2, Edit3)) {
        resetChart(Chart3);
        resetChart(Chart4);
    }
}

void CorrelationPage::pageShown() { checkChoice(); }

void CorrelationPage::clearPage() {
    Edit2->clear();
    Edit3->clear();
    Edit5->setText(QStringLiteral("0"));
    for (CorrelationChart* c : {Chart2, Chart3, Chart4}) resetChart(c);
    form5_->hide();
}

void CorrelationPage::calcAutoKorrelation() {
    Reporter& reporter = form_.prompter();
    const std::optional<long long> lag = readLag(Edit5->text().toStdString());
    if (!lag) {
        reporter.message(kBadLagText);
        return;
    }
    const int i1 = choice_.index(1), i2 = choice_.index(2);
    if (i1 < 0 && i2 < 0) {
        reporter.message(kFillAllFieldsText);
        return;
    }
    const auto& list = form_.project().seriesList;
    const TStatisticSeries* s1 = i1 >= 0 ? list[static_cast<size_t>(i1)].get() : nullptr;
    const TStatisticSeries* s2 = i2 >= 0 ? list[static_cast<size_t>(i2)].get() : nullptr;
    PairCorrelation plan = planPairCorrelation(s1, s2, *lag);
    if (!runPairCorrelation(form_, plan, s1, s2)) return;

    const struct {
        const TStatisticSeries* s;
        const PairCorrelation::Autocorrelation& a;
        CorrelationChart* chart;
        const char* failedTitle;
    } autos[] = {{s1, plan.first, Chart2, kAutoFirstTitle}, {s2, plan.second, Chart3, kAutoSecondTitle}};
    for (const auto& x : autos) {
        if (!x.s) continue;
        x.chart->clearBars();
        if (x.a.lagFits && !x.a.undefined) {
            x.chart->showCoefficients(autocorrelationBars(x.a.r));
            x.chart->setTitle(QString::fromStdString(x.s->Title));
        } else {
            x.chart->setTitle(QString::fromUtf8(x.failedTitle));
        }
    }
    if (s1 && s2) {
        Chart4->clearBars();
        if (!plan.lagFailures.empty()) {
            Chart4->setTitle(kCrossFailedTitle);
            reporter.message(kLagTooLargeText + plan.lagFailures);
        } else if (!plan.crossWanted) {
            Chart4->setTitle(kCrossFailedTitle);
            tellUndefinedCorrelation(reporter, plan);
        } else {
            Chart4->showCoefficients(crossCorrelationBars(plan.cross));
            Chart4->setTitle(QString::fromStdString("Кросс-корреляция " + s1->Title + " и " + s2->Title));
            // Told once the chart shows what was computed on the cut series.
            if (plan.cut) reporter.message(kUnequalLengthsText);
        }
        return;
    }
    // One series alone: its chart stays empty, and the user hears why.
    if (!plan.lagFailures.empty()) reporter.message(kLagTooLargeText + plan.lagFailures);
    tellUndefinedCorrelation(reporter, plan);
}

void CorrelationPage::showKorrMap() {
    const TProject& project = form_.project();
    if (project.seriesCount() < 1) {
        form_.prompter().message(kNoSeriesText);
        return;
    }
    std::vector<const TStatisticSeries*> series;
    std::vector<std::string> titles;
    double longest = 0;
    for (const auto& s : project.seriesList) {
        series.push_back(s.get());
        titles.push_back(s->Title);
        longest = std::max(longest, static_cast<double>(s->Count()));
    }
    const double n = static_cast<double>(series.size());
    CorrelationMap map;
    if (n * (n + 1) / 2 * longest < kWorkerThreshold) {
        map = calcCorrelationMap(series);
    } else {
        TJustProcedureThread thread;
        thread.FOnExecuteProcedure = [&] { map = calcCorrelationMap(series); };
        if (!form_.runWorker(thread)) return;
    }
    form5_->hide();
    form5_->setMap(titles, map);
    form5_->showOver(&form_);
}
