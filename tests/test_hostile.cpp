// Hostile logs and hostile names: every load ends in a table or in the failed-load message, never
// in a crash, a hang or rows lost without a word; statistics and the power curve keep their
// failure rules on numbers that are not numbers; no title or path leaves its folder.
#include "TestSupport.h"

#include "app/AppState.h"
#include "log/DataTable.h"
#include "power/PowerCurve.h"
#include "shell/Association.h"
#include "stats/NumberRules.h"
#include "stats/Stats.h"
#include "views/ImageFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QRandomGenerator>
#include <QtTest>

#include <atomic>
#include <chrono>
#include <cmath>
#include <limits>
#include <thread>

#include <sys/stat.h>
#include <unistd.h>

namespace {

const QList<QByteArray> Diesel = {"'003", "'011", "'020"};

// A data line of the standard layout from its cells 0 to 14 (cell k is field k + 1).
QByteArray dataLine(const QList<QByteArray> &cells)
{
    QByteArray line;
    for (const QByteArray &cell : cells)
        line += ',' + cell;
    return line;
}

// A row of a diesel pull: speed (cell 1), EGR (4), target and actual boost (7, 8), N75 (9).
QByteArray pullLine(const QByteArray &speed, const QByteArray &egr, const QByteArray &target,
                    const QByteArray &map, const QByteArray &n75 = "50")
{
    return dataLine({"0.1", speed, "290", "280", egr, "0.2", "900", target, map, n75, "0.3", "1",
                     "2", "3", "4"});
}

struct Load {
    QTemporaryDir dir;
    AppState state;
    QStringList messages;
    bool ok = false;

    Load() { state.showMessage = [this](const QString &t, MessageKind) { messages << t; }; }
    bool file(const QString &path)
    {
        messages.clear();
        ok = state.FormLoad(path);
        return ok;
    }
    bool bytes(const QByteArray &content)
    {
        return file(TestSupport::writeFile(dir, QStringLiteral("log.csv"), content));
    }
    // A load ends either in a table or in one message naming the file, never in both.
    void checkClearResult(const QString &path) const
    {
        if (ok) {
            QVERIFY2(messages.isEmpty(), qPrintable(messages.join(QLatin1Char('\n'))));
        } else {
            QCOMPARE(messages.size(), 1);
            QVERIFY2(messages[0].contains(path), qPrintable(messages[0]));
            QCOMPARE(state.table.rowCount(), 0);
        }
        QCOMPARE(state.caption(), QString::fromLatin1(AppState::CaptionPrefix) + state.LogTitle);
    }
};

QList<int> ticked(const AppState &state)
{
    QList<int> boxes;
    for (int k = 0; k < AppState::BoxCount; ++k)
        if (state.box(k).ticked)
            boxes << k;
    return boxes;
}

// Undoes the escapes of a desktop entry's string value and then the quoting of one Exec argument,
// as a desktop reads them. Returns false on a quoting the desktop would refuse.
bool execArgumentBack(const QString &value, QString &argument)
{
    QString unescaped;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == QLatin1Char('\\') && i + 1 < value.size()) {
            const QChar c = value[++i];
            unescaped += c == QLatin1Char('n')   ? QChar('\n')
                         : c == QLatin1Char('t') ? QChar('\t')
                         : c == QLatin1Char('r') ? QChar('\r')
                                                 : c;
        } else {
            unescaped += value[i];
        }
    }
    if (unescaped.size() < 2 || !unescaped.startsWith(QLatin1Char('"')) ||
        !unescaped.endsWith(QLatin1Char('"')))
        return false;
    argument.clear();
    for (qsizetype i = 1; i + 1 < unescaped.size(); ++i) {
        QChar c = unescaped[i];
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$'))
            return false; // must have been escaped
        if (c == QLatin1Char('\\')) {
            if (i + 2 >= unescaped.size())
                return false;
            c = unescaped[++i];
        } else if (c == QLatin1Char('%')) {
            if (i + 2 >= unescaped.size() || unescaped[i + 1] != QLatin1Char('%'))
                return false; // a field code inside the program's own path
            ++i;
        }
        argument += c;
    }
    return true;
}

} // namespace

