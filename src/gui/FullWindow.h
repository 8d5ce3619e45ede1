#pragma once

#include <QRect>
#include <QSize>
#include <QWidget>

// A resizable window of one big widget over a centred button, as the full-screen chart and table
// are: laid out from the window's outer size in twips, centred at its design size when first shown
// and again after it was closed, raised when shown while already open.
class FullWindow : public QWidget {
    Q_OBJECT
public:
    // Where the big widget and the button go in a window of outer size W x H twips: the widget
    // fills the width less `widthInset` and all but the bottom 1300 twips; the button of `button`
    // size stands 100 twips below it, 2000 twips left of the middle. Sizes never go below 0.
    struct Parts {
        QRect body;
        QRect button;
    };
    static Parts partsFor(int outerWidth, int outerHeight, int widthInset, const QSize &button);

protected:
    FullWindow(const QSize &designTwips, int widthInset, const QSize &buttonTwips, QWidget *parent);

    // The widgets to lay out; called once by the window's constructor.
    void setParts(QWidget *body, QWidget *button);
    // Centres the window the first time, brings it to the front when already open, shows it.
    void present();

    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override; // Escape closes the window

private:
    void layOut();

    QSize m_design;
    int m_widthInset;
    QSize m_buttonSize;
    QWidget *m_body = nullptr;
    QWidget *m_button = nullptr;
    bool m_placed = false;
};
