#include "ui/pages/statistics/SeriesValuesModel.h"

#include <QApplication>
#include <QPalette>

#include "core/StatisticSeries.h"
#include "numerics/Formatters.h"

SeriesValuesModel::SeriesValuesModel(QObject* parent) : QAbstractTableModel(parent) {}

void SeriesValuesModel::setSeries(const TStatisticSeries& series, const FormatSettings& fs) {
    beginResetModel();
    x_ = series.XValues();
    y_ = series.YValues();
    fs_ = fs;
    endResetModel();
}

void SeriesValuesModel::clear() {
    beginResetModel();
    x_.clear();
    y_.clear();
    x_.shrink_to_fit();
    y_.shrink_to_fit();
    endResetModel();
}

int SeriesValuesModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    // The captions, and at least one row below them as a grid with a fixed row keeps.
    return static_cast<int>(std::max<size_t>(x_.size(), 1) + 1);
}

int SeriesValuesModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 2; }

std::string SeriesValuesModel::cell(int col, int row) const {
    if (row == 0) return col == 0 ? "Время" : col == 1 ? "Значение" : "";
    const size_t k = static_cast<size_t>(row - 1);
    if (row < 1 || k >= x_.size() || col < 0 || col > 1) return {};
    return col == 0 ? dateTimeToStr(x_[k], fs_) : formatNumber(y_[k], fs_);
}

QVariant SeriesValuesModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromStdString(cell(index.column(), index.row()));
    case Qt::BackgroundRole:
        if (index.row() == 0) return QApplication::palette().button();
        return {};
    case Qt::ForegroundRole:
        if (index.row() == 0) return QApplication::palette().buttonText();
        return {};
    default:
        return {};
    }
}

Qt::ItemFlags SeriesValuesModel::flags(const QModelIndex& index) const {
    if (!index.isValid() || index.row() == 0) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}