class TestHostile : public QObject {
    Q_OBJECT
private slots:
    void oddBytes_data();
    void oddBytes();
    void hugeLineWithoutEnd();
    void hundredThousandCommas_data();
    void hundredThousandCommas();
    void binaryGarbageKeepsEveryRow();
    void invalidUtf8();
    void notARegularFile_data();
    void notARegularFile();
    void sizeThatLies();
    void fileShrinkingWhileRead();
    void hostileNumbersInStatistics_data();
    void hostileNumbersInStatistics();
    void hostileNumbersInPowerFields_data();
    void hostileNumbersInPowerFields();
    void keptNumbersFollowTheRules_data();
    void keptNumbersFollowTheRules();
    void hostileReferencePeak_data();
    void hostileReferencePeak();
    void millionEmptyRows();
    void imageNameStaysInItsFolder_data();
    void imageNameStaysInItsFolder();
    void imageSaveReplacesALinkNotItsTarget();
    void desktopEntryKeepsThePathWhole_data();
    void desktopEntryKeepsThePathWhole();
};

// Files made of nothing but line ends, or of nothing at all.
void TestHostile::oddBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("loads");
    QTest::addColumn<QString>("header");
    QTest::newRow("zero bytes") << QByteArray() << false << QString();
    QTest::newRow("only CRs") << QByteArray(5000, '\r') << true << QString();
    QTest::newRow("only LFs") << QByteArray(5000, '\n') << true << QString();
    QTest::newRow("only CR LFs") << QByteArray("\r\n").repeated(3000) << true << QString();
    // Line 1 is the lone LF before the first CR; the LFs after it belong to CR LF line ends.
    QTest::newRow("LF CR pairs") << QByteArray("\n\r").repeated(3000) << true << QStringLiteral("\n");
    QTest::newRow("only spaces") << QByteArray(5000, ' ') << true << QString();
    QTest::newRow("one NUL") << QByteArray(1, '\0') << true << QString(QChar(0));
}

void TestHostile::oddBytes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, loads);
    QFETCH(QString, header);
    Load load;
    // A log read before must not leak into what the odd file shows.
    QVERIFY(load.bytes(TestSupport::standardLog(Diesel, {pullLine("900", "30", "1000", "990")})));
    QCOMPARE(load.bytes(bytes), loads);
    load.checkClearResult(load.dir.filePath(QStringLiteral("log.csv")));
    QCOMPARE(load.state.table.rowCount(), 0);
    QCOMPARE(load.state.engine(), EngineType::Ninguno);
    if (loads)
        QCOMPARE(load.state.LogHeader, header);
}

// 50 MB without a line end: one line, read in one pass, the header of an empty table.
void TestHostile::hugeLineWithoutEnd()
{
    Load load;
    QByteArray bytes(50 * 1000 * 1000, 'x');
    bytes[0] = 'K';
    QVERIFY(load.bytes(bytes));
    load.checkClearResult(QString());
    QCOMPARE(load.state.LogHeader.size(), bytes.size());
    QCOMPARE(load.state.LogHeader.at(0), QChar('K'));
    QCOMPARE(load.state.table.rowCount(), 0);
    QCOMPARE(load.state.table.columnCount(), 0);
}

// 100,000 commas as the column-name line or as a data line.
void TestHostile::hundredThousandCommas_data()
{
    QTest::addColumn<bool>("asColumnLine");
    QTest::newRow("line 5") << true;
    QTest::newRow("data line") << false;
}

