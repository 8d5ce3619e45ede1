// Logs as the tool writes them in the field: several sessions appended in one file, and the newer
// field-by-field layout read as the classic block it stands for.
#include "TestSupport.h"

namespace {

using TestSupport::cells;
using TestSupport::standardLog;

const char *const Header1 = "Sunday,06,December,2026,14:57:28:15476,KORVEX";
const char *const Header2 = "Sonntag,6,Dezember,2026,15:02:09:5,KORVEX";

// A block of the newer layout: line 3 holds `ids`; for each name n given (one per slot) line 5
// holds "n5", line 6 "n" and line 7 "n7"; then the data lines. `end` ends lines 3 and 5 to 7 and
// every data line ("," as the tool writes them).
QByteArray newerLog(const QByteArray &ids, const QList<QByteArray> &names,
                    const QList<QByteArray> &data, const QByteArray &header = Header1,
                    const QByteArray &end = "")
{
    QByteArray line5 = "Marker", line6, line7;
    for (const QByteArray &name : names) {
        line5 += ",TIME," + name + "5";
        line6 += ",STAMP," + name;
        line7 += ",," + name + "7";
    }
    QByteArray out = header + "\r\nECU\r\n,," + ids + end + "\r\n\r\n";
    for (const QByteArray &line : QList<QByteArray>{line5, line6, line7} + data)
        out += line + end + "\r\n";
    return out;
}

// Twelve slots of groups 003, 011 and 013, one name for each, and a data line for them.
const QByteArray Twelve = "G003,F0,G003,F1,G003,F2,G003,F3,G011,F0,G011,F1,G011,F2,G011,F3,"
                          "G013,F0,G013,F1,G013,F2,G013,F3";
const QList<QByteArray> Names = {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l"};
const QByteArray Line = ",1.1,10,1.2,11,1.3,12,1.4,13,2.1,20,2.2,21,2.3,22,2.4,23,"
                        "3.1,30,3.2,31,3.3,32,3.4,33";

// The texts of lines 5, 6 and 7 over each column: "line5;line6;line7", "|" between columns.
QString columnLinesOf(const LogFile &log)
{
    QStringList columns;
    for (const LogLayout::ColumnLines &c : log.columnLines)
        columns << c.line5 + ';' + c.line6 + ';' + c.line7;
    return columns.join('|');
}

} // namespace

class TestLayout : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    LogReadResult read(const QByteArray &bytes, int session = 1)
    {
        return LogReader::read(TestSupport::writeFile(m_dir, QStringLiteral("log.csv"), bytes),
                               session);
    }

private slots:
    // Each session reads as if it were the whole file; the others are only counted. A session
    // starts at a header line: a word, a day of one or two digits, a year of four, a clock of
    // three parts or more.
    void sessions_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("session");
        QTest::addColumn<QString>("list");   // every session: time and rows
        QTest::addColumn<QString>("header"); // of the session read
        QTest::addColumn<QString>("groups");
        QTest::addColumn<QStringList>("rows");

