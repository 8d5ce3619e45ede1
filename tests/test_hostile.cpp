// Hostile logs and hostile names: every load ends in a table or in the failed-load message, never
// in a crash, a hang or rows lost without a word; statistics and the power curve keep their
// failure rules on numbers that are not numbers; no title or path leaves its folder.
#include "TestSupport.h"

#include "program/AppState.h"
#include "core/DataTable.h"
#include "core/PowerCurve.h"
#include "core/Association.h"
#include "core/Stats.h"
#include "core/ImageFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QRandomGenerator>
#include <QRegularExpression>
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

// A row of a diesel pull: speed (cell 1), EGR (4), target and actual boost (7, 8), N75 (9) at 50.
QByteArray pullLine(const QByteArray &speed, const QByteArray &egr, const QByteArray &target,
                    const QByteArray &map)
{
    return ",0.1," + speed + ",290,280," + egr + ",0.2,900," + target + "," + map +
           ",50,0.3,1,2,3,4";
}

struct Load {
    QTemporaryDir dir;
    AppState state;
    QStringList messages;
    bool ok = false;

    Load()
    {
        state.showMessage = [this](const QString &t, MessageKind) { messages << t; };
    }
    bool file(const QString &path)
    {
        messages.clear();
        return ok = state.FormLoad(path);
    }
    bool bytes(const QByteArray &content)
    {
        return file(TestSupport::writeFile(dir, QStringLiteral("log.csv"), content));
    }
    bool pull()
    {
        return bytes(TestSupport::standardLog(Diesel, {pullLine("900", "30", "1000", "990")}));
    }
    // A load ends either in a table or in one message naming the file, never in both.
    void checkClearResult(const QString &path = QString()) const
    {
        if (ok) {
            QVERIFY2(messages.isEmpty(), qPrintable(messages.join('\n')));
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

// Reads one Exec argument back as a desktop does: the entry's string escapes, then the quoting.
// False on a quoting the desktop would refuse.
bool execArgumentBack(const QString &value, QString &argument)
{
    QString s;
    for (qsizetype i = 0; i < value.size(); ++i) {
        QChar c = value[i];
        if (c == '\\' && i + 1 < value.size()) {
            c = value[++i];
            c = c == 'n' ? QChar('\n') : c == 't' ? QChar('\t') : c == 'r' ? QChar('\r') : c;
        }
        s += c;
    }
    if (s.size() < 2 || !s.startsWith('"') || !s.endsWith('"'))
        return false;
    argument.clear();
    for (qsizetype i = 1; i + 1 < s.size(); ++i) {
        QChar c = s[i];
        if (c == '"' || c == '`' || c == '$')
            return false;            // must have been escaped
        if (c == '\\' || c == '%') { // an escape, or "%%" ("%" alone is a field code)
            if (i + 2 >= s.size() || (c == '%' && s[i + 1] != '%'))
                return false;
            c = s[++i];
        }
        argument += c;
    }
    return true;
}

} // namespace

class TestHostile : public QObject {
    Q_OBJECT
private slots:
    // Files of nothing but line ends, blanks or a NUL, or one huge line: no row, no engine, and
    // nothing of the log read before.
    void oddBytes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("header");
        QTest::newRow("only CRs") << QByteArray(5000, '\r') << QString();
        QTest::newRow("only LFs") << QByteArray(5000, '\n') << QString();
        // Line 1 is the lone LF before the first CR; the LFs after it belong to CR LF line ends.
        QTest::newRow("LF CR pairs") << QByteArray("\n\r").repeated(3000) << QStringLiteral("\n");
        QTest::newRow("only spaces") << QByteArray(5000, ' ') << QString();
        QTest::newRow("one NUL") << QByteArray(1, '\0') << QString(QChar(0));
        const QByteArray huge = "K" + QByteArray(50 * 1000 * 1000, 'x'); // 50 MB, no line end
        QTest::newRow("50 MB line") << huge << QString::fromLatin1(huge);
    }
    void oddBytes()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, header);
        Load load;
        QVERIFY(load.pull());
        QVERIFY(load.bytes(bytes));
        load.checkClearResult();
        QCOMPARE(load.state.LogHeader, header);
        QCOMPARE(load.state.table.rowCount(), 0);
        QCOMPARE(load.state.engine(), EngineType::Ninguno);
    }

    // Paths that give the failed-load message at once (a FIFO never blocks), and empty files.
    void failedLoads_data()
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
    void failedLoads()
    {
        QFETCH(QString, reason);
        const QString kind = QString::fromLatin1(QTest::currentDataTag());
        Load load;
        QString path = load.dir.filePath(QStringLiteral("x.csv"));
        const QByteArray name = QFile::encodeName(path);
        if (kind == "dangling")
            QCOMPARE(::symlink("/nonexistent/ondalyx/log.csv", name.constData()), 0);
        else if (kind == "below a file")
            path = TestSupport::writeFile(load.dir, QStringLiteral("plain.csv"), "x") + "/log.csv";
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
            TestSupport::writeFile(load.dir, QStringLiteral("x.csv"), QByteArray());
        else if (kind == "no permission") {
            if (::geteuid() == 0)
                QSKIP("root reads every file");
            TestSupport::writeFile(load.dir, QStringLiteral("x.csv"), "h\r\n");
            QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));
        }
        QVERIFY(load.pull());
        QVERIFY(!load.file(path));
        load.checkClearResult(path);
        const QString message = QStringLiteral("No se puede abrir el registro \"%1\": %2");
        QCOMPARE(load.messages, QStringList{message.arg(path, reason)});
        QCOMPARE(load.state.engine(), EngineType::Ninguno);
        QCOMPARE(load.state.label(LbMaxPico), QString());
    }

    // 100,000 commas as the column-name line or as a data line between two rows of a pull.
    void hundredThousandCommas_data()
    {
        QTest::addColumn<bool>("asColumnLine");
        QTest::newRow("line 5") << true;
        QTest::newRow("data line") << false;
    }
    void hundredThousandCommas()
    {
        QFETCH(bool, asColumnLine);
        const QByteArray commas(100000, ',');
        QByteArray bytes =
            TestSupport::standardLog(Diesel, {pullLine("900", "30", "1000", "990"), commas,
                                              pullLine("2000", "5", "1900", "2100")});
        if (asColumnLine)
            bytes.replace(",,C1,C2,C3,C4,TIME,C6,C7,C8,C9,TIME,C11,C12,C13,C14", commas);
        Load load;
        QVERIFY(load.bytes(bytes));
        load.checkClearResult();
        QCOMPARE(load.state.table.rowCount(), 3);
        if (asColumnLine) { // every empty name gives a column, and no box shows
            QCOMPARE(load.state.table.columnCount(), 100000);
            for (int k = 0; k < AppState::BoxCount; ++k)
                QVERIFY(!load.state.box(k).visible);
        } else {
            QCOMPARE(load.state.table.cellCount(2), 100000);
        }
        // Diesel ticks its four boxes whatever the names; the statistics read over the empty row,
        // whose cells 7 and 8 both read 0: the turbo counts as charged there.
        QCOMPARE(load.state.engine(), EngineType::Diesel);
        QCOMPARE(ticked(load.state), QList<int>({2, 3, 7, 8}));
        QCOMPARE(load.state.chart.seriesCount(), 4);
        QCOMPARE(load.state.label(LbMaxPico), "Pico Max MAP: 2.100 Bar a las 2000 RPM");
        QCOMPARE(load.state.label(LbTimeCarga), "Turbo cargado a  RPM con  Bar");
        load.state.DeleteRow(2);
        QCOMPARE(load.state.table.rowCount(), 2);
    }

    // Random bytes but line ends, a NUL in each line: every line is one row, none cut at a NUL.
    void binaryGarbageKeepsEveryRow()
    {
        QRandomGenerator random(20261206);
        QList<QByteArray> lines;
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
        }
        Load load;
        QVERIFY(load.bytes(TestSupport::standardLog(Diesel, lines)));
        load.checkClearResult();
        QCOMPARE(load.state.table.rowCount(), lines.size());
        for (int r = 1; r <= lines.size(); r += 97)
            QCOMPARE(load.state.table.cellCount(r), int(lines[r - 1].count(',')));
        load.state.CalcStats();
        load.state.DeleteRow(1);
        QCOMPARE(load.state.table.rowCount(), lines.size() - 1);
    }

    // Files of /proc report size 0 and are read to their real end anyway.
    void sizeThatLies()
    {
        const QFileInfo status(QStringLiteral("/proc/self/status"));
        if (!status.exists())
            QSKIP("no /proc");
        QCOMPARE(status.size(), 0);
        Load load;
        QVERIFY(load.file(status.filePath()));
        QVERIFY2(load.state.LogHeader.startsWith("Name:"), qPrintable(load.state.LogHeader));
    }

    // A file cut short while it is read gives whatever was read, or the message; never a crash.
    // Line 1 is long and holds LFs, so its header is read again once a CR turns up (the file may
    // be shorter by then).
    void fileShrinkingWhileRead()
    {
        QTemporaryDir dir;
        const QByteArray bytes = QByteArray("head\n").repeated(300000) +
                                 "\r\n\r\n\r\n,,'003,'011\r\n" +
                                 ",,C1,C2,C3,C4,TIME,C6,C7,C8,C9,TIME,C11,C12,C13,C14\r\n\r\n\r\n" +
                                 QByteArray(",1.0,2.0,3.0,4.0\r\n").repeated(400000);
        for (int round = 0; round < 4; ++round) {
            const QString path =
                TestSupport::writeFile(dir, QStringLiteral("shrinking.csv"), bytes);
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
            Load load;
            load.file(path);
            cutter.join();
            load.checkClearResult(path);
            QVERIFY(load.state.table.rowCount() <= 400000);
            for (int r = 1; r <= load.state.table.rowCount(); r += 9973)
                QVERIFY(load.state.table.cellCount(r) <= 4);
        }
    }

    // Texts that look like numbers, or nearly, as the EGR and MAP of row 2 of three: the highest
    // MAP and lowest EGR are row 2's, shown as the table holds the cell, or row 3's.
    void hostileNumbersInStatistics_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("peak"); // row 2's MAP as shown when it is the highest, else ""
        QTest::addColumn<QString>("egr");  // row 2's EGR as shown when it is the lowest, else ""
        const auto add = [](const char *text, const QString &peak, const QString &egr) {
            QTest::newRow(text) << QByteArray(text) << peak << egr;
        };
        // Beyond the largest double: not a number TextNumber reads, so the highest.
        add("1e309", "1e309", "");
        add("1e99999999999999999999", "1e99999999999999999999", "");
        add("99999999999999999999", "100.000.000.000.000.000.000", "");
        add("1 5 0 0 0", "1 5 0 0 0", "");
        QTest::newRow("400 digits") << QByteArray(400, '9') << QString(400, '9') << "";
        for (const char *text : {"-1e309", "nan", "inf", "-inf", "0x1A", "1e-400", "-", "+", "1e"})
            add(text, "", text);
        // clang-format off
        QTest::newRow(".5") << QByteArray(".5") << "" << ",5";
        QTest::newRow("long zero fraction")
            << "0." + QByteArray(5000, '0') + "1" << "" << "0," + QString(5000, '0') + "1";
        // clang-format on
    }
    void hostileNumbersInStatistics()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, peak);
        QFETCH(QString, egr);
        Load load;
        QVERIFY(load.bytes(TestSupport::standardLog(
            Diesel, {pullLine("900", "35", "1000", "1000"), pullLine("2000", text, "1200", text),
                     pullLine("3000", "20", "1400", "1500")})));
        QCOMPARE(load.state.label(LbMaxPico),
                 peak.isEmpty() ? "Pico Max MAP: 1.500 Bar a las 3000 RPM"
                                : QStringLiteral("Pico Max MAP: %1 Bar a las 2000 RPM").arg(peak));
        QCOMPARE(load.state.label(LbMEGR),
                 egr.isEmpty() ? "Valor Minimo EGR: 20 a las 3000 RPM"
                               : QStringLiteral("Valor Minimo EGR: %1 a las 2000 RPM").arg(egr));
        // The other three run their steps to the end too.
        QVERIFY(load.state.label(LbTimeCarga).startsWith("Turbo cargado a "));
        QVERIFY(load.state.label(Label1).startsWith("Tenemos una variacion"));
        QVERIFY(load.state.label(LbMaxN75).startsWith("Valor Maximo N75: 50 a las"));
    }

    // Hostile texts as engine speed and torque of the power curve read as their leading value;
    // a speed of 0 with an infinite torque gives a NaN power, not a crash.
    void hostileNumbersInPowerFields()
    {
        const double inf = std::numeric_limits<double>::infinity();
        // clang-format off
        const QList<std::pair<QByteArray, double>> texts = {
            {"1e309", inf}, {"-1e309", -inf}, {"99999999999999999999", 1e20}, {"1e", 1},
            {".5", 0.5}, {"nan", 0}, {"inf", 0}, {"0x1A", 0}, {"-", 0}, {"+", 0}, {"", 0},
            {"nan", 0}}; // the last with an infinite torque
        // clang-format on
        QList<QByteArray> lines;
        for (const auto &[text, leading] : texts)
            lines << pullLine(text, "1", "1", lines.size() == texts.size() - 1 ? "1e309" : text);
        Load load;
        QVERIFY(load.bytes(TestSupport::standardLog({"'120"}, lines)));
        for (int k : {1, 7, 8}) // speed from cell 1, torque from cell 8
            load.state.setBoxTicked(k, true);
        load.state.setChCVTicked(true);
        QVERIFY(load.messages.isEmpty());
        const ChartModel &chart = load.state.chart;
        QCOMPARE(chart.seriesCount(), 2);
        QCOMPARE(chart.rowCount(), lines.size());
        for (int r = 1; r <= lines.size(); ++r) {
            const auto &[text, speed] = texts[r - 1];
            const double torque = (r == lines.size() ? inf : speed) * PowerCurve::TorqueFactor;
            const double power = torque * speed / PowerCurve::PowerDivisor;
            for (const auto &[series, want] : {std::pair(1, torque), {2, power}}) {
                const double got = chart.series(series).values[size_t(r - 1)];
                QVERIFY2(std::isnan(want)
                             ? std::isnan(got)
                             : got == want || std::abs(got - want) <= 1e-12 * std::abs(want),
                         qPrintable(QString::asprintf("row %d, series %d: %g, not %g", r, series,
                                                      got, want)));
            }
            QCOMPARE(chart.rowLabel(r), QString::fromUtf8(text).replace('.', ','));
        }
        load.state.setChCVTicked(false); // unticking clears the curve and every box
        QCOMPARE(chart.seriesCount(), 0);
        QVERIFY(ticked(load.state).isEmpty());
    }

    // The highest cell 7 is the mark the pressure variation counts rows with: a mark that does
    // not read as a number adds no row up and the variation stays 0; one far beyond the row count
    // leaves the stretch empty and the variation is the peak itself.
    void hostileReferencePeak_data()
    {
        QTest::addColumn<QByteArray>("peak");
        QTest::addColumn<QString>("variation");
        QTest::newRow("1e309") << QByteArray("1e309") << "0";
        QTest::newRow("400 digits") << QByteArray(400, '9') << "0";
        QTest::newRow("number then text") << QByteArray("2400abc") << "0";
        QTest::newRow("20 digits") << QByteArray("99999999999999999999") << "100000000000000000000";
    }
    void hostileReferencePeak()
    {
        QFETCH(QByteArray, peak);
        QFETCH(QString, variation);
        Load load;
        // The peak in row 2 and no later row reads lower: the mark keeps the peak's text.
        QVERIFY(load.bytes(TestSupport::standardLog(
            Diesel, {pullLine("900", "1", "1000", "1000"), pullLine("2000", "1", peak, "2000"),
                     pullLine("2500", "1", peak, "2100"), pullLine("3000", "1", peak, "2200")})));
        QCOMPARE(load.state.label(Label1), "Tenemos una variacion de presion de: " + variation);
    }

    // A million rows of empty fields: every row is kept, the statistics give their empty texts.
    void millionEmptyRows()
    {
        const int rows = 1000000;
        Load load;
        QVERIFY(load.bytes(TestSupport::standardLog(Diesel, {}) +
                           QByteArray(",,,,,,,,,,,,,,,\r\n").repeated(rows)));
        load.checkClearResult();
        QCOMPARE(load.state.table.rowCount(), rows);
        QCOMPARE(load.state.table.cellCount(rows), 15);
        QCOMPARE(load.state.engine(), EngineType::Diesel);
        QCOMPARE(load.state.label(LbMaxPico), "Pico Max MAP:  Bar a las  RPM");
        QCOMPARE(load.state.label(LbTimeCarga), "Turbo cargado a  RPM con  Bar");
        QCOMPARE(load.state.label(Label1), "Tenemos una variacion de presion de: 0");
        QCOMPARE(load.state.label(LbMaxN75), "Valor Maximo N75:  a las  RPM");
        QCOMPARE(load.state.label(LbMEGR), "Valor Minimo EGR:  a las  RPM");
        // The four default series span every row; none has a value.
        QCOMPARE(load.state.chart.seriesCount(), 4);
        QCOMPARE(load.state.chart.rowCount(), rows);
        QVERIFY(std::isnan(load.state.chart.series(4).values.back()));
    }

    // Whatever a log's title holds, its chart image is one file right inside the images folder:
    // "/", "\\" and NUL become "_".
    void imageNameStaysInItsFolder_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("fileName");
        // clang-format off
        QTest::newRow("parent") << ".." << "...jpg";
        QTest::newRow("dot") << "." << "..jpg";
        QTest::newRow("empty") << QString() << ".jpg";
        QTest::newRow("climbing") << "../../../etc/passwd" << ".._.._.._etc_passwd.jpg";
        QTest::newRow("backslashes") << "..\\..\\Windows\\win" << ".._.._Windows_win.jpg";
        QTest::newRow("absolute") << "/tmp/x" << "_tmp_x.jpg";
        QTest::newRow("NUL") << QStringLiteral("a") + QChar(0) + "/../b" << "a__.._b.jpg";
        QTest::newRow("shell") << "$(touch pwned); `id` | rm -rf ~ &"
                               << "$(touch pwned); `id` | rm -rf ~ &.jpg";
        QTest::newRow("newline") << "a\nb\r\tc" << "a\nb\r\tc.jpg";
        QTest::newRow("dash") << "--help -rf" << "--help -rf.jpg";
        QTest::newRow("dots stay") << "run 01 csv" << "run 01 csv.jpg";
        // clang-format on
    }
    void imageNameStaysInItsFolder()
    {
        QFETCH(QString, title);
        QFETCH(QString, fileName);
        QTemporaryDir dir;
        const QString program = dir.filePath("a/b");
        QImage image(8, 8, QImage::Format_RGB32);
        image.fill(Qt::white);
        const ImageFiles::SaveResult saved = ImageFiles::saveChartImage(image, title, program);
        QVERIFY2(saved.ok, qPrintable(saved.error));
        QCOMPARE(saved.path, program + "/Graficas/" + fileName);
        // That one file, and nothing anywhere else.
        const auto entries = [](const QString &path) {
            return QDir(path).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        };
        QCOMPARE(entries(program + "/Graficas"), QStringList{fileName});
        QCOMPARE(entries(program), QStringList{"Graficas"});
        QCOMPARE(entries(dir.path()), QStringList{"a"});
    }

    // Regression: a chart save followed a link planted under the image's name and wrote the JPEG
    // over the file outside the folder; the save must replace the link instead.
    void imageSaveReplacesALinkNotItsTarget()
    {
        QTemporaryDir program;
        const QString outside =
            TestSupport::writeFile(program, QStringLiteral("precious.txt"), "mine\n");
        QVERIFY(QDir().mkpath(ImageFiles::folder(program.path())));
        const QString path = ImageFiles::imagePath(QStringLiteral("run"), program.path());
        QVERIFY(QFile::link(outside, path));
        QImage image(8, 8, QImage::Format_RGB32);
        image.fill(Qt::red);
        const ImageFiles::SaveResult saved =
            ImageFiles::saveChartImage(image, "run", program.path());
        QVERIFY2(saved.ok, qPrintable(saved.error));
        QFile target(outside);
        QVERIFY(target.open(QIODevice::ReadOnly));
        QCOMPARE(target.readAll(), QByteArray("mine\n"));
        QVERIFY(!QFileInfo(path).isSymLink());
    }

    // The program's path goes into the desktop entry as one quoted Exec argument that reads back
    // whole: no character of it can end the quoting or the line, start a substitution or become a
    // field code.
    void desktopEntryKeepsThePathWhole_data()
    {
        QTest::addColumn<QString>("executable");
        QTest::newRow("spaces") << "/opt/My Programs/ondalyx";
        QTest::newRow("quote") << "/opt/a\"b/ondalyx";
        QTest::newRow("substitution") << "/opt/$(rm -rf ~)/`id`/ondalyx";
        QTest::newRow("backslash") << "/opt/a\\\"b\\/ondalyx";
        QTest::newRow("field code") << "/opt/%f %u %%/ondalyx";
        QTest::newRow("newline") << "/opt/a\nExec=/bin/sh/ondalyx";
        QTest::newRow("semicolon and apostrophe") << "/opt/it's;x/ondalyx";
    }
    void desktopEntryKeepsThePathWhole()
    {
        QFETCH(QString, executable);
        const QStringList exec =
            QString::fromUtf8(Association::desktopEntry(executable, "text/csv", QString()))
                .split('\n')
                .filter(QRegularExpression("^Exec="));
        QCOMPARE(exec.size(), 1);
        QVERIFY2(exec[0].endsWith(" %f"), qPrintable(exec[0]));
        QString argument;
        QVERIFY2(execArgumentBack(exec[0].mid(5).chopped(3), argument), qPrintable(exec[0]));
        QCOMPARE(argument, executable);
    }
};

QTEST_APPLESS_MAIN(TestHostile)
#include "test_hostile.moc"
