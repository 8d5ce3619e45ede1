// Chart images saved beside the program or in the user's pictures: the folder chosen, the JPEG
// file, its name from the log title, and a save that fails or meets a link.
#include "TestSupport.h"

#include "core/ImageFiles.h"

#include <QImage>
#include <QProcess>
#include <QStandardPaths>

#include <unistd.h>

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
        QCOMPARE(TestSupport::readAll(outside), QByteArray("mine\n"));
        QVERIFY(!QFileInfo(saved.path).isSymLink());
        QCOMPARE(QImage(saved.path).size(), QSize(100, 50));
    }

    // A save that fails names the image, its folder and why, and leaves nothing half-written.
    void failedSaveReportsAndKeepsOldFile_data()
    {
        QTest::addColumn<QString>("folder"); // where the image was to go, in the temporary folder
        QTest::addColumn<QString>("reason"); // empty: Qt's own words
        // clang-format off
        QTest::newRow("folder is a file") << "Graficas" << "no se pudo crear la carpeta";
        QTest::newRow("image name is a folder") << "Graficas" << "";
        QTest::newRow("no image") << "Graficas" << "no hay imagen que guardar";
        QTest::newRow("nowhere to write")
            << QString::fromUtf8("file/Imágenes/Ondalyx/Graficas") << "no se pudo crear la carpeta";
        // clang-format on
    }
    void failedSaveReportsAndKeepsOldFile()
    {
        QFETCH(QString, folder);
        QFETCH(QString, reason);
        const QByteArray blocker = QTest::currentDataTag();
        QTemporaryDir dir;
        TestSupport::writeFile(dir, "file", "a file, no folder");
        const bool nowhere = blocker == "nowhere to write";
        const QString program = nowhere ? dir.filePath("file/bin") : dir.path();
        const QString pictures = dir.filePath(nowhere ? "file/Imágenes" : "pictures");
        const QString path = dir.filePath(folder) + "/run.jpg";
        QImage image = filled(QSize(40, 30), Qt::green);
        if (blocker == "folder is a file") {
            TestSupport::writeFile(dir, QStringLiteral("Graficas"), "not a folder");
        } else if (blocker == "image name is a folder") {
            QVERIFY(QDir().mkpath(path));
        } else if (blocker == "no image") {
            QVERIFY(ImageFiles::saveChartImage(image, QStringLiteral("run"), program, pictures).ok);
            image = QImage();
        }
        const QByteArray before = TestSupport::readAll(path);

        const ImageFiles::SaveResult result =
            ImageFiles::saveChartImage(image, QStringLiteral("run"), program, pictures);
        QVERIFY(!result.ok);
        QCOMPARE(result.path, path);
        const QString start =
            QStringLiteral("No se pudo guardar la imagen \"run.jpg\" en la carpeta \"%1\": ")
                .arg(QDir::toNativeSeparators(dir.filePath(folder)));
        if (reason.isEmpty())
            QVERIFY2(result.error.startsWith(start), qPrintable(result.error));
        else
            QCOMPARE(result.error, start + reason);
        // Nothing half-written: an earlier image is untouched and no temporary file stays.
        QCOMPARE(TestSupport::readAll(path), before);
        const QStringList files = QDir(dir.filePath(folder)).entryList(QDir::Files | QDir::Hidden);
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
        QTest::newRow("program folder not made yet") << "a/b" << "" << true;
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

    void picturesOfTheDesktop()
    {
        // Where the desktop keeps the user's pictures: user-dirs.dirs in the configuration folder.
        QTemporaryDir home;
        const QByteArray oldHome = qgetenv("HOME"), oldConfig = qgetenv("XDG_CONFIG_HOME");
        qputenv("HOME", QFile::encodeName(home.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath("config")));
        QVERIFY(QDir().mkpath(home.filePath("config")));
        TestSupport::writeFile(home, "file", "a file, no folder");
        TestSupport::writeFile(home, "config/user-dirs.dirs",
                               "XDG_PICTURES_DIR=\"$HOME/Imágenes\"\n");
        const QString folder = ImageFiles::folder(home.filePath("file/bin"));
        qputenv("HOME", oldHome);
        qputenv("XDG_CONFIG_HOME", oldConfig);
        QCOMPARE(folder, home.filePath("Imágenes/Ondalyx/Graficas"));
    }

    // The real permission check, made by a user who is not root (root writes anywhere): as root
    // the test runs itself again as "nobody".
    void readOnlyProgramFolder()
    {
        if (geteuid() == 0) {
            const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
            if (setpriv.isEmpty())
                QSKIP("no setpriv to run the check as another user");
            QProcess child;
            child.setProcessChannelMode(QProcess::MergedChannels);
            child.start(setpriv,
                        {"--reuid=65534", "--regid=65534", "--clear-groups", "--",
                         QCoreApplication::applicationFilePath(), "readOnlyProgramFolder"});
            QVERIFY(child.waitForFinished(60000));
            const QByteArray output = child.readAll();
            QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
                     output.constData());
            QVERIFY2(output.contains("PASS   : TestImages::readOnlyProgramFolder()"),
                     output.constData());
            return;
        }
        QTemporaryDir dir;
        const QString program = dir.filePath("bin"), pictures = dir.filePath("pictures");
        const auto rx = QFile::ReadOwner | QFile::ExeOwner, rwx = rx | QFile::WriteOwner;
        QVERIFY(QDir().mkpath(program) && QFile::setPermissions(program, rx));
        QCOMPARE(ImageFiles::folder(program, pictures), pictures + "/Ondalyx/Graficas");

        // A writable Graficas in a read-only folder is used; a read-only one is not.
        QVERIFY(QFile::setPermissions(program, rwx) && QDir().mkpath(program + "/Graficas"));
        QVERIFY(QFile::setPermissions(program, rx));
        QCOMPARE(ImageFiles::folder(program, pictures), program + "/Graficas");
        QVERIFY(QFile::setPermissions(program + "/Graficas", rx));
        QCOMPARE(ImageFiles::folder(program, pictures), pictures + "/Ondalyx/Graficas");
        QVERIFY(QFile::setPermissions(program, rwx));
        QVERIFY(QFile::setPermissions(program + "/Graficas", rwx));
    }
};

QTEST_GUILESS_MAIN(TestImages)
#include "test_images.moc"
