#include "gui/PullListModel.h"

#include "core/AnalysisTexts.h"
#include "gui/AnalysisLog.h"

PullListModel::PullListModel(QObject *parent) : QAbstractListModel(parent) {}

void PullListModel::setLog(const AnalysisLog *log, const AnalysisLog *second)
{
    beginResetModel();
    m_log = log;
    m_second = log ? second : nullptr;
    m_pulls = log ? int(log->result().pulls.size()) : 0;
    m_secondPulls = m_second ? int(m_second->result().pulls.size()) : 0;
    endResetModel();
}

PullListModel::Entry PullListModel::entry(int row) const
{
    if (row < 1 || row > m_pulls + m_secondPulls)
        return {};
    return row <= m_pulls ? Entry{0, row - 1} : Entry{1, row - 1 - m_pulls};
}

int PullListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 1 + m_pulls + m_secondPulls;
}

QVariant PullListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid) ||
        (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return QVariant();
    const Entry e = entry(index.row());
    if (e.log < 0)
        return QStringLiteral("Todos");
    const Pulls::Pull &pull = (e.log == 0 ? m_log : m_second)->result().pulls[size_t(e.pull)];
    const QString text =
        AnalysisTexts::pull(e.pull + 1, pull.rpmFrom, pull.rpmTo, pull.seconds, pull.rows());
    return e.log == 0 ? text : QStringLiteral("B · ") + text;
}