void TestHostile::hundredThousandCommas()
{
    QFETCH(bool, asColumnLine);
    const QByteArray commas(100000, ',');
    QByteArray bytes = TestSupport::standardLog(
        Diesel, {pullLine("900", "30", "1000", "990"), commas, pullLine("2000", "5", "1900", "2100")});
    if (asColumnLine) {
        const QByteArray names = ",,C1,C2,C3,C4,TIME,C6,C7,C8,C9,TIME,C11,C12,C13,C14";
        bytes.replace(names, commas);
    }
    Load load;
    QVERIFY(load.bytes(bytes));
    load.checkClearResult(QString());
    QCOMPARE(load.state.table.rowCount(), 3);
    QCOMPARE(load.state.engine(), EngineType::Diesel);
    if (asColumnLine) {
        // Every empty name still gives a column (the two time columns hidden); no box is shown.
        QCOMPARE(load.state.table.columnCount(), 100000);
        for (int k = 0; k < AppState::BoxCount; ++k)
            QVERIFY(!load.state.box(k).visible);
    } else {
        QCOMPARE(load.state.table.cellCount(2), 100000);
        QCOMPARE(load.state.table.cell(2, 99999), QString());
    }
    // Diesel ticks its four boxes whatever the names; the statistics read rows 1 and 3 over the
    // row of nothing.
    QCOMPARE(ticked(load.state), QList<int>({2, 3, 7, 8}));
    QCOMPARE(load.state.chart.seriesCount(), 4);
    QCOMPARE(load.state.label(LbMaxPico), QStringLiteral("Pico Max MAP: 2.100 Bar a las 2000 RPM"));
    // Row 2's empty cells 7 and 8 both read 0: the turbo counts as charged there.
    QCOMPARE(load.state.label(LbTimeCarga), QStringLiteral("Turbo cargado a  RPM con  Bar"));
    load.state.DeleteRow(2);
    QCOMPARE(load.state.table.rowCount(), 2);
}

// Bytes of every value but the line ends, NULs included, pass through as text: every line with a
// comma is one row, none is dropped or cut at a NUL.
void TestHostile::binaryGarbageKeepsEveryRow()
{
    QRandomGenerator random(20261206);
    QList<QByteArray> lines;
    int rowsExpected = 0;
    for (int i = 0; i < 2000; ++i) {
        QByteArray line(int(random.bounded(1, 200)), '\0');
        for (char &c : line) {
            do
                c = char(random.bounded(256));
            while (c == '\r' || c == '\n');
        }
        line[0] = ','; // the row's first cell starts after it
        if (line.size() > 1)
            line[1 + int(random.bounded(line.size() - 1))] = '\0';
        lines << line;
        ++rowsExpected;
    }
    Load load;
    QVERIFY(load.bytes(TestSupport::standardLog(Diesel, lines)));
    load.checkClearResult(QString());
    QCOMPARE(load.state.table.rowCount(), rowsExpected);
    // A sample of rows: the cell count is the line's comma count, NUL bytes and all.
    for (int r = 1; r <= rowsExpected; r += 97)
        QCOMPARE(load.state.table.cellCount(r), int(lines[r - 1].count(',')));
    Stats::CalcStats(load.state);
    load.state.DeleteRow(1);
    QCOMPARE(load.state.table.rowCount(), rowsExpected - 1);
}

// Bytes that are not UTF-8 are read as Windows-1252, whatever line they stand in.
void TestHostile::invalidUtf8()
{
    Load load;
    QByteArray bytes = TestSupport::standardLog(
        Diesel, {pullLine("900", "30", "1000", "990"), ",\xff\xfe,\xc3,\xe2\x82,\xed\xa0\x80,\x80"},
        "Cabecera \xe9\xf1");
    QVERIFY(load.bytes(bytes));
    load.checkClearResult(QString());
    QCOMPARE(load.state.LogHeader, QStringLiteral("Cabecera éñ"));
    QCOMPARE(load.state.table.rowCount(), 2);
    QCOMPARE(load.state.table.cell(2, 0), QStringLiteral("ÿþ"));
    QCOMPARE(load.state.table.cell(2, 1), QStringLiteral("Ã"));
    QCOMPARE(load.state.table.cell(2, 4), QStringLiteral("€"));
}

// Paths that are not a regular file give the failed-load message at once (a FIFO never blocks).
void TestHostile::notARegularFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("folder") << QStringLiteral("folder");
    QTest::newRow("dangling link") << QStringLiteral("dangling");
    QTest::newRow("link loop") << QStringLiteral("loop");
    QTest::newRow("fifo") << QStringLiteral("fifo");
    QTest::newRow("device") << QStringLiteral("device");
    QTest::newRow("below a file") << QStringLiteral("belowFile");
    QTest::newRow("NUL in the path") << QStringLiteral("nul");
}

