#include "ui/pages/statistics/TForm5.h"

#include <QAbstractTableModel>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMenu>
#include <QScreen>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "identification/CrossCorrelation.h"
#include "numerics/FormatSettings.h"
#include "numerics/Formatters.h"
#include "ui/charts/ChartSeriesAdapter.h"
#include "ui/widgets/FrozenTableView.h"

// The cells of the map with their fill colours; row 0 and column 0 are fixed.
class CorrelationMapModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : static_cast<int>(cells_.size());
    }
    int columnCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : static_cast<int>(cells_.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid()) return {};
        const int c = index.column(), r = index.row();
        const int32_t color = colorAt(c, r);
        const bool fixed = c == 0 || r == 0;
        switch (role) {
        case Qt::DisplayRole:
            return QString::fromStdString(cells_[static_cast<size_t>(r)][static_cast<size_t>(c)]);
        case Qt::ToolTipRole:
            return fixed ? QString::fromStdString(cells_[static_cast<size_t>(r)][static_cast<size_t>(c)]) : QVariant();
        case Qt::BackgroundRole:
            if (fixed) return QApplication::palette().button();
            return color >= 0 ? QVariant(colorFromBGR(color)) : QVariant();
        case Qt::ForegroundRole:
            if (fixed) return QApplication::palette().buttonText();
            return color >= 0 ? QVariant(QColor(Qt::black)) : QVariant();
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignTop));
        default:
            return {};
        }
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override {
        return index.isValid() ? Qt::ItemIsEnabled : Qt::NoItemFlags;
    }

    void setCells(std::vector<std::vector<std::string>> cells) {
        beginResetModel();
        cells_ = std::move(cells);
        colors_.assign(cells_.size() * cells_.size(), -1);
        // A cell is coloured by the number its text shows; a text that is no number keeps
        // the grid's own drawing.
        for (size_t r = 1; r < cells_.size(); ++r)
            for (size_t c = 1; c < cells_.size(); ++c)
                if (const auto v = strToFloat(cells_[r][c]); v && !std::isnan(static_cast<double>(*v)))
                    colors_[r * cells_.size() + c] = correlationColor(static_cast<double>(*v));
        endResetModel();
    }
    const std::vector<std::vector<std::string>>& cells() const { return cells_; }
    int32_t colorAt(int col, int row) const {
        const size_t n = cells_.size();
        if (col < 1 || row < 1 || static_cast<size_t>(col) >= n || static_cast<size_t>(row) >= n) return -1;
        return colors_[static_cast<size_t>(row) * n + static_cast<size_t>(col)];
    }

private:
    std::vector<std::vector<std::string>> cells_;
    std::vector<int32_t> colors_;
};

int32_t correlationColor(double r) {
    struct Band {
        double below;
        int32_t color;
    };
    static constexpr Band kBands[] = {{-0.9, 0xFF9281}, {-0.8, 0xFFB6AB}, {-0.5, 0xFFC183}, {-0.2, 0xFFF5BF},
                                      {0.2, 0xFFFFFF},  {0.5, 0x79E5FF},  {0.8, 0x79C1FF},  {0.9, 0x6161FF}};
    for (const Band& b : kBands)
        if (r < b.below) return b.color;
    return 0x4949E2;
}

std::string correlationCellText(double r) {
    if (std::isnan(r)) return "-";
    return formatGeneral(r, 4, 4, FormatSettings::russian().decimalSeparator);
}

std::string gridClipboardText(const std::vector<std::vector<std::string>>& rows) {
    std::string out;
    for (const auto& row : rows) {
        for (size_t c = 0; c < row.size(); ++c) {
            if (c > 0) out += '\t';
            const std::string& cell = row[c];
            const bool quote = std::any_of(cell.begin(), cell.end(), [](char ch) {
                return static_cast<unsigned char>(ch) <= ' ' || ch == '"';
            });
            if (!quote) {
                out += cell;
                continue;
            }
            out += '"';
            for (char ch : cell) {
                if (ch == '"') out += '"';
                out += ch;
            }
            out += '"';
        }
        out += '\r';
    }
    return out;
}

