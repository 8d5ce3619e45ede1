#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <utility>

// "Asociar Extension": makes Ondalyx the program that opens .csv files, so that opening a log
// from the file manager starts Ondalyx with the log's path as its only argument.
//
// On Linux desktops (XDG) it writes the desktop entry "ondalyx.desktop" (with the icon beside
// it) into the user's applications folder and makes it the default for the file type in the
// user's mimeapps.list, keeping everything else of that file. On Windows it writes the four
// values under HKEY_CLASSES_ROOT: the file type "Ondalyx", the extension's file type, the open
// command and the icon.
namespace Association {

// Where the association goes; tests point it at a temporary folder.
struct Target {
    QString executable;      // the program to start
    QString applicationsDir; // the desktop entry and the icon go here
    QString configDir;       // holds mimeapps.list
    QString iconSource;      // picture copied beside the desktop entry; skipped when missing
};

// The running program, $XDG_DATA_HOME/applications, $XDG_CONFIG_HOME and the ":/ondalyx.png"
// resource.
Target defaultTarget();

// Associates `extension` (".csv") with Ondalyx. Returns an empty text on success, otherwise a
// message for the user. Running it again writes the same files.
QString AssociateExtension(const QString &extension, const Target &target = defaultTarget());

// One argument of a desktop entry's Exec key, quoted and escaped so that it reaches the program
// unchanged whatever characters it holds.
QString execArgument(const QString &argument);

// The desktop entry for `executable` (Icon omitted when `iconPath` is empty).
QByteArray desktopEntry(const QString &executable, const QString &mimeType,
                        const QString &iconPath);

// The four registry keys under HKEY_CLASSES_ROOT that associate `extension` with the program on
// Windows, each with its default value, in the order they are written: the file type "Ondalyx"
// (the program's name), `extension` (".csv", of type "Ondalyx"), the type's open command (the
// program and the file, each quoted) and its icon, ODX1.ico beside the program. `executable` is
// the program's absolute path, with "/" or "\" between folders; the values use "\".
QList<std::pair<QString, QString>> registryValues(const QString &extension,
                                                  const QString &executable);

// `mimeApps` (the bytes of a mimeapps.list, possibly empty) with `desktopId` the default
// application of `mimeType` and first among its added associations; every other line is kept
// as it was.
QByteArray updatedMimeApps(const QByteArray &mimeApps, const QString &mimeType,
                           const QString &desktopId);

} // namespace Association
