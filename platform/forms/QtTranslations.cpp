// Debian ships Qt's translations in qt6-translations-l10n, under Qt's translations folder.
#include "platform/forms/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace platform::forms {

std::unique_ptr<QTranslator> qtTranslationFor(const QLocale& locale) {
    auto translation = std::make_unique<QTranslator>();
    if (!translation->load(locale, "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return nullptr;
    return translation;
}

void installQtTranslations() {
    static std::unique_ptr<QTranslator> installed = [] {
        auto translation = qtTranslationFor(QLocale::system());
        if (translation) QCoreApplication::installTranslator(translation.get());
        return translation;
    }();
}

}  // namespace platform::forms
