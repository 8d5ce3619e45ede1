#pragma once

#include <QHeaderView>

// A horizontal header whose neighbouring sections may share a title: sections next to each other
// whose header data in `groupRole` is the same text show it once, across them all, in the upper
// lines, each with its own text (Qt::DisplayRole, such as a log's letter) in the lower line. A
// section without a group title is drawn as usual. It is as high as a group title of two lines
// and a line under it.
class GroupedHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit GroupedHeader(int groupRole, QWidget *parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintSection(QPainter *painter, const QRect &rect, int section) const override;

private:
    QString group(int section) const;
    int lowerHeight() const;

    const int m_groupRole;
};
