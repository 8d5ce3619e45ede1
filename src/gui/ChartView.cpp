#include "gui/ChartView.h"

#include "core/BigMemory.h"
#include "core/ChartModel.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QToolTip>
#include <QVBoxLayout>

#include <qcustomplot.h>

#include <algorithm>
#include <cmath>
#include <limits>
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
    QSize minimumOuterSizeHint() const override
    {
        measure();
        return QSize(0, m_minimumHeight);
    }
    QSize maximumOuterSizeHint() const override
    {
        measure();
        return QSize(QWIDGETSIZE_MAX, m_maximumHeight);
    }
    void draw(QCPPainter *painter) override
    {
        const QString full = mText;
        const QFont font = mainFont();
        if (m_elidedFrom != full || m_elidedFont != font || m_elidedWidth != mRect.width()) {
            m_elided = QFontMetrics(font).elidedText(full, Qt::ElideRight, mRect.width());
            m_elidedFrom = full;
            m_elidedFont = font;
            m_elidedWidth = mRect.width();
        }
        mText = m_elided;
        QCPTextElement::draw(painter);
        mText = full;
    }

private:
    // The heights QCPTextElement measures for the whole text, measured again only when the text,
    // its font or the margins changed: every layout of the chart asks for them several times.
    void measure() const
    {
        if (m_measured && m_measuredText == mText && m_measuredFont == mFont &&
            m_measuredMargins == mMargins)
            return;
        m_minimumHeight = QCPTextElement::minimumOuterSizeHint().height();
        m_maximumHeight = QCPTextElement::maximumOuterSizeHint().height();
        m_measuredText = mText;
        m_measuredFont = mFont;
        m_measuredMargins = mMargins;
        m_measured = true;
    }

    mutable bool m_measured = false;
    mutable QString m_measuredText;
    mutable QFont m_measuredFont;
    mutable QMargins m_measuredMargins;
    mutable int m_minimumHeight = 0;
    mutable int m_maximumHeight = 0;
    QString m_elided;
    QString m_elidedFrom;
    QFont m_elidedFont;
    int m_elidedWidth = -1;
};

// Graph data made so far, by the origin of its values: a series of the same origin, in this
// chart or another (the full-screen chart), takes the very same data instead of a copy made
// anew. An entry lasts while some graph holds its data.
struct MadeData {
    ChartModel::Origin origin;
    QWeakPointer<QCPGraphDataContainer> data;
    QCPRange range;
    bool hasValues = false;
};

std::vector<MadeData> &madeData()
{
    static std::vector<MadeData> made;
    return made;
}

// The point arrays made for graphs, kept when their graph lets them go: a graph filled anew takes
// one that nothing uses any more, of room enough, rather than fresh memory, which the system
// clears before it is filled (for a big log that costs more than filling it). A few wait unused.
constexpr int SpareArrays = 4;

std::vector<QVector<QCPGraphData>> &pointArrays()
{
    static std::vector<QVector<QCPGraphData>> arrays;
    return arrays;
}

// `count` points to be filled: an unused array of the fewest points that hold them, else a new
// one. It stays among the arrays while a graph holds it.
QVector<QCPGraphData> takePoints(size_t count)
{
    std::vector<QVector<QCPGraphData>> &arrays = pointArrays();
    int best = -1;
    for (int i = 0; i < int(arrays.size()); ++i) {
        const QVector<QCPGraphData> &array = arrays[size_t(i)];
        if (array.isDetached() && size_t(array.capacity()) >= count &&
            (best < 0 || array.capacity() < arrays[size_t(best)].capacity()))
            best = i;
    }
    QVector<QCPGraphData> points;
    if (best >= 0) {
        points = std::move(arrays[size_t(best)]);
        arrays.erase(arrays.begin() + best);
    } else {
        points.reserve(static_cast<qsizetype>(count));
        BigMemory::advise(points.data(), count * sizeof(QCPGraphData));
    }
    points.resize(static_cast<qsizetype>(count));
    // The unused arrays beyond a few go, the oldest first.
    int unused = 0;
    for (auto it = arrays.rbegin(); it != arrays.rend();) {
        if (it->isDetached() && ++unused > SpareArrays)
            it = std::reverse_iterator(arrays.erase(std::next(it).base()));
        else
            ++it;
    }
    arrays.push_back(points);
    return points;
}

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

} // namespace

