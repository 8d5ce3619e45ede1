#pragma once

#include "core/DataTable.h"

#include <QColor>
#include <QObject>
#include <QString>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

// The chart's data: a grid of rows (categories, in order) by series (numbered from 1), each
// series drawn across the rows. Values are numbers; a point with no value (NaN) is a gap.
//
// A series plotted from the data table holds a snapshot of the table (a copy, which shares the
// rows and the numbers read so far) and reads its values there, in place: row r's value is the
// table's number of its cell in row r (DataTable::numbers), a gap when the cell is missing or no
// number. Values set otherwise (one by one, or a whole series at once) are the series' own.
//
// Changing the series count or the row count keeps what remains (labels, values, row labels).
class ChartModel : public QObject {
    Q_OBJECT
public:
    explicit ChartModel(QObject *parent = nullptr);

    // The values of one series where they lie, for reading many of them in a loop: valid until
    // the model changes. at(i) is row i + 1's value, a gap from `count` on.
    struct Values {
        const double *numbers = nullptr; // NaN for a gap
        size_t count = 0;
        bool finite = false; // every entry is finite or NaN (the cells of a table)
        double at(size_t i) const { return i < count ? numbers[i] : std::nan(""); }
        // The least and the greatest finite value of entries [begin, end); false when there is
        // none.
        bool range(size_t begin, size_t end, double &lowest, double &highest) const;
        // The first of entries [begin, end) that holds `value`, else `end`.
        size_t find(size_t begin, size_t end, double value) const;
    };

    int seriesCount() const { return int(m_series.size()); }
    int rowCount() const { return m_rows; }
    void setSeriesCount(int count);
    void setRowCount(int count);

    // Series are addressed 1..seriesCount(); out-of-range addresses do nothing and read empty.
    Values values(int s) const;
    // Every value of series s, rowCount() of them.
    std::vector<double> seriesValues(int s) const;
    // The least and the greatest value of series s; false when it has none.
    bool valueRange(int s, double &lowest, double &highest) const;
    // Raised on every change of the series' values or colour.
    uint64_t revision(int s) const;

    void setSeriesLabel(int s, const QString &label);
    QString seriesLabel(int s) const;
    void setSeriesBox(int s, int box);
    int seriesBox(int s) const; // -1 for none
    void setSeriesColor(int s, const QColor &color);
    QColor seriesColor(int s) const;
    void setValue(int row, int s, double value);
    // Bulk form: the whole series at once (values.size() must equal rowCount()).
    void setSeriesValues(int s, std::vector<double> values);
    // Every row's value from cell `cell` of the table as it is now, read by the number rules (","
    // as the decimal separator); a cell that is missing or not a number leaves its point as it was.
    void setSeriesValuesFromTable(int s, const DataTable &table, int cell);

    // Series `s` as cell `cell` of the first `rows` rows of `table`, as a series box plots it:
    // with rows, the label, the cell values (read as setSeriesValuesFromTable reads them), the
    // row labels from cell 1 (the engine speed), the label spacing for that many rows and the
    // axis title "RPM"; with or without rows, the colour and the box it stands for.
    void plotColumn(int s, const DataTable &table, int cell, int rows, const QString &label,
                    const QColor &color, int box);
    // The horizontal axis label and tick spacing for `rows` rows: rows / 18 rounded to the
    // nearest integer, a half to the even neighbour; 0 means "keep the previous spacing".
    static int axisSpacingFor(int rows);

    // Row labels: the text of one cell of each table row as it is now.
    void setRowLabelsFromTable(const DataTable &table, int cell);
    QString rowLabel(int row) const; // 1-based; empty beyond what was set
    // Keeps the row labels as text of their own, letting go of the table they came from (called
    // before that table's rows are replaced, so that a big old log is not held in memory).
    void detachRowLabels();

    QString axisTitle() const { return m_axisTitle; }
    void setAxisTitle(const QString &title);
    int labelSpacing() const { return m_labelSpacing; }
    void setLabelSpacing(int rows); // 1 or more; anything else is ignored
    QString title() const { return m_title; }
    void setTitle(const QString &title);
    QString hintText() const { return m_hint; }
    void setHintText(const QString &text);

    void deleteAllSeries();

signals:
    void changed();     // anything drawn changed
    void hintChanged(); // the hint text changed

private:
    struct Series {
        QString label;
        QColor color = Qt::black;
        int box = -1;
        uint64_t revision = 0;
        // The values: none yet (every point a gap), cell `cell` of rows 1..`rows` of `table`, or
        // `own` (rowCount() of them).
        enum class Source { None, Table, Own } source = Source::None;
        DataTable table;
        int cell = 0;
        int rows = 0;
        std::vector<double> own;
        // The least and greatest value, once asked for.
        mutable bool rangeKnown = false;
        mutable bool hasRange = false;
        mutable double lowest = 0;
        mutable double highest = 0;
    };

    Series *find(int s);
    Values valuesOf(const Series &series) const;
    const Series *find(int s) const;
    void valuesChanged(Series &series);
    // Makes the values of `series` its own.
    void ownValues(Series &series);

    std::vector<Series> m_series;
    int m_rows = 0;
    DataTable m_labelTable; // row labels: cell m_labelCell of its rows 1..m_labelRows
    int m_labelCell = 0;
    int m_labelRows = 0;
    std::string m_labelBytes;         // detached row labels, UTF-8, one after another
    std::vector<uint32_t> m_labelEnd; // end offset of each detached row label
    QString m_axisTitle;
    int m_labelSpacing = 1;
    QString m_title;
    QString m_hint;
    uint64_t m_nextRevision = 1;
};
