#include "ui/pages/data/DataPage.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QEventLoop>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>
#include <exception>

#include "core/PrepareSeries.h"
#include "exchange/WorkbookReader.h"
#include "numerics/FormatSettings.h"
#include "numerics/Reporter.h"
#include "ui/widgets/EditingStringGrid.h"
#include "ui/mainwindow/MessageBoxReporter.h"
#include "ui/mainwindow/Prompter.h"
#include "ui/pages/data/TForm10.h"
#include "ui/pages/data/TForm22.h"
#include "ui/pages/data/TForm9.h"
#include "ui/widgets/TLoadData.h"
#include "ui/pages/data/TimeAxisBox.h"

namespace {

const char* const kCaptions[8] = {"Имя файла",          "Столбец времени",     "Строка имени трендов",
                                  "Первая строка данных", "Количество столбцов", "Количество строк",
                                  "Формат даты",         "Формат времени"};

int toInteger(const std::string& value) {
    // A number too long for an integer reads as the largest one, which lies outside the
    // grid like any other number there: refused without calling it "not a whole number".
    const IntText read = strToInt(value);
    if (read.status == IntText::NotInteger) throw std::invalid_argument(notIntegerMessage(value));
    return read.value;
}

// Keeps the main window disabled, and refusing to close, for as long as it lives: the
// quick load repaints its progress from inside, and a close then would pull the page away.
class DisabledWindow : public QObject {
public:
    explicit DisabledWindow(QWidget* w) : w_(w) {
        if (!w_) return;
        w_->setEnabled(false);
        w_->installEventFilter(this);
    }
    ~DisabledWindow() override {
        if (!w_) return;
        w_->removeEventFilter(this);
        w_->setEnabled(true);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::Close) return false;
        event->ignore();
        return true;
    }

private:
    QWidget* w_;
};

// Runs a command of a control; an error that escapes it is told instead of ending the program.
void guarded(Reporter& reporter, const std::function<void()>& command) {
    try {
        command();
    } catch (const std::exception& e) {
        reporter.message(std::string("Ошибка! ") + e.what());
    } catch (...) {
        reporter.message("Ошибка!");
    }
}

// Stand-in for the main window's worker: runs the work on a pool thread while a local event
// loop keeps the window painting.
bool runOnPool(QWidget* window, const std::function<void()>& work) {
    DisabledWindow disabled(window);
    std::exception_ptr failure;
    QFutureWatcher<void> watcher;
    QEventLoop loop;
    QObject::connect(&watcher, &QFutureWatcher<void>::finished, &loop, &QEventLoop::quit);
    watcher.setFuture(QtConcurrent::run([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
    }));
    if (!watcher.isFinished()) loop.exec(QEventLoop::ExcludeUserInputEvents);
    watcher.waitForFinished();
    return !failure;
}

}  // namespace

std::string notIntegerMessage(const std::string& value) { return "\"" + value + "\" не является целым числом!"; }

