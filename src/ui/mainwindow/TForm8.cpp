#include "ui/mainwindow/TForm8.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "ui/mainwindow/Prompter.h"
#include "ui/mainwindow/TForm1.h"
#include "ui/mainwindow/Workers.h"

namespace {

constexpr int kIdRole = Qt::UserRole;

// An arrow picture: one or two triangles pointing right or left.
QIcon arrowIcon(bool right, bool twice) {
    QPixmap pm(22, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1F, 0x5F, 0xA8));
    const int count = twice ? 2 : 1;
    const int first = twice ? 3 : 7;
    for (int i = 0; i < count; ++i) {
        const int x = first + i * 8;
        QPolygon tri;
        if (right) tri << QPoint(x, 2) << QPoint(x + 8, 8) << QPoint(x, 14);
        else tri << QPoint(x + 8, 2) << QPoint(x, 8) << QPoint(x + 8, 14);
        p.drawPolygon(tri);
    }
    return QIcon(pm);
}

QToolButton* arrowButton(QWidget* parent, const char* name, bool right, bool twice) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setIcon(arrowIcon(right, twice));
    b->setIconSize(QSize(22, 16));
    b->setFixedSize(34, 26);
    return b;
}

// Moves the items (in list order) to the end of another list, with their ids.
void moveItems(QListWidget* from, QListWidget* to, bool selectedOnly) {
    for (int i = 0; i < from->count();) {
        QListWidgetItem* item = from->item(i);
        if (selectedOnly && !item->isSelected()) {
            ++i;
            continue;
        }
        to->addItem(from->takeItem(i));
        to->item(to->count() - 1)->setSelected(false);
    }
}

void moveCurrent(QListWidget* from, QListWidget* to) {
    const int row = from->currentRow();
    if (row < 0) return;
    to->addItem(from->takeItem(row));
    to->item(to->count() - 1)->setSelected(false);
}

}  // namespace

std::string withCsvExtension(const std::string& fileName) { return withExtension(fileName, ".csv", true); }

