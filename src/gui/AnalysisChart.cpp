#include "gui/AnalysisChart.h"

#include "core/AnalysisTexts.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

#include <qcustomplot.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <optional>
#include <thread>

namespace {

constexpr double Margin = 0.05;        // of the range shown, kept free above and below
constexpr double LineWidth = 1.5;      // pixels
constexpr double PointSize = 2.5;      // pixels, a loose point
constexpr int PointAlpha = 120;        // of 255, a loose point
constexpr size_t WideLinePoints = 400; // the most points drawn with the wide pen
constexpr const char *Dash = " — ";    // between the read-out's pieces

// One curve on the plot, traced for the pixels of each drawing: by AnalysisChart::traceCurves
// once the plot's layout is known, else when it is drawn.
class CurvePlottable : public QCPAbstractPlottable {
public:
    CurvePlottable(QCPAxis *keyAxis, QCPAxis *valueAxis, const AnalysisCurve &curve,
                   const CurvePixels::Extent &extent)
        : QCPAbstractPlottable(keyAxis, valueAxis), m_curve(curve), m_extent(extent)
    {
        setName(curve.name);
        QPen pen(curve.color, LineWidth, curve.style);
        pen.setCapStyle(Qt::FlatCap);
        setPen(pen);
        setSelectable(QCP::stNone);
    }

    double selectTest(const QPointF &, bool, QVariant *) const override { return -1; }
    QCPRange getKeyRange(bool &found, QCP::SignDomain) const override
    {
        found = m_extent.any;
        return QCPRange(m_extent.xLow, m_extent.xHigh);
    }
    QCPRange getValueRange(bool &found, QCP::SignDomain, const QCPRange &) const override
    {
        found = m_extent.any;
        return QCPRange(m_extent.yLow, m_extent.yHigh);
    }

protected:
    void draw(QCPPainter *painter) override
    {
        const CurvePixels::Mapping mapping = mappingNow();
        if (m_tracedFor != mapping)
            traceFor(mapping);
        applyDefaultAntialiasingHint(painter);
        // A wide pen only while the lines are few: the painter strokes wide lines far more
        // slowly than lines of a pixel.
        QPen pen = mPen;
        if (m_traced.linePoints.size() > WideLinePoints)
            pen.setWidthF(1);
        painter->setPen(pen);
        painter->setBrush(Qt::NoBrush);
        int first = 0;
        for (int end : m_traced.lineEnds) {
            painter->drawPolyline(m_traced.linePoints.data() + first, end - first);
            first = end;
        }
        if (!m_traced.points.empty()) {
            // Lighter than the lines: the rows outside pulls are the background the pulls
            // stand out from.
            QColor light = m_curve.color;
            light.setAlpha(PointAlpha);
            painter->setPen(QPen(light, PointSize, Qt::SolidLine, Qt::SquareCap));
            painter->drawPoints(m_traced.points.data(), int(m_traced.points.size()));
        }
    }

    void drawLegendIcon(QCPPainter *painter, const QRectF &rect) const override
    {
        painter->setPen(mPen);
        const double y = rect.center().y();
        painter->drawLine(QLineF(rect.left(), y, rect.right(), y));
    }

public:
    // Reads the curve and the axes' state as given, writes only this curve's own trace: curves
    // may be traced side by side.
    void traceFor(const CurvePixels::Mapping &mapping)
    {
        CurvePixels::trace(m_curve, mapping, m_seen, m_traced);
        m_tracedFor = mapping;
    }
    CurvePixels::Mapping mappingNow() const
    {
        const auto linear = [](const QCPAxis *axis, double &a, double &b) {
            const QCPRange range = axis->range();
            const double from = axis->coordToPixel(range.lower);
            const double to = axis->coordToPixel(range.upper);
            a = range.size() > 0 ? (to - from) / range.size() : 0;
            b = from - a * range.lower;
        };
        CurvePixels::Mapping mapping;
        linear(keyAxis(), mapping.ax, mapping.bx);
        linear(valueAxis(), mapping.ay, mapping.by);
        mapping.area = keyAxis()->axisRect()->rect();
        return mapping;
    }

private:
    const AnalysisCurve &m_curve;
    const CurvePixels::Extent m_extent;
    CurvePixels::Traced m_traced;
    std::vector<uint8_t> m_seen;
    std::optional<CurvePixels::Mapping> m_tracedFor; // none before the first trace
};

// A range with a margin; a single value gets room around it.
QCPRange padded(double low, double high)
{
    double margin = (high - low) * Margin;
    if (!(margin > 0))
        margin = std::max(std::abs(low) * Margin, 1.0);
    return QCPRange(low - margin, high + margin);
}

} // namespace

