// Chart images saved beside the program: the JPEG file, its name from the log title, and a save
// that fails or meets a link.
#include "TestSupport.h"

#include "core/ImageFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTest>

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

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

} // namespace

class TestImages : public QObject {
    Q_OBJECT
private slots:
    void savesJpegAndReplacesIt()
    {
        QTemporaryDir dir;
        const QString programDir = dir.path();
        ImageFiles::SaveResult saved = ImageFiles::saveChartImage(
            filled(QSize(320, 200), QColor(200, 30, 40)), QStringLiteral("run1.csv"), programDir);
        QVERIFY2(saved.ok, qPrintable(saved.error)); // the missing "Graficas" folder is created
        QCOMPARE(saved.path, programDir + QStringLiteral("/Graficas/run1.csv.jpg"));
        QVERIFY(readAll(saved.path).startsWith("\xFF\xD8\xFF")); // JPEG data, not a BMP

        saved =
            ImageFiles::saveChartImage(filled(QSize(100, 50), Qt::blue), "run1.csv", programDir);
        QVERIFY(saved.ok);
        const QImage back(saved.path);
        QCOMPARE(back.size(), QSize(100, 50));
        const QColor pixel = back.pixelColor(50, 25);
        QVERIFY(pixel.blue() > 240 && pixel.red() < 12 && pixel.green() < 12);
        // Written under a temporary name and renamed: nothing else is left in the folder.
        QCOMPARE(entries(ImageFiles::folder(programDir)), QStringList{"run1.csv.jpg"});

        // Regression: a save followed a link planted under the image's name and wrote the JPEG
        // over the file outside the folder; the save must replace the link instead.
        const QString outside =
            TestSupport::writeFile(dir, QStringLiteral("precious.txt"), "mine\n");
        QVERIFY(QFile::remove(saved.path) && QFile::link(outside, saved.path));
        saved = ImageFiles::saveChartImage(back, "run1.csv", programDir);
        QVERIFY2(saved.ok, qPrintable(saved.error));
        QCOMPARE(readAll(outside), QByteArray("mine\n"));
        QVERIFY(!QFileInfo(saved.path).isSymLink());
        QCOMPARE(QImage(saved.path).size(), QSize(100, 50));
    }

    void failedSaveReportsAndKeepsOldFile_data()
    {
        QTest::addColumn<QString>("blocker"); // what stands in the way
        QTest::newRow("folder is a file") << QStringLiteral("folder");
        QTest::newRow("image name is a folder") << QStringLiteral("target");
        QTest::newRow("no image") << QStringLiteral("null");
    }
    void failedSaveReportsAndKeepsOldFile()
    {
        QFETCH(QString, blocker);
        QTemporaryDir dir;
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
        const QStringList files =
            QDir(ImageFiles::folder(dir.path())).entryList(QDir::Files | QDir::Hidden);
        QVERIFY2(files.isEmpty() || files == QStringList{QStringLiteral("run.jpg")},
                 qPrintable(files.join(',')));
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
        QTest::newRow("empty, as before any log") << QString() << ".jpg";
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
        const ImageFiles::SaveResult saved =
            ImageFiles::saveChartImage(filled(QSize(8, 8), Qt::white), title, program);
        QVERIFY2(saved.ok, qPrintable(saved.error));
        QCOMPARE(saved.path, program + "/Graficas/" + fileName);
        // That one file, and nothing anywhere else.
        QCOMPARE(entries(program + "/Graficas"), QStringList{fileName});
        QCOMPARE(entries(program), QStringList{"Graficas"});
        QCOMPARE(entries(dir.path()), QStringList{"a"});
    }
};

QTEST_APPLESS_MAIN(TestImages)
#include "test_images.moc"
