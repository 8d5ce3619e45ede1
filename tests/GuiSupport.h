#pragma once

#include "TestSupport.h"

#include "gui/Form1.h"
#include "program/AppState.h"

#include <QtWidgets>

// Helpers shared by the window tests.
namespace GuiSupport {

// An image in one pixel format, so that pictures of either origin compare.
inline QImage rgb(const QImage &image)
{
    return image.convertToFormat(QImage::Format_RGB32);
}

// A shown main window started on `log`, its messages collected instead of shown in a modal box.
struct Window {
    QTemporaryDir dir;
    Form1 form;
    QStringList messages;

    explicit Window(const QString &log = QString())
    {
        form.state().showMessage = [this](const QString &text, MessageKind) { messages << text; };
        form.show();
        form.start(log);
    }
    template <class W> W *find(const QString &name) { return form.findChild<W *>(name); }
    QTabWidget *tabs() { return find<QTabWidget>(QStringLiteral("SSTab1")); }
    // "Abrir CSV" with the open dialog answering `path` (empty: cancelled).
    void open(const QString &path)
    {
        form.setFileChooser([path] { return path; });
        find<QAction>(QStringLiteral("AbrirCSV"))->trigger();
        QCoreApplication::processEvents();
    }
    void openBytes(const QByteArray &bytes, const QString &name = "run.01.csv")
    {
        open(TestSupport::writeFile(dir, name, bytes));
    }
};

// Receives what the program asks the desktop to open, once set as the handler of a URL scheme.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl &url) { urls << url; }
};

// Answers the next modal dialog the program opens: as soon as one is up, its class, caption and
// the texts of its labels and buttons are kept and the dialog is cancelled. Arm it before the
// action that opens the dialog; the action's exec() then returns as a cancelled dialog's does.
class DialogCatcher : public QObject {
public:
    QString className; // empty when no dialog came up
    QStringList texts; // the caption, then the labels and buttons shown

    void arm()
    {
        QTimer::singleShot(0, this, [this] { look(); });
    }

private:
    void look()
    {
        QWidget *dialog = QApplication::activeModalWidget();
        if (!dialog) {
            QTimer::singleShot(10, this, [this] { look(); });
            return;
        }
        className = QString::fromLatin1(dialog->metaObject()->className());
        texts << dialog->windowTitle();
        for (const QLabel *label : dialog->findChildren<QLabel *>())
            if (label->isVisible() && !label->text().isEmpty())
                texts << label->text();
        for (const QAbstractButton *button : dialog->findChildren<QAbstractButton *>())
            if (button->isVisible() && !button->text().isEmpty())
                texts << button->text();
        dialog->close(); // a dialog closed is rejected
    }
};

} // namespace GuiSupport
