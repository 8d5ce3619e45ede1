#include "gui/AnalysisTab.h"

#include "core/AnalysisTexts.h"
#include "gui/AnalysisChart.h"
#include "gui/AnalysisPairs.h"
#include "gui/ColumnListModel.h"
#include "gui/LeftOutModel.h"
#include "gui/PullListModel.h"
#include "program/AppState.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QSignalBlocker>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace {

constexpr int ControlsWidth = 250; // pixels, the controls left of the chart
constexpr int ChartHeight = 265;   // pixels, the chart over the tables
constexpr int PullRowsShown = 5;

AnalysisChart::XAxis xAxisOf(AnalysisAxis axis)
{
    switch (axis) {
    case AnalysisAxis::EngineSpeed:
        return {QStringLiteral("Régimen (rpm)"), QStringLiteral("rpm"), 0};
    case AnalysisAxis::Time:
        return {QStringLiteral("Tiempo (s)"), QStringLiteral("s"), 2};
    case AnalysisAxis::TimeInPull:
        break;
    }
    return {QStringLiteral("Tiempo desde el inicio del tirón (s)"), QStringLiteral("s"), 2};
}

QLabel *caption(const QString &text)
{
    auto *label = new QLabel(text);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

// A list the user reads and chooses in, never edits.
template <class View> View *readOnly(View *view, const QString &name)
{
    view->setObjectName(name);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    return view;
}

} // namespace

AnalysisTab::AnalysisTab(AppState &state, QWidget *parent) : QWidget(parent), m_state(state)
{
    setObjectName(QStringLiteral("Analisis"));
    followState();
}

AnalysisTab::~AnalysisTab()
{
    // The chart's curves read the log: the chart goes first.
    delete m_chart;
    m_chart = nullptr;
}

// ---- layout ----

void AnalysisTab::build()
{
    m_pullModel = new PullListModel(this);
    m_seriesModel = new ColumnListModel(true, this);
    m_leftOutModel = new LeftOutModel(this);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(4);
    QWidget *controls = buildControls();
    controls->setFixedWidth(ControlsWidth);
    layout->addWidget(controls);

    auto *down = new QSplitter(Qt::Vertical);
    down->setObjectName(QStringLiteral("DivisionAnalisis"));
    down->setChildrenCollapsible(false);
    m_chart = new AnalysisChart;
    down->addWidget(m_chart);
    m_details = new QTabWidget;
    m_details->setObjectName(QStringLiteral("DetalleAnalisis"));
    m_details->setDocumentMode(true);
    m_pairs = new AnalysisPairs;
    m_details->addTab(m_pairs, QStringLiteral("Especificado y real"));
    m_details->addTab(buildLeftOut(), QStringLiteral("¿Por qué no?"));
    down->addWidget(m_details);
    down->setStretchFactor(0, 1);
    layout->addWidget(down, 1);
    // The splitter shares out the room it has, once it has it.
    layout->activate();
    down->setSizes({ChartHeight, down->height() - ChartHeight});
}

QWidget *AnalysisTab::buildControls()
{
    auto *panel = new QWidget;
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(3);

    layout->addWidget(caption(QStringLiteral("Eje X")));
    m_axis = new QComboBox;
    m_axis->setObjectName(QStringLiteral("EjeX"));
    layout->addWidget(m_axis);
    m_noSpeed = new QLabel(AnalysisTexts::noEngineSpeed());
    m_noSpeed->setObjectName(QStringLiteral("SinRegimen"));
    m_noSpeed->setWordWrap(true);
    m_noSpeed->hide();
    layout->addWidget(m_noSpeed);

    layout->addWidget(caption(QStringLiteral("Tirones")));
    m_pulls = readOnly(new QListView, QStringLiteral("Tirones"));
    m_pulls->setModel(m_pullModel);
    m_pulls->setUniformItemSizes(true);
    m_pulls->setFixedHeight(PullRowsShown * (m_pulls->fontMetrics().height() + 3) +
                            2 * m_pulls->frameWidth());
    layout->addWidget(m_pulls);

    layout->addWidget(caption(QStringLiteral("Series")));
    m_seriesList = readOnly(new QListView, QStringLiteral("SeriesAnalisis"));
    m_seriesList->setModel(m_seriesModel);
    m_seriesList->setUniformItemSizes(true);
    const int swatch = m_seriesList->fontMetrics().height() * 2 / 3;
    m_seriesList->setIconSize(QSize(swatch, swatch));
    layout->addWidget(m_seriesList, 1);
    return panel;
}

