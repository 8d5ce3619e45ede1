#pragma once

#include "core/ChartModel.h"
#include "core/ImageFiles.h"

#include <QImage>
#include <QWidget>

#include <cstddef>

class QCustomPlot;

// Draws a ChartModel with QCustomPlot: one line with small markers per series in its colour,
// category labels (the row labels) under the horizontal axis every "label spacing" rows, the axis
// title, the series labels in a legend and the title above. Each drawing reads the rows in view
// from the model, no more points than the plot's pixels need; nothing of a series is copied.
// Redraws follow the model's changes while the view is shown; a hidden view (on a tab at the back)
// does no work for them until it is shown. The mouse wheel zooms the horizontal axis around the
// pointer and dragging pans it; every rebuild of the series shows all rows again.
class ChartView : public QWidget {
    Q_OBJECT
public:
    explicit ChartView(ChartModel *model, QWidget *parent = nullptr);
    ~ChartView() override;

    ChartModel *model() const { return m_model; }
    // The plot, made when the view is first shown, drawn or asked for it.
    QCustomPlot *plot();

    // The chart drawn at `size` (logical pixels) as the window would draw it.
    QImage render(const QSize &size);

    // "Guardar Grafica": the chart as the window shows it goes to the clipboard, then to the image
    // file of `logTitle` (ImageFiles::saveChartImage), which is opened with the desktop's program
    // for it once written. The forms show a failure.
    ImageFiles::SaveResult saveImage(const QString &logTitle, const QString &programDir,
                                     const QString &picturesDir);

    // Brings the drawing up to date with the model at once, shown or not. Changes of the model are
    // otherwise gathered and drawn once, when control returns to the event loop or, in a hidden
    // view, when it is shown.
    void updateNow();

    // Keeps at least `pixels` free at the right of the plot, where the legend stands (for
    // controls that sit over the chart's lower right corner).
    void setRightColumnWidth(int pixels);

signals:
    // A click on (or very near) a data point: series s (1-based position) and point p
    // (1-based row).
    void pointPicked(int series, int point);
    // A click that picks no point.
    void clicked();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void scheduleUpdate();
    bool syncGraphs();
    void syncTitle();
    void showAllRows();
    void showHint();
    void mousePressed(const QPoint &pos);
    void mouseMoved(const QPoint &pos);
    void mouseReleased(const QPoint &pos, bool leftButton);
    bool pick(const QPointF &pos, int &series, int &point) const;
    void keepRangeInside();
    void updateMarkers();

    ChartModel *m_model;
    QCustomPlot *m_plot = nullptr;
    struct Sync;
    Sync *m_sync;
};
