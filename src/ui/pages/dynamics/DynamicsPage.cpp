#include "ui/pages/dynamics/DynamicsPage.h"

#include <QComboBox>
#include <QCursor>
#include <QEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdlib>

#include "exchange/HtmlReport.h"
#include "numerics/FormatSettings.h"
#include "numerics/Formatters.h"
#include "ui/charts/ReportRendering.h"
#include "ui/charts/ResultChart.h"
#include "ui/mainwindow/Prompter.h"
#include "ui/mainwindow/TForm1.h"
#include "ui/pages/dynamics/DelayShift.h"
#include "ui/pages/dynamics/TForm16.h"
#include "ui/pages/dynamics/TForm21.h"
#include "ui/widgets/EditingStringGrid.h"
#include "ui/widgets/IntervalComboBox.h"
#include "ui/widgets/KeyFilters.h"
#include "ui/widgets/TransferFunctionFormula.h"
#include "ui/widgets/SeriesDropTarget.h"
#include "ui/widgets/TForm17.h"

const char* const kFillAllFields = "Заполните все поля!";
const char* const kDelayTooLarge = "Запаздывание не может быть больше колличетсва точек ряда!";
const char* const kDelayNotInteger = "Запаздывание должно быть целым числом отсчетов!";
const char* const kDelayOutOfRange = "Запаздывание слишком велико!";
const char* const kTooFewInputPoints = "Недостаточно точек во входном параметре на данном интервале!";
const char* const kTooFewOutputPoints = "Недостаточно точек в выходном интервале на данном интервале!";
const char* const kIdentificationFailed = "Ошибка расчета";
const char* const kEditedModelNotDiscrete =
    "Передаточную функцию с такими коэффициентами нельзя перевести в разностное уравнение: "
    "сумма коэффициентов знаменателя, деленных на степени шага, равна нулю. Модель не изменена.";

namespace {

const char* const kMeasuredTitle = "Выходное значение параметра";
const char* const kModelTitle = "Расчетное значение параметра";
const char* const kQualityCaptions[] = {"R2", "R2(нормированный)", "СКО ошибки", "Средняя абсолютная ошибка",
                                        "Максимальная абсолютная ошибка"};
const QString kNumeratorStart = QStringLiteral("num(s)");
const QString kDenominatorStart = QStringLiteral("denum(s)");
const QString kDelayStart = QStringLiteral("-t*s");
// Pixels of the fraction's edits beside their text (frame and text margins).

// Series items carry the series' id.
constexpr int kIdRole = Qt::UserRole;

QLabel* caption(const char* text, QWidget* parent) { return new QLabel(QString::fromUtf8(text), parent); }

QComboBox* comboBox(const char* name, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setMinimumWidth(180);
    box->setMinimumContentsLength(14);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    return box;
}

QComboBox* orderBox(const char* name, int highest, int chosen, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    for (int i = 0; i <= highest; ++i) box->addItem(QString::number(i));
    box->setCurrentIndex(chosen);
    return box;
}

// The project's series i cut to its interval j, or null when the project has not cut it.
const TStatisticSeries* fragmentSeries(const TProject& project, int i, int j) {
    if (i < 0 || static_cast<size_t>(i) >= project.fragmentsSeriesList.size()) return nullptr;
    const auto& row = project.fragmentsSeriesList[static_cast<size_t>(i)];
    if (j < 0 || static_cast<size_t>(j) >= row.size()) return nullptr;
    return row[static_cast<size_t>(j)].get();
}

}  // namespace

DynamicsPage::DynamicsPage(TForm1& form, QWidget* parent)
    : MainPage(QStringLiteral("TabSheet17"), QStringLiteral("Динамика"), parent), form_(form) {
    buildControls();
    Form16 = new TForm16(&form_.prompter(), this);
    Form16->hide();
    Form21 = new TForm21(this);
    Form21->hide();

    connect(&form_, &TForm1::seriesListChanged, this, &DynamicsPage::refillSeriesLists);
    connect(&form_, &TForm1::fragmentsListChanged, this, &DynamicsPage::refillIntervalList);
    refillSeriesLists();
    refillIntervalList();
}

