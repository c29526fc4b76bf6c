#include "ui/widgets/TLoadData.h"

#include <QFileInfo>
#include <QHeaderView>
#include <QMouseEvent>
#include <algorithm>

#include "numerics/TextCodec.h"

namespace {

// Colours of the marked cells ($00BBGGRR values $FFBDB3, $D9FFC6 and $FFC6EF).
const QColor kDataColour(0xB3, 0xBD, 0xFF);
const QColor kTimeColour(0xC6, 0xFF, 0xD9);
const QColor kNameColour(0xEF, 0xC6, 0xFF);

constexpr int kLongestName = 255;
// Columns are sized to the texts of this many first rows, and never wider than this.
constexpr int kMeasuredRows = 50;
constexpr int kWidestColumn = 400;

bool isBlank(std::string_view s) {
    for (char c : s)
        if (static_cast<unsigned char>(c) > ' ') return false;
    return true;
}

}  // namespace

LoadDataModel::LoadDataModel(TLoadData* grid) : QAbstractTableModel(grid), grid_(grid) {}

int LoadDataModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : table_.rowCount(); }

int LoadDataModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : table_.columnCount();
}

std::string_view LoadDataModel::text(int row, int column) const {
    if (!edits_.empty()) {
        auto it = edits_.find(key(row, column));
        if (it != edits_.end()) return it->second;
    }
    return table_.text(row, column);
}

void LoadDataModel::setText(int row, int column, std::string text) {
    if (row < 0 || column < 0 || row >= table_.rowCount() || column >= table_.columnCount()) return;
    edits_[key(row, column)] = std::move(text);
    const QModelIndex i = index(row, column);
    emit dataChanged(i, i);
}

void LoadDataModel::replace(CellTable table) {
    beginResetModel();
    table_ = std::move(table);
    edits_.clear();
    endResetModel();
}

void LoadDataModel::clear() { replace(CellTable()); }

const CellTable& LoadDataModel::settledTable() {
    if (edits_.empty()) return table_;
    std::vector<CellEdit> edits;
    edits.reserve(edits_.size());
    for (const auto& [k, text] : edits_)
        edits.push_back({static_cast<int>(k >> 32), static_cast<int>(k & 0xFFFFFFFFu), text});
    table_ = table_.withEdits(std::move(edits));
    edits_.clear();
    return table_;
}

QVariant LoadDataModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole: {
            const std::string_view t = text(index.row(), index.column());
            return QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size()));
        }
        case Qt::BackgroundRole: {
            const QColor c = grid_->cellColor(index.column() + 1, index.row() + 1);
            return c.isValid() ? QVariant(c) : QVariant();
        }
        case Qt::ForegroundRole:
            return grid_->loadFileCheck() ? QVariant(QColor(Qt::black)) : QVariant();
        default:
            return {};
    }
}

QVariant LoadDataModel::headerData(int section, Qt::Orientation, int role) const {
    if (role == Qt::DisplayRole) return QString::number(section + 1);
    if (role == Qt::TextAlignmentRole) return QVariant(Qt::AlignCenter);
    return {};
}

bool LoadDataModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole) return false;
    setText(index.row(), index.column(), value.toString().toStdString());
    return true;
}

Qt::ItemFlags LoadDataModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable;
}

TLoadData::TLoadData(QWidget* parent)
    : QTableView(parent),
      model_(new LoadDataModel(this)) {
    setModel(model_);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setWordWrap(false);
    // Long texts are clipped at the cell border, not shortened with an ellipsis.
    setTextElideMode(Qt::ElideNone);
    // Rows of one fixed height keep a sheet of 100,000 rows cheap to lay out.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(24);
    horizontalHeader()->setDefaultSectionSize(64);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    // Fixed cells drawn in a gradient from $F0CAA6 to white.
    const QString headerStyle = QStringLiteral(
        "QHeaderView::section { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, "
        "stop:0 #A6CAF0, stop:1 #FFFFFF); border: 1px solid #B0B0B0; padding: 0px 2px; }");
    horizontalHeader()->setStyleSheet(headerStyle);
    verticalHeader()->setStyleSheet(headerStyle);
    updateHeaders();
    // The three setters are refused on the empty grid, so the choices stay 0.
    setTimeCol(0);
    setNameRow(0);
    setDataRow(0);
}

TLoadData::~TLoadData() = default;

void TLoadData::setReporter(Reporter* reporter) { reporter_ = reporter; }

Reporter& TLoadData::reporter() const { return reporter_ ? *reporter_ : SilentReporter::instance(); }

int TLoadData::rowCount() const { return model_->table().rowCount() + 1; }
int TLoadData::colCount() const { return model_->table().columnCount() + 1; }

std::string TLoadData::cellText(int col, int row) const {
    if (col < 0 || row < 0 || col >= colCount() || row >= rowCount()) return {};
    if (row == 0) return col == 0 ? std::string() : std::to_string(col);
    if (col == 0) return std::to_string(row);
    return std::string(model_->text(row - 1, col - 1));
}

