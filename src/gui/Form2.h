#pragma once

#include <QWidget>

class QLabel;

// The about box "Acerca de ODX": the program's picture, name and version, and the link to its
// web site (Label6: red while the pointer is on it, blue elsewhere on the box; a click opens the
// site in the user's browser). Modeless and without owner.
class Form2 : public QWidget {
    Q_OBJECT
public:
    explicit Form2(QWidget *parent = nullptr);
    ~Form2() override;

    static QString websiteAddress();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    void setLinkColor(const QColor &color);

    QLabel *m_label6;
};
