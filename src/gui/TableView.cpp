#include "gui/TableView.h"

#include "core/DataTable.h"
#include "gui/Twips.h"

#include <QHeaderView>
#include <QTableView>

namespace TableView {

namespace {
constexpr int DefaultColumnWidth = 1440; // twips
} // namespace

void setUp(QTableView *list, QAbstractItemModel *model)
{
    QFont font = list->font();
    font.setPointSizeF(9.75);
    font.setBold(true);
    list->setFont(font);
    list->setModel(model);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setShowGrid(false);
    list->setWordWrap(false);
    list->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    list->verticalHeader()->hide();
    list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list->verticalHeader()->setDefaultSectionSize(list->fontMetrics().height() + 4);
    list->horizontalHeader()->setDefaultSectionSize(Twips::px(DefaultColumnWidth));
    list->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    list->horizontalHeader()->setHighlightSections(false);
}

void setColumnWidths(QTableView *list, const std::vector<int> &widths)
{
    const int defaultWidth = list->horizontalHeader()->defaultSectionSize();
    for (int k = 0; k < int(widths.size()); ++k) {
        const int width = widths[size_t(k)];
        if (list->isColumnHidden(k) != (width == 0))
            list->setColumnHidden(k, width == 0);
        if (width == 0)
            continue;
        const int pixels = width == DataTable::DefaultWidth ? defaultWidth : Twips::px(width);
        if (list->columnWidth(k) != pixels)
            list->setColumnWidth(k, pixels);
    }
}

} // namespace TableView
