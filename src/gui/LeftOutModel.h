#pragma once

#include <QAbstractTableModel>

#include <vector>

class AnalysisLog;

// "¿Por qué no?": every row of a log that is in no pull, with its time, engine speed and the one
// reason it is left out ("régimen sin subir", "pausa de 4,2 s"). A long log leaves out nearly all
// of its million rows, so nothing is listed ahead: a list row is turned into its table row from
// the pulls (the rows between them) and read when it is shown.
class LeftOutModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Row, Time, Speed, Reason, ColumnCount };

    explicit LeftOutModel(QObject *parent = nullptr);

    void setLog(const AnalysisLog *log); // null: no rows
    // The table row (from 1) of list row `listRow` (from 0).
    int tableRow(int listRow) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    const AnalysisLog *m_log = nullptr;
    int m_rows = 0;
    // For pull k: the rows left out before it, and the rows of the pulls before it.
    std::vector<int> m_leftOutBefore;
    std::vector<int> m_pullRowsBefore;
};
