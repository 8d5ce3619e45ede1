// Chart images saved beside the program, and the full-screen chart's data.
#include "TestSupport.h"

#include "program/AppState.h"
#include "core/ChartModel.h"
#include "program/FullChart.h"
#include "core/ImageFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
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

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A no-engine log (first group mark `groupMark`) whose row i holds cells 1..4 = speed 1000 + 100 i,
// "i.5", "xi" (not a number), 10 i.
QString writeLog(const QTemporaryDir &dir, int rows, const QByteArray &groupMark = "'005")
{
    QList<QByteArray> lines;
    for (int i = 1; i <= rows; ++i) {
        const QByteArray n = QByteArray::number(i);
        lines << ",0." + n + "," + QByteArray::number(1000 + 100 * i) + "," + n + ".5,x" + n + "," +
                     QByteArray::number(10 * i) + ",7,0.2,1,2,3,4,0.3,5,6,7,8";
    }
    return TestSupport::writeFile(
        dir, QStringLiteral("log.csv"),
        TestSupport::standardLog({groupMark, "'006", "'007"}, lines, "Head,line"));
}

} // namespace

class TestImages : public QObject {
    Q_OBJECT
private slots:
    void savesJpegAndReplacesIt();
    void failedSaveReportsAndKeepsOldFile_data();
    void failedSaveReportsAndKeepsOldFile();

    void fillRebuildsTickedBoxesInBoxOrder();
    void fillShowsInputFieldsWhilePowerCurveIsOn();
    void fillLeavesExtraSeriesEmpty();
};

void TestImages::savesJpegAndReplacesIt()
{
    QTemporaryDir dir;
    const QString programDir = dir.path();
    ImageFiles::SaveResult saved = ImageFiles::saveChartImage(
        filled(QSize(320, 200), QColor(200, 30, 40)), QStringLiteral("run1.csv"), programDir);
    QVERIFY2(saved.ok, qPrintable(saved.error)); // the missing "Graficas" folder is created
    QCOMPARE(saved.path, programDir + QStringLiteral("/Graficas/run1.csv.jpg"));
    QVERIFY(readAll(saved.path).startsWith("\xFF\xD8\xFF")); // JPEG data, not a BMP

    saved = ImageFiles::saveChartImage(filled(QSize(100, 50), Qt::blue), "run1.csv", programDir);
    QVERIFY(saved.ok);
    const QImage back(saved.path);
    QCOMPARE(back.size(), QSize(100, 50));
    const QColor pixel = back.pixelColor(50, 25);
    QVERIFY(pixel.blue() > 240 && pixel.red() < 12 && pixel.green() < 12);
    // Written under a temporary name and renamed: nothing else is left in the folder.
    QCOMPARE(QDir(ImageFiles::folder(programDir)).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("run1.csv.jpg")});

    // No log yet: the title is empty and the file is ".jpg" alone.
    saved = ImageFiles::saveChartImage(back, QString(), programDir);
    QVERIFY(saved.ok && QFileInfo::exists(saved.path));
    QCOMPARE(saved.path, programDir + QStringLiteral("/Graficas/.jpg"));
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
    const QByteArray before = readAll(path);

    const ImageFiles::SaveResult result =
        ImageFiles::saveChartImage(image, QStringLiteral("run"), dir.path());
    QVERIFY(!result.ok);
    QVERIFY2(result.error.startsWith(QStringLiteral("No se pudo guardar la imagen \"")) &&
                 result.error.contains(QDir::toNativeSeparators(path)),
             qPrintable(result.error));
    // Nothing half-written: an earlier image is untouched and no temporary file stays.
    QCOMPARE(readAll(path), before);
    const QStringList files = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    QVERIFY2(files.isEmpty() || files == QStringList{QStringLiteral("run.jpg")},
             qPrintable(files.join(',')));
}

void TestImages::fillRebuildsTickedBoxesInBoxOrder()
{
    QTemporaryDir dir;
    AppState state;
    QVERIFY(state.FormLoad(writeLog(dir, 4)));
    state.setBoxTicked(3, true);
    state.setBoxTicked(1, true);
    state.setBoxColor(3, QColor(1, 2, 3)); // the colour the box has now is the one drawn

    ChartModel chart2;
    FullChart::Fill(state, chart2);
    QCOMPARE(chart2.seriesCount(), 2);
    QCOMPARE(chart2.seriesLabel(1), QStringLiteral("C1")); // the main chart has C3 first
    QCOMPARE(chart2.seriesLabel(2), QStringLiteral("C3"));
    QCOMPARE(chart2.series(1).color, state.box(1).color);
    QCOMPARE(chart2.series(2).color, QColor(1, 2, 3));
    QCOMPARE(chart2.series(2).box, 3);
    QCOMPARE(chart2.series(1).values, (std::vector<double>{1100, 1200, 1300, 1400}));
    QCOMPARE(chart2.rowLabel(3), QStringLiteral("1300"));
    QCOMPARE(chart2.axisTitle(), QStringLiteral("RPM"));
    QCOMPARE(chart2.title(), state.LogTitle + QStringLiteral(" - Head,line"));

    // The table's decimal comma is read; a cell that is not a number leaves a gap.
    state.setBoxTicked(1, false);
    state.setBoxTicked(2, true);
    FullChart::Fill(state, chart2);
    QCOMPARE(chart2.seriesLabel(1), QStringLiteral("C2"));
    QCOMPARE(chart2.series(1).values[0], 1.5);
    QVERIFY(std::isnan(chart2.series(2).values[0]));
}

void TestImages::fillShowsInputFieldsWhilePowerCurveIsOn()
{
    QTemporaryDir dir;
    AppState state;
    QVERIFY(state.FormLoad(writeLog(dir, 5, "'120")));
    for (int k : {1, 2, 4})
        state.setBoxTicked(k, true);
    state.setChCVTicked(true);
    QCOMPARE(state.chart.seriesLabel(1), QStringLiteral("NM - Par"));

    ChartModel chart2;
    FullChart::Fill(state, chart2);
    QCOMPARE(chart2.seriesCount(), 3);
    QCOMPARE(chart2.seriesLabel(3), QStringLiteral("C4"));
    QCOMPARE(chart2.series(3).values[4], 50.0);
}

void TestImages::fillLeavesExtraSeriesEmpty()
{
    QTemporaryDir dir, dir9;
    ChartModel chart2;
    {
        AppState state;
        QVERIFY(state.FormLoad(writeLog(dir, 27)));
        for (int k : {1, 2, 3})
            state.setBoxTicked(k, true);
        FullChart::Fill(state, chart2);
        QCOMPARE(chart2.labelSpacing(), 2); // 27 / 18 = 1.5, to the even neighbour
    }
    AppState state;
    QVERIFY(state.FormLoad(writeLog(dir9, 9)));
    state.setBoxTicked(4, true);
    state.SeriesCount = 3; // more series than ticked boxes, as the power curve leaves it
    FullChart::Fill(state, chart2);
    QCOMPARE(chart2.seriesCount(), 3);
    QCOMPARE(chart2.rowCount(), 9);
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
