#pragma once
// Matching of the time stamps of a leading series to the points of another series, as
// the synchronisation of series needs it: for each leading time x, among the points whose
// time lies in [x - t, x + t] and whose distance |X - x| is below the initial best
// distance (3t, or one day when t = 0), the nearest one, the lowest index among equally
// near ones. Runs in O((n + m) log m) on unsorted times.
#include <vector>

// Index into `times` of the match of each leading time, or -1 when there is none.
std::vector<int> syncMatches(const std::vector<double>& times, const std::vector<double>& leadingTimes,
                             long double tolerance);