QString TLoadData::cells(int col, int row) const { return QString::fromStdString(cellText(col, row)); }

void TLoadData::setCells(int col, int row, const QString& text) {
    if (col < 1 || row < 1 || col >= colCount() || row >= rowCount()) return;
    model_->setText(row - 1, col - 1, text.toStdString());
}

void TLoadData::setTimeCol(int value) {
    if (value < 1 || value > colCount() - 1) return;
    FTimeCol = value;
    viewport()->update();
    refreshSeriesNames();
    doChangeSome();
}

void TLoadData::setNameRow(int value) {
    if (value < 1 || value > rowCount() - 1) return;
    FNameRow = value;
    viewport()->update();
    refreshSeriesNames();
    doChangeSome();
}

void TLoadData::setDataRow(int value) {
    if (value < 1 || value > rowCount() - 1 || value == FDataRow) return;
    FDataRow = value;
    doChangeNameRow();
    viewport()->update();
    doChangeSome();
}

void TLoadData::doChangeNameRow() { emit OnChangeNameRow(this); }

void TLoadData::doChangeSome() { emit OnChangeSome(this); }

void TLoadData::refreshSeriesNames() {
    seriesNames_.clear();
    seriesColumns_.clear();
    numOfSeries_ = 0;
    for (int c = 1; c < colCount(); ++c) {
        if (c == FTimeCol) continue;
        const std::string name = cellText(c, FNameRow);
        if (isBlank(name)) continue;
        seriesNames_.push_back(isValidUtf8(name) ? utf8Left(name, kLongestName) : name.substr(0, kLongestName));
        seriesColumns_.push_back(c);
        ++numOfSeries_;
    }
}

int TLoadData::currentCol() const {
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.column() + 1 : 1;
}

int TLoadData::currentRow() const {
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.row() + 1 : 1;
}

void TLoadData::setCurrentCell(int col, int row) {
    if (col < 1 || row < 1 || col >= colCount() || row >= rowCount()) return;
    setCurrentIndex(model_->index(row - 1, col - 1));
}

QColor TLoadData::cellColor(int col, int row) const {
    if (!loadFileCheck_ || col < 1 || row < 1) return {};
    QColor c;
    if (row >= FDataRow) c = kDataColour;
    if (col == FTimeCol && (row >= FDataRow || row == FNameRow)) c = kTimeColour;
    if (row == FNameRow && col != FTimeCol) c = kNameColour;
    return c;
}

void TLoadData::mousePressEvent(QMouseEvent* event) {
    // A right click makes the cell under the pointer current, so the pop-up commands of
    // the data page act on it. It never starts a selection of its own.
    if (event->button() == Qt::RightButton) {
        const QModelIndex i = indexAt(event->position().toPoint());
        if (loadFileCheck_ && i.isValid()) setCurrentIndex(i);
        event->accept();
        return;
    }
    QTableView::mousePressEvent(event);
}

void TLoadData::updateHeaders() {
    horizontalHeader()->setVisible(colCount() > 1 && rowCount() > 1);
    verticalHeader()->setVisible(colCount() > 1 && rowCount() > 1);
}

void TLoadData::fitColumnsToText() {
    // Each column as wide as its header and the texts of its first rows: measuring every
    // row of a large sheet would cost seconds, and the first rows show what a column holds.
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const int rows = std::min(model_->rowCount(), kMeasuredRows);
    for (int c = 0; c < model_->columnCount(); ++c) {
        int width = horizontalHeader()->sectionSizeHint(c);
        for (int r = 0; r < rows; ++r) {
            const QModelIndex i = model_->index(r, c);
            if (!model_->text(r, c).empty()) width = std::max(width, itemDelegateForIndex(i)->sizeHint(option, i).width());
        }
        horizontalHeader()->resizeSection(c, std::clamp(width, horizontalHeader()->minimumSectionSize(), kWidestColumn));
    }
}

void TLoadData::clear() {
    loadFileCheck_ = false;
    model_->clear();
    updateHeaders();
    viewport()->update();
}

bool TLoadData::applyWorkbook(const QString& fileName, WorkbookReadResult result) {
    if (!result.ok()) {
        reporter().message("Ошибка открытия файла!");
        viewport()->update();
        return false;
    }
    loadFileCheck_ = false;
    fileName_ = QFileInfo(fileName).fileName();
    model_->replace(std::move(result.cells));
    updateHeaders();
    fitColumnsToText();
    if (result.badRow > 0)
        reporter().message("Ошибка загрузки!" + std::to_string(result.badRow) + "/" + std::to_string(result.badColumn));
    if (!result.warning.empty()) reporter().message(result.warning);
    loadFileCheck_ = true;
    if (rowCount() > 1 && colCount() > 1) {
        setNameRow(1);
        setTimeCol(1);
        setDataRow(rowCount() > 2 ? 2 : 1);
    }
    viewport()->update();
    doChangeSome();
    return true;
}
