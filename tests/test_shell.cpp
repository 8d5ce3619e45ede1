// "Asociar Extension" on an XDG desktop: the desktop entry and the user's mimeapps.list.
#include "TestSupport.h"

#include "core/Association.h"

#include <QMap>

namespace {

using TestSupport::readAll;

// The user's folders in `home`, and no system folder.
Association::Target targetIn(const QTemporaryDir &home, const QString &executable)
{
    Association::Target target;
    target.executable = executable;
    target.applicationsDir = home.filePath("data/applications");
    target.configDir = home.filePath("config");
    target.iconSource = home.filePath("icon.png");
    return target;
}

// The keys of a desktop entry's [Desktop Entry] group and their values.
QMap<QString, QString> entryKeys(const QByteArray &entry)
{
    QMap<QString, QString> keys;
    for (const QByteArray &line : entry.split('\n').mid(1)) {
        if (line.startsWith('['))
            break;
        const qsizetype eq = line.indexOf('=');
        if (eq > 0)
            keys.insert(QString::fromUtf8(line.left(eq)), QString::fromUtf8(line.mid(eq + 1)));
    }
    return keys;
}

// A file that runs, at `name` inside `home`.
void makeProgram(const QTemporaryDir &home, const QString &name)
{
    QDir().mkpath(QFileInfo(home.filePath(name)).path());
    QFile::setPermissions(TestSupport::writeFile(home, name, "#!/bin/sh\n"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// The bytes of every file in the user's folders, by name.
QMap<QString, QByteArray> userFiles(const Association::Target &target)
{
    QMap<QString, QByteArray> files;
    for (const QString &dir : {target.applicationsDir, target.configDir})
        for (const QString &name : QDir(dir).entryList(QDir::Files | QDir::Hidden))
            files[name] = readAll(dir + "/" + name);
    return files;
}

} // namespace

class TestShell : public QObject {
    Q_OBJECT
private slots:
    // The program's path goes into the desktop entry as one quoted Exec argument: no character
    // of it can end the quoting or the line, start a substitution or become a field code. The
    // table is below the class: moc misreads raw strings.
    void execArgumentQuoting_data();
    void execArgumentQuoting()
    {
        QFETCH(QString, program);
        QFETCH(QByteArray, execLine);
        const QByteArray entry = Association::desktopEntry(program, "text/csv", QString());
        QVERIFY2(entry.split('\n').contains(execLine), entry.constData());
        QCOMPARE(entry.count("\nExec="), 1);
    }

    // Our entries replace the old ones of the type and other programs follow ours; running it
    // again changes nothing.
    void mimeAppsKeepsEverythingElse()
    {
        const QByteArray once = Association::updatedMimeApps(
            "[Added Associations]\n"
            "text/csv=libreoffice-calc.desktop;ondalyx.desktop;gedit.desktop;\n"
            "text/plain=gedit.desktop;\n"
            "[Default Applications]\ntext/csv = libreoffice-calc.desktop\n"
            "[Removed Associations]\ntext/csv=ondalyx.desktop;\nimage/png=gimp.desktop;\n",
            "text/csv", "ondalyx.desktop");
        QCOMPARE(once,
                 QByteArray("[Added Associations]\n"
                            "text/csv=ondalyx.desktop;libreoffice-calc.desktop;gedit.desktop;\n"
                            "text/plain=gedit.desktop;\n"
                            "[Default Applications]\ntext/csv=ondalyx.desktop\n"
                            "[Removed Associations]\nimage/png=gimp.desktop;\n"));
        QCOMPARE(Association::updatedMimeApps(once, "text/csv", "ondalyx.desktop"), once);
    }

    // The package's entry in a system data folder decides: the program it starts takes it as it
    // is, another program gets an entry of the user's with an id of its own, and an entry an
    // earlier association wrote for another program goes. Paths in "exec" are under "HOME"; the
    // running program is HOME/bin/ondalyx, HOME/other/ondalyx another copy, and a bare name is
    // looked for in HOME/bin, or in HOME/other with "other on the PATH". The user's mimeapps.list
    // keeps its other lines, and running it again writes the same files.
    void systemEntryDecides_data()
    {
        QTest::addColumn<QStringList>("exec");  // Exec of the entry in each system folder; "": none
        QTest::addColumn<QString>("earlier");   // the user's ondalyx.desktop before: written, own
        QTest::addColumn<QString>("chosen");    // the default for text/csv afterwards
        QTest::addColumn<QStringList>("files"); // the user's applications folder afterwards

        const QStringList entry = {"ondalyx.desktop", "ondalyx.png"};
        const QStringList local = {"ondalyx-local.desktop", "ondalyx-local.png"};
        const QString id = "ondalyx.desktop", localId = "ondalyx-local.desktop";
        // clang-format off
        QTest::newRow("no system entry") << QStringList{""} << "written" << id << entry;
        QTest::newRow("installed, by name") << QStringList{"ondalyx %f"} << "written" << id
                                            << QStringList();
        QTest::newRow("installed, by quoted path")
            << QStringList{"\"HOME/bin/ondalyx\" %F"} << "" << id << QStringList();
        QTest::newRow("installed, the user's own entry stays")
            << QStringList{"ondalyx %f"} << "own" << id << QStringList{id};
        QTest::newRow("another program on the PATH")
            << QStringList{"ondalyx %f", "other on the PATH"} << "written" << localId << local;
        QTest::newRow("a program that is nowhere")
            << QStringList{"nowhere %f"} << "written" << localId << local;
        QTest::newRow("the first system folder counts")
            << QStringList{"", "HOME/other/ondalyx %f", "ondalyx %f"} << "written" << localId
            << local;
        // clang-format on
    }
    void systemEntryDecides()
    {
        QFETCH(QStringList, exec);
        QFETCH(QString, earlier);
        QFETCH(QString, chosen);
        QFETCH(QStringList, files);
        QTemporaryDir home;
        TestSupport::writeFile(home, "icon.png", "\x89PNG fake icon");
        const QString program = home.filePath("bin/ondalyx");
        makeProgram(home, "bin/ondalyx");
        makeProgram(home, "other/ondalyx");
        const QString apps = home.filePath("data/applications");

        QByteArray own, defaults = "[Default Applications]\n";
        if (earlier == "written") {
            // Associated earlier from another copy, when there was no system entry.
            QCOMPARE(
                Association::AssociateExtension(".csv", targetIn(home, home.filePath("old/o"))),
                QString());
        } else if (earlier == "own") {
            QVERIFY(QDir().mkpath(apps));
            own = "[Desktop Entry]\nType=Application\nName=Mine\nExec=ondalyx --mine %f\n";
            TestSupport::writeFile(home, "data/applications/ondalyx.desktop", own);
        } else { // a mimeapps.list of the user's, and no folder of the user's for entries
            defaults += "text/plain=gedit.desktop\n";
            QVERIFY(QDir().mkpath(home.filePath("config")));
            TestSupport::writeFile(home, "config/mimeapps.list", defaults);
        }

        Association::Target target = targetIn(home, program);
        target.searchPaths = {home.filePath("bin")};
        for (int i = 0; i < exec.size(); ++i) {
            if (exec[i] == "other on the PATH") {
                target.searchPaths = {home.filePath("other"), home.filePath("bin")};
                continue;
            }
            const QString dir = home.filePath(QStringLiteral("system%1").arg(i));
            target.systemDataDirs << dir;
            if (exec[i].isEmpty())
                continue;
            QVERIFY(QDir().mkpath(dir + "/applications"));
            TestSupport::writeFile(
                home, QStringLiteral("system%1/applications/ondalyx.desktop").arg(i),
                "[Desktop Entry]\nType=Application\nName=Ondalyx\nExec=" +
                    QString(exec[i]).replace("HOME", home.path()).toUtf8() + "\n");
        }

        QCOMPARE(Association::AssociateExtension(".csv", target), QString());
        const QMap<QString, QByteArray> written = userFiles(target);
        QCOMPARE(QDir(apps).entryList(QDir::Files | QDir::Hidden), files);
        QCOMPARE(QDir(target.configDir).entryList(QDir::Files | QDir::Hidden),
                 QStringList{"mimeapps.list"}); // no temporary file stays
        const QByteArray list = written["mimeapps.list"], id = chosen.toUtf8();
        if (earlier.isEmpty())
            QCOMPARE(list, defaults + "text/csv=" + id +
                               "\n\n[Added Associations]\ntext/csv=" + id + ";\n");
        QVERIFY2(list.startsWith(defaults + "text/csv=" + id + "\n"), list.constData());
        QCOMPARE(Association::AssociateExtension(".csv", target), QString());
        QCOMPARE(userFiles(target), written);
        if (!own.isEmpty())
            QCOMPARE(written["ondalyx.desktop"], own);

        // A written entry starts this program and names its own icon (the icon's very bytes).
        if (!files.isEmpty() && own.isEmpty()) {
            const QMap<QString, QString> keys = entryKeys(written[chosen]);
            QCOMPARE(Association::execProgram(written[chosen]), program);
            QCOMPARE(keys.value("Icon"), apps + "/" + files[1]);
            QCOMPARE(written.value(files[1]), "\x89PNG fake icon");
            QCOMPARE(keys["Name"], chosen == "ondalyx.desktop"
                                       ? QStringLiteral("Ondalyx")
                                       : QStringLiteral("Ondalyx (%1)").arg(home.filePath("bin")));
        }
    }
};

void TestShell::execArgumentQuoting_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QByteArray>("execLine"); // as it stands in the file
    QTest::newRow("spaces") << "/opt/My Programs/o"
                            << QByteArray(R"(Exec="/opt/My Programs/o" %f)");
    QTest::newRow("shell characters")
        << "/opt/a$b`c\"d/o" << QByteArray(R"(Exec="/opt/a\\$b\\`c\\"d/o" %f)");
    // A backslash is escaped for the quoting, then again for the file's string escapes.
    QTest::newRow("backslash") << "/opt/a\\b/o" << QByteArray(R"(Exec="/opt/a\\\\b/o" %f)");
    QTest::newRow("percent") << "/opt/100%f/o" << QByteArray(R"(Exec="/opt/100%%f/o" %f)");
    QTest::newRow("newline") << "/opt/a\nExec=/bin/sh"
                             << QByteArray(R"(Exec="/opt/a\nExec=/bin/sh" %f)");
}

QTEST_GUILESS_MAIN(TestShell)
#include "test_shell.moc"
