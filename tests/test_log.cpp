// The log reader and the row table: line ends, the first seven lines, cells and columns, text
// decoding, rows across reads and blocks, hostile bytes, paths that cannot be read and files that
// change while read, row removal and copies, and the numbers kept per cell.
#include "TestSupport.h"

#include "core/NumberRules.h"

#include <QRandomGenerator>

#include <atomic>
#include <chrono>
#include <cmath>
#include <thread>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// The numbers kept for a cell, as a plain vector.
std::vector<double> leadingOf(const DataTable &table, int cell)
{
    const DataTable::NumberColumn &column = table.numbers(cell);
    return std::vector<double>(column.leading.begin(), column.leading.end());
}

using TestSupport::cells;

// layoutOf a log whose line 4 and line 5 are the texts given ("-": there is no such line).
QString layoutOf(const QString &groupLine, const QString &columnLine)
{
    LogFile log;
    if (groupLine != QLatin1String("-"))
        log.groups = LogLayout::readGroupLine(groupLine);
    if (columnLine != QLatin1String("-")) {
        log.table.setColumns(LogLayout::columnsFor(columnLine));
        log.boxCaptions = LogLayout::boxCaptions(columnLine);
    }
    return TestSupport::layoutOf(log);
}

// The numbers kept for `cell` of every row are LeadingValue of the log's bytes and TextNumber of
// the table's text, exactly; NaN where the row has no such cell.
void checkKeptNumbers(const DataTable &table, int cell)
{
    const DataTable::NumberColumn &column = table.numbers(cell);
    for (int r = 1; r <= table.rowCount(); ++r) {
        std::string_view raw;
        const double leading = column.leading[size_t(r - 1)];
        if (!table.rawCell(r, cell, raw)) {
            QVERIFY(std::isnan(leading));
            continue;
        }
        const QByteArray at =
            "row " + QByteArray::number(r) + ": " + QByteArray(raw.data(), qsizetype(raw.size()));
        double expected = 0, kept = 0;
        const bool readable = NumberRules::TextNumber(table.cellText(r, cell), expected);
        QVERIFY2(leading == NumberRules::LeadingValue(raw), at.constData());
        QVERIFY2(table.textNumber(r, cell, kept) == readable, at.constData());
        QVERIFY2(!readable || kept == expected, at.constData());
        QVERIFY2(!column.isPlain(size_t(r - 1)) || (readable && expected == leading), at.constData());
    }
}

} // namespace

class TestLog : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    LogReadResult readBytes(const QByteArray &bytes)
    {
        return LogReader::read(TestSupport::writeFile(m_dir, QStringLiteral("log.csv"), bytes));
    }

