// The chart's data model: series read in place from a table snapshot or held as values of their
// own, what changes of the counts keep, values read over values, the value range and row labels.
#include "TestSupport.h"

#include "core/ChartModel.h"

#include <QSignalSpy>

#include <cmath>

namespace {

// A table whose row r holds the data line's fields after the marker; cell k is field k + 1.
DataTable tableOf(const QList<QByteArray> &lines)
{
    DataTable table;
    for (const QByteArray &line : lines)
        table.appendLine(std::string_view(line.constData(), size_t(line.size())));
    return table;
}

// Values as text, "-" for a gap, so that a gap and a zero never compare alike.
QString shown(const std::vector<double> &values)
{
    QStringList out;
    for (double v : values)
        out << (std::isnan(v) ? QStringLiteral("-") : QString::number(v));
    return out.join(' ');
}

QString shown(const ChartModel &chart, int s)
{
    return shown(chart.seriesValues(s));
}

// Rows "speed,value" under cell 1 (the speed) and cell 2.
const QList<QByteArray> Lines = {",0.1,900,1.5", ",0.2,1000,", ",0.3,1100,x7", ",0.4,1200",
                                 ",0.5,1300,-2.25"};

} // namespace

class TestChartModel : public QObject {
    Q_OBJECT
private slots:
    // The values of a cell are the table's numbers in place: a cell that is empty, no number or
    // missing is a gap (never a zero); the reader and the vector agree, also beyond the table.
    void tableValuesAreTheCellNumbers()
    {
        const DataTable table = tableOf(Lines);
        ChartModel chart;
        chart.setSeriesCount(1);
        chart.setRowCount(7); // two rows more than the table has
        chart.setSeriesValuesFromTable(1, table, 2);
        QCOMPARE(shown(chart, 1), QStringLiteral("1.5 - - - -2.25 - -"));
        const ChartModel::Values values = chart.values(1);
        QCOMPARE(values.at(0), 1.5);
        QVERIFY(std::isnan(values.at(1)) && std::isnan(values.at(6)));
        double lowest = 0, highest = 0;
        QVERIFY(chart.valueRange(1, lowest, highest));
        QCOMPARE(lowest, -2.25);
        QCOMPARE(highest, 1.5);

        // Out-of-range series read empty.
        QCOMPARE(chart.values(2).count, size_t(0));
        QVERIFY(chart.seriesValues(0).empty());
        QVERIFY(!chart.valueRange(2, lowest, highest));
    }

    // Fewer series or rows drop what is cut off; the rest keeps its values, labels and colours, and
    // rows that come back are gaps.
    void countsKeepWhatRemains()
    {
        const DataTable table = tableOf(Lines);
        ChartModel chart;
        chart.setSeriesCount(3);
        chart.setRowCount(5);
        chart.plotColumn(1, table, 2, 5, QStringLiteral("B"), QColor(1, 2, 3), 2);
        chart.setSeriesValues(2, {5, 6, 7, 8, 9});
        chart.setValue(4, 3, 42);
        QSignalSpy changed(&chart, &ChartModel::changed);
        chart.setSeriesCount(2);
        chart.setRowCount(3);
        chart.setRowCount(5);
        chart.setSeriesCount(3);
        QCOMPARE(changed.count(), 4);
        QCOMPARE(shown(chart, 1), QStringLiteral("1.5 - - - -"));
        QCOMPARE(shown(chart, 2), QStringLiteral("5 6 7 - -"));
        QCOMPARE(shown(chart, 3), QStringLiteral("- - - - -"));
        QCOMPARE(chart.seriesLabel(1), QStringLiteral("B"));
        QCOMPARE(chart.seriesColor(1), QColor(1, 2, 3));
        QCOMPARE(chart.seriesBox(1), 2);
        QCOMPARE(chart.rowLabel(3), QStringLiteral("1100"));
        double lowest = 0, highest = 0;
        QVERIFY(!chart.valueRange(3, lowest, highest)); // a series of gaps has no range
        QVERIFY(chart.valueRange(2, lowest, highest));
        QCOMPARE(highest, 7.0); // the rows cut off took their values with them
    }

    // Cells read over values a series already had: only the cells that are numbers replace them,
    // whether the old values were its own or another column's.
    void tableValuesOverOlderValues()
    {
        const DataTable table = tableOf(Lines);
        ChartModel chart;
        chart.setSeriesCount(2);
        chart.setRowCount(6);
        chart.setSeriesValues(1, {1, 2, 3, 4, 5, 6});
        chart.setSeriesValuesFromTable(1, table, 2);
        QCOMPARE(shown(chart, 1), QStringLiteral("1.5 2 3 4 -2.25 6"));

        chart.setSeriesValuesFromTable(2, table, 1);
        const uint64_t before = chart.revision(2);
        chart.setSeriesValuesFromTable(2, tableOf({",0,7", ",0,x", ",0,9.5"}), 1);
        QCOMPARE(shown(chart, 2), QStringLiteral("7 1000 9.5 1200 1300 -"));
        QVERIFY(chart.revision(2) != before);
        chart.setValue(6, 2, 0); // one value set over the table's
        QCOMPARE(shown(chart, 2), QStringLiteral("7 1000 9.5 1200 1300 0"));
        double lowest = 0, highest = 0;
        QVERIFY(chart.valueRange(2, lowest, highest));
        QCOMPARE(lowest, 0.0);
    }

    // A series keeps reading the rows it was given while the table changes its own, and the row
    // labels, once detached, outlive the table they came from.
    void snapshotsOutliveTheTable()
    {
        DataTable table = tableOf(Lines);
        ChartModel chart;
        chart.setSeriesCount(1);
        chart.setRowCount(5);
        chart.plotColumn(1, table, 2, 5, QStringLiteral("B"), Qt::red, 2);
        QCOMPARE(chart.values(1).at(4), -2.25); // read before the table changes
        table.removeRow(1);                     // the greatest number goes
        chart.setSeriesCount(2);
        chart.setSeriesValuesFromTable(2, table, 2);
        double lowest = 0, highest = 0;
        QVERIFY(chart.valueRange(2, lowest, highest));
        QCOMPARE(highest, -2.25);
        table.appendLine(",0.9,9,99");
        QCOMPARE(shown(chart, 1), QStringLiteral("1.5 - - - -2.25"));
        QVERIFY(std::isnan(table.numbers(2).number(0))); // the table itself moved on
        chart.detachRowLabels();
        table = DataTable();
        QCOMPARE(chart.rowLabel(1), QStringLiteral("900"));
        QCOMPARE(chart.rowLabel(5), QStringLiteral("1300"));
        QCOMPARE(chart.rowLabel(6), QString());
        QCOMPARE(shown(chart, 1), QStringLiteral("1.5 - - - -2.25"));
    }
};

QTEST_APPLESS_MAIN(TestChartModel)
#include "test_chartmodel.moc"