struct ChartView::Sync {
    std::vector<uint64_t> sentRevision; // per graph: the series revision it shows
    std::vector<QCPRange> valueRange;   // per graph: lowest and highest value, if any
    std::vector<bool> hasValues;
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

// One graph per series, each holding its series' values as they are now; only a series whose
// values or colour changed since it was last sent is sent again. Returns whether any graph was
// added, removed or refilled.
bool ChartView::syncGraphs()
{
    Sync &sync = *m_sync;
    const int count = m_model->seriesCount();
    bool rebuilt = false;
    // The data of the graphs there are stays at hand until every series has looked for its own:
    // a series that comes back (the others of a box unticked, a colour changed) takes it back.
    std::vector<QSharedPointer<QCPGraphDataContainer>> held;
    for (int g = 0; g < m_plot->graphCount(); ++g)
        held.push_back(m_plot->graph(g)->data());
    while (m_plot->graphCount() > count) {
        m_plot->removeGraph(m_plot->graphCount() - 1);
        rebuilt = true;
    }
    while (m_plot->graphCount() < count) {
        m_plot->addGraph();
        rebuilt = true;
    }
    sync.sentRevision.resize(size_t(count), 0);
    sync.valueRange.resize(size_t(count));
    sync.hasValues.resize(size_t(count), false);

    std::vector<int> unmade;
    for (int s = 1; s <= count; ++s) {
        const ChartModel::Series &series = m_model->seriesInfo(s);
        QCPGraph *graph = m_plot->graph(s - 1);
        if (graph->name() != series.label)
            graph->setName(series.label);
        if (sync.sentRevision[size_t(s - 1)] == series.revision)
            continue;
        sync.sentRevision[size_t(s - 1)] = series.revision;
        rebuilt = true;
        graph->setLineStyle(QCPGraph::lsLine);
        applyStyle(graph, series.color, sync.markers);
        if (!takeMadeData(graph, s)) {
            graph->setData(QSharedPointer<QCPGraphDataContainer>::create());
            unmade.push_back(s);
        }
    }
    // Data no series took back goes now, leaving its points to be filled again.
    held.clear();
    for (int s : unmade)
        fillGraph(m_plot->graph(s - 1), s);
    return rebuilt;
}

// Graph data made earlier for the very values of series s, when there is some.
bool ChartView::takeMadeData(QCPGraph *graph, int s)
{
    const ChartModel::Origin origin = m_model->seriesInfo(s).origin;
    if (origin.rows == 0)
        return false;
    for (const MadeData &made : madeData()) {
        if (made.origin != origin)
            continue;
        if (QSharedPointer<QCPGraphDataContainer> data = made.data.toStrongRef()) {
            graph->setData(data);
            m_sync->hasValues[size_t(s - 1)] = made.hasValues;
            m_sync->valueRange[size_t(s - 1)] = made.range;
            return true;
        }
    }
    return false;
}

// Series s as points 1, 2, ... (already sorted by key), a gap staying NaN. The lowest and highest
// value are kept for the vertical range.
void ChartView::fillGraph(QCPGraph *graph, int s)
{
    const ChartModel::ValuesView values = m_model->values(s);
    QVector<QCPGraphData> points = takePoints(values.size);
    QCPGraphData *out = points.data();
    const double *in = values.data;
    double lowest = std::numeric_limits<double>::infinity();
    double highest = -lowest;
    for (size_t i = 0; i < values.size; ++i) {
        const double value = in[i];
        out[i].key = double(i + 1);
        out[i].value = value;
        if (std::isfinite(value)) {
            lowest = value < lowest ? value : lowest;
            highest = value > highest ? value : highest;
        }
    }
    auto data = QSharedPointer<QCPGraphDataContainer>::create();
    data->set(points, true);
    graph->setData(data);
    const QCPRange range(lowest, highest);
    const size_t index = size_t(s - 1);
    m_sync->hasValues[index] = lowest <= highest;
    m_sync->valueRange[index] = range;
    const ChartModel::Origin origin = m_model->seriesInfo(s).origin;
    if (origin.rows != 0) {
        std::vector<MadeData> &made = madeData();
        made.erase(std::remove_if(made.begin(), made.end(),
                                  [](const MadeData &m) { return m.data.isNull(); }),
                   made.end());
        made.push_back({origin, data, range, lowest <= highest});
    }
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
    const Sync &sync = *m_sync;
    bool any = false;
    QCPRange values(0, 1);
    for (size_t i = 0; i < sync.valueRange.size(); ++i) {
        if (!sync.hasValues[i])
            continue;
        if (!any)
            values = sync.valueRange[i];
        else
            values.expand(sync.valueRange[i]);
        any = true;
    }
    const double margin = values.size() > 0 ? values.size() * 0.05 : 1.0;
    m_plot->yAxis->setRange(values.lower - margin, values.upper + margin);
    m_plot->xAxis->setRange(fullRowRange(sync.rows));
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
        // The numbers drawn, where they lie: a click copies no series.
        const ChartModel::ValuesView values = m_model->values(s);
        const long from = std::max(1L, long(std::ceil(first)));
        const long to = std::min(long(values.size), long(std::floor(last)));
        for (long row = from; row <= to; ++row) {
            const double value = values.data[size_t(row - 1)];
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
