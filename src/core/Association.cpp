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

const QString ApplicationTitle = QStringLiteral("Ondalyx");
const QString DesktopId = QStringLiteral("ondalyx.desktop");
const QString IconName = QStringLiteral("ondalyx.png");

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

QByteArray desktopEntry(const QString &executable, const QString &mimeType, const QString &iconPath)
{
    QString entry = QStringLiteral("[Desktop Entry]\n"
                                   "Type=Application\n"
                                   "Name=%1\n"
                                   "Comment=Visor de registros de bloques de medida\n")
                        .arg(ApplicationTitle);
    entry +=
        QStringLiteral("Exec=") + escapeString(execArgument(executable)) + QStringLiteral(" %f\n");
    if (!iconPath.isEmpty())
        entry += QStringLiteral("Icon=") + escapeString(iconPath) + QLatin1Char('\n');
    entry += QStringLiteral("MimeType=") + mimeType + QStringLiteral(";\n");
    entry += QStringLiteral("Terminal=false\n"
                            "Categories=Utility;\n");
    return entry.toUtf8();
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
    if (const QString error = ensureFolder(appsDir); !error.isEmpty())
        return failure(extension, error);

    QString iconPath;
    QFile icon(target.iconSource);
    if (!target.iconSource.isEmpty() && icon.open(QIODevice::ReadOnly)) {
        iconPath = appsDir + QLatin1Char('/') + IconName;
        if (const QString error = writeWhole(iconPath, icon.readAll()); !error.isEmpty())
            return failure(extension, error);
    }

    const QString entryPath = appsDir + QLatin1Char('/') + DesktopId;
    const QString executable = QFileInfo(target.executable).absoluteFilePath();
    if (const QString error = writeWhole(entryPath, desktopEntry(executable, mimeType, iconPath));
        !error.isEmpty())
        return failure(extension, error);

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
    if (const QString error = writeWhole(listPath, updatedMimeApps(existing, mimeType, DesktopId));
        !error.isEmpty())
        return failure(extension, error);
    return QString();
#endif
}

} // namespace Association
