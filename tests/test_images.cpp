// Chart images saved beside the program, and the full-screen chart's data.
#include "TestSupport.h"

#include "app/AppState.h"
#include "chart/ChartModel.h"
#include "views/FullChart.h"
#include "views/ImageFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

namespace {

QImage filled(QSize size, QColor color)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

bool near(QColor a, QColor b)
{
    return std::abs(a.red() - b.red()) < 12 && std::abs(a.green() - b.green()) < 12 &&
           std::abs(a.blue() - b.blue()) < 12;
}

// One data line of the standard layout: time, then cells 1..14 (cells 5 and 10 the group times).
QByteArray dataLine(const QByteArray &time, const QList<QByteArray> &cells)
{
    QByteArray line = "," + time;
    for (const QByteArray &cell : cells)
        line += "," + cell;
    return line;
}

} // namespace

class TestImages : public QObject {
    Q_OBJECT
private slots:
    void savesJpegUnderTitle();
    void secondSaveReplaces();
    void failedSaveReportsAndKeepsOldFile_data();
    void failedSaveReportsAndKeepsOldFile();
    void titleCannotLeaveFolder_data();
    void titleCannotLeaveFolder();

    void fillRebuildsTickedBoxesInBoxOrder();
    void fillShowsInputFieldsWhilePowerCurveIsOn();
    void fillLeavesExtraSeriesEmptyAndKeepsSpacingForShortTables();
};

void TestImages::savesJpegUnderTitle()
{
    QTemporaryDir dir;
    const QString programDir = dir.filePath(QStringLiteral("bin dir"));
    QVERIFY(QDir().mkpath(programDir));
    QVERIFY(!QFileInfo::exists(programDir + QStringLiteral("/Graficas")));

    const QImage image = filled(QSize(320, 200), QColor(200, 30, 40));
    const ImageFiles::SaveResult saved =
        ImageFiles::saveChartImage(image, QStringLiteral("run1.csv"), programDir);
    QVERIFY2(saved.ok, qPrintable(saved.error));
    QCOMPARE(saved.path, programDir + QStringLiteral("/Graficas/run1.csv.jpg"));

    QFile file(saved.path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.read(3) == QByteArray("\xFF\xD8\xFF")); // JPEG data, not a BMP
    file.close();
    QImageReader reader(saved.path);
    QCOMPARE(reader.format(), QByteArray("jpeg"));
    const QImage back = reader.read();
    QCOMPARE(back.size(), image.size());
    QVERIFY(near(back.pixelColor(160, 100), QColor(200, 30, 40)));

    // No log yet: the title is empty and the file is ".jpg" alone.
    const ImageFiles::SaveResult untitled =
        ImageFiles::saveChartImage(image, QString(), programDir);
    QVERIFY(untitled.ok);
    QCOMPARE(untitled.path, programDir + QStringLiteral("/Graficas/.jpg"));
    QVERIFY(QFileInfo::exists(untitled.path));
}

void TestImages::secondSaveReplaces()
{
    QTemporaryDir dir;
    QVERIFY(ImageFiles::saveChartImage(filled(QSize(64, 64), Qt::red), "log", dir.path()).ok);
    const ImageFiles::SaveResult second =
        ImageFiles::saveChartImage(filled(QSize(100, 50), Qt::blue), "log", dir.path());
    QVERIFY(second.ok);

    const QImage back(second.path);
    QCOMPARE(back.size(), QSize(100, 50));
    QVERIFY(near(back.pixelColor(50, 25), Qt::blue));
    // The temporary file was renamed, not left behind.
    QCOMPARE(QDir(ImageFiles::folder(dir.path())).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("log.jpg")});
}

void TestImages::failedSaveReportsAndKeepsOldFile_data()
{
    QTest::addColumn<QString>("blocker"); // what stands in the way
    QTest::newRow("folder is a file") << QStringLiteral("folder");
    QTest::newRow("image name is a folder") << QStringLiteral("target");
    QTest::newRow("no image") << QStringLiteral("null");
}

