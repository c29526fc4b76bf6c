#pragma once
// Common base of the plant models: the static regression and the dynamic transfer
// function. A model turns input series into a model output series and rates it against
// a measured output by a fixed list of quality values.
#include <memory>
#include <string>
#include <vector>

#include "core/StatisticSeries.h"

class Reporter;

// Quality values, coefficient vectors.
using arrayOfExtended = std::vector<long double>;

class TProcessModel {
public:
    std::string name;
    int numOfX = 0;
    int numOfY = 0;

    virtual ~TProcessModel() = default;

    // A new model output series built from the inputs; it belongs to the caller.
    virtual std::unique_ptr<TStatisticSeries> calcOutput(const arrayOfStatSeries& inputs) const = 0;
    // The model output and, in `stat`, its quality values against the measured series
    // (whose statistics are recomputed; its null points are reported through `reporter`).
    virtual std::unique_ptr<TStatisticSeries> calcOutputWithStat(const arrayOfStatSeries& inputs,
                                                                  TStatisticSeries& measured,
                                                                  arrayOfExtended& stat,
                                                                  Reporter* reporter = nullptr) const = 0;
};
