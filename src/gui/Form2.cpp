#include "gui/Form2.h"

#include "core/ProgramName.h"
#include "gui/Twips.h"

#include <QDesktopServices>
#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QUrl>

namespace {

QLabel *label(QWidget *parent, const QString &name, const QString &text)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

} // namespace

Form2::Form2(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Acerca de ODX"));
    setFixedSize(Twips::size(5400, 2520));
    setMouseTracking(true);

    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Picture1"));
    const QPixmap icon(QStringLiteral(":/ondalyx.png"));
    if (!icon.isNull())
        picture->setPixmap(
            icon.scaled(Twips::size(1440, 1440), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    picture->setAlignment(Qt::AlignCenter);
    Twips::place(picture, 240, 240, 1440, 1440);

    QLabel *label1 = label(this, QStringLiteral("Label1"), programName());
    QFont big = font();
    big.setPointSize(24);
    big.setBold(true);
    label1->setFont(big);
    Twips::place(label1, 1920, 240, 3240, 720);

    Twips::place(label(this, QStringLiteral("Label2"), QStringLiteral("Version: 1.0")), 1920, 1080,
                 3240, 300);
    Twips::place(label(this, QStringLiteral("Label5"), QStringLiteral("Website:")), 1920, 1680, 900,
                 300);

    m_label6 = label(this, QStringLiteral("Label6"), websiteAddress());
    m_label6->setCursor(Qt::PointingHandCursor);
    m_label6->setMouseTracking(true);
    m_label6->installEventFilter(this);
    Twips::place(m_label6, 2880, 1680, 2280, 300);
    setLinkColor(QColor(0, 0, 255));
}

Form2::~Form2() = default;

QString Form2::websiteAddress()
{
    return QStringLiteral("https://ondalyx.org");
}

void Form2::setLinkColor(const QColor &color)
{
    QPalette palette = m_label6->palette();
    if (palette.color(QPalette::WindowText) == color)
        return;
    palette.setColor(QPalette::WindowText, color);
    m_label6->setPalette(palette);
}

bool Form2::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_label6) {
        switch (event->type()) {
        case QEvent::Enter:
            setLinkColor(QColor(255, 0, 0));
            break;
        case QEvent::MouseMove:
            // Taken here, so that the box below does not see it as a move over itself.
            setLinkColor(QColor(255, 0, 0));
            return true;
        case QEvent::Leave:
            setLinkColor(QColor(0, 0, 255));
            break;
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton &&
                m_label6->rect().contains(static_cast<QMouseEvent *>(event)->position().toPoint()))
                QDesktopServices::openUrl(QUrl(websiteAddress()));
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Form2::mouseMoveEvent(QMouseEvent *event)
{
    // The pointer is on the box but not on the link.
    setLinkColor(QColor(0, 0, 255));
    QWidget::mouseMoveEvent(event);
}