private slots:
    void lineRules_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("header");
        QTest::addColumn<QString>("group");   // "-" when there is no line 4
        QTest::addColumn<QString>("columns"); // "-" when there is no line 5
        QTest::addColumn<QStringList>("rows");

        // The same log with CR LF, LF or CR line ends, with or without a last one, reads the same.
        const QByteArray standard = TestSupport::standardLog(
            {"'003", "'011"}, {",1.5,850,2.5", "", "no comma", ",2,900,"}, "h");
        for (const auto &[name, end] : {std::pair("crlf", "\r\n"), {"lf", "\n"}, {"cr", "\r"}}) {
            const QByteArray log = QByteArray(standard).replace("\r\n", end);
            for (const bool finalEnd : {true, false})
                QTest::addRow("%s%s", name, finalEnd ? "" : " no final")
                    << (finalEnd ? log : log.chopped(qsizetype(strlen(end)))) << "h"
                    << ",,Group A:,'003,,,,'011,,," << QString(TestSupport::Columns)
                    << QStringList{"1,5|850|2,5", "2|900|"};
        }

        // One column-name line and data line: cell k of a row is field k + 1, empty fields
        // included, field 0 never a cell, "." shown as ","; bytes that are not UTF-8 anywhere make
        // the whole file Windows-1252.
        const auto row = [](const char *name, const QByteArray &bytes, const QString &header,
                            const QString &group, const QString &columns, const QStringList &rows) {
            QTest::newRow(name) << bytes << header << group << columns << rows;
        };
        const auto add = [&](const char *name, const QByteArray &columnLine, const QByteArray &data,
                             const QString &columns, const QStringList &rows) {
            row(name, "h\r\n2\r\n3\r\n'003\r\n" + columnLine + "\r\n6\r\n7\r\n" + data + "\r\n",
                "h", "'003", columns, rows);
        };
        // clang-format off
        add("field 0 not empty", ",,c", "M,12.5,850", ",,c", {"12,5|850"});
        add("empty fields keep their place", ",,c", ",1.0,,3.0,", ",,c", {"1,0||3,0|"});
        add("comma only", ",,c", ",", ",,c", {""});
        add("every dot", ",,c", ",a.b..c", ",,c", {"a,b,,c"});
        add("no comma, no row", ",,c", "12.5", ",,c", {});
        add("lf inside a crlf line is text", ",,c", ",a\nb,c", ",,c", {"a\nb|c"});
        add("utf-8", ",,\302\260C", ",\303\274.5", ",,°C", {"ü,5"});
        add("windows-1252", ",,\260C", ",\374\200\215", ",,°C", {"ü€" + QString(QChar(0x8D))});
        // Regression: rows stored before the first byte that is not UTF-8 are converted too.
        add("late windows-1252", ",,C", ",\303\274,1\r\n\260", ",,C", {"Ã¼|1"});
        add("utf-8 split by a line end", ",,\303\r\n\274", ",a", ",,Ã", {"a"});
        add("invalid utf-8", ",,C", ",\xff\xfe,\xc3,\xe2\x82,\xed\xa0\x80,\x80", ",,C",
            {"ÿþ|Ã|â‚|í\u00A0€|€"});
        add("nul is text", QByteArray(",,a\0b", 5), QByteArray(",x\0y", 4),
            QString::fromUtf8(",,a\0b", 5), {QString::fromUtf8("x\0y", 3)});
        row("windows-1252 header", "Cabecera \xe9\xf1\r\n", "Cabecera éñ", "-", "-", {});
        row("cr-cr-lf is two line ends", "h\r\r\n3\r\n'011\r\n,,c\r\n6\r\n7\r\n,1", "h", "'011",
            ",,c", {"1"});
        row("final line end adds no line", "h\r\n2\r\n3\r\n'002\r\n", "h", "'002", "-", {});
        row("single crlf line is the header only", "  Cabecera, 1 \r\n", "Cabecera, 1", "-", "-",
            {});
        row("spaces trimmed, tabs kept",
            " \th \r\n2\r\n3\r\n '003,'011 \r\n,,\tc \r\n6\r\n7\r\n  ,1.5,2\t \r\n", "\th",
            "'003,'011", ",,\tc", {"1,5|2\t"});
        row("lf text trimmed once, pieces kept", "  h \n2\n3\n '003\n,,c \n6\n7\n ,1,2 \n  ", "h ",
            " '003", ",,c ", {"1|2 "});
        row("lf piece 4 empty is a column line", "h\n2\n3\n'115\n", "h", "'115", "", {});
        // Regression: the LF pieces of line 1 must not survive when the file has a second line.
        row("lf in line 1 of a crlf file", "h\n2\n3\n'003\n,,c\n6\n7\n,1,2\r\nX\r\n",
            "h\n2\n3\n'003\n,,c\n6\n7\n,1,2", "-", "-", {});
        row("one line, no line end", "  solo ", "solo", "-", "-", {});
        row("only line ends", QByteArray("\r\n").repeated(8), "", "", "", {});
        row("only CRs", QByteArray(5000, '\r'), "", "", "", {});
        row("only LFs", QByteArray(5000, '\n'), "", "", "", {});
        // Line 1 is the lone LF before the first CR; the LFs after it belong to CR LF line ends.
        row("LF CR pairs", QByteArray("\n\r").repeated(3000), "\n", "", "", {});
        row("only spaces", QByteArray(5000, ' '), "", "-", "-", {});
        row("one NUL", QByteArray(1, '\0'), QString(QChar(0)), "-", "-", {});
        const QByteArray lfs(3 << 20, '\n'); // a line 1 longer than one read, made of LFs
        row("long line 1 of lfs", " H" + lfs + "T \r\n2\r\n3\r\n'120\r\n",
            "H" + QString::fromLatin1(lfs) + "T", "'120", "-", {});
        const QByteArray huge = "K" + QByteArray(50 * 1000 * 1000, 'x'); // 50 MB, no line end
        row("50 MB line", huge, QString::fromLatin1(huge), "-", "-", {});
        // clang-format on
    }
    void lineRules()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, header);
        QFETCH(QString, group);
        QFETCH(QString, columns);
        QFETCH(QStringList, rows);
        const LogReadResult read = readBytes(bytes);
        QVERIFY(read.ok);
        QCOMPARE(read.log.header, header);
        QCOMPARE(TestSupport::layoutOf(read.log), layoutOf(group, columns));
        QCOMPARE(cells(read.log.table), rows);
    }

    // A CR LF split between two reads is one line end; a line split between two reads is one line.
    void chunkBoundaries()
    {
        QList<QByteArray> data;
        for (int i = 0; i < 60000; ++i)
            data << ",1." + QByteArray::number(i) + ",850,2.5,x";
        for (const QByteArray end : {"\r\n", "\n"}) {
            for (const int shift : {-1, 0, 1, 7}) {
                // Line 3's end falls at the end of the first 1 MiB read (shift 0) or just around
                // it; the data lines cross the next MiB.
                QByteArray log = TestSupport::standardLog({"'003"}, data, "h").replace("\r\n", end);
                const int line3End = int(log.indexOf(end + end) + end.size());
                const QByteArray header = "h" + QByteArray((1 << 20) - 1 - line3End + shift, 'x');
                const LogReadResult read = readBytes(log.replace(0, 1, header));
                QVERIFY(read.ok);
                QCOMPARE(read.log.header, QString::fromLatin1(header));
                QVERIFY(read.log.groups.g003);
                const QStringList rows = cells(read.log.table);
                QCOMPARE(rows.size(), data.size());
                for (int i = 0; i < data.size(); ++i)
                    QCOMPARE(rows[i], QStringLiteral("1,%1|850|2,5|x").arg(i));
            }
        }
    }

    // Paths that cannot be read give the message at once (a FIFO never blocks), and so does a
    // file of zero bytes.
    void failedReads_data()
    {
        QTest::addColumn<QString>("reason"); // the row name says what stands at the path
        QTest::newRow("missing") << "el archivo no existe.";
        QTest::newRow("dangling") << "el archivo no existe.";
        QTest::newRow("below a file") << "el archivo no existe.";
        QTest::newRow("NUL in the path") << "el archivo no existe.";
        QTest::newRow("loop") << QString::fromUtf8("los enlaces simbólicos forman un bucle.");
        QTest::newRow("folder") << "es una carpeta, no un archivo.";
        QTest::newRow("fifo") << "no es un archivo normal.";
        QTest::newRow("device") << "no es un archivo normal.";
        QTest::newRow("zero bytes") << QString::fromUtf8("el archivo está vacío.");
        QTest::newRow("no permission") << "no hay permiso para leerlo.";
    }
    void failedReads()
    {
        QFETCH(QString, reason);
        const QByteArray kind = QTest::currentDataTag();
        QTemporaryDir dir;
        QString path = dir.filePath(QStringLiteral("x.csv"));
        const QByteArray name = QFile::encodeName(path);
        if (kind == "dangling")
            QCOMPARE(::symlink("/nonexistent/ondalyx/log.csv", name.constData()), 0);
        else if (kind == "below a file")
            path = TestSupport::writeFile(dir, QStringLiteral("plain.csv"), "x") + "/log.csv";
        else if (kind == "NUL in the path")
            path += QChar(0) + QStringLiteral("x");
        else if (kind == "loop")
            QCOMPARE(::symlink(name.constData(), name.constData()), 0);
        else if (kind == "folder")
            QVERIFY(QDir().mkpath(path));
        else if (kind == "fifo")
            QCOMPARE(::mkfifo(name.constData(), 0600), 0);
        else if (kind == "device")
            path = QStringLiteral("/dev/zero");
        else if (kind == "zero bytes")
            TestSupport::writeFile(dir, QStringLiteral("x.csv"), QByteArray());
        else if (kind == "no permission") {
            if (::geteuid() == 0)
                QSKIP("root reads every file");
            TestSupport::writeFile(dir, QStringLiteral("x.csv"), "h\r\n");
            QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));
        }
        const LogReadResult read = LogReader::read(path);
        QVERIFY(!read.ok);
        QCOMPARE(read.error,
                 QStringLiteral("No se puede abrir el registro \"%1\": %2").arg(path, reason));
        QCOMPARE(read.log.table.rowCount(), 0);
    }

    // Files of /proc report size 0 and are read to their real end anyway.
    void sizeThatLies()
    {
        const QFileInfo status(QStringLiteral("/proc/self/status"));
        if (!status.exists())
            QSKIP("no /proc");
        QCOMPARE(status.size(), 0);
        const LogReadResult read = LogReader::read(status.filePath());
        QVERIFY(read.ok);
        QVERIFY2(read.log.header.startsWith("Name:"), qPrintable(read.log.header));
    }

    // A file cut short while it is read gives whatever was read, or the message; never a crash.
    // Line 1 is long and holds LFs, so its header is read again once a CR turns up (the file may
    // be shorter by then).
    void fileShrinkingWhileRead()
    {
        const QByteArray bytes = QByteArray("head\n").repeated(300000) +
                                 "\r\n\r\n\r\n,,'003,'011\r\n" + TestSupport::Columns +
                                 "\r\n\r\n\r\n" +
                                 QByteArray(",1.0,2.0,3.0,4.0\r\n").repeated(400000);
        for (int round = 0; round < 4; ++round) {
            const QString path =
                TestSupport::writeFile(m_dir, QStringLiteral("shrinking.csv"), bytes);
            const QByteArray name = QFile::encodeName(path);
            std::atomic<bool> started{false};
            std::thread cutter([&] {
                started = true;
                std::this_thread::sleep_for(std::chrono::microseconds(200 * round));
                if (::truncate(name.constData(), off_t(round * 1000000)) != 0)
                    qWarning("truncate failed");
            });
            while (!started)
                std::this_thread::yield();
            const LogReadResult read = LogReader::read(path);
            cutter.join();
            if (read.ok) {
                QVERIFY(read.log.table.rowCount() <= 400000);
                for (int r = 1; r <= read.log.table.rowCount(); r += 9973)
                    QVERIFY(read.log.table.cellCount(r) <= 4);
            } else {
                QVERIFY2(read.error.contains(path), qPrintable(read.error));
                QCOMPARE(read.log.table.rowCount(), 0);
            }
        }
    }

    // Column k is headed by field k + 1 (fields 0 and 1 give none); fields 6 and 11 give a hidden
    // "Tiempo" whatever they hold; every other field gives a column, even when empty. New columns
    // replace the old ones.
    void columnRule()
    {
        // clang-format off
        const std::pair<const char *, const char *> rules[] = {
            {",,A,B,C,D,TIME,F,G,H,I,", "Tiempo/900|A|B|C|D|Tiempo/0|F|G|H|I|Tiempo/0"},
            {",,A,,B.c", "Tiempo/900|A||B.c"}, // empty fields keep their place
            {"X,Y,A", "Tiempo/900|A"},          // fields 0 and 1 named
            {"", "Tiempo/900"}};
        // clang-format on
        for (const auto &[line, expected] : rules) {
            LogFile log;
            log.table.setColumns({{QStringLiteral("old"), 5}});
            log.table.setColumns(LogLayout::columnsFor(line));
            QCOMPARE(TestSupport::layoutOf(log), " / " + QString(expected) + " / ");
        }
    }

    // A byte of 0x80 or above counts wherever it stands: first in a line, on either side of each
    // sixteen bytes of the line-end search, last before the line end, in a last line without a
    // line end, and in a line that crosses the end of the first 1 MiB read.
    void highBytePositions()
    {
        for (const auto &ending :
             {std::pair<QByteArray, bool>("\r\n", true), {"\n", true}, {"\r", false}}) {
            const QByteArray end = ending.first;
            const bool finalEnd = ending.second; // the last line ends too
            const auto log = [&](const QByteArray &units, const QList<QByteArray> &data) {
                const QByteArray out = "h" + end + "2" + end + "3" + end + "g" + end + ",,C" + end +
                                       units + end + "7" + end + data.join(end);
                return finalEnd ? out + end : out;
            };
            const auto row = [](int at, char byte) {
                return "," + QByteArray(at, 'x') + byte + QByteArray(40 - at, 'y');
            };

            // Windows-1252 (a lone degree sign in the units line): every row with one converted.
            QList<QByteArray> data;
            QStringList expected;
            for (int at = 0; at <= 40; ++at) {
                data << row(at, '\xB0');
                expected << QString(at, 'x') + QChar(0xB0) + QString(40 - at, 'y');
            }
            QCOMPARE(cells(readBytes(log(",,\xB0", data)).log.table), expected);

            // A UTF-8 row, then one byte not UTF-8 in the last line: the file is Windows-1252.
            for (int at = 0; at <= 40; ++at)
                QCOMPARE(readBytes(log(",,C", {",\xC3\xBC", row(at, '\xB0')})).log.table.cell(1, 0),
                         QString::fromUtf8("Ã¼"));

            // The degree sign just before, at and just after the end of the first read.
            for (int shift : {-2, -1, 0, 1}) {
                QByteArray bytes = log(",,C", {",\xC3\xBC"}) + (finalEnd ? "" : end);
                bytes += "," + QByteArray((1 << 20) - 50 - int(bytes.size()), 'f') + end;
                const int before = (1 << 20) + shift - int(bytes.size()) - 1;
                bytes += "," + QByteArray(before, 'x') + '\xB0' + "yy" + (finalEnd ? end : "");
                const DataTable big = readBytes(bytes).log.table;
                QCOMPARE(big.rowCount(), 3);
                QCOMPARE(big.cell(1, 0), QString::fromUtf8("Ã¼"));
                QCOMPARE(big.cell(3, 0), QString(before, 'x') + QChar(0xB0) + "yy");
            }
        }
    }

    // removeRow renumbers and a copy keeps its rows whatever the original does afterwards.
    // Regression: the numbers kept for a cell did not follow row removal.
    void removeAndCopy()
    {
        DataTable table;
        table.setColumns(LogLayout::columnsFor(",,A"));
        for (const char *line : {",1,10", ",2,20", ",3,30"})
            table.appendLine(line);
        QCOMPARE(leadingOf(table, 1), (std::vector<double>{10, 20, 30}));
        const uint64_t rowsId = table.rowsId();
        const DataTable copy = table;
        QVERIFY(rowsId != 0 && copy.rowsId() == rowsId); // a copy holds the very same rows

        table.removeRow(2);
        table.removeRow(0);
        table.removeRow(3);
        QCOMPARE(cells(table), QStringList({"1|10", "3|30"}));
        QCOMPARE(leadingOf(table, 1), (std::vector<double>{10, 30}));
        const uint64_t removedId = table.rowsId();
        QVERIFY(removedId != rowsId && copy.rowsId() == rowsId);
        QVERIFY(table.appendLine(",4,4.5"));
        QVERIFY(table.rowsId() != removedId && table.rowsId() != rowsId);
        QCOMPARE(leadingOf(table, 1), (std::vector<double>{10, 30, 4.5}));
        std::string_view raw; // the log's own bytes, "." and all
        QVERIFY(table.rawCell(3, 1, raw) && raw == "4.5");
        bool exists = true;
        QCOMPARE(table.cellText(3, 2, &exists), std::string());
        QVERIFY(!exists);
        DataTable other = copy;
        QVERIFY(other.appendLine(",5,50"));
        QVERIFY(other.rowsId() != rowsId && copy.rowsId() == rowsId);
        QCOMPARE(cells(table), QStringList({"1|10", "3|30", "4|4,5"}));
        QCOMPARE(cells(other), QStringList({"1|10", "2|20", "3|30", "5|50"}));
        for (int i = 0; i < 3; ++i)
            table.removeRow(1);
        QCOMPARE(table.rowCount(), 0);
        QCOMPARE(table.columnCount(), 2);
        table.appendLine(",6");
        table.clearRows();
        QCOMPARE(cells(copy), QStringList({"1|10", "2|20", "3|30"}));
        QCOMPARE(leadingOf(copy, 1), (std::vector<double>{10, 20, 30}));
        QCOMPARE(table.rowsId(), uint64_t(0)); // no rows
    }

    // Rows that cross block ends or are bigger than a block keep their bytes.
    void largeRowsAndBlocks()
    {
        DataTable table;
        const std::string big = "," + std::string(5 << 20, '7') + ",end";
        for (int i = 0; i < 20000; ++i) {
            QVERIFY(table.appendLine(",r" + std::to_string(i) + "," +
                                     std::string(size_t(i % 1000), 'x')));
            if (i == 10000)
                QVERIFY(table.appendLine(big));
        }
        QCOMPARE(table.rowCount(), 20001);
        QCOMPARE(table.cell(10002, 1), QStringLiteral("end"));
        QCOMPARE(table.cellText(10002, 0).size(), size_t(5 << 20));
        for (int r = 1; r <= 20001; ++r) {
            const int i = r <= 10001 ? r - 1 : r - 2;
            if (r != 10002 && table.cellText(r, 0) != "r" + std::to_string(i))
                QFAIL(qPrintable(QStringLiteral("row %1").arg(r)));
        }
        QVERIFY(table.memoryUsed() >= size_t(5 << 20) + 20001 * 12);
    }

    // The numbers kept per cell follow the number rules whatever shortcut reads them: texts that
    // test the rules' edges, then random ones, each among other cells and as a row's last cell.
    void keptNumbersFollowTheRules()
    {
        // clang-format off
        QList<QByteArray> texts = {
            "0", "-0", "12", "12.5", "-12.5", "5.", ".5", "-.5", "+5", "1e5", "1E-3", "0001.2000",
            "123456789012345", "1234567890123456", "9007199254740993", "0.1234567890123456789",
            "1.000000000000001", "99999999999999999999", "1.2.3", "12a", "- 5", "1 5", "", "-",
            "0x10", "nan", "inf", "1e309", "4.9e-324", "2.2250738585072011e-308", "7.0e-10",
            "123456789.123456789"};
        // clang-format on
        QRandomGenerator random(7);
        const char alphabet[] = "0123456789.-+e x";
        for (int r = 0; r < 3000; ++r) {
            QByteArray text;
            for (int i = int(random.bounded(1, 12)); i > 0; --i)
                text += alphabet[random.bounded(int(sizeof alphabet - 1))];
            if (r % 3 == 0) // plenty of plain decimals
                text = QByteArray::number(random.bounded(-99999, 99999)) + "." +
                       QByteArray::number(random.bounded(0, 999));
            texts << text;
        }
        DataTable table;
        for (const QByteArray &text : texts) {
            QVERIFY(table.appendLine((",t," + text + ",4").toStdString()));
            QVERIFY(table.appendLine((",t," + text).toStdString()));
        }
        table.appendLine(",t"); // no cell 1
        checkKeptNumbers(table, 1);

        // Several cells read in one walk, over rows of different lengths.
        DataTable wide;
        for (const char *line : {",t,1,2,3.25,4,-5", ",t,1,2", ",t,,,7e2,,1234567890123456789"})
            wide.appendLine(line);
        wide.readNumbers({5, 3, 1});
        for (int cell : {1, 3, 5})
            checkKeptNumbers(wide, cell);
        QCOMPARE(wide.numbers(3).leading[0], 3.25);
        QVERIFY(wide.numbers(5).isPlain(2)); // too many digits for the quick reading, still plain
        QCOMPARE(wide.numbers(5).leading[2], 1234567890123456789.0);
    }
};

QTEST_APPLESS_MAIN(TestLog)
#include "test_log.moc"
