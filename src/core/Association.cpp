#include "core/Association.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QMimeDatabase>
#include <QSaveFile>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <QSettings>
#endif

#include <functional>
#include <optional>

namespace Association {

namespace {

const QString ApplicationTitle = programName();
const QString DesktopId = QStringLiteral("ondalyx.desktop");     // the package's id
const QString LocalId = QStringLiteral("ondalyx-local.desktop"); // another copy beside it
const QByteArray WrittenKey = "X-Ondalyx-Asociado";              // marks the entries written here

QString failure(const QString &extension, const QString &reason)
{
    return QStringLiteral("No se pudo asociar la extension %1 con %2: %3")
        .arg(extension, ApplicationTitle, reason);
}

#ifndef Q_OS_WIN
QString writeFailure(const QString &path, const QString &reason)
{
    return QStringLiteral("no se pudo escribir \"%1\" (%2)")
        .arg(QDir::toNativeSeparators(path), reason);
}
#endif

// The escapes of a desktop entry's string values (applied after the Exec quoting).
QString escapeString(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\\':
            out += QStringLiteral("\\\\");
            break;
        case '\n':
            out += QStringLiteral("\\n");
            break;
        case '\t':
            out += QStringLiteral("\\t");
            break;
        case '\r':
            out += QStringLiteral("\\r");
            break;
        default:
            out += c;
        }
    }
    return out;
}

#ifndef Q_OS_WIN
// Writes `bytes` to `path` under a temporary name first; returns an empty text or the reason.
QString writeWhole(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return writeFailure(path, file.errorString());
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return writeFailure(path, reason);
    }
    if (!file.commit())
        return writeFailure(path, file.errorString());
    return QString();
}

QString ensureFolder(const QString &dir)
{
    if (QDir().mkpath(dir))
        return QString();
    return QStringLiteral("no se pudo crear la carpeta \"%1\"").arg(QDir::toNativeSeparators(dir));
}