void TestHostile::notARegularFile()
{
    QFETCH(QString, kind);
    Load load;
    QString path = load.dir.filePath(kind);
    const QByteArray name = QFile::encodeName(path);
    if (kind == QLatin1String("folder")) {
        QVERIFY(QDir().mkpath(path));
    } else if (kind == QLatin1String("dangling")) {
        QCOMPARE(::symlink("/nonexistent/ondalyx/log.csv", name.constData()), 0);
    } else if (kind == QLatin1String("loop")) {
        QCOMPARE(::symlink(name.constData(), name.constData()), 0);
    } else if (kind == QLatin1String("fifo")) {
        QCOMPARE(::mkfifo(name.constData(), 0600), 0);
    } else if (kind == QLatin1String("device")) {
        path = QStringLiteral("/dev/zero");
    } else if (kind == QLatin1String("belowFile")) {
        path = TestSupport::writeFile(load.dir, QStringLiteral("plain.csv"), "x") +
               QStringLiteral("/log.csv");
    } else {
        path += QChar(0) + QStringLiteral("x");
    }
    QVERIFY(load.bytes(TestSupport::standardLog(Diesel, {pullLine("900", "30", "1000", "990")})));

    QElapsedTimer clock;
    clock.start();
    QVERIFY(!load.file(path));
    QVERIFY(clock.elapsed() < 5000);
    load.checkClearResult(path);
    QCOMPARE(load.state.engine(), EngineType::Ninguno);
    QCOMPARE(load.state.label(LbMaxPico), QString());
}

// Files of /proc report size 0 and are read to their real end anyway.
void TestHostile::sizeThatLies()
{
    QFileInfo status(QStringLiteral("/proc/self/status"));
    if (!status.exists())
        QSKIP("no /proc");
    QCOMPARE(status.size(), 0);
    Load load;
    QVERIFY(load.file(status.filePath()));
    load.checkClearResult(status.filePath());
    // LF line ends: line 1 is the header, the "Name:" line.
    QVERIFY2(load.state.LogHeader.startsWith(QLatin1String("Name:")),
             qPrintable(load.state.LogHeader));
}

// A file cut short while it is read gives whatever was read, or the message; never a crash.
// The first line is long and holds LFs, so that its header is read again once a CR turns up
// (the file may be shorter by then).
void TestHostile::fileShrinkingWhileRead()
{
    QTemporaryDir dir;
    const QByteArray firstLine = QByteArray("head\n").repeated(300000) + "\r\n";
    const QByteArray rows = QByteArray(",1.0,2.0,3.0,4.0\r\n").repeated(400000);
    const QByteArray bytes = firstLine + "\r\n\r\n,,'003,'011\r\n" +
                             ",,C1,C2,C3,C4,TIME,C6,C7,C8,C9,TIME,C11,C12,C13,C14\r\n\r\n\r\n" + rows;
    const QString path = dir.filePath(QStringLiteral("shrinking.csv"));
    const QByteArray name = QFile::encodeName(path);
    for (int round = 0; round < 4; ++round) {
        QVERIFY(TestSupport::writeFile(dir, QStringLiteral("shrinking.csv"), bytes) == path);
        std::atomic<bool> started{false};
        std::thread cutter([&] {
            started = true;
            std::this_thread::sleep_for(std::chrono::microseconds(200 * round));
            if (::truncate(name.constData(), off_t(round * 1000000)) != 0)
                qWarning("truncate failed");
        });
        while (!started)
            std::this_thread::yield();
        Load load;
        load.file(path);
        cutter.join();
        load.checkClearResult(path);
        if (load.ok) {
            QVERIFY(load.state.table.rowCount() <= 400000);
            for (int r = 1; r <= load.state.table.rowCount(); r += 9973)
                QVERIFY(load.state.table.cellCount(r) <= 4);
        }
    }
}

