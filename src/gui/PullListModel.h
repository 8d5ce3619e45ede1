#pragma once

#include <QAbstractListModel>

class AnalysisLog;

// The tab's list of pulls: "Todos", then one entry per pull of the log ("Tirón 2: 1.850-4.210
// rpm, 6,4 s, 7 filas"), each text made when it is shown. List row 0 is "Todos", row k pull k.
class PullListModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit PullListModel(QObject *parent = nullptr);

    void setLog(const AnalysisLog *log); // null: "Todos" alone

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    const AnalysisLog *m_log = nullptr;
    int m_pulls = 0;
};
