#pragma once
// The interval grid of the fragment page: a heading row (name, start, end, type) over one
// read-only row per interval of the chart. It is a model/view table filled in one go, and
// times are written only for the rows shown, so a hundred thousand intervals cost one
// refresh, not one per cell.
#include <QString>
#include <QTableView>
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/widgets/TextAdvance.h"

class IntervalGridModel;

class IntervalGrid : public QTableView {
    Q_OBJECT
public:
    static constexpr int kColumns = 4;

    struct Row {
        std::string name;
        double start = 0, end = 0;  // days
        // The type text; nullopt keeps what the row's last cell showed before.
        std::optional<QString> type;
    };

    explicit IntervalGrid(QWidget* parent = nullptr);
    // How a time is written in the start and end columns.
    void setTimeText(std::function<std::string(double)> timeText);

    // Rows as a string grid counts them: the heading row 0, then one per interval.
    int rowCount() const;
    // Text of a cell; row 0 holds the headings.
    std::string cell(int col, int row) const;
    // The chosen row: 1 for the first interval, 0 when none is chosen.
    int row() const;
    void setRow(int row);
    // Replaces the interval rows. The chosen row stays chosen where it still exists.
    void fill(std::vector<Row> rows);
    // No interval rows left.
    void clearRows() { fill({}); }

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    IntervalGridModel* model_ = nullptr;
    TextAdvance advance_;
};