TForm8::TForm8(TForm1& form, QWidget* parent) : QDialog(parent), form_(form) {
    setObjectName(QStringLiteral("Form8"));
    setWindowTitle(QStringLiteral("Сохранение рядов"));
    setWindowFlags(Qt::Dialog | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint | Qt::WindowTitleHint);
    setAttribute(Qt::WA_QuitOnClose, false);

    auto* grid = new QGridLayout(this);
    auto* Label1 = new QLabel(QStringLiteral("Ряды"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    auto* Label2 = new QLabel(QStringLiteral("Ряды для сохранения"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox2 = new QListWidget(this);
    ListBox2->setObjectName(QStringLiteral("ListBox2"));
    for (QListWidget* list : {ListBox1, ListBox2}) {
        list->setSelectionMode(QAbstractItemView::ExtendedSelection);
        list->setMinimumSize(200, 260);
    }
    BitBtn4 = arrowButton(this, "BitBtn4", true, true);
    BitBtn1 = arrowButton(this, "BitBtn1", true, false);
    BitBtn2 = arrowButton(this, "BitBtn2", false, false);
    BitBtn3 = arrowButton(this, "BitBtn3", false, true);
    auto* arrows = new QVBoxLayout;
    arrows->addStretch(1);
    for (QToolButton* b : {BitBtn4, BitBtn1, BitBtn2, BitBtn3}) arrows->addWidget(b);
    arrows->addStretch(1);

    CheckBox2 = new QCheckBox(QStringLiteral("Учитывать интервалы"), this);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    CheckBox1 = new QCheckBox(QStringLiteral("Сохранить в один файл"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    Button2 = new QPushButton(QStringLiteral("Сохранить"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button3 = new QPushButton(QStringLiteral("Отмена"), this);
    Button3->setObjectName(QStringLiteral("Button3"));

    grid->addWidget(Label1, 0, 0);
    grid->addWidget(Label2, 0, 2);
    grid->addWidget(ListBox1, 1, 0);
    grid->addLayout(arrows, 1, 1);
    grid->addWidget(ListBox2, 1, 2);
    auto* options = new QVBoxLayout;
    options->addWidget(CheckBox2);
    options->addWidget(CheckBox1);
    grid->addLayout(options, 2, 0, 1, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Button2);
    buttons->addWidget(Button3);
    grid->addLayout(buttons, 3, 0, 1, 3);

    connect(BitBtn1, &QToolButton::clicked, this, &TForm8::BitBtn1Click);
    connect(BitBtn2, &QToolButton::clicked, this, &TForm8::BitBtn2Click);
    connect(BitBtn3, &QToolButton::clicked, this, &TForm8::BitBtn3Click);
    connect(BitBtn4, &QToolButton::clicked, this, &TForm8::BitBtn4Click);
    connect(ListBox1, &QListWidget::itemDoubleClicked, this, &TForm8::ListBox1DblClick);
    connect(ListBox2, &QListWidget::itemDoubleClicked, this, &TForm8::ListBox2DblClick);
    connect(Button2, &QPushButton::clicked, this, [this] { form_.runCommand([this] { Button2Click(); }); });
    connect(Button3, &QPushButton::clicked, this, &TForm8::Button3Click);
    runModal = [](TForm8& dialog) {
        if (QWidget* owner = dialog.parentWidget())
            dialog.move(owner->window()->geometry().center() - dialog.rect().center());
        dialog.exec();
    };
}

void TForm8::fill() {
    ListBox1->clear();
    ListBox2->clear();
    for (int i = 0; i < form_.project().seriesCount(); ++i) {
        auto* item = new QListWidgetItem(QString::fromStdString(form_.project().seriesList[size_t(i)]->Title), ListBox1);
        item->setData(kIdRole, QVariant::fromValue<qulonglong>(form_.seriesIdAt(i)));
    }
}

void TForm8::BitBtn1Click() { moveItems(ListBox1, ListBox2, true); }
void TForm8::BitBtn2Click() { moveItems(ListBox2, ListBox1, true); }
void TForm8::BitBtn3Click() { moveItems(ListBox2, ListBox1, false); }
void TForm8::BitBtn4Click() { moveItems(ListBox1, ListBox2, false); }
void TForm8::ListBox1DblClick() { moveCurrent(ListBox1, ListBox2); }
void TForm8::ListBox2DblClick() { moveCurrent(ListBox2, ListBox1); }

CsvSeriesList TForm8::chosenSeries() const {
    CsvSeriesList out;
    for (int i = 0; i < ListBox2->count(); ++i)
        if (const TStatisticSeries* s = form_.seriesById(ListBox2->item(i)->data(kIdRole).toULongLong()))
            out.push_back(s);
    return out;
}

void TForm8::Button2Click() {
    // The intervals of the chart first, so the per-interval layouts cut the series to them.
    form_.loadFragments();
    const bool joined = CheckBox1->isChecked();
    const bool perInterval = CheckBox2->isChecked();
    const std::optional<std::string> chosen =
        joined ? form_.prompter().saveFileName(FileKind::Export, "csv|*.csv", {"Экспорт .csv файла", ""})
               : form_.prompter().saveFileName(FileKind::ExportFolder, "Все файлы|*.*",
                                               {"Выбор папки для экспорта трендов", ""});
    // The dialog closes whether or not a name was chosen.
    accept();
    if (!chosen) return;
    // The joined export replaces the file it writes, which may not be the name typed.
    const std::string target = withCsvExtension(*chosen);
    if (joined && !mayReplaceFile(form_.prompter(), target)) return;
    exportTo(target, joined, perInterval);
}

void TForm8::Button3Click() { reject(); }

void TForm8::exportTo(const std::string& fileName, bool joined, bool perInterval) {
    const CsvSeriesList series = chosenSeries();
    const TProject& project = form_.project();
    CsvExportResult result;
    TJustProcedureThread thread;
    // The writers only read the series; the window is disabled while they run.
    thread.FOnExecuteFunction = [&] {
        if (joined)
            result = perInterval ? saveFragmentsToCsv(fileName, project, series) : writeSeriesCsv(fileName, series);
        else
            result = perInterval ? saveFragmentSeriesToCsv(fileName, project, series) : saveSeriesToCsv(fileName, series);
        return result.ok;
    };
    if (!form_.runWorker(thread)) return;
    if (!result.ok) form_.prompter().error(result.error);
}
