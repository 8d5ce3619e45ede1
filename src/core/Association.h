#pragma once

#include <QByteArray>
#include <QString>

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

// `mimeApps` (the bytes of a mimeapps.list, possibly empty) with `desktopId` the default
// application of `mimeType` and first among its added associations; every other line is kept
// as it was.
QByteArray updatedMimeApps(const QByteArray &mimeApps, const QString &mimeType,
                           const QString &desktopId);

} // namespace Association
