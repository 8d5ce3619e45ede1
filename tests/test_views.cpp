// The windows besides the main one: the full-screen chart and table windows, the window capture
// and the about box.
#include "GuiSupport.h"

#include "core/DataTable.h"
#include "gui/DataTableModel.h"
#include "gui/Form2.h"
#include "gui/Form3.h"
#include "gui/Form4.h"
#include "program/AppState.h"

namespace {

QPushButton *button(QWidget &window, const char *name)
{
    return window.findChild<QPushButton *>(QLatin1String(name));
}

} // namespace

class TestViews : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<AppState> m_state;

private slots:
    // A log of no engine type, 20 rows of TestSupport::rampLines.
    void init()
    {
        m_state = std::make_unique<AppState>();
        QVERIFY(m_state->FormLoad(TestSupport::writeFile(
            m_dir, QStringLiteral("run.csv"),
            TestSupport::standardLog({"'005", "'006", "'007"}, TestSupport::rampLines(20)))));
    }

    void form4CopiesTableOnceAndCapturesItself()
    {
        m_state->setBoxTicked(2, true);
        Form4 form4(*m_state);
        form4.showFilled();
        form4.showFilled();
        QAbstractItemModel *model = form4.listDatos()->model();
        // Regression: a second press must not append a second set of rows and columns.
        QCOMPARE(model->rowCount(), 20);
        QCOMPARE(model->columnCount(), m_state->table.columnCount());

        // A plotted column keeps its series colour, the others are black, cell 0 the list's own.
        const auto color = [&](int column) {
            return model->index(0, column).data(Qt::ForegroundRole);
        };
        QCOMPARE(color(2).value<QBrush>().color(), m_state->box(2).color);
        QCOMPARE(color(3).value<QBrush>().color(), QColor(Qt::black));
        QVERIFY(!color(0).isValid());

        // "Guardar Pantallazo" copies this window, not another one that is open.
        Form3 other(*m_state);
        other.showFilled();
        form4.showFilled();
        form4.resize(700, 420);
        QVERIFY(QTest::qWaitForWindowExposed(&form4));
        QGuiApplication::clipboard()->clear();
        QTemporaryDir emptyPath; // no image editor to start
        const QByteArray oldPath = qgetenv("PATH");
        qputenv("PATH", emptyPath.path().toLocal8Bit());
        QTest::mouseClick(button(form4, "Command1"), Qt::LeftButton);
        qputenv("PATH", oldPath);
        QCOMPARE(GuiSupport::rgb(QGuiApplication::clipboard()->image()),
                 GuiSupport::rgb(form4.grab().toImage()));
    }

    // The "Datos" list takes a table longer than a batch a batch at a time: every row can be
    // reached, and a row deleted among those shown leaves the list as the table.
    void bigTableInBatches()
    {
        DataTable table;
        table.setColumns({{QStringLiteral("Tiempo")}, {QStringLiteral("C1")}});
        for (int r = 1; r <= DataTableModel::Batch + 5; ++r)
            table.appendLine(",0.1," + std::to_string(r));
        DataTableModel model(&table);
        QCOMPARE(model.rowCount(), DataTableModel::Batch);
        model.beginRemoveRow(2);
        table.removeRow(2);
        model.endRemoveRow();
        while (model.canFetchMore(QModelIndex()))
            model.fetchMore(QModelIndex());
        QCOMPARE(model.rowCount(), table.rowCount());
        QCOMPARE(model.index(1, 1).data().toString(), QStringLiteral("3"));
        QCOMPARE(model.index(model.rowCount() - 1, 1).data().toString(),
                 QString::number(DataTableModel::Batch + 5));
    }

    // The full-screen chart and table: windows of their own under the log's caption, their save
    // buttons' captions; Escape closes them.
    void fullScreenWindowsAndEscape()
    {
        Form3 form3(*m_state);
        Form4 form4(*m_state);
        QCOMPARE(button(form3, "CmdSave")->text(), "Guardar grafica pantalla completa");
        QCOMPARE(button(form4, "Command1")->text(), "Guardar Pantallazo");
        form3.showFilled();
        form4.showFilled();
        for (QWidget *window : {static_cast<QWidget *>(&form3), static_cast<QWidget *>(&form4)}) {
            QVERIFY(QTest::qWaitForWindowExposed(window));
            QVERIFY(!window->parentWidget());
            QCOMPARE(window->windowTitle(), m_state->caption());
            QTest::keyClick(window, Qt::Key_Escape);
            QVERIFY(!window->isVisible());
        }
    }

    void aboutBox()
    {
        Form2 form2;
        form2.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form2));
        QCOMPARE(form2.windowTitle(), QStringLiteral("Acerca de ODX"));
        QVERIFY(!form2.parentWidget());
        QStringList texts;
        for (const char *name : {"Label1", "Label2", "Label5", "Label6"})
            texts << form2.findChild<QLabel *>(QLatin1String(name))->text();
        QCOMPARE(texts,
                 QStringList({"Ondalyx", "Version: 1.0", "Website:", Form2::websiteAddress()}));
    }
};

QTEST_MAIN(TestViews)
#include "test_views.moc"
