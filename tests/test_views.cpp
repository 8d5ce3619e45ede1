// The windows besides the main one: the full-screen chart and table windows, the window capture
// and the about box.
#include "GuiSupport.h"

#include "core/DataTable.h"
#include "gui/ChartView.h"
#include "gui/DataTableModel.h"
#include "gui/Form2.h"
#include "gui/Form3.h"
#include "gui/Form4.h"
#include "gui/Twips.h"
#include "program/AppState.h"

namespace {

QRect pixels(const QRect &twips)
{
    return Twips::rect(twips.x(), twips.y(), twips.width(), twips.height());
}

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

    void windowsFollowTheirSize()
    {
        Form3 form3(*m_state);
        Form4 form4(*m_state);
        QPushButton *save = button(form3, "CmdSave");
        QPushButton *command1 = button(form4, "Command1");
        QCOMPARE(save->text(), QStringLiteral("Guardar grafica pantalla completa"));
        QCOMPARE(command1->text(), QStringLiteral("Guardar Pantallazo"));

        form3.showFilled();
        form4.showFilled();
        QVERIFY(QTest::qWaitForWindowExposed(&form3));
        QVERIFY(!form3.parentWidget() && !form4.parentWidget()); // no owner
        QCOMPARE(form3.windowTitle(), m_state->caption());
        QCOMPARE(form4.windowTitle(), m_state->caption());

        // Laid out from the outer size, frame included: 9000 x 6000 and 12000 x 8100 twips.
        const auto resizeOuter = [](QWidget &w, const QSize &outer) {
            w.resize(outer - (w.frameGeometry().size() - w.size()));
        };
        resizeOuter(form3, Twips::size(9000, 6000));
        resizeOuter(form4, Twips::size(12000, 8100));
        QCOMPARE(form3.chart2()->geometry(), pixels({0, 0, 9000, 4700}));
        QCOMPARE(save->geometry(), pixels({2500, 4800, 2175, 615}));
        QCOMPARE(form4.listDatos()->geometry(), pixels({0, 0, 11900, 6800}));
        QCOMPARE(command1->geometry(), pixels({4000, 6900, 3975, 495}));
    }

    void form4CopiesTableOnceAndCapturesItself()
    {
        m_state->setBoxTicked(2, true);
        Form4 form4(*m_state);
        form4.showFilled();
        form4.showFilled();
        QTableView *list = form4.listDatos();
        QCOMPARE(list->objectName(), QStringLiteral("ListDatos"));
        QAbstractItemModel *model = list->model();
        // Regression: a second press must not append a second set of rows and columns.
        QCOMPARE(model->rowCount(), 20);
        QCOMPARE(model->columnCount(), m_state->table.columnCount());
        QCOMPARE(model->headerData(3, Qt::Horizontal).toString(), QStringLiteral("C3"));
        QCOMPARE(model->index(1, 2).data().toString(), QStringLiteral("2,5"));

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

    // Escape closes the full-screen chart and the full-screen table.
    void escapeCloses()
    {
        Form3 form3(*m_state);
        Form4 form4(*m_state);
        for (QWidget *window : {static_cast<QWidget *>(&form3), static_cast<QWidget *>(&form4)}) {
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window));
            QTest::keyClick(window, Qt::Key_Escape);
            QVERIFY(!window->isVisible());
        }
    }

    void aboutBox()
    {
        GuiSupport::UrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
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

        // The link turns red under the mouse and opens the web site when clicked.
        QLabel *link = form2.findChild<QLabel *>(QStringLiteral("Label6"));
        const auto linkColor = [&] { return link->palette().color(QPalette::WindowText); };
        QCOMPARE(linkColor(), QColor(0, 0, 255));
        QTest::mouseMove(link, link->rect().center());
        QTRY_COMPARE(linkColor(), QColor(255, 0, 0));
        QTest::mouseMove(&form2, QPoint(5, form2.height() - 5));
        QTRY_COMPARE(linkColor(), QColor(0, 0, 255));
        QTest::mouseClick(link, Qt::LeftButton);
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QCOMPARE(catcher.urls, QList<QUrl>{QUrl(Form2::websiteAddress())});
    }
};

QTEST_MAIN(TestViews)
#include "test_views.moc"
