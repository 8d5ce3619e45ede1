#pragma once

#include "core/DataTable.h"

#include <QColor>
#include <QObject>
#include <QString>

#include <cstdint>
#include <string>
#include <vector>

// The chart's data: a grid of rows (categories, in order) by series (numbered from 1), each
// series drawn across the rows. Values are numbers; a point with no value (NaN) is a gap. The
// model keeps one number array per series and never text to read again; the view draws it.
//
// Changing the series count or the row count keeps what remains (labels, values, row labels).
//
// Values and row labels taken from the data table are read when first needed (drawn or asked
// for), from a snapshot of the table as it was when they were set: a chart nobody draws costs no
// reading.
class ChartModel : public QObject {
    Q_OBJECT
public:
    explicit ChartModel(QObject *parent = nullptr);

    // Where a series' values come from when they are exactly the numbers of one cell of a table
    // (read as setSeriesValuesFromTable reads them into a series without values): rows 1..count
    // of the table's rows as they were (DataTable::rowsId), gaps up to size. Series of the same
    // origin hold the same values, in any chart model; rows == 0 stands for values of their own
    // (set one by one or whole, or read over values the series had).
    struct Origin {
        uint64_t rows = 0;
        int cell = 0;
        int count = 0;
        int size = 0;
        bool operator==(const Origin &o) const
        {
            return rows == o.rows && cell == o.cell && count == o.count && size == o.size;
        }
        bool operator!=(const Origin &o) const { return !(*this == o); }
    };

    struct Series {
        QString label;
        QColor color = Qt::black;
        std::vector<double> values; // rowCount() entries, NaN = no value
        int box = -1;               // the series box it was built from, -1 for none
        uint64_t revision = 0;      // raised on every change of values or colour
        Origin origin;
    };

    // The values of a series, read where they lie: valid until the model changes.
    struct ValuesView {
        const double *data = nullptr;
        size_t size = 0;
    };

    int seriesCount() const { return int(m_series.size()); }
    int rowCount() const { return m_rows; }
    void setSeriesCount(int count);
    void setRowCount(int count);

    // Series are addressed 1..seriesCount(); out-of-range addresses do nothing and read empty.
    // series(s) makes the series' values (reading them from the table when they came from it);
    // seriesInfo(s) leaves them as they are, made or not (its values may be empty).
    const Series &series(int s) const;
    const Series &seriesInfo(int s) const;
    // The values of series s (rowCount() of them): a series that is one cell of a table, of
    // plain numbers in every row, is read in the table's own numbers, without a copy; any other
    // series is made as series(s) makes it.
    ValuesView values(int s) const;
    void setSeriesLabel(int s, const QString &label);
    QString seriesLabel(int s) const;
    void setSeriesBox(int s, int box);
    int seriesBox(int s) const; // -1 for none
    void setSeriesColor(int s, const QColor &color);
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
    // Values still to be read from a table snapshot, per series.
    struct PendingValues {
        bool pending = false;
        DataTable table;
        int cell = 0;
        int rows = 0; // the row count when they were set
    };
    // A series' values are made when first needed: until then a series is all gaps.
    std::vector<double> &madeValues(int s) const;
    void readPending(int s) const;
    void readPendingNumbers(const PendingValues &pending) const;

    mutable std::vector<Series> m_series;
    mutable std::vector<PendingValues> m_pending;
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
