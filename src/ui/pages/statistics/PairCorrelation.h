#pragma once
// The auto- and cross-correlation of the two chosen series, as both correlation pages
// compute them: the lag rule (lag + 2 <= the point count of each series), series whose
// correlation is undefined (values all equal, or not all finite), and the cross-correlation
// of series of unequal length on their last points. Plain work on plain data: the checks run
// at once, the sums afterwards, on a worker thread when they are long.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/StatisticSeries.h"

class TAnalyzer;

struct PairCorrelation {
    struct Autocorrelation {
        bool present = false;    // the series was chosen
        bool lagFits = false;    // lag + 2 <= its point count
        bool undefined = false;  // its values are all equal or not all finite
        std::vector<long double> r;  // lags 0..lag, once computed
    };
    long long lag = 0;
    Autocorrelation first, second;
    // Titles of the series the lag does not fit, the first followed by a blank.
    std::string lagFailures;
    // Titles of the series whose values are all equal, likewise.
    std::string constantTitles;
    // Titles of the series holding values that are not finite, likewise.
    std::string nonFiniteTitles;
    // Both series chosen, the lag fits both and both correlations are defined.
    bool crossWanted = false;
    // The series differ in length: the longer one was cut at its start.
    bool cut = false;
    // (lag, r) of the first series against the second read lag points ahead.
    std::vector<std::pair<int, double>> cross;

    // A rough count of the products the sums take, to decide whether they need a worker.
    double work = 0;
};

// The checks: which correlations can be computed for the series (null when not chosen).
PairCorrelation planPairCorrelation(const TStatisticSeries* first, const TStatisticSeries* second, long long lag);
// The sums of what the plan allows. When the lengths differ both series are aligned at
// their ends (the longer one loses its first points) and keep their roles: the first is
// read from the start of the common part, the second lag points ahead.
void computePairCorrelation(const TAnalyzer& analyzer, PairCorrelation& plan, const TStatisticSeries* first,
                            const TStatisticSeries* second);

// Reads a lag field: digits only, not empty. A number too large for the series is kept
// large (the lag rule then refuses it). nullopt for anything else.
std::optional<long long> readLag(const std::string& text);

// Texts of the correlation pages.
inline constexpr const char* kLagTooLargeText = "Ошибка! Заданый лаг больше количества точек ряда: ";
inline constexpr const char* kUnequalLengthsText =
    "Внимание! Размерности рядов не совпадают. Больший ряд обрезан с начала.";
inline constexpr const char* kFillAllFieldsText = "Заполните все поля!";
inline constexpr const char* kBadLagText = "Ошибка! Задайте лаг целым неотрицательным числом.";
inline constexpr const char* kConstantSeriesText =
    "Ошибка! Значения ряда не изменяются, корреляция не определена: ";
inline constexpr const char* kNonFiniteSeriesText =
    "Ошибка! Ряд содержит нечисловые значения, корреляция не определена: ";
