#pragma once

#include "core/Analysis.h"
#include "core/DataTable.h"
#include "core/LogLayout.h"
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

// One log as the "Análisis" tab shows it: snapshots of its table and slot times (copies that share
// the rows and the numbers read with the program's, so that what the tab draws stays valid
// whatever then happens to the program's table) and their analysis, and the curves of its columns.
// A second log beside the first would be a second AnalysisLog.
class AnalysisLog {
public:
    AnalysisLog(const DataTable &table, const DataTable &slotTimes,
                std::vector<LogLayout::ColumnLines> texts, bool newerLayout);

    // Analyses the log again (the rows of the pairs' bins, a pair the user picked).
    void analyse(const Analysis::Options &options);
    const Analysis::Result &result() const { return m_result; }
    const Analysis::Options &options() const { return m_options; }
    const DataTable &table() const { return m_table; }
    bool hasEngineSpeed() const { return m_result.rpmColumn != ColumnRoles::None; }

    // The value columns (every column but the "Tiempo" ones), as list entries.
    int valueColumnCount() const;
    static int valueColumn(int entry);
    static int entryOf(int column); // -1 for a column that holds no values
    // A value column's full name ("Columna 15" for one without), unit, both together ("Boost
    // Pressure (actual) [mbar]") and colour.
    QString name(int column) const;
    QString unit(int column) const;
    QString label(int column) const;
    static QColor color(int column);

    // Reads in one walk the cells that the curves of `columns` against `axis` need.
    void prepare(const std::vector<int> &columns, AnalysisAxis axis) const;
    // The curve of a value column against `axis`, over the rows of pull `pull` (an index into
    // result().pulls) or, when -1, every row ("Todos"; on "Tiempo desde el inicio del tirón" the
    // rows of every pull).
    AnalysisCurve curve(int column, AnalysisAxis axis, int pull) const;

    // The time stamp of row `row`'s engine speed as the table shows it, "" without one.
    QString speedTime(int row) const;

private:
    Pulls::Numbers numbers(const DataTable &table, int cell) const;
    Analysis::TimeCell timeCell(int column) const;
    double pullStart(const Pulls::Pull &pull) const;

    DataTable m_table;
    DataTable m_slotTimes;
    std::vector<LogLayout::ColumnLines> m_texts;
    bool m_newerLayout;
    Analysis::Options m_options;
    Analysis::Result m_result;
};