void DynamicsPage::buildControls() {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(6, 6, 6, 6);

    // Series, interval, delay, orders and the two commands.
    auto* top = new QGridLayout;
    top->setHorizontalSpacing(8);
    ComboBox4 = comboBox("ComboBox4", this);
    ComboBox7 = comboBox("ComboBox7", this);
    ComboBox3 = new IntervalComboBox(QStringLiteral("ComboBox3"), this);
    ComboBox3->setMinimumWidth(180);
    Edit19 = new QLineEdit(QStringLiteral("0"), this);
    Edit19->setObjectName(QStringLiteral("Edit19"));
    Edit19->setMaximumWidth(180);
    ComboBox8 = orderBox("ComboBox8", 2, 0, this);
    ComboBox9 = orderBox("ComboBox9", 4, 2, this);
    Image4 = new QLabel(this);
    Image4->setObjectName(QStringLiteral("Image4"));
    Image4->setFixedSize(16, 16);
    Image4->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(16, 16));
    Image4->installEventFilter(this);
    Button16 = new QPushButton(QStringLiteral("Расчет"), this);
    Button16->setObjectName(QStringLiteral("Button16"));
    Button18 = new QPushButton(QStringLiteral("Отчет"), this);
    Button18->setObjectName(QStringLiteral("Button18"));
    Button18->setToolTip(QStringLiteral("Сохранить отчет по идентификации в формате html"));

    // Series and interval in the first row; delay, orders and the commands in the second.
    top->addWidget(caption("Входной параметр", this), 0, 0);
    top->addWidget(ComboBox4, 1, 0);
    top->addWidget(caption("Выходной параметр", this), 0, 1, 1, 2);
    top->addWidget(ComboBox7, 1, 1, 1, 2);
    top->addWidget(caption("Интервал", this), 0, 3, 1, 4);
    top->addWidget(ComboBox3, 1, 3, 1, 4);
    top->addWidget(caption("Запаздывание (в отсчетах)", this), 2, 0);
    top->addWidget(Edit19, 3, 0);
    top->addWidget(caption("Порядок числителя", this), 2, 1);
    top->addWidget(ComboBox8, 3, 1);
    top->addWidget(caption("Порядок заменателя", this), 2, 2);
    top->addWidget(ComboBox9, 3, 2);
    top->addWidget(Image4, 3, 3, Qt::AlignVCenter);
    top->addWidget(Button16, 3, 4);
    top->addWidget(Button18, 3, 5);
    top->setColumnStretch(6, 1);
    column->addLayout(top);

    // W(S)= numerator over denominator, the delay factor, editor and saving.
    auto* fraction = new QHBoxLayout;
    fraction->setSpacing(4);
    formula_ = new TransferFunctionFormula(this);
    Label19 = formula_->Label19;
    Panel12 = formula_->Panel12;
    Edit20 = formula_->Edit20;
    Edit21 = formula_->Edit21;
    Panel14 = formula_->Panel14;
    Label28 = formula_->Label28;
    Label29 = formula_->Label29;
    Panel14->setAutoFillBackground(true);
    QPalette light = Panel14->palette();
    light.setColor(QPalette::Window, light.color(QPalette::Light));
    Panel14->setPalette(light);
    formula_->setFraction(kNumeratorStart, kDenominatorStart);

    SpeedButton14 = new QToolButton(this);
    SpeedButton14->setObjectName(QStringLiteral("SpeedButton14"));
    SpeedButton14->setToolTip(QStringLiteral("Редактировать параметры модели"));
    SpeedButton14->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    SpeedButton13 = new QToolButton(this);
    SpeedButton13->setObjectName(QStringLiteral("SpeedButton13"));
    SpeedButton13->setToolTip(QStringLiteral("Сохранить полученную модель"));
    SpeedButton13->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    fraction->addWidget(formula_);
    fraction->addSpacing(12);
    fraction->addWidget(SpeedButton14);
    fraction->addWidget(SpeedButton13);
    fraction->addStretch(1);
    column->addLayout(fraction);

    // The quality values beside the chart.
    auto* results = new QSplitter(Qt::Horizontal, this);
    results->setObjectName(QStringLiteral("Splitter9"));
    StringGrid9 = new editingStringGrid(results);
    StringGrid9->setObjectName(QStringLiteral("StringGrid9"));
    StringGrid9->setRowCount(6);
    StringGrid9->setColCount(2);
    StringGrid9->setFixedRows(1);
    StringGrid9->setFixedCols(0);
    StringGrid9->setColWidth(0, 200);
    StringGrid9->setColWidth(1, 130);
    StringGrid9->setCell(0, 0, "Параметр");
    StringGrid9->setCell(1, 0, "Значение");
    for (int row = 1; row <= 5; ++row) StringGrid9->setCell(0, row, kQualityCaptions[row - 1]);
    StringGrid9->widenColToText(0);
    Chart11 = new ResultChart(results);
    Chart11->setObjectName(QStringLiteral("Chart11"));
    Chart11->markersBox()->setObjectName(QStringLiteral("CheckBox8"));
    // Fixed until the first result makes it automatic.
    Chart11->leftAxisState().setMinMax(0, 100);
    results->addWidget(StringGrid9);
    results->addWidget(Chart11);
    results->setStretchFactor(1, 1);
    // The grid shown whole beside the chart.
    results->setSizes({std::max(350, StringGrid9->colWidth(0) + StringGrid9->colWidth(1) + 2 * StringGrid9->frameWidth() + 4),
                       800});
    column->addWidget(results, 1);
    form_.attachCopyPicture(Chart11);
    form_.attachCopyPicture(StringGrid9);

    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(500);
    connect(Timer2, &QTimer::timeout, this, &DynamicsPage::Timer2Timer);

    installIntegerFilter(Edit19);
    installExitHandler(Edit19, [this] { Edit19Exit(); });
    connect(Button16, &QPushButton::clicked, this, [this] { Button16Click(); });
    connect(Button18, &QPushButton::clicked, this, [this] { Button18Click(); });
    connect(SpeedButton14, &QToolButton::clicked, this, [this] { SpeedButton14Click(); });
    connect(SpeedButton13, &QToolButton::clicked, this, [this] { SpeedButton13Click(); });
    // A series dragged from the series tree onto a series list becomes its choice.
    for (QComboBox* box : {ComboBox4, ComboBox7})
        acceptSeriesDrops(box, form_, [this, box](const TForm1::DroppedSeries& dropped) {
            const int i = dropped.primary >= 0 ? dropped.primary : dropped.selected.front();
            box->setCurrentIndex(box->findData(QVariant::fromValue<qulonglong>(form_.seriesIdAt(i)), kIdRole));
        });

    formula_->setDelay(kDelayStart);
}

