#pragma once
// Qt's own texts in the program's language: the standard buttons of the
// message boxes ("Ja", "Nein", "Abbrechen") and the file, print and
// print-preview dialogs. Qt's catalogue of the chosen language (Debian's
// qt6-translations-l10n, "qtbase_de.qm" ..) is installed in the
// application in place of the one installed before; English is Qt's own
// language and needs none.
//
// GUI thread only: the catalogue lives in the application object.

#include <QString>

class TQtTranslations {
public:
    // Brings Qt's texts in line with a language of the settings (1..6).
    // Returns false when the language's catalogue cannot be loaded; Qt then
    // speaks English. Without an application object nothing happens.
    static bool Load(int sprache);

    // Qt's name of a language of the settings ("de", "en", ..); empty for
    // a value without a language.
    static QString LanguageName(int sprache);

    // The language whose catalogue is installed now; 0 for none.
    static int Installed();
};
