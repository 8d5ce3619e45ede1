#include "core/ImageFiles.h"

#include "core/ProgramName.h"

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
    const QFileInfo file(path);
    return QStringLiteral("No se pudo guardar la imagen \"%1\" en la carpeta \"%2\": %3")
        .arg(file.fileName(), QDir::toNativeSeparators(file.path()), reason);
}

// Whether images can go to `graficas`: the folder itself when it is there (a file standing under
// its name counts as there, so that the save names it), else the nearest folder above it that is
// there, in which it would be made.
bool canWriteInto(const QString &graficas)
{
    QFileInfo info(graficas);
    while (!info.exists() && !info.isSymLink()) {
        const QString up = info.path();
        if (up == info.filePath())
            return false;
        info = QFileInfo(up);
    }
    if (info.filePath() == graficas)
        return info.isWritable();
    return info.isDir() && info.isWritable();
}

} // namespace

QString folder(const QString &programDir, const QString &picturesDir)
{
    const QString base = programDir.isEmpty() ? QCoreApplication::applicationDirPath() : programDir;
    const QString beside = base + QStringLiteral("/Graficas");
    if (canWriteInto(beside))
        return beside;
    QString pictures = picturesDir;
    if (pictures.isEmpty())
        pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (pictures.isEmpty())
        pictures = QDir::homePath();
    return pictures + QLatin1Char('/') + programName() + QStringLiteral("/Graficas");
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

namespace {

QString imageIn(const QString &folder, const QString &logTitle)
{
    // With no separator left and ".jpg" at its end, the name is always a single entry of the
    // folder, never "." or "..".
    return folder + QLatin1Char('/') + safeTitle(logTitle) + QStringLiteral(".jpg");
}

} // namespace

SaveResult saveChartImage(const QImage &image, const QString &logTitle, const QString &programDir,
                          const QString &picturesDir)
{
    SaveResult result;
    const QString dir = folder(programDir, picturesDir); // chosen once: mkpath changes it
    result.path = imageIn(dir, logTitle);

    if (image.isNull()) {
        result.error = failure(result.path, QStringLiteral("no hay imagen que guardar"));
        return result;
    }
    if (!QDir().mkpath(dir)) {
        result.error = failure(result.path, QStringLiteral("no se pudo crear la carpeta"));
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