// ---- lists ----

void DynamicsPage::refillSeriesLists() {
    const TProject& project = form_.project();
    for (QComboBox* box : {ComboBox7, ComboBox4}) {
        const QVariant chosen = box->currentData(kIdRole);
        const QSignalBlocker quiet(box);
        box->clear();
        for (int i = 0; i < project.seriesCount(); ++i)
            box->addItem(QString::fromStdString(project.seriesList[static_cast<size_t>(i)]->Title),
                         QVariant::fromValue<qulonglong>(form_.seriesIdAt(i)));
        box->setCurrentIndex(chosen.isValid() ? box->findData(chosen, kIdRole) : -1);
    }
}

void DynamicsPage::refillIntervalList() {
    const TProject& project = form_.project();
    ComboBox3->refill(project.fragments, project.fragmentOrigins);
}

void DynamicsPage::pageShown() {
    refillSeriesLists();
    refillIntervalList();
}

void DynamicsPage::pageHidden() { Image4MouseLeave(); }

void DynamicsPage::clearPage() {
    refillSeriesLists();
    refillIntervalList();
    Edit20->setText(kNumeratorStart);
    Edit21->setText(kDenominatorStart);
    formula_->setDelay(kDelayStart);
    for (int row = 1; row <= 5; ++row) StringGrid9->setCell(1, row, "");
    Chart11->clearSeries();
    Chart11->leftAxisState().setMinMax(0, 100);
    Chart11->requestReplot();
}

// ---- identification ----

void DynamicsPage::Button16Click() {
    Prompter& prompter = form_.prompter();
    // Intervals and their series as the fragment chart has them now: a series may have
    // come into the project since the page was shown.
    form_.loadFragments();
    const TProject& project = form_.project();
    const bool allChosen = ComboBox3->currentIndex() >= 0 && ComboBox7->currentIndex() >= 0 &&
                           ComboBox4->currentIndex() >= 0 && ComboBox8->currentIndex() >= 0 &&
                           ComboBox9->currentIndex() >= 0;
    const int xpower = ComboBox8->currentIndex();
    const int ypower = ComboBox9->currentIndex();
    if (!allChosen || (xpower == 0 && ypower == 0)) {
        prompter.message(kFillAllFields);
        return;
    }
    const int inputIndex = form_.seriesIndexOf(ComboBox4->currentData(kIdRole).toULongLong());
    const int outputIndex = form_.seriesIndexOf(ComboBox7->currentData(kIdRole).toULongLong());
    const int interval = ComboBox3->chosenIn(project.fragments);
    if (inputIndex < 0 || outputIndex < 0 || interval < 0) {
        prompter.message(kFillAllFields);
        return;
    }
    // A number of digits too long for a delay is not called "not a whole number".
    const IntText delayText = strToInt(Edit19->text().toStdString());
    if (delayText.status != IntText::Ok) {
        prompter.message(delayText.status == IntText::TooLarge ? kDelayOutOfRange : kDelayNotInteger);
        return;
    }
    const int delay = delayText.value;

    TStatisticSeries input, output;
    if (const TStatisticSeries* s = fragmentSeries(project, inputIndex, interval)) input.assignSS(*s);
    if (const TStatisticSeries* s = fragmentSeries(project, outputIndex, interval)) output.assignSS(*s);
    int d = delay;
    // A delay of either sign must leave points in both copies; a zero delay shifts nothing.
    const long long magnitude = std::llabs(static_cast<long long>(d));
    if (d != 0 && (input.Count() - 1 < magnitude || output.Count() - 1 < magnitude)) {
        prompter.message(kDelayTooLarge);
        d = 0;
    }
    shiftByDelay(input, output, d);
    if (input.Count() < 10) {
        prompter.message(kTooFewInputPoints);
        return;
    }
    if (output.Count() < 10) {
        prompter.message(kTooFewOutputPoints);
        return;
    }

    TDynamicIdent& engine = form_.analyzer().dynamicIdentification;
    if (!engine.identification(input, output, xpower, ypower)) {
        prompter.message(kIdentificationFailed);
        return;
    }
    TDynamicModel& model = engine.dynamicmodel;
    model.tau = static_cast<long double>(d) * model.timeDiscretization;
    formula_->setDelay(QString::fromStdString("-(" + formatNumber(model.tau) + ")*s"));
    showModel(model, input, output);
}

