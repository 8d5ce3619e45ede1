#include "gui/DataTableModel.h"

#include "core/DataTable.h"

#include <QBrush>

#include <algorithm>

DataTableModel::DataTableModel(const DataTable *table, QObject *parent)
    : QAbstractTableModel(parent), m_table(table)
{
    m_shown = m_table ? std::min(m_table->rowCount(), Batch) : 0;
}

void DataTableModel::setTable(const DataTable *table)
{
    beginResetModel();
    m_table = table;
    endReset();
}

void DataTableModel::endReset()
{
    m_shown = m_table ? std::min(m_table->rowCount(), Batch) : 0;
    endResetModel();
}

void DataTableModel::beginRemoveRow(int row)
{
    m_removing = row >= 1 && row <= m_shown;
    if (m_removing)
        beginRemoveRows(QModelIndex(), row - 1, row - 1);
}

void DataTableModel::endRemoveRow()
{
    if (!m_removing)
        return;
    --m_shown;
    m_removing = false;
    endRemoveRows();
}

bool DataTableModel::canFetchMore(const QModelIndex &parent) const
{
    return m_table && !parent.isValid() && m_shown < m_table->rowCount();
}

void DataTableModel::fetchMore(const QModelIndex &parent)
{
    if (!canFetchMore(parent))
        return;
    const int more = std::min(Batch, m_table->rowCount() - m_shown);
    beginInsertRows(QModelIndex(), m_shown, m_shown + more - 1);
    m_shown += more;
    endInsertRows();
}

void DataTableModel::setHeaderTips(std::vector<QString> tips)
{
    m_headerTips = std::move(tips);
    if (columnCount() > 0)
        emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

int DataTableModel::rowCount(const QModelIndex &parent) const
{
    return m_table && !parent.isValid() ? m_shown : 0;
}

int DataTableModel::columnCount(const QModelIndex &parent) const
{
    return m_table && !parent.isValid() ? m_table->columnCount() : 0;
}

QVariant DataTableModel::data(const QModelIndex &index, int role) const
{
    if (!m_table || !checkIndex(index, CheckIndexOption::IndexIsValid))
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
        return m_table->cell(index.row() + 1, index.column());
    case Qt::ForegroundRole:
        return QBrush(m_table->cellColor(index.row() + 1, index.column()));
    default:
        return QVariant();
    }
}

QVariant DataTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal) {
        if (!m_table || section < 0 || section >= m_table->columnCount())
            return QVariant();
        if (role == Qt::ToolTipRole)
            return size_t(section) < m_headerTips.size() ? m_headerTips[size_t(section)]
                                                         : QString();
        if (role != Qt::DisplayRole)
            return QVariant();
        return m_table->column(section).header;
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

void DataTableModel::colorsChanged()
{
    const int rows = rowCount();
    const int columns = columnCount();
    if (rows > 0 && columns > 0)
        emit dataChanged(index(0, 0), index(rows - 1, columns - 1), {Qt::ForegroundRole});
}