QString mimeTypeOf(const QString &extension)
{
    if (extension.compare(QStringLiteral(".csv"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("text/csv");
    const QMimeType type = QMimeDatabase().mimeTypeForFile(QStringLiteral("x") + extension,
                                                           QMimeDatabase::MatchExtension);
    return type.isValid() && !type.isDefault() ? type.name() : QString();
}
#endif

// ---- mimeapps.list editing: lines kept as they are, only the lines of one key touched ----

struct KeyFile {
    QList<QByteArray> lines; // without their '\n' (a '\r' of CR LF files stays)
    QByteArray newline = "\n";
};

KeyFile splitLines(const QByteArray &bytes)
{
    KeyFile file;
    if (bytes.isEmpty())
        return file;
    file.lines = bytes.split('\n');
    if (bytes.endsWith('\n'))
        file.lines.removeLast();
    if (!file.lines.isEmpty() && file.lines.first().endsWith('\r'))
        file.newline = "\r\n";
    return file;
}

bool isSectionHeader(const QByteArray &line)
{
    return line.trimmed().startsWith('[');
}

int findSection(const KeyFile &file, const QByteArray &name)
{
    const QByteArray header = '[' + name + ']';
    for (int i = 0; i < file.lines.size(); ++i) {
        if (file.lines[i].trimmed() == header)
            return i;
    }
    return -1;
}

// The value of `line` when it sets `key`.
std::optional<QByteArray> valueOf(const QByteArray &line, const QByteArray &key)
{
    const QByteArray trimmed = line.trimmed();
    if (trimmed.startsWith('#'))
        return std::nullopt;
    const qsizetype eq = trimmed.indexOf('=');
    if (eq < 0 || trimmed.left(eq).trimmed() != key)
        return std::nullopt;
    return trimmed.mid(eq + 1).trimmed();
}

// Rewrites every line of `section` that sets `key` with edit(old value): a value to set, or
// nothing to drop the line. With no such line (or no such section) and `create`, the key is added
// with edit(nullopt) after the section's last line that is not blank.
using Edit = std::function<std::optional<QByteArray>(const std::optional<QByteArray> &)>;

void editKey(KeyFile &file, const QByteArray &section, const QByteArray &key, const Edit &edit,
             bool create)
{
    const QByteArray cr = file.newline == "\r\n" ? QByteArray("\r") : QByteArray();
    int header = findSection(file, section);
    if (header < 0) {
        if (!create)
            return;
        const std::optional<QByteArray> value = edit(std::nullopt);
        if (!value)
            return;
        if (!file.lines.isEmpty() && !file.lines.last().trimmed().isEmpty())
            file.lines.append(cr);
        file.lines.append('[' + section + ']' + cr);
        file.lines.append(key + '=' + *value + cr);
        return;
    }

    bool found = false;
    int lastFilled = header;
    for (int i = header + 1; i < file.lines.size() && !isSectionHeader(file.lines[i]);) {
        const std::optional<QByteArray> old = valueOf(file.lines[i], key);
        if (!old) {
            if (!file.lines[i].trimmed().isEmpty())
                lastFilled = i;
            ++i;
            continue;
        }
        found = true;
        const std::optional<QByteArray> value = edit(old);
        if (!value) {
            file.lines.removeAt(i);
            continue;
        }
        file.lines[i] = key + '=' + *value + cr;
        lastFilled = i;
        ++i;
    }
    if (!found && create) {
        if (const std::optional<QByteArray> value = edit(std::nullopt))
            file.lines.insert(lastFilled + 1, key + '=' + *value + cr);
    }
}

QList<QByteArray> listEntries(const std::optional<QByteArray> &value)
{
    QList<QByteArray> entries;
    if (!value)
        return entries;
    for (const QByteArray &entry : value->split(';')) {
        const QByteArray id = entry.trimmed();
        if (!id.isEmpty())
            entries.append(id);
    }
    return entries;
}

QByteArray joinEntries(const QList<QByteArray> &entries)
{
    QByteArray out;
    for (const QByteArray &id : entries)
        out += id + ';';
    return out;
}

// The value of `key` in the [Desktop Entry] group of a desktop entry, as it stands in the file.
std::optional<QByteArray> entryValue(const QByteArray &entry, const QByteArray &key)
{
    const KeyFile file = splitLines(entry);
    const int header = findSection(file, "Desktop Entry");
    if (header < 0)
        return std::nullopt;
    for (int i = header + 1; i < file.lines.size() && !isSectionHeader(file.lines[i]); ++i) {
        if (std::optional<QByteArray> value = valueOf(file.lines[i], key))
            return value;
    }
    return std::nullopt;
}

// A string value of a desktop entry with its escapes undone.
QString unescapeString(const QByteArray &value)
{
    const QString text = QString::fromUtf8(value);
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        QChar c = text[i];
        if (c == QLatin1Char('\\') && i + 1 < text.size()) {
            switch (text[++i].unicode()) {
            case 's':
                c = QLatin1Char(' ');
                break;
            case 'n':
                c = QLatin1Char('\n');
                break;
            case 't':
                c = QLatin1Char('\t');
                break;
            case 'r':
                c = QLatin1Char('\r');
                break;
            default:
                c = text[i];
            }
        }
        out += c;
    }
    return out;
}

#ifndef Q_OS_WIN
QByteArray readWhole(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The system's own entry of the package's id: the first in the system's data folders.
QString systemEntry(const Target &target)
{
    for (const QString &dir : target.systemDataDirs) {
        const QString path = dir + QStringLiteral("/applications/") + DesktopId;
        if (QFileInfo(path).isFile())
            return path;
    }
    return QString();
}

// Whether `program`, as an entry's Exec names it, is the target's program.
bool isTargetProgram(const QString &program, const Target &target)
{
    if (program.isEmpty())
        return false;
    const QString found = program.contains(QLatin1Char('/'))
                              ? program
                              : QStandardPaths::findExecutable(program, target.searchPaths);
    const QString canonical = found.isEmpty() ? QString() : QFileInfo(found).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(target.executable).canonicalFilePath();
}

// Removes the user's entry `id` (and the icon it names beside it) when an association wrote it;
// an entry the user wrote stays. Returns an empty text or the reason it could not go.
QString removeWritten(const QString &appsDir, const QString &id)
{
    const QString path = appsDir + QLatin1Char('/') + id;
    if (!QFileInfo(path).isFile())
        return QString();
    const QByteArray entry = readWhole(path);
    if (entryValue(entry, WrittenKey) != QByteArray("true"))
        return QString();
    QFile file(path);
    if (!file.remove())
        return QStringLiteral("no se pudo quitar \"%1\" (%2)")
            .arg(QDir::toNativeSeparators(path), file.errorString());
    if (const std::optional<QByteArray> icon = entryValue(entry, "Icon")) {
        const QFileInfo iconFile(unescapeString(*icon));
        if (iconFile.path() == appsDir && iconFile.isFile())
            QFile::remove(iconFile.filePath());
    }
    return QString();
}
#endif

#ifdef Q_OS_WIN
QString associateRegistry(const QString &extension, const Target &target)
{
    QSettings classes(QStringLiteral("HKEY_CLASSES_ROOT"), QSettings::NativeFormat);
    for (const auto &[key, value] : registryValues(extension, target.executable))
        classes.setValue(key + QStringLiteral("/."), value); // "." names the key's default value
    classes.sync();
    if (classes.status() != QSettings::NoError)
        return failure(extension, QStringLiteral("no se pudo escribir en el registro de Windows "
                                                 "(HKEY_CLASSES_ROOT)"));
    return QString();
}
#endif

} // namespace

Target defaultTarget()
{
    Target target;
    target.executable = QCoreApplication::applicationFilePath();
    target.applicationsDir = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                             QStringLiteral("/applications");
    target.configDir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    target.iconSource = QStringLiteral(":/ondalyx.png");
    const QString userData = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    for (const QString &dir :
         QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        if (dir != userData)
            target.systemDataDirs << dir;
    return target;
}

QString execArgument(const QString &argument)
{
    // Quoted whole, with ", `, $ and \ escaped inside the quotes; "%" doubled so that it is not
    // taken for a field code. The string escapes of the file come on top when it is written.
    QString quoted = QStringLiteral("\"");
    for (const QChar c : argument) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') ||
            c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        else if (c == QLatin1Char('%'))
            quoted += QLatin1Char('%');
        quoted += c;
    }
    quoted += QLatin1Char('"');
    return quoted;
}

QByteArray desktopEntry(const QString &executable, const QString &mimeType, const QString &iconPath,
                        const QString &name)
{
    // Everything but Name, Exec and Icon as in the installed entry, data/ondalyx.desktop.
    QString entry =
        QStringLiteral("[Desktop Entry]\n"
                       "Type=Application\n"
                       "Name=") +
        escapeString(name) +
        QStringLiteral("\n"
                       "GenericName=Visor de registros del motor\n"
                       "Comment=Visor de registros de bloques de medida de la centralita "
                       "del coche\n");
    entry +=
        QStringLiteral("Exec=") + escapeString(execArgument(executable)) + QStringLiteral(" %f\n");
    if (!iconPath.isEmpty())
        entry += QStringLiteral("Icon=") + escapeString(iconPath) + QLatin1Char('\n');
    entry += QStringLiteral("Terminal=false\n");
    entry += QStringLiteral("MimeType=") + mimeType + QStringLiteral(";\n");
    entry +=
        QStringLiteral("Categories=Science;Engineering;DataVisualization;\n"
                       "Keywords=coche;motor;centralita;bloques de medida;turbo;diagnosis;CSV;\n");
    entry += QString::fromLatin1(WrittenKey) + QStringLiteral("=true\n");
    return entry.toUtf8();
}

QString execProgram(const QByteArray &entry)
{
    const std::optional<QByteArray> exec = entryValue(entry, "Exec");
    if (!exec)
        return QString();
    const QString value = unescapeString(*exec);
    QString program;
    qsizetype i = 0;
    while (i < value.size() && value[i] == QLatin1Char(' '))
        ++i;
    const bool quoted = i < value.size() && value[i] == QLatin1Char('"');
    for (i += quoted ? 1 : 0; i < value.size(); ++i) {
        QChar c = value[i];
        if (quoted ? c == QLatin1Char('"') : c == QLatin1Char(' '))
            break;
        if (quoted && c == QLatin1Char('\\') && i + 1 < value.size())
            c = value[++i];
        else if (c == QLatin1Char('%') && i + 1 < value.size() && value[i + 1] == QLatin1Char('%'))
            ++i; // "%%" stands for "%"
        program += c;
    }
    return program;
}

QList<std::pair<QString, QString>> registryValues(const QString &extension,
                                                  const QString &executable)
{
    const QFileInfo exe(QString(executable).replace(QLatin1Char('\\'), QLatin1Char('/')));
    const QString folder = exe.path().replace(QLatin1Char('/'), QLatin1Char('\\'));
    const QString name = exe.completeBaseName();
    return {
        {ApplicationTitle, name},
        {extension, ApplicationTitle},
        // Quoted, so that a folder with spaces still gives one program and one argument.
        {ApplicationTitle + QStringLiteral("/shell/open/command"),
         QStringLiteral("\"%1\\%2.exe\" \"%3\"").arg(folder, name, QStringLiteral("%1"))},
        {ApplicationTitle + QStringLiteral("/DefaultIcon"), folder + QStringLiteral("\\ODX1.ico")},
    };
}

QByteArray updatedMimeApps(const QByteArray &mimeApps, const QString &mimeType,
                           const QString &desktopId)
{
    KeyFile file = splitLines(mimeApps);
    const QByteArray key = mimeType.toUtf8();
    const QByteArray id = desktopId.toUtf8();

    editKey(
        file, "Default Applications", key, [&](const auto &) { return std::optional(id); }, true);
    editKey(
        file, "Added Associations", key,
        [&](const std::optional<QByteArray> &old) {
            QList<QByteArray> entries = listEntries(old);
            entries.removeAll(id);
            entries.prepend(id);
            return std::optional(joinEntries(entries));
        },
        true);
    // An earlier removal of this program for the type would hide the association again.
    editKey(
        file, "Removed Associations", key,
        [&](const std::optional<QByteArray> &old) -> std::optional<QByteArray> {
            QList<QByteArray> entries = listEntries(old);
            entries.removeAll(id);
            if (entries.isEmpty())
                return std::nullopt;
            return joinEntries(entries);
        },
        false);

    QByteArray out;
    for (const QByteArray &line : file.lines)
        out += line + '\n';
    return out;
}

QString AssociateExtension(const QString &extension, const Target &target)
{
#ifdef Q_OS_WIN
    return associateRegistry(extension, target);
#else
    const QString mimeType = mimeTypeOf(extension);
    if (mimeType.isEmpty())
        return failure(extension, QStringLiteral("tipo de archivo desconocido"));

    const QString appsDir = QFileInfo(target.applicationsDir).absoluteFilePath();
    const QString executable = QFileInfo(target.executable).absoluteFilePath();
    const QString system = systemEntry(target);
    const bool installed =
        !system.isEmpty() && isTargetProgram(execProgram(readWhole(system)), target);
    // The entry the file type goes to, and the user's entry to write for it (none for the
    // installed program).
    const QString desktopId = system.isEmpty() || installed ? DesktopId : LocalId;
    const QString written = installed ? QString() : desktopId;

    // Entries written earlier for another program go: the user's "ondalyx.desktop" would hide the
    // system's.
    for (const QString &id : {DesktopId, LocalId}) {
        if (id == written)
            continue;
        if (const QString error = removeWritten(appsDir, id); !error.isEmpty())
            return failure(extension, error);
    }

    if (!written.isEmpty()) {
        if (const QString error = ensureFolder(appsDir); !error.isEmpty())
            return failure(extension, error);
        QString iconPath;
        QFile icon(target.iconSource);
        if (!target.iconSource.isEmpty() && icon.open(QIODevice::ReadOnly)) {
            iconPath = appsDir + QLatin1Char('/') + QFileInfo(written).completeBaseName() +
                       QStringLiteral(".png");
            if (const QString error = writeWhole(iconPath, icon.readAll()); !error.isEmpty())
                return failure(extension, error);
        }
        const QString name =
            written == LocalId
                ? QStringLiteral("%1 (%2)").arg(
                      ApplicationTitle, QDir::toNativeSeparators(QFileInfo(executable).path()))
                : ApplicationTitle;
        const QString entryPath = appsDir + QLatin1Char('/') + written;
        if (const QString error =
                writeWhole(entryPath, desktopEntry(executable, mimeType, iconPath, name));
            !error.isEmpty())
            return failure(extension, error);
    }

    if (const QString error = ensureFolder(target.configDir); !error.isEmpty())
        return failure(extension, error);
    const QString listPath = target.configDir + QStringLiteral("/mimeapps.list");
    QByteArray existing;
    QFile list(listPath);
    if (list.exists()) {
        if (!list.open(QIODevice::ReadOnly))
            return failure(extension,
                           QStringLiteral("no se pudo leer \"%1\" (%2)")
                               .arg(QDir::toNativeSeparators(listPath), list.errorString()));
        existing = list.readAll();
        list.close();
    }
    if (const QString error = writeWhole(listPath, updatedMimeApps(existing, mimeType, desktopId));
        !error.isEmpty())
        return failure(extension, error);
    return QString();
#endif
}

} // namespace Association
