#pragma once
// Static identification per interval: one linear model per time interval, and a summary
// model whose coefficients are the interval coefficients averaged with the variation of
// each input on its interval as weight.
#include <memory>
#include <string>
#include <vector>

#include "identification/StaticIdentification.h"

// A linear model fitted on one interval, with its quality there and the variation of its
// inputs there. R² and the normalised R² on the interval are the inherited R2 and R2norm,
// so the model reads the same through a TStaticModel reference.
class TDynamicIntervalModel : public TStaticModel {
public:
    // One entry per model input: the variation (standard deviation / mean) of that input
    // on the interval; NaN when the mean is 0.
    std::vector<long double> inputVariation;
    // One entry per model input: its position in the input list given to addModel. Inputs
    // dropped by the time-stamp check leave gaps, so two models fit the same inputs
    // exactly when these lists are equal.
    std::vector<int> inputIndex;

    TDynamicIntervalModel() = default;

    // The normalised R² on the interval.
    double R2Norm() const { return R2norm; }
};

// Texts of the refusals of the summary model: a ticked model fitted on other inputs than
// the first ticked one; an input whose variations sum to 0 or to no number.
std::string intervalInputsDifferMessage(const std::string& modelName, const std::string& firstModelName);
std::string variationSumUndefinedMessage(const std::string& inputName);

class TStaticIdentificationInterval : public TStaticIdentification {
public:
    // The last calcSumModel built a summary model.
    bool haveSumModel = false;
    // The interval models in the order they were added.
    std::vector<std::unique_ptr<TDynamicIntervalModel>> models;
    // The summary model; null until the first summary. A new summary refills the same
    // object, so a pointer to it stays valid.
    std::unique_ptr<TStaticModel> sumModel;
    // Number of entries of models.
    int numOfModel = 0;

    using TStaticIdentification::TStaticIdentification;

    // Fits a model on the series of one interval (already cut to it) and appends it,
    // named `name`, unticked. Inputs whose time stamps differ from the output's by more
    // than delta are dropped with a message. The quality values and the input variations
    // are computed on the engine's own copies of the data the model was fitted on.
    // False, with a message and nothing added, when fewer than 2 output points or no
    // input are left or the fit is refused.
    bool addModel(const arrayOfStatSeries& input, TStatisticSeries* output, long double delta, bool withCoin,
                  const std::string& name);
    // Builds the summary model from the ticked models: coefficient j is the mean of the
    // j-th coefficients weighted by the j-th input variations. Refuses, with a message,
    // ticked models fitted on other inputs than the first ticked one, and an input whose
    // variations sum to 0 or to no number. False, with sumModel untouched, when no model
    // is ticked or on a refusal.
    bool calcSumModel();
    // Frees the interval models; empties the summary model (the object stays).
    void clear();

    // The ticked models, in list order (still owned here).
    std::vector<TDynamicIntervalModel*> usedModels() const;
};
