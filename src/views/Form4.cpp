#include "views/Form4.h"

#include "app/AppState.h"
#include "log/DataTable.h"
#include "log/DataTableModel.h"
#include "views/WindowCapture.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTableView>

namespace {

const int DesignWidth = 11910; // client area at design, twips
const int DesignHeight = 6345;
const int ButtonWidth = 3975;
const int ButtonHeight = 495;

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
    : FullWindow(QSize(DesignWidth, DesignHeight), 100, QSize(ButtonWidth, ButtonHeight), parent),
      m_state(state), m_snapshot(std::make_unique<DataTable>())
{
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Form4"));

    m_model = new SnapshotModel(m_snapshot.get(), this);
    m_list = new QTableView(this);
    m_list->setObjectName(QStringLiteral("ListDatos"));
    QFont listFont = font();
    listFont.setPointSizeF(9.75);
    listFont.setBold(true);
    m_list->setFont(listFont);
    m_list->setModel(m_model);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setShowGrid(false);
    m_list->setWordWrap(false);
    m_list->verticalHeader()->hide();
    m_list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_list->verticalHeader()->setDefaultSectionSize(m_list->fontMetrics().height() + 4);
    m_list->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_list->horizontalHeader()->setHighlightSections(false);

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

Form4::Layout Form4::layoutFor(int outerWidth, int outerHeight)
{
    const Parts parts = partsFor(outerWidth, outerHeight, 100, QSize(ButtonWidth, ButtonHeight));
    return {parts.body, parts.button};
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

    QHeaderView *header = m_list->horizontalHeader();
    for (int k = 0; k < m_snapshot->columnCount(); ++k) {
        // The time columns of the further groups are hidden; column 0 stays.
        const bool hidden = k >= 1 && m_snapshot->column(k).header == QLatin1String("Tiempo");
        m_list->setColumnHidden(k, hidden);
        if (!hidden)
            header->resizeSection(k, header->defaultSectionSize());
    }
}
