#include "gui/PullListModel.h"

#include "core/AnalysisTexts.h"
#include "gui/AnalysisLog.h"

PullListModel::PullListModel(QObject *parent) : QAbstractListModel(parent) {}

void PullListModel::setLog(const AnalysisLog *log)
{
    beginResetModel();
    m_log = log;
    m_pulls = log ? int(log->result().pulls.size()) : 0;
    endResetModel();
}

int PullListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 1 + m_pulls;
}

QVariant PullListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid) ||
        (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return QVariant();
    if (index.row() == 0)
        return QStringLiteral("Todos");
    const Pulls::Pull &pull = m_log->result().pulls[size_t(index.row() - 1)];
    return AnalysisTexts::pull(index.row(), pull.rpmFrom, pull.rpmTo, pull.seconds, pull.rows());
}
