// Qt's own texts in Spanish whatever the system's language: the open dialog of "Abrir CSV", the
// colour dialog of a series and the program's message box, opened from the main window as a user
// opens them, and the file types the open dialog lists.
#include "GuiSupport.h"

#include "gui/Form1.h"
#include "gui/Spanish.h"

#include <QAbstractFileIconProvider>

#include <memory>

class TestSpanish : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<Form1> m_form;

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale::c()); // as on a system set to another language
        const QString problem = Spanish::install();
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        // The desktop's own dialogs would speak the system's language.
        QVERIFY(QCoreApplication::testAttribute(Qt::AA_DontUseNativeDialogs));
        m_form = std::make_unique<Form1>();
        m_form->show();
        m_form->start(TestSupport::writeFile(
            m_dir, QStringLiteral("run.csv"),
            TestSupport::standardLog(TestSupport::Diesel,
                                     {TestSupport::pullLine("900", "30", "1000", "1000")})));
    }

    void dialogs_data()
    {
        QTest::addColumn<QString>("dialog");    // its class
        QTest::addColumn<QStringList>("texts"); // some of its caption, labels and buttons
        QTest::newRow("Abrir CSV")
            << "QFileDialog"
            << QStringList{"Abrir",  "Ver en:", "&Nombre de fichero:", "Ficheros de tipo:",
                           "&Abrir", "Cancelar"};
        QTest::newRow("Color") << "QColorDialog"
                               << QStringList{"Selecciona color", "Colores &básicos",
                                              "&Añadir a los colores personalizados", "Aceptar",
                                              "Cancelar"};
        QTest::newRow("a log that is not there")
            << "QMessageBox"
            << QStringList{"No se puede abrir el registro \"/nonexistent/run.csv\": el archivo no "
                           "existe.",
                           "Aceptar"};
    }
    void dialogs()
    {
        QFETCH(QString, dialog);
        QFETCH(QStringList, texts);
        GuiSupport::DialogCatcher catcher;
        catcher.arm();
        if (dialog == "QColorDialog") {
            m_form->findChild<QPushButton *>(QStringLiteral("CmdColor_2"))->click();
        } else { // the open dialog, or a log it names that is not there
            if (dialog == "QMessageBox")
                m_form->setFileChooser([] { return QStringLiteral("/nonexistent/run.csv"); });
            m_form->findChild<QAction *>(QStringLiteral("AbrirCSV"))->trigger();
            m_form->setFileChooser(nullptr);
        }
        QCOMPARE(catcher.className, dialog);
        for (const QString &text : texts)
            QVERIFY2(catcher.texts.contains(text),
                     qPrintable(QStringLiteral("\"%1\" is not among %2")
                                    .arg(text, catcher.texts.join(QStringLiteral(" | ")))));
    }
};

QTEST_MAIN(TestSpanish)
#include "test_spanish.moc"
