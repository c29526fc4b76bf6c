#include "identification/StaticData.h"

#include <algorithm>

#include "numerics/Parallel.h"
#include "numerics/Reporter.h"

TStaticData::TStaticData(Reporter* reporter) : reporter_(reporter ? reporter : &SilentReporter::instance()) {}

void TStaticData::setReporter(Reporter* reporter) { reporter_ = reporter ? reporter : &SilentReporter::instance(); }

void TStaticData::loadData(const arrayOfFragment& fragments, const arrayOfStatSeries& input, TStatisticSeries* output,
                           long double delta_) {
    // The arguments may be this object's own content: then everything is copied before
    // the old content goes. Otherwise the copy objects of the previous call are reused,
    // and with them their storage.
    bool aliased = &fragments == &Fragment || (output && output == OutputSeries.get());
    for (const auto& own : InputSeries)
        for (TStatisticSeries* s : input) aliased = aliased || s == own.get() || output == own.get();
    arrayOfFragment frags;
    frags.reserve(fragments.size());
    for (const auto& f : fragments) {
        TFragment g;
        g.assign(f);
        frags.push_back(std::move(g));
    }
    const int count = static_cast<int>(fragments.size());
    std::string outputTitle = output ? output->Title : std::string();

    std::vector<std::unique_ptr<TStatisticSeries>> spare;
    std::unique_ptr<TStatisticSeries> spareOut;
    if (!aliased) {
        spare = std::move(InputSeries);
        spareOut = std::move(OutputSeries);
    }
    // Objects for the copies first (reusing the spare ones), then the copying itself, which
    // for long series is worth spreading over threads.
    auto target = [&] {
        if (spare.empty()) return std::make_unique<TStatisticSeries>();
        auto copy = std::move(spare.back());
        spare.pop_back();
        return copy;
    };
    std::vector<std::unique_ptr<TStatisticSeries>> copies;
    copies.reserve(input.size());
    arrayOfStatSeries sources;
    std::vector<size_t> positions;
    for (size_t k = 0; k < input.size(); ++k) {
        if (input[k] == nullptr) continue;
        copies.push_back(target());
        sources.push_back(input[k]);
        positions.push_back(k);
    }
    std::unique_ptr<TStatisticSeries> out;
    if (output) {
        if (spareOut) spare.push_back(std::move(spareOut));
        out = target();
    }
    auto fill = [](TStatisticSeries& copy, const TStatisticSeries& source) {
        copy.Assign(source);
        copy.mean = copy.median = copy.variance = copy.standartDeviation = copy.variation = copy.herst = 0;
        copy.labRow = false;
    };
    const size_t n = copies.size();
    parallelFor(n + (out ? 1 : 0), [&](size_t k) {
        if (k < n) fill(*copies[k], *sources[k]);
        else fill(*out, *output);
    }, 4);

    clear();
    InputSeries = std::move(copies);
    InputPSeries = std::move(positions);
    OutputSeries = std::move(out);
    OutputPSeries = std::move(outputTitle);
    Fragment = std::move(frags);
    NumOfFragments = count;
    delta = delta_;
}

void TStaticData::loadData(const arrayOfStatSeries& input, TStatisticSeries* output, long double delta_) {
    loadData(arrayOfFragment{}, input, output, delta_);
}

void TStaticData::addFragment(long double x1, long double x2) { Fragment.emplace_back(x1, x2); }

void TStaticData::mergeFragments() {
    const arrayOfFragment work = std::move(Fragment);
    Fragment.clear();
    std::vector<char> present(work.size(), 1);
    for (size_t i = 0; i < work.size(); ++i) {
        if (!present[i]) continue;
        const long double S = work[i].startPoint;
        long double E = work[i].endPoint;
        for (size_t j = 0; j < work.size(); ++j) {
            if (present[j] && S <= work[j].startPoint && work[j].startPoint <= E) {
                E = std::max(E, work[j].endPoint);
                present[j] = 0;
            }
        }
        addFragment(S, E);
    }
}

void TStaticData::filterDataWithFragments() {
    parallelFor(InputSeries.size(), [&](size_t k) { InputSeries[k]->filterWithFrag(Fragment); }, 4);
    if (OutputSeries) OutputSeries->filterWithFrag(Fragment);
}

void TStaticData::checkSyncronize() {
    const TStatisticSeries empty;
    const TStatisticSeries& out = OutputSeries ? *OutputSeries : empty;
    size_t i = 0;
    while (i < InputSeries.size()) {
        if (InputSeries[i]->checkSyncronize(out, delta)) {
            ++i;
            continue;
        }
        reporter_->message("Для ряда (" + InputSeries[i]->Title +
                           ") не выполнена полная синхронизация точек. Ряд исключен.");
        InputSeries.erase(InputSeries.begin() + static_cast<std::ptrdiff_t>(i));
        InputPSeries.erase(InputPSeries.begin() + static_cast<std::ptrdiff_t>(i));
    }
}

void TStaticData::clear() {
    InputSeries.clear();
    InputPSeries.clear();
    OutputSeries.reset();
    OutputPSeries.clear();
    Fragment.clear();
    NumOfFragments = 0;
}

arrayOfStatSeries TStaticData::inputs() const {
    arrayOfStatSeries list;
    list.reserve(InputSeries.size());
    for (const auto& s : InputSeries) list.push_back(s.get());
    return list;
}