DataPage::DataPage(DataPageServices services, QWidget* parent)
    : MainPage("TabSheet1", "Общая", parent), services_(std::move(services)), rng_(std::random_device{}()) {

    if (!services_.filtering) ownFiltering_ = std::make_unique<TPrepareSeries>(services_.reporter);
    if (!services_.form9) ownForm9_ = std::make_unique<TForm9>();
    if (!services_.form10) ownForm10_ = std::make_unique<TForm10>();
    if (!services_.form22) ownForm22_ = std::make_unique<TForm22>();
    form9_ = services_.form9 ? services_.form9 : ownForm9_.get();
    form10_ = services_.form10 ? services_.form10 : ownForm10_.get();
    form22_ = services_.form22 ? services_.form22 : ownForm22_.get();
    form9_->setReporter(services_.reporter);

    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    Button1 = new QPushButton("Обзор...", this);
    Button1->setObjectName("Button1");
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName("Edit1");
    Edit1->setReadOnly(true);
    Button4 = new QPushButton("Загрузка", this);
    Button4->setObjectName("Button4");
    Button4->setToolTip("Быстрая загрузка параметров");
    top->addWidget(Button1);
    top->addWidget(Edit1, 1);
    top->addWidget(Button4);
    layout->addLayout(top);

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    auto* left = new QWidget(splitter);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    auto* infoGroup = new QGroupBox("Общая информация", left);
    infoGroup->setObjectName("GroupBox9");
    auto* infoLayout = new QVBoxLayout(infoGroup);
    stringgridFileInfo = new editingStringGrid(infoGroup);
    stringgridFileInfo->setObjectName("stringgridFileInfo");
    stringgridFileInfo->setColCount(2);
    stringgridFileInfo->setRowCount(8);
    stringgridFileInfo->setFixedRows(0);
    stringgridFileInfo->setFixedCols(1);
    stringgridFileInfo->setDefaultColWidth(150);
    for (int r = 0; r < 8; ++r) stringgridFileInfo->setCell(0, r, kCaptions[r]);
    for (int r : {1, 2, 3, 6, 7}) stringgridFileInfo->addEditCells(1, r);
    stringgridFileInfo->setSmartEditOn(false);
    stringgridFileInfo->setReporter(services_.reporter);
    stringgridFileInfo->setMouseTracking(true);
    stringgridFileInfo->viewport()->setMouseTracking(true);
    stringgridFileInfo->viewport()->installEventFilter(this);
    stringgridFileInfo->setOnWriteValue(
        [this](QObject* sender, int acol, int arow, const std::string& value, bool& canWrite) {
            fileInfoWriteValue(sender, acol, arow, value, canWrite);
        });
    infoLayout->addWidget(stringgridFileInfo);
    // The captions readable in full; the grid as tall as its eight rows.
    const int captionWidth = stringgridFileInfo->fontMetrics().horizontalAdvance("Строка имени трендов") + 16;
    stringgridFileInfo->setColWidth(0, std::max(150, captionWidth));
    stringgridFileInfo->setColWidth(1, 150);
    stringgridFileInfo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    stringgridFileInfo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    stringgridFileInfo->setFixedHeight(8 * stringgridFileInfo->verticalHeader()->defaultSectionSize() +
                                       2 * stringgridFileInfo->frameWidth() + 2);
    leftLayout->addWidget(infoGroup);
    timeAxis = new TimeAxisBox(left);
    leftLayout->addWidget(timeAxis);
    leftLayout->addStretch(1);
    left->setMinimumWidth(std::max(150, captionWidth) + 150 + 30);

    auto* dataGroup = new QGroupBox("Загруженные данные", splitter);
    dataGroup->setObjectName("GroupBox10");
    auto* dataLayout = new QVBoxLayout(dataGroup);
    dataGrid = new TLoadData(dataGroup);
    dataGrid->setObjectName("dataGrid");
    dataGrid->setReporter(services_.reporter);
    dataGrid->setContextMenuPolicy(Qt::CustomContextMenu);
    dataLayout->addWidget(dataGrid);
    splitter->addWidget(left);
    splitter->addWidget(dataGroup);
    splitter->setStretchFactor(1, 1);
    layout->addWidget(splitter, 1);

    PopupMenuDataTable = new QMenu(this);
    PopupMenuDataTable->setObjectName("PopupMenuDataTable");
    N8 = PopupMenuDataTable->addAction("Выбрать столбец времени ");
    N8->setObjectName("N8");
    N9 = PopupMenuDataTable->addAction("Выбрать строку имени трендов");
    N9->setObjectName("N9");
    N10 = PopupMenuDataTable->addAction("Выбрать первую строку данных");
    N10->setObjectName("N10");
    connect(N8, &QAction::triggered, this, &DataPage::N8Click);
    connect(N9, &QAction::triggered, this, &DataPage::N9Click);
    connect(N10, &QAction::triggered, this, &DataPage::N10Click);
    connect(dataGrid, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        PopupMenuDataTable->popup(dataGrid->viewport()->mapToGlobal(pos));
    });

    connect(Button1, &QPushButton::clicked, this, [this] { guarded(reporter(), [this] { Button1Click(); }); });
    connect(Button4, &QPushButton::clicked, this, [this] { guarded(reporter(), [this] { Button4Click(); }); });
    connect(dataGrid, &TLoadData::OnChangeSome, this, [this] { refreshFileInfo(); });

    runForm9 = [](TForm9& form) { return form.exec() == QDialog::Accepted; };
}

