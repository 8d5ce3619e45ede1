#pragma once

#include "core/Analysis.h"
#include "core/Vehicle.h"
#include "gui/AnalysisLog.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class AnalysisChart;
class AnalysisPairs;
class AnalysisPower;
class AppState;
class ColumnListModel;
class LeftOutModel;
class PullListModel;
class QComboBox;
class QLabel;
class QListView;
class QPushButton;
class QTableView;
class QTabWidget;

// The "Análisis" tab: what a tuner reads from the loaded log. On the left the x axis ("Eje X"),
// the pulls ("Tirones"), the series (the power of the pulls first), "Vehículo…" and the log
// compared with this one ("Comparar con…", "Quitar comparación", its "Sesión"); on the right the
// chart (AnalysisChart) with its read-out and, under it, the specified-against-actual tables
// (AnalysisPairs), the power of the pulls (AnalysisPower) and "¿Por qué no?" (the rows in no pull,
// LeftOutModel).
//
// It follows the program's table: a load, a session or a row deleted makes what it shows stale,
// and it analyses the log again (an AnalysisLog, a snapshot of the table) when it is shown, or at
// once, when the event loop comes round, while it is shown. Until it is first shown it has built
// nothing and done no work. A row deleted keeps the user's choices; another log brings back the
// defaults. The second log is the program's (AppState::comparison), which every load drops: the
// tab shows a snapshot of it beside the first, its pulls after the first log's and its curves
// dashed, in the colours of the first log's.
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
    // The second log as shown; null when none is compared.
    const AnalysisLog *comparison() const { return m_compare.get(); }
    AnalysisChart *chart() const { return m_chart; }
    AnalysisPower *powerPage() const { return m_power; }
    // The vehicle of the power of the pulls (kept between runs; read when the tab is first shown).
    const Vehicle &vehicle() const { return m_vehicle; }
    // As "Aceptar" in "Vehículo…" does: keeps `vehicle` and computes the power of both logs again.
    void setVehicle(const Vehicle &vehicle);

    // The open dialog of "Comparar con…" can be replaced (scripted runs, tests): the chooser
    // returns the chosen path, or an empty text on cancel.
    using FileChooser = std::function<QString()>;
    void setFileChooser(FileChooser chooser) { m_fileChooser = std::move(chooser); }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void build();
    QWidget *buildControls();
    QWidget *buildComparison();
    QWidget *buildLeftOut();
    void wire();
    void followState();

    void release();
    void changed();
    void refresh();
    void showAxes(AnalysisAxis keep);
    void showLeftOut();
    void showPulls();
    void showPower();
    void redraw();
    void reanalyse();
    AnalysisAxis axis() const;
    int pull() const;
    void chosenPulls(PullChoice &first, PullChoice &second) const;
    std::vector<int> defaultSeries() const;
    void addCurves(std::vector<AnalysisCurve> &curves, const AnalysisLog &log, bool second,
                   AnalysisAxis axis, const PullChoice &pulls) const;

    void chooseVehicle();
    void chooseComparison();
    void chooseComparisonSession(int session);
    Analysis::Options comparisonOptions() const;
    void comparisonChanged();
    void showComparison();

    AppState &m_state;
    std::unique_ptr<AnalysisLog> m_log;
    std::unique_ptr<AnalysisLog> m_compare; // the second log, while one is compared
    bool m_built = false;
    bool m_stale = true;
    bool m_newLog = true; // the next analysis is of another log: the defaults come back
    bool m_queued = false;
    Analysis::Options m_options; // the user's, kept through a row deletion
    std::vector<int> m_series;   // the ticked series, kept through a row deletion
    Vehicle m_vehicle;
    FileChooser m_fileChooser;
    // What the tab asked the second log to compute again, while it does: its bins or its power
    // only, or anything (a log read or dropped).
    enum class ComparisonUpdate { All, Bins, Power };
    ComparisonUpdate m_comparisonUpdate = ComparisonUpdate::All;

    QComboBox *m_axis = nullptr;
    QLabel *m_noSpeed = nullptr;
    QListView *m_pulls = nullptr;
    QListView *m_seriesList = nullptr;
    QPushButton *m_vehicleButton = nullptr;
    QPushButton *m_compareButton = nullptr;
    QPushButton *m_removeCompare = nullptr;
    QLabel *m_compareName = nullptr;
    QWidget *m_sessionRow = nullptr;
    QComboBox *m_compareSession = nullptr;
    AnalysisChart *m_chart = nullptr;
    QTabWidget *m_details = nullptr;
    AnalysisPairs *m_pairs = nullptr;
    AnalysisPower *m_power = nullptr;
    QLabel *m_rate = nullptr;
    QLabel *m_fewSamples = nullptr;
    QTableView *m_leftOut = nullptr;
    PullListModel *m_pullModel = nullptr;
    ColumnListModel *m_seriesModel = nullptr;
    LeftOutModel *m_leftOutModel = nullptr;
};