void TestImages::failedSaveReportsAndKeepsOldFile()
{
    QFETCH(QString, blocker);
    QTemporaryDir dir;
    const QString folder = ImageFiles::folder(dir.path());
    const QString path = ImageFiles::imagePath(QStringLiteral("run"), dir.path());
    QImage image = filled(QSize(40, 30), Qt::green);

    if (blocker == QLatin1String("folder")) {
        TestSupport::writeFile(dir, QStringLiteral("Graficas"), "not a folder");
    } else if (blocker == QLatin1String("target")) {
        QVERIFY(QDir().mkpath(path));
    } else {
        QVERIFY(ImageFiles::saveChartImage(image, QStringLiteral("run"), dir.path()).ok);
        image = QImage();
    }
    const QByteArray before = [&] {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();

    const ImageFiles::SaveResult result =
        ImageFiles::saveChartImage(image, QStringLiteral("run"), dir.path());
    QVERIFY(!result.ok);
    QVERIFY2(result.error.startsWith(QStringLiteral("No se pudo guardar la imagen \"")),
             qPrintable(result.error));
    QVERIFY2(result.error.contains(QDir::toNativeSeparators(path)), qPrintable(result.error));

    // Nothing half-written: an earlier image is untouched and no temporary file stays.
    QFile after(path);
    if (after.open(QIODevice::ReadOnly))
        QCOMPARE(after.readAll(), before);
    if (QFileInfo(folder).isDir()) {
        const QStringList files = QDir(folder).entryList(QDir::Files | QDir::Hidden);
        QVERIFY2(files.isEmpty() || files == QStringList{QStringLiteral("run.jpg")},
                 qPrintable(files.join(',')));
    }
}

void TestImages::titleCannotLeaveFolder_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("fileName");
    QTest::newRow("parent") << QStringLiteral("..") << QStringLiteral("...jpg");
    QTest::newRow("climb") << QStringLiteral("../../escaped")
                           << QStringLiteral(".._.._escaped.jpg");
    QTest::newRow("absolute") << QStringLiteral("/tmp/x") << QStringLiteral("_tmp_x.jpg");
    QTest::newRow("backslash") << QStringLiteral("..\\up") << QStringLiteral(".._up.jpg");
    QTest::newRow("nul") << QStringLiteral("a") + QChar(0) + QStringLiteral("b")
                         << QStringLiteral("a_b.jpg");
    QTest::newRow("dots stay") << QStringLiteral("run 01 csv") << QStringLiteral("run 01 csv.jpg");
}

void TestImages::titleCannotLeaveFolder()
{
    QFETCH(QString, title);
    QFETCH(QString, fileName);
    QTemporaryDir dir;
    const QString programDir = dir.filePath(QStringLiteral("a/b"));
    const ImageFiles::SaveResult result =
        ImageFiles::saveChartImage(filled(QSize(8, 8), Qt::black), title, programDir);
    QVERIFY2(result.ok, qPrintable(result.error));
    QCOMPARE(result.path, programDir + QStringLiteral("/Graficas/") + fileName);
    QCOMPARE(QDir(programDir + QStringLiteral("/Graficas")).entryList(QDir::Files | QDir::Hidden),
             QStringList{fileName});
    // Nothing appeared anywhere else.
    QCOMPARE(QDir(programDir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{QStringLiteral("Graficas")});
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{QStringLiteral("a")});
}

// ---- the full-screen chart's data ----

namespace {

// A log of no engine type with rows whose cells 1..4 are rpm, a, b, c.
QString writeLog(const QTemporaryDir &dir, int rows, const QByteArray &groupMark = "'005")
{
    QList<QByteArray> lines;
    for (int i = 1; i <= rows; ++i) {
        const QByteArray n = QByteArray::number(i);
        lines << dataLine("0." + n, {QByteArray::number(1000 + 100 * i), n + ".5", "x" + n,
                                     QByteArray::number(10 * i), "7", "0.2", "1", "2", "3", "4",
                                     "0.3", "5", "6", "7", "8"});
    }
    return TestSupport::writeFile(
        dir, QStringLiteral("log.csv"),
        TestSupport::standardLog({groupMark, "'006", "'007"}, lines, "Head,line"));
}

} // namespace

