#include "gui/ChartView.h"

#include "core/ChartModel.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QToolTip>
#include <QVBoxLayout>

#include <qcustomplot.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr double PickTolerance = 8.0; // pixels from a data point that still pick it
constexpr int DragThreshold = 3;      // pixels of mouse travel that turn a click into a drag
constexpr int FewestLabels = 6;       // zoomed in further, the labels come closer together
constexpr int LabelGap = 12;          // pixels kept free between two category labels
constexpr int LabelSamples = 16;      // labels measured to find how wide labels are
constexpr int PixelsPerMarker = 4;    // markers are drawn while points are at least this far apart
constexpr double MarkerSize = 4.0;
constexpr double SparsePenWidth = 1.5; // a dense series keeps to thin lines, which draw fast

// Category labels under the horizontal axis: one tick every "label spacing" rows, starting at
// row 1, labelled with the row's label. Zoomed in so far that fewer than a handful of labels
// would be left, the ticks come closer together; zoomed out so far that the labels would run into
// each other, they move apart.
class CategoryTicker : public QCPAxisTicker {
public:
    CategoryTicker(const ChartModel *model, const QCPAxis *axis) : m_model(model), m_axis(axis) {}

    // The axis length the last ticks were made for: ticks are made before the plot is laid out,
    // so after a change of size they are made once more.
    int usedLength() const { return m_usedLength; }

protected:
    double getTickStep(const QCPRange &range) override
    {
        const double visible = range.size();
        double step = std::max(1, m_model->labelSpacing());
        if (visible / step < FewestLabels)
            step = std::max(1.0, std::floor(visible / FewestLabels));
        m_usedLength = m_axis->axisRect()->width();
        const int mostLabels = std::max(FewestLabels, int(m_usedLength / labelWidth(range)));
        if (visible / step > mostLabels)
            step = std::ceil(visible / mostLabels);
        return step;
    }

    int getSubTickCount(double) override { return 0; }

    QVector<double> createTickVector(double tickStep, const QCPRange &range) override
    {
        QVector<double> ticks;
        const double step = std::max(1.0, std::round(tickStep));
        const double last = std::min(double(m_model->rowCount()), std::floor(range.upper));
        const double from = std::max(1.0, std::ceil(range.lower));
        if (from > last)
            return ticks;
        for (double row = 1 + std::ceil((from - 1) / step) * step; row <= last; row += step)
            ticks.append(row);
        return ticks;
    }

    QString getTickLabel(double tick, const QLocale &, QChar, int) override
    {
        return m_model->rowLabel(int(std::lround(tick)));
    }

private:
    // The room one label needs: the widest of a few labels across the range, and a gap.
    double labelWidth(const QCPRange &range) const
    {
        const QFontMetrics metrics(m_axis->tickLabelFont());
        const int rows = m_model->rowCount();
        int widest = metrics.horizontalAdvance(QStringLiteral("0000"));
        for (int i = 0; i < LabelSamples && rows > 0; ++i) {
            const double at = range.lower + range.size() * (i + 0.5) / LabelSamples;
            const int row = std::clamp(int(std::lround(at)), 1, rows);
            widest = std::max(widest, metrics.horizontalAdvance(m_model->rowLabel(row)));
        }
        return widest + LabelGap;
    }

    const ChartModel *m_model;
    const QCPAxis *m_axis;
    int m_usedLength = 0;
};

// The chart title: one line over the plot; a title longer than the line is cut short at its end,
// so the log's name, which comes first, stays readable.
class TitleElement : public QCPTextElement {
public:
    TitleElement(QCustomPlot *plot, const QString &text, const QFont &font)
        : QCPTextElement(plot, text, font)
    {
        setTextFlags(Qt::AlignCenter);
    }

protected:
    // Only the height is the text's: the width is the plot's, however long the title.
    QSize minimumOuterSizeHint() const override
    {
        return QSize(0, QCPTextElement::minimumOuterSizeHint().height());
    }
    QSize maximumOuterSizeHint() const override
    {
        return QSize(QWIDGETSIZE_MAX, QCPTextElement::maximumOuterSizeHint().height());
    }
    void draw(QCPPainter *painter) override
    {
        const QString full = mText;
        mText = QFontMetrics(mainFont()).elidedText(full, Qt::ElideRight, mRect.width());
        QCPTextElement::draw(painter);
        mText = full;
    }
};