// Texts that look like numbers, or nearly, in the cells the statistics compare and show. The
// table holds "," for the log's ".", so ".5" in the log is the cell ",5".
void TestHostile::hostileNumbersInStatistics_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("maxPico");
    QTest::addColumn<QString>("minEgr");
    const QString peakOfRow3 = QStringLiteral("Pico Max MAP: 1.500 Bar a las 3000 RPM");
    const QString egrOfRow3 = QStringLiteral("Valor Minimo EGR: 20 a las 3000 RPM");
    auto egrOfRow2 = [](const char *shown) {
        return QStringLiteral("Valor Minimo EGR: %1 a las 2000 RPM").arg(QLatin1String(shown));
    };
    // Beyond the largest double: the highest value, shown as its text (it is not a number that
    // TextNumber reads).
    QTest::newRow("1e309") << QByteArray("1e309")
                           << QStringLiteral("Pico Max MAP: 1e309 Bar a las 2000 RPM") << egrOfRow3;
    QTest::newRow("-1e309") << QByteArray("-1e309") << peakOfRow3 << egrOfRow2("-1e309");
    QTest::newRow("nan") << QByteArray("nan") << peakOfRow3 << egrOfRow2("nan");
    QTest::newRow("inf") << QByteArray("inf") << peakOfRow3 << egrOfRow2("inf");
    QTest::newRow("-inf") << QByteArray("-inf") << peakOfRow3 << egrOfRow2("-inf");
    QTest::newRow("0x1A") << QByteArray("0x1A") << peakOfRow3 << egrOfRow2("0x1A");
    QTest::newRow("20 digits")
        << QByteArray("99999999999999999999")
        << QStringLiteral("Pico Max MAP: 100.000.000.000.000.000.000 Bar a las 2000 RPM")
        << egrOfRow3;
    QTest::newRow("400 digits") << QByteArray(400, '9')
                                << QStringLiteral("Pico Max MAP: %1 Bar a las 2000 RPM")
                                       .arg(QString(400, QLatin1Char('9')))
                                << egrOfRow3;
    QTest::newRow("tiny") << QByteArray("1e-400") << peakOfRow3 << egrOfRow2("1e-400");
    QTest::newRow("long zero fraction")
        << QByteArray("0." + QByteArray(5000, '0') + "1") << peakOfRow3
        << egrOfRow2(qPrintable("0," + QString(5000, QLatin1Char('0')) + "1"));
    QTest::newRow("minus") << QByteArray("-") << peakOfRow3 << egrOfRow2("-");
    QTest::newRow("plus") << QByteArray("+") << peakOfRow3 << egrOfRow2("+");
    QTest::newRow("1e") << QByteArray("1e") << peakOfRow3 << egrOfRow2("1e");
    QTest::newRow(".5") << QByteArray(".5") << peakOfRow3 << egrOfRow2(",5");
    QTest::newRow("huge exponent") << QByteArray("1e99999999999999999999")
                                   << QStringLiteral(
                                          "Pico Max MAP: 1e99999999999999999999 Bar a las 2000 RPM")
                                   << egrOfRow3;
    QTest::newRow("blanks inside") << QByteArray("1 5 0 0 0") << QStringLiteral(
                                                                     "Pico Max MAP: 1 5 0 0 0 Bar a las 2000 RPM")
                                   << egrOfRow3;
}

void TestHostile::hostileNumbersInStatistics()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, maxPico);
    QFETCH(QString, minEgr);
    Load load;
    QVERIFY(load.bytes(TestSupport::standardLog(
        Diesel, {pullLine("900", "35", "1000", "1000"), pullLine("2000", text, "1200", text),
                 pullLine("3000", "20", "1400", "1500")})));
    QCOMPARE(load.state.label(LbMaxPico), maxPico);
    QCOMPARE(load.state.label(LbMEGR), minEgr);
    // The other three run their steps to the end too.
    QVERIFY(load.state.label(LbTimeCarga).startsWith(QLatin1String("Turbo cargado a ")));
    QVERIFY(load.state.label(Label1).startsWith(QLatin1String("Tenemos una variacion")));
    QVERIFY(load.state.label(LbMaxN75).startsWith(QLatin1String("Valor Maximo N75: 50 a las")));
}

