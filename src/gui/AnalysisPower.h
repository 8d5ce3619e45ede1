#pragma once

#include <QWidget>

class AnalysisLog;
class QTextBrowser;
struct PullChoice;
struct Vehicle;

// The "Potencia" page of the "Análisis" tab: the peak figures of the pulls shown on the chart
// ("Tirón 2: 148 CV a 3.950 rpm, 331 Nm a 2.300 rpm"), each with, always, its samples per second
// and its warnings under it, and the vehicle they were computed with. With a second log compared
// its pulls stand beside the first log's, in order (the first chosen beside the first chosen:
// "Todos" puts pull k beside pull k), with the difference of their peaks ("+12 CV a 3.900 rpm, …").
// A log of thousands of pulls shows the first MaxShown.
class AnalysisPower : public QWidget {
    Q_OBJECT
public:
    static constexpr int MaxShown = 100;

    explicit AnalysisPower(QWidget *parent = nullptr);

    // Shows the power of the chosen pulls of `log` (nothing when null) and of `second` (none when
    // null), whose titles are `title` and `secondTitle`.
    void showPulls(const AnalysisLog *log, const PullChoice &choice, const QString &title,
                   const AnalysisLog *second, const PullChoice &secondChoice,
                   const QString &secondTitle, const Vehicle &vehicle);
    void clear();

    // What the page says, as plain text.
    QString text() const;

private:
    QTextBrowser *m_text = nullptr;
};
