#pragma once

#include "core/PullPower.h"

#include <vector>

class JsonWriter;

namespace Analysis {
struct Result;
}

// The report's "analysis" key: what the "Análisis" tab computes, as plain JSON numbers.
//
//   "analysis": {"rpm_column": 1, "rate": 1.42, "units": ["", "/min", "mbar", ...],
//                "pulls": [{"first": 40, "last": 47, "rows": 8, "rpm_from": 1850,
//                           "rpm_to": 4210, "seconds": 6.4}],
//                "left_out": {"sin régimen": 12, "régimen bajo": 40, "pausa": 1,
//                             "régimen sin subir": 310, "pedal": 0, "corto": 9,
//                             "poco régimen": 3},
//                "pairs": [{"specified": 8, "actual": 9, "unit": "mbar", "only_pulls": true,
//                           "bins": [{"rpm": 1750, "rows": 3, "specified": 1510,
//                                     "actual": 1466.7, "difference": -43.3,
//                                     "worst": -60}]}]}
//
// Columns are table column numbers, rows 1-based table rows. "rpm_column" is null when the log
// has no engine speed, "rate" when no step counts; "left_out" always has its seven keys, in this
// order. Numbers are not rounded; a whole value has no fraction and a value that is not finite is
// null.
//
// With the power of the pulls, each pull also gets, after "seconds":
//
//   "power": {"degree": 3, "rate": 0.83, "points": [{"row": 41, "rpm": 1903.2, "cv": 61.4,
//             "nm": 229.8}], "peak_cv": [148.2, 3950.1], "peak_nm": [331.5, 2300.7],
//             "warnings": ["Pocas muestras por segundo: las curvas son orientativas."]}
//
// "rpm" is the fitted engine speed; a peak is [value, rpm] of the first point of the highest
// value. Without a curve "points" is empty and the peaks are null; "rate" is null when no time
// passes; "warnings" are PullPower::Warnings.
namespace AnalysisReport {

// Writes the key `key` and the object of `result`; with `power` holding one result per pull, each
// pull gets its "power".
void write(JsonWriter &json, const Analysis::Result &result,
           const std::vector<PullPower::Result> &power = {}, const char *key = "analysis");

} // namespace AnalysisReport