        const QByteArray two = standardLog({"'003", "'011"}, {",1,10", ",2,20"}, Header1) +
                               standardLog({"'002", "'115"}, {",3,30"}, Header2);
        const QString both = "14:57:28 2 / 15:02:09 1";
        QTest::newRow("two, the first")
            << two << 1 << both << Header1 << "003,011" << QStringList{"1|10", "2|20"};
        QTest::newRow("two, the second's header German with a one-digit day")
            << two << 2 << both << Header2 << "002,115" << QStringList{"3|30"};
        // Lines 1-7 of a file and of a block are the block, header-like or not; empty lines and
        // lines without a comma count no row.
        QTest::newRow("header-like block lines")
            << QByteArray(Header1) + "\r\n" + Header2 + "\r\n3\r\n'003\r\n,,A\r\n" + Header2 +
                   "\r\n7\r\n,1\r\n\r\nx\r\n"
            << 1 << "14:57:28 1" << Header1 << "003" << QStringList{"1"};
        QTest::newRow("header line last")
            << standardLog({"'003"}, {",1"}, Header1) + Header2 << 2 << "14:57:28 1 / 15:02:09 0"
            << Header2 << "" << QStringList{};
        QTest::newRow("a line missing one mark of a header line is a data line")
            << standardLog({"'003"}, {",1", "KORVEX,1,x"}, "first line") << 1 << " 2"
            << "first line"
            << "003" << QStringList{"1", "1|x"};
        QTest::newRow("a day of three digits and a clock of two parts mark no header line")
            << standardLog({"'003"}, {"Sunday,006,Dec,2026,14:57:28", "Sunday,06,Dec,2026,14:57"},
                           Header1)
            << 1 << "14:57:28 2" << Header1 << "003"
            << QStringList{"006|Dec|2026|14:57:28", "06|Dec|2026|14:57"};
        // Line 3 decides the layout of its own block.
        QTest::newRow("a classic block, then a newer one")
            << standardLog({"'002", "'115"}, {",1,2"}, Header1) +
                   newerLog("G003,F0,G003,F1,G003,F2,G003,F3", {"a", "b", "c", "d"},
                            {",t,1,t,2,t,3,t,4"}, Header2)
            << 2 << "14:57:28 1 / 15:02:09 1" << Header2 << "003"
            << QStringList{"t|1|2|3|4||||||||||"};
    }
    void sessions()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, session);
        QFETCH(QString, list);
        QFETCH(QString, header);
        QFETCH(QString, groups);
        QFETCH(QStringList, rows);
        const LogReadResult result = read(bytes, session);
        QVERIFY2(result.ok, qPrintable(result.error));
        QCOMPARE(result.log.session, session);
        QStringList sessions;
        for (const LogSession &s : result.log.sessions)
            sessions << s.time + ' ' + QString::number(s.rows);
        QCOMPARE(sessions.join(QStringLiteral(" / ")), list);
        QCOMPARE(result.log.header, header);
        QCOMPARE(TestSupport::layoutOf(result.log).section(" / ", 0, 0), groups);
        QCOMPARE(cells(result.log.table), rows);
    }

    // A session beyond the last gives the message; a thousand sessions are all counted.
    void sessionsBeyondTheLast()
    {
        const QString path = m_dir.filePath(QStringLiteral("log.csv"));
        const LogReadResult beyond = read(standardLog({}, {",1"}, Header1).repeated(3), 4);
        QVERIFY(!beyond.ok);
        QCOMPARE(beyond.error,
                 "El registro \"" + path + "\" no tiene la sesión 4: tiene 3 sesiones.");
        QCOMPARE(read(standardLog({}, {}), 2).error,
                 "El registro \"" + path + "\" no tiene la sesión 2: tiene una sola sesión.");
        const LogReadResult last = read(standardLog({}, {",1"}, Header1).repeated(1000), 1000);
        QVERIFY(last.ok);
        QCOMPARE(int(last.log.sessions.size()), 1000);
        QCOMPARE(cells(last.log.table), QStringList{"1"});
    }

    // A newer block reads as the classic block it stands for: its groups, columns, boxes and rows.
    void newerLayout_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("layout"); // groups / columns / boxes
        QTest::addColumn<QStringList>("rows");

        // clang-format off
        QTest::newRow("fields in another order mark no group, 120 anywhere does")
            << newerLog("G003,F1,G003,F0,G003,F2,G003,F3,G120,F2", {"s", "t", "u", "v", "w"},
                        {",1,1,2,2,3,3,4,4,5,5"})
            << "120 / Tiempo/900|s|t|u|v|Tiempo/0|w||||Tiempo/0|||| / 1=s|2=t|3=u|4=v|6=w"
            << QStringList{"1|1|2|3|4|5|5||||||||"};
        QTest::newRow("slots beyond twelve add their values and columns, named or not")
            << newerLog("G002,F0,G002,F1,G002,F2,G002,F3,G115,F0,G115,F1,G115,F2,G115,F3,"
                        "G020,F0,G020,F1,G020,F2,G020,F3,G031,F0,G031,F1",
                        {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "14"},
                        {",t,1,t,2,t,3,t,4,u,5,u,6,u,7,u,8,w,9,w,10,w,11,w,12,x,13,x,14,y,15"})
            << "002,115 / Tiempo/900|1|2|3|4|Tiempo/0|5|6|7|8|Tiempo/0|9|10|11|12|13|14| / "
               "1=1|2=2|3=3|4=4|6=5|7=6|8=7|9=8|11=9|12=10|13=11|14=12"
            << QStringList{"t|1|2|3|4|u|5|6|7|8|w|9|10|11|12|13|14|15"};
        // Regression: the empty field after the last comma of line 3 was taken for a 13th slot
        // and gave a blank 16th column.
        const QString columns = "Tiempo/900|a|b|c|d|Tiempo/0|e|f|g|h|Tiempo/0|i|j|k|l";
        const QString boxes = "1=a|2=b|3=c|4=d|6=e|7=f|8=g|9=h|11=i|12=j|13=k|14=l";
        const QString cells = "1,1|10|11|12|13|2,1|20|21|22|23|3,1|30|31|32|33";
        QTest::newRow("twelve slots, every line ending with a comma")
            << newerLog(Twelve, Names, {Line, Line}, Header1, ",")
            << "003,011 / " + columns + " / " + boxes << QStringList{cells, cells};
        // clang-format on
    }
    void newerLayout()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, layout);
        QFETCH(QStringList, rows);
        const LogReadResult result = read(bytes);
        QVERIFY2(result.ok, qPrintable(result.error));
        QCOMPARE(TestSupport::layoutOf(result.log), layout);
        QCOMPARE(cells(result.log.table), rows);
    }

    // Beside the table: the texts of lines 5 to 7 over each column (field k + 1 of each line for
    // column k of a classic block, field 2 * slot in the newer layout), and in the newer layout
    // the time stamps of every slot, one row for each table row.
    void columnLinesAndSlotTimes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("newer");
        QTest::addColumn<QString>("columnLines");
        QTest::addColumn<QStringList>("slotTimes");

        // clang-format off
        QTest::newRow("classic")
            << standardLog({"'003"}, {",1.5,850", ",2"}) << false
            << ";;|C1;/min;STAMP|C2;mg/H;STAMP|C3;mg/H;STAMP|C4;%;STAMP|;;|C6;/min;STAMP|"
               "C7;mbar;STAMP|C8;mbar;STAMP|C9;%;STAMP|;;|C11;a;STAMP|C12;b;STAMP|C13;c;STAMP|"
               "C14;d;STAMP"
            << QStringList{};
        QTest::newRow("classic, line 6 short, no line 7, fields untrimmed")
            << QByteArray("h\r\n2\r\n3\r\n'003\r\n,, A ,B\r\n,,u") << false << ";;| A ;u;|B;;"
            << QStringList{};
        const QString lines = ";;|a5;a;a7|b5;b;b7|c5;c;c7|d5;d;d7|;;|e5;e;e7|f5;f;f7|g5;g;g7|"
                              "h5;h;h7|;;|i5;i;i7|j5;j;j7|k5;k;k7|l5;l;l7";
        const QString times = "1,1|1,2|1,3|1,4|2,1|2,2|2,3|2,4|3,1|3,2|3,3|3,4";
        QTest::newRow("newer, two slots, short lines")
            << newerLog("G003,F0,G003,F1", {"a", "b"}, {",1,10,2,20", ",3", "x", ",4,40,5"}) << true
            << ";;|a5;a;a7|b5;b;b7|;;|;;|;;|;;|;;|;;|;;|;;|;;|;;|;;|;;"
            << QStringList{"1|2", "3|", "4|5"};
        // A value past the slots of line 3 in one row gives a column with its time; an empty one
        // in every row, none.
        QTest::newRow("newer, a 13th pair in one row: every row has its time")
            << newerLog(Twelve, Names + QList<QByteArray>{"m"},
                        {Line, Line + ",4.1,40", Line + ",4.2,"}, Header1, ",")
            << true << lines + "|m5;m;m7" << QStringList{times + "|", times + "|4,1", times + "|4,2"};
        QTest::newRow("newer, an empty 13th value in every row: no 13th time")
            << newerLog(Twelve, Names + QList<QByteArray>{"m"}, {Line + ",4.1,", Line + ",4.2,"},
                        Header1, ",")
            << true << lines << QStringList{times, times};
        // Regression: the times stored before the first byte that is not UTF-8 are converted with
        // the rows, and a line without a comma gives neither a row nor times. Lines 5 to 7 are
        // Windows-1252 as the whole file is.
        QTest::newRow("newer, windows-1252 found late")
            << newerLog("G003,F0", {"\xC2\xB0"}, {",\xC3\xBC,1", "\xC3\xBC", ",2,\xB0"}) << true
            << ";;|Â°5;Â°;Â°7|;;|;;|;;|;;|;;|;;|;;|;;|;;|;;|;;|;;|;;"
            << QStringList{"Ã¼", "2"};
        // clang-format on
    }
    void columnLinesAndSlotTimes()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, newer);
        QFETCH(QString, columnLines);
        QFETCH(QStringList, slotTimes);
        const LogReadResult result = read(bytes);
        QVERIFY2(result.ok, qPrintable(result.error));
        QCOMPARE(result.log.newerLayout, newer);
        QCOMPARE(columnLinesOf(result.log), columnLines);
        QCOMPARE(cells(result.log.slotTimes), slotTimes);
        if (newer) {
            QCOMPARE(result.log.slotTimes.rowCount(), result.log.table.rowCount());
            QCOMPARE(result.log.table.columnCount(), int(result.log.columnLines.size()));
        }
    }
};

QTEST_APPLESS_MAIN(TestLayout)
#include "test_layout.moc"
