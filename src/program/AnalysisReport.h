#pragma once

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
namespace AnalysisReport {

// Writes the key "analysis" and its object.
void write(JsonWriter &json, const Analysis::Result &result);

} // namespace AnalysisReport
