#pragma once

#include "gui/AnalysisCurve.h"

#include <QWidget>

#include <vector>

class QCustomPlot;
class QLabel;

// The chart of the "Análisis" tab: any number of curves (see AnalysisCurve) against one x axis,
// on two y axes, and under the chart a one-line read-out of the point under the mouse.
//
// - The curves of the first curve's unit use the left axis, titled with that unit; all others the
//   right axis, titled with their units joined by " / " (hidden while it has no curve).
// - Each setCurves() scales the axes to what is shown, with a margin; the mouse wheel zooms and
//   dragging pans both axes, and a double click shows everything again.
// - While the mouse is over the plot the read-out gives x and, for every curve, its value at the
//   entry nearest in x, with its unit: "2450 rpm — Boost Pressure (actual): 1840 mbar".
//
// Each drawing traces the curves for the pixels in view (CurvePixels::trace), all of them side by
// side once the plot is laid out.
class AnalysisChart : public QWidget {
    Q_OBJECT
public:
    // The x axis: its title ("Régimen (rpm)"), the unit and decimals of x in the read-out.
    struct XAxis {
        QString title;
        QString unit;
        int decimals = 0;
    };

    explicit AnalysisChart(QWidget *parent = nullptr);
    ~AnalysisChart() override;

    // Replaces the curves and scales the axes to them. Whatever the old curves read may go once
    // this returns.
    void setCurves(std::vector<AnalysisCurve> curves, const XAxis &axis);
    void clear() { setCurves({}, m_axis); }
    const std::vector<AnalysisCurve> &curves() const { return m_curves; }

    // Every curve in view, as at setCurves() (a double click does this).
    void showAll();

    QCustomPlot *plot() const { return m_plot; }
    // The read-out for the mouse at `pos` (pixels of the plot); empty outside the plot's area.
    QString readout(const QPoint &pos) const;
    QLabel *readoutLabel() const { return m_readout; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void build();
    void wire();
    void showReadout(const QPoint &pos);
    void traceCurves();

    QCustomPlot *m_plot = nullptr;
    QLabel *m_readout = nullptr;
    std::vector<AnalysisCurve> m_curves;
    std::vector<bool> m_onRight; // per curve
    XAxis m_axis;
};
