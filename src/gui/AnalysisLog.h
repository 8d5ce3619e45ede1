#pragma once

#include "core/Analysis.h"
#include "core/DataTable.h"
#include "core/LogLayout.h"
#include "core/PullPower.h"
#include "core/Vehicle.h"
#include "gui/AnalysisCurve.h"

#include <QColor>
#include <QString>

#include <vector>

// The x axis of the "Análisis" chart.
enum class AnalysisAxis {
    EngineSpeed, // "Régimen (rpm)": the engine speed of the same row
    Time,        // "Tiempo (s)": each series' own group's time stamp
    TimeInPull,  // "Tiempo desde el inicio del tirón (s)": the same, each pull starting at 0
};

// The pulls whose rows a curve is drawn over: every row ("Todos"), or the rows of the pulls listed
// (indices into AnalysisLog::result().pulls; none listed: no rows at all).
struct PullChoice {
    bool all = true;
    std::vector<int> pulls;
    bool none() const { return !all && pulls.empty(); }
};

// One log as the "Análisis" tab shows it: snapshots of its table and slot times (copies that share
// the rows and the numbers read with the program's, so that what the tab draws stays valid
// whatever then happens to the program's table) and their analysis, the power of its pulls, and
// the curves of its columns and of that power. The log compared with the loaded one is a second
// AnalysisLog.
class AnalysisLog {
public:
    // The list entries that stand for the power of the pulls beside the value columns: "Potencia
    // [CV]" and "Par [Nm]".
    static constexpr int PowerEntry = -2;
    static constexpr int TorqueEntry = -3;
    static bool isPowerEntry(int column) { return column == PowerEntry || column == TorqueEntry; }

    AnalysisLog(const DataTable &table, const DataTable &slotTimes,
                std::vector<LogLayout::ColumnLines> texts, bool newerLayout);

    // Analyses the log again (the rows of the pairs' bins, a pair the user picked).
    void analyse(const Analysis::Options &options);
    // Takes an analysis of this log made elsewhere (the comparison's) instead of making it again.
    void adopt(const Analysis::Result &result, const Analysis::Options &options);
    const Analysis::Result &result() const { return m_result; }
    const Analysis::Options &options() const { return m_options; }
    const DataTable &table() const { return m_table; }
    bool hasEngineSpeed() const { return m_result.rpmColumn != ColumnRoles::None; }

    // The power of every pull with `vehicle` (PowerOfPulls), or one made elsewhere: one result
    // per pull of result(), in its order.
    void computePower(const Vehicle &vehicle);
    void setPower(std::vector<PullPower::Result> power);
    const std::vector<PullPower::Result> &power() const { return m_power; }

    // The value columns (every column but the "Tiempo" ones), as list entries.
    int valueColumnCount() const;
    static int valueColumn(int entry);
    static int entryOf(int column); // -1 for a column that holds no values
    // A value column's full name ("Columna 15" for one without), unit, both together ("Boost
    // Pressure (actual) [mbar]") and colour; of a power entry "Potencia" or "Par", "CV" or "Nm".
    QString name(int column) const;
    QString unit(int column) const;
    QString label(int column) const;
    static QColor color(int column);

    // The value column of this log that stands for column `column` of `other`: the one of the
    // same full name and unit ("hPa" being "mbar"), that same column when it is one of them, else
    // the first; ColumnRoles::None when there is none. A power entry stands for itself.
    int columnFor(const AnalysisLog &other, int column) const;

    // Reads in one walk the cells that the curves of `columns` against `axis` need.
    void prepare(const std::vector<int> &columns, AnalysisAxis axis) const;
    // The curve of a value column or a power entry against `axis`, over the rows of `pulls`
    // ("Todos": every row; on "Tiempo desde el inicio del tirón" the rows of every pull). The power
    // is drawn against the fitted engine speed, or the time stamps of the engine speed.
    AnalysisCurve curve(int column, AnalysisAxis axis, const PullChoice &pulls) const;

    // The time stamp of row `row`'s engine speed as the table shows it, "" without one.
    QString speedTime(int row) const;

private:
    Pulls::Numbers numbers(const DataTable &table, int cell) const;
    Analysis::TimeCell timeCell(int column) const;
    double pullStart(const Pulls::Pull &pull) const;
    AnalysisCurve powerCurve(int entry, AnalysisAxis axis, const PullChoice &pulls) const;

    DataTable m_table;
    DataTable m_slotTimes;
    std::vector<LogLayout::ColumnLines> m_texts;
    bool m_newerLayout;
    Analysis::Options m_options;
    Analysis::Result m_result;

    // The power of the pulls, and its points one after the other as columns of numbers for the
    // curves: pull k's are entries m_powerFirst[k] to m_powerFirst[k + 1] - 1 (none without a
    // curve); the time is that of the engine speed's own group, NaN where the row has none.
    std::vector<PullPower::Result> m_power;
    std::vector<int> m_powerFirst;
    std::vector<double> m_powerRpm, m_powerCv, m_powerNm, m_powerTime;
};
