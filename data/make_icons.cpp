// Writes the program icon at the sizes of the desktop's icon theme, for installation:
//   make_icons SOURCE.png OUTPUT_DIR SIZE...
// gives OUTPUT_DIR/<N>x<N>/apps/ondalyx.png for each size N, scaled down smoothly from SOURCE.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QString>

#include <cstdio>

namespace {

int fail(const QString &text)
{
    std::fprintf(stderr, "make_icons: %s\n", text.toLocal8Bit().constData());
    return 1;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 4)
        return fail(QStringLiteral("uso: make_icons ORIGEN.png CARPETA TAMAÑO..."));
    const QString source = QString::fromLocal8Bit(argv[1]);
    const QString output = QString::fromLocal8Bit(argv[2]);
    QImage icon(source);
    if (icon.isNull())
        return fail(QStringLiteral("no se pudo leer el icono \"%1\"").arg(source));
    icon = icon.convertToFormat(QImage::Format_ARGB32);

    for (int i = 3; i < argc; ++i) {
        bool ok = false;
        const int size = QString::fromLocal8Bit(argv[i]).toInt(&ok);
        if (!ok || size < 1 || size > icon.width() || size > icon.height())
            return fail(
                QStringLiteral("tamaño no válido: %1").arg(QString::fromLocal8Bit(argv[i])));
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(output).arg(size);
        if (!QDir().mkpath(dir))
            return fail(QStringLiteral("no se pudo crear la carpeta \"%1\"").arg(dir));
        const QImage scaled =
            icon.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const QString path = dir + QStringLiteral("/ondalyx.png");
        if (!scaled.save(path, "PNG"))
            return fail(QStringLiteral("no se pudo escribir \"%1\"").arg(path));
    }
    return 0;
}
