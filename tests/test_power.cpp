// The torque and power curve: its three boxes, its figures and its refusal.
#include "ProgramSupport.h"

namespace {

// A petrol log with "Grafica Potencia" ticked over exactly `boxes`.
struct Power : TestSupport::Loaded {
    Power(const QList<QByteArray> &dataLines, const QList<int> &boxes)
        : Loaded(TestSupport::standardLog({"'002", "'115", "'120"}, dataLines))
    {
        for (int k = 0; k < AppState::BoxCount; ++k)
            state.setBoxTicked(k, false);
        for (int k : boxes)
            state.setBoxTicked(k, true);
        state.setChCVTicked(true);
    }
    double torque(int row) const { return state.chart.seriesValues(1)[size_t(row - 1)]; }
    double power(int row) const { return state.chart.seriesValues(2)[size_t(row - 1)]; }
};

} // namespace

class TestPower : public QObject {
    Q_OBJECT
private slots:
    void workedExample()
    {
        // Row 2 has letters in the torque cell, row 3 is too short to hold it: both read as 0.
        Power p({",0.1,3000,9,250.5", ",0.1,2800,x,letters", ",0.1,2500"}, {1, 2, 3});
        QVERIFY(p.messages.isEmpty());
        QVERIFY(p.state.chcvTicked());
        QCOMPARE(p.state.chart.seriesCount(), 2);
        QCOMPARE(p.state.chart.seriesLabel(1), QStringLiteral("NM - Par"));
        QCOMPARE(p.state.chart.seriesLabel(2), QStringLiteral("CV - Potencia"));
        QCOMPARE(p.state.chart.seriesColor(1), QColor(0, 255, 0));
        QCOMPARE(p.state.chart.seriesColor(2), QColor(255, 0, 0));
        QVERIFY(qAbs(p.torque(1) - 184.869) < 1e-9);
        QVERIFY(qAbs(p.power(1) - 105.5992) < 5e-5);
        QCOMPARE(p.state.chart.rowLabel(1), QStringLiteral("3000"));
        QCOMPARE(p.torque(2), 0.0);
        QCOMPARE(p.power(2), 0.0);
        QCOMPARE(p.torque(3), 0.0);
        QCOMPARE(p.state.chart.rowLabel(3), QStringLiteral("2500"));
        // The boxes stay ticked and SeriesCount is left as it was.
        QCOMPARE(p.ticked(), QList<int>({1, 2, 3}));
        QCOMPARE(p.state.SeriesCount, 3);
        p.state.setChCVTicked(false); // unticking clears the curve and every box
        QCOMPARE(p.state.chart.seriesCount(), 0);
        QVERIFY(p.ticked().isEmpty());
    }

    void lowestIsSpeedHighestIsTorqueMiddleIgnored()
    {
        // Cell 2 speed, cell 6 ignored (letters), cell 9 torque with a decimal.
        Power p({",0.1,1,2000,3,4,0.5,junk,7,8,100.5"}, {9, 2, 6});
        QVERIFY(p.messages.isEmpty());
        QCOMPARE(p.torque(1), 100.5 * 0.738);
        QCOMPARE(p.power(1), 100.5 * 0.738 * 2000 / 5252);
    }

    // Two boxes, four, or three with box 0 (which does not count): the message, and all unticked.
    void wrongCountShowsMessageAndResets()
    {
        for (const QList<int> &boxes : {QList<int>{1, 2}, {1, 2, 3, 4}, {0, 1, 2}}) {
            Power p({",0.1,3000,9,250.5,4"}, boxes);
            QCOMPARE(
                p.messages,
                QStringList{"Debe seleccionar los 3 campos correctos para realizar la grafica"});
            QVERIFY(!p.state.chcvTicked());
            QCOMPARE(p.state.chart.seriesCount(), 0);
            QVERIFY(p.ticked().isEmpty());
        }
    }

    // Fault pinned: the curve used to hold at most 100 rows.
    void moreThanAHundredRows()
    {
        QList<QByteArray> lines;
        for (int r = 1; r <= 250; ++r)
            lines << ",0.1," + QByteArray::number(1000 + r * 10) + ",1," + QByteArray::number(r);
        Power p(lines, {1, 2, 3});
        QCOMPARE(p.state.chart.rowCount(), 250);
        QCOMPARE(p.torque(250), 250 * 0.738);
        QCOMPARE(p.state.chart.rowLabel(250), QStringLiteral("3500"));
    }
};

QTEST_APPLESS_MAIN(TestPower)
#include "test_power.moc"
