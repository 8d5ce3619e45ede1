#pragma once

#include "gui/FullWindow.h"

#include <QRect>

#include <memory>

class AppState;
class DataTable;
class QPushButton;
class QTableView;

// The full-screen table window: its own ListDatos holding a snapshot of the data table (same
// headers, texts and column colours; the time columns of the second and third group hidden) and
// Command1 "Guardar Pantallazo" under it, which captures the window for the image editor.
class Form4 : public FullWindow {
    Q_OBJECT
public:
    explicit Form4(AppState &state, QWidget *parent = nullptr);
    ~Form4() override;

    // Where the list (the body) and the button go in a window of outer size W x H twips.
    static Parts partsAt(int outerWidth, int outerHeight);

    // "Pantalla  FULL": shows the window (centred the first time), takes the main window's caption
    // and replaces the list with a copy of the data table as it is now.
    void showFilled();

    QTableView *listDatos() const { return m_list; }

private:
    class SnapshotModel;

    AppState &m_state;
    std::unique_ptr<DataTable> m_snapshot;
    SnapshotModel *m_model;
    QTableView *m_list;
    QPushButton *m_command1;
};
