#pragma once

#include <QAbstractListModel>

class AnalysisLog;

// The tab's list of pulls: "Todos", then one entry per pull of the log ("Tirón 2: 1.850-4.210
// rpm, 6,4 s, 7 filas") and, when a second log is compared, one per pull of that log after them
// ("B · Tirón 1: …"), each text made when it is shown. List row 0 is "Todos", row k the first
// log's pull k, and the second log's pulls follow.
class PullListModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit PullListModel(QObject *parent = nullptr);

    // `log` null: "Todos" alone; `second` null: no second log.
    void setLog(const AnalysisLog *log, const AnalysisLog *second = nullptr);

    // The pulls of a list row: which log (0 the first, 1 the second; -1 for "Todos") and the index
    // of the pull in its analysis.
    struct Entry {
        int log = -1;
        int pull = -1;
    };
    Entry entry(int row) const;
    int firstCount() const { return m_pulls; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    const AnalysisLog *m_log = nullptr;
    const AnalysisLog *m_second = nullptr;
    int m_pulls = 0;
    int m_secondPulls = 0;
};