DataPage::~DataPage() = default;

TPrepareSeries& DataPage::filtering() const { return services_.filtering ? *services_.filtering : *ownFiltering_; }

std::unique_ptr<CellSource> DataPage::sheetCells() const {
    return std::make_unique<CellTableSource>(dataGrid->dataModel()->settledTable());
}

Reporter& DataPage::reporter() const {
    return services_.reporter ? *services_.reporter : MessageBoxReporter::instance();
}

void DataPage::Button1Click() { openExcelFile(); }

void DataPage::openExcelFile() {
    std::optional<std::string> chosen;
    if (services_.chooseWorkbook) {
        chosen = services_.chooseWorkbook();
    } else {
        chosen = chooseFile(this, FileKind::Workbook, "", false);
    }
    if (!chosen) return;
    openExcelFile(*chosen);
}

void DataPage::openExcelFile(const std::string& fileName) {
    stringgridFileInfo->setSmartEditOn(true);
    const QString name = QFile::decodeName(QByteArray::fromStdString(fileName));
    Edit1->setText(name);
    auto result = std::make_shared<WorkbookReadResult>();
    const FormatSettings fs = dataGrid->formatSettings();
    auto work = [result, fs](const std::string& file) { *result = readWorkbook(file, fs); };
    bool loaded = false;
    if (services_.runWorker) {
        if (services_.runWorker(fileName, work)) loaded = dataGrid->applyWorkbook(name, std::move(*result));
    } else if (runOnPool(window(), [&] { work(fileName); })) {
        loaded = dataGrid->applyWorkbook(name, std::move(*result));
    } else {
        reporter().message("Ошибка открытия файла!");
    }
    if (services_.showPage) services_.showPage();
    emit workbookOpened(loaded);
}

void DataPage::refreshFileInfo() {
    editingStringGrid& g = *stringgridFileInfo;
    g.setCell(1, 0, dataGrid->fileName().toStdString());
    g.setCell(1, 1, std::to_string(dataGrid->timeCol()));
    g.setCell(1, 2, std::to_string(dataGrid->nameRow()));
    g.setCell(1, 3, std::to_string(dataGrid->dataRow()));
    g.setCell(1, 4, std::to_string(dataGrid->colCount() - 1));
    g.setCell(1, 5, std::to_string(dataGrid->rowCount() - 1));
    g.setCell(1, 6, formatToDisplay(loadDateFormat.ShortDateFormat, true));
    g.setCell(1, 7, formatToDisplay(loadDateFormat.LongTimeFormat, false));
    emit fileInfoRefreshed();
}

void DataPage::fileInfoWriteValue(QObject*, int, int arow, const std::string& value, bool& canWrite) {
    switch (arow) {
        case 1: dataGrid->setTimeCol(toInteger(value)); break;
        case 2: dataGrid->setNameRow(toInteger(value)); break;
        case 3: dataGrid->setDataRow(toInteger(value)); break;
        case 6: setDateFormatFromText(value, canWrite, loadDateFormat, reporter()); break;
        case 7: setTimeFormatFromText(value, canWrite, loadDateFormat, reporter()); break;
        default: break;
    }
    refreshFileInfo();
    // The cell shows what was taken, not what was typed.
    canWrite = false;
}

void DataPage::StringGridFileInfoMouseMOve(const QPoint& pos) {
    const QModelIndex i = stringgridFileInfo->indexAt(pos);
    const int col = i.isValid() ? i.column() : -1;
    const int row = i.isValid() ? i.row() : -1;
    TForm22::Help wanted = TForm22::Help::None;
    if (col == 0 && row == 6) wanted = TForm22::Help::Date;
    if (col == 0 && row == 7) wanted = TForm22::Help::Time;
    if (wanted == TForm22::Help::None) {
        form22_->hide();
        return;
    }
    if (form22_->shown() == wanted) return;  // it does not follow the pointer
    form22_->move(stringgridFileInfo->viewport()->mapToGlobal(pos));
    if (wanted == TForm22::Help::Date)
        form22_->showDate();
    else
        form22_->showTime();
}

