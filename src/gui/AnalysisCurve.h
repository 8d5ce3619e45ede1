#pragma once

#include "core/Pulls.h"

#include <QColor>
#include <QPointF>
#include <QPolygonF>
#include <QRect>
#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

// A curve of the "Análisis" chart: y against x, both columns of numbers read where their owner
// keeps them (a log's table, or values made for the curve), over spans of entries. Whatever the
// columns point into must outlive the curve: the tab keeps its logs until it has taken their
// curves off the chart.
//
// A span is drawn joined (a line from entry to entry, broken where x or y is no number) or as
// loose points; its x values are shifted by `xOffset` (a pull's start, so that pulls lie on top
// of each other). The functions below turn a curve into what the pixels need: on a joined span
// no more than the least and the greatest value of each pixel column, and of loose points at
// most one per pixel.
struct AnalysisCurve {
    struct Span {
        int first = 0; // entries first..last
        int last = -1;
        double xOffset = 0;
        bool joined = true;
    };

    QString name; // the legend and the read-out
    QString unit; // "" for none
    QColor color;
    Qt::PenStyle style = Qt::SolidLine;
    Pulls::Numbers x;
    Pulls::Numbers y;
    std::vector<Span> spans;
    // The read-out's text of entry i's y value (without the unit); the figure itself when none.
    std::function<QString(int entry)> valueText;
};

namespace CurvePixels {

// The least and greatest x and y of the entries that have both numbers.
struct Extent {
    bool any = false;
    double xLow = 0, xHigh = 0, yLow = 0, yHigh = 0;
    void add(const Extent &other);
};
Extent extent(const AnalysisCurve &curve);

// Where a value lands on the plot: pixel = a * value + b, on each axis; `area` is the plot's
// rectangle in pixels.
struct Mapping {
    double ax = 1, bx = 0, ay = 1, by = 0;
    QRect area;
    bool operator==(const Mapping &o) const
    {
        return ax == o.ax && bx == o.bx && ay == o.ay && by == o.by && area == o.area;
    }
    bool operator!=(const Mapping &o) const { return !(*this == o); }
};

// What is drawn of a curve: polylines of two points or more, and points (loose ones, and samples
// alone between gaps).
struct Traced {
    std::vector<QPointF> linePoints; // the points of every polyline, one after the other
    std::vector<int> lineEnds;       // where each polyline ends in linePoints (one past it)
    std::vector<QPointF> points;
    size_t lineCount() const { return lineEnds.size(); }
    QPolygonF line(size_t k) const;
};

// Traces `curve` for `mapping`. `seen` is scratch room for the pixels already drawn (one byte a
// pixel of the area), kept by the caller from one drawing to the next.
void trace(const AnalysisCurve &curve, const Mapping &mapping, std::vector<uint8_t> &seen,
           Traced &out);

// The entry whose x lies nearest to `x` among those drawn with both numbers (the first of
// equals), -1 when there is none.
int nearest(const AnalysisCurve &curve, double x);

} // namespace CurvePixels