// The same texts as engine speed and torque of the power curve: each reads as its leading value.
void TestHostile::hostileNumbersInPowerFields_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<double>("leading");
    const double inf = std::numeric_limits<double>::infinity();
    QTest::newRow("1e309") << QByteArray("1e309") << inf;
    QTest::newRow("-1e309") << QByteArray("-1e309") << -inf;
    QTest::newRow("nan") << QByteArray("nan") << 0.0;
    QTest::newRow("inf") << QByteArray("inf") << 0.0;
    QTest::newRow("0x1A") << QByteArray("0x1A") << 0.0;
    QTest::newRow("20 digits") << QByteArray("99999999999999999999") << 1e20;
    QTest::newRow("minus") << QByteArray("-") << 0.0;
    QTest::newRow("plus") << QByteArray("+") << 0.0;
    QTest::newRow("1e") << QByteArray("1e") << 1.0;
    QTest::newRow(".5") << QByteArray(".5") << 0.5;
    QTest::newRow("empty") << QByteArray() << 0.0;
}

void TestHostile::hostileNumbersInPowerFields()
{
    QFETCH(QByteArray, text);
    QFETCH(double, leading);
    Load load;
    // Boxes 1, 7 and 8: speed from cell 1, torque from cell 8. Row 1 has a hostile torque, row 2
    // a hostile speed with a huge torque (0 x infinity must give NaN, not a crash).
    QVERIFY(load.bytes(TestSupport::standardLog(
        {"'120"}, {pullLine("2000", "1", "1", text), pullLine(text, "1", "1", "1e309")})));
    for (int k : {1, 7, 8})
        load.state.setBoxTicked(k, true);
    load.state.setChCVTicked(true);
    QVERIFY(load.messages.isEmpty());
    QVERIFY(load.state.chcvTicked());
    const ChartModel &chart = load.state.chart;
    QCOMPARE(chart.seriesCount(), 2);
    QCOMPARE(chart.rowCount(), 2);

    const auto same = [](double got, double want) {
        if (std::isnan(want))
            return std::isnan(got);
        return got == want || std::abs(got - want) <= 1e-12 * std::abs(want);
    };
    const double torque1 = leading * PowerCurve::TorqueFactor;
    const double torque2 = std::numeric_limits<double>::infinity();
    const double power1 = torque1 * 2000 / PowerCurve::PowerDivisor;
    const double power2 = torque2 * leading / PowerCurve::PowerDivisor;
    QVERIFY2(same(chart.series(1).values[0], torque1), qPrintable(QString::number(torque1)));
    QVERIFY2(same(chart.series(2).values[0], power1), qPrintable(QString::number(power1)));
    QVERIFY(same(chart.series(1).values[1], torque2));
    QVERIFY2(same(chart.series(2).values[1], power2), qPrintable(QString::number(power2)));
    QCOMPARE(chart.rowLabel(2), QString::fromUtf8(text).replace(QLatin1Char('.'), QLatin1Char(',')));

    // Unticking clears the curve and every box.
    load.state.setChCVTicked(false);
    QCOMPARE(chart.seriesCount(), 0);
    QVERIFY(ticked(load.state).isEmpty());
}

// The numbers the table keeps for its cells are the number rules applied to each cell's text,
// whatever shortcut reads them: LeadingValue of the log's bytes, TextNumber of the table's text.
void TestHostile::keptNumbersFollowTheRules_data()
{
    QTest::addColumn<QByteArray>("text");
    for (const char *text :
         {"0", "-0", "12", "12.5", "-12.5", "5.", ".5", "-.5", "+5", "1e5", "1E-3", "0001.2000",
          "123456789012345", "1234567890123456", "9007199254740993", "0.1234567890123456789",
          "1.000000000000001", "99999999999999999999", "1.2.3", "12a", "- 5", "1 5", "", "-",
          "0x10", "nan", "inf", "1e309", "4.9e-324", "2.2250738585072011e-308", "7.0e-10",
          "123456789.123456789"})
        QTest::newRow(text) << QByteArray(text);
}

void TestHostile::keptNumbersFollowTheRules()
{
    QFETCH(QByteArray, text);
    DataTable table;
    // The text in cell 2 of a row among others, and once as the row's last cell.
    for (const QByteArray &line : {",1,2," + text + ",4", ",1,2," + text, QByteArray(",1,2")})
        QVERIFY(table.appendLine(std::string_view(line.constData(), size_t(line.size()))));
    const DataTable::NumberColumn &column = table.numbers(2);
    for (int row : {1, 2}) {
        const std::string raw = text.toStdString();
        QCOMPARE(column.leading[size_t(row - 1)], NumberRules::LeadingValue(raw));
        double expected = 0;
        double kept = 0;
        const bool readable = NumberRules::TextNumber(table.cellText(row, 2), expected);
        QCOMPARE(table.textNumber(row, 2, kept), readable);
        if (readable)
            QCOMPARE(kept, expected);
    }
    QVERIFY(std::isnan(column.leading[2])); // row 3 has no cell 2
}

