// The chart's data: what it keeps when resized and what it takes from the data table.
#include "core/ChartModel.h"

#include <QTest>

#include <cmath>

namespace {

// Equal values, gaps (NaN) in the same places.
bool sameValues(const double *a, const std::vector<double> &b, size_t size)
{
    if (size != b.size())
        return false;
    for (size_t i = 0; i < size; ++i)
        if (!(a[i] == b[i] || (std::isnan(a[i]) && std::isnan(b[i]))))
            return false;
    return true;
}

} // namespace

class TestChartModel : public QObject {
    Q_OBJECT
private slots:
    // The model keeps what remains when shrunk; values and labels taken from the table come from
    // the table as it was when they were set.
    void keepsWhatRemainsAndSnapshotsTheTable()
    {
        DataTable table;
        for (const char *line : {",a,1.5", ",b,x", ",c,3"})
            table.appendLine(line);
        ChartModel chart;
        chart.setSeriesCount(3);
        chart.setRowCount(3);
        chart.setValue(1, 2, 4.0);
        chart.setSeriesCount(2);
        QCOMPARE(chart.series(2).values[0], 4.0);
        QVERIFY(std::isnan(chart.series(2).values[1]));
        QCOMPARE(chart.seriesLabel(9), QString());

        chart.setValue(2, 1, 9); // row 2 is not a number in the table: its point stays
        chart.setSeriesValuesFromTable(1, table, 1);
        chart.setRowLabelsFromTable(table, 0);
        table.removeRow(1);
        QCOMPARE(chart.series(1).values, (std::vector<double>{1.5, 9, 3}));
        QCOMPARE(chart.rowLabel(1), QStringLiteral("a"));
        chart.detachRowLabels();
        QCOMPARE(chart.rowLabel(3), QStringLiteral("c"));
        // Rows cut off before the values were read stay cut off.
        chart.setSeriesValuesFromTable(1, table, 1);
        chart.setRowCount(1);
        chart.setRowCount(3);
        QCOMPARE(chart.series(1).values[0], 1.5); // "x": the point stays
        QVERIFY(std::isnan(chart.series(1).values[1]));
    }

    // Series of one origin hold the same values, in any model, and the values read in place are
    // those series() makes; values that are not the table's alone have no origin to share.
    void originsStandForTheValues()
    {
        DataTable table;
        for (const char *line : {",a,1.5,7", ",b,2,8", ",c,3,x", ",d,4,9"})
            table.appendLine(line);
        ChartModel one;
        ChartModel two;
        for (ChartModel *chart : {&one, &two}) {
            chart->setSeriesCount(2);
            chart->setRowCount(4);
            chart->setSeriesValuesFromTable(1, table, 1);
            chart->setSeriesValuesFromTable(2, table, 2);
        }
        QVERIFY(one.seriesInfo(1).origin.rows != 0);
        QVERIFY(one.seriesInfo(1).origin == two.seriesInfo(1).origin);
        QVERIFY(one.seriesInfo(1).origin != one.seriesInfo(2).origin);
        QVERIFY(one.seriesInfo(1).values.empty()); // not made yet
        const ChartModel::ValuesView view = one.values(1);
        QVERIFY(sameValues(view.data, two.series(1).values, view.size));
        QCOMPARE(two.values(2).size, size_t(4)); // cell 2 holds "x": made as series() makes it
        QVERIFY(std::isnan(two.values(2).data[2]) && two.values(2).data[3] == 9);

        table.appendLine(",e,5");
        two.setSeriesCount(3);
        two.setSeriesValuesFromTable(3, table, 1); // the table's rows changed since
        QVERIFY(two.seriesInfo(3).origin != one.seriesInfo(1).origin);
        one.setValue(1, 1, 0);                     // values of its own
        two.setSeriesValuesFromTable(2, table, 1); // read over the values it had
        QCOMPARE(one.seriesInfo(1).origin.rows, uint64_t(0));
        QCOMPARE(two.seriesInfo(2).origin.rows, uint64_t(0));
        two.setRowCount(3); // every series changes its length
        QCOMPARE(two.seriesInfo(1).origin.rows, uint64_t(0));
    }
};

QTEST_APPLESS_MAIN(TestChartModel)
#include "test_chartmodel.moc"
