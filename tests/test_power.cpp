// The torque and power curve.
#include "TestSupport.h"

#include "app/AppState.h"
#include "power/PowerCurve.h"

#include <QtTest>

namespace {

const QString Message = QStringLiteral("Debe seleccionar los 3 campos correctos para realizar la grafica");

// One data line whose cells 1 to 14 are given (cells 5 and 10 included).
QByteArray line(const QList<QByteArray> &cells)
{
    QByteArray out = ",0.1";
    for (const QByteArray &cell : cells)
        out += "," + cell;
    return out;
}

struct Power {
    QTemporaryDir dir;
    AppState state;
    QStringList messages;
    explicit Power(const QList<QByteArray> &dataLines)
    {
        state.showMessage = [this](const QString &text, MessageKind) { messages << text; };
        state.FormLoad(TestSupport::writeFile(
            dir, "power.csv", TestSupport::standardLog({"'002", "'115", "'120"}, dataLines)));
        for (int k = 0; k < AppState::BoxCount; ++k)
            state.setBoxTicked(k, false);
    }
    void tick(std::initializer_list<int> boxes)
    {
        for (int k : boxes)
            state.setBoxTicked(k, true);
        state.setChCVTicked(true);
    }
};

} // namespace

class TestPower : public QObject {
    Q_OBJECT
private slots:
    void workedExample()
    {
        Power p({line({"3000", "9", "250.5"})});
        p.tick({1, 2, 3});
        QVERIFY(p.messages.isEmpty());
        QVERIFY(p.state.chcvTicked());
        const ChartModel &chart = p.state.chart;
        QCOMPARE(chart.seriesCount(), 2);
        QCOMPARE(chart.seriesLabel(1), QStringLiteral("NM - Par"));
        QCOMPARE(chart.seriesLabel(2), QStringLiteral("CV - Potencia"));
        QCOMPARE(chart.series(1).color, QColor(0, 255, 0));
        QCOMPARE(chart.series(2).color, QColor(255, 0, 0));
        QVERIFY(qAbs(chart.series(1).values[0] - 184.869) < 1e-9);
        QVERIFY(qAbs(chart.series(2).values[0] - 105.5992) < 5e-5);
        QCOMPARE(chart.rowLabel(1), QStringLiteral("3000"));
        // The boxes stay ticked and SeriesCount is left as it was.
        QVERIFY(p.state.box(1).ticked && p.state.box(2).ticked && p.state.box(3).ticked);
        QCOMPARE(p.state.SeriesCount, 3);
    }

    void lowestIsSpeedHighestIsTorqueMiddleIgnored()
    {
        // Cell 2 speed, cell 6 ignored (letters), cell 9 torque with a decimal.
        Power p({line({"1", "2000", "3", "4", "0.5", "junk", "7", "8", "100.5"})});
        p.tick({9, 2, 6});
        QVERIFY(p.messages.isEmpty());
        const double torque = 100.5 * 0.738;
        QCOMPARE(p.state.chart.series(1).values[0], torque);
        QCOMPARE(p.state.chart.series(2).values[0], torque * 2000 / 5252);
    }

    void wrongCountShowsMessageAndResets_data()
    {
        QTest::addColumn<QList<int>>("boxes");
        QTest::newRow("two") << QList<int>{1, 2};
        QTest::newRow("four") << QList<int>{1, 2, 3, 4};
        QTest::newRow("box 0 does not count") << QList<int>{0, 1, 2};
    }
    void wrongCountShowsMessageAndResets()
    {
        QFETCH(QList<int>, boxes);
        Power p({line({"3000", "9", "250.5", "4"})});
        for (int k : boxes)
            p.state.setBoxTicked(k, true);
        p.state.setChCVTicked(true);
        QCOMPARE(p.messages, QStringList{Message});
        QVERIFY(!p.state.chcvTicked());
        QCOMPARE(p.state.chart.seriesCount(), 0);
        for (int k = 0; k < AppState::BoxCount; ++k)
            QVERIFY(!p.state.box(k).ticked);
    }

    void unreadableCellsReadAsZero()
    {
        // Letters in the torque cell; a row too short to hold the torque cell.
        Power p({line({"3000", "x", "letters"}), line({"2500"})});
        p.tick({1, 2, 3});
        QCOMPARE(p.state.chart.series(1).values[0], 0.0);
        QCOMPARE(p.state.chart.series(2).values[0], 0.0);
        QCOMPARE(p.state.chart.series(1).values[1], 0.0);
        QCOMPARE(p.state.chart.rowLabel(2), QStringLiteral("2500"));
    }

    void untickingAfterACurveClearsEverything()
    {
        Power p({line({"3000", "9", "250.5"})});
        p.tick({1, 2, 3});
        p.state.setChCVTicked(false);
        QCOMPARE(p.state.chart.seriesCount(), 0);
        for (int k = 0; k < AppState::BoxCount; ++k)
            QVERIFY(!p.state.box(k).ticked);
        QVERIFY(p.messages.isEmpty());
    }

    // Fault pinned: the curve used to hold at most 100 rows.
    void moreThanAHundredRows()
    {
        QList<QByteArray> lines;
        for (int r = 1; r <= 250; ++r)
            lines << line({QByteArray::number(1000 + r * 10), "1", QByteArray::number(r)});
        Power p(lines);
        p.tick({1, 2, 3});
        QCOMPARE(p.state.chart.rowCount(), 250);
        QCOMPARE(p.state.chart.series(1).values[249], 250 * 0.738);
        QCOMPARE(p.state.chart.rowLabel(250), QStringLiteral("3500"));
    }

    void computeOnItsOwn()
    {
        DataTable table;
        table.appendLine(",0.1,3000,250.5");
        table.appendLine(",0.2,1e3,1e1");
        const PowerCurve::Curve curve = PowerCurve::Compute(table, 1, 2);
        QCOMPARE(int(curve.torque.size()), 2);
        QVERIFY(qAbs(curve.power[0] - 105.5992) < 5e-5);
        QCOMPARE(curve.torque[1], 7.38);
    }
};

QTEST_APPLESS_MAIN(TestPower)
#include "test_power.moc"
