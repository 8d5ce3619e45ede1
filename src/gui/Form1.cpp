#include "gui/Form1.h"

#include "core/AnalysisTexts.h"
#include "core/Association.h"
#include "core/ImageFiles.h"
#include "core/ProgramName.h"
#include "gui/AnalysisTab.h"
#include "gui/ChartView.h"
#include "gui/DataTableModel.h"
#include "gui/Form2.h"
#include "gui/Form3.h"
#include "gui/Form4.h"
#include "gui/TableView.h"
#include "gui/Twips.h"
#include "gui/WindowCapture.h"
#include "program/AppState.h"
#include "program/PointReadout.h"

#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTableView>

#include <initializer_list>
#include <utility>
#include <vector>

namespace {

const char *const LogFilter = "LOG KORVEX (*.csv)";

// Chart1 on the "Grafica" tab, in twips.
constexpr int ChartLeft = 120;
constexpr int ChartTop = 360;
constexpr int ChartWidth = 11535;
constexpr int ChartHeight = 7215;

// The series boxes: three columns of five, box k in column k / 5 and row k % 5.
constexpr int BoxLeft[3] = {3840, 6720, 9720};
constexpr int ColorButtonLeft[3] = {3120, 6000, 9000};
constexpr int BoxRowTop[5] = {6480, 6720, 6960, 7200, 7440};
constexpr int BoxWidth[15] = {2055, 2055, 2055, 2055, 2175, 2175, 2175, 2055,
                              2055, 2175, 2055, 2055, 1695, 1695, 1695};

// Keeps the wait cursor up while a long piece of work runs.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

// A page of SSTab1. Its controls are placed in twips from the top-left corner of the whole tab
// control (tab strip included), so each one is moved up and left by where the page sits inside
// the tab control, whatever the style makes of the strip.
class TabPage : public QWidget {
public:
    explicit TabPage(QTabWidget *tabs) : m_tabs(tabs) {}

    template <class W> W *add(W *widget, int left, int top, int width, int height)
    {
        widget->setParent(this);
        m_placed.push_back({widget, Twips::rect(left, top, width, height)});
        widget->setGeometry(m_placed.back().rect.translated(-m_offset));
        return widget;
    }

protected:
    void resizeEvent(QResizeEvent *event) override
    {
        QWidget::resizeEvent(event);
        place();
    }
    void showEvent(QShowEvent *event) override
    {
        QWidget::showEvent(event);
        place();
    }

private:
    void place()
    {
        const QPoint offset = mapTo(m_tabs, QPoint(0, 0));
        if (offset == m_offset)
            return;
        m_offset = offset;
        for (const Placed &p : m_placed)
            p.widget->setGeometry(p.rect.translated(-m_offset));
    }