// QCustomPlot, which can also be laid out at a size without being drawn.
class Plot : public QCustomPlot {
public:
    void layOutAt(const QSize &size)
    {
        const QRect shown = viewport();
        setViewport(QRect(QPoint(), size));
        updateLayout();
        setViewport(shown);
    }
};

// A series in its colour: line and circle markers while the points stand apart, a thin line
// alone when they crowd together.
void applyStyle(QCPGraph *graph, const QColor &color, bool markers)
{
    graph->setPen(QPen(color, markers ? SparsePenWidth : 1.0));
    graph->setScatterStyle(
        markers ? QCPScatterStyle(QCPScatterStyle::ssCircle, color, color, MarkerSize)
                : QCPScatterStyle(QCPScatterStyle::ssNone));
}

QCPRange fullRowRange(int rows)
{
    return QCPRange(0.5, std::max(rows, 1) + 0.5);
}

// Series s of the model, drawn as its pixels need it: every drawing makes the graph's few points
// anew from the rows in view, read where they lie. While the rows in view are no more than the
// plot is wide in pixels, the points are those rows and one beyond each side (so the line runs
// on to the plot's edges). Where the rows crowd closer, a pixel column of more than two rows gives
// only its least and greatest value, at their own rows and in the order they come, so that the
// line reaches every extreme and joins the next column sensibly; a column of gaps alone breaks the
// line, and a column of one or two rows keeps them as they are.
class SeriesGraph : public QCPGraph {
public:
    SeriesGraph(QCPAxis *keyAxis, QCPAxis *valueAxis, const ChartModel *model, int series)
        : QCPGraph(keyAxis, valueAxis), m_model(model), m_series(series)
    {
        setAdaptiveSampling(false); // the points are already no more than the pixels need
    }

protected:
    void draw(QCPPainter *painter) override
    {
        makePoints();
        QCPGraph::draw(painter);
    }

private:
    void makePoints()
    {
        QVector<QCPGraphData> points;
        const long rows = m_series <= m_model->seriesCount() ? m_model->rowCount() : 0;
        const QCPRange range = keyAxis()->range();
        // The rows in view, and those drawn: one more on each side, as far as there are rows.
        const double first = std::ceil(range.lower);
        const double last = std::floor(range.upper);
        const long from = long(std::clamp(first - 1, 1.0, double(std::max(rows, 1L))));
        const long to = long(std::clamp(last + 1, 1.0, double(std::max(rows, 1L))));
        if (rows > 0 && from <= to) {
            const ChartModel::Values values = m_model->values(m_series);
            if (last - first + 1 <= keyAxis()->axisRect()->width())
                everyRow(values, from, to, points);
            else
                extremes(values, from, to, points);
        }
        mDataContainer->set(points, true);
    }

    static void everyRow(const ChartModel::Values &values, long from, long to,
                         QVector<QCPGraphData> &points)
    {
        points.reserve(to - from + 1);
        for (long row = from; row <= to; ++row)
            points.append(QCPGraphData(double(row), values.at(size_t(row - 1))));
    }

    void extremes(const ChartModel::Values &values, long from, long to,
                  QVector<QCPGraphData> &points) const
    {
        // Row r stands at pixel a * r + b across.
        const double b = keyAxis()->coordToPixel(0);
        const double a = keyAxis()->coordToPixel(1) - b;
        points.reserve(2 * (keyAxis()->axisRect()->width() + 4));
        const auto add = [&points, &values](long row) {
            points.append(QCPGraphData(double(row), values.at(size_t(row - 1))));
        };
        for (long begin = from; begin <= to;) {
            // The rows of the pixel column of row `begin`: begin .. end - 1.
            const double column = std::floor(a * double(begin) + b);
            const double next = std::ceil((column + 1 - b) / a);
            const long end = long(std::clamp(next, double(begin + 1), double(to + 1)));
            if (end - begin <= 2) {
                for (long row = begin; row < end; ++row)
                    add(row);
                begin = end;
                continue;
            }
            double lowest = 0;
            double highest = 0;
            if (!values.range(size_t(begin - 1), size_t(end - 1), lowest, highest)) {
                add(begin); // a gap
            } else {
                const long low = long(values.find(size_t(begin - 1), size_t(end - 1), lowest)) + 1;
                const long high =
                    long(values.find(size_t(begin - 1), size_t(end - 1), highest)) + 1;
                add(std::min(low, high));
                if (low != high)
                    add(std::max(low, high));
            }
            begin = end;
        }
    }