AnalysisChart::AnalysisChart(QWidget *parent) : QWidget(parent)
{
    build();
    wire();
    clear();
}

AnalysisChart::~AnalysisChart()
{
    delete m_plot; // its curves read m_curves
}

void AnalysisChart::build()
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    m_plot = new QCustomPlot;
    m_plot->setObjectName(QStringLiteral("GraficaAnalisis"));
    QLocale numbers(QLocale::Spanish, QLocale::Spain);
    numbers.setNumberOptions(QLocale::OmitGroupSeparator);
    m_plot->setLocale(numbers);
    m_plot->setNoAntialiasingOnDrag(true);
    m_plot->setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
    QCPAxisRect *area = m_plot->axisRect();
    area->setRangeDrag(Qt::Horizontal | Qt::Vertical);
    area->setRangeZoom(Qt::Horizontal | Qt::Vertical);
    area->setRangeDragAxes({m_plot->xAxis}, {m_plot->yAxis, m_plot->yAxis2});
    area->setRangeZoomAxes({m_plot->xAxis}, {m_plot->yAxis, m_plot->yAxis2});
    m_plot->yAxis2->setTickLabels(true);
    // No legend over the curves: the series list beside the chart shows each one's colour.
    m_plot->legend->setVisible(false);
    layout->addWidget(m_plot, 1);

    m_readout = new QLabel;
    m_readout->setObjectName(QStringLiteral("LecturaAnalisis"));
    m_readout->setTextFormat(Qt::PlainText);
    m_readout->setMinimumWidth(1); // a long read-out is cut short, not the chart widened
    m_readout->setFixedHeight(m_readout->fontMetrics().height() + 2);
    layout->addWidget(m_readout);
}

void AnalysisChart::wire()
{
    connect(m_plot, &QCustomPlot::mouseMove, this,
            [this](QMouseEvent *event) { showReadout(event->pos()); });
    connect(m_plot, &QCustomPlot::mouseDoubleClick, this, [this](QMouseEvent *) { showAll(); });
    m_plot->installEventFilter(this);
    connect(m_plot, &QCustomPlot::afterLayout, this, &AnalysisChart::traceCurves);
}

// Every curve traced for the drawing about to be made, side by side on the machine's cores
// (tracing takes most of a drawing of many rows: a million rows of two logs, 4 to 10 curves,
// draw in about two thirds of the time). The mappings are taken here, from the axes as laid out.
void AnalysisChart::traceCurves()
{
    std::vector<std::pair<CurvePlottable *, CurvePixels::Mapping>> curves;
    for (int i = 0; i < m_plot->plottableCount(); ++i)
        if (auto *curve = dynamic_cast<CurvePlottable *>(m_plot->plottable(i)))
            curves.emplace_back(curve, curve->mappingNow());
    if (curves.size() < 2)
        return; // traced as it is drawn
    // Each thread takes the next curve not yet taken; this thread is one of them.
    std::atomic<size_t> next{0};
    const auto traceSome = [&curves, &next] {
        for (size_t i = next++; i < curves.size(); i = next++)
            curves[i].first->traceFor(curves[i].second);
    };
    const size_t cores = std::max(1u, std::thread::hardware_concurrency());
    std::vector<std::thread> helpers;
    for (size_t k = 1; k < std::min(cores, curves.size()); ++k)
        helpers.emplace_back(traceSome);
    traceSome();
    for (std::thread &helper : helpers)
        helper.join();
}

