#include "gui/AnalysisTab.h"

#include "core/AnalysisTexts.h"
#include "gui/AnalysisChart.h"
#include "gui/AnalysisPairs.h"
#include "gui/AnalysisPower.h"
#include "gui/ColumnListModel.h"
#include "gui/LeftOutModel.h"
#include "gui/PullListModel.h"
#include "gui/VehicleDialog.h"
#include "program/AppState.h"
#include "program/VehicleSettings.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QPushButton>
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
const char *const LogFilter = "LOG KORVEX (*.csv)"; // as "Abrir CSV" offers
const char *const Second = "B · ";                  // before the second log's names

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

// The wait cursor while a log is read.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

bool sameVehicle(const Vehicle &a, const Vehicle &b)
{
    for (int k = 0; k < Vehicle::FieldCount; ++k)
        if (a.value(Vehicle::Field(k)) != b.value(Vehicle::Field(k)))
            return false;
    return true;
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
    // The chart's curves read the logs: the chart goes first.
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
    m_power = new AnalysisPower;
    m_details->addTab(m_power, QStringLiteral("Potencia"));
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
    // A pull of each log chosen together (Ctrl or Shift and a click) lie over each other.
    m_pulls->setSelectionMode(QAbstractItemView::ExtendedSelection);
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
    layout->addWidget(buildComparison());
    return panel;
}

// "Vehículo…", then the second log: "Comparar con…", "Quitar comparación", its name and, for a
// file of several sessions, the session compared.
QWidget *AnalysisTab::buildComparison()
{
    auto *panel = new QWidget;
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 2, 0, 0);
    layout->setSpacing(3);
    const auto button = [](const QString &text, const QString &name) {
        auto *b = new QPushButton(text);
        b->setObjectName(name);
        return b;
    };
    m_vehicleButton = button(QStringLiteral("Vehículo…"), QStringLiteral("Vehiculo"));
    m_compareButton = button(QStringLiteral("Comparar con…"), QStringLiteral("CompararCon"));
    m_removeCompare =
        button(QStringLiteral("Quitar comparación"), QStringLiteral("QuitarComparacion"));
    m_removeCompare->setEnabled(false);
    auto *first = new QHBoxLayout;
    first->addWidget(m_vehicleButton);
    first->addStretch(1);
    layout->addLayout(first);
    auto *second = new QHBoxLayout;
    second->addWidget(m_compareButton);
    second->addWidget(m_removeCompare);
    layout->addLayout(second);

    m_compareName = new QLabel;
    m_compareName->setObjectName(QStringLiteral("NombreComparacion"));
    m_compareName->setTextFormat(Qt::PlainText);
    m_compareName->setMinimumWidth(1); // a long name is cut short, not the panel widened
    m_compareName->hide();
    layout->addWidget(m_compareName);

    m_sessionRow = new QWidget;
    auto *session = new QHBoxLayout(m_sessionRow);
    session->setContentsMargins(0, 0, 0, 0);
    session->addWidget(new QLabel(QStringLiteral("Sesión")));
    m_compareSession = new QComboBox;
    m_compareSession->setObjectName(QStringLiteral("SesionComparacion"));
    m_compareSession->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_compareSession->setMinimumContentsLength(8);
    session->addWidget(m_compareSession, 1);
    m_sessionRow->hide();
    layout->addWidget(m_sessionRow);
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
    connect(m_pulls->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        redraw();
        showPower();
    });
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
    connect(m_vehicleButton, &QPushButton::clicked, this, &AnalysisTab::chooseVehicle);
    connect(m_compareButton, &QPushButton::clicked, this, &AnalysisTab::chooseComparison);
    connect(m_removeCompare, &QPushButton::clicked, &m_state.comparison, &ComparisonLog::clear);
    connect(m_compareSession, qOverload<int>(&QComboBox::activated), this,
            [this](int index) { chooseComparisonSession(index + 1); });
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
    // Read, dropped (by "Quitar comparación" or a load) or computed again.
    connect(&m_state.comparison, &ComparisonLog::changed, this, &AnalysisTab::comparisonChanged);
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
        m_power->clear();
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
        m_vehicle = VehicleSettings::load();
        build();
        wire();
        m_built = true;
        comparisonChanged(); // one may have been opened without the window (a script)
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
    m_log->computePower(m_vehicle);
    if (newLog)
        m_series = defaultSeries();

    {
        const QSignalBlocker blockAxis(m_axis);
        const QSignalBlocker blockSeries(m_seriesModel);
        showAxes(keepAxis);
        m_seriesModel->setLog(m_log.get(), m_series, m_log->hasEngineSpeed());
    }
    showPulls();
    if (keepPull >= 0 && keepPull < m_pullModel->firstCount()) {
        const QSignalBlocker blockPulls(m_pulls->selectionModel());
        m_pulls->setCurrentIndex(m_pullModel->index(keepPull + 1));
    }
    m_pairs->setLog(m_log.get(), m_compare.get());
    showLeftOut();
    showPower();
    redraw();
}

