#pragma once
// The data set of one static identification: its own copies of the input and output
// series, the caller's series they came from, and the time intervals that select the
// training data. Prepares the data for a least-squares fit: merge the intervals, keep the
// points inside them, drop every input whose time stamps do not match the output's.
#include <memory>
#include <string>
#include <vector>

#include "core/Fragment.h"
#include "core/StatisticSeries.h"

class Reporter;

class TStaticData {
public:
    // Owned copies of the input series, in the caller's order.
    std::vector<std::unique_ptr<TStatisticSeries>> InputSeries;
    // Owned copy of the output series; null when empty.
    std::unique_ptr<TStatisticSeries> OutputSeries;
    // Parallel to InputSeries: the position of each copy's source in the input list given to
    // loadData. Positions, not pointers: the caller's series may be gone after the call.
    std::vector<size_t> InputPSeries;
    // Title of the caller's output series.
    std::string OutputPSeries;
    // The intervals of the training data.
    arrayOfFragment Fragment;
    // Number of intervals that loadData received.
    int NumOfFragments = 0;
    // Tolerance of the time-stamp check, in days.
    long double delta = 0;

    explicit TStaticData(Reporter* reporter = nullptr);
    void setReporter(Reporter* reporter);
    Reporter* reporter() const { return reporter_; }

    // Clears, then copies the inputs and the output (points, null flags, title and
    // appearance; no statistics) and the intervals, and stores delta.
    void loadData(const arrayOfFragment& fragments, const arrayOfStatSeries& input, TStatisticSeries* output,
                  long double delta);
    // The same without intervals.
    void loadData(const arrayOfStatSeries& input, TStatisticSeries* output, long double delta);
    // Appends an interval [x1, x2]: empty name, type 0, white, not painted.
    void addFragment(long double x1, long double x2);
    // Replaces the intervals by their merge: one pass in list order, no sorting; an
    // interval absorbs every entry that starts inside it (bounds inclusive), growing as it
    // does.
    void mergeFragments();
    // Keeps only the points inside some interval, in every copy.
    void filterDataWithFragments();
    // Drops, with a message each, every input whose time stamps differ from the output's.
    void checkSyncronize();
    // Frees the copies and the intervals.
    void clear();

    // The input copies as a plain list (still owned here).
    arrayOfStatSeries inputs() const;

private:
    Reporter* reporter_;
};