bool AnalysisChart::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_plot && event->type() == QEvent::Leave)
        m_readout->clear();
    return QWidget::eventFilter(watched, event);
}

void AnalysisChart::setCurves(std::vector<AnalysisCurve> curves, const XAxis &axis)
{
    m_plot->clearPlottables(); // before the curves they read go
    m_curves = std::move(curves);
    m_axis = axis;
    m_onRight.assign(m_curves.size(), false);
    const QString leftUnit = m_curves.empty() ? QString() : m_curves.front().unit;
    QStringList rightUnits;
    for (size_t i = 0; i < m_curves.size(); ++i) {
        const AnalysisCurve &curve = m_curves[i];
        m_onRight[i] = curve.unit != leftUnit;
        if (m_onRight[i] && !curve.unit.isEmpty() && !rightUnits.contains(curve.unit))
            rightUnits << curve.unit;
        auto *plottable =
            new CurvePlottable(m_plot->xAxis, m_onRight[i] ? m_plot->yAxis2 : m_plot->yAxis, curve,
                               CurvePixels::extent(curve));
        plottable->addToLegend();
    }
    m_plot->xAxis->setLabel(axis.title);
    m_plot->yAxis->setLabel(leftUnit);
    m_plot->yAxis2->setLabel(rightUnits.join(QStringLiteral(" / ")));
    m_plot->yAxis2->setVisible(std::find(m_onRight.begin(), m_onRight.end(), true) !=
                               m_onRight.end());
    m_readout->clear();
    showAll();
}

void AnalysisChart::showAll()
{
    CurvePixels::Extent x, left, right;
    for (int i = 0; i < m_plot->plottableCount(); ++i) {
        bool found = false;
        const QCPAbstractPlottable *p = m_plot->plottable(i);
        const QCPRange keys = p->getKeyRange(found);
        if (!found)
            continue;
        const QCPRange values = p->getValueRange(found);
        CurvePixels::Extent e;
        e.any = true;
        e.xLow = keys.lower;
        e.xHigh = keys.upper;
        e.yLow = values.lower;
        e.yHigh = values.upper;
        x.add(e);
        (m_onRight[size_t(i)] ? right : left).add(e);
    }
    m_plot->xAxis->setRange(x.any ? padded(x.xLow, x.xHigh) : QCPRange(0, 1));
    m_plot->yAxis->setRange(left.any ? padded(left.yLow, left.yHigh) : QCPRange(0, 1));
    m_plot->yAxis2->setRange(right.any ? padded(right.yLow, right.yHigh) : QCPRange(0, 1));
    m_plot->replot(QCustomPlot::rpQueuedReplot);
}

QString AnalysisChart::readout(const QPoint &pos) const
{
    if (!m_plot->axisRect()->rect().contains(pos))
        return QString();
    const double x = m_plot->xAxis->pixelToCoord(pos.x());
    const auto withUnit = [](const QString &value, const QString &unit) {
        return unit.isEmpty() || value.isEmpty() ? value : value + QLatin1Char(' ') + unit;
    };
    QStringList pieces{withUnit(AnalysisTexts::figure(x, m_axis.decimals), m_axis.unit)};
    for (const AnalysisCurve &curve : m_curves) {
        const int entry = CurvePixels::nearest(curve, x);
        if (entry < 0)
            continue;
        const QString value = curve.valueText ? curve.valueText(entry)
                                              : AnalysisTexts::figure(curve.y.value[entry], 2);
        pieces << curve.name + QStringLiteral(": ") + withUnit(value, curve.unit);
    }
    return pieces.join(QString::fromUtf8(Dash));
}

void AnalysisChart::showReadout(const QPoint &pos)
{
    const QString text = readout(pos);
    m_readout->setToolTip(text);
    m_readout->setText(
        m_readout->fontMetrics().elidedText(text, Qt::ElideRight, m_readout->width()));
}
