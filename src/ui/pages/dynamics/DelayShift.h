#pragma once
// The delay of a dynamic model applied to its data: the input is moved against the output
// by a number of samples, so that output point k is paired with the input of d samples
// before it. Times of the points never change.
#include "core/StatisticSeries.h"

// Shifts by d samples. d > 0: input point i takes the value (and null flag) of input point
// i - d, then the first d points of both series go. d < 0: input point i takes that of
// input point i + |d|, then the last |d| points of both go. False, with nothing changed,
// when |d| is not less than the point count of either series.
bool shiftByDelay(TStatisticSeries& input, TStatisticSeries& output, int d);
