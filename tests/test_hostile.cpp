// Hostile logs through the whole load: the table, the engine type, the series, the statistics and
// row deletion take them without a crash, a hang or rows lost without a word. What the reader
// alone makes of paths that cannot be read is in test_log, hostile numbers in test_stats.
#include "ProgramSupport.h"

#include <algorithm>

class TestHostile : public QObject {
    Q_OBJECT
private slots:
    void hostileLogs_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message"); // after the path; empty: loads, "-": loads, no log
        QTest::addColumn<QString>("header");
        QTest::addColumn<int>("rows");
        using TestSupport::standardLog;
        const QList<QByteArray> pull = {TestSupport::pullLine("900", "30", "1000", "990"),
                                        TestSupport::pullLine("2000", "5", "1900", "2100")};
        const QByteArray commas(100000, ',');
        static const char binary[] = ",\0\xff\xfe,\xc3\0,\x80\x01\0";
        const QString header = QStringLiteral("Sunday,6,December,2026,13:51:20,KORVEX");
        const QByteArray huge = "K" + QByteArray(50 * 1000 * 1000, 'x'); // 50 MB, no line end
        // clang-format off
        QTest::newRow("zero bytes") << QByteArray() << QString::fromUtf8("el archivo está vacío.")
                                    << "" << 0;
        // Loaded, and told to be no log: no group, no column, no row.
        QTest::newRow("only CRs") << QByteArray(5000, '\r') << "-" << "" << 0;
        QTest::newRow("only LFs") << QByteArray(5000, '\n') << "-" << "" << 0;
        QTest::newRow("100,000 commas as the column line")
            << standardLog(TestSupport::Diesel, pull).replace(TestSupport::Columns, commas) << ""
            << header << 2;
        QTest::newRow("100,000 commas as a data line")
            << standardLog(TestSupport::Diesel, {pull[0], commas, pull[1]}) << "" << header << 3;
        QTest::newRow("NULs and bytes not UTF-8")
            << standardLog(TestSupport::Diesel, {pull[0], QByteArray(binary, sizeof binary - 1),
                                                 pull[1]}) << "" << header << 3;
        QTest::newRow("50 MB line") << huge << "-" << QString::fromLatin1(huge) << 0;
        QTest::newRow("a million empty rows")
            << standardLog(TestSupport::Diesel, {}) + QByteArray(",,,,,,,,,,,,,,,\r\n").repeated(1000000)
            << "" << header << 1000000;
        // clang-format on
    }
    void hostileLogs()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        QFETCH(QString, header);
        QFETCH(int, rows);
        TestSupport::Loaded l;
        const bool loaded = l.load(bytes);
        if (message.isEmpty() || message == "-") {
            QVERIFY(loaded);
            QCOMPARE(l.messages.size(), message.isEmpty() ? 0 : 1);
            QVERIFY(l.messages.join(QString()).contains("no parece un registro") ==
                    !message.isEmpty());
            QCOMPARE(l.state.LogHeader, header);
        } else {
            QVERIFY(!loaded);
            QCOMPARE(l.messages,
                     QStringList{QStringLiteral("No se puede abrir el registro \"%1\": %2")
                                     .arg(l.dir.filePath(QStringLiteral("log.csv")), message)});
        }
        QCOMPARE(l.state.table.rowCount(), rows);
        l.state.DeleteRow(1);
        QCOMPARE(l.state.table.rowCount(), std::max(rows - 1, 0));
        QCOMPARE(l.seriesBoxes(), l.ticked());
    }
};

QTEST_APPLESS_MAIN(TestHostile)
#include "test_hostile.moc"
