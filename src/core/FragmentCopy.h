#pragma once
// The copy of the fragment chart's intervals into the project: every interval as drawn
// into the user fragments, and the usable ones — good intervals (type 0 is bad, 1 good)
// with every bad interval cut out of them, sorted by start — into the fragments, from which
// the project cuts its fragment series. Intervals of other types are kept as drawn only.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/Fragment.h"

class TProject;

// The good pieces left after cutting the bad intervals out of the good ones, sorted by
// start time (equal starts keep their order). Overlap is strict: intervals that only touch
// do not cut. A piece whose end was cut back gets "_cutH", one whose start was moved
// "_cutL", and the later piece of a split "+" (suffixes accumulate in the order of the
// cuts); a good interval inside a bad one (edges included) is dropped. When `origins` is
// given it receives, for each piece, the index in chartFragments of the interval it was
// cut from.
arrayOfFragment cutGoodFragments(const arrayOfFragment& chartFragments, std::vector<size_t>* origins = nullptr);

// Does nothing unless the project's needCalcFragment is set; otherwise replaces its
// userFragments by copies of the chart's fragments, its fragments by cutGoodFragments of
// them with, in fragmentOrigins, the id (from chartIds, index for index with the chart's
// fragments; 0 where it has none) of the chart interval each was cut from, rebuilds the
// fragment series (which clears the flag) and fires the project's fragment event.
void copyChartFragments(TProject& project, const arrayOfFragment& chartFragments,
                        const std::vector<uint64_t>& chartIds = {});
