#pragma once

#include "core/SpecifiedActual.h"

#include <QAbstractTableModel>

#include <optional>
#include <vector>

// One specified-against-actual pair as a table by engine speed: "Régimen", "Filas",
// "Especificado", "Real", "Diferencia" and "Peor", the unit under each title but "Filas" (the
// pair's for the last four). Means are written as the table writes numbers (decimal comma), with
// the decimals the size of the specified values asks for; a bin whose mean difference is more than
// 5 % under its mean specified value is shaded red, more than 5 % over it blue.
//
// With the same pair of a second log the table has a column per log for each figure but "Peor",
// side by side under one title ("Real" over "A" and "B": the title in GroupRole, the letter as
// the column's header), over the bins of either log (a bin that one log lacks leaves its cells
// empty). Then only the "Diferencia" cells are shaded, each by its own log's bin, and "Peor" is
// their tooltip: two columns more would not fit beside the chart.
class PairTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Speed, Rows, Specified, Actual, Difference, Worst, ColumnCount };
    static constexpr int GroupRole = Qt::UserRole; // of the header: a compared column's title

    explicit PairTableModel(const SpecifiedActual::Pair &pair, QObject *parent = nullptr);
    PairTableModel(const SpecifiedActual::Pair &pair, const SpecifiedActual::Pair &second,
                   QObject *parent = nullptr);

    static QColor shadeColor(int shade); // -1 red, +1 blue, 0 none

    bool compared() const { return m_compared; }
    // What a table column shows (one of Column) and of which log (0 the first, 1 the second).
    Column measure(int column) const;
    int logOf(int column) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    void takeDecimals(const std::vector<SpecifiedActual::Bin> &bins);

    SpecifiedActual::Pair m_pair;
    bool m_compared = false;
    // By table row: the engine speed and each log's bin there, if it has one.
    struct Row {
        double rpm = 0;
        std::optional<SpecifiedActual::Bin> bins[2];
    };
    std::vector<Row> m_rows;
    int m_decimals = 1;
};
