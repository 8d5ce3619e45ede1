#pragma once

#include "core/ProgramName.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

// "Asociar Extension": makes Ondalyx the program that opens .csv files, so that opening a log
// from the file manager starts Ondalyx with the log's path as its only argument.
//
// On Linux desktops (XDG) the file type's default application in the user's mimeapps.list becomes
// an Ondalyx desktop entry (everything else of that file is kept), and there is never more than
// one entry of an id, so that two entries of one id never start different programs:
// - the installed program, the one the system's entry "ondalyx.desktop" (the package's, in a
//   system data folder) starts, takes that entry as it is: no entry of the user's;
// - with no such entry in the system (a program built and run in place), the user's own
//   "ondalyx.desktop" is written into the user's applications folder, the icon beside it;
// - with the system's entry starting another program, the user's entry for this program has an
//   id of its own, "ondalyx-local.desktop", named after the program's folder.
// An "ondalyx.desktop" or "ondalyx-local.desktop" of the user's that an earlier association wrote
// for another program goes (with its icon); entries the user wrote are left alone.
// On Windows it writes the four values under HKEY_CLASSES_ROOT: the file type "Ondalyx", the
// extension's file type, the open command and the icon.
namespace Association {

// Where the association goes; tests point it at temporary folders.
struct Target {
    QString executable;         // the program to start
    QString applicationsDir;    // the user's desktop entry and its icon go here
    QString configDir;          // holds mimeapps.list
    QString iconSource;         // picture copied beside the desktop entry; skipped when missing
    QStringList systemDataDirs; // the system's data folders, first first; entries in applications/
    QStringList searchPaths;    // where a program an entry names without a folder is looked for
                                // (the PATH when empty)
};

// The running program, $XDG_DATA_HOME/applications, $XDG_CONFIG_HOME, the ":/ondalyx.png"
// resource, the folders of $XDG_DATA_DIRS and the PATH.
Target defaultTarget();

// Associates `extension` (".csv") with Ondalyx. Returns an empty text on success, otherwise a
// message for the user. Running it again writes the same files.
QString AssociateExtension(const QString &extension, const Target &target = defaultTarget());

// One argument of a desktop entry's Exec key, quoted and escaped so that it reaches the program
// unchanged whatever characters it holds.
QString execArgument(const QString &argument);

// The user's desktop entry for `executable`, under the name `name` (Icon omitted when `iconPath`
// is empty). It says what the installed entry says, and carries a mark that it was written here.
QByteArray desktopEntry(const QString &executable, const QString &mimeType, const QString &iconPath,
                        const QString &name = programName());

// The program a desktop entry starts: the first argument of its Exec key, the entry's string
// escapes and the Exec quoting undone. Empty when the entry has no Exec key in its
// [Desktop Entry] group.
QString execProgram(const QByteArray &entry);

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
