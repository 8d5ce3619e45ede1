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
    // missing is a gap (never a zero), also beyond the table. Read over values a series already
    // had, whether its own or another table's, only the cells that are numbers replace them.
    void tableValuesAreTheCellNumbers()
    {
        const DataTable table = tableOf(Lines);
        ChartModel chart;
        chart.setSeriesCount(2);
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
        QCOMPARE(chart.values(3).count, size_t(0)); // out-of-range series read empty
        QVERIFY(chart.seriesValues(0).empty());

        chart.setSeriesValues(2, {1, 2, 3, 4, 5, 6, 7});
        chart.setSeriesValuesFromTable(2, table, 2);
        QCOMPARE(shown(chart, 2), QStringLiteral("1.5 2 3 4 -2.25 6 7"));
        const uint64_t before = chart.revision(2);
        chart.setSeriesValuesFromTable(2, tableOf({",0,7", ",0,x", ",0,9.5"}), 1);
        QCOMPARE(shown(chart, 2), QStringLiteral("7 2 9.5 4 -2.25 6 7"));
        QVERIFY(chart.revision(2) != before);
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
