// Chart images saved beside the program or in the user's pictures: the folder chosen, the JPEG
// file, its name from the log title, and a save that fails or meets a link.
#include "TestSupport.h"

#include "core/ImageFiles.h"

#include <QImage>

namespace {

QImage filled(QSize size, QColor color)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    return image;
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
        QVERIFY(TestSupport::readAll(saved.path).startsWith("\xFF\xD8\xFF")); // JPEG, not BMP

        saved =
            ImageFiles::saveChartImage(filled(QSize(100, 50), Qt::blue), "run1.csv", programDir);
        QVERIFY(saved.ok);
        const QImage back(saved.path);
        QCOMPARE(back.size(), QSize(100, 50));

        // No image: the message, the earlier image untouched. Written under a temporary name and
        // renamed: nothing else is left in the folder.
        const QByteArray before = TestSupport::readAll(saved.path);
        const ImageFiles::SaveResult none =
            ImageFiles::saveChartImage(QImage(), "run1.csv", programDir);
        QVERIFY(!none.ok);
        QCOMPARE(none.error, QStringLiteral("No se pudo guardar la imagen \"run1.csv.jpg\" en la "
                                            "carpeta \"%1\": no hay imagen que guardar")
                                 .arg(QDir::toNativeSeparators(programDir + "/Graficas")));
        QCOMPARE(TestSupport::readAll(saved.path), before);
        QCOMPARE(entries(ImageFiles::folder(programDir)), QStringList{"run1.csv.jpg"});

        // Regression: a save followed a link planted under the image's name and wrote the JPEG
        // over the file outside the folder; the save must replace the link instead.
        const QString outside =
            TestSupport::writeFile(dir, QStringLiteral("precious.txt"), "mine\n");
        QVERIFY(QFile::remove(saved.path) && QFile::link(outside, saved.path));
        saved = ImageFiles::saveChartImage(back, "run1.csv", programDir);
        QVERIFY2(saved.ok, qPrintable(saved.error));
        QCOMPARE(TestSupport::readAll(outside), QByteArray("mine\n"));
        QVERIFY(!QFileInfo(saved.path).isSymLink());
        QCOMPARE(QImage(saved.path).size(), QSize(100, 50));
    }

    // Whatever a log's title holds, its chart image is one file right inside the images folder:
    // "/", "\\" and NUL become "_".
    void imageNameStaysInItsFolder_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("fileName");
        // clang-format off
        QTest::newRow("parent") << ".." << "...jpg";
        QTest::newRow("empty, as before any log") << QString() << ".jpg";
        QTest::newRow("climbing") << "../../../etc/passwd" << ".._.._.._etc_passwd.jpg";
        QTest::newRow("backslashes") << "..\\..\\Windows\\win" << ".._.._Windows_win.jpg";
        QTest::newRow("NUL") << QStringLiteral("a") + QChar(0) + "/../b" << "a__.._b.jpg";
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

    // "Graficas" beside the program while it can be written there, else Ondalyx/Graficas in the
    // pictures folder. The tests run as root, who may write anywhere: the folders that cannot be
    // written lie under a file.
    void folderChoice_data()
    {
        QTest::addColumn<QString>("program");  // the program's folder, in the temporary folder
        QTest::addColumn<QString>("graficas"); // what stands at program/Graficas: "", dir, link
        QTest::addColumn<bool>("beside");      // the images go beside the program
        // clang-format off
        QTest::newRow("no Graficas yet") << "bin" << "" << true;
        QTest::newRow("Graficas there") << "bin" << "dir" << true;
        QTest::newRow("program folder cannot be written") << "file/bin" << "" << false;
        QTest::newRow("Graficas cannot be written") << "bin" << "link" << false;
        // clang-format on
    }
    void folderChoice()
    {
        QFETCH(QString, program);
        QFETCH(QString, graficas);
        QFETCH(bool, beside);
        QTemporaryDir dir;
        TestSupport::writeFile(dir, "file", "a file, no folder");
        const QString programDir = dir.filePath(program);
        if (!graficas.isEmpty())
            QVERIFY(QDir().mkpath(programDir));
        if (graficas == "dir")
            QVERIFY(QDir().mkpath(programDir + "/Graficas"));
        else if (graficas == "link")
            QVERIFY(QFile::link(dir.filePath("file/Graficas"), programDir + "/Graficas"));
        const QString pictures = dir.filePath("Imágenes"); // made by the first save
        const QString expected = beside ? programDir + "/Graficas" : pictures + "/Ondalyx/Graficas";
        QCOMPARE(ImageFiles::folder(programDir, pictures), expected);

        const ImageFiles::SaveResult saved = ImageFiles::saveChartImage(
            filled(QSize(8, 8), Qt::white), QStringLiteral("run csv"), programDir, pictures);
        QVERIFY2(saved.ok, qPrintable(saved.error));
        QCOMPARE(saved.path, expected + "/run csv.jpg");
        QCOMPARE(QImage(saved.path).size(), QSize(8, 8));
        QCOMPARE(QFileInfo::exists(pictures), !beside);
    }
};

QTEST_GUILESS_MAIN(TestImages)
#include "test_images.moc"
