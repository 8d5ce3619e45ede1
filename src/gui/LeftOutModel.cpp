#include "gui/LeftOutModel.h"

#include "core/AnalysisTexts.h"
#include "gui/AnalysisLog.h"

#include <algorithm>

LeftOutModel::LeftOutModel(QObject *parent) : QAbstractTableModel(parent) {}

void LeftOutModel::setLog(const AnalysisLog *log)
{
    beginResetModel();
    m_log = log;
    m_leftOutBefore.clear();
    m_pullRowsBefore.clear();
    m_rows = 0;
    if (log) {
        int inPulls = 0;
        for (const Pulls::Pull &pull : log->result().pulls) {
            m_leftOutBefore.push_back(pull.firstRow - 1 - inPulls);
            m_pullRowsBefore.push_back(inPulls);
            inPulls += pull.rows();
        }
        m_rows = log->table().rowCount() - inPulls;
    }
    endResetModel();
}

int LeftOutModel::tableRow(int listRow) const
{
    // The pulls that come before it are those with no more rows left out before them.
    const auto after = std::upper_bound(m_leftOutBefore.begin(), m_leftOutBefore.end(), listRow);
    const size_t pullsBefore = size_t(after - m_leftOutBefore.begin());
    const int inPulls = pullsBefore == 0 ? 0
                                         : m_pullRowsBefore[pullsBefore - 1] +
                                               m_log->result().pulls[pullsBefore - 1].rows();
    return listRow + 1 + inPulls;
}

int LeftOutModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int LeftOutModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant LeftOutModel::data(const QModelIndex &index, int role) const
{
    if (!m_log || !checkIndex(index, CheckIndexOption::IndexIsValid))
        return QVariant();
    if (role == Qt::TextAlignmentRole)
        return int(index.column() == Reason ? Qt::AlignLeft | Qt::AlignVCenter
                                            : Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return QVariant();
    const int row = tableRow(index.row());
    const Analysis::Result &result = m_log->result();
    switch (index.column()) {
    case Row:
        return row;
    case Time:
        return m_log->speedTime(row);
    case Speed:
        return result.rpmColumn < 0 ? QString() : m_log->table().cell(row, result.rpmColumn);
    case Reason:
        if (const std::optional<Pulls::LeftOut> left = result.leftOut(row))
            return AnalysisTexts::reason(left->reason, left->amount);
        return QString();
    default:
        return QVariant();
    }
}

QVariant LeftOutModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Row:
        return QStringLiteral("Fila");
    case Time:
        return QStringLiteral("Tiempo (s)");
    case Speed:
        return QStringLiteral("Régimen (rpm)");
    case Reason:
        return QStringLiteral("Motivo");
    default:
        return QVariant();
    }
}
