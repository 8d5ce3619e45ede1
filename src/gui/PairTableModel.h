#pragma once

#include "core/SpecifiedActual.h"

#include <QAbstractTableModel>

// One specified-against-actual pair as a table by engine speed: "Régimen", "Filas",
// "Especificado", "Real", "Diferencia" and "Peor", the unit under each title but "Filas" (the
// pair's for the last four). Means are written as the table writes numbers (decimal comma), with
// the decimals the size of the specified values asks for; a bin whose mean difference is more than
// 5 % under its mean specified value is shaded red, more than 5 % over it blue.
class PairTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Speed, Rows, Specified, Actual, Difference, Worst, ColumnCount };

    explicit PairTableModel(const SpecifiedActual::Pair &pair, QObject *parent = nullptr);

    static QColor shadeColor(int shade); // -1 red, +1 blue, 0 none

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    SpecifiedActual::Pair m_pair;
    int m_decimals = 1;
};