TForm5::TForm5(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("Коэффициенты парной корреляции"));
    // An open map does not keep the program running once the main window is closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    model_ = new CorrelationMapModel(this);
    StringGrid1 = new FrozenTableView(this);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setModel(model_);
    StringGrid1->horizontalHeader()->hide();
    StringGrid1->verticalHeader()->hide();
    StringGrid1->horizontalHeader()->setDefaultSectionSize(64);
    StringGrid1->verticalHeader()->setDefaultSectionSize(24);
    StringGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGrid1->setSelectionMode(QAbstractItemView::NoSelection);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->setWordWrap(false);
    // The titles stay in view while the coefficients scroll.
    StringGrid1->setFrozen(1, 1);
    auto* l = new QVBoxLayout(this);
    l->setContentsMargins(0, 0, 0, 0);
    l->addWidget(StringGrid1);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    N1 = PopupMenu1->addAction(QStringLiteral("Копировать"));
    N1->setObjectName(QStringLiteral("N1"));
    N2 = PopupMenu1->addAction(QStringLiteral("Скопировать изображение"));
    N2->setObjectName(QStringLiteral("N2"));
    connect(N1, &QAction::triggered, this, &TForm5::N1Click);
    connect(N2, &QAction::triggered, this, &TForm5::N2Click);
    StringGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(StringGrid1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopupMenu1->popup(StringGrid1->viewport()->mapToGlobal(pos)); });

    // The hidden main-menu item: only its shortcut is reachable.
    N3 = new QAction(QStringLiteral("Скопировать"), this);
    N3->setObjectName(QStringLiteral("N3"));
    N3->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    N3->setShortcutContext(Qt::WindowShortcut);
    addAction(N3);
    connect(N3, &QAction::triggered, this, &TForm5::N2Click);
    resize(500, 300);
}

TForm5::~TForm5() = default;

void TForm5::setMap(const std::vector<std::string>& titles, const CorrelationMap& map) {
    const size_t n = titles.size();
    std::vector<std::vector<std::string>> cells(n + 1, std::vector<std::string>(n + 1));
    for (size_t i = 1; i <= n; ++i) {
        cells[i][0] = titles[i - 1];
        cells[0][i] = titles[i - 1];
        for (size_t j = 1; j <= n; ++j) {
            const bool known = static_cast<size_t>(map.size) == n;
            cells[j][i] = correlationCellText(known ? map.at(static_cast<int>(i - 1), static_cast<int>(j - 1))
                                                    : std::nan(""));
        }
    }
    model_->setCells(std::move(cells));
    // Every text in full: column 0 as wide as the widest title, each other column as its
    // title and its coefficients.
    const auto& shown = model_->cells();
    std::vector<int> widths(n + 1, 64);
    for (size_t r = 0; r <= n; ++r)
        for (size_t c = 0; c <= n; ++c)
            if (!shown[r][c].empty())
                widths[c] = std::max(widths[c], StringGrid1->cellWidthForText(QString::fromStdString(shown[r][c])));
    for (size_t c = 0; c <= n; ++c) StringGrid1->setColumnWidth(static_cast<int>(c), widths[c]);
}

void TForm5::showOver(QWidget* owner) {
    const int fw = 2 * StringGrid1->frameWidth() + 4;
    QSize want(StringGrid1->horizontalHeader()->length() + fw, StringGrid1->verticalHeader()->length() + fw);
    QRect area(0, 0, 1280, 800);
    if (QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen()) area = screen->availableGeometry();
    want = want.boundedTo(QSize(area.width() * 9 / 10, area.height() * 9 / 10)).expandedTo(QSize(300, 150));
    resize(want);
    const QPoint centre = owner ? owner->frameGeometry().center() : area.center();
    move(centre - QPoint(width() / 2, height() / 2));
    show();
    raise();
    activateWindow();
}

std::string TForm5::cell(int col, int row) const {
    const auto& cells = model_->cells();
    if (row < 0 || col < 0 || static_cast<size_t>(row) >= cells.size() || static_cast<size_t>(col) >= cells.size())
        return {};
    return cells[static_cast<size_t>(row)][static_cast<size_t>(col)];
}

int TForm5::rowCount() const { return model_->rowCount(); }
int TForm5::colCount() const { return model_->columnCount(); }
int32_t TForm5::cellColor(int col, int row) const { return model_->colorAt(col, row); }

void TForm5::N1Click() {
    QApplication::clipboard()->setText(QString::fromStdString(gridClipboardText(model_->cells())));
}

void TForm5::N2Click() {
    if (copyPicture) copyPicture(StringGrid1);
}
