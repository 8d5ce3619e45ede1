#pragma once

#include <QWidget>

class AnalysisLog;
class ColumnListModel;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QVBoxLayout;

// The "Especificado y real" page of the "Análisis" tab: the box "Solo tirones" (the pairs' bins
// over the rows of the pulls, else over every row), two column choosers and a button that make
// any two columns a pair, and one table by engine speed per pair (PairTableModel), each under
// its columns' names and unit. With a second log compared, a pair that both logs have gets a
// column per log (see PairTableModel). It shows what its logs hold; what the user changes goes out
// as a signal, and the tab analyses the log again.
class AnalysisPairs : public QWidget {
    Q_OBJECT
public:
    explicit AnalysisPairs(QWidget *parent = nullptr);

    // Shows the pairs of `log` (none when null) beside those of `second` that stand for them
    // (SpecifiedActual::matchPairs), and offers the value columns of `log` in the choosers.
    void setLog(const AnalysisLog *log, const AnalysisLog *second = nullptr);

signals:
    void onlyPullsChanged(bool onlyPulls);
    void pairChosen(int specified, int actual);

private:
    void build();
    void wire();
    void showTables(const AnalysisLog *log, const AnalysisLog *second);

    QCheckBox *m_onlyPulls = nullptr;
    QComboBox *m_specified = nullptr;
    QComboBox *m_actual = nullptr;
    QPushButton *m_add = nullptr;
    ColumnListModel *m_columns = nullptr;
    QWidget *m_tables = nullptr; // the titles and tables, in a scroll area
    QVBoxLayout *m_tablesLayout = nullptr;
};
