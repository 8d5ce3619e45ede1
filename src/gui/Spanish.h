#pragma once

#include <QString>

// The whole program speaks Spanish, whatever the language of the system: Qt's own texts (the
// standard buttons, the open, colour and message dialogs) come from Qt's Spanish translation, and
// the dialogs are always Qt's own, since a desktop's native dialogs take their language from the
// system instead.
namespace Spanish {

// Qt's Spanish translation: qtbase_es.qm in Qt's translations folder (Debian:
// qt6-translations-l10n).
QString translationFile();

// Loads that translation into the running application, with the few texts of the file dialog it
// lacks, makes Spanish the default locale (the names of file types, and Qt's numbers and dates
// where they follow it) and turns the native dialogs off. Returns an empty text, or a message for
// the user when the translation cannot be loaded (the standard texts then stay in English).
QString install();

} // namespace Spanish
