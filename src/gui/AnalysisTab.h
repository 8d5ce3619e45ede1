#pragma once

#include "core/Analysis.h"
#include "gui/AnalysisLog.h"

#include <QWidget>

#include <memory>
#include <vector>

class AnalysisChart;
class AnalysisPairs;
class AppState;
class ColumnListModel;
class LeftOutModel;
class PullListModel;
class QComboBox;
class QLabel;
class QListView;
class QTableView;
class QTabWidget;

// The "Análisis" tab: what a tuner reads from the loaded log. On the left the x axis ("Eje X"),
// the pulls ("Tirones") and the series; on the right the chart (AnalysisChart) with its read-out
// and, under it, the specified-against-actual tables (AnalysisPairs) and "¿Por qué no?" (the rows
// in no pull, LeftOutModel).
//
// It follows the program's table: a load, a session or a row deleted makes what it shows stale,
// and it analyses the log again (an AnalysisLog, a snapshot of the table) when it is shown, or at
// once, when the event loop comes round, while it is shown. Until it is first shown it has built
// nothing and done no work. A row deleted keeps the user's choices; another log brings back the
// defaults.
class AnalysisTab : public QWidget {
    Q_OBJECT
public:
    explicit AnalysisTab(AppState &state, QWidget *parent = nullptr);
    ~AnalysisTab() override;

    // Brings the tab up to date with the program's table now, shown or not.
    void updateNow();
    bool isStale() const { return m_stale; }
    // Null until the tab is first shown or brought up to date.
    const AnalysisLog *log() const { return m_log.get(); }
    AnalysisChart *chart() const { return m_chart; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void build();
    QWidget *buildControls();
    QWidget *buildLeftOut();
    void wire();
    void followState();

    void release();
    void changed();
    void refresh();
    void showLog();
    void showAxes(AnalysisAxis keep);
    void showLeftOut();
    void redraw();
    void reanalyse();
    AnalysisAxis axis() const;
    int pull() const;
    std::vector<int> defaultSeries() const;

    AppState &m_state;
    std::unique_ptr<AnalysisLog> m_log;
    bool m_built = false;
    bool m_stale = true;
    bool m_newLog = true; // the next analysis is of another log: the defaults come back
    bool m_queued = false;
    Analysis::Options m_options; // the user's, kept through a row deletion
    std::vector<int> m_series;   // the ticked series, kept through a row deletion

    QComboBox *m_axis = nullptr;
    QLabel *m_noSpeed = nullptr;
    QListView *m_pulls = nullptr;
    QListView *m_seriesList = nullptr;
    AnalysisChart *m_chart = nullptr;
    QTabWidget *m_details = nullptr;
    AnalysisPairs *m_pairs = nullptr;
    QLabel *m_rate = nullptr;
    QLabel *m_fewSamples = nullptr;
    QTableView *m_leftOut = nullptr;
    PullListModel *m_pullModel = nullptr;
    ColumnListModel *m_seriesModel = nullptr;
    LeftOutModel *m_leftOutModel = nullptr;
};