QWidget *AnalysisTab::buildLeftOut()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(3);
    auto *rates = new QHBoxLayout;
    m_rate = new QLabel;
    m_rate->setObjectName(QStringLiteral("Muestras"));
    rates->addWidget(m_rate);
    m_fewSamples = new QLabel(AnalysisTexts::fewSamples());
    m_fewSamples->setObjectName(QStringLiteral("PocasMuestras"));
    QPalette warning = m_fewSamples->palette();
    warning.setColor(QPalette::WindowText, QColor(176, 0, 0));
    m_fewSamples->setPalette(warning);
    m_fewSamples->hide();
    rates->addWidget(m_fewSamples, 1);
    layout->addLayout(rates);

    m_leftOut = readOnly(new QTableView, QStringLiteral("PorQueNo"));
    m_leftOut->setModel(m_leftOutModel);
    m_leftOut->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_leftOut->setShowGrid(false);
    m_leftOut->setWordWrap(false);
    // A million rows: every row of the same height, none measured.
    m_leftOut->verticalHeader()->hide();
    m_leftOut->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_leftOut->verticalHeader()->setDefaultSectionSize(m_leftOut->fontMetrics().height() + 3);
    m_leftOut->horizontalHeader()->setStretchLastSection(true);
    m_leftOut->horizontalHeader()->setHighlightSections(false);
    m_leftOut->setColumnWidth(LeftOutModel::Row, 60);
    m_leftOut->setColumnWidth(LeftOutModel::Time, 70);
    m_leftOut->setColumnWidth(LeftOutModel::Speed, 85);
    layout->addWidget(m_leftOut, 1);
    return page;
}

// ---- wiring ----

void AnalysisTab::wire()
{
    connect(m_axis, qOverload<int>(&QComboBox::currentIndexChanged), this, &AnalysisTab::redraw);
    connect(m_pulls->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &AnalysisTab::redraw);
    connect(m_seriesModel, &ColumnListModel::tickedChanged, this, [this] {
        m_series = m_seriesModel->ticked();
        redraw();
    });
    connect(m_pairs, &AnalysisPairs::onlyPullsChanged, this, [this](bool onlyPulls) {
        m_options.binRows = onlyPulls ? Analysis::BinRows::Pulls : Analysis::BinRows::All;
        reanalyse();
    });
    connect(m_pairs, &AnalysisPairs::pairChosen, this, [this](int specified, int actual) {
        m_options.userSpecified = specified;
        m_options.userActual = actual;
        reanalyse();
    });
}

// The program's table: before it changes the tab lets go of its snapshot (a log about to be
// replaced is not kept alive beside the new one) and shows nothing; once it has changed the
// tab is stale.
void AnalysisTab::followState()
{
    connect(&m_state, &AppState::tableAboutToReset, this, [this] {
        m_newLog = true;
        release();
    });
    connect(&m_state, &AppState::rowAboutToBeRemoved, this, &AnalysisTab::release);
    connect(&m_state, &AppState::tableReset, this, &AnalysisTab::changed);
    connect(&m_state, &AppState::rowRemoved, this, &AnalysisTab::changed);
}

// ---- following the program's table ----

void AnalysisTab::release()
{
    m_stale = true;
    if (m_built) {
        m_chart->clear();
        m_pullModel->setLog(nullptr);
        m_seriesModel->setLog(nullptr);
        m_leftOutModel->setLog(nullptr);
        m_pairs->setLog(nullptr);
    }
    m_log.reset();
}

void AnalysisTab::changed()
{
    m_stale = true;
    if (m_queued || !isVisible())
        return;
    m_queued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_queued = false;
            if (m_stale && isVisible())
                refresh();
        },
        Qt::QueuedConnection);
}

