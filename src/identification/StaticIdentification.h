#pragma once
// Static identification: a linear model y = A1·x1 + ... + Ap·xp (+ c) of an output series
// from p input series over chosen time intervals, fitted by least squares; and the test of
// the fitted model on other intervals.
#include <memory>
#include <string>
#include <vector>

#include "core/Fragment.h"
#include "core/StaticModel.h"
#include "identification/StaticData.h"
#include "numerics/Matrix.h"

class Reporter;

// Common base of the static engines: the prepared data of the last run and the model.
class TStaticIdentification {
public:
    TStaticData data;
    TStaticModel model;

    explicit TStaticIdentification(Reporter* reporter = nullptr);
    virtual ~TStaticIdentification() = default;
    void setReporter(Reporter* reporter);
    Reporter* reporter() const { return reporter_; }

protected:
    Reporter* reporter_;

    // Least-squares fit of the output copy of `data` on its input copies (the data must be
    // prepared and checked): the coefficients in a (the free term last with withCoin), the
    // free term in c, the mean relative error in err. Refuses, with a message, no inputs,
    // too many inputs, values that are not numbers, a singular system and coefficients
    // beyond the range of numbers.
    bool fitPreparedData(bool withCoin, TVector& a, double& c, double& err);
    // Checks the loaded data (at least two output points, inputs synchronised with the
    // output) and fits it: on success the coefficients, free term, error and output name
    // of m are set; on a refusal m is left as it was.
    bool fitLoadedData(bool withCoin, TStaticModel& m);
};

// Texts of the refusals.
extern const char* const kTooFewOutputPointsMessage;
extern const char* const kNoInputSeriesMessage;
extern const char* const kTooManyInputsMessage;
extern const char* const kSingularFitMessage;
extern const char* const kFitOutOfRangeMessage;
extern const char* const kNotANumberMessage;
extern const char* const kNoModelMessage;
extern const char* const kInputCountMismatchMessage;
extern const char* const kInputDroppedOnTestMessage;

class TStaticIdentificationAll : public TStaticIdentification {
public:
    // Titles of the caller's inputs that survived the time-stamp check, in model order, and
    // of the caller's output: ids of the project's series (titles are unique there), never
    // pointers, since the project may delete or clear its series after the fit.
    std::vector<std::string> PInputSeries;
    std::string POutputSeries;
    // Copies of the prepared inputs and output the model was fitted on.
    std::vector<std::unique_ptr<TStatisticSeries>> InputModelSeries;
    std::unique_ptr<TStatisticSeries> OutputModelSeries;
    // The last fit built a model.
    bool haveModel = false;
    // The current model has been applied to test intervals (set by the main window).
    bool haveCalc = false;

    using TStaticIdentification::TStaticIdentification;

    // Identifies the model over the (merged) intervals; returns haveModel. Every call
    // starts by clearing haveModel and haveCalc, so a refused or failed fit never counts
    // as a model.
    bool calcStaticModel(const arrayOfFragment& fragments, const arrayOfStatSeries& input, TStatisticSeries* output,
                         long double delta, bool withCoin);
    // Applies the current model to the data of other intervals: the model output series
    // (the caller owns it) and its ten quality values in `stat`. Null, with a message,
    // when there is no model, the inputs do not match the model's, an input is dropped by
    // the time-stamp check or fewer than 2 output points remain.
    std::unique_ptr<TStatisticSeries> calcModelOnInterval(const arrayOfFragment& fragments,
                                                          const arrayOfStatSeries& input, TStatisticSeries* output,
                                                          long double delta, arrayOfExtended& stat);
    void clear();

    arrayOfStatSeries inputModelSeries() const;
};
