#pragma once

#include "core/LogLayout.h"
#include "core/Pulls.h"

#include <QString>

#include <vector>

class DataTable;

// The Spanish texts of the "Análisis" tab that the analysis gives, and the report's keys of the
// reasons. Engine speeds show as whole numbers grouped by "." ("1.850"), seconds and rates with
// one decimal after a "," ("6,4").
namespace AnalysisTexts {

// The key of a reason in the report: "sin régimen", "régimen bajo", "pausa", "régimen sin
// subir", "pedal", "corto", "poco régimen".
const char *reasonKey(Pulls::Reason reason);

// A row's reason as the "¿Por qué no?" list shows it: "sin régimen", "régimen bajo", "pausa de
// 4,2 s", "régimen sin subir", "pedal por debajo del 80 %", "tirón demasiado corto (3 filas)",
// "tirón de solo 640 rpm"; `amount` as in Pulls::LeftOut.
QString reason(Pulls::Reason reason, double amount);

// "Tirón 2: 1.850-4.210 rpm, 6,4 s, 7 filas" (`number` from 1).
QString pull(int number, double rpmFrom, double rpmTo, double seconds, int rows);

// "1,4 muestras por segundo"; empty for a rate that is not finite.
QString rate(double samplesPerSecond);

// "Pocas muestras por segundo: las curvas son orientativas."
QString fewSamples();

// "El registro no tiene régimen de motor."
QString noEngineSpeed();

// A column as the tab's lists and the header tips of the table name it: its full name and, when it
// has one, its unit in brackets ("Boost Pressure (actual) [mbar]").
QString column(const QString &name, const QString &unit);

// The label of every column of `table`, whose texts on lines 5-7 are `texts` (see
// UnitsAndNames::read).
std::vector<QString> columnLabels(const DataTable &table,
                                  const std::vector<LogLayout::ColumnLines> &texts,
                                  bool newerLayout);

// A figure of the tab's tables and read-out as the table writes numbers: `decimals` decimals after
// a ",", no grouping, never "-0"; empty for a value that is not finite.
QString figure(double value, int decimals);

} // namespace AnalysisTexts