    struct Placed {
        QWidget *widget;
        QRect rect;
    };
    QTabWidget *m_tabs;
    std::vector<Placed> m_placed;
    QPoint m_offset;
};

template <class W> W *named(W *widget, const QString &name)
{
    widget->setObjectName(name);
    return widget;
}

QFont sized(QFont font, double points, bool bold)
{
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// A caption shown as it stands: "&" is not a shortcut mark here.
QString literalCaption(QString text)
{
    return text.replace(QLatin1Char('&'), QLatin1String("&&"));
}

} // namespace

Form1::Form1(QWidget *parent) : QMainWindow(parent), m_state(std::make_unique<AppState>())
{
    setObjectName(QStringLiteral("Form1"));
    // The window's captions were laid out for a narrow 8 pt face: the default family in its
    // semi-condensed width keeps them inside their controls.
    QFont narrow = font();
    narrow.setStretch(QFont::SemiCondensed);
    setFont(sized(narrow, 8.25, false));
    setAcceptDrops(true);

    buildMenu();

    auto *client = new QWidget(this);
    client->setFixedSize(Twips::size(11925, 7830));
    setCentralWidget(client);
    // The window keeps its size: the client area plus the menu bar, whatever the user drags.
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    m_tabs = named(new QTabWidget(client), QStringLiteral("SSTab1"));
    Twips::place(m_tabs, 0, 0, 11895, 7815);
    auto *grafica = new TabPage(m_tabs);
    auto *datos = new TabPage(m_tabs);
    auto *estadisticas = new TabPage(m_tabs);
    m_tabs->addTab(grafica, QStringLiteral("Grafica"));
    m_tabs->addTab(datos, QStringLiteral("Datos"));
    m_tabs->addTab(estadisticas, QStringLiteral("Estadisticas"));
    buildGrafica(grafica);
    buildDatos(datos);
    buildEstadisticas(estadisticas);
    m_tabs->addTab(new AnalysisTab(*m_state), QStringLiteral("Análisis"));
    m_tabs->setCurrentIndex(1);

    m_state->showMessage = [this](const QString &text, MessageKind kind) {
        showMessage(text, kind);
    };
    wireCommands();
    wireControls();
    wireState();
    wireWindows();
    syncAll();
}

Form1::~Form1()
{
    // The views read the state's table and chart: they go before the state does.
    delete m_tabs;
    delete m_model;
}

QSize Form1::chartSize()
{
    return Twips::size(ChartWidth, ChartHeight);
}

void Form1::buildMenu()
{
    QMenuBar *bar = menuBar();
    m_abrirCSV = named(bar->addAction(QStringLiteral("Abrir CSV")), QStringLiteral("AbrirCSV"));
    m_asociar =
        named(bar->addAction(QStringLiteral("Asociar Extension")), QStringLiteral("Asociar"));
    m_acerca = named(bar->addAction(QStringLiteral("Acerca de ODX")), QStringLiteral("Acerca"));
    m_sesiones = named(bar->addMenu(QStringLiteral("Sesiones")), QStringLiteral("Sesiones"));
    m_sesiones->menuAction()->setVisible(false);
}

void Form1::buildGrafica(QWidget *page)
{
    auto *tab = static_cast<TabPage *>(page);
    m_chart = tab->add(named(new ChartView(&m_state->chart), QStringLiteral("Chart1")), ChartLeft,
                       ChartTop, ChartWidth, ChartHeight);
    // The two buttons stand over the chart's lower right corner: the plot keeps clear of them.
    m_chart->setRightColumnWidth(Twips::px(ChartLeft + ChartWidth - 10320) + 4);
    m_cmdFull = tab->add(
        named(new QPushButton(QStringLiteral("Pantalla Completa")), QStringLiteral("CmdFull")),
        10320, 6720, 1455, 495);
    m_cmdSave = tab->add(
        named(new QPushButton(QStringLiteral("Guardar Grafica")), QStringLiteral("CmdSave")), 10320,
        7200, 1455, 495);
}

void Form1::buildDatos(QWidget *page)
{
    auto *tab = static_cast<TabPage *>(page);

    m_model = new DataTableModel(&m_state->table);
    m_list = tab->add(named(new QTableView, QStringLiteral("ListDatos")), 120, 480, 11655, 5895);
    TableView::setUp(m_list, m_model);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection); // "Borrar Linea" takes one row

    m_cmdFullList = tab->add(
        named(new QPushButton(QStringLiteral("Pantalla  FULL")), QStringLiteral("CmdFullList")),
        120, 6600, 1335, 375);
    m_cmdReset = tab->add(
        named(new QPushButton(QStringLiteral("Borrar Grafica")), QStringLiteral("CmdReset")), 120,
        6960, 1335, 375);
    m_cmdDelete = tab->add(
        named(new QPushButton(QStringLiteral("Borrar Linea")), QStringLiteral("CmdDelete")), 120,
        7320, 1335, 375);