bool DataPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == stringgridFileInfo->viewport()) {
        if (event->type() == QEvent::MouseMove)
            StringGridFileInfoMouseMOve(static_cast<QMouseEvent*>(event)->position().toPoint());
        else if (event->type() == QEvent::Leave) {
            // The help opening under the pointer may count as leaving; only a pointer that
            // is really outside the grid hides it.
            QWidget* vp = stringgridFileInfo->viewport();
            if (!vp->rect().contains(vp->mapFromGlobal(QCursor::pos()))) form22_->hide();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void DataPage::CheckBox2Click() { timeAxis->CheckBox2Click(); }

void DataPage::N8Click() { dataGrid->setTimeCol(dataGrid->currentCol()); }
void DataPage::N9Click() { dataGrid->setNameRow(dataGrid->currentRow()); }
void DataPage::N10Click() { dataGrid->setDataRow(dataGrid->currentRow()); }

void DataPage::Button4Click() {
    // A choice typed into the file information without Enter is taken first, as Enter would.
    if (!stringgridFileInfo->commitEdit(Button4)) return;
    checkTimeColumn();  // its warnings stop nothing
    quickLoadSeries();
}

bool DataPage::checkTimeColumn() {
    if (!dataGrid->loadFileCheck()) return false;
    const CellTableSource cells(dataGrid->dataModel()->settledTable());
    return ::checkTimeColumn(cells, dataGrid->timeCol(), dataGrid->dataRow(), loadDateFormat, reporter());
}

void DataPage::quickLoadSeries() {
    if (!dataGrid->loadFileCheck()) return;
    const std::vector<std::string> names = dataGrid->seriesNames();
    const std::vector<int> columnsOfNames = dataGrid->seriesColumns();
    form9_->prepare(dataGrid->rowCount() - dataGrid->dataRow(), names, timeAxis->state());
    if (!runForm9 || !runForm9(*form9_)) return;

    std::vector<QuickLoadColumn> columns;
    for (int item : form9_->checkedItems()) {
        const auto i = static_cast<size_t>(item - 1);
        if (i < names.size() && i < columnsOfNames.size()) columns.push_back({columnsOfNames[i], names[i]});
    }
    QuickLoadOptions options;
    options.timeCol = dataGrid->timeCol();
    options.dataRow = dataGrid->dataRow();
    options.dateFormat = loadDateFormat;
    options.manualAxis = form9_->manualAxis();
    options.fill = form9_->fillIndex() == 0 ? GapFill::Mean : GapFill::Median;
    options.window = form9_->window();

    const int n = static_cast<int>(columns.size());
    form10_->setRange(1, n + 1);
    form10_->setProgress(0);
    form10_->showCentered();
    QuickLoadResult result;
    {
        DisabledWindow disabled(services_.mainWindow);
        TPrepareSeries& prep = filtering();
        // The parse threads read the plain table with the user's edits, not the grid's model.
        const CellTableSource cells(dataGrid->dataModel()->settledTable());
        auto sink = [this](const TStatisticSeries& s, bool notify) {
            if (services_.addSeries) services_.addSeries(s, notify);
        };
        try {
            result = quickLoad(cells, columns, options, prep, sink, reporter(),
                               [this](int handled) { form10_->setProgress(handled); }, rng_);
        } catch (const std::exception&) {
            reporter().message("Ошибка загрузки рядов!");
        }
        form10_->close();
    }
    if (services_.loadSeries) services_.loadSeries();
    timeAxis->setState(form9_->axisState());
    CheckBox2Click();
    reportQuickLoadEnd(result, reporter());
    emit quickLoadFinished(result.loaded);
}

void DataPage::clearPage() {
    dataGrid->clear();
    Edit1->clear();
    for (int r = 0; r < stringgridFileInfo->rowCount(); ++r) stringgridFileInfo->setCell(1, r, "");
}

namespace {

class NoTypingFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        // Printable keys would search the list; they are dropped. Arrows and the like stay.
        return !static_cast<QKeyEvent*>(event)->text().isEmpty() &&
               static_cast<QKeyEvent*>(event)->text().at(0).isPrint();
    }
};

}  // namespace

void dropTypedKeys(QComboBox* comboBox) { comboBox->installEventFilter(new NoTypingFilter(comboBox)); }
