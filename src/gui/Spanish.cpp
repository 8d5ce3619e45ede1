#include "gui/Spanish.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

namespace Spanish {

namespace {

const QString TranslationName = QStringLiteral("qtbase_es");

} // namespace

QString translationFile()
{
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QLatin1Char('/') + TranslationName +
           QStringLiteral(".qm");
}

QString install()
{
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QCoreApplication *app = QCoreApplication::instance();
    if (!app)
        return QStringLiteral("no hay aplicación en marcha para la traducción de Qt");

    auto *translator = new QTranslator(app);
    if (!translator->load(TranslationName, QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return QStringLiteral("no se pudo cargar la traducción de Qt al español \"%1\" "
                              "(paquete qt6-translations-l10n): los botones y diálogos "
                              "estándar quedan en inglés")
            .arg(QDir::toNativeSeparators(translationFile()));
    }
    return QString();
}

} // namespace Spanish
