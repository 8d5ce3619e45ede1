#include "gui/FullWindow.h"

#include "gui/Twips.h"

#include <QCloseEvent>
#include <QKeyEvent>

#include <algorithm>

FullWindow::FullWindow(const QSize &designTwips, int widthInset, const QSize &buttonTwips,
                       QWidget *parent)
    : QWidget(parent, Qt::Window), m_design(designTwips), m_widthInset(widthInset),
      m_buttonSize(buttonTwips)
{
    resize(Twips::size(m_design.width(), m_design.height()));
}

FullWindow::Parts FullWindow::partsFor(int outerWidth, int outerHeight, int widthInset,
                                       const QSize &button)
{
    Parts parts;
    const int bodyHeight = std::max(0, outerHeight - 1300);
    parts.body = QRect(0, 0, std::max(0, outerWidth - widthInset), bodyHeight);
    parts.button = QRect(QPoint(outerWidth / 2 - 2000, bodyHeight + 100), button);
    return parts;
}

void FullWindow::setParts(QWidget *body, QWidget *button)
{
    m_body = body;
    m_button = button;
    layOut();
}

void FullWindow::present()
{
    if (!m_placed) {
        // A new window: design size, centred on the screen.
        Twips::centre(this, Twips::size(m_design.width(), m_design.height()));
        m_placed = true;
    }
    if (isVisible()) {
        // Already open (perhaps behind the main window): bring it to the front.
        raise();
        activateWindow();
    }
    show();
}

void FullWindow::layOut()
{
    if (!m_body || !m_button)
        return;
    // The window's outer size, title bar and border included, as the layout is reckoned in it.
    const QSize outer = frameGeometry().size();
    const Parts parts = partsFor(outer.width() * Twips::PerPixel, outer.height() * Twips::PerPixel,
                                 m_widthInset, m_buttonSize);
    const auto toPixels = [](const QRect &r) {
        return Twips::rect(r.x(), r.y(), r.width(), r.height());
    };
    m_body->setGeometry(toPixels(parts.body));
    m_button->setGeometry(toPixels(parts.button));
}

void FullWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layOut();
}

void FullWindow::moveEvent(QMoveEvent *event)
{
    // The frame becomes known once the window manager has decorated the window.
    QWidget::moveEvent(event);
    layOut();
}

void FullWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void FullWindow::closeEvent(QCloseEvent *event)
{
    // Closed, the window starts over at the next press: design size, centred.
    m_placed = false;
    QWidget::closeEvent(event);
}
