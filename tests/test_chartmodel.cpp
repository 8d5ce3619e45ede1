// The chart's data: what it keeps when resized and what it takes from the data table.
#include "core/ChartModel.h"

#include <QTest>

#include <cmath>

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
};

QTEST_APPLESS_MAIN(TestChartModel)
#include "test_chartmodel.moc"
