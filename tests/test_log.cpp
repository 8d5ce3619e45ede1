// The log reader: line ends, the first seven lines, cells and columns, text decoding, rows across
// reads and paths that cannot be read.
#include "TestSupport.h"

#include <sys/stat.h>
#include <unistd.h>

namespace {

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
        add("lf inside a crlf line is text", ",,c", ",a\nb,c", ",,c", {"a\nb|c"});
        add("utf-8", ",,\302\260C", ",\303\274.5", ",,°C", {"ü,5"});
        add("windows-1252", ",,\260C", ",\374\200\215", ",,°C", {"ü€" + QString(QChar(0x8D))});
        add("invalid utf-8", ",,C", ",\xff\xfe,\xc3,\xe2\x82,\xed\xa0\x80,\x80", ",,C",
            {"ÿþ|Ã|â‚|í\u00A0€|€"});
        add("nul is text", QByteArray(",,a\0b", 5), QByteArray(",x\0y", 4),
            QString::fromUtf8(",,a\0b", 5), {QString::fromUtf8("x\0y", 3)});
        row("cr-cr-lf is two line ends", "h\r\r\n3\r\n'011\r\n,,c\r\n6\r\n7\r\n,1", "h", "'011",
            ",,c", {"1"});
        row("single crlf line is the header only", "  Cabecera, \xe9\xf1 \r\n", "Cabecera, éñ", "-",
            "-", {});
        row("spaces trimmed, tabs kept",
            " \th \r\n2\r\n3\r\n '003,'011 \r\n,,\tc \r\n6\r\n7\r\n  ,1.5,2\t \r\n", "\th",
            "'003,'011", ",,\tc", {"1,5|2\t"});
        row("lf text trimmed once, pieces kept", "  h \n2\n3\n '003\n,,c \n6\n7\n ,1,2 \n  ", "h ",
            " '003", ",,c ", {"1|2 "});
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

    // A CR LF split between two reads is one line end; a line split between two reads is one line;
    // line 1 of LF pieces over several reads is read again whole when a CR LF follows it (fault
    // pinned: its LF pieces used to survive as the header block and rows).
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
                if (end == "\n") {
                    // A CR LF after it all: the header is the whole LF text, read again.
                    const LogReadResult crlf = readBytes(log + "\r\nX\r\n");
                    QCOMPARE(crlf.log.header, QString::fromLatin1(log));
                    QCOMPARE(crlf.log.table.rowCount(), 0);
                }
            }
        }
    }

    // Paths that cannot be read give the message at once (a FIFO never blocks), and so does a
    // file of zero bytes.
    void failedReads_data()
    {
        QTest::addColumn<QString>("reason"); // the row name says what stands at the path
        QTest::newRow("missing") << "el archivo no existe.";
        QTest::newRow("loop") << QString::fromUtf8("los enlaces simbólicos forman un bucle.");
        QTest::newRow("folder") << "es una carpeta, no un archivo.";
        QTest::newRow("fifo") << "no es un archivo normal.";
        QTest::newRow("zero bytes") << QString::fromUtf8("el archivo está vacío.");
        QTest::newRow("no permission") << "no hay permiso para leerlo.";
    }
    void failedReads()
    {
        QFETCH(QString, reason);
        const QByteArray kind = QTest::currentDataTag();
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("x.csv"));
        const QByteArray name = QFile::encodeName(path);
        if (kind == "loop")
            QCOMPARE(::symlink(name.constData(), name.constData()), 0);
        else if (kind == "folder")
            QVERIFY(QDir().mkpath(path));
        else if (kind == "fifo")
            QCOMPARE(::mkfifo(name.constData(), 0600), 0);
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
        for (const QByteArray end : {"\r\n", "\n", "\r"}) {
            const bool finalEnd = end != "\r"; // the last line ends too
            const auto log = [&](const QByteArray &units, const QList<QByteArray> &data) {
                const QByteArray out =
                    QByteArrayList{"h", "2", "3", "g", ",,C", units, "7"}.join(end) + end +
                    data.join(end);
                return finalEnd ? out + end : out;
            };
            QList<QByteArray> data;
            QStringList expected;
            for (int at = 0; at <= 40; ++at) {
                data << "," + QByteArray(at, 'x') + '\xB0' + QByteArray(40 - at, 'y');
                expected << QString(at, 'x') + QChar(0xB0) + QString(40 - at, 'y');
            }
            // Windows-1252 (a lone degree sign in the units line): every row converted.
            QCOMPARE(cells(readBytes(log(",,\xB0", data)).log.table), expected);

            // The degree sign just before, at and just after the end of the first read. Regression:
            // the UTF-8 row stored before it must be converted too.
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
};

QTEST_APPLESS_MAIN(TestLog)
#include "test_log.moc"
