#pragma once
// The single-model files: ".sm" (static regression model) and ".dm" (dynamic model), one
// field per ";"-terminated text, CR LF line ends, numbers in the stored format. The project
// folder keeps one such file per model, and a stored model can be exported to one.
//
// .sm: name; / numOfX;numOfY; / input names; / outputName; / n; / A[0..n-1]; / c; /
//      "true;" or "false;" (free term) / R2; / R2norm;
// .dm: name; / inputName; / outputName; / xpower;ypower; / timeDiscretization; / k; / tau; /
//      num; / denum; / kx; / ky; / R2; / R2norm;
#include <optional>
#include <string>
#include <string_view>

#include "core/DynamicModel.h"
#include "core/StaticModel.h"

// Highest numerator or denominator order a dynamic model file may hold.
constexpr int kMaxDynamicOrder = 10;

std::string staticModelText(const TStaticModel& model);
std::string dynamicModelText(const TDynamicModel& model);

// Reads a model file's text. A file whose field counts disagree with its counts or orders,
// with negative counts, orders above kMaxDynamicOrder, too few lines or a number that does
// not read is refused: nullopt, and `reason` (when given) says why, in Russian.
std::optional<TStaticModel> parseStaticModel(std::string_view text, std::string* reason = nullptr);
std::optional<TDynamicModel> parseDynamicModel(std::string_view text, std::string* reason = nullptr);

// Writes a model file atomically; false with a Russian `error` on failure.
bool writeStaticModelFile(const std::string& path, const TStaticModel& model, std::string* error = nullptr);
bool writeDynamicModelFile(const std::string& path, const TDynamicModel& model, std::string* error = nullptr);
