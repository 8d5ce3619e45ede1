#include "views/Form4.h"

#include "app/AppState.h"
#include "app/Twips.h"
#include "log/DataTable.h"
#include "log/DataTableModel.h"
#include "views/WindowCapture.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>

#include <algorithm>

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
    : QWidget(parent, Qt::Window), m_state(state), m_snapshot(std::make_unique<DataTable>())
{
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Form4"));
    resize(Twips::size(DesignWidth, DesignHeight));

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
    layOut();
}

Form4::~Form4()
{
    // The snapshot goes before the list does: the list must not read it any more.
    m_model->setTable(nullptr);
}

Form4::Layout Form4::layoutFor(int outerWidth, int outerHeight)
{
    Layout layout;
    const int listHeight = std::max(0, outerHeight - 1300);
    layout.list = QRect(0, 0, std::max(0, outerWidth - 100), listHeight);
    layout.button = QRect(outerWidth / 2 - 2000, listHeight + 100, ButtonWidth, ButtonHeight);
    return layout;
}

void Form4::showFilled()
{
    if (!m_placed) {
        // A new window: design size, centred on the screen.
        Twips::centre(this, Twips::size(DesignWidth, DesignHeight));
        m_placed = true;
    }
    if (isVisible()) {
        // Already open (perhaps behind the main window): bring it to the front.
        raise();
        activateWindow();
    }
    show();
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

void Form4::layOut()
{
    // The window's outer size, title bar and border included, as the layout is reckoned in it.
    const QSize outer = frameGeometry().size();
    const Layout layout =
        layoutFor(outer.width() * Twips::PerPixel, outer.height() * Twips::PerPixel);
    m_list->setGeometry(
        Twips::rect(layout.list.x(), layout.list.y(), layout.list.width(), layout.list.height()));
    m_command1->setGeometry(Twips::rect(layout.button.x(), layout.button.y(), layout.button.width(),
                                        layout.button.height()));
}

void Form4::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layOut();
}

void Form4::moveEvent(QMoveEvent *event)
{
    // The frame becomes known once the window manager has decorated the window.
    QWidget::moveEvent(event);
    layOut();
}

void Form4::closeEvent(QCloseEvent *event)
{
    // Closed, the window starts over at the next press: design size, centred.
    m_placed = false;
    QWidget::closeEvent(event);
}
