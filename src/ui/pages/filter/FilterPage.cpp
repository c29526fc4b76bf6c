#include "ui/pages/filter/FilterPage.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <cmath>

#include "core/PrepareSeries.h"
#include "numerics/FormatSettings.h"
#include "numerics/Reporter.h"
#include "numerics/TextCodec.h"
#include "ui/mainwindow/Prompter.h"
#include "ui/mainwindow/TForm1.h"
#include "ui/pages/data/DataPage.h"
#include "ui/pages/data/TimeAxisBox.h"
#include "ui/pages/filter/ColumnLoad.h"
#include "ui/pages/filter/FilterChart.h"
#include "ui/pages/filter/TForm4.h"
#include "ui/widgets/KeyFilters.h"
#include "ui/widgets/TLoadData.h"

namespace {

const char* const kNotAllValuesLoaded = "Внимание! Загружены не все значения. Ошибка чтения времени.";
const char* const kHighField = "Максимальное значение";
const char* const kLowField = "Минимальное значение";
const char* const kGapField = "Пользовательское значение";
const char* const kWindowField = "Количество наблюдений для сглаживания";
const char* const kBandChanged =
    "Границы фильтрации изменены. Нажмите \"Показать ряд\", чтобы построить ряд с новыми границами.";

std::string notNumberMessage(const char* field, const std::string& text, const char* what) {
    return "Значение \"" + text + "\" в поле \"" + field + "\" не является " + what + "!";
}

bool isEnter(const QKeyEvent& key) { return key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter; }

QLabel* label(const char* name, const char* text, QWidget* parent) {
    auto* l = new QLabel(QString::fromUtf8(text), parent);
    l->setObjectName(QLatin1String(name));
    return l;
}

QLineEdit* edit(const char* name, const char* text, QWidget* parent) {
    auto* e = new QLineEdit(QString::fromUtf8(text), parent);
    e->setObjectName(QLatin1String(name));
    return e;
}

QPushButton* button(const char* name, const char* text, QWidget* parent) {
    auto* b = new QPushButton(QString::fromUtf8(text), parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

QGroupBox* group(const char* name, const char* text, QWidget* parent) {
    auto* g = new QGroupBox(QString::fromUtf8(text), parent);
    g->setObjectName(QLatin1String(name));
    return g;
}

}  // namespace

FilterPage::FilterPage(TForm1& form, QWidget* parent)
    : MainPage(QStringLiteral("TabSheet7"), QStringLiteral("Фильтрация"), parent),
      form_(form),
      form4_(std::make_unique<TForm4>(&form.prompter())) {
    auto* row = new QHBoxLayout(this);
    auto* side = new QWidget(this);
    side->setFixedWidth(300);
    auto* column = new QVBoxLayout(side);
    column->setContentsMargins(0, 0, 0, 0);

    GroupBox25 = group("GroupBox25", "Выбор параметра", side);
    auto* choice = new QGridLayout(GroupBox25);
    Label10 = label("Label10", "Параметр", GroupBox25);
    ComboBox5 = new QComboBox(GroupBox25);
    ComboBox5->setObjectName(QStringLiteral("ComboBox5"));
    ComboBox5->setEditable(false);
    dropTypedKeys(ComboBox5);
    Button8 = button("Button8", "Загрузить", GroupBox25);
    CheckBox6 = new QCheckBox(QStringLiteral("Преобразовать ряд"), GroupBox25);
    CheckBox6->setObjectName(QStringLiteral("CheckBox6"));
    CheckBox6->setToolTip(QStringLiteral("Преобразовать каждую точку в соответствии с заданной функцией"));
    Panel15 = new QWidget(GroupBox25);
    Panel15->setObjectName(QStringLiteral("Panel15"));
    auto* panel = new QVBoxLayout(Panel15);
    panel->setContentsMargins(0, 0, 0, 0);
    GroupBox31 = group("GroupBox31", "Функция преобразования", Panel15);
    auto* formula = new QHBoxLayout(GroupBox31);
    Label30 = label("Label30", "f(y) =", GroupBox31);
    Edit17 = edit("Edit17", "y", GroupBox31);
    formula->addWidget(Label30);
    formula->addWidget(Edit17, 1);
    panel->addWidget(GroupBox31);
    Panel15->setVisible(false);
    choice->addWidget(Label10, 0, 0);
    choice->addWidget(ComboBox5, 1, 0, 1, 2);
    choice->addWidget(Button8, 2, 1);
    choice->addWidget(CheckBox6, 2, 0);
    choice->addWidget(Panel15, 3, 0, 1, 2);
    column->addWidget(GroupBox25);

    GroupBox28 = group("GroupBox28", "Фильтрация", side);
    GroupBox28->setToolTip(QStringLiteral("Фильтрация выбросов"));
    auto* band = new QGridLayout(GroupBox28);
    Label11 = label("Label11", "Максимальное значение:", GroupBox28);
    Edit7 = edit("Edit7", "", GroupBox28);
    Label12 = label("Label12", "Минимальное значение:", GroupBox28);
    Edit8 = edit("Edit8", "", GroupBox28);
    Button9 = button("Button9", "Отфильтровать", GroupBox28);
    band->addWidget(Label11, 0, 0);
    band->addWidget(Edit7, 0, 1);
    band->addWidget(Label12, 1, 0);
    band->addWidget(Edit8, 1, 1);
    band->addWidget(Button9, 2, 1);
    band->setColumnStretch(0, 1);
    Edit7->setFixedWidth(90);
    Edit8->setFixedWidth(90);
    column->addWidget(GroupBox28);

    RadioGroup1 = group("RadioGroup1", " Заполнять пропуски", side);
    RadioGroup1->setToolTip(QStringLiteral("Заполнение пропусков значением"));
    auto* gaps = new QVBoxLayout(RadioGroup1);
    gapItems = new QButtonGroup(RadioGroup1);
    const char* const items[3] = {"Средним значением", "Медианным значением", "Пользовательским значением"};
    for (int i = 0; i < 3; ++i) {
        auto* r = new QRadioButton(QString::fromUtf8(items[i]), RadioGroup1);
        gapItems->addButton(r, i);
        gaps->addWidget(r);
    }
    Edit6 = edit("Edit6", "", RadioGroup1);
    gaps->addWidget(Edit6);
    column->addWidget(RadioGroup1);

    GroupBox29 = group("GroupBox29", "Сглаживание скользящим средним", side);
    auto* smoothing = new QVBoxLayout(GroupBox29);
    CheckBox5 = new QCheckBox(QStringLiteral("Сгладить ряд"), GroupBox29);
    CheckBox5->setObjectName(QStringLiteral("CheckBox5"));
    CheckBox5->setToolTip(QStringLiteral("Сглаживание скользящим средним"));
    Label13 = label("Label13", "Количество наблюдений для сглаживания", GroupBox29);
    Label13->setWordWrap(true);
    Edit9 = edit("Edit9", "0", GroupBox29);
    smoothing->addWidget(CheckBox5);
    smoothing->addWidget(Label13);
    smoothing->addWidget(Edit9);
    column->addWidget(GroupBox29);

    Button11 = button("Button11", "Показать ряд", side);
    Button10 = button("Button10", "Сохранить", side);
    column->addWidget(Button11);
    column->addWidget(Button10);
    column->addStretch(1);

    Chart1 = new FilterChart(this);
    Chart1->setObjectName(QStringLiteral("Chart1"));
    // Two titles a row: the stage titles are long.
    Chart1->setLegendPlace(SeriesChart::LegendPlace::Bottom);
    Chart1->legend->setWrap(2);
    // Rows a little taller than the text, so that the "_" of the titles is not cut off.
    Chart1->legend->setIconSize(QSize(24, QFontMetrics(Chart1->legend->font()).height() + 4));
    Chart1->setLegendCheckBoxes(true);
    Chart1->setMiddleButtonScroll(true);
    Chart1->setZoomEnabled(true);
    Chart1->setBottomDateTime("dd.mm.yy hh:mm");
    Chart1->limits = [this]() -> std::optional<FilterChart::Limits> {
        const TPrepareSeries& f = filtering();
        if (!columnLoaded_ || !f.load) return std::nullopt;
        return FilterChart::Limits{static_cast<double>(f.highFilterValue), static_cast<double>(f.lowFilterValue)};
    };
    Chart1->installEventFilter(this);
    row->addWidget(side);
    row->addWidget(Chart1, 1);

    // A click on a command leaves the focus where it was: a limit field keeps its typed text
    // for the command to take (leaving the field otherwise shows the stored limit again).
    for (QPushButton* b : {Button8, Button9, Button11, Button10}) b->setFocusPolicy(Qt::TabFocus);

    // Initial state: no parameter chosen, the mean as gap value, smoothing off, nothing to show.
    ComboBox5->setCurrentIndex(-1);
    setGapItem(0);
    Edit6->setEnabled(false);
    Label13->setEnabled(false);
    Edit9->setEnabled(false);
    updateCommands();

    installRealNumbersFilter(Edit6, fs_.decimalSeparator);
    installPositiveIntegerFilter(Edit9);
    Edit7->installEventFilter(this);
    Edit8->installEventFilter(this);

    connect(Button8, &QPushButton::clicked, this, [this] { Button8Click(); });
    connect(CheckBox6, &QCheckBox::toggled, this, [this] { CheckBox6Click(); });
    connect(Button9, &QPushButton::clicked, this, [this] { Button9Click(); });
    connect(Button11, &QPushButton::clicked, this, [this] { Button11Click(); });
    connect(Button10, &QPushButton::clicked, this, [this] { Button10Click(); });
    connect(gapItems, &QButtonGroup::idClicked, this, [this] { RadioGroup1Click(); });
    connect(CheckBox5, &QCheckBox::toggled, this, [this] { CheckBox5Click(); });
    connect(ComboBox5, &QComboBox::currentIndexChanged, this, [this] { updateCommands(); });
    // A fill or smoothing setting changed after "Показать ряд": the shown result is not the
    // one these settings give, so it is not saved until it is shown again.
    connect(gapItems, &QButtonGroup::idToggled, this, [this] { updateCommands(); });
    connect(Edit6, &QLineEdit::textChanged, this, [this] { updateCommands(); });
    connect(Edit9, &QLineEdit::textChanged, this, [this] { updateCommands(); });

    if (DataPage* data = form_.dataPage()) {
        // The list follows the grid: a new workbook, a new names row or time column.
        connect(data, &DataPage::fileInfoRefreshed, this, [this] { refillParameters(); });
        connect(data, &DataPage::quickLoadFinished, this, [this] { columnTaken(); });
    }
}

FilterPage::~FilterPage() = default;

TPrepareSeries& FilterPage::filtering() const { return form_.analyzer().filtering; }

Reporter& FilterPage::reporter() const { return form_.prompter(); }

int FilterPage::gapItem() const { return gapItems->checkedId(); }

void FilterPage::setGapItem(int item) {
    if (QAbstractButton* b = gapItems->button(item)) b->setChecked(true);
}

// ---- Handlers ----

void FilterPage::Button8Click() {
    DataPage* data = form_.dataPage();
    if (data && !data->timeAxis->CheckBox2->isChecked()) form_.checkTimeColumn();  // warns only
    loadSeriesFromExcel();
}

void FilterPage::loadSeriesFromExcel() {
    int item = ComboBox5->currentIndex();
    DataPage* data = form_.dataPage();
    if (item < 0 || !data) return;
    std::optional<ManualTimeAxis> manual;
    if (data->timeAxis->CheckBox2->isChecked()) {
        QString error;
        manual = data->timeAxis->axis(&error);
        if (!manual) {
            reporter().message(error.toStdString());
            return;
        }
    }
    const std::vector<std::string> names = data->dataGrid->seriesNames();
    const auto at = static_cast<size_t>(item);
    if (at >= names.size() || names[at] != ComboBox5->itemText(item).toStdString()) {
        // The list no longer matches the grid: refilled, it keeps the chosen name only where
        // the grid still has it.
        refillParameters();
        item = ComboBox5->currentIndex();
        if (item < 0) return;
    }
    const int column = data->dataGrid->seriesColumns()[static_cast<size_t>(item)];

    TPrepareSeries& f = filtering();
    // The stages of an earlier run leave the chart with the pipeline's reset.
    Chart1->clearSeries();
    f.init();
    f.name = utf8Left(ComboBox5->itemText(item).toStdString(), 255);
    const auto cells = data->sheetCells();
    const ColumnLoadResult read = loadColumn(*cells, column, data->dataGrid->timeCol(), data->dataGrid->dataRow(),
                                             data->loadDateFormat, manual, f.dirtSeries);
    f.load = true;
    columnLoaded_ = true;
    filtered_ = false;
    shown_.reset();

    std::string formulaMessage;
    bool formulaRefused = false;
    if (CheckBox6->isChecked()) {
        f.expr.Prepare(Edit17->text().toStdString(), formulaMessage, fs_);
        if (f.expr.ValidationOK) {
            f.transformSeries();
            f.name += "_mod";
        } else {
            formulaRefused = true;
        }
    }

    f.dirtSeries.Title = f.name;
    Chart1->addSeries(f.dirtSeries);
    Chart1->leftAxisState().setAutomatic(true);
    // A time range zoomed into for an earlier column may miss this one entirely.
    Chart1->bottomAxisState().setAutomatic(true);
    // A band one wider than the values on each side keeps every point and gives the mean and
    // median of the column.
    const std::optional<ValueRange> range = valueRange(f.dirtSeries);
    const long double lo = range ? range->lo : 0.0;
    const long double hi = range ? range->hi : 0.0;
    f.filter(lo - 1, hi + 1);

    setGapItem(0);
    RadioGroup1Click();
    updateCommands();
    realoadFilterPage();

    if (read.timeUnreadable) reporter().message(kNotAllValuesLoaded);
    if (formulaRefused) reporter().message(formulaMessage);
}

void FilterPage::CheckBox6Click() { Panel15->setVisible(CheckBox6->isChecked()); }

void FilterPage::Button9Click() {
    if (takeTypedLimits()) loadFiltredSeries();
}

void FilterPage::loadFiltredSeries() {
    TPrepareSeries& f = filtering();
    if (!columnLoaded_ || !f.load || Chart1->seriesCount() == 0) return;
    f.filter();
    showStage(1, f.filtredSeries, Chart1->series(0).Title + " фильтр.");
    realoadFilterPage();
    filtered_ = true;
    // The filled and smoothed stages on the chart are those of the old band until they are
    // shown again; they are not saved in the meantime.
    shown_.reset();
    updateCommands();
}

void FilterPage::Button11Click() {
    if (takeTypedLimits()) loadClearSeries();
}

void FilterPage::loadClearSeries() {
    TPrepareSeries& f = filtering();
    if (!columnLoaded_ || !f.load || Chart1->seriesCount() == 0) return;
    // Whatever is refused below, the result shown before is not the one asked for now.
    const ResultSettings settings = currentSettings();
    shown_.reset();
    updateCommands();
    // The typed fields are read first: a refused one changes nothing.
    std::optional<long double> typed;
    if (gapItem() == 2) {
        typed = readNumber(Edit6, kGapField);
        if (!typed) return;
    }
    int window = 0;
    if (CheckBox5->isChecked()) {
        const auto n = readInteger(Edit9, kWindowField);
        if (!n) return;
        window = *n;
    }

    f.filter();
    showStage(1, f.filtredSeries, f.name + "_фильтрованное");
    const long double gap = typed ? *typed : (gapItem() == 1 ? f.medianValue : f.meanValue);
    if (!f.pullNull(gap)) {
        // No value left to fill with (the pipeline says so): its filled and smoothed stages
        // are gone, and so are they from the chart.
        f.averaged = false;
        f.cleanSeries.Clear();
        dropStagesFrom(2);
        return;
    }
    showStage(2, f.pullSeries, f.name + " без сглаживания");
    bool smoothingRefused = false;
    if (CheckBox5->isChecked()) {
        // A window longer than the series is refused with the pipeline's message.
        smoothingRefused = window > f.pullSeries.Count();
        f.average(window);
    } else {
        f.averaged = false;
    }
    dropStagesFrom(3);
    if (f.averaged) showStage(3, f.cleanSeries, f.name + " с сглаживанием");
    if (smoothingRefused) return;
    shown_ = settings;
    updateCommands();
}

void FilterPage::Button10Click() {
    const bool couldSave = Button10->isEnabled();
    if (!takeTypedLimits()) return;
    if (couldSave && !Button10->isEnabled()) {
        // The typed limit changed the band: the shown series was built on the old one.
        reporter().message(kBandChanged);
        return;
    }
    saveSeriesToProject();
}

void FilterPage::saveSeriesToProject() {
    if (Chart1->seriesCount() == 0) return;
    std::string proposed = Chart1->series(0).Title;
    if (filtering().averaged) proposed += "_av";
    form4_->Edit1->setText(QString::fromStdString(proposed));
    if (!form4_->ask(window())) return;
    const int last = Chart1->seriesCount() - 1;
    Chart1->setSeriesTitle(last, form4_->Edit1->text().toStdString());
    Chart1->setSeriesColor(last, form4_->colour());
    form_.project().addSeries(Chart1->series(last), form4_->CheckBox1->isChecked(), true);
    form_.expandWorkspace();
}

void FilterPage::RadioGroup1Click() {
    const int item = gapItem();
    Edit6->setEnabled(item == 2);
    const TPrepareSeries& f = filtering();
    if (item == 0) showNumber(Edit6, f.meanValue);
    if (item == 1) showNumber(Edit6, f.medianValue);
}

void FilterPage::CheckBox5Click() {
    const bool on = CheckBox5->isChecked();
    Label13->setEnabled(on);
    Edit9->setEnabled(on);
    updateCommands();
}

bool FilterPage::Edit7KeyPress(const QKeyEvent& key) {
    if (!getRealNumbers(key, fs_.decimalSeparator)) return true;
    if (!isEnter(key)) return false;
    limitEntered(Edit7, kHighField, filtering().highFilterValue);
    return true;
}

bool FilterPage::Edit8KeyPress(const QKeyEvent& key) {
    if (!getRealNumbers(key, fs_.decimalSeparator)) return true;
    if (!isEnter(key)) return false;
    limitEntered(Edit8, kLowField, filtering().lowFilterValue);
    return true;
}

bool FilterPage::limitEntered(QLineEdit* edit, const char* field, long double& limit) {
    const auto value = readNumber(edit, field);
    if (!value) {
        showNumber(edit, limit);
        return false;
    }
    limit = *value;
    edit->setModified(false);
    Chart1->requestReplot();
    updateCommands();
    return true;
}

bool FilterPage::takeTypedLimits() {
    if (!columnLoaded_) return true;
    TPrepareSeries& f = filtering();
    if (Edit7->isModified() && !limitEntered(Edit7, kHighField, f.highFilterValue)) return false;
    if (Edit8->isModified() && !limitEntered(Edit8, kLowField, f.lowFilterValue)) return false;
    return true;
}

// The fields hold the limits of this page's column only; after a quick load the pipeline's
// limits are those of another column.
void FilterPage::Edit7Exit() {
    if (columnLoaded_) showNumber(Edit7, filtering().highFilterValue);
}

void FilterPage::Edit8Exit() {
    if (columnLoaded_) showNumber(Edit8, filtering().lowFilterValue);
}

void FilterPage::Chart1Resize() {
    const int offset = static_cast<int>(Chart1->height() * 0.2);
    Chart1->leftAxisState().minimumOffset = offset;
    Chart1->leftAxisState().maximumOffset = offset;
}

void FilterPage::realoadFilterPage() {
    const TPrepareSeries& f = filtering();
    if (!f.load) return;
    Chart1->requestReplot();
    if (gapItem() == 0) showNumber(Edit6, f.meanValue);
    if (gapItem() == 1) showNumber(Edit6, f.medianValue);
    showNumber(Edit7, f.highFilterValue);
    showNumber(Edit8, f.lowFilterValue);
}

void FilterPage::refillParameters() {
    // The choice follows the column's name, not its place in the list: another workbook or
    // time column can put a different column at the same place. With repeated names, the
    // same occurrence of the name is kept.
    const int index = ComboBox5->currentIndex();
    const QString chosen = index >= 0 ? ComboBox5->itemText(index) : QString();
    int occurrence = 0;
    for (int i = 0; i < index; ++i)
        if (ComboBox5->itemText(i) == chosen) ++occurrence;
    {
        const QSignalBlocker block(ComboBox5);
        ComboBox5->clear();
        if (DataPage* data = form_.dataPage())
            for (const std::string& name : data->dataGrid->seriesNames())
                ComboBox5->addItem(QString::fromStdString(name));
        int found = -1;
        for (int i = 0; index >= 0 && i < ComboBox5->count() && found < 0; ++i)
            if (ComboBox5->itemText(i) == chosen && occurrence-- == 0) found = i;
        ComboBox5->setCurrentIndex(found);
    }
    updateCommands();
}

void FilterPage::clearPage() {
    columnLoaded_ = false;
    filtered_ = false;
    shown_.reset();
    Chart1->clearSeries();
    Edit7->clear();
    Edit8->clear();
    Edit9->clear();
    ComboBox5->clear();
    updateCommands();
}

void FilterPage::columnTaken() {
    if (!columnLoaded_) return;
    columnLoaded_ = false;
    filtered_ = false;
    shown_.reset();
    updateCommands();
    Chart1->requestReplot();
}

FilterPage::ResultSettings FilterPage::currentSettings() const {
    const TPrepareSeries& f = filtering();
    ResultSettings s;
    s.low = f.lowFilterValue;
    s.high = f.highFilterValue;
    s.gapItem = gapItem();
    if (s.gapItem == 2) s.gapText = Edit6->text();
    s.smooth = CheckBox5->isChecked();
    if (s.smooth) s.window = Edit9->text();
    return s;
}

void FilterPage::updateCommands() {
    Button8->setEnabled(ComboBox5->currentIndex() >= 0);
    Button9->setEnabled(columnLoaded_);
    Edit7->setEnabled(columnLoaded_);
    Edit8->setEnabled(columnLoaded_);
    Button11->setEnabled(columnLoaded_ && filtered_);
    Button10->setEnabled(columnLoaded_ && shown_ && *shown_ == currentSettings());
}

// ---- Helpers ----

std::optional<long double> FilterPage::readNumber(QLineEdit* edit, const char* field) {
    const std::string text = edit->text().toStdString();
    const auto value = strToFloat(text);
    if (!value || !std::isfinite(*value)) {
        reporter().message(notNumberMessage(field, text, "числом"));
        return std::nullopt;
    }
    return value;
}

std::optional<int> FilterPage::readInteger(QLineEdit* edit, const char* field) {
    // A number too long for an integer reads as the largest one: the smoothing then says
    // that the window is longer than the series, rather than that it is no whole number.
    const IntText read = strToInt(edit->text().toStdString());
    if (read.status == IntText::NotInteger) {
        reporter().message(notNumberMessage(field, edit->text().toStdString(), "целым числом"));
        return std::nullopt;
    }
    return read.value;
}

void FilterPage::showNumber(QLineEdit* edit, long double value) {
    edit->setText(QString::fromStdString(floatToStr(value, fs_)));
    // A long number shows its start, not its tail.
    edit->setCursorPosition(0);
}

void FilterPage::dropStagesFrom(int index) {
    while (Chart1->seriesCount() > index) Chart1->removeSeries(Chart1->seriesCount() - 1);
}

void FilterPage::showStage(int index, const TStatisticSeries& stage, const std::string& title) {
    if (index < Chart1->seriesCount())
        Chart1->setSeries(index, stage);
    else
        index = Chart1->addSeries(stage);
    Chart1->setSeriesTitle(index, title);
}

bool FilterPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Edit7 || watched == Edit8) {
        if (event->type() == QEvent::KeyPress) {
            const auto& key = *static_cast<QKeyEvent*>(event);
            return watched == Edit7 ? Edit7KeyPress(key) : Edit8KeyPress(key);
        }
        if (event->type() == QEvent::FocusOut) {
            // A pop-up menu or another window taking the focus does not leave the field.
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
                if (watched == Edit7)
                    Edit7Exit();
                else
                    Edit8Exit();
            }
        }
    } else if (watched == Chart1 && event->type() == QEvent::Resize) {
        Chart1Resize();
    }
    return MainPage::eventFilter(watched, event);
}
