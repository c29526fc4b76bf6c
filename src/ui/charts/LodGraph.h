#pragma once
// A graph for long series. It keeps the minimum and maximum of its values over blocks of
// points (16, 256, 4096, ... points), so that a dense view (more than two points per pixel
// column) costs a few numbers per column instead of a pass over every point; such a view
// is drawn as one vertical bar per column, as wide as the pen, from the column's lowest to
// its highest value (joined to the previous column's last value). Thick polylines through
// thousands of points are very slow to stroke; bars are fast and look the same. Sparse
// views, markers and stairs are drawn as QCustomPlot draws them.
#include <vector>

#include <qcustomplot.h>

class LodGraph : public QCPGraph {
    Q_OBJECT
public:
    LodGraph(QCPAxis* keyAxis, QCPAxis* valueAxis) : QCPGraph(keyAxis, valueAxis) {}

    // Recomputes the block extremes from the graph's data; call after every change of it.
    void rebuildLevels();

    static constexpr int kBlockFactor = 16;

    // One pixel column of a dense view: where it starts, its first and last values and its
    // extremes (min > max when it holds only gaps).
    struct Column {
        double key;
        double first, last, min, max;
    };
    // The columns of the points [from, to) on the current key axis; empty when the view is
    // not dense enough to be worth it.
    std::vector<Column> denseColumns(int from, int to) const;

protected:
    void draw(QCPPainter* painter) override;
    void getOptimizedLineData(QVector<QCPGraphData>* lineData, const QCPGraphDataContainer::const_iterator& begin,
                              const QCPGraphDataContainer::const_iterator& end) const override;

private:
    struct Level {
        int size = 0;              // points per block
        std::vector<double> minV;  // per block, NaN values skipped (+inf when all NaN)
        std::vector<double> maxV;
    };
    std::vector<Level> levels_;
    int dataSize_ = -1;
};