    auto *frame =
        tab->add(named(new QGroupBox(QStringLiteral("Presion Turbo")), QStringLiteral("Frame1")),
                 1560, 6480, 1455, 975);
    m_option3 =
        named(new QRadioButton(QStringLiteral("Ninguno"), frame), QStringLiteral("Option3"));
    Twips::place(m_option3, 120, 240, 1095, 255);
    m_option1 = named(new QRadioButton(QStringLiteral("Diesel"), frame), QStringLiteral("Option1"));
    Twips::place(m_option1, 120, 480, 1215, 195);
    m_option2 =
        named(new QRadioButton(QStringLiteral("Gasolina"), frame), QStringLiteral("Option2"));
    Twips::place(m_option2, 120, 660, 1215, 255);

    m_chcv =
        tab->add(named(new QCheckBox(QStringLiteral("Grafica Potencia")), QStringLiteral("ChCV")),
                 1560, 7440, 1575, 255);

    for (int k = 0; k < AppState::BoxCount; ++k) {
        const int column = k / 5;
        const int top = BoxRowTop[k % 5];
        m_colorButtons[size_t(k)] = tab->add(
            named(new QPushButton(QStringLiteral("Color")), QStringLiteral("CmdColor_%1").arg(k)),
            ColorButtonLeft[column], top, 615, 255);
        m_boxes[size_t(k)] = tab->add(
            named(new QCheckBox(QStringLiteral("Check1")), QStringLiteral("Check1_%1").arg(k)),
            BoxLeft[column], top, BoxWidth[k], 255);
        m_colorButtons[size_t(k)]->hide();
        m_boxes[size_t(k)]->hide();
    }
}

void Form1::buildEstadisticas(QWidget *page)
{
    auto *tab = static_cast<TabPage *>(page);
    const QFont bold = sized(font(), 12, true);
    const QFont normal = sized(font(), 12, false);

    struct Result {
        StatLabel which;
        const char *name;
        int top;
        int width;
    };
    const Result results[] = {{LbMaxPico, "LbMaxPico", 840, 10335},
                              {LbTimeCarga, "LbTimeCarga", 1440, 10575},
                              {Label1, "Label1", 2040, 9015},
                              {LbMaxN75, "LbMaxN75", 2640, 9855},
                              {LbMEGR, "LbMEGR", 3240, 11175}};
    for (const Result &r : results) {
        auto *label =
            tab->add(named(new QLabel, QString::fromLatin1(r.name)), 360, r.top, r.width, 375);
        label->setTextFormat(Qt::PlainText);
        label->setFont(bold);
        m_labels[size_t(r.which)] = label;
    }

    auto *label2 =
        tab->add(named(new QLabel(QStringLiteral("Presion ATM")), QStringLiteral("Label2")), 8880,
                 720, 1575, 375);
    m_txtAtmo = tab->add(named(new QLineEdit(QStringLiteral("950")), QStringLiteral("TxtAtmo")),
                         10320, 720, 495, 300);
    m_txtAtmo->setTextMargins(0, 0, 0, 0);
    m_txtAtmo->setAcceptDrops(false);
    auto *label3 = tab->add(named(new QLabel(QStringLiteral("mbar")), QStringLiteral("Label3")),
                            10920, 720, 615, 375);
    for (QWidget *widget : std::initializer_list<QWidget *>{label2, m_txtAtmo, label3})
        widget->setFont(normal);

    m_cmdSavePant = tab->add(named(new QPushButton(QStringLiteral("Guardar  Estadistica")),
                                   QStringLiteral("CmdSavePant")),
                             120, 7080, 1575, 615);
}

