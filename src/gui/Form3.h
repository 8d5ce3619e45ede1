#pragma once

#include "gui/FullWindow.h"

#include <QRect>
#include <QString>

class AppState;
class ChartModel;
class ChartView;
class QPushButton;

// The full-screen chart window: Chart2, a snapshot of the ticked series rebuilt from the data
// table, and CmdSave "Guardar grafica pantalla completa" centred under it. A resizable window
// shown without owner, made anew by the main window at every "Pantalla Completa"; it does not
// follow later changes of the main chart.
class Form3 : public FullWindow {
    Q_OBJECT
public:
    // "Guardar grafica pantalla completa" saves where ImageFiles::folder says for `programDir`
    // and `picturesDir` (the real folders when empty).
    explicit Form3(AppState &state, const QString &programDir = QString(),
                   const QString &picturesDir = QString(), QWidget *parent = nullptr);
    ~Form3() override;

    // Where the chart (the body) and the button go in a window of outer size W x H twips.
    static Parts partsAt(int outerWidth, int outerHeight);

    // "Pantalla Completa": shows the window, centred, and fills Chart2 from the ticked boxes; the
    // caption becomes the main window's.
    void showFilled();

    ChartView *chart2() const { return m_chart; }
    ChartModel &chartModel() const { return *m_model; }

private:
    void saveChart();

    AppState &m_state;
    ChartModel *m_model;
    ChartView *m_chart;
    QPushButton *m_cmdSave;
    QString m_programDir;
    QString m_picturesDir;
};
