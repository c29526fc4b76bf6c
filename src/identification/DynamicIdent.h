#pragma once
// Dynamic identification: a model of one output series driven by one input series. The
// output must be sampled evenly and the input must have exactly the output's time stamps;
// a difference equation of the chosen orders is fitted by least squares and converted into
// a continuous transfer function at the sampling step. The delay is not handled here: the
// caller shifts the input by it before the call and sets the model's tau after it.
#include <memory>

#include "core/DynamicModel.h"
#include "core/StatisticSeries.h"

class Reporter;

class TDynamicIdent {
public:
    // The messages of refused identifications.
    static constexpr const char* kUnevenOutputMessage = "Ошибка! Загружен неоднородный выходной ряд.";
    static constexpr const char* kNotSynchronizedMessage = "Ошибка! Входной ряд не синхронизирован с выходным.";
    static constexpr const char* kBadStepMessage =
        "Ошибка! Шаг времени выходного ряда должен быть больше нуля: первые две отметки времени совпадают или убывают.";
    static constexpr const char* kBadOrderMessage = "Ошибка! Порядки модели должны быть от 0 до 10.";
    static constexpr const char* kTooFewPointsMessage =
        "Ошибка! Недостаточно точек для идентификации модели заданного порядка.";
    static constexpr const char* kFitFailedMessage =
        "Ошибка! Не удалось рассчитать коэффициенты разностного уравнения.";
    static constexpr const char* kSingularFitMessage =
        "Ошибка! Коэффициенты разностного уравнения не определяются данными: порядки модели слишком высоки "
        "для этих данных или входной ряд меняется слишком мало.";
    static constexpr const char* kNotANumberMessage =
        "Ошибка! Ряды содержат значения, не являющиеся числами (бесконечность или NaN).";
    static constexpr const char* kDivergentModelMessage =
        "Ошибка! Порядки модели слишком высоки для этих данных: расчет модели на ее собственных данных "
        "расходится. Модель не построена.";
    static constexpr const char* kConversionFailedMessage =
        "Ошибка! Не удалось преобразовать разностное уравнение в передаточную функцию.";
    static constexpr const char* kZeroGainMessage =
        "Ошибка! Коэффициент усиления модели равен нулю: передаточная функция не определена.";

    // The identified model, reused by every identification.
    TDynamicModel dynamicmodel;
    // Copies of the input and output of the last successful identification; null before it.
    std::unique_ptr<TStatisticSeries> lastInput;
    std::unique_ptr<TStatisticSeries> lastOutput;
    // Mean relative one-step error of the last successful fit, in percent.
    double meanError = 0;
    // True when dynamicmodel holds a model identified by the last run.
    bool calcModel = false;
    // Where messages go; null means nowhere.
    Reporter* reporter = nullptr;

    explicit TDynamicIdent(Reporter* reporter = nullptr);

    // Identifies the model with input order xPower (numerator) and output order yPower
    // (denominator). On success fills dynamicmodel (its tau and ky[0] keep their values),
    // lastInput, lastOutput, meanError and the model's R2 and R2norm, and returns true.
    // The sampling step is the first step of the output rounded to the millisecond, as
    // time columns are read. A refusal shows its message and returns false; the model, the
    // last series and meanError keep their values. A refused check of the data leaves
    // calcModel as it was; a fit or conversion that fails, gives a zero gain or a model
    // whose simulation on its own data is not finite, clears it.
    bool identification(const TStatisticSeries& input, const TStatisticSeries& output, int xPower, int yPower);

    // Forgets the last identification: calcModel false, no last series.
    void clear();
};
