// Writes the program icon at the sizes of the desktop's icon theme, for installation:
//   make_icons SOURCE.png OUTPUT_DIR SIZE...
// gives OUTPUT_DIR/<N>x<N>/apps/ondalyx.png for each size N, scaled down smoothly from SOURCE.
//   make_icons --pixels SOURCE.png OUTPUT.cpp
// writes the icon's pixels as C++ source for the window library (gui/WindowIcon), which then
// gives the windows their icon without reading a picture file.
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

// The pixels as the program's QImage holds them for a window icon: premultiplied ARGB, one
// 0xAARRGGBB number each, row by row.
int writePixels(const QString &source, const QString &output)
{
    const QImage icon = QImage(source).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (icon.isNull())
        return fail(QStringLiteral("no se pudo leer el icono \"%1\"").arg(source));
    QByteArray text =
        "// Written by make_icons from the program icon: its pixels, premultiplied ARGB "
        "(0xAARRGGBB),\n// row by row.\n\n#include <cstdint>\n\n";
    text += "extern const int OndalyxIconWidth = " + QByteArray::number(icon.width()) + ";\n";
    text += "extern const int OndalyxIconHeight = " + QByteArray::number(icon.height()) + ";\n";
    text += "extern const uint32_t OndalyxIconPixels[] = {\n";
    for (int y = 0; y < icon.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(icon.constScanLine(y));
        for (int x = 0; x < icon.width(); ++x)
            text += "0x" + QByteArray::number(row[x], 16).rightJustified(8, '0') +
                    (x % 8 == 7 ? ",\n" : ", ");
    }
    text += "};\n";
    QFile file(output);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.flush())
        return fail(QStringLiteral("no se pudo escribir \"%1\"").arg(output));
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 4 && QByteArray(argv[1]) == "--pixels")
        return writePixels(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    if (argc < 4)
        return fail(QStringLiteral("uso: make_icons ORIGEN.png CARPETA TAMAÑO...  |  make_icons "
                                   "--pixels ORIGEN.png SALIDA.cpp"));
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