    const ChartModel *m_model;
    const int m_series;
};

} // namespace

struct ChartView::Sync {
    std::vector<uint64_t> sentRevision; // per graph: the series revision it shows
    int rows = -1;
    bool stale = true;   // the model changed since it was last drawn
    bool queued = false; // a drawing waits for the event loop
    int rightColumn = 0; // pixels kept free right of the plot
    bool markers = true;
    bool clamping = false;
    QCPTextElement *title = nullptr;
    QCPLayoutGrid *side = nullptr; // the column right of the plot, the legend at its top
    QCPLayoutElement *sideFiller = nullptr;
    QSharedPointer<CategoryTicker> ticker;
    QPoint pressPos;
    bool pressed = false;
    bool dragged = false;
};

ChartView::ChartView(ChartModel *model, QWidget *parent)
    : QWidget(parent), m_model(model), m_sync(new Sync)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    connect(model, &ChartModel::changed, this, &ChartView::scheduleUpdate);
    connect(model, &ChartModel::hintChanged, this, &ChartView::showHint);
    showHint();
}

// The plot is made when the chart is first shown, drawn or asked for. It is made without a
// parent, so that its axis texts take the application's font, as those of a view made before
// its window's font reached it do, and then placed in the view.
QCustomPlot *ChartView::plot()
{
    if (m_plot)
        return m_plot;
    m_plot = new Plot;
    m_plot->setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
    m_plot->axisRect()->setRangeDrag(Qt::Horizontal);
    m_plot->axisRect()->setRangeZoom(Qt::Horizontal);
    m_plot->setNoAntialiasingOnDrag(true);
    m_sync->ticker = QSharedPointer<CategoryTicker>::create(m_model, m_plot->xAxis);
    m_plot->xAxis->setTicker(m_sync->ticker);
    m_plot->xAxis->setSubTicks(false);
    m_plot->xAxis->setTickLabelRotation(0);

    QFont small = m_plot->font();
    small.setPointSizeF(7.5);
    m_plot->legend->setFont(small);
    m_plot->legend->setIconSize(18, 8);
    m_plot->legend->setBorderPen(Qt::NoPen);
    m_plot->axisRect()->insetLayout()->take(m_plot->legend);
    m_sync->side = new QCPLayoutGrid;
    m_plot->plotLayout()->addElement(0, 1, m_sync->side);
    m_plot->plotLayout()->setColumnStretchFactor(1, 0.001);
    m_sync->side->addElement(0, 0, m_plot->legend);
    m_sync->sideFiller = new QCPLayoutElement(m_plot);
    m_sync->sideFiller->setMinimumSize(m_sync->rightColumn, 0);
    m_sync->side->addElement(1, 0, m_sync->sideFiller);
    m_sync->side->setRowStretchFactor(0, 0.001);
    m_sync->side->setMargins(QMargins(0, 4, 4, 0));

    connect(m_plot->xAxis, qOverload<const QCPRange &>(&QCPAxis::rangeChanged), this,
            [this](const QCPRange &) { keepRangeInside(); });
    connect(m_plot, &QCustomPlot::afterLayout, this, [this] {
        updateMarkers();
        if (m_sync->ticker->usedLength() != m_plot->axisRect()->width())
            m_plot->replot(QCustomPlot::rpQueuedReplot);
    });
    connect(m_plot, &QCustomPlot::mousePress, this,
            [this](QMouseEvent *event) { mousePressed(event->pos()); });
    connect(m_plot, &QCustomPlot::mouseMove, this,
            [this](QMouseEvent *event) { mouseMoved(event->pos()); });
    connect(m_plot, &QCustomPlot::mouseRelease, this, [this](QMouseEvent *event) {
        mouseReleased(event->pos(), event->button() == Qt::LeftButton);
    });

    m_plot->setParent(this);
    layout()->addWidget(m_plot);
    m_plot->setGeometry(rect()); // where the layout puts it, before it is first laid out
    m_sync->stale = true;
    return m_plot;
}

void ChartView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_plot || m_sync->stale)
        updateNow();
}

ChartView::~ChartView()
{
    delete m_plot; // first: while it goes, nothing it signals may reach the state below
    delete m_sync;
}