void DynamicsPage::showModel(const TDynamicModel& model, const TStatisticSeries& input, TStatisticSeries& output) {
    std::string numerator, denominator;
    model.getTransferFunction(numerator, denominator);
    Edit20->setText(QString::fromStdString(numerator));
    Edit21->setText(QString::fromStdString(denominator));
    TStatisticSeries in = input;
    arrayOfExtended values;
    const std::unique_ptr<TStatisticSeries> computed = model.calcOutputWithStat({&in}, output, values);
    Chart11->setResult(output, kMeasuredTitle, *computed, kModelTitle);
    for (int row = 1; row <= 5; ++row)
        StringGrid9->setCell(1, row,
                             static_cast<size_t>(row - 1) < values.size() ? formatNumber(values[static_cast<size_t>(row - 1)])
                                                                         : std::string());
    StringGrid9->widenColToText(1);
}

// ---- editor, report, saving ----

void DynamicsPage::SpeedButton14Click() {
    TDynamicIdent& engine = form_.analyzer().dynamicIdentification;
    if (!engine.calcModel || !engine.lastInput || !engine.lastOutput) return;
    TDynamicModel& model = engine.dynamicmodel;
    Form16->loadModel(model);
    if (!Form16->execute()) return;
    TDynamicModel edited = model;
    if (!Form16->applyTo(edited)) return;
    // The difference equation must follow the edited transfer function; one that cannot be
    // discretised would leave the old equation under the new texts.
    edited.kx.clear();
    edited.calcDiffExOnTF();
    if (edited.kx.empty()) {
        form_.prompter().message(kEditedModelNotDiscrete);
        return;
    }
    model = std::move(edited);
    showModel(model, *engine.lastInput, *engine.lastOutput);
}

void DynamicsPage::Button18Click() {
    TDynamicIdent& engine = form_.analyzer().dynamicIdentification;
    if (!engine.calcModel) return;
    const std::optional<std::string> path = form_.prompter().saveFileName(FileKind::Report, "");
    if (!path) return;
    const TDynamicModel& model = engine.dynamicmodel;
    std::string numerator, denominator;
    model.getTransferFunction(numerator, denominator);
    DynamicReportValues values;
    for (int row = 1; row <= 5; ++row) values[static_cast<size_t>(row - 1)] = StringGrid9->cell(1, row);
    OffscreenChartRenderer renderer;
    writeDynamicModelReport(*path, model.name, model.xpower, model.ypower, model.timeDiscretization,
                            static_cast<double>(model.tau), model.getDiffEx(), numerator, denominator, values,
                            describeChart(*Chart11), renderer, form_.prompter());
}

void DynamicsPage::SpeedButton13Click() {
    TDynamicIdent& engine = form_.analyzer().dynamicIdentification;
    if (!engine.calcModel) return;
    TForm17* dialog = form_.modelNameDialog();
    if (!dialog) return;
    if (const std::optional<std::string> name = dialog->askName(engine.dynamicmodel.name)) {
        engine.dynamicmodel.name = *name;
        form_.project().addDynamicModel(engine.dynamicmodel, true);
    }
}

// ---- delay field and formula picture ----

void DynamicsPage::Edit19Exit() { zeroWhenEmpty(*Edit19); }

void DynamicsPage::Image4MouseEnter() {
    if (!Form21->isVisible()) Timer2->start();
}

void DynamicsPage::Image4MouseLeave() {
    Timer2->stop();
    Form21->close();
}

void DynamicsPage::Timer2Timer() {
    const QPoint at = QCursor::pos();
    Form21->move(at.x() + 5, at.y() + 5);
    Form21->show();
    Timer2->stop();
}

bool DynamicsPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Image4) {
        if (event->type() == QEvent::Enter) Image4MouseEnter();
        else if (event->type() == QEvent::Leave) Image4MouseLeave();
    }
    return MainPage::eventFilter(watched, event);
}