// The menu commands and the buttons.
void Form1::wireCommands()
{
    connect(m_abrirCSV, &QAction::triggered, this, &Form1::openChosen);
    connect(m_asociar, &QAction::triggered, this, &Form1::associateRequested);
    connect(m_acerca, &QAction::triggered, this, &Form1::aboutRequested);
    connect(m_cmdFull, &QPushButton::clicked, this, &Form1::fullChartRequested);
    connect(m_cmdSave, &QPushButton::clicked, this, &Form1::saveChartRequested);
    connect(m_cmdFullList, &QPushButton::clicked, this, &Form1::fullListRequested);
    connect(m_cmdSavePant, &QPushButton::clicked, this, &Form1::captureRequested);
    connect(m_cmdReset, &QPushButton::clicked, this, [this] {
        WaitCursor wait;
        m_state->ResetChart();
    });
    connect(m_cmdDelete, &QPushButton::clicked, this, &Form1::deleteSelectedRow);
    connect(m_chart, &ChartView::pointPicked, this, [this](int series, int point) {
        m_state->chart.setHintText(PointReadout::Text(*m_state, m_state->chart, series, point));
    });
}

// What the user does to a control goes to the state; what the state then changes comes back
// through wireState(). Each forward ends by showing the control as the state has it, since the
// handler may have put it back (an engine type the log does not have, a power curve that cannot
// be drawn).
void Form1::wireControls()
{
    for (int k = 0; k < AppState::BoxCount; ++k) {
        connect(m_boxes[size_t(k)], &QCheckBox::toggled, this, [this, k](bool checked) {
            {
                WaitCursor wait;
                m_state->setBoxTicked(k, checked);
            }
            syncBox(k);
        });
        connect(m_colorButtons[size_t(k)], &QPushButton::clicked, this,
                [this, k] { chooseColor(k); });
    }

    const std::pair<QRadioButton *, EngineType> options[] = {{m_option1, EngineType::Diesel},
                                                             {m_option2, EngineType::Gasolina},
                                                             {m_option3, EngineType::Ninguno}};
    for (const auto &[option, type] : options) {
        connect(option, &QRadioButton::toggled, this, [this, type = type](bool on) {
            if (!on)
                return;
            {
                WaitCursor wait;
                m_state->selectEngine(type);
            }
            syncEngine();
        });
    }
    connect(m_chcv, &QCheckBox::toggled, this, [this](bool checked) {
        {
            WaitCursor wait;
            m_state->setChCVTicked(checked);
        }
        syncChCV();
    });
    connect(m_txtAtmo, &QLineEdit::textChanged, this, [this](const QString &text) {
        m_state->setTxtAtmo(text);
        syncTxtAtmo();
    });
}

void Form1::wireState()
{
    AppState *state = m_state.get();
    connect(state, &AppState::boxChanged, this, &Form1::syncBox);
    connect(state, &AppState::engineChanged, this, &Form1::syncEngine);
    connect(state, &AppState::chcvChanged, this, &Form1::syncChCV);
    connect(state, &AppState::labelChanged, this, &Form1::syncLabel);
    connect(state, &AppState::txtAtmoChanged, this, &Form1::syncTxtAtmo);
    connect(state, &AppState::captionChanged, this, [this] { setWindowTitle(m_state->caption()); });
    connect(state, &AppState::sessionsChanged, this, &Form1::syncSessions);
    connect(state, &AppState::tableAboutToReset, m_model, &DataTableModel::beginReset);
    connect(state, &AppState::tableReset, this, [this] {
        m_model->endReset();
        m_model->setHeaderTips(AnalysisTexts::columnLabels(m_state->table, m_state->columnLines,
                                                           m_state->newerLayout));
        syncColumns();
    });
    connect(state, &AppState::rowAboutToBeRemoved, m_model, &DataTableModel::beginRemoveRow);
    connect(state, &AppState::rowRemoved, m_model, [this] { m_model->endRemoveRow(); });
    connect(state, &AppState::columnColorsChanged, m_model, &DataTableModel::colorsChanged);
}

void Form1::start(const QString &argumentText)
{
    WaitCursor wait;
    m_state->FormLoad(argumentText);
}

void Form1::openFile(const QString &path)
{
    WaitCursor wait;
    m_state->OpenChosen(path, path.isEmpty() ? QString() : QFileInfo(path).fileName());
}