void AnalysisTab::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_stale)
        refresh();
}

void AnalysisTab::updateNow()
{
    if (m_stale || !m_built)
        refresh();
}

void AnalysisTab::refresh()
{
    if (!m_built) {
        build();
        wire();
        m_built = true;
    }
    m_stale = false;
    const bool newLog = std::exchange(m_newLog, false);
    // A row deleted keeps the axis and the pull chosen, by their places.
    const AnalysisAxis keepAxis = newLog ? AnalysisAxis::EngineSpeed : axis();
    const int keepPull = newLog ? -1 : pull();
    if (newLog)
        m_options = Analysis::Options();
    m_log = std::make_unique<AnalysisLog>(m_state.table, m_state.slotTimes, m_state.columnLines,
                                          m_state.newerLayout);
    m_log->analyse(m_options);
    if (newLog)
        m_series = defaultSeries();

    {
        const QSignalBlocker blockAxis(m_axis);
        const QSignalBlocker blockPulls(m_pulls->selectionModel());
        const QSignalBlocker blockSeries(m_seriesModel);
        showAxes(keepAxis);
        m_pullModel->setLog(m_log.get());
        const int pullRow = keepPull + 1 < m_pullModel->rowCount() ? keepPull + 1 : 0;
        m_pulls->setCurrentIndex(m_pullModel->index(pullRow));
        m_seriesModel->setLog(m_log.get(), m_series);
    }
    m_pairs->setLog(m_log.get());
    showLeftOut();
    redraw();
}

// "Régimen (rpm)" only when the log has an engine speed; the axis kept when it is offered.
void AnalysisTab::showAxes(AnalysisAxis keep)
{
    m_axis->clear();
    const bool speed = m_log->hasEngineSpeed();
    for (AnalysisAxis a :
         {AnalysisAxis::EngineSpeed, AnalysisAxis::Time, AnalysisAxis::TimeInPull}) {
        if (a != AnalysisAxis::EngineSpeed || speed)
            m_axis->addItem(xAxisOf(a).title, int(a));
    }
    m_axis->setCurrentIndex(std::max(0, m_axis->findData(int(keep))));
    m_noSpeed->setVisible(!speed && m_log->table().columnCount() > 0);
}

void AnalysisTab::showLeftOut()
{
    m_leftOutModel->setLog(m_log.get());
    const Analysis::Result &result = m_log->result();
    m_rate->setText(AnalysisTexts::rate(result.rate));
    m_fewSamples->setVisible(result.fewSamples);
}

// The pairs' bins again, after the user changed their rows or picked a pair.
void AnalysisTab::reanalyse()
{
    if (!m_log)
        return;
    m_log->analyse(m_options);
    m_pairs->setLog(m_log.get());
}

void AnalysisTab::redraw()
{
    if (!m_log)
        return;
    const AnalysisAxis a = axis();
    const int p = pull();
    m_log->prepare(m_series, a);
    std::vector<AnalysisCurve> curves;
    for (int column : m_series)
        curves.push_back(m_log->curve(column, a, p));
    m_chart->setCurves(std::move(curves), xAxisOf(a));
}

AnalysisAxis AnalysisTab::axis() const
{
    const QVariant data = m_axis->currentData();
    return data.isValid() ? AnalysisAxis(data.toInt()) : AnalysisAxis::Time;
}

int AnalysisTab::pull() const
{
    const QModelIndex current = m_pulls->currentIndex();
    return current.isValid() ? current.row() - 1 : -1;
}

// The two columns of the first pair found by name; else the first value column that is not the
// engine speed.
std::vector<int> AnalysisTab::defaultSeries() const
{
    const Analysis::Result &result = m_log->result();
    for (const SpecifiedActual::Pair &pair : result.pairs)
        if (!pair.chosenByUser)
            return {std::min(pair.specified, pair.actual), std::max(pair.specified, pair.actual)};
    for (int entry = 0; entry < m_log->valueColumnCount(); ++entry)
        if (AnalysisLog::valueColumn(entry) != result.rpmColumn)
            return {AnalysisLog::valueColumn(entry)};
    return {};
}
