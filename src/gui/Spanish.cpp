#include "gui/Spanish.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace Spanish {

namespace {

const QString TranslationName = QStringLiteral("qtbase_es");

// The few texts of Qt's file dialog that Qt's Spanish translation lacks: the file types the
// dialog's list shows for a folder, a drive and anything else.
class MissingTexts : public QTranslator {
public:
    using QTranslator::QTranslator;

    bool isEmpty() const override { return false; }

    QString translate(const char *context, const char *sourceText, const char *, int) const override
    {
        if (qstrcmp(context, "QAbstractFileIconProvider") != 0)
            return QString();
        static const struct {
            const char *source;
            const char *spanish;
        } texts[] = {{"Folder", "Carpeta"}, {"Drive", "Unidad"}, {"Unknown", "Desconocido"}};
        for (const auto &text : texts)
            if (qstrcmp(sourceText, text.source) == 0)
                return QString::fromUtf8(text.spanish);
        return QString();
    }
};

} // namespace

QString translationFile()
{
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QLatin1Char('/') + TranslationName +
           QStringLiteral(".qm");
}

QString install()
{
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    // Dates, file sizes and file types in Spanish too, as on a Spanish system.
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    QCoreApplication *app = QCoreApplication::instance();
    if (!app)
        return QStringLiteral("no hay aplicación en marcha para la traducción de Qt");
    QCoreApplication::installTranslator(new MissingTexts(app));

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
