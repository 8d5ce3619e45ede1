#pragma once

#include <QAbstractTableModel>

#include <vector>

class DataTable;

// The data table as a Qt table model, for ListDatos: column k shows cell k of every row, with
// the column's header (with its full name and unit as its tooltip) and text colour. It reads the
// table it is given; whoever changes the table calls the begin/end pairs below.
//
// A table of more than a batch of rows is shown a batch at a time, the next one as the list is
// scrolled to its end (Qt's fetchMore), as big tables are in Qt's own item views: the list keeps
// 8 bytes for every row it shows, a million-row log 8 MB.
class DataTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit DataTableModel(const DataTable *table, QObject *parent = nullptr);

    void setTable(const DataTable *table); // resets the model
    // The tooltip of each column's header (a column past them has none).
    void setHeaderTips(std::vector<QString> tips);

    static constexpr int Batch = 200000;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    void beginReset() { beginResetModel(); }
    void endReset();
    void beginRemoveRow(int row); // 1-based
    void endRemoveRow();
    void colorsChanged();

private:
    const DataTable *m_table;
    int m_shown = 0;         // the rows the list has been given
    bool m_removing = false; // a row it shows is being removed
    std::vector<QString> m_headerTips;
};
