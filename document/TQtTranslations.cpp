#include "TQtTranslations.h"

#include "DbgOut.h"
#include "MoxQString.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

#include <array>

namespace {

// Qt's names of the languages 1..6 of the settings, in their order.
constexpr std::array<const char*, 6> kLanguageNames = {"de", "en", "fr", "it", "da", "nl"};
constexpr int kEnglish = 2;

// The catalogue installed now and its language. The application owns the
// catalogue, so it goes with the application; the pointer then clears.
QPointer<QTranslator> g_installed;
int g_language = 0;

void RemoveInstalled() {
    if (g_installed) {
        QCoreApplication::removeTranslator(g_installed);
        delete g_installed;
    }
    g_language = 0;
}

} // namespace

QString TQtTranslations::LanguageName(int sprache) {
    if (sprache < 1 || sprache > static_cast<int>(kLanguageNames.size()))
        return {};
    return QString::fromLatin1(kLanguageNames[static_cast<std::size_t>(sprache - 1)]);
}

int TQtTranslations::Installed() {
    return g_installed ? g_language : 0;
}

bool TQtTranslations::Load(int sprache) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return false;
    if (g_installed && g_language == sprache)
        return true;
    RemoveInstalled();
    const QString name = LanguageName(sprache);
    if (sprache == kEnglish)
        return true;
    if (name.isEmpty())
        return false;

    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    auto* catalogue = new QTranslator(app);
    if (!catalogue->load(QStringLiteral("qtbase_") + name, folder)) {
        // Trace lines are Windows-1252, as every text of the program.
        DbgOut(eDbgAlways, "<TQtTranslations::Load> no qtbase_%s.qm in %s",
               MoxFromQString(name).c_str(), MoxFromQString(folder).c_str());
        delete catalogue;
        return false;
    }
    QCoreApplication::installTranslator(catalogue);
    g_installed = catalogue;
    g_language = sprache;
    return true;
}
