#include "gui/AnalysisCurve.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace CurvePixels {

namespace {

// Pixels this far outside the plot are held there: the painter's fixed-point drawing has room
// for them, and a line towards a point further out keeps its slope to a fraction of a pixel.
constexpr double FarOut = 1e6;

double held(double pixel, double low, double high)
{
    return std::clamp(pixel, low - FarOut, high + FarOut);
}

// The floor of a pixel held as above: shifted to be positive, a cut toward zero is the floor.
double pixelColumn(double held)
{
    constexpr double Shift = 1 << 24;
    return double(int64_t(held + Shift)) - Shift;
}

// The pixels of a plot area, one byte each: set where a curve has already been drawn.
class Pixels {
public:
    Pixels(const QRect &area, std::vector<uint8_t> &seen)
        : m_left(area.left()), m_top(area.top()), m_width(std::max(area.width(), 0)),
          m_height(std::max(area.height(), 0)), m_seen(seen)
    {
        m_seen.assign(size_t(m_width) * size_t(m_height), 0);
    }

    // Whether a point lies on a pixel of the area (compared as doubles: a point far outside
    // converts to no integer).
    bool inside(const QPointF &p) const
    {
        return p.x() >= m_left && p.x() < m_left + m_width && p.y() >= m_top &&
               p.y() < m_top + m_height;
    }
    // Marks the pixel of a point inside; whether it was new.
    bool mark(const QPointF &p) { return !std::exchange(at(column(p), row(p)), uint8_t(1)); }
    // Marks the pixels of the line from a to b, both inside (Bresenham's walk); whether any
    // was new.
    bool mark(const QPointF &a, const QPointF &b)
    {
        const int x0 = column(a), y0 = row(a), x1 = column(b), y1 = row(b);
        const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
        const ptrdiff_t stepX = x0 < x1 ? 1 : -1;
        const ptrdiff_t stepY = y0 < y1 ? m_width : -ptrdiff_t(m_width);
        uint8_t *pixel = &at(x0, y0);
        uint8_t *const last = &at(x1, y1);
        int error = dx + dy;
        uint8_t fresh = 0;
        for (;;) {
            fresh |= *pixel ^ 1;
            *pixel = 1;
            if (pixel == last)
                return fresh;
            const int twice = 2 * error;
            if (twice >= dy) {
                error += dy;
                pixel += stepX;
            }
            if (twice <= dx) {
                error += dx;
                pixel += stepY;
            }
        }
    }

private:
    // The pixel of a point inside, from the area's corner (a cut toward zero of a value that is
    // not negative is its floor).
    int column(const QPointF &p) const { return int(p.x() - m_left); }
    int row(const QPointF &p) const { return int(p.y() - m_top); }
    uint8_t &at(int x, int y) { return m_seen[size_t(y) * size_t(m_width) + size_t(x)]; }

    const int m_left, m_top, m_width, m_height;
    std::vector<uint8_t> &m_seen;
};

// The points of one joined span, a polyline at a time. Within a pixel column only the least and
// the greatest value are kept, in the order they came (as the main chart draws a crowded series);
// of a stretch outside the plot to the left or right only the points that lead into it or out of
// it, so that zoomed into a million rows a drawing holds about two points a pixel column. A piece
// of line over pixels the curve has already drawn (pulls on top of each other) is left out, and
// polylines are cut every MaxLinePoints points: the painter strokes a wide line of many points
// that cross each other in a time that grows faster than their number.
class Joiner {
public:
    static constexpr int MaxLinePoints = 64;

    Joiner(const QRect &area, Pixels &pixels, CurvePixels::Traced &out)
        : m_left(area.left() - 1), m_right(area.right() + 1), m_pixels(pixels), m_out(out),
          m_lineStart(out.linePoints.size())
    {
    }

    void add(const QPointF &p)
    {
        const int side = p.x() < m_left ? -1 : p.x() > m_right ? 1 : 0;
        if (side != 0) {
            flushColumn();
            if (m_side == 0) {
                emitPoint(p); // leaving the plot
                m_pending = false;
            } else if (m_side != Start && m_side != side) {
                if (m_pending) // crossing the plot from one side to the other
                    emitPoint(m_pendingPoint);
                emitPoint(p);
                m_pending = false;
            } else {
                m_pendingPoint = p;
                m_pending = true;
            }
            m_side = side;
            return;
        }
        if (m_pending) {
            emitPoint(m_pendingPoint); // coming into the plot
            m_pending = false;
        }
        m_side = 0;
        const double column = pixelColumn(p.x());
        if (m_inColumn && column == m_column) {
            if (p.y() < m_low.y())
                m_low = p, m_lowFirst = false;
            if (p.y() > m_high.y())
                m_high = p, m_lowFirst = true;
            return;
        }
        flushColumn();
        m_inColumn = true;
        m_column = column;
        m_low = m_high = p;
        m_lowFirst = true;
    }

    // A gap, or the span's end. A sample alone between gaps is a point.
    void end()
    {
        flushColumn();
        m_pending = false;
        m_side = Start;
        if (m_runPoints == 1) {
            const QPointF alone = m_out.linePoints[m_lineStart];
            if (m_pixels.inside(alone) && m_pixels.mark(alone))
                m_out.points.push_back(alone);
        }
        finishLine();
        m_runPoints = 0;
    }

private:
    void flushColumn()
    {
        if (!m_inColumn)
            return;
        m_inColumn = false;
        const QPointF &first = m_lowFirst ? m_low : m_high;
        const QPointF &second = m_lowFirst ? m_high : m_low;
        emitPoint(first);
        if (second != first)
            emitPoint(second);
    }