// The highest cell 7 is the mark the pressure variation counts rows with: a mark that does not
// read as a number, or reads as a huge one, must leave the stretch empty rather than run wild.
void TestHostile::hostileReferencePeak_data()
{
    QTest::addColumn<QByteArray>("peak");
    QTest::addColumn<QString>("caption");
    // Not readable by TextNumber: no row is added up, the first figure stays 0 and so does the
    // variation.
    QTest::newRow("1e309") << QByteArray("1e309") << QStringLiteral("0");
    QTest::newRow("400 digits") << QByteArray(400, '9') << QStringLiteral("0");
    QTest::newRow("number then text") << QByteArray("2400abc") << QStringLiteral("0");
    // Readable but far beyond the row count: the stretch is empty and the variation is the peak.
    QTest::newRow("20 digits") << QByteArray("99999999999999999999")
                               << QStringLiteral("100000000000000000000");
}

void TestHostile::hostileReferencePeak()
{
    QFETCH(QByteArray, peak);
    QFETCH(QString, caption);
    Load load;
    // The peak in row 2, no later row reads lower: the mark keeps the peak's text.
    QVERIFY(load.bytes(TestSupport::standardLog(
        Diesel, {pullLine("900", "1", "1000", "1000"), pullLine("2000", "1", peak, "2000"),
                 pullLine("2500", "1", peak, "2100"), pullLine("3000", "1", peak, "2200")})));
    QCOMPARE(load.state.label(Label1),
             QStringLiteral("Tenemos una variacion de presion de: ") + caption);
}

// A million rows of empty fields: every row is kept, the statistics give their empty-cell texts.
void TestHostile::millionEmptyRows()
{
    const int rows = 1000000;
    QByteArray bytes = TestSupport::standardLog(Diesel, {});
    bytes += QByteArray(",,,,,,,,,,,,,,,\r\n").repeated(rows);
    Load load;
    QElapsedTimer clock;
    clock.start();
    QVERIFY(load.bytes(bytes));
    load.checkClearResult(QString());
    QCOMPARE(load.state.table.rowCount(), rows);
    QCOMPARE(load.state.table.cellCount(rows), 15);
    QCOMPARE(load.state.engine(), EngineType::Diesel);
    QCOMPARE(load.state.label(LbMaxPico), QStringLiteral("Pico Max MAP:  Bar a las  RPM"));
    QCOMPARE(load.state.label(LbTimeCarga), QStringLiteral("Turbo cargado a  RPM con  Bar"));
    QCOMPARE(load.state.label(Label1), QStringLiteral("Tenemos una variacion de presion de: 0"));
    QCOMPARE(load.state.label(LbMaxN75), QStringLiteral("Valor Maximo N75:  a las  RPM"));
    QCOMPARE(load.state.label(LbMEGR), QStringLiteral("Valor Minimo EGR:  a las  RPM"));
    // The four default series span every row; none has a value.
    QCOMPARE(load.state.chart.seriesCount(), 4);
    QCOMPARE(load.state.chart.rowCount(), rows);
    QVERIFY(std::isnan(load.state.chart.series(4).values.back()));
    qInfo("million empty rows loaded in %lld ms", clock.elapsed());
}

// Whatever a log's title holds, its chart image is one file right inside the images folder.
void TestHostile::imageNameStaysInItsFolder_data()
{
    QTest::addColumn<QString>("title");
    QTest::newRow("parent") << QStringLiteral("..");
    QTest::newRow("climbing") << QStringLiteral("../../../etc/passwd");
    QTest::newRow("backslashes") << QStringLiteral("..\\..\\Windows\\win");
    QTest::newRow("absolute") << QStringLiteral("/tmp/x");
    QTest::newRow("dot") << QStringLiteral(".");
    QTest::newRow("empty") << QString();
    QTest::newRow("NUL") << QStringLiteral("a") + QChar(0) + QStringLiteral("/../b");
    QTest::newRow("shell") << QStringLiteral("$(touch pwned); `id` | rm -rf ~ &");
    QTest::newRow("newline") << QStringLiteral("a\nb\r\tc");
    QTest::newRow("dash") << QStringLiteral("--help -rf");
}

