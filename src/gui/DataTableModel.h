#pragma once

#include <QAbstractTableModel>

#include <vector>

class DataTable;

// The data table as a Qt table model, for ListDatos: column k shows cell k of every row, with
// the column's header (with its full name and unit as its tooltip) and text colour. It reads the
// table it is given; whoever changes the table calls the begin/end pairs below.
class DataTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit DataTableModel(const DataTable *table, QObject *parent = nullptr);

    void setTable(const DataTable *table); // resets the model
    // The tooltip of each column's header (a column past them has none).
    void setHeaderTips(std::vector<QString> tips);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    void beginReset() { beginResetModel(); }
    void endReset() { endResetModel(); }
    void beginRemoveRow(int row) { beginRemoveRows(QModelIndex(), row - 1, row - 1); } // 1-based
    void endRemoveRow() { endRemoveRows(); }
    void colorsChanged();

private:
    const DataTable *m_table;
    std::vector<QString> m_headerTips;
};
