#pragma once

#include "core/ChartModel.h"
#include "core/DataTable.h"
#include "core/LogLayout.h"
#include "core/LogReader.h"
#include "core/ProgramName.h"
#include "core/Stats.h"
#include "program/ComparisonLog.h"

#include <QColor>
#include <QObject>
#include <QString>

#include <array>
#include <functional>
#include <initializer_list>
#include <vector>

enum class EngineType { Diesel, Gasolina, Ninguno };

enum StatLabel { LbMaxPico, LbTimeCarga, Label1, LbMaxN75, LbMEGR, StatLabelCount };

enum class MessageKind { Plain, Question, Warning };

// What Ondalyx knows, without any widget: the program-wide variables, the data table, the main
// chart and the state of every control the program's procedures read or write, with those
// procedures as its methods.
//
// Setters keep the rule of the controls they stand for: a change of a series box, of the power
// curve box or of the engine type runs that control's handler at once, inside the setter; setting
// the value it already has runs nothing. The forms forward the user's actions to these setters
// and mirror the signals back into their widgets (without re-entering).
//
// The procedures live in files named after their modules: Loader.cpp (start-up, the open
// command, reading a log, row deletion), Graficas.cpp (series, colours, reset), EngineSelection.cpp
// (the engine type options), StatsRun.cpp (the statistics run) and PowerSteps.cpp (the power
// curve box).
class AppState : public QObject {
    Q_OBJECT
public:
    static constexpr int BoxCount = LogLayout::BoxCount;
    // The window caption before the log title.
    static QString captionPrefix() { return programName() + QStringLiteral("  v1 -  "); }

    struct Box {
        QString caption = QStringLiteral("Check1");
        bool visible = false; // the box and its colour button
        QColor color;         // the box's text colour: the series colour
        bool ticked = false;
    };

    explicit AppState(QObject *parent = nullptr);

    // ---- program-wide variables ----
    QString LogTitle;
    QString LogHeader;
    bool HasGroup003 = false;
    bool HasGroup011 = false;
    bool HasGroup002 = false;
    bool HasGroup115 = false;
    // The measuring group (0 A, 1 B, 2 C; -1 not found) each of these groups stands in: the diesel
    // figures and the default series follow groups 003 and 011 (002 and 115) wherever they are.
    LogLayout::Groups groupPlaces;
    std::array<bool, BoxCount> SlotFree{}; // index 0 unused
    int SeriesCount = 0;
    int CurrentSlot = 0;

    DataTable table;  // ListDatos
    ChartModel chart; // Chart1

    // What the analysis reads beside the table, from the same session: the texts of lines 5-7
    // over each column, the newer layout's own time stamp of every slot (one row per table row,
    // empty for a classic log) and whether the log is in the newer layout.
    std::vector<LogLayout::ColumnLines> columnLines;
    DataTable slotTimes;
    bool newerLayout = false;

    // A second log to compare with this one ("Comparar con…"); every load of a log or session
    // drops it.
    ComparisonLog comparison;

    // ---- controls ----
    const Box &box(int k) const { return m_boxes[size_t(k)]; }
    // Ticks or unticks Check1(k); a change runs the box's click (adds or removes its series).
    void setBoxTicked(int k, bool ticked);
    void setBoxColor(int k, const QColor &color);
    void setBoxCaption(int k, const QString &caption);
    void setBoxVisible(int k, bool visible);
    static QColor defaultBoxColor(int k);

    EngineType engine() const { return m_engine; }
    // Selects an option button; a change of selection runs that option's handling.
    void selectEngine(EngineType type);

    bool chcvEnabled() const { return m_chcvEnabled; }
    void setChCVEnabled(bool enabled);
    bool chcvTicked() const { return m_chcvTicked; }
    // Ticks or unticks ChCV "Grafica Potencia"; a change runs its click (the power curve).
    void setChCVTicked(bool ticked);

    QString label(StatLabel which) const { return m_labels[size_t(which)]; }
    void setLabel(StatLabel which, const QString &text);

    QString txtAtmo() const { return m_txtAtmo; }
    // Every change of the text runs the statistics.
    void setTxtAtmo(const QString &text);

    QString caption() const { return m_caption; }
    void setCaption(const QString &caption);

