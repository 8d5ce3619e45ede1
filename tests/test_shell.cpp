// "Asociar Extension" on an XDG desktop: the desktop entry and the user's mimeapps.list.
#include "TestSupport.h"

#include "shell/Association.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

Association::Target targetIn(const QTemporaryDir &home, const QString &executable)
{
    Association::Target target;
    target.executable = executable;
    target.applicationsDir = home.filePath(QStringLiteral("data/applications"));
    target.configDir = home.filePath(QStringLiteral("config"));
    target.iconSource = home.filePath(QStringLiteral("icon.png"));
    return target;
}

} // namespace

class TestShell : public QObject {
    Q_OBJECT
private slots:
    void writesDesktopEntryAndIcon();
    void execArgumentQuoting_data();
    void execArgumentQuoting();
    void mimeAppsKeepsEverythingElse_data();
    void mimeAppsKeepsEverythingElse();
    void twiceGivesIdenticalFiles();
    void unwritableConfigGivesMessage();
};

void TestShell::writesDesktopEntryAndIcon()
{
    QTemporaryDir home;
    TestSupport::writeFile(home, QStringLiteral("icon.png"), "\x89PNG fake icon bytes");
    const Association::Target target = targetIn(home, QStringLiteral("/opt/my apps/ondalyx"));

    QCOMPARE(Association::AssociateExtension(QStringLiteral(".csv"), target), QString());

    const QString apps = target.applicationsDir;
    QCOMPARE(readAll(apps + QStringLiteral("/ondalyx.png")), QByteArray("\x89PNG fake icon bytes"));
    const QList<QByteArray> lines = readAll(apps + QStringLiteral("/ondalyx.desktop")).split('\n');
    QCOMPARE(lines.first(), QByteArray("[Desktop Entry]"));
    for (const QByteArray &expected :
         {QByteArray("Type=Application"), QByteArray("Name=Ondalyx"),
          QByteArray("Exec=\"/opt/my apps/ondalyx\" %f"),
          "Icon=" + QDir(apps).absoluteFilePath(QStringLiteral("ondalyx.png")).toUtf8(),
          QByteArray("MimeType=text/csv;"), QByteArray("Terminal=false")})
        QVERIFY2(lines.contains(expected), expected.constData());
    QVERIFY(std::any_of(lines.begin(), lines.end(),
                        [](const QByteArray &l) { return l.startsWith("Categories="); }));

    QCOMPARE(readAll(target.configDir + QStringLiteral("/mimeapps.list")),
             QByteArray("[Default Applications]\n"
                        "text/csv=ondalyx.desktop\n"
                        "\n"
                        "[Added Associations]\n"
                        "text/csv=ondalyx.desktop;\n"));

    // Without an icon to copy the entry simply has no Icon line.
    QTemporaryDir bare;
    const Association::Target noIcon = targetIn(bare, QStringLiteral("/usr/bin/ondalyx"));
    QCOMPARE(Association::AssociateExtension(QStringLiteral(".csv"), noIcon), QString());
    QVERIFY(!readAll(noIcon.applicationsDir + QStringLiteral("/ondalyx.desktop")).contains("Icon"));
    QVERIFY(!QFile::exists(noIcon.applicationsDir + QStringLiteral("/ondalyx.png")));
}