// The pulls of both logs, "Todos" chosen.
void AnalysisTab::showPulls()
{
    const QSignalBlocker blockPulls(m_pulls->selectionModel());
    m_pullModel->setLog(m_log.get(), m_compare.get());
    m_pulls->setCurrentIndex(m_pullModel->index(0));
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

// The pairs' bins again, after the user changed their rows or picked a pair; the second log's
// follow the rows of the first's (its pairs are found by name only).
void AnalysisTab::reanalyse()
{
    if (!m_log)
        return;
    m_log->analyse(m_options);
    ComparisonLog &comparison = m_state.comparison;
    if (comparison.isOpen() && comparison.options().binRows != m_options.binRows) {
        m_comparisonUpdate = ComparisonUpdate::Bins;
        comparison.setOptions(comparisonOptions());
        m_comparisonUpdate = ComparisonUpdate::All;
    }
    m_pairs->setLog(m_log.get(), m_compare.get());
}

void AnalysisTab::redraw()
{
    if (!m_log)
        return;
    const AnalysisAxis a = axis();
    PullChoice first, second;
    chosenPulls(first, second);
    std::vector<AnalysisCurve> curves;
    addCurves(curves, *m_log, false, a, first);
    if (m_compare)
        addCurves(curves, *m_compare, true, a, second);
    m_chart->setCurves(std::move(curves), xAxisOf(a));
}

// The curves of the ticked series of one log. The second log's are those of its columns of the
// same names and units, dashed, in the colours of the first's; against engine speed they show
// only its pulls, whose curves are what it is compared for (its other rows would be a second
// cloud of loose points over the first log's).
void AnalysisTab::addCurves(std::vector<AnalysisCurve> &curves, const AnalysisLog &log, bool second,
                            AnalysisAxis axis, const PullChoice &pulls) const
{
    if (pulls.none() || (axis == AnalysisAxis::EngineSpeed && !log.hasEngineSpeed()))
        return;
    PullChoice choice = pulls;
    if (second && axis == AnalysisAxis::EngineSpeed && choice.all) {
        choice.all = false;
        for (int p = 0; p < int(log.result().pulls.size()); ++p)
            choice.pulls.push_back(p);
    }
    std::vector<int> columns; // of `log`
    std::vector<int> shown;   // of the first log, whose colours they take
    for (int column : m_series) {
        const int own = second ? log.columnFor(*m_log, column) : column;
        if (own == ColumnRoles::None)
            continue;
        columns.push_back(own);
        shown.push_back(column);
    }
    log.prepare(columns, axis);
    for (size_t k = 0; k < columns.size(); ++k) {
        AnalysisCurve curve = log.curve(columns[k], axis, choice);
        if (second) {
            curve.name = QString::fromUtf8(Second) + curve.name;
            curve.color = AnalysisLog::color(shown[k]);
            curve.style = Qt::DashLine;
        }
        curves.push_back(std::move(curve));
    }
}

void AnalysisTab::showPower()
{
    if (!m_log)
        return;
    PullChoice first, second;
    chosenPulls(first, second);
    m_power->showPulls(m_log.get(), first, m_state.LogTitle, m_compare.get(), second,
                       m_compare ? m_state.comparison.title() : QString(), m_vehicle);
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

// The pulls chosen in the list, of each log: "Todos" (or nothing chosen) every row of both.
void AnalysisTab::chosenPulls(PullChoice &first, PullChoice &second) const
{
    first = second = PullChoice();
    const QModelIndexList rows = m_pulls->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return;
    std::vector<int> listRows;
    for (const QModelIndex &index : rows)
        listRows.push_back(index.row());
    std::sort(listRows.begin(), listRows.end());
    if (listRows.front() == 0)
        return; // "Todos"
    first.all = second.all = false;
    for (int row : listRows) {
        const PullListModel::Entry e = m_pullModel->entry(row);
        (e.log == 0 ? first : second).pulls.push_back(e.pull);
    }
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

// ---- the vehicle ----

void AnalysisTab::chooseVehicle()
{
    VehicleDialog dialog(m_vehicle, this);
    if (dialog.exec() == QDialog::Accepted && !sameVehicle(dialog.vehicle(), m_vehicle))
        setVehicle(dialog.vehicle());
}

// The power of the pulls of both logs again, at once; the chart drawn again when it shows it.
void AnalysisTab::setVehicle(const Vehicle &vehicle)
{
    m_vehicle = vehicle;
    VehicleSettings::save(vehicle);
    const bool drawn = std::any_of(m_series.begin(), m_series.end(), AnalysisLog::isPowerEntry);
    if (m_log && drawn)
        m_chart->clear(); // its power curves read what is made again
    if (m_log)
        m_log->computePower(vehicle);
    if (m_state.comparison.isOpen()) {
        m_comparisonUpdate = ComparisonUpdate::Power;
        m_state.comparison.setVehicle(vehicle);
        m_comparisonUpdate = ComparisonUpdate::All;
    }
    if (!m_log)
        return;
    showPower();
    if (drawn)
        redraw();
}

// ---- the second log ----

// The first log's options, but for a pair the user picked: its columns are the first log's.
Analysis::Options AnalysisTab::comparisonOptions() const
{
    Analysis::Options options = m_options;
    options.userSpecified = options.userActual = ColumnRoles::None;
    return options;
}

void AnalysisTab::chooseComparison()
{
    const QString path = m_fileChooser
                             ? m_fileChooser()
                             : QFileDialog::getOpenFileName(this, QString(), QString(),
                                                            QString::fromLatin1(LogFilter));
    if (path.isEmpty())
        return;
    ComparisonLog &comparison = m_state.comparison;
    if (!comparison.isOpen()) { // an open one already has them
        comparison.setOptions(comparisonOptions());
        comparison.setVehicle(m_vehicle);
    }
    QString error;
    bool read = false;
    {
        WaitCursor wait;
        read = comparison.open(path, 1, error);
    }
    if (!read)
        m_state.message(error, MessageKind::Warning);
}

void AnalysisTab::chooseComparisonSession(int session)
{
    ComparisonLog &comparison = m_state.comparison;
    if (!comparison.isOpen() || session == comparison.session())
        return;
    QString error;
    bool read = false;
    {
        WaitCursor wait;
        read = comparison.openSession(session, error);
    }
    if (!read) {
        showComparison(); // the session compared stays
        m_state.message(error, MessageKind::Warning);
    }
}

// The program's second log was read, dropped or computed again: the tab takes a snapshot of it.
// When the tab itself asked for the second log's bins or power again, only those are taken, into
// the snapshot it has: the pulls and the curves stay.
void AnalysisTab::comparisonChanged()
{
    if (!m_built)
        return;
    const ComparisonLog &comparison = m_state.comparison;
    if (m_compare && comparison.isOpen() && m_comparisonUpdate != ComparisonUpdate::All) {
        if (m_comparisonUpdate == ComparisonUpdate::Bins)
            m_compare->adopt(comparison.analysis(), comparison.options());
        else
            m_compare->setPower(comparison.power()); // the tab shows it once both are made
        return;
    }
    m_chart->clear(); // its curves read the snapshot about to go
    m_compare.reset();
    if (comparison.isOpen()) {
        const LogFile &file = comparison.log();
        m_compare = std::make_unique<AnalysisLog>(file.table, file.slotTimes, file.columnLines,
                                                  file.newerLayout);
        m_compare->adopt(comparison.analysis(), comparison.options());
        m_compare->setPower(comparison.power());
    }
    showComparison();
    if (!m_log)
        return; // stale: shown with the first log
    showPulls();
    m_pairs->setLog(m_log.get(), m_compare.get());
    showPower();
    redraw();
}

void AnalysisTab::showComparison()
{
    const ComparisonLog &comparison = m_state.comparison;
    const bool open = comparison.isOpen();
    m_removeCompare->setEnabled(open);
    m_compareName->setVisible(open);
    m_compareName->setText(open ? QStringLiteral("B (a trazos): ") + comparison.title()
                                : QString());
    m_compareName->setToolTip(open ? comparison.path() : QString());
    const std::vector<LogSession> &sessions = comparison.sessions();
    m_sessionRow->setVisible(open && sessions.size() > 1);
    const QSignalBlocker block(m_compareSession);
    m_compareSession->clear();
    if (!open || sessions.size() <= 1)
        return;
    for (size_t n = 1; n <= sessions.size(); ++n) {
        const LogSession &session = sessions[n - 1];
        const QString when =
            session.time.isEmpty() ? QString() : session.time + QStringLiteral(", ");
        m_compareSession->addItem(
            QStringLiteral("Sesión %1  (%2%3 filas)").arg(n).arg(when).arg(session.rows));
    }
    m_compareSession->setCurrentIndex(comparison.session() - 1);
}
