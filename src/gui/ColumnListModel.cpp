#include "gui/ColumnListModel.h"

#include "gui/AnalysisLog.h"

ColumnListModel::ColumnListModel(bool checkable, QObject *parent)
    : QAbstractListModel(parent), m_checkable(checkable)
{
}

namespace {

constexpr int PowerEntries[] = {AnalysisLog::PowerEntry, AnalysisLog::TorqueEntry};
constexpr int PowerRows = int(sizeof PowerEntries / sizeof PowerEntries[0]);

} // namespace

void ColumnListModel::setLog(const AnalysisLog *log, const std::vector<int> &ticked, bool withPower)
{
    beginResetModel();
    m_log = log;
    m_powerRows = log && withPower ? PowerRows : 0;
    m_ticked.assign(size_t(log ? m_powerRows + log->valueColumnCount() : 0), 0);
    for (int column : ticked) {
        const int r = row(column);
        if (r >= 0 && size_t(r) < m_ticked.size())
            m_ticked[size_t(r)] = 1;
    }
    endResetModel();
}

std::vector<int> ColumnListModel::ticked() const
{
    std::vector<int> columns;
    for (size_t r = 0; r < m_ticked.size(); ++r)
        if (m_ticked[r])
            columns.push_back(column(int(r)));
    return columns;
}

int ColumnListModel::column(int row) const
{
    return row < m_powerRows ? PowerEntries[row] : AnalysisLog::valueColumn(row - m_powerRows);
}

int ColumnListModel::row(int column) const
{
    for (int r = 0; r < m_powerRows; ++r)
        if (PowerEntries[r] == column)
            return r;
    const int entry = AnalysisLog::entryOf(column);
    return entry < 0 ? -1 : m_powerRows + entry;
}

int ColumnListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_ticked.size());
}

QVariant ColumnListModel::data(const QModelIndex &index, int role) const
{
    if (!m_log || !checkIndex(index, CheckIndexOption::IndexIsValid))
        return QVariant();
    const int c = column(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return m_log->label(c);
    case Qt::DecorationRole:
        return m_checkable ? QVariant(AnalysisLog::color(c)) : QVariant();
    case Qt::CheckStateRole:
        if (!m_checkable)
            return QVariant();
        return m_ticked[size_t(index.row())] ? Qt::Checked : Qt::Unchecked;
    case Qt::UserRole:
        return c;
    default:
        return QVariant();
    }
}

bool ColumnListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!m_checkable || role != Qt::CheckStateRole ||
        !checkIndex(index, CheckIndexOption::IndexIsValid))
        return false;
    const uint8_t ticked = value.value<Qt::CheckState>() == Qt::Checked;
    if (m_ticked[size_t(index.row())] == ticked)
        return true;
    m_ticked[size_t(index.row())] = ticked;
    emit dataChanged(index, index, {Qt::CheckStateRole});
    emit tickedChanged();
    return true;
}

Qt::ItemFlags ColumnListModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags flags = QAbstractListModel::flags(index);
    if (m_checkable && index.isValid())
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}