void TestShell::execArgumentQuoting_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QByteArray>("execLine"); // as it stands in the file
    QTest::newRow("plain") << "/usr/bin/ondalyx" << QByteArray(R"(Exec="/usr/bin/ondalyx" %f)");
    QTest::newRow("spaces") << "/home/ana/Mis programas/ondalyx"
                            << QByteArray(R"(Exec="/home/ana/Mis programas/ondalyx" %f)");
    QTest::newRow("shell characters")
        << "/opt/a$b`c\"d/o" << QByteArray(R"(Exec="/opt/a\\$b\\`c\\"d/o" %f)");
    // A backslash is escaped for the quoting, then again for the file's string escapes.
    QTest::newRow("backslash") << "/opt/a\\b/o" << QByteArray(R"(Exec="/opt/a\\\\b/o" %f)");
    QTest::newRow("percent") << "/opt/100%f/o" << QByteArray(R"(Exec="/opt/100%%f/o" %f)");
}

void TestShell::execArgumentQuoting()
{
    QFETCH(QString, program);
    QFETCH(QByteArray, execLine);
    const QList<QByteArray> lines =
        Association::desktopEntry(program, QStringLiteral("text/csv"), QString()).split('\n');
    QVERIFY2(lines.contains(execLine),
             Association::desktopEntry(program, "text/csv", {}).constData());
}

void TestShell::mimeAppsKeepsEverythingElse_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("other types and comments kept") << QByteArray("# my defaults\n"
                                                                 "[Default Applications]\n"
                                                                 "text/html=firefox.desktop\n"
                                                                 "  # keep me\n"
                                                                 "image/png=eog.desktop\n"
                                                                 "\n"
                                                                 "[Other Section]\n"
                                                                 "text/csv=weird.desktop\n")
                                                   << QByteArray("# my defaults\n"
                                                                 "[Default Applications]\n"
                                                                 "text/html=firefox.desktop\n"
                                                                 "  # keep me\n"
                                                                 "image/png=eog.desktop\n"
                                                                 "text/csv=ondalyx.desktop\n"
                                                                 "\n"
                                                                 "[Other Section]\n"
                                                                 "text/csv=weird.desktop\n"
                                                                 "\n"
                                                                 "[Added Associations]\n"
                                                                 "text/csv=ondalyx.desktop;\n");

    QTest::newRow("existing entries replaced, other apps kept after ours")
        << QByteArray("[Added Associations]\n"
                      "text/csv=libreoffice-calc.desktop;ondalyx.desktop;gedit.desktop;\n"
                      "text/plain=gedit.desktop;\n"
                      "[Default Applications]\n"
                      "text/csv = libreoffice-calc.desktop\n"
                      "[Removed Associations]\n"
                      "text/csv=ondalyx.desktop;\n"
                      "image/png=gimp.desktop;\n")
        << QByteArray("[Added Associations]\n"
                      "text/csv=ondalyx.desktop;libreoffice-calc.desktop;gedit.desktop;\n"
                      "text/plain=gedit.desktop;\n"
                      "[Default Applications]\n"
                      "text/csv=ondalyx.desktop\n"
                      "[Removed Associations]\n"
                      "image/png=gimp.desktop;\n");

    QTest::newRow("CR LF file, no final line end")
        << QByteArray("[Default Applications]\r\ntext/html=firefox.desktop")
        << QByteArray("[Default Applications]\r\ntext/html=firefox.desktop\n"
                      "text/csv=ondalyx.desktop\r\n\r\n"
                      "[Added Associations]\r\ntext/csv=ondalyx.desktop;\r\n");
}

void TestShell::mimeAppsKeepsEverythingElse()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    const QByteArray once =
        Association::updatedMimeApps(before, QStringLiteral("text/csv"), "ondalyx.desktop");
    QCOMPARE(once, after);
    QCOMPARE(Association::updatedMimeApps(once, QStringLiteral("text/csv"), "ondalyx.desktop"),
             once);
}

void TestShell::twiceGivesIdenticalFiles()
{
    QTemporaryDir home;
    TestSupport::writeFile(home, QStringLiteral("icon.png"), "icon");
    const Association::Target target = targetIn(home, home.filePath(QStringLiteral("a b/ondalyx")));
    QVERIFY(QDir().mkpath(target.configDir));
    TestSupport::writeFile(home, QStringLiteral("config/mimeapps.list"),
                           "[Default Applications]\ntext/plain=gedit.desktop\n");

    const QStringList files = {target.applicationsDir + QStringLiteral("/ondalyx.desktop"),
                               target.applicationsDir + QStringLiteral("/ondalyx.png"),
                               target.configDir + QStringLiteral("/mimeapps.list")};
    QCOMPARE(Association::AssociateExtension(QStringLiteral(".csv"), target), QString());
    QList<QByteArray> first;
    for (const QString &f : files)
        first << readAll(f);
    QCOMPARE(Association::AssociateExtension(QStringLiteral(".csv"), target), QString());
    for (int i = 0; i < files.size(); ++i)
        QCOMPARE(readAll(files[i]), first[i]);
    QVERIFY(first[2].startsWith("[Default Applications]\ntext/plain=gedit.desktop\n"));
    // Nothing else (no temporary files) was left in the folders.
    QCOMPARE(QDir(target.configDir).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("mimeapps.list")});
    QCOMPARE(QDir(target.applicationsDir).entryList(QDir::Files | QDir::Hidden),
             (QStringList{QStringLiteral("ondalyx.desktop"), QStringLiteral("ondalyx.png")}));
}

void TestShell::unwritableConfigGivesMessage()
{
    QTemporaryDir home;
    Association::Target target = targetIn(home, QStringLiteral("/usr/bin/ondalyx"));
    target.configDir = TestSupport::writeFile(home, QStringLiteral("config"), "a file");
    const QString error = Association::AssociateExtension(QStringLiteral(".csv"), target);
    QVERIFY2(error.startsWith(QStringLiteral("No se pudo asociar la extension .csv")),
             qPrintable(error));
    QVERIFY2(error.contains(target.configDir), qPrintable(error));
    QCOMPARE(readAll(target.configDir), QByteArray("a file"));
}

QTEST_APPLESS_MAIN(TestShell)
#include "test_shell.moc"
