#include "gui/Form4.h"

#include "core/DataTable.h"
#include "core/LogLayout.h"
#include "gui/DataTableModel.h"
#include "gui/TableView.h"
#include "gui/WindowCapture.h"
#include "program/AppState.h"

#include <QPushButton>
#include <QTableView>

namespace {

const int DesignWidth = 11910; // client area at design, twips
const int DesignHeight = 6345;
const int ButtonWidth = 3975;
const int ButtonHeight = 495;
const int WidthInset = 100; // twips of the width the list leaves free

} // namespace

// The copied table as the window's list shows it: cell 0 keeps the list's own text colour, the
// other cells take their column's colour.
class Form4::SnapshotModel : public DataTableModel {
public:
    using DataTableModel::DataTableModel;

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role == Qt::ForegroundRole && index.column() == 0)
            return QVariant();
        return DataTableModel::data(index, role);
    }
};

Form4::Form4(AppState &state, QWidget *parent)
    : FullWindow(QSize(DesignWidth, DesignHeight), WidthInset, QSize(ButtonWidth, ButtonHeight),
                 parent),
      m_state(state), m_snapshot(std::make_unique<DataTable>())
{
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Form4"));

    m_model = new SnapshotModel(m_snapshot.get(), this);
    m_list = new QTableView(this);
    m_list->setObjectName(QStringLiteral("ListDatos"));
    TableView::setUp(m_list, m_model);

    m_command1 = new QPushButton(QStringLiteral("Guardar Pantallazo"), this);
    m_command1->setObjectName(QStringLiteral("Command1"));
    connect(m_command1, &QPushButton::clicked, this, [this] { WindowCapture::capture(this); });
    setParts(m_list, m_command1);
}

Form4::~Form4()
{
    // The snapshot goes before the list does: the list must not read it any more.
    m_model->setTable(nullptr);
}

FullWindow::Parts Form4::partsAt(int outerWidth, int outerHeight)
{
    return partsFor(outerWidth, outerHeight, WidthInset, QSize(ButtonWidth, ButtonHeight));
}

void Form4::showFilled()
{
    present();
    setWindowTitle(m_state.caption());

    // The list is replaced, never appended to: a copy of the table as it is now (rows share the
    // table's text blocks, so the copy is cheap).
    m_model->beginReset();
    *m_snapshot = m_state.table;
    m_model->endReset();

    // Every column at the default width, but the time columns of the further groups, which are
    // hidden: a column headed "Tiempo" other than column 0.
    std::vector<int> widths;
    widths.reserve(size_t(m_snapshot->columnCount()));
    for (int k = 0; k < m_snapshot->columnCount(); ++k) {
        const bool hidden = k >= 1 && m_snapshot->column(k).header == LogLayout::timeHeader();
        widths.push_back(hidden ? 0 : DataTable::DefaultWidth);
    }
    TableView::setColumnWidths(m_list, widths);
}
