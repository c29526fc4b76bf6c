#pragma once
// The two series chosen for correlation, shared by the correlation page and the page of
// statistics by intervals. The analyser keeps them as indexes into the project's series
// list; this object also keeps their ids, so that when series are deleted (or the project
// is made new or loaded) an index follows its series or becomes -1 at once, instead of
// pointing at whatever series moved into its place.
#include <QObject>
#include <cstdint>

class QLineEdit;
class TForm1;

class CorrelationChoice : public QObject {
    Q_OBJECT
public:
    explicit CorrelationChoice(TForm1& form);

    // which: 1 (first series) or 2 (second). Sets the analyser's index to a dropped series.
    void choose(int which, int seriesIndex);
    // The analyser's index, checked against the project: -1 when it is out of range.
    int index(int which) const;
    // A read-only field showing "Параметр1" or "Параметр2" until a series is dropped on it;
    // a drop chooses that series.
    QLineEdit* field(int which, const char* objectName);

    // The check a correlation page runs when it is shown (and after every change of the
    // choice): a valid index shows its series' title in the edit and gives true; otherwise
    // the index becomes -1, the edit is cleared and false tells the page to empty the
    // series' own chart and its shared chart.
    bool check(int which, QLineEdit* edit);

signals:
    // An index was set by a drop, moved with its series or dropped with it, or the project's
    // series changed while a chosen series stayed (its title may be new).
    void changed();

private:
    void followSeries();
    int& slot(int which) const;
    uint64_t& id(int which) { return which == 1 ? id1_ : id2_; }

    TForm1& form_;
    uint64_t id1_ = 0;
    uint64_t id2_ = 0;
};

// Builds the statistics page, the correlation page and the page of statistics by intervals
// into the main window.
void buildStatisticsPages(TForm1& form);