// A change of the model is drawn when control returns to the event loop, once for all the changes
// made until then; a hidden view (its tab at the back) draws it when it is shown.
void ChartView::scheduleUpdate()
{
    m_sync->stale = true;
    if (m_sync->queued || !isVisible())
        return;
    m_sync->queued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_sync->queued = false;
            if (m_sync->stale && isVisible())
                updateNow();
        },
        Qt::QueuedConnection);
}

void ChartView::updateNow()
{
    plot();
    m_sync->stale = false;
    bool rebuilt = syncGraphs();
    if (m_model->rowCount() != m_sync->rows) {
        m_sync->rows = m_model->rowCount();
        rebuilt = true;
    }
    m_plot->legend->setVisible(m_model->seriesCount() > 0);
    m_plot->xAxis->setLabel(m_model->axisTitle());
    syncTitle();
    if (rebuilt)
        showAllRows();
    if (m_plot->isHidden())
        m_plot->show(); // a new plot, shown with the view (laid out and drawn now if it is shown)
    m_plot->replot(QCustomPlot::rpQueuedReplot);
}

// One graph per series, which reads its series from the model as it draws; only a series whose
// values or colour changed since it was last seen is styled again. Returns whether any graph was
// added or removed or any series changed.
bool ChartView::syncGraphs()
{
    Sync &sync = *m_sync;
    const int count = m_model->seriesCount();
    bool rebuilt = false;
    while (m_plot->graphCount() > count) {
        m_plot->removeGraph(m_plot->graphCount() - 1);
        rebuilt = true;
    }
    while (m_plot->graphCount() < count) {
        new SeriesGraph(m_plot->xAxis, m_plot->yAxis, m_model, m_plot->graphCount() + 1);
        rebuilt = true;
    }
    sync.sentRevision.resize(size_t(count), 0);
    for (int s = 1; s <= count; ++s) {
        QCPGraph *graph = m_plot->graph(s - 1);
        const QString label = m_model->seriesLabel(s);
        if (graph->name() != label)
            graph->setName(label);
        if (sync.sentRevision[size_t(s - 1)] == m_model->revision(s))
            continue;
        sync.sentRevision[size_t(s - 1)] = m_model->revision(s);
        rebuilt = true;
        applyStyle(graph, m_model->seriesColor(s), sync.markers);
    }
    return rebuilt;
}

// The title above the plot: a row of the layout while there is a title, none otherwise.
void ChartView::syncTitle()
{
    Sync &sync = *m_sync;
    const QString title = m_model->title();
    if (title.isEmpty() && sync.title) {
        m_plot->plotLayout()->remove(sync.title);
        m_plot->plotLayout()->simplify();
        sync.title = nullptr;
    } else if (!title.isEmpty() && !sync.title) {
        QFont bold = font();
        bold.setPointSizeF(9);
        bold.setBold(true);
        sync.title = new TitleElement(m_plot, title, bold);
        m_plot->plotLayout()->insertRow(0);
        m_plot->plotLayout()->addElement(0, 0, sync.title);
    } else if (sync.title && sync.title->text() != title) {
        sync.title->setText(title);
    }
}

// Every row across, and the vertical range of all values with a margin of 5 %.
void ChartView::showAllRows()
{
    bool any = false;
    QCPRange values(0, 1);
    for (int s = 1; s <= m_model->seriesCount(); ++s) {
        double lowest = 0;
        double highest = 0;
        if (!m_model->valueRange(s, lowest, highest))
            continue;
        if (!any)
            values = QCPRange(lowest, highest);
        else
            values.expand(QCPRange(lowest, highest));
        any = true;
    }
    const double margin = values.size() > 0 ? values.size() * 0.05 : 1.0;
    m_plot->yAxis->setRange(values.lower - margin, values.upper + margin);
    m_plot->xAxis->setRange(fullRowRange(m_sync->rows));
    keepRangeInside();
}

// Holds the horizontal range inside the rows.
void ChartView::keepRangeInside()
{
    if (m_sync->clamping)
        return;
    const QCPRange full = fullRowRange(m_model->rowCount());
    QCPRange range = m_plot->xAxis->range();
    const double narrowest = std::min(3.0, full.size());
    if (range.size() >= full.size()) {
        range = full;
    } else {
        if (range.size() < narrowest)
            range = QCPRange(range.center() - narrowest / 2, range.center() + narrowest / 2);
        if (range.lower < full.lower)
            range += full.lower - range.lower;
        if (range.upper > full.upper)
            range -= range.upper - full.upper;
    }
    if (range != m_plot->xAxis->range()) {
        m_sync->clamping = true;
        m_plot->xAxis->setRange(range);
        m_sync->clamping = false;
    }
    updateMarkers();
}