    // ---- start-up, the open command and the log (Loader.cpp) ----
    // Start-up: SeriesCount preset to 3 and ResetChart; with a non-empty argument text the rows
    // are removed, File and Loader (on session `session` of the file) run and the statistics
    // run. Returns false when the log could not be read (the message has been shown).
    bool FormLoad(const QString &argumentText, int session = 1);
    // The open command once its dialog has closed: ResetChart always; with a chosen file the
    // rows are removed, LogTitle becomes `fileName`, Loader runs on session `session` of `path`,
    // the statistics run. An empty `path` means the user cancelled.
    bool OpenChosen(const QString &path, const QString &fileName, int session = 1);
    // LogTitle from a path: the last piece after "\" or "/", every "." shown as a space.
    void File(const QString &path);
    // Reads session `session` of the log at `path` into the table and the controls, then
    // chooses the engine type. On a file that cannot be read, shows the message and returns
    // false, leaving the table as it was.
    bool Loader(const QString &path, int session = 1);
    // The sessions of the open log file (empty when none is open) and the one loaded (1-based).
    const std::vector<LogSession> &sessions() const { return m_sessions; }
    int currentSession() const { return m_session; }
    // "Sesiones": loads session `session` of the open file as the open command loads a file:
    // ResetChart, the rows removed, Loader and the statistics. LogTitle stays the file's.
    bool OpenSession(int session);
    // "Borrar Linea": removes row `row` (1-based; 0 or out of range does nothing), re-ticks every
    // ticked box and runs the statistics.
    void DeleteRow(int row);

    // ---- the chart (Graficas.cpp) ----
    // Adds column `index` of the table as a new series in the first free slot, over `rows` rows.
    void AddSeries(int index, int rows, int r, int g, int b);
    // Drops every series, paints column `index` black and plots the still-ticked boxes again.
    void RemoveSeries(int index);
    // Adds one series for every ticked box, in box order.
    void PlotChecked();
    // Returns the whole chart view to its empty state (boxes and ChCV unticked, "Ninguno", empty
    // statistics labels, no series, no title, black table text, all slots free).
    void ResetChart();
    // Paints the text of one table column; shows a message when there is no such column.
    void ColorColumn(int r, int g, int b, int column);
    // Unticks every series box, then ticks `boxes` in their order; each change runs its click.
    void tickOnly(std::initializer_list<int> boxes);
    // A colour chosen for box k in the colour dialog: the box takes it and is unticked and
    // ticked again, so its series returns in that colour as the last series.
    void ColorChosen(int k, const QColor &color);

    // ---- the statistics (StatsRun.cpp) ----
    // With "Diesel" selected the five figures are written to their labels, in the order
    // LbMaxPico, LbTimeCarga, Label1, LbMaxN75, LbMEGR; otherwise nothing happens.
    void CalcStats();

    // Shows a message to the user (a message box in the window; collected in the report).
    std::function<void(const QString &text, MessageKind kind)> showMessage;
    void message(const QString &text, MessageKind kind);

signals:
    void boxChanged(int k); // caption, visibility, colour or ticked state of box k
    void engineChanged();
    void chcvChanged();           // enabled or ticked
    void labelChanged(int which); // StatLabel
    void txtAtmoChanged();
    void captionChanged();
    void sessionsChanged();   // another file or session was read, or none could be
    void tableAboutToReset(); // rows or columns are about to be replaced wholesale
    void tableReset();
    void rowAboutToBeRemoved(int row); // 1-based
    void rowRemoved(int row);
    void columnColorsChanged();

private:
    // Handlers run by the setters (Graficas.cpp, EngineSelection.cpp, PowerSteps.cpp).
    void BoxClicked(int index);
    void DieselSelected();
    void GasolinaSelected();
    void NingunoSelected();
    void ChCVClicked();

    // The log read by Loader becomes the program's (Loader.cpp).
    void takeLog(LogFile &log);
    void chooseEngine();
    // Wholesale table changes go through these so that views follow.
    void clearRows();
    void replaceTable(DataTable table);

    std::array<Box, BoxCount> m_boxes;
    EngineType m_engine = EngineType::Ninguno;
    bool m_chcvEnabled = false;
    bool m_chcvTicked = false;
    std::array<QString, StatLabelCount> m_labels;
    QString m_txtAtmo = QStringLiteral("950");
    QString m_caption = captionPrefix();
    QString m_logPath; // the file the sessions belong to
    std::vector<LogSession> m_sessions;
    int m_session = 0;
    // The figures of the last statistics run: they depend on the rows alone, so they stand until
    // the rows change (start-up runs the statistics twice, every key in TxtAtmo once).
    struct StatsRun {
        bool valid = false;
        Stats::Figures figures;
    } m_stats;
};
