#pragma once
// The value grid of the statistics page as a model over a copy of one series' times and
// values: row 0 holds the captions "Время" and "Значение", row k the k-th point. Texts are
// made only for the rows a view asks for, so a series of a million points costs two arrays,
// not two million cell texts.
#include <QAbstractTableModel>
#include <string>
#include <vector>

#include "numerics/FormatSettings.h"

class TStatisticSeries;

class SeriesValuesModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit SeriesValuesModel(QObject* parent = nullptr);

    // Shows the points of the series (copied) with the given formats.
    void setSeries(const TStatisticSeries& series, const FormatSettings& fs = FormatSettings());
    // The captions and one empty row.
    void clear();

    // The text of a cell (column, row), as shown.
    std::string cell(int col, int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    std::vector<double> x_;
    std::vector<double> y_;
    FormatSettings fs_;
};