// Markers are drawn only while the points stand apart; a dense series is a line.
void ChartView::updateMarkers()
{
    const int width = std::max(1, m_plot->axisRect()->width());
    const bool markers = m_plot->xAxis->range().size() * PixelsPerMarker <= width;
    if (markers == m_sync->markers)
        return;
    m_sync->markers = markers;
    for (int g = 0; g < m_plot->graphCount(); ++g)
        applyStyle(m_plot->graph(g), m_plot->graph(g)->pen().color(), markers);
}

void ChartView::setRightColumnWidth(int pixels)
{
    m_sync->rightColumn = std::max(pixels, 0);
    if (!m_plot)
        return;
    m_sync->sideFiller->setMinimumSize(m_sync->rightColumn, 0);
    m_plot->replot(QCustomPlot::rpQueuedReplot);
}

void ChartView::showHint()
{
    const QString hint = m_model->hintText();
    setToolTip(hint);
    if (underMouse() && !hint.isEmpty())
        QToolTip::showText(QCursor::pos(), hint, this);
}

void ChartView::mousePressed(const QPoint &pos)
{
    m_sync->pressPos = pos;
    m_sync->pressed = true;
    m_sync->dragged = false;
}

void ChartView::mouseMoved(const QPoint &pos)
{
    if (m_sync->pressed && (pos - m_sync->pressPos).manhattanLength() >= DragThreshold)
        m_sync->dragged = true;
}

void ChartView::mouseReleased(const QPoint &pos, bool leftButton)
{
    const bool click = m_sync->pressed && !m_sync->dragged &&
                       (pos - m_sync->pressPos).manhattanLength() < DragThreshold;
    m_sync->pressed = false;
    if (!click || !leftButton)
        return;
    if (m_sync->stale)
        updateNow();
    int series = 0;
    int point = 0;
    if (pick(pos, series, point))
        emit pointPicked(series, point);
    else
        emit clicked();
}

// The data point nearest to `pos` (in pixels) within the pick tolerance.
bool ChartView::pick(const QPointF &pos, int &series, int &point) const
{
    const QCPAxis *x = m_plot->xAxis;
    const QCPAxis *y = m_plot->yAxis;
    double first = x->pixelToCoord(pos.x() - PickTolerance);
    double last = x->pixelToCoord(pos.x() + PickTolerance);
    if (first > last)
        std::swap(first, last);
    double best = PickTolerance * PickTolerance;
    bool found = false;
    for (int s = 1; s <= m_model->seriesCount(); ++s) {
        const ChartModel::Values values = m_model->values(s);
        const long from = std::max(1L, long(std::ceil(first)));
        const long to = std::min(long(m_model->rowCount()), long(std::floor(last)));
        for (long row = from; row <= to; ++row) {
            const double value = values.at(size_t(row - 1));
            if (!std::isfinite(value))
                continue;
            const double dx = x->coordToPixel(double(row)) - pos.x();
            const double dy = y->coordToPixel(value) - pos.y();
            const double distance = dx * dx + dy * dy;
            if (distance <= best) {
                if (found && distance == best)
                    continue; // a tie goes to the series drawn first
                best = distance;
                series = s;
                point = int(row);
                found = true;
            }
        }
    }
    return found;
}

ImageFiles::SaveResult ChartView::saveImage(const QString &logTitle, const QString &programDir,
                                            const QString &picturesDir)
{
    const QImage image = render(size());
    // The picture is on the clipboard whether the file can be written or not.
    QGuiApplication::clipboard()->setImage(image);
    const ImageFiles::SaveResult saved =
        ImageFiles::saveChartImage(image, logTitle, programDir, picturesDir);
    if (saved.ok)
        ImageFiles::openImage(saved.path);
    return saved;
}

QImage ChartView::render(const QSize &size)
{
    updateNow();
    // Laid out at that size first, so that the drawing makes its ticks for that size.
    static_cast<Plot *>(m_plot)->layOutAt(size);
    const QImage image = m_plot->toPixmap(size.width(), size.height()).toImage();
    m_plot->replot(QCustomPlot::rpQueuedReplot);
    return image;
}