void TestImages::fillRebuildsTickedBoxesInBoxOrder()
{
    QTemporaryDir dir;
    AppState state;
    QVERIFY(state.FormLoad(writeLog(dir, 4)));
    state.setBoxTicked(3, true);
    state.setBoxTicked(1, true);
    state.setBoxColor(3, QColor(1, 2, 3)); // the colour the box has now is the one drawn
    QCOMPARE(state.chart.seriesLabel(1), QStringLiteral("C3")); // main chart: order of ticking

    ChartModel chart2;
    FullChart::Fill(state, chart2);
    QCOMPARE(chart2.seriesCount(), 2);
    QCOMPARE(chart2.rowCount(), 4);
    QCOMPARE(chart2.seriesLabel(1), QStringLiteral("C1"));
    QCOMPARE(chart2.seriesLabel(2), QStringLiteral("C3"));
    QCOMPARE(chart2.series(1).color, state.box(1).color);
    QCOMPARE(chart2.series(2).color, QColor(1, 2, 3));
    QCOMPARE(chart2.series(1).box, 1);
    QCOMPARE(chart2.series(2).box, 3);
    // Cell 1 is the speed, read as a number and used as the row labels.
    QCOMPARE(chart2.series(1).values, (std::vector<double>{1100, 1200, 1300, 1400}));
    QCOMPARE(chart2.rowLabel(3), QStringLiteral("1300"));
    QCOMPARE(chart2.axisTitle(), QStringLiteral("RPM"));
    QCOMPARE(chart2.title(), state.LogTitle + QStringLiteral(" - Head,line"));

    // A cell that is not a number leaves a gap; the table's decimal comma is read.
    state.setBoxTicked(1, false);
    state.setBoxTicked(2, true);
    state.setBoxTicked(3, false);
    state.setBoxTicked(2, false);
    state.setBoxTicked(3, true);
    state.setBoxTicked(2, true);
    FullChart::Fill(state, chart2);
    QCOMPARE(chart2.seriesLabel(1), QStringLiteral("C2"));
    QCOMPARE(chart2.seriesLabel(2), QStringLiteral("C3"));
    QCOMPARE(chart2.series(1).values[0], 1.5);
    QVERIFY(std::isnan(chart2.series(2).values[0]));
}

void TestImages::fillShowsInputFieldsWhilePowerCurveIsOn()
{
    QTemporaryDir dir;
    AppState state;
    QVERIFY(state.FormLoad(writeLog(dir, 5, "'120")));
    QVERIFY(state.chcvEnabled());
    state.setBoxTicked(1, true);
    state.setBoxTicked(2, true);
    state.setBoxTicked(4, true);
    state.setChCVTicked(true);
    QCOMPARE(state.chart.seriesLabel(1), QStringLiteral("NM - Par"));

    ChartModel chart2;
    FullChart::Fill(state, chart2);
    QCOMPARE(chart2.seriesCount(), 3);
    QCOMPARE(chart2.seriesLabel(1), QStringLiteral("C1"));
    QCOMPARE(chart2.seriesLabel(2), QStringLiteral("C2"));
    QCOMPARE(chart2.seriesLabel(3), QStringLiteral("C4"));
    QCOMPARE(chart2.series(3).values[4], 50.0);
}

void TestImages::fillLeavesExtraSeriesEmptyAndKeepsSpacingForShortTables()
{
    QTemporaryDir dir;
    ChartModel chart2;
    {
        AppState state;
        QVERIFY(state.FormLoad(writeLog(dir, 27)));
        for (int k : {1, 2, 3})
            state.setBoxTicked(k, true);
        FullChart::Fill(state, chart2);
        QCOMPARE(chart2.labelSpacing(), 2); // 27 / 18 = 1.5, to the even neighbour
    }
    QTemporaryDir dir9;
    AppState state;
    QVERIFY(state.FormLoad(writeLog(dir9, 9)));
    state.setBoxTicked(4, true);
    state.SeriesCount = 3; // more series than ticked boxes, as the power curve leaves it
    FullChart::Fill(state, chart2);
    QCOMPARE(chart2.seriesCount(), 3);
    QCOMPARE(chart2.rowCount(), 9);
    QCOMPARE(chart2.seriesLabel(1), QStringLiteral("C4"));
    // Regression: the earlier fill's series 2 and 3 must not survive into the new snapshot.
    for (int s : {2, 3}) {
        QCOMPARE(chart2.seriesLabel(s), QString());
        for (double v : chart2.series(s).values)
            QVERIFY(std::isnan(v));
    }
    QCOMPARE(chart2.labelSpacing(), 2); // 9 rows: the spacing stays as it was
}

QTEST_APPLESS_MAIN(TestImages)
#include "test_images.moc"
