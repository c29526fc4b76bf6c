#pragma once
// Shifted copies of series: the values of a series moved by a whole number of points (the
// lag) against its time stamps, which stay where they are; the points left without a value
// are dropped. A positive lag delays the values, a negative one advances them.
#include <string>

class Reporter;
class TProject;
class TStatisticSeries;

// The message when the series has too few points for the lag.
inline constexpr const char* kLagTooLargeMessage = "Лаг не может быть больше колличества точек!";

// title + "/delay(" + lag + ")".
std::string delayedTitle(const std::string& title, int lag);

// Moves the values and their null flags by `lag` points and drops the points left without
// a value: for lag d > 0 point j gets time X[j + d] and the old point j's value; for d < 0
// point j keeps X[j] and takes the old point j - d's value. The series keeps
// Count - |lag| points; a lag of 0 changes nothing. False, with nothing changed, when
// |lag| >= Count for a non-zero lag.
bool shiftSeriesValues(TStatisticSeries& series, int lag);

// Shifts `series` by `lag` points and appends "/delay(lag)" to its title.
//  - lag >= Count, or a negative lag of Count or more points: the plain message
//    kLagTooLargeMessage and nothing else; false.
//  - lag 0: nothing happens, also when a copy was asked for; false.
//  - asNew: a copy is shifted and added to the project (which names it uniquely, computes
//    its statistics and fires the series-list event); a laboratory series gives a
//    laboratory copy. `series` is not changed.
//  - otherwise the series itself is shifted; when it belongs to the project its title is
//    made unique there, its statistics are recomputed, the fragment series marked for
//    rebuilding and the series-list event fired.
// True when a series was shifted.
bool createDelayedSeries(TProject& project, TStatisticSeries& series, int lag, bool asNew, Reporter* reporter);
