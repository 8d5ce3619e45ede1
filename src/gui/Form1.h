#pragma once

#include "core/LogLayout.h"

#include <QColor>
#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>

class AppState;
class QAction;
class QActionGroup;
class QMenu;
enum class MessageKind;
class ChartView;
class DataTableModel;
class Form2;
class Form3;
class Form4;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableView;
class QTabWidget;

// The main window: menu bar, the tab control SSTab1 with the chart ("Grafica"), the data table
// and its controls ("Datos"), the statistics ("Estadisticas") and the analysis ("Análisis",
// gui/AnalysisTab). It holds the program's state
// (AppState), forwards what the user does to it and shows what it changes.
class Form1 : public QMainWindow {
    Q_OBJECT
public:
    explicit Form1(QWidget *parent = nullptr);
    ~Form1() override;

    // Chart1's size (11535 x 7215 twips), at which the report also draws its chart image.
    static QSize chartSize();

    AppState &state() const { return *m_state; }
    ChartView *chart1() const { return m_chart; }
    QTableView *listDatos() const { return m_list; }

    // Start-up with the command-line argument text (empty: no log to open).
    void start(const QString &argumentText);
    // Opens the log at `path` as if it had been chosen in the open dialog.
    void openFile(const QString &path);

    // The colour dialog and the open dialog can be replaced (scripted runs, tests). The colour
    // chooser gets the colour to preselect and returns an invalid colour on cancel; the file
    // chooser returns the chosen path, or an empty text on cancel.
    using ColorChooser = std::function<QColor(const QColor &initial)>;
    using FileChooser = std::function<QString()>;
    void setColorChooser(ColorChooser chooser) { m_colorChooser = std::move(chooser); }
    void setFileChooser(FileChooser chooser) { m_fileChooser = std::move(chooser); }

    // Where the chart saves of this window and of the full-screen chart go (see
    // ImageFiles::folder): the program's folder and the user's pictures folder, the real ones
    // when empty.
    void setImageFolders(const QString &programDir, const QString &picturesDir);

signals:
    void fullChartRequested(); // CmdFull "Pantalla Completa"
    void saveChartRequested(); // CmdSave "Guardar Grafica"
    void fullListRequested();  // CmdFullList "Pantalla  FULL"
    void captureRequested();   // CmdSavePant "Guardar  Estadistica"
    void associateRequested(); // Asociar "Asociar Extension"
    void aboutRequested();     // Acerca "Acerca de ODX"
    // The window is closing: the other windows close now, then the program ends.
    void closing();

protected:
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void buildMenu();
    void buildGrafica(QWidget *page);
    void buildDatos(QWidget *page);
    void buildEstadisticas(QWidget *page);
    void wireCommands();
    void wireControls();
    void wireState();
    void wireWindows();

    void openChosen();
    void openSession(int session);
    void chooseColor(int k);
    void deleteSelectedRow();
    void showMessage(const QString &text, MessageKind kind);
    void showFullChart();
    void saveChart();
    void showFullList();
    void associate();
    void showAbout();

    void syncAll();
    void syncBox(int k);
    void syncEngine();
    void syncChCV();
    void syncLabel(int which);
    void syncTxtAtmo();
    void syncColumns();
    void syncSessions();

    std::unique_ptr<AppState> m_state;
    DataTableModel *m_model = nullptr;

    QAction *m_abrirCSV = nullptr;
    QAction *m_asociar = nullptr;
    QAction *m_acerca = nullptr;
    QMenu *m_sesiones = nullptr; // shown only for a file of several sessions
    QActionGroup *m_sessionItems = nullptr;
    QTabWidget *m_tabs = nullptr;
    ChartView *m_chart = nullptr;
    QPushButton *m_cmdFull = nullptr;
    QPushButton *m_cmdSave = nullptr;
    QTableView *m_list = nullptr;
    QPushButton *m_cmdFullList = nullptr;
    QPushButton *m_cmdReset = nullptr;
    QPushButton *m_cmdDelete = nullptr;
    std::array<QCheckBox *, LogLayout::BoxCount> m_boxes{};
    std::array<QPushButton *, LogLayout::BoxCount> m_colorButtons{};
    QRadioButton *m_option1 = nullptr;
    QRadioButton *m_option2 = nullptr;
    QRadioButton *m_option3 = nullptr;
    QCheckBox *m_chcv = nullptr;
    std::array<QLabel *, 5> m_labels{};
    QLineEdit *m_txtAtmo = nullptr;
    QPushButton *m_cmdSavePant = nullptr;

    ColorChooser m_colorChooser;
    FileChooser m_fileChooser;
    QColor m_lastColor; // the colour the colour dialog returned last
    QString m_programDir;
    QString m_picturesDir;

    // The other windows: the about box and the full-screen table are made on first use and kept
    // until the program ends; the full-screen chart is made anew at every "Pantalla Completa".
    std::unique_ptr<Form2> m_form2;
    std::unique_ptr<Form3> m_form3;
    std::unique_ptr<Form4> m_form4;
};
