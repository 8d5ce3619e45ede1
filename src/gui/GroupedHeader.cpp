#include "gui/GroupedHeader.h"

#include <QPainter>
#include <QStyleOptionHeader>

#include <algorithm>

GroupedHeader::GroupedHeader(int groupRole, QWidget *parent)
    : QHeaderView(Qt::Horizontal, parent), m_groupRole(groupRole)
{
}

QString GroupedHeader::group(int section) const
{
    return model() ? model()->headerData(section, orientation(), m_groupRole).toString()
                   : QString();
}

int GroupedHeader::lowerHeight() const
{
    return fontMetrics().height() + 6;
}

QSize GroupedHeader::sizeHint() const
{
    QSize size = QHeaderView::sizeHint();
    size.setHeight(std::max(size.height(), 3 * fontMetrics().height() + 10));
    return size;
}

void GroupedHeader::paintSection(QPainter *painter, const QRect &rect, int section) const
{
    const QString title = group(section);
    if (title.isEmpty()) {
        QHeaderView::paintSection(painter, rect, section);
        return;
    }
    // The section's own text in the lower line.
    QRect lower = rect;
    lower.setTop(rect.bottom() + 1 - lowerHeight());
    QStyleOptionHeader own;
    initStyleOptionForIndex(&own, section);
    own.rect = lower;
    own.textAlignment = Qt::AlignCenter;
    style()->drawControl(QStyle::CE_Header, &own, painter, this);

    // The group's title over every neighbour of the same title: drawn whole by each of them, so
    // that any one drawn alone leaves it complete.
    int first = visualIndex(section), last = first;
    while (first > 0 && group(logicalIndex(first - 1)) == title)
        --first;
    while (last + 1 < count() && group(logicalIndex(last + 1)) == title)
        ++last;
    const int left = sectionViewportPosition(logicalIndex(first));
    const int right = sectionViewportPosition(logicalIndex(last)) + sectionSize(logicalIndex(last));
    QStyleOptionHeader upper;
    initStyleOptionForIndex(&upper, section);
    upper.rect = QRect(left, rect.top(), right - left, lower.top() - rect.top());
    upper.text = title;
    upper.textAlignment = Qt::AlignCenter;
    upper.position = QStyleOptionHeader::Middle;
    style()->drawControl(QStyle::CE_Header, &upper, painter, this);
}