void Form1::openChosen()
{
    const QString path = m_fileChooser
                             ? m_fileChooser()
                             : QFileDialog::getOpenFileName(this, QString(), QString(),
                                                            QString::fromLatin1(LogFilter));
    openFile(path); // an empty path still resets the chart, as a cancelled dialog does
}

void Form1::openSession(int session)
{
    WaitCursor wait;
    m_state->OpenSession(session);
}

void Form1::chooseColor(int k)
{
    const QColor initial = m_lastColor.isValid() ? m_lastColor : m_state->box(k).color;
    const QColor chosen =
        m_colorChooser ? m_colorChooser(initial) : QColorDialog::getColor(initial, this);
    if (!chosen.isValid())
        return;
    m_lastColor = chosen;
    WaitCursor wait;
    m_state->ColorChosen(k, chosen);
}

void Form1::deleteSelectedRow()
{
    const QModelIndexList rows = m_list->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return;
    WaitCursor wait;
    m_state->DeleteRow(rows.first().row() + 1);
}

void Form1::showMessage(const QString &text, MessageKind kind)
{
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    if (kind == MessageKind::Question)
        icon = QMessageBox::Question;
    else if (kind == MessageKind::Warning)
        icon = QMessageBox::Warning;
    QMessageBox box(icon, programName(), text, QMessageBox::Ok, this);
    const bool waiting = QApplication::overrideCursor() != nullptr;
    if (waiting)
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    box.exec();
    if (waiting)
        QApplication::restoreOverrideCursor();
}

// ---- the state shown in the widgets; a mirrored change never runs a handler again ----

void Form1::syncAll()
{
    setWindowTitle(m_state->caption());
    for (int k = 0; k < AppState::BoxCount; ++k)
        syncBox(k);
    syncEngine();
    syncChCV();
    for (int which = 0; which < StatLabelCount; ++which)
        syncLabel(which);
    syncTxtAtmo();
    syncColumns();
}

void Form1::syncBox(int k)
{
    if (k < 0 || k >= AppState::BoxCount)
        return;
    const AppState::Box &state = m_state->box(k);
    QCheckBox *box = m_boxes[size_t(k)];
    const QSignalBlocker block(box);
    box->setText(literalCaption(state.caption));
    box->setChecked(state.ticked);
    QPalette palette = box->palette();
    const QColor color =
        state.color.isValid() ? state.color : this->palette().color(QPalette::WindowText);
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::ButtonText, color);
    box->setPalette(palette);
    box->setVisible(state.visible);
    m_colorButtons[size_t(k)]->setVisible(state.visible);
}

void Form1::syncEngine()
{
    const QSignalBlocker block1(m_option1);
    const QSignalBlocker block2(m_option2);
    const QSignalBlocker block3(m_option3);
    switch (m_state->engine()) {
    case EngineType::Diesel:
        m_option1->setChecked(true);
        break;
    case EngineType::Gasolina:
        m_option2->setChecked(true);
        break;
    case EngineType::Ninguno:
        m_option3->setChecked(true);
        break;
    }
}

void Form1::syncChCV()
{
    const QSignalBlocker block(m_chcv);
    m_chcv->setEnabled(m_state->chcvEnabled());
    m_chcv->setChecked(m_state->chcvTicked());
}

void Form1::syncLabel(int which)
{
    if (which >= 0 && which < StatLabelCount)
        m_labels[size_t(which)]->setText(m_state->label(StatLabel(which)));
}

void Form1::syncTxtAtmo()
{
    if (m_txtAtmo->text() == m_state->txtAtmo())
        return;
    const QSignalBlocker block(m_txtAtmo);
    m_txtAtmo->setText(m_state->txtAtmo());
}

void Form1::syncColumns()
{
    const DataTable &table = m_state->table;
    std::vector<int> widths;
    widths.reserve(size_t(table.columnCount()));
    for (int k = 0; k < table.columnCount(); ++k)
        widths.push_back(table.column(k).width);
    TableView::setColumnWidths(m_list, widths);
}