void TestHostile::imageNameStaysInItsFolder()
{
    QFETCH(QString, title);
    QTemporaryDir program;
    const QString folder = QDir(ImageFiles::folder(program.path())).absolutePath();
    const QString path = ImageFiles::imagePath(title, program.path());
    const QFileInfo info(path);
    QCOMPARE(info.absolutePath(), folder);
    QVERIFY(info.fileName().endsWith(QLatin1String(".jpg")));
    QVERIFY(!info.fileName().contains(QLatin1Char('/')));
    QVERIFY(!info.fileName().contains(QChar(0)));

    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::white);
    const ImageFiles::SaveResult saved = ImageFiles::saveChartImage(image, title, program.path());
    QVERIFY2(saved.ok, qPrintable(saved.error));
    // Exactly one file, in the folder, and nothing anywhere else under the program's folder.
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 1);
    QCOMPARE(QDir(program.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList(QStringLiteral("Graficas")));
}

// A link planted in the images folder under a log's image name must not let a chart save write
// through it to a file outside the folder: the save replaces the link with the image.
void TestHostile::imageSaveReplacesALinkNotItsTarget()
{
    QTemporaryDir program;
    const QString outside = TestSupport::writeFile(program, QStringLiteral("precious.txt"), "mine\n");
    QVERIFY(QDir().mkpath(ImageFiles::folder(program.path())));
    const QString path = ImageFiles::imagePath(QStringLiteral("run"), program.path());
    QVERIFY(QFile::link(outside, path));

    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::red);
    const ImageFiles::SaveResult saved =
        ImageFiles::saveChartImage(image, QStringLiteral("run"), program.path());
    QVERIFY2(saved.ok, qPrintable(saved.error));
    QFile target(outside);
    QVERIFY(target.open(QIODevice::ReadOnly));
    // Regression: the save followed the link and wrote the JPEG over the file outside the folder.
    QCOMPARE(target.readAll(), QByteArray("mine\n"));
    QVERIFY(!QFileInfo(path).isSymLink());
}

// The program's path goes into the desktop entry as one quoted Exec argument: no character of it
// can end the quoting, start a substitution or become a field code.
void TestHostile::desktopEntryKeepsThePathWhole_data()
{
    QTest::addColumn<QString>("executable");
    QTest::newRow("spaces") << QStringLiteral("/opt/My Programs/ondalyx");
    QTest::newRow("quote") << QStringLiteral("/opt/a\"b/ondalyx");
    QTest::newRow("substitution") << QStringLiteral("/opt/$(rm -rf ~)/`id`/ondalyx");
    QTest::newRow("backslash") << QStringLiteral("/opt/a\\\"b\\/ondalyx");
    QTest::newRow("field code") << QStringLiteral("/opt/%f %u %%/ondalyx");
    QTest::newRow("newline") << QStringLiteral("/opt/a\nExec=/bin/sh/ondalyx");
    QTest::newRow("semicolon and apostrophe") << QStringLiteral("/opt/it's;x/ondalyx");
}

void TestHostile::desktopEntryKeepsThePathWhole()
{
    QFETCH(QString, executable);
    const QString entry = QString::fromUtf8(
        Association::desktopEntry(executable, QStringLiteral("text/csv"), QString()));
    const QStringList lines = entry.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QStringList execLines;
    for (const QString &line : lines)
        if (line.startsWith(QLatin1String("Exec=")))
            execLines << line;
    QCOMPARE(execLines.size(), 1);
    QString value = execLines[0].mid(5);
    QVERIFY2(value.endsWith(QLatin1String(" %f")), qPrintable(value));
    value.chop(3);
    QString argument;
    QVERIFY2(execArgumentBack(value, argument), qPrintable(value));
    QCOMPARE(argument, executable);
}

QTEST_APPLESS_MAIN(TestHostile)
#include "test_hostile.moc"