    void emitPoint(const QPointF &p)
    {
        ++m_runPoints;
        std::vector<QPointF> &points = m_out.linePoints;
        if (points.size() == m_lineStart) {
            points.push_back(p);
            return;
        }
        const QPointF from = points.back();
        if (m_pixels.inside(from) && m_pixels.inside(p) && !m_pixels.mark(from, p)) {
            finishLine(); // drawn already
            points.push_back(p);
            return;
        }
        points.push_back(p);
        if (points.size() - m_lineStart >= MaxLinePoints) {
            finishLine();
            points.push_back(p);
        }
    }

    // The line so far is a polyline when it has two points; a point alone is dropped.
    void finishLine()
    {
        std::vector<QPointF> &points = m_out.linePoints;
        if (points.size() - m_lineStart > 1)
            m_out.lineEnds.push_back(int(points.size()));
        else
            points.resize(m_lineStart);
        m_lineStart = points.size();
    }

    static constexpr int Start = 2; // no point yet
    const double m_left;
    const double m_right;
    Pixels &m_pixels;
    CurvePixels::Traced &m_out;
    size_t m_lineStart;  // where the line being made starts in m_out.linePoints
    int m_runPoints = 0; // points given since the last gap
    int m_side = Start;  // of the last point: -1 left of the plot, 0 on it, 1 right of it
    bool m_pending = false;
    QPointF m_pendingPoint;
    bool m_inColumn = false;
    double m_column = 0;
    QPointF m_low, m_high; // the least and greatest pixel y of the column
    bool m_lowFirst = true;
};

} // namespace

QPolygonF Traced::line(size_t k) const
{
    const int first = k == 0 ? 0 : lineEnds[k - 1];
    return QPolygonF(QList<QPointF>(linePoints.begin() + first, linePoints.begin() + lineEnds[k]));
}

void Extent::add(const Extent &other)
{
    if (!other.any)
        return;
    if (!any) {
        *this = other;
        return;
    }
    xLow = std::min(xLow, other.xLow);
    xHigh = std::max(xHigh, other.xHigh);
    yLow = std::min(yLow, other.yLow);
    yHigh = std::max(yHigh, other.yHigh);
}

Extent extent(const AnalysisCurve &curve)
{
    Extent out;
    out.xLow = out.yLow = HUGE_VAL;
    out.xHigh = out.yHigh = -HUGE_VAL;
    for (const AnalysisCurve::Span &span : curve.spans) {
        for (int i = std::max(span.first, 0); i <= span.last; ++i) {
            if (!curve.x.has(i) || !curve.y.has(i))
                continue;
            const double x = curve.x.value[i] - span.xOffset;
            const double y = curve.y.value[i];
            out.xLow = std::min(out.xLow, x);
            out.xHigh = std::max(out.xHigh, x);
            out.yLow = std::min(out.yLow, y);
            out.yHigh = std::max(out.yHigh, y);
            out.any = true;
        }
    }
    if (!out.any)
        out = Extent();
    return out;
}

void trace(const AnalysisCurve &curve, const Mapping &mapping, std::vector<uint8_t> &seen,
           Traced &out)
{
    out.linePoints.clear();
    out.lineEnds.clear();
    out.points.clear();
    const QRect &area = mapping.area;
    Pixels pixels(area, seen);
    for (const AnalysisCurve::Span &span : curve.spans) {
        const int first = std::max(span.first, 0);
        const double bx = mapping.bx - mapping.ax * span.xOffset;
        if (span.joined) {
            Joiner joiner(area, pixels, out);
            for (int i = first; i <= span.last; ++i) {
                if (!curve.x.has(i) || !curve.y.has(i)) {
                    joiner.end();
                    continue;
                }
                joiner.add(QPointF(
                    held(mapping.ax * curve.x.value[i] + bx, area.left(), area.right()),
                    held(mapping.ay * curve.y.value[i] + mapping.by, area.top(), area.bottom())));
            }
            joiner.end();
            continue;
        }
        // Loose points: one a pixel, the first that lands there.
        for (int i = first; i <= span.last; ++i) {
            if (!curve.x.has(i) || !curve.y.has(i))
                continue;
            const QPointF p(mapping.ax * curve.x.value[i] + bx,
                            mapping.ay * curve.y.value[i] + mapping.by);
            if (pixels.inside(p) && pixels.mark(p))
                out.points.push_back(p);
        }
    }
}

int nearest(const AnalysisCurve &curve, double x)
{
    int best = -1;
    double distance = HUGE_VAL;
    for (const AnalysisCurve::Span &span : curve.spans) {
        for (int i = std::max(span.first, 0); i <= span.last; ++i) {
            if (!curve.x.has(i) || !curve.y.has(i))
                continue;
            const double d = std::abs(curve.x.value[i] - span.xOffset - x);
            if (d < distance) {
                distance = d;
                best = i;
            }
        }
    }
    return best;
}

} // namespace CurvePixels