// One checkable item per session of the open file, "Sesión N  (hh:mm:ss, R filas)", the loaded
// one checked; the menu is shown only when the file holds more than one session.
void Form1::syncSessions()
{
    m_sesiones->clear();
    delete m_sessionItems; // the group of the items just cleared
    m_sessionItems = nullptr;
    const std::vector<LogSession> &sessions = m_state->sessions();
    m_sesiones->menuAction()->setVisible(sessions.size() > 1);
    if (sessions.size() <= 1)
        return;
    m_sessionItems = new QActionGroup(m_sesiones);
    for (int n = 1; n <= int(sessions.size()); ++n) {
        const LogSession &session = sessions[size_t(n - 1)];
        const QString when =
            session.time.isEmpty() ? QString() : session.time + QStringLiteral(", ");
        QAction *item = m_sesiones->addAction(
            QStringLiteral("Sesión %1  (%2%3 filas)").arg(n).arg(when).arg(session.rows));
        item->setObjectName(QStringLiteral("Sesion_%1").arg(n));
        item->setCheckable(true);
        item->setChecked(n == m_state->currentSession());
        m_sessionItems->addAction(item);
        // Queued: loading the session rebuilds this menu, item included.
        connect(
            item, &QAction::triggered, this, [this, n] { openSession(n); }, Qt::QueuedConnection);
    }
}

// ---- the other windows ----

void Form1::wireWindows()
{
    connect(this, &Form1::fullChartRequested, this, &Form1::showFullChart);
    connect(this, &Form1::saveChartRequested, this, &Form1::saveChart);
    connect(this, &Form1::fullListRequested, this, &Form1::showFullList);
    connect(this, &Form1::captureRequested, this, [this] { WindowCapture::capture(this); });
    connect(this, &Form1::associateRequested, this, &Form1::associate);
    connect(this, &Form1::aboutRequested, this, &Form1::showAbout);
}

void Form1::setImageFolders(const QString &programDir, const QString &picturesDir)
{
    m_programDir = programDir;
    m_picturesDir = picturesDir;
}

void Form1::showFullChart()
{
    // A new window at every press: nothing of an earlier one (its read-out, its zoom) stays, and
    // one still open gives way to it.
    m_form3.reset();
    m_form3 = std::make_unique<Form3>(*m_state, m_programDir, m_picturesDir);
    WaitCursor wait;
    m_form3->showFilled();
}

void Form1::saveChart()
{
    const ImageFiles::SaveResult saved =
        m_chart->saveImage(m_state->LogTitle, m_programDir, m_picturesDir);
    if (!saved.ok)
        showMessage(saved.error, MessageKind::Warning);
}

void Form1::showFullList()
{
    if (!m_form4)
        m_form4 = std::make_unique<Form4>(*m_state);
    WaitCursor wait;
    m_form4->showFilled();
}

void Form1::associate()
{
    const QString error = Association::AssociateExtension(QStringLiteral(".csv"));
    if (!error.isEmpty())
        showMessage(error, MessageKind::Warning);
}

void Form1::showAbout()
{
    if (!m_form2)
        m_form2 = std::make_unique<Form2>();
    m_form2->show();
    m_form2->raise();
}

// ---- window events ----

void Form1::closeEvent(QCloseEvent *event)
{
    // The about box, the full-screen chart and the full-screen table close first, in that order.
    if (m_form2)
        m_form2->close();
    if (m_form3)
        m_form3->close();
    if (m_form4)
        m_form4->close();
    emit closing();
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        if (window != this && window->isVisible())
            window->close();
    }
    event->accept();
}

void Form1::dragEnterEvent(QDragEnterEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() == 1 && urls.first().isLocalFile())
        event->acceptProposedAction();
}

void Form1::dropEvent(QDropEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() != 1 || !urls.first().isLocalFile())
        return;
    event->acceptProposedAction();
    openFile(urls.first().toLocalFile());
}
