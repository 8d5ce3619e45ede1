#pragma once

#include "TestSupport.h"

#include <QtWidgets>

// Helpers shared by the window tests.
namespace GuiSupport {

// An image in one pixel format, so that pictures of either origin compare.
inline QImage rgb(const QImage &image)
{
    return image.convertToFormat(QImage::Format_RGB32);
}

// Receives what the program asks the desktop to open, once set as the handler of a URL scheme.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl &url) { urls << url; }
};

// Answers the next modal dialog the program opens: as soon as one is up, its caption and the
// texts of its labels and buttons are kept and the dialog is cancelled. Arm it before the action
// that opens the dialog; the action's exec() then returns as a cancelled dialog's does.
class DialogCatcher : public QObject {
public:
    QString className; // empty when no dialog came up
    QString caption;
    QStringList labels;
    QStringList buttons;

    void arm()
    {
        QTimer::singleShot(0, this, [this] { look(); });
    }
    QStringList texts() const { return QStringList{caption} + labels + buttons; }

private:
    void look()
    {
        QWidget *dialog = QApplication::activeModalWidget();
        if (!dialog) {
            QTimer::singleShot(10, this, [this] { look(); });
            return;
        }
        className = QString::fromLatin1(dialog->metaObject()->className());
        caption = dialog->windowTitle();
        for (const QLabel *label : dialog->findChildren<QLabel *>())
            if (label->isVisible() && !label->text().isEmpty())
                labels << label->text();
        for (const QAbstractButton *button : dialog->findChildren<QAbstractButton *>())
            if (button->isVisible() && !button->text().isEmpty())
                buttons << button->text();
        if (auto *d = qobject_cast<QDialog *>(dialog))
            d->reject();
        else
            dialog->close();
    }
};

} // namespace GuiSupport
