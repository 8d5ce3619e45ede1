#include "core/ImageFiles.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>

namespace ImageFiles {

namespace {

const int JpegQuality = 92;

QString failure(const QString &path, const QString &reason)
{
    return QStringLiteral("No se pudo guardar la imagen \"%1\": %2")
        .arg(QDir::toNativeSeparators(path), reason);
}

} // namespace

QString folder(const QString &programDir)
{
    const QString base = programDir.isEmpty() ? QCoreApplication::applicationDirPath() : programDir;
    return base + QStringLiteral("/Graficas");
}

QString safeTitle(const QString &logTitle)
{
    QString name = logTitle;
    for (QChar &c : name) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QChar(0))
            c = QLatin1Char('_');
    }
    return name;
}

QString imagePath(const QString &logTitle, const QString &programDir)
{
    // With no separator left and ".jpg" at its end, the name is always a single entry of the
    // folder, never "." or "..".
    return folder(programDir) + QLatin1Char('/') + safeTitle(logTitle) + QStringLiteral(".jpg");
}

SaveResult saveChartImage(const QImage &image, const QString &logTitle, const QString &programDir)
{
    SaveResult result;
    result.path = imagePath(logTitle, programDir);

    if (image.isNull()) {
        result.error = failure(result.path, QStringLiteral("no hay imagen que guardar"));
        return result;
    }
    const QString dir = folder(programDir);
    if (!QDir().mkpath(dir)) {
        result.error = failure(result.path, QStringLiteral("no se pudo crear la carpeta \"%1\"")
                                                .arg(QDir::toNativeSeparators(dir)));
        return result;
    }

    // A link standing under the image's name is replaced, never written through: the image must
    // not land outside the folder.
    if (QFileInfo(result.path).isSymLink() && !QFile::remove(result.path)) {
        result.error =
            failure(result.path, QStringLiteral("no se pudo quitar el enlace que ocupa su nombre"));
        return result;
    }
    QSaveFile file(result.path);
    if (!file.open(QIODevice::WriteOnly)) {
        result.error = failure(result.path, file.errorString());
        return result;
    }
    if (!image.save(&file, "JPG", JpegQuality)) {
        const QString reason = file.error() != QFileDevice::NoError
                                   ? file.errorString()
                                   : QStringLiteral("no se pudo codificar la imagen JPEG");
        file.cancelWriting();
        result.error = failure(result.path, reason);
        return result;
    }
    if (!file.commit()) {
        result.error = failure(result.path, file.errorString());
        return result;
    }
    result.ok = true;
    return result;
}

bool openImage(const QString &path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

QStringList editorNames()
{
    return {QStringLiteral("pinta"), QStringLiteral("kolourpaint"), QStringLiteral("gimp"),
            QStringLiteral("krita"), QStringLiteral("mtpaint"),     QStringLiteral("drawing")};
}

QString findImageEditor(const QStringList &searchPaths)
{
    for (const QString &name : editorNames()) {
        const QString program = QStandardPaths::findExecutable(name, searchPaths);
        if (!program.isEmpty())
            return program;
    }
    return QString();
}

bool startImageEditor()
{
    const QString program = findImageEditor();
    if (program.isEmpty())
        return false;
    return QProcess::startDetached(program, QStringList());
}

} // namespace ImageFiles
